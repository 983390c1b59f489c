// The framework speed button: its button group (broadcast, one down at a time, a shared
// AllowAllUp), the press/release rules, the accelerator and enabling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/runtime/Buttons.h"
#include "framework/runtime/Form.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

// A plain control beside the buttons: it hears the group broadcast like any sibling.
class TPressedReceiver : public TControl {
public:
    explicit TPressedReceiver(TForm* form) : TControl(form) { SetParent(form); }
    std::vector<TMessage> Heard;
    void Dispatch(TMessage& message) override
    {
        const auto& m = message;
        if (m.Msg == CM_BUTTONPRESSED)
            Heard.push_back(m);
        TControl::Dispatch(message);
    }
};

// A control of another kind in the same group, taking part as every group member does.
class TLatch : public TGraphicControl, public TButtonGroupMember {
public:
    TLatch(TForm* form, int group) : TGraphicControl(form), Group(group) { SetParent(form); }
    int Group;
    bool IsDown = false;
    bool AllowsAllUp = false;
    std::vector<const TButtonGroupMember*> Senders;

    bool Down() const override { return IsDown; }
    bool AllowAllUp() const override { return AllowsAllUp; }
    void Tell() { TellGroup(*Parent(), Group); }
    void Dispatch(TMessage& m) override
    {
        if (m.Msg != CM_BUTTONPRESSED)
            return TGraphicControl::Dispatch(m);
        const TButtonGroupMember* sender = GroupSender(m, Group);
        if (!sender)
            return;
        Senders.push_back(sender);
        if (sender->Down() && IsDown)
            IsDown = false;
        AllowsAllUp = sender->AllowAllUp();
    }
};

class SpeedButtonTest : public ::testing::Test {
protected:
    SpeedButtonTest()
    {
        form.SetBounds(0, 0, 200, 50);
        for (int i = 0; i < 3; ++i) {
            auto* b = new TSpeedButton(&form);
            b->SetBounds(i * 30, 0, 25, 25);
            b->SetParent(&form);
            b->OnClick = TNotifyEvent([this, i](TObject*) { clicks.push_back(i); });
            buttons.push_back(b);
        }
    }
    void Group(int index, bool allowAllUp = false)
    {
        for (auto* b : buttons) {
            b->SetGroupIndex(index);
            b->SetAllowAllUp(allowAllUp);
        }
    }
    void ClickAt(int x, int y)
    {
        form.MouseInput(miDown, mbLeft, x, y, ssLeft);
        form.MouseInput(miUp, mbLeft, x, y, 0);
    }
    std::vector<int> DownStates() const
    {
        std::vector<int> v;
        for (auto* b : buttons)
            v.push_back(b->Down() ? 1 : 0);
        return v;
    }
    static LPARAM Sender(const TSpeedButton* b) { return TButtonGroupMember::AsParam(b); }

    TPlatformScope platform;
    TForm form{nullptr};
    std::vector<TSpeedButton*> buttons;
    std::vector<int> clicks;
};

TEST_F(SpeedButtonTest, PlainButtonClicksOnReleaseInsideAndNeverStaysDown)
{
    ClickAt(5, 5);
    form.MouseInput(miDown, mbLeft, 5, 5, ssLeft);
    form.MouseInput(miUp, mbLeft, 100, 40, 0); // released outside
    buttons[0]->SetDown(true);
    EXPECT_EQ(clicks, (std::vector<int>{0}));
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_EQ(buttons[0]->State(), bsUp);
}

TEST_F(SpeedButtonTest, GroupKeepsOneButtonDown)
{
    Group(1);
    ClickAt(5, 5);
    EXPECT_EQ(DownStates(), (std::vector<int>{1, 0, 0}));
    ClickAt(35, 5);
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(buttons[0]->State(), bsUp);
    EXPECT_EQ(buttons[1]->State(), bsExclusive);
    ClickAt(35, 5); // the down one cannot be raised without AllowAllUp, but it still clicks
    buttons[1]->SetDown(false);
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(clicks, (std::vector<int>{0, 1, 1}));

    buttons[2]->SetDown(true); // by code, the same rule
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 0, 1}));
}

TEST_F(SpeedButtonTest, AllowAllUpIsSharedByTheGroupAndLetsTheDownButtonRise)
{
    Group(1);
    buttons[1]->SetDown(true);
    buttons[2]->SetAllowAllUp(true); // an up button tells the group too
    EXPECT_TRUE(buttons[0]->AllowAllUp());
    EXPECT_TRUE(buttons[1]->AllowAllUp());
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 1, 0})); // an up sender raises nobody
    ClickAt(35, 5);
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(buttons[1]->State(), bsUp);

    buttons[0]->SetDown(true);
    buttons[0]->SetAllowAllUp(false); // switched off again: the down button stays latched
    EXPECT_FALSE(buttons[1]->AllowAllUp());
    EXPECT_FALSE(buttons[2]->AllowAllUp());
    ClickAt(5, 5);
    buttons[0]->SetDown(false);
    EXPECT_EQ(DownStates(), (std::vector<int>{1, 0, 0}));
}

