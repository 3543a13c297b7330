// Scale levels and the mark rows: which level a zoom selects, marks on calendar boundaries,
// hidden stretches, weeks, label and box positions and the failures of a rebuild.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxDateFormat.h>
#include <vxplan/scaler/vxScaler.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace vxplan;
using vxplan::test::ErrorText;

namespace {

const TDateTime kMonday = EncodeDate(2026, 3, 2);

class Marks : public ::testing::Test {
protected:
    Marks()
    {
        scaler.SetHorizontal(true);
        scaler.SetBounds(0, 0, 1500, 40);
    }

    // A range that makes PixelsForModeSwitch (15) pixels cover aSpan.
    void SpanOf15Pixels(TDateTime start, TDateTime aSpan)
    {
        scaler.SetStart(start);
        scaler.SetStop(start + aSpan * scaler.GetScaleLen() / 15);
    }

    TTestClockScope clock{46000.4};
    TvxDateScaler scaler;
};

Word Part(TDateTime t, char which)
{
    Word y, m, d;
    DecodeDate(t, y, m, d);
    return which == 'y' ? y : which == 'm' ? m : d;
}

}  // namespace

TEST_F(Marks, EachZoomSelectsTheLevelAboveItsSpan)
{
    const char* names[kScaleLevelCount] = {"1 tiondel", "1 sek",   "10 sek",    "1 min", "10 min",
                                           "1 timme",   "1 dag",   "1 vecka",   "1 månad", "3 månader",
                                           "1 år",    "10 år", "20 år",   "100 år"};
    scaler.SetBounds(0, 0, 150, 40);  // short, so that a century zoom stays inside the calendar
    for (int level = 0; level < kScaleLevelCount; ++level) {
        SCOPED_TRACE(names[level]);
        SpanOf15Pixels(EncodeDate(1950, 1, 1), 0.9 * kScaleLevels[level]);
        EXPECT_EQ(scaler.GetMinorStep(), kScaleLevels[level]);
        EXPECT_EQ(scaler.GetMinorStepName(), names[level]);
        const int major = std::min(level + 1, kScaleLevelCount - 1);
        EXPECT_EQ(scaler.GetMajorStep(), kScaleLevels[major]);
        EXPECT_EQ(scaler.GetMajorStepName(), names[major]);
    }
    std::string name;
    EXPECT_EQ(StepFork(kScale1Hour, name), kScale1Day) << "levels are strictly greater than the span";
    EXPECT_EQ(name, "1 dag");
    EXPECT_EQ(StepFork(kScale20Year, name), kScale100Year);
    EXPECT_EQ(StepFork(1e9, name), kScale100Year);
    EXPECT_EQ(StepFork(0, name), kScale10Hun);
}

TEST_F(Marks, AnHourPer20PixelsShowsHoursOverDays)
{
    scaler.SetStart(kMonday);
    scaler.SetStop(kMonday + 1500.0 / 20 * kHour);
    EXPECT_EQ(scaler.GetMinorStepName(), "1 timme");
    EXPECT_EQ(scaler.GetMajorStepName(), "1 dag");
    EXPECT_NEAR(scaler.GetTimeOf10Pixels(), kHour / 2, 1e-12);
    // Hour marks are whole hours counted from the origin, each 20 pixels on.
    const TScaleMarkList& minor = scaler.GetMinorMarks();
    ASSERT_GE(minor.size(), 75u);
    for (std::size_t i = 0; i < minor.size(); ++i) {
        EXPECT_NEAR(minor[i].Date, kMonday + static_cast<double>(i) * kHour, 1e-9);
        EXPECT_NEAR(minor[i].Pixel, 20.0 * static_cast<double>(i), 1e-6);
    }
}

