// The shine button's face on the form's surface: frames raised and sunken with their
// unpainted corners, the frame switches, the gradient strip, the glyph with its pressed
// offset and state images, the disabled emboss and the caption passes in their order.
#include "tests/widgets/shinespdbtn/ShinePaintSupport.h"

namespace hx::shinetest {
namespace {

constexpr TColor kUpFace = 0x00C8C8C8;
constexpr TColor kUpLight = 0x000000FF;
constexpr TColor kUpShadow = 0x00008000;
constexpr TColor kUpDark = 0x00FF0000;
constexpr TColor kDownFace = 0x00646464;
constexpr TColor kDownLight = 0x0000FFFF;
constexpr TColor kDownShadow = 0x00FFFF00;
constexpr TColor kDownDark = 0x00FF00FF;

class ShinePaint : public ShineFormTest {
protected:
    ShinePaint()
    {
        TShineBtnColors* up = button->Colors();
        up->SetColor(kUpFace);
        up->SetHighlight(kUpLight);
        up->SetShadow(kUpShadow);
        up->SetDarkShadow(kUpDark);
        TShineBtnColors* down = button->PressedColors();
        down->SetColor(kDownFace);
        down->SetHighlight(kDownLight);
        down->SetShadow(kDownShadow);
        down->SetDarkShadow(kDownDark);
    }
};

// '.' face, H/S/D the highlight, shadow and dark shadow of the state's set, R the ring in
// the up set's dark shadow whatever the state.
struct TFrameCase {
    const char* Name;
    TFrameType Type;
    TShineState State;
    std::vector<std::string> Picture;
};

const TFrameCase kFrameCases[] = {
    {"flat raised", ftFlatFrame, ssUp, {"HHHHH.", "H....S", "H....S", "H....S", ".SSSSS"}},
    {"flat sunken", ftFlatFrame, ssDown, {"SSSSS.", "S....H", "S....H", "S....H", ".HHHHH"}},
    {"normal raised", ftNormalFrame, ssUp, {"HHHHH.", "H...SD", "H...SD", "HSSSSD", ".DDDDD"}},
    {"normal sunken", ftNormalFrame, ssDown, {"DDDDD.", "DSSSSH", "DS...H", "DS...H", ".HHHHH"}},
    {"enclosed raised", ftEnclosedFrame, ssUp, {"RRRRRR", "RHHH.R", "RH..SR", "R.SSSR", "RRRRRR"}},
    {"enclosed sunken", ftEnclosedFrame, ssDown, {"RRRRRR", "RSSS.R", "RS..HR", "R.HHHR", "RRRRRR"}},
};

TEST_F(ShinePaint, FramesRaisedAndSunkenLeaveTheLineEndsUnpainted)
{
    button->SetBounds(kLeft, kTop, 6, 5);
    for (const TFrameCase& c : kFrameCases) {
        SCOPED_TRACE(c.Name);
        button->SetFrameType(c.Type);
        PaintIn(c.State);
        const bool sunken = c.State == ssDown;
        ExpectPicture(c.Picture, {{'.', sunken ? kDownFace : kUpFace},
                                  {'H', sunken ? kDownLight : kUpLight},
                                  {'S', sunken ? kDownShadow : kUpShadow},
                                  {'D', sunken ? kDownDark : kUpDark},
                                  {'R', kUpDark}});
    }
}

// Which switch a state reads: ActiveFrame for pressed and hover, DownFrame for latched,
// UpFrame for up and disabled (drawn raised in the up colours).
TEST_F(ShinePaint, EachStateReadsItsOwnFrameSwitch)
{
    struct TCase {
        TShineState State;
        bool Active, Up, Down;
        TColor Corner; // pixel (0, 0)
    };
    const TCase cases[] = {
        {ssPressed, false, true, true, kDownFace}, {ssDown, false, true, true, kDownDark},
        {ssPressed, true, false, false, kDownDark}, {ssDown, true, true, false, kDownFace},
        {ssActive, true, false, false, kUpLight},   {ssActive, false, true, true, kUpFace},
        {ssUp, false, true, false, kUpLight},       {ssUp, true, false, true, kUpFace},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << int(c.State) << " active " << c.Active << " up " << c.Up
                                        << " down " << c.Down);
        button->SetActiveFrame(c.Active);
        button->SetUpFrame(c.Up);
        button->SetDownFrame(c.Down);
        PaintIn(c.State);
        EXPECT_EQ(At(0, 0), c.Corner);
    }
    button->SetActiveFrame(false);
    button->SetDownFrame(false);
    button->SetUpFrame(true);
    button->SetEnabled(false);
    form.Update();
    EXPECT_EQ(button->State(), ssDisabled);
    EXPECT_EQ(At(0, 0), kUpLight);
    EXPECT_EQ(At(24, 24), kUpDark);
    EXPECT_EQ(At(12, 12), kUpFace);
}

TEST_F(ShinePaint, EnclosedRingIsAnOutlineWhateverBrushThePassesLeft)
{
    button->SetFrameType(ftEnclosedFrame);
    // Transparent: the surface shows through inside the ring.
    button->SetTransparent(true);
    form.Update();
    EXPECT_EQ(At(0, 0), kUpDark);
    EXPECT_EQ(At(12, 12), kFormColor);
    EXPECT_EQ(At(12, 0), kUpDark);
    // A gradient face stays visible inside the ring.
    button->SetTransparent(false);
    button->Colors()->SetGradation(true);
    button->Colors()->SetColor(RGB(0, 0, 0));
    button->Colors()->SetGradColor(RGB(255, 255, 255));
    form.Update();
    EXPECT_EQ(At(12, 12), RGB(122, 122, 122)); // column 12 of 25 takes step 12 * 256 / 25
    // After the disabled emboss the brush holds DisabledShadow; the inside keeps the face.
    button->Colors()->SetGradation(false);
    button->Colors()->SetColor(kUpFace);
    button->SetDisabledShadow(RGB(9, 9, 9));
    SetGlyphPixels(*button, {{0x000000, 0xFFFFFF}, {0xFFFFFF, 0xFFFFFF}});
    button->SetEnabled(false);
    form.Update();
    EXPECT_EQ(At(3, 3), kUpFace);
    EXPECT_EQ(At(11, 11), RGB(9, 9, 9)); // the mask's one white pixel, at the glyph's place
}

TEST_F(ShinePaint, GradientStripHas256StepsRoundedTowardTheStartColour)
{
    button->SetUpFrame(false);
    TShineBtnColors* set = button->Colors();
    set->SetGradation(true);
    set->SetGradVertical(true);
    button->SetBounds(kLeft, kTop, 3, 256);

    set->SetColor(RGB(0, 0, 0));
    set->SetGradColor(RGB(255, 255, 255));
    form.Update();
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(At(1, i), RGB(i, i, i)) << "rising row " << i;

    set->SetColor(RGB(255, 255, 255));
    set->SetGradColor(RGB(0, 0, 0));
    form.Update();
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(At(1, i), RGB(255 - i, 255 - i, 255 - i)) << "falling row " << i;

    // One channel of each kind: red rises, green falls from 200 to 100, blue falls fully.
    set->SetColor(RGB(0, 200, 255));
    set->SetGradColor(RGB(255, 100, 0));
    form.Update();
    EXPECT_EQ(At(0, 0), RGB(0, 200, 255));
    EXPECT_EQ(At(0, 1), RGB(1, 200, 254));
    EXPECT_EQ(At(0, 128), RGB(128, 150, 127));
    EXPECT_EQ(At(0, 255), RGB(255, 100, 0));

    // Horizontal over 128 columns: every other step, no blending.
    set->SetGradVertical(false);
    set->SetColor(RGB(0, 0, 0));
    set->SetGradColor(RGB(255, 255, 255));
    button->SetBounds(kLeft, kTop, 128, 4);
    form.Update();
    for (int x = 0; x < 128; ++x)
        ASSERT_EQ(At(x, 2), RGB(2 * x, 2 * x, 2 * x)) << "column " << x;

    // The pressed looks take the pressed set's gradient, which is off here.
    PaintIn(ssDown);
    EXPECT_EQ(At(5, 2), kDownFace);
}

// A 2 x 2 glyph: three opaque pixels G and the see-through bottom-left K, centred in a
// 10 x 10 button at (4, 4); latched and pressed looks move it by one pixel down-right.
TEST_F(ShinePaint, GlyphIsDrawnWithItsBottomLeftSeeThroughAndThePressedOffset)
{
    constexpr std::uint32_t G = 0x102030, K = 0x00FF00;
    const TColor g = RGB(0x10, 0x20, 0x30);
    button->SetBounds(kLeft, kTop, 10, 10);
    button->SetUpFrame(false);
    button->SetDownFrame(false);
    button->SetActiveFrame(false);
    SetGlyphPixels(*button, {{G, G}, {K, G}});
    form.Update();
    ExpectPicture({"..........", "..........", "..........", "..........", "....GG....", ".....G....",
                   "..........", "..........", "..........", ".........."},
                  {{'.', kUpFace}, {'G', g}});
    PaintIn(ssDown);
    ExpectPicture({"..........", "..........", "..........", "..........", "..........", ".....GG...",
                   "......G...", "..........", "..........", ".........."},
                  {{'.', kDownFace}, {'G', g}});
    // Hover lights the glyph (default aiFrameLight: the outline in ShineColor on K pixels).
    button->SetShineColor(RGB(250, 240, 1));
    PaintIn(ssActive);
    ExpectPicture({"..........", "..........", "..........", "..........", "....GG....", "....YG....",
                   "..........", "..........", "..........", ".........."},
                  {{'.', kUpFace}, {'G', g}, {'Y', RGB(250, 240, 1)}});
    button->SetActiveImage(aiNormal);
    PaintIn(ssPressed);
    EXPECT_EQ(At(5, 5), g);
    EXPECT_EQ(At(5, 6), kDownFace);
}

// The emboss mask of a 3 x 3 glyph with one opaque centre is white on its top-left 2 x 2:
// drawn in the light colour one pixel down-right, then in the dark colour in place.
TEST_F(ShinePaint, DisabledEmbossMaskIsDrawnTwiceOnePixelApart)
{
    constexpr std::uint32_t K = 0x808000, C = 0x0000FF;
    button->SetBounds(kLeft, kTop, 11, 11);
    button->SetUpFrame(false);
    button->SetDisabledHighlight(RGB(240, 230, 220));
    button->SetDisabledShadow(RGB(40, 30, 20));
    SetGlyphPixels(*button, {{K, K, K}, {K, C, K}, {K, K, K}});
    button->SetEnabled(false);
    form.Update();
    ExpectPicture({"...........", "...........", "...........", "...........", "....SS.....", "....SSL....",
                   ".....LL....", "...........", "...........", "...........", "..........."},
                  {{'.', kUpFace}, {'L', RGB(240, 230, 220)}, {'S', RGB(40, 30, 20)}});
    // Other disabled images are drawn as images: greyscale of pure blue is (85, 85, 85).
    button->SetDisabledImage(diGrayscale);
    form.Update();
    EXPECT_EQ(At(5, 5), RGB(85, 85, 85));
    EXPECT_EQ(At(4, 4), kUpFace);
}

class ShineCaption : public ShinePaint {
protected:
    ShineCaption()
    {
        button->SetBounds(kLeft, kTop, 70, 24);
        button->SetUpFrame(false);
        button->SetActiveFrame(false);
        button->SetDownFrame(false);
        button->Font()->SetHeight(-13);
        button->ActiveFont()->SetHeight(-13);
        button->SetCaption(kText);
    }

