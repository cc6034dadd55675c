// Status codes in the HRESULT convention: 0 is success, negative is failure.
// Kept free of windows.h so the text rules can be built and fuzzed anywhere.
#pragma once

#include <cstdint>

using Status = std::int32_t;

constexpr Status kStatusOk = 0;
constexpr Status kStatusFail = static_cast<Status>(0x80004005u);
constexpr Status kStatusInvalidArg = static_cast<Status>(0x80070057u);
constexpr Status kStatusOutOfMemory = static_cast<Status>(0x8007000Eu);
constexpr Status kStatusBufferTooSmall = static_cast<Status>(0x8007007Au);

// A Windows error number as a status: 0x80070000 plus its low 16 bits.
// Error 0 (a failure that left no error number) counts as a general failure,
// never as success.
constexpr Status StatusFromWin32(std::uint32_t error) {
    return error == 0 ? kStatusFail : static_cast<Status>(0x80070000u | (error & 0xFFFFu));
}
