// Reading order: controls take their parent's BiDiMode while ParentBiDiMode is set and
// follow its changes; the framework speed button mirrors its layout under bdRightToLeft.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Gdi.h"
#include "framework/runtime/Buttons.h"
#include "framework/runtime/Form.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

// A container that counts the reading-order notifications it hears.
class TCountingPanel : public TWinControl {
public:
    using TWinControl::TWinControl;
    int ParentChanges = 0;
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CM_PARENTBIDIMODECHANGED)
            ++ParentChanges;
        TWinControl::Dispatch(m);
    }
};

class BiDiModeTest : public ::testing::Test {
protected:
    BiDiModeTest()
    {
        panel->SetParent(&form);
        button->SetParent(panel);
    }
    TPlatformScope platform;
    TForm form{nullptr};
    TCountingPanel* panel = new TCountingPanel(&form);
    TSpeedButton* button = new TSpeedButton(&form);
};

TEST_F(BiDiModeTest, ChildrenFollowTheirParentUntilGivenAModeOfTheirOwn)
{
    EXPECT_EQ(button->BiDiMode(), bdLeftToRight);
    EXPECT_TRUE(button->ParentBiDiMode());
    const int before = panel->ParentChanges;
    form.SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(panel->ParentChanges, before + 1) << "told through the framework's notification";
    EXPECT_EQ(panel->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(button->BiDiMode(), bdRightToLeft) << "through the panel";
    EXPECT_TRUE(button->ParentBiDiMode());

    button->SetBiDiMode(bdRightToLeftReadingOnly);
    EXPECT_FALSE(button->ParentBiDiMode());
    form.SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(panel->BiDiMode(), bdLeftToRight);
    EXPECT_EQ(button->BiDiMode(), bdRightToLeftReadingOnly) << "its own mode stays";

    button->SetParentBiDiMode(true);
    EXPECT_EQ(button->BiDiMode(), bdLeftToRight) << "takes the parent's again at once";

    // Setting the mode it already has still ends the following.
    panel->SetBiDiMode(bdLeftToRight);
    EXPECT_FALSE(panel->ParentBiDiMode());
    form.SetBiDiMode(bdRightToLeftNoAlign);
    EXPECT_EQ(button->BiDiMode(), bdLeftToRight);

    // A newcomer takes its new parent's mode.
    auto* late = new TSpeedButton(&form);
    late->SetParent(&form);
    EXPECT_EQ(late->BiDiMode(), bdRightToLeftNoAlign);
}

// Reading and alignment per mode: only bdRightToLeft swaps the sides.
TEST_F(BiDiModeTest, DrawTextFlagsPerMode)
{
    struct TCase { TBiDiMode Mode; unsigned Left, Center, Right; };
    const std::vector<TCase> cases{
        {bdLeftToRight, DT_LEFT, DT_CENTER, DT_RIGHT},
        {bdRightToLeft, DT_RIGHT | DT_RTLREADING, DT_CENTER | DT_RTLREADING, DT_LEFT | DT_RTLREADING},
        {bdRightToLeftNoAlign, DT_RTLREADING, DT_CENTER | DT_RTLREADING, DT_RIGHT | DT_RTLREADING},
        {bdRightToLeftReadingOnly, DT_RTLREADING, DT_CENTER | DT_RTLREADING, DT_RIGHT | DT_RTLREADING},
    };
    for (const TCase& c : cases) {
        button->SetBiDiMode(c.Mode);
        EXPECT_EQ(button->DrawTextBiDiModeFlags(DT_LEFT | DT_SINGLELINE), c.Left | DT_SINGLELINE) << c.Mode;
        EXPECT_EQ(button->DrawTextBiDiModeFlags(DT_CENTER), c.Center) << c.Mode;
        EXPECT_EQ(button->DrawTextBiDiModeFlags(DT_RIGHT), c.Right) << c.Mode;
    }
}

// A 40 x 30 button with an 8 x 6 red glyph on the left, margin 2 and the caption "Ab":
// under bdRightToLeft the glyph sits 2 pixels from the right edge and the caption, drawn
// exactly as before, moves to the mirrored place left of it. The frame does not mirror.
class SpeedButtonMirrorTest : public ::testing::Test {
protected:
    SpeedButtonMirrorTest()
    {
        form.SetBounds(0, 0, 60, 50);
        form.SetColor(clWhite);
        button->SetParent(&form);
        button->SetBounds(kLeft, kTop, kWidth, kHeight);
        TBitmap glyph;
        glyph.SetPixelFormat(pf32bit);
        glyph.SetSize(8, 6);
        glyph.Canvas()->Brush()->SetColor(clRed);
        glyph.Canvas()->FillRect(Rect(0, 0, 8, 6));
        glyph.Canvas()->SetPixel(0, 5, clWhite); // the see-through colour
        button->SetGlyph(&glyph);
        button->SetMargin(2);
        button->SetCaption("Ab");
    }
    std::vector<TColor> Row(int y) const
    {
        std::vector<TColor> row;
        for (int x = 0; x < kWidth; ++x)
            row.push_back(form.SurfacePixel(kLeft + x, kTop + y));
        return row;
    }
    static constexpr int kLeft = 10, kTop = 10, kWidth = 40, kHeight = 30;
    TPlatformScope platform;
    TForm form{nullptr};
    TSpeedButton* button = new TSpeedButton(&form);
};

TEST_F(SpeedButtonMirrorTest, LeftGlyphAndCaptionSwapSidesUnderRightToLeft)
{
    form.Update();
    std::vector<std::vector<TColor>> ltr;
    for (int y = 0; y < kHeight; ++y)
        ltr.push_back(Row(y));
    button->Canvas()->SetFont(button->Font());
    const int tw = button->Canvas()->TextWidth("Ab");
    const int th = button->Canvas()->TextHeight("Ab");
    // Left to right: glyph at 2, caption at 2 + 8 + 4 = 14. Mirrored: glyph at 40 - 2 - 8 = 30,
    // caption at 30 - 4 - tw. Vertically the content box (as tall as the taller part) is
    // centred, and the glyph centred in it.
    const int box = std::max(6, th);
    const int glyphTop = (kHeight - box) / 2 + (box - 6) / 2;
    EXPECT_EQ(ltr[glyphTop][2], ColorToRGB(clRed));
    EXPECT_EQ(ltr[glyphTop][9], ColorToRGB(clRed));
    int ink = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 14; x < 14 + tw; ++x)
            ink += ltr[y][x] != ColorToRGB(clBtnFace) ? 1 : 0;
    ASSERT_GT(ink, 0) << "the caption is drawn where the layout puts it";

    form.SetBiDiMode(bdRightToLeft);
    form.Update();
    for (int y = 0; y < kHeight; ++y) {
        const std::vector<TColor> rtl = Row(y);
        SCOPED_TRACE("row " + std::to_string(y));
        // Glyph columns move from [2, 10) to [30, 38).
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(rtl[30 + x], ltr[y][2 + x]) << "glyph column " << x;
        // Caption columns move from [14, 14 + tw) to [26 - tw, 26).
        for (int x = 0; x < tw; ++x)
            EXPECT_EQ(rtl[26 - tw + x], ltr[y][14 + x]) << "caption column " << x;
        // The frame stays: highlight left, dark shadow right.
        EXPECT_EQ(rtl[0], ltr[y][0]);
        EXPECT_EQ(rtl[kWidth - 1], ltr[y][kWidth - 1]);
    }
    EXPECT_EQ(Row(glyphTop)[2], ColorToRGB(clBtnFace)) << "nothing left where the glyph was";

    // Reading right to left alone keeps the layout.
    form.SetBiDiMode(bdRightToLeftReadingOnly);
    form.Update();
    EXPECT_EQ(Row(glyphTop), ltr[glyphTop]);
}

} // namespace
} // namespace hx::test
