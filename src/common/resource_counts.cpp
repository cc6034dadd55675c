#include "common/resource_counts.h"

#if defined(QVVORN_COUNT_RESOURCES)

namespace {

volatile LONG& CounterOf(Resource kind) noexcept {
    ResourceCounts& counts = LiveResources();
    switch (kind) {
    case Resource::FolderBody:
        return counts.folderBodies;
    case Resource::RegistryKey:
        return counts.registryKeys;
    case Resource::OwnedPopup:
        break;
    }
    return counts.ownedPopups;
}

} // namespace

ResourceCounts& LiveResources() noexcept {
    static ResourceCounts counts{};
    return counts;
}

void CountTaken(Resource kind) noexcept {
    InterlockedIncrement(&CounterOf(kind));
}

void CountGiven(Resource kind) noexcept {
    InterlockedDecrement(&CounterOf(kind));
}

#endif
