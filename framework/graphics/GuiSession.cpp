#include "framework/graphics/GuiSession.h"

#include <QApplication>

namespace hx {

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
    // Deliberately never freed: the session lives as long as the process.
    new QApplication(*argc, argv);
}

bool HasGuiSession()
{
    return QCoreApplication::instance() != nullptr;
}

} // namespace hx
