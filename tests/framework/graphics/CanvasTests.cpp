// Canvas pixel rules: fills, outlines, lines, text, clipping and the target hook.
#include <gtest/gtest.h>

#include <functional>

#include "framework/graphics/Bitmap.h"
#include "tests/framework/graphics/TestSurface.h"
#include "tests/support/AllocationCounter.h"

namespace hx {
namespace {

using test::TTestSurface;
using Picture = std::vector<std::string>;

struct ShapeCase {
    const char* Name;
    std::function<void(TCanvas&)> Draw;
    Picture Expected;
};

void RedPenLimeBrush(TCanvas& c)
{
    c.Pen()->SetColor(clRed);
    c.Brush()->SetColor(clLime);
}

class ShapeTest : public testing::TestWithParam<ShapeCase> {};

TEST_P(ShapeTest, PaintsExactlyTheExpectedPixels)
{
    TTestSurface surface(8, 6);
    RedPenLimeBrush(surface);
    GetParam().Draw(surface);
    EXPECT_EQ(surface.Picture(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Canvas, ShapeTest,
    testing::Values(
        ShapeCase{"FillRectIsHalfOpen", [](TCanvas& c) { c.FillRect(Rect(1, 1, 4, 3)); },
                  {"........", ".GGG....", ".GGG....", "........", "........", "........"}},
        ShapeCase{"FillRectWithClearBrushPaintsNothing",
                  [](TCanvas& c) {
                      c.Brush()->SetStyle(bsClear);
                      c.FillRect(Rect(1, 1, 4, 3));
                  },
                  {"........", "........", "........", "........", "........", "........"}},
        ShapeCase{"RectangleOutlineOnFirstAndLastPixel", [](TCanvas& c) { c.Rectangle(1, 1, 6, 5); },
                  {"........", ".RRRRR..", ".RGGGR..", ".RGGGR..", ".RRRRR..", "........"}},
        ShapeCase{"RectangleWithoutPenIsOnePixelLess",
                  [](TCanvas& c) {
                      c.Pen()->SetStyle(psClear);
                      c.Rectangle(1, 1, 6, 5);
                  },
                  {"........", ".GGGG...", ".GGGG...", ".GGGG...", "........", "........"}},
        ShapeCase{"RectangleWithClearBrushIsOutlineOnly",
                  [](TCanvas& c) {
                      c.Brush()->SetStyle(bsClear);
                      c.Rectangle(Rect(1, 1, 6, 5));
                  },
                  {"........", ".RRRRR..", ".R...R..", ".R...R..", ".RRRRR..", "........"}},
        ShapeCase{"RectangleCornersGivenReversed", [](TCanvas& c) { c.Rectangle(6, 5, 1, 1); },
                  {"........", ".RRRRR..", ".RGGGR..", ".RGGGR..", ".RRRRR..", "........"}},
        ShapeCase{"WidePenBandsCentredOnTheEdges",
                  [](TCanvas& c) {
                      c.Pen()->SetWidth(3);
                      c.Rectangle(1, 1, 7, 6);
                  },
                  {"RRRRRRRR", "RRRRRRRR", "RRRRRRRR", "RRRGGRRR", "RRRRRRRR", "RRRRRRRR"}},
        ShapeCase{"HorizontalLineLeavesOutItsEnd",
                  [](TCanvas& c) {
                      c.MoveTo(1, 2);
                      c.LineTo(5, 2);
                  },
                  {"........", "........", ".RRRR...", "........", "........", "........"}},
        ShapeCase{"VerticalLineUpwards",
                  [](TCanvas& c) {
                      c.MoveTo(3, 5);
                      c.LineTo(3, 1);
                  },
                  {"........", "........", "...R....", "...R....", "...R....", "...R...."}},
        ShapeCase{"DiagonalLine",
                  [](TCanvas& c) {
                      c.MoveTo(0, 0);
                      c.LineTo(4, 4);
                  },
                  {"R.......", ".R......", "..R.....", "...R....", "........", "........"}},
        ShapeCase{"JoinedLinesLeaveNoGapAtTheCorner",
                  [](TCanvas& c) {
                      c.MoveTo(1, 1);
                      c.LineTo(5, 1);
                      c.LineTo(5, 4);
                  },
                  {"........", ".RRRRR..", ".....R..", ".....R..", "........", "........"}},
        ShapeCase{"XorPenInvertsTwice",
                  [](TCanvas& c) {
                      c.Pen()->SetMode(pmXor);
                      c.Pen()->SetColor(clWhite);
                      c.MoveTo(0, 0);
                      c.LineTo(4, 0);
                      c.MoveTo(2, 0);
                      c.LineTo(6, 0);
                  },
                  {"KK..KK..", "........", "........", "........", "........", "........"}},
        ShapeCase{"ClearPenDrawsNoLine",
                  [](TCanvas& c) {
                      c.Pen()->SetStyle(psClear);
                      c.MoveTo(0, 0);
                      c.LineTo(6, 0);
                  },
                  {"........", "........", "........", "........", "........", "........"}}),
    [](const testing::TestParamInfo<ShapeCase>& info) { return std::string(info.param.Name); });

TEST(Canvas, LineEndsAtItsTargetAsThePenPosition)
{
    TTestSurface surface(8, 8);
    surface.MoveTo(1, 1);
    surface.LineTo(5, 3);
    EXPECT_EQ(surface.PenPos(), Point(5, 3));
    EXPECT_EQ(surface.Pixel(5, 3), clWhite);
}

TEST(Canvas, DashedPenDrawsEighteenOnSixOff)
{
    TTestSurface surface(60, 1);
    surface.Pen()->SetStyle(psDash);
    surface.Brush()->SetStyle(bsClear); // the gaps stay transparent
    surface.MoveTo(0, 0);
    surface.LineTo(60, 0);
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(surface.At(x, 0), (x % 24) < 18 ? 0x000000u : 0xFFFFFFu) << "x=" << x;
}

TEST(Canvas, OriginAndClipPlaceAndLimitEveryOperation)
{
    TTestSurface surface(10, 10);
    surface.Origin = Point(2, 3);
    surface.Clip = Rect(2, 3, 6, 7);
    surface.Brush()->SetColor(clBlue);
    surface.FillRect(Rect(-100, -100, 100, 100));
    EXPECT_EQ(surface.LastTouched, Rect(2, 3, 6, 7));
    EXPECT_EQ(surface.ClipRect(), Rect(0, 0, 4, 4));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(surface.At(x, y), (x >= 2 && x < 6 && y >= 3 && y < 7) ? 0x0000FFu : 0xFFFFFFu);
    surface.SetPixel(0, 0, clRed);
    EXPECT_EQ(surface.At(2, 3), 0xFF0000u);
    EXPECT_EQ(surface.Pixel(0, 0), clRed);
    EXPECT_EQ(surface.Pixel(4, 0), -1); // outside the clip
    surface.SetPixel(-1, 0, clRed);     // outside: ignored
    EXPECT_EQ(surface.At(1, 3), 0xFFFFFFu);
}

TEST(Canvas, ChangedAndOnChangeFollowEachOperationThatTouchedPixels)
{
    TTestSurface surface(10, 10);
    int notified = 0;
    surface.OnChange = TNotifyEvent([&](TObject* sender) {
        EXPECT_EQ(sender, &surface);
        ++notified;
    });
    surface.FillRect(Rect(1, 1, 3, 3));
    surface.Rectangle(0, 0, 4, 4);
    surface.FillRect(Rect(20, 20, 30, 30)); // clipped away: nothing touched
    EXPECT_EQ(surface.ChangedCount, 2);
    EXPECT_EQ(notified, 2);
    EXPECT_EQ(surface.LastTouched, Rect(0, 0, 4, 4));
}

TEST(Canvas, SystemColoursAreResolvedWhenDrawing)
{
    TTestSurface surface(2, 1);
    surface.Brush()->SetColor(clBtnFace);
    surface.FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(surface.At(0, 0), test::WordOf(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(surface.Pixel(0, 0), ColorToRGB(clBtnFace));
}

TEST(Canvas, ATargetThatRaisesStopsTheOperation)
{
    TTestSurface surface(4, 4);
    surface.Detached = true;
    EXPECT_THROW(surface.FillRect(Rect(0, 0, 2, 2)), EInvalidOperation);
    EXPECT_THROW(surface.TextOut(0, 0, "x"), EInvalidOperation);
    EXPECT_EQ(surface.ChangedCount, 0);
    EXPECT_GT(surface.TextWidth("x"), 0); // measuring needs no target
}

TEST(Canvas, FillsOutlinesLinesAndUnscaledDrawsAllocateNothing)
{
    TTestSurface surface(256, 64);
    TBitmap bitmap;
    bitmap.SetSize(8, 8);
    bitmap.SetTransparent(true);
    auto paint = [&] {
        for (int i = 0; i < 256; ++i) {
            surface.Brush()->SetColor(RGB(i, 255 - i, 0));
            surface.FillRect(Rect(i, 0, i + 1, 64));
        }
        surface.Brush()->SetColor(clBtnFace);
        surface.Pen()->SetColor(clBtnShadow);
        surface.Rectangle(0, 0, 200, 50);
        surface.Pen()->SetStyle(psDash);
        surface.MoveTo(0, 10);
        surface.LineTo(200, 40);
        surface.Pen()->SetStyle(psSolid);
        surface.Draw(3, 3, &bitmap);
        surface.SetPixel(1, 1, clRed);
        (void)surface.Pixel(1, 1);
    };
    paint(); // first use may set up the platform's colours
    EXPECT_EQ(test::AllocationsDuring(paint).Count, 0);
}

// Text: exact pixels means no antialiasing, so every pixel of a text cell is either the
// text colour or the background.
class CrispTextTest : public testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(CrispTextTest, TextOutFillsItsCellWithTheBrushAndDrawsCrispText)
{
    TTestSurface surface(80, 30);
    surface.Font()->SetName(GetParam().first);
    surface.Font()->SetColor(clBlack);
    surface.Font()->SetHeight(-13);
    surface.Brush()->SetColor(clLime);
    const std::string text = GetParam().second;
    const TSize extent = surface.TextExtent(text);
    ASSERT_GT(extent.cx, 0);
    ASSERT_GT(extent.cy, 0);
    surface.TextOut(5, 4, text);
    int ink = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 80; ++x) {
            const bool inCell = x >= 5 && x < 5 + extent.cx && y >= 4 && y < 4 + extent.cy;
            const std::uint32_t word = surface.At(x, y);
            if (inCell) {
                EXPECT_TRUE(word == 0x00FF00u || word == 0u) << x << "," << y << " " << std::hex << word;
                ink += word == 0u;
            } else {
                EXPECT_EQ(word, 0xFFFFFFu) << x << "," << y;
            }
        }
    }
    EXPECT_GT(ink, 10);
    EXPECT_EQ(surface.PenPos(), Point(5 + extent.cx, 4));
}

INSTANTIATE_TEST_SUITE_P(Canvas, CrispTextTest,
                         testing::Values(std::make_pair("MS Sans Serif", "Hxg"),
                                         std::make_pair("ＭＳ Ｐゴシック", "色Ag")));

TEST(Canvas, TextOutWithClearBrushLeavesTheBackground)
{
    TTestSurface surface(60, 20, clBlue);
    surface.Font()->SetColor(clYellow);
    surface.Brush()->SetStyle(bsClear);
    surface.TextOut(2, 2, "Wm");
    int ink = 0;
    for (std::uint32_t word : surface.Bits) {
        word &= 0xFFFFFFu;
        EXPECT_TRUE(word == 0x0000FFu || word == 0xFFFF00u) << std::hex << word;
        ink += word == 0xFFFF00u;
    }
    EXPECT_GT(ink, 5);
}

TEST(Canvas, TextMeasures)
{
    TTestSurface surface(1, 1);
    surface.Font()->SetHeight(-12);
    EXPECT_EQ(surface.TextWidth(""), 0);
    EXPECT_GT(surface.TextWidth("WW"), surface.TextWidth("W"));
    EXPECT_EQ(surface.TextHeight("x"), surface.TextHeight("Ág"));
    EXPECT_GE(surface.TextHeight("x"), 12);
    const int small = surface.TextHeight("x");
    surface.Font()->SetHeight(-24);
    EXPECT_GT(surface.TextHeight("x"), small);
}

TEST(Canvas, SettingFontPenAndBrushCopiesTheirValues)
{
    TTestSurface surface(1, 1);
    TFont font;
    font.SetName("Tahoma");
    font.SetColor(clRed);
    surface.SetFont(&font);
    EXPECT_EQ(surface.Font()->Name(), "Tahoma");
    EXPECT_EQ(surface.Font()->Color(), clRed);
    EXPECT_NE(surface.Font(), &font);
    TBrush brush;
    brush.SetStyle(bsClear);
    surface.SetBrush(&brush);
    EXPECT_EQ(surface.Brush()->Style(), bsClear);
    TPen pen;
    pen.SetWidth(3);
    surface.SetPen(&pen);
    EXPECT_EQ(surface.Pen()->Width(), 3);
    EXPECT_THROW(surface.SetFont(nullptr), EConvertError);
}

} // namespace
} // namespace hx
