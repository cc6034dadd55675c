#include "failing_allocation.h"

#include <cstdlib>
#include <new>

namespace failing_allocation {

namespace {

int failing = 0;
long allowance = 0;
long failed = 0;

void* Allocate(std::size_t size) noexcept {
    if (failing > 0 && allowance-- <= 0) {
        ++failed;
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

} // namespace

FailingAllocation::FailingAllocation(long succeeding) noexcept {
    ++failing;
    allowance = succeeding;
}
FailingAllocation::~FailingAllocation() {
    --failing;
    allowance = 0;
}

long FailedAllocations() noexcept {
    return failed;
}

} // namespace failing_allocation

// The library's operator delete frees with std::free, which matches std::malloc.
void* operator new(std::size_t size) {
    void* block = failing_allocation::Allocate(size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return failing_allocation::Allocate(size);
}
