#pragma once
// A main window built from its real description on the offscreen platform, with a
// recording platform standing in for the desktop and the executable placed in a folder of
// the test's own (where the settings file lives).
#include <filesystem>
#include <memory>
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
    void WriteSettings(const std::string& text) const;
    std::string ReadSettings() const;

    TPlatformScope Platform;
    std::string Folder;
    std::unique_ptr<TMainForm1> Form;
};

} // namespace hx::test
