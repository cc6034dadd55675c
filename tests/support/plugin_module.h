// The plug-in DLL loaded the way the host loads it, with its callbacks, and
// the host's menus read back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace plugin_module {

using OnMenuInit = int(WINAPI*)(HWND window, HMENU menu, int menuType);
using OnDragDrop = int(WINAPI*)(const char* folder, int second, int third, int kind);
using OnPlugInInfo = int(WINAPI*)(char* info);

struct Plugin {
    HMODULE module = nullptr;
    OnMenuInit menuInit = nullptr;
    OnDragDrop dragDrop = nullptr;
    OnPlugInInfo plugInInfo = nullptr;
};

// Loads the system libraries that a mail client has loaded long before any
// plug-in; without them every load and unload of the plug-in would map and
// unmap them again.
void KeepSystemLibrariesLoaded();

// Loads `file` (a name from the test program's folder, or a full path);
// module is null on failure.
Plugin Load(const wchar_t* file);
void Unload(Plugin& plugin);

struct MenuItem {
    std::string label; // code page 932, as GetMenuItemInfoA gives it
    UINT id = 0;
    UINT type = 0;
    UINT state = 0;
    HMENU submenu = nullptr;
};

std::vector<MenuItem> ReadMenu(HMENU menu);
// A main window's menu bar of `count` submenus with one item each, as the
// plug-in is given it.
HMENU MenuBar(int count);

} // namespace plugin_module
