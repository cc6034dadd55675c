// What QvVornProbe.dll reported about its live resources when it was unloaded.
#pragma once

#include <windows.h>

#include "plugin_module.h"

namespace resource_report {

struct Report {
    bool received = false;
    LONG folderBodies = -1;
    LONG registryKeys = -1;
    LONG ownedPopups = -1;
};

// Unloads `plugin`; what it reported then.
Report Unload(plugin_module::Plugin& plugin);

} // namespace resource_report
