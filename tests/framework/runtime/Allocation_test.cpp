// Painting through a control's canvas allocates nothing: a gradient panel paints 256 fills
// per paint, and every fill asks the form for its target and reports what it touched.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "framework/Form.h"
#include "framework/RecordingPlatform.h"

namespace {
bool gCounting = false;
int gAllocations = 0;

// Every plain allocation form is replaced together, so that each pair meets in malloc/free.
void* Allocate(std::size_t size)
{
    if (gCounting)
        ++gAllocations;
    return std::malloc(size ? size : 1);
}
} // namespace

void* operator new(std::size_t size)
{
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace hx::test {
namespace {

class TStripes : public TGraphicControl {
public:
    explicit TStripes(TForm* f) : TGraphicControl(f)
    {
        SetBounds(0, 0, 256, 20);
        SetParent(f);
    }
    void Paint() override
    {
        for (int i = 0; i < 256; ++i) {
            Canvas()->Brush()->SetColor(RGB(i, 0, 255 - i));
            Canvas()->FillRect(Rect(i, 0, i + 1, Height()));
        }
    }
};

TEST(AllocationTest, PaintPassAndPaintingAtOnceAllocateNothing)
{
    TPlatformScope platform;
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 40);
    auto* stripes = new TStripes(&form);
    form.Update(); // first paint: caches warm

    // The counter sees allocations at all.
    gCounting = true;
    std::vector<int>* probe = new std::vector<int>(100);
    gCounting = false;
    delete probe;
    ASSERT_EQ(gAllocations, 2);

    stripes->Invalidate();
    gAllocations = 0;
    gCounting = true;
    form.Update();
    stripes->Paint();
    gCounting = false;
    EXPECT_EQ(gAllocations, 0);
    EXPECT_EQ(form.SurfacePixel(255, 5), RGB(255, 0, 0));
    EXPECT_EQ(form.SurfacePixel(0, 5), RGB(0, 0, 255));
}

} // namespace
} // namespace hx::test
