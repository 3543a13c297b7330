// The grid view at scale: 20 columns over virtual rows in a 1920 x 1080 view, jumped to the
// middle, then scrolled page by page with the scroll bar; each step is a whole paint (layout,
// cells through the off-screen bitmap, copy to the window). The cost per page must be the same
// at 1,000 and 1,000,000 rows and the loaded block must stay bounded. Also the layout of a
// 200 x 50 grid with sub-grids in a tenth of its cells.
#include "vxBenchGridView.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace vxplan;
using vxplan::bench::TBenchView;
using vxplan::bench::VirtualView;
using vxplan::bench::kColumns;

void BM_ViewPageStep(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    auto view = VirtualView(rows);
    TScrollBar& bar = view->VertScrollBar();
    view->SetScrollbarPosition(bar, 1 + rows / 2);
    view->Draw();
    const int paintsBefore = view->paints;
    int maxLoaded = 0;
    bool down = true;
    for (auto _ : state) {
        const int page = bar.GetPageSize();
        if (down && bar.GetPosition() + 2 * page > bar.GetMax()) down = false;
        if (!down && bar.GetPosition() - page < bar.GetMin()) down = true;
        bar.Scroll(down ? TScrollCode::scPageDown : TScrollCode::scPageUp);
        benchmark::DoNotOptimize(view->Draw());
        maxLoaded = std::max(maxLoaded, view->Root().Rows().LoadedCount());
    }
    state.counters["paints_per_step"] = double(view->paints - paintsBefore) / double(state.iterations());
    state.counters["rows_loaded_max"] = maxLoaded;
    state.counters["rows_per_page"] = bar.GetPageSize();
    state.counters["top"] = view->Root().GetTop();
}
BENCHMARK(BM_ViewPageStep)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A far jump each time: everything loaded goes, the block is anchored anew and painted.
void BM_ViewJumpToTheMiddle(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    auto view = VirtualView(rows);
    TScrollBar& bar = view->VertScrollBar();
    bool middle = false;
    for (auto _ : state) {
        middle = !middle;
        view->SetScrollbarPosition(bar, middle ? 1 + rows / 2 : 1);
        benchmark::DoNotOptimize(view->Draw());
    }
    state.counters["rows_loaded"] = view->Root().Rows().LoadedCount();
}
BENCHMARK(BM_ViewJumpToTheMiddle)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// 200 rows x 50 columns with a 3 x 2 sub-grid in a tenth of the cells. Range 0 re-measures and
// lays out the 1920 x 1080 view (a hard update); range 1 paints it as well.
void BM_ViewLayoutWithSubGrids(benchmark::State& state)
{
    TBenchView view;
    view.SetBounds(0, 0, 1920, 1080);
    std::mt19937 rng(11);
    view.SetOnCreateCell([&](TBabGridCell* owner, TAxisContentItem*, TAxisContentItem*) {
        return owner == &view.Root() && rng() % 10 == 0 ? TBabCellType::babCellTypeGrid
                                                        : TBabCellType::babCellTypeSimple;
    });
    int subGrids = 0;
    view.OninitSubGridContent = [&](TBabGridView_Custom*, TBabSubGridCellData* data) {
        auto* grid = static_cast<TBabGridCell*>(data->GetCell());
        if (grid == &view.Root()) {
            for (int c = 0; c < 50; ++c) grid->Columns().AddNew(nullptr);
            for (int r = 0; r < 200; ++r) grid->Rows().AddNew(nullptr);
            grid->SetFixedRows(1);
            grid->SetFixedCols(1);
            return;
        }
        ++subGrids;
        for (int i = 0; i < 3; ++i) grid->Columns().AddNew(nullptr);
        for (int i = 0; i < 2; ++i) grid->Rows().AddNew(nullptr);
    };
    view.Init();
    view.Draw();
    const bool paint = state.range(0) == 1;
    for (auto _ : state) {
        view.RecalcExtents();
        if (paint)
            benchmark::DoNotOptimize(view.Draw());
        else
            view.SoftViewParamsUpdate();
    }
    state.counters["sub_grids"] = subGrids;
    state.counters["rows_laid_out"] = view.Root().Rows().VisibleCount();
}
BENCHMARK(BM_ViewLayoutWithSubGrids)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
