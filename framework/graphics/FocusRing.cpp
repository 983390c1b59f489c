#include "framework/graphics/FocusRing.h"

#include <algorithm>
#include <cmath>

#include "framework/graphics/Brush.h"
#include "framework/graphics/Canvas.h"

namespace hx {

namespace {

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// One ring: the four one-pixel edges of r.
void Ring(TCanvas* canvas, const TRect& r)
{
    canvas->FillRect(Rect(r.Left, r.Top, r.Right, r.Top + 1));
    canvas->FillRect(Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    canvas->FillRect(Rect(r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1));
    canvas->FillRect(Rect(r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1));
}

} // namespace

double RelativeLuminance(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return 0.2126 * Linear(GetRValue(rgb)) + 0.7152 * Linear(GetGValue(rgb)) + 0.0722 * Linear(GetBValue(rgb));
}

double ContrastRatio(TColor a, TColor b)
{
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TFocusRingColors FocusRingColors(TColor face)
{
    if (ContrastRatio(face, clBlack) >= ContrastRatio(face, clWhite))
        return {clWhite, clBlack};
    return {clBlack, clWhite};
}

void DrawFocusRing(TCanvas* canvas, const TRect& r, TColor face)
{
    if (r.Width() < 4 || r.Height() < 4)
        return; // no room for two rings around anything
    const TFocusRingColors colors = FocusRingColors(face);
    TBrush* brush = canvas->Brush();
    const TColor savedColor = brush->Color();
    const TBrushStyle savedStyle = brush->Style();
    brush->SetStyle(bsSolid);
    brush->SetColor(colors.Outer);
    Ring(canvas, r);
    brush->SetColor(colors.Inner);
    Ring(canvas, Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
    brush->SetColor(savedColor);
    brush->SetStyle(savedStyle);
}

} // namespace hx
