// Drawing of one Gantt time item in its style, and its selection and focus marks.
#include <vxplan/gantt/vxGantItemPaint_p.h>

#include <vxplan/paint/vxGStuff.h>
#include <vxplan/platform/graphics/vxColor.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace vxplan {

namespace {

// The bounds of a drawn area that fits the historic fixed window.
constexpr int kSafeLeft = -500;
constexpr int kSafeRight = 2000;
constexpr int kSafeMargin = 500;

// Solid fills must not pick up a pattern bitmap left on the brush by the background.
void SolidBrush(TCanvas& aCanvas, TColor aColor)
{
    if (aCanvas.Brush().HasBitmap()) aCanvas.Brush().SetBitmap(nullptr);
    aCanvas.Brush().SetColor(aColor);
}

void BlackFrame(TCanvas& aCanvas, const TRect& aRect)
{
    aCanvas.Pen().SetColor(clBlack);
    SolidBrush(aCanvas, clBlack);
    aCanvas.FrameRect(aRect);
}

int ScaledConstant(int aValue, double aScale) { return aScale == 1.0 ? aValue : Round(aValue * aScale); }

// A 3-pixel line through the points, ends included. On bitmaps it is drawn by the thin
// rasterizer, which is many times faster than a stroked wide pen: each segment three times,
// shifted across its main direction, as one polyline that snakes back and forth (the steps
// between the copies stay within the line's width). Other devices get the wide pen.
void WideLine(TCanvas& aCanvas, const std::vector<TPoint>& thePoints, TColor aColor)
{
    aCanvas.Pen().SetColor(aColor);
    HDC dc = aCanvas.GetHandle();
    if (!dc || !dc->IsRaster() || aCanvas.Pen().GetMode() != TPenMode::pmCopy || thePoints.size() < 2) {
        aCanvas.Pen().SetWidth(3);
        aCanvas.Polyline(thePoints);
        aCanvas.Pen().SetWidth(1);
        return;
    }
    std::vector<TPoint> snake;
    snake.reserve(6 * thePoints.size());
    for (size_t i = 0; i + 1 < thePoints.size(); ++i) {
        const TPoint p = thePoints[i], q = thePoints[i + 1];
        const TPoint across = std::abs(q.X - p.X) >= std::abs(q.Y - p.Y) ? TPoint{0, 1} : TPoint{1, 0};
        for (int k = -1; k <= 1; ++k) {
            const TPoint from = k == 0 ? q : p, to = k == 0 ? p : q;
            snake.push_back({from.X + k * across.X, from.Y + k * across.Y});
            snake.push_back({to.X + k * across.X, to.Y + k * across.Y});
        }
    }
    // The last pixel of a polyline is left out: end on one already drawn.
    const TPoint last = thePoints.back();
    snake.push_back(last);
    aCanvas.Pen().SetWidth(1);
    aCanvas.Polyline(snake);
}

}  // namespace

TRect GantCanvasClipRect(TCanvas& aCanvas)
{
    HDC dc = aCanvas.GetHandle();
    if (!dc) return {};
    const TPoint org = dc->ViewportOrg();
    TRect box;
    if (const QRegion* clip = dc->ClipRegion()) {
        const QRect r = clip->boundingRect();
        box = clip->isEmpty() ? TRect{} : TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    } else {
        box = {0, 0, dc->DeviceCaps(HORZRES), dc->DeviceCaps(VERTRES)};
    }
    return {box.Left - org.X, box.Top - org.Y, box.Right - org.X, box.Bottom - org.Y};
}

TRect TvxTimeDraw::W95Safe(const TRect& aRect, const TRect& aDrawnArea)
{
    const int lo = aDrawnArea.Left >= 0 ? kSafeLeft : aDrawnArea.Left - kSafeMargin;
    const int hi = aDrawnArea.Right <= kSafeRight ? kSafeRight : aDrawnArea.Right + kSafeMargin;
    TRect r = aRect;
    if (r.Left < lo && r.Right > hi) {
        r.Left = lo;
        r.Right = hi;
    }
    return r;
}

TRect TvxTimeDraw::W95Safe(const TRect& aRect, TCanvas& aCanvas)
{
    return W95Safe(aRect, GantCanvasClipRect(aCanvas));
}

void TvxTimeDraw::DrawTime(TColor aColor, const TRect& aRect, TCanvas& aCanvas)
{
    const TRect r = W95Safe(aRect, aCanvas);
    SolidBrush(aCanvas, aColor);
    aCanvas.FillRect(r);
    BlackFrame(aCanvas, r);
}

