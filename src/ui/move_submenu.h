// The "move to folder" submenu at the top of the message list's context menu.
#pragma once

#include <windows.h>

// Builds the submenu from the module's history; `menuType` goes to the host
// with every command registered.
void BuildMoveSubmenu(HMENU menu, int menuType);
