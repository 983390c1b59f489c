// The shine button's state machine: every event from every state, one row per case, so that
// one wrong row shows on its own.
#include <gtest/gtest.h>

#include <ostream>

#include "widgets/shinespdbtn/ShineState.h"

namespace hx {
namespace {

struct TTransitionCase {
    const char* Name;
    TShineState From;
    TShineEvent Event;
    TShineFacts Facts;
    TShineState To;
};

std::ostream& operator<<(std::ostream& out, const TTransitionCase& c) { return out << c.Name; }

class ShineTransitionTest : public ::testing::TestWithParam<TTransitionCase> {};

TEST_P(ShineTransitionTest, GivesTheStateOfItsRow)
{
    const TTransitionCase& c = GetParam();
    EXPECT_EQ(ShineTransition(c.From, c.Event, c.Facts), c.To);
}

constexpr TShineFacts kUp{false, ssUp};
constexpr TShineFacts kDown{true, ssUp};

INSTANTIATE_TEST_SUITE_P(
    Table, ShineTransitionTest,
    ::testing::Values(
        TTransitionCase{"EnterUp", ssUp, TShineEvent::Enter, kUp, ssActive},
        TTransitionCase{"EnterDown", ssDown, TShineEvent::Enter, kDown, ssPressed},
        TTransitionCase{"EnterActiveStays", ssActive, TShineEvent::Enter, kUp, ssActive},
        TTransitionCase{"EnterPressedStays", ssPressed, TShineEvent::Enter, kUp, ssPressed},
        TTransitionCase{"EnterDisabledStays", ssDisabled, TShineEvent::Enter, kUp, ssDisabled},
        TTransitionCase{"LeaveActive", ssActive, TShineEvent::Leave, kUp, ssUp},
        TTransitionCase{"LeavePressed", ssPressed, TShineEvent::Leave, kDown, ssDown},
        TTransitionCase{"LeaveUpStays", ssUp, TShineEvent::Leave, kUp, ssUp},
        TTransitionCase{"LeaveDownStays", ssDown, TShineEvent::Leave, kDown, ssDown},
        TTransitionCase{"LeaveDisabledStays", ssDisabled, TShineEvent::Leave, kUp, ssDisabled},
        TTransitionCase{"PressFromUp", ssUp, TShineEvent::Press, kUp, ssPressed},
        TTransitionCase{"PressFromDown", ssDown, TShineEvent::Press, kDown, ssPressed},
        TTransitionCase{"PressFromActive", ssActive, TShineEvent::Press, kUp, ssPressed},
        TTransitionCase{"TrackInside", ssUp, TShineEvent::TrackInside, kUp, ssPressed},
        TTransitionCase{"TrackOutsideUp", ssPressed, TShineEvent::TrackOutside, kUp, ssUp},
        TTransitionCase{"TrackOutsideDown", ssPressed, TShineEvent::TrackOutside, kDown, ssDown},
        TTransitionCase{"LatchDown", ssActive, TShineEvent::Latch, kDown, ssDown},
        TTransitionCase{"LatchUp", ssPressed, TShineEvent::Latch, kUp, ssUp},
        TTransitionCase{"GroupRaiseDown", ssDown, TShineEvent::GroupRaise, kUp, ssUp},
        TTransitionCase{"GroupRaisePressed", ssPressed, TShineEvent::GroupRaise, kUp, ssUp},
        TTransitionCase{"DisableFromPressed", ssPressed, TShineEvent::Disable, kDown, ssDisabled},
        TTransitionCase{"DisableFromUp", ssUp, TShineEvent::Disable, kUp, ssDisabled},
        TTransitionCase{"EnableFromDisabled", ssDisabled, TShineEvent::Enable, kUp, ssUp},
        TTransitionCase{"ReleaseUngrouped", ssPressed, TShineEvent::ReleaseUngrouped, kUp, ssUp},
        TTransitionCase{"ReleaseOutsideDown", ssDown, TShineEvent::ReleaseOutside, kDown, ssPressed},
        TTransitionCase{"ReleaseOutsideUp", ssUp, TShineEvent::ReleaseOutside, kUp, ssActive},
        TTransitionCase{"HookBegin", ssActive, TShineEvent::HookBegin, kUp, ssPressed},
        TTransitionCase{"HookEndRestoresActive", ssPressed, TShineEvent::HookEnd, TShineFacts{false, ssActive}, ssActive},
        TTransitionCase{"HookEndRestoresDown", ssPressed, TShineEvent::HookEnd, TShineFacts{true, ssDown}, ssDown}),
    [](const ::testing::TestParamInfo<TTransitionCase>& info) { return std::string(info.param.Name); });

} // namespace
} // namespace hx
