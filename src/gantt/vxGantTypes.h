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

}  // namespace vxplan
