// The shine button with an action and a reading order: a linked button takes and follows its
// action (Checked as Down, in a group), a click runs it, freeing it leaves the button
// working; the button's pixels take no account of BiDiMode; all four new properties stream.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/runtime/Actions.h"
#include "framework/streaming/FormReader.h"
#include "framework/streaming/FormWriter.h"
#include "tests/widgets/shinespdbtn/ShinePaintSupport.h"

namespace hx::shinetest {
namespace {

class ShineAction : public ShineFormTest {
protected:
    ShineAction()
    {
        form.Show();
        other->SetParent(&form);
        other->SetBounds(kLeft + 40, kTop, 25, 25);
        for (TAction* a : {first, second}) {
            a->SetActionList(list);
            a->SetGroupIndex(2);
        }
        first->SetCaption("One");
        first->SetHint("The first");
        first->OnExecute = TNotifyEvent([this](TObject*) { ++runs; });
        button->SetAction(first);
        other->SetAction(second);
    }
    void ClickAt(int x, int y)
    {
        platform.SetCursorPos(form.ClientToScreen(Point(x, y)));
        form.MouseInput(miDown, mbLeft, x, y, ssLeft);
        form.MouseInput(miUp, mbLeft, x, y, 0);
    }

    TActionList* list = new TActionList(&form);
    TAction* first = new TAction(&form);
    TAction* second = new TAction(&form);
    TShineSpeedButton* other = new TShineSpeedButton(&form);
    int runs = 0;
};

TEST_F(ShineAction, TakesAndFollowsItsActionWithCheckedAsDownInAGroup)
{
    EXPECT_EQ(button->Caption(), "One");
    EXPECT_EQ(button->Hint(), "The first");
    EXPECT_EQ(button->GroupIndex(), 2);
    EXPECT_FALSE(button->Down());

    first->SetCaption("Uno");
    first->SetHint("Primo");
    EXPECT_EQ(button->Caption(), "Uno");
    EXPECT_EQ(button->Hint(), "Primo");
    first->SetEnabled(false);
    EXPECT_FALSE(button->Enabled());
    first->SetEnabled(true);
    first->SetVisible(false);
    EXPECT_FALSE(button->Visible());
    first->SetVisible(true);

    first->SetChecked(true);
    EXPECT_TRUE(button->Down());
    second->SetChecked(true);
    EXPECT_TRUE(other->Down());
    EXPECT_FALSE(button->Down()) << "the group raised it";
    EXPECT_FALSE(first->Checked());
    form.Update();
    EXPECT_EQ(At(12, 12), ColorToRGB(button->Colors()->Color())) << "drawn up";
}

TEST_F(ShineAction, AClickRunsTheActionAndFreeingItLeavesTheButtonWorking)
{
    ClickAt(kLeft + 5, kTop + 5);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(button->Down()) << "a click in its group latches it, as without an action";

    delete first;
    EXPECT_EQ(button->Action(), nullptr);
    int clicks = 0;
    ClickAt(kLeft + 5, kTop + 5); // nothing to run
    button->OnClick = TNotifyEvent([&](TObject*) { ++clicks; });
    ClickAt(kLeft + 5, kTop + 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(runs, 1);
    button->SetCaption("Alone");
    form.Update();
    EXPECT_EQ(button->Caption(), "Alone");
}

// The shine button's drawing has no notion of reading order: every mode, taken from the
// form or set on the button, leaves every pixel of a glyph-and-caption button as it was.
class ShineBiDiPixels : public ShineFormTest, public ::testing::WithParamInterface<TBiDiMode> {
protected:
    ShineBiDiPixels()
    {
        button->SetBounds(kLeft, kTop, 90, 40);
        SetGlyphPixels(*button, {{0xFF0000, 0x00FF00, 0x0000FF}, {0x123456, 0xFF0000, 0x00FF00}, {0x808000, 0x0000FF, 0x123456}});
        button->SetCaption("Ab(1)");
        button->Colors()->SetGradation(true);
    }
    std::vector<TColor> Pixels()
    {
        form.Invalidate();
        form.Update();
        std::vector<TColor> out;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 90; ++x)
                out.push_back(At(x, y));
        return out;
    }
};

TEST_P(ShineBiDiPixels, EveryModeDrawsTheSamePixels)
{
    const std::vector<TColor> reference = Pixels();
    form.SetBiDiMode(GetParam());
    ASSERT_EQ(button->BiDiMode(), GetParam());
    EXPECT_EQ(Pixels(), reference) << "taken from the form";
    button->SetBiDiMode(GetParam());
    button->ForceState(ssDown);
    const std::vector<TColor> down = Pixels();
    button->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(Pixels(), down) << "pressed look";
}

INSTANTIATE_TEST_SUITE_P(Modes, ShineBiDiPixels,
                         ::testing::Values(bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign,
                                           bdRightToLeftReadingOnly));

TEST(ShineStreaming, ActionBiDiModeConstraintsAndParentBiDiModeRoundTrip)
{
    RegisterShinespdbtn();
    TPlatformScope platform;
    const std::string body =
        "  object List1: TActionList\n"
        "    object Go: TAction\n"
        "      Caption = 'Go'\n"
        "      GroupIndex = 1\n"
        "      Checked = True\n"
        "    end\n"
        "  end\n"
        "  object Shine1: TShineSpeedButton\n"
        "    Action = Go\n"
        "    BiDiMode = bdRightToLeftNoAlign\n"
        "    Constraints.MaxHeight = 40\n"
        "    Constraints.MinWidth = 30\n"
        "    Height = 25\n"
        "    Left = 0\n"
        "    ParentBiDiMode = False\n"
        "    Top = 0\n"
        "    Width = 30\n"
        "    Colors.Color = clBtnFace\n"
        "    PressedColors.Color = clBtnHighlight\n";
    TForm form(nullptr);
    ReadComponent(&form, "object Demo: TForm\n" + body + "  end\nend\n", "Demo.form");
    auto* shine = dynamic_cast<TShineSpeedButton*>(form.FindComponent("Shine1"));
    ASSERT_TRUE(shine);
    EXPECT_EQ(shine->Action(), form.FindComponent("Go"));
    EXPECT_EQ(shine->Caption(), "Go");
    EXPECT_EQ(shine->GroupIndex(), 1);
    EXPECT_TRUE(shine->Down());
    EXPECT_EQ(shine->BiDiMode(), bdRightToLeftNoAlign);
    EXPECT_FALSE(shine->ParentBiDiMode());
    EXPECT_EQ(shine->Constraints()->MinWidth(), 30);
    EXPECT_EQ(shine->Constraints()->MaxHeight(), 40);
    const std::string written = WriteComponent(&form);
    EXPECT_NE(written.find(body), std::string::npos) << written;
}

} // namespace
} // namespace hx::shinetest
