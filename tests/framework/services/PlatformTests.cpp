// The recording platform's own promises (other areas' tests lean on them), the clipboard
// object, and the Qt platform on the headless desktop.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "framework/services/Clipboard.h"
#include "framework/core/Exception.h"
#include "framework/services/QtPlatform.h"
#include "framework/services/RecordingPlatform.h"
#include "framework/services/Timer.h"

namespace hx {
namespace {

TEST(RecordingPlatform, RecordsCallsAndReportsWhatTheTestSets)
{
    TPlatformScope platform;
    EXPECT_EQ(&Platform(), &platform);
    Platform().MessageBeep(0);
    Platform().ShellOpen("http://example.org/info.php?pf=w&sn=Hexatint91");
    Platform().ShowErrorBox("Hexatint91", "boom.");
    EXPECT_EQ(platform.Beeps(), std::vector<unsigned>{0});
    EXPECT_EQ(platform.ShellOpens(), std::vector<std::string>{"http://example.org/info.php?pf=w&sn=Hexatint91"});
    EXPECT_EQ(platform.ErrorBoxes(), (std::vector<TRecordingPlatform::TErrorBox>{{"Hexatint91", "boom."}}));

    platform.SetCursorPos({10, -3});
    platform.SetKeyDown(VK_LBUTTON, true);
    platform.SetCapture(true);
    platform.SetModuleFileName("/a/my.tint");
    platform.SetSysColor(COLOR_BTNFACE, RGB(1, 2, 3));
    EXPECT_EQ(Platform().GetCursorPos(), (TPoint{10, -3}));
    EXPECT_TRUE(Platform().GetKeyState(VK_LBUTTON) & 0x8000);
    EXPECT_EQ(Platform().GetKeyState(VK_SHIFT), 0);
    EXPECT_TRUE(Platform().GetCapture());
    EXPECT_EQ(Platform().ModuleFileName(), "/a/my.tint");
    EXPECT_EQ(Platform().GetSysColor(COLOR_BTNFACE), RGB(1, 2, 3));
    EXPECT_EQ(Platform().GetSysColor(COLOR_INFOBK), ClassicSysColor(COLOR_INFOBK));
}

TEST(RecordingPlatform, ScopePutsThePreviousPlatformBack)
{
    TPlatform* before = &Platform();
    {
        TPlatformScope outer;
        {
            TPlatformScope inner;
            EXPECT_EQ(&Platform(), &inner);
        }
        EXPECT_EQ(&Platform(), &outer);
    }
    EXPECT_EQ(&Platform(), before);
}

TEST(RecordingPlatform, AdvanceFiresDueTimersInOrder)
{
    TPlatformScope platform;
    std::string order;
    const int a = platform.StartTimer(30, [&] { order += "a"; });
    const int b = platform.StartTimer(20, [&] { order += "b"; });
    platform.Advance(60);  // b@20 a@30 b@40 a@60 b@60 (tie: the older one first)
    EXPECT_EQ(order, "babab");
    platform.FireTimer(b);  // one extra tick, period unchanged
    platform.StopTimer(a);
    platform.FireTimer(a);  // stopped: nothing
    EXPECT_EQ(order, "bababb");
    EXPECT_FALSE(platform.IsRunning(a));
    EXPECT_EQ(platform.Interval(a), 0);
    EXPECT_EQ(platform.RunningTimers(), std::vector<int>{b});
    platform.StopTimer(b);
}

TEST(Clipboard, PutsTextThroughThePlatform)
{
    TPlatformScope platform;
    Clipboard()->SetTextBuf("#ff9900");
    Clipboard()->SetTextBuf("");
    Clipboard()->SetTextBuf(nullptr);
    Clipboard()->SetAsText("#0033ff");
    EXPECT_EQ(platform.ClipboardTexts(), (std::vector<std::string>{"#ff9900", "", "", "#0033ff"}));
    EXPECT_EQ(Clipboard()->AsText(), "#0033ff");
}

TEST(Clipboard, BusyClipboardRaisesTheClipboardError)
{
    TPlatformScope platform;
    platform.SetClipboardFails(true);
    try {
        Clipboard()->SetTextBuf("#ff9900");
        FAIL() << "expected EClipboardException";
    } catch (const EClipboardException& e) {
        EXPECT_EQ(e.Message(), "クリップボードを開くことができません");
    }
    EXPECT_TRUE(platform.ClipboardTexts().empty());
}

TEST(QtPlatform, HeadlessDesktopServices)
{
    TQtPlatform& qt = QtPlatform();
    for (int index = 0; index <= COLOR_ENDCOLORS; ++index)
        EXPECT_EQ(qt.GetSysColor(index), ClassicSysColor(index)) << "index " << index;
    EXPECT_EQ(qt.GetSysColor(99), 0);

    qt.SetClipboardText("#ff9900");
    EXPECT_EQ(qt.GetClipboardText(), "#ff9900");
    qt.SetClipboardText("");
    EXPECT_EQ(qt.GetClipboardText(), "");

    const std::string exe = qt.ModuleFileName();
    EXPECT_EQ(exe.front(), '/');
    EXPECT_EQ(exe.substr(exe.rfind('/') + 1), "services_tests");
    EXPECT_EQ(qt.GetKeyState(VK_LBUTTON) & 0x8000, 0);

    SetCaptureHeld(true);
    EXPECT_TRUE(qt.GetCapture());
    SetCaptureHeld(false);
    EXPECT_FALSE(qt.GetCapture());
}

// The headless display puts the pointer nowhere near (12345, 678) and holds no key down, so
// each answer shows where it came from.
TEST(QtPlatform, APointerEventAnswersPositionAndModifiersOnlyWhileFresh)
{
    TQtPlatform& qt = QtPlatform();
    const TPoint far{12345, 678};
    qt.PointerSeen(far, ssAlt | ssCtrl);
    EXPECT_EQ(qt.GetCursorPos(), far);
    EXPECT_LT(qt.GetKeyState(VK_MENU), 0);
    EXPECT_LT(qt.GetKeyState(VK_CONTROL), 0);
    EXPECT_EQ(qt.GetKeyState(VK_SHIFT), 0);

    qt.ForgetPointerEvent();
    EXPECT_NE(qt.GetCursorPos(), far) << "the pointer left or a key changed: the display is asked";
    EXPECT_EQ(qt.GetKeyState(VK_MENU), 0);

    qt.PointerSeen(far, ssAlt);
    QtPlatform().ProcessEventsFor(TQtPlatform::kPointerSeenMs + 10);  // a menu ran in between
    EXPECT_NE(qt.GetCursorPos(), far) << "a stale event is not the pointer's place";
    EXPECT_EQ(qt.GetKeyState(VK_MENU), 0);
}

// Four fades started a few milliseconds apart tick together: the process wakes once a
// period for all of them, not once per fade.
TEST(QtPlatform, TimersOfOneIntervalTickTogether)
{
    InstallQtPlatform();
    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> ticks;
    std::vector<int> counts(4, 0);
    std::vector<std::unique_ptr<TTimer>> fades;
    for (int i = 0; i < 4; ++i) {
        fades.push_back(std::make_unique<TTimer>(nullptr));
        fades.back()->SetInterval(16);
        fades.back()->SetOnTimer(TNotifyEvent([&, i](TObject*) {
            ticks.push_back(Clock::now());
            ++counts[i];
        }));
        QtPlatform().ProcessEventsFor(3);
    }
    QtPlatform().ProcessEventsFor(200);
    fades.clear();
    EXPECT_EQ(TTimer::RunningCount(), 0);
    SetPlatform(nullptr);

    // Ticks less than 2 ms apart came from one wake-up.
    int wakeups = ticks.empty() ? 0 : 1;
    for (size_t i = 1; i < ticks.size(); ++i)
        wakeups += ticks[i] - ticks[i - 1] > std::chrono::milliseconds(2);
    for (int count : counts)
        EXPECT_GE(count, 5);
    EXPECT_LT(wakeups * 3, static_cast<int>(ticks.size())) << wakeups << " wake-ups for " << ticks.size() << " ticks";
}

TEST(QtPlatform, TimersTickFromTheEventLoopAndSurviveBeingFreedInATick)
{
    InstallQtPlatform();
    int fast = 0, once = 0;
    TTimer keeps(nullptr);
    keeps.SetInterval(5);
    keeps.SetOnTimer(TNotifyEvent([&](TObject*) { ++fast; }));
    auto* freesItself = new TTimer(nullptr);
    freesItself->SetInterval(5);
    freesItself->SetOnTimer(TNotifyEvent([&](TObject* sender) {
        ++once;
        delete static_cast<TTimer*>(sender);
    }));
    EXPECT_EQ(TTimer::RunningCount(), 2);
    QtPlatform().ProcessEventsFor(100);
    EXPECT_GE(fast, 5);
    EXPECT_EQ(once, 1);
    keeps.SetEnabled(false);
    EXPECT_EQ(TTimer::RunningCount(), 0);
    const int ticked = fast;
    QtPlatform().ProcessEventsFor(30);
    EXPECT_EQ(fast, ticked);
    SetPlatform(nullptr);
}

} // namespace
} // namespace hx
