// Fuzzes the bounded decimal formatter against snprintf("%d") cut to the
// capacity. Small capacities get a heap block of exactly that size; refused
// capacities must leave a guarded block untouched.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "ui/decimal_text.h"

namespace {

constexpr char kUntouched = '#';

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckWithin(std::size_t capacity, std::int32_t value) {
    std::unique_ptr<char[]> buffer(new char[capacity]);
    std::memset(buffer.get(), kUntouched, capacity);
    Status status = FormatDecimal(buffer.get(), capacity, value);

    char full[32];
    int length = std::snprintf(full, sizeof full, "%d", static_cast<int>(value));
    Check(length > 0);
    std::size_t fits = std::min(static_cast<std::size_t>(length), capacity - 1);
    Check(status == (fits == static_cast<std::size_t>(length) ? kStatusOk : kStatusBufferTooSmall));
    Check(std::memcmp(buffer.get(), full, fits) == 0);
    Check(buffer[fits] == '\0');
    for (std::size_t i = fits + 1; i < capacity; ++i) {
        Check(buffer[i] == kUntouched);
    }
}

void CheckRefused(std::size_t capacity, std::int32_t value) {
    char buffer[16];
    std::memset(buffer, kUntouched, sizeof buffer);
    Check(FormatDecimal(buffer, capacity, value) == kStatusInvalidArg);
    for (char c : buffer) {
        Check(c == kUntouched);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::int32_t value = input.ConsumeIntegral<std::int32_t>();
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        CheckRefused(0, value);
        break;
    case 1:
        CheckRefused(input.ConsumeIntegralInRange<std::size_t>(std::size_t{0x80000000u}, SIZE_MAX),
                     value);
        break;
    default:
        CheckWithin(input.ConsumeIntegralInRange<std::size_t>(1, 16), value);
        break;
    }
    return 0;
}
