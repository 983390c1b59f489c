#include "framework/graphics/GuiSession.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>

#include "framework/core/StartupMarks.h"
#include "framework/graphics/FontConfigReading.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace hx {

const char* const kNoDisplayMessage = "cannot open a display: set DISPLAY or WAYLAND_DISPLAY";

namespace {

// The session this unit made; a session made by someone else is theirs to end.
QApplication* gSession = nullptr;

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Whether an X server can be asked for: $DISPLAY names one. Whether it answers is learnt
// from the toolkit's own connection (SessionMessages): a second connection just to ask
// would cost every start, and a busy server refuses some of a burst of them.
bool XServerNamed()
{
    return !Environment("DISPLAY").empty();
}

// Whether a compositor listens at $WAYLAND_DISPLAY (a name in $XDG_RUNTIME_DIR, or a path).
bool WaylandAnswers()
{
    const std::string name = Environment("WAYLAND_DISPLAY");
    if (name.empty())
        return false;
    const std::string path = name[0] == '/' ? name : Environment("XDG_RUNTIME_DIR") + "/" + name;
    sockaddr_un address {};
    if (path.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answers = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answers;
}

bool WaylandPluginInstalled()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/";
    return QFile::exists(folder + "libqwayland-generic.so") || QFile::exists(folder + "libqwayland-egl.so");
}

// While the session is being made, the platform plugin's messages are held back: when it
// cannot connect to its display, the program prints the one line and ends with status 1
// instead of the toolkit's abort; otherwise they are passed on as they came.
struct THeldMessage {
    QtMsgType Type;
    std::string Category;
    QString Text;
};
QtMessageHandler gPassOn = nullptr;
std::vector<THeldMessage> gHeld;

bool SaysNoDisplay(const QString& text)
{
    return text.contains(QLatin1String("could not connect to display")) ||
           text.contains(QLatin1String("Failed to create wl_display"));
}

void PassOn(const THeldMessage& message)
{
    const QMessageLogContext context(nullptr, 0, nullptr, message.Category.c_str());
    gPassOn(message.Type, context, message.Text);
}

void SessionMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    const std::string category = context.category ? context.category : "";
    if (type != QtFatalMsg) {
        if (category.rfind("qt.qpa", 0) == 0)
            gHeld.push_back({type, category, text});
        else
            gPassOn(type, context, text);
        return;
    }
    for (const THeldMessage& held : gHeld) {
        if (SaysNoDisplay(held.Text)) {
            std::fprintf(stderr, "%s\n", kNoDisplayMessage);
            std::fflush(stderr);
            ::_exit(1);  // the toolkit is half made: nothing of it may run at exit
        }
    }
    for (const THeldMessage& held : gHeld)
        PassOn(held);
    gHeld.clear();
    gPassOn(type, context, text);
}

} // namespace

bool ChooseDisplayPlatform()
{
    const std::string chosen = Environment("QT_QPA_PLATFORM");
    if (chosen.empty()) {
        if (XServerNamed()) {
            if (!Environment("WAYLAND_DISPLAY").empty())
                ::setenv("QT_QPA_PLATFORM", "xcb", 1);
            return true;
        }
        if (WaylandAnswers() && WaylandPluginInstalled()) {
            ::setenv("QT_QPA_PLATFORM", "wayland", 1);
            return true;
        }
        return false;
    }
    // "name:options", possibly a list "a;b" for Qt to try in turn: judged by its first name.
    const std::string first = chosen.substr(0, chosen.find_first_of(":;"));
    if (chosen.find(';') != std::string::npos)
        return true;
    if (first == "xcb")
        return XServerNamed();
    if (first.rfind("wayland", 0) == 0)
        return WaylandAnswers();
    return true;
}

void EnsureGuiSession(int* argc, char** argv)
{
    if (QCoreApplication::instance())
        return;
    const bool chosenByUser = !Environment("QT_QPA_PLATFORM").empty();
    if (!ChooseDisplayPlatform()) {
        std::fprintf(stderr, "%s\n", kNoDisplayMessage);
        std::exit(1);
    }
    static int fallbackArgc = 1;
    static char name[] = "Hexatint91";
    static char* fallbackArgv[] = {name, nullptr};
    if (!argc || !argv) {
        argc = &fallbackArgc;
        argv = fallbackArgv;
    }
    gPassOn = qInstallMessageHandler(SessionMessages);
    // Freed by EndGuiSession only: when the platform ends the process from inside its event
    // processing (a lost display), the session is left to the operating system, since Qt's
    // own state may be gone by the time static objects are destroyed.
    gSession = new QApplication(*argc, argv);
    qInstallMessageHandler(gPassOn);
    for (const THeldMessage& held : gHeld)
        PassOn(held);
    gHeld.clear();
    // Our choice served this session only: programs started from it (a browser) choose theirs.
    if (!chosenByUser)
        ::unsetenv("QT_QPA_PLATFORM");
    // Only now: the toolkit's start sets the locale, and the line above changes the
    // environment, both of which fontconfig reads while it parses its files.
    StartFontConfigReading();
    MarkStartup("toolkit");
}

bool HasGuiSession()
{
    return QCoreApplication::instance() != nullptr;
}

void EndGuiSession()
{
    delete gSession;
    gSession = nullptr;
}

} // namespace hx
