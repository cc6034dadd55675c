// Makes the test program's operator new fail on demand, to drive product code
// into its out-of-memory paths. Linking this in replaces the global operator
// new (plain and nothrow) of the whole program; it behaves as usual until a
// FailingAllocation is alive.
#pragma once

namespace failing_allocation {

// While alive, every operator new of the program fails, but for the first
// `succeeding` ones: the plain form raises std::bad_alloc and the nothrow
// form gives null.
class FailingAllocation {
  public:
    explicit FailingAllocation(long succeeding = 0) noexcept;
    ~FailingAllocation();
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;
};

// How many allocations failed since the program started.
long FailedAllocations() noexcept;

} // namespace failing_allocation
