// Canvas speed: a full-HD bitmap filled and copied onto a shown widget (the path a control's
// paint takes), a plain memory copy of the same size for comparison, and many short lines.
#include <vxplan/platform/graphics/vxBitmap.h>

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

using namespace vxplan;

constexpr int kWidth = 1920, kHeight = 1080;

// A widget that shows a bitmap as a control does: its paint event copies the off-screen image.
class TImageWidget : public QWidget {
public:
    explicit TImageWidget(const QImage* image) : image_(image) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, *image_);
    }

private:
    const QImage* image_;
};

void BM_FillBitmapAndRepaintWidget(benchmark::State& state)
{
    TBitmap bitmap(kWidth, kHeight);
    TImageWidget widget(&bitmap.Image());
    widget.resize(kWidth, kHeight);
    widget.show();
    QApplication::processEvents();
    TColor color = clRed;
    for (auto _ : state) {
        bitmap.Canvas().Brush().SetColor(color);
        bitmap.Canvas().FillRect(Rect(0, 0, kWidth, kHeight));
        color ^= 0x00FFFF;
        widget.repaint();
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}
BENCHMARK(BM_FillBitmapAndRepaintWidget)->Unit(benchmark::kMillisecond);

void BM_CopyBitmapOntoWidget(benchmark::State& state)
{
    TBitmap bitmap(kWidth, kHeight);
    TImageWidget widget(&bitmap.Image());
    widget.resize(kWidth, kHeight);
    widget.show();
    QApplication::processEvents();
    for (auto _ : state) widget.repaint();
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}
BENCHMARK(BM_CopyBitmapOntoWidget)->Unit(benchmark::kMillisecond);

void BM_Memcpy8MB(benchmark::State& state)
{
    const size_t size = size_t{kWidth} * kHeight * 4;
    std::vector<char> from(size, 1), to(size);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), size);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}
BENCHMARK(BM_Memcpy8MB)->Unit(benchmark::kMillisecond);

void BM_LineTo100k(benchmark::State& state)
{
    TBitmap bitmap(kWidth, kHeight);
    TCanvas& canvas = bitmap.Canvas();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1), step(-60, 60);
    std::vector<TPoint> points;
    for (int i = 0; i < 100000; ++i) points.push_back({x(random), y(random)});
    for (auto _ : state) {
        canvas.MoveTo(kWidth / 2, kHeight / 2);
        for (const TPoint& p : points) {
            const TPoint from = canvas.GetPenPos();
            // Mixed slopes of segments up to 60 pixels, kept on the bitmap.
            canvas.LineTo(std::clamp(from.X + step(random), 0, kWidth - 1), std::clamp(from.Y + (p.Y % 121) - 60, 0, kHeight - 1));
        }
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_LineTo100k)->Unit(benchmark::kMillisecond);

}  // namespace
