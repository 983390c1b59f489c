// Start-up paints the window once: while the description is read, the swatches' repaint-at-
// once setters find no canvas (each would otherwise paint once per property), and the
// first paint pass after reading shows every control.
#include "MainFormFixture.h"

namespace hx::test {
namespace {

TEST_F(MainFormTest, ReadingPaintsNothingAndTheFirstPassPaintsEverySwatch)
{
    TMainForm1& form = Create();
    // Swatch 1 (#0000ff) at (4, 54): its face starts two pixels in, past the border.
    const TColor blue = RGB(0, 0, 255);
    EXPECT_NE(form.SurfacePixel(6, 56), blue) << "painted while being read";
    EXPECT_EQ(form.PaintPassCount(), 0);
    EXPECT_FALSE(form.InvalidRect().IsEmpty()) << "the whole form waits for its first pass";

    form.Update();
    EXPECT_EQ(form.PaintPassCount(), 1);
    EXPECT_EQ(form.SurfacePixel(6, 56), blue);
    for (int n = 1; n <= kSwatchCount; ++n) {
        const TGlowFadeButton* swatch = form.GlowFadeButton(n);
        EXPECT_EQ(form.SurfacePixel(swatch->Left() + 2, swatch->Top() + 2), swatch->Color()) << n;
    }
}

} // namespace
} // namespace hx::test
