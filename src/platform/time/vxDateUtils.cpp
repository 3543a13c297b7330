// Encoding and decoding dates and times, day of the week, Now and Date on the application clock.
#include <vxplan/platform/time/vxDateUtils.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/core/vxTypes.h>
#include <vxplan/platform/time/vxClock.h>

#include <QDateTime>

#include <chrono>
#include <cmath>
#include <string>

namespace vxplan {

namespace {

using namespace std::chrono;

// Day 0 of TDateTime on the civil calendar.
constexpr sys_days Origin = sys_days{year{1899} / December / 30};

bool ValidYear(int y) { return y >= 1 && y <= 9999; }

std::string DateText(int y, int m, int d)
{
    return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
}

// The value split into a signed day and a positive time of day, both to the nearest
// millisecond: the millisecond count is rounded as a whole first, so that a time rounding up to
// 24:00 lands on the neighbouring day.
struct Split {
    int64_t day;
    int64_t msOfDay;
};

Split SplitValue(TDateTime t)
{
    if (!std::isfinite(t)) throw EConvertError("The date and time value is not a number");
    const double ms = std::round(t * static_cast<double>(MSecsPerDay));  // halves away from zero
    if (std::fabs(ms) > 9.0e17) throw EConvertError("The date and time value " + NumberText(t) + " is out of range");
    const auto whole = static_cast<int64_t>(ms);
    const int64_t day = whole / MSecsPerDay;  // toward zero: the day part of a negative value
    int64_t rest = whole % MSecsPerDay;
    if (rest < 0) rest = -rest;
    return {day, rest};
}

}  // namespace

bool IsLeapYear(Word y) { return year{y}.is_leap(); }

Word DaysInAMonth(Word y, Word m)
{
    if (!ValidYear(y) || m < 1 || m > 12)
        throw EConvertError("Year " + std::to_string(y) + ", month " + std::to_string(m) + " is not a valid month");
    const year_month_day_last last{year{y} / month{m} / std::chrono::last};
    return static_cast<Word>(static_cast<unsigned>(last.day()));
}

bool TryEncodeDate(Word y, Word m, Word d, TDateTime& result)
{
    const year_month_day ymd{year{y}, month{m}, day{d}};
    if (!ValidYear(y) || !ymd.ok()) return false;
    result = static_cast<double>((sys_days{ymd} - Origin).count());
    return true;
}

bool TryEncodeTime(Word h, Word n, Word s, Word ms, TDateTime& result)
{
    if (h > 23 || n > 59 || s > 59 || ms > 999) return false;
    const int64_t total = ((int64_t{h} * 60 + n) * 60 + s) * 1000 + ms;
    result = static_cast<double>(total) / static_cast<double>(MSecsPerDay);
    return true;
}

TDateTime EncodeDate(Word y, Word m, Word d)
{
    TDateTime result = 0;
    if (!TryEncodeDate(y, m, d, result)) throw EConvertError(DateText(y, m, d) + " is not a valid date");
    return result;
}

TDateTime EncodeTime(Word h, Word n, Word s, Word ms)
{
    TDateTime result = 0;
    if (!TryEncodeTime(h, n, s, ms, result))
        throw EConvertError(std::to_string(h) + ":" + std::to_string(n) + ":" + std::to_string(s) + "." +
                            std::to_string(ms) + " is not a valid time");
    return result;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time)
{
    // The time of day counts away from zero on a negative date.
    return date < 0 ? date - std::fabs(time) : date + std::fabs(time);
}

TDateTime EncodeDateTime(Word y, Word m, Word d, Word h, Word n, Word s, Word ms)
{
    return ComposeDateTime(EncodeDate(y, m, d), EncodeTime(h, n, s, ms));
}

void DecodeDate(TDateTime t, Word& y, Word& m, Word& d)
{
    const Split split = SplitValue(t);
    const year_month_day ymd{Origin + days{split.day}};
    const int yy = static_cast<int>(ymd.year());
    if (!ValidYear(yy)) throw EConvertError("The date value " + NumberText(t) + " lies outside the years 1 to 9999");
    y = static_cast<Word>(yy);
    m = static_cast<Word>(static_cast<unsigned>(ymd.month()));
    d = static_cast<Word>(static_cast<unsigned>(ymd.day()));
}

void DecodeTime(TDateTime t, Word& h, Word& n, Word& s, Word& ms)
{
    int64_t rest = SplitValue(t).msOfDay;
    ms = static_cast<Word>(rest % 1000);
    rest /= 1000;
    s = static_cast<Word>(rest % 60);
    rest /= 60;
    n = static_cast<Word>(rest % 60);
    h = static_cast<Word>(rest / 60);
}

void DecodeDateTime(TDateTime t, Word& y, Word& m, Word& d, Word& h, Word& n, Word& s, Word& ms)
{
    DecodeDate(t, y, m, d);
    DecodeTime(t, h, n, s, ms);
}

int DayOfWeek(TDateTime t)
{
    if (!std::isfinite(t)) throw EConvertError("The date and time value is not a number");
    // Of the day part as it stands, not rounded: the origin was a Saturday.
    // Worked out in floating point, exact for any day however far from the origin.
    double r = std::fmod(std::trunc(t) - 1.0, 7.0);
    if (r < 0) r += 7.0;
    return static_cast<int>(r) + 1;
}

int64_t DateTimeToMSecs(TDateTime t)
{
    // The time of day always counts forward from the day: -1.25 is day -1 plus 6 hours.
    const Split split = SplitValue(t);
    return split.day * MSecsPerDay + split.msOfDay;
}

TDateTime MSecsToDateTime(int64_t msecs)
{
    int64_t day = msecs / MSecsPerDay;
    int64_t rest = msecs % MSecsPerDay;
    if (rest < 0) {
        rest += MSecsPerDay;
        --day;
    }
    return ComposeDateTime(static_cast<double>(day), static_cast<double>(rest) / static_cast<double>(MSecsPerDay));
}

TDateTime IncMilliSecond(TDateTime t, int64_t msecs)
{
    int64_t sum = 0;
    if (__builtin_add_overflow(DateTimeToMSecs(t), msecs, &sum))
        throw EConvertError("Adding " + std::to_string(msecs) + " ms to " + NumberText(t) + " leaves the range of dates");
    return MSecsToDateTime(sum);
}

TDateTime Now() { return ApplicationClock().Now(); }

TDateTime Date() { return std::trunc(ApplicationClock().Now()); }

TDateTime QDateTimeToDateTime(const QDateTime& value)
{
    if (!value.isValid()) throw EConvertError("The date and time is not valid");
    const QDate date = value.date();
    const TDateTime day = EncodeDate(static_cast<Word>(date.year()), static_cast<Word>(date.month()),
                                     static_cast<Word>(date.day()));
    const double time = static_cast<double>(value.time().msecsSinceStartOfDay()) / static_cast<double>(MSecsPerDay);
    return ComposeDateTime(day, time);
}

namespace {

QDateTime FieldsOf(TDateTime t, Qt::TimeSpec zone)
{
    Word y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
    DecodeDateTime(t, y, m, d, h, n, s, ms);
    return QDateTime(QDate(y, m, d), QTime(h, n, s, ms), zone);
}

}  // namespace

QDateTime DateTimeToQDateTime(TDateTime t) { return FieldsOf(t, Qt::LocalTime); }

QDateTime DateTimeToUtcQDateTime(TDateTime t) { return FieldsOf(t, Qt::UTC); }

}  // namespace vxplan
