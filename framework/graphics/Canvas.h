#pragma once
// TCanvas: the drawing surface every control and bitmap paints through. A canvas does not
// own pixels; it asks its owner (AcquireTarget) for the image to draw into before each
// operation and reports afterwards which part it touched (Changed). The bitmap's canvas and
// the control's canvas differ only in those two hooks.
//
// Pixel rules (they are what the widgets' drawing is built on):
//   FillRect(r)              brush over [Left,Right) x [Top,Bottom)
//   Rectangle(x1,y1,x2,y2)   pen outline on columns x1, x2-1 and rows y1, y2-1, brush inside;
//                            with psClear only the fill, over x1..x2-2 and y1..y2-2
//                            a pen of width w > 1 draws each edge as a band of w pixels
//                            starting (w-1)/2 before the edge line (centred for odd w)
//   MoveTo/LineTo            the end point is not painted; psDash draws 18 on, 6 off
//   TextOut(x,y,s)           the text cell's top-left at (x,y); the cell is filled with the
//                            brush colour unless the brush is clear; text is not antialiased
//   Draw(x,y,bmp)            1:1 copy; a transparent bitmap skips its TransparentColor; a
//                            1-bit image maps 0 to the text colour and 1 to the background
//   StretchDraw(r,bmp)       no blending: target column i takes source column i*srcW/dstW
// The fills, outlines, lines, unscaled draws and pixel accessors allocate nothing.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/graphics/Brush.h"
#include "framework/core/Color.h"
#include "framework/core/Events.h"
#include "framework/graphics/Font.h"
#include "framework/core/Object.h"
#include "framework/graphics/Pen.h"
#include "framework/core/Types.h"

namespace hx {

class TBitmap;
class TCanvasAccess; // the handle-level calls (Gdi) and the bitmap reach inside

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// What a canvas draws into: an image of 32-bit pixel words (red << 16 | green << 8 | blue;
// the top byte is ignored when read and written as 0xFF).
struct TCanvasTarget {
    std::uint32_t* Bits = nullptr; // row 0 of the whole image
    int StrideWords = 0;           // words per row
    int Width = 0, Height = 0;     // the whole image
    TPoint Origin;                 // where the canvas's (0,0) lies in the image
    TRect Clip;                    // image coordinates; nothing outside it is touched
};

// A line of text just drawn (image coordinates), for an owner that shows the image at a
// higher resolution and draws the glyphs there again (see TCanvas::TextDrawn).
struct TTextDrawing {
    const TFont* Font = nullptr;
    const std::string* Text = nullptr;
    int Left = 0, Baseline = 0;            // the glyphs' origin
    TRect Limit;                           // the clip the glyphs were drawn within
    int UnderlineFrom = 0, UnderlineTo = 0; // bytes of Text underlined
    bool RightToLeft = false;              // read right to left (ETO_RTLREADING)
};

// TCanvas::TextFlags.
enum : unsigned {
    ETO_RTLREADING = 0x80, // text reads right to left (neutral characters order that way)
};

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    const char* ClassName() const override { return "TCanvas"; }

    // Owned; the setters copy the attributes of value.
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value);
    TPen* Pen() const { return FPen.get(); }
    void SetPen(TPen* value);
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* value);
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint value) { FPenPos = value; }

    void FillRect(const TRect& r);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

    void TextOut(int x, int y, const std::string& text);
    // TextOut clipped to r as well as to the canvas.
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    int TextWidth(const std::string& text) const;  // advance width
    int TextHeight(const std::string& text) const; // ascent + descent
    TSize TextExtent(const std::string& text) const;

    void Draw(int x, int y, TBitmap* graphic);
    void StretchDraw(const TRect& r, TBitmap* graphic);

    // One pixel as a TColor (0x00BBGGRR); -1 outside the clip or with nothing to draw on.
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    // The drawable part in canvas coordinates; empty with nothing to draw on.
    TRect ClipRect();

    // Device state used when a one-bit image meets a colour target: 0 bits take the text
    // colour, 1 bits the background colour (SetTextColor/SetBkColor in Gdi.h set them).
    // How text is drawn: ETO_RTLREADING or 0.
    unsigned TextFlags() const { return FTextFlags; }
    void SetTextFlags(unsigned value) { FTextFlags = value; }

    TColor DeviceTextColor() const { return FTextColor; }
    TColor DeviceBkColor() const { return FBkColor; }

    TNotifyEvent OnChange; // after every drawing operation that touched pixels

protected:
    // Asked before every drawing operation. False: nothing to draw on (an empty bitmap);
    // may raise (a control without a parent window raises EInvalidOperation).
    virtual bool AcquireTarget(TCanvasTarget& target) = 0;
    // Told after every drawing operation which part of the image it touched (image coords).
    virtual void Changed(const TRect& touched) = 0;
    // True when the image behind this canvas is one bit deep, so that reading it as a
    // source (BitBlt) sees black and white bits.
    virtual bool IsMonochrome() const { return false; }
    // Text drawing brackets its glyphs: TextBegin(limit) once the background is in place,
    // before the glyphs (only they change within limit until TextDrawn); TextDrawn after the
    // glyphs were drawn and reported through Changed.
    virtual void TextBegin(const TRect& /*limit*/) {}
    virtual void TextDrawn(const TTextDrawing& /*drawing*/) {}
    // After Draw copied graphic 1:1 with its top-left at (x, y) (canvas coordinates).
    virtual void BitmapDrawn(const TBitmap& /*graphic*/, int /*x*/, int /*y*/) {}

private:
    friend class TCanvasAccess;

    void Touched(const TRect& touched);
    void DrawLine(const TCanvasTarget& t, int x0, int y0, int x1, int y1);
    void PenBand(const TCanvasTarget& t, int left, int top, int right, int bottom,
                 std::uint32_t pen, unsigned& dashPhase, bool horizontal);
    void DrawTextCell(const TRect* clip, int x, int y, const std::string& text, int underlineFrom,
                      int underlineTo);
    void CopyBitmap(const TRect& dest, TBitmap* graphic);

    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TPoint FPenPos;
    unsigned FTextFlags = 0;
    TColor FTextColor = clBlack;
    TColor FBkColor = clWhite;
};

} // namespace hx
