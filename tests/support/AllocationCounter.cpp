#include "tests/support/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> gCounting{false};
std::atomic<long> gCount{0};
std::atomic<std::size_t> gLargest{0};

void Note(std::size_t size)
{
    if (!gCounting.load(std::memory_order_relaxed))
        return;
    gCount.fetch_add(1, std::memory_order_relaxed);
    std::size_t largest = gLargest.load(std::memory_order_relaxed);
    while (size > largest && !gLargest.compare_exchange_weak(largest, size, std::memory_order_relaxed)) {
    }
}

// Every allocation form is replaced together, so that each pair meets in malloc/free.
void* Allocate(std::size_t size) noexcept
{
    Note(size);
    return std::malloc(size == 0 ? 1 : size);
}

void* AllocateAligned(std::size_t size, std::align_val_t align) noexcept
{
    Note(size);
    // aligned_alloc wants a whole number of alignments, at least one.
    const auto a = static_cast<std::size_t>(align);
    return std::aligned_alloc(a, size == 0 ? a : (size + a - 1) / a * a);
}

void* OrThrow(void* p)
{
    if (!p)
        throw std::bad_alloc();
    return p;
}

} // namespace

void* operator new(std::size_t size) { return OrThrow(Allocate(size)); }
void* operator new[](std::size_t size) { return OrThrow(Allocate(size)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t a) { return OrThrow(AllocateAligned(size, a)); }
void* operator new[](std::size_t size, std::align_val_t a) { return OrThrow(AllocateAligned(size, a)); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return AllocateAligned(size, a);
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return AllocateAligned(size, a);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }

namespace hx::test {

void BeginCountingAllocations()
{
    gCount = 0;
    gLargest = 0;
    gCounting = true;
}

TAllocationStats EndCountingAllocations()
{
    gCounting = false;
    return TAllocationStats{gCount.load(), gLargest.load()};
}

} // namespace hx::test
