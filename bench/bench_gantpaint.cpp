// Gantt area drawing at full-HD: the background, 2,000 items of every style with their marks,
// and a link from each item to one in the next row, as one frame of the chart paints them.
#include <vxplan/gantt/vxGantBackground_p.h>
#include <vxplan/gantt/vxGantItemPaint_p.h>
#include <vxplan/gantt/vxGantLinkRoute_p.h>
#include <vxplan/platform/graphics/vxBitmap.h>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace vxplan;

constexpr int kWidth = 1920, kHeight = 1080, kRows = 40, kPerRow = 50, kRowHeight = kHeight / kRows;

struct Item {
    TRect Rect;
    TvxTimeItemLook Look;
    bool Selected;
};

struct Link {
    int From, To;
    TLinkStartFinishOption Option;
    TLinkStyle Style;
};

struct Scene {
    TBitmap bmp{kWidth, kHeight};
    TBitmap pattern;
    TBitmap image{16, 16};
    TImageList images;
    std::vector<Item> items;
    std::vector<Link> links;
    std::vector<int> minor, major;
    TvxGantBackgroundInput bg;

    Scene()
    {
        ReInitBitmap(pattern, 0xC0C0C0, 0x808080);
        image.Canvas().Brush().SetColor(0x2060C0);
        image.Canvas().FillRect(Rect(0, 0, 16, 16));
        images.Add(image);
        const int slot = kWidth / kPerRow;
        for (int r = 0; r < kRows; ++r)
            for (int i = 0; i < kPerRow; ++i) {
                const int left = i * slot + (r % 7);
                Item it;
                it.Rect = Rect(left, r * kRowHeight + 3, left + slot - 12, (r + 1) * kRowHeight - 3);
                it.Look = {static_cast<TChronbarStyle>((r + i) % 9), static_cast<TColor>(0x204080 + 977 * i), 0,
                           &images};
                it.Selected = (r * kPerRow + i) % 10 == 0;
                items.push_back(it);
            }
        for (int k = 0; k + kPerRow < static_cast<int>(items.size()); ++k)
            links.push_back({k, k + kPerRow + (k % 3 == 0 ? 1 : 0), static_cast<TLinkStartFinishOption>(k % 5),
                             k % 2 ? TLinkStyle::tlsMSProject : TLinkStyle::tlsDefault});
        for (int x = 0; x < kWidth; x += 24) minor.push_back(x);
        for (int x = 0; x < kWidth; x += 168) major.push_back(x);
        bg.Width = kWidth;
        bg.Height = kHeight;
        bg.Pattern = &pattern;
        bg.LastRowHeight = kRowHeight;
        bg.MinorPixels = &minor;
        bg.MajorPixels = &major;
        bg.DrawShortLines = true;
        bg.TodayLineOnOff = true;
        bg.TodayX = 900;
        bg.ScalerWidth = kWidth;
    }

    void Paint()
    {
        TCanvas& c = bmp.Canvas();
        DoBackground(c, bg, {});
        for (const Item& it : items) {
            const TRect r = DrawTimeItem(c, it.Rect, it.Look, kWidth, false, 1.0, {});
            DrawTimeItemMarks(c, r, false, it.Selected, 0, &it == &items[5]);
        }
        for (const Link& l : links) {
            const TRect& a = items[static_cast<size_t>(l.From)].Rect;
            const TRect& b = items[static_cast<size_t>(l.To)].Rect;
            RenderLink(c, {a, true}, {b, true}, false, l.Option, l.Style, 0xFF0000, TLinkShow::lsOneEndVisible, {},
                       {});
        }
    }
};

void BM_GantAreaFrame(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state) {
        scene.Paint();
        benchmark::DoNotOptimize(scene.bmp.Image().constBits());
    }
    state.counters["items"] = static_cast<double>(scene.items.size());
    state.counters["links"] = static_cast<double>(scene.links.size());
}
BENCHMARK(BM_GantAreaFrame)->Unit(benchmark::kMillisecond);

void BM_GantItemsOnly(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state)
        for (const Item& it : scene.items) DrawTimeItem(scene.bmp.Canvas(), it.Rect, it.Look, kWidth, false, 1.0, {});
}
BENCHMARK(BM_GantItemsOnly)->Unit(benchmark::kMillisecond);

void BM_GantLinksOnly(benchmark::State& state)
{
    Scene scene;
    TCanvas& c = scene.bmp.Canvas();
    for (auto _ : state)
        for (const Link& l : scene.links)
            RenderLink(c, {scene.items[static_cast<size_t>(l.From)].Rect, true},
                       {scene.items[static_cast<size_t>(l.To)].Rect, true}, false, l.Option, l.Style, 0xFF0000,
                       TLinkShow::lsOneEndVisible, {}, {});
}
BENCHMARK(BM_GantLinksOnly)->Unit(benchmark::kMillisecond);

void BM_GantBackground(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state) DoBackground(scene.bmp.Canvas(), scene.bg, {});
}
BENCHMARK(BM_GantBackground)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

void BM_GantItemStyle(benchmark::State& state)
{
    Scene scene;
    const auto style = static_cast<TChronbarStyle>(state.range(0));
    for (auto _ : state)
        for (Item it : scene.items) {
            it.Look.Style = style;
            DrawTimeItem(scene.bmp.Canvas(), it.Rect, it.Look, kWidth, false, 1.0, {});
        }
}
BENCHMARK(BM_GantItemStyle)->DenseRange(0, 8)->Unit(benchmark::kMillisecond);

}  // namespace
