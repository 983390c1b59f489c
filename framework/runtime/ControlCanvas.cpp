#include "framework/runtime/ControlCanvas.h"

#include "framework/graphics/BitmapPrivate.h"

#include "framework/runtime/Control.h"
#include "framework/core/Exception.h"
#include "framework/runtime/Form.h"

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

void TControlCanvas::TextBegin(const TRect& limit)
{
    if (TForm* form = FControl->ParentForm())
        form->SurfaceTextBegin(limit);
}

void TControlCanvas::TextDrawn(const TTextDrawing& drawing)
{
    if (TForm* form = FControl->ParentForm())
        form->SurfaceTextDrawn(drawing);
}

// Text the bitmap kept is drawn again at the display's resolution (a transparent copy
// keeps only part of the bitmap's pixels, so its text stays as copied).
void TControlCanvas::BitmapDrawn(const TBitmap& graphic, int x, int y)
{
    const TBitmapImage& image = graphic.Image();
    if (image.Texts.empty() || graphic.Transparent())
        return;
    TForm* form = FControl->ParentForm();
    TCanvasTarget target;
    if (!form || !AcquireTarget(target))
        return;
    for (const TBitmapText& text : image.Texts)
        form->SurfaceTextCopied(text, target.Origin.X + x, target.Origin.Y + y, target.Clip);
}

} // namespace hx
