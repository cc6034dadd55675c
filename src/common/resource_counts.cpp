#include "common/resource_counts.h"

ResourceCounts& LiveResources() noexcept {
    static ResourceCounts counts{};
    return counts;
}
