// Calendar arithmetic on TDateTime: days since 30 December 1899, the fraction the time of day.
//
// Dates before the origin are negative, and a negative value's fraction still counts the time
// of day forward: -1.25 is 29 December 1899, 06:00 (day = trunc(t), time = |frac(t)|). Values
// decode to the nearest millisecond; a time that rounds up to midnight carries into the
// numerically nearest day. Years run from 1 to 9999.
#pragma once

#include <cstdint>

class QDateTime;

namespace vxplan {

using TDateTime = double;
using Word = unsigned short;

constexpr int64_t MSecsPerDay = 86400000;
// The day number of 1 January 0001 and of 31 December 9999.
constexpr double MinDateTime = -693593.0;
constexpr double MaxDateTime = 2958465.99999999;

bool IsLeapYear(Word year);
// Throws EConvertError for a month outside 1..12 or a year outside 1..9999.
Word DaysInAMonth(Word year, Word month);

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& result);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& result);
// Both throw EConvertError naming the values when they are not a date or time of day.
TDateTime EncodeDate(Word year, Word month, Word day);
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
// A date plus a time of day, the time counted forward also on negative dates.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec);

// Throw EConvertError when t lies outside years 1..9999 or is not a number.
void DecodeDate(TDateTime t, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime t, Word& hour, Word& min, Word& sec, Word& msec);
void DecodeDateTime(TDateTime t, Word& year, Word& month, Word& day, Word& hour, Word& min, Word& sec,
                    Word& msec);

// 1 = Sunday ... 7 = Saturday, of the day trunc(t).
int DayOfWeek(TDateTime t);

// t as a count of milliseconds on a straight line through the origin (so that adding and
// subtracting works across negative dates), and back.
int64_t DateTimeToMSecs(TDateTime t);
TDateTime MSecsToDateTime(int64_t msecs);
TDateTime IncMilliSecond(TDateTime t, int64_t msecs);

// Through ApplicationClock(): the local wall time, and its whole day.
TDateTime Now();
TDateTime Date();

// Local Qt date-times, to the millisecond. QDateTimeToDateTime takes the date and time fields
// as they stand, in whatever zone the value is.
TDateTime QDateTimeToDateTime(const QDateTime& value);
QDateTime DateTimeToQDateTime(TDateTime t);
// The same fields as a UTC date-time, which no daylight-saving gap of the local zone can move:
// what an editor shows as it is. Throws EConvertError as DecodeDateTime does.
QDateTime DateTimeToUtcQDateTime(TDateTime t);

}  // namespace vxplan
