// Actions, reading order and size constraints in form descriptions: a description using all
// of them reads and writes back to the same text, values a control takes from its action and
// defaults are left out, and a reference may reach an action of another form.
#include <gtest/gtest.h>

#include <string>

#include "framework/runtime/Actions.h"
#include "framework/runtime/Buttons.h"
#include "framework/runtime/Form.h"
#include "framework/runtime/Menus.h"
#include "framework/services/RecordingPlatform.h"
#include "framework/streaming/FormReader.h"
#include "framework/streaming/FormWriter.h"
#include "framework/streaming/FrameworkClasses.h"

namespace hx {
namespace {

const char* const kEditorBody =
    "  object Actions1: TActionList\n"
    "    object BoldAction: TAction\n"
    "      Caption = 'Bold'\n"
    "      GroupIndex = 1\n"
    "      Checked = True\n"
    "      Hint = 'Heavier'\n"
    "      ShortCut = 16450\n"
    "    end\n"
    "  end\n"
    "  object Bold1: TSpeedButton\n"
    "    Left = 4\n"
    "    Top = 4\n"
    "    Width = 25\n"
    "    Height = 25\n"
    "    Action = BoldAction\n"
    "    Constraints.MaxWidth = 30\n"
    "    Constraints.MinHeight = 20\n"
    "  end\n"
    "  object Plain1: TSpeedButton\n"
    "    Left = 40\n"
    "    Top = 4\n"
    "    Width = 25\n"
    "    Height = 25\n"
    "    BiDiMode = bdLeftToRight\n"
    "    Caption = 'Plain'\n"
    "    ParentBiDiMode = False\n"
    "  end\n"
    "  object Menu1: TPopupMenu\n"
    "    object BoldItem: TMenuItem\n"
    "      Action = BoldAction\n"
    "    end\n"
    "  end\n";

class ActionStreaming : public testing::Test {
protected:
    void SetUp() override { RegisterFrameworkClasses(); }
    TPlatformScope platform;
};

TEST_F(ActionStreaming, ADescriptionWithActionsReadingOrderAndConstraintsReadsAndWritesBack)
{
    const std::string text = "object Editor: TForm\n  BiDiMode = bdRightToLeft\n" + std::string(kEditorBody) + "end\n";
    TForm form(nullptr);
    ReadComponent(&form, text, "Editor.form");
    auto* bold = dynamic_cast<TSpeedButton*>(form.FindComponent("Bold1"));
    auto* plain = dynamic_cast<TSpeedButton*>(form.FindComponent("Plain1"));
    auto* action = dynamic_cast<TAction*>(form.FindComponent("BoldAction"));
    auto* item = dynamic_cast<TMenuItem*>(form.FindComponent("BoldItem"));
    ASSERT_TRUE(bold && plain && action && item);
    EXPECT_EQ(action->ActionList(), form.FindComponent("Actions1"));
    EXPECT_EQ(action->ShortCut(), scCtrl | 'B');

    EXPECT_EQ(bold->Action(), action);
    EXPECT_EQ(bold->Caption(), "Bold");
    EXPECT_EQ(bold->Hint(), "Heavier");
    EXPECT_EQ(bold->GroupIndex(), 1);
    EXPECT_TRUE(bold->Down());
    EXPECT_EQ(item->Caption(), "Bold");
    EXPECT_TRUE(item->Checked());
    EXPECT_EQ(bold->Constraints()->MaxWidth(), 30);
    EXPECT_EQ(bold->Constraints()->MinHeight(), 20);
    EXPECT_EQ(form.BiDiMode(), bdRightToLeft);
    EXPECT_EQ(bold->BiDiMode(), bdRightToLeft) << "from the form";
    EXPECT_TRUE(bold->ParentBiDiMode());
    EXPECT_EQ(plain->BiDiMode(), bdLeftToRight);

    const std::string written = WriteComponent(&form);
    EXPECT_NE(written.find("  BiDiMode = bdRightToLeft\n"), std::string::npos) << written;
    EXPECT_NE(written.find(kEditorBody), std::string::npos) << written;
    TForm again(nullptr);
    ReadComponent(&again, written, "Editor.form");
    EXPECT_EQ(WriteComponent(&again), written);

    // After loading, the link follows the action like any other.
    action->SetCaption("Heavy");
    EXPECT_EQ(bold->Caption(), "Heavy");
}

// A value given in the description that differs from the action's is the control's own:
// it is kept on reading and written back.
TEST_F(ActionStreaming, AControlsOwnValueWinsOverItsActionsAndIsWritten)
{
    const std::string text = "object Editor: TForm\n" + std::string(kEditorBody) + "end\n";
    std::string own = text;
    own.insert(own.find("    Constraints.MaxWidth"), "    Caption = 'Fat'\n    Enabled = False\n");
    TForm form(nullptr);
    ReadComponent(&form, own, "Editor.form");
    auto* bold = dynamic_cast<TSpeedButton*>(form.FindComponent("Bold1"));
    ASSERT_TRUE(bold);
    EXPECT_EQ(bold->Caption(), "Fat");
    EXPECT_FALSE(bold->Enabled());
    EXPECT_EQ(bold->Hint(), "Heavier") << "what it did not set comes from the action";
    const std::string written = WriteComponent(&form);
    EXPECT_NE(written.find("    Caption = 'Fat'\n    Constraints.MaxWidth = 30\n    Constraints.MinHeight = 20\n"
                           "    Enabled = False\n"),
              std::string::npos)
        << written;
}

TEST_F(ActionStreaming, DefaultsAndOldDescriptionsWriteNoneOfTheNewProperties)
{
    const char* const old =
        "object Old: TForm\n"
        "  object Pen1: TSpeedButton\n"
        "    Left = 4\n"
        "    Top = 4\n"
        "    Width = 25\n"
        "    Height = 25\n"
        "    Caption = '&Pen'\n"
        "    GroupIndex = 1\n"
        "    Down = True\n"
        "  end\n"
        "end\n";
    TForm form(nullptr);
    ReadComponent(&form, old, "Old.form");
    auto* pen = dynamic_cast<TSpeedButton*>(form.FindComponent("Pen1"));
    ASSERT_TRUE(pen);
    EXPECT_EQ(pen->Action(), nullptr);
    EXPECT_EQ(pen->BiDiMode(), bdLeftToRight);
    EXPECT_TRUE(pen->ParentBiDiMode());
    EXPECT_EQ(pen->Constraints()->MaxWidth() | pen->Constraints()->MinWidth() | pen->Constraints()->MaxHeight() |
                  pen->Constraints()->MinHeight(),
              0);
    const std::string written = WriteComponent(&form);
    EXPECT_NE(written.find(std::string(old).substr(std::string(old).find("  object Pen1"))), std::string::npos)
        << written;
    for (const char* name : {"Action", "BiDiMode", "Constraints", "ParentBiDiMode"})
        EXPECT_EQ(written.find(name), std::string::npos) << name << " in\n" << written;
}

// Form2's button runs an action of Form1: written as Form1.SaveAction, read back by finding
// the live form of that name. Freeing Form1 leaves the button without an action.
TEST_F(ActionStreaming, AReferenceReachesAnActionOfAnotherForm)
{
    auto shared = std::make_unique<TForm>(nullptr);
    ReadComponent(shared.get(),
                  "object Shared: TForm\n"
                  "  object List1: TActionList\n"
                  "    object SaveAction: TAction\n"
                  "      Caption = 'Save'\n"
                  "    end\n"
                  "  end\n"
                  "end\n",
                  "Shared.form");
    const std::string button =
        "  object Save1: TSpeedButton\n"
        "    Left = 0\n"
        "    Top = 0\n"
        "    Width = 25\n"
        "    Height = 25\n"
        "    Action = Shared.SaveAction\n"
        "  end\n";
    TForm form(nullptr);
    ReadComponent(&form, "object Tools: TForm\n" + button + "end\n", "Tools.form");
    auto* save = dynamic_cast<TSpeedButton*>(form.FindComponent("Save1"));
    ASSERT_TRUE(save);
    EXPECT_EQ(save->Action(), shared->FindComponent("SaveAction"));
    EXPECT_EQ(save->Caption(), "Save");
    EXPECT_NE(WriteComponent(&form).find(button), std::string::npos) << WriteComponent(&form);

    shared.reset();
    EXPECT_EQ(save->Action(), nullptr);
    form.MouseInput(miDown, mbLeft, 5, 5, ssLeft);
    form.MouseInput(miUp, mbLeft, 5, 5, 0);
    EXPECT_NE(WriteComponent(&form).find("    Caption = 'Save'\n"), std::string::npos)
        << "no longer linked: the caption is its own";

    TForm other(nullptr);
    EXPECT_THROW(ReadComponent(&other, "object Tools2: TForm\n  object X: TSpeedButton\n    Action = Gone.SaveAction\n"
                                      "  end\nend\n",
                               "Tools.form"),
                 EReadError);
}

TEST_F(ActionStreaming, MisplacedActionsAndNegativeLimitsAreReadErrors)
{
    const char* const cases[] = {
        "object F: TForm\n  object A: TAction\n  end\nend\n",
        "object F: TForm\n  object B: TSpeedButton\n    Constraints.MinWidth = -1\n  end\nend\n",
        "object F: TForm\n  BiDiMode = bdUpsideDown\nend\n",
    };
    for (const char* text : cases) {
        TForm form(nullptr);
        EXPECT_THROW(ReadComponent(&form, text, "Bad.form"), EReadError) << text;
    }
}

} // namespace
} // namespace hx
