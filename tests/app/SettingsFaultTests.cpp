// Settings files that cannot be written for reasons other than permissions (so these run
// as any user), broken after the start chose the file: every close shows the same error box
// and leaves a window that still works; once the cause is gone, the next close saves and
// closes.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
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

    // A lookup in the broken file neither waits nor reads without bound.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(TIniFile(SettingsFile()).ReadBool("SET", "FRON", true));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
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
                       [](const std::string& s) { fs::create_directory(fs::path(s).parent_path() / "missing"); }},
        // Never opened: a FIFO would hold the start for ever, a device never ends.
        TSettingsFault{"FifoInPlaceOfTheFile",
                       [](const std::string& s) { ASSERT_EQ(::mkfifo(s.c_str(), 0600), 0); },
                       [](const std::string& s) { fs::remove(s); }},
        TSettingsFault{"LinkToDevZero",
                       [](const std::string& s) { fs::create_symlink("/dev/zero", s); },
                       [](const std::string& s) { fs::remove(s); }},
        // Beyond the size limit reading and writing share: refused, never read whole.
        TSettingsFault{"Sparse64GBFile",
                       [](const std::string& s) {
                           { std::ofstream create(s); }
                           fs::resize_file(s, std::uintmax_t{64} << 30);
                       },
                       [](const std::string& s) { fs::remove(s); }}),
    [](const ::testing::TestParamInfo<TSettingsFault>& row) { return std::string(row.param.What); });

// A settings file of two MiB of comments: the choice is saved in place, read back by the
// next start, and every other line is kept.
TEST_F(MainFormTest, ALargeCommentedSettingsFileKeepsItsLinesAndReadsTheChoiceBack)
{
    std::string comments;
    while (comments.size() < (2u << 20))
        comments += "; " + std::string(77, 'c') + "\n";
    {
        std::ofstream(SettingsFile(), std::ios::binary) << comments << "[SET]\nFRON=1\n";
    }
    TMainForm1& form = Create();
    EXPECT_TRUE(form.N4->Checked());
    form.Show();
    form.N4->Click();
    Guarded([&] { form.Close(); });
    EXPECT_TRUE(Platform.ErrorBoxes().empty());
    Form.reset();
    MainForm1 = nullptr;
    TMainForm1& again = Create();
    EXPECT_FALSE(again.N4->Checked()) << "the choice is read back";
    std::ifstream in(SettingsFile(), std::ios::binary);
    const std::string now((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(now, comments + "[SET]\nFRON=0\n");
}

} // namespace
} // namespace hx::test
