// The enumerations shared by the Gantt chart's model, its painting and its link routing.
#pragma once

#include <cstdint>

namespace vxplan {

// How a time item is drawn (stored in 8 bits; the ordinals are part of the stored form).
enum class TChronbarStyle : uint8_t {
    gtsSquare,    // filled bar with a black frame
    gtsSpan,      // summary bar: a thin bar with downward ears at both ends
    gtsUser,      // drawn by the application
    gtsLine,      // thick line through the middle
    gtsLineWEnd,  // the same with end marks
    gtsWave,      // one sine period over the bar
    gtsRomb,      // a diamond
    gtsImage,     // an image of the chart's image list
    gtsPipe       // a radiated, tube-like fill
};

// Which ends of the two items a link joins.
enum class TLinkStartFinishOption : uint8_t { tlsfNormal, tlsfSS, tlsfSF, tlsfFS, tlsfFF };

// How a link is routed and drawn.
enum class TLinkStyle : uint8_t { tlsDefault, tlsMSProject, tlsUserDraw };

// When a link is drawn, by which of its ends are on screen.
enum class TLinkShow : uint8_t { lsOneEndVisible, lsBothEndsVisible, lsAlways };

// What a drag in the Gantt area does to time items.
enum class TGantMouseMoveMode : uint8_t { mmNone, mmMove, mmCopy, mmGrowLeft, mmGrowRight, mmDependency };

// With smDependency the next left press on an item starts a dependency drag.
enum class TGantStickyMode : uint8_t { smNone, smDependency };

// The directions the area scrolls in while an item is dragged near or beyond its edges.
enum class TTimeItemAutoScroll : uint8_t { ttiaHorzAndVert, ttiaHorz, ttiaVert, ttiaNone };

}  // namespace vxplan
