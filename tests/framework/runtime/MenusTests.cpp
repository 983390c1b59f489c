// Popup menus: items, the check mark, and what choosing an item does.
#include <gtest/gtest.h>

#include <string>

#include "framework/runtime/Application.h"
#include "framework/runtime/Form.h"
#include "framework/runtime/Menus.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

class MenuTest : public ::testing::Test {
protected:
    MenuTest()
    {
        Application->Initialize();
        Application->SetTitle("Hexatint91");
        const char* captions[] = {"常に手前に表示(&S)", "-", "インフォメーション(&I)...", "-", "終了する(&X)"};
        for (const char* caption : captions) {
            auto* item = new TMenuItem(&form);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        Item(0)->SetChecked(true);
        previous = SetPopupRunner([this](TPopupMenu* m, int x, int y) -> TMenuItem* {
            opened.push_back({x, y});
            EXPECT_EQ(m, menu);
            clicks.push_back("open"); // the choice runs after this, once the menu closed
            return choice;
        });
    }
    ~MenuTest() override { SetPopupRunner(previous); }

    TMenuItem* Item(int i) { return menu->Items()->Items(i); }

    TPlatformScope platform;
    TForm form{nullptr};
    TPopupMenu* menu = new TPopupMenu(&form);
    TPopupRunner previous;
    TMenuItem* choice = nullptr;
    std::vector<TPoint> opened;
    std::vector<std::string> clicks;
};

TEST_F(MenuTest, ChoosingACheckedItemLeavesItChecked)
{
    Item(0)->OnClick = TNotifyEvent([this](TObject*) { clicks.push_back("N4"); });
    choice = Item(0);
    menu->Popup(20, 30);
    EXPECT_EQ(opened, (std::vector<TPoint>{Point(20, 30)}));
    EXPECT_EQ(clicks, (std::vector<std::string>{"open", "N4"}));
    EXPECT_TRUE(Item(0)->Checked());

    // Only the handler changes it.
    Item(0)->OnClick = TNotifyEvent([this](TObject*) { Item(0)->SetChecked(!Item(0)->Checked()); });
    menu->Popup(20, 30);
    EXPECT_FALSE(Item(0)->Checked());
}

TEST_F(MenuTest, DismissedMenuOrDisabledItemOrUnboundItemDoesNothing)
{
    for (int i : {0, 2, 4})
        Item(i)->OnClick = TNotifyEvent([this, i](TObject*) { clicks.push_back(std::to_string(i)); });
    choice = nullptr;
    menu->Popup(0, 0);
    Item(2)->SetEnabled(false);
    choice = Item(2);
    menu->Popup(0, 0);
    Item(4)->OnClick.Clear();
    choice = Item(4);
    menu->Popup(0, 0);
    EXPECT_EQ(clicks, (std::vector<std::string>{"open", "open", "open"}));
    EXPECT_EQ(opened.size(), 3u);
}

TEST_F(MenuTest, ErrorInTheChosenItemsHandlerIsReportedAfterTheMenuClosed)
{
    Item(2)->OnClick = TNotifyEvent([](TObject*) { throw Exception("no browser"); });
    choice = Item(2);
    menu->Popup(0, 0); // does not throw
    EXPECT_EQ(platform.ErrorBoxes(), (std::vector<TRecordingPlatform::TErrorBox>{{"Hexatint91", "no browser."}}));
}

TEST_F(MenuTest, ItemsLeaveTheirParentWhenFreedAndAParentFreesItsItems)
{
    EXPECT_EQ(menu->Items()->Count(), 5);
    EXPECT_TRUE(Item(1)->IsLine());
    delete Item(1);
    EXPECT_EQ(menu->Items()->Count(), 4);
    EXPECT_EQ(Item(1)->Caption(), "インフォメーション(&I)...");

    auto* sub = new TMenuItem(&form);
    Item(0)->Add(sub);
    EXPECT_EQ(sub->Parent(), Item(0));
    EXPECT_EQ(Item(0)->IndexOf(sub), 0);
    const int owned = form.ComponentCount();
    delete Item(0); // takes its sub-item along
    EXPECT_EQ(form.ComponentCount(), owned - 2);
    EXPECT_EQ(menu->Items()->Count(), 3);
}

TEST(MenuRadioItems, CheckingOneUnchecksTheOthersOfItsGroupOnly)
{
    TMenuItem parent(nullptr);
    struct Kind {
        bool Radio;
        int Group;
    };
    const Kind kinds[] = {{true, 1}, {true, 1}, {true, 1}, {true, 2}, {false, 1}};
    for (const Kind& kind : kinds) {
        auto* item = new TMenuItem(nullptr);
        item->SetRadioItem(kind.Radio);
        item->SetGroupIndex(kind.Group);
        item->SetChecked(true);
        parent.Add(item);
    }
    auto checks = [&] {
        std::string marks;
        for (int i = 0; i < parent.Count(); ++i)
            marks += parent.Items(i)->Checked() ? '1' : '0';
        return marks;
    };
    // Each was checked before it joined the parent: nothing unchecked them yet.
    EXPECT_EQ(checks(), "11111");
    parent.Items(1)->SetChecked(true);
    EXPECT_EQ(checks(), "01011") << "group 1's radio items but not group 2's nor a plain item";
    parent.Items(2)->SetChecked(true);
    EXPECT_EQ(checks(), "00111");
    parent.Items(2)->SetChecked(false);
    EXPECT_EQ(checks(), "00011") << "unchecking leaves the group with none checked";
    parent.Items(4)->SetChecked(false);
    parent.Items(0)->SetChecked(true);
    EXPECT_EQ(checks(), "10010");
}

} // namespace
} // namespace hx::test
