// The language chosen from the locale variables, and texts in both built-in languages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/services/IniFiles.h"
#include "framework/services/RecordingPlatform.h"
#include "framework/services/Translator.h"
#include "tests/framework/services/TempFolder.h"

namespace hx {
namespace {

// Selects a language for one test and the texts as written again afterwards.
class TLanguageScope {
public:
    explicit TLanguageScope(const std::string& language) { SelectLanguage(language); }
    ~TLanguageScope() { SelectLanguage(std::string(kSourceLanguage)); }
};

TEST(Translator, LocaleVariablesGiveTheWantedLanguages)
{
    struct Case {
        TLocaleVariables Variables;
        std::vector<std::string> Wanted;
    };
    const Case cases[] = {
        {{"", "", "", "ja_JP.UTF-8"}, {"ja_jp", "ja"}},
        {{"", "", "", "C.UTF-8"}, {}},
        {{"", "", "", ""}, {}},
        // LANGUAGE counts only where the locale is not C or POSIX.
        {{"ja", "", "", "C"}, {}},
        {{"ja", "POSIX", "", "en_US.UTF-8"}, {}},
        {{"de:ja", "", "", "en_US.UTF-8"}, {"de", "ja", "en_us", "en"}},
        // LC_ALL over LC_MESSAGES over LANG.
        {{"", "ja_JP.eucJP", "de_DE", "en_GB"}, {"ja_jp", "ja"}},
        {{"", "", "de_DE.UTF-8@euro", "ja_JP.UTF-8"}, {"de_de", "de"}},
        {{"", "", "C", "ja_JP.UTF-8"}, {}},
        {{"::pt_BR", "", "", "pt_BR.UTF-8"}, {"pt_br", "pt"}},
    };
    for (const Case& c : cases) {
        const TLocaleVariables& v = c.Variables;
        EXPECT_EQ(WantedLanguages(v), c.Wanted)
            << "LANGUAGE=" << v.Language << " LC_ALL=" << v.All << " LC_MESSAGES=" << v.Messages << " LANG=" << v.Lang;
    }
}

TEST(Translator, FirstAvailableWantedLanguageElseEnglish)
{
    const std::vector<std::string> available = AvailableLanguages();
    EXPECT_EQ(available.front(), "ja");
    EXPECT_NE(std::find(available.begin(), available.end(), "en"), available.end());

    EXPECT_EQ(ChooseLanguage({"ja"}, available), "ja");
    EXPECT_EQ(ChooseLanguage({"xx", "ja", "en"}, available), "ja");
    EXPECT_EQ(ChooseLanguage({"en_us", "en"}, available), "en");
    EXPECT_EQ(ChooseLanguage({"xx"}, available), "en");
    EXPECT_EQ(ChooseLanguage({}, available), "en");
}

TEST(Translator, TextsInBothLanguages)
{
    struct Case {
        const char* Context;
        const char* Source;
        const char* English;
    };
    const Case cases[] = {
        {"TMainForm1", "常に手前に表示(&S)", "Alway&s on top"},
        {"TMainForm1", "インフォメーション(&I)...", "&Information..."},
        {"TMainForm1", "終了する(&X)", "E&xit"},
        {"TClipboard", "クリップボードを開くことができません", "Cannot open the clipboard"},
        // Untranslated texts pass through: swatch codes, hints, the title, another context's.
        {"TMainForm1", "#ff9900", "#ff9900"},
        {"TMainForm1", "RGB(255,153,0)", "RGB(255,153,0)"},
        {"TMainForm1", "Hexatint91", "Hexatint91"},
        {"TSomeForm", "終了する(&X)", "終了する(&X)"},
    };
    for (const char* language : {"ja", "en", "xx"}) {
        TLanguageScope scope(language);
        EXPECT_EQ(SelectedLanguage(), language);
        for (const Case& c : cases) {
            const std::string expected = std::string(language) == "ja" ? c.Source : c.English;
            EXPECT_EQ(Tr(c.Context, c.Source), expected) << language << ": " << c.Source;
        }
    }
}

TEST(Translator, ArgumentsFillTheirPlaces)
{
    {
        TLanguageScope scope("en");
        EXPECT_EQ(Tr("TIniFile", "%1 に書き込めません", {"/a b/x.ini"}), "Cannot write to /a b/x.ini");
        // An argument that looks like a place is not filled again.
        EXPECT_EQ(Tr("TIniFile", "%1 に書き込めません", {"%1%2"}), "Cannot write to %1%2");
    }
    EXPECT_EQ(Tr("TIniFile", "%1 に書き込めません", {"/x.ini"}), "/x.ini に書き込めません");
    EXPECT_EQ(Tr("None", "%2-%1-%3-100%", {"a", "b"}), "b-a-%3-100%");
}

TEST(Translator, FrameworkErrorsSpeakTheLanguage)
{
    test::TTempFolder folder;
    const std::string path = folder.File("missing-folder/Hexatint91.ini");
    const std::pair<const char*, std::string> expected[] = {
        {"ja", path + " に書き込めません"},
        {"en", "Cannot write to " + path},
    };
    for (const auto& [language, message] : expected) {
        TLanguageScope scope(language);
        try {
            TIniFile(path).WriteBool("SET", "FRON", true);
            ADD_FAILURE() << "the write should fail";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), message);
        }
    }

    TLanguageScope scope("en");
    TPlatformScope platform;
    platform.SetClipboardFails(true);
    try {
        platform.SetClipboardText("#000000");
        ADD_FAILURE() << "the clipboard should fail";
    } catch (const EClipboardException& e) {
        EXPECT_EQ(e.Message(), "Cannot open the clipboard");
    }
}

} // namespace
} // namespace hx
