// Raw reads and writes of the values under the host's settings key, as another
// program (or the user with regedit) would see them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace settings_values {

extern const char kKeyPath[]; // "Software\\Halvane\\QV2\\Settings" under HKEY_CURRENT_USER

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<unsigned char> bytes;
};

bool CreateKey();
bool DeleteKey(); // the key and all its values; true when it is gone
bool KeyExists();
bool SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size);
bool SetDword(const wchar_t* name, DWORD value);
bool SetText(const wchar_t* name, const std::wstring& text); // without terminator
bool DeleteValue(const wchar_t* name);
std::optional<RawValue> GetRaw(const wchar_t* name);

// The value's data as text, without the terminators the platform stores;
// "(missing)" when there is no such value.
std::wstring Text(const wchar_t* name);

// "REG_DWORD 10", "REG_SZ 46 bytes: \"...\"" or "(missing)", UTF-8 for printing.
std::string Describe(const wchar_t* name);

} // namespace settings_values
