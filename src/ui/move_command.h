// The host command behind each item of the move-to-folder submenu, and the
// item's state callback. Both find the item's folder through the command id
// that the submenu bound to a history entry.
#pragma once

#include <windows.h>

// Moves the selected messages to the item's folder; on success the folder
// goes to the front of the history, on refusal it leaves the history.
void WINAPI OnMoveCommand(HWND window, DWORD param);
// 1 when the item's folder is the folder open now, else 0.
int WINAPI OnMoveCommandState(DWORD first, DWORD param);
