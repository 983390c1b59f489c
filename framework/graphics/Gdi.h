#pragma once
// The handle-level drawing calls the widgets use directly. A canvas stands for the device
// context.
#include <cstdint>

#include "framework/core/Color.h"
#include "framework/core/Types.h"

namespace hx {

class TCanvas;
class TBitmap;

// DrawText flags.
enum : unsigned {
    DT_LEFT = 0x0,
    DT_TOP = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,      // only with DT_SINGLELINE
    DT_BOTTOM = 0x8,       // only with DT_SINGLELINE
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,  // tab stops every 8 average character widths
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,   // measure only: r.Right and r.Bottom become the extent
    DT_NOPREFIX = 0x800,   // without it "&x" underlines x and "&&" is one "&"
    DT_RTLREADING = 0x20000, // each line reads right to left (see TCanvas::TextFlags)
};

// Draws (or with DT_CALCRECT measures) text in r. len -1 means up to the NUL. "\r\n",
// "\n" and "\r" start new lines; DT_WORDBREAK breaks at spaces, a word longer than the line
// standing alone. The text is clipped to r unless DT_NOCLIP. The cell background follows
// the canvas brush, as with TextOut. Returns the height of the text.
int DrawText(TCanvas* canvas, const char* text, int len, TRect& r, unsigned flags);

// Raster operations: the low word is the platform's encoding, the third byte the truth table
// over pattern (brush), source and destination bits.
enum : std::uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    PATCOPY = 0x00F00021,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
    ROP_PSDPXAX = 0x00E20746, // D xor (P and (S xor D)): brush where the source is white
};

// Copies w x h pixels from (sx, sy) of source to (x, y) of dest with the raster operation.
// A one-bit source meeting a colour target reads its 0 bits as dest's text colour and its
// 1 bits as dest's background colour. Returns false when nothing could be drawn.
bool BitBlt(TCanvas* dest, int x, int y, int w, int h, TCanvas* source, int sx, int sy,
            std::uint32_t rop);
bool BitBlt(TCanvas* dest, int x, int y, int w, int h, TBitmap* source, int sx, int sy,
            std::uint32_t rop);

// Set the canvas's text and background colours for one-bit sources; return the old value.
TColor SetTextColor(TCanvas* canvas, TColor color);
TColor SetBkColor(TCanvas* canvas, TColor color);

} // namespace hx
