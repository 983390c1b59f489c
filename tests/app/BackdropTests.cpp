// The gradient backdrop as the user sees it: two mirrored panels behind the swatches that
// take the clicked colour.
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MainFormFixture.h"
#include "framework/runtime/PointerTracker.h"

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

// Where the pointer rests on a panel and no swatch: no hint, the default cursor, and a click
// changes nothing. A swatch row shows the same checks do see a hint, a cursor and a click.
struct TPanelPoint {
    const char* What;
    int X, Y;
};

// Rows print as their names in test listings.
void PrintTo(const TPanelPoint& row, std::ostream* out)
{
    *out << row.What;
}

class BackdropPointTest : public MainFormTest, public ::testing::WithParamInterface<TPanelPoint> {
protected:
    void TearDown() override
    {
        PointerTracker().SetCapture(nullptr);
        MainFormTest::TearDown();
    }

    void RestAt(TMainForm1& form, int x, int y)
    {
        Platform.SetCursorPos(form.ClientToScreen(Point(x, y)));
        PointerTracker().Track();
        Platform.Advance(1000); // twice the rest a hint waits for
    }

    static std::vector<TColor> Surface(const TMainForm1& form)
    {
        std::vector<TColor> pixels;
        for (int y = 0; y < 228; ++y)
            for (int x = 0; x < 448; ++x)
                pixels.push_back(form.SurfacePixel(x, y));
        return pixels;
    }
};

TEST_P(BackdropPointTest, APanelPointHasNoHintTheDefaultCursorAndIgnoresClicks)
{
    const TPanelPoint at = GetParam();
    TMainForm1& form = Create();
    form.Show();
    form.Update();
    RestAt(form, at.X, at.Y);
    EXPECT_FALSE(PointerTracker().HintShowing());
    EXPECT_EQ(form.WindowCursor(), crDefault);

    const std::vector<TColor> before = Surface(form);
    const bool onTop = form.N4->Checked();
    form.MouseInput(miDown, mbLeft, at.X, at.Y, ssLeft);
    form.MouseInput(miUp, mbLeft, at.X, at.Y, 0);
    PointerTracker().Track();
    form.Update();
    EXPECT_TRUE(Platform.ClipboardTexts().empty());
    EXPECT_EQ(Platform.BeepCount(), 0);
    EXPECT_TRUE(Platform.ErrorBoxes().empty());
    EXPECT_EQ(form.N4->Checked(), onTop);
    EXPECT_TRUE(Surface(form) == before) << "the window looks the same";
}

INSTANTIATE_TEST_SUITE_P(Corners, BackdropPointTest,
                         ::testing::Values(TPanelPoint{"LeftPanel", 2, 2}, TPanelPoint{"RightPanel", 440, 2}),
                         [](const ::testing::TestParamInfo<TPanelPoint>& row) { return std::string(row.param.What); });

TEST_F(MainFormTest, TheSamePointerChecksOnASwatchSeeItsHintCursorAndClick)
{
    TMainForm1& form = Create();
    form.Show();
    form.Update();
    Platform.SetCursorPos(form.ClientToScreen(Point(6, 56))); // swatch 1, #0000ff
    PointerTracker().Track();
    Platform.Advance(1000);
    EXPECT_TRUE(PointerTracker().HintShowing());
    EXPECT_EQ(PointerTracker().HintText(), "RGB(0,0,255)");
    EXPECT_EQ(form.WindowCursor(), crHandPoint);
    form.MouseInput(miDown, mbLeft, 6, 56, ssLeft);
    form.MouseInput(miUp, mbLeft, 6, 56, 0);
    EXPECT_EQ(Platform.ClipboardTexts(), std::vector<std::string>{"#0000ff"});
    PointerTracker().SetCapture(nullptr);
}

} // namespace
} // namespace hx::test
