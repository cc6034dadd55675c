// A first run of the plug-in: a new host, and a settings key holding only the
// given cap.
#pragma once

#include <windows.h>

#include "plugin_module.h"

namespace fresh_start {

// Unloads `plugin`, resets our host and the settings key, which then holds
// `storedMax` and, when given, `storedFolders`, then loads `file` again;
// returns false when the key cannot be made or the module does not load.
bool Restart(plugin_module::Plugin& plugin, DWORD storedMax, const wchar_t* storedFolders = nullptr,
             const wchar_t* file = L"QvVorn.dll");

} // namespace fresh_start
