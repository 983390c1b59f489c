#pragma once
// The palette's generation rules: where swatch n stands and what it shows. The form
// description carries the palette as data; these rules explain it, let a test check every
// row of it, and draw the application icon as a miniature of it.
#include <string>

#include "framework/core/Color.h"

namespace hx {

struct TSwatchSpec {
    int Column = 0;        // 0 … 10, left to right
    int Row = 0;           // position in the column from the top
    int Left = 0, Top = 0; // in the window's client area
    TColor Color = 0;
    std::string Caption;   // "#rrggbb"
    std::string Hint;      // "RGB(r,g,b)"
    TColor CaptionOverColor = 0;
    TColor FontColor = 0;
};

constexpr int kPaletteColumns = 11;

// Swatches in column c (11 − |c − 5|).
int PaletteColumnHeight(int column);
// The colour at (column, row) by the palette's channel rules.
TColor PaletteColor(int column, int row);
// Swatch n, 1 … 91, numbered column by column and top to bottom within a column.
TSwatchSpec GeneratedSwatch(int n);

} // namespace hx
