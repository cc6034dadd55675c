// The number box's text rules against the C library: the formatter against
// snprintf("%d") cut to the capacity, the reader against strtoll. Buffers
// are heap blocks of exactly the capacity, so the address sanitizer stops
// any write past it.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ui/decimal_text.h"

namespace {

constexpr char kUntouched = '#';

// Formats into a block of exactly `capacity` bytes and checks the result
// against snprintf: the text cut to capacity - 1, its NUL, the rest untouched.
void CheckFormat(std::size_t capacity, std::int32_t value) {
    SCOPED_TRACE("capacity " + std::to_string(capacity) + ", value " + std::to_string(value));
    std::unique_ptr<char[]> buffer(new char[capacity]);
    std::memset(buffer.get(), kUntouched, capacity);
    Status status = FormatDecimal(buffer.get(), capacity, value);
    char printed[32];
    std::snprintf(printed, sizeof printed, "%d", static_cast<int>(value));
    std::string full = printed;
    std::string fits = full.substr(0, capacity - 1);
    EXPECT_EQ(status, fits.size() == full.size() ? kStatusOk : kStatusBufferTooSmall);
    EXPECT_EQ(std::string(buffer.get(), fits.size()), fits);
    EXPECT_EQ(buffer[fits.size()], '\0');
    for (std::size_t i = fits.size() + 1; i < capacity; ++i) {
        ASSERT_EQ(buffer[i], kUntouched) << "byte " << i;
    }
}

TEST(FormatDecimalNative, AgreesWithPrintfForEveryCapacityUpToThirteen) {
    const std::int32_t values[] = {
        0,     1,          -1,         9,       10,      -10,         99,
        -999,  -1000,      9999,       10000,   12345,   5,           30,
        65535, 1000000000, -999999999, INT_MAX, INT_MIN, INT_MIN + 1, INT_MAX - 1};
    for (std::size_t capacity = 1; capacity <= 13; ++capacity) {
        for (std::int32_t value : values) {
            CheckFormat(capacity, value);
        }
    }
}

// The dialog's capacity of 5 over every value it can meet and beyond.
TEST(FormatDecimalNative, AgreesWithPrintfInTheDialogsBuffer) {
    for (std::int32_t value = -20000; value <= 70000; ++value) {
        CheckFormat(5, value);
        if (HasFailure()) {
            return;
        }
    }
}

TEST(FormatDecimalNative, AgreesWithPrintfOnRandomValues) {
    std::mt19937 random(5);
    std::uniform_int_distribution<std::int32_t> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<std::size_t> capacity(1, 14);
    for (int i = 0; i < 20000 && !HasFailure(); ++i) {
        CheckFormat(capacity(random), any(random));
    }
}

TEST(FormatDecimalNative, RefusedCapacitiesWriteNothing) {
    const std::size_t refused[] = {0, std::size_t{0x80000000u}, std::size_t{0xFFFFFFFFu}, SIZE_MAX};
    for (std::size_t capacity : refused) {
        char buffer[16];
        std::memset(buffer, kUntouched, sizeof buffer);
        EXPECT_EQ(FormatDecimal(buffer, capacity, 12), kStatusInvalidArg) << capacity;
        EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, kUntouched));
    }
}

// strtoll in the C locale, held to the 32-bit range: the same white space,
// sign and digits rule.
std::int32_t LibraryParse(const char* text) {
    // In base 10 there is no prefix to differ on; only the range needs holding.
    return static_cast<std::int32_t>(
        std::clamp<long long>(std::strtoll(text, nullptr, 10), INT32_MIN, INT32_MAX));
}

// Parses a heap copy of exactly the text and its NUL.
std::int32_t Parse(const std::string& text) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    return ParseLeadingInteger(copy.get());
}

// Every text of up to four bytes (what the dialog's buffer holds) over an
// alphabet of white space, signs, digits, a letter, a double-byte lead byte
// and a full stop.
TEST(ParseLeadingIntegerNative, AgreesWithStrtollOnEveryShortText) {
    const char alphabet[] = {' ', '\t', '+', '-', '0', '3', '9', 'a', '\x82', '.', '\n'};
    constexpr std::size_t kLetters = sizeof alphabet;
    std::size_t checked = 0;
    std::size_t total = 1;
    for (std::size_t length = 0; length <= 4; ++length, total *= kLetters) {
        for (std::size_t n = 0; n < total; ++n) {
            std::string text;
            for (std::size_t i = 0, rest = n; i < length; ++i, rest /= kLetters) {
                text.push_back(alphabet[rest % kLetters]);
            }
            ASSERT_EQ(Parse(text), LibraryParse(text.c_str())) << "\"" << text << "\"";
            ++checked;
        }
    }
    EXPECT_GT(checked, 16000u);
}

TEST(ParseLeadingIntegerNative, ClampsLongNumbersLikeStrtoll) {
    const char* const texts[] = {"2147483647",
                                 "2147483648",
                                 "-2147483648",
                                 "-2147483649",
                                 "99999999999999999999",
                                 "-99999999999999999999999",
                                 "000000000000002147483647",
                                 "   +0002147483648x",
                                 "9223372036854775807",
                                 "9223372036854775808",
                                 "-9223372036854775809"};
    for (const char* text : texts) {
        EXPECT_EQ(Parse(text), LibraryParse(text)) << text;
    }
}

// The formatter's text reads back as the same number.
TEST(DecimalTextNative, FormattedTextReadsBack) {
    std::mt19937 random(11);
    std::uniform_int_distribution<std::int32_t> any(INT_MIN, INT_MAX);
    std::vector<std::int32_t> values = {INT_MIN, INT_MAX, 0, -1, 5, 30};
    for (int i = 0; i < 20000; ++i) {
        values.push_back(any(random));
    }
    for (std::int32_t value : values) {
        char text[12];
        ASSERT_EQ(FormatDecimal(text, sizeof text, value), kStatusOk) << value;
        ASSERT_EQ(Parse(text), value) << text;
    }
}

TEST(ParseLeadingIntegerNative, NoTextReadsAsZero) {
    EXPECT_EQ(ParseLeadingInteger(nullptr), 0);
}

} // namespace
