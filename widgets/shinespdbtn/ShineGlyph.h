#pragma once
// The shine button's state images as pure pixel passes over 32-bit bitmaps. glyph is the
// source image, result a 32-bit copy of it that the pass changes; key is the see-through
// colour as a pixel word (top byte 0): key pixels are never treated as part of the image.
#include <cstdint>

#include "framework/core/EnumNames.h"
#include "framework/graphics/Bitmap.h"

namespace hx {

// How the glyph is lit while hovered or pressed (tinted with ShineColor).
#define HX_ACTIVEIMAGETYPE_VALUES(X)                                                                  \
    X(aiNormal) X(aiXorLight) X(aiHalfLight) X(aiQuaterLight) X(aiAddLight) X(aiFrameLight) X(aiFrameLight2) \
    X(aiMaskLight)
enum TActiveImageType : unsigned char { HX_ACTIVEIMAGETYPE_VALUES(HX_ENUM_VALUE) };

// How the glyph is shown while disabled (blended with the face colour of Colors).
#define HX_DISABLEDIMAGETYPE_VALUES(X) \
    X(diDefault) X(diGrayscale) X(diAlphaHalfTrans) X(diAlphaQuaterTrans) X(diMaskTrans)
enum TDisabledImageType : unsigned char { HX_DISABLEDIMAGETYPE_VALUES(HX_ENUM_VALUE) };

// Row y of a 32-bit bitmap as pixel words.
inline std::uint32_t* GlyphRow(TBitmap& bitmap, int y) { return static_cast<std::uint32_t*>(bitmap.ScanLine(y)); }

// The hovered or pressed image, lit with shine.
void ApplyActiveImage(TActiveImageType type, TBitmap& glyph, TBitmap& result, std::uint32_t key, std::uint32_t shine);
// The disabled image, blended with face; true when the result became the one-bit emboss mask.
bool ApplyDisabledImage(TDisabledImageType type, TBitmap& glyph, TBitmap& result, std::uint32_t key,
                        std::uint32_t face);

} // namespace hx
