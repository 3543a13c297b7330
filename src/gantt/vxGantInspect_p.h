// What the chart's last paint did, for tests and benchmarks to read.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
#pragma once

#include <vxplan/gantt/vxGant.h>

namespace vxplan {

struct TGantInspector {
    // The links the last paint drew, user-drawn included; those wholly beside the area are not
    // handed to the platform and not counted.
    static int LinksDrawnAtLastPaint(const TvxGant_ComBasic& gant) { return gant.fLinksDrawn; }
    // The links the last paint looked at.
    static int LinksVisitedAtLastPaint(const TvxGant_ComBasic& gant) { return gant.fLinksVisited; }
};

}  // namespace vxplan