TEST_F(SpeedButtonTest, GroupsOnOneParentAreIndependentAndJoiningAGroupRaisesItsDownButton)
{
    Group(1);
    buttons[2]->SetGroupIndex(2);
    buttons[2]->SetAllowAllUp(true);
    EXPECT_FALSE(buttons[0]->AllowAllUp()); // another group's switch
    buttons[2]->SetDown(true);
    buttons[0]->SetDown(true);
    EXPECT_EQ(DownStates(), (std::vector<int>{1, 0, 1}));

    buttons[2]->SetGroupIndex(1); // arrives down in group 1
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 0, 1}));
    EXPECT_TRUE(buttons[0]->AllowAllUp()); // and brings its switch along
}

TEST_F(SpeedButtonTest, LeavingEveryGroupRaisesTheDownButton)
{
    Group(1);
    buttons[1]->SetDown(true);
    buttons[1]->SetGroupIndex(0);
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(buttons[1]->State(), bsUp);
    buttons[1]->SetGroupIndex(1); // and comes back up, as a plain button would
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 0, 0}));
}

TEST_F(SpeedButtonTest, BroadcastCarriesTheGroupIndexAndTheSender)
{
    auto* receiver = new TPressedReceiver(&form);
    Group(7);
    receiver->Heard.clear();
    buttons[1]->SetDown(true);
    ASSERT_EQ(receiver->Heard.size(), 1u);
    const TMessage& m = receiver->Heard[0];
    EXPECT_EQ(m.Msg, 0xB018u);
    EXPECT_EQ(m.WParam, 7u);
    EXPECT_EQ(m.LParam, Sender(buttons[1]));
    EXPECT_EQ(m.Result, 0);

    receiver->Heard.clear();
    buttons[1]->SetAllowAllUp(true);
    buttons[1]->SetDown(false); // coming up tells no one
    buttons[1]->SetGroupIndex(3);
    ASSERT_EQ(receiver->Heard.size(), 2u);
    EXPECT_EQ(receiver->Heard[0].WParam, 7u);
    EXPECT_EQ(receiver->Heard[1].WParam, 3u);
    EXPECT_EQ(receiver->Heard[1].LParam, Sender(buttons[1]));

    receiver->Heard.clear();
    buttons[0]->SetGroupIndex(0); // leaving for no group: nothing to tell
    EXPECT_TRUE(receiver->Heard.empty());
}

TEST_F(SpeedButtonTest, SpeedButtonsAndAnotherKindOfGroupMemberFormOneGroup)
{
    auto* latch = new TLatch(&form, 1);
    Group(1);
    const int controls = form.ControlCount();
    buttons[0]->SetDown(true);
    latch->IsDown = true; // going down raises the down speed button
    latch->Tell();
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(buttons[0]->State(), bsUp);
    EXPECT_EQ(form.ControlCount(), controls); // telling adds no control

    latch->Senders.clear();
    buttons[1]->SetDown(true); // and a speed button going down raises the latch
    EXPECT_FALSE(latch->IsDown);
    EXPECT_EQ(latch->Senders, (std::vector<const TButtonGroupMember*>{buttons[1]}));

    latch->AllowsAllUp = true; // its switch reaches every speed button of the group
    latch->Tell();
    for (auto* b : buttons)
        EXPECT_TRUE(b->AllowAllUp());
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 1, 0})); // an up latch raises nobody
    buttons[2]->SetAllowAllUp(false);
    EXPECT_FALSE(latch->AllowsAllUp);
}

TEST_F(SpeedButtonTest, ButtonPressedMessagesThatDoNotConcernTheButtonAreIgnored)
{
    Group(1);
    buttons[0]->SetDown(true);
    TSpeedButton outsider(nullptr); // another parent's button, down in group 1 of its own
    outsider.SetGroupIndex(1);
    outsider.SetAllowAllUp(true);
    outsider.SetDown(true);
    struct Case {
        const char* name;
        WPARAM group;
        LPARAM sender;
        bool staysDown;
    };
    const std::vector<Case> cases{
        {"other group", 2, Sender(&outsider), true},
        {"no sender", 1, 0, true},
        {"itself", 1, Sender(buttons[0]), true},
        {"down sender of the group", 1, Sender(&outsider), false},
    };
    for (const Case& c : cases) {
        buttons[0]->Perform(CM_BUTTONPRESSED, c.group, c.sender);
        EXPECT_EQ(buttons[0]->Down(), c.staysDown) << c.name;
        EXPECT_EQ(buttons[0]->AllowAllUp(), !c.staysDown) << c.name;
    }
    EXPECT_EQ(buttons[0]->State(), bsUp);
}

