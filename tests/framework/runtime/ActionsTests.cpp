// Actions: what a linked control takes from its action and when it stops following it, group
// checking, running an action by click, shortcut or menu, freeing an action under its
// clients, and OnUpdate in the idle step after input (never while idle).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/Keys.h"
#include "framework/runtime/Actions.h"
#include "framework/runtime/Application.h"
#include "framework/runtime/Buttons.h"
#include "framework/runtime/Form.h"
#include "framework/runtime/Menus.h"
#include "framework/services/RecordingPlatform.h"
#include "framework/services/Timer.h"

namespace hx::test {
namespace {

class ActionsTest : public ::testing::Test {
protected:
    ActionsTest()
    {
        form.SetBounds(0, 0, 100, 40);
        for (TAction* a : {bold, italic}) {
            a->SetActionList(list);
            a->SetGroupIndex(1);
        }
        bold->SetCaption("Bold");
        italic->SetCaption("Italic");
        first->SetParent(&form);
        first->SetBounds(0, 0, 30, 30);
        second->SetParent(&form);
        second->SetBounds(40, 0, 30, 30);
        first->SetAction(bold);
        second->SetAction(italic);
        bold->OnExecute = TNotifyEvent([this](TObject* sender) {
            ran.push_back("bold by " + Named(static_cast<TBasicAction*>(sender)->ActionComponent()));
        });
    }
    static std::string Named(TComponent* c) { return c ? c->Name() : "nobody"; }
    void ClickAt(int x, int y)
    {
        form.MouseInput(miDown, mbLeft, x, y, ssLeft);
        form.MouseInput(miUp, mbLeft, x, y, 0);
    }

    TPlatformScope platform;
    TForm form{nullptr};
    TActionList* list = new TActionList(&form);
    TAction* bold = new TAction(&form);
    TAction* italic = new TAction(&form);
    TSpeedButton* first = new TSpeedButton(&form);
    TSpeedButton* second = new TSpeedButton(&form);
    std::vector<std::string> ran;
};

TEST_F(ActionsTest, ALinkedButtonFollowsUntilItIsGivenAValueOfItsOwn)
{
    EXPECT_EQ(first->Caption(), "Bold");
    EXPECT_EQ(first->GroupIndex(), 1);
    bold->SetCaption("&Bold");
    bold->SetHint("Heavier strokes");
    bold->SetEnabled(false);
    bold->SetVisible(false);
    EXPECT_EQ(first->Caption(), "&Bold");
    EXPECT_EQ(first->Hint(), "Heavier strokes");
    EXPECT_FALSE(first->Enabled());
    EXPECT_FALSE(first->Visible());

    first->SetCaption("Fat");
    bold->SetCaption("Strong");
    EXPECT_EQ(first->Caption(), "Fat") << "a caption of its own stays";
    bold->SetEnabled(true);
    EXPECT_TRUE(first->Enabled()) << "the other values still follow";
}

TEST_F(ActionsTest, CheckingAnActionOfAGroupLatchesItsButtonAndUnchecksTheOthers)
{
    bold->SetChecked(true);
    EXPECT_TRUE(first->Down());
    italic->SetChecked(true);
    EXPECT_FALSE(bold->Checked());
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down()) << "raised by its button group";

