#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "ui/decimal_text.h"

namespace {

constexpr char kUntouched = '#';

struct FormatCase {
    std::size_t capacity;
    std::int32_t value;
    Status status;
    const char* text; // null: nothing written
};

TEST(FormatDecimal, WritesWithinTheCapacity) {
    const FormatCase cases[] = {
        {0, 7, kStatusInvalidArg, nullptr},
        {0x80000000u, 7, kStatusInvalidArg, nullptr},
        {0xFFFFFFFFu, 7, kStatusInvalidArg, nullptr},
        {1, 7, kStatusBufferTooSmall, ""},
        {1, 0, kStatusBufferTooSmall, ""},
        {2, 0, kStatusOk, "0"},
        {5, 0, kStatusOk, "0"},
        {5, 30, kStatusOk, "30"},
        {5, -999, kStatusOk, "-999"},
        {5, 9999, kStatusOk, "9999"},
        {5, -1000, kStatusBufferTooSmall, "-100"},
        {5, 10000, kStatusBufferTooSmall, "1000"},
        {5, 12345, kStatusBufferTooSmall, "1234"},
        {5, INT_MIN, kStatusBufferTooSmall, "-214"},
        {12, INT_MIN, kStatusOk, "-2147483648"},
        {11, INT_MIN, kStatusBufferTooSmall, "-214748364"},
        {11, INT_MAX, kStatusOk, "2147483647"},
        {0x7FFFFFFF, 12345, kStatusOk, "12345"},
        {0x7FFFFFFF, INT_MIN, kStatusOk, "-2147483648"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.capacity) + " " + std::to_string(c.value));
        char buffer[32];
        std::memset(buffer, kUntouched, sizeof buffer);
        EXPECT_EQ(FormatDecimal(buffer, c.capacity, c.value), c.status);
        if (c.text == nullptr) {
            EXPECT_EQ(buffer[0], kUntouched);
            continue;
        }
        std::size_t length = std::strlen(c.text);
        EXPECT_EQ(std::string(buffer, length), c.text);
        EXPECT_EQ(buffer[length], '\0');
        // Nothing past the NUL is touched.
        EXPECT_EQ(buffer[length + 1], kUntouched);
    }
}

TEST(FormatDecimal, RefusesAMissingBuffer) {
    EXPECT_EQ(FormatDecimal(nullptr, 5, 7), kStatusInvalidArg);
}

struct ParseCase {
    const char* text;
    std::int32_t value;
};

TEST(ParseLeadingInteger, ReadsSignedDecimalPrefix) {
    const ParseCase cases[] = {
        {"30", 30},
        {"31", 31},
        {"4", 4},
        {"-5", -5},
        {"", 0},
        {" 7", 7},
        {"\t\r\n\v\f 7", 7},
        {"7a", 7},
        {"+9", 9},
        {"1e1", 1},
        {"0001", 1},
        {"0012", 12},
        {"-0", 0},
        {"+", 0},
        {"-", 0},
        {"+-3", 0},
        {"--3", 0},
        {" - 3", 0},
        {"abc", 0},
        {"\x82\x52\x82\x4f", 0}, // ３０ in full-width digits
        {"1\x82\x4f", 1},        // 1０
        {"\xa0\x35", 0},         // "5" after a code page 932 byte, which is no white space
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999", INT_MIN},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseLeadingInteger(c.text), c.value);
    }
    EXPECT_EQ(ParseLeadingInteger(nullptr), 0);
}

} // namespace
