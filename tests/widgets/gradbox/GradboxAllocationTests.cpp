// A paint allocates nothing: the backdrop repaints on every swatch click, and its table
// lives inside the object.
#include "GradboxFixture.h"
#include "tests/support/AllocationCounter.h"

namespace hx::test {
namespace {

long PaintAllocations(TGradBox& panel)
{
    return AllocationsDuring([&] { panel.Paint(); }).Count;
}

TEST_F(GradboxTest, APaintAllocatesNothing)
{
    for (TGradStyle style : {gsLeftRight, gsRightLeft, gsTopBottom, gsBottomTop, gsNone}) {
        TGradBox* panel = AddPanel(0, 0, 200, 228, style, clBlack, clWhite);
        panel->SetDrawOutLine(true);
        form.Update(); // the first paint may build the font's face
        EXPECT_EQ(PaintAllocations(*panel), 0) << "style " << int(style);
        panel->SetTopColor(RGB(255, 153, 0)); // what a swatch click changes
        EXPECT_EQ(PaintAllocations(*panel), 0) << "style " << int(style);
        delete panel;
    }
}

TEST_F(GradboxTest, TheCounterSeesAllocations)
{
    void* probe = nullptr;
    // A call, not a new-expression: never elided.
    EXPECT_EQ(AllocationsDuring([&] { probe = ::operator new(16); }).Count, 1);
    ::operator delete(probe);
}

} // namespace
} // namespace hx::test
