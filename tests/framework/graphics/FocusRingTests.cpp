// The focus indicator: the contrast arithmetic against known values, which ring faces which
// colour, and the exact pixels drawn.
#include <gtest/gtest.h>

#include "framework/graphics/FocusRing.h"
#include "tests/framework/graphics/TestSurface.h"

namespace hx {
namespace {

TEST(FocusRing, ContrastRatiosMatchTheKnownValues)
{
    const struct {
        TColor A, B;
        double Ratio;
    } cases[] = {
        {clBlack, clWhite, 21.0}, {clWhite, clBlack, 21.0}, {clRed, clRed, 1.0},
        {RGB(0, 0, 255), clWhite, 8.59}, {RGB(118, 118, 118), clWhite, 4.54}, {RGB(255, 0, 0), clWhite, 4.0},
        {RGB(119, 119, 119), clWhite, 4.48}, {RGB(128, 128, 128), RGB(127, 127, 127), 1.01},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(ContrastRatio(c.A, c.B), c.Ratio, 0.01) << std::hex << c.A << " " << c.B;
    EXPECT_EQ(RelativeLuminance(clWhite), 1.0);
    EXPECT_EQ(RelativeLuminance(clBlack), 0.0);
}

TEST(FocusRing, TheRingNextToTheFaceIsTheOneThatContrastsMore)
{
    EXPECT_EQ(FocusRingColors(RGB(0, 0, 255)).Inner, clWhite);
    EXPECT_EQ(FocusRingColors(RGB(0, 0, 255)).Outer, clBlack);
    EXPECT_EQ(FocusRingColors(RGB(255, 255, 0)).Inner, clBlack);
    EXPECT_EQ(FocusRingColors(RGB(255, 255, 0)).Outer, clWhite);
    // Every grey: the ring next to it reaches the square root of 21.
    for (int v = 0; v < 256; ++v)
        EXPECT_GE(ContrastRatio(FocusRingColors(RGB(v, v, v)).Inner, RGB(v, v, v)), 4.58) << v;
}

TEST(FocusRing, DrawsTwoOnePixelRingsInsideTheRectangleAndKeepsTheBrush)
{
    test::TTestSurface surface(8, 6, clGreen);
    surface.Brush()->SetColor(clRed);
    surface.Brush()->SetStyle(bsClear);
    DrawFocusRing(&surface, Rect(1, 1, 7, 6), RGB(0, 0, 255));
    const std::vector<std::string> expected = {
        "GGGGGGGG",
        "GKKKKKKG",
        "GKWWWWKG",
        "GKWGGWKG",
        "GKWWWWKG",
        "GKKKKKKG",
    };
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const char want = expected[y][x];
            const std::uint32_t colour = want == 'K' ? 0x000000 : want == 'W' ? 0xFFFFFF : 0x008000;
            EXPECT_EQ(surface.At(x, y), colour) << x << "," << y;
        }
    EXPECT_EQ(surface.Brush()->Color(), clRed);
    EXPECT_EQ(surface.Brush()->Style(), bsClear);

    test::TTestSurface tiny(3, 3, clGreen);
    DrawFocusRing(&tiny, Rect(0, 0, 3, 3), clBlue);
    EXPECT_EQ(tiny.At(0, 0), 0x008000u) << "no room for two rings: nothing drawn";
}

} // namespace
} // namespace hx
