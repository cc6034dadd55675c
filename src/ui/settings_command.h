// The settings command in the main window's menu and its dialog.
#pragma once

#include <windows.h>

// Registers the settings command and appends it, after a separator, to the
// fifth top-level submenu of `menu`.
void AddSettingsCommand(HMENU menu);

// The settings command's callback: shows the settings dialog, owned by
// `window`, and returns when it closes. `param` is not read.
void WINAPI OnSettingsCommand(HWND window, DWORD param);
