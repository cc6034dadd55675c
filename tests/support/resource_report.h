// What QvVornProbe.dll reported about its live resources when it was unloaded.
#pragma once

#include <windows.h>

namespace resource_report {

struct Report {
    bool received = false;
    LONG folderBodies = -1;
    LONG registryKeys = -1;
    LONG ownedPopups = -1;
};

// Forgets the last report.
void Clear();
const Report& Last();

} // namespace resource_report
