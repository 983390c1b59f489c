// Timers of one interval sharing one tick: where a new member's first tick falls, the order
// members tick in, and members leaving or joining in the middle of a tick.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "framework/core/Exception.h"
#include "framework/services/TickGroup.h"

namespace hx {
namespace {

TEST(TickGroup, JoinsAtTheSharedTickNearestItsDueTime)
{
    // A 16 ms group; the member is due 16 ms after it joins.
    struct TCase {
        int Remaining;   // to the group's next tick when the member joins
        int FirstAfter;  // the shared tick the member first ticks on (1 = the next one)
    };
    const TCase cases[] = {
        {-1, 1},  // group not running: it starts now, the next tick is exactly one period
        {16, 1}, {8, 1},  // 16 or 8 ms away: the next tick is nearest (or as near)
        {7, 2}, {0, 2},   // the one after (23 or 16 ms) is nearer than 7 or 0 ms
    };
    // The longest interval a timer takes, with its group's tick as far off as it can be.
    TTickGroup longest;
    int ticked = 0;
    longest.Add(1, [&] { ++ticked; }, INT_MAX, INT_MAX);
    longest.Tick();
    EXPECT_EQ(ticked, 1);
    for (const TCase& c : cases) {
        TTickGroup group;
        int ticks = 0, firstOn = 0;
        group.Add(1, [&] { ++ticks; }, 16, c.Remaining);
        for (int n = 1; n <= 3 && !firstOn; ++n) {
            group.Tick();
            if (ticks)
                firstOn = n;
        }
        EXPECT_EQ(firstOn, c.FirstAfter) << "remaining " << c.Remaining;
    }
}

TEST(TickGroup, TicksInJoiningOrderAndCopesWithMembersLeavingAndJoiningInATick)
{
    TTickGroup group;
    std::string order;
    group.Add(1, [&] { order += "a"; }, 16, -1);
    group.Add(2, [&] {
        order += "b";
        group.Remove(2);  // itself: its handler is still running
        group.Remove(3);  // a later member: does not tick this time
        group.Add(4, [&] { order += "d"; }, 16, 16);  // waits for the next tick
    }, 16, 16);
    group.Add(3, [&] { order += "c"; }, 16, 16);
    group.Tick();
    EXPECT_EQ(order, "ab");
    group.Tick();
    EXPECT_EQ(order, "abad");
    EXPECT_FALSE(group.Remove(2)) << "already gone";
    EXPECT_TRUE(group.Remove(1));
    EXPECT_FALSE(group.Empty());
    EXPECT_TRUE(group.Remove(4));
    EXPECT_TRUE(group.Empty());
}

TEST(TickGroup, OneMembersErrorIsReportedAndTheOthersStillTick)
{
    static int reported;
    reported = 0;
    const TExceptionHandler previous = SetExceptionHandler([](std::exception_ptr) { ++reported; });
    TTickGroup group;
    int ticks = 0;
    group.Add(1, [] { throw Exception("tick failed"); }, 10, -1);
    group.Add(2, [&] { ++ticks; }, 10, 10);
    group.Tick();
    SetExceptionHandler(previous);
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(ticks, 1);
}

} // namespace
} // namespace hx
