// What the window does for the user: the always-on-top setting and its file, the swatch
// click, the information page, and the error boxes when the desktop says no.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "MainFormFixture.h"
#include "framework/runtime/Application.h"
#include "framework/services/QtPlatform.h"

namespace hx::test {
namespace {

TEST_F(MainFormTest, SettingsDecideWhetherTheWindowStartsOnTop)
{
    const struct {
        const char* File; // null: no settings file at all
        bool OnTop;
    } cases[] = {
        {nullptr, true},
        {"[SET]\nFRON=0\n", false},
        {"[SET]\nFRON=1\n", true},
        {"[SET]\nFRON=5\n", true},
        {"[SET]\nFRON=0x10\n", true},
        {"[SET]\nFRON=abc\n", true},
        {"[SET]\nFRON=\n", true},
        {"[set]\r\nfron = 0\r\n", false},
        {"[OTHER]\nFRON=0\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File ? c.File : "(no file)");
        std::remove(SettingsFile().c_str());
        if (c.File)
            WriteSettings(c.File);
        TMainForm1& form = Create();
        EXPECT_EQ(form.N4->Checked(), c.OnTop);
        EXPECT_EQ(form.FormStyle(), c.OnTop ? fsStayOnTop : fsNormal);
        Form.reset();
        // Reading never writes.
        EXPECT_EQ(access(SettingsFile().c_str(), F_OK) == 0, c.File != nullptr);
    }
}

TEST_F(MainFormTest, ClosingWritesTheToggledStateAndKeepsTheRestOfTheFile)
{
    const struct {
        int Toggles;
        const char* Expected;
    } cases[] = {{0, "1"}, {1, "0"}, {2, "1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Toggles);
        WriteSettings("; mine\n[SET]\nFRON=1\nOTHER=x\n[MORE]\nA=b\n");
        TMainForm1& form = Create();
        for (int i = 0; i < c.Toggles; ++i)
            form.N4->Click();
        EXPECT_EQ(form.FormStyle(), form.N4->Checked() ? fsStayOnTop : fsNormal);
        EXPECT_EQ(ReadSettings(), "; mine\n[SET]\nFRON=1\nOTHER=x\n[MORE]\nA=b\n")
            << "nothing is written before the close";
        TCloseAction action = caHide;
        form.FormClose(&form, action);
        EXPECT_EQ(ReadSettings(), std::string("; mine\n[SET]\nFRON=") + c.Expected + "\nOTHER=x\n[MORE]\nA=b\n");
        Form.reset();
    }
}

TEST_F(MainFormTest, FirstCloseCreatesTheSettingsFile)
{
    TMainForm1& form = Create();
    TCloseAction action = caHide;
    form.FormClose(&form, action);
    EXPECT_EQ(ReadSettings(), "[SET]\nFRON=1\n");
}

TEST_F(MainFormTest, SwatchClickCopiesTheCodeWashesTheBackdropAndBeeps)
{
    TMainForm1& form = Create();
    form.GlowFadeButton(89)->Click();
    ASSERT_EQ(Platform.ClipboardTexts().size(), 1u);
    EXPECT_EQ(Platform.ClipboardTexts()[0], "#ff9900");
    EXPECT_STREQ(form.ColorCode, "#ff9900");
    EXPECT_EQ(form.GradBox1->TopColor(), RGB(255, 153, 0));
    EXPECT_EQ(form.GradBox2->TopColor(), RGB(255, 153, 0));
    EXPECT_EQ(Platform.Beeps(), std::vector<unsigned>{0});

    form.GlowFadeButton(89)->Click();
    EXPECT_EQ(Platform.ClipboardTexts().size(), 2u) << "the same swatch again repeats every step";
    EXPECT_EQ(Platform.BeepCount(), 2);
}

TEST_F(MainFormTest, LongCaptionIsCutToWhatColorCodeHolds)
{
    TMainForm1& form = Create();
    form.GlowFadeButton(1)->SetCaption("#0123456789abcdef");
    form.GlowFadeButton(1)->Click();
    EXPECT_STREQ(form.ColorCode, "#0123456789");
    EXPECT_EQ(Platform.ClipboardTexts().back(), "#0123456789");
    form.GlowFadeButton(1)->SetCaption("");
    form.GlowFadeButton(1)->Click();
    EXPECT_STREQ(form.ColorCode, "");
    EXPECT_EQ(Platform.ClipboardTexts().back(), "");
}

TEST_F(MainFormTest, BusyClipboardShowsTheErrorAndSkipsBackdropAndBeep)
{
    Application->SetTitle("Hexatint91");
    TMainForm1& form = Create();
    Platform.SetClipboardFails(true);
    Guarded([&] { form.GlowFadeButton(89)->Click(); });
    ASSERT_EQ(Platform.ErrorBoxes().size(), 1u);
    EXPECT_EQ(Platform.ErrorBoxes()[0].Caption, "Hexatint91");
    EXPECT_EQ(Platform.ErrorBoxes()[0].Text, "クリップボードを開くことができません.");
    EXPECT_EQ(Platform.BeepCount(), 0);
    EXPECT_EQ(form.GradBox1->TopColor(), clBlack);
    EXPECT_EQ(form.GradBox2->TopColor(), clBlack);
}

TEST(InformationPage, AddressCarriesTheExecutablesBaseName)
{
    const std::string prefix = std::string("http://") + kInformationHost + "/info.php?pf=w&sn=";
    const struct {
        const char* Path;
        const char* Name;
    } cases[] = {
        {"/usr/bin/Hexatint91", "Hexatint91"},
        {"/opt/x/my.tint", "my"},
        {"/opt/x/my.tint.exe", "my.tint"},
        {"/opt/x.y/tool", "tool"},
        {"relative", "relative"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InformationAddress(c.Path), prefix + c.Name) << c.Path;
}

// The desktop's own URL handler stands behind the information item, and none can be found:
// the page simply does not open. Nothing is reported and the window goes on working.
class TRealShellPlatform : public TPlatformScope {
public:
    void ShellOpen(const std::string& address) override
    {
        TPlatformScope::ShellOpen(address);
        QtPlatform().ShellOpen(address);
    }
};

TEST(InformationPage, AShellThatCannotOpenThePageReportsNothing)
{
    TRealShellPlatform platform;
    char pattern[] = "/tmp/hexatint-shell-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    platform.SetModuleFileName(folder + "/Hexatint91");
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", folder.c_str(), 1); // an empty folder: no handler to start
    Application->Initialize();
    Application->SetTitle("Hexatint91");
    {
        TMainForm1 form(nullptr);
        MainForm1 = &form;
        form.AfterConstruction();
        EXPECT_NO_THROW(form.N6->Click());
        EXPECT_EQ(platform.ShellOpens().size(), 1u);
        EXPECT_TRUE(platform.ErrorBoxes().empty());
        form.GlowFadeButton(89)->Click();
        EXPECT_EQ(platform.ClipboardTexts(), std::vector<std::string>{"#ff9900"}) << "the window still works";
        MainForm1 = nullptr;
    }
    setenv("PATH", path.c_str(), 1);
    std::filesystem::remove_all(folder);
}

TEST_F(MainFormTest, InformationItemOpensThePageAndSettingsKeepTheirFixedName)
{
    Platform.SetModuleFileName(Folder + "/my.tint");
    TMainForm1& form = Create();
    form.N6->Click();
    ASSERT_EQ(Platform.ShellOpens().size(), 1u);
    EXPECT_EQ(Platform.ShellOpens()[0], std::string("http://") + kInformationHost + "/info.php?pf=w&sn=my");
    EXPECT_EQ(form.Settings().WritePath, Folder + "/Hexatint91.ini");
}

// Run as an unprivileged user (root writes anywhere, so root runs this test again in a child
// process as nobody; anyone else runs it directly): a folder the user may not write keeps the
// window open and shows which file could not be written. Skipped, saying why, where the
// folder's permissions do not refuse the user.
TEST_F(MainFormTest, UnwritableFolderKeepsTheWindowOpenWithTheError)
{
    if (geteuid() == 0) {
        char self[4096] = {};
        ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
        chmod(Folder.c_str(), 0555);
        const std::string asNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
        // test -w: 1 when refused, 0 when writable, anything else when nobody could not run it.
        const int probe = std::system((asNobody + "test -w " + Folder + " 2>/dev/null").c_str());
        if (!WIFEXITED(probe) || (WEXITSTATUS(probe) != 0 && WEXITSTATUS(probe) != 1))
            GTEST_SKIP() << "root could not become nobody (setpriv failed)";
        if (WEXITSTATUS(probe) == 0)
            GTEST_SKIP() << "a read-only folder does not refuse nobody";
        const std::string command = std::string("HX_UNPRIVILEGED_FOLDER=") + Folder + " " + asNobody + self +
                                    " --gtest_filter=MainFormTest.UnwritableFolderKeepsTheWindowOpenWithTheError";
        EXPECT_EQ(std::system(command.c_str()), 0);
        EXPECT_NE(access(SettingsFile().c_str(), F_OK), 0);
        return;
    }
    const char* folder = std::getenv("HX_UNPRIVILEGED_FOLDER");
    const std::string target = folder ? folder : Folder;
    if (!folder) {
        chmod(Folder.c_str(), 0555);
        if (access(target.c_str(), W_OK) == 0)
            GTEST_SKIP() << "a read-only folder does not refuse uid " << geteuid();
    }
    ASSERT_NE(access(target.c_str(), W_OK), 0) << "the folder must really be unwritable";
    Platform.SetModuleFileName(target + "/Hexatint91");
    // The config folder cannot be made either: nothing is usable.
    setenv("XDG_CONFIG_HOME", (target + "/config").c_str(), 1);
    Application->SetTitle("Hexatint91");
    TMainForm1& form = Create();
    form.Show();
    Guarded([&] { form.Close(); });
    ASSERT_EQ(Platform.ErrorBoxes().size(), 1u);
    EXPECT_EQ(Platform.ErrorBoxes()[0].Text, target + "/config/Hexatint91/Hexatint91.ini に書き込めません.");
    EXPECT_TRUE(form.Visible()) << "the window stays open";
    EXPECT_FALSE(Application->Terminated());
    chmod(Folder.c_str(), 0755);
}

} // namespace
} // namespace hx::test
