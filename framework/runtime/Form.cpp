#include "framework/runtime/Form.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QCursor>
#include <QTimer>
#include <QToolTip>

#include "framework/runtime/Accessibility.h"
#include "framework/runtime/Application.h"
#include "framework/graphics/BitmapPrivate.h"
#include "framework/graphics/CanvasPrivate.h"
#include "framework/graphics/FontPrivate.h"
#include "framework/runtime/FormWindow.h"
#include "framework/runtime/IconImagePrivate.h"
#include "framework/runtime/Menus.h"
#include "framework/core/Platform.h"

namespace hx {

namespace {

constexpr int kHintPauseMs = 500;
constexpr int kHintHideMs = 2500;

// Input routing that spans forms: every live form (creation order), the capture, the
// control the pointer was last found over, and the hint.
struct TPointerState {
    std::vector<TForm*> Forms;
    TControl* Capture = nullptr;
    TControl* MouseControl = nullptr;
    TControl* HintControl = nullptr;
    int HintTimer = 0;
    int HideTimer = 0;
    bool HintShowing = false;
    std::string HintText;
};

TPointerState& State()
{
    // Never freed: forms freed during the process's exit still consult it.
    static TPointerState* state = new TPointerState;
    return *state;
}

std::uint32_t PixelWord(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(rgb)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(rgb)) << 8) | static_cast<std::uint32_t>(GetBValue(rgb));
}

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

// The last-created visible control under p (form client coordinates), descending into
// containers; null when only the form is there.
TControl* DeepControlAt(TWinControl* container, const TPoint& p, bool allowDisabled)
{
    const TPoint o = container->FormOffset();
    TControl* c = container->ControlAtPos(Point(p.X - o.X, p.Y - o.Y), allowDisabled);
    if (auto* inner = dynamic_cast<TWinControl*>(c)) {
        if (TControl* deeper = DeepControlAt(inner, p, allowDisabled))
            return deeper;
    }
    return c;
}

void StopTimer(int& id)
{
    if (id)
        Platform().StopTimer(id);
    id = 0;
}

void HideHint()
{
    TPointerState& s = State();
    StopTimer(s.HideTimer);
    if (s.HintShowing) {
        s.HintShowing = false;
        s.HintText.clear();
        QToolTip::hideText();
    }
}

void CancelHint()
{
    StopTimer(State().HintTimer);
    HideHint();
}

void ShowHintNow()
{
    TPointerState& s = State();
    StopTimer(s.HintTimer);
    if (!s.HintControl)
        return;
    s.HintText = s.HintControl->Hint();
    s.HintShowing = true;
    const TPoint pos = Platform().GetCursorPos();
    // The toolkit puts it just below the pointer.
    QToolTip::showText(QPoint(pos.X, pos.Y), QString::fromStdString(s.HintText), nullptr, QRect(),
                       kHintHideMs);
    s.HideTimer = Platform().StartTimer(kHintHideMs, [] { Guarded(HideHint); });
}

bool WantsHint(const TControl* c)
{
    return c && c->ShowHint() && !c->Hint().empty();
}

// A new control under the pointer restarts the hint's rest period.
void UpdateHint(TControl* control)
{
    TPointerState& s = State();
    if (control == s.HintControl)
        return;
    CancelHint();
    s.HintControl = control;
    if (WantsHint(control))
        s.HintTimer = Platform().StartTimer(kHintPauseMs, [] { Guarded(ShowHintNow); });
}

// The first cursor other than crDefault up the parent chain; arrow at the top.
TCursor EffectiveCursor(const TControl* c)
{
    for (; c; c = c->Parent())
        if (c->Cursor() != crDefault)
            return c->Cursor();
    return crDefault;
}

Qt::CursorShape ToQtCursor(TCursor c)
{
    switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: case crSQLWait: return Qt::WaitCursor;
    case crDrag: case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop: case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

// The headless platform has no stacking order to change (and says so on every call).
void RaiseWindow(QWidget* w)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    w->raise();
    w->activateWindow();
}

} // namespace

TForm* GetParentForm(const TControl* control)
{
    const TControl* c = control;
    while (c && c->Parent())
        c = c->Parent();
    return const_cast<TForm*>(dynamic_cast<const TForm*>(c));
}

