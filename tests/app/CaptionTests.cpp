// Every swatch shows its whole code inside a whole border: the caption, centred on the
// swatch, is no wider than the space inside the border, and nothing of it (glyphs or their
// background) reaches the border, at rest, at the end of a hover fade and at a device pixel
// ratio of 2, where the glyphs are drawn again at the finer resolution.
#include "MainFormFixture.h"

#include <cstdio>
#include <string>
#include <vector>

#include "framework/runtime/PointerTracker.h"

namespace hx::test {
namespace {

constexpr int kFullFadeMs = 128 * 16 + 100; // one fade at Speed 16, and a margin

class CaptionTest : public MainFormTest {
protected:
    TMainForm1& Shown(double ratio)
    {
        TMainForm1& form = Create();
        form.Show();
        form.SetDisplayScale(ratio);
        form.Update();
        return form;
    }

    void PointerAt(TMainForm1& form, int x, int y)
    {
        Platform.SetCursorPos(form.ClientToScreen(Point(x, y)));
        form.MouseInput(miMove, mbLeft, x, y, 0);
        PointerTracker().Track();
    }

    // The swatch's border pixels that are not colour: on the surface, and at a ratio of 2
    // every display pixel of the border's 2 × 2 blocks as well.
    static std::vector<std::string> BrokenBorder(const TForm& form, const TGlowFadeButton& b, TColor colour)
    {
        std::vector<std::string> broken;
        const int l = b.Left(), t = b.Top(), r = b.Left() + b.Width() - 1, d = b.Top() + b.Height() - 1;
        auto check = [&](const char* side, int x, int y) {
            TColor found = form.SurfacePixel(x, y);
            if (form.DisplayScale() == 2)
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        if (found == colour)
                            found = form.DisplayPixel(2 * x + dx, 2 * y + dy);
            if (found != colour) {
                char text[64];
                std::snprintf(text, sizeof text, "%s at %d,%d is %06X", side, x, y, static_cast<unsigned>(found));
                broken.push_back(text);
            }
        };
        for (int x = l; x <= r; ++x) {
            check("top", x, t);
            check("bottom", x, d);
        }
        for (int y = t; y <= d; ++y) {
            check("left", l, y);
            check("right", r, y);
        }
        return broken;
    }

    // The border moves only while the face does: on the faces one step (0x33) from white
    // in some channel it stops short of white, and on the white swatch it moves once.
    static TColor HoveredBorder(int n)
    {
        switch (n) {
        case 35: case 36: case 45: case 47: case 56: case 57:
            return RGB(0xF4, 0xF4, 0xF4);
        case 46:
            return RGB(0xC2, 0xC2, 0xC2);
        default:
            return clWhite;
        }
    }

    void ExpectBordersWholeAtRestAndHovered(double ratio)
    {
        TMainForm1& form = Shown(ratio);
        for (int n = 1; n <= kSwatchCount; ++n) {
            SCOPED_TRACE("swatch " + std::to_string(n));
            const TGlowFadeButton& b = *form.GlowFadeButton(n);
            EXPECT_EQ(BrokenBorder(form, b, clSilver), std::vector<std::string>{}) << "at rest";
        }
        // One swatch after another: the pointer stays until the fade in is over, then moves
        // on (the swatch it left fades out beside the next one's fade in).
        for (int n = 1; n <= kSwatchCount; ++n) {
            SCOPED_TRACE("swatch " + std::to_string(n));
            const TGlowFadeButton& b = *form.GlowFadeButton(n);
            PointerAt(form, b.Left() + b.Width() / 2, b.Top() + b.Height() / 2);
            Platform.Advance(kFullFadeMs);
            form.Update();
            ASSERT_EQ(b.CurrentColor(), b.DestColor()) << "the fade in is over";
            EXPECT_EQ(BrokenBorder(form, b, HoveredBorder(n)), std::vector<std::string>{}) << "hovered";
        }
    }
};

TEST_F(CaptionTest, EveryCaptionFitsInsideItsSwatchsBorder)
{
    TMainForm1& form = Create();
    for (int n = 1; n <= kSwatchCount; ++n) {
        TGlowFadeButton& b = *form.GlowFadeButton(n);
        TCanvas* canvas = b.Canvas();
        ASSERT_NE(canvas, nullptr);
        canvas->SetFont(b.Font());
        EXPECT_LE(canvas->TextWidth(b.Caption()), b.Width() - 2 * b.BorderHeight())
            << "swatch " << n << " " << b.Caption();
    }
}

TEST_F(CaptionTest, BordersStayWholeAtRestAndAfterAHoverFade)
{
    ExpectBordersWholeAtRestAndHovered(1);
}

TEST_F(CaptionTest, BordersStayWholeAtRatioTwo)
{
    ExpectBordersWholeAtRestAndHovered(2);
}

} // namespace
} // namespace hx::test
