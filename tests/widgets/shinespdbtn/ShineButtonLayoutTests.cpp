// Where CalcDrawPosition puts the glyph and the caption: the content box along the layout's
// axis, the cross-axis centring, Margin on the glyph's side, and halves truncated toward 0.
#include "tests/widgets/shinespdbtn/ShinePaintSupport.h"

namespace hx::shinetest {
namespace {

// A font height and a caption that DrawText measures as exactly w x h: one character
// repeated, in the font's sizes from small to large. Empty when none fits.
std::pair<int, std::string> CaptionMeasuring(int w, int h)
{
    TBitmap scratch;
    scratch.SetSize(1, 1);
    TFont font;
    for (int height = -6; height >= -24; --height) {
        font.SetHeight(height);
        scratch.Canvas()->SetFont(&font);
        for (char c : std::string("iIl1|.!:jftrxnoaWM0 -")) {
            for (int n = 1; n <= 30; ++n) {
                const std::string text(static_cast<size_t>(n), c);
                TRect r = Rect(0, 0, 200, 0);
                DrawText(scratch.Canvas(), text.c_str(), static_cast<int>(text.size()), r, DT_CALCRECT);
                if (r.Width() == w && r.Height() == h)
                    return {height, text};
                if (r.Width() > w)
                    break;
            }
        }
    }
    return {0, std::string()};
}

struct TLayoutCase {
    const char* Name;
    int GlyphW, GlyphH; // 0 x 0: no glyph
    bool Caption;       // a caption measuring 30 x 13
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

TEST_F(ShineFormTest, LayoutPlacesGlyphAndCaptionByTheTable)
{
    const auto [fontHeight, caption] = CaptionMeasuring(30, 13);
    if (caption.empty())
        GTEST_SKIP() << "no installed face measures a caption as 30 x 13";
    TBitmap scratch;
    scratch.SetSize(1, 1);
    TFont font;
    font.SetHeight(fontHeight);
    scratch.Canvas()->SetFont(&font);
    for (const TLayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.Name);
        button->SetBounds(kLeft, kTop, c.Width, c.Height);
        button->SetLayout(c.Layout);
        button->SetMargin(c.Margin);
        button->SetSpacing(c.Spacing);
        button->SetCaption(c.Caption ? caption : std::string());
        if (c.GlyphW) {
            TBitmap glyph;
            glyph.SetSize(c.GlyphW, c.GlyphH);
            button->SetGlyph(&glyph);
        } else {
            button->SetGlyph(nullptr);
        }
        TPoint glyphPos;
        TRect textRect;
        button->CalcDrawPosition(scratch.Canvas(), glyphPos, textRect);
        if (c.GlyphW) {
            EXPECT_EQ(glyphPos, c.Glyph);
        }
        if (c.Caption) {
            EXPECT_EQ(textRect, c.Text);
        }
    }
}

// The 75 x 25 example drawn: the pressed look moves glyph and caption by one pixel.
TEST_F(ShineFormTest, PressedLookMovesGlyphAndCaptionByOnePixel)
{
    const auto [fontHeight, caption] = CaptionMeasuring(30, 13);
    if (caption.empty())
        GTEST_SKIP() << "no installed face measures a caption as 30 x 13";
    button->SetBounds(kLeft, kTop, 75, 25);
    button->Font()->SetHeight(fontHeight);
    button->ActiveFont()->SetHeight(fontHeight);
    button->SetCaption(caption);
    button->SetActiveFrame(false);
    button->SetActiveImage(aiNormal);
    std::vector<std::vector<std::uint32_t>> rows(16, std::vector<std::uint32_t>(16, 0x123456));
    rows[15][0] = 0x00FF00;
    SetGlyphPixels(*button, rows);
    const TColor glyph = RGB(0x12, 0x34, 0x56);
    PaintIn(ssPressed);
    EXPECT_EQ(At(13, 5), glyph);
    EXPECT_EQ(At(28, 20), glyph);
    EXPECT_NE(At(12, 4), glyph);
    EXPECT_NE(At(29, 21), glyph);
    EXPECT_EQ(At(13, 20), ColorToRGB(button->PressedColors()->Color())); // the see-through corner
    // The caption's ink lies within (33, 6) .. (63, 19).
    const TColor ink = ColorToRGB(button->ActiveFont()->Color());
    int inside = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 75; ++x)
            if (At(x, y) == ink) {
                EXPECT_TRUE(x >= 33 && x < 63 && y >= 6 && y < 19) << x << ", " << y;
                ++inside;
            }
    EXPECT_GT(inside, 0);
}

} // namespace
} // namespace hx::shinetest
