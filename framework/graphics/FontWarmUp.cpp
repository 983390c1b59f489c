#include "framework/graphics/FontWarmUp.h"

#include <system_error>
#include <thread>

#include <QFontDatabase>
#include <QStringList>

namespace hx {

namespace {

// Never destroyed while running: a process that ends without ending its session must not
// meet a joinable thread among its static objects.
std::thread* gWarmUp = nullptr;
bool gStarted = false;

} // namespace

void StartFontWarmUp()
{
    if (gStarted)
        return;
    gStarted = true;
    try {
        gWarmUp = new std::thread([] { QFontDatabase::families(); });
    } catch (const std::system_error&) {
        // No thread to be had: the first text measured fills the database itself.
    }
}

void FinishFontWarmUp()
{
    if (!gWarmUp)
        return;
    gWarmUp->join();
    delete gWarmUp;
    gWarmUp = nullptr;
}

} // namespace hx
