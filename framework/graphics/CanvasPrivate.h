#pragma once
// Framework-private: what the handle-level calls (Gdi) need from inside a canvas.
#include <string>

#include "framework/graphics/Canvas.h"
#include "framework/graphics/PixelWord.h"

namespace hx {

class TCanvasAccess {
public:
    static bool Acquire(TCanvas& canvas, TCanvasTarget& target) { return canvas.AcquireTarget(target); }
    static void Touched(TCanvas& canvas, const TRect& touched) { canvas.Touched(touched); }
    static bool IsMonochrome(const TCanvas& canvas) { return canvas.IsMonochrome(); }
    static void SetTextColor(TCanvas& canvas, TColor color) { canvas.FTextColor = color; }
    static void SetBkColor(TCanvas& canvas, TColor color) { canvas.FBkColor = color; }
    // Text with its cell's top-left at (x, y), clipped to clip (canvas coordinates) and the
    // canvas; bytes [underlineFrom, underlineTo) of text are underlined.
    static void DrawTextCell(TCanvas& canvas, const TRect* clip, int x, int y, const std::string& text,
                             int underlineFrom, int underlineTo)
    {
        canvas.DrawTextCell(clip, x, y, text, underlineFrom, underlineTo);
    }
};

} // namespace hx
