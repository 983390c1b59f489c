// Painting through a control's canvas allocates nothing: a gradient panel paints 256 fills
// per paint, and every fill asks the form for its target and reports what it touched.
#include <gtest/gtest.h>

#include <vector>

#include "framework/runtime/Form.h"
#include "framework/runtime/GraphicControl.h"
#include "framework/services/RecordingPlatform.h"
#include "tests/support/AllocationCounter.h"

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
    std::vector<int>* probe = nullptr;
    ASSERT_EQ(AllocationsDuring([&] { probe = new std::vector<int>(100); }).Count, 2);
    delete probe;

    stripes->Invalidate();
    EXPECT_EQ(AllocationsDuring([&] {
                  form.Update();
                  stripes->Paint();
              }).Count,
              0);
    EXPECT_EQ(form.SurfacePixel(255, 5), RGB(255, 0, 0));
    EXPECT_EQ(form.SurfacePixel(0, 5), RGB(0, 0, 255));
}

} // namespace
} // namespace hx::test
