#pragma once
// Framework-private: the native window of a form and the form's Qt-side state. Only the
// framework's own .cpp files include this header.
#include <memory>

#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>

#include "framework/runtime/Form.h"
#include "framework/runtime/FormDisplay.h"

namespace hx {

// The top-level Qt widget that shows a form's surface and turns Qt input into the form's
// Qt-free input entry points. Every call into the form runs under the error guard.
class TFormWindow final : public QWidget {
public:
    explicit TFormWindow(TForm* form);
    TForm* Form() const { return FForm; }

    // Posted to ask for the form's paint pass (low priority, coalesced by the form).
    static const QEvent::Type PaintRequest;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void Mouse(QMouseEvent* e, TMouseInputKind kind);
    // Hands a key press to the form; whether the form used it.
    bool Key(QKeyEvent* e);

    TForm* FForm;
};

struct TFormImpl {
    QImage Surface;
    std::unique_ptr<TFormWindow> Window;
    TRect Invalid;                 // waiting for the paint pass
    bool PaintPosted = false;
    TRect Dirty;                   // drawn into the surface, not yet shown by the window
    bool FlushPosted = false;
    const TControl* PaintControl = nullptr; // the control the paint pass is painting
    TRect PaintClip;
    bool Moving = false;           // the form itself moves or resizes the window
    TFormDisplay Display;          // at a device pixel ratio above 1, what the window shows
};

// Asks for the idle step once the current batch of input has been handled: the pointer
// tracker's Track when the window saw the mouse (trackPointer), then the application's
// Idle. The form's input entry points ask for it; one posted call (no timer) serves the
// whole batch.
void ScheduleIdle(bool trackPointer);

} // namespace hx
