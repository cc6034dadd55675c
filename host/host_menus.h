// The host's own menus: the main window's menu bar and the message list's
// right-click menu, and the menu commands that the plug-in registered.
#pragma once

#include <windows.h>

#include <string>

#include "win_handles.h"

namespace host_menus {

// The host's own command ids; the plug-in's commands get ids from 40001 on.
enum Command : UINT {
    kExit = 101,
    kSelectAll,
    kRefresh,
    kNewMail,
    kOptions,
    kReply,
    kForward,
    kDelete,
};

// Five menus; the plug-in adds its settings item to the fifth, "ツール(&T)".
win_handles::Menu MenuBar();
// The host's own items of the message list's right-click menu.
win_handles::Menu MessageMenu();
// The main window's keys: Ctrl+A selects every message.
win_handles::Accelerators Accelerators();

// What the status bar says while item `id` is highlighted: the help text of
// a command of the host, the comment text of one that the plug-in registered.
std::wstring HelpText(UINT id);

// Greys each item of `menu` whose UI-state callback answers 1 (the folder
// that is open now in the move submenu).
void ApplyPluginStates(HMENU menu);

// Calls the command callback registered for menu item `id` with `window`;
// false when the plug-in registered no callback for it.
bool RunPluginCommand(UINT id, HWND window);

} // namespace host_menus
