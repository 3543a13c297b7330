// Where a menu level opens: one rule for every level, kept in one place.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
#pragma once

#include <vxplan/platform/core/vxTypes.h>

#include <optional>

namespace vxplan {

// The top-left corner of a level of the size asked to open with its top-left at `at`, on `area`.
// A level too wide for the room on the right opens to the left instead: left of its parent item
// when it has one, otherwise left of the point. A level too tall for the room below is moved up.
// It is then kept inside the area as far as it fits there (its top-left inside when it does not).
TPoint PlaceMenuLevel(TPoint at, TSize size, const TRect& area, const std::optional<TRect>& parentItem = std::nullopt);

// The available area (screen coordinates) of the screen the point lies on, or of the primary
// screen when it lies on none; empty when there is no screen at all.
TRect MenuAreaAt(TPoint at);

}  // namespace vxplan
