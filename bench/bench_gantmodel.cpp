// The chart's model at scale: building rows with ten items each and half as many links as rows
// through the host's calls, with the first pass over the rows in view; and hit-testing a million
// random points of a 1920 x 1080 area. Both at 1,000 and 100,000 rows: a lookup must cost what
// is in view, not what the chart holds.
#include <vxplan/gantt/vxGant.h>
#include <vxplan/gantt/vxGantTree.h>
#include <vxplan/scaler/vxScaler.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace vxplan;

constexpr TDateTime kStart = 46006.0;

std::unique_ptr<TvxGant_ComBasic> MakeChart()
{
    auto gant = std::make_unique<TvxGant_ComBasic>();
    gant->GetTreeView()->SetItemHeight(27);
    // 1920 x 1080 of area beside a 100-pixel tree, under a 45-pixel scaler.
    gant->SetBounds(0, 0, 1920 + 102, 1080 + 47);
    gant->GetDateScaler()->SetStart(kStart);
    gant->GetDateScaler()->SetStop(kStart + 30);
    return gant;
}

void Build(TvxGant_ComBasic& gant, int rows)
{
    std::mt19937 random(7);
    std::vector<TvxDataEntity_Chronbar*> items;
    items.reserve(static_cast<size_t>(rows) * 10);
    for (int r = 0; r < rows; ++r) {
        TvxDataEntity_Tree* node = gant.AddRootDataEntityTree();
        node->SetText("Row " + std::to_string(r));
        for (int i = 0; i < 10; ++i) {
            TvxDataEntity_Chronbar* item = gant.AddChronbar(node, 0);
            const TDateTime start = kStart + i * 3 + (r % 5) * 0.1;
            item->SetStartStop(start, start + 2);
            items.push_back(item);
        }
    }
    std::uniform_int_distribution<size_t> pick(0, items.size() - 1);
    for (int l = 0; l < rows / 2; ++l) {
        TvxDataEntity_Link* link = gant.AddLink();
        link->SetFromItem(items[pick(random)]);
        link->SetToItem(items[pick(random)]);
    }
}

void BM_GantBuild(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto gant = MakeChart();
        state.ResumeTiming();
        Build(*gant, rows);
        gant->UpdateRowRects();
        benchmark::DoNotOptimize(gant->GetRowsInView().size());
        state.PauseTiming();
        gant.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_GantBuild)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_GantFree(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto gant = MakeChart();
        Build(*gant, rows);
        state.ResumeTiming();
        gant.reset();
    }
}
BENCHMARK(BM_GantFree)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// A million random points of the area per iteration.
void BM_GantHitTest(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    auto gant = MakeChart();
    Build(*gant, rows);
    gant->GetTreeView()->EnsureDisplayUpToDate();
    // Somewhere in the middle, so rows lie above and below the view.
    gant->GetTreeView()->SetTopItem(gant->GetTreeView()->GetRootDataList()->Item(rows / 2));
    gant->UpdateRowRects();
    std::mt19937 random(11);
    std::uniform_int_distribution<int> px(0, 1919), py(0, 1079);
    std::vector<std::pair<int, int>> points(1000000);
    for (auto& p : points) p = {px(random), py(random)};
    int64_t hits = 0;
    for (auto _ : state) {
        for (const auto& [x, y] : points)
            if (gant->GetDataEntityFromXY(x, y)) ++hits;
    }
    state.counters["hit_share"] = static_cast<double>(hits) / (1e6 * static_cast<double>(state.iterations()));
    state.counters["rows_in_view"] = static_cast<double>(gant->GetRowsInView().size());
}
BENCHMARK(BM_GantHitTest)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
