// Where CalcDrawPosition puts the glyph and the caption: the content box along the layout's
// axis, the cross-axis centring, Margin on the glyph's side, and halves truncated toward 0.
#include <algorithm>

#include "tests/widgets/shinespdbtn/ShinePaintSupport.h"

namespace hx::shinetest {
namespace {

// The layout rules on their own: a content box along the layout's axis (glyph, spacing,
// caption), the other axis centred, the box placed by Margin or centred; halves truncate
// toward 0. Gives the glyph's corner and the caption's rectangle for a caption of tw x th.
struct TPlacement {
    TPoint Glyph;
    TRect Text;
};

TPlacement Place(int gw, int gh, int tw, int th, TButtonLayout layout, int margin, int spacing, int cw, int ch)
{
    const bool hasGlyph = gw > 0 && gh > 0, hasText = tw > 0 || th > 0;
    const bool vertical = layout == blGlyphTop || layout == blGlyphBottom;
    const bool glyphFirst = layout == blGlyphLeft || layout == blGlyphTop;
    int along = 0, across = 0, glyphAt = 0, textAt = 0;
    auto add = [&](bool present, int length, int thickness, int& at) {
        at = along;
        if (present) {
            along += length;
            across = std::max(across, thickness);
        }
    };
    const int gl = vertical ? gh : gw, gt = vertical ? gw : gh, tl = vertical ? th : tw, tt = vertical ? tw : th;
    if (glyphFirst) {
        add(hasGlyph, gl, gt, glyphAt);
        along += hasGlyph && hasText ? spacing : 0;
        add(hasText, tl, tt, textAt);
    } else {
        add(hasText, tl, tt, textAt);
        along += hasGlyph && hasText ? spacing : 0;
        add(hasGlyph, gl, gt, glyphAt);
    }
    const int glyphAcross = hasGlyph ? (across - gt) / 2 : 0, textAcross = hasText ? (across - tt) / 2 : 0;
    const int sx = vertical ? across : along, sy = vertical ? along : across;
    int x0 = (cw - sx) / 2, y0 = (ch - sy) / 2;
    if (margin >= 0) {
        if (layout == blGlyphLeft)
            x0 = margin;
        else if (layout == blGlyphRight)
            x0 = cw - sx - margin;
        else if (layout == blGlyphTop)
            y0 = margin;
        else
            y0 = ch - sy - margin;
    }
    const TPoint glyph = vertical ? TPoint{x0 + glyphAcross, y0 + glyphAt} : TPoint{x0 + glyphAt, y0 + glyphAcross};
    const TPoint text = vertical ? TPoint{x0 + textAcross, y0 + textAt} : TPoint{x0 + textAt, y0 + textAcross};
    return {glyph, Rect(text.X, text.Y, text.X + tw, text.Y + th)};
}

// The caption the table is drawn with, measured in whatever face the platform has.
constexpr const char* kCaption = "Caption";

TSize Measured(TFont& font, const std::string& text)
{
    TBitmap scratch;
    scratch.SetSize(1, 1);
    scratch.Canvas()->SetFont(&font);
    TRect r = Rect(0, 0, 200, 0);
    DrawText(scratch.Canvas(), text.c_str(), static_cast<int>(text.size()), r, DT_CALCRECT);
    return {r.Width(), r.Height()};
}

struct TLayoutCase {
    const char* Name;
    int GlyphW, GlyphH; // 0 x 0: no glyph
    bool Caption;       // a caption (measuring 30 x 13 in the pinned rows)
    TButtonLayout Layout;
    int Margin, Spacing;
    int Width, Height;
    TPoint Glyph;
    TRect Text; // the caption's rectangle; only with a caption
};

const TLayoutCase kLayouts[] = {
    {"left, centred", 16, 16, true, blGlyphLeft, -1, 4, 75, 25, {12, 4}, {32, 5, 62, 18}},
    {"left, margin 2", 16, 16, true, blGlyphLeft, 2, 4, 75, 25, {2, 4}, {22, 5, 52, 18}},
    {"right, margin 2", 16, 16, true, blGlyphRight, 2, 4, 75, 25, {57, 4}, {23, 5, 53, 18}},
    {"right, centred", 16, 16, true, blGlyphRight, -1, 4, 75, 25, {46, 4}, {12, 5, 42, 18}},
    {"top, centred", 16, 16, true, blGlyphTop, -1, 4, 75, 40, {29, 3}, {22, 23, 52, 36}},
    {"bottom, margin 2", 16, 16, true, blGlyphBottom, 2, 4, 75, 40, {29, 22}, {22, 5, 52, 18}},
    {"left, margin 0, spacing -2", 16, 16, true, blGlyphLeft, 0, -2, 75, 25, {0, 4}, {14, 5, 44, 18}},
    {"caption only, top: no spacing", 0, 0, true, blGlyphTop, -1, 4, 75, 25, {0, 0}, {22, 6, 52, 19}},
    {"caption only, left, margin 3", 0, 0, true, blGlyphLeft, 3, 4, 75, 25, {0, 0}, {3, 6, 33, 19}},
    {"glyph only, 5 wider: -2 not -3", 16, 16, false, blGlyphLeft, -1, 4, 11, 25, {-2, 4}, {}},
    {"glyph only, 3 taller: -1", 16, 16, false, blGlyphTop, -1, 4, 25, 13, {4, -1}, {}},
    {"glyph only, odd spare: 29 -> 14", 16, 8, false, blGlyphRight, -1, 4, 45, 17, {14, 4}, {}},
};

// The rules against worked rows for a 30 x 13 caption; no face is needed.
TEST(ShineLayoutRules, TheRulesGiveTheWorkedRows)
{
    for (const TLayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.Name);
        const TPlacement p = Place(c.GlyphW, c.GlyphH, c.Caption ? 30 : 0, c.Caption ? 13 : 0, c.Layout, c.Margin,
                                   c.Spacing, c.Width, c.Height);
        if (c.GlyphW) {
            EXPECT_EQ(p.Glyph, c.Glyph);
        }
        if (c.Caption) {
            EXPECT_EQ(p.Text, c.Text);
        }
    }
}

// The button against the rules, with its caption measured in the installed face.
TEST_F(ShineFormTest, LayoutPlacesGlyphAndCaptionByTheTable)
{
    TBitmap scratch;
    scratch.SetSize(1, 1);
    TFont font;
    scratch.Canvas()->SetFont(&font);
    const TSize text = Measured(font, kCaption);
    ASSERT_GT(text.cx, 0);
    for (const TLayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.Name);
        button->SetBounds(kLeft, kTop, c.Width, c.Height);
        button->SetLayout(c.Layout);
        button->SetMargin(c.Margin);
        button->SetSpacing(c.Spacing);
        button->SetCaption(c.Caption ? kCaption : std::string());
        if (c.GlyphW) {
            TBitmap glyph;
            glyph.SetSize(c.GlyphW, c.GlyphH);
            button->SetGlyph(&glyph);
        } else {
            button->SetGlyph(nullptr);
        }
        const TPlacement expected = Place(c.GlyphW, c.GlyphH, c.Caption ? text.cx : 0, c.Caption ? text.cy : 0,
                                          c.Layout, c.Margin, c.Spacing, c.Width, c.Height);
        TPoint glyphPos;
        TRect textRect;
        button->CalcDrawPosition(scratch.Canvas(), glyphPos, textRect);
        if (c.GlyphW) {
            EXPECT_EQ(glyphPos, expected.Glyph);
        }
        if (c.Caption) {
            EXPECT_EQ(textRect, expected.Text);
        }
    }
}

