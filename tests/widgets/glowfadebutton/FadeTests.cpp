// The fade: ticks to the hover colours and back as the surface shows them, and the timer's
// life as the recording platform sees it.
#include <cstdio>
#include <ostream>
#include <string>

#include "SwatchFixture.h"

#include "framework/core/Exception.h"
#include "framework/runtime/PointerTracker.h"
#include "framework/services/Timer.h"

namespace hx::test {
namespace {

using FadeTest = SwatchTest;

struct TFadeCase {
    unsigned web;
    int ticks;           // fade-in and fade-out alike
    TColor borderAtEnd;  // after the fade-in
    TColor faceAfterOne; // after the first tick
    TColor faceOutOne;   // after the first tick of the fade-out
    TColor borderOutOne;
};

// Rows print as their names in test listings.
void PrintTo(const TFadeCase& row, std::ostream* out)
{
    char web[8];
    std::snprintf(web, sizeof web, "#%06x", row.web);
    *out << web;
}

// One swatch colour a row, each on a fresh button.
class FadeRowTest : public SwatchTest, public ::testing::WithParamInterface<TFadeCase> {};

TEST_P(FadeRowTest, SwatchesFadeToWhiteAndBackInTheirSlowestChannelsTicks)
{
    const TFadeCase& k = GetParam();
    button->SetColor(Web(k.web));
    Move();
    ASSERT_TRUE(Running());
    EXPECT_EQ(platform.Interval(TimerId()), 16);
    Tick();
    EXPECT_EQ(Face(), k.faceAfterOne);
    EXPECT_EQ(Border(), Grey(194));
    EXPECT_EQ(RunOut(), k.ticks - 1);
    EXPECT_EQ(Face(), clWhite);
    EXPECT_EQ(Border(), k.borderAtEnd);

    Leave();
    EXPECT_EQ(Face(), clWhite) << "the leave itself does not paint";
    Tick();
    EXPECT_EQ(Face(), k.faceOutOne);
    EXPECT_EQ(Border(), k.borderOutOne);
    EXPECT_EQ(RunOut(), k.ticks - 1);
    EXPECT_EQ(Face(), Web(k.web));
    EXPECT_EQ(Border(), clSilver) << "exactly back to 192";
    EXPECT_EQ(TTimer::RunningCount(), 0);
    EXPECT_EQ(button->FadeDelta(), -2);
}

INSTANTIATE_TEST_SUITE_P(
    Swatches, FadeRowTest,
    ::testing::Values(
        // a channel from 0: 2, 4, ... 254, then 256 clamped to 255
        TFadeCase{0x0033ff, 128, clWhite, Web(0x0235ff), Web(0xfdfdff), Grey(253)},
        TFadeCase{0x00ff00, 128, clWhite, Web(0x02ff02), Web(0xfdfffd), Grey(253)},
        TFadeCase{0x66ff99, 77, clWhite, Web(0x68ff9b), Web(0xfdfffd), Grey(253)},
        // light swatches: the face ends first, the border at 244
        TFadeCase{0xccccff, 26, Grey(244), Web(0xceceff), Web(0xfdfdff), Grey(242)},
        TFadeCase{0xffffcc, 26, Grey(244), Web(0xffffce), Web(0xfffffd), Grey(242)}),
    [](const ::testing::TestParamInfo<TFadeCase>& row) {
        char name[16];
        std::snprintf(name, sizeof name, "Web%06x", row.param.web);
        return std::string(name);
    });

TEST_F(FadeTest, SilverBorderReachesWhiteOnTheThirtySecondTickAndStays)
{
    Move();
    Ticks(31);
    EXPECT_EQ(Border(), Grey(254));
    Ticks(1);
    EXPECT_EQ(Border(), clWhite);
    Ticks(50);
    EXPECT_EQ(Border(), clWhite);
    // The fade-out from white: 253, 251, ... and the face's 0 channel ends on the 128th.
    Ticks(46);
    EXPECT_FALSE(Running());
    Leave();
    Tick();
    EXPECT_EQ(Face(), Web(0xfdfdff));
    EXPECT_EQ(Border(), Grey(253));
    Ticks(126);
    EXPECT_EQ(Face(), Web(0x0133ff)) << "red 1, green 51 already, blue 255";
    EXPECT_TRUE(Running());
    Ticks(1);
    EXPECT_EQ(Face(), Web(0x0033ff));
    EXPECT_FALSE(Running());
}

TEST_F(FadeTest, LeaveReversesARunningFadeInOnTheSameTimer)
{
    Move();
    Ticks(10);
    EXPECT_EQ(Face(), Web(0x1447ff));
    const int starts = platform.StartCount();
    const int paints = button->Paints;
    Leave();
    EXPECT_EQ(button->Paints, paints);
    EXPECT_EQ(platform.StartCount(), starts) << "the running timer is not restarted";
    Tick();
    EXPECT_EQ(Face(), Web(0x1245ff));
    EXPECT_EQ(RunOut(), 9);
    EXPECT_EQ(Face(), Web(0x0033ff));
    EXPECT_EQ(Border(), clSilver);
    EXPECT_EQ(TTimer::RunningCount(), 0);
}

TEST_F(FadeTest, MovesOverAFadingOutButtonRecolourTheCaptionButDoNotReverse)
{
    Move();
    Ticks(10);
    Leave();
    EXPECT_EQ(button->Font()->Color(), clWhite);
    Move();
    EXPECT_EQ(button->Font()->Color(), Web(0xff3300));
    EXPECT_EQ(button->FadeDelta(), -2);
    EXPECT_EQ(RunOut(), 10);
    EXPECT_EQ(Face(), Web(0x0033ff));
    // Idle with the pointer still over it: the next move starts the fade-in.
    Move();
    Tick();
    EXPECT_EQ(Face(), Web(0x0235ff));
}

// The phase follows the table: idle, fading in, over, fading out (a move does not reverse
// it), idle again.
TEST_F(FadeTest, FadePhaseFollowsTheHoverFade)
{
    EXPECT_EQ(button->FadePhase(), TFadePhase::Idle);
    Move();
    EXPECT_EQ(button->FadePhase(), TFadePhase::FadingIn);
    RunOut();
    EXPECT_EQ(button->FadePhase(), TFadePhase::Over);
    Leave();
    EXPECT_EQ(button->FadePhase(), TFadePhase::FadingOut);
    Tick();
    Move();
    EXPECT_EQ(button->FadePhase(), TFadePhase::FadingOut);
    RunOut();
    EXPECT_EQ(button->FadePhase(), TFadePhase::Idle);

    button->SetFadeOnOver(false); // the hover colours at once: over without fading
    Move();
    EXPECT_EQ(button->FadePhase(), TFadePhase::Over);
}

TEST_F(FadeTest, MoveOverAFullyFadedButtonRunsOneTickThatRepaintsTheSameColours)
{
    Move();
    RunOut();
    const int paints = button->Paints;
    Move();
    Move();
    EXPECT_TRUE(Running());
    EXPECT_EQ(RunOut(), 1);
    EXPECT_EQ(button->Paints, paints + 1);
    EXPECT_EQ(Face(), clWhite);
    EXPECT_EQ(Border(), clWhite);
}

TEST_F(FadeTest, WithoutFadeOnOverEveryMoveJumpsToTheHoverColoursAndTheLeaveFadesBack)
{
    button->SetFadeOnOver(false);
    Move();
    EXPECT_FALSE(Running());
    EXPECT_EQ(Face(), clWhite);
    EXPECT_EQ(Border(), clWhite);
    EXPECT_EQ(button->Paints, 1);
    Move();
    EXPECT_EQ(button->Paints, 2);
    Leave();
    EXPECT_EQ(RunOut(), 128);
    EXPECT_EQ(Face(), Web(0x0033ff));
    EXPECT_EQ(Border(), clSilver);
}

TEST_F(FadeTest, WithoutFadeOnLeaveTheLeaveStopsTheFadeAndPaintsTheNormalColoursAtOnce)
{
    button->SetFadeOnLeave(false);
    Move();
    Ticks(40);
    Leave();
    EXPECT_FALSE(Running());
    EXPECT_FALSE(button->FadeTimer()->Enabled());
    EXPECT_EQ(Face(), Web(0x0033ff));
    EXPECT_EQ(Border(), clSilver);
    EXPECT_EQ(button->Font()->Color(), clWhite);
}

TEST_F(FadeTest, ZeroStepStopsOnTheFirstTickAndNegativeStepSwapsTheDirections)
{
    button->SetStep(0);
    Move();
    EXPECT_EQ(RunOut(), 1);
    EXPECT_EQ(Face(), Web(0x0033ff));
    Leave();
    EXPECT_EQ(RunOut(), 1);
    EXPECT_EQ(Face(), Web(0x0033ff));

    button->SetStep(-2);
    Move();
    EXPECT_EQ(RunOut(), 1) << "hovering stops at Color";
    EXPECT_EQ(Face(), Web(0x0033ff));
    Leave();
    EXPECT_EQ(RunOut(), 128) << "leaving fades towards DestColor";
    EXPECT_EQ(Face(), clWhite);
    EXPECT_EQ(Border(), clWhite);
}

TEST_F(FadeTest, StepSetToZeroInTheMiddleOfAFadeStopsAtTheNextTick)
{
    Move();
    Ticks(10);
    const TColor halfway = Face();
    button->SetStep(0);
    Leave(); // the fade-out now moves by 0: it can never arrive anywhere
    EXPECT_EQ(RunOut(), 1) << "a tick that cannot move the face ends the fade";
    EXPECT_EQ(Face(), halfway);
    EXPECT_EQ(TTimer::RunningCount(), 0);
}

TEST_F(FadeTest, SpeedZeroRunsNoTimerSoHoveringOnlyRecoloursTheCaption)
{
    button->SetSpeed(0);
    const int starts = platform.StartCount();
    Move();
    EXPECT_EQ(button->Font()->Color(), Web(0xff3300));
    EXPECT_EQ(TTimer::RunningCount(), 0);
    EXPECT_EQ(platform.StartCount(), starts);
    form.Update();
    EXPECT_EQ(Face(), Web(0x0033ff));
    Leave();
    EXPECT_EQ(TTimer::RunningCount(), 0);
    EXPECT_EQ(button->Font()->Color(), clWhite);
}

TEST_F(FadeTest, ChangingSpeedDuringAFadeRestartsThePeriodWithTheNewInterval)
{
    Move();
    platform.Advance(16);
    EXPECT_EQ(Face(), Web(0x0235ff));
    platform.Advance(10);
    button->SetSpeed(30);
    EXPECT_EQ(platform.Interval(TimerId()), 30);
    platform.Advance(29);
    EXPECT_EQ(Face(), Web(0x0235ff)) << "the 6 ms left of the old period are gone";
    platform.Advance(1);
    EXPECT_EQ(Face(), Web(0x0437ff));
}

TEST_F(FadeTest, ColorEqualToDestColorMovesOnlyTheBorderOneStepPerMoveAndPerLeave)
{
    button->SetColor(clWhite);
    for (int i = 0; i < 3; ++i) {
        Move();
        EXPECT_EQ(RunOut(), 1);
    }
    EXPECT_EQ(Border(), Grey(198));
    Leave();
    EXPECT_EQ(RunOut(), 1);
    EXPECT_EQ(Border(), Grey(196));
    EXPECT_EQ(Face(), clWhite);
}

TEST_F(FadeTest, CaptionTakesTheHoverColourAtTheFirstMoveAndTheSavedOneAtTheLeave)
{
    button->Font()->SetColor(clGray);
    Move();
    EXPECT_EQ(button->Font()->Color(), Web(0xff3300));
    EXPECT_EQ(button->NormalCaptionColor(), clGray);
    Move();
    EXPECT_EQ(button->NormalCaptionColor(), clGray) << "later moves save nothing";
    Tick();
    bool hoverInk = false;
    for (int y = 1; y < kHeight - 1; ++y)
        for (int x = 1; x < kWidth - 1; ++x)
            hoverInk = hoverInk || At(x, y) == Web(0xff3300);
    EXPECT_TRUE(hoverInk) << "the tick draws the caption in the hover colour";
    Leave();
    EXPECT_EQ(button->Font()->Color(), clGray);
}

TEST_F(FadeTest, LeaveWithNoSavedCaptionColourKeepsTheFontColour)
{
    // A disabled button hears the leave without any move.
    button->Font()->SetColor(clGray);
    Leave();
    EXPECT_EQ(button->Font()->Color(), clGray);
    RunOut();
    // A font already in the hover colour saves nothing at the move either.
    button->Font()->SetColor(Web(0xff3300));
    Move();
    Leave();
    EXPECT_EQ(button->Font()->Color(), Web(0xff3300));
}

TEST_F(FadeTest, OnMouseLeaveIsCalledAfterTheLeaveIsHandled)
{
    std::vector<TColor> fontAtCall;
    button->onMouseLeave = TNotifyEvent([&](TObject* sender) {
        EXPECT_EQ(sender, button);
        fontAtCall.push_back(button->Font()->Color());
    });
    Move();
    Leave();
    EXPECT_EQ(fontAtCall, std::vector<TColor>{clWhite});
}

TEST_F(FadeTest, PairsOutsideThePaletteStillArriveAndStop)
{
    struct Case {
        const char* what;
        TColor color, dest;
        int ticks;
    };
    const Case cases[] = {
        {"system face colour to white", clBtnFace, clWhite, 0},
        {"white to a system colour", clWhite, clHighlight, 0},
        {"white to black: darker target", clWhite, clBlack, 128},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        button->SetColor(k.color);
        button->SetDestColor(k.dest);
        form.Update();
        EXPECT_EQ(Face(), ColorToRGB(k.color));
        Move();
        const int in = RunOut();
        EXPECT_LT(in, 1000);
        if (k.ticks) {
            EXPECT_EQ(in, k.ticks);
        }
        EXPECT_EQ(Face(), ColorToRGB(k.dest));
        Leave();
        const int out = RunOut();
        EXPECT_EQ(out, in);
        EXPECT_EQ(Face(), ColorToRGB(k.color));
        EXPECT_EQ(TTimer::RunningCount(), 0);
    }
}

TEST_F(FadeTest, HoverThroughTheFormsPointerTrackingEndsWithNoTimerRunning)
{
    form.Show();
    platform.SetCursorPos(form.ClientToScreen(Point(kLeft + 5, kTop + 5)));
    PointerTracker().Track();
    Move(5, 5);
    Ticks(20);
    platform.SetCursorPos(form.ClientToScreen(Point(100, 50)));
    PointerTracker().Track();
    EXPECT_EQ(button->FadeDelta(), -2);
    EXPECT_EQ(button->Font()->Color(), clWhite);
    platform.Advance(20 * 16);
    EXPECT_EQ(Face(), Web(0x0033ff));
    EXPECT_EQ(TTimer::RunningCount(), 0);
}

TEST_F(FadeTest, WithoutAPlatformTimerTheMoveRaisesAndNothingFades)
{
    platform.SetTimersUnavailable(true);
    EXPECT_THROW(button->Perform(WM_MOUSEMOVE, 0, MakePointParam(3, 3)), EOutOfResources);
    EXPECT_EQ(button->Font()->Color(), Web(0xff3300)) << "the caption was recoloured before";
    EXPECT_EQ(TTimer::RunningCount(), 0);
    EXPECT_EQ(Face(), Web(0x0033ff));
}

TEST_F(FadeTest, WithoutAPlatformTimerTheLeaveRaisesAndNothingFadesBack)
{
    Move();
    RunOut(); // fully faded in: the timer has stopped
    ASSERT_EQ(Face(), clWhite);
    const int started = platform.StartCount();
    platform.SetTimersUnavailable(true);
    EXPECT_THROW(Leave(), EOutOfResources);
    EXPECT_EQ(TTimer::RunningCount(), 0);
    EXPECT_EQ(platform.StartCount(), started) << "no timer was given";
    form.Update();
    EXPECT_EQ(Face(), clWhite) << "the fade-out does not run";
}

TEST_F(FadeTest, FreeingAFadingButtonStopsItsTimer)
{
    Move();
    Ticks(3);
    delete button;
    EXPECT_EQ(TTimer::RunningCount(), 0);
    EXPECT_TRUE(platform.RunningTimers().empty());
}

} // namespace
} // namespace hx::test
