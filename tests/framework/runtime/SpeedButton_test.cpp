// The framework speed button: clicks and the button group protocol.
#include <gtest/gtest.h>

#include "framework/Buttons.h"
#include "framework/Form.h"
#include "framework/RecordingPlatform.h"

namespace hx::test {
namespace {

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
}

TEST_F(SpeedButtonTest, GroupKeepsOneButtonDown)
{
    for (auto* b : buttons)
        b->SetGroupIndex(1);
    ClickAt(5, 5);
    EXPECT_EQ(DownStates(), (std::vector<int>{1, 0, 0}));
    ClickAt(35, 5);
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 1, 0}));
    ClickAt(35, 5); // the down one cannot be raised without AllowAllUp
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(clicks, (std::vector<int>{0, 1, 1}));

    buttons[2]->SetAllowAllUp(true); // tells the group
    EXPECT_TRUE(buttons[0]->AllowAllUp());
    EXPECT_TRUE(buttons[1]->AllowAllUp());
    ClickAt(35, 5);
    EXPECT_EQ(DownStates(), (std::vector<int>{0, 0, 0}));

    buttons[2]->SetGroupIndex(2); // another group: independent
    buttons[2]->SetDown(true);
    buttons[0]->SetDown(true);
    EXPECT_EQ(DownStates(), (std::vector<int>{1, 0, 1}));
}

TEST_F(SpeedButtonTest, AcceleratorClicksAShowingButton)
{
    buttons[1]->SetCaption("&Go");
    form.KeyChar('g');
    EXPECT_TRUE(clicks.empty()); // the form is not showing
    form.Show();
    form.KeyChar('g');
    EXPECT_EQ(clicks, (std::vector<int>{1}));
}

} // namespace
} // namespace hx::test
