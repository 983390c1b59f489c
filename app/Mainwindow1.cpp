#include "app/Mainwindow1.h"

#include <algorithm>
#include <any>
#include <cstring>
#include <iterator>

#include "app/Appicon.h"
#include "framework/runtime/Application.h"
#include "framework/services/Clipboard.h"
#include "framework/streaming/FormReader.h"
#include "framework/streaming/FrameworkClasses.h"
#include "framework/services/IniFiles.h"
#include "framework/core/Platform.h"
#include "framework/core/TypInfo.h"

namespace hx {

TMainForm1* MainForm1 = nullptr;
const char* const kInformationHost = HEXATINT_INFO_HOST;

namespace {

constexpr const char* kSettingsSection = "SET";
constexpr const char* kOnTopKey = "FRON";
constexpr const char* kCopyFormatKey = "FORMAT";
// The copy-format items of the description, in the order of kCopyFormats.
constexpr const char* kCopyFormatItemNames[] = {"CopyAsHex", "CopyAsUpper", "CopyAsShort", "CopyAsBare", "CopyAsRgb"};
static_assert(std::size(kCopyFormatItemNames) == kCopyFormats.size());

std::string SwatchName(int n)
{
    return "GlowFadeButton" + std::to_string(n);
}

std::string SwatchHandlerName(int n)
{
    return SwatchName(n) + "Click";
}

} // namespace

std::string InformationAddress(const std::string& executablePath)
{
    std::string name = executablePath.substr(executablePath.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return std::string("http://") + kInformationHost + "/info.php?pf=w&sn=" + name;
}

void RegisterMainForm1Class()
{
    static bool declared = false;
    if (declared)
        return;
    RegisterFrameworkClasses();
    RegisterGradbox();
    RegisterGlowfadebutton();

    TClassInfo& info = TClassInfo::Declare("TMainForm1", TClassInfo::Find("TForm"));
    TClassBuilder<TMainForm1>(info)
        .InheritAll()
        .Method("N4Click", &TMainForm1::N4Click)
        .Method("N6Click", &TMainForm1::N6Click)
        .Method("CopyFormatClick", &TMainForm1::CopyFormatClick)
        .Method("FormClose", &TMainForm1::FormClose)
        .Method("FormCreate", &TMainForm1::FormCreate);
    // The 91 swatch handlers differ only in the swatch they read.
    for (int n = 1; n <= kSwatchCount; ++n) {
        const std::string name = SwatchHandlerName(n);
        info.AddMethod(TMethodInfo{name, typeid(TNotifyEvent), [n, name](TObject* instance) {
                                       auto* form = static_cast<TMainForm1*>(instance);
                                       return std::any(TNotifyEvent(
                                           [form, n](TObject* sender) { form->GlowFadeButtonClick(n, sender); },
                                           form, name));
                                   }});
    }
    declared = true;
}

template <class T>
T* TMainForm1::Field(const char* name) const
{
    T* component = dynamic_cast<T*>(FindComponent(name));
    if (!component)
        throw EComponentError(std::string("The main window's description lacks ") + name);
    return component;
}

TMainForm1::TMainForm1(TComponent* owner) : TForm(owner)
{
    RegisterMainForm1Class();
    ReadComponent(this, std::string(kMainwindow1Form), "Mainwindow1.form");

    for (int n = 1; n <= kSwatchCount; ++n)
        FSwatches[n - 1] = Field<TGlowFadeButton>(SwatchName(n).c_str());
    PopupMenu1 = Field<TPopupMenu>("PopupMenu1");
    N4 = Field<TMenuItem>("N4");
    N5 = Field<TMenuItem>("N5");
    CopyAs1 = Field<TMenuItem>("CopyAs1");
    for (std::size_t i = 0; i < kCopyFormats.size(); ++i)
        FCopyFormatItems[i] = Field<TMenuItem>(kCopyFormatItemNames[i]);
    N6 = Field<TMenuItem>("N6");
    N10 = Field<TMenuItem>("N10");
    N7 = Field<TMenuItem>("N7");
    GradBox1 = Field<TGradBox>("GradBox1");
    GradBox2 = Field<TGradBox>("GradBox2");

    // The description binds no handler to the exit item; it closes the window like the close box.
    N7->OnClick = TNotifyEvent(this, &TMainForm1::N7Click, "N7Click");
    OnKeyDown = TKeyEvent(this, &TMainForm1::FormKeyDown, "FormKeyDown");
    SetApplicationIcon(this);
}

void TMainForm1::FormCreate(TObject* /*sender*/)
{
    FSettings = ChooseSettingsLocation(CurrentSettingsPlaces());
    const TIniFile settings(FSettings.ReadPath);
    N4->SetChecked(settings.ReadBool(kSettingsSection, kOnTopKey, N4->Checked()));
    MainForm1->SetFormStyle(N4->Checked() ? fsStayOnTop : fsNormal);
    SetCopyFormat(CopyFormatFromName(settings.ReadString(kSettingsSection, kCopyFormatKey, "")));
}

void TMainForm1::FormClose(TObject* /*sender*/, TCloseAction& /*action*/)
{
    if (FSettings.InConfigFolder)
        MakeSettingsFolders(FSettings.WritePath);
    TIniFile settings(FSettings.WritePath);
    settings.WriteBool(kSettingsSection, kOnTopKey, N4->Checked());
    // A file that never had a format chosen stays as earlier versions wrote it.
    constexpr const char* absent = "\n";
    if (FCopyFormat != kDefaultCopyFormat || settings.ReadString(kSettingsSection, kCopyFormatKey, absent) != absent)
        settings.WriteString(kSettingsSection, kCopyFormatKey, std::string(CopyFormatName(FCopyFormat)));
}

void TMainForm1::SetCopyFormat(TCopyFormat format)
{
    FCopyFormat = format;
    CopyFormatItem(format)->SetChecked(true);
}

void TMainForm1::CopyFormatClick(TObject* sender)
{
    for (TCopyFormat format : kCopyFormats)
        if (CopyFormatItem(format) == sender)
            SetCopyFormat(format);
}

void TMainForm1::N4Click(TObject* /*sender*/)
{
    const bool onTop = !N4->Checked();
    N4->SetChecked(onTop);
    MainForm1->SetFormStyle(onTop ? fsStayOnTop : fsNormal);
}

void TMainForm1::N6Click(TObject* /*sender*/)
{
    Platform().ShellOpen(InformationAddress(Platform().ModuleFileName()));
}

void TMainForm1::N7Click(TObject* /*sender*/)
{
    Close();
}

void TMainForm1::CopySwatchCode(int n)
{
    // ColorCode has room for 11 characters: a longer caption is cut there.
    const std::string& caption = GlowFadeButton(n)->Caption();
    const std::size_t length = std::min(caption.size(), sizeof(ColorCode) - 1);
    std::memcpy(ColorCode, caption.data(), length);
    ColorCode[length] = '\0';
    // The bound is the code's; the text in the chosen format may be longer.
    Clipboard()->SetTextBuf(FormatColorCode(ColorCode, FCopyFormat).c_str());
}

int TMainForm1::FocusedSwatch() const
{
    for (int n = 1; n <= kSwatchCount; ++n)
        if (FSwatches[n - 1] == ActiveControl())
            return n;
    return 0;
}

void TMainForm1::FormKeyDown(TObject* /*sender*/, unsigned& key, TShiftState shift)
{
    if (key != 'C' || shift != ssCtrl)
        return;
    if (const int n = FocusedSwatch()) {
        CopySwatchCode(n);
        key = 0;
    }
}

void TMainForm1::GlowFadeButtonClick(int n, TObject* /*sender*/)
{
    const TGlowFadeButton* swatch = GlowFadeButton(n);
    CopySwatchCode(n);

    GradBox1->SetTopColor(swatch->Color());
    GradBox2->SetTopColor(swatch->Color());

    Platform().MessageBeep(0);
}

int StartHexatint(const std::function<void()>& createForms, const std::function<void()>& run)
{
    try {
        Application->Initialize();
        Application->SetTitle("Hexatint91");
        createForms();
        run();
    } catch (const Exception& error) {
        Application->ShowException(error);
    } catch (...) {
        Application->ShowException(Exception());
    }
    Application->Shutdown();
    return 0;
}

int HexatintMain(int /*argc*/, char** /*argv*/)
{
    return StartHexatint([] { Application->CreateForm(MainForm1); }, [] { Application->Run(); });
}

} // namespace hx
