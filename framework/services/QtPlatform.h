#pragma once
// The platform of the real program: the desktop's services through Qt. Needs the GUI
// session (framework/graphics/GuiSession.h) before any call.
#include <memory>

#include "framework/core/Events.h"
#include "framework/core/Platform.h"

namespace hx {

class TQtPlatform final : public TPlatform {
public:
    TQtPlatform();
    ~TQtPlatform() override;

    void MessageBeep(unsigned type) override;
    void ShellOpen(const std::string& address) override;
    std::string ModuleFileName() override;
    TPoint GetCursorPos() override;
    std::int16_t GetKeyState(int virtualKey) override;
    bool GetCapture() override;
    // From the desktop palette; on the headless (offscreen) platform the classic table,
    // so that tests see fixed values.
    TColor GetSysColor(int index) override;
    void SetClipboardText(const std::string& text) override;
    std::string GetClipboardText() override;
    void ShowErrorBox(const std::string& caption, const std::string& text) override;
    // Precise timers, those of one interval sharing one tick (TickGroup.h); ticks run on
    // the GUI thread from the event loop.
    int StartTimer(int intervalMs, std::function<void()> tick) override;
    void StopTimer(int id) override;

    // The screen position and modifier keys (ssShift, ssCtrl, ssAlt) a pointer event of one
    // of our windows reported, as it arrives. For kPointerSeenMs after it, GetCursorPos and
    // GetKeyState for those keys answer from it without asking the display: every mouse
    // message wants the Alt key, the idle step after a batch of moves wants the place the
    // batch ended at, and each question costs a round trip per move. Later (after a menu or
    // a box ran in between), or once the pointer has left or a key has been pressed or
    // released (ForgetPointerEvent), the display is asked.
    static constexpr int kPointerSeenMs = 20;
    void PointerSeen(TPoint screen, TShiftState keys);
    void ForgetPointerEvent();

    // Runs the event loop for about ms milliseconds (tests of real timers, idle waits).
    void ProcessEventsFor(int ms);

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

// The process's Qt platform (created on first use).
TQtPlatform& QtPlatform();
// Makes the Qt platform the one in use (SetPlatform(&QtPlatform())).
void InstallQtPlatform();

} // namespace hx
