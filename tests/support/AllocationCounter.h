#pragma once
// Sees every allocation of a test program while a measurement is open, so that the paths
// that must allocate nothing (a panel's paint, a canvas fill, a settings lookup's buffer)
// can be checked. The global allocation operators are replaced in AllocationCounter.cpp,
// part of every test program; outside a measurement they only pass through to malloc/free.
#include <cstddef>

namespace hx::test {

struct TAllocationStats {
    long Count = 0;          // allocations made
    std::size_t Largest = 0; // the largest size asked for
};

void BeginCountingAllocations();
TAllocationStats EndCountingAllocations();

// What fn allocates.
template <class F>
TAllocationStats AllocationsDuring(F&& fn)
{
    BeginCountingAllocations();
    fn();
    return EndCountingAllocations();
}

} // namespace hx::test
