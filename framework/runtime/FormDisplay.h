#pragma once
// Framework-private: a form's display image, used on a screen with a device pixel ratio
// above 1. The window shows it instead of the surface: every surface pixel a solid block
// (no smoothing), text drawn again at the display's resolution. The surface stays in
// logical pixels.
//
// Display pixel X shows surface pixel floor(X / scale); so surface [a, b) covers display
// [ceil(a·scale), ceil(b·scale)), and at ratio 2 each surface pixel is a 2 × 2 block.
#include <QImage>
#include <QRect>

#include "framework/core/Color.h"
#include "framework/core/Types.h"

namespace hx {

struct TBitmapText;
struct TSurfaceView;
struct TTextDrawing;

class TFormDisplay {
public:
    double Scale() const { return FScale; }
    // Null at ratio 1.
    const QImage& Image() const { return FImage; }
    // Takes the ratio (1 and below: no display image) and rebuilds the image from the
    // surface's client rectangle. Bitmaps keep their text while some form shows above 1.
    void SetScale(double ratio, const TSurfaceView& surface, const TRect& client);
    // Scales the surface's r into the image.
    void CopyFrom(const TSurfaceView& surface, const TRect& r);
    // One pixel (0x00BBGGRR); -1 outside the image or at ratio 1.
    TColor Pixel(int x, int y) const;

    // Text at the display's resolution. TextBegin keeps the image under limit (everything
    // there but the glyphs is in it already) so that TextDrawn can put it back and draw the
    // text there again; TextCopied scales a bitmap's pixels under its text into the image
    // and draws the text. Each returns whether the image changed; TextCopied sets changed to
    // the surface rectangle it redrew.
    void TextBegin(const TRect& limit);
    bool TextDrawn(const TTextDrawing& drawing);
    bool TextCopied(const TBitmapText& text, int dx, int dy, const TRect& clip, TRect& changed);

private:
    void DrawGlyphs(const TBitmapText& text, int dx, int dy, const TRect& clip);

    QImage FImage;
    double FScale = 1.0;
    QImage FTextBackdrop;     // the image under a text's clip while its glyphs are drawn
    QRect FTextBackdropRect;  // display pixels
};

} // namespace hx