TControl* FindDragTarget(const TPoint& screenPos, bool allowDisabled)
{
    const std::vector<TForm*>& forms = State().Forms;
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
        TForm* form = *it;
        if (!form->Showing())
            continue;
        const TPoint o = form->ClientOrigin();
        const TPoint p = Point(screenPos.X - o.X, screenPos.Y - o.Y);
        if (!PtInRect(form->ClientRect(), p))
            continue;
        if (TControl* c = DeepControlAt(form, p, allowDisabled))
            return c;
        return form;
    }
    return nullptr;
}

// --- Construction ------------------------------------------------------------------------

TForm::TForm(TComponent* owner) : TWinControl(owner), FImpl(std::make_unique<TFormImpl>())
{
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks);
    FVisible = false;
    FColor = clBtnFace;
    FParentColor = false;
    FParentFont = false;
    FImpl->Window = std::make_unique<TFormWindow>(this);
    InstallFormAccessibility(this);
    State().Forms.push_back(this);
    ApplyWindowFlags();
    SetBounds(0, 0, 320, 240);
}

TForm::~TForm()
{
    if (OnDestroy)
        Guarded([this] { OnDestroy(this); });
    FDestroying = true;
    // The controls refer back to the form (surface, capture): they go while it is whole.
    DestroyComponents();
    while (ControlCount() > 0)
        delete Controls(ControlCount() - 1);
    ForgetControl(this);
    ReleaseFormAccessibility(this);
    if (FImpl->Scale > 1.0)
        HoldBitmapText(false);
    std::erase(State().Forms, this);
}

void TForm::AfterConstruction()
{
    try {
        DoCreate();
    } catch (...) {
        Application->HandleException(std::current_exception());
    }
}

void TForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

// --- Window ------------------------------------------------------------------------------

void TForm::SetBounds(int left, int top, int width, int height)
{
    // A client area is its surface: larger than any screen, a size read from a description
    // would only claim gigabytes (0x7FFFFFFF × 0x7FFFFFFF words) and fail.
    width = std::clamp(width, 0, kMaxClientExtent);
    height = std::clamp(height, 0, kMaxClientExtent);
    const int dw = width - Width();
    const int dh = height - Height();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    TFormWindow* w = FImpl->Window.get();
    FImpl->Moving = true;
    if (w->pos() != QPoint(left, top))
        w->move(left, top);
    if (w->size() != QSize(width, height)) {
        if (FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin || FBorderStyle == bsNone)
            w->resize(width, height);
        else
            w->setFixedSize(width, height);
    }
    FImpl->Moving = false;
    if (dw != 0 || dh != 0) {
        ResizeSurface();
        BoundsChanged(dw, dh);
    }
}

void TForm::ResizeSurface()
{
    QImage& img = FImpl->Surface;
    img = QImage(Width(), Height(), QImage::Format_RGB32);
    img.fill(PixelWord(Color()));
    FSurface.Bits = img.isNull() ? nullptr : reinterpret_cast<std::uint32_t*>(img.bits());
    FSurface.StrideWords = img.isNull() ? 0 : static_cast<int>(img.bytesPerLine() / 4);
    FSurface.Width = img.isNull() ? 0 : Width();
    FSurface.Height = img.isNull() ? 0 : Height();
    if (FImpl->Scale > 1.0)
        SetDisplayScale(FImpl->Scale);
    Invalidate();
}

void TForm::SetVisible(bool value)
{
    if (value == FVisible) {
        if (value)
            RaiseWindow(FImpl->Window.get());
        return;
    }
    FVisible = value;
    TFormWindow* w = FImpl->Window.get();
    if (value) {
        const double ratio = std::max(1.0, w->devicePixelRatioF());
        if (ratio != FImpl->Scale)
            SetDisplayScale(ratio); // the first frame is drawn at the screen's ratio already
        Update(); // the window's first frame shows a painted surface
        FImpl->Moving = true;
        w->move(Left(), Top());
        w->show();
        FImpl->Moving = false;
        RaiseWindow(w);
    } else {
        w->hide();
    }
    Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
}

bool TForm::Showing() const
{
    return FVisible;
}

void TForm::Close()
{
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        FImpl->Window->showMinimized();
        break;
    case caFree: {
        Hide();
        // Freed once the event that closed it has finished.
        TForm* self = this;
        QTimer::singleShot(0, FImpl->Window.get(), [self] { delete self; });
        break;
    }
    default:
        break;
    }
}

void TForm::DoClose(TCloseAction& action)
{
    if (OnClose)
        OnClose(this, action);
}

void TForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle value)
{
    if (value == FFormStyle)
        return;
    FFormStyle = value;
    ApplyWindowFlags();
}

// Border style to window decoration (bsToolWindow keeps its taskbar entry: a plain window
// with a title and a close box only, fixed in size):
//   bsNone        no frame                      bsSingle      min + close, fixed size
//   bsSizeable    min, max, close, resizable    bsDialog      close, fixed size
//   bsToolWindow  close, fixed size             bsSizeToolWin close, resizable
void TForm::ApplyWindowFlags()
{
    TFormWindow* w = FImpl->Window.get();
    Qt::WindowFlags f = Qt::Window;
    bool fixed = true;
    switch (FBorderStyle) {
    case bsNone:
        f |= Qt::FramelessWindowHint;
        fixed = false;
        break;
    case bsSingle:
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
             Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        break;
    case bsSizeable:
        f |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
             Qt::WindowCloseButtonHint;
        fixed = false;
        break;
    case bsSizeToolWin:
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        fixed = false;
        break;
    default: // bsDialog, bsToolWindow (its window type is set natively: FormWindow.cpp)
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    }
    if (FFormStyle == fsStayOnTop)
        f |= Qt::WindowStaysOnTopHint;
    const bool wasVisible = w->isVisible();
    FImpl->Moving = true;
    w->setWindowFlags(f); // hides a live window; it is shown again below, in place
    if (fixed) {
        w->setFixedSize(Width(), Height());
    } else {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        w->resize(Width(), Height());
    }
    w->move(Left(), Top());
    if (wasVisible)
        w->show();
    FImpl->Moving = false;
}

TPoint TForm::ClientOrigin() const
{
    const TFormWindow* w = FImpl->Window.get();
    if (w->isVisible()) {
        const QPoint p = w->mapToGlobal(QPoint(0, 0));
        return Point(p.x(), p.y());
    }
    return Point(Left(), Top());
}

void TForm::Dispatch(void* message)
{
    TMessage& m = *static_cast<TMessage*>(message);
    if (m.Msg == CM_TEXTCHANGED) {
        FImpl->Window->setWindowTitle(QString::fromStdString(Caption()));
        return;
    }
    TWinControl::Dispatch(message);
}

// --- Surface and painting ----------------------------------------------------------------

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
    const std::uint32_t word = PixelWord(Color());
    for (int y = region.Top; y < region.Bottom; ++y) {
        std::uint32_t* row = FSurface.Bits + static_cast<size_t>(y) * FSurface.StrideWords;
        std::fill(row + region.Left, row + region.Right, word);
    }
    CopyToDisplay(region);
    try {
        PaintChildren(this, region);
    } catch (...) {
        FlushLater(region);
        throw;
    }
    FlushLater(region);
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
    CopyToDisplay(r);
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

// --- High resolution ---------------------------------------------------------------------
// Display pixel X shows surface pixel floor(X / scale); so surface [a, b) covers display
// [ceil(a·scale), ceil(b·scale)), and at ratio 2 each surface pixel is a 2 × 2 block.

namespace {

QRect DisplayRect(const TRect& r, double scale, const QImage& display)
{
    const auto edge = [scale](int v) { return static_cast<int>(std::ceil(v * scale - 1e-9)); };
    const QRect all(0, 0, display.width(), display.height());
    return QRect(QPoint(edge(r.Left), edge(r.Top)), QPoint(edge(r.Right) - 1, edge(r.Bottom) - 1)).intersected(all);
}

} // namespace

void TForm::SetDisplayScale(double ratio)
{
    TFormImpl& impl = *FImpl;
    const bool wasHigh = impl.Scale > 1.0;
    impl.Scale = ratio > 1.0 ? ratio : 1.0;
    if (wasHigh != (impl.Scale > 1.0))
        HoldBitmapText(impl.Scale > 1.0); // paints' own bitmaps keep their text from now on
    impl.Display = QImage();
    impl.TextBackdrop = QImage();
    if (impl.Scale > 1.0 && FSurface.Bits) {
        impl.Display = QImage(static_cast<int>(std::ceil(FSurface.Width * impl.Scale - 1e-9)),
                              static_cast<int>(std::ceil(FSurface.Height * impl.Scale - 1e-9)),
                              QImage::Format_RGB32);
        impl.Display.setDevicePixelRatio(impl.Scale);
        CopyToDisplay(ClientRect());
    }
    // Text comes back at the new resolution with the next paint pass.
    Invalidate();
}

