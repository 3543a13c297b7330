// One full paint of a 1920-pixel scaler at each zoom level (seconds to centuries), and a pan
// step: 50 pixels of scrolling and the repaint that follows.
#include <vxplan/scaler/vxScaler.h>

#include <benchmark/benchmark.h>

using namespace vxplan;

namespace {

// Days shown on 1920 pixels, one per zoom level from 10 ms marks to 100-year marks.
constexpr double kSpans[] = {2.0 / 86400, 30.0 / 86400, 300.0 / 86400, 1.0 / 24, 0.5,  3,    30,
                             120,         400,          2000,          10000,    40000, 100000};

void Prepare(TvxDateScaler& scaler, double days)
{
    scaler.SetHorizontal(true);
    scaler.SetBounds(0, 0, 1920, 45);
    scaler.SetStart(EncodeDate(1950, 3, 2));
    scaler.SetStop(EncodeDate(1950, 3, 2) + days);
    scaler.GrabImage();
}

void BM_ScalerPaint(benchmark::State& state)
{
    TvxDateScaler scaler;
    const double days = kSpans[state.range(0)];
    Prepare(scaler, days);
    for (auto _ : state) {
        scaler.Invalidate();
        benchmark::DoNotOptimize(scaler.GrabImage().constBits());
    }
    state.SetLabel(scaler.GetMinorStepName() + " / " + scaler.GetMajorStepName());
}
BENCHMARK(BM_ScalerPaint)->DenseRange(0, static_cast<int>(std::size(kSpans)) - 1)->Unit(benchmark::kMicrosecond);

void BM_ScalerPanStep(benchmark::State& state)
{
    TvxDateScaler scaler;
    Prepare(scaler, 30);
    scaler.SetHiddenHours(TvxHiddenHours{TvxHiddenHoursEnum::thh00, TvxHiddenHoursEnum::thh01,
                                         TvxHiddenHoursEnum::thh22, TvxHiddenHoursEnum::thh23});
    scaler.SetHiddenDays(TvxHiddenDays{TvxHiddenDaysEnum::thdSAT, TvxHiddenDaysEnum::thdSUN});
    const TDateTime step = scaler.PixelLenToDate(50);
    for (auto _ : state) {
        scaler.SetStart(scaler.VisibleTimeDiffToTrueTime(scaler.GetStart(), step));
        scaler.Invalidate();
        benchmark::DoNotOptimize(scaler.GrabImage().constBits());
    }
}
BENCHMARK(BM_ScalerPanStep)->Unit(benchmark::kMicrosecond);

}  // namespace
