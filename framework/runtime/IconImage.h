#pragma once
// Icons: a bitmap whose transparent colour stands for "no pixel" turned into an image with
// an alpha channel, as window icons and the desktop's icon themes want them.
#include <string>

#include "framework/graphics/Bitmap.h"

namespace hx {

// Writes image as a PNG with alpha: with Transparent set, every pixel of its transparent
// colour is fully transparent, every other pixel opaque. Raises EInvalidGraphic when the
// file cannot be written or the image is empty.
void SaveIconToFile(const TBitmap& image, const std::string& fileName);

} // namespace hx
