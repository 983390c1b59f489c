#include "framework/services/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPalette>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

#include "framework/core/Exception.h"
#include "framework/services/TickGroup.h"
#include "framework/services/Translator.h"

namespace hx {

// Timers of one interval share one toolkit timer (TickGroup.h). A group's timer stops when
// its last member leaves and stays for the next one: starting a fade makes no toolkit object.
struct TQtPlatform::TImpl {
    struct TGroup {
        TTickGroup Members;
        QTimer Timer;
    };
    std::map<int, std::unique_ptr<TGroup>> Groups;  // by interval
    std::map<int, int> IntervalOf;                  // by timer id
    int NextId = 1;
    TPoint Seen{};
    TShiftState SeenKeys = 0;
    std::chrono::steady_clock::time_point SeenAt{};
    bool SeenValid = false;

    bool SeenFresh() const
    {
        return SeenValid && std::chrono::steady_clock::now() - SeenAt <= std::chrono::milliseconds(kPointerSeenMs);
    }
};

TQtPlatform::TQtPlatform() : FImpl(std::make_unique<TImpl>()) {}

TQtPlatform::~TQtPlatform() = default;

void TQtPlatform::MessageBeep(unsigned)
{
    QApplication::beep();
}

void TQtPlatform::ShellOpen(const std::string& address)
{
    // The desktop's URL handler is started detached: the window never waits for it, and a
    // missing browser is not reported.
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(address), QUrl::TolerantMode));
}

std::string TQtPlatform::ModuleFileName()
{
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return exe.string();
    return QCoreApplication::applicationFilePath().toStdString();
}

void TQtPlatform::PointerSeen(TPoint screen, TShiftState keys)
{
    FImpl->Seen = screen;
    FImpl->SeenKeys = keys;
    FImpl->SeenAt = std::chrono::steady_clock::now();
    FImpl->SeenValid = true;
}

void TQtPlatform::ForgetPointerEvent()
{
    FImpl->SeenValid = false;
}

TPoint TQtPlatform::GetCursorPos()
{
    if (FImpl->SeenFresh())
        return FImpl->Seen;
    const QPoint p = QCursor::pos();
    return TPoint{p.x(), p.y()};
}

namespace {

// The modifier a key code stands for; 0 for other keys.
TShiftState ModifierOf(int virtualKey)
{
    switch (virtualKey) {
    case VK_SHIFT: return ssShift;
    case VK_CONTROL: return ssCtrl;
    case VK_MENU: return ssAlt;
    default: return 0;
    }
}

Qt::KeyboardModifier QtModifier(TShiftState key)
{
    return key == ssShift ? Qt::ShiftModifier : key == ssCtrl ? Qt::ControlModifier : Qt::AltModifier;
}

bool MouseButtonDown(int virtualKey)
{
    const Qt::MouseButtons held = QGuiApplication::mouseButtons();
    switch (virtualKey) {
    case VK_LBUTTON: return held & Qt::LeftButton;
    case VK_RBUTTON: return held & Qt::RightButton;
    case VK_MBUTTON: return held & Qt::MiddleButton;
    default: return false;
    }
}

} // namespace

std::int16_t TQtPlatform::GetKeyState(int virtualKey)
{
    bool down = MouseButtonDown(virtualKey);
    if (const TShiftState key = ModifierOf(virtualKey))
        down = FImpl->SeenFresh() ? (FImpl->SeenKeys & key) != 0
                                  : (QGuiApplication::queryKeyboardModifiers() & QtModifier(key)) != 0;
    return down ? static_cast<std::int16_t>(-0x8000) : std::int16_t{0};
}

bool TQtPlatform::GetCapture()
{
    return CaptureHeld();
}

