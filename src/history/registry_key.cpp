#include "history/registry_key.h"

#include "common/resource_counts.h"

void CloseRegistryKey(HKEY key) noexcept {
    RegCloseKey(key);
    CountGiven(Resource::RegistryKey);
}

RegistryKey OpenRegistryKey(const KeyLocation& location) noexcept {
    HKEY key = nullptr;
    // No path would open the root itself.
    if (location.path != nullptr) {
        RegOpenKeyExA(location.root, location.path, 0, KEY_READ | KEY_SET_VALUE, &key);
    }
    if (key != nullptr) {
        CountTaken(Resource::RegistryKey);
    }
    return RegistryKey(key);
}
