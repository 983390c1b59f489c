#pragma once
// The start-up benchmark's phase marks. With HEXATINT_FIRST_FRAME_REPORT set in the
// environment, each named point of the start (the entry, the toolkit made, the description
// read, the fonts ready, the first paint) stamps CLOCK_MONOTONIC the first time it is
// reached, and the first-frame report prints the stamps beside its own as
// "startup: <name> <ns>", so the benchmark can tell where the time to the first frame goes.
// Unset (the normal case), a mark costs one test of a flag and records nothing.
namespace hx {

// Stamps phase the first time it is reached; phase must be a string literal.
void MarkStartup(const char* phase);

// The stamps in the order they were taken; f(name, ns) for each.
template <class F>
void ForEachStartupMark(F&& f);

namespace startup_detail {
struct TMark {
    const char* Name;
    long long Ns;
};
int MarkCount();
const TMark* Marks();
} // namespace startup_detail

template <class F>
void ForEachStartupMark(F&& f)
{
    for (int i = 0; i < startup_detail::MarkCount(); ++i)
        f(startup_detail::Marks()[i].Name, startup_detail::Marks()[i].Ns);
}

} // namespace hx
