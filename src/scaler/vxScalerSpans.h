// The fixed spans of the time axis and its scale levels.
//
// The kScale... values are compared for exact equality when a level is recognised, so every
// unit must see the very same doubles: they are the differences of whole day numbers (exact)
// or correctly rounded quotients of milliseconds, written here as constants.
#pragma once

#include <vxplan/platform/time/vxDateUtils.h>

#include <string>

namespace vxplan {

inline constexpr TDateTime kMinute = 1.0 / 1440;
inline constexpr TDateTime kHour = 1.0 / 24;
inline constexpr TDateTime kDay = 1;
inline constexpr TDateTime kWeek = 7;
inline constexpr TDateTime kMonth = 30;  // 31 Jan 1997 - 1 Jan 1997
inline constexpr TDateTime kYear = 365;  // 1 Jan 1998 - 1 Jan 1997

inline constexpr TDateTime kScale10Hun = 10.0 / 86400000;
inline constexpr TDateTime kScale1Sec = 1000.0 / 86400000;
inline constexpr TDateTime kScale10Sec = 10000.0 / 86400000;
inline constexpr TDateTime kScale1Min = 60000.0 / 86400000;
inline constexpr TDateTime kScale10Min = 600000.0 / 86400000;
inline constexpr TDateTime kScale1Hour = 3600000.0 / 86400000;
inline constexpr TDateTime kScale1Day = 1;        // 2 Jan - 1 Jan of year 1
inline constexpr TDateTime kScale1Week = 7;       // 8 Jan - 1 Jan of year 1
inline constexpr TDateTime kScale1Month = 27;     // 28 Jan - 1 Jan of year 1
inline constexpr TDateTime kScale3Month = 86;     // 28 Mar - 1 Jan of year 1
inline constexpr TDateTime kScale1Year = 365;     // 1 Jan of year 2 - 1 Jan of year 1
inline constexpr TDateTime kScale10Year = 3652;   // 1 Jan of year 11 - 1 Jan of year 1
inline constexpr TDateTime kScale20Year = 7305;   // 1 Jan of year 21 - 1 Jan of year 1
inline constexpr TDateTime kScale100Year = 36524; // 1 Jan of year 101 - 1 Jan of year 1

// Days per pixel where a host may want to switch its own presentation; the axis itself chooses
// its levels from PixelsForModeSwitch.
inline double ScaleDoubleDecadesAndDecades = 40.62;
inline double ScaleDecadesAndYear = 10.64;
inline double ScaleYearAndQuorter = 2.0;
inline double ScaleQuorterAndMonth = 1.0;
inline double ScaleMonthAndWeek = 0.0927;
inline double ScaleWeekAndDay = 0.0347;
inline double ScaleDayAndHour = 0.0018;
inline double ScaleHourAnd10Minute = 0.0002;
inline double Scale10MinuteAndMinute = 0.0000314;
inline double ScaleMinuteAnd10Sec = 0.00000283;
inline double Scale10SecAndSec = 0.0000006;

// The fourteen levels, ascending.
inline constexpr int kScaleLevelCount = 14;
extern const TDateTime kScaleLevels[kScaleLevelCount];
extern const char* const kScaleLevelNames[kScaleLevelCount];

// The first level strictly greater than aSpan (the top level from kScale20Year on), with its name.
TDateTime StepFork(TDateTime aSpan, std::string& aName);
// The name of a level; empty for a span that is not one.
std::string ScaleLevelName(TDateTime aStep);

}  // namespace vxplan
