// The host version rule on the version texts a host may report. The length
// and the sign of the comparison come from strlen and strcmp here, which
// order texts of digits and points as the platform's comparison does.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "shell/version_rule.h"

namespace {

bool OlderText(const char* version) {
    int comparison = std::strcmp(version, kSetStatusHostVersion);
    return IsOlderHostVersion(std::strlen(version), comparison < 0 ? -1 : comparison > 0 ? 1 : 0);
}

struct VersionCase {
    const char* version;
    bool older;
};

TEST(VersionRuleNative, TextualRule) {
    const VersionCase cases[] = {
        {"2.00.05", true}, {"1.99.99", true},   {"2.00.06", false},  {"2.00.10", false},
        {"2.1", false},    {"10.0", true},      {"10.00.00", false}, {"2.00.05b", false},
        {"", true},        {"2", true},         {"2.00.0", true},    {"2.00.07", false},
        {"3", false},      {"1.99.999", false}, {"0", true},         {"2.00.06 ", false}};
    for (const VersionCase& c : cases) {
        EXPECT_EQ(OlderText(c.version), c.older) << "\"" << c.version << "\"";
    }
}

TEST(VersionRuleNative, TheReferenceTextItselfIsNotOlder) {
    EXPECT_STREQ(kSetStatusHostVersion, "2.00.06");
    EXPECT_FALSE(OlderText(kSetStatusHostVersion));
}

// Older exactly when the text is at most 7 long and sorts before.
TEST(VersionRuleNative, OnlyShortTextsThatSortBeforeAreOlder) {
    const int comparisons[] = {INT_MIN, -65536, -2, -1, 0, 1, 2, 65536, INT_MAX};
    const std::size_t lengths[] = {0, 1, 6, 7, 8, 9, 255, 0x7FFFFFFF, SIZE_MAX};
    for (std::size_t length : lengths) {
        for (int comparison : comparisons) {
            EXPECT_EQ(IsOlderHostVersion(length, comparison), length <= 7 && comparison < 0)
                << length << " " << comparison;
        }
    }
}

} // namespace
