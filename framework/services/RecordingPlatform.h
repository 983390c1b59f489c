#pragma once
// A platform for tests: it records what the framework asks of the OS (beeps, opened
// addresses, clipboard texts, error boxes) and reports what the test sets (pointer, keys,
// capture, executable path, system colours). It can be told to fail (clipboard busy, no
// timer left). Its timers are virtual: nothing ticks until the test fires one or advances
// the virtual clock, so timer-driven behaviour is tested without waiting.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/core/Platform.h"

namespace hx {

class TRecordingPlatform : public TPlatform {
public:
    struct TErrorBox {
        std::string Caption;
        std::string Text;
        friend bool operator==(const TErrorBox&, const TErrorBox&) = default;
    };

    TRecordingPlatform();
    ~TRecordingPlatform() override;

    // --- TPlatform -------------------------------------------------------------------
    void MessageBeep(unsigned type) override;
    void ShellOpen(const std::string& address) override;
    std::string ModuleFileName() override;
    TPoint GetCursorPos() override;
    std::int16_t GetKeyState(int virtualKey) override;
    bool GetCapture() override;
    TColor GetSysColor(int index) override;
    void SetClipboardText(const std::string& text) override;
    std::string GetClipboardText() override;
    void ShowErrorBox(const std::string& caption, const std::string& text) override;
    int StartTimer(int intervalMs, std::function<void()> tick) override;
    void StopTimer(int id) override;

    // --- What was asked ----------------------------------------------------------------
    const std::vector<unsigned>& Beeps() const { return FBeeps; }  // beep types, in order
    int BeepCount() const { return static_cast<int>(FBeeps.size()); }
    const std::vector<std::string>& ShellOpens() const { return FShellOpens; }
    const std::vector<std::string>& ClipboardTexts() const { return FClipboardTexts; }
    const std::vector<TErrorBox>& ErrorBoxes() const { return FErrorBoxes; }
    // Forgets every record (not the settings below, nor the timers).
    void ClearRecords();

    // --- What it reports -----------------------------------------------------------------
    void SetCursorPos(TPoint p) { FCursorPos = p; }
    // Holds (down = true) or releases a key or mouse button: GetKeyState then has its high
    // bit set. SetKeyState sets the raw state word.
    void SetKeyDown(int virtualKey, bool down);
    void SetKeyState(int virtualKey, std::int16_t state) { FKeyStates[virtualKey] = state; }
    void SetCapture(bool held) { FCapture = held; }
    void SetModuleFileName(std::string path) { FModuleFileName = std::move(path); }
    // Overrides one system colour; the rest come from the classic table.
    void SetSysColor(int index, TColor rgb) { FSysColors[index] = rgb; }

    // --- Failures ----------------------------------------------------------------------
    // While set, SetClipboardText raises EClipboardException (another program holds it).
    void SetClipboardFails(bool fails) { FClipboardFails = fails; }
    // While set, StartTimer gives no timer (returns 0).
    void SetTimersUnavailable(bool unavailable) { FTimersUnavailable = unavailable; }

    // --- Virtual timers ----------------------------------------------------------------
    std::vector<int> RunningTimers() const;  // ids, in the order they were started
    bool IsRunning(int id) const;
    int Interval(int id) const;              // 0 for a timer that is not running
    int StartCount() const { return FStartCount; } // every timer ever started
    // Runs one tick of a running timer now (a stopped id does nothing). The period of the
    // timer is not changed.
    void FireTimer(int id);
    // Moves the virtual clock on by ms, ticking every timer that falls due on the way, in
    // order of due time (ties: the one started first). A tick may stop or start timers;
    // a timer started during the advance is due one interval after its start.
    void Advance(int ms);
    long long Now() const { return FNow; }   // virtual milliseconds since construction

private:
    struct TVirtualTimer {
        int Interval = 0;
        long long Due = 0;
        std::function<void()> Tick;
    };
    // The running timer due first at or before limit; 0 when none.
    int NextDue(long long limit) const;

    std::vector<unsigned> FBeeps;
    std::vector<std::string> FShellOpens;
    std::vector<std::string> FClipboardTexts;
    std::vector<TErrorBox> FErrorBoxes;

    TPoint FCursorPos;
    std::map<int, std::int16_t> FKeyStates;
    bool FCapture = false;
    std::string FModuleFileName = "/opt/hexatint91/Hexatint91";
    std::map<int, TColor> FSysColors;
    bool FClipboardFails = false;
    bool FTimersUnavailable = false;

    std::map<int, TVirtualTimer> FTimers;  // ids grow, so map order is start order
    int FNextTimerId = 1;
    int FStartCount = 0;
    long long FNow = 0;
};

// Installs a platform for the lifetime of the scope and puts the previous one back.
class TPlatformInstall {
public:
    explicit TPlatformInstall(TPlatform& platform) : FPrevious(SetPlatform(&platform)) {}
    ~TPlatformInstall() { SetPlatform(FPrevious); }
    TPlatformInstall(const TPlatformInstall&) = delete;
    TPlatformInstall& operator=(const TPlatformInstall&) = delete;

private:
    TPlatform* FPrevious;
};

// A recording platform that installs itself for its own lifetime: declare one at the top
// of a test (or in a fixture) and every framework call in the test goes to it.
class TPlatformScope : public TRecordingPlatform {
public:
    TPlatformScope() : FInstall(*this) {}

private:
    TPlatformInstall FInstall;
};

} // namespace hx
