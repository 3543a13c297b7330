// The date and time formats, separators and names that formatting and parsing use.
//
// Strings are UTF-8. The settings in force are the system locale's until the host replaces
// them; tests pin the classic English ones.
#pragma once

#include <array>
#include <string>

class QLocale;

namespace vxplan {

struct TFormatSettings {
    char DateSeparator = '-';
    char TimeSeparator = ':';
    // Between seconds and milliseconds when a time is parsed.
    char DecimalSeparator = '.';
    std::string ShortDateFormat = "yyyy-mm-dd";
    std::string LongDateFormat = "dddd, d mmmm yyyy";
    std::string ShortTimeFormat = "hh:nn";
    std::string LongTimeFormat = "hh:nn:ss";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::array<std::string, 12> ShortMonthNames;  // index 0 = January
    std::array<std::string, 12> LongMonthNames;
    std::array<std::string, 7> ShortDayNames;  // index 0 = Sunday
    std::array<std::string, 7> LongDayNames;
    // A two-digit year is placed within the hundred years that start this many years before
    // the current one.
    int TwoDigitYearCenturyWindow = 50;
};

// The settings in force (the system locale's until SetFormatSettings). Replace them on the
// user-interface thread, before or between uses: readers hold a reference.
const TFormatSettings& FormatSettings();
void SetFormatSettings(const TFormatSettings& settings);

// Built from QLocale::system(), its patterns turned into the tokens of FormatDateTime.
TFormatSettings DefaultFormatSettings();
TFormatSettings FormatSettingsFromLocale(const QLocale& locale);
// Fixed English settings: "yyyy-mm-dd", "dddd, d mmmm yyyy", "hh:nn", "hh:nn:ss", '-', ':'.
TFormatSettings ClassicFormatSettings();

// A Qt date or time pattern ("yyyy-MM-dd", "h:mm AP") in FormatDateTime's tokens. When
// separator is not null, the first separator of the pattern is stored there and every
// occurrence of it becomes the separator token ('/' for dates, ':' for times).
std::string QtPatternToFormat(const std::string& pattern, char* separator, char token);

}  // namespace vxplan
