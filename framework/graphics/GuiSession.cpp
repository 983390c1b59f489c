#include "framework/graphics/GuiSession.h"

#include <QApplication>

namespace hx {

namespace {

// The session this unit made; a session made by someone else is theirs to end.
QApplication* gSession = nullptr;

} // namespace

void EnsureGuiSession(int* argc, char** argv)
{
    if (QCoreApplication::instance())
        return;
    static int fallbackArgc = 1;
    static char name[] = "Hexatint91";
    static char* fallbackArgv[] = {name, nullptr};
    if (!argc || !argv) {
        argc = &fallbackArgc;
        argv = fallbackArgv;
    }
    // Freed by EndGuiSession only: when the platform ends the process from inside its event
    // processing (a lost display), the session is left to the operating system, since Qt's
    // own state may be gone by the time static objects are destroyed.
    gSession = new QApplication(*argc, argv);
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
