#include "app/Appicon.h"

#include <cstdio>
#include <cstdlib>

#include "app/Palette.h"
#include "framework/graphics/Canvas.h"
#include "framework/core/Exception.h"
#include "framework/runtime/Form.h"

namespace hx {

namespace {

constexpr int kColumns = 7; // the icon's hexagon
constexpr int kCell = 4;    // grid units
constexpr int kMargin = 2;
constexpr TColor kKey = RGB(1, 2, 3); // no web colour, so it never clashes with a cell

} // namespace

std::vector<TAppIconCell> ApplicationIconCells(int size)
{
    if (size <= 0 || size % (kAppIconGrid / 2) != 0)
        throw EInvalidOperation("The application icon is drawn at multiples of 16 pixels, not " +
                                std::to_string(size));
    // Scaled by size/32 in two steps (× size, ÷ 32): every grid coordinate is even.
    const auto px = [size](int units) { return units * size / kAppIconGrid; };
    std::vector<TAppIconCell> cells;
    for (int c = 0; c < kColumns; ++c) {
        const int m = std::abs(c - kColumns / 2);
        const int rows = kColumns - m;
        const int paletteColumn = (c * (kPaletteColumns - 1) + (kColumns - 1) / 2) / (kColumns - 1);
        const int paletteRows = PaletteColumnHeight(paletteColumn);
        for (int k = 0; k < rows; ++k) {
            const int paletteRow = rows > 1 ? (k * (paletteRows - 1) + (rows - 1) / 2) / (rows - 1) : 0;
            const int x = kMargin + kCell * c;
            const int y = kMargin + (kCell / 2) * m + kCell * k;
            cells.push_back({Rect(px(x), px(y), px(x + kCell), px(y + kCell)),
                             PaletteColor(paletteColumn, paletteRow)});
        }
    }
    return cells;
}

void DrawApplicationIcon(TBitmap& bitmap, int size)
{
    const std::vector<TAppIconCell> cells = ApplicationIconCells(size);
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(size, size);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(kKey);
    canvas->FillRect(Rect(0, 0, size, size));
    for (const TAppIconCell& cell : cells) {
        canvas->Brush()->SetColor(cell.Color);
        canvas->FillRect(cell.Bounds);
    }
    bitmap.SetTransparentColor(kKey);
    bitmap.SetTransparent(true);
}

std::string ApplicationIconSvg()
{
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
                      "viewBox=\"0 0 32 32\" shape-rendering=\"crispEdges\">\n";
    char line[128];
    for (const TAppIconCell& cell : ApplicationIconCells(kAppIconGrid)) {
        const TColor rgb = ColorToRGB(cell.Color);
        std::snprintf(line, sizeof line,
                      "  <rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#%02x%02x%02x\"/>\n",
                      cell.Bounds.Left, cell.Bounds.Top, cell.Bounds.Width(), cell.Bounds.Height(),
                      GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
        svg += line;
    }
    return svg + "</svg>\n";
}

void SetApplicationIcon(TForm* form)
{
    TBitmap icon;
    DrawApplicationIcon(icon);
    form->SetIcon(icon);
}

} // namespace hx
