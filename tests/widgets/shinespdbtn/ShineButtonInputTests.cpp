// The shine button driven as the form drives it: presses, moves and releases through
// TForm::MouseInput, hover through the form's pointer tracking and the poll timer, the
// accelerator through CM_DIALOGCHAR, and the button group shared with framework speed
// buttons on one parent.
#include <cctype>
#include <functional>
#include <string>

#include "framework/runtime/Buttons.h"
#include "framework/runtime/PointerTracker.h"
#include "framework/services/Timer.h"
#include "tests/widgets/shinespdbtn/ShinePaintSupport.h"

namespace hx::shinetest {
namespace {

// A shown form (the pointer search only finds showing forms), the probe button at
// (kLeft, kTop) 25 x 25, the platform's pointer moved with every input.
class ShineInput : public ShineFormTest {
protected:
    ShineInput()
    {
        form.Show();
        button->OnClick = TNotifyEvent([this](TObject*) { ++clicks; });
        button->OnMouseEnter = TMouseMoveEvent([this](TObject*, TShiftState, int, int) { ++enters; });
        button->OnMouseLeave = TMouseMoveEvent([this](TObject*, TShiftState, int, int) { ++leaves; });
    }

    void PointerAt(int x, int y) { platform.SetCursorPos(form.ClientToScreen(Point(x, y))); }
    // Form client coordinates; the idle-time tracking follows each input, as in the loop.
    void Move(int x, int y)
    {
        PointerAt(x, y);
        form.MouseInput(miMove, mbLeft, x, y, 0);
        PointerTracker().Track();
    }
    void Press(int x, int y, TMouseButton b = mbLeft)
    {
        PointerAt(x, y);
        form.MouseInput(miDown, b, x, y, b == mbLeft ? ssLeft : ssRight);
    }
    void Release(int x, int y, TMouseButton b = mbLeft)
    {
        PointerAt(x, y);
        form.MouseInput(miUp, b, x, y, 0);
    }
    static constexpr int kInX = kLeft + 5, kInY = kTop + 5; // over the button
    static constexpr int kOutX = 200, kOutY = 150;           // over the bare form

    TTimer* Poll() const { return button->ActiveButtonTimer(); }

    int clicks = 0;
    int enters = 0;
    int leaves = 0;
};

struct TReleaseCase {
    const char* Name;
    int Group;
    bool DownBefore;
    bool AllowAllUp;
    bool Inside;
    bool DownAfter;
    bool Clicked;
    TShineState Final;
};

const TReleaseCase kReleases[] = {
    {"group 0, inside", 0, false, false, true, false, true, ssActive},
    {"group 0, outside", 0, false, false, false, false, false, ssUp},
    {"group, up, inside", 1, false, false, true, true, true, ssPressed},
    {"group, up, outside", 1, false, false, false, false, false, ssUp},
    {"group, down, all-up, inside", 1, true, true, true, false, true, ssActive},
    {"group, down, all-up, outside", 1, true, true, false, true, false, ssDown},
    {"group, down, inside", 1, true, false, true, true, true, ssPressed},
    {"group, down, outside", 1, true, false, false, true, false, ssDown},
};

// Each row on a fresh form, so that one wrong row does not hide the others.
class ShineRelease : public ShineInput, public ::testing::WithParamInterface<TReleaseCase> {};

TEST_P(ShineRelease, ReleaseOfATrackedPressFollowsTheTable)
{
    const TReleaseCase& c = GetParam();
    button->SetGroupIndex(c.Group);
    button->SetAllowAllUp(true);
    button->SetDown(c.DownBefore);
    button->SetAllowAllUp(c.AllowAllUp);
    ASSERT_EQ(button->Down(), c.DownBefore);
    clicks = 0;
    Move(kOutX, kOutY);
    Move(kInX, kInY);
    Press(kInX, kInY);
    EXPECT_EQ(button->State(), ssPressed);
    EXPECT_TRUE(button->Tracking());
    const int x = c.Inside ? kInX + 1 : kOutX, y = c.Inside ? kInY : kOutY;
    Move(x, y);
    Release(x, y);
    EXPECT_EQ(button->Down(), c.DownAfter);
    EXPECT_EQ(clicks, c.Clicked ? 1 : 0);
    EXPECT_EQ(button->State(), c.Final);
    EXPECT_FALSE(button->Tracking());
    // The final state is also what the surface shows (after the pending paint).
    form.Update();
    const bool sunken = c.Final == ssPressed || c.Final == ssDown;
    EXPECT_EQ(At(12, 12), ColorToRGB(sunken ? button->PressedColors()->Color() : button->Colors()->Color()));
}

// "group, down, all-up, inside" -> group_down_all_up_inside
std::string RowName(const ::testing::TestParamInfo<TReleaseCase>& info)
{
    std::string name;
    for (const char* p = info.param.Name; *p; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p)))
            name += *p;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Table, ShineRelease, ::testing::ValuesIn(kReleases), RowName);

