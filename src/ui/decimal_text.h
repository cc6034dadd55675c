// The number box's text rules: the bounded decimal formatter and the signed
// reader. Free of windows.h so they can be built and fuzzed anywhere.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/status.h"

// Writes `value` as "%d" would into `buffer`, which holds `capacity` bytes.
// A capacity of 0 or above 0x7FFFFFFF (or no buffer) is refused with
// kStatusInvalidArg and nothing is written. Text longer than capacity - 1
// characters is cut there, NUL-terminated, and kStatusBufferTooSmall is returned.
Status FormatDecimal(char* buffer, std::size_t capacity, std::int32_t value);

// Reads the start of `text` as a signed base-10 integer: white space, one
// optional sign, then digits up to the first other character. No digits (or
// no text) reads as 0; values beyond the 32-bit range are clamped to it.
std::int32_t ParseLeadingInteger(const char* text);
