// The main window's two paint costs that the user feels:
//  - a full paint pass (the background, both gradient panels, 91 swatches with captions),
//    as after a swatch click or when the window is first shown;
//  - one fade tick of one swatch (colour step, off-screen paint, copy into the surface),
//    which a hovered swatch pays every 16 ms;
//  - the real length of a full fade on the platform's timers: 128 ticks at Speed 16 should
//    take 128 x 16 ms, and the ratio says how far the timer drifts from that.
// Each is timed in the same iterations as a plain fill of the same area, interleaved, so
// that machine load hits both alike; the counters give the absolute median-friendly mean
// and the ratio against the fill.
#include <chrono>
#include <ctime>
#include <memory>
#include <thread>

#include <benchmark/benchmark.h>

#include "app/Mainwindow1.h"
#include "framework/runtime/Application.h"
#include "framework/graphics/Canvas.h"
#include "framework/runtime/GraphicControl.h"
#include "framework/services/QtPlatform.h"
#include "framework/services/RecordingPlatform.h"

namespace hx {
namespace {

using Clock = std::chrono::steady_clock;

// The main window from its real description, with virtual timers (a tick runs only when
// the benchmark fires it), and beside it a bare form of the same size whose one control
// is the plain-fill baseline.
struct TBench {
    TBench()
    {
        Form = std::make_unique<TMainForm1>(nullptr);
        MainForm1 = Form.get();
        Form->Update();
        Plain = std::make_unique<TForm>(nullptr);
        Plain->SetBounds(0, 0, Form->ClientWidth(), Form->ClientHeight());
        Filler = new TGraphicControl(Plain.get());
        Filler->SetBounds(0, 0, Form->ClientWidth(), Form->ClientHeight());
        Filler->SetParent(Plain.get());
        Plain->Update();
    }
    ~TBench()
    {
        Form.reset();
        MainForm1 = nullptr;
    }

    // A plain fill of w x h through a control's canvas: the least any paint of it costs.
    void Fill(int w, int h)
    {
        TCanvas* c = Filler->Canvas();
        c->Brush()->SetColor(RGB(255, 153, 0));
        c->FillRect(Rect(0, 0, w, h));
    }

    void FullPass()
    {
        Form->Invalidate();
        Form->Update();
    }

    TPlatformScope Platform;
    std::unique_ptr<TMainForm1> Form;
    std::unique_ptr<TForm> Plain;
    TGraphicControl* Filler = nullptr;
};

// Keeps one swatch (#0000ff, whose fade takes all 128 steps) fading for ever: a move over it starts the fade in, and each time its
// timer stops the pointer "leaves" or "comes back", so every tick is a real fade tick.
class TFader {
public:
    explicit TFader(TBench& b) : FBench(b), FSwatch(b.Form->GlowFadeButton(1)) { Hover(); }

    void Tick()
    {
        const std::vector<int> running = FBench.Platform.RunningTimers();
        if (running.empty()) {
            FOver ? Leave() : Hover();
            return Tick();
        }
        FBench.Platform.FireTimer(running.front());
    }
    TGlowFadeButton& Swatch() const { return *FSwatch; }

private:
    void Hover()
    {
        FOver = true;
        FBench.Form->MouseInput(miMove, mbLeft, FSwatch->Left() + 2, FSwatch->Top() + 2, 0);
    }
    void Leave()
    {
        FOver = false;
        FSwatch->Perform(CM_MOUSELEAVE, 0, 0);
    }

