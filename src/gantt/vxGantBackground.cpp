// The Gantt area's background: stripes, scale lines, today line and focus frame.
#include <vxplan/gantt/vxGantBackground_p.h>

#include <vxplan/platform/graphics/vxColor.h>

#include <algorithm>

namespace vxplan {

namespace {

constexpr TColor kShortLineColor = 0x808080;
constexpr TColor kLongLineColor = 0x80000001;  // desktop background
constexpr TColor kStripePenColor = 0x80000010;  // button shadow

void PatternBrush(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput)
{
    if (anInput.Pattern) {
        aCanvas.Brush().SetBitmap(anInput.Pattern);
    } else {
        aCanvas.Brush().SetBitmap(nullptr);
        aCanvas.Brush().SetColor(anInput.PyjamasColor);
    }
}

void SolidBrush(TCanvas& aCanvas, TColor aColor)
{
    aCanvas.Brush().SetBitmap(nullptr);
    aCanvas.Brush().SetColor(aColor);
}

void VerticalLine(TCanvas& aCanvas, int x, int aHeight)
{
    aCanvas.MoveTo(x, 0);
    aCanvas.LineTo(x, aHeight);
}

}  // namespace

void ReInitBitmap(TBitmap& aBitmap, TColor aBackColor, TColor aPyjamasColor)
{
    aBitmap.SetSize(2, 2);
    TCanvas& c = aBitmap.Canvas();
    c.SetPixel(0, 0, aBackColor);
    c.SetPixel(1, 1, aBackColor);
    c.SetPixel(1, 0, aPyjamasColor);
    c.SetPixel(0, 1, aPyjamasColor);
}

void DrawRowBackgound(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput, const TRect& aRect, int anIndex)
{
    if (anInput.VerticalPyjamas || anIndex % 2 != 0) return;
    if (anInput.PatternBrushes && !anInput.Printing)
        PatternBrush(aCanvas, anInput);
    else
        SolidBrush(aCanvas, anInput.PyjamasColor);
    aCanvas.FillRect(aRect);
}

void DoVerticalPyjamas(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput)
{
    SolidBrush(aCanvas, anInput.PyjamasColor);
    static const std::vector<int> kNone;
    const std::vector<int>& marks = anInput.MajorPixels ? *anInput.MajorPixels : kNone;
    const int parity = anInput.OddOrEvenStart;
    int shift = 0, left = 0, n = 0;
    // Each turn consumes a mark or reaches the right edge, so the loop ends.
    for (size_t i = 0; left < anInput.Width; ++i) {
        const int right = i < marks.size() ? marks[i] : anInput.Width;
        if (right < left) {
            // A mark before the area's left edge: the first box starts one parity later.
            shift = 1;
            continue;
        }
        if ((n + parity + shift) % 2 == 0)
            PatternBrush(aCanvas, anInput);
        else
            SolidBrush(aCanvas, anInput.PyjamasColor);
        aCanvas.FillRect(Rect(left, 0, right, anInput.Height));
        left = right;
        ++n;
    }
}

void DefaultBackGround(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput)
{
    aCanvas.Pen().SetColor(kStripePenColor);
    // The stripes: the grid's rows, then rows of the last row height down to the bottom. A tiny
    // print scale can round that height to 0; the stripes must still move on.
    const int h = std::max(1, Round(anInput.ScaleY * anInput.LastRowHeight));
    std::vector<TRect> rows;
    if (anInput.GridRows) rows = *anInput.GridRows;
    const int below = rows.empty() ? 0 : rows.back().Bottom;
    for (TRect r = Rect(0, below, anInput.Width, below + h); r.Top >= 0 && r.Top < anInput.Height;
         r = Rect(0, r.Bottom, anInput.Width, r.Bottom + h))
        rows.push_back(r);

    if (!anInput.Printing) {
        // The back colour shows only where no stripe will cover it: filling it under the
        // stripes as well would double the cost of the largest fill of the paint.
        SolidBrush(aCanvas, anInput.BackColor);
        if (anInput.VerticalPyjamas) {
            // The column stripes cover the whole area.
        } else if (std::all_of(rows.begin(), rows.end(),
                               [&](const TRect& r) { return r.Left <= 0 && r.Right >= anInput.Width; })) {
            int y = 0;
            for (size_t i = 0; i < rows.size() && y < anInput.Height; i += 2) {
                if (rows[i].Top > y) aCanvas.FillRect(Rect(0, y, anInput.Width, std::min(rows[i].Top, anInput.Height)));
                y = std::max(y, rows[i].Bottom);
            }
            if (y < anInput.Height) aCanvas.FillRect(Rect(0, y, anInput.Width, anInput.Height));
        } else {
            aCanvas.FillRect(Rect(0, 0, anInput.Width, anInput.Height));
        }
    }
    if (anInput.VerticalPyjamas) DoVerticalPyjamas(aCanvas, anInput);
    for (size_t i = 0; i < rows.size(); ++i) DrawRowBackgound(aCanvas, anInput, rows[i], static_cast<int>(i));
    aCanvas.Brush().SetBitmap(nullptr);
    aCanvas.Brush().SetStyle(TBrushStyle::bsSolid);
}

void DoTodayLine(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput)
{
    if (!anInput.TodayLineOnOff) return;
    const int x = anInput.TodayX;
    if (x <= 0 || x >= anInput.ScalerWidth) return;
    aCanvas.Pen().SetColor(anInput.TodayLineColor);
    VerticalLine(aCanvas, x, anInput.Height);
}

void DrawScaleLines(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput)
{
    aCanvas.Pen().SetWidth(1);
    aCanvas.Pen().SetMode(TPenMode::pmCopy);
    if (anInput.DrawShortLines && anInput.MinorPixels) {
        const std::vector<int>& xs = *anInput.MinorPixels;
        aCanvas.Pen().SetColor(kShortLineColor);
        // Marks closer than 30 pixels would hide the bars: every second one only.
        const size_t step = xs.size() > 1 && xs[1] - xs[0] < 30 ? 2 : 1;
        for (size_t i = 0; i < xs.size(); i += step) VerticalLine(aCanvas, xs[i], anInput.Height);
    }
    aCanvas.Pen().SetColor(kLongLineColor);
    if (anInput.DrawLongLines && anInput.MajorPixels)
        for (int x : *anInput.MajorPixels) VerticalLine(aCanvas, x, anInput.Height);
    if (anInput.Focused) {
        SolidBrush(aCanvas, clWhite);
        aCanvas.DrawFocusRect(Rect(2, 2, anInput.Width - 2, anInput.Height - 2));
    }
}

void DoBackground(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput,
                  const TOnDrawGantBackground& anOnUserDrawBackground)
{
    DefaultBackGround(aCanvas, anInput);
    DoTodayLine(aCanvas, anInput);
    if (anOnUserDrawBackground) anOnUserDrawBackground(aCanvas, Rect(0, 0, anInput.Width, anInput.Height));
    DrawScaleLines(aCanvas, anInput);
}

}  // namespace vxplan
