// The platform's date and time format (FormatDateTime's tokens) as a display format of Qt's
// date-time edit, and the Qt locale whose month and day names are the settings'.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
//
// The tokens are read as FormatDateTime reads them: d dd day, ddd dddd day names, ddddd dddddd
// the settings' short and long date (nested one level deep), m mm month or, right after h or hh
// or inside a time format, minutes, mmm mmmm month names, y yy / yyy yyyy year, h hh hour (of
// 12 when that format holds a half-day token), n nn minutes, s ss seconds, t tt the settings'
// short and long time, c short date, blank, long time, am/pm ampm a/p half day, "..." '...'
// literals, / and : the settings' separators; anything else is literal text. "" is c.
//
// Where Qt's edit cannot show what FormatDateTime prints, it shows the nearest:
// - z shows three digits, as zzz does;
// - a/p shows the locale's whole half-day text, am/pm in mixed case upper case;
// - c always shows its time (FormatDateTime leaves out a midnight);
// - names and the half-day text are the edit's locale's (see LocaleForNames).
#pragma once

#include <vxplan/platform/time/vxFormatSettings.h>

#include <QLocale>
#include <QString>

#include <string>

namespace vxplan {

QString QtDisplayFormat(const std::string& format, const TFormatSettings& settings);

// The first of the system's, the default and the English locale whose month and day names are
// the settings'; the system's when none is.
QLocale LocaleForNames(const TFormatSettings& settings);

}  // namespace vxplan
