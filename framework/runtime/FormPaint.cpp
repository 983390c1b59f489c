// TForm's surface: its invalid region, the paint pass, painting one control at once, and the
// copy to the window (Form.cpp has the window and input; FormDisplay.cpp the image shown at
// a device pixel ratio above 1).
#include "framework/runtime/Form.h"

#include <algorithm>
#include <cstdint>

#include <QCoreApplication>
#include <QImage>

#include "framework/graphics/BitmapPrivate.h"
#include "framework/graphics/PixelWord.h"
#include "framework/core/StartupMarks.h"
#include "framework/runtime/FormWindow.h"

namespace hx {

namespace {

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

} // namespace

// --- Surface and painting ----------------------------------------------------------------

void TForm::ResizeSurface()
{
    QImage& img = FImpl->Surface;
    img = QImage(Width(), Height(), QImage::Format_RGB32);
    img.fill(ColorToOpaquePixel(Color()));
    FSurface.Bits = img.isNull() ? nullptr : reinterpret_cast<std::uint32_t*>(img.bits());
    FSurface.StrideWords = img.isNull() ? 0 : static_cast<int>(img.bytesPerLine() / 4);
    FSurface.Width = img.isNull() ? 0 : Width();
    FSurface.Height = img.isNull() ? 0 : Height();
    if (FImpl->Display.Scale() > 1.0)
        SetDisplayScale(FImpl->Display.Scale());
    Invalidate();
}

void TForm::InvalidateRect(const TRect& r)
{
    if (FDestroying)
        return;
    TRect clipped;
    if (!IntersectRect(clipped, r, ClientRect()))
        return;
    FImpl->Invalid = UnionRect(FImpl->Invalid, clipped);
    if (!FImpl->PaintPosted) {
        FImpl->PaintPosted = true;
        QCoreApplication::postEvent(FImpl->Window.get(), new QEvent(TFormWindow::PaintRequest),
                                    Qt::LowEventPriority);
    }
}

void TForm::Invalidate()
{
    InvalidateRect(ClientRect());
}

TRect TForm::InvalidRect() const
{
    return FImpl->Invalid;
}

void TForm::Update()
{
    if (FDestroying || FImpl->Invalid.IsEmpty())
        return;
    PaintPass();
}

// The region is one rectangle (the bounding box of what was invalidated): every control
// meeting it repaints its part of it, so the result is exact whatever the box covers.
void TForm::PaintPass()
{
    TRect region;
    IntersectRect(region, FImpl->Invalid, ClientRect()); // the form may have shrunk since
    FImpl->Invalid = TRect{};
    ++FPaintPassCount;
    const std::uint32_t word = ColorToOpaquePixel(Color());
    for (int y = region.Top; y < region.Bottom; ++y) {
        std::uint32_t* row = FSurface.Bits + static_cast<size_t>(y) * FSurface.StrideWords;
        std::fill(row + region.Left, row + region.Right, word);
    }
    FImpl->Display.CopyFrom(FSurface, region);
    try {
        PaintChildren(this, region);
    } catch (...) {
        FlushLater(region);
        throw;
    }
    FlushLater(region);
    MarkStartup("first paint");
}

void TForm::PaintChildren(TWinControl* container, const TRect& region)
{
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* c = container->Controls(i);
        if (!c->Visible())
            continue;
        TRect part;
        if (!IntersectRect(part, c->VisibleFormRect(), region))
            continue;
        PaintOne(c, part);
        if (auto* inner = dynamic_cast<TWinControl*>(c))
            PaintChildren(inner, part);
    }
}

void TForm::PaintOne(TControl* control, const TRect& clip)
{
    const TControl* savedControl = FImpl->PaintControl;
    const TRect savedClip = FImpl->PaintClip;
    FImpl->PaintControl = control;
    FImpl->PaintClip = clip;
    try {
        control->PaintControl();
    } catch (...) {
        FImpl->PaintControl = savedControl;
        FImpl->PaintClip = savedClip;
        throw;
    }
    FImpl->PaintControl = savedControl;
    FImpl->PaintClip = savedClip;
}

void TForm::PaintControlNow(TControl* control)
{
    if (FDestroying || !control->Visible())
        return;
    const TRect r = control->VisibleFormRect();
    if (r.IsEmpty())
        return;
    PaintOne(control, r);
    if (auto* inner = dynamic_cast<TWinControl*>(control))
        PaintChildren(inner, r);
    // Everything above it in painting order: later siblings, then later siblings of each
    // parent in turn.
    const TControl* child = control;
    for (TWinControl* container = control->Parent(); container; container = container->Parent()) {
        bool after = false;
        for (int i = 0; i < container->ControlCount(); ++i) {
            TControl* c = container->Controls(i);
            if (c == child) {
                after = true;
                continue;
            }
            TRect part;
            if (!after || !c->Visible() || !IntersectRect(part, c->VisibleFormRect(), r))
                continue;
            PaintOne(c, part);
            if (auto* inner = dynamic_cast<TWinControl*>(c))
                PaintChildren(inner, part);
        }
        child = container;
    }
    FlushLater(r);
}

TRect TForm::CanvasClip(const TControl* control) const
{
    if (control == FImpl->PaintControl)
        return FImpl->PaintClip;
    if (control == this)
        return ClientRect();
    return control->VisibleFormRect();
}

// Runs for every drawing operation: plain fields only, and at most one posted copy (plus
// the scaled copy at a ratio above 1).
void TForm::SurfaceChanged(const TRect& r)
{
    if (FDestroying)
        return;
    FImpl->Display.CopyFrom(FSurface, r);
    FlushLater(r);
}

void TForm::FlushLater(const TRect& r)
{
    if (FDestroying)
        return;
    FImpl->Dirty = UnionRect(FImpl->Dirty, r);
    if (FImpl->FlushPosted || !FImpl->Window->isVisible())
        return;
    FImpl->FlushPosted = true;
    TFormImpl* impl = FImpl.get();
    QMetaObject::invokeMethod(
        impl->Window.get(),
        [impl] {
            impl->FlushPosted = false;
            impl->Window->update(ToQRect(impl->Dirty));
            impl->Dirty = TRect{};
        },
        Qt::QueuedConnection);
}

// --- High resolution (the display image: FormDisplay.h) -----------------------------------

void TForm::SetDisplayScale(double ratio)
{
    FImpl->Display.SetScale(ratio, FSurface, ClientRect());
    // Text comes back at the new resolution with the next paint pass.
    Invalidate();
}

double TForm::DisplayScale() const
{
    return FImpl->Display.Scale();
}

TColor TForm::DisplayPixel(int x, int y) const
{
    return FImpl->Display.Pixel(x, y);
}

void TForm::SurfaceTextBegin(const TRect& limit)
{
    if (!FDestroying)
        FImpl->Display.TextBegin(limit);
}

void TForm::SurfaceTextDrawn(const TTextDrawing& d)
{
    if (!FDestroying && FImpl->Display.TextDrawn(d))
        FlushLater(d.Limit);
}

void TForm::SurfaceTextCopied(const TBitmapText& text, int dx, int dy, const TRect& clip)
{
    TRect area;
    if (!FDestroying && FImpl->Display.TextCopied(text, dx, dy, clip, area))
        FlushLater(area);
}

TColor TForm::SurfacePixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FSurface.Width || y >= FSurface.Height)
        return -1;
    const std::uint32_t w = FSurface.Bits[static_cast<size_t>(y) * FSurface.StrideWords + x];
    return RGB((w >> 16) & 0xFF, (w >> 8) & 0xFF, w & 0xFF);
}

} // namespace hx
