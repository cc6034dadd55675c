#include "ui/decimal_text.h"

namespace {

constexpr std::size_t kLargestCapacity = 0x7FFFFFFF;
// "-2147483648" and its NUL.
constexpr std::size_t kLongestText = 12;

// Fills `text` from its end; returns where the text starts.
char* DecimalText(std::int32_t value, char (&text)[kLongestText]) {
    // Work in unsigned so the most negative value has a magnitude too.
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    char* start = text + (kLongestText - 1);
    *start = '\0';
    do {
        *--start = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        *--start = '-';
    }
    return start;
}

// The white space of the C locale; bytes of double-byte characters are not.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

Status FormatDecimal(char* buffer, std::size_t capacity, std::int32_t value) {
    if (buffer == nullptr || capacity == 0 || capacity > kLargestCapacity) {
        return kStatusInvalidArg;
    }
    char text[kLongestText];
    const char* digits = DecimalText(value, text);
    std::size_t written = 0;
    while (written < capacity - 1 && digits[written] != '\0') {
        buffer[written] = digits[written];
        ++written;
    }
    buffer[written] = '\0';
    return digits[written] == '\0' ? kStatusOk : kStatusBufferTooSmall;
}

std::int32_t ParseLeadingInteger(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    while (IsSpace(*text)) {
        ++text;
    }
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') {
        ++text;
    }
    // One past the largest magnitude, so clamping stays exact.
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; IsDigit(*text); ++text) {
        if (magnitude < kLimit) {
            magnitude = magnitude * 10 + (*text - '0');
        }
    }
    std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}
