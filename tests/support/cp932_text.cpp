#include "cp932_text.h"

#include <windows.h>

namespace cp932_text {

std::string FromWide(const wchar_t* text, unsigned codePage) {
    int bytes = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 1), '\0');
    WideCharToMultiByte(codePage, 0, text, -1, &out[0], bytes, nullptr, nullptr);
    out.pop_back(); // the terminator
    return out;
}

} // namespace cp932_text
