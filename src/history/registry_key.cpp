#include "history/registry_key.h"

#include "common/resource_counts.h"

RegistryKey::RegistryKey(const KeyLocation& location) noexcept {
    // No path would open the root itself.
    if (location.path == nullptr) {
        return;
    }
    HKEY key = nullptr;
    RegOpenKeyExA(location.root, location.path, 0, KEY_READ | KEY_SET_VALUE, &key);
    if (key != nullptr) {
        key_ = key;
        CountTaken(Resource::RegistryKey);
    }
}

RegistryKey::~RegistryKey() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
        CountGiven(Resource::RegistryKey);
    }
}
