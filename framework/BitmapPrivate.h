#pragma once
// Framework-private: the pixel store behind TBitmap.
//
// The store keeps rows in the layout of the bitmap's format (what ScanLine hands out). A
// canvas always draws on 32-bit words, so a 1- or 24-bit image is drawn through a 32-bit
// shadow: rebuilt from the rows before each operation and written back over the touched
// part after it.
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Canvas.h"

namespace hx {

struct TBitmapImage {
    int Width = 0;
    int Height = 0;
    TPixelFormat Format = pfDevice;
    TBitmapHandleType HandleType = bmDDB;
    int StrideWords = 0;              // words per row of Rows
    std::vector<std::uint32_t> Rows;  // the image in its format's layout
    std::vector<std::uint32_t> Shadow; // 32-bit view while drawing on a 1- or 24-bit image
    std::unique_ptr<TCanvas> Canvas;

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
