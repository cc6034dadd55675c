#include "running_case.h"

#include <atomic>

namespace running_case {

namespace {

// gtest keeps its TestInfo objects until the program ends, so a pointer is
// all a reader on another thread needs, and it takes no lock.
std::atomic<const testing::TestInfo*> current{nullptr};

} // namespace

void Tracker::OnTestStart(const testing::TestInfo& test) {
    current = &test;
}

void Tracker::OnTestEnd(const testing::TestInfo&) {
    current = nullptr;
}

std::string Where() {
    const testing::TestInfo* test = current;
    if (test == nullptr) {
        return "before any case";
    }
    return std::string("in ") + test->test_suite_name() + "." + test->name();
}

} // namespace running_case
