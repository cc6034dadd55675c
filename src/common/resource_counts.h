// Live counts of the Windows resources the plug-in owns, so tests can prove
// that every path gives back what it took. Only builds made for testing
// (QVVORN_COUNT_RESOURCES) count; in the shipped module counting is nothing.
#pragma once

#include <windows.h>

enum class Resource { FolderBody, RegistryKey, OwnedPopup };

#if defined(QVVORN_COUNT_RESOURCES)

struct ResourceCounts {
    volatile LONG folderBodies; // FolderName bodies alive
    volatile LONG registryKeys; // registry keys open
    volatile LONG ownedPopups;  // popup menus created and neither placed in a menu nor destroyed
};

ResourceCounts& LiveResources() noexcept;

void CountTaken(Resource kind) noexcept;
void CountGiven(Resource kind) noexcept;

#else

inline void CountTaken(Resource) noexcept {}
inline void CountGiven(Resource) noexcept {}

#endif
