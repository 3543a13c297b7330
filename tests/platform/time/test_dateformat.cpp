// Expected texts marked "recorded" were taken from the platform's reference implementation of
// FormatDateTime and the date and time conversions, run on the same values and settings.
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxDateFormat.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>

using namespace vxplan;

namespace {

class DateFormat : public ::testing::Test {
protected:
    TFormatSettings fs = ClassicFormatSettings();
    const TDateTime tue = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);  // a Tuesday afternoon
    const TDateTime early = EncodeDateTime(2024, 3, 5, 0, 7, 9, 5);
    std::string F(const std::string& format, TDateTime t) const { return FormatDateTime(format, t, fs); }
};

}  // namespace

TEST_F(DateFormat, DayMonthYearAndTimeTokensAtEveryLength)
{
    const TDateTime old = EncodeDateTime(987, 11, 25, 9, 3, 0, 0);
    const struct {
        const char* format;
        TDateTime t;
        const char* text;
    } cases[] = {
        // recorded
        {"d", tue, "5"}, {"dd", tue, "05"}, {"ddd", tue, "Tue"}, {"dddd", tue, "Tuesday"},
        {"ddddd", tue, "2024-03-05"}, {"dddddd", tue, "Tuesday, 5 March 2024"},
        {"ddddddd", tue, "Tuesday, 5 March 2024"}, {"DDDD", tue, "Tuesday"},
        {"m", tue, "3"}, {"mm", tue, "03"}, {"mmm", tue, "Mar"}, {"mmmm", tue, "March"}, {"mmmmm", tue, "March"},
        {"d mmmm", EncodeDate(2024, 12, 31), "31 December"},
        {"y", tue, "24"}, {"yy", tue, "24"}, {"yyy", tue, "2024"}, {"yyyy", tue, "2024"}, {"yyyyy", tue, "2024"},
        {"yy", old, "87"}, {"yyyy", old, "0987"}, {"y", EncodeDate(2005, 1, 1), "05"},
        {"h", tue, "14"}, {"hh", tue, "14"}, {"hhh", tue, "14"}, {"h", early, "0"}, {"hh", early, "00"},
        {"n", tue, "7"}, {"nn", tue, "07"}, {"nnn", tue, "07"}, {"s", tue, "9"}, {"ss", tue, "09"},
        {"z", tue, "45"}, {"zz", tue, "045"}, {"zzz", tue, "045"}, {"z", early, "5"}, {"zzz", early, "005"},
        {"t", tue, "14:07"}, {"tt", tue, "14:07:09"}, {"ttt", tue, "14:07:09"},
    };
    for (const auto& c : cases) EXPECT_EQ(F(c.format, c.t), c.text) << "format " << c.format;
}

TEST_F(DateFormat, MRightAfterAnHourMeansMinutes)
{
    // recorded
    EXPECT_EQ(F("h:m", tue), "14:7");
    EXPECT_EQ(F("hh:mm", tue), "14:07");
    EXPECT_EQ(F("hhmm", tue), "1407");
    EXPECT_EQ(F("h.m", tue), "14.7");
    EXPECT_EQ(F("hh\"x\"mm", tue), "14x07");
    EXPECT_EQ(F("mm-hh-mm", tue), "03-14-07");
    EXPECT_EQ(F("hh:mm:ss", tue), "14:07:09");
    // A blank or another token in between makes it a month again.
    EXPECT_EQ(F("hh mm", tue), "14 03");
    EXPECT_EQ(F("hh:nn mm", tue), "14:07 03");
    EXPECT_EQ(F("nn:mm", tue), "07:03");
    EXPECT_EQ(F("ss mm", tue), "09 03");
    // Inside a time format m is always minutes.
    fs.LongTimeFormat = "hh:mm";
    EXPECT_EQ(F("tt", tue), "14:07");
}

TEST_F(DateFormat, ShortDateAndTimeOmitsAMidnightTime)
{
    // recorded
    EXPECT_EQ(F("c", tue), "2024-03-05 14:07:09");
    EXPECT_EQ(F("c", EncodeDate(2024, 3, 5)), "2024-03-05");
    EXPECT_EQ(F("c", EncodeDate(2024, 3, 5) + EncodeTime(0, 0, 0, 500)), "2024-03-05");
    EXPECT_EQ(F("c", 0), "1899-12-30");
    EXPECT_EQ(F("c", -1.25), "1899-12-29 06:00:00");
    EXPECT_EQ(F("", tue), "2024-03-05 14:07:09");
    EXPECT_EQ(F("dddddd", -1.25), "Friday, 29 December 1899");
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
    // recorded
    EXPECT_EQ(F("yyyy\"/\"mm'/'dd", tue), "2024/03/05");
    EXPECT_EQ(F("\"quoted d\" d", tue), "quoted d 5");
    EXPECT_EQ(F("'single m' m", tue), "single m 3");
    EXPECT_EQ(F("\"unterminated", tue), "unterminated");
    EXPECT_EQ(F("[h]", tue), "[14]");
    EXPECT_EQ(F("1 ! ? - ,", tue), "1 ! ? - ,");
    // Letters that are no token keep their case.
    EXPECT_EQ(F("x d X q e g", tue), "x 5 X q e g");
    EXPECT_EQ(F("a", tue), "a");
    EXPECT_EQ(F("\"März\" mmmm", tue), "März March");
}

