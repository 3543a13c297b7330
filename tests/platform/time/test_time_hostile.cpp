// Calendar and parsing against hostile values: days far beyond the calendar, millisecond steps
// at the edge of the 64-bit range, a century window at the edge of the int range, and messages
// that name such values readably.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxDateFormat.h>
#include <vxplan/platform/time/vxDateUtils.h>
#include <vxplan/platform/time/vxFormatSettings.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

using namespace vxplan;

TEST(HostileCalendar, WeekdaysOfDaysFarFromTheOriginStayInTheWeek)
{
    for (const double t : {1e300, -1e300, 9.2e18, -9.2e18, 1e16 + 0.5}) {
        SCOPED_TRACE(t);
        const int d = DayOfWeek(t);
        EXPECT_GE(d, 1);
        EXPECT_LE(d, 7);
    }
    EXPECT_EQ(DayOfWeek(0.0), 7) << "30 December 1899 was a Saturday";
    EXPECT_EQ(DayOfWeek(-1.5), 6);
}

TEST(HostileCalendar, MillisecondStepsBeyondTheRangeAreRefused)
{
    EXPECT_THROW(IncMilliSecond(MaxDateTime, INT64_MAX), EConvertError);
    EXPECT_THROW(IncMilliSecond(-MaxDateTime, INT64_MIN), EConvertError);
    EXPECT_DOUBLE_EQ(IncMilliSecond(1.0, 86400000), 2.0);
}

TEST(HostileCalendar, MessagesNameHugeValuesShortly)
{
    for (const double t : {-1e300, 1e300}) {
        try {
            Word y = 0, m = 0, d = 0;
            DecodeDate(t, y, m, d);
            ADD_FAILURE() << "no error for " << t;
        } catch (const EConvertError& e) {
            const std::string what = e.what();
            EXPECT_LT(what.size(), 80u) << what;
            EXPECT_NE(what.find("e+300"), std::string::npos) << what;
        }
    }
}

TEST(HostileCalendar, AnyCenturyWindowPlacesTwoDigitYearsOrFailsTheParse)
{
    const TTestClockScope clock(EncodeDate(2026, 12, 8));
    TFormatSettings fs = ClassicFormatSettings();
    fs.ShortDateFormat = "dd-mm-yy";
    for (const int window : {INT_MIN, -1, 0, 50, INT_MAX}) {
        SCOPED_TRACE(window);
        fs.TwoDigitYearCenturyWindow = window;
        TDateTime t = 0;
        if (TryStrToDate("08-12-26", t, fs)) {
            Word y = 0, m = 0, d = 0;
            DecodeDate(t, y, m, d);
            EXPECT_EQ(y % 100, 26);
            EXPECT_EQ(m, 12);
        }
    }
    fs.TwoDigitYearCenturyWindow = 50;
    TDateTime t = 0;
    ASSERT_TRUE(TryStrToDate("08-12-26", t, fs));
    EXPECT_EQ(t, EncodeDate(2026, 12, 8));
}

TEST(HostileFormat, AWeekdayNameIsOfTheDayPrintedWhenTheTimeRoundsToMidnight)
{
    const TFormatSettings fs = ClassicFormatSettings();
    // Within half a millisecond of the next midnight, on either side of the origin.
    const TDateTime tuesday = EncodeDate(2024, 3, 5);
    EXPECT_EQ(FormatDateTime("dddd d hh:nn:ss.zzz", tuesday - 1e-10, fs), "Tuesday 5 00:00:00.000");
    EXPECT_EQ(FormatDateTime("ddd d", tuesday - 1e-10, fs), "Tue 5");
    const TDateTime firstDay = EncodeDate(1, 1, 1);  // a Monday, counted back from 1899
    EXPECT_EQ(FormatDateTime("dddd yyyy-mm-dd", firstDay + 1e-10, fs), "Monday 0001-01-01");
    EXPECT_EQ(FormatDateTime("dddddd", -1.9999999999, fs), "Thursday, 28 December 1899");
}
