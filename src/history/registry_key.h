// Owner of one open registry key, and where a key is.
#pragma once

#include <windows.h>

#include "common/owned_handle.h"

struct KeyLocation {
    HKEY root;
    const char* path; // ANSI; null names no key (never the root itself)
};

void CloseRegistryKey(HKEY key) noexcept;
using RegistryKey = OwnedHandle<HKEY, CloseRegistryKey>;

// Opens an existing key for reading and setting values; never creates it.
// The open counts as failed when no handle comes back: the owner holds none.
RegistryKey OpenRegistryKey(const KeyLocation& location) noexcept;