TEST_F(DateFormat, HalfDayTokensFollowTheirOwnCase)
{
    // recorded
    EXPECT_EQ(F("h am/pm", tue), "2 pm");
    EXPECT_EQ(F("h AM/PM", tue), "2 PM");
    EXPECT_EQ(F("h Am/Pm", tue), "2 Pm");
    EXPECT_EQ(F("h aM/pM", tue), "2 pM");
    EXPECT_EQ(F("h a/p", tue), "2 p");
    EXPECT_EQ(F("h A/P", tue), "2 P");
    EXPECT_EQ(F("h ampm", tue), "2 PM");
    EXPECT_EQ(F("h AMPM", tue), "2 PM");
    EXPECT_EQ(F("hh:nn ampm", tue), "02:07 PM");
    EXPECT_EQ(F("h am/pm", early), "12 am");
    EXPECT_EQ(F("h a/p", early), "12 a");
    EXPECT_EQ(F("h ampm", early), "12 AM");
    EXPECT_EQ(F("hh a/p", EncodeTime(12, 0, 0, 0)), "12 p");
    EXPECT_EQ(F("h a/p", EncodeTime(23, 0, 0, 0)), "11 p");
    EXPECT_EQ(F("am/pm h", tue), "pm 2") << "the 12-hour clock holds wherever the token stands";
    EXPECT_EQ(F("\"am/pm\" h", tue), "am/pm 14") << "a quoted one is text";
    EXPECT_EQ(F("h \"a/p\"", tue), "14 a/p");
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
    TDateTime D(const std::string& s) const { return StrToDate(s, fs); }
    TDateTime T(const std::string& s) const { return StrToTime(s, fs); }
    TDateTime DT(const std::string& s) const { return StrToDateTime(s, fs); }
    std::string DateError(const std::string& s) const
    {
        try {
            StrToDate(s, fs);
        } catch (const EConvertError& e) {
            return e.Message();
        }
        return "no error";
    }
    std::string TimeError(const std::string& s) const
    {
        try {
            StrToTime(s, fs);
        } catch (const EConvertError& e) {
            return e.Message();
        }
        return "no error";
    }
};

}  // namespace

TEST_F(DateParse, DatesFollowTheShortDateOrder)
{
    // recorded
    EXPECT_EQ(D("2024-02-29"), 45351);
    EXPECT_EQ(D("0024-3-5"), -685129);
    EXPECT_EQ(D("024-3-5"), -685129);
    EXPECT_EQ(D(" 2024-3-5 "), 45356);
    EXPECT_EQ(D("2024 - 3 - 5"), 45356);
    EXPECT_EQ(D("9999-12-31"), 2958465);
    EXPECT_EQ(D("1899-12-29"), -1);
    EXPECT_EQ(D("1800-1-1"), -36522);
    fs.ShortDateFormat = "dd/mm/yyyy";
    fs.DateSeparator = '.';
    EXPECT_EQ(D("05.03.2024"), 45356);
    EXPECT_EQ(D("5.3.24"), 45356);
    EXPECT_EQ(D("31.12.99"), 36525);
    fs.ShortDateFormat = "m/d/yy";
    fs.DateSeparator = '/';
    EXPECT_EQ(D("3/5/24"), 45356);
    EXPECT_EQ(D("12/31/1999"), 36525);
    fs.ShortDateFormat = "d mmm yyyy";
    fs.DateSeparator = ' ';
    EXPECT_EQ(D("5 3 2024"), 45356);
}

