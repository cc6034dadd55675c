// Expected texts are written as UTF-16 in tests and converted here, so a wrong
// byte in the product's code page 932 literals cannot hide behind a copy of it.
#pragma once

#include <string>

namespace cp932_text {

std::string FromWide(const wchar_t* text);

} // namespace cp932_text
