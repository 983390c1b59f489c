#pragma once
// TGraphicControl: the control that paints itself through a canvas onto its form's surface.
#include <memory>

#include "framework/graphics/Canvas.h"
#include "framework/runtime/Control.h"

namespace hx {

class TControlCanvas;

// A windowless control that paints itself through its canvas.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    const char* ClassName() const override { return "TGraphicControl"; }

    // Draws into the form's surface at the control's place, clipped to it. Null while the
    // control is being read from a description: a setter that repaints at once would
    // otherwise paint once per property read, and the form is painted in full after it
    // has been read anyway (Loaded invalidates the control).
    TCanvas* Canvas() const;
    void PaintControl() override;
    void Loaded() override;
    // Draws the whole control on Canvas. The framework calls it when the control's area
    // needs painting; a widget that repaints at once calls it itself.
    virtual void Paint() {}

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

} // namespace hx
