// The shine button in form descriptions: its published list and defaults, what a
// description of a default button holds, reading a description back, and its palette page.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "framework/streaming/ClassRegistry.h"
#include "framework/runtime/Form.h"
#include "framework/streaming/FormReader.h"
#include "framework/streaming/FormWriter.h"
#include "framework/services/RecordingPlatform.h"
#include "framework/core/TypInfo.h"
#include "widgets/shinespdbtn/Shinespdbtn.h"

namespace hx {
namespace {

struct TExpectedProp {
    std::string Name;
    std::optional<std::int64_t> Default;
};

std::vector<TExpectedProp> Published(const TClassInfo& info)
{
    std::vector<TExpectedProp> out;
    for (const TPropInfo& p : info.Properties())
        out.push_back({p.Name, p.Default});
    return out;
}

void ExpectPublished(const TClassInfo& info, const std::vector<TExpectedProp>& expected)
{
    const std::vector<TExpectedProp> actual = Published(info);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].Name, expected[i].Name) << "at " << i;
        EXPECT_EQ(actual[i].Default, expected[i].Default) << expected[i].Name;
    }
}

// The lines of the object block of name within a description, without indentation.
std::vector<std::string> ObjectLines(const std::string& text, const std::string& name)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        const std::string trimmed = line.substr(line.find_first_not_of(' '));
        if (trimmed.rfind("object " + name + ":", 0) == 0)
            inside = true;
        else if (inside && trimmed == "end")
            break;
        else if (inside)
            out.push_back(trimmed);
    }
    return out;
}

class ShineButtonStreaming : public testing::Test {
protected:
    void SetUp() override { RegisterShinespdbtn(); }

    TShineSpeedButton* AddButton(TForm& form, const std::string& name)
    {
        auto* button = new TShineSpeedButton(&form);
        button->SetName(name);
        button->SetParent(&form);
        return button;
    }

    TPlatformScope platform;
};

TEST_F(ShineButtonStreaming, PublishedListHasTheButtonsOrderAndDefaults)
{
    const std::optional<std::int64_t> none;
    const TClassInfo* info = TClassInfo::Find("TShineSpeedButton");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Parent(), TClassInfo::Find("TGraphicControl"));
    ExpectPublished(*info, {
        // inherited, re-published unchanged
        {"Action", none}, {"Align", alNone}, {"Anchors", akLeft | akTop}, {"BiDiMode", none},
        {"Caption", none}, {"Constraints", none}, {"Cursor", crDefault}, {"Enabled", 1},
        {"Height", none}, {"Hint", none}, {"Left", none}, {"Name", none}, {"ParentBiDiMode", 1},
        {"ParentShowHint", 1}, {"ShowHint", none}, {"Tag", 0}, {"Top", none}, {"Visible", 1},
        {"Width", none}, {"OnClick", none}, {"OnDblClick", none}, {"OnMouseDown", none},
        {"OnMouseMove", none}, {"OnMouseUp", none},
        // the button's own
        {"GroupIndex", 0}, {"Down", 0}, {"ClickDownHook", 0}, {"AccelCharDown", 0},
        {"FrameType", ftNormalFrame}, {"Transparent", 0}, {"ActiveFrame", 1}, {"UpFrame", 1},
        {"DownFrame", 1}, {"ActiveImage", aiFrameLight}, {"DisabledImage", diDefault},
        {"DisabledHighlight", clBtnHighlight}, {"DisabledShadow", clBtnShadow}, {"Colors", none},
        {"PressedColors", none}, {"ShineColor", clYellow}, {"Font", none}, {"FontHighlight", clNone},
        {"FontShadow", clNone}, {"ActiveFont", none}, {"AllowAllUp", 0}, {"Layout", blGlyphLeft},
        {"Margin", -1}, {"Spacing", 4}, {"Glyph", none}, {"OnMouseEnter", none}, {"OnMouseLeave", none},
    });

    const TClassInfo* colors = TClassInfo::Find("TShineBtnColors");
    ASSERT_NE(colors, nullptr);
    ExpectPublished(*colors, {
        {"Highlight", clBtnHighlight}, {"Shadow", clBtnShadow}, {"DarkShadow", clWindowFrame},
        {"GradColor", clBlue}, {"GradVertical", 0}, {"Gradation", 0}, {"Color", none},
    });

    // Every declared default is what a new button holds.
    TShineSpeedButton button(nullptr);
    for (const TPropInfo& p : info->Properties())
        if (p.Default) {
            EXPECT_EQ(p.GetOrdinal(&button), *p.Default) << p.Name;
        }
}

TEST_F(ShineButtonStreaming, DefaultButtonStoresOnlyTheFaceColoursOfItsSets)
{
    TForm form(nullptr);
    form.SetName("Form1");
    AddButton(form, "ShineSpeedButton1");
    const std::vector<std::string> lines = ObjectLines(WriteComponent(&form), "ShineSpeedButton1");
    std::vector<std::string> sets, own;
    for (const std::string& line : lines) {
        if (line.rfind("Colors.", 0) == 0 || line.rfind("PressedColors.", 0) == 0)
            sets.push_back(line);
        else if (line.rfind("Font.", 0) != 0 && line.rfind("ActiveFont.", 0) != 0)
            own.push_back(line);
    }
    EXPECT_EQ(sets, (std::vector<std::string>{"Colors.Color = clBtnFace", "PressedColors.Color = clBtnHighlight"}));
    // Bounds have no default; every other default is left out.
    EXPECT_EQ(own, (std::vector<std::string>{"Height = 25", "Left = 0", "Top = 0", "Width = 25"}));
}

