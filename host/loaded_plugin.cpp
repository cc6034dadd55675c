#include "loaded_plugin.h"

#include "fake_host.h"

namespace {

// Through void(*)(): the one function type any function pointer converts to cleanly.
template <typename Function> Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace

LoadedPlugin::LoadedPlugin(const char* path)
    : module_(LoadLibraryA(path)), loadError_(module_ != nullptr ? 0 : GetLastError()) {
    if (module_ != nullptr) {
        menuInit_ = Export<OnMenuInit>(module_, "QVC_OnMenuInit");
        dragDrop_ = Export<OnDragDrop>(module_, "QVC_OnDragDrop");
        plugInInfo_ = Export<OnPlugInInfo>(module_, "QVC_OnPlugInInfo");
    }
}

LoadedPlugin::~LoadedPlugin() {
    if (module_ != nullptr) {
        FreeLibrary(module_);
    }
}

bool LoadedPlugin::Usable() const {
    return menuInit_ != nullptr && dragDrop_ != nullptr && plugInInfo_ != nullptr;
}

void LoadedPlugin::MenuInit(HWND window, HMENU menu, int menuType) const {
    fake_host::NewShowing(menuType);
    menuInit_(window, menu, menuType);
}

void LoadedPlugin::DragDrop(const std::string& folder, int kind) const {
    dragDrop_(folder.c_str(), 0, 0, kind);
}

void LoadedPlugin::PlugInInfo(char* info) const {
    plugInInfo_(info);
}

void LoadedPlugin::Notify(const char* name) const {
    using Callback = int(WINAPI*)();
    if (Callback callback = Export<Callback>(module_, name)) {
        callback();
    }
}
