#include "framework/services/RecordingPlatform.h"

#include <algorithm>

#include "framework/core/Exception.h"

namespace hx {

TRecordingPlatform::TRecordingPlatform() = default;
TRecordingPlatform::~TRecordingPlatform() = default;

void TRecordingPlatform::MessageBeep(unsigned type)
{
    FBeeps.push_back(type);
}

void TRecordingPlatform::ShellOpen(const std::string& address)
{
    FShellOpens.push_back(address);
}

std::string TRecordingPlatform::ModuleFileName()
{
    return FModuleFileName;
}

TPoint TRecordingPlatform::GetCursorPos()
{
    return FCursorPos;
}

std::int16_t TRecordingPlatform::GetKeyState(int virtualKey)
{
    auto it = FKeyStates.find(virtualKey);
    return it == FKeyStates.end() ? std::int16_t{0} : it->second;
}

void TRecordingPlatform::SetKeyDown(int virtualKey, bool down)
{
    // The high bit of the 16-bit state word says "down".
    FKeyStates[virtualKey] = down ? static_cast<std::int16_t>(-0x8000) : std::int16_t{0};
}

bool TRecordingPlatform::GetCapture()
{
    return FCapture;
}

TColor TRecordingPlatform::GetSysColor(int index)
{
    auto it = FSysColors.find(index);
    return it == FSysColors.end() ? ClassicSysColor(index) : it->second;
}

void TRecordingPlatform::SetClipboardText(const std::string& text)
{
    if (FClipboardFails)
        throw EClipboardException("クリップボードを開くことができません");
    FClipboardTexts.push_back(text);
}

std::string TRecordingPlatform::GetClipboardText()
{
    return FClipboardTexts.empty() ? std::string() : FClipboardTexts.back();
}

void TRecordingPlatform::ShowErrorBox(const std::string& caption, const std::string& text)
{
    FErrorBoxes.push_back({caption, text});
}

void TRecordingPlatform::ClearRecords()
{
    FBeeps.clear();
    FShellOpens.clear();
    FClipboardTexts.clear();
    FErrorBoxes.clear();
}

int TRecordingPlatform::StartTimer(int intervalMs, std::function<void()> tick)
{
    if (FTimersUnavailable)
        return 0;
    const int id = FNextTimerId++;
    ++FStartCount;
    FTimers[id] = TVirtualTimer{intervalMs, FNow + std::max(intervalMs, 1), std::move(tick)};
    return id;
}

void TRecordingPlatform::StopTimer(int id)
{
    FTimers.erase(id);
}

std::vector<int> TRecordingPlatform::RunningTimers() const
{
    std::vector<int> ids;
    for (const auto& [id, timer] : FTimers)
        ids.push_back(id);
    return ids;
}

bool TRecordingPlatform::IsRunning(int id) const
{
    return FTimers.count(id) != 0;
}

int TRecordingPlatform::Interval(int id) const
{
    auto it = FTimers.find(id);
    return it == FTimers.end() ? 0 : it->second.Interval;
}

void TRecordingPlatform::FireTimer(int id)
{
    auto it = FTimers.find(id);
    if (it == FTimers.end())
        return;
    // The tick may stop (erase) its own timer or start others: call a copy.
    std::function<void()> tick = it->second.Tick;
    tick();
}

int TRecordingPlatform::NextDue(long long limit) const
{
    int best = 0;
    long long bestDue = limit + 1;
    for (const auto& [id, timer] : FTimers)
        if (timer.Due < bestDue) {
            best = id;
            bestDue = timer.Due;
        }
    return best;
}

void TRecordingPlatform::Advance(int ms)
{
    const long long target = FNow + std::max(ms, 0);
    while (int id = NextDue(target)) {
        TVirtualTimer& timer = FTimers[id];
        FNow = timer.Due;
        timer.Due += std::max(timer.Interval, 1);
        FireTimer(id);
    }
    FNow = target;
}

} // namespace hx
