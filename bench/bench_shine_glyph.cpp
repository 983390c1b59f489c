// The shine button's state images: CreateStateGlyph on a 32 x 32 glyph in every drawing
// mode, against a plain copy of the same glyph timed in the same iterations. The counter
// "vs_copy" is the ratio (state image time / copy time); the image is rebuilt on every
// paint, so this is what a hovered or disabled button pays per paint above the copy.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>

#include "framework/graphics/Bitmap.h"
#include "widgets/shinespdbtn/Shinespdbtn.h"

namespace hx {
namespace {

class TBenchButton : public TShineSpeedButton {
public:
    TBenchButton() : TShineSpeedButton(nullptr)
    {
        // A disc of two colours on the key colour: edges in every direction.
        TBitmap glyph;
        glyph.SetPixelFormat(pf32bit);
        glyph.SetSize(32, 32);
        for (int y = 0; y < 32; ++y) {
            auto* row = static_cast<std::uint32_t*>(glyph.ScanLine(y));
            for (int x = 0; x < 32; ++x) {
                const int dx = x - 15, dy = y - 15;
                const int d = dx * dx + dy * dy;
                row[x] = d < 100 ? 0x3060C0u : d < 196 ? 0xE0A020u : 0x008080u;
            }
        }
        SetGlyph(&glyph);
    }
    void ForceState(TShineState state) { FState = state; }
};

using Clock = std::chrono::steady_clock;

// Times one state image and one plain copy per iteration; reports the image's time.
void Measure(benchmark::State& state, TBenchButton& button)
{
    double imageSeconds = 0, copySeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::unique_ptr<TBitmap> image(button.CreateStateGlyph());
        benchmark::DoNotOptimize(image.get());
        image.reset();
        const auto t1 = Clock::now();
        auto copy = std::make_unique<TBitmap>();
        copy->CopyValuesFrom(button.Glyph());
        benchmark::DoNotOptimize(copy.get());
        copy.reset();
        const auto t2 = Clock::now();
        const double image_s = std::chrono::duration<double>(t1 - t0).count();
        imageSeconds += image_s;
        copySeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(image_s);
    }
    state.counters["vs_copy"] = copySeconds > 0 ? imageSeconds / copySeconds : 0;
}

void BM_ActiveImage(benchmark::State& state)
{
    TBenchButton button;
    button.ForceState(ssActive);
    button.SetActiveImage(static_cast<TActiveImageType>(state.range(0)));
    Measure(state, button);
}

void BM_DisabledImage(benchmark::State& state)
{
    TBenchButton button;
    button.ForceState(ssDisabled);
    button.SetDisabledImage(static_cast<TDisabledImageType>(state.range(0)));
    Measure(state, button);
}

void BM_UpImage(benchmark::State& state)
{
    TBenchButton button;
    button.ForceState(ssUp);
    Measure(state, button);
}

BENCHMARK(BM_UpImage)->UseManualTime();
BENCHMARK(BM_ActiveImage)->DenseRange(aiNormal, aiMaskLight)->UseManualTime();
BENCHMARK(BM_DisabledImage)->DenseRange(diDefault, diMaskTrans)->UseManualTime();

} // namespace
} // namespace hx
