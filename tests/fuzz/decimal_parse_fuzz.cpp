// Fuzzes the signed decimal reader against a reference written here: it
// collects the digits as text and decides the range by comparing digit
// strings, with no arithmetic that could overflow.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ui/decimal_text.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::int32_t ReferenceParse(const char* text) {
    const char* space = " \t\n\v\f\r";
    while (*text != '\0' && std::strchr(space, *text) != nullptr) {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    std::string digits;
    while (*text >= '0' && *text <= '9') {
        digits.push_back(*text++);
    }
    digits.erase(0, digits.find_first_not_of('0'));
    // The largest magnitude each sign can hold.
    const std::string limit = negative ? "2147483648" : "2147483647";
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) {
        return negative ? INT32_MIN : INT32_MAX;
    }
    std::int64_t magnitude = 0;
    for (char digit : digits) {
        magnitude = magnitude * 10 + (digit - '0');
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text and its NUL in a block of exactly that size; a NUL inside
    // the input ends the text early, as it would in the edit box's buffer.
    std::unique_ptr<char[]> text(new char[size + 1]);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';
    Check(ParseLeadingInteger(text.get()) == ReferenceParse(text.get()));

    // What the dialog reads: the first four characters at most.
    char box[5] = {};
    std::strncpy(box, text.get(), 4);
    Check(ParseLeadingInteger(box) == ReferenceParse(box));
    return 0;
}
