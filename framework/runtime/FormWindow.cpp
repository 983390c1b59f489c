#include "framework/runtime/FormWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QTimer>

#include "framework/core/Exception.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/PointerTracker.h"
#include "framework/services/QtPlatform.h"

#ifdef HX_HAVE_XCB
#include <QGuiApplication>
#include <xcb/xcb.h>
#endif

namespace hx {

const QEvent::Type TFormWindow::PaintRequest = static_cast<QEvent::Type>(QEvent::registerEventType());

TFormWindow::TFormWindow(TForm* form) : FForm(form)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

// Key presses reach the form before the toolkit's own Tab handling would take Tab away.
bool TFormWindow::event(QEvent* e)
{
    if (e->type() == PaintRequest) {
        FForm->Impl().PaintPosted = false;
        Guarded([this] { FForm->Update(); });
        return true;
    }
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)
        QtPlatform().ForgetPointerEvent(); // the modifiers may have changed since
    if (e->type() == QEvent::KeyPress && Key(static_cast<QKeyEvent*>(e)))
        return true;
    return QWidget::event(e);
}

// Copying only: no control code runs here. The first paint on a screen of another ratio
// rebuilds the display image (and asks for a paint pass, for the text).
void TFormWindow::paintEvent(QPaintEvent* e)
{
    TFormImpl& impl = FForm->Impl();
    const double ratio = std::max(1.0, devicePixelRatioF());
    if (ratio != impl.Display.Scale())
        Guarded([this, ratio] { FForm->SetDisplayScale(ratio); });
    QPainter painter(this);
    const QRect r = e->rect();
    const QImage& display = impl.Display.Image();
    if (display.isNull()) {
        painter.drawImage(r, impl.Surface, r);
        return;
    }
    const double scale = impl.Display.Scale();
    const QRectF source(r.left() * scale, r.top() * scale, r.width() * scale, r.height() * scale);
    painter.drawImage(QRectF(r), display, source);
}

namespace {

TMouseButton ToButton(Qt::MouseButton b)
{
    switch (b) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
    }
}

TShiftState ToShift(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

bool gIdlePosted = false;
bool gTrackWanted = false;

} // namespace

void ScheduleIdle(bool trackPointer)
{
    gTrackWanted = gTrackWanted || trackPointer;
    if (gIdlePosted)
        return;
    gIdlePosted = true;
    // A zero-time single shot is a queued call: it starts no timer.
    QTimer::singleShot(0, qApp, [] {
        gIdlePosted = false;
        const bool track = std::exchange(gTrackWanted, false);
        if (track)
            Guarded([] { PointerTracker().Track(); });
        Guarded([] { Application->Idle(); });
    });
}

void TFormWindow::Mouse(QMouseEvent* e, TMouseInputKind kind)
{
    const QPointF p = e->position();
    const int x = static_cast<int>(std::floor(p.x()));
    const int y = static_cast<int>(std::floor(p.y()));
    const TShiftState shift = ToShift(e->modifiers(), e->buttons());
    const TMouseButton button = ToButton(e->button());
    const QPointF screen = e->globalPosition();
    QtPlatform().PointerSeen(
        TPoint{static_cast<int>(std::floor(screen.x())), static_cast<int>(std::floor(screen.y()))}, shift);
    Guarded([&] { FForm->MouseInput(kind, button, x, y, shift); });
    ScheduleIdle(true);
}

void TFormWindow::mousePressEvent(QMouseEvent* e)
{
    Mouse(e, miDown);
}

void TFormWindow::mouseDoubleClickEvent(QMouseEvent* e)
{
    Mouse(e, miDoubleClick);
}

void TFormWindow::mouseReleaseEvent(QMouseEvent* e)
{
    Mouse(e, miUp);
}

void TFormWindow::mouseMoveEvent(QMouseEvent* e)
{
    Mouse(e, miMove);
}

void TFormWindow::leaveEvent(QEvent* e)
{
    QWidget::leaveEvent(e);
    QtPlatform().ForgetPointerEvent();
    ScheduleIdle(true);
}

namespace {

// The key code of a Qt key; 0 for keys the form has no code for (modifiers alone among them).
unsigned ToVirtualKey(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<unsigned>(key); // the same codes as capitals and digits
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return VK_F1 + static_cast<unsigned>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Menu: return VK_APPS;
    default: return 0;
    }
}

} // namespace

bool TFormWindow::Key(QKeyEvent* e)
{
    const unsigned key = ToVirtualKey(e->key());
    if (key == 0)
        return false;
    TShiftState shift = ToShift(e->modifiers(), Qt::NoButton);
    if (e->key() == Qt::Key_Backtab)
        shift |= ssShift;
    bool used = true; // a key whose handling failed was still the form's
    Guarded([&] { used = FForm->KeyDown(key, shift, e->isAutoRepeat()); });
    if (used)
        e->accept();
    return used;
}

void TFormWindow::keyPressEvent(QKeyEvent* e)
{
    const QString text = e->text();
    if (text.isEmpty() || text.at(0).unicode() < 0x20) {
        QWidget::keyPressEvent(e);
        return;
    }
    const unsigned ch = text.at(0).unicode();
    Guarded([&] { FForm->KeyChar(ch); });
}

// The form decides: its OnClose may keep the window, hide it or end the application.
void TFormWindow::closeEvent(QCloseEvent* e)
{
    e->ignore();
    Guarded([this] { FForm->Close(); });
}

void TFormWindow::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    if (!FForm->Impl().Moving)
        Guarded([this] {
            const QPoint p = frameGeometry().topLeft();
            FForm->SetBounds(p.x(), p.y(), FForm->Width(), FForm->Height());
        });
}

namespace {

#ifdef HX_HAVE_XCB
xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}
#endif

// A tool window has a title and a close box only. Window managers grant the minimise box
// by window type alone, never by the function hints the toolkit sets: a torn-off toolbar
// is the type that has none (openbox, among others), with "utility" (a palette) for those
// that do not know it. Set after the toolkit named its own type, before the window maps.
void ApplyToolWindowType(QWidget* window)
{
#ifdef HX_HAVE_XCB
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* c = x11->connection();
    const xcb_atom_t types[] = {Atom(c, "_NET_WM_WINDOW_TYPE_TOOLBAR"), Atom(c, "_NET_WM_WINDOW_TYPE_UTILITY")};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                        Atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 2, types);
    xcb_flush(c);
#else
    (void)window;
#endif
}

} // namespace

void TFormWindow::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (FForm->BorderStyle() == bsToolWindow && !e->spontaneous())
        ApplyToolWindowType(this);
}

void TFormWindow::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!FForm->Impl().Moving)
        Guarded([this] { FForm->SetBounds(FForm->Left(), FForm->Top(), width(), height()); });
}

} // namespace hx