    // Every pixel of the button against the passes, later passes over earlier ones.
    void ExpectPasses(TFont* font, const std::vector<std::pair<TColor, TPoint>>& passes, TColor face,
                      TPoint pressed = TPoint{})
    {
        const TInk ink = InkOf(font, kText);
        TRect r = CaptionRect(*button, font);
        OffsetRect(r, pressed.X, pressed.Y);
        int mismatches = 0;
        for (int y = 0; y < button->Height(); ++y)
            for (int x = 0; x < button->Width(); ++x) {
                TColor expected = face;
                for (const auto& [color, offset] : passes)
                    if (ink.count({x - r.Left - offset.X, y - r.Top - offset.Y}))
                        expected = color;
                if (At(x, y) != expected && ++mismatches < 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
            }
        EXPECT_EQ(mismatches, 0);
    }

    static constexpr const char* kText = "Ag&Wy";
};

TEST_F(ShineCaption, PassesRunShadowThenHighlightThenTheFontColour)
{
    button->Font()->SetColor(RGB(1, 1, 200));
    button->SetFontShadow(RGB(90, 90, 90));
    button->SetFontHighlight(RGB(250, 250, 250));
    form.Update();
    ExpectPasses(button->Font(),
                 {{RGB(90, 90, 90), Point(1, 1)}, {RGB(250, 250, 250), Point(-1, -1)}, {RGB(1, 1, 200), Point(0, 0)}},
                 kUpFace);

    // Only the shadow set: no highlight pass. Hover draws in ActiveFont.
    button->SetFontHighlight(clNone);
    button->ActiveFont()->SetColor(RGB(200, 1, 1));
    PaintIn(ssActive);
    ExpectPasses(button->ActiveFont(), {{RGB(90, 90, 90), Point(1, 1)}, {RGB(200, 1, 1), Point(0, 0)}}, kUpFace);

    // Pressed: the same passes one pixel down-right, in ActiveFont on the pressed face.
    PaintIn(ssPressed);
    ExpectPasses(button->ActiveFont(), {{RGB(90, 90, 90), Point(1, 1)}, {RGB(200, 1, 1), Point(0, 0)}},
                 kDownFace, Point(1, 1));

    // The passes change the canvas's copy only.
    EXPECT_EQ(button->Font()->Color(), RGB(1, 1, 200));
    EXPECT_EQ(button->ActiveFont()->Color(), RGB(200, 1, 1));
}

TEST_F(ShineCaption, DisabledCaptionIsDrawnTwiceIgnoringShadowAndHighlight)
{
    button->SetFontShadow(RGB(90, 90, 90));
    button->SetFontHighlight(RGB(250, 250, 250));
    button->SetDisabledHighlight(RGB(255, 254, 253));
    button->SetDisabledShadow(RGB(60, 50, 40));
    button->SetEnabled(false);
    form.Update();
    ExpectPasses(button->Font(), {{RGB(255, 254, 253), Point(1, 1)}, {RGB(60, 50, 40), Point(0, 0)}}, kUpFace);
}

TEST_F(ShineCaption, AmpersandIsMeasuredOutAndMarksTheAccelerator)
{
    button->SetCaption("&Open");
    TBitmap scratch;
    scratch.SetSize(1, 1);
    scratch.Canvas()->SetFont(button->Font());
    const TRect withMark = CaptionRect(*button, button->Font());
    EXPECT_EQ(withMark.Width(), scratch.Canvas()->TextWidth("Open"));
    // The underline adds ink under the O that the plain word does not have.
    const TInk marked = InkOf(button->Font(), "&Open");
    const TInk plain = InkOf(button->Font(), "Open");
    EXPECT_GT(marked.size(), plain.size());
    for (const auto& p : plain)
        EXPECT_TRUE(marked.count(p));
    button->SetCaption("a&&b");
    EXPECT_EQ(CaptionRect(*button, button->Font()).Width(), scratch.Canvas()->TextWidth("a&b"));
}

TEST_F(ShinePaint, TransparentButtonPaintsNoBackground)
{
    form.SetColor(RGB(10, 120, 30));
    button->SetTransparent(true);
    constexpr std::uint32_t G = 0x102030, K = 0x00FF00;
    SetGlyphPixels(*button, {{G, G}, {K, G}});
    form.Update();
    EXPECT_EQ(At(12, 12), RGB(0x10, 0x20, 0x30)); // glyph at (11, 11)
    EXPECT_EQ(At(11, 12), RGB(10, 120, 30));       // its see-through pixel
    EXPECT_EQ(At(5, 5), RGB(10, 120, 30));
    EXPECT_EQ(At(0, 0), kUpLight); // the frame still
}

} // namespace
} // namespace hx::shinetest