TEST_F(ShineInput, StateMovesByTheTableThroughPointerGroupAndEnabling)
{
    TSpeedButton* other = new TSpeedButton(&form);
    other->SetParent(&form);
    other->SetBounds(100, 100, 20, 20);
    other->SetGroupIndex(1);
    button->SetGroupIndex(1);
    struct TStep {
        const char* Name;
        std::function<void()> Do;
        TShineState State;
        bool Down;
    };
    const TStep steps[] = {
        {"pointer enters an up button", [&] { Move(kInX, kInY); }, ssActive, false},
        {"pointer leaves", [&] { Move(kOutX, kOutY); }, ssUp, false},
        {"SetDown(true)", [&] { button->SetDown(true); }, ssDown, true},
        {"pointer enters a down button", [&] { Move(kInX, kInY); }, ssPressed, true},
        {"pointer leaves a down button", [&] { Move(kOutX, kOutY); }, ssDown, true},
        {"left press", [&] { Move(kInX, kInY); Press(kInX, kInY); }, ssPressed, true},
        {"tracked move outside, down", [&] { Move(kOutX, kOutY); }, ssDown, true},
        {"tracked move back inside", [&] { Move(kInX, kInY); }, ssPressed, true},
        {"release outside", [&] { Move(kOutX, kOutY); Release(kOutX, kOutY); }, ssDown, true},
        {"another member goes down", [&] { other->SetDown(true); }, ssUp, false},
        {"pointer enters", [&] { Move(kInX, kInY); }, ssActive, false},
        {"disabling", [&] { button->SetEnabled(false); }, ssDisabled, false},
        {"enabling with the pointer over it", [&] { button->SetEnabled(true); }, ssActive, false},
        {"left press, tracked move outside, up", [&] { Press(kInX, kInY); Move(kOutX, kOutY); }, ssUp, false},
        {"release outside, up", [&] { Release(kOutX, kOutY); }, ssUp, false},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.Name);
        s.Do();
        EXPECT_EQ(button->State(), s.State);
        EXPECT_EQ(button->Down(), s.Down);
    }
    EXPECT_EQ(clicks, 0);
}

TEST_F(ShineInput, PlainButtonNeverLatchesAndClicksOnceHeldAndReleased)
{
    button->SetDown(true);
    EXPECT_FALSE(button->Down());
    Move(kInX, kInY);
    Press(kInX, kInY);
    form.Update();
    EXPECT_EQ(At(12, 12), ColorToRGB(button->PressedColors()->Color()));
    Release(kInX, kInY);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->State(), ssActive);
    EXPECT_TRUE(button->MouseInside());
    EXPECT_EQ(At(12, 12), ColorToRGB(button->Colors()->Color())); // repainted at once
}

TEST_F(ShineInput, MoveOverTheButtonStartsTheHoverWhenTheEnterMessageWasMissed)
{
    PointerAt(kInX, kInY);
    form.MouseInput(miMove, mbLeft, kInX, kInY, 0); // no tracking pass follows
    EXPECT_EQ(button->State(), ssActive);
    EXPECT_TRUE(button->MouseInside());
    EXPECT_TRUE(Poll()->Enabled());
    EXPECT_EQ(enters, 1);
}

TEST_F(ShineInput, RightButtonDoesNotPressButItsReleaseEndsALeftPress)
{
    Move(kInX, kInY);
    Press(kInX, kInY, mbRight);
    EXPECT_EQ(button->State(), ssActive);
    EXPECT_FALSE(button->Tracking());
    Release(kInX, kInY, mbRight);

    button->SetGroupIndex(3);
    Press(kInX, kInY);
    // The right release reaches the button (the capture holds the left press's target).
    button->Perform(WM_RBUTTONUP, 0, MakePointParam(5, 5));
    EXPECT_FALSE(button->Tracking());
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->State(), ssPressed);
}

