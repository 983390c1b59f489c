#pragma once
// Framework-private: the toolkit image of an icon bitmap (see IconImage.h).
#include <QImage>

#include "framework/graphics/Bitmap.h"

namespace hx {

QImage IconToQImage(const TBitmap& image);

} // namespace hx
