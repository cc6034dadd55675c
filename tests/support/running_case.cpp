#include "running_case.h"

#include <atomic>
#include <cstdio>

namespace running_case {

namespace {

// gtest keeps its names until the program ends, so pointers are all a
// reader on another thread needs.
std::atomic<const char*> currentSuite{nullptr};
std::atomic<const char*> currentName{nullptr};

} // namespace

void Set(const char* suite, const char* name) {
    currentName = nullptr;
    currentSuite = suite;
    currentName = name;
}

void Where(char* out, std::size_t size) {
    const char* suite = currentSuite;
    const char* name = currentName;
    if (suite == nullptr || name == nullptr) {
        std::snprintf(out, size, "before any case");
    } else {
        std::snprintf(out, size, "in %s.%s", suite, name);
    }
}

} // namespace running_case
