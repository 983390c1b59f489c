// Handle-level calls: formatted text (accelerators, breaks, tabs, measuring) and raster copies.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Gdi.h"
#include "tests/framework/graphics/TestSurface.h"

namespace hx {
namespace {

using test::TTestSurface;

class DrawTextTest : public testing::Test {
protected:
    DrawTextTest() : Surface(200, 80)
    {
        Surface.Font()->SetHeight(-13);
        Surface.Font()->SetColor(clBlack);
        Surface.Brush()->SetStyle(bsClear);
    }

    TRect Measure(const char* text, unsigned flags, int width = 0)
    {
        TRect r = Rect(10, 20, 10 + width, 20);
        DrawText(&Surface, text, -1, r, flags | DT_CALCRECT);
        return r;
    }

    int Line() const { return Surface.TextHeight("x"); }
    int Width(const char* text) const { return Surface.TextWidth(text); }

    TTestSurface Surface;
};

TEST_F(DrawTextTest, MeasuringLeavesTheAmpersandOut)
{
    const TRect r = Measure("&Open", 0);
    EXPECT_EQ(r, Rect(10, 20, 10 + Width("Open"), 20 + Line()));
    EXPECT_EQ(Measure("a&&b", 0).Width(), Width("a&b"));
    EXPECT_EQ(Measure("&Open", DT_NOPREFIX).Width(), Width("&Open"));
    EXPECT_EQ(Surface.ChangedCount, 0); // measuring draws nothing
}

TEST_F(DrawTextTest, TheAcceleratorIsUnderlinedAndNothingElseDiffers)
{
    TTestSurface plain(200, 40);
    plain.SetFont(Surface.Font());
    plain.Brush()->SetStyle(bsClear);
    TRect r = Rect(5, 5, 150, 35);
    DrawText(&plain, "Open", -1, r, DT_NOPREFIX);
    TRect r2 = Rect(5, 5, 150, 35);
    TTestSurface marked(200, 40);
    marked.SetFont(Surface.Font());
    marked.Brush()->SetStyle(bsClear);
    const int height = DrawText(&marked, "&Open", -1, r2, 0);
    EXPECT_EQ(height, Line());
    EXPECT_EQ(r2, Rect(5, 5, 150, 35)); // drawing does not change the rectangle
    int differing = 0;
    const int oWidth = Width("O");
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (plain.At(x, y) == marked.At(x, y))
                continue;
            ++differing;
            EXPECT_EQ(marked.At(x, y), 0u);
            EXPECT_GE(x, 5);
            EXPECT_LT(x, 5 + oWidth) << "the underline reaches past the O";
            EXPECT_GE(y, 5 + Line() / 2); // below the letters' middle
        }
    }
    EXPECT_GE(differing, oWidth - 1);
}

TEST_F(DrawTextTest, LineBreaksStartNewLines)
{
    const TRect r = Measure("ab\r\ncd\nlonger line\re", 0);
    EXPECT_EQ(r.Height(), 4 * Line());
    EXPECT_EQ(r.Width(), Width("longer line"));
}

TEST_F(DrawTextTest, WordBreakWrapsAtSpacesAndALongWordStandsAlone)
{
    const int narrow = Width("aaa bbb") - 1;
    TRect r = Measure("aaa bbb", DT_WORDBREAK, narrow);
    EXPECT_EQ(r.Height(), 2 * Line());
    EXPECT_EQ(r.Width(), std::max(Width("aaa"), Width("bbb")));
    r = Measure("aaa bbb", DT_WORDBREAK, narrow + 1);
    EXPECT_EQ(r.Height(), Line());

    r = Measure("a verylongwordindeed b", DT_WORDBREAK, Width("a b"));
    EXPECT_EQ(r.Height(), 3 * Line());
    EXPECT_EQ(r.Width(), Width("verylongwordindeed"));
    EXPECT_EQ(Measure("aaa bbb", DT_WORDBREAK | DT_SINGLELINE, narrow).Height(), Line());
}

TEST_F(DrawTextTest, WrappedTextIsClippedToTheRectangle)
{
    TRect r = Rect(10, 10, 10 + Width("a b"), 10 + Line());
    Surface.Brush()->SetColor(clLime);
    Surface.Brush()->SetStyle(bsClear);
    const int height = DrawText(&Surface, "a verylongwordindeed b", -1, r, DT_WORDBREAK);
    EXPECT_EQ(height, 3 * Line());
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (!PtInRect(r, Point(x, y))) {
                ASSERT_EQ(Surface.At(x, y), 0xFFFFFFu) << x << "," << y;
            }
        }
    }
    EXPECT_GT(Surface.ChangedCount, 0);
}

TEST_F(DrawTextTest, TabsExpandToStopsEveryEightAverageCharacters)
{
    const int stop = Measure("\tb", DT_EXPANDTABS).Width() - Width("b");
    EXPECT_GT(stop, Width("a"));
    EXPECT_EQ(stop % 8, 0);
    EXPECT_EQ(Measure("a\tb", DT_EXPANDTABS).Width(), stop + Width("b"));
    EXPECT_EQ(Measure("\t\tb", DT_EXPANDTABS).Width(), 2 * stop + Width("b"));
    EXPECT_EQ(Measure("a\tb", DT_EXPANDTABS | DT_WORDBREAK, 1000).Width(), stop + Width("b"));
}

