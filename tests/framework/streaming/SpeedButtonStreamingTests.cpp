// The framework speed button in form descriptions: its published properties, a group read
// from a description (latched button and shared all-up switch), and writing it back.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/runtime/Buttons.h"
#include "framework/streaming/ClassRegistry.h"
#include "framework/runtime/Form.h"
#include "framework/streaming/FormReader.h"
#include "framework/streaming/FormWriter.h"
#include "framework/streaming/FrameworkClasses.h"
#include "framework/services/RecordingPlatform.h"

namespace hx {
namespace {

const char* const kToolBar =
    "object ToolForm: TForm\n"
    "  object Pen1: TSpeedButton\n"
    "    Left = 4\n"
    "    Top = 4\n"
    "    Width = 25\n"
    "    Height = 25\n"
    "    Caption = '&Pen'\n"
    "    GroupIndex = 1\n"
    "    Down = True\n"
    "    AllowAllUp = True\n"
    "    Layout = blGlyphTop\n"
    "    Margin = 2\n"
    "    Spacing = 1\n"
    "    Flat = True\n"
    "  end\n"
    "  object Brush1: TSpeedButton\n"
    "    Left = 30\n"
    "    Top = 4\n"
    "    Width = 25\n"
    "    Height = 25\n"
    "    GroupIndex = 1\n"
    "    AllowAllUp = True\n"
    "  end\n"
    "  object Grid1: TSpeedButton\n"
    "    Left = 60\n"
    "    Top = 4\n"
    "    Width = 25\n"
    "    Height = 25\n"
    "    GroupIndex = 2\n"
    "    Down = True\n"
    "    Layout = blGlyphBottom\n"
    "  end\n"
    "end\n";

class SpeedButtonStreaming : public testing::Test {
protected:
    void SetUp() override { RegisterFrameworkClasses(); }
    TPlatformScope platform;
};

TEST_F(SpeedButtonStreaming, PublishesItsPropertiesAfterTheInheritedOnes)
{
    ASSERT_NE(FindClass("TSpeedButton"), nullptr);
    std::vector<std::string> names;
    for (const TPropInfo& p : TClassInfo::Find("TSpeedButton")->Properties())
        names.push_back(p.Name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "Name", "Left", "Top", "Width", "Height", "Action", "Align", "Anchors", "BiDiMode",
                         "Caption", "Constraints", "Cursor", "Enabled", "Font", "Hint", "ParentBiDiMode",
                         "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "Tag", "Visible", "GroupIndex", "Down", "AllowAllUp", "Layout", "Margin", "Spacing", "Glyph",
                         "Flat", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"}));
}

TEST_F(SpeedButtonStreaming, AGroupReadFromADescriptionKeepsItsStateAndWritesBack)
{
    TForm form(nullptr);
    ReadComponent(&form, kToolBar, "Tools.form");
    auto* pen = dynamic_cast<TSpeedButton*>(form.FindComponent("Pen1"));
    auto* brush = dynamic_cast<TSpeedButton*>(form.FindComponent("Brush1"));
    auto* grid = dynamic_cast<TSpeedButton*>(form.FindComponent("Grid1"));
    ASSERT_TRUE(pen && brush && grid);
    EXPECT_EQ(pen->Parent(), &form);
    EXPECT_TRUE(pen->Down()); // Brush1 joining group 1 later did not raise it
    EXPECT_TRUE(pen->AllowAllUp());
    EXPECT_TRUE(grid->Down()); // another group
    EXPECT_EQ(pen->Layout(), blGlyphTop);
    EXPECT_EQ(pen->Margin(), 2);
    EXPECT_EQ(pen->Spacing(), 1);
    EXPECT_TRUE(pen->Flat());
    EXPECT_EQ(pen->Caption(), "&Pen");
    EXPECT_EQ(grid->Margin(), -1);
    EXPECT_EQ(grid->Spacing(), 4);

    const std::string text = WriteComponent(&form);
    const std::string body(kToolBar + std::string(kToolBar).find("  object Pen1"));
    EXPECT_NE(text.find(body), std::string::npos) << text;

    brush->SetDown(true); // the group still works after loading
    EXPECT_FALSE(pen->Down());
    EXPECT_TRUE(grid->Down());
}

// A description may name a property twice; the button then ends outside any group, up, and
// what is written back reads to the same text.
TEST_F(SpeedButtonStreaming, AButtonTakenOutOfItsGroupWritesWhatReadsBack)
{
    const char* const text =
        "object ToolForm: TForm\n"
        "  object Pen1: TSpeedButton\n"
        "    GroupIndex = 1\n"
        "    Down = True\n"
        "    GroupIndex = 0\n"
        "  end\n"
        "end\n";
    TForm form(nullptr);
    ReadComponent(&form, text, "Tools.form");
    auto* pen = dynamic_cast<TSpeedButton*>(form.FindComponent("Pen1"));
    ASSERT_TRUE(pen);
    EXPECT_FALSE(pen->Down());

    const std::string written = WriteComponent(&form);
    TForm again(nullptr);
    ReadComponent(&again, written, "Tools.form");
    EXPECT_EQ(WriteComponent(&again), written);
}

TEST_F(SpeedButtonStreaming, AGlyphTravelsAsImageBytes)
{
    TForm form(nullptr);
    form.SetName("F");
    auto* b = new TSpeedButton(&form);
    b->SetName("B");
    b->SetParent(&form);
    b->Glyph()->SetPixelFormat(pf32bit);
    b->Glyph()->SetSize(3, 2);
    static_cast<std::uint32_t*>(b->Glyph()->ScanLine(1))[2] = 0x00336699;
    const std::string text = WriteComponent(&form);
    EXPECT_NE(text.find("    Glyph.Data = {"), std::string::npos) << text;

    TForm copy(nullptr);
    ReadComponent(&copy, text, "copy.form");
    auto* read = dynamic_cast<TSpeedButton*>(copy.FindComponent("B"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Glyph()->Width(), 3);
    EXPECT_EQ(read->Glyph()->PixelWord(2, 1), 0x00336699u);
    EXPECT_EQ(WriteComponent(&copy), text);
}

} // namespace
} // namespace hx
