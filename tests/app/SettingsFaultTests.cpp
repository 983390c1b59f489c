// Settings files that cannot be written for reasons other than permissions (so these run
// as any user), broken after the start chose the file: every close shows the same error box
// and leaves a window that still works; once the cause is gone, the next close saves and
// closes.
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "MainFormFixture.h"
#include "framework/runtime/Application.h"
#include "framework/services/IniFiles.h"

namespace hx::test {
namespace {

struct TSettingsFault {
    const char* What;
    std::function<void(const std::string& settings)> Break;
    std::function<void(const std::string& settings)> Mend;
};

TEST_F(MainFormTest, UnwritableSettingsKeepAUsableWindowUntilMended)
{
    namespace fs = std::filesystem;
    const TSettingsFault faults[] = {
        {"a folder in place of the file",
         [](const std::string& s) { fs::create_directory(s); },
         [](const std::string& s) { fs::remove(s); }},
        {"a link into a folder that is not there",
         [](const std::string& s) { fs::create_symlink("missing/Hexatint91.ini", s); },
         [](const std::string& s) { fs::create_directory(fs::path(s).parent_path() / "missing"); }},
    };
    Application->SetTitle("Hexatint91");
    for (const TSettingsFault& fault : faults) {
        SCOPED_TRACE(fault.What);
        fs::remove_all(SettingsFile());
        fs::remove_all(Folder + "/missing");
        Platform.ClearRecords();

        TMainForm1& form = Create();
        ASSERT_EQ(form.Settings().WritePath, SettingsFile());
        fault.Break(SettingsFile());
        form.Show();
        for (int attempt = 1; attempt <= 2; ++attempt) {
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
        Form.reset();
        MainForm1 = nullptr;
    }
}

} // namespace
} // namespace hx::test
