#include "framework/services/Timer.h"

#include <atomic>

#include "framework/core/Exception.h"
#include "framework/core/Platform.h"

namespace hx {

namespace {
// Atomic (and lock-free) so that a signal handler may read it: see RunningCount.
std::atomic<int> gRunningCount = 0;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer()
{
    // Also reached from inside this timer's own tick (a handler freeing its timer): the
    // platform keeps the tick's state alive until the tick returns, and the tick does not
    // touch the timer after the handler.
    StopPlatformTimer();
}

int TTimer::RunningCount()
{
    return gRunningCount.load(std::memory_order_relaxed);
}

void TTimer::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(int value)
{
    if (value == FInterval)
        return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    FOnTimer = std::move(handler);
    UpdateTimer();
}

void TTimer::Timer()
{
    if (FOnTimer)
        FOnTimer(this);
}

void TTimer::StopPlatformTimer()
{
    if (FTimerId == 0)
        return;
    Platform().StopTimer(FTimerId);
    FTimerId = 0;
    --gRunningCount;
}

void TTimer::UpdateTimer()
{
    StopPlatformTimer();
    if (!FEnabled || FInterval <= 0 || !FOnTimer)
        return;
    // Ticks arrive from the event loop: an error in the handler goes to the application's
    // report and must never unwind into the platform.
    FTimerId = Platform().StartTimer(FInterval, [this] { Guarded([this] { Timer(); }); });
    if (FTimerId == 0) {
        // Left enabled, the timer would look running to its owner, which then never asks
        // again: a button whose fade failed once would never fade again.
        FEnabled = false;
        throw EOutOfResources("Not enough timers available");
    }
    ++gRunningCount;
}

} // namespace hx
