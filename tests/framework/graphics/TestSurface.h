#pragma once
// A canvas over a plain pixel buffer, standing in for a form's surface: it records what
// each drawing operation reports as touched, and can place the canvas origin and clip.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/graphics/Canvas.h"
#include "framework/core/Exception.h"

namespace hx::test {

inline std::uint32_t WordOf(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return static_cast<std::uint32_t>(GetRValue(rgb)) << 16 | static_cast<std::uint32_t>(GetGValue(rgb)) << 8 |
           static_cast<std::uint32_t>(GetBValue(rgb));
}

class TTestSurface : public TCanvas {
public:
    TTestSurface(int width, int height, TColor fill = clWhite)
        : Bits(static_cast<std::size_t>(width) * height, 0xFF000000u | WordOf(fill)), W(width), H(height),
          Clip(Rect(0, 0, width, height))
    {
    }

    // The image pixel (image coordinates) as 0x00RRGGBB.
    std::uint32_t At(int x, int y) const { return Bits[static_cast<std::size_t>(y) * W + x] & 0xFFFFFFu; }

    // The image as one string per row, one character per pixel from legend ("R" = red ...).
    std::vector<std::string> Picture() const
    {
        std::vector<std::string> rows;
        for (int y = 0; y < H; ++y) {
            std::string row;
            for (int x = 0; x < W; ++x)
                row += Letter(At(x, y));
            rows.push_back(row);
        }
        return rows;
    }

    static char Letter(std::uint32_t word)
    {
        switch (word) {
        case 0xFFFFFF: return '.';
        case 0xFF0000: return 'R';
        case 0x00FF00: return 'G';
        case 0x0000FF: return 'B';
        case 0x000000: return 'K';
        case 0xFFFF00: return 'Y';
        default: return '?';
        }
    }

    std::vector<std::uint32_t> Bits;
    int W, H;
    TPoint Origin;
    TRect Clip;
    bool Detached = false; // AcquireTarget raises, as a control without a parent does
    int ChangedCount = 0;
    TRect LastTouched;
    TRect AllTouched;

protected:
    bool AcquireTarget(TCanvasTarget& target) override
    {
        if (Detached)
            throw EInvalidOperation("Control 'Test' has no parent window");
        target.Bits = Bits.data();
        target.StrideWords = W;
        target.Width = W;
        target.Height = H;
        target.Origin = Origin;
        target.Clip = Clip;
        return true;
    }

    void Changed(const TRect& touched) override
    {
        ++ChangedCount;
        LastTouched = touched;
        AllTouched = UnionRect(AllTouched, touched);
    }
};

} // namespace hx::test
