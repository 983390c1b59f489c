#pragma once
// The keyboard focus indicator: two one-pixel rings, one black and one white, just inside a
// control's rectangle. Black and white differ by 21:1, so against any colour at least one of
// them reaches 4.58:1 (the square root of 21): the indicator stays visible on any face and
// any backdrop, which the desktop's dotted XOR rectangle does not (it nearly vanishes on
// mid greys). The ring that touches the face is the one that contrasts more with it.
#include "framework/core/Types.h"
#include "framework/core/Color.h"

namespace hx {

class TCanvas;

// The relative luminance of a colour (0 black … 1 white), from its sRGB channels.
double RelativeLuminance(TColor color);
// The contrast ratio of two colours, 1 … 21, the lighter one's luminance over the darker's
// (each plus 0.05).
double ContrastRatio(TColor a, TColor b);

struct TFocusRingColors {
    TColor Outer;
    TColor Inner; // next to the face
};
// The ring colours for a control whose face is face.
TFocusRingColors FocusRingColors(TColor face);

// Draws the indicator along the inside of r (the outer ring on r's edge pixels, the inner
// one a pixel further in). The canvas's brush is left as it was.
void DrawFocusRing(TCanvas* canvas, const TRect& r, TColor face);

} // namespace hx
