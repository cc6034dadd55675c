#include "plugin_module.h"

namespace plugin_module {

namespace {

// Through void(*)(): the one function type any function pointer converts to cleanly.
template <typename Function> Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace

void KeepSystemLibrariesLoaded() {
    for (const char* name : {"user32.dll", "advapi32.dll", "comctl32.dll", "oleaut32.dll"}) {
        LoadLibraryA(name);
    }
}

Plugin Load(const wchar_t* file) {
    Plugin plugin;
    plugin.module = LoadLibraryW(file);
    if (plugin.module != nullptr) {
        plugin.menuInit = Export<OnMenuInit>(plugin.module, "QVC_OnMenuInit");
        plugin.dragDrop = Export<OnDragDrop>(plugin.module, "QVC_OnDragDrop");
        plugin.plugInInfo = Export<OnPlugInInfo>(plugin.module, "QVC_OnPlugInInfo");
    }
    return plugin;
}

void Unload(Plugin& plugin) {
    if (plugin.module != nullptr) {
        FreeLibrary(plugin.module);
    }
    plugin = Plugin();
}

std::vector<MenuItem> ReadMenu(HMENU menu) {
    std::vector<MenuItem> items;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char label[1024] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = label;
        info.cch = sizeof label;
        if (GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) {
            items.push_back({label, info.wID, info.fType, info.fState, info.hSubMenu});
        }
    }
    return items;
}

HMENU MenuBar(int count) {
    HMENU bar = CreateMenu();
    for (int i = 0; i < count; ++i) {
        HMENU submenu = CreatePopupMenu();
        AppendMenuA(submenu, MF_STRING, static_cast<UINT_PTR>(100 + i), "Item");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), "Menu");
    }
    return bar;
}

} // namespace plugin_module