TEST_F(DrawTextTest, CentringPlacesTheLineInTheRectangle)
{
    TTestSurface left(100, 30), centred(100, 30);
    for (TTestSurface* s : {&left, &centred}) {
        s->SetFont(Surface.Font());
        s->Brush()->SetStyle(bsClear);
    }
    TRect a = Rect(0, 0, Width("Hi"), 30);
    DrawText(&left, "Hi", 2, a, DT_SINGLELINE);
    TRect b = Rect(0, 0, 100, 30);
    EXPECT_EQ(DrawText(&centred, "Hi", 2, b, DT_CENTER | DT_VCENTER | DT_SINGLELINE),
              (30 - Line()) / 2 + Line());
    const int dx = (100 - Width("Hi")) / 2;
    const int dy = (30 - Line()) / 2;
    for (int y = 0; y + dy < 30; ++y)
        for (int x = 0; x + dx < 100; ++x)
            ASSERT_EQ(left.At(x, y), centred.At(x + dx, y + dy)) << x << "," << y;
}

TEST_F(DrawTextTest, LengthLimitsTheText)
{
    EXPECT_EQ(Measure("abcdef", 0).Width(), Width("abcdef"));
    TRect r = Rect(0, 0, 0, 0);
    DrawText(&Surface, "abcdef", 3, r, DT_CALCRECT);
    EXPECT_EQ(r.Width(), Width("abc"));
    r = Rect(0, 0, 0, 0);
    EXPECT_EQ(DrawText(&Surface, "", 0, r, DT_CALCRECT), 0);
    EXPECT_EQ(r, Rect(0, 0, 0, 0));
}

// The disabled-glyph copy: a one-bit mask written with 0x00E20746 puts the brush colour
// where the mask is white and leaves the target where it is black.
TEST(BitBlt, MaskCopyWritesTheBrushWhereTheMaskIsWhite)
{
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(4, 2);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 4, 2));
    mask.Canvas()->SetPixel(0, 0, clWhite);
    mask.Canvas()->SetPixel(2, 0, clWhite);
    mask.Canvas()->SetPixel(3, 1, clWhite);
    for (bool throughCanvas : {false, true}) {
        TTestSurface surface(6, 3, clBlue);
        surface.Brush()->SetColor(clRed);
        SetTextColor(&surface, clBlack);
        SetBkColor(&surface, clWhite);
        const bool done = throughCanvas ? BitBlt(&surface, 1, 1, 4, 2, mask.Canvas(), 0, 0, 0x00E20746)
                                        : BitBlt(&surface, 1, 1, 4, 2, &mask, 0, 0, 0x00E20746);
        EXPECT_TRUE(done);
        EXPECT_EQ(surface.Picture(), (std::vector<std::string>{"BBBBBB", "BRBRBB", "BBBBRB"}))
            << (throughCanvas ? "canvas source" : "bitmap source");
        EXPECT_EQ(surface.LastTouched, Rect(1, 1, 5, 3));
    }
}

TEST(BitBlt, OneBitSourceTakesTheTargetsTextAndBackgroundColours)
{
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(2, 1);
    mask.Canvas()->SetPixel(1, 0, clBlack);
    TTestSurface surface(2, 1);
    EXPECT_EQ(SetTextColor(&surface, clLime), clBlack); // black and white by default
    EXPECT_EQ(SetBkColor(&surface, clYellow), clWhite);
    BitBlt(&surface, 0, 0, 2, 1, &mask, 0, 0, SRCCOPY);
    EXPECT_EQ(surface.Picture()[0], "YG");
}

TEST(BitBlt, ColourCopyClipsToTheSourceAndTheTarget)
{
    TBitmap source;
    source.SetPixelFormat(pf32bit);
    source.SetSize(2, 2);
    source.Canvas()->Brush()->SetColor(clRed);
    source.Canvas()->FillRect(Rect(0, 0, 2, 2));
    TTestSurface surface(4, 4);
    surface.Clip = Rect(0, 0, 3, 4);
    BitBlt(&surface, 1, 1, 4, 4, &source, 0, 0, SRCCOPY);
    EXPECT_EQ(surface.Picture(), (std::vector<std::string>{"....", ".RR.", ".RR.", "...."}));
    TTestSurface canvasCopy(4, 4);
    BitBlt(&canvasCopy, 0, 0, 2, 2, &surface, 1, 1, SRCCOPY);
    EXPECT_EQ(canvasCopy.Picture()[0], "RR..");
    TBitmap empty;
    EXPECT_FALSE(BitBlt(&canvasCopy, 0, 0, 2, 2, &empty, 0, 0, SRCCOPY));
}

} // namespace
} // namespace hx
