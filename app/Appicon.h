#pragma once
// The application icon: a 32 × 32 miniature of the palette's hexagon.
#include "framework/Bitmap.h"

namespace hx {

class TForm;

// Draws the icon into bitmap (32 × 32, transparent outside the hexagon).
void DrawApplicationIcon(TBitmap& bitmap);
// Makes it the icon of the application's windows.
void SetApplicationIcon(TForm* form);

} // namespace hx
