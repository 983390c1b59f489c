// The process entry: everything happens in the main window's unit.
//
// With HEXATINT_TIMER_REPORT set in the environment, the signal SIGUSR1 makes the running
// tool print "running timers: N" on its standard error: long tests ask it whether anything
// still ticks while it sits idle, without a debugger and without changing what it does.
// Unset (the normal case), no handler is installed and SIGUSR1 keeps its default action.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

#include "app/Mainwindow1.h"
#include "framework/Timer.h"

namespace {

// Only async-signal-safe calls: the count is a lock-free atomic load, the text is built by
// hand and written with write().
void ReportRunningTimers(int)
{
    char text[48] = "running timers: ";
    std::size_t length = 16;
    unsigned count = static_cast<unsigned>(hx::TTimer::RunningCount());
    char digits[12];
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + count % 10);
        count /= 10;
    } while (count != 0);
    while (n > 0)
        text[length++] = digits[--n];
    text[length++] = '\n';
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text, length);
}

void InstallTimerReport()
{
    const char* wanted = std::getenv("HEXATINT_TIMER_REPORT");
    if (!wanted || !*wanted)
        return;
    struct sigaction action {};
    action.sa_handler = ReportRunningTimers;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGUSR1, &action, nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    InstallTimerReport();
    return hx::HexatintMain(argc, argv);
}