TEST_F(ShineInput, DoubleClickRaisesOnDblClickOnlyOnALatchedButton)
{
    int doubles = 0;
    button->OnDblClick = TNotifyEvent([&](TObject*) { ++doubles; });
    Move(kInX, kInY);
    auto doubleClick = [&] {
        Press(kInX, kInY);
        Release(kInX, kInY);
        PointerAt(kInX, kInY);
        form.MouseInput(miDoubleClick, mbLeft, kInX, kInY, ssLeft);
        Release(kInX, kInY);
    };
    doubleClick();
    EXPECT_EQ(doubles, 0);
    EXPECT_EQ(clicks, 2); // the second press is a press again

    button->SetGroupIndex(1); // without all-up, the first click latches it and it stays down
    doubleClick();
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(doubles, 1);
}

TEST_F(ShineInput, HoverIsRefusedWhenDisabledDraggingOrCapturedButEventsStillRise)
{
    struct TCase {
        const char* Name;
        std::function<void()> Set, Reset;
    };
    const TCase cases[] = {
        {"disabled", [&] { button->SetEnabled(false); }, [&] { button->SetEnabled(true); }},
        {"automatic drag", [&] { button->SetDragMode(dmAutomatic); }, [&] { button->SetDragMode(dmManual); }},
        {"capture held", [&] { platform.SetCapture(true); }, [&] { platform.SetCapture(false); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Move(kOutX, kOutY);
        c.Set();
        enters = leaves = 0;
        Move(kInX, kInY);
        EXPECT_NE(button->State(), ssActive);
        EXPECT_FALSE(button->MouseInside());
        EXPECT_FALSE(Poll()->Enabled());
        EXPECT_GE(enters, 1);
        Move(kOutX, kOutY);
        EXPECT_GE(leaves, 1);
        c.Reset();
    }
}

TEST_F(ShineInput, PollTimerEndsTheHoverWithin200MsWhenNoLeaveComes)
{
    Move(kInX, kInY);
    ASSERT_EQ(button->State(), ssActive);
    ASSERT_TRUE(Poll()->Enabled());
    EXPECT_EQ(Poll()->Interval(), 200);
    leaves = 0;
    PointerAt(kOutX, kOutY); // no input, no tracking pass: no pointer-left message
    platform.Advance(199);
    EXPECT_EQ(button->State(), ssActive);
    platform.Advance(1);
    EXPECT_EQ(button->State(), ssUp);
    EXPECT_FALSE(button->MouseInside());
    EXPECT_FALSE(Poll()->Enabled());
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(At(12, 12), ColorToRGB(button->Colors()->Color()));

    // A tick with the pointer still over the button keeps the hover and the timer.
    Move(kInX, kInY);
    platform.Advance(400);
    EXPECT_EQ(button->State(), ssActive);
    EXPECT_TRUE(Poll()->Enabled());
    // A tick during a tracked press only stops the timer.
    Press(kInX, kInY);
    platform.Advance(200);
    EXPECT_FALSE(Poll()->Enabled());
    EXPECT_EQ(button->State(), ssPressed);
}

TEST_F(ShineInput, AcceleratorClicksAndWithAccelCharDownTogglesFirst)
{
    button->SetCaption("&Open");
    std::vector<bool> downInClick;
    button->OnClick = TNotifyEvent([&](TObject*) { downInClick.push_back(button->Down()); });
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'o', 0), 1);
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'O', 0), 1);
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'p', 0), 0);
    EXPECT_EQ(downInClick, (std::vector<bool>{false, false}));

    button->SetGroupIndex(1);
    button->SetAllowAllUp(true);
    button->SetAccelCharDown(true);
    downInClick.clear();
    form.KeyChar('o');
    form.KeyChar('O');
    EXPECT_EQ(downInClick, (std::vector<bool>{true, false}));

    button->SetEnabled(false);
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'o', 0), 0);
    button->SetEnabled(true);
    button->SetVisible(false);
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'o', 0), 0);
    button->SetVisible(true);
    form.Hide();
    EXPECT_EQ(button->Perform(CM_DIALOGCHAR, 'o', 0), 0);
    EXPECT_EQ(downInClick.size(), 2u);
}