TEST_F(Marks, CalendarLevelsFallOnCalendarBoundaries)
{
    // Months over a leap year: the first of every month, whatever its length.
    SpanOf15Pixels(EncodeDate(2023, 11, 17), 20);
    ASSERT_EQ(scaler.GetMinorStep(), kScale1Month);
    const TScaleMarkList& months = scaler.GetMinorMarks();
    ASSERT_GT(months.size(), 20u);
    EXPECT_EQ(months[0].Date, EncodeDate(2023, 11, 1)) << "the first mark lies before Start";
    EXPECT_LT(months[0].Pixel, 0);
    for (std::size_t i = 1; i < months.size(); ++i) {
        EXPECT_EQ(Part(months[i].Date, 'd'), 1);
        EXPECT_EQ((Part(months[i].Date, 'm') - Part(months[i - 1].Date, 'm') + 12) % 12, 1);
    }
    EXPECT_EQ(months[4].Date, EncodeDate(2024, 3, 1));
    EXPECT_EQ(months[4].Date - months[3].Date, 29) << "February of a leap year";

    // Quarters and years (the major rows of months and quarters).
    for (const TScaleMark& m : scaler.GetMajorMarks()) EXPECT_EQ((Part(m.Date, 'm') - 1) % 3, 0);
    SpanOf15Pixels(EncodeDate(1901, 5, 5), 3000);
    ASSERT_EQ(scaler.GetMinorStep(), kScale10Year);
    for (const TScaleMark& m : scaler.GetMinorMarks()) {
        EXPECT_EQ(Part(m.Date, 'y') % 10, 0);
        EXPECT_EQ(m.Date, EncodeDate(Part(m.Date, 'y'), 1, 1));
    }
    for (const TScaleMark& m : scaler.GetMajorMarks()) EXPECT_EQ(Part(m.Date, 'y') % 20, 0);
}

TEST_F(Marks, WeekMarksFallOnTheFirstDayOfTheWeek)
{
    for (int first : {2, 1, 7}) {
        SCOPED_TRACE(first);
        scaler.SetFirstDayOfWeek(first);
        SpanOf15Pixels(kMonday + 3.5, 5);
        ASSERT_EQ(scaler.GetMinorStep(), kScale1Week);
        for (const TScaleMark& m : scaler.GetMinorMarks()) {
            EXPECT_EQ(DayOfWeek(m.Date), first);
            EXPECT_EQ(m.Date, std::floor(m.Date));
        }
    }
    EXPECT_EQ(scaler.TruncToFirstDayOfWeek(kMonday + 0.7), kMonday - 2) << "Saturday first";
}

TEST_F(Marks, WeekNumbersCountFromTheFirstWeekOfTheYear)
{
    // 1 Jan 2021 is a Friday: the days before the first Monday still count as week 1. 2020 ends
    // in week 53; 30 Dec 2024 is week 1 of 2025.
    const struct {
        Word y, m, d;
        int week;
        bool nextYear;
    } weeks[] = {{2021, 1, 1, 1, false}, {2021, 1, 4, 1, false}, {2021, 1, 11, 2, false}, {2020, 12, 28, 53, false},
                 {2024, 12, 30, 1, true}};
    for (const auto& w : weeks) {
        bool nextYear = !w.nextYear;
        EXPECT_EQ(scaler.GetWeekNum(EncodeDate(w.y, w.m, w.d), nextYear), w.week) << w.y << "-" << w.m << "-" << w.d;
        EXPECT_EQ(nextYear, w.nextYear) << w.y << "-" << w.m << "-" << w.d;
    }
    bool flag = false;
    EXPECT_EQ(scaler.FirstWeekOfYear(EncodeDate(2026, 6, 1), flag), EncodeDate(2025, 12, 29));
    EXPECT_TRUE(flag) << "1 Jan 2026 is a Thursday";
}

TEST_F(Marks, HiddenStretchesAreMarkedAndSkipped)
{
    scaler.SetHiddenDays({TvxHiddenDaysEnum::thdSAT, TvxHiddenDaysEnum::thdSUN});
    SpanOf15Pixels(kMonday, 0.5);
    ASSERT_EQ(scaler.GetMinorStep(), kScale1Day);
    const TScaleMarkList& days = scaler.GetMinorMarks();
    ASSERT_GE(days.size(), 8u);
    EXPECT_FALSE(days[4].Hidden);  // Friday
    EXPECT_TRUE(days[5].Hidden);
    EXPECT_EQ(DayOfWeek(days[5].Date), 7);
    EXPECT_TRUE(days[6].Hidden);
    EXPECT_EQ(days[7].Date, kMonday + 7);
    EXPECT_FALSE(days[7].Hidden);
    EXPECT_DOUBLE_EQ(days[5].Pixel, days[7].Pixel) << "the weekend takes no pixels";

    // Hour marks skip a long night in one jump and walk its last three hours.
    scaler.SetHiddenDays({});
    scaler.SetHiddenHours([] {
        TvxHiddenHours h;
        for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 17, 18, 19, 20, 21, 22, 23}) h.Include(static_cast<TvxHiddenHoursEnum>(i));
        return h;
    }());
    SpanOf15Pixels(kMonday + 8 * kHour, 40 * kMinute);
    ASSERT_EQ(scaler.GetMinorStep(), kScale1Hour);
    std::vector<int> nightHours;
    for (const TScaleMark& m : scaler.GetMinorMarks()) {
        const int hour = static_cast<int>(std::lround((m.Date - std::floor(m.Date)) * 24)) % 24;
        if (m.Date < kMonday + 1 + 8 * kHour && (hour >= 17 || hour < 8)) {
            nightHours.push_back(hour);
            EXPECT_TRUE(m.Hidden);
        }
    }
    EXPECT_EQ(nightHours, (std::vector<int>{17, 5, 6, 7}));
}

