// The module's one settings object: constructed while the module loads (it
// reads the registry), destroyed while it unloads (it writes the registry).
#include "shell/plugin_instance.h"

#include "history/plugin_settings.h"
#include "shell/module_runtime.h"

namespace {

struct RuntimeRelease {
    ~RuntimeRelease() { ReleaseModuleRuntime(); }
};

// Initialised before the settings, so destroyed after them: the save may
// still need the runtime's reserves.
RuntimeRelease runtimeRelease;

PluginSettings pluginSettings;

} // namespace

FolderHistory& ActiveHistory() noexcept {
    return pluginSettings.history;
}
