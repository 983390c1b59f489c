// The window in Japanese and in English: the menu's texts and access keys, the error
// messages, and the texts no language changes.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "framework/services/Translator.h"
#include "tests/app/MainFormFixture.h"

namespace hx::test {
namespace {

struct TLanguageCase {
    const char* Language;
    const char* OnTop;
    const char* Information;
    const char* Exit;
    const char* CopyAs;
    const char* Clipboard;
    const char* WriteError; // with "%1" for the settings file
};

const TLanguageCase kLanguages[] = {
    {"ja", "常に手前に表示(&S)", "インフォメーション(&I)...", "終了する(&X)", "コピー形式(&C)",
     "クリップボードを開くことができません.", "%1 に書き込めません."},
    {"en", "Alway&s on top", "&Information...", "E&xit", "&Copy as", "Cannot open the clipboard.", "Cannot write to %1."},
};

void PrintTo(const TLanguageCase& c, std::ostream* out) { *out << c.Language; }

class LanguageTest : public MainFormTest, public ::testing::WithParamInterface<TLanguageCase> {
protected:
    void SetUp() override
    {
        SelectLanguage(GetParam().Language);
        MainFormTest::SetUp();
    }
    void TearDown() override
    {
        MainFormTest::TearDown();
        SelectLanguage(std::string(kSourceLanguage));
    }
};

// The letter after the single "&", lower-cased.
char AccessKey(const std::string& caption)
{
    const std::size_t amp = caption.find('&');
    return amp == std::string::npos ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>(caption[amp + 1])));
}

TEST_P(LanguageTest, MenuTextsAndTheirAccessKeys)
{
    const TLanguageCase& c = GetParam();
    TMainForm1& form = Create();
    EXPECT_EQ(form.N4->Caption(), c.OnTop);
    EXPECT_EQ(form.N6->Caption(), c.Information);
    EXPECT_EQ(form.N7->Caption(), c.Exit);
    EXPECT_EQ(AccessKey(form.N4->Caption()), 's');
    EXPECT_EQ(AccessKey(form.N6->Caption()), 'i');
    EXPECT_EQ(AccessKey(form.N7->Caption()), 'x');
    EXPECT_EQ(form.CopyAs1->Caption(), c.CopyAs);
    EXPECT_EQ(AccessKey(form.CopyAs1->Caption()), 'c');
    EXPECT_EQ(form.CopyAs1->Items(4)->Caption(), "rgb(255, 153, 0)") << "the examples are codes, never translated";
    EXPECT_EQ(form.N5->Caption(), "-");
    EXPECT_EQ(form.N10->Caption(), "-");
}

TEST_P(LanguageTest, SwatchCodesHintsAndTitleStayAsWritten)
{
    TMainForm1& form = Create();
    EXPECT_EQ(form.Caption(), "Hexatint91");
    EXPECT_EQ(form.GlowFadeButton(1)->Caption(), "#0000ff");
    EXPECT_EQ(form.GlowFadeButton(1)->Hint(), "RGB(0,0,255)");
    EXPECT_EQ(form.GlowFadeButton(91)->Caption(), "#ffff00");
    EXPECT_EQ(form.GlowFadeButton(91)->Hint(), "RGB(255,255,0)");
}

TEST_P(LanguageTest, ErrorBoxesSpeakTheLanguage)
{
    const TLanguageCase& c = GetParam();
    TMainForm1& form = Create();
    Platform.SetClipboardFails(true);
    Guarded([&] { form.GlowFadeButton(89)->Click(); });

    // The settings file's place taken by a folder: the write on close fails.
    std::filesystem::create_directory(SettingsFile());
    form.Show();
    Guarded([&] { form.Close(); });

    ASSERT_EQ(Platform.ErrorBoxes().size(), 2u);
    EXPECT_EQ(Platform.ErrorBoxes()[0].Text, c.Clipboard);
    std::string write = c.WriteError;
    write.replace(write.find("%1"), 2, SettingsFile());
    EXPECT_EQ(Platform.ErrorBoxes()[1].Text, write);
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageTest, ::testing::ValuesIn(kLanguages),
                         [](const auto& info) { return std::string(info.param.Language); });

} // namespace
} // namespace hx::test
