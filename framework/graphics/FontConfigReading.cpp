#include "framework/graphics/FontConfigReading.h"

#include <dlfcn.h>

#include <cstdlib>
#include <mutex>
#include <thread>

namespace hx {

namespace {

std::thread* gReader = nullptr;
std::mutex gReaderLock;

} // namespace

void StartFontConfigReading()
{
    static std::once_flag once;
    std::call_once(once, [] {
        // The toolkit's own fontconfig, found among the libraries already loaded: the
        // program neither links nor builds against it.
        using TFcInit = int (*)();
        auto* fcInit = reinterpret_cast<TFcInit>(dlsym(RTLD_DEFAULT, "FcInit"));
        if (!fcInit)
            return;
        std::lock_guard<std::mutex> hold(gReaderLock);
        gReader = new std::thread([fcInit] { fcInit(); });
        std::atexit(AwaitFontConfigReading);
    });
}

void AwaitFontConfigReading()
{
    std::lock_guard<std::mutex> hold(gReaderLock);
    if (!gReader)
        return;
    gReader->join();
    delete gReader;
    gReader = nullptr;
}

} // namespace hx
