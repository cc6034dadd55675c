// A first run of the plug-in: a new host, and a settings key holding only the
// given cap.
#pragma once

#include <windows.h>

#include "plugin_module.h"

namespace fresh_start {

// Unloads `plugin`, resets our host and the settings key, then loads
// QvVorn.dll again; returns false when the key cannot be made or the DLL does
// not load.
bool Restart(plugin_module::Plugin& plugin, DWORD storedMax);

} // namespace fresh_start
