#include "fresh_start.h"

#include "fake_host.h"
#include "settings_values.h"

namespace fresh_start {

bool Restart(plugin_module::Plugin& plugin, DWORD storedMax, const wchar_t* storedFolders,
             const wchar_t* file) {
    plugin_module::Unload(plugin);
    fake_host::ResetHost();
    if (!settings_values::EmptyKey() || !settings_values::SetDword(L"VornMax", storedMax) ||
        (storedFolders != nullptr && !settings_values::SetText(L"VornFolder", storedFolders))) {
        return false;
    }
    plugin = plugin_module::Load(file);
    return plugin.module != nullptr && plugin.menuInit != nullptr && plugin.dragDrop != nullptr;
}

std::wstring PluginTest::SavedFolders() {
    plugin_module::Unload(plugin);
    return settings_values::Text(L"VornFolder");
}

} // namespace fresh_start
