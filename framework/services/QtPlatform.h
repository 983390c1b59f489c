#pragma once
// The platform of the real program: the desktop's services through Qt. Needs the GUI
// session (framework/graphics/GuiSession.h) before any call.
#include <memory>

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
    // Precise timers; ticks run on the GUI thread from the event loop.
    int StartTimer(int intervalMs, std::function<void()> tick) override;
    void StopTimer(int id) override;

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
