// The cost of one gradient panel paint (table rebuild + 256 band fills + outline/caption
// set-up) against one plain fill of the same 200 x 228 area, in the same run. The ratio
// is what matters: the backdrop repaints both panels on every swatch click.
#include <chrono>
#include <memory>

#include <benchmark/benchmark.h>

#include "framework/runtime/Form.h"
#include "widgets/gradbox/Gradbox.h"

namespace {

using hx::TColor;

struct Backdrop {
    Backdrop()
    {
        form = std::make_unique<hx::TForm>(nullptr);
        form->SetBounds(0, 0, 448, 228);
        form->SetColor(hx::clWhite);
        panel = new hx::TGradBox(form.get());
        panel->SetBounds(0, 0, 200, 228);
        panel->SetGradStyle(hx::gsLeftRight);
        panel->SetTopColor(hx::clBlack);
        panel->SetLastColor(hx::clWhite);
        panel->SetParent(form.get());
        form->Update();
    }
    std::unique_ptr<hx::TForm> form;
    hx::TGradBox* panel = nullptr;
};

void PlainFill(hx::TGradBox& panel)
{
    panel.Canvas()->Brush()->SetColor(hx::RGB(255, 153, 0));
    panel.Canvas()->FillRect(hx::Rect(0, 0, 200, 228));
}

void BM_GradboxPaint(benchmark::State& state)
{
    Backdrop b;
    for (auto _ : state)
        b.panel->Paint();
}
BENCHMARK(BM_GradboxPaint);

void BM_PlainFillRect(benchmark::State& state)
{
    Backdrop b;
    for (auto _ : state)
        PlainFill(*b.panel);
}
BENCHMARK(BM_PlainFillRect);

// Both timed in the same iterations, interleaved, so machine load hits both alike.
void BM_GradboxPaintOverFillRect(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    Backdrop b;
    Clock::duration paint{}, fill{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        b.panel->Paint();
        const auto t1 = Clock::now();
        PlainFill(*b.panel);
        const auto t2 = Clock::now();
        paint += t1 - t0;
        fill += t2 - t1;
    }
    const double paintNs = std::chrono::duration<double, std::nano>(paint).count();
    const double fillNs = std::chrono::duration<double, std::nano>(fill).count();
    const double n = static_cast<double>(state.iterations());
    state.counters["paint_us"] = paintNs / n / 1000.0;
    state.counters["fill_us"] = fillNs / n / 1000.0;
    state.counters["ratio"] = fillNs > 0 ? paintNs / fillNs : 0.0;
}
BENCHMARK(BM_GradboxPaintOverFillRect);

} // namespace
