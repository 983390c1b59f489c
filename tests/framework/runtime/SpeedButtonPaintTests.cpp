// The framework speed button's look: frames by state, the glyph with its see-through colour,
// the pressed offset, the engraved disabled caption, and where glyph and caption go.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/runtime/Buttons.h"
#include "framework/runtime/Form.h"
#include "framework/graphics/Gdi.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

class SpeedButtonPaintTest : public ::testing::Test {
protected:
    SpeedButtonPaintTest()
    {
        form.SetBounds(0, 0, 120, 70);
        form.SetColor(clWhite);
        button->SetBounds(10, 10, 40, 30);
        button->SetParent(&form);
        other->SetBounds(60, 10, 40, 30);
        other->SetParent(&form);
        button->SetGroupIndex(1);
        other->SetGroupIndex(1);
        form.Update();
    }
    // A w x h glyph in red whose bottom-left pixel (its see-through colour) is white.
    static void RedGlyph(TBitmap& glyph, int w, int h)
    {
        glyph.SetPixelFormat(pf32bit);
        glyph.SetSize(w, h);
        glyph.Canvas()->Brush()->SetColor(clRed);
        glyph.Canvas()->FillRect(Rect(0, 0, w, h));
        glyph.Canvas()->SetPixel(0, h - 1, clWhite);
    }
    TColor At(int x, int y) const { return form.SurfacePixel(x, y); }
    // How many pixels of r (form coordinates) have colour c.
    int Count(const TRect& r, TColor c) const
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += At(x, y) == ColorToRGB(c) ? 1 : 0;
        return n;
    }
    TRect CaptionRect() const
    {
        button->Canvas()->SetFont(button->Font());
        TPoint glyph;
        TRect text;
        button->CalcDrawPosition(button->Canvas(), glyph, text);
        OffsetRect(text, button->Left(), button->Top());
        return text;
    }

    TPlatformScope platform;
    TForm form{nullptr};
    TSpeedButton* button = new TSpeedButton(&form);
    TSpeedButton* other = new TSpeedButton(&form);
};

struct FramePixel {
    int x, y; // in the button
    TColor color;
};

void ExpectFrame(const TForm& form, const char* what, const std::vector<FramePixel>& pixels)
{
    for (const FramePixel& p : pixels)
        EXPECT_EQ(form.SurfacePixel(10 + p.x, 10 + p.y), ColorToRGB(p.color))
            << what << " at " << p.x << "," << p.y;
}

TEST_F(SpeedButtonPaintTest, UpPressedAndLatchedFrames)
{
    const std::vector<FramePixel> raised{
        {0, 0, clBtnHighlight}, {38, 0, clBtnHighlight}, {0, 28, clBtnHighlight}, {39, 0, cl3DDkShadow},
        {39, 29, cl3DDkShadow}, {0, 29, cl3DDkShadow}, {38, 28, clBtnShadow}, {38, 1, clBtnShadow},
        {1, 28, clBtnShadow}, {1, 1, clBtnFace}, {37, 27, clBtnFace}, {20, 15, clBtnFace}};
    const std::vector<FramePixel> sunken{
        {0, 0, clBtnShadow}, {38, 0, clBtnShadow}, {0, 28, clBtnShadow}, {39, 0, clBtnHighlight},
        {39, 29, clBtnHighlight}, {0, 29, clBtnHighlight}, {1, 1, cl3DDkShadow}, {37, 1, cl3DDkShadow},
        {1, 27, cl3DDkShadow}, {38, 28, clBtnFace}, {2, 2, clBtnFace}, {20, 15, clBtnFace}};
    ExpectFrame(form, "up", raised);

    form.MouseInput(miDown, mbLeft, 20, 20, ssLeft);
    form.Update();
    ExpectFrame(form, "pressed", sunken);
    form.MouseInput(miMove, mbLeft, 5, 5, ssLeft); // outside: drawn up again
    form.Update();
    ExpectFrame(form, "pressed, outside", raised);
    form.MouseInput(miMove, mbLeft, 20, 20, ssLeft);
    form.MouseInput(miUp, mbLeft, 20, 20, 0); // latches in its group
    form.Update();
    ExpectFrame(form, "latched", sunken);

    other->SetDown(true); // raises it: repainted at the next pass
    EXPECT_EQ(At(10, 10), ColorToRGB(clBtnShadow));
    form.Update();
    ExpectFrame(form, "raised by the group", raised);
}

