// One full paint of a 1920 x 1080 Gantt area through the chart: about 40 rows in view holding
// 2,000 items of every style, with their links, in a chart of 1,000 or 100,000 rows of ten
// items each and half as many links as rows (each from an item to one a few rows further down).
// A paint must cost what is in view, not what the chart holds.
#include <vxplan/gantt/vxGant.h>
#include <vxplan/gantt/vxGantInspect_p.h>
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
constexpr int kDays = 30;

struct Chart {
    std::unique_ptr<TvxGant_ComBasic> gant = std::make_unique<TvxGant_ComBasic>();
    std::vector<std::vector<TvxDataEntity_Chronbar*>> rowItems;
    int top = 0;

    explicit Chart(int rows)
    {
        gant->GetTreeView()->SetItemHeight(27);
        gant->SetBounds(0, 0, 1920 + 102, 1080 + 47);
        gant->GetDateScaler()->SetStart(kStart);
        gant->GetDateScaler()->SetStop(kStart + kDays);
        gant->SetTodayLineOnOff(true);
        gant->SetDrawShortLines(true);
        std::mt19937 random(7);
        rowItems.resize(static_cast<size_t>(rows));
        top = rows / 2;
        std::vector<TvxDataEntity_Tree*> nodes;
        for (int r = 0; r < rows; ++r) {
            TvxDataEntity_Tree* node = gant->AddRootDataEntityTree();
            node->SetText("Row " + std::to_string(r));
            nodes.push_back(node);
            // Rows in view hold 50 short items (2,000 in view), the others 10 as the chart does.
            const bool inView = r >= top && r < top + 40;
            const int count = inView ? 50 : 10;
            const TDateTime step = static_cast<TDateTime>(kDays) / count;
            for (int i = 0; i < count; ++i) {
                TvxDataEntity_Chronbar* item = gant->AddChronbar(node, 0);
                const TDateTime start = kStart + i * step + (r % 5) * 0.02;
                item->SetStartStop(start, start + step * 0.7);
                item->SetStyle(static_cast<TChronbarStyle>((r + i) % 9 == 2 ? 0 : (r + i) % 9));
                item->SetColor(static_cast<TColor>(0x204080 + 977 * i));
                item->SetSelected(i % 10 == 0);
                if (i % 7 == 0) item->GetTexts()->AddText(std::to_string(1000 + i), 2, 1, 1 + i % 3);
                rowItems[static_cast<size_t>(r)].push_back(item);
            }
        }
        std::uniform_int_distribution<int> ahead(1, 5);
        for (int l = 0; l < rows / 2; ++l) {
            const int from = std::uniform_int_distribution<int>(0, rows - 6)(random);
            Link(from, from + ahead(random), random, l);
        }
        // The items in view link on to the next row.
        for (int r = top; r < top + 40 && r + 1 < rows; ++r)
            for (int i = 0; i < 50; i += 1) Link(r, r + 1, random, i, i);
        gant->GetTreeView()->EnsureDisplayUpToDate();
        gant->GetTreeView()->SetTopItem(nodes[static_cast<size_t>(top)]);
    }

    void Link(int fromRow, int toRow, std::mt19937& random, int k, int index = -1)
    {
        auto& a = rowItems[static_cast<size_t>(fromRow)];
        auto& b = rowItems[static_cast<size_t>(toRow)];
        const size_t i = index >= 0 ? static_cast<size_t>(index) % a.size() : random() % a.size();
        const size_t j = std::min(b.size() - 1, i * b.size() / a.size() + 1);
        TvxDataEntity_Link* link = gant->AddLink();
        link->SetFromItem(a[i]);
        link->SetToItem(b[j]);
        link->SetStartFinishOption(static_cast<TLinkStartFinishOption>(k % 5));
        link->SetLinkStyle(k % 2 ? TLinkStyle::tlsMSProject : TLinkStyle::tlsDefault);
    }
};

void BM_GantChartPaint(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    Chart chart(rows);
    TvxOffscreenPaint_GA* ga = chart.gant->GetGA();
    // The scaler's marks come from its own paint, as on screen.
    chart.gant->GetDateScaler()->GrabImage();
    ga->GrabImage();
    for (auto _ : state) {
        ga->OffscreenPaint();
        benchmark::DoNotOptimize(TGantInspector::LinksDrawnAtLastPaint(*chart.gant));
    }
    state.counters["rows_in_view"] = static_cast<double>(chart.gant->GetRowsInView().size());
    state.counters["links_drawn"] = TGantInspector::LinksDrawnAtLastPaint(*chart.gant);
    state.counters["links"] = chart.gant->GetLinks()->Count();
    state.counters["area_w"] = ga->GetWidth();
    state.counters["area_h"] = ga->GetHeight();
}
BENCHMARK(BM_GantChartPaint)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