TEST_F(ShineButtonStreaming, DescriptionReadBackGivesEqualProperties)
{
    TForm first(nullptr);
    first.SetName("Form1");
    TShineSpeedButton* b = AddButton(first, "Shine1");
    b->SetBounds(5, 6, 40, 30);
    b->SetCaption("&Open");
    b->SetGroupIndex(2);
    b->SetAllowAllUp(true);
    b->SetDown(true);
    b->SetClickDownHook(true);
    b->SetAccelCharDown(true);
    b->SetFrameType(ftEnclosedFrame);
    b->SetTransparent(true);
    b->SetActiveFrame(false);
    b->SetUpFrame(false);
    b->SetDownFrame(false);
    b->SetActiveImage(aiMaskLight);
    b->SetDisabledImage(diAlphaQuaterTrans);
    b->SetDisabledHighlight(clWhite);
    b->SetDisabledShadow(RGB(1, 2, 3));
    b->Colors()->SetGradation(true);
    b->Colors()->SetGradColor(clRed);
    b->PressedColors()->SetGradVertical(true);
    b->PressedColors()->SetDarkShadow(clNavy);
    b->SetShineColor(clAqua);
    b->Font()->SetHeight(-14);
    b->ActiveFont()->SetStyle(fsItalic | fsUnderline);
    b->SetFontHighlight(clWhite);
    b->SetFontShadow(clGray);
    b->SetLayout(blGlyphTop);
    b->SetMargin(3);
    b->SetSpacing(-2);
    b->Glyph()->SetSize(3, 2);
    b->Glyph()->Canvas()->SetPixel(1, 0, RGB(9, 99, 199));
    const std::string text = WriteComponent(&first);

    TForm second(nullptr);
    ReadComponent(&second, text, "shine.dfm");
    auto* r = dynamic_cast<TShineSpeedButton*>(second.FindComponent("Shine1"));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->Parent(), &second);
    EXPECT_EQ(WriteComponent(&second), text);

    // Property by property, through the published list, sub-objects included.
    std::function<void(TObject*, TObject*, const TClassInfo&, const std::string&)> compare =
        [&](TObject* x, TObject* y, const TClassInfo& info, const std::string& prefix) {
            for (const TPropInfo& p : info.Properties()) {
                if (p.GetOrdinal)
                    EXPECT_EQ(p.GetOrdinal(x), p.GetOrdinal(y)) << prefix << p.Name;
                else if (p.GetString)
                    EXPECT_EQ(p.GetString(x), p.GetString(y)) << prefix << p.Name;
                else if (p.GetObject)
                    compare(p.GetObject(x), p.GetObject(y), *ClassInfoOf(p.GetObject(x)), prefix + p.Name + ".");
            }
        };
    compare(b, r, *ClassInfoOf(b), "");
    EXPECT_TRUE(r->Down());
    EXPECT_EQ(r->Glyph()->PixelFormat(), pf32bit);
    EXPECT_EQ(r->Glyph()->PixelWord(1, 0), 0x0963C7u);
    EXPECT_EQ(r->ControlStyle(), csCaptureMouse | csDoubleClicks); // Transparent took the opaque flag
}

TEST_F(ShineButtonStreaming, GroupIndexIsAppliedBeforeDown)
{
    TForm first(nullptr);
    first.SetName("Form1");
    TShineSpeedButton* b = AddButton(first, "Shine1");
    b->SetGroupIndex(1);
    b->SetDown(true);
    const std::string text = WriteComponent(&first);
    const size_t group = text.find("GroupIndex = 1");
    ASSERT_NE(group, std::string::npos);
    EXPECT_LT(group, text.find("Down = True"));

    TForm second(nullptr);
    ReadComponent(&second, text, "shine.dfm");
    auto* r = static_cast<TShineSpeedButton*>(second.FindComponent("Shine1"));
    EXPECT_TRUE(r->Down());
    EXPECT_EQ(r->State(), ssDown);

    // The other way round the button is outside any group when Down arrives.
    TForm third(nullptr);
    ReadComponent(&third,
                  "object Form1: TForm\n"
                  "  object Shine1: TShineSpeedButton\n"
                  "    Down = True\n"
                  "    GroupIndex = 1\n"
                  "  end\n"
                  "end\n",
                  "reversed.dfm");
    auto* reversed = static_cast<TShineSpeedButton*>(third.FindComponent("Shine1"));
    EXPECT_EQ(reversed->GroupIndex(), 1);
    EXPECT_FALSE(reversed->Down());
}

TEST_F(ShineButtonStreaming, RegisterListsTheButtonOnOnePalettePage)
{
    Shinespdbtn::Register();
    Shinespdbtn::Register();
    int pages = 0;
    for (const TPalettePage& page : PalettePages())
        for (const std::string& cls : page.Classes)
            if (cls == "TShineSpeedButton") {
                ++pages;
                EXPECT_EQ(page.Name, "Hexatint");
            }
    EXPECT_EQ(pages, 1);
    const TRegisteredClass* registered = FindClass("TShineSpeedButton");
    ASSERT_NE(registered, nullptr);
    TForm owner(nullptr);
    TComponent* created = registered->Create(&owner);
    EXPECT_NE(dynamic_cast<TShineSpeedButton*>(created), nullptr);
}

} // namespace
} // namespace hx
