// A plug-in as the mail client holds it: the one owner of its module from
// load to unload, and the callbacks the host calls.
#pragma once

#include <windows.h>

#include <string>

class LoadedPlugin {
  public:
    explicit LoadedPlugin(const char* path); // LoadLibrary, as the mail client loads plug-ins
    ~LoadedPlugin();                         // unloads it: the plug-in saves its settings then
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    DWORD LoadError() const { return loadError_; }
    // Loaded, with the callbacks that the host calls.
    bool Usable() const;

    // A new showing of menu `menuType` (0: the main window's, 1: the message
    // list's): the commands of its earlier showing go, then the plug-in adds its items.
    void MenuInit(HWND window, HMENU menu, int menuType) const;
    void DragDrop(const std::string& folder, int kind) const;
    void PlugInInfo(char* info) const;
    // QVC_OnStart and QVC_OnExit: the mail client calls them after loading
    // and before unloading.
    void Notify(const char* name) const;

  private:
    using OnMenuInit = int(WINAPI*)(HWND window, HMENU menu, int menuType);
    using OnDragDrop = int(WINAPI*)(const char* folder, int second, int third, int kind);
    using OnPlugInInfo = int(WINAPI*)(char* info);

    HMODULE module_;
    DWORD loadError_;
    OnMenuInit menuInit_ = nullptr;
    OnDragDrop dragDrop_ = nullptr;
    OnPlugInInfo plugInInfo_ = nullptr;
};
