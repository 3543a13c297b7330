// Sub-columns of one row: random overlapping spans on whole seconds, as a Gantt row hands them
// in, at 100, 1,000 and 10,000 holders. The spans spread over a range that grows with the count,
// so the overlap depth stays that of a busy row (about 20 items at a time) while the row grows.
// The pair walk runs alongside at the smaller sizes to show what the sweep saves.
#include <vxplan/overlap/vxTimeDistinctGeneric.h>

#include <benchmark/benchmark.h>

#include <random>

using namespace vxplan;

namespace {

void FillRow(TDistinctTimeHolderList& list, int count, bool reversedFirst)
{
    std::mt19937 random(12345);
    const int hours = count;  // spans of up to two days over `count` hours: ~24 deep
    std::uniform_int_distribution<int> startHour(0, hours);
    std::uniform_int_distribution<int> lengthSeconds(0, 2 * 86400);
    // A reversed span sends the computation down the pair walk: the same numbering, found by
    // visiting every pair.
    if (reversedFirst) list.Add(1.0, 0.5, "", nullptr);
    for (int i = 0; i < count; ++i) {
        const TDateTime start = RoundToWholeSeconds(45000.0 + startHour(random) / 24.0);
        list.Add(start, start + lengthSeconds(random) / 86400.0, "", nullptr);
    }
}

// Times the computation on the row again and again, from sub-columns cleared each time.
void MeasureRow(benchmark::State& state, TDistinctTimeHolderList& list)
{
    int columns = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (TDistinctTimeHolder* h : list.Items()) h->SubColumn = 0;
        state.ResumeTiming();
        TTimeDistinctGeneric computation(&list);
        computation.ResolveConflicts();
        columns = static_cast<int>(computation.SubColumns().size());
        benchmark::DoNotOptimize(columns);
    }
    state.counters["subcolumns"] = columns;
    state.SetComplexityN(list.Count());
}

void Run(benchmark::State& state, bool pairWalk)
{
    TDistinctTimeHolderList list;
    FillRow(list, static_cast<int>(state.range(0)), pairWalk);
    MeasureRow(state, list);
}

void BM_SubColumnsSweep(benchmark::State& state) { Run(state, false); }

// The worst row: every span overlaps every other, so each holder gets a sub-column of its own
// and each placement first tries all the sub-columns made before it.
void BM_SubColumnsAllOverlapping(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    TDistinctTimeHolderList list;
    for (int i = 0; i < count; ++i) list.Add(45000.0 + i / 86400.0, 45001.0 + i / 86400.0, "", nullptr);
    MeasureRow(state, list);
}
void BM_SubColumnsPairWalk(benchmark::State& state) { Run(state, true); }

}  // namespace

BENCHMARK(BM_SubColumnsSweep)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_SubColumnsAllOverlapping)->Arg(100)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_SubColumnsPairWalk)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity();
