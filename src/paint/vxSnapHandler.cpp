// TSnapHandler: grids counted from each value's own midnight.
#include <vxplan/paint/vxSnapHandler.h>

#include <vxplan/platform/core/vxTypes.h>

#include <cmath>

namespace vxplan {

namespace {

constexpr TDateTime kHalfDay = 0.5;

TDateTime SnapToGrid(TDateTime t, TDateTime interval)
{
    // A grid without a positive width leaves the value alone.
    if (!(interval > 0)) return t;
    const TDateTime midnight = std::trunc(t);
    return midnight + static_cast<TDateTime>(Round64((t - midnight) / interval)) * interval;
}

}  // namespace

TDateTime TSnapHandler::CalcScreenSnap(TDateTime anInterval) const
{
    if (!(anInterval > 0)) return anInterval;
    const TDateTime widened = static_cast<TDateTime>(Round64(PixelTime / anInterval)) * anInterval;
    return widened > anInterval ? widened : anInterval;
}

void TSnapHandler::Snap(TDateTime& aStart, TDateTime& aStop) const
{
    if (SnapStopOn) aStop = SnapToGrid(aStop, CalcScreenSnap(StopInterval));
    if (SnapStartOn) aStart = SnapToGrid(aStart, CalcScreenSnap(StartInterval));
}

void TSnapHandler::SnapMove(TDateTime& aStart, TDateTime& aStop) const
{
    const TDateTime length = aStop - aStart;
    Snap(aStart, aStop);
    if (!StopFollowsStart) aStop = aStart + length;
}

void TSnapHandler::SnapMoveTo24HIfMoveOver12H(TDateTime anOrigStart, TDateTime anOrigStop, TDateTime& aStart,
                                              TDateTime& aStop)
{
    if (std::fabs(aStart - anOrigStart) > kHalfDay && std::fabs(aStop - anOrigStop) > kHalfDay) {
        aStart = anOrigStart + static_cast<TDateTime>(Round64(aStart - anOrigStart));
        aStop = anOrigStop + static_cast<TDateTime>(Round64(aStop - anOrigStop));
    }
}

}  // namespace vxplan
