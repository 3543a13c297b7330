// Moving the focus in a grid view over virtual rows, as the keys do, at 1,000 and 1,000,000
// rows: a page down (loading the rows it lands on) followed by the paint that brings them into
// view, and a jump between the first and the last row. The cost must not follow the row count.
// Also the type-ahead search through 100,000 loaded rows for a text in the last one.
#include "vxBenchGridView.h"

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/platform/time/vxClock.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

using namespace vxplan;
using vxplan::bench::VirtualView;

// Exposes the focus move the keys make.
void Move(TBabGridView_Custom& theView, TBabDirection theDirection) { theView.Scroll(theDirection, TShiftState{}); }

void BM_KeyPageDownAndPaint(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    auto view = VirtualView(rows);
    view->Root().SetFocusedCell(view->Root().getCell(1, 1));
    int maxLoaded = 0;
    for (auto _ : state) {
        TBabCell* focused = view->Root().GetFocusedCell();
        if (focused && focused->RowIndex() >= rows - view->Root().GetVisibleRowCount())
            Move(*view, TBabDirection::babdirHomeRow);
        else
            Move(*view, TBabDirection::babdirPageDown);
        view->MakeSureFocusedIsVisible();
        benchmark::DoNotOptimize(view->Draw());
        maxLoaded = std::max(maxLoaded, view->Root().Rows().LoadedCount());
    }
    state.counters["rows_loaded_max"] = maxLoaded;
}
BENCHMARK(BM_KeyPageDownAndPaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_KeyJumpFirstLast(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    auto view = VirtualView(rows);
    view->Root().SetFocusedCell(view->Root().getCell(1, 1));
    bool toEnd = true;
    for (auto _ : state) {
        Move(*view, toEnd ? TBabDirection::babdirEndRow : TBabDirection::babdirHomeRow);
        toEnd = !toEnd;
        view->MakeSureFocusedIsVisible();
        benchmark::DoNotOptimize(view->Draw());
    }
    state.counters["rows_loaded"] = view->Root().Rows().LoadedCount();
}
BENCHMARK(BM_KeyJumpFirstLast)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Plain rows, all loaded: the search reads each row's text once.
void BM_TypeAheadThroughLoadedRows(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    // Each search starts a new text: more than a second goes by between them.
    TTestClockScope clock;
    TBabGridView view;
    view.SetBounds(0, 0, 800, 600);
    view.OninitSubGridContent = [&](TBabGridView_Custom* gv, TBabSubGridCellData* data) {
        auto* grid = static_cast<TBabGridCell*>(data->GetCell());
        for (int c = 0; c < 3; ++c) grid->Columns().AddNew(nullptr);
        for (int r = 0; r < rows; ++r) grid->Rows().AddNew(nullptr);
        for (int r = 0; r < rows; ++r) gv->SetText(grid->getCell(1, r), "row " + std::to_string(r));
        gv->SetText(grid->getCell(1, rows - 1), "target");
    };
    view.OnEditorCanModify = [](TBabGridView_Custom*, TBabCell*) { return false; };
    view.Init();
    view.GrabImage();
    for (auto _ : state) {
        state.PauseTiming();
        view.Root().SetFocusedCell(view.Root().getCell(1, 0));
        clock.Clock().Advance(2000);
        state.ResumeTiming();
        char32_t key = U't';
        view.Perform(WM_CHAR, key, 0);
        TDoLater::DoAllNow();
    }
    state.counters["found_row"] = view.Root().GetFocusedCell() ? view.Root().GetFocusedCell()->RowIndex() : -1;
}
BENCHMARK(BM_TypeAheadThroughLoadedRows)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