TEST_F(SpeedButtonPaintTest, FlatButtonShowsAFrameOnlyWhenHoveredOrDown)
{
    button->SetFlat(true);
    form.Update();
    ExpectFrame(form, "flat up", {{0, 0, clBtnFace}, {39, 29, clBtnFace}, {1, 1, clBtnFace}});
    button->Perform(CM_MOUSEENTER, 0, 0);
    form.Update();
    ExpectFrame(form, "flat hovered",
                {{0, 0, clBtnHighlight}, {39, 29, clBtnShadow}, {1, 1, clBtnFace}, {38, 28, clBtnFace}});
    button->Perform(CM_MOUSELEAVE, 0, 0);
    button->SetDown(true);
    form.Update();
    ExpectFrame(form, "flat down",
                {{0, 0, clBtnShadow}, {39, 29, clBtnHighlight}, {1, 1, clBtnFace}, {38, 28, clBtnFace}});
}

TEST_F(SpeedButtonPaintTest, GlyphIsCentredSeeThroughAndMovesWhenDown)
{
    TBitmap glyph;
    RedGlyph(glyph, 6, 6);
    button->SetGlyph(&glyph);
    form.Update();
    // Centred in 40 x 30: (17, 12) in the button.
    EXPECT_EQ(At(27, 22), ColorToRGB(clRed));
    EXPECT_EQ(At(32, 27), ColorToRGB(clRed));
    EXPECT_EQ(At(27, 27), ColorToRGB(clBtnFace)); // the see-through corner
    EXPECT_EQ(At(26, 22), ColorToRGB(clBtnFace));
    EXPECT_EQ(Count(Rect(10, 10, 50, 40), clRed), 35);

    button->SetDown(true);
    form.Update();
    EXPECT_EQ(At(27, 22), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(28, 23), ColorToRGB(clRed));
    EXPECT_EQ(At(33, 28), ColorToRGB(clRed));

    button->SetEnabled(false); // the shape in the shadow colour, in the up place
    form.Update();
    EXPECT_EQ(Count(Rect(10, 10, 50, 40), clRed), 0);
    EXPECT_EQ(At(27, 22), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(27, 27), ColorToRGB(clBtnFace));
}

TEST_F(SpeedButtonPaintTest, DisabledCaptionIsEngravedInsteadOfTheFontColour)
{
    button->SetCaption("Go");
    button->Font()->SetColor(clBlue);
    form.Update();
    const TRect text = CaptionRect();
    ASSERT_GT(text.Width(), 0);
    EXPECT_GT(Count(text, clBlue), 0);
    EXPECT_EQ(Count(text, clBtnShadow), 0);

    button->SetEnabled(false);
    form.Update();
    TRect engraved = text;
    engraved.Right += 1;
    engraved.Bottom += 1;
    EXPECT_EQ(Count(engraved, clBlue), 0);
    EXPECT_GT(Count(text, clBtnShadow), 0);
    EXPECT_GT(Count(engraved, clBtnHighlight), 0);
}

