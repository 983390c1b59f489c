#pragma once
// The tool's one window: 91 swatches over two gradient panels, a context menu, and the
// settings file that remembers whether the window stays on top.
#include <functional>
#include <string>
#include <string_view>

#include "app/CopyFormat.h"
#include "app/SettingsLocation.h"
#include "framework/runtime/Form.h"
#include "framework/runtime/Menus.h"
#include "widgets/glowfadebutton/Glowfadebutton.h"
#include "widgets/gradbox/Gradbox.h"

namespace hx {

constexpr int kSwatchCount = 91;

class TMainForm1 : public TForm {
public:
    // Builds the window from its form description.
    explicit TMainForm1(TComponent* owner);
    const char* ClassName() const override { return "TMainForm1"; }

    // Where the setting was read from and where the close saves it (decided by FormCreate).
    const TSettingsLocation& Settings() const { return FSettings; }

    // Swatch n, 1 … 91.
    TGlowFadeButton* GlowFadeButton(int n) const { return FSwatches[n - 1]; }

    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* N4 = nullptr;  // always on top
    TMenuItem* N5 = nullptr;  // separator
    TMenuItem* CopyAs1 = nullptr; // the copy-format submenu: one radio item per format
    TMenuItem* N6 = nullptr;  // information
    TMenuItem* N10 = nullptr; // separator
    TMenuItem* N7 = nullptr;  // exit
    TGradBox* GradBox1 = nullptr; // left panel
    TGradBox* GradBox2 = nullptr; // right panel
    // The last copied web code; room for 11 characters and the terminating zero.
    char ColorCode[12] = {};
    // The form a copy puts on the clipboard (the submenu's choice, kept in the settings).
    TCopyFormat CopyFormat() const { return FCopyFormat; }
    void SetCopyFormat(TCopyFormat format);
    // The radio item of a format.
    TMenuItem* CopyFormatItem(TCopyFormat format) const { return FCopyFormatItems[static_cast<int>(format)]; }

    // Handlers, bound by name from the description.
    void N4Click(TObject* sender);
    void N6Click(TObject* sender);
    // Any item of the copy-format submenu: chooses its format.
    void CopyFormatClick(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormCreate(TObject* sender);
    // GlowFadeButton1Click … GlowFadeButton91Click all run this, each for its own swatch:
    // the code to the clipboard, the panels washed in the colour, a beep.
    void GlowFadeButtonClick(int n, TObject* sender);
    // Puts swatch n's code on the clipboard in the chosen format (and the code in ColorCode).
    void CopySwatchCode(int n);
    // Ctrl+C copies the focused swatch's code, without the wash or the beep.
    void FormKeyDown(TObject* sender, unsigned& key, TShiftState shift);
    // The swatch the keyboard is on, 1 … 91; 0 for none.
    int FocusedSwatch() const;
    // The exit item: closes the window as its close box does, so the setting is saved.
    void N7Click(TObject* sender);

private:
    template <class T>
    T* Field(const char* name) const;

    TGlowFadeButton* FSwatches[kSwatchCount] = {};
    TMenuItem* FCopyFormatItems[kCopyFormats.size()] = {};
    TCopyFormat FCopyFormat = kDefaultCopyFormat;
    TSettingsLocation FSettings;
};

extern TMainForm1* MainForm1;

// The main form's description, as built into the executable.
extern const std::string_view kMainwindow1Form;

// The host of the information page (chosen when the tool is built).
extern const char* const kInformationHost;

// The information page for an executable: http://HOST/info.php?pf=w&sn=<base name>, the
// base name being the file name without its folder and without its extension.
std::string InformationAddress(const std::string& executablePath);

// Declares TMainForm1's class information (its method table) once.
void RegisterMainForm1Class();

// The start-up: makes the session, titles the application "Hexatint91", creates the forms
// and runs the message loop. An error escaping any step is shown in the error box (a
// non-framework error as an empty one) and start-up ends there. Returns the exit code,
// always 0. The steps are passed in so that tests can stand in for the loop.
int StartHexatint(const std::function<void()>& createForms, const std::function<void()>& run);

// The process entry: StartHexatint with the main window and the real message loop.
int HexatintMain(int argc, char** argv);

} // namespace hx