    TBench& FBench;
    TGlowFadeButton* FSwatch;
    bool FOver = false;
};

// The calling thread's CPU time; its read costs about a microsecond, so it is used only
// around the millisecond-long paint pass.
double ThreadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

void Report(benchmark::State& state, Clock::duration subject, Clock::duration fill, const char* name)
{
    const double n = static_cast<double>(state.iterations());
    const double subjectNs = std::chrono::duration<double, std::nano>(subject).count();
    const double fillNs = std::chrono::duration<double, std::nano>(fill).count();
    state.counters[std::string(name) + "_us"] = subjectNs / n / 1000.0;
    state.counters["fill_us"] = fillNs / n / 1000.0;
    state.counters["ratio"] = fillNs > 0 ? subjectNs / fillNs : 0.0;
}

void BM_FullPaintPass(benchmark::State& state)
{
    TBench b;
    for (auto _ : state)
        b.FullPass();
}
BENCHMARK(BM_FullPaintPass)->Unit(benchmark::kMicrosecond);

void BM_FadeTick(benchmark::State& state)
{
    TBench b;
    TFader fader(b);
    for (auto _ : state)
        fader.Tick();
}
BENCHMARK(BM_FadeTick)->Unit(benchmark::kMicrosecond);

// The pass and a fill of the whole client area, timed in the same iterations.
void BM_FullPaintPassVsFill(benchmark::State& state)
{
    TBench b;
    const int w = b.Form->ClientWidth(), h = b.Form->ClientHeight();
    Clock::duration pass{}, fill{};
    double passCpuNs = 0;
    for (auto _ : state) {
        const double c0 = ThreadCpuNs();
        const auto t0 = Clock::now();
        b.FullPass();
        const auto t1 = Clock::now();
        passCpuNs += ThreadCpuNs() - c0;
        b.Fill(w, h);
        const auto t2 = Clock::now();
        pass += t1 - t0;
        fill += t2 - t1;
    }
    Report(state, pass, fill, "pass");
    // On a loaded machine the wall time includes waiting for a core; this does not.
    state.counters["pass_cpu_us"] = passCpuNs / static_cast<double>(state.iterations()) / 1000.0;
}
BENCHMARK(BM_FullPaintPassVsFill)->Unit(benchmark::kMicrosecond);

// One fade tick and a fill of the swatch's area, timed in the same iterations.
void BM_FadeTickVsFill(benchmark::State& state)
{
    TBench b;
    TFader fader(b);
    const int w = fader.Swatch().Width(), h = fader.Swatch().Height();
    Clock::duration tick{}, fill{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        fader.Tick();
        const auto t1 = Clock::now();
        b.Fill(w, h);
        const auto t2 = Clock::now();
        tick += t1 - t0;
        fill += t2 - t1;
    }
    Report(state, tick, fill, "tick");
}
BENCHMARK(BM_FadeTickVsFill)->Unit(benchmark::kMicrosecond);

// A swatch whose slowest channel needs all 128 steps (#0000ff: red and green 0 -> 255),
// hovered on the real timers; from the hover to the tick that stops the timer. The event
// loop is polled with a short sleep, so the end is seen within about a millisecond.
void BM_FadeDuration(benchmark::State& state)
{
    TPlatform* previous = SetPlatform(&QtPlatform());
    auto form = std::make_unique<TMainForm1>(nullptr);
    MainForm1 = form.get();
    TGlowFadeButton* swatch = form->GlowFadeButton(1);
    const int ticks = 128;
    const auto expected = std::chrono::milliseconds(ticks * swatch->Speed());
    double ratioSum = 0;
    for (auto _ : state) {
        swatch->SetColor(swatch->Color()); // back to the start of the fade
        const auto start = std::chrono::steady_clock::now();
        form->MouseInput(miMove, mbLeft, swatch->Left() + 2, swatch->Top() + 2, 0);
        while (swatch->FadeTimer()->Enabled()) {
            Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        const auto took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(std::chrono::duration<double>(took).count());
        ratioSum += std::chrono::duration<double>(took) / std::chrono::duration<double>(expected);
        swatch->Perform(CM_MOUSELEAVE, 0, 0);
        swatch->FadeTimer()->SetEnabled(false);
    }
    state.counters["expected_ms"] = static_cast<double>(expected.count());
    state.counters["ratio"] = ratioSum / static_cast<double>(state.iterations());
    form.reset();
    MainForm1 = nullptr;
    SetPlatform(previous);
}
BENCHMARK(BM_FadeDuration)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace hx
