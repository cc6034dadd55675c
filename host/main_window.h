// The windowed host: a main window shaped like the mail client's, with its
// menu bar, folder tree, message list and status bar, and the plug-in loaded
// into it the way the mail client loads it.
#pragma once

#include <windows.h>

#include <functional>

namespace main_window {

inline constexpr wchar_t kClassName[] = L"QvHostMainWindow";

// The main window's children, by control id.
enum Child : int {
    kFolderTree = 1,
    kMessageList = 2,
    kStatusBar = 3,
};

// Runs the host on the calling thread: loads the plug-in at `pluginPath`,
// opens the main window, calls `opened` with it, runs the thread's messages
// until the window is closed, then unloads the plug-in, which saves its
// settings as at the mail client's exit. Returns 0, or 1 when the plug-in
// does not load.
int Run(const char* pluginPath, int showCommand,
        const std::function<void(HWND window)>& opened = nullptr);

} // namespace main_window
