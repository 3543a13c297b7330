// Time-axis conversions with hidden nights (hours 0-7 and 17-23) and weekends on a 1920-pixel
// axis, at day, week and month zoom: DateToPixel runs for every item on every paint, PixelToDate
// once per mouse event.
#include <vxplan/scaler/vxScaler.h>

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

using namespace vxplan;

// Range lengths in true days: hours over days, days over weeks, days/weeks over months.
constexpr TDateTime kZooms[] = {3, 21, 92};
const char* const kZoomNames[] = {"day", "week", "month"};

struct TSetup {
    TvxDateScaler scaler;
    std::vector<TDateTime> times;

    explicit TSetup(int zoom)
    {
        scaler.SetHorizontal(true);
        scaler.SetBounds(0, 0, 1920, 40);
        TvxHiddenHours nights;
        for (int h : {0, 1, 2, 3, 4, 5, 6, 7, 17, 18, 19, 20, 21, 22, 23})
            nights.Include(static_cast<TvxHiddenHoursEnum>(h));
        scaler.SetHiddenHours(nights);
        scaler.SetHiddenDays({TvxHiddenDaysEnum::thdSAT, TvxHiddenDaysEnum::thdSUN});
        const TDateTime monday = EncodeDate(2026, 3, 2);
        scaler.SetStart(monday + 8 * kHour);
        scaler.SetStop(monday + kZooms[zoom]);
        // Items mostly on the axis, a tenth of them before or after it.
        std::mt19937 random(42);
        const TDateTime span = kZooms[zoom];
        std::uniform_real_distribution<double> where(monday - span / 20, monday + span * 1.05);
        times.resize(4096);
        for (TDateTime& t : times) t = where(random);
    }
};

void BM_DateToPixel(benchmark::State& state)
{
    TSetup setup(static_cast<int>(state.range(0)));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(setup.scaler.DateToPixel(setup.times[i]));
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(std::string(kZoomNames[state.range(0)]) + ", minor " + setup.scaler.GetMinorStepName());
}
BENCHMARK(BM_DateToPixel)->DenseRange(0, 2);

void BM_PixelToDate(benchmark::State& state)
{
    TSetup setup(static_cast<int>(state.range(0)));
    int p = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(setup.scaler.PixelToDate(p));
        p = (p + 7) % 1920;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(std::string(kZoomNames[state.range(0)]) + ", minor " + setup.scaler.GetMinorStepName());
}
BENCHMARK(BM_PixelToDate)->DenseRange(0, 2);

}  // namespace