double TForm::DisplayScale() const
{
    return FImpl->Scale;
}

TColor TForm::DisplayPixel(int x, int y) const
{
    const QImage& d = FImpl->Display;
    if (d.isNull() || x < 0 || y < 0 || x >= d.width() || y >= d.height())
        return -1;
    const QRgb w = d.pixel(x, y);
    return RGB(qRed(w), qGreen(w), qBlue(w));
}

void TForm::CopyToDisplay(const TRect& r)
{
    QImage& display = FImpl->Display;
    if (display.isNull())
        return;
    const double scale = FImpl->Scale;
    const QRect target = DisplayRect(r, scale, display);
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const int sy = std::min(FSurface.Height - 1, static_cast<int>(y / scale));
        const std::uint32_t* from = FSurface.Bits + static_cast<size_t>(sy) * FSurface.StrideWords;
        auto* to = reinterpret_cast<std::uint32_t*>(display.scanLine(y));
        for (int x = target.left(); x <= target.right(); ++x)
            to[x] = from[std::min(FSurface.Width - 1, static_cast<int>(x / scale))];
    }
}

// Everything within limit but the glyphs is in the display already: keep it, so that the
// glyphs drawn at surface resolution can be replaced by the same text at display resolution.
void TForm::SurfaceTextBegin(const TRect& limit)
{
    TFormImpl& impl = *FImpl;
    if (impl.Display.isNull() || FDestroying)
        return;
    impl.TextBackdropRect = DisplayRect(limit, impl.Scale, impl.Display);
    impl.TextBackdrop = impl.Display.copy(impl.TextBackdropRect);
}

void TForm::SurfaceTextDrawn(const TTextDrawing& d)
{
    TFormImpl& impl = *FImpl;
    if (impl.Display.isNull() || impl.TextBackdrop.isNull() || FDestroying)
        return;
    const QRect& area = impl.TextBackdropRect;
    for (int y = 0; y < area.height(); ++y)
        std::memcpy(impl.Display.scanLine(area.top() + y) + area.left() * 4, impl.TextBackdrop.constScanLine(y),
                    static_cast<size_t>(area.width()) * 4);
    impl.TextBackdrop = QImage();
    DrawDisplayGlyphs(TextOf(d), 0, 0, d.Limit);
    FlushLater(d.Limit);
}

// The bitmap's pixels under the text (without glyphs) scaled into the display, then the
// glyphs at the display's resolution.
void TForm::SurfaceTextCopied(const TBitmapText& text, int dx, int dy, const TRect& clip)
{
    TFormImpl& impl = *FImpl;
    if (impl.Display.isNull() || FDestroying)
        return;
    TRect limit = text.Limit;
    OffsetRect(limit, dx, dy);
    TRect area;
    if (!IntersectRect(area, limit, clip))
        return;
    const double scale = impl.Scale;
    const QRect target = DisplayRect(area, scale, impl.Display);
    const int stride = text.Limit.Width();
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const int sy = static_cast<int>(y / scale) - limit.Top;
        auto* to = reinterpret_cast<std::uint32_t*>(impl.Display.scanLine(y));
        for (int x = target.left(); x <= target.right(); ++x)
            to[x] = text.Backdrop[static_cast<size_t>(sy) * stride + (static_cast<int>(x / scale) - limit.Left)];
    }
    DrawDisplayGlyphs(text, dx, dy, area);
    FlushLater(area);
}

void TForm::DrawDisplayGlyphs(const TBitmapText& text, int dx, int dy, const TRect& clip)
{
    const QString line = QString::fromUtf8(text.Text.data(), static_cast<qsizetype>(text.Text.size()));
    const QColor ink = QColor::fromRgb(text.Ink);
    QPainter painter(&FImpl->Display); // in surface coordinates: the image carries the ratio
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setClipRect(ToQRect(clip));
    painter.setFont(text.Face);
    painter.setPen(ink);
    painter.drawText(QPoint(text.Left + dx, text.Baseline + dy), line);
    if (!text.Underline.IsEmpty()) {
        TRect underline = text.Underline;
        OffsetRect(underline, dx, dy);
        painter.fillRect(ToQRect(underline), ink);
    }
}

