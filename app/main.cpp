// The process entry: everything happens in the main window's unit.
//
// With HEXATINT_TIMER_REPORT set in the environment, the signal SIGUSR1 makes the running
// tool print "running timers: N" on its standard error (and, in a sanitized build, "heap in
// use: BYTES"): long tests ask it whether anything still ticks while it sits idle, or grows,
// without a debugger and without changing what it does.
// Unset (the normal case), no handler is installed and SIGUSR1 keeps its default action.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>

#include "app/Mainwindow1.h"
#include "framework/core/StartupMarks.h"
#include "framework/services/Timer.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's count of live heap bytes. Its allocator keeps freed memory in size-class
// caches and quarantine, so in such a build resident memory says little about growth; the
// live-heap count is what a soak test compares instead.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

// Appends the decimal digits of value to text at length.
void AppendNumber(char* text, std::size_t& length, unsigned long long value)
{
    char digits[24];
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0)
        text[length++] = digits[--n];
}

void AppendText(char* text, std::size_t& length, const char* part)
{
    while (*part)
        text[length++] = *part++;
}

// Signal-safe work: the timer count is a lock-free atomic load, the sanitizer's heap count
// sums its statistics without allocating, the text is built by hand and written with write().
void ReportRunningTimers(int)
{
    char text[96];
    std::size_t length = 0;
    AppendText(text, length, "running timers: ");
    AppendNumber(text, length, static_cast<unsigned>(hx::TTimer::RunningCount()));
    text[length++] = '\n';
#if defined(__SANITIZE_ADDRESS__)
    AppendText(text, length, "heap in use: ");
    AppendNumber(text, length, __sanitizer_get_current_allocated_bytes());
    text[length++] = '\n';
#endif
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
    hx::MarkStartup("main");
    InstallTimerReport();
    return hx::HexatintMain(argc, argv);
}
