#include "shell/version_rule.h"

const char kSetStatusHostVersion[] = "2.00.06";

namespace {

constexpr std::size_t kLongestOlderVersion = 7;

} // namespace

bool IsOlderHostVersion(std::size_t length, int comparison) noexcept {
    return length <= kLongestOlderVersion && comparison < 0;
}
