#include "framework/core/StartupMarks.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace hx {

namespace {

constexpr int kMaxMarks = 16;
startup_detail::TMark gMarks[kMaxMarks];
int gCount = 0;

bool Wanted()
{
    static const bool wanted = [] {
        const char* value = std::getenv("HEXATINT_FIRST_FRAME_REPORT");
        return value && *value;
    }();
    return wanted;
}

} // namespace

void MarkStartup(const char* phase)
{
    if (!Wanted() || gCount == kMaxMarks)
        return;
    for (int i = 0; i < gCount; ++i)
        if (std::strcmp(gMarks[i].Name, phase) == 0)
            return;
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    gMarks[gCount++] = {phase, static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec};
}

namespace startup_detail {

int MarkCount()
{
    return gCount;
}

const TMark* Marks()
{
    return gMarks;
}

} // namespace startup_detail

} // namespace hx
