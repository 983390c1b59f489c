#include "app/Palette.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace hx {

int PaletteColumnHeight(int column)
{
    return 11 - std::abs(column - 5);
}

TColor PaletteColor(int c, int k)
{
    const int j = k - 5;
    if (c <= 5) {
        if (k <= 5)
            return RGB(51 * c, 51 * k, 255);
        return RGB(51 * (c - j), 255, 255 - 51 * j);
    }
    const int d = 10 - c;
    if (k <= 5)
        return RGB(255, 51 * k, 51 * d);
    return RGB(255 - 51 * j, 255, 51 * (d - j));
}

TSwatchSpec GeneratedSwatch(int n)
{
    if (n < 1 || n > 91)
        throw std::out_of_range("swatch number");
    TSwatchSpec s;
    int first = 1;
    while (n >= first + PaletteColumnHeight(s.Column)) {
        first += PaletteColumnHeight(s.Column);
        ++s.Column;
    }
    s.Row = n - first;
    s.Left = 4 + 40 * s.Column;
    s.Top = 4 + 10 * std::abs(s.Column - 5) + 20 * s.Row;
    s.Color = PaletteColor(s.Column, s.Row);

    const int r = GetRValue(s.Color), g = GetGValue(s.Color), b = GetBValue(s.Color);
    char text[32];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", r, g, b);
    s.Caption = text;
    // Swatch 70's hint has always read "RGB(102,255,00)"; the data keeps it.
    std::snprintf(text, sizeof text, n == 70 ? "RGB(%d,%d,%02d)" : "RGB(%d,%d,%d)", r, g, b);
    s.Hint = text;
    // Red and blue exchanged; the white swatch shows a black caption instead of white on white.
    s.CaptionOverColor = n == 46 ? clBlack : RGB(b, g, r);
    s.FontColor = (r >= 204 && g >= 204 && b >= 204) ? clGray : clWhite;
    return s;
}

} // namespace hx
