// Date and time formatting, parsing and settings from locales. Texts marked "recorded" were taken
// from the platform's reference implementation of these conversions, run on the same values.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxDateFormat.h>

#include "support/vxTestSupport.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>

using namespace vxplan;
using vxplan::test::ErrorText;

namespace {

class DateFormat : public ::testing::Test {
protected:
    TFormatSettings fs = ClassicFormatSettings();
    const TDateTime tue = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);  // a Tuesday afternoon
    const TDateTime early = EncodeDateTime(2024, 3, 5, 0, 7, 9, 5);
    std::string F(const std::string& format, TDateTime t) const { return FormatDateTime(format, t, fs); }
    struct Row {
        const char* format;
        const char* text;
    };
    void Check(TDateTime t, std::initializer_list<Row> rows) const
    {
        for (const Row& r : rows) EXPECT_EQ(F(r.format, t), r.text) << "format " << r.format;
    }
};

}  // namespace

TEST_F(DateFormat, DayMonthYearAndTimeTokensAtEveryLength)
{
    // recorded
    Check(tue, {{"d", "5"}, {"dd", "05"}, {"ddd", "Tue"}, {"dddd", "Tuesday"}, {"ddddd", "2024-03-05"},
                {"dddddd", "Tuesday, 5 March 2024"}, {"ddddddd", "Tuesday, 5 March 2024"}, {"DDDD", "Tuesday"},
                {"m", "3"}, {"mm", "03"}, {"mmm", "Mar"}, {"mmmm", "March"}, {"mmmmm", "March"},
                {"y", "24"}, {"yy", "24"}, {"yyy", "2024"}, {"yyyy", "2024"}, {"yyyyy", "2024"},
                {"h", "14"}, {"hh", "14"}, {"hhh", "14"}, {"n", "7"}, {"nn", "07"}, {"nnn", "07"}, {"s", "9"},
                {"ss", "09"}, {"z", "45"}, {"zz", "045"}, {"zzz", "045"}, {"t", "14:07"}, {"tt", "14:07:09"},
                {"ttt", "14:07:09"}});
    Check(early, {{"h", "0"}, {"hh", "00"}, {"z", "5"}, {"zzz", "005"}});
    Check(EncodeDateTime(987, 11, 25, 9, 3, 0, 0), {{"yy", "87"}, {"yyyy", "0987"}});
    Check(EncodeDate(2005, 1, 1), {{"y", "05"}});
    Check(EncodeDate(2024, 12, 31), {{"d mmmm", "31 December"}});
}

TEST_F(DateFormat, MRightAfterAnHourMeansMinutes)
{
    // recorded; a blank or another token in between makes it a month again
    Check(tue, {{"h:m", "14:7"}, {"hh:mm", "14:07"}, {"hhmm", "1407"}, {"h.m", "14.7"}, {"hh\"x\"mm", "14x07"},
                {"mm-hh-mm", "03-14-07"}, {"hh:mm:ss", "14:07:09"}, {"hh mm", "14 03"}, {"hh:nn mm", "14:07 03"},
                {"nn:mm", "07:03"}, {"ss mm", "09 03"}});
    // Inside a time format m is always minutes.
    fs.LongTimeFormat = "hh:mm";
    EXPECT_EQ(F("tt", tue), "14:07");
}

TEST_F(DateFormat, ShortDateAndTimeOmitsAMidnightTime)
{
    // recorded
    Check(tue, {{"c", "2024-03-05 14:07:09"}, {"", "2024-03-05 14:07:09"}});
    EXPECT_EQ(F("c", EncodeDate(2024, 3, 5)), "2024-03-05");
    EXPECT_EQ(F("c", EncodeDate(2024, 3, 5) + EncodeTime(0, 0, 0, 500)), "2024-03-05");
    EXPECT_EQ(F("c", 0), "1899-12-30");
    Check(-1.25, {{"c", "1899-12-29 06:00:00"}, {"dddddd", "Friday, 29 December 1899"}});
}

TEST_F(DateFormat, SeparatorTokensTakeTheSettings)
{
    // recorded
    EXPECT_EQ(F("yyyy/mm/dd hh:nn:ss", tue), "2024-03-05 14:07:09");
    EXPECT_EQ(F("m/d h", tue), "3-5 14");
    fs.DateSeparator = '.';
    fs.TimeSeparator = '.';
    EXPECT_EQ(F("dd/mm/yyyy hh:nn", tue), "05.03.2024 14.07");
    EXPECT_EQ(F("ddddd", tue), "2024-03-05") << "a literal '-' in the short date stays";
    EXPECT_EQ(F("c", tue), "2024-03-05 14.07.09");
    fs.ShortDateFormat = "dd/mm/yy";
    EXPECT_EQ(F("ddddd", tue), "05.03.24");
    EXPECT_EQ(F("c", tue), "05.03.24 14.07.09");
}

