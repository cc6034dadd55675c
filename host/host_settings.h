// The mail client's settings key, HKEY_CURRENT_USER\Software\Halvane\QV2\Settings,
// as the host keeps it: the mail client has the key from its first start on,
// and the plug-in only ever opens it. Also what the demo shows of its values.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win_handles.h"

namespace host_settings {

extern const char kKeyPath[]; // "Software\\Halvane\\QV2\\Settings" under HKEY_CURRENT_USER

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<unsigned char> bytes;
};

bool CreateKey(); // true when the key is there, made now or before
bool DeleteKey(); // the key and all its values; true when it is gone
bool KeyExists();
win_handles::RegistryKey OpenKey(REGSAM access); // empty when the key is missing

bool SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size);
bool SetText(const wchar_t* name, const std::wstring& text); // without terminator
std::optional<RawValue> GetRaw(const wchar_t* name);

// "REG_DWORD 10", "REG_SZ 46 bytes: \"...\"" or "(missing)", UTF-8 for printing.
std::string Describe(const wchar_t* name);

} // namespace host_settings
