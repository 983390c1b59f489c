#pragma once
// The application icon: a miniature of the palette's hexagon, 7 columns of square cells,
// each showing the palette swatch standing in the same place. Its geometry is laid out on
// a 32-unit grid and scales to any multiple of 16 pixels without rounding, so the window's
// icon, the desktop's PNG sizes and the scalable image share one drawing.
#include <string>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/core/Types.h"

namespace hx {

class TForm;

constexpr int kAppIconGrid = 32; // the design size: cells of 4 units, a 2-unit margin

struct TAppIconCell {
    TRect Bounds; // in pixels of the requested size
    TColor Color;
};

// The icon's cells at size pixels (a multiple of 16), in drawing order.
std::vector<TAppIconCell> ApplicationIconCells(int size = kAppIconGrid);
// Draws the icon into bitmap (size × size, transparent outside the hexagon).
void DrawApplicationIcon(TBitmap& bitmap, int size = kAppIconGrid);
// The same cells as a scalable image (an SVG document on the 32-unit grid).
std::string ApplicationIconSvg();
// Makes it the icon of the application's windows.
void SetApplicationIcon(TForm* form);

} // namespace hx
