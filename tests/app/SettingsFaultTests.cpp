// Settings files that cannot be written for reasons other than permissions (so these run
// as any user), broken after the start chose the file: every close shows the same error box
// and leaves a window that still works; once the cause is gone, the next close saves and
// closes.
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "MainFormFixture.h"
#include "framework/runtime/Application.h"
#include "framework/services/IniFiles.h"

namespace hx::test {
namespace {

namespace fs = std::filesystem;

struct TSettingsFault {
    const char* What;
    std::function<void(const std::string& settings)> Break;
    std::function<void(const std::string& settings)> Mend;
};

// Rows print as their names in test listings.
void PrintTo(const TSettingsFault& row, std::ostream* out)
{
    *out << row.What;
}

// Each fault on a fresh window and folder.
class SettingsFaultTest : public MainFormTest, public ::testing::WithParamInterface<TSettingsFault> {};

TEST_P(SettingsFaultTest, UnwritableSettingsKeepAUsableWindowUntilMended)
{
    const TSettingsFault& fault = GetParam();
    Application->SetTitle("Hexatint91");

    TMainForm1& form = Create();
    ASSERT_EQ(form.Settings().WritePath, SettingsFile());
    fault.Break(SettingsFile());
    form.Show();
    for (int attempt = 1; attempt <= 2; ++attempt) {
        SCOPED_TRACE("close " + std::to_string(attempt));
        Guarded([&] { form.Close(); });
        ASSERT_EQ(Platform.ErrorBoxes().size(), static_cast<std::size_t>(attempt));
        EXPECT_EQ(Platform.ErrorBoxes().back().Caption, "Hexatint91");
        EXPECT_EQ(Platform.ErrorBoxes().back().Text, SettingsFile() + " に書き込めません.");
        EXPECT_TRUE(form.Visible()) << "the window stays open";
        form.GlowFadeButton(89)->Click();
        ASSERT_FALSE(Platform.ClipboardTexts().empty());
        EXPECT_EQ(Platform.ClipboardTexts().back(), "#ff9900") << "the window still works";
    }
    form.N4->Click();  // the choice made meanwhile is what gets saved
    fault.Mend(SettingsFile());
    Guarded([&] { form.Close(); });
    EXPECT_EQ(Platform.ErrorBoxes().size(), 2u);
    EXPECT_FALSE(form.Visible());
    std::error_code ignored;
    const std::string written = fs::canonical(SettingsFile(), ignored).string();
    EXPECT_EQ(TIniFile(written).ReadString("SET", "FRON", "<none>"), "0");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SettingsFaultTest,
    ::testing::Values(
        TSettingsFault{"FolderInPlaceOfTheFile",
                       [](const std::string& s) { fs::create_directory(s); },
                       [](const std::string& s) { fs::remove(s); }},
        TSettingsFault{"LinkIntoAMissingFolder",
                       [](const std::string& s) { fs::create_symlink("missing/Hexatint91.ini", s); },
                       [](const std::string& s) { fs::create_directory(fs::path(s).parent_path() / "missing"); }}),
    [](const ::testing::TestParamInfo<TSettingsFault>& row) { return std::string(row.param.What); });

} // namespace
} // namespace hx::test