// The 75 x 25 example drawn: the pressed look moves glyph and caption by one pixel.
TEST_F(ShineFormTest, PressedLookMovesGlyphAndCaptionByOnePixel)
{
    button->SetBounds(kLeft, kTop, 75, 25);
    button->SetCaption(kCaption);
    const TSize text = Measured(*button->ActiveFont(), kCaption);
    const TPlacement at = Place(16, 16, text.cx, text.cy, blGlyphLeft, -1, 4, 75, 25);
    button->SetActiveFrame(false);
    button->SetActiveImage(aiNormal);
    std::vector<std::vector<std::uint32_t>> rows(16, std::vector<std::uint32_t>(16, 0x123456));
    rows[15][0] = 0x00FF00;
    SetGlyphPixels(*button, rows);
    const TColor glyph = RGB(0x12, 0x34, 0x56);
    PaintIn(ssPressed);
    const TPoint g{at.Glyph.X + 1, at.Glyph.Y + 1}; // pressed: one pixel right and down
    EXPECT_EQ(At(g.X, g.Y), glyph);
    EXPECT_EQ(At(g.X + 15, g.Y + 15), glyph);
    EXPECT_NE(At(g.X - 1, g.Y - 1), glyph);
    EXPECT_NE(At(g.X + 16, g.Y + 16), glyph);
    EXPECT_EQ(At(g.X, g.Y + 15), ColorToRGB(button->PressedColors()->Color())); // the see-through corner
    // The caption's ink lies within its rectangle, moved likewise.
    const TRect t = at.Text;
    const TColor ink = ColorToRGB(button->ActiveFont()->Color());
    int inside = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 75; ++x)
            if (At(x, y) == ink) {
                EXPECT_TRUE(x >= t.Left + 1 && x < t.Right + 1 && y >= t.Top + 1 && y < t.Bottom + 1) << x << ", " << y;
                ++inside;
            }
    EXPECT_GT(inside, 0);
}

} // namespace
} // namespace hx::shinetest
