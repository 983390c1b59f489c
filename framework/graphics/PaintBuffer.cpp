#include "framework/graphics/PaintBuffer.h"

#include <algorithm>

namespace hx {

TPaintBuffer::TPaintBuffer(TCanvas* target, int width, int height)
    : FTarget(target)
{
    // An empty face asks nothing of the target (which may have nothing to draw on yet).
    const TRect face = Rect(0, 0, std::max(width, 0), std::max(height, 0));
    if (face.IsEmpty() || !IntersectRect(FArea, face, target->ClipRect()))
        FArea = TRect{};
    FBitmap.SetSize(FArea.Width(), FArea.Height());
    FBitmap.SetCanvasOrigin(TPoint{-FArea.Left, -FArea.Top});
}

void TPaintBuffer::Finish()
{
    if (!FArea.IsEmpty())
        FTarget->Draw(FArea.Left, FArea.Top, &FBitmap);
}

} // namespace hx
