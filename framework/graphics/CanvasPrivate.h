#pragma once
// Framework-private: what the handle-level calls (Gdi) need from inside a canvas.
#include <string>

#include "framework/graphics/Canvas.h"

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

// A colour as a surface word: resolved, red << 16 | green << 8 | blue, top byte 0xFF.
inline std::uint32_t ColorToWord(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return 0xFF000000u | static_cast<std::uint32_t>(GetRValue(rgb)) << 16 |
           static_cast<std::uint32_t>(GetGValue(rgb)) << 8 | static_cast<std::uint32_t>(GetBValue(rgb));
}

inline TColor WordToColor(std::uint32_t word)
{
    return RGB(static_cast<int>((word >> 16) & 0xFF), static_cast<int>((word >> 8) & 0xFF),
               static_cast<int>(word & 0xFF));
}

} // namespace hx
