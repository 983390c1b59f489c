#include "framework/runtime/FormWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QTimer>

#include "framework/core/Exception.h"
#include "framework/runtime/PointerTracker.h"

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

bool TFormWindow::event(QEvent* e)
{
    if (e->type() == PaintRequest) {
        FForm->Impl().PaintPosted = false;
        Guarded([this] { FForm->Update(); });
        return true;
    }
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

bool gTrackPosted = false;

} // namespace

void ScheduleTrackPointer()
{
    if (gTrackPosted)
        return;
    gTrackPosted = true;
    QTimer::singleShot(0, qApp, [] {
        gTrackPosted = false;
        Guarded([] { PointerTracker().Track(); });
    });
}

void TFormWindow::Mouse(QMouseEvent* e, TMouseInputKind kind)
{
    const QPointF p = e->position();
    const int x = static_cast<int>(std::floor(p.x()));
    const int y = static_cast<int>(std::floor(p.y()));
    const TShiftState shift = ToShift(e->modifiers(), e->buttons());
    const TMouseButton button = ToButton(e->button());
    Guarded([&] { FForm->MouseInput(kind, button, x, y, shift); });
    ScheduleTrackPointer();
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
    ScheduleTrackPointer();
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
