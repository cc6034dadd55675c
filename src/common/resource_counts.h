// Live counts of the Windows resources the plug-in owns, so tests can prove
// that every path gives back what it took.
#pragma once

#include <windows.h>

struct ResourceCounts {
    volatile LONG folderBodies; // FolderName bodies alive
    volatile LONG registryKeys; // registry keys open
    volatile LONG ownedPopups;  // popup menus created and neither placed in a menu nor destroyed
};

ResourceCounts& LiveResources() noexcept;
