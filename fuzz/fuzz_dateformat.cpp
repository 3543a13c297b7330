// Date and time parsing and formatting with random text, random formats and random settings.
//
// Any text and any settings either parse or fail with EConvertError, and what parses is a value
// of the calendar. Any format formats any value of the calendar. Where the settings make the
// text of a value unambiguous (numeric fields, a separator that is no digit, a century window
// that holds the year), the formatted text of a date, a time or both parses back to that value.
#include "vxFuzzCheck.h"

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxDateFormat.h>
#include <vxplan/platform/time/vxDateUtils.h>
#include <vxplan/platform/time/vxFormatSettings.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>

using namespace vxplan;

namespace {

// The current year decides where two-digit years go; the clock stands still on this day.
constexpr Word kThisYear = 2026;

std::string Describe(const std::string& text, const TFormatSettings& fs)
{
    return "text '" + text + "' short date '" + fs.ShortDateFormat + "' long time '" + fs.LongTimeFormat +
           "' date sep " + std::to_string(static_cast<int>(fs.DateSeparator)) + " time sep " +
           std::to_string(static_cast<int>(fs.TimeSeparator)) + " decimal sep " +
           std::to_string(static_cast<int>(fs.DecimalSeparator)) + " window " +
           std::to_string(fs.TwoDigitYearCenturyWindow) + " am '" + fs.TimeAMString + "' pm '" + fs.TimePMString + "'";
}

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

template <size_t N>
void RandomNames(FuzzedDataProvider& in, std::array<std::string, N>& names)
{
    if (!in.ConsumeBool()) return;
    for (auto& name : names) name = in.ConsumeRandomLengthString(12);
}

TFormatSettings RandomSettings(FuzzedDataProvider& in)
{
    TFormatSettings fs = ClassicFormatSettings();
    fs.DateSeparator = in.ConsumeIntegral<char>();
    fs.TimeSeparator = in.ConsumeIntegral<char>();
    fs.DecimalSeparator = in.ConsumeIntegral<char>();
    fs.TwoDigitYearCenturyWindow = in.ConsumeIntegral<int>();
    fs.ShortDateFormat = in.ConsumeRandomLengthString(24);
    fs.LongDateFormat = in.ConsumeRandomLengthString(24);
    fs.ShortTimeFormat = in.ConsumeRandomLengthString(16);
    fs.LongTimeFormat = in.ConsumeRandomLengthString(16);
    fs.TimeAMString = in.ConsumeRandomLengthString(6);
    fs.TimePMString = in.ConsumeRandomLengthString(6);
    RandomNames(in, fs.ShortMonthNames);
    RandomNames(in, fs.LongMonthNames);
    RandomNames(in, fs.ShortDayNames);
    RandomNames(in, fs.LongDayNames);
    return fs;
}

bool InCalendar(TDateTime t) { return std::isfinite(t) && t > MinDateTime - 1 && t < MaxDateTime; }

// The Try and the throwing form of a parse agree, and a parse yields a value of the calendar.
template <class Try, class Str>
void CheckParse(const std::string& text, const TFormatSettings& fs, Try tryParse, Str strParse, bool timeOnly)
{
    TDateTime tried = 0;
    const bool ok = tryParse(text, tried, fs);
    if (ok) {
        VX_FUZZ_REQUIRE(InCalendar(tried), Describe(text, fs));
        if (timeOnly) VX_FUZZ_REQUIRE(tried >= 0 && tried < 1, Describe(text, fs));
        Word y = 0, m = 0, d = 0;
        DecodeDate(tried, y, m, d);  // must not throw
    }
    try {
        const TDateTime parsed = strParse(text, fs);
        VX_FUZZ_REQUIRE(ok && parsed == tried, Describe(text, fs));
    } catch (const EConvertError&) {
        VX_FUZZ_REQUIRE(!ok, Describe(text, fs));
    }
}

void ParseAnything(FuzzedDataProvider& in)
{
    const TFormatSettings fs = RandomSettings(in);
    const std::string text = in.ConsumeRandomLengthString(64);
    CheckParse(
        text, fs, [](const std::string& s, TDateTime& r, const TFormatSettings& f) { return TryStrToDate(s, r, f); },
        [](const std::string& s, const TFormatSettings& f) { return StrToDate(s, f); }, false);
    CheckParse(
        text, fs, [](const std::string& s, TDateTime& r, const TFormatSettings& f) { return TryStrToTime(s, r, f); },
        [](const std::string& s, const TFormatSettings& f) { return StrToTime(s, f); }, true);
    CheckParse(
        text, fs,
        [](const std::string& s, TDateTime& r, const TFormatSettings& f) { return TryStrToDateTime(s, r, f); },
        [](const std::string& s, const TFormatSettings& f) { return StrToDateTime(s, f); }, false);
}

void FormatAnything(FuzzedDataProvider& in)
{
    const TFormatSettings fs = RandomSettings(in);
    const std::string format = in.ConsumeRandomLengthString(48);
    const bool anyDouble = in.ConsumeBool();
    const TDateTime t = anyDouble ? in.ConsumeFloatingPoint<double>()
                                  : in.ConsumeFloatingPointInRange<double>(MinDateTime, MaxDateTime - 1);
    try {
        FormatDateTime(format, t, fs);
    } catch (const EConvertError&) {
        // Only a value outside the calendar has no text.
        VX_FUZZ_REQUIRE(!InCalendar(t) || t > MaxDateTime - 1, "t " + std::to_string(t) + " format '" + format + "'");
    }
}

// Settings whose numeric formats round-trip: d, m and y in a random order and width, split by
// the date separator token; a time of hours, minutes (n, or m right after h), seconds, perhaps
// milliseconds after a literal decimal separator and perhaps a 12-hour clock with ampm.
struct TRoundTripSettings {
    TFormatSettings fs = ClassicFormatSettings();
    bool twoDigitYear = false;
    bool withMsec = false;
};

// Letters only, at least one: a half-day string must not be read as digits or separators.
std::string HalfDayString(FuzzedDataProvider& in, const char* fallback)
{
    std::string s;
    for (char c : in.ConsumeRandomLengthString(5))
        if (std::isalpha(static_cast<unsigned char>(c))) s += c;
    return s.empty() ? fallback : s;
}

bool EndsWithNoCase(const std::string& s, const std::string& tail)
{
    if (tail.size() > s.size()) return false;
    for (size_t k = 0; k < tail.size(); ++k)
        if (std::toupper(static_cast<unsigned char>(s[s.size() - tail.size() + k])) !=
            std::toupper(static_cast<unsigned char>(tail[k])))
            return false;
    return true;
}

char SeparatorChar(FuzzedDataProvider& in, char fallback)
{
    const char c = in.ConsumeIntegral<char>();
    return c == 0 || IsDigit(c) ? fallback : c;
}

TRoundTripSettings RoundTripSettings(FuzzedDataProvider& in)
{
    TRoundTripSettings r;
    TFormatSettings& fs = r.fs;
    fs.DateSeparator = SeparatorChar(in, '-');
    fs.TimeSeparator = SeparatorChar(in, ':');
    fs.TwoDigitYearCenturyWindow = in.ConsumeIntegralInRange<int>(-150, 2100);

    static const char* const kDay[] = {"d", "dd"};
    static const char* const kMonth[] = {"m", "mm"};
    static const char* const kYear[] = {"y", "yy", "yyy", "yyyy"};
    const int yearWidth = in.ConsumeIntegralInRange(0, 3);
    r.twoDigitYear = yearWidth < 2;
    std::string fields[3] = {kDay[in.ConsumeIntegralInRange(0, 1)], kMonth[in.ConsumeIntegralInRange(0, 1)],
                             kYear[yearWidth]};
    static const int kOrders[6][3] = {{0, 1, 2}, {1, 0, 2}, {2, 1, 0}, {2, 0, 1}, {0, 2, 1}, {1, 2, 0}};
    const int* order = kOrders[in.ConsumeIntegralInRange(0, 5)];
    fs.ShortDateFormat = fields[order[0]] + "/" + fields[order[1]] + "/" + fields[order[2]];

    std::string time = in.ConsumeBool() ? "hh" : "h";
    time += ":";
    time += in.ConsumeBool() ? (in.ConsumeBool() ? "nn" : "n") : (in.ConsumeBool() ? "mm" : "m");
    time += in.ConsumeBool() ? ":ss" : ":s";
    r.withMsec = in.ConsumeBool();
    if (r.withMsec) {
        // Written into the format as it stands, so it must be no token there.
        static const char kDecimals[] = ".,;!#_-+*=%&?<>|~^";
        fs.DecimalSeparator = kDecimals[in.ConsumeIntegralInRange<size_t>(0, sizeof kDecimals - 2)];
        if (fs.DecimalSeparator == fs.TimeSeparator) fs.DecimalSeparator = fs.TimeSeparator == '.' ? ',' : '.';
        time += fs.DecimalSeparator;
        time += in.ConsumeBool() ? "zzz" : "z";
    }
    if (in.ConsumeBool()) {
        fs.TimeAMString = HalfDayString(in, "AM");
        fs.TimePMString = HalfDayString(in, "PM");
        // Told apart by their ends: neither may end the other.
        if (EndsWithNoCase(fs.TimeAMString, fs.TimePMString) || EndsWithNoCase(fs.TimePMString, fs.TimeAMString)) {
            fs.TimeAMString = "AM";
            fs.TimePMString = "PM";
        }
        time += in.ConsumeBool() ? " ampm" : "ampm";
    }
    fs.LongTimeFormat = time;
    return r;
}

struct TFields {
    Word y = 1, m = 1, d = 1, h = 0, n = 0, s = 0, ms = 0;
};

std::string FieldText(const TFields& f)
{
    return std::to_string(f.y) + "-" + std::to_string(f.m) + "-" + std::to_string(f.d) + " " + std::to_string(f.h) +
           ":" + std::to_string(f.n) + ":" + std::to_string(f.s) + "." + std::to_string(f.ms);
}

TFields Decoded(TDateTime t)
{
    TFields f;
    DecodeDateTime(t, f.y, f.m, f.d, f.h, f.n, f.s, f.ms);
    return f;
}

// Whether a two-digit year of this year parses back to it: within the hundred years the window
// opens (a window of 0 keeps the current century; a window reaching before year 1 is not
// checked).
bool WindowHolds(int window, Word year)
{
    if (window == 0) return year / 100 == kThisYear / 100;
    const int start = kThisYear - window;
    if (window < 0 || start < 1) return false;
    return year >= start && year <= start + 99;
}

void RoundTrip(FuzzedDataProvider& in)
{
    const TRoundTripSettings r = RoundTripSettings(in);
    const TFormatSettings& fs = r.fs;
    TFields want;
    want.y = in.ConsumeIntegralInRange<Word>(1, 9999);
    want.m = in.ConsumeIntegralInRange<Word>(1, 12);
    want.d = in.ConsumeIntegralInRange<Word>(1, DaysInAMonth(want.y, want.m));
    want.h = in.ConsumeIntegralInRange<Word>(0, 23);
    want.n = in.ConsumeIntegralInRange<Word>(0, 59);
    want.s = in.ConsumeIntegralInRange<Word>(0, 59);
    want.ms = r.withMsec ? in.ConsumeIntegralInRange<Word>(0, 999) : 0;
    const TDateTime date = EncodeDate(want.y, want.m, want.d);
    const TDateTime time = EncodeTime(want.h, want.n, want.s, want.ms);
    const bool yearHolds = !r.twoDigitYear || WindowHolds(fs.TwoDigitYearCenturyWindow, want.y);

    const std::string dateText = FormatDateTime("ddddd", date, fs);
    TDateTime parsed = 0;
    const bool dateOk = TryStrToDate(dateText, parsed, fs);
    if (yearHolds) {
        VX_FUZZ_REQUIRE(dateOk && parsed == date, Describe(dateText, fs) + " want " + FieldText(want));
    } else if (dateOk) {
        const TFields got = Decoded(parsed);
        VX_FUZZ_REQUIRE(got.y % 100 == want.y % 100 && got.m == want.m && got.d == want.d,
                        Describe(dateText, fs) + " want " + FieldText(want) + " got " + FieldText(got));
    }

    const std::string timeText = FormatDateTime("tt", time, fs);
    VX_FUZZ_REQUIRE(TryStrToTime(timeText, parsed, fs) && parsed == time,
                    Describe(timeText, fs) + " want " + FieldText(want));

    // c leaves the time out at midnight, milliseconds and all. A blank date separator makes
    // the text of a date alone read as a shorter date and an hour: no round trip then.
    const TDateTime both = ComposeDateTime(date, time);
    const std::string bothText = FormatDateTime("c", both, fs);
    if (yearHolds && fs.DateSeparator != ' ') {
        TFields expect = want;
        if (want.h == 0 && want.n == 0 && want.s == 0) expect.ms = 0;
        const bool ok = TryStrToDateTime(bothText, parsed, fs);
        VX_FUZZ_REQUIRE(ok, Describe(bothText, fs) + " want " + FieldText(expect));
        const TFields got = Decoded(parsed);
        VX_FUZZ_REQUIRE(got.y == expect.y && got.m == expect.m && got.d == expect.d && got.h == expect.h &&
                            got.n == expect.n && got.s == expect.s && got.ms == expect.ms,
                        Describe(bothText, fs) + " want " + FieldText(expect) + " got " + FieldText(got));
    }
}

// The fields of one value agree with each other whatever its fraction: the weekday named is the
// weekday of the day printed, also for a time that rounds up to the next midnight.
void FieldsAgree(FuzzedDataProvider& in)
{
    const TFormatSettings fs = ClassicFormatSettings();
    const TDateTime t = in.ConsumeFloatingPointInRange<double>(MinDateTime, MaxDateTime - 1);
    const TFields f = Decoded(t);
    const std::string text = FormatDateTime("yyyy/mm/dd hh:nn:ss.zzz dddd", t, fs);
    const std::string weekday = fs.LongDayNames[static_cast<size_t>(DayOfWeek(EncodeDate(f.y, f.m, f.d)) - 1)];
    TFields shown;
    char name[16] = {};
    const int n = std::sscanf(text.c_str(), "%hu-%hu-%hu %hu:%hu:%hu.%hu %15s", &shown.y, &shown.m, &shown.d, &shown.h,
                              &shown.n, &shown.s, &shown.ms, name);
    VX_FUZZ_REQUIRE(n == 8, text);
    VX_FUZZ_REQUIRE(shown.y == f.y && shown.m == f.m && shown.d == f.d && shown.h == f.h && shown.n == f.n &&
                        shown.s == f.s && shown.ms == f.ms,
                    text + " decoded " + FieldText(f));
    VX_FUZZ_REQUIRE(weekday == name, text + " t " + std::to_string(t) + " is a " + weekday);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static TTestClock clock(EncodeDate(kThisYear, 12, 8) + 0.5);
    SetApplicationClock(&clock);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: ParseAnything(in); break;
    case 1: FormatAnything(in); break;
    case 2: RoundTrip(in); break;
    default: FieldsAgree(in); break;
    }
    return 0;
}
