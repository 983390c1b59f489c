#pragma once
// The platform layer: the only way the framework reaches the operating system's services.
// The Qt implementation (QtPlatform) serves the real program; RecordingPlatform serves
// tests, recording every call and letting the test set what the platform reports.
#include <cstdint>
#include <functional>
#include <string>

#include "framework/core/Color.h"
#include "framework/core/Types.h"

namespace hx {

// Virtual key codes read through GetKeyState.
enum : int {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04,
    VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12,
};

class TPlatform {
public:
    virtual ~TPlatform();

    // Sounds.
    virtual void MessageBeep(unsigned type) = 0;
    // Asks the desktop to open an address or document with its registered program.
    // Never blocks; failure is not reported.
    virtual void ShellOpen(const std::string& address) = 0;
    // The running executable's full path.
    virtual std::string ModuleFileName() = 0;

    // Pointer and keys.
    virtual TPoint GetCursorPos() = 0;                // screen coordinates
    virtual std::int16_t GetKeyState(int virtualKey) = 0; // high bit set while down
    virtual bool GetCapture() = 0;                    // some window holds the mouse capture

    // System colours: the RGB value (0x00BBGGRR) for an index; 0 for an unknown index.
    virtual TColor GetSysColor(int index) = 0;

    // Clipboard: puts plain text there; raises EClipboardException when it cannot.
    virtual void SetClipboardText(const std::string& text) = 0;
    // The plain text on the clipboard; empty when there is none.
    virtual std::string GetClipboardText() { return {}; }

    // Error box: modal, stop icon, one OK button.
    virtual void ShowErrorBox(const std::string& caption, const std::string& text) = 0;

    // Timers: calls tick every intervalMs milliseconds on the GUI thread until stopped.
    // Returns 0 when no timer could be had.
    virtual int StartTimer(int intervalMs, std::function<void()> tick) = 0;
    virtual void StopTimer(int id) = 0;
};

// The platform in use. Until one is installed, a quiet built-in stand-in answers: no
// sound, no shell, fixed classic system colours, no timers.
TPlatform& Platform();
// Installs p (not owned; null puts the stand-in back). Returns the previous one.
TPlatform* SetPlatform(TPlatform* p);

// Whether one of our windows holds the mouse capture (a button held on a control whose style
// asks for capture). The form that takes or releases it says so; the Qt platform's
// GetCapture reports it.
void SetCaptureHeld(bool held);
bool CaptureHeld();

// The classic desktop palette, used where no desktop palette is available (tests).
TColor ClassicSysColor(int index);

} // namespace hx