TEST_F(DateFormat, QuotedTextAndOtherCharactersAreCopied)
{
    // recorded; letters that are no token keep their case
    Check(tue, {{"yyyy\"/\"mm'/'dd", "2024/03/05"}, {"\"quoted d\" d", "quoted d 5"}, {"'single m' m", "single m 3"},
                {"\"unterminated", "unterminated"}, {"[h]", "[14]"}, {"1 ! ? - ,", "1 ! ? - ,"},
                {"x d X q e g", "x 5 X q e g"}, {"a", "a"}, {"\"März\" mmmm", "März March"}});
}

TEST_F(DateFormat, HalfDayTokensFollowTheirOwnCase)
{
    // recorded; the 12-hour clock holds wherever the token stands, a quoted one is text
    Check(tue, {{"h am/pm", "2 pm"}, {"h AM/PM", "2 PM"}, {"h Am/Pm", "2 Pm"}, {"h a/p", "2 p"}, {"h A/P", "2 P"},
                {"h ampm", "2 PM"}, {"hh:nn ampm", "02:07 PM"}, {"am/pm h", "pm 2"}, {"\"am/pm\" h", "am/pm 14"},
                {"h \"a/p\"", "14 a/p"}});
    Check(early, {{"h am/pm", "12 am"}, {"h ampm", "12 AM"}});
    Check(EncodeTime(12, 0, 0, 0), {{"hh a/p", "12 p"}});
    Check(EncodeTime(23, 0, 0, 0), {{"h a/p", "11 p"}});
    fs.TimeAMString = "fm";
    fs.TimePMString = "em";
    EXPECT_EQ(F("h ampm", tue), "2 em");
    fs.ShortTimeFormat = "h:mm am/pm";
    EXPECT_EQ(F("t", tue), "2:07 pm");
}

TEST_F(DateFormat, NestedFormatsExpandOneLevelOnly)
{
    // recorded
    fs.DateSeparator = '.';
    fs.TimeSeparator = '.';
    fs.ShortDateFormat = "c";
    EXPECT_EQ(F("ddddd", tue), " ");
    fs.LongTimeFormat = "hh:mm";
    EXPECT_EQ(F("c", tue), "  14.07");
}

TEST_F(DateFormat, NamesAreUtf8)
{
    fs.LongMonthNames[2] = "März";
    fs.ShortMonthNames[5] = "jún";
    fs.LongDayNames[2] = "tisdag";
    EXPECT_EQ(F("d mmmm yyyy", tue), "5 März 2024");
    EXPECT_EQ(F("mmm", EncodeDate(2024, 6, 1)), "jún");
    EXPECT_EQ(F("dddd", tue), "tisdag");
}

TEST_F(DateFormat, ConvenienceFunctionsUseTheSettingsInForce)
{
    const TFormatSettings saved = FormatSettings();
    SetFormatSettings(ClassicFormatSettings());
    EXPECT_EQ(DateToStr(tue), "2024-03-05");
    EXPECT_EQ(TimeToStr(tue), "14:07:09");
    EXPECT_EQ(DateTimeToStr(tue), "2024-03-05 14:07:09");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "2024-03-05");
    EXPECT_EQ(FormatDateTime("dd mmm", tue), "05 Mar");
    EXPECT_EQ(StrToDate("2024-03-05"), EncodeDate(2024, 3, 5));
    SetFormatSettings(saved);
}

TEST_F(DateFormat, DatesOutsideTheCalendarAreAClearError)
{
    EXPECT_THROW(F("yyyy", -700000), EConvertError);
    EXPECT_EQ(F("hh:nn", -700000.5), "12:00") << "a time-only format needs no date";
}

// ---- parsing ----

