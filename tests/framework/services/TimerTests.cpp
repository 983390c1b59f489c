// TTimer on the recording platform's virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "framework/core/Exception.h"
#include "framework/services/RecordingPlatform.h"
#include "framework/services/Timer.h"

namespace hx {
namespace {

class TimerTest : public testing::Test {
protected:
    // Counts ticks and remembers the sender of each.
    TNotifyEvent Counter()
    {
        return TNotifyEvent([this](TObject* sender) { Senders.push_back(sender); });
    }

    TPlatformScope Platform;
    std::vector<TObject*> Senders;
};

TEST_F(TimerTest, RunsOnlyWhenEnabledWithAnIntervalAndAHandler)
{
    TTimer timer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_FALSE(timer.Running()) << "no handler yet";

    timer.SetOnTimer(Counter());
    ASSERT_TRUE(timer.Running());
    ASSERT_EQ(Platform.RunningTimers().size(), 1u);
    EXPECT_EQ(Platform.Interval(Platform.RunningTimers()[0]), 1000);

    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(-5);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(16);
    EXPECT_TRUE(timer.Running());
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    timer.SetOnTimer(TNotifyEvent());
    timer.SetEnabled(true);
    EXPECT_FALSE(timer.Running()) << "handler cleared";
    EXPECT_TRUE(Platform.RunningTimers().empty());
    Platform.Advance(1000);
    EXPECT_TRUE(Senders.empty());
}

TEST_F(TimerTest, TicksEveryIntervalWithTheTimerAsSender)
{
    TTimer timer(nullptr);
    timer.SetInterval(16);
    timer.SetOnTimer(Counter());
    Platform.Advance(15);
    EXPECT_EQ(Senders.size(), 0u);
    Platform.Advance(1);
    EXPECT_EQ(Senders.size(), 1u);
    Platform.Advance(16 * 127);
    ASSERT_EQ(Senders.size(), 128u);
    EXPECT_EQ(Senders.front(), &timer);
}

TEST_F(TimerTest, IntervalChangeRestartsThePeriodButTheSameValueDoesNot)
{
    TTimer timer(nullptr);
    timer.SetInterval(100);
    timer.SetOnTimer(Counter());
    Platform.Advance(90);
    timer.SetInterval(100);  // unchanged: the period goes on
    Platform.Advance(10);
    EXPECT_EQ(Senders.size(), 1u);

    Platform.Advance(90);
    timer.SetInterval(50);  // 90 ms into a period: starts afresh at 50
    Platform.Advance(49);
    EXPECT_EQ(Senders.size(), 1u);
    Platform.Advance(1);
    EXPECT_EQ(Senders.size(), 2u);
    EXPECT_EQ(Platform.Interval(Platform.RunningTimers()[0]), 50);

    // A new handler restarts too; re-enabling an enabled timer does not.
    const int starts = Platform.StartCount();
    timer.SetEnabled(true);
    EXPECT_EQ(Platform.StartCount(), starts);
    timer.SetOnTimer(Counter());
    EXPECT_EQ(Platform.StartCount(), starts + 1);
    EXPECT_EQ(Platform.RunningTimers().size(), 1u);
}

TEST_F(TimerTest, NoTimerLeftRaisesAndStaysStopped)
{
    TTimer timer(nullptr);
    timer.SetEnabled(false);
    timer.SetOnTimer(Counter());
    Platform.SetTimersUnavailable(true);
    try {
        timer.SetEnabled(true);
        FAIL() << "expected EOutOfResources";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message(), "Not enough timers available");
    }
    EXPECT_FALSE(timer.Running());
    EXPECT_FALSE(timer.Enabled()) << "a timer that got none must not look enabled";
    EXPECT_EQ(TTimer::RunningCount(), 0);

    Platform.SetTimersUnavailable(false);
    timer.SetEnabled(true);  // asking again, once the platform has timers, gets one
    EXPECT_TRUE(timer.Running());
}

TEST_F(TimerTest, RunningCountFollowsEveryTimer)
{
    EXPECT_EQ(TTimer::RunningCount(), 0);
    TComponent owner(nullptr);
    auto* a = new TTimer(&owner);
    auto* b = new TTimer(&owner);
    a->SetOnTimer(Counter());
    b->SetOnTimer(Counter());
    EXPECT_EQ(TTimer::RunningCount(), 2);
    a->SetInterval(5);  // restart: still one timer
    EXPECT_EQ(TTimer::RunningCount(), 2);
    b->SetEnabled(false);
    EXPECT_EQ(TTimer::RunningCount(), 1);
    delete a;
    EXPECT_EQ(TTimer::RunningCount(), 0);
    EXPECT_TRUE(Platform.RunningTimers().empty());
    b->SetEnabled(true);
    EXPECT_EQ(TTimer::RunningCount(), 1);
    // Freed with its owner.
}

TEST_F(TimerTest, TimerFreedInsideItsOwnTick)
{
    auto* timer = new TTimer(nullptr);
    int ticks = 0;
    timer->SetInterval(10);
    timer->SetOnTimer(TNotifyEvent([&](TObject* sender) {
        ++ticks;
        delete static_cast<TTimer*>(sender);
    }));
    Platform.Advance(100);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(TTimer::RunningCount(), 0);
    EXPECT_TRUE(Platform.RunningTimers().empty());
}

TEST_F(TimerTest, HandlerStoppingOrRetuningItsTimerInsideATick)
{
    TTimer timer(nullptr);
    timer.SetInterval(10);
    int ticks = 0;
    timer.SetOnTimer(TNotifyEvent([&](TObject*) {
        if (++ticks == 3)
            timer.SetInterval(30);
        if (ticks == 5)
            timer.SetEnabled(false);
    }));
    Platform.Advance(1000);
    EXPECT_EQ(ticks, 5);
    EXPECT_FALSE(timer.Running());
}

TEST_F(TimerTest, ErrorInATickGoesToTheGuardNotTheCaller)
{
    static std::vector<std::string> reported;
    reported.clear();
    const TExceptionHandler previous = SetExceptionHandler([](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const Exception& e) {
            reported.push_back(e.Message());
        }
    });
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.SetOnTimer(TNotifyEvent([](TObject*) { throw Exception("tick failed"); }));
    EXPECT_NO_THROW(Platform.Advance(20));
    SetExceptionHandler(previous);
    EXPECT_EQ(reported, (std::vector<std::string>{"tick failed", "tick failed"}));
    EXPECT_TRUE(timer.Running()) << "an error does not stop the timer";
}

} // namespace
} // namespace hx
