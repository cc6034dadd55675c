// What QvVornProbe.dll reports about its live resources when it is unloaded.
#pragma once

#include <string>

#include "plugin_module.h"

namespace resource_report {

// Unloads `plugin` and expects its report of nothing left: no folder bodies,
// no open registry keys, no popup menus of its own. `where` goes with a failure.
void UnloadLeavingNothing(plugin_module::Plugin& plugin, const std::string& where = "");

} // namespace resource_report
