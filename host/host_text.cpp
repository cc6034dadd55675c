#include "host_text.h"

#include <windows.h>

namespace host_text {

std::wstring Wide(const std::string& ansi) {
    if (ansi.empty()) {
        return std::wstring();
    }
    int length = static_cast<int>(ansi.size());
    int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, &wide[0], units);
    return wide;
}

std::string Ansi(const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    int length = static_cast<int>(wide.size());
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
}

} // namespace host_text