void TvxTimeDraw::DrawTimeHollow(TColor aColor, const TRect& aRect, TCanvas& aCanvas)
{
    const TRect r = W95Safe(aRect, aCanvas);
    aCanvas.Pen().SetColor(aColor);
    aCanvas.Pen().SetWidth(2);
    aCanvas.MoveTo(r.Left, r.Top);
    aCanvas.LineTo(r.Right - 1, r.Top);
    aCanvas.LineTo(r.Right - 1, r.Bottom - 1);
    aCanvas.LineTo(r.Left, r.Bottom - 1);
    aCanvas.LineTo(r.Left, r.Top);
    aCanvas.Pen().SetWidth(1);
    BlackFrame(aCanvas, r);
}

void TvxTimeDraw::DrawPipe(TColor aColor, const TRect& aRect, TCanvas& aCanvas)
{
    const TRect r = W95Safe(aRect, aCanvas);
    if (aCanvas.Brush().HasBitmap()) aCanvas.Brush().SetBitmap(nullptr);
    GStuff::FillRadiated(aCanvas, r, aColor);
}

void TvxTimeDraw::LineOutline(TColor aColor, const TRect& aRect, TCanvas& aCanvas, bool aWithEnds)
{
    const TRect r = W95Safe(aRect, aCanvas);
    const int m = r.Top + (r.Bottom - r.Top) / 2;
    WideLine(aCanvas, {{r.Left, m}, {r.Right - 1, m}}, aColor);
    SolidBrush(aCanvas, clBlack);
    aCanvas.FrameRect(Rect(r.Left, m - 2, r.Right, m + 2));
    if (aWithEnds) {
        aCanvas.FrameRect(Rect(r.Left, r.Top, r.Left + 2, r.Bottom));
        aCanvas.FrameRect(Rect(r.Right - 2, r.Top, r.Right, r.Bottom));
    }
}

void TvxTimeDraw::RombOutline(TColor aColor, const TRect& aRect, TCanvas& aCanvas)
{
    // A diamond stays small, so it needs no bounding.
    const TRect& r = aRect;
    const int mx = r.Left + (r.Right - r.Left) / 2;
    const int my = r.Top + (r.Bottom - r.Top) / 2;
    WideLine(aCanvas, {{r.Left, my}, {mx, r.Top}, {r.Right, my}, {mx, r.Bottom}, {r.Left, my}}, aColor);
    aCanvas.MoveTo(r.Left, my);
}

void TvxTimeDraw::WaveOutline(TColor aColor, const TRect& aRect, TCanvas& aCanvas)
{
    const TRect r = W95Safe(aRect, aCanvas);
    const int w = r.Right - r.Left;
    const int h = r.Bottom - r.Top;
    const int m = r.Top + h / 2;
    std::vector<TPoint> points;
    points.reserve(21);
    points.push_back({r.Left, m});
    for (int i = 1; i <= 20; ++i) {
        const int x = r.Left + Round(static_cast<double>(i) * w / 20.0);
        const int y = m + Round(std::sin(i * 2.0 * std::numbers::pi / 20.0) * h / 2.0);
        // Narrow bars repeat x positions; a step back would draw a spike.
        if (x > points.back().X) points.push_back({x, y});
    }
    WideLine(aCanvas, points, aColor);
    aCanvas.MoveTo(points.back().X, points.back().Y);
}

void TvxTimeDraw::CoolEar(TCanvas& aCanvas, TRect anEar, TColor aColor, bool aLeft, int anInset)
{
    const int t = anEar.Top;
    const int e = anEar.Bottom + 2;
    aCanvas.Pen().SetColor(aColor);
    const int cx = anEar.Left + (anEar.Right - anEar.Left) / 2 + (aLeft ? anInset : -anInset);
    int k = 0;
    int last = 0;
    for (; e - 1 - k >= t - 1; ++k) {
        const int y = e - 1 - k;
        aCanvas.MoveTo(cx - k, y);
        aCanvas.LineTo(cx + k, y);
        last = k;
    }
    aCanvas.Pen().SetColor(clBlack);
    aCanvas.MoveTo(cx - last, t);
    aCanvas.LineTo(cx, e);
    aCanvas.MoveTo(cx + last - 1, t);
    aCanvas.LineTo(cx - 1, e);
}