namespace {

bool Headless()
{
    return !QGuiApplication::instance() || QGuiApplication::platformName() == QLatin1String("offscreen");
}

// Where a system colour comes from in the desktop palette. Indices the desktop has no
// role for (the desktop background, caption gradients) keep their classic values.
struct TPaletteSource {
    int Index;
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

constexpr TPaletteSource kPaletteSources[] = {
    {COLOR_SCROLLBAR, QPalette::Active, QPalette::Button},
    {COLOR_ACTIVECAPTION, QPalette::Active, QPalette::Highlight},
    {COLOR_INACTIVECAPTION, QPalette::Active, QPalette::Dark},
    {COLOR_MENU, QPalette::Active, QPalette::Window},
    {COLOR_WINDOW, QPalette::Active, QPalette::Base},
    {COLOR_WINDOWFRAME, QPalette::Active, QPalette::Shadow},
    {COLOR_MENUTEXT, QPalette::Active, QPalette::WindowText},
    {COLOR_WINDOWTEXT, QPalette::Active, QPalette::Text},
    {COLOR_CAPTIONTEXT, QPalette::Active, QPalette::HighlightedText},
    {COLOR_ACTIVEBORDER, QPalette::Active, QPalette::Button},
    {COLOR_INACTIVEBORDER, QPalette::Active, QPalette::Button},
    {COLOR_APPWORKSPACE, QPalette::Active, QPalette::Dark},
    {COLOR_HIGHLIGHT, QPalette::Active, QPalette::Highlight},
    {COLOR_HIGHLIGHTTEXT, QPalette::Active, QPalette::HighlightedText},
    {COLOR_BTNFACE, QPalette::Active, QPalette::Button},
    {COLOR_BTNSHADOW, QPalette::Active, QPalette::Dark},
    {COLOR_GRAYTEXT, QPalette::Disabled, QPalette::Text},
    {COLOR_BTNTEXT, QPalette::Active, QPalette::ButtonText},
    {COLOR_INACTIVECAPTIONTEXT, QPalette::Inactive, QPalette::HighlightedText},
    {COLOR_BTNHIGHLIGHT, QPalette::Active, QPalette::Light},
    {COLOR_3DDKSHADOW, QPalette::Active, QPalette::Shadow},
    {COLOR_3DLIGHT, QPalette::Active, QPalette::Midlight},
    {COLOR_INFOTEXT, QPalette::Active, QPalette::ToolTipText},
    {COLOR_INFOBK, QPalette::Active, QPalette::ToolTipBase},
    {COLOR_HOTLIGHT, QPalette::Active, QPalette::Link},
    {COLOR_MENUHILIGHT, QPalette::Active, QPalette::Highlight},
    {COLOR_MENUBAR, QPalette::Active, QPalette::Window},
};

} // namespace

TColor TQtPlatform::GetSysColor(int index)
{
    if (Headless())
        return ClassicSysColor(index);
    for (const TPaletteSource& source : kPaletteSources)
        if (source.Index == index) {
            const QColor c = QGuiApplication::palette().color(source.Group, source.Role);
            return RGB(c.red(), c.green(), c.blue());
        }
    return ClassicSysColor(index);
}

void TQtPlatform::SetClipboardText(const std::string& text)
{
    QClipboard* clipboard = QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
    if (!clipboard)
        throw EClipboardException(Tr("TClipboard", "クリップボードを開くことができません"));
    clipboard->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                       QClipboard::Clipboard);
}

std::string TQtPlatform::GetClipboardText()
{
    QClipboard* clipboard = QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
    return clipboard ? clipboard->text(QClipboard::Clipboard).toStdString() : std::string();
}

void TQtPlatform::ShowErrorBox(const std::string& caption, const std::string& text)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No widget session to show a box in: the message must still reach someone.
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return;
    }
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(caption), QString::fromUtf8(text),
                    QMessageBox::Ok);
    box.exec();
}

int TQtPlatform::StartTimer(int intervalMs, std::function<void()> tick)
{
    if (!QCoreApplication::instance())
        return 0;
    std::unique_ptr<TImpl::TGroup>& slot = FImpl->Groups[intervalMs];
    if (!slot) {
        slot = std::make_unique<TImpl::TGroup>();
        TImpl::TGroup* group = slot.get();
        group->Timer.setTimerType(Qt::PreciseTimer);
        group->Timer.setInterval(intervalMs);
        QObject::connect(&group->Timer, &QTimer::timeout, [group] {
            group->Members.Tick();
            if (group->Members.Empty())
                group->Timer.stop();
        });
    }
    TImpl::TGroup& group = *slot;
    const int id = FImpl->NextId++;
    group.Members.Add(id, std::move(tick), intervalMs, group.Timer.isActive() ? group.Timer.remainingTime() : -1);
    if (!group.Timer.isActive())
        group.Timer.start();
    FImpl->IntervalOf[id] = intervalMs;
    return id;
}

void TQtPlatform::StopTimer(int id)
{
    auto it = FImpl->IntervalOf.find(id);
    if (it == FImpl->IntervalOf.end())
        return;
    TImpl::TGroup& group = *FImpl->Groups.at(it->second);
    FImpl->IntervalOf.erase(it);
    group.Members.Remove(id);
    if (group.Members.Empty())
        group.Timer.stop();
}

void TQtPlatform::ProcessEventsFor(int ms)
{
    if (!QCoreApplication::instance())
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

TQtPlatform& QtPlatform()
{
    // Never destroyed: its timers are Qt objects, and after the platform ended the process
    // with exit() Qt's state may be gone before static objects are destroyed. On a normal
    // exit the forms have freed their timers before the session ended.
    static TQtPlatform* platform = new TQtPlatform();
    return *platform;
}

void InstallQtPlatform()
{
    SetPlatform(&QtPlatform());
}

} // namespace hx
