// The host keeps its texts in UTF-16 and speaks the system ANSI code page
// (932 for the Japanese mail client) with the plug-in and its menus.
#pragma once

#include <string>

namespace host_text {

std::wstring Wide(const std::string& ansi);
std::string Ansi(const std::wstring& wide);

} // namespace host_text
