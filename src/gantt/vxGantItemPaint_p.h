// Drawing of one Gantt time item in its style, and its selection and focus marks.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
//
// The routines take plain inputs (a rectangle in the canvas's logical pixels, colours, the
// style) so the chart's model calls them with what it has already computed for a paint.
#pragma once

#include <vxplan/gantt/vxGantTypes.h>
#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/graphics/vxCanvas.h>
#include <vxplan/platform/graphics/vxImageList.h>

namespace vxplan {

// The part of the canvas that can receive pixels, in its logical coordinates: the clip box
// when a clip is selected, else the whole device. Edges as a rectangle: right and bottom out.
TRect GantCanvasClipRect(TCanvas& aCanvas);

// Item drawing routines. Each takes the colour, the rectangle and the canvas and leaves the pen
// width at 1.
class TvxTimeDraw {
public:
    TvxTimeDraw() = delete;

    // Bounds very long bars before they reach the platform. For a drawn area inside
    // [0, 2000) a bar with left < -500 and right > 2000 becomes -500..2000; a wider (or
    // shifted, as on a later printed page) area bounds it 500 pixels beyond its own edges, so
    // a bar is never cut short on screen.
    static TRect W95Safe(const TRect& aRect, const TRect& aDrawnArea);
    // W95Safe against the canvas's own drawn area.
    static TRect W95Safe(const TRect& aRect, TCanvas& aCanvas);

    static void DrawTime(TColor aColor, const TRect& aRect, TCanvas& aCanvas);
    static void DrawTimeHollow(TColor aColor, const TRect& aRect, TCanvas& aCanvas);
    static void DrawPipe(TColor aColor, const TRect& aRect, TCanvas& aCanvas);
    static void LineOutline(TColor aColor, const TRect& aRect, TCanvas& aCanvas, bool aWithEnds);
    static void RombOutline(TColor aColor, const TRect& aRect, TCanvas& aCanvas);
    static void WaveOutline(TColor aColor, const TRect& aRect, TCanvas& aCanvas);
    // The summary-bar shape; aScale sizes bar, ears and inset (1.0 on screen).
    static void CoolOutline(TColor aColor, const TRect& aRect, TCanvas& aCanvas, double aScale);
    // Nothing without a list. On screen the image at the top left; printing stretches it into
    // the square at the rectangle's left.
    static void DrawImage(const TCustomImageList* anImageList, int anIndex, bool aPrinting, const TRect& aRect,
                          TCanvas& aCanvas);
    // Four 5 x 5 squares of aColor inside the corners.
    static void DoSelectContent(const TRect& aRect, TColor aColor, TCanvas& aCanvas);
    // The dotted frame of the active item, 2 pixels inside the rectangle.
    static void DoFocusContent(const TRect& aRect, TCanvas& aCanvas);

private:
    static void CoolEar(TCanvas& aCanvas, TRect anEar, TColor aColor, bool aLeft, int anInset);
};

// Draws the items of style gtsUser (canvas, rectangle).
using TOnDrawUserTime = TMethod<void(TCanvas& aCanvas, const TRect& aRect)>;

// What an item looks like, as the model knows it.
struct TvxTimeItemLook {
    TChronbarStyle Style = TChronbarStyle::gtsSquare;
    TColor Color = clWhite;
    int ImageIndex = -1;
    const TCustomImageList* ImageList = nullptr;
};

// The body of one item: the rectangle kept within 10 pixels beyond the area horizontally, then
// drawn in the item's style. aPrintScaleY is the vertical print scale (1.0 on screen). Returns
// the clipped rectangle, in which the texts and the marks belong.
TRect DrawTimeItem(TCanvas& aCanvas, const TRect& aRect, const TvxTimeItemLook& aLook, int anAreaWidth,
                   bool aPrinting, double aPrintScaleY, const TOnDrawUserTime& anOnUserDraw);

// The marks over a drawn item, never while printing: the corner squares when aSelected (the
// row shows selection), the focus frame when aActive (the row shows the active item).
void DrawTimeItemMarks(TCanvas& aCanvas, const TRect& aRect, bool aPrinting, bool aSelected, TColor aSelectColor,
                       bool aActive);

}  // namespace vxplan
