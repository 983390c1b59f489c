// Fonts, pens and brushes: defaults, change notification, copying, and the substitute faces.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "framework/graphics/Brush.h"
#include "framework/graphics/Canvas.h"
#include "framework/core/Exception.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/FontSubstitution.h"
#include "framework/graphics/Pen.h"

namespace hx {
namespace {

TEST(Font, Defaults)
{
    TFont font;
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.Style(), 0u);
}

TEST(Font, SizeIsPointsAtNinetySixPixelsPerInch)
{
    struct Case {
        int Height;
        int Size;
    };
    for (const Case c : {Case{-11, 8}, Case{-12, 9}, Case{-13, 10}, Case{-16, 12}, Case{-2, 2}, Case{-10, 8}}) {
        TFont font;
        font.SetHeight(c.Height);
        EXPECT_EQ(font.Size(), c.Size) << "height " << c.Height;
    }
    TFont font;
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
}

TEST(Font, OnChangeOncePerRealChange)
{
    TFont font;
    int changes = 0;
    font.OnChange = TNotifyEvent([&](TObject* sender) {
        EXPECT_EQ(sender, &font);
        ++changes;
    });
    font.SetName("MS Sans Serif");
    font.SetHeight(-11);
    font.SetSize(8);
    font.SetColor(clWindowText);
    font.SetStyle(0);
    font.SetCharset(DEFAULT_CHARSET);
    EXPECT_EQ(changes, 0);
    font.SetName("Tahoma");
    font.SetSize(12);
    font.SetColor(clRed);
    font.SetStyle(fsBold | fsUnderline);
    font.SetCharset(SHIFTJIS_CHARSET);
    EXPECT_EQ(changes, 5);
}

TEST(Font, CopyTakesEveryAttributeWithOneNotification)
{
    TFont source;
    source.SetName("ＭＳ Ｐゴシック");
    source.SetHeight(-12);
    source.SetCharset(SHIFTJIS_CHARSET);
    source.SetColor(clHighlight);
    source.SetStyle(fsItalic | fsStrikeOut);
    TFont dest;
    int changes = 0;
    dest.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    dest.CopyValuesFrom(&source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(dest.Name(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(dest.Height(), -12);
    EXPECT_EQ(dest.Charset(), SHIFTJIS_CHARSET);
    EXPECT_EQ(dest.Color(), clHighlight);
    EXPECT_EQ(dest.Style(), fsItalic | fsStrikeOut);
    TFont third;
    source.CopyValuesTo(&third);
    EXPECT_EQ(third.Height(), -12);
    EXPECT_THROW(dest.CopyValuesFrom(nullptr), EConvertError);
    TPen pen;
    EXPECT_THROW(dest.CopyValuesFrom(&pen), EConvertError);
}

TEST(Font, ACopiedFaceMeasuresLikeItsSource)
{
    struct Surface : TCanvas {
        bool AcquireTarget(TCanvasTarget&) override { return false; }
        void Changed(const TRect&) override {}
    } a, b;
    a.Font()->SetHeight(-20);
    a.Font()->SetStyle(fsBold);
    const int wide = a.TextWidth("Hexatint");
    b.SetFont(a.Font());
    EXPECT_EQ(b.TextWidth("Hexatint"), wide);
    b.Font()->SetHeight(-11);
    EXPECT_LT(b.TextWidth("Hexatint"), wide); // the cached face follows the change
}

TEST(FontSubstitution, JapaneseUiFontResolvesToKonatu)
{
    EXPECT_EQ(ResolvedFamily("ＭＳ Ｐゴシック"), "Konatu");
    EXPECT_EQ(ResolvedFamily("MS PGothic"), "Konatu");
    TFont font;
    font.SetName("ＭＳ Ｐゴシック");
    EXPECT_EQ(ResolvedFamily(font), "Konatu");
}

// The stand-in for the Japanese UI face must keep the widths it stands for at the sizes the
// palette uses: every web-safe code fits inside a 40 px swatch's 1 px border (38 px) at 11 px.
TEST(FontSubstitution, WidestWebSafeCodeInTheJapaneseUiFace)
{
    struct Surface : TCanvas {
        bool AcquireTarget(TCanvasTarget&) override { return false; }
        void Changed(const TRect&) override {}
    } canvas;
    canvas.Font()->SetName("ＭＳ Ｐゴシック");
    const struct {
        int Height;
        int Widest;
    } cases[] = {{-11, 35}, {-12, 42}};
    static const char* const channels[] = {"00", "33", "66", "99", "cc", "ff"};
    for (const auto& c : cases) {
        canvas.Font()->SetHeight(c.Height);
        int widest = 0;
        for (const char* r : channels)
            for (const char* g : channels)
                for (const char* b : channels)
                    widest = std::max(widest, canvas.TextWidth(std::string("#") + r + g + b));
        EXPECT_EQ(widest, c.Widest) << "height " << c.Height;
    }
}

TEST(FontSubstitution, ClassicSansNamesResolveToDejaVuSans)
{
    EXPECT_EQ(ResolvedFamily("MS Sans Serif"), "DejaVu Sans");
    EXPECT_EQ(ResolvedFamily("Tahoma"), "DejaVu Sans");
    EXPECT_EQ(ResolvedFamily("No Such Face At All"), "DejaVu Sans");
    EXPECT_EQ(ResolvedFamily("DejaVu Serif"), "DejaVu Serif"); // installed faces stand as named
}

TEST(Pen, OnChangeOnlyOnRealChangesAndWidthAtLeastOne)
{
    TPen pen;
    EXPECT_EQ(pen.Color(), clBlack);
    EXPECT_EQ(pen.Style(), psSolid);
    EXPECT_EQ(pen.Mode(), pmCopy);
    int changes = 0;
    pen.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    pen.SetWidth(0);
    EXPECT_EQ(pen.Width(), 1);
    pen.SetColor(clBlack);
    EXPECT_EQ(changes, 0);
    pen.SetStyle(psDash);
    pen.SetMode(pmXor);
    pen.SetWidth(2);
    EXPECT_EQ(changes, 3);
}

TEST(Brush, SettingAColourMakesTheBrushSolid)
{
    TBrush brush;
    EXPECT_EQ(brush.Color(), clWhite);
    int changes = 0;
    brush.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    brush.SetColor(clWhite);
    EXPECT_EQ(changes, 0);
    brush.SetStyle(bsClear);
    brush.SetColor(clWhite); // same colour, but the brush becomes solid again
    EXPECT_EQ(brush.Style(), bsSolid);
    EXPECT_EQ(changes, 2);
}

} // namespace
} // namespace hx
