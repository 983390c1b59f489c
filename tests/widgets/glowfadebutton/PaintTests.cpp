// Drawing (face, border, centred caption), the setters' repaint patterns, construction and
// the control without a parent.
#include "SwatchFixture.h"

#include <functional>
#include <memory>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/core/Exception.h"
#include "framework/graphics/Font.h"

namespace hx::test {
namespace {

using PaintTest = SwatchTest;

TEST_F(PaintTest, ConstructionGivesTheDocumentedInitialState)
{
    TGlowFadeButton b(nullptr);
    EXPECT_EQ(b.Color(), clGreen);
    EXPECT_EQ(b.CurrentColor(), clGreen);
    EXPECT_EQ(b.DestColor(), clLime);
    EXPECT_EQ(b.BorderColor(), clSilver);
    EXPECT_EQ(b.CurrentBorderColor(), clSilver);
    EXPECT_EQ(b.BorderDestColor(), clWhite);
    EXPECT_EQ(b.CaptionOverColor(), clLime);
    EXPECT_EQ(b.Caption(), "");
    EXPECT_TRUE(b.ShowBorder());
    EXPECT_EQ(b.BorderHeight(), 1);
    EXPECT_TRUE(b.FadeOnOver());
    EXPECT_TRUE(b.FadeOnLeave());
    EXPECT_EQ(b.Step(), 2);
    EXPECT_EQ(b.Speed(), 10);
    EXPECT_EQ(b.FadeTimer()->Interval(), 10);
    EXPECT_FALSE(b.FadeTimer()->Enabled());
    EXPECT_EQ(b.FadeTimer()->Owner(), &b);
    EXPECT_EQ(b.FadeDelta(), 0);
    EXPECT_EQ(b.NormalCaptionColor(), clBlack);
    EXPECT_EQ(b.Font()->Color(), clWhite);
    EXPECT_EQ(b.Width(), 150);
    EXPECT_EQ(b.Height(), 30);
    EXPECT_FALSE(b.onMouseLeave.Assigned());
}

TEST_F(PaintTest, FaceFillsTheInsideAndTheBorderIsOnePixelOnEveryEdge)
{
    struct Probe {
        int x, y;
        TColor expected;
    };
    for (const Probe& p : {Probe{0, 0, clSilver}, Probe{39, 0, clSilver}, Probe{0, 19, clSilver},
                           Probe{39, 19, clSilver}, Probe{20, 0, clSilver}, Probe{0, 1, clSilver}, Probe{39, 18, clSilver},
                           Probe{1, 1, Web(0x0033ff)}, Probe{38, 18, Web(0x0033ff)}, Probe{40, 10, clBlack},
                           Probe{-1, 10, clBlack}}) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(At(p.x, p.y), p.expected);
    }
}

TEST_F(PaintTest, WithoutBorderTheLastRowAndColumnKeepTheBitmapsWhite)
{
    button->SetShowBorder(false);
    EXPECT_EQ(At(0, 0), Web(0x0033ff));
    EXPECT_EQ(At(38, 18), Web(0x0033ff));
    EXPECT_EQ(At(39, 0), clWhite);
    EXPECT_EQ(At(39, 1), clWhite);
    EXPECT_EQ(At(39, 18), clWhite);
    EXPECT_EQ(At(1, 19), clWhite);
    EXPECT_EQ(At(0, 19), clWhite);
    EXPECT_EQ(At(39, 19), clWhite);
}

// The caption as it must appear: the face colour with the text at (x, y), drawn on a
// bitmap of the button's size with the button's font.
std::unique_ptr<TBitmap> CaptionAt(const TGlowFadeButton& b, int x, int y)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(b.Width(), b.Height());
    TCanvas* c = bitmap->Canvas();
    c->Brush()->SetColor(b.CurrentColor());
    c->FillRect(Rect(0, 0, b.Width(), b.Height()));
    c->SetFont(b.Font());
    c->TextOut(x, y, b.Caption());
    return bitmap;
}

