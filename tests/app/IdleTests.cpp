// The window is invisible when idle: once the pointer has left and the fades are over,
// nothing ticks, nothing is started and nothing repaints, however long it sits there.
// The platform's timers are virtual here, so "10 s idle" is exact and instant; the real
// process is checked the same way by tests/e2e/idle.sh.
#include "MainFormFixture.h"

#include <algorithm>

#include "framework/runtime/PointerTracker.h"
#include "framework/services/Timer.h"

namespace hx::test {
namespace {

constexpr int kFullFadeMs = 128 * 16 + 100; // one fade at Speed 16, and a margin

class IdleTest : public MainFormTest {
protected:
    TMainForm1& Shown()
    {
        TMainForm1& form = Create();
        form.Show();
        form.Update();
        return form;
    }

    // The pointer over (x, y) of the window, as the window's input and pointer tracking see it.
    void PointerAt(TMainForm1& form, int x, int y)
    {
        Platform.SetCursorPos(form.ClientToScreen(Point(x, y)));
        form.MouseInput(miMove, mbLeft, x, y, 0);
        PointerTracker().Track();
    }

    void PointerAway()
    {
        Platform.SetCursorPos(Point(-500, -500));
        PointerTracker().Track();
    }

    // Ten seconds of idling: no tick, no timer started, no paint pass. (The leave itself
    // repaints the caption's colour once; that pass runs first.)
    void ExpectIdle(TMainForm1& form)
    {
        form.Update();
        EXPECT_EQ(TTimer::RunningCount(), 0);
        EXPECT_TRUE(Platform.RunningTimers().empty()) << "hint timers count too";
        const int starts = Platform.StartCount();
        const int passes = form.PaintPassCount();
        Platform.Advance(10000);
        form.Update();
        EXPECT_EQ(Platform.StartCount(), starts);
        EXPECT_EQ(form.PaintPassCount(), passes);
    }
};

// A hover that fades fully in, then a leave that fades fully out, on swatches with
// different fades: blue, white in the middle (its face never moves) and yellow.
TEST_F(IdleTest, HoverAndLeaveEndsWithNothingRunning)
{
    TMainForm1& form = Shown();
    for (int n : {1, 46, 91}) {
        SCOPED_TRACE(n);
        TGlowFadeButton* swatch = form.GlowFadeButton(n);
        PointerAt(form, swatch->Left() + swatch->Width() / 2, swatch->Top() + swatch->Height() / 2);
        EXPECT_EQ(TTimer::RunningCount(), 1);
        Platform.Advance(kFullFadeMs);
        PointerAway();
        Platform.Advance(kFullFadeMs);
        EXPECT_EQ(swatch->CurrentColor(), swatch->Color());
        ExpectIdle(form);
    }
}

// The pointer sweeping over every swatch, one 16 ms tick on each: many fades overlap, and
// every one of them ends once the pointer is away.
TEST_F(IdleTest, SweepOverEverySwatchLeavesNoFadeRunning)
{
    TMainForm1& form = Shown();
    int most = 0;
    for (int n = 1; n <= kSwatchCount; ++n) {
        const TGlowFadeButton* swatch = form.GlowFadeButton(n);
        PointerAt(form, swatch->Left() + 1, swatch->Top() + 1);
        most = std::max(most, TTimer::RunningCount());
        Platform.Advance(16);
    }
    EXPECT_GT(most, 1) << "the fades overlapped";
    PointerAway();
    Platform.Advance(kFullFadeMs);
    for (int n = 1; n <= kSwatchCount; ++n)
        EXPECT_EQ(form.GlowFadeButton(n)->CurrentColor(), form.GlowFadeButton(n)->Color()) << n;
    ExpectIdle(form);
}

} // namespace
} // namespace hx::test