namespace {

class DateParse : public ::testing::Test {
protected:
    // The century window and the missing year come from the clock: 7 December 2026.
    TTestClockScope scope{EncodeDate(2026, 12, 7)};
    TFormatSettings fs = ClassicFormatSettings();
    TDateTime DT(const std::string& s) const { return StrToDateTime(s, fs); }
    struct Row {
        const char* text;
        TDateTime value;
    };
    void Check(TDateTime (*parse)(const std::string&, const TFormatSettings&), std::initializer_list<Row> rows) const
    {
        for (const Row& r : rows) EXPECT_EQ(parse(r.text, fs), r.value) << "'" << r.text << "'";
    }
    // The message of the error parse raises on each of the texts.
    void CheckErrors(TDateTime (*parse)(const std::string&, const TFormatSettings&),
                     std::initializer_list<const char*> texts, const std::string& what) const
    {
        for (const char* bad : texts) {
            EXPECT_EQ(ErrorText<EConvertError>([&] { parse(bad, fs); }),
                      std::string("'") + bad + "' is not a valid " + what);
        }
    }
};

}  // namespace

TEST_F(DateParse, DatesFollowTheShortDateOrder)
{
    // recorded
    Check(StrToDate, {{"2024-02-29", 45351}, {"0024-3-5", -685129}, {"024-3-5", -685129}, {" 2024-3-5 ", 45356},
                      {"2024 - 3 - 5", 45356}, {"9999-12-31", 2958465}, {"1899-12-29", -1}, {"1800-1-1", -36522}});
    fs.ShortDateFormat = "dd/mm/yyyy";
    fs.DateSeparator = '.';
    Check(StrToDate, {{"05.03.2024", 45356}, {"5.3.24", 45356}, {"31.12.99", 36525}});
    fs.ShortDateFormat = "m/d/yy";
    fs.DateSeparator = '/';
    Check(StrToDate, {{"3/5/24", 45356}, {"12/31/1999", 36525}});
    fs.ShortDateFormat = "d mmm yyyy";
    fs.DateSeparator = ' ';
    EXPECT_EQ(StrToDate("5 3 2024", fs), 45356);
}

TEST_F(DateParse, TwoDigitYearsFallInTheCenturyWindowAndMissingYearAndMonthAreTodays)
{
    // recorded, with the current year 2026 and a window of 50
    Check(StrToDate, {{"24-3-5", EncodeDate(2024, 3, 5)}, {"75-3-5", EncodeDate(2075, 3, 5)},
                      {"76-3-5", EncodeDate(1976, 3, 5)}, {"25-3-5", EncodeDate(2025, 3, 5)},
                      {"1-1-1", EncodeDate(2001, 1, 1)}, {"3-5", EncodeDate(2026, 3, 5)}, {"5", EncodeDate(2026, 12, 5)}});
    fs.TwoDigitYearCenturyWindow = 0;
    Check(StrToDate, {{"75-3-5", EncodeDate(2075, 3, 5)}, {"99-3-5", EncodeDate(2099, 3, 5)}});
    fs.ShortDateFormat = "dd/mm/yyyy";
    fs.DateSeparator = '.';
    EXPECT_EQ(StrToDate("5.3", fs), EncodeDate(2026, 3, 5));
}

TEST_F(DateParse, BadDatesNameTheText)
{
    CheckErrors(StrToDate,
                {"", "2023-02-29", "2024/3/5", "2024-3-5-1", "2024--5", "abc", "2024-3-5x", "10000-1-1", "2024-13-1",
                 "2024-0-1", "2024-3-", "-2024-3-5", "5 Mar 2024"},
                "date");
    TDateTime t = 7;
    EXPECT_FALSE(TryStrToDate("2023-02-29", t, fs));
    EXPECT_EQ(t, 7) << "a failed try leaves the result alone";
    EXPECT_TRUE(TryStrToDate("2023-02-28", t, fs));
    EXPECT_EQ(t, EncodeDate(2023, 2, 28));
}

TEST_F(DateParse, Times)
{
    // recorded
    const TDateTime pm = EncodeTime(14, 7, 0, 0);
    Check(StrToTime, {{"14:07", pm}, {"14:07:09", EncodeTime(14, 7, 9, 0)}, {"14:07:09.045", EncodeTime(14, 7, 9, 45)},
                      {"14:07:09.5", EncodeTime(14, 7, 9, 5)}, {"14:7:9", EncodeTime(14, 7, 9, 0)}, {" 14:07 ", pm},
                      {"14", EncodeTime(14, 0, 0, 0)}, {"2:07 PM", pm}, {"2:07 pm", pm}, {"2:07PM", pm},
                      {"12:00 AM", 0}, {"12:00 PM", 0.5}, {"12 PM", 0.5}});
    CheckErrors(StrToTime,
                {"", "25:00", "23:60", "24:00", "abc", "14.07", "1:2:3:4", "2:07 P", "2:07 A", "13:00 PM", "0:00 AM",
                 "14:07:09.1234", "-1:00"},
                "time");
    fs.TimeAMString = "fm";
    fs.TimePMString = "em";
    EXPECT_EQ(StrToTime("2:07 em", fs), pm);
}

