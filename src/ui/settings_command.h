// The settings command in the main window's menu and its dialog.
#pragma once

#include <windows.h>

// Registers the settings command and appends it, after a separator, to the
// fifth top-level submenu of `menu`.
void AddSettingsCommand(HMENU menu);
