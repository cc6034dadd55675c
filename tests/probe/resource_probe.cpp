// Test-only part of QvVornProbe.dll (the product built once more with this
// file): reports the module's live resources to the host once the module's
// static teardown, which saves the settings and frees the history, is over.
#include <windows.h>

#include "common/resource_counts.h"

namespace {

using ReportResources = void(WINAPI*)(LONG folderBodies, LONG registryKeys, LONG ownedPopups);

struct ResourceProbe {
    ~ResourceProbe() {
        auto report = reinterpret_cast<ReportResources>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleA(nullptr), "QVT_ReportResources")));
        if (report != nullptr) {
            const ResourceCounts& counts = LiveResources();
            report(counts.folderBodies, counts.registryKeys, counts.ownedPopups);
        }
    }
};

// Constructed before, so destroyed after, every other static object of the module.
ResourceProbe probe __attribute__((init_priority(101)));

} // namespace

// The counts while the module is loaded.
// Exported by the probe build's .def.
extern "C" const ResourceCounts* WINAPI QvVornProbe_Resources() {
    return &LiveResources();
}
