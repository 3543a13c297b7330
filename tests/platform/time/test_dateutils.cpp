// Expected values marked "recorded" were taken from the platform's reference implementation of
// these routines, run on the same inputs.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxDateUtils.h>

#include "support/vxTestSupport.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

using namespace vxplan;
using vxplan::test::ErrorText;

namespace {

// Checks the decoded date and time of t, year first.
void ExpectDecoded(TDateTime t, Word y, Word m, Word d, Word h, Word n, Word s, Word ms)
{
    std::array<Word, 7> r{};
    DecodeDateTime(t, r[0], r[1], r[2], r[3], r[4], r[5], r[6]);
    EXPECT_EQ(r, (std::array{y, m, d, h, n, s, ms})) << "value " << t;
}

}  // namespace

TEST(Calendar, OriginIsDayZeroAndEarlierDatesAreNegative)
{
    // recorded
    const struct {
        Word y, m, d;
        TDateTime value;
    } dates[] = {{1899, 12, 30, 0},    {1899, 12, 29, -1}, {1, 1, 1, -693593},   {9999, 12, 31, 2958465},
                 {2024, 2, 29, 45351}, {1900, 3, 1, 61},   {2000, 2, 29, 36585}, {1800, 1, 1, -36522}};
    for (const auto& c : dates) EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.value) << c.y << "-" << c.m << "-" << c.d;
}

TEST(Calendar, NegativeValueCountsItsTimeOfDayForward)
{
    // recorded
    ExpectDecoded(-1.25, 1899, 12, 29, 6, 0, 0, 0);
    ExpectDecoded(-1.0, 1899, 12, 29, 0, 0, 0, 0);
    ExpectDecoded(-0.5, 1899, 12, 30, 12, 0, 0, 0);
    ExpectDecoded(-0.25, 1899, 12, 30, 6, 0, 0, 0);
    ExpectDecoded(1.5, 1899, 12, 31, 12, 0, 0, 0);
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    EXPECT_EQ(EncodeDateTime(1800, 1, 1, 18, 0, 0, 0), -36522.75);
    EXPECT_EQ(ComposeDateTime(-2.0, 0.5), -2.5);
    EXPECT_EQ(ComposeDateTime(2.0, 0.5), 2.5);
}

TEST(Calendar, RoundTripsAcrossNegativeAndPositiveDates)
{
    for (int y : {1, 2, 99, 100, 1582, 1600, 1800, 1899, 1900, 1970, 2000, 2024, 9999})
        for (int m = 1; m <= 12; ++m)
            for (int d : {1, 15, 28}) {
                const TDateTime t = EncodeDateTime(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), 13, 45,
                                                   30, 250);
                ExpectDecoded(t, static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), 13, 45, 30, 250);
            }
}

TEST(Calendar, DecodesBothEndsOfTheYearRange)
{
    // recorded
    ExpectDecoded(-693593.0, 1, 1, 1, 0, 0, 0, 0);
    ExpectDecoded(2958465.99999999, 9999, 12, 31, 23, 59, 59, 999);
    Word y = 0, m = 0, d = 0;
    EXPECT_THROW(DecodeDate(-693594.0, y, m, d), EConvertError);
    EXPECT_THROW(DecodeDate(2958466.0, y, m, d), EConvertError);
    EXPECT_THROW(DecodeDate(std::numeric_limits<double>::quiet_NaN(), y, m, d), EConvertError);
}

TEST(Calendar, LeapYearsFollowTheGregorianRules)
{
    for (auto [year, leap] : {std::pair{1900, false}, {2000, true}, {2024, true}, {2023, false}}) {
        EXPECT_EQ(IsLeapYear(static_cast<Word>(year)), leap) << year;
        EXPECT_EQ(DaysInAMonth(static_cast<Word>(year), 2), leap ? 29 : 28) << year;
    }
    EXPECT_EQ(DaysInAMonth(2023, 4), 30);
    EXPECT_EQ(DaysInAMonth(2023, 12), 31);
    TDateTime t = 0;
    EXPECT_TRUE(TryEncodeDate(2024, 2, 29, t));
    EXPECT_EQ(t, 45351.0);
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, t));
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29, t));
    EXPECT_EQ(t, 45351.0) << "a failed try leaves the result alone";
    ExpectDecoded(EncodeDate(1900, 2, 28) + 1, 1900, 3, 1, 0, 0, 0, 0);
    ExpectDecoded(EncodeDate(2024, 2, 28) + 1, 2024, 2, 29, 0, 0, 0, 0);
    EXPECT_THROW(DaysInAMonth(2023, 13), EConvertError);
}

TEST(Calendar, InvalidDatesAndTimesThrowNamingTheValues)
{
    TDateTime t = 0;
    for (auto [y, m, d] : {std::array<Word, 3>{0, 1, 1}, {10000, 1, 1}, {2024, 0, 1}, {2024, 1, 0}})
        EXPECT_FALSE(TryEncodeDate(y, m, d, t)) << y << "-" << m << "-" << d;
    for (auto [h, n, s, ms] : {std::array<Word, 4>{24, 0, 0, 0}, {23, 60, 0, 0}, {23, 0, 60, 0}, {0, 0, 0, 1000}})
        EXPECT_FALSE(TryEncodeTime(h, n, s, ms, t)) << h << ":" << n << ":" << s << "." << ms;
    EXPECT_EQ(ErrorText<EConvertError>([&] { EncodeDate(2023, 2, 29); }), "2023-2-29 is not a valid date");
    EXPECT_EQ(ErrorText<EConvertError>([&] { EncodeTime(25, 0, 0, 0); }), "25:0:0.0 is not a valid time");
}