TEST_F(PaintTest, CaptionIsCentredByTruncatingEachHalfSeparately)
{
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->SetFont(button->Font());
    for (const char* caption : {"#0033ff", "i", "#0033ff #0033ff #0033ff"}) {
        SCOPED_TRACE(caption);
        button->SetCaption(caption);
        const int tw = measure.Canvas()->TextWidth(caption);
        const int th = measure.Canvas()->TextHeight(caption);
        const int x = kWidth / 2 - tw / 2;
        const int y = kHeight / 2 - th / 2;
        auto matches = [&](int dx, int dy) {
            auto expected = CaptionAt(*button, x + dx, y + dy);
            for (int py = 1; py < kHeight - 1; ++py)
                for (int px = 1; px < kWidth - 1; ++px)
                    if (At(px, py) != static_cast<TColor>(Web(expected->PixelWord(px, py))))
                        return false;
            return true;
        };
        EXPECT_TRUE(matches(0, 0));
        EXPECT_FALSE(matches(-1, 0));
        EXPECT_FALSE(matches(1, 0));
        EXPECT_FALSE(matches(0, 1));
        if (tw > kWidth) {
            EXPECT_LT(x, 0);
        }
    }
}

TEST_F(PaintTest, SettersRepaintAtOnceOrStoreAsDocumented)
{
    struct Case {
        const char* what;
        std::function<void(TGlowFadeButton&)> set;
        int paints;
    };
    const Case cases[] = {
        {"Color unchanged", [](TGlowFadeButton& b) { b.SetColor(b.Color()); }, 1},
        {"Color", [](TGlowFadeButton& b) { b.SetColor(clRed); }, 1},
        {"BorderColor unchanged", [](TGlowFadeButton& b) { b.SetBorderColor(b.BorderColor()); }, 0},
        {"BorderColor", [](TGlowFadeButton& b) { b.SetBorderColor(clNavy); }, 1},
        {"Caption unchanged", [](TGlowFadeButton& b) { b.SetCaption(b.Caption()); }, 0},
        {"Caption", [](TGlowFadeButton& b) { b.SetCaption("x"); }, 1},
        {"ShowBorder unchanged", [](TGlowFadeButton& b) { b.SetShowBorder(b.ShowBorder()); }, 0},
        {"ShowBorder", [](TGlowFadeButton& b) { b.SetShowBorder(!b.ShowBorder()); }, 1},
        {"BorderHeight unchanged", [](TGlowFadeButton& b) { b.SetBorderHeight(b.BorderHeight()); }, 1},
        {"DestColor", [](TGlowFadeButton& b) { b.SetDestColor(clRed); }, 0},
        {"BorderDestColor", [](TGlowFadeButton& b) { b.SetBorderDestColor(clRed); }, 0},
        {"CaptionOverColor", [](TGlowFadeButton& b) { b.SetCaptionOverColor(clRed); }, 0},
        {"Step", [](TGlowFadeButton& b) { b.SetStep(5); }, 0},
        {"Speed", [](TGlowFadeButton& b) { b.SetSpeed(20); }, 0},
        {"FadeOnOver", [](TGlowFadeButton& b) { b.SetFadeOnOver(false); }, 0},
        {"FadeOnLeave", [](TGlowFadeButton& b) { b.SetFadeOnLeave(false); }, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        button->Paints = 0;
        k.set(*button);
        EXPECT_EQ(button->Paints, k.paints);
    }
    EXPECT_EQ(Face(), clRed);
    EXPECT_EQ(Border(), clRed) << "ShowBorder was toggled off: no pen";
}

TEST_F(PaintTest, NewColoursPutTheCurrentOnesBackWithoutTouchingARunningFade)
{
    Move();
    Ticks(5);
    button->SetColor(Web(0x00ff00));
    button->SetBorderColor(clGray);
    EXPECT_EQ(Face(), Web(0x00ff00));
    EXPECT_EQ(Border(), clGray);
    EXPECT_TRUE(Running());
    Tick();
    EXPECT_EQ(Face(), Web(0x02ff02));
    EXPECT_EQ(Border(), Grey(130));
}

TEST_F(PaintTest, RepaintingSetterOnASizedButtonWithoutParentRaisesAfterStoring)
{
    TGlowFadeButton b(nullptr); // the constructor's own repaint happens at 0 x 0
    EXPECT_THROW(b.SetColor(clRed), EInvalidOperation);
    EXPECT_EQ(b.Color(), clRed);
    EXPECT_THROW(b.SetCaption("abc"), EInvalidOperation);
    EXPECT_EQ(b.Caption(), "abc");
    b.SetWidth(0);
    EXPECT_NO_THROW(b.SetColor(clBlue));
}

} // namespace
} // namespace hx::test
