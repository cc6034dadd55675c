// Input for the windowed host as a person gives it, posted to the window that
// would receive it, so that it is handled in the host's own message loops
// (the window's, a menu's, a dialog's). Works from another thread or process.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace window_input {

// Polls `condition` until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// A key pressed and released; `alt` holds Alt down with it (a menu key).
void PressKey(HWND window, UINT virtualKey, bool alt = false);
void Type(HWND window, const std::wstring& text);
// A button pressed and released at `point` (client coordinates of `window`);
// `down` is WM_LBUTTONDOWN or WM_RBUTTONDOWN, `keys` adds MK_CONTROL and the like.
void Click(HWND window, UINT down, POINT point, WPARAM keys = 0);

// The visible top-level windows of thread `threadId` of class `className`
// ("#32768" for open menus, "#32770" for dialog boxes), the top one first.
std::vector<HWND> ThreadWindows(DWORD threadId, const char* className);
// Whether item `position` of `menu` is highlighted, as the keyboard leaves it.
bool Highlighted(HMENU menu, int position);
// Closes the dialog boxes that thread `threadId` shows as Cancel does.
void CancelDialogs(DWORD threadId);
std::string ClassOf(HWND window);
// The text of `window` through WM_GETTEXT, so it works across processes too.
std::wstring Text(HWND window);

} // namespace window_input
