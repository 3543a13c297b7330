// Routing and drawing of the links between Gantt time items.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
//
// Routing is pure: from the two items' rectangles (already mapped to area pixels) and the
// link's options it decides whether the link shows and where its ends are. DrawLink then draws
// the polyline and arrow head between those ends on a canvas.
#pragma once

#include <vxplan/gantt/vxGantTypes.h>
#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/graphics/vxCanvas.h>

#include <vector>

namespace vxplan {

// The rectangle of an item that has none on screen.

// One end of a link as the chart sees it for a paint.
struct TvxLinkEnd {
    TRect Rect = kNoRect;  // the item's rectangle, or kNoRect
    bool InRange = false;      // the item overlaps the scaler's visible time range
};

// Grid mode only: where an end whose row is scrolled out of the grid leaves the area.
struct TvxLinkGridEnds {
    bool Valid = false;  // both rows have grid nodes with grid row items
    int FromRowIndex = 0;
    int ToRowIndex = 0;
    int FromMidPixel = 0;  // the item's middle time mapped to a pixel
    int ToMidPixel = 0;
    int AreaHeight = 0;
};

struct TvxLinkRoute {
    bool Show = false;
    TPoint Start;  // P, on the predecessor
    TPoint Stop;   // Q, on the successor
    // The routing kind: the link's style, but tlsDefault within one row.
    TLinkStyle Kind = TLinkStyle::tlsDefault;
    // The link is drawn by the application (its own style is tlsUserDraw).
    bool UserDraw = false;
};

// An item overlaps the visible range (edges inclusive).
bool ItemOverlapsRange(double aStart, double aStop, double aRangeStart, double aRangeStop);

// False when the predecessor's stop and the successor's start both lie strictly before the
// visible start, or both strictly after the visible stop.
bool LinePassesThroughWindow(double aFromStop, double aToStart, double aRangeStart, double aRangeStop);

// The show test and the anchor points of one link whose ends' rows are visible.
TvxLinkRoute RouteLink(TvxLinkEnd aFrom, TvxLinkEnd aTo, bool aSameRow, TLinkStartFinishOption anOption,
                       TLinkStyle aStyle, TLinkShow aShow, const TvxLinkGridEnds& aGrid = {});

// Sizes of the arrow heads and the start-to-start bracket (scaled while printing).
struct TvxLinkSizes {
    int ArrowHalfWidth = 3;  // a
    int MSArrowSize = 3;     // b
    int SSMargin = 7;        // g
    static TvxLinkSizes Scaled(double aScaleX, double aScaleY);
};

// The drawn form of a link: the pen runs from Points[0] through the others (each end pixel left
// out, as LineTo does); the arrow head has its tip at Tip.
struct TvxLinkPath {
    std::vector<TPoint> Points;
    TPoint Tip;
    // Open arrow: lines Tip -> Arrow[0] -> Arrow[1] -> Tip. Filled: the triangle Tip, Arrow[0],
    // Arrow[1]. No arrow when Arrow is empty.
    std::vector<TPoint> Arrow;
    bool ArrowFilled = false;
};

// aStartToStart: the link is known and joins the two starts (tlsfSS); a rubber band has no
// link and passes false.
TvxLinkPath LinkPath(TPoint A, TPoint B, TLinkStyle aStyle, bool aStartToStart, const TvxLinkSizes& aSizes);

// Draws the routed link in aColor; the arrow only when its tip lies in the canvas's clip
// rectangle (edges inclusive). The brush colour is left as it was.
void DrawLink(TPoint A, TPoint B, TCanvas& aCanvas, TLinkStyle aStyle, TColor aColor, bool aStartToStart,
              const TvxLinkSizes& aSizes = {});

// Draws a link of style tlsUserDraw between its anchor points.
using TOnDrawUserLink = TMethod<void(TCanvas& aCanvas, TPoint aStart, TPoint aStop)>;

// One link of a paint, routed and drawn: by the application for tlsUserDraw (nothing without a
// handler), else by DrawLink. Returns whether the link was shown.
bool RenderLink(TCanvas& aCanvas, const TvxLinkEnd& aFrom, const TvxLinkEnd& aTo, bool aSameRow,
                TLinkStartFinishOption anOption, TLinkStyle aStyle, TColor aColor, TLinkShow aShow,
                const TvxLinkSizes& aSizes, const TOnDrawUserLink& anOnUserDraw, const TvxLinkGridEnds& aGrid = {});

}  // namespace vxplan