TEST(Calendar, TimesEncodeAsFractionsOfADay)
{
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_NEAR(EncodeTime(23, 59, 59, 999), 0.999999988425926, 1e-15);  // recorded
    ExpectDecoded(45000.123456789, 2023, 3, 15, 2, 57, 46, 667);           // recorded
}

TEST(Calendar, TimesRoundToTheNearestMillisecondAndCarryIntoTheNextDay)
{
    // recorded
    ExpectDecoded(5.8e-9, 1899, 12, 30, 0, 0, 0, 1);
    ExpectDecoded(5.7e-9, 1899, 12, 30, 0, 0, 0, 0);
    ExpectDecoded(0.99999999999, 1899, 12, 31, 0, 0, 0, 0);
    ExpectDecoded(-0.99999999, 1899, 12, 30, 23, 59, 59, 999);
    ExpectDecoded(-0.9999999999, 1899, 12, 29, 0, 0, 0, 0);
    ExpectDecoded(-1.9999999, 1899, 12, 29, 23, 59, 59, 991);
    ExpectDecoded(-2.0000000058, 1899, 12, 28, 0, 0, 0, 1);
    // A day-end value one millisecond short does not round up.
    ExpectDecoded(EncodeDateTime(2024, 12, 31, 23, 59, 59, 999), 2024, 12, 31, 23, 59, 59, 999);
    ExpectDecoded(EncodeDate(2024, 12, 31) + 0.9999999999, 2025, 1, 1, 0, 0, 0, 0);
}

TEST(Calendar, DayOfWeekCountsFromSundayOfTheTruncatedDay)
{
    // recorded; 30 December 1899 was a Saturday
    for (auto [t, day] : {std::pair{0.0, 7}, {1.5, 1}, {-1.25, 6}, {-693593.0, 2}, {45351.0, 5}, {-0.9999999999, 7}})
        EXPECT_EQ(DayOfWeek(t), day) << t;
    for (int i = 0; i < 14; ++i) EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3) + i), i % 7 + 1);  // a Sunday
    for (int i = 0; i < 14; ++i) EXPECT_EQ(DayOfWeek(EncodeDate(1800, 1, 5) + i), i % 7 + 1);  // a Sunday
}

TEST(Calendar, MillisecondArithmeticRunsStraightAcrossTheOrigin)
{
    EXPECT_EQ(DateTimeToMSecs(0), 0);
    EXPECT_EQ(DateTimeToMSecs(-1.25), -64800000);
    EXPECT_EQ(MSecsToDateTime(-64800000), -1.25);
    EXPECT_EQ(IncMilliSecond(-1.25, 6 * 3600000), -1.5);  // 29 Dec 12:00
    ExpectDecoded(IncMilliSecond(-0.5, -18 * 3600000), 1899, 12, 29, 18, 0, 0, 0);
    ExpectDecoded(IncMilliSecond(-1.75, 12 * 3600000), 1899, 12, 30, 6, 0, 0, 0);
    ExpectDecoded(IncMilliSecond(45351.5, 1), 2024, 2, 29, 12, 0, 0, 1);
}

TEST(Calendar, QtDateTimesConvertToTheMillisecond)
{
    const QDateTime q(QDate(2024, 2, 29), QTime(13, 14, 15, 16));
    const TDateTime t = QDateTimeToDateTime(q);
    ExpectDecoded(t, 2024, 2, 29, 13, 14, 15, 16);
    EXPECT_EQ(DateTimeToQDateTime(t), q);
    EXPECT_EQ(QDateTimeToDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(DateTimeToQDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_THROW(QDateTimeToDateTime(QDateTime()), EConvertError);
}

TEST(Calendar, UtcQtDateTimesKeepEveryFieldToTheEndsOfTheCalendar)
{
    // A local time that a daylight-saving gap skips in many zones stays as it is in UTC.
    for (const TDateTime t : {EncodeDateTime(100, 1, 1, 0, 0, 0, 0), EncodeDateTime(9999, 12, 31, 23, 59, 59, 999),
                              EncodeDateTime(2021, 3, 28, 2, 30, 0, 1), EncodeDateTime(1, 1, 1, 12, 0, 0, 0), -1.25}) {
        const QDateTime q = DateTimeToUtcQDateTime(t);
        EXPECT_EQ(q.timeSpec(), Qt::UTC);
        EXPECT_EQ(QDateTimeToDateTime(q), t) << q.toString(Qt::ISODateWithMs).toStdString();
    }
    EXPECT_EQ(DateTimeToUtcQDateTime(EncodeDateTime(9999, 12, 31, 23, 59, 59, 999)),
              QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC));
    EXPECT_EQ(DateTimeToUtcQDateTime(EncodeDateTime(100, 1, 1, 0, 0, 0, 0)),
              QDateTime(QDate(100, 1, 1), QTime(0, 0), Qt::UTC));
    EXPECT_THROW(DateTimeToUtcQDateTime(MaxDateTime + 1), EConvertError);
}

TEST(Calendar, NowAndDateReadTheApplicationClock)
{
    TTestClockScope scope(EncodeDateTime(2024, 3, 5, 14, 7, 9, 0));
    EXPECT_EQ(Date(), EncodeDate(2024, 3, 5));
    ExpectDecoded(Now(), 2024, 3, 5, 14, 7, 9, 0);
    scope.Clock().SetNow(-1.25);
    EXPECT_EQ(Date(), -1.0);
    scope.Clock().Advance(3600000);
    ExpectDecoded(Now(), 1899, 12, 29, 7, 0, 0, 0);
}
