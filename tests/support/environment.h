// A variable of this process's environment, as the test programs read them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace environment {

// Nullopt when it is not set.
inline std::optional<std::string> Variable(const char* name) {
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<char> value(size);
    DWORD length = GetEnvironmentVariableA(name, value.data(), size);
    return std::string(value.data(), length < size ? length : 0);
}

} // namespace environment