// One release of a tracked press, by case: the latch afterwards and whether it clicked.
TEST_F(SpeedButtonTest, ReleaseRules)
{
    struct Case {
        const char* name;
        int group;
        bool allowAllUp;
        bool downBefore;
        bool inside;
        bool downAfter;
        bool clicked;
    };
    const std::vector<Case> cases{
        {"no group, inside", 0, false, false, true, false, true},
        {"no group, outside", 0, false, false, false, false, false},
        {"group, up, inside", 1, false, false, true, true, true},
        {"group, up, outside", 1, false, false, false, false, false},
        {"group, down, inside", 1, false, true, true, true, true},
        {"group, down, outside", 1, false, true, false, true, false},
        {"all-up group, down, inside", 1, true, true, true, false, true},
        {"all-up group, down, outside", 1, true, true, false, true, false},
    };
    TSpeedButton* b = buttons[1];
    for (const Case& c : cases) {
        b->SetAllowAllUp(true);
        b->SetDown(false);
        b->SetGroupIndex(c.group);
        b->SetDown(c.downBefore);
        b->SetAllowAllUp(c.allowAllUp);
        clicks.clear();
        form.MouseInput(miDown, mbLeft, 40, 10, ssLeft);
        EXPECT_EQ(b->State(), bsDown) << c.name;
        form.MouseInput(miUp, mbLeft, 40, c.inside ? 10 : 45, 0);
        EXPECT_EQ(b->Down(), c.downAfter) << c.name;
        EXPECT_EQ(b->State(), c.downAfter ? bsExclusive : bsUp) << c.name;
        EXPECT_EQ(clicks.size(), c.clicked ? 1u : 0u) << c.name;
    }
}

TEST_F(SpeedButtonTest, PressIsShownOnlyWhileThePointerIsInside)
{
    Group(1);
    TSpeedButton* b = buttons[0];
    b->SetDown(true);
    form.MouseInput(miDown, mbRight, 5, 5, ssRight); // only the left button presses
    form.MouseInput(miUp, mbRight, 5, 5, 0);
    EXPECT_EQ(b->State(), bsExclusive);

    buttons[1]->SetDown(true);
    form.MouseInput(miDown, mbLeft, 5, 5, ssLeft);
    EXPECT_EQ(b->State(), bsDown);
    form.MouseInput(miMove, mbLeft, 100, 5, ssLeft); // captured: the button hears it outside
    EXPECT_EQ(b->State(), bsUp);
    form.MouseInput(miMove, mbLeft, 24, 24, ssLeft);
    EXPECT_EQ(b->State(), bsDown);
    form.MouseInput(miMove, mbLeft, 25, 24, ssLeft);
    EXPECT_EQ(b->State(), bsUp);
    form.MouseInput(miUp, mbLeft, 25, 24, 0);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 1, 0}));
}

TEST_F(SpeedButtonTest, DoubleClickRaisesOnDblClickOnlyOnALatchedButton)
{
    Group(1);
    int dbl = 0;
    buttons[0]->OnDblClick = TNotifyEvent([&](TObject*) { ++dbl; });
    ClickAt(5, 5); // up -> latched
    form.MouseInput(miDoubleClick, mbLeft, 5, 5, ssLeft | ssDouble);
    form.MouseInput(miUp, mbLeft, 5, 5, 0);
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(clicks, (std::vector<int>{0, 0})); // the second press clicks as well
    buttons[1]->SetDown(true);
    buttons[0]->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakePointParam(5, 5));
    EXPECT_EQ(dbl, 1);
}

TEST_F(SpeedButtonTest, AcceleratorClicksAnEnabledButtonOnAShowingParent)
{
    buttons[1]->SetCaption("&Go");
    form.KeyChar('g');
    EXPECT_TRUE(clicks.empty()); // the form is not showing
    form.Show();
    EXPECT_EQ(buttons[1]->Perform(CM_DIALOGCHAR, 'G', 0), 1);
    form.KeyChar('g');
    form.KeyChar('o');
    EXPECT_EQ(clicks, (std::vector<int>{1, 1}));
    buttons[1]->SetEnabled(false);
    EXPECT_EQ(buttons[1]->Perform(CM_DIALOGCHAR, 'g', 0), 0);
    buttons[1]->SetEnabled(true);
    buttons[1]->SetVisible(false);
    EXPECT_EQ(buttons[1]->Perform(CM_DIALOGCHAR, 'g', 0), 0);
    EXPECT_EQ(clicks, (std::vector<int>{1, 1}));
}

TEST_F(SpeedButtonTest, DisablingKeepsTheLatchAndEndsAPress)
{
    Group(1);
    TSpeedButton* b = buttons[0];
    b->SetDown(true);
    b->SetEnabled(false);
    EXPECT_EQ(b->State(), bsDisabled);
    EXPECT_TRUE(b->Down());
    b->SetEnabled(true);
    EXPECT_EQ(b->State(), bsExclusive);

    buttons[1]->SetDown(true);
    form.MouseInput(miDown, mbLeft, 5, 5, ssLeft);
    b->SetEnabled(false); // mid-press
    b->SetEnabled(true);
    form.MouseInput(miUp, mbLeft, 5, 5, 0);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(b->State(), bsUp);
}

} // namespace
} // namespace hx::test
