// The main window's description against the palette's generation rules: a typo in any of
// the 91 rows, a swapped creation order or a handler bound to the wrong swatch shows here.
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "MainFormFixture.h"
#include "app/Palette.h"
#include "framework/graphics/FontSubstitution.h"

namespace hx::test {
namespace {

TEST(PaletteRules, ColumnsFormTheHexagonAndColoursAreDistinctWebColours)
{
    int total = 0;
    for (int c = 0; c < kPaletteColumns; ++c)
        total += PaletteColumnHeight(c);
    EXPECT_EQ(total, 91);

    std::set<TColor> seen;
    for (int n = 1; n <= 91; ++n) {
        const TSwatchSpec s = GeneratedSwatch(n);
        const int channels[] = {GetRValue(s.Color), GetGValue(s.Color), GetBValue(s.Color)};
        bool has255 = false;
        for (int v : channels) {
            EXPECT_EQ(v % 51, 0) << "swatch " << n;
            has255 = has255 || v == 255;
        }
        EXPECT_TRUE(has255) << "swatch " << n;
        EXPECT_TRUE(seen.insert(s.Color).second) << "swatch " << n << " repeats a colour";
    }
}

TEST(PaletteRules, KnownSwatches)
{
    struct Row {
        int N, Left, Top;
        const char* Caption;
        const char* Hint;
        TColor Over, Font;
    };
    const Row rows[] = {
        {1, 4, 54, "#0000ff", "RGB(0,0,255)", RGB(255, 0, 0), clWhite},
        {41, 204, 4, "#ff00ff", "RGB(255,0,255)", RGB(255, 0, 255), clWhite},
        {46, 204, 104, "#ffffff", "RGB(255,255,255)", clBlack, clGray},
        {51, 204, 204, "#00ff00", "RGB(0,255,0)", RGB(0, 255, 0), clWhite},
        {70, 284, 184, "#66ff00", "RGB(102,255,00)", RGB(0, 255, 102), clWhite},
        {89, 404, 114, "#ff9900", "RGB(255,153,0)", RGB(0, 153, 255), clWhite},
        {91, 404, 154, "#ffff00", "RGB(255,255,0)", RGB(0, 255, 255), clWhite},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("swatch " + std::to_string(r.N));
        const TSwatchSpec s = GeneratedSwatch(r.N);
        EXPECT_EQ(s.Left, r.Left);
        EXPECT_EQ(s.Top, r.Top);
        EXPECT_EQ(s.Caption, r.Caption);
        EXPECT_EQ(s.Hint, r.Hint);
        EXPECT_EQ(s.CaptionOverColor, r.Over);
        EXPECT_EQ(s.FontColor, r.Font);
    }
}

TEST_F(MainFormTest, EverySwatchOfTheDescriptionFollowsTheRules)
{
    TMainForm1& form = Create();
    for (int n = 1; n <= 91; ++n) {
        SCOPED_TRACE("swatch " + std::to_string(n));
        const TSwatchSpec s = GeneratedSwatch(n);
        const TGlowFadeButton* b = form.GlowFadeButton(n);
        EXPECT_EQ(b->Name(), "GlowFadeButton" + std::to_string(n));
        EXPECT_EQ(b->Left(), s.Left);
        EXPECT_EQ(b->Top(), s.Top);
        EXPECT_EQ(b->Width(), 40);
        EXPECT_EQ(b->Height(), 20);
        EXPECT_EQ(b->Cursor(), crHandPoint);
        EXPECT_EQ(b->Hint(), s.Hint);
        EXPECT_EQ(b->Font()->Charset(), SHIFTJIS_CHARSET);
        EXPECT_EQ(b->Font()->Color(), s.FontColor);
        EXPECT_EQ(b->Font()->Height(), -11);
        EXPECT_EQ(b->Font()->Name(), "ＭＳ Ｐゴシック");
        EXPECT_EQ(b->Font()->Style(), 0u);
        EXPECT_TRUE(b->ShowHint());
        EXPECT_EQ(b->Color(), s.Color);
        EXPECT_TRUE(b->FadeOnLeave());
        EXPECT_EQ(b->Caption(), s.Caption);
        EXPECT_EQ(b->Step(), 2);
        EXPECT_EQ(b->BorderColor(), clSilver);
        EXPECT_EQ(b->BorderDestColor(), clWhite);
        EXPECT_EQ(b->DestColor(), clWhite);
        EXPECT_TRUE(b->ShowBorder());
        EXPECT_EQ(b->CaptionOverColor(), s.CaptionOverColor);
        EXPECT_TRUE(b->FadeOnOver());
        EXPECT_EQ(b->BorderHeight(), 1);
        EXPECT_EQ(b->Speed(), 16);
        EXPECT_EQ(b->OnClick.Name(), "GlowFadeButton" + std::to_string(n) + "Click");
    }
}

TEST_F(MainFormTest, ControlsAreCreatedPanelsFirstThenSwatchesInNumberOrder)
{
    TMainForm1& form = Create();
    ASSERT_EQ(form.ControlCount(), 2 + 91);
    EXPECT_EQ(form.Controls(0), form.GradBox2);
    EXPECT_EQ(form.Controls(1), form.GradBox1);
    for (int n = 1; n <= 91; ++n)
        EXPECT_EQ(form.Controls(1 + n), form.GlowFadeButton(n)) << "swatch " << n;
}

TEST_F(MainFormTest, WindowPropertiesAndMenu)
{
    TMainForm1& form = Create();
    EXPECT_EQ(form.Left(), 20);
    EXPECT_EQ(form.Top(), 20);
    EXPECT_EQ(form.ClientWidth(), 448);
    EXPECT_EQ(form.ClientHeight(), 228);
    EXPECT_EQ(form.Caption(), "Hexatint91");
    EXPECT_EQ(form.BorderStyle(), bsToolWindow);
    EXPECT_EQ(form.Color(), clWhite);
    EXPECT_EQ(form.Font()->Height(), -12);
    EXPECT_EQ(form.Font()->Name(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(form.PopupMenu(), form.PopupMenu1);
    EXPECT_EQ(ResolvedFamily(*form.GlowFadeButton(1)->Font()), "Konatu");

    const struct {
        TMenuItem* Item;
        const char* Caption;
        const char* Handler;
    } items[] = {
        {form.N4, "常に手前に表示(&S)", "N4Click"}, {form.N5, "-", ""},
        {form.N6, "インフォメーション(&I)...", "N6Click"}, {form.N10, "-", ""},
        {form.N7, "終了する(&X)", "N7Click"},
    };
    ASSERT_EQ(form.PopupMenu1->Items()->Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(form.PopupMenu1->Items()->Items(i), items[i].Item);
        EXPECT_EQ(items[i].Item->Caption(), items[i].Caption);
        EXPECT_EQ(items[i].Item->OnClick.Name(), items[i].Handler);
    }
}

} // namespace
} // namespace hx::test
