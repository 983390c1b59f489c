// The copy formats: the text each gives, the names the settings file keeps, the submenu
// that chooses one, and the choice kept across a restart.
#include <gtest/gtest.h>

#include <string>

#include "app/CopyFormat.h"
#include "framework/core/Exception.h"
#include "tests/app/MainFormFixture.h"

namespace hx::test {
namespace {

TEST(CopyFormat, EveryFormatOfSeveralCodes)
{
    struct Case {
        const char* Code;
        const char* Hex;
        const char* Upper;
        const char* Short;
        const char* Bare;
        const char* Rgb;
    };
    const Case cases[] = {
        {"#000000", "#000000", "#000000", "#000", "000000", "rgb(0, 0, 0)"},
        {"#ffffff", "#ffffff", "#FFFFFF", "#fff", "ffffff", "rgb(255, 255, 255)"},
        {"#ff9900", "#ff9900", "#FF9900", "#f90", "ff9900", "rgb(255, 153, 0)"},
        {"#66ff00", "#66ff00", "#66FF00", "#6f0", "66ff00", "rgb(102, 255, 0)"}, // swatch 70
        {"#3366cc", "#3366cc", "#3366CC", "#36c", "3366cc", "rgb(51, 102, 204)"},
        // Not web-safe: no short form.
        {"#12a4f0", "#12a4f0", "#12A4F0", "#12a4f0", "12a4f0", "rgb(18, 164, 240)"},
        // Upper-case digits: the default keeps the code as written, the others normalise.
        {"#FF9900", "#FF9900", "#FF9900", "#f90", "ff9900", "rgb(255, 153, 0)"},
        // Not a web code: as written in every format.
        {"#0123456789", "#0123456789", "#0123456789", "#0123456789", "#0123456789", "#0123456789"},
        {"", "", "", "", "", ""},
        {"#ff990g", "#ff990g", "#ff990g", "#ff990g", "#ff990g", "#ff990g"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Code);
        EXPECT_EQ(FormatColorCode(c.Code, TCopyFormat::Hex), c.Hex);
        EXPECT_EQ(FormatColorCode(c.Code, TCopyFormat::UpperHex), c.Upper);
        EXPECT_EQ(FormatColorCode(c.Code, TCopyFormat::ShortHex), c.Short);
        EXPECT_EQ(FormatColorCode(c.Code, TCopyFormat::BareHex), c.Bare);
        EXPECT_EQ(FormatColorCode(c.Code, TCopyFormat::Rgb), c.Rgb);
    }
}

TEST(CopyFormat, NamesReadInAnyCaseAndUnknownGivesTheDefault)
{
    for (TCopyFormat format : kCopyFormats)
        EXPECT_EQ(CopyFormatFromName(CopyFormatName(format)), format) << CopyFormatName(format);
    EXPECT_EQ(CopyFormatFromName("RGB"), TCopyFormat::Rgb);
    EXPECT_EQ(CopyFormatFromName("Short"), TCopyFormat::ShortHex);
    EXPECT_EQ(CopyFormatFromName("uPPer"), TCopyFormat::UpperHex);
    for (const char* unknown : {"", "css", "rgb ", " hex", "hsl", "1"})
        EXPECT_EQ(CopyFormatFromName(unknown), TCopyFormat::Hex) << "'" << unknown << "'";
}

TEST_F(MainFormTest, ClickCopiesInTheChosenFormatAndTheSwatchStaysAsItWas)
{
    TMainForm1& form = Create();
    EXPECT_EQ(form.CopyFormat(), TCopyFormat::Hex);
    const std::string code = form.GlowFadeButton(70)->Caption();
    ASSERT_EQ(code.size(), 7u);
    for (TCopyFormat format : kCopyFormats) {
        form.CopyFormatItem(format)->Click();
        EXPECT_EQ(form.CopyFormat(), format);
        form.GlowFadeButton(70)->Click();
        EXPECT_EQ(Platform.ClipboardTexts().back(), FormatColorCode(code, format));
        EXPECT_STREQ(form.ColorCode, code.c_str()) << "the code itself is kept as written";
        EXPECT_EQ(form.GlowFadeButton(70)->Caption(), code);
        EXPECT_EQ(form.GradBox1->TopColor(), form.GlowFadeButton(70)->Color());
    }
    form.CopyFormatItem(TCopyFormat::Rgb)->Click();
    form.GlowFadeButton(89)->Click();
    EXPECT_EQ(Platform.ClipboardTexts().back(), "rgb(255, 153, 0)");
}

TEST_F(MainFormTest, CopyFormatItemsAreOneRadioGroupUnderTheSubmenu)
{
    TMainForm1& form = Create();
    TMenuItem* root = form.PopupMenu1->Items();
    ASSERT_EQ(root->IndexOf(form.CopyAs1) + 1, root->IndexOf(form.N6)) << "just above the information item";
    EXPECT_EQ(form.CopyAs1->Caption(), "コピー形式(&C)");
    ASSERT_EQ(form.CopyAs1->Count(), 5);
    const char* captions[] = {"#ff9900", "#FF9900", "#f90", "ff9900", "rgb(255, 153, 0)"};
    for (int i = 0; i < 5; ++i) {
        TMenuItem* item = form.CopyAs1->Items(i);
        EXPECT_EQ(item, form.CopyFormatItem(kCopyFormats[i]));
        EXPECT_EQ(item->Caption(), captions[i]);
        EXPECT_TRUE(item->RadioItem());
    }
    form.CopyFormatItem(TCopyFormat::ShortHex)->Click();
    for (TCopyFormat format : kCopyFormats)
        EXPECT_EQ(form.CopyFormatItem(format)->Checked(), format == TCopyFormat::ShortHex);
    EXPECT_TRUE(form.N4->Checked()) << "the always-on-top item is no radio item";
}

TEST_F(MainFormTest, CopyFormatSettingRoundTrip)
{
    struct Case {
        const char* File;      // before the start
        TCopyFormat Read;      // the format the window starts with
        TCopyFormat Chosen;    // chosen before closing
        const char* Written;   // the file after closing
    };
    const Case cases[] = {
        // No key and the default kept: the file stays as earlier versions write it.
        {"[SET]\nFRON=1\n", TCopyFormat::Hex, TCopyFormat::Hex, "[SET]\nFRON=1\n"},
        {"", TCopyFormat::Hex, TCopyFormat::Hex, "[SET]\nFRON=1\n"},
        {"[SET]\nFRON=1\n", TCopyFormat::Hex, TCopyFormat::Rgb, "[SET]\nFRON=1\nFORMAT=rgb\n"},
        {"[SET]\nFRON=1\nFORMAT=short\n", TCopyFormat::ShortHex, TCopyFormat::ShortHex, "[SET]\nFRON=1\nFORMAT=short\n"},
        {"[SET]\nFORMAT=RGB\nFRON=0\n", TCopyFormat::Rgb, TCopyFormat::Rgb, "[SET]\nFORMAT=rgb\nFRON=0\n"},
        {"[SET]\nFRON=1\nFORMAT=Bare\n", TCopyFormat::BareHex, TCopyFormat::UpperHex, "[SET]\nFRON=1\nFORMAT=upper\n"},
        // An unknown value reads as the default, and back to the default is written.
        {"[SET]\nFRON=1\nFORMAT=hsl\n", TCopyFormat::Hex, TCopyFormat::Hex, "[SET]\nFRON=1\nFORMAT=hex\n"},
        {"[SET]\nFRON=1\nFORMAT=\n", TCopyFormat::Hex, TCopyFormat::Hex, "[SET]\nFRON=1\nFORMAT=hex\n"},
        // Another section's key is not the setting.
        {"[OTHER]\nFORMAT=rgb\n", TCopyFormat::Hex, TCopyFormat::Hex, "[OTHER]\nFORMAT=rgb\n[SET]\nFRON=1\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.File);
        std::filesystem::remove(SettingsFile());
        if (*c.File)
            WriteSettings(c.File);
        TMainForm1& form = Create();
        EXPECT_EQ(form.CopyFormat(), c.Read);
        EXPECT_TRUE(form.CopyFormatItem(c.Read)->Checked());
        form.CopyFormatItem(c.Chosen)->Click();
        form.Show();
        Guarded([&] { form.Close(); });
        EXPECT_EQ(ReadSettings(), c.Written);
        Form.reset();
        MainForm1 = nullptr;
    }
}

} // namespace
} // namespace hx::test
