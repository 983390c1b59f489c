#include "framework/graphics/FontWarmUp.h"

#include <pthread.h>

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
    // A fork waits for the warm-up to end first: a child must not inherit a lock (the
    // allocator's, the toolkit's) that the warm-up held at that moment and will never free.
    ::pthread_atfork(FinishFontWarmUp, nullptr, nullptr);
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
