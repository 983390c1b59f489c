#pragma once
// A main window built from its real description on the offscreen platform, with a
// recording platform standing in for the desktop and the executable placed in a folder of
// the test's own (where the settings file lives), with a config folder of its own inside it.
#include <filesystem>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/Mainwindow1.h"
#include "framework/runtime/Application.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/hexatint-app-XXXXXX";
        Folder = mkdtemp(pattern);
        Platform.SetModuleFileName(Folder + "/Hexatint91");
        // Never the real user's config folder: its file would win over the one beside the
        // executable.
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            FOldConfigHome = old;
        setenv("XDG_CONFIG_HOME", (Folder + "/config").c_str(), 1);
        // Errors escaping handlers reach the application's report, captioned as the entry
        // titles it (StartupTest checks the entry itself).
        Application->Initialize();
        Application->SetTitle("Hexatint91");
    }

    void TearDown() override
    {
        Form.reset();
        MainForm1 = nullptr;
        std::filesystem::remove_all(Folder);
        if (FOldConfigHome)
            setenv("XDG_CONFIG_HOME", FOldConfigHome->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }

    // Builds the window as the application does: constructed, published, then OnCreate.
    TMainForm1& Create()
    {
        Form = std::make_unique<TMainForm1>(nullptr);
        MainForm1 = Form.get();
        Form->AfterConstruction();
        return *Form;
    }

    std::string SettingsFile() const { return Folder + "/Hexatint91.ini"; }
    // The same file in the config folder.
    std::string ConfigFile() const { return Folder + "/config/Hexatint91/Hexatint91.ini"; }
    void WriteSettings(const std::string& text) const;
    std::string ReadSettings() const;

    TPlatformScope Platform;
    std::string Folder;
    std::unique_ptr<TMainForm1> Form;

private:
    std::optional<std::string> FOldConfigHome;
};

} // namespace hx::test
