// Dates and times to text and back, by the platform's format tokens.
//
// Tokens (letters in any case): c  short date, then a blank and the long time unless the time
// is 00:00:00 | d dd  day | ddd dddd  day name | ddddd  short date | dddddd  long date |
// m mm  month (minutes right after h or hh) | mmm mmmm  month name | yy yyyy  year |
// h hh  hour (12-hour clock when the format holds am/pm, a/p or ampm) | n nn  minute |
// s ss  second | z zzz  millisecond | t  short time | tt  long time | am/pm a/p  the half of
// the day, in the token's own case | ampm  TimeAMString or TimePMString | /  date separator |
// :  time separator | "..." '...'  literal text. Anything else is copied. An empty format is c.
#pragma once

#include <vxplan/platform/time/vxDateUtils.h>
#include <vxplan/platform/time/vxFormatSettings.h>

#include <string>

namespace vxplan {

std::string FormatDateTime(const std::string& format, TDateTime t);
std::string FormatDateTime(const std::string& format, TDateTime t, const TFormatSettings& settings);

std::string DateToStr(TDateTime t);  // ddddd
std::string TimeToStr(TDateTime t);  // tt
std::string DateTimeToStr(TDateTime t);  // c

// Dates by the order of d, m and y in ShortDateFormat, split by DateSeparator; a missing
// year is the current one (and a missing month too); a year of one or two digits falls in the
// century window. Times as h[:n[:s[.z]]] with an optional AM/PM. A date and time is a date, a
// blank and a time; a text holding only a time is a time on day 0. Failures throw
// EConvertError "'text' is not a valid date" (time, date and time).
TDateTime StrToDate(const std::string& text);
TDateTime StrToDate(const std::string& text, const TFormatSettings& settings);
TDateTime StrToTime(const std::string& text);
TDateTime StrToTime(const std::string& text, const TFormatSettings& settings);
TDateTime StrToDateTime(const std::string& text);
TDateTime StrToDateTime(const std::string& text, const TFormatSettings& settings);

bool TryStrToDate(const std::string& text, TDateTime& result);
bool TryStrToDate(const std::string& text, TDateTime& result, const TFormatSettings& settings);
bool TryStrToTime(const std::string& text, TDateTime& result);
bool TryStrToTime(const std::string& text, TDateTime& result, const TFormatSettings& settings);
bool TryStrToDateTime(const std::string& text, TDateTime& result);
bool TryStrToDateTime(const std::string& text, TDateTime& result, const TFormatSettings& settings);

}  // namespace vxplan
