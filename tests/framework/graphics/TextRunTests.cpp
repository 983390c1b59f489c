// Kept text runs: text drawn from a kept run is, pixel for pixel, what the toolkit draws, for
// any face, colour, position and clip; and a change of colour, text or face never brings
// back pixels kept for another one.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/graphics/Canvas.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/TextRun.h"
#include "tests/framework/graphics/TestSurface.h"

namespace hx {
namespace {

using test::TTestSurface;

struct TTextCase {
    const char* Name;
    int Height;
    TFontStyles Style;
    std::string Text;
    TColor Ink;
    TColor Paper; // clNone: clear brush
    int X, Y;
    TRect Clip;   // empty: TextOut; else TextRect with this box
};

const std::vector<TTextCase>& Cases()
{
    static const std::vector<TTextCase> cases = {
        {"ＭＳ Ｐゴシック", -11, 0, "#0033ff", clWhite, RGB(0, 51, 255), 3, 4, {}},
        {"ＭＳ Ｐゴシック", -11, 0, "#ffffff", clGray, clNone, 2, 3, {}},
        {"ＭＳ Ｐゴシック", -12, 0, "常に手前に表示(&S)", clBlack, clWhite, 1, 2, {}},
        {"ＭＳ Ｐゴシック", -11, fsBold, "#cc00ff", RGB(255, 0, 204), clWhite, 0, 0, {}},
        {"MS Sans Serif", -11, fsItalic, "Tilted fjord", clRed, clNone, 4, 5, {}},
        {"MS Sans Serif", -13, fsUnderline | fsStrikeOut, "Lined", clBlue, clYellow, 5, 6, {}},
        {"Tahoma", 14, 0, "Cell height", clGreen, clWhite, 2, 2, {}},
        // Partly outside the canvas on every side.
        {"ＭＳ Ｐゴシック", -11, 0, "#ff9900", clWhite, clBlack, -9, -4, {}},
        {"ＭＳ Ｐゴシック", -11, 0, "#ff9900", clWhite, clBlack, 40, 22, {}},
        // Clipped to a box that cuts through the glyphs.
        {"ＭＳ Ｐゴシック", -11, 0, "#66ff00", clBlack, clNone, 3, 3, {6, 5, 24, 11}},
        {"MS Sans Serif", -16, fsBold | fsItalic, "Wg", clRed, clWhite, 8, 1, {9, 3, 15, 14}},
        {"ＭＳ Ｐゴシック", -11, 0, "", clBlack, clWhite, 3, 3, {}},
        {"ＭＳ Ｐゴシック", -11, 0, "tab\tand\nbreak", clBlack, clNone, 1, 1, {}},
    };
    return cases;
}

// The case drawn on a fresh 56 x 30 surface of a pattern (so that untouched pixels show).
std::vector<std::uint32_t> Draw(const TTextCase& c, bool kept)
{
    SetTextRunsKept(kept);
    TTestSurface surface(56, 30, RGB(17, 34, 51));
    for (int x = 0; x < surface.W; x += 3)
        for (int y = 0; y < surface.H; ++y)
            surface.Bits[static_cast<std::size_t>(y) * surface.W + x] = 0xFF806040u;
    surface.Font()->SetName(c.Name);
    surface.Font()->SetHeight(c.Height);
    surface.Font()->SetStyle(c.Style);
    surface.Font()->SetColor(c.Ink);
    if (c.Paper == clNone)
        surface.Brush()->SetStyle(bsClear);
    else
        surface.Brush()->SetColor(c.Paper);
    if (c.Clip.IsEmpty())
        surface.TextOut(c.X, c.Y, c.Text);
    else
        surface.TextRect(c.Clip, c.X, c.Y, c.Text);
    SetTextRunsKept(true);
    return surface.Bits;
}

class TextRun : public ::testing::Test {
protected:
    void TearDown() override { SetTextRunsKept(true); }
};

TEST_F(TextRun, KeptRunsDrawWhatTheToolkitDraws)
{
    for (const TTextCase& c : Cases()) {
        const std::vector<std::uint32_t> toolkit = Draw(c, false);
        // The first draw goes through the toolkit, the second renders the run, the third
        // only reuses it.
        for (const char* draw : {"first", "second", "third"})
            EXPECT_EQ(Draw(c, true), toolkit) << c.Name << " " << c.Height << " '" << c.Text << "' " << draw;
    }
}

TEST_F(TextRun, TheSameTextAtAnotherPlaceIsTheSameShapeMoved)
{
    TTextCase c = Cases().front();
    c.Paper = clNone;
    const std::vector<std::uint32_t> here = Draw(c, true);
    c.X += 7;
    c.Y += 5;
    const std::vector<std::uint32_t> there = Draw(c, true);
    EXPECT_EQ(there, Draw(c, false));
    EXPECT_NE(there, here);
}

// Each step changes one thing the run depends on, or the colour it does not; after each,
// the pixels are the toolkit's for the new state, never those kept for the one before.
TEST_F(TextRun, NoStalePixelsAfterAChange)
{
    struct Step {
        const char* What;
        void (*Change)(TTextCase&);
    };
    const Step steps[] = {
        {"colour", [](TTextCase& c) { c.Ink = RGB(255, 51, 0); }},
        {"text", [](TTextCase& c) { c.Text = "#0033fe"; }},
        {"height", [](TTextCase& c) { c.Height = -13; }},
        {"style", [](TTextCase& c) { c.Style = fsBold; }},
        {"name", [](TTextCase& c) { c.Name = "MS Sans Serif"; }},
        {"back", [](TTextCase& c) { c = Cases().front(); }},
    };
    TTextCase c = Cases().front();
    std::vector<std::uint32_t> before = Draw(c, true);
    for (const Step& step : steps) {
        step.Change(c);
        const std::vector<std::uint32_t> after = Draw(c, true);
        EXPECT_EQ(after, Draw(c, false)) << step.What;
        if (std::string(step.What) != "back") {
            EXPECT_NE(after, before) << step.What << " changed nothing on the surface";
        }
        before = after;
    }
}

TEST_F(TextRun, OneCanvasRedrawingAfterColourAndTextChanges)
{
    // The same canvas and font object throughout, as a swatch's paint uses them.
    TTestSurface kept(56, 30), toolkit(56, 30);
    for (TTestSurface* s : {&kept, &toolkit}) {
        s->Font()->SetName("ＭＳ Ｐゴシック");
        s->Font()->SetHeight(-11);
        s->Brush()->SetColor(RGB(0, 51, 255));
    }
    const struct {
        TColor Ink;
        const char* Text;
    } frames[] = {{clWhite, "#0033ff"}, {RGB(255, 51, 0), "#0033ff"}, {RGB(255, 51, 0), "#ff3300"}, {clWhite, "#0033ff"}};
    for (const auto& f : frames) {
        for (TTestSurface* s : {&kept, &toolkit}) {
            SetTextRunsKept(s == &kept);
            s->Font()->SetColor(f.Ink);
            s->TextOut(4, 4, f.Text);
        }
        EXPECT_EQ(kept.Bits, toolkit.Bits) << f.Text;
    }
}

// Kept runs are laid out left to right: with right-to-left reading the toolkit lays the text
// out each time, though a run of the same text is kept. Mixed text shows it: read right to
// left, the Latin word stands right of the Hebrew one.
TEST_F(TextRun, RightToLeftReadingIsNeverDrawnFromAKeptRun)
{
    const std::string text = "abc \xd7\x90\xd7\x91\xd7\x92 (1)"; // "abc", then alef, bet, gimel
    auto draw = [&](bool kept, unsigned flags) {
        SetTextRunsKept(kept);
        TTestSurface surface(120, 20, clWhite);
        surface.Font()->SetName("ＭＳ Ｐゴシック");
        surface.Font()->SetHeight(-11);
        surface.Brush()->SetStyle(bsClear);
        surface.SetTextFlags(flags);
        surface.TextOut(2, 2, text);
        SetTextRunsKept(true);
        return surface.Bits;
    };
    const std::vector<std::uint32_t> leftToRight = draw(true, 0);
    ASSERT_EQ(draw(true, 0), leftToRight); // the run is kept now
    const std::vector<std::uint32_t> rightToLeft = draw(false, ETO_RTLREADING);
    EXPECT_NE(rightToLeft, leftToRight);
    EXPECT_EQ(draw(true, ETO_RTLREADING), rightToLeft);
}

TEST_F(TextRun, RunsAreSharedByFontsOfOneFaceAndNotByOthers)
{
    TFont a, b, c;
    for (TFont* f : {&a, &b, &c}) {
        f->SetName("ＭＳ Ｐゴシック");
        f->SetHeight(-11);
    }
    b.SetColor(clRed);
    c.SetHeight(-12);
    const std::string text = "#0a33ff"; // asked for nowhere else
    EXPECT_FALSE(TextRunOf(a, text).Rendered);
    EXPECT_EQ(&TextRunOf(a, text), &TextRunOf(b, text));
    EXPECT_TRUE(TextRunOf(a, text).Exact);
    EXPECT_FALSE(TextRunOf(a, text).Spans.empty());
    EXPECT_NE(&TextRunOf(a, text), &TextRunOf(c, text));
}

} // namespace
} // namespace hx