TEST_F(ShineInput, ClickDownHookShowsThePressedLookInsideOnClick)
{
    button->SetClickDownHook(true);
    std::vector<TShineState> seen;
    std::vector<TColor> shown;
    button->OnClick = TNotifyEvent([&](TObject*) {
        seen.push_back(button->State());
        shown.push_back(At(12, 12)); // repainted before the handler runs
    });
    button->SetCaption("&k");
    button->Perform(CM_DIALOGCHAR, 'k', 0);
    EXPECT_EQ(button->State(), ssUp);
    Move(kInX, kInY);
    Press(kInX, kInY);
    Release(kInX, kInY);
    EXPECT_EQ(seen, (std::vector<TShineState>{ssPressed, ssPressed}));
    const TColor pressedFace = ColorToRGB(button->PressedColors()->Color());
    EXPECT_EQ(shown, (std::vector<TColor>{pressedFace, pressedFace}));
    EXPECT_EQ(button->State(), ssActive); // restored, then the hover settled
    EXPECT_EQ(At(12, 12), ColorToRGB(button->Colors()->Color()));
}

// A container that records the pointer notifications its children pass up.
class TListeningPanel : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::vector<unsigned> Heard;
    void Dispatch(TMessage& message) override
    {
        const auto& m = message;
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE)
            Heard.push_back(m.Msg);
        TWinControl::Dispatch(message);
    }
};

TEST_F(ShineInput, DispatchKeepsEnterAndLeaveFromTheParentAndRepaintsOnNotifications)
{
    auto* panel = new TListeningPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(150, 10, 60, 60);
    auto* inner = new TShineSpeedButton(&form);
    inner->SetParent(panel);
    inner->SetBounds(5, 5, 25, 25);
    Move(160, 20);
    Move(kOutX, kOutY);
    EXPECT_EQ(inner->State(), ssUp);
    EXPECT_TRUE(panel->Heard.empty());
    // A framework speed button beside it does tell the panel: the difference is the button's.
    auto* plain = new TSpeedButton(&form);
    plain->SetParent(panel);
    plain->SetBounds(30, 30, 25, 25);
    Move(185, 45);
    EXPECT_EQ(panel->Heard, (std::vector<unsigned>{CM_MOUSEENTER}));

    for (unsigned msg : {CM_FONTCHANGED, CM_TEXTCHANGED, CM_SYSCOLORCHANGE}) {
        form.Update();
        button->Perform(msg, 0, 0);
        EXPECT_EQ(form.InvalidRect(), button->BoundsRect()) << std::hex << msg;
    }
}

TEST(ShineShiftState, ReadsButtonsAndKeysFromThePlatform)
{
    TPlatformScope platform;
    EXPECT_EQ(CurrentShiftState(), 0u);
    const std::pair<int, TShiftState> keys[] = {{VK_LBUTTON, ssLeft}, {VK_RBUTTON, ssRight},
                                                {VK_MBUTTON, ssMiddle}, {VK_SHIFT, ssShift},
                                                {VK_CONTROL, ssCtrl}, {VK_MENU, ssAlt}};
    TShiftState all = 0;
    for (const auto& [key, flag] : keys) {
        platform.SetKeyState(key, 0x0001); // toggled only: not down
        EXPECT_EQ(CurrentShiftState(), all);
        platform.SetKeyDown(key, true);
        all |= flag;
        EXPECT_EQ(CurrentShiftState(), all);
    }
}

// Two shine buttons and one framework speed button, all in group 1 on the form.
class ShineGroup : public ShineInput {
protected:
    ShineGroup()
    {
        button->SetGroupIndex(1);
        second->SetParent(&form);
        second->SetBounds(60, kTop, 25, 25);
        second->SetGroupIndex(1);
        speed->SetParent(&form);
        speed->SetBounds(100, kTop, 25, 25);
        speed->SetGroupIndex(1);
        second->OnClick = TNotifyEvent([this](TObject*) { ++secondClicks; });
    }
    void ClickAt(int x, int y)
    {
        Move(x, y);
        Press(x, y);
        Release(x, y);
    }
    void ClickSecond() { ClickAt(65, kTop + 5); }
    void ClickFirst() { ClickAt(kInX, kInY); }

