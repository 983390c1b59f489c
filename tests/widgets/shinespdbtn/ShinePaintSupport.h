#pragma once
// Shared by the drawing and interaction tests: a shine button whose drawing state a test may
// set, on a form whose surface the tests read.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/runtime/Form.h"
#include "framework/graphics/Gdi.h"
#include "framework/services/RecordingPlatform.h"
#include "tests/support/ControlOnForm.h"
#include "widgets/shinespdbtn/Shinespdbtn.h"

namespace hx::shinetest {

class TProbeButton : public TShineSpeedButton {
public:
    using TShineSpeedButton::TShineSpeedButton;
    void ForceState(TShineState state) { FState = state; }
};

// A glyph from rows of 0x00RRGGBB words; the bottom-left word is its see-through colour.
inline void SetGlyphPixels(TShineSpeedButton& button, const std::vector<std::vector<std::uint32_t>>& rows)
{
    TBitmap source;
    source.SetPixelFormat(pf32bit);
    source.SetSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y) {
        auto* row = static_cast<std::uint32_t*>(source.ScanLine(static_cast<int>(y)));
        for (size_t x = 0; x < rows[y].size(); ++x)
            row[x] = rows[y][x];
    }
    button.SetGlyph(&source);
}

using TInk = std::set<std::pair<int, int>>;

// Where text drawn with DrawText in font lands, relative to its measured rectangle's
// top-left: the reference every caption pass is compared with.
inline TInk InkOf(TFont* font, const std::string& text)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(300, 60);
    TCanvas* canvas = bitmap.Canvas();
    TFont copy;
    copy.CopyValuesFrom(font);
    copy.SetColor(clBlack);
    canvas->SetFont(&copy);
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, 300, 60));
    TRect r = Rect(0, 0, 300, 0);
    DrawText(canvas, text.c_str(), static_cast<int>(text.size()), r, DT_CALCRECT);
    canvas->Brush()->SetStyle(bsClear);
    DrawText(canvas, text.c_str(), static_cast<int>(text.size()), r, DT_CENTER | DT_VCENTER);
    TInk ink;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 300; ++x)
            if (bitmap.PixelWord(x, y) == 0)
                ink.insert({x, y});
    return ink;
}

// The button's caption rectangle as it would be laid out with font on the canvas.
inline TRect CaptionRect(TShineSpeedButton& button, TFont* font)
{
    TBitmap scratch;
    scratch.SetSize(1, 1);
    scratch.Canvas()->SetFont(font);
    TPoint glyph;
    TRect text;
    button.CalcDrawPosition(scratch.Canvas(), glyph, text);
    return text;
}

// A 300 x 200 form in a colour no button uses, with one probe button at (kLeft, kTop).
class ShineFormTest : public test::ControlOnFormTest<TProbeButton> {
protected:
    static constexpr int kLeft = 20;
    static constexpr int kTop = 30;
    static constexpr TColor kFormColor = 0x00030201;

    ShineFormTest() : ControlOnFormTest(Rect(0, 0, 300, 320), kFormColor, Rect(kLeft, kTop, kLeft + 25, kTop + 25))
    {
        form.Update();
    }

    void PaintIn(TShineState state)
    {
        button->ForceState(state);
        button->Repaint();
    }

    // Compares the button's whole area with a picture: one character a pixel, read through
    // the legend. A mismatch shows the surface drawn with the same legend ('?' = other).
    void ExpectPicture(const std::vector<std::string>& picture, const std::map<char, TColor>& legend) const
    {
        std::string actual;
        bool same = true;
        for (int y = 0; y < static_cast<int>(picture.size()); ++y) {
            for (int x = 0; x < static_cast<int>(picture[y].size()); ++x) {
                const TColor c = At(x, y);
                char shown = '?';
                for (const auto& [ch, color] : legend)
                    if (ColorToRGB(color) == c)
                        shown = ch;
                actual += shown;
                if (ColorToRGB(legend.at(picture[y][x])) != c)
                    same = false;
            }
            actual += '\n';
        }
        EXPECT_TRUE(same) << "surface:\n" << actual;
    }

};

} // namespace hx::shinetest
