#include "framework/services/TickGroup.h"

#include <algorithm>
#include <utility>

#include "framework/core/Exception.h"

namespace hx {

void TTickGroup::Add(int id, std::function<void()> tick, int intervalMs, int remainingMs)
{
    // The shared ticks come at remaining and remaining + interval; the due time is interval.
    const bool skip = remainingMs >= 0 && 2 * static_cast<long long>(remainingMs) < intervalMs;
    FMembers.push_back(std::make_unique<TMember>(TMember{id, std::move(tick), skip}));
    ++FLive;
}

bool TTickGroup::Remove(int id)
{
    auto it = std::find_if(FMembers.begin(), FMembers.end(),
                           [id](const auto& m) { return m->Id == id && !m->Removed; });
    if (it == FMembers.end())
        return false;
    --FLive;
    if (FTicking)
        (*it)->Removed = true;
    else
        FMembers.erase(it);
    return true;
}

void TTickGroup::Tick()
{
    FTicking = true;
    const size_t count = FMembers.size();
    for (size_t i = 0; i < count; ++i) {
        TMember& m = *FMembers[i];
        if (m.Removed)
            continue;
        if (std::exchange(m.SkipNext, false))
            continue;
        // One member's error is reported and the others still tick.
        Guarded(m.OnTick);
    }
    FTicking = false;
    Sweep();
}

void TTickGroup::Sweep()
{
    std::erase_if(FMembers, [](const auto& m) { return m->Removed; });
}

} // namespace hx
