// The gradient: the colour table (extended-precision ramp) and the bands on the surface.
#include <string>
#include <tuple>
#include <vector>

#include "GradboxFixture.h"

namespace hx::test {
namespace {

// The backdrop of the main window: two 200 x 228 panels from black to white on a white
// 448 x 228 form, the right one created first.
TEST_F(GradboxTest, BackdropPanelsShowTheirExactGreys)
{
    TGradBox* right = AddPanel(248, 0, 200, 228, gsRightLeft, clBlack, clWhite);
    right->SetAlign(alRight);
    TGradBox* left = AddPanel(0, 0, 200, 228, gsLeftRight, clBlack, clWhite);
    left->SetAlign(alLeft);
    form.Update();
    ASSERT_EQ(left->BoundsRect(), Rect(0, 0, 200, 228));
    ASSERT_EQ(right->BoundsRect(), Rect(248, 0, 448, 228));

    struct Column {
        int x;
        TColor expected;
    };
    const std::vector<Column> columns{
        {0, Grey(2)},     {1, Grey(3)},     {2, Grey(4)},     {3, Grey(6)},     // the first bands overlap
        {196, Grey(252)}, {197, Grey(253)}, {198, Grey(254)}, {199, clWhite},
        {200, clWhite},   {247, clWhite},                                       // the form between them
        {248, Grey(253)}, {249, Grey(252)}, {446, Grey(1)},   {447, clBlack},
    };
    for (const Column& c : columns)
        for (int y : {0, 113, 227})
            EXPECT_EQ(form.SurfacePixel(c.x, y), c.expected) << "x=" << c.x << " y=" << y;
}

// Which entry the rule puts on pixel p of an extent: band 0 and band i >= 1 cover
// B = trunc(F + 1) pixels, from 0 and from trunc((i - 1) F); the last band drawn wins.
int EntryAt(int p, int extent)
{
    const long double f = static_cast<long double>(extent) / 255;
    const int band = static_cast<int>(f + 1);
    int entry = -1;
    for (int i = 0; i <= 255; ++i) {
        const int from = i == 0 ? 0 : static_cast<int>((i - 1) * f);
        if (p >= from && p < from + band)
            entry = i;
    }
    return entry;
}

// One panel per row, extent x direction, each on a fresh form.
class GradboxBandTest : public GradboxTest, public ::testing::WithParamInterface<std::tuple<int, TGradStyle>> {};

TEST_P(GradboxBandTest, BandsCoverEveryRowAndColumnWithTheEndColourLast)
{
    const auto [extent, style] = GetParam();
    form.SetBounds(0, 0, 1000, 1000);
    form.SetColor(clRed); // shows through wherever a band is missing
    const bool vertical = style == gsTopBottom;
    if (vertical)
        AddPanel(0, 0, 2, extent, style, clBlack, clWhite);
    else
        AddPanel(0, 0, extent, 2, style, clBlack, clWhite);
    form.Update();
    for (int p = 0; p < extent; ++p) {
        const TColor pixel = vertical ? form.SurfacePixel(1, p) : form.SurfacePixel(p, 1);
        const int entry = EntryAt(p, extent);
        ASSERT_GE(entry, 1) << "p " << p;
        ASSERT_EQ(pixel, Grey(entry)) << (vertical ? "row " : "column ") << p;
    }
    const TColor last = vertical ? form.SurfacePixel(0, extent - 1) : form.SurfacePixel(extent - 1, 0);
    EXPECT_EQ(last, clWhite);
}

INSTANTIATE_TEST_SUITE_P(ExtentsAndDirections, GradboxBandTest,
                         ::testing::Combine(::testing::Values(1, 200, 228, 255, 256, 510, 1000),
                                            ::testing::Values(gsLeftRight, gsTopBottom)),
                         [](const ::testing::TestParamInfo<std::tuple<int, TGradStyle>>& row) {
                             return std::to_string(std::get<0>(row.param)) +
                                    (std::get<1>(row.param) == gsTopBottom ? "Rows" : "Columns");
                         });

TEST_F(GradboxTest, BandThicknessFollowsTheExtent)
{
    // 255 pixels: B = 2, so each entry i >= 2 is visible on exactly the column i - 1.
    AddPanel(0, 0, 255, 10, gsLeftRight, clBlack, clWhite);
    form.Update();
    EXPECT_EQ(form.SurfacePixel(0, 0), Grey(1));
    EXPECT_EQ(form.SurfacePixel(1, 0), Grey(2));
    EXPECT_EQ(form.SurfacePixel(253, 0), Grey(254));
    EXPECT_EQ(form.SurfacePixel(254, 0), clWhite);
    // At 228 rows (B = 1) rows 0 to 5 show entries 2 to 7.
    AddPanel(300, 0, 10, 228, gsTopBottom, clBlack, clWhite);
    form.Update();
    for (int row = 0; row <= 5; ++row)
        EXPECT_EQ(form.SurfacePixel(305, row), Grey(row + 2)) << row;
    EXPECT_EQ(form.SurfacePixel(305, 227), clWhite);
}

struct RampCase {
    const char* name;
    TColor top, last;
    std::vector<std::pair<int, TColor>> entries;
};

TEST_F(GradboxTest, RampIsBuiltByRepeatedExtendedSubtraction)
{
    const std::vector<RampCase> cases{
        {"blue to white", RGB(0, 51, 255), clWhite,
         {{0, RGB(0, 51, 255)}, {1, RGB(1, 51, 255)}, {2, RGB(2, 52, 255)}, {3, RGB(3, 53, 255)},
          {4, RGB(4, 54, 255)}, {5, RGB(5, 54, 255)}, {6, RGB(6, 55, 255)}, {10, RGB(10, 58, 255)},
          {15, RGB(15, 62, 255)}, {254, RGB(254, 254, 255)}, {255, clWhite}}},
        {"green to lime", clGreen, clLime,
         {{0, clGreen}, {1, RGB(0, 128, 0)}, {2, RGB(0, 128, 0)}, {3, RGB(0, 129, 0)}, {4, RGB(0, 129, 0)},
          {5, RGB(0, 130, 0)}, {6, RGB(0, 130, 0)}, {255, clLime}}},
    };
    for (const RampCase& c : cases) {
        TGradBox* panel = AddPanel(0, 0, 200, 100, gsTopBottom, c.top, c.last);
        form.Update();
        for (const auto& [index, colour] : c.entries)
            EXPECT_EQ(panel->ColorTable()[index], colour) << c.name << " entry " << index;
        delete panel;
    }

    TGradBox* grey = AddPanel(0, 0, 200, 100, gsLeftRight, clBlack, clWhite);
    form.Update();
    for (int i = 0; i <= 255; ++i)
        ASSERT_EQ(grey->ColorTable()[i], Grey(i)) << i;
}

TEST_F(GradboxTest, ReversedStylesStartFromLastColor)
{
    // Bottom-to-top: the bottom row is TopColor exactly, the top row an entry near LastColor.
    TGradBox* panel = AddPanel(0, 0, 100, 228, gsBottomTop, clBlack, clWhite);
    form.Update();
    EXPECT_EQ(panel->ColorTable()[0], clWhite);
    EXPECT_EQ(panel->ColorTable()[255], clBlack);
    EXPECT_EQ(form.SurfacePixel(50, 227), clBlack);
    EXPECT_EQ(form.SurfacePixel(50, 0), Grey(253));
}

TEST_F(GradboxTest, EqualEndColoursFillThePanelWithThatColour)
{
    const TColor colour = RGB(12, 200, 77);
    for (TGradStyle style : {gsTopBottom, gsBottomTop, gsLeftRight, gsRightLeft}) {
        TGradBox* panel = AddPanel(10, 20, 200, 100, style, colour, colour);
        form.Update();
        for (int y = 20; y < 120; ++y)
            for (int x = 10; x < 210; ++x)
                ASSERT_EQ(form.SurfacePixel(x, y), colour) << "style " << int(style) << " at " << x << "," << y;
        EXPECT_EQ(form.SurfacePixel(9, 20), clWhite);
        EXPECT_EQ(form.SurfacePixel(210, 119), clWhite);
        delete panel;
        form.Update();
    }
}

TEST_F(GradboxTest, OnlyLowSystemColourIndicesAreLookedUpForTheRamp)
{
    // The same blue reached two ways: as button face (index 15, looked up) and as the hot
    // light colour (index 26, whose raw bits read as red 26).
    platform.SetSysColor(COLOR_BTNFACE, RGB(0, 0, 200));
    platform.SetSysColor(COLOR_HOTLIGHT, RGB(0, 0, 200));
    TGradBox* face = AddPanel(0, 0, 255, 10, gsRightLeft, clBtnFace, clWhite);
    TGradBox* hot = AddPanel(0, 20, 255, 10, gsRightLeft, clHotLight, clWhite);
    form.Update();

    EXPECT_EQ(face->ColorTable()[255], clBtnFace); // the end stays a system colour
    EXPECT_EQ(face->ColorTable()[254], RGB(1, 1, 200));
    EXPECT_EQ(hot->ColorTable()[255], clHotLight);
    EXPECT_EQ(hot->ColorTable()[254], RGB(26, 1, 1));

    // The end column paints as the system colour in both cases.
    EXPECT_EQ(form.SurfacePixel(254, 5), RGB(0, 0, 200));
    EXPECT_EQ(form.SurfacePixel(253, 5), RGB(1, 1, 200));
    EXPECT_EQ(form.SurfacePixel(254, 25), RGB(0, 0, 200));
    EXPECT_EQ(form.SurfacePixel(253, 25), RGB(26, 1, 1));

    std::uint8_t r = 0, g = 0, b = 0;
    TGradBox::GetRGB(SystemColor(24), r, g, b); // the last index looked up
    EXPECT_EQ(RGB(r, g, b), GetSysColor(24));
    TGradBox::GetRGB(SystemColor(25), r, g, b);
    EXPECT_EQ(RGB(r, g, b), RGB(25, 0, 0));
    TGradBox::GetRGB(static_cast<TColor>(0x7F123456), r, g, b); // top byte ignored
    EXPECT_EQ(RGB(r, g, b), 0x123456);
}

TEST_F(GradboxTest, NoneLeavesTheParentBackgroundAndKeepsTheOldTable)
{
    form.SetColor(clAqua);
    std::vector<std::string> painted;
    TGradBox* panel = AddPanel(0, 0, 200, 100, gsLeftRight, clBlack, clWhite);
    panel->SetOnPaint(TNotifyEvent([&](TObject* sender) { painted.push_back(static_cast<TGradBox*>(sender)->Name()); }));
    panel->SetName("Box");
    form.Update();
    const TGradBox::TColorTable before = panel->ColorTable();

    panel->SetGradStyle(gsNone);
    panel->SetTopColor(clRed);
    painted.clear();
    form.Update();
    EXPECT_EQ(painted, std::vector<std::string>{"Box"});
    EXPECT_EQ(panel->ColorTable(), before);
    for (int x : {0, 100, 199})
        EXPECT_EQ(form.SurfacePixel(x, 50), clAqua) << x;

    // The outline still draws over the background.
    panel->SetDrawOutLine(true);
    panel->SetOutLineColor(clRed);
    form.Update();
    EXPECT_EQ(form.SurfacePixel(0, 50), clRed);
    EXPECT_EQ(form.SurfacePixel(199, 99), clRed);
    EXPECT_EQ(form.SurfacePixel(100, 50), clAqua);
}

TEST_F(GradboxTest, OutlineIsSolidAndDashedWhileDesigned)
{
    TGradBox* panel = AddPanel(0, 0, 200, 100, gsTopBottom, clWhite, clWhite);
    panel->SetOutLineColor(clRed);
    form.Update();
    EXPECT_EQ(form.SurfacePixel(0, 0), clWhite); // no outline by default

    panel->SetDrawOutLine(true);
    form.Update();
    for (int x = 0; x < 200; ++x) {
        ASSERT_EQ(form.SurfacePixel(x, 0), clRed) << x;
        ASSERT_EQ(form.SurfacePixel(x, 99), clRed) << x;
    }
    EXPECT_EQ(form.SurfacePixel(0, 50), clRed);
    EXPECT_EQ(form.SurfacePixel(199, 50), clRed);
    EXPECT_EQ(form.SurfacePixel(1, 1), clWhite);

    // Designed: the outline is drawn even without DrawOutLine, dashed, with the gradient
    // showing in its gaps.
    panel->SetDrawOutLine(false);
    panel->SetDesigning(true);
    panel->Invalidate();
    form.Update();
    int on = 0, off = 0;
    for (int x = 0; x < 200; ++x)
        (form.SurfacePixel(x, 0) == clRed ? on : off)++;
    EXPECT_GT(on, 100);
    EXPECT_GT(off, 20);
}

} // namespace
} // namespace hx::test
