#pragma once
// The canvas of a windowless control: it draws straight into the form's surface with its
// origin at the control's top-left, clipped to the control (and, during a paint pass, to the
// part being repainted).
#include "framework/graphics/Canvas.h"

namespace hx {

class TControl;

class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : FControl(control) {}
    const char* ClassName() const override { return "TControlCanvas"; }

    TControl* Control() const { return FControl; }

protected:
    bool AcquireTarget(TCanvasTarget& target) override;
    void Changed(const TRect& touched) override;
    void TextBegin(const TRect& limit) override;
    void TextDrawn(const TTextDrawing& drawing) override;
    void BitmapDrawn(const TBitmap& graphic, int x, int y) override;

private:
    TControl* FControl;
};

} // namespace hx
