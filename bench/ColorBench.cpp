// The eight export forms of a colour, as the colour popup makes them each time it
// opens, for colours of each model; and the name look-up that titles a swatch.
#include "library/ColorUtilities.h"

#include <benchmark/benchmark.h>

// The names table is a resource of the static library, which this program's own
// main does not register.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {

void EightFormsPerColor(benchmark::State& state, const MWColor& color) {
    for (auto _ : state) {
        for (const MWColorExportForm& form : mw_colorExportForms())
            benchmark::DoNotOptimize(form.text(color));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(EightFormsPerColor, rgb, MWColor::rgb(0.2, 0.4, 0.6));
BENCHMARK_CAPTURE(EightFormsPerColor, gray, MWColor::gray(0.5));
BENCHMARK_CAPTURE(EightFormsPerColor, cmyk, MWColor::cmyk(0, 0.5, 1, 0.2));
BENCHMARK_CAPTURE(EightFormsPerColor, hsb, mw_colorWithEasyHue(210, 67, 60));

void ColorName(benchmark::State& state) {
    registerResources();
    const MWColor color = MWColor::rgb(240 / 255.0, 248 / 255.0, 1);
    if (!mw_colorName(color))
        state.SkipWithError("the names table did not load");
    for (auto _ : state)
        benchmark::DoNotOptimize(mw_colorName(color));
}
BENCHMARK(ColorName);

} // namespace
