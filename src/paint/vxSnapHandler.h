// TSnapHandler: snaps the start and stop of a dragged or stretched time item to a time grid that
// is never finer than about one pixel at the current zoom.
#pragma once

#include <vxplan/platform/time/vxDateUtils.h>

namespace vxplan {

class TSnapHandler {
public:
    bool SnapStartOn = false;
    bool SnapStopOn = false;
    // When false, SnapMove keeps the item's length: the stop follows the snapped start.
    bool StopFollowsStart = false;
    TDateTime StartInterval = 0;
    TDateTime StopInterval = 0;
    // The time of one pixel at the current zoom; the owner sets it before every snap.
    TDateTime PixelTime = 0;

    // Each end to the nearest line of its grid, counted from midnight of its own day.
    void Snap(TDateTime& aStart, TDateTime& aStop) const;
    void SnapMove(TDateTime& aStart, TDateTime& aStop) const;
    // The interval, widened to a whole multiple that covers at least a pixel.
    TDateTime CalcScreenSnap(TDateTime anInterval) const;
    // A move of both ends by more than 12 hours becomes a move by whole days.
    static void SnapMoveTo24HIfMoveOver12H(TDateTime anOrigStart, TDateTime anOrigStop, TDateTime& aStart,
                                           TDateTime& aStop);
};

}  // namespace vxplan
