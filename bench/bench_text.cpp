// Text output speed: short TextOut calls on a bitmap, as a Gantt chart's item labels and a
// grid's cells make them, and DrawTextW with the flags cells use.
#include <vxplan/platform/graphics/vxCanvas.h>

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace vxplan;

std::vector<std::string> Labels()
{
    std::vector<std::string> labels;
    for (int i = 0; i < 100; ++i) labels.push_back("Task " + std::to_string(i * 37 % 1000));
    return labels;
}

// 10,000 short labels through the canvas on a 1920 x 1080 image.
void BM_CanvasTextOut10k(benchmark::State& state)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(Qt::white);
    TDeviceContext dc(&image);
    TCanvas canvas;
    canvas.SetHandle(&dc);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    const std::vector<std::string> labels = Labels();
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i)
            canvas.TextOut((i * 97) % 1850, (i * 13) % 1060, labels[i % labels.size()]);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_CanvasTextOut10k)->Unit(benchmark::kMillisecond);

// The same through the context function with an opaque background.
void BM_TextOutW10kOpaque(benchmark::State& state)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(Qt::white);
    TDeviceContext dc(&image);
    dc.Font = TFont().Data();
    dc.BkMode = OPAQUE;
    const std::vector<std::string> labels = Labels();
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) TextOutW(&dc, (i * 97) % 1850, (i * 13) % 1060, labels[i % labels.size()]);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_TextOutW10kOpaque)->Unit(benchmark::kMillisecond);

// Cell text: clipped, centred vertically, with an end ellipsis.
void BM_DrawTextCells10k(benchmark::State& state)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(Qt::white);
    TDeviceContext dc(&image);
    dc.Font = TFont().Data();
    dc.BkMode = TRANSPARENT;
    const std::string text = "A cell text that is longer than its column";
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            TRect r = Bounds((i * 97) % 1800, (i * 13) % 1060, 80, 18);
            DrawTextW(&dc, text, r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_DrawTextCells10k)->Unit(benchmark::kMillisecond);

}  // namespace
