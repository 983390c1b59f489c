#include "widgets/shinespdbtn/ShineGlyph.h"

#include <algorithm>

#include "framework/graphics/PixelWord.h"

namespace hx {

namespace {


// Applies f to each channel of every opaque pixel; key pixels stay as they are.
template <class F>
void ForEachOpaqueChannel(TBitmap& image, std::uint32_t key, F f)
{
    const int w = image.Width();
    for (int y = 0; y < image.Height(); ++y) {
        std::uint32_t* row = GlyphRow(image, y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x];
            if ((p & kPixelRgbMask) == key)
                continue;
            row[x] = PackPixel(f(PixelRed(p), 0), f(PixelGreen(p), 1), f(PixelBlue(p), 2));
        }
    }
}

// Opaque pixels on the odd diagonals become fill: neighbouring rows are offset by one, so
// the mesh never turns into stripes, whatever the width.
void Mesh(TBitmap& image, std::uint32_t key, std::uint32_t fill)
{
    const int w = image.Width();
    for (int y = 0; y < image.Height(); ++y) {
        std::uint32_t* row = GlyphRow(image, y);
        for (int x = 1 - (y & 1); x < w; x += 2)
            if ((row[x] & kPixelRgbMask) != key)
                row[x] = fill;
    }
}

// The outline around the glyph's shape, painted on key pixels. Every test reads the glyph,
// never the result, so painted pixels never count as opaque and the outline cannot creep.
void Outline(TBitmap& glyph, TBitmap& result, std::uint32_t key, std::uint32_t shine, bool thick)
{
    const int w = glyph.Width();
    const int h = glyph.Height();
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* above = y > 0 ? GlyphRow(glyph, y - 1) : nullptr;
        const std::uint32_t* here = GlyphRow(glyph, y);
        const std::uint32_t* below = y + 1 < h ? GlyphRow(glyph, y + 1) : nullptr;
        std::uint32_t* outAbove = y > 0 ? GlyphRow(result, y - 1) : nullptr;
        std::uint32_t* outHere = GlyphRow(result, y);
        std::uint32_t* outBelow = y + 1 < h ? GlyphRow(result, y + 1) : nullptr;
        auto isKey = [key](std::uint32_t p) { return (p & kPixelRgbMask) == key; };
        for (int x = 0; x < w; ++x) {
            if (!isKey(here[x]))
                continue;
            const bool edge = (x + 1 < w && !isKey(here[x + 1])) || (x > 0 && !isKey(here[x - 1])) ||
                              (below && !isKey(below[x])) || (above && !isKey(above[x]));
            if (!edge)
                continue;
            outHere[x] = shine;
            if (!thick)
                continue;
            if (x > 0 && isKey(here[x - 1]))
                outHere[x - 1] = shine;
            if (x + 1 < w && isKey(here[x + 1]))
                outHere[x + 1] = shine;
            if (above && isKey(above[x]))
                outAbove[x] = shine;
            if (below && isKey(below[x]))
                outBelow[x] = shine;
        }
    }
}

// White where a 2 x 2 block of the glyph has a colour edge across either diagonal, black
// elsewhere (the last row and column included); then one bit deep.
void EmbossMask(TBitmap& glyph, TBitmap& result)
{
    const int w = glyph.Width();
    const int h = glyph.Height();
    for (int y = 0; y < h; ++y)
        std::fill_n(GlyphRow(result, y), w, 0u);
    for (int y = 0; y + 1 < h; ++y) {
        const std::uint32_t* top = GlyphRow(glyph, y);
        const std::uint32_t* bottom = GlyphRow(glyph, y + 1);
        std::uint32_t* out = GlyphRow(result, y);
        for (int x = 0; x + 1 < w; ++x)
            if (((top[x] ^ bottom[x + 1]) & kPixelRgbMask) || ((top[x + 1] ^ bottom[x]) & kPixelRgbMask))
                out[x] = kPixelRgbMask;
    }
    result.SetMonochrome(true);
}

} // namespace

void ApplyActiveImage(TActiveImageType type, TBitmap& glyph, TBitmap& result, std::uint32_t key, std::uint32_t shine)
{
    const unsigned s[3] = {PixelRed(shine), PixelGreen(shine), PixelBlue(shine)};
    switch (type) {
    case aiNormal:
        break;
    case aiXorLight:
        ForEachOpaqueChannel(result, key, [&s](unsigned c, int i) { return c ^ s[i]; });
        break;
    case aiHalfLight:
        ForEachOpaqueChannel(result, key, [&s](unsigned c, int i) { return (c + s[i]) / 2; });
        break;
    case aiQuaterLight:
        ForEachOpaqueChannel(result, key, [&s](unsigned c, int i) { return (c + 3 * s[i]) / 4; });
        break;
    case aiAddLight:
        ForEachOpaqueChannel(result, key, [&s](unsigned c, int i) { return std::min(c + s[i], 255u); });
        break;
    case aiFrameLight:
    case aiFrameLight2:
        Outline(glyph, result, key, shine, type == aiFrameLight2);
        break;
    case aiMaskLight:
        Mesh(result, key, shine);
        break;
    }
}

bool ApplyDisabledImage(TDisabledImageType type, TBitmap& glyph, TBitmap& result, std::uint32_t key, std::uint32_t face)
{
    const unsigned f[3] = {PixelRed(face), PixelGreen(face), PixelBlue(face)};
    switch (type) {
    case diDefault:
        EmbossMask(glyph, result);
        return true;
    case diGrayscale: {
        const int w = result.Width();
        for (int y = 0; y < result.Height(); ++y) {
            std::uint32_t* row = GlyphRow(result, y);
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = row[x];
                if ((p & kPixelRgbMask) == key)
                    continue;
                const unsigned grey = (PixelRed(p) + PixelGreen(p) + PixelBlue(p)) / 3;
                row[x] = PackPixel(grey, grey, grey);
            }
        }
        break;
    }
    case diAlphaHalfTrans:
        ForEachOpaqueChannel(result, key, [&f](unsigned c, int i) { return (c + f[i]) / 2; });
        break;
    case diAlphaQuaterTrans:
        ForEachOpaqueChannel(result, key, [&f](unsigned c, int i) { return (c + 3 * f[i]) / 4; });
        break;
    case diMaskTrans:
        Mesh(result, key, key);
        break;
    }
    return false;
}

} // namespace hx