TColor TForm::SurfacePixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FSurface.Width || y >= FSurface.Height)
        return -1;
    const std::uint32_t w = FSurface.Bits[static_cast<size_t>(y) * FSurface.StrideWords + x];
    return RGB((w >> 16) & 0xFF, (w >> 8) & 0xFF, w & 0xFF);
}

// --- Input -------------------------------------------------------------------------------

void TForm::MouseInput(TMouseInputKind kind, TMouseButton button, int x, int y, TShiftState shift)
{
    // A press puts the hint away; it comes back only on another control.
    if (kind == miDown || kind == miDoubleClick)
        CancelHint();
    TControl* target = State().Capture;
    if (!target || GetParentForm(target) != this)
        target = DeepControlAt(this, Point(x, y), false);
    if (!target)
        target = this;

    static constexpr unsigned kMessages[4][3] = {
        // mbLeft, mbRight, mbMiddle
        {WM_MOUSEMOVE, WM_MOUSEMOVE, WM_MOUSEMOVE},
        {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN},
        {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP},
        {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK},
    };
    const unsigned msg = kMessages[kind][button];
    const TPoint o = target == this ? TPoint{} : target->FormOffset();
    target->Perform(msg, ShiftStateToKeys(shift), MakePointParam(x - o.X, y - o.Y));

    if (kind == miUp && button == mbRight) {
        TControl* under = DeepControlAt(this, Point(x, y), false);
        OpenContextMenu(under ? under : this, x, y);
    }
}

void TForm::OpenContextMenu(TControl* control, int x, int y)
{
    for (TControl* c = control; c; c = c->Parent()) {
        TPopupMenu* menu = c->PopupMenu();
        if (!menu || !menu->AutoPopup())
            continue;
        menu->SetPopupComponent(c);
        const TPoint s = ClientToScreen(Point(x, y));
        menu->Popup(s.X, s.Y);
        return;
    }
}

void TForm::KeyChar(unsigned ch)
{
    Perform(CM_DIALOGCHAR, ch, 0);
}

// Pointer tracking, after each batch of input:
//   found = control under the pointer (disabled ones too), or null off our windows
//   found != last:  leave -> last, enter -> found; while a control holds the capture only
//                   the capture control hears either
//   then the hint (a new control restarts its 500 ms rest) and the window cursor
void TForm::TrackPointer()
{
    TPointerState& s = State();
    TControl* found = FindDragTarget(Platform().GetCursorPos(), true);
    if (found && found->IsDesigning())
        found = nullptr;
    if (found != s.MouseControl) {
        TControl* old = s.MouseControl;
        TControl* capture = s.Capture;
        s.MouseControl = nullptr;
        if (old && (!capture || old == capture))
            old->Perform(CM_MOUSELEAVE, 0, 0);
        s.MouseControl = found;
        if (found && (!capture || found == capture))
            found->Perform(CM_MOUSEENTER, 0, 0);
    }
    UpdateHint(s.MouseControl);
    const TControl* pointing = s.Capture ? s.Capture : s.MouseControl;
    if (TForm* form = GetParentForm(pointing))
        form->ApplyCursor(EffectiveCursor(pointing));
}

void TForm::ApplyCursor(TCursor cursor)
{
    if (cursor == FWindowCursor)
        return;
    FWindowCursor = cursor;
    if (cursor == crDefault)
        FImpl->Window->unsetCursor();
    else
        FImpl->Window->setCursor(QCursor(ToQtCursor(cursor)));
}

TControl* TForm::CaptureControl()
{
    return State().Capture;
}

void TForm::SetCaptureControl(TControl* control)
{
    State().Capture = control;
    SetCaptureHeld(control != nullptr);
}

TControl* TForm::MouseControl()
{
    return State().MouseControl;
}

bool TForm::HintShowing()
{
    return State().HintShowing;
}

const std::string& TForm::HintText()
{
    return State().HintText;
}

void TForm::ForgetControl(const TControl* control)
{
    TPointerState& s = State();
    if (s.Capture == control)
        SetCaptureControl(nullptr);
    if (s.MouseControl == control)
        s.MouseControl = nullptr;
    if (s.HintControl == control) {
        CancelHint();
        s.HintControl = nullptr;
    }
}

void TForm::SetIcon(const TBitmap& image)
{
    if (image.Empty())
        return;
    const QIcon qicon(QPixmap::fromImage(IconToQImage(image)));
    QApplication::setWindowIcon(qicon);
    FImpl->Window->setWindowIcon(qicon);
}

} // namespace hx
