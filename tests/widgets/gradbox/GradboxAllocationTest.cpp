// A paint allocates nothing: the backdrop repaints on every swatch click, and its table
// lives inside the object. Every allocation of this program goes through the operators
// below, which count while a measurement is open.
#include <atomic>
#include <cstdlib>
#include <new>

#include "GradboxFixture.h"

namespace {

std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};

void* Allocate(std::size_t size)
{
    if (gCounting.load(std::memory_order_relaxed))
        gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t align)
{
    if (gCounting.load(std::memory_order_relaxed))
        gAllocations.fetch_add(1, std::memory_order_relaxed);
    // aligned_alloc wants a whole number of alignments, at least one.
    const auto a = static_cast<std::size_t>(align);
    const std::size_t rounded = size == 0 ? a : (size + a - 1) / a * a;
    if (void* p = std::aligned_alloc(a, rounded))
        return p;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace hx::test {
namespace {

long AllocationsDuring(TGradBox& panel)
{
    gAllocations = 0;
    gCounting = true;
    panel.Paint();
    gCounting = false;
    return gAllocations.load();
}

TEST_F(GradboxTest, APaintAllocatesNothing)
{
    for (TGradStyle style : {gsLeftRight, gsRightLeft, gsTopBottom, gsBottomTop, gsNone}) {
        TGradBox* panel = AddPanel(0, 0, 200, 228, style, clBlack, clWhite);
        panel->SetDrawOutLine(true);
        form.Update(); // the first paint may build the font's face
        EXPECT_EQ(AllocationsDuring(*panel), 0) << "style " << int(style);
        panel->SetTopColor(RGB(255, 153, 0)); // what a swatch click changes
        EXPECT_EQ(AllocationsDuring(*panel), 0) << "style " << int(style);
        delete panel;
    }
}

TEST_F(GradboxTest, TheCounterSeesAllocations)
{
    gAllocations = 0;
    gCounting = true;
    void* probe = ::operator new(16); // a call, not a new-expression: never elided
    gCounting = false;
    ::operator delete(probe);
    EXPECT_EQ(gAllocations.load(), 1);
}

} // namespace
} // namespace hx::test
