#pragma once
// TTimer: a component that calls OnTimer every Interval milliseconds on the GUI thread.
// It holds a platform timer only while it can tick: Enabled, Interval above 0 and OnTimer
// assigned. Any change that affects the period (a new interval, a new handler, enabling)
// starts the period afresh. On the desktop, timers of one interval share one tick
// (TickGroup.h), so a period that starts afresh is exact to within half an interval.
#include "framework/core/Component.h"
#include "framework/core/Events.h"

namespace hx {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    const char* ClassName() const override { return "TTimer"; }

    bool Enabled() const { return FEnabled; }
    // Setting the current value does nothing; otherwise starts or stops the timer.
    // Raises EOutOfResources when the platform has no timer left (the timer stays stopped).
    void SetEnabled(bool value);

    int Interval() const { return FInterval; }       // milliseconds; default 1000
    void SetInterval(int value);                      // a different value restarts

    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent handler);            // always restarts

    // Whether a platform timer is held now.
    bool Running() const { return FTimerId != 0; }

    // Timers holding a platform timer, process-wide: lets tests and benchmarks check that
    // nothing ticks while the program is idle.
    static int RunningCount();

protected:
    // One tick: raises OnTimer with this timer as sender.
    virtual void Timer();

private:
    void UpdateTimer();
    void StopPlatformTimer();

    int FInterval = 1000;
    bool FEnabled = true;
    TNotifyEvent FOnTimer;
    int FTimerId = 0;  // the platform's id; 0 while stopped
};

} // namespace hx