    // An action in another group or in no list is left alone.
    TAction loose(nullptr);
    loose.SetGroupIndex(1);
    loose.SetChecked(true);
    EXPECT_TRUE(italic->Checked());
}

TEST_F(ActionsTest, AClickRunsTheActionUnlessTheControlHasItsOwnHandler)
{
    first->SetName("First");
    ClickAt(10, 10);
    EXPECT_EQ(ran, (std::vector<std::string>{"bold by First"}));
    EXPECT_EQ(bold->ActionComponent(), nullptr) << "only while it runs";

    bold->SetEnabled(false); // the button follows; a disabled action does nothing anyway
    EXPECT_FALSE(bold->Execute());
    bold->SetEnabled(true);

    int own = 0;
    first->OnClick = TNotifyEvent([&](TObject*) { ++own; });
    ClickAt(10, 10);
    EXPECT_EQ(own, 1);
    EXPECT_EQ(ran.size(), 1u);
}

TEST_F(ActionsTest, FreeingAnActionLeavesItsClientsWorkingWithoutOne)
{
    TMenuItem* item = new TMenuItem(&form);
    item->SetAction(bold);
    EXPECT_EQ(bold->ClientCount(), 2);
    delete bold;
    EXPECT_EQ(first->Action(), nullptr);
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(list->ActionCount(), 1);
    ClickAt(10, 10); // no action to run, nothing else to do
    item->Click();
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(first->Caption(), "Bold") << "keeps what it took";
    first->SetCaption("Still here");
    EXPECT_EQ(first->Caption(), "Still here");
    // The list going first leaves its actions outside any list.
    delete list;
    EXPECT_EQ(italic->ActionList(), nullptr);
}

TEST_F(ActionsTest, AShortcutRunsAnEnabledActionOfTheFormsLists)
{
    bold->SetShortCut(ShortCutOf('B', ssCtrl));
    EXPECT_EQ(bold->ShortCut(), scCtrl | 'B');
    EXPECT_TRUE(form.KeyDown('B', ssCtrl));
    EXPECT_FALSE(form.KeyDown('B', 0)) << "another shortcut";
    bold->SetEnabled(false);
    EXPECT_FALSE(form.KeyDown('B', ssCtrl));
    EXPECT_EQ(ran, (std::vector<std::string>{"bold by nobody"}));
}

TEST_F(ActionsTest, AMenuItemTakesTheActionsValuesAndRunsIt)
{
    TMenuItem* item = new TMenuItem(&form);
    item->SetName("BoldItem");
    bold->SetChecked(true);
    item->SetAction(bold);
    EXPECT_EQ(item->Caption(), "Bold");
    EXPECT_TRUE(item->Checked());
    EXPECT_EQ(item->GroupIndex(), 1);
    italic->SetChecked(true);
    EXPECT_FALSE(item->Checked());
    bold->SetEnabled(false);
    EXPECT_FALSE(item->Enabled());
    item->Click();
    bold->SetEnabled(true);
    item->Click();
    EXPECT_EQ(ran, (std::vector<std::string>{"bold by BoldItem"}));
}

// OnUpdate runs once the form has handled a batch of input and the application falls idle:
// one run per batch, none without input, and no timer is ever started for it.
TEST_F(ActionsTest, OnUpdateRunsAfterInputAndNeverWhileIdle)
{
    Application->ProcessMessages(); // whatever earlier input left
    int updates = 0;
    bold->OnUpdate = TNotifyEvent([&](TObject*) { ++updates; });
    italic->OnUpdate = TNotifyEvent([&](TObject* a) { static_cast<TAction*>(a)->SetEnabled(updates % 2 == 0); });
    const int started = platform.StartCount();

    form.MouseInput(miMove, mbLeft, 5, 5, 0);
    EXPECT_EQ(updates, 0) << "not while the input is being handled";
    Application->ProcessMessages();
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(second->Enabled()) << "an update's change reaches the linked button";

    Application->ProcessMessages();
    platform.Advance(10000);
    Application->ProcessMessages();
    EXPECT_EQ(updates, 1) << "idle: nothing runs";

    form.MouseInput(miMove, mbLeft, 6, 5, 0);
    form.MouseInput(miMove, mbLeft, 7, 5, 0);
    form.KeyChar('x');
    Application->ProcessMessages();
    EXPECT_EQ(updates, 2) << "one batch, one update";
    form.KeyDown(VK_TAB, 0);
    Application->ProcessMessages();
    EXPECT_EQ(updates, 3);

    EXPECT_EQ(platform.StartCount(), started);
    EXPECT_TRUE(platform.RunningTimers().empty());
    EXPECT_EQ(TTimer::RunningCount(), 0);
}

} // namespace
} // namespace hx::test
