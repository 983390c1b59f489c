#pragma once
// Framework-private: the pixel store behind TBitmap.
//
// The store keeps rows in the layout of the bitmap's format (what ScanLine hands out). A
// canvas always draws on 32-bit words, so a 1- or 24-bit image is drawn through a 32-bit
// shadow: rebuilt from the rows before each operation and written back over the touched
// part after it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QFont>
#include <QRgb>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

namespace hx {

// A line of text drawn into a 32-bit bitmap while some form shows its window at a device
// pixel ratio above 1: enough to draw the glyphs again at that resolution wherever the
// bitmap is copied 1:1 (bitmap coordinates). Any later change of the bitmap drops it.
struct TBitmapText {
    QFont Face;
    QRgb Ink = 0;
    std::string Text;
    int Left = 0, Baseline = 0;
    TRect Limit;                          // the glyphs' clip
    TRect Underline;                      // empty when none
    bool RightToLeft = false;             // read right to left
    std::vector<std::uint32_t> Backdrop;  // Limit's pixels before the glyphs, row by row
};

// The glyphs of a text drawing, without a backdrop.
TBitmapText TextOf(const TTextDrawing& drawing);

// Whether bitmaps keep their text lines (some form shows at a ratio above 1). Counted: each
// such form adds one while it does.
void HoldBitmapText(bool hold);
bool BitmapTextHeld();

struct TBitmapImage {
    int Width = 0;
    int Height = 0;
    TPixelFormat Format = pfDevice;
    TBitmapHandleType HandleType = bmDDB;
    int StrideWords = 0;              // words per row of Rows
    std::vector<std::uint32_t> Rows;  // the image in its format's layout
    std::vector<std::uint32_t> Shadow; // 32-bit view while drawing on a 1- or 24-bit image
    std::unique_ptr<TCanvas> Canvas;
    std::vector<TBitmapText> Texts;   // see TBitmapText; empty unless BitmapTextHeld()
    std::vector<std::uint32_t> PendingBackdrop;

    bool Wide() const { return Format == pfDevice || Format == pf32bit; }
    bool Empty() const { return Width <= 0 || Height <= 0; }
    std::uint32_t* Row(int y) { return Rows.data() + static_cast<std::size_t>(y) * StrideWords; }
    const std::uint32_t* Row(int y) const
    {
        return Rows.data() + static_cast<std::size_t>(y) * StrideWords;
    }

    // The pixel as 0x00RRGGBB; a 1-bit pixel reads as black or white.
    std::uint32_t Word(int x, int y) const
    {
        const std::uint32_t* row = Row(y);
        switch (Format) {
        case pf1bit: {
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(row);
            return (bytes[x >> 3] & (0x80u >> (x & 7))) ? 0xFFFFFFu : 0u;
        }
        case pf24bit: {
            const auto* p = reinterpret_cast<const std::uint8_t*>(row) + x * 3;
            return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                   static_cast<std::uint32_t>(p[2]) << 16;
        }
        default:
            return row[x] & 0xFFFFFFu;
        }
    }
    // Stores a 0x00RRGGBB word in the format's layout (1 bit: exactly white is 1).
    void SetWord(int x, int y, std::uint32_t word);
};

} // namespace hx