TEST_F(DateParse, DateAndTime)
{
    // recorded
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", DT("2024-03-05 14:07:09"), fs), "2024-03-05 14:07:09.000");
    const TDateTime pm = EncodeDateTime(2024, 3, 5, 14, 7, 0, 0);
    Check(StrToDateTime, {{"2024-03-05", EncodeDate(2024, 3, 5)}, {"14:07", EncodeTime(14, 7, 0, 0)},
                          {"2024-03-05 2:07 PM", pm}, {"1899-12-29 06:00", -1.25}, {"1800-01-01 18:00", -36522.75},
                          {"2024-03-05  14:07", pm}});
    CheckErrors(StrToDateTime, {"2024-03-05 x", "x 14:07", "", "2024-03-05T14:07"}, "date and time");
    fs.ShortDateFormat = "d mmm yyyy";
    fs.DateSeparator = ' ';
    EXPECT_EQ(DT("5 3 2024 14:07"), pm) << "blanks inside the date";
}

TEST_F(DateParse, FormattedTextsParseBack)
{
    for (TDateTime t : {EncodeDateTime(2024, 2, 29, 23, 59, 59, 0), EncodeDateTime(1800, 1, 1, 18, 0, 0, 0),
                        EncodeDateTime(1, 1, 1, 0, 0, 1, 0), EncodeDate(9999, 12, 31)})
        EXPECT_EQ(DT(FormatDateTime("c", t, fs)), t);
}

// ---- settings ----

TEST(FormatSettingsFromQt, PatternsBecomeTokens)
{
    const struct {
        const char* pattern;
        char separator;  // the default one
        const char* format;
        char found;  // the pattern's own
    } cases[] = {{"yyyy-MM-dd", '/', "yyyy/mm/dd", '-'}, {"M/d/yy", '/', "m/d/yy", '/'},
                 {"dd.MM.yyyy", '/', "dd/mm/yyyy", '.'}, {"HH:mm:ss", ':', "hh:nn:ss", ':'},
                 {"h:mm:ss AP t", ':', "h:nn:ss ampm", ':'}};
    for (const auto& c : cases) {
        char sep = 0;
        EXPECT_EQ(QtPatternToFormat(c.pattern, &sep, c.separator), c.format);
        EXPECT_EQ(sep, c.found) << c.pattern;
    }
    EXPECT_EQ(QtPatternToFormat("dddd, MMMM d, yyyy", nullptr, '/'), "dddd, mmmm d, yyyy");
    EXPECT_EQ(QtPatternToFormat("d 'de' MMMM 'de' yyyy", nullptr, '/'), "d \"de\" mmmm \"de\" yyyy");
    EXPECT_EQ(QtPatternToFormat("yyyy/MM/dd", nullptr, '/'), "yyyy\"/\"mm\"/\"dd") << "a slash that is text";
    EXPECT_EQ(QtPatternToFormat("h 'o''clock'", nullptr, ':'), "h \"o'clock\"");
}

TEST(FormatSettingsFromQt, LocaleSettingsFormatAndParseTheirOwnDates)
{
    const TDateTime t = EncodeDateTime(2024, 3, 23, 14, 5, 0, 0);
    const TFormatSettings de = FormatSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.DateSeparator, '.');
    EXPECT_EQ(de.LongMonthNames[2], "März");
    EXPECT_EQ(FormatDateTime("d mmmm", t, de), "23 März");
    EXPECT_EQ(FormatDateTime("t", t, de), "14:05");
    EXPECT_EQ(StrToDate(FormatDateTime("ddddd", t, de), de), std::trunc(t));
    const TFormatSettings us = FormatSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.DateSeparator, '/');
    EXPECT_EQ(FormatDateTime("ddddd", t, us), "3/23/24");
    EXPECT_EQ(FormatDateTime("t", t, us), "2:05 PM");
    EXPECT_EQ(StrToDateTime(FormatDateTime("c", t, us), us), t);
    EXPECT_EQ(us.LongDayNames[0], "Sunday");
    const TFormatSettings sv = FormatSettingsFromLocale(QLocale(QLocale::Swedish, QLocale::Sweden));
    EXPECT_EQ(FormatDateTime("ddddd", t, sv), "2024-03-23");
    EXPECT_EQ(sv.LongDayNames[6], "lördag");
    const TFormatSettings system = DefaultFormatSettings();
    EXPECT_FALSE(system.LongMonthNames[0].empty());
}

