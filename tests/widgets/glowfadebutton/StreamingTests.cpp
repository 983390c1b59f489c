// The published properties: their order, a swatch read from a form description exactly as
// the main window lists it, and the writer putting every property back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/streaming/ClassRegistry.h"
#include "framework/runtime/Form.h"
#include "framework/streaming/FormReader.h"
#include "framework/streaming/FormWriter.h"
#include "framework/services/RecordingPlatform.h"
#include "framework/core/TypInfo.h"
#include "widgets/glowfadebutton/Glowfadebutton.h"

namespace hx::test {
namespace {

const std::vector<std::string> kOwnOrder = {
    "Align", "Anchors", "Font", "Enabled", "ShowHint", "Hint", "Color", "FadeOnLeave", "Caption", "Step",
    "BorderColor", "BorderDestColor", "DestColor", "ShowBorder", "CaptionOverColor", "FadeOnOver",
    "BorderHeight", "Speed", "onMouseLeave", "onMouseDown", "onMouseUp", "onMouseMove", "OnClick"};

class StreamingTest : public ::testing::Test {
protected:
    StreamingTest() { RegisterGlowfadebutton(); }
    TPlatformScope platform;
};

TEST_F(StreamingTest, PropertiesArePublishedInOrderWithoutDefaults)
{
    const TClassInfo* info = TClassInfo::Find("TGlowFadeButton");
    ASSERT_NE(info, nullptr);
    ASSERT_NE(FindClass("TGlowFadeButton"), nullptr);
    std::vector<std::string> names;
    for (const TPropInfo& p : info->Properties()) {
        names.push_back(p.Name);
        if (p.Name != "Name" && p.Name != "Left" && p.Name != "Top" && p.Name != "Width" && p.Name != "Height" &&
            p.Name != "Cursor") {
            EXPECT_FALSE(p.Default.has_value()) << p.Name;
            EXPECT_FALSE(p.DefaultString.has_value()) << p.Name;
            EXPECT_FALSE(p.IsStored) << p.Name;
        }
    }
    std::vector<std::string> expected = {"Name", "Left", "Top", "Width", "Height", "Cursor"};
    expected.insert(expected.end(), kOwnOrder.begin(), kOwnOrder.end());
    EXPECT_EQ(names, expected);
}

const char* const kSwatch = R"(object Form1: TForm
  ClientWidth = 100
  ClientHeight = 100
  object GlowFadeButton2: TGlowFadeButton
    Left = 4
    Top = 74
    Width = 40
    Height = 20
    Cursor = crHandPoint
    Hint = 'RGB(0,51,255)'
    Font.Charset = SHIFTJIS_CHARSET
    Font.Color = clWhite
    Font.Height = -11
    Font.Name = 'ＭＳ Ｐゴシック'
    Font.Style = []
    ShowHint = True
    Color = $00FF3300
    FadeOnLeave = True
    Caption = '#0033ff'
    Step = 2
    BorderColor = clSilver
    BorderDestColor = clWhite
    DestColor = clWhite
    ShowBorder = True
    CaptionOverColor = $000033FF
    FadeOnOver = True
    BorderHeight = 1
    Speed = 16
    OnClick = GlowFadeButton2Click
  end
end
)";

TEST_F(StreamingTest, SwatchReadFromADescriptionPaintsClicksAndWritesEveryPropertyBack)
{
    TForm form(nullptr);
    std::vector<std::string> clicks;
    TFormReader reader;
    reader.SetFallbackHandler([&](const std::string& name) {
        return [&clicks, name] { clicks.push_back(name); };
    });
    reader.Read(&form, kSwatch, "swatch.dfm");
    auto* b = dynamic_cast<TGlowFadeButton*>(form.FindComponent("GlowFadeButton2"));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Parent(), &form);
    EXPECT_EQ(b->Caption(), "#0033ff");
    EXPECT_EQ(b->Color(), static_cast<TColor>(0xFF3300));
    EXPECT_EQ(b->CaptionOverColor(), static_cast<TColor>(0x0033FF));
    EXPECT_EQ(b->Speed(), 16);
    EXPECT_EQ(b->FadeTimer()->Interval(), 16);
    EXPECT_EQ(b->Cursor(), crHandPoint);
    EXPECT_EQ(b->Hint(), "RGB(0,51,255)");
    EXPECT_TRUE(b->ShowHint());

    form.Update();
    EXPECT_EQ(form.SurfacePixel(4, 74), clSilver);
    EXPECT_EQ(form.SurfacePixel(5, 75), static_cast<TColor>(0xFF3300));

    form.MouseInput(miDown, mbLeft, 10, 80, ssLeft);
    form.MouseInput(miUp, mbLeft, 10, 80, 0);
    EXPECT_EQ(clicks, std::vector<std::string>{"GlowFadeButton2Click"});

    const std::string text = WriteComponent(&form);
    const size_t start = text.find("object GlowFadeButton2: TGlowFadeButton");
    ASSERT_NE(start, std::string::npos) << text;
    size_t at = start;
    for (const std::string& name : kOwnOrder) {
        if (name.rfind("on", 0) == 0 && name != "OnClick")
            continue; // unassigned events are not written
        const std::string key = name == "Font" ? "    Font." : "    " + name + " = ";
        const size_t found = text.find(key, at);
        ASSERT_NE(found, std::string::npos) << name << " missing or out of order in\n" << text;
        at = found;
    }
    EXPECT_NE(text.find("    Caption = '#0033ff'\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    OnClick = GlowFadeButton2Click\n"), std::string::npos) << text;
}

} // namespace
} // namespace hx::test
