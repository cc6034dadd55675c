// The settings dialog (template 102): the largest number of folders kept,
// 5 to 30, in a number box with an up-down control.
#pragma once

#include <windows.h>

// Acts on WM_INITDIALOG, WM_COMMAND, WM_CLOSE, WM_VSCROLL and the up-down
// control's step (WM_NOTIFY). Returns FALSE for every message, so Windows
// sets no default focus when the dialog opens.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
