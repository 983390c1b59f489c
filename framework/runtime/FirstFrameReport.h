#pragma once
// The start-up benchmark's clock: with HEXATINT_FIRST_FRAME_REPORT set in the environment,
// the process prints "first frame: <ns>" once on its standard error, <ns> being
// CLOCK_MONOTONIC in nanoseconds when its first window's first frame has been painted and
// handed to the window system, after one "startup: <name> <ns>" line for each start-up mark
// reached (StartupMarks.h). The benchmark compares those with the time it started the
// process. Unset (the normal case), nothing is installed.
namespace hx {

// Reads the environment; TApplication::Initialize calls it. Needs the GUI session.
void InstallFirstFrameReport();

} // namespace hx
