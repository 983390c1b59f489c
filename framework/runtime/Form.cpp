#include "framework/runtime/Form.h"

#include <algorithm>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QTimer>

#include "framework/runtime/Accessibility.h"
#include "framework/runtime/Application.h"
#include "framework/graphics/BitmapPrivate.h"
#include "framework/runtime/FormWindow.h"
#include "framework/runtime/IconImagePrivate.h"
#include "framework/runtime/Menus.h"
#include "framework/runtime/PointerTracker.h"
#include "framework/core/Platform.h"

namespace hx {

namespace {

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
    return c ? c->AsForm() : nullptr;
}

TControl* FindDragTarget(const TPoint& screenPos, bool allowDisabled)
{
    const std::vector<TForm*>& forms = PointerTracker().Forms();
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
    PointerTracker().AddForm(this);
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
    PointerTracker().Forget(this);
    ReleaseFormAccessibility(this);
    if (FImpl->Display.Scale() > 1.0)
        HoldBitmapText(false);
    PointerTracker().RemoveForm(this);
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
        if (ratio != FImpl->Display.Scale())
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

void TForm::Dispatch(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED) {
        FImpl->Window->setWindowTitle(QString::fromStdString(Caption()));
        return;
    }
    TWinControl::Dispatch(m);
}

// --- Input -------------------------------------------------------------------------------

void TForm::MouseInput(TMouseInputKind kind, TMouseButton button, int x, int y, TShiftState shift)
{
    // Once this batch of input is handled, the application falls idle (actions update).
    ScheduleIdle(false);
    // A press puts the hint away; it comes back only on another control.
    if (kind == miDown || kind == miDoubleClick)
        PointerTracker().CancelHint();
    TControl* target = PointerTracker().Capture();
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
    ScheduleIdle(false);
    Perform(CM_DIALOGCHAR, ch, 0);
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

void TForm::SetIcon(const TBitmap& image)
{
    if (image.Empty())
        return;
    const QIcon qicon(QPixmap::fromImage(IconToQImage(image)));
    QApplication::setWindowIcon(qicon);
    FImpl->Window->setWindowIcon(qicon);
}

} // namespace hx
