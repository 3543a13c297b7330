// Data lists at scale: list indexes of random entities once the index cache is fresh (the cost
// per lookup must not grow with the list), and a huge virtual list scrolled from front to back
// (memory must follow the loaded block, not the count).
#include <vxplan/dataentity/vxDataEntityPack.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace vxplan;

// Starts the kernel's peak-memory mark afresh, so a figure is not that of an earlier benchmark.
void ResetPeakRss()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The process's peak resident memory in kB, from the kernel's own bookkeeping.
long PeakRssKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

void BM_ListIndexOfRandomEntities(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    TvxListController controller;
    TvxDataList* list = new TvxDataList;
    list->AfterCreate(&controller);
    std::vector<TvxDataEntity*> entities;
    entities.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) entities.push_back(list->Add());
    entities.front()->ListIndex();  // brings the cache up to date once
    std::mt19937 rng(7);
    std::vector<TvxDataEntity*> probes;
    for (int i = 0; i < 4096; ++i) probes.push_back(entities[rng() % static_cast<unsigned>(n)]);
    size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(probes[k & 4095]->ListIndex());
        ++k;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    list->FreeWheneverPossible();
}
BENCHMARK(BM_ListIndexOfRandomEntities)->Arg(1000)->Arg(100000)->Arg(1000000);

void BM_AddEntities(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TvxListController controller;
        TvxDataList* list = new TvxDataList;
        list->AfterCreate(&controller);
        for (int i = 0; i < n; ++i) list->Add();
        benchmark::DoNotOptimize(list->Count());
        state.PauseTiming();
        list->FreeWheneverPossible();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
}
BENCHMARK(BM_AddEntities)->Arg(1000000)->Unit(benchmark::kMillisecond);

// 10,000,000 entities read in order, as a view scrolling through them reads its visible rows.
void BM_ScrollVirtualList(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    int maxLoaded = 0;
    ResetPeakRss();
    const long before = PeakRssKb();
    for (auto _ : state) {
        TvxListController controller;
        controller.OnUnloadItem = [](TvxDataEntity*, bool& can) { can = true; };
        TvxDataList* list = new TvxDataList;
        list->AfterCreate(&controller);
        list->AddUnloaded(n);
        for (int i = 0; i < n; ++i) {
            benchmark::DoNotOptimize(list->GetItems(i));
            if ((i & 1023) == 0) maxLoaded = std::max(maxLoaded, list->LoadedCount());
        }
        list->FreeWheneverPossible();
    }
    state.counters["max_loaded"] = maxLoaded;
    state.counters["peak_rss_kB"] = static_cast<double>(PeakRssKb());
    state.counters["peak_growth_kB"] = static_cast<double>(PeakRssKb() - before);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
}
BENCHMARK(BM_ScrollVirtualList)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Stepping the selection across a real list and a virtual list of range(0) entities whose block
// sits in the middle: the cost must not follow the virtual list's count.
void BM_SelectNextOverAVirtualList(benchmark::State& state)
{
    TvxListController controller;
    controller.OnUnloadItem = [](TvxDataEntity*, bool& can) { can = true; };
    TvxDataList* real = new TvxDataList;
    real->AfterCreate(&controller);
    for (int i = 0; i < 10; ++i) real->Add();
    TvxDataList* huge = new TvxDataList;
    huge->AfterCreate(&controller);
    huge->AddUnloaded(static_cast<int>(state.range(0)));
    const int middle = static_cast<int>(state.range(0) / 2);
    for (int i = 0; i < 200; ++i) huge->GetItems(middle + i);
    TvxDataList2lev* two = new TvxDataList2lev;
    two->AfterCreate();
    two->Add(real);
    two->Add(huge);
    for (auto _ : state) {
        huge->GetItems(middle)->SetSelected(true);
        two->SelectNext();
        benchmark::DoNotOptimize(two->FindSelected());
        two->ClearSelections();
    }
    two->FreeWheneverPossible();
    huge->FreeWheneverPossible();
    real->FreeWheneverPossible();
}
BENCHMARK(BM_SelectNextOverAVirtualList)->Arg(1000)->Arg(100000)->Arg(10000000);

}  // namespace
