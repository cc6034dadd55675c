// The module's one settings object: constructed while the module loads (it
// reads the registry), destroyed while it unloads (it writes the registry).
#include "history/plugin_settings.h"

namespace {

PluginSettings pluginSettings;

} // namespace

FolderHistory& ActiveHistory() noexcept {
    return pluginSettings.history;
}