    TProbeButton* second = new TProbeButton(&form);
    TSpeedButton* speed = new TSpeedButton(&form);
    int secondClicks = 0;
};

TEST_F(ShineGroup, OneDownAtATimeWithoutAllUp)
{
    const int controls = form.ControlCount();
    ClickFirst();
    EXPECT_TRUE(button->Down());
    ClickSecond();
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(button->State(), ssUp);
    ClickSecond();
    EXPECT_TRUE(second->Down());
    EXPECT_EQ(secondClicks, 2);
    second->SetDown(false); // the down button cannot be raised directly
    EXPECT_TRUE(second->Down());
    // Telling the group adds no control to the parent.
    EXPECT_EQ(form.ControlCount(), controls);
}

TEST_F(ShineGroup, AllUpIsSharedAcrossKindsAndLetsTheDownButtonRise)
{
    button->SetAllowAllUp(true);
    EXPECT_TRUE(second->AllowAllUp());
    EXPECT_TRUE(speed->AllowAllUp());
    ClickSecond();
    ASSERT_TRUE(second->Down());
    ClickSecond();
    EXPECT_FALSE(second->Down());
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(speed->Down());
    // Switched off from the framework speed button: both shine buttons follow.
    speed->SetAllowAllUp(false);
    EXPECT_FALSE(button->AllowAllUp());
    EXPECT_FALSE(second->AllowAllUp());
    // A button of another group is not told.
    auto* stranger = new TShineSpeedButton(&form);
    stranger->SetParent(&form);
    stranger->SetGroupIndex(2);
    button->SetAllowAllUp(true);
    EXPECT_FALSE(stranger->AllowAllUp());
}

TEST_F(ShineGroup, MixedGroupWorksInBothDirections)
{
    button->SetDown(true);
    speed->SetDown(true);
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(button->State(), ssUp);
    button->SetDown(true);
    EXPECT_FALSE(speed->Down());
    EXPECT_TRUE(button->Down());
}

TEST_F(ShineGroup, DownButtonJoiningAGroupRaisesItsDownMember)
{
    button->SetDown(true);
    second->SetGroupIndex(2);
    second->SetDown(true);
    second->SetGroupIndex(1);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(button->Down());
}

TEST_F(ShineGroup, ButtonLatchedWithoutAParentRaisesNobodyWhenItGetsOne)
{
    second->SetDown(true);
    auto* loose = new TShineSpeedButton(&form); // owned, not placed
    loose->SetGroupIndex(1);
    loose->SetDown(true);
    EXPECT_TRUE(second->Down()) << "without a parent nothing is told";
    loose->SetParent(&form);
    EXPECT_TRUE(loose->Down());
    EXPECT_TRUE(second->Down()) << "getting a parent sends nothing";
    EXPECT_EQ(secondClicks, 0);
}

TEST_F(ShineGroup, DisablingADownButtonRaisesItAloneAndEnablingLeavesItUp)
{
    button->SetDown(true);
    button->SetEnabled(false);
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(button->State(), ssDisabled);
    EXPECT_FALSE(second->Down());
    EXPECT_FALSE(speed->Down());
    button->SetEnabled(true);
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(button->State(), ssUp);
    // The group was not told: another member may still be down beside a re-enabled one.
    second->SetDown(true);
    button->SetEnabled(false);
    EXPECT_TRUE(second->Down());
}

TEST_F(ShineGroup, ButtonPressedFromItselfOrAnotherGroupIsIgnored)
{
    button->SetDown(true);
    TSpeedButton foreign(nullptr);
    foreign.SetGroupIndex(1);
    foreign.SetAllowAllUp(true);
    foreign.SetDown(true);
    button->Perform(CM_BUTTONPRESSED, 2, TButtonGroupMember::AsParam(&foreign));
    EXPECT_TRUE(button->Down());
    button->Perform(CM_BUTTONPRESSED, 1, 0);
    EXPECT_TRUE(button->Down());
    button->Perform(CM_BUTTONPRESSED, 1, TButtonGroupMember::AsParam(button));
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(button->Perform(CM_BUTTONPRESSED, 1, TButtonGroupMember::AsParam(&foreign)), 0);
    EXPECT_FALSE(button->Down());
    EXPECT_TRUE(button->AllowAllUp());
}

} // namespace
} // namespace hx::shinetest
