// One mouse-move step of a drag of 1,000 selected items: the outlines of all of them erased and
// drawn again on the displayed pixels, the hint's times snapped and reported, the hint window
// updated. The chart holds 1,000 rows of ten items and one item of every row is selected: those
// of the 54 rows in view and the others beyond the area.
#include <vxplan/gantt/vxGant.h>
#include <vxplan/gantt/vxGantTree.h>
#include <vxplan/scaler/vxScaler.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace vxplan;

constexpr TDateTime kStart = 46006.0;

void BM_DragStepOfThousandSelected(benchmark::State& state)
{
    auto gant = std::make_unique<TvxGant_ComBasic>();
    gant->GetTreeView()->SetItemHeight(20);
    gant->SetBounds(0, 0, 1920 + 102, 1080 + 47);
    gant->GetDateScaler()->SetStart(kStart);
    gant->GetDateScaler()->SetStop(kStart + 30);
    TvxDataEntity_Chronbar* pressed = nullptr;
    for (int r = 0; r < 1000; ++r) {
        TvxDataEntity_Tree* node = gant->AddRootDataEntityTree();
        node->SetText("Row " + std::to_string(r));
        for (int i = 0; i < 10; ++i) {
            TvxDataEntity_Chronbar* item = gant->AddChronbar(node, 0);
            item->SetStartStop(kStart + 3 * i, kStart + 3 * i + 2);
            item->SetSelected(i == r % 10);
            if (r == 0 && i == 0) pressed = item;
        }
    }
    gant->GetGA()->GrabImage();
    TRect r;
    gant->RectFromDataEntity(pressed, r);
    const int x = r.Left + 20, y = (r.Top + r.Bottom) / 2;
    gant->GantAreaMouseDown(gant->GetGA(), TMouseButton::mbLeft, TShiftState(), x, y);
    if (gant->GetMoveSnapShot().size() != 1000) state.SkipWithError("the drag does not hold 1,000 items");
    int step = 0;
    for (auto _ : state) {
        ++step;
        gant->GantAreaMouseMove(gant->GetGA(), TShiftState().Include(ssLeft), x + 1 + step % 200, y + step % 3);
    }
    state.counters["items"] = static_cast<double>(gant->GetMoveSnapShot().size());
    gant->CancelMouseOperation();
}
BENCHMARK(BM_DragStepOfThousandSelected)->Unit(benchmark::kMillisecond);

}  // namespace
