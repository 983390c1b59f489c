#include "framework/ControlCanvas.h"

#include "framework/Control.h"
#include "framework/Exception.h"
#include "framework/Form.h"

namespace hx {

// Both hooks run for every drawing operation: they only read and write plain fields.
bool TControlCanvas::AcquireTarget(TCanvasTarget& target)
{
    TForm* form = FControl->ParentForm();
    if (!form || (form != FControl && !FControl->Parent()))
        throw EInvalidOperation("Control '" + FControl->Name() + "' has no parent window");
    const TSurfaceView& surface = form->Surface();
    target.Bits = surface.Bits;
    target.StrideWords = surface.StrideWords;
    target.Width = surface.Width;
    target.Height = surface.Height;
    target.Origin = form == FControl ? TPoint{} : FControl->FormOffset();
    target.Clip = form->CanvasClip(FControl);
    return target.Bits != nullptr;
}

void TControlCanvas::Changed(const TRect& touched)
{
    if (TForm* form = FControl->ParentForm())
        form->SurfaceChanged(touched);
}

} // namespace hx
