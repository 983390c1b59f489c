// The gradient backdrop as the user sees it: two mirrored panels behind the swatches that
// take the clicked colour.
#include <gtest/gtest.h>

#include "MainFormFixture.h"

namespace hx::test {
namespace {

constexpr TColor Grey(int v) { return RGB(v, v, v); }
constexpr TColor kOrange = RGB(255, 153, 0); // swatch 89, "#ff9900"

// The outer column of each panel shows its ramp's entry 2 (200 columns, one pixel a band).
// Left, orange to white: steps per entry are red 0, green -0.4, blue -1, so entry 2 is
// (255, 153.8, 2), truncated. Right, white to orange: steps 0, +0.4, +1 give (255, 254.2, 253).
constexpr TColor kLeftEntry2 = RGB(255, 153, 2);
constexpr TColor kRightEntry2 = RGB(255, 254, 253);

// Rows of the outer columns x = 0 … 3 and 444 … 447, which no swatch covers at any height.
constexpr int kRows[] = {0, 2, 100, 227};

TEST_F(MainFormTest, AtStartThePanelsShadeFromBlackAtTheEdgesToWhiteTowardsTheMiddle)
{
    TMainForm1& form = Create();
    form.Update();
    for (int y : kRows) {
        SCOPED_TRACE(y);
        // Left panel: the first bands overlap, so column 0 shows entry 2.
        EXPECT_EQ(form.SurfacePixel(0, y), Grey(2));
        EXPECT_EQ(form.SurfacePixel(1, y), Grey(3));
        EXPECT_EQ(form.SurfacePixel(3, y), Grey(6));
        // Right panel: white at its inner edge, black exactly at the window's edge.
        EXPECT_EQ(form.SurfacePixel(447, y), clBlack);
        EXPECT_EQ(form.SurfacePixel(444, y), Grey(3));
    }
    EXPECT_EQ(form.SurfacePixel(199, 2), clWhite);
    EXPECT_EQ(form.SurfacePixel(248, 2), Grey(253));
    // The band between the panels is the window's own white.
    for (int x = 200; x <= 247; ++x)
        EXPECT_EQ(form.SurfacePixel(x, 0), clWhite) << x;
    // Swatches stand over the panels.
    EXPECT_EQ(form.SurfacePixel(5, 56), RGB(0, 0, 255));
}

TEST_F(MainFormTest, ASwatchClickWashesBothPanelsInItsColour)
{
    TMainForm1& form = Create();
    form.Update();
    form.GlowFadeButton(89)->Click();
    form.Update();
    for (int y : kRows) {
        SCOPED_TRACE(y);
        EXPECT_EQ(form.SurfacePixel(447, y), kOrange) << "the right edge shows the colour exactly";
        EXPECT_EQ(form.SurfacePixel(0, y), kLeftEntry2);
    }
    for (int y : {0, 2, 227}) { // above and below every swatch
        EXPECT_EQ(form.SurfacePixel(248, y), kRightEntry2) << y;
        EXPECT_EQ(form.SurfacePixel(199, y), clWhite) << y;
    }
    EXPECT_EQ(form.SurfacePixel(230, 0), clWhite);
    EXPECT_EQ(form.SurfacePixel(405, 116), kOrange) << "swatch 89 is painted again over the panel";
    EXPECT_EQ(form.SurfacePixel(5, 56), RGB(0, 0, 255));

    form.GlowFadeButton(46)->Click(); // white
    form.Update();
    for (int x : {0, 100, 199, 248, 300, 447})
        EXPECT_EQ(form.SurfacePixel(x, 0), clWhite) << x;
}

TEST_F(MainFormTest, ClickingTheSameSwatchTwiceRepaintsThePanelsOnce)
{
    TMainForm1& form = Create();
    form.Update();
    int paints = 0;
    const TNotifyEvent count([&](TObject*) { ++paints; });
    form.GradBox1->SetOnPaint(count);
    form.GradBox2->SetOnPaint(count);

    form.GlowFadeButton(89)->Click();
    form.Update();
    EXPECT_EQ(paints, 2);
    form.GlowFadeButton(89)->Click();
    form.Update();
    EXPECT_EQ(paints, 2) << "the same colour again changes nothing";
}

} // namespace
} // namespace hx::test