// Glyph 16 x 16 beside (or above) the caption "Go", Spacing 4.
TEST_F(SpeedButtonPaintTest, LayoutPlacesGlyphAndCaptionByMarginAndSpacing)
{
    TBitmap glyph;
    RedGlyph(glyph, 16, 16);
    button->SetGlyph(&glyph);
    button->SetCaption("Go");
    TCanvas* c = button->Canvas();
    c->SetFont(button->Font());
    TRect measured = Rect(0, 0, 100, 0);
    DrawText(c, "Go", 2, measured, DT_CALCRECT);
    const int tw = measured.Width();
    const int th = measured.Height();
    ASSERT_GT(tw, 0);
    ASSERT_LE(th, 16); // the cases below assume the glyph is the taller part
    const int sx = std::max(16, tw);

    struct Case {
        const char* name;
        int w, h;
        TButtonLayout layout;
        int margin, spacing;
        bool withGlyph;
        TPoint glyph;
        TPoint text; // top-left of the caption rectangle
    };
    const std::vector<Case> cases{
        {"left, margin 2", 75, 25, blGlyphLeft, 2, 4, true, {2, 4}, {22, 4 + (16 - th) / 2}},
        {"left, centred", 75, 25, blGlyphLeft, -1, 4, true, {(75 - 20 - tw) / 2, 4},
         {(75 - 20 - tw) / 2 + 20, 4 + (16 - th) / 2}},
        {"left, spacing -2", 75, 25, blGlyphLeft, 0, -2, true, {0, 4}, {14, 4 + (16 - th) / 2}},
        {"right, margin 2", 75, 25, blGlyphRight, 2, 4, true, {57, 4}, {75 - 2 - 20 - tw, 4 + (16 - th) / 2}},
        {"top, margin 3", 75, 50, blGlyphTop, 3, 4, true, {(75 - sx) / 2 + (sx - 16) / 2, 3},
         {(75 - sx) / 2 + (sx - tw) / 2, 23}},
        {"bottom, margin 3", 75, 50, blGlyphBottom, 3, 4, true, {(75 - sx) / 2 + (sx - 16) / 2, 31},
         {(75 - sx) / 2 + (sx - tw) / 2, 50 - 3 - 20 - th}},
        {"caption only, top", 75, 50, blGlyphTop, -1, 4, false, {}, {(75 - tw) / 2, (50 - th) / 2}},
    };
    TBitmap none;
    for (const Case& k : cases) {
        button->SetBounds(0, 0, k.w, k.h);
        button->SetLayout(k.layout);
        button->SetMargin(k.margin);
        button->SetSpacing(k.spacing);
        button->SetGlyph(k.withGlyph ? &glyph : &none);
        TPoint g;
        TRect t;
        button->CalcDrawPosition(c, g, t);
        if (k.withGlyph) {
            EXPECT_EQ(g, k.glyph) << k.name << ": glyph " << g.X << "," << g.Y;
        }
        EXPECT_EQ(t, Rect(k.text.X, k.text.Y, k.text.X + tw, k.text.Y + th)) << k.name;
    }
}

TEST_F(SpeedButtonPaintTest, SettersRepaintOnlyOnARealChange)
{
    TBitmap glyph;
    RedGlyph(glyph, 4, 4);
    struct Case {
        const char* name;
        std::function<void(TSpeedButton&)> change;
        bool invalidates;
    };
    const std::vector<Case> cases{
        {"Layout", [](TSpeedButton& b) { b.SetLayout(blGlyphTop); }, true},
        {"Layout same", [](TSpeedButton& b) { b.SetLayout(blGlyphLeft); }, false},
        {"Margin", [](TSpeedButton& b) { b.SetMargin(3); }, true},
        {"Margin same", [](TSpeedButton& b) { b.SetMargin(-1); }, false},
        {"Spacing", [](TSpeedButton& b) { b.SetSpacing(1); }, true},
        {"Spacing same", [](TSpeedButton& b) { b.SetSpacing(4); }, false},
        {"Flat", [](TSpeedButton& b) { b.SetFlat(true); }, true},
        {"Glyph", [&](TSpeedButton& b) { b.SetGlyph(&glyph); }, true},
        {"Glyph drawn on", [](TSpeedButton& b) { b.Glyph()->SetSize(3, 3); }, true},
        {"Caption", [](TSpeedButton& b) { b.SetCaption("x"); }, true},
        {"Down outside a group", [](TSpeedButton& b) { b.SetDown(true); }, false},
    };
    for (const Case& k : cases) {
        auto* b = new TSpeedButton(&form);
        b->SetBounds(0, 40, 20, 20);
        b->SetParent(&form);
        form.Update();
        k.change(*b);
        EXPECT_EQ(!form.InvalidRect().IsEmpty(), k.invalidates) << k.name;
        delete b;
        form.Update();
    }
}

} // namespace
} // namespace hx::test