TEST_F(Marks, DayLabelsSitInTheMiddleOfTheirIntervalHourLabelsOnTheirMark)
{
    SpanOf15Pixels(kMonday, 0.5);  // day marks, 30 pixels apart
    const TScaleMarkList& days = scaler.GetMinorMarks();
    const int last = static_cast<int>(days.size()) - 1;
    EXPECT_EQ(scaler.GetScaleMarkPix(days, 0, 1), Round((days[0].Pixel + days[1].Pixel) / 2));
    EXPECT_EQ(scaler.GetBoxPix(days, 0, 1), Round(days[0].Pixel));
    EXPECT_EQ(scaler.GetScaleMarkPix(days, last, last + 1), Round((days[last].Pixel + 1500) / 2));
    SpanOf15Pixels(kMonday, 0.75 * kHour);
    const TScaleMarkList& hours = scaler.GetMinorMarks();
    EXPECT_EQ(scaler.GetScaleMarkPix(hours, 1, 2), Round(hours[1].Pixel));
    EXPECT_EQ(scaler.GetBoxPix(hours, 1, 2), Round((hours[1].Pixel + hours[2].Pixel) / 2));
}

TEST_F(Marks, BandParityFollowsTheFirstMajorMark)
{
    SpanOf15Pixels(EncodeDate(2026, 5, 20), 5);  // weeks over months
    ASSERT_EQ(scaler.GetMajorStep(), kScale1Month);
    EXPECT_EQ(scaler.GetOddOrEventStartForVerticalBack(), 5);
    SpanOf15Pixels(EncodeDate(2026, 5, 20) + 0.3, 0.75 * kHour);  // hours over days
    EXPECT_EQ(scaler.GetOddOrEventStartForVerticalBack(), Round(EncodeDate(2026, 5, 20)));
}

TEST_F(Marks, QuartersAreTakenHalfAMonthOn)
{
    for (auto [m, d, quarter] : {std::array<Word, 3>{3, 20, 2}, {4, 1, 2}, {1, 1, 1}, {12, 17, 1}})
        EXPECT_EQ(scaler.DateToQuarter(EncodeDate(2026, m, d)), quarter) << m << "-" << d;
    EXPECT_EQ(scaler.Snap(EncodeDate(2026, 8, 31), kScale3Month), EncodeDate(2026, 7, 1));
    EXPECT_EQ(scaler.GetAdaptiveStep(EncodeDate(2026, 11, 1), kScale3Month), EncodeDate(2027, 1, 1) - EncodeDate(2026, 11, 1));
    EXPECT_EQ(scaler.GetAdaptiveStep(EncodeDate(2026, 12, 1), kScale1Month), 31);
    EXPECT_EQ(scaler.Snap(EncodeDate(7, 6, 1), kScale100Year), EncodeDate(1, 1, 1)) << "there is no year 0";
    EXPECT_NEAR(scaler.Snap(kMonday + 0.3 * kHour, kScale10Min), kMonday + 20 * kMinute, 1e-9);
}

TEST_F(Marks, FailuresResetTheRangeToOneDay)
{
    scaler.SetStart(kMonday);
    scaler.SetStop(kMonday + 3);
    EXPECT_EQ(ErrorText<Exception>([&] { scaler.Snap(1e300, kScale10Min); }), "To small span");
    EXPECT_EQ(scaler.GetStop(), kMonday + 1);
    EXPECT_FALSE(scaler.GetMinorMarks().empty()) << "marks of the reset range";

    // A label handler that fails breaks the rebuild: the range goes back to one day.
    scaler.OnUserStringShort = [](TDateTime, TDateTime, std::string&, TScalerFont&) {
        throw std::runtime_error("no label");
    };
    const std::string error = ErrorText<Exception>([&] { scaler.SetStop(kMonday + 5); });
    EXPECT_EQ(error.rfind("Scale error:", 0), 0u) << error;
    EXPECT_NE(error.find("Middle:"), std::string::npos) << error;
    EXPECT_EQ(scaler.GetStart(), kMonday);
    EXPECT_EQ(scaler.GetStop(), kMonday + 1);
    scaler.OnUserStringShort = nullptr;
    scaler.SetStop(kMonday + 2);
    EXPECT_FALSE(scaler.GetMinorMarks().empty());
}