TEST_F(DateParse, TwoDigitYearsFallInTheCenturyWindow)
{
    // recorded, with the current year 2026 and a window of 50
    EXPECT_EQ(D("24-3-5"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(D("75-3-5"), EncodeDate(2075, 3, 5));
    EXPECT_EQ(D("76-3-5"), EncodeDate(1976, 3, 5));
    EXPECT_EQ(D("77-3-5"), EncodeDate(1977, 3, 5));
    EXPECT_EQ(D("25-3-5"), EncodeDate(2025, 3, 5));
    EXPECT_EQ(D("1-1-1"), EncodeDate(2001, 1, 1));
    fs.TwoDigitYearCenturyWindow = 0;
    EXPECT_EQ(D("75-3-5"), EncodeDate(2075, 3, 5));
    EXPECT_EQ(D("99-3-5"), EncodeDate(2099, 3, 5));
}

TEST_F(DateParse, MissingYearAndMonthAreTodays)
{
    // recorded
    EXPECT_EQ(D("3-5"), EncodeDate(2026, 3, 5));
    EXPECT_EQ(D("5"), EncodeDate(2026, 12, 5));
    fs.ShortDateFormat = "dd/mm/yyyy";
    fs.DateSeparator = '.';
    EXPECT_EQ(D("5.3"), EncodeDate(2026, 3, 5));
}

TEST_F(DateParse, BadDatesNameTheText)
{
    for (const char* bad : {"", "2023-02-29", "2024/3/5", "2024-3-5-1", "2024--5", "abc", "2024-3-5x", "10000-1-1",
                            "2024-13-1", "2024-0-1", "2024-3-", "-2024-3-5", "5 Mar 2024"})
        EXPECT_EQ(DateError(bad), std::string("'") + bad + "' is not a valid date");
    TDateTime t = 7;
    EXPECT_FALSE(TryStrToDate("2023-02-29", t, fs));
    EXPECT_EQ(t, 7) << "a failed try leaves the result alone";
    EXPECT_TRUE(TryStrToDate("2023-02-28", t, fs));
    EXPECT_EQ(t, EncodeDate(2023, 2, 28));
}

TEST_F(DateParse, Times)
{
    // recorded
    EXPECT_EQ(T("14:07"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(T("14:07:09"), EncodeTime(14, 7, 9, 0));
    EXPECT_EQ(T("14:07:09.045"), EncodeTime(14, 7, 9, 45));
    EXPECT_EQ(T("14:07:09.5"), EncodeTime(14, 7, 9, 5));
    EXPECT_EQ(T("14:7:9"), EncodeTime(14, 7, 9, 0));
    EXPECT_EQ(T(" 14:07 "), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(T("14"), EncodeTime(14, 0, 0, 0));
    EXPECT_EQ(T("2:07 PM"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(T("2:07 pm"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(T("2:07PM"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(T("12:00 AM"), 0);
    EXPECT_EQ(T("12:00 PM"), 0.5);
    EXPECT_EQ(T("12 PM"), 0.5);
    fs.TimeAMString = "fm";
    fs.TimePMString = "em";
    EXPECT_EQ(T("2:07 em"), EncodeTime(14, 7, 0, 0));
}

TEST_F(DateParse, BadTimesNameTheText)
{
    // recorded
    for (const char* bad : {"", "25:00", "23:60", "24:00", "abc", "14.07", "1:2:3:4", "2:07 P", "2:07 A", "13:00 PM",
                            "0:00 AM", "14:07:09.1234", "-1:00"})
        EXPECT_EQ(TimeError(bad), std::string("'") + bad + "' is not a valid time");
}

TEST_F(DateParse, DateAndTime)
{
    // recorded
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", DT("2024-03-05 14:07:09"), fs), "2024-03-05 14:07:09.000");
    EXPECT_EQ(DT("2024-03-05"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(DT("14:07"), EncodeTime(14, 7, 0, 0));
    EXPECT_EQ(DT("2024-03-05 2:07 PM"), EncodeDateTime(2024, 3, 5, 14, 7, 0, 0));
    EXPECT_EQ(DT("1899-12-29 06:00"), -1.25);
    EXPECT_EQ(DT("1800-01-01 18:00"), -36522.75);
    EXPECT_EQ(DT("2024-03-05  14:07"), EncodeDateTime(2024, 3, 5, 14, 7, 0, 0));
    for (const char* bad : {"2024-03-05 x", "x 14:07", "", "2024-03-05T14:07"}) {
        try {
            DT(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid date and time");
        }
    }
    fs.ShortDateFormat = "d mmm yyyy";
    fs.DateSeparator = ' ';
    EXPECT_EQ(DT("5 3 2024 14:07"), EncodeDateTime(2024, 3, 5, 14, 7, 0, 0)) << "blanks inside the date";
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
    char sep = 0;
    EXPECT_EQ(QtPatternToFormat("yyyy-MM-dd", &sep, '/'), "yyyy/mm/dd");
    EXPECT_EQ(sep, '-');
    sep = 0;
    EXPECT_EQ(QtPatternToFormat("M/d/yy", &sep, '/'), "m/d/yy");
    EXPECT_EQ(sep, '/');
    sep = 0;
    EXPECT_EQ(QtPatternToFormat("dd.MM.yyyy", &sep, '/'), "dd/mm/yyyy");
    EXPECT_EQ(sep, '.');
    sep = 0;
    EXPECT_EQ(QtPatternToFormat("HH:mm:ss", &sep, ':'), "hh:nn:ss");
    EXPECT_EQ(sep, ':');
    sep = 0;
    EXPECT_EQ(QtPatternToFormat("h:mm:ss AP t", &sep, ':'), "h:nn:ss ampm");
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

