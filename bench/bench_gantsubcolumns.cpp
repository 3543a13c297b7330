// Sub-columns for a whole chart as a host waits for them: from asking every row for its lanes
// to the last row's lanes applied, with the worker limit and its pauses in force. Rows of 20
// items, each overlapping the seven after it (eight lanes a row), at 1,000 and 10,000 rows.
#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/gantt/vxGant.h>
#include <vxplan/overlap/vxTimeDistinctGenericThread.h>
#include <vxplan/platform/app/vxSync.h>

#include <benchmark/benchmark.h>

#include <vector>

using namespace vxplan;

namespace {

constexpr int kItemsPerRow = 20;
constexpr int kLanesPerRow = 8;
constexpr TDateTime kDay = 46006.0;
constexpr TDateTime kQuarterHour = 1.0 / 96;

bool HasItsLanes(const TGantRow* row)
{
    return row->GetUseSubCols() == kLanesPerRow && !row->GetThread() && !row->GetCollisionDetectionPaused();
}

void BM_ChartSubColumns(benchmark::State& state)
{
    const int rowCount = static_cast<int>(state.range(0));
    TvxGant_ComBasic gant;
    std::vector<TGantRow*> rows;
    rows.reserve(static_cast<size_t>(rowCount));
    for (int r = 0; r < rowCount; ++r) {
        TvxDataEntity_Tree* node = gant.AddRootDataEntityTree();
        for (int i = 0; i < kItemsPerRow; ++i) {
            // Two hours long, a quarter of an hour apart: each overlaps the seven after it.
            const TDateTime start = kDay + i * kQuarterHour;
            gant.AddChronbar(node, 0)->SetStartStop(start, start + 8 * kQuarterHour);
        }
        rows.push_back(gant.GetRowList()->FindRowFromTreeNode(node));
    }
    for (auto _ : state) {
        state.PauseTiming();
        for (TGantRow* row : rows) row->SetCollisionDetection(false);
        state.ResumeTiming();
        for (TGantRow* row : rows) row->SetCollisionDetection(true);
        // Rows finish out of order, but a finished row stays finished: one pointer past them.
        size_t finished = 0;
        while (finished < rows.size()) {
            TDoLater::DoAllNow();
            CheckSynchronize(1);
            while (finished < rows.size() && HasItsLanes(rows[finished])) ++finished;
        }
    }
    state.counters["rows"] = rowCount;
    state.counters["items"] = static_cast<double>(rowCount) * kItemsPerRow;
    state.counters["rows/s"] = benchmark::Counter(rowCount, benchmark::Counter::kIsIterationInvariantRate);
    // Leave no worker behind for the next size.
    while (TTimeDistinctGenericThread::ThreadCount() > 0) CheckSynchronize(1);
}

}  // namespace

BENCHMARK(BM_ChartSubColumns)->Arg(1000)->Arg(10000)->Iterations(2)->UseRealTime()->Unit(benchmark::kMillisecond);
