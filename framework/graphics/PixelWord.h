#pragma once
// Pixel words: how 32-bit surfaces and bitmap rows hold a colour, 0xAARRGGBB (blue in the
// low byte, the reverse of TColor's order). The one place that packs and unpacks them.
#include <cstdint>

#include "framework/core/Color.h"

namespace hx {

constexpr std::uint32_t kPixelRgbMask = 0x00FFFFFFu;
constexpr std::uint32_t kPixelOpaque = 0xFF000000u;

// Channels in 0..255 to a word with top byte 0.
constexpr std::uint32_t PackPixel(unsigned r, unsigned g, unsigned b) { return r << 16 | g << 8 | b; }
constexpr unsigned PixelRed(std::uint32_t p) { return (p >> 16) & 0xFFu; }
constexpr unsigned PixelGreen(std::uint32_t p) { return (p >> 8) & 0xFFu; }
constexpr unsigned PixelBlue(std::uint32_t p) { return p & 0xFFu; }

// A colour (system colours resolved) as a word with top byte 0.
inline std::uint32_t ColorToPixel(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return PackPixel(static_cast<unsigned>(GetRValue(rgb)), static_cast<unsigned>(GetGValue(rgb)),
                     static_cast<unsigned>(GetBValue(rgb)));
}

// The same with top byte 0xFF, as an opaque surface holds it.
inline std::uint32_t ColorToOpaquePixel(TColor color) { return kPixelOpaque | ColorToPixel(color); }

// A word back to a TColor; the top byte is ignored.
constexpr TColor PixelToColor(std::uint32_t p)
{
    return RGB(static_cast<int>(PixelRed(p)), static_cast<int>(PixelGreen(p)), static_cast<int>(PixelBlue(p)));
}

} // namespace hx
