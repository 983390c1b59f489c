#include "framework/runtime/GraphicControl.h"

#include "framework/runtime/ControlCanvas.h"

namespace hx {

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), FCanvas(std::make_unique<TControlCanvas>(this))
{
}

TGraphicControl::~TGraphicControl() = default;

TCanvas* TGraphicControl::Canvas() const
{
    return IsLoading() ? nullptr : FCanvas.get();
}

// A paint pass (or a Repaint) that runs while the control is still being read leaves it
// out: its Paint would find no canvas.
void TGraphicControl::PaintControl()
{
    if (!IsLoading())
        Paint();
}

void TGraphicControl::Loaded()
{
    TControl::Loaded();
    Invalidate();
}

} // namespace hx
