#include "framework/FormWindow.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "framework/Exception.h"

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
    if (ratio != impl.Scale)
        Guarded([this, ratio] { FForm->SetDisplayScale(ratio); });
    QPainter painter(this);
    const QRect r = e->rect();
    if (impl.Display.isNull()) {
        painter.drawImage(r, impl.Surface, r);
        return;
    }
    const QRectF source(r.left() * impl.Scale, r.top() * impl.Scale, r.width() * impl.Scale,
                        r.height() * impl.Scale);
    painter.drawImage(QRectF(r), impl.Display, source);
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
        Guarded([] { TForm::TrackPointer(); });
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

void TFormWindow::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!FForm->Impl().Moving)
        Guarded([this] { FForm->SetBounds(FForm->Left(), FForm->Top(), width(), height()); });
}

} // namespace hx
