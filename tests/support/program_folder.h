// Files beside the running test program, by wide paths: the folder it was
// unpacked into may have a name that the ANSI code page cannot spell.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace program_folder {

// The full path of `file` in the folder of the running program.
std::wstring Beside(const std::wstring& file);
// The bytes of the file at `path`; none when it cannot be read.
std::vector<unsigned char> ReadBytes(const std::wstring& path);

} // namespace program_folder
