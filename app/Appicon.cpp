#include "app/Appicon.h"

#include <cstdlib>

#include "app/Palette.h"
#include "framework/Canvas.h"
#include "framework/Form.h"

namespace hx {

namespace {

constexpr int kIconSize = 32;
constexpr int kColumns = 7; // the icon's hexagon: 7 columns of 4 × 4 cells
constexpr int kCell = 4;
constexpr TColor kKey = RGB(1, 2, 3); // no web colour, so it never clashes with a cell

} // namespace

void DrawApplicationIcon(TBitmap& bitmap)
{
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(kIconSize, kIconSize);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(kKey);
    canvas->FillRect(Rect(0, 0, kIconSize, kIconSize));
    for (int c = 0; c < kColumns; ++c) {
        const int m = std::abs(c - kColumns / 2);
        const int rows = kColumns - m;
        // Each icon cell shows the palette swatch standing in the same place.
        const int paletteColumn = (c * (kPaletteColumns - 1) + (kColumns - 1) / 2) / (kColumns - 1);
        const int paletteRows = PaletteColumnHeight(paletteColumn);
        for (int k = 0; k < rows; ++k) {
            const int paletteRow = rows > 1 ? (k * (paletteRows - 1) + (rows - 1) / 2) / (rows - 1) : 0;
            canvas->Brush()->SetColor(PaletteColor(paletteColumn, paletteRow));
            const int x = 2 + kCell * c;
            const int y = 2 + (kCell / 2) * m + kCell * k;
            canvas->FillRect(Rect(x, y, x + kCell, y + kCell));
        }
    }
    bitmap.SetTransparentColor(kKey);
    bitmap.SetTransparent(true);
}

void SetApplicationIcon(TForm* form)
{
    TBitmap icon;
    DrawApplicationIcon(icon);
    form->SetIcon(icon);
}

} // namespace hx
