// Raw reads and writes of the values under the host's settings key, as another
// program (or the user with regedit) would see them: what the host itself
// does with its key, and more.
#pragma once

#include <windows.h>

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
using host_settings::SetRaw;
using host_settings::SetText;

bool SetDword(const wchar_t* name, DWORD value);
bool DeleteValue(const wchar_t* name);

// The value's data as text, without the terminators the platform stores;
// "(missing)" when there is no such value.
std::wstring Text(const wchar_t* name);

} // namespace settings_values
