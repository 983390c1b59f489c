#pragma once
// TTickGroup: the timers of one interval, ticked together from one platform timer.
//
// Many fades run at once while the pointer crosses the palette, each on its own timer. Given
// one platform timer each, they would wake the process once per fade per period and reach
// the window in as many copies; sharing the tick, as timers share the clock tick on desktops
// whose timers are coarse, they wake it once per period and their paints go out in one copy.
//
// A timer joins at the shared tick nearest its own due time (start + interval): its first
// period is exact to within half an interval, later ones are the group's, and the mean of
// every period stays the interval. A group that is not running starts with its first member,
// which then ticks after exactly one interval.
#include <functional>
#include <memory>
#include <vector>

namespace hx {

class TTickGroup {
public:
    // remainingMs: time to the group's next tick while it runs, negative while it does not.
    void Add(int id, std::function<void()> tick, int intervalMs, int remainingMs);
    // Safe inside a tick, the member's own included: the member ticks no more, and its
    // handler is freed once the tick is over. Returns false for an id that is not here.
    bool Remove(int id);
    // One shared tick: every member that joined before it, in the order they joined, each
    // under the application's guard. A member added during the tick waits for the next one.
    void Tick();
    // Whether no member is left, so the platform timer can stop.
    bool Empty() const { return FLive == 0; }

private:
    struct TMember {
        int Id;
        std::function<void()> OnTick;
        bool SkipNext;  // joined too close to the next tick: its first is the one after
        bool Removed = false;
    };
    void Sweep();
    // Members keep their address while the list grows during a tick.
    std::vector<std::unique_ptr<TMember>> FMembers;
    int FLive = 0;
    bool FTicking = false;
};

} // namespace hx
