// One-pixel lines on raster surfaces, pixel for pixel as the platform draws them.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
//
// A line is a Bresenham walk from the start point along the major axis that stops before the
// end point. At pixel i the minor offset is i * minor / major rounded to nearest; where that is
// exactly half-way, the walk takes the minor step for lines going up and to the left (dx < 0,
// dy <= 0), steeply down and to the left (dx <= 0 < dy, |dy| >= |dx|) and shallowly up and to
// the right (dy <= 0 < dx, |dx| > |dy|), and stays for all others: (20,20)->(12,14) lights
// (18,18) and (14,15). The major axis is x when |dx| > |dy|, else y (so diagonals walk in y).
//
// Styled thin pens (dash, dot, ...) count their pattern along the walk, one unit per pixel; a
// polyline carries the position from one segment into the next.
#pragma once

#include <vxplan/platform/graphics/vxRaster_p.h>

#include <QPoint>

#include <array>
#include <vector>

namespace vxplan::raster {

// The on/off run lengths of a thin styled pen, starting with "on".
struct TDashPattern {
    std::array<int, 6> Runs{};
    int Count = 0;
    int Total = 0;
    // Whether pattern position pos (0 <= pos < Total) is "on".
    bool On(int pos) const;
};
// Null for the solid and clear styles.
const TDashPattern* DashPatternFor(TPenStyle style);

// How the pixels of a thin line change: masks for "on" pixels and for the gaps of a dashed pen
// (drawn only when the background mode is opaque).
struct TThinPen {
    TRopMasks On;
    TRopMasks Gap;
    bool GapDrawn = false;
    const TDashPattern* Dash = nullptr;
};
// The thin pen of a context's selected pen (its colour, style and mode, background mode and colour).
TThinPen ThinPenOf(const TDeviceContext& dc);

// The device pixels of a line from `from` to `to`, end excluded, in walk order.
std::vector<QPoint> LinePixels(QPoint from, QPoint to);

// Draws a line in device units on the visible rectangles. dashPos is the pattern position at
// the start and is advanced by the line's length.
void DrawThinLine(TPixelAccess& pixels, const std::vector<QRect>& visible, QPoint from, QPoint to,
                  const TThinPen& pen, int& dashPos);

}  // namespace vxplan::raster
