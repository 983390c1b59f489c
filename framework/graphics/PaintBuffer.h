#pragma once
// TPaintBuffer: an off-screen image in which a control composes its face before copying it
// to its canvas in one operation (so nothing flickers). It holds only the part of the face
// the canvas can show (the target's clip: the control's part of its form's surface during
// a paint pass), so a control far larger than any screen costs no more than what is seen.
// Drawing goes through Canvas() in the face's own coordinates; every pixel that is shown
// comes out as if the whole face had been composed.
#include <memory>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

namespace hx {

class TPaintBuffer {
public:
    // A face of width x height for target; the image is a new bitmap's (device-dependent,
    // white).
    TPaintBuffer(TCanvas* target, int width, int height);
    TPaintBuffer(const TPaintBuffer&) = delete;
    TPaintBuffer& operator=(const TPaintBuffer&) = delete;

    // The canvas to compose on, in face coordinates.
    TCanvas* Canvas() { return FBitmap.Canvas(); }
    // The part of the face held (face coordinates); empty when nothing can be seen.
    const TRect& Area() const { return FArea; }
    // Copies what was composed to the target.
    void Finish();

private:
    TCanvas* FTarget;
    TBitmap FBitmap;
    TRect FArea;
};

} // namespace hx
