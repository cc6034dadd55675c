// Raw reads and writes of the values under the host's settings key, as another
// program (or the user with regedit) would see them: what the host itself
// does with its key, and more.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "host_settings.h"

namespace settings_values {

using host_settings::CreateKey;
using host_settings::DeleteKey;
using host_settings::Describe;
using host_settings::GetRaw;
using host_settings::KeyExists;
using host_settings::kKeyPath;
using host_settings::RawValue;
using host_settings::SetText;

// Deletes the key with its values and makes it again; true when it is there, empty.
bool EmptyKey();

// Writes `size` bytes of `data` as the value's data. The platform reads
// around string data: the character before its end and the one after it,
// adding a terminator that the count left out when that one is NUL (as
// Windows NT does). The bytes go through a buffer with two NUL bytes on each
// side, so what is stored never depends on memory past the caller's.
bool SetRaw(const wchar_t* name, DWORD type, const void* data, std::size_t size);
bool SetDword(const wchar_t* name, DWORD value);
// A REG_DWORD value as the platform stores it.
RawValue Dword(DWORD value);
bool DeleteValue(const wchar_t* name);

// The value's data as text, without the terminators the platform stores;
// "(missing)" when there is no such value.
std::wstring Text(const wchar_t* name);

// The folders `prefix` followed by each number from `first` to `last`, joined
// as the plug-in saves a list.
std::wstring NumberedFolders(const std::wstring& prefix, int first, int last);

} // namespace settings_values