void TvxTimeDraw::CoolOutline(TColor aColor, const TRect& aRect, TCanvas& aCanvas, double aScale)
{
    const int a = ScaledConstant(4, aScale);  // bar height
    const int b = ScaledConstant(3, aScale);  // ear height
    const int c = ScaledConstant(5, aScale);  // ear width
    const int d = ScaledConstant(3, aScale);  // ear inset
    const TRect r = W95Safe(aRect, aCanvas);
    const TRect bar = Rect(r.Left, r.Top, r.Right, r.Top + a);
    SolidBrush(aCanvas, aColor);
    aCanvas.FillRect(bar);
    BlackFrame(aCanvas, bar);
    aCanvas.Pen().SetColor(aColor);
    CoolEar(aCanvas, Rect(r.Left, r.Top + a, r.Left + c, r.Top + a + b), aColor, true, d);
    CoolEar(aCanvas, Rect(r.Right - c, r.Top + a, r.Right, r.Top + a + b), aColor, false, d);
    aCanvas.Pen().SetWidth(1);
}

void TvxTimeDraw::DrawImage(const TCustomImageList* anImageList, int anIndex, bool aPrinting, const TRect& aRect,
                            TCanvas& aCanvas)
{
    if (!anImageList) return;
    const TRect r = W95Safe(aRect, aCanvas);
    if (!aPrinting) {
        anImageList->Draw(aCanvas, r.Left, r.Top, anIndex, true);
        return;
    }
    PrintBitmap_ImageList(aCanvas, Rect(r.Left, r.Top, r.Left + (r.Bottom - r.Top), r.Bottom), *anImageList, anIndex);
}

void TvxTimeDraw::DoSelectContent(const TRect& aRect, TColor aColor, TCanvas& aCanvas)
{
    const TRect& r = aRect;
    SolidBrush(aCanvas, aColor);
    aCanvas.FillRect(Rect(r.Left, r.Top, r.Left + 5, r.Top + 5));
    aCanvas.FillRect(Rect(r.Right - 5, r.Top, r.Right, r.Top + 5));
    aCanvas.FillRect(Rect(r.Left, r.Bottom - 5, r.Left + 5, r.Bottom));
    aCanvas.FillRect(Rect(r.Right - 5, r.Bottom - 5, r.Right, r.Bottom));
}

void TvxTimeDraw::DoFocusContent(const TRect& aRect, TCanvas& aCanvas)
{
    aCanvas.Pen().SetColor(clBlack);
    SolidBrush(aCanvas, 0x808080);
    aCanvas.DrawFocusRect(Rect(aRect.Left + 2, aRect.Top + 2, aRect.Right - 2, aRect.Bottom - 2));
}

TRect DrawTimeItem(TCanvas& aCanvas, const TRect& aRect, const TvxTimeItemLook& aLook, int anAreaWidth,
                   bool aPrinting, double aPrintScaleY, const TOnDrawUserTime& anOnUserDraw)
{
    const double f = aPrinting ? aPrintScaleY : 1.0;
    TRect r = aRect;
    r.Left = std::max(r.Left, -10);
    r.Right = std::min(r.Right, anAreaWidth + 10);
    switch (aLook.Style) {
    case TChronbarStyle::gtsSquare: TvxTimeDraw::DrawTime(aLook.Color, r, aCanvas); break;
    case TChronbarStyle::gtsSpan: TvxTimeDraw::CoolOutline(aLook.Color, r, aCanvas, f); break;
    case TChronbarStyle::gtsUser:
        if (anOnUserDraw) anOnUserDraw(aCanvas, r);
        break;
    case TChronbarStyle::gtsLine: TvxTimeDraw::LineOutline(aLook.Color, r, aCanvas, false); break;
    case TChronbarStyle::gtsLineWEnd: TvxTimeDraw::LineOutline(aLook.Color, r, aCanvas, true); break;
    case TChronbarStyle::gtsWave: TvxTimeDraw::WaveOutline(aLook.Color, r, aCanvas); break;
    case TChronbarStyle::gtsRomb: TvxTimeDraw::RombOutline(aLook.Color, r, aCanvas); break;
    case TChronbarStyle::gtsImage:
        TvxTimeDraw::DrawImage(aLook.ImageList, aLook.ImageIndex, aPrinting, r, aCanvas);
        break;
    case TChronbarStyle::gtsPipe: TvxTimeDraw::DrawPipe(aLook.Color, r, aCanvas); break;
    }
    return r;
}

void DrawTimeItemMarks(TCanvas& aCanvas, const TRect& aRect, bool aPrinting, bool aSelected, TColor aSelectColor,
                       bool aActive)
{
    if (aPrinting) return;
    if (aSelected) TvxTimeDraw::DoSelectContent(aRect, aSelectColor, aCanvas);
    if (aActive) TvxTimeDraw::DoFocusContent(aRect, aCanvas);
}

}  // namespace vxplan
