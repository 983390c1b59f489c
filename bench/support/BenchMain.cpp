// The main of every benchmark program: a GUI session on the offscreen platform, then
// Google Benchmark.
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "framework/graphics/GuiSession.h"

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    hx::EnsureGuiSession(&argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
