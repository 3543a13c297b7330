// The cell-grid engine at scale: a 20-column grid of virtual rows scrolled page by page from the
// middle (layout, hit-tests, and layout plus painting of a 1920 x 1080 view). The cost per page
// must be the same at 1,000 and 1,000,000 rows, and the loaded block must stay bounded. Also the
// layout of a 200 x 50 grid with sub-grids in a tenth of its cells.
#include <vxplan/cellgrid/vxBabGridContent.h>
#include <vxplan/platform/graphics/vxBitmap.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace vxplan;

const TRect kView = Rect(0, 0, 1920, 1080);

std::unique_ptr<TBabGridCellForViewer> NewRoot()
{
    return std::make_unique<TBabGridCellForViewer>(nullptr, &CreateBabCellDataOf<TBabSimpleCellData>,
                                                   &CreateBabCellDataOf<TBabGridCellData>);
}

// One header row, `rows` count-only rows, 20 columns; unloading always allowed.
std::unique_ptr<TBabGridCellForViewer> VirtualGrid(int rows)
{
    auto root = NewRoot();
    root->OnVirtualUnLoad = [](TBabGridCell*, TAxisContentItem*, bool, bool, bool& can) { can = true; };
    for (int c = 0; c < 20; ++c) root->Columns().AddNew(nullptr);
    root->Rows().AddNew(nullptr);
    root->SetFixedRows(1);
    root->Rows().AddUnloaded(rows);
    return root;
}

class TBenchPainter : public TBabCellPainter {
public:
    TBenchPainter() : bitmap_(kView.Width(), kView.Height()) {}
    TCanvas& PaintCanvas() override { return bitmap_.Canvas(); }
    void PreDrawGetStringAndSetAttributes(TBabCell* cell, std::string& text, bool& isText, bool&) override
    {
        isText = true;
        text = std::to_string(cell->RowIndex());
    }

private:
    TBitmap bitmap_;
};

// Scrolls one page each iteration, starting in the middle and turning back at either end, so
// every step is a page step (no far jumps) at any row count.
template <class PerPage>
void PageByPage(benchmark::State& state, PerPage perPage)
{
    const int rows = static_cast<int>(state.range(0));
    auto root = VirtualGrid(rows);
    const int start = 1 + rows / 2;
    root->SetTop(start);
    root->CalcVisibleArea(kView);
    int maxLoaded = 0;
    int direction = 1;
    for (auto _ : state) {
        const int page = std::max(1, root->GetVisibleRowCount() - 1);
        int top = root->GetTop() + direction * page;
        if (top >= root->Rows().Count() - 60 || top <= 1) {
            direction = -direction;
            top = root->GetTop() + direction * page;
        }
        root->SetTop(top);
        root->CalcVisibleArea(kView);
        perPage(*root);
        maxLoaded = std::max(maxLoaded, root->Rows().LoadedCount());
    }
    state.counters["rows_loaded_max"] = maxLoaded;
    state.counters["rows_per_page"] = root->GetVisibleRowCount();
}

void BM_PageStepLayout(benchmark::State& state)
{
    PageByPage(state, [](TBabGridCellForViewer& root) {
        root.Draw(kView, nullptr);
        benchmark::DoNotOptimize(root.CellFromPix(960, 540, true));
    });
}
BENCHMARK(BM_PageStepLayout)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_PageStepLayoutAndPaint(benchmark::State& state)
{
    TBenchPainter painter;
    PageByPage(state, [&](TBabGridCellForViewer& root) {
        root.Draw(kView, TOnDrawBabCell(&painter, &TBabCellPainter::OnDrawBabCell));
    });
}
BENCHMARK(BM_PageStepLayoutAndPaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_HitTestScrolledToTheMiddle(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    auto root = VirtualGrid(rows);
    root->SetTop(1 + rows / 2);
    root->CalcVisibleArea(kView);
    root->Draw(kView, nullptr);
    std::mt19937 rng(3);
    std::vector<TPoint> probes;
    for (int i = 0; i < 1024; ++i)
        probes.push_back({static_cast<int>(rng() % 1920u), static_cast<int>(rng() % 1080u)});
    size_t k = 0;
    for (auto _ : state) {
        const TPoint p = probes[k++ & 1023];
        benchmark::DoNotOptimize(root->CellFromPix(p.X, p.Y, true));
    }
}
BENCHMARK(BM_HitTestScrolledToTheMiddle)->Arg(1000)->Arg(1000000);

void BM_LayoutWithSubGrids(benchmark::State& state)
{
    auto root = NewRoot();
    std::mt19937 rng(11);
    root->OnCreateCell = [&](TBabGridCell* owner, TAxisContentItem*, TAxisContentItem*) {
        return owner == root.get() && rng() % 10 == 0 ? TBabCellType::babCellTypeGrid : TBabCellType::babCellTypeSimple;
    };
    for (int c = 0; c < 50; ++c) root->Columns().AddNew(nullptr);
    for (int r = 0; r < 200; ++r) root->Rows().AddNew(nullptr);
    int subGrids = 0;
    for (int c = 0; c < 50; ++c)
        for (int r = 0; r < 200; ++r)
            if (auto* sub = dynamic_cast<TBabGridCell*>(root->getCell(c, r))) {
                ++subGrids;
                for (int i = 0; i < 3; ++i) sub->Columns().AddNew(nullptr);
                for (int i = 0; i < 2; ++i) sub->Rows().AddNew(nullptr);
            }
    // Range 0 lays out a 1920 x 1080 view, range 1 an area that holds the whole grid.
    const TRect area = state.range(0) == 0 ? kView : Rect(0, 0, 100000, 100000);
    for (auto _ : state) root->CalcVisibleArea(area);
    state.counters["sub_grids"] = subGrids;
    state.counters["rows_laid_out"] = root->Rows().VisibleCount();
}
BENCHMARK(BM_LayoutWithSubGrids)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
