// The Gantt area's background: the row (or column) stripes, the scale lines, the today line and
// the focus frame, from plain inputs the chart gathers for a paint.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
#pragma once

#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/graphics/vxBitmap.h>
#include <vxplan/platform/graphics/vxCanvas.h>

#include <vector>

namespace vxplan {

// What the background of one paint is drawn from.
struct TvxGantBackgroundInput {
    int Width = 0;   // the area
    int Height = 0;
    TColor BackColor = 0xC0C0C0;
    TColor PyjamasColor = 0x808080;
    // The 2 x 2 mix of the two colours (ReInitBitmap); null fills stripes solidly.
    const TBitmap* Pattern = nullptr;
    bool VerticalPyjamas = false;
    bool Printing = false;
    // The platform fills stripes with the pattern brush (NT family); printing never does.
    bool PatternBrushes = true;
    double ScaleY = 1.0;  // the area's vertical scale (1.0 on screen)
    int LastRowHeight = 18;
    // Grid mode: the visible grid rows' bands in display order, already across the area and
    // moved up by the header. Empty in tree mode.
    const std::vector<TRect>* GridRows = nullptr;
    // The scaler's mark positions as of its last paint, and the parity of its first major box.
    const std::vector<int>* MinorPixels = nullptr;
    const std::vector<int>* MajorPixels = nullptr;
    int OddOrEvenStart = 0;
    bool DrawShortLines = false;
    bool DrawLongLines = true;
    bool Focused = false;
    // The today line: on, at pixel TodayX (noon of today mapped), inside 0 < x < ScalerWidth.
    bool TodayLineOnOff = false;
    int TodayX = 0;
    int ScalerWidth = 0;
    TColor TodayLineColor = 0;
};

// Draws user content over the rectangle (the whole area).
using TOnDrawGantBackground = TMethod<void(TCanvas& aCanvas, const TRect& aRect)>;

// Pixels (0,0) and (1,1) in the back colour, (1,0) and (0,1) in the stripe colour.
void ReInitBitmap(TBitmap& aBitmap, TColor aBackColor, TColor aPyjamasColor);

// A stripe for even rows (the top row is index 0); nothing with vertical stripes.
void DrawRowBackgound(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput, const TRect& aRect, int anIndex);
// Column stripes between the major marks.
void DoVerticalPyjamas(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput);
// The back colour (on screen), then the stripes: the grid's rows, then rows of the last row
// height down to the bottom.
void DefaultBackGround(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput);
void DoTodayLine(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput);
// The short and long scale lines and the focus frame.
void DrawScaleLines(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput);
// The whole background in order: stripes, today line, user drawing, scale lines, focus.
void DoBackground(TCanvas& aCanvas, const TvxGantBackgroundInput& anInput,
                  const TOnDrawGantBackground& anOnUserDrawBackground);

}  // namespace vxplan
