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

#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>

#include "framework/core/Exception.h"

namespace hx {

struct TQtPlatform::TImpl {
    std::map<int, QTimer*> Timers;
    int NextId = 1;
    // Ids of timers whose tick is on the call stack now: such a timer must outlive the
    // tick even when the tick stops it.
    std::map<int, int> Ticking;
};

TQtPlatform::TQtPlatform() : FImpl(std::make_unique<TImpl>()) {}

TQtPlatform::~TQtPlatform()
{
    for (auto& [id, timer] : FImpl->Timers)
        delete timer;
}

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

TPoint TQtPlatform::GetCursorPos()
{
    const QPoint p = QCursor::pos();
    return TPoint{p.x(), p.y()};
}

std::int16_t TQtPlatform::GetKeyState(int virtualKey)
{
    bool down = false;
    switch (virtualKey) {
    case VK_LBUTTON: down = QGuiApplication::mouseButtons() & Qt::LeftButton; break;
    case VK_RBUTTON: down = QGuiApplication::mouseButtons() & Qt::RightButton; break;
    case VK_MBUTTON: down = QGuiApplication::mouseButtons() & Qt::MiddleButton; break;
    case VK_SHIFT: down = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier; break;
    case VK_CONTROL: down = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier; break;
    case VK_MENU: down = QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier; break;
    default: break;
    }
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
        throw EClipboardException("クリップボードを開くことができません");
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
    const int id = FImpl->NextId++;
    auto* timer = new QTimer;
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(intervalMs);
    TImpl* impl = FImpl.get();
    QObject::connect(timer, &QTimer::timeout, [impl, id, tick = std::move(tick)] {
        ++impl->Ticking[id];
        Guarded(tick);
        if (--impl->Ticking[id] == 0)
            impl->Ticking.erase(id);
    });
    timer->start();
    FImpl->Timers[id] = timer;
    return id;
}

void TQtPlatform::StopTimer(int id)
{
    auto it = FImpl->Timers.find(id);
    if (it == FImpl->Timers.end())
        return;
    QTimer* timer = it->second;
    FImpl->Timers.erase(it);
    timer->stop();
    // A timer stopped from inside its own tick is still running that tick's code (and
    // holds the tick's captures): it is freed once the event loop is back.
    if (FImpl->Ticking.count(id))
        timer->deleteLater();
    else
        delete timer;
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
    static TQtPlatform platform;
    return platform;
}

void InstallQtPlatform()
{
    SetPlatform(&QtPlatform());
}

} // namespace hx
