#include "framework/GuiSession.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(HX_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace hx {

const char* const kNoDisplayMessage = "cannot open a display: set DISPLAY or WAYLAND_DISPLAY";

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Whether an X server takes a connection at $DISPLAY (authorisation included).
bool XServerAnswers()
{
    if (Environment("DISPLAY").empty())
        return false;
#if defined(HX_HAVE_XCB)
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
#else
    return true;  // left to the toolkit
#endif
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

} // namespace

bool ChooseDisplayPlatform()
{
    const std::string chosen = Environment("QT_QPA_PLATFORM");
    if (chosen.empty()) {
        if (XServerAnswers()) {
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
        return XServerAnswers();
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
    // Deliberately never freed: the session lives as long as the process.
    new QApplication(*argc, argv);
    // Our choice served this session only: programs started from it (a browser) choose theirs.
    if (!chosenByUser)
        ::unsetenv("QT_QPA_PLATFORM");
}

bool HasGuiSession()
{
    return QCoreApplication::instance() != nullptr;
}

} // namespace hx
