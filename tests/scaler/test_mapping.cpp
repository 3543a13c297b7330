// The time axis's mapping: time to pixel and back with hidden hours and days, the range setters,
// the caches behind them and the change announcement.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/scaler/vxScaler.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

using namespace vxplan;

namespace {

constexpr TDateTime kMs = 1.0 / 86400000;
// 2 March 2026 is a Monday.
const TDateTime kMonday = EncodeDate(2026, 3, 2);

TvxHiddenHours Hours(std::initializer_list<int> hours)
{
    TvxHiddenHours set;
    for (int h : hours) set.Include(static_cast<TvxHiddenHoursEnum>(h));
    return set;
}

TvxHiddenHours Nights()
{
    return Hours({0, 1, 2, 3, 4, 5, 6, 7, 17, 18, 19, 20, 21, 22, 23});
}

TvxHiddenDays Weekends() { return {TvxHiddenDaysEnum::thdSAT, TvxHiddenDaysEnum::thdSUN}; }

class Mapping : public ::testing::Test {
protected:
    Mapping()
    {
        scaler.SetHorizontal(true);
        scaler.SetBounds(0, 0, 1000, 40);
    }

    void Range(TDateTime start, TDateTime stop)
    {
        scaler.SetStart(start);
        scaler.SetStop(stop);
    }

    TTestClockScope clock{46000.4};
    TvxDateScaler scaler;
};

bool InHiddenTime(TvxDateScaler& s, TDateTime t) { return s.VisibleTimeToTrueTime_High(t) != t; }

}  // namespace

// The defaults other tests do not already lean on.
TEST_F(Mapping, AFreshScalerShowsAWeekFromTodayAndItsDefaults)
{
    TvxDateScaler fresh;
    EXPECT_EQ(fresh.GetStart(), 46000.0) << "today's date from the application clock, at midnight";
    EXPECT_EQ(fresh.GetStop(), 46007.0);
    EXPECT_EQ(fresh.GetZoomFactor(), 0.9);
    EXPECT_EQ(fresh.GetMinStart(), 0.0);
    EXPECT_TRUE(fresh.GetIndicatorOn());
    EXPECT_FALSE(fresh.GetHorizontal());
    EXPECT_FALSE(fresh.GetWeekNumbers());
    EXPECT_EQ(fresh.GetLookAndFeel(), TLookAndFeel::tlfClassic);
    EXPECT_EQ(fresh.GetScrollButtons(), TScrollButtons::tsbClassic);
}

TEST_F(Mapping, EndsOfTheRangeAreTheEndsOfTheAxis)
{
    Range(kMonday + 0.3, kMonday + 9.7);
    EXPECT_EQ(scaler.DateToPixel(scaler.GetStart()), 0);
    EXPECT_EQ(scaler.DateToPixel(scaler.GetStop()), 1000);
    scaler.SetHiddenHours(Nights());
    scaler.SetHiddenDays(Weekends());
    EXPECT_EQ(scaler.DateToPixel(scaler.GetStart()), 0);
    EXPECT_EQ(scaler.DateToPixel(scaler.GetStop()), 1000);
    EXPECT_EQ(scaler.PixelToDate(1000), scaler.GetStop());
}

// Every scale, every combination of hidden sets: a visible time comes back within one pixel's
// worth of visible time, never in hidden time, and the marks change nothing but the walk.
TEST_F(Mapping, ConversionsFollowANewLengthOrOrientationBeforeThePaint)
{
    TvxDateScaler fresh;  // vertical: its marks were placed along its height
    fresh.SetHorizontal(true);
    fresh.SetBounds(0, 0, 1000, 40);
    EXPECT_EQ(fresh.DateToPixel(fresh.GetStop()), 1000);
    EXPECT_EQ(fresh.DateToPixel(fresh.GetStart() + 3.5), 500);
    fresh.SetBounds(0, 0, 700, 40);
    EXPECT_EQ(fresh.DateToPixel(fresh.GetStop()), 700) << "the range follows the length only when painted";
    EXPECT_EQ(fresh.PixelToDate(350), fresh.GetStart() + 3.5);
    fresh.SetHorizontal(false);
    EXPECT_EQ(fresh.DateToPixel(fresh.GetStop()), 40);
}

TEST_F(Mapping, ARangeOfHiddenTimeOnlySlidesWithItsTrueLength)
{
    scaler.SetHiddenDays(Weekends());
    Range(kMonday + 5.25, kMonday + 5.75);  // within Saturday
    ASSERT_EQ(scaler.VisibleTimeAmount(), 0.0);
    scaler.SetStart(kMonday + 12.5);  // the next Saturday
    EXPECT_EQ(scaler.GetStart(), kMonday + 12.5);
    EXPECT_EQ(scaler.GetStop(), kMonday + 13);
}

TEST_F(Mapping, RoundTripsOnRandomTimesAtEveryScale)
{
    const TDateTime spans[] = {90 * kMs * 1000, kHour, 1, 7, 40, 400, 4000, 40000};
    for (int hidden = 0; hidden < 4; ++hidden) {
        for (TDateTime span : spans) {
            const unsigned seed = 1000u * static_cast<unsigned>(hidden) + static_cast<unsigned>(span * 100) % 997;
            SCOPED_TRACE(testing::Message() << "seed " << seed << " span " << span << " hidden " << hidden);
            scaler.SetHiddenHours(hidden & 1 ? Nights() : TvxHiddenHours());
            scaler.SetHiddenDays(hidden & 2 ? Weekends() : TvxHiddenDays());
            const TDateTime start = scaler.VisibleTimeToTrueTime_High(EncodeDate(1990, 6, 5) + 0.4);
            Range(start, start + span);
            const TDateTime amount = scaler.VisibleTimeAmount();
            if (amount == 0) continue;  // everything of a short span hidden
            const double scale = scaler.GetScale();
            std::mt19937 random(seed);
            std::uniform_real_distribution<double> where(start, start + span);
            for (int i = 0; i < 300; ++i) {
                const TDateTime t = scaler.VisibleTimeToTrueTime_High(where(random));
                const int p = scaler.DateToPixel(t);
                const double exact = 1000 * scaler.DateDiffToVisibleTime(start, t) / amount;
                ASSERT_LE(std::fabs(p - exact), 0.5 + 1e-6) << "t " << t;
                const TDateTime back = scaler.PixelToDate(p);
                ASSERT_FALSE(InHiddenTime(scaler, back) && p > 0 && p < 1000) << "pixel " << p;
                ASSERT_LE(std::fabs(scaler.DateDiffToVisibleTime(t, back)), scale + 2 * kMs) << "pixel " << p;
            }
        }
    }
}

TEST_F(Mapping, HalvesRoundToEvenAndFarAwayTimesAreClampedPixels)
{
    // 8 days on 1024 pixels: 128 pixels a day, so 1/256 day is exactly half a pixel.
    scaler.SetBounds(0, 0, 1024, 40);
    Range(kMonday, kMonday + 8);
    const TDateTime half = 1.0 / 256;
    for (auto [halves, pixel] : {std::pair{1, 0}, {3, 2}, {5, 2}, {7, 4}, {-3, -2}})
        EXPECT_EQ(scaler.DateToPixel(kMonday + halves * half), pixel) << halves << " halves";
    EXPECT_EQ(scaler.TimeToPixel(kMonday + 3 * half), 2);

    Range(kMonday, kMonday + kScale10Sec);
    EXPECT_EQ(scaler.DateToPixel(kMonday + 365), 1 << 30);
    EXPECT_EQ(scaler.DateToPixel(kMonday - 365), -(1 << 30));
    EXPECT_EQ(scaler.DateToPixel(1e12), 1 << 30);
    EXPECT_EQ(scaler.DateToPixel(std::nan("")), 0);
}

TEST_F(Mapping, APixelOnAMarkIsTheMarksTime)
{
    // Monday to Monday with the weekend hidden: five days on 1000 pixels.
    scaler.SetHiddenDays(Weekends());
    Range(kMonday, kMonday + 7);
    // Pixel 200 is Tuesday, not a time extrapolated from Stop.
    for (auto [pixel, day] : {std::pair{200, 1}, {0, 0}, {800, 4}, {1000, 7}})
        EXPECT_EQ(scaler.PixelToDate(pixel), kMonday + day) << "pixel " << pixel;
    // Outside the axis the time is extrapolated linearly.
    EXPECT_NEAR(scaler.PixelToDate(-100), kMonday - 0.5, 1e-9);
    EXPECT_NEAR(scaler.PixelToDate(1100), kMonday + 7.5, 1e-9);
    // Pixel 0 is Start also when the first mark lies before it.
    Range(kMonday + 11 * kHour, kMonday + 12);
    ASSERT_LT(scaler.GetMinorMarks()[0].Pixel, 0);
    EXPECT_EQ(scaler.PixelToDate(0), kMonday + 11 * kHour);
}

TEST_F(Mapping, HiddenWeekendsTakeNoPixels)
{
    scaler.SetHiddenDays(Weekends());
    Range(kMonday, kMonday + 14);
    const TDateTime friday2359 = kMonday + 4 + 1439 * kMinute;
    const int fri = scaler.DateToPixel(friday2359);
    const int mon = scaler.DateToPixel(kMonday + 7);
    EXPECT_LE(mon - fri, 1);
    EXPECT_EQ(scaler.DateToPixel(kMonday + 5.5), mon) << "hidden time maps to the next visible instant";
}

TEST_F(Mapping, HiddenHoursAndDaysShrinkTheirDays)
{
    scaler.SetHiddenHours(Nights());
    scaler.SetHiddenDays(Weekends());
    const int monday = static_cast<int>(kMonday);
    EXPECT_DOUBLE_EQ(scaler.VisibleTimeForDay(monday), 9.0 / 24);
    EXPECT_EQ(scaler.VisibleTimeForDay(monday + 5), 0.0);
    EXPECT_DOUBLE_EQ(scaler.VisibleTimeForWeek(), 45.0 / 24);
    EXPECT_FALSE(scaler.IsHiddenHour(-1));
    EXPECT_FALSE(scaler.IsHiddenHour(24));
    EXPECT_TRUE(scaler.IsHiddenHour(23));
    // Pieces of a day: whole hours, a partial first and last hour, both in one hour.
    const TDateTime h = kHour;
    EXPECT_NEAR(scaler.VisibleTimeForPartOfDay(monday, 2 * h, 7.5 * h), 1.5 * h, 1e-12);
    EXPECT_NEAR(scaler.VisibleTimeForPartOfDay(monday, 0.5 * h, 16.75 * h), 0.25 * h, 1e-12);
    EXPECT_NEAR(scaler.VisibleTimeForPartOfDay(monday, 0.5 * h, 8.25 * h), 0.5 * h, 1e-12);
    EXPECT_EQ(scaler.VisibleTimeForPartOfDay(monday, 0.5 * h, 3.25 * h), 0.0);
    EXPECT_NEAR(scaler.VisibleTimeForPartOfDay(monday, 0.75, 0.25), 9 * h, 1e-12);

    // All 24 hours, or all seven days, hidden means nothing hidden.
    TvxHiddenHours all;
    for (int i = 0; i < 24; ++i) all.Include(static_cast<TvxHiddenHoursEnum>(i));
    scaler.SetHiddenHours(all);
    EXPECT_TRUE(scaler.GetHiddenHours().Empty());
    EXPECT_EQ(scaler.GetHiddenHourCount(), 0);
    TvxHiddenDays week;
    for (int i = 0; i < 7; ++i) week.Include(static_cast<TvxHiddenDaysEnum>(i));
    scaler.SetHiddenDays(week);
    EXPECT_TRUE(scaler.GetHiddenDays().Empty());
}

TEST_F(Mapping, HiddenInstantsMoveToTheNearestVisibleOne)
{
    scaler.SetHiddenDays(Weekends());
    const TDateTime saturdayNoon = kMonday + 5.5;
    EXPECT_NEAR(scaler.VisibleTimeToTrueTime_Low(saturdayNoon), kMonday + 5 - kMs, 1e-10);
    EXPECT_EQ(scaler.VisibleTimeToTrueTime_High(saturdayNoon), kMonday + 7);
    scaler.SetHiddenHours(Nights());
    const TDateTime tuesday3 = kMonday + 1 + 3 * kHour;
    EXPECT_NEAR(scaler.VisibleTimeToTrueTime_Low(tuesday3), kMonday + 17 * kHour - kMs, 1e-10);
    EXPECT_NEAR(scaler.VisibleTimeToTrueTime_High(tuesday3), kMonday + 1 + 8 * kHour, 1e-10);
    EXPECT_NEAR(scaler.VisibleTimeToTrueTime_Low(saturdayNoon), kMonday + 4 + 17 * kHour - kMs, 1e-10);
    EXPECT_EQ(scaler.VisibleTimeToTrueTime_Low(-3), 0.0);
}

TEST_F(Mapping, VisibleTimeIsOddAndNeverMoreThanTrueTime)
{
    scaler.SetHiddenHours(Nights());
    scaler.SetHiddenDays(Weekends());
    std::mt19937 random(77);
    std::uniform_real_distribution<double> when(kMonday - 400, kMonday + 400);
    for (int i = 0; i < 2000; ++i) {
        const TDateTime a = when(random);
        const TDateTime b = a + std::fabs(when(random) - kMonday) / (1 + i % 50);
        const TDateTime ab = scaler.DateDiffToVisibleTime(a, b);
        ASSERT_EQ(ab, -scaler.DateDiffToVisibleTime(b, a));
        ASSERT_LE(ab, b - a);
        ASSERT_GE(ab, 0);
        // The inverse walk lands within its tolerance of the visible time asked for.
        const TDateTime reached = scaler.VisibleTimeDiffToTrueTime(a, ab);
        ASSERT_NEAR(scaler.DateDiffToVisibleTime(a, reached), ab, 10.0 / 86400) << "seed 77, pair " << i;
    }
}

TEST_F(Mapping, TheInverseWalkEndsWhereAlmostNothingIsVisible)
{
    // One visible hour a week: each step of the walk gains 1/168 of what remains.
    TvxHiddenHours hours;
    for (int i = 1; i < 24; ++i) hours.Include(static_cast<TvxHiddenHoursEnum>(i));
    scaler.SetHiddenHours(hours);
    scaler.SetHiddenDays({TvxHiddenDaysEnum::thdSUN, TvxHiddenDaysEnum::thdTUE, TvxHiddenDaysEnum::thdWED,
                          TvxHiddenDaysEnum::thdTHU, TvxHiddenDaysEnum::thdFRI, TvxHiddenDaysEnum::thdSAT});
    const TDateTime reached = scaler.VisibleTimeDiffToTrueTime(kMonday, 30 * kHour);
    EXPECT_NEAR(scaler.DateDiffToVisibleTime(kMonday, reached), 30 * kHour, 10.0 / 86400);
    EXPECT_NEAR(reached, kMonday + 29 * 7 + kHour, 1e-3);
    EXPECT_THROW(scaler.VisibleTimeDiffToTrueTime(kMonday, std::nan("")), EInvalidArgument);
}

TEST_F(Mapping, BadRangesAreRefusedAndChangeNothing)
{
    Range(kMonday, kMonday + 7);
    const std::function<void()> refused[] = {
        [&] { scaler.SetStart(std::nan("")); }, [&] { scaler.SetStart(-1e7); }, [&] { scaler.SetStop(3e6); },
        [&] { scaler.SetStop(kMonday - 1); }, [&] { scaler.SetStop(kMonday); }, [&] { scaler.SetFirstDayOfWeek(0); },
        [&] { scaler.SetFirstDayOfWeek(8); }, [&] { scaler.SetPixelsForModeSwitch(0); },
        [&] { scaler.SetMinStart(EncodeDate(4000, 1, 1)); }, [&] { scaler.SetMaxStop(std::nan("")); }};
    for (size_t i = 0; i < std::size(refused); ++i) EXPECT_THROW(refused[i](), EInvalidArgument) << "call " << i;
    EXPECT_TRUE(scaler.CheckIfOkStartStop(kMonday, kMonday + 7));
    EXPECT_FALSE(scaler.CheckIfOkStartStop(-1, kMonday));
    EXPECT_EQ(scaler.GetStart(), kMonday);
    EXPECT_EQ(scaler.GetStop(), kMonday + 7);
    EXPECT_EQ(scaler.GetFirstDayOfWeek(), 2);
    // A zoom to five seconds is refused silently.
    scaler.SetScale(5 * kScale1Sec / 1000);
    EXPECT_EQ(scaler.GetStart(), kMonday);
    EXPECT_EQ(scaler.GetStop(), kMonday + 7);
    scaler.SetStop(EncodeDate(5000, 1, 1));
    EXPECT_EQ(scaler.GetStop(), EncodeDate(4000, 1, 1));
    // Nor does a slide or a zoom take Stop past it, however near the calendar's end.
    const TDateTime stop = scaler.GetStop();
    EXPECT_THROW(scaler.SetStart(MaxDateTime - 1), EInvalidArgument);
    EXPECT_THROW(scaler.SetStart(EncodeDate(3999, 12, 31)), EInvalidArgument);
    scaler.SetScale(1100);  // a thousand pixels of three thousand years: Stop in year 5000
    EXPECT_EQ(scaler.GetStop(), stop);
    scaler.SetStart(-5);
    EXPECT_EQ(scaler.GetStart(), 0.0) << "a negative start becomes the origin";
}

TEST_F(Mapping, SettersKeepTheAmountShown)
{
    scaler.SetHiddenDays(Weekends());
    Range(kMonday, kMonday + 7);  // five visible days
    scaler.SetStart(kMonday + 2);  // Wednesday: the range slides over the weekend
    EXPECT_NEAR(scaler.GetStop(), kMonday + 9, 10.0 / 86400);
    scaler.SetScale(2.0 / 1000);  // two visible days on the axis
    EXPECT_NEAR(scaler.GetStop(), kMonday + 4, 10.0 / 86400);

    // Hiding hours keeps the amount: Stop moves out, and the ends stay on the axis's ends.
    scaler.SetHiddenHours(Nights());
    EXPECT_NEAR(scaler.VisibleTimeAmount(), 2.0, 2 * scaler.GetScale());
    EXPECT_EQ(scaler.DateToPixel(scaler.GetStop()), 1000);
    EXPECT_GT(scaler.GetStop(), kMonday + 7);
}

TEST_F(Mapping, AWiderAxisShowsMoreTimeAtTheSameScale)
{
    TvxDateScaler& s = scaler;
    s.SetBounds(0, 0, 500, 40);
    s.SetStop(s.GetStart() + 5);
    s.GrabImage();  // the first paint after setting the range keeps it
    EXPECT_EQ(s.GetStop(), s.GetStart() + 5);
    s.SetBounds(0, 0, 1000, 40);
    s.GrabImage();
    EXPECT_NEAR(s.GetStop(), s.GetStart() + 10, 10.0 / 86400);
    EXPECT_NEAR(s.GetScale(), 0.01, 1e-6);
}

TEST_F(Mapping, AChangeIsAnnouncedOnceAfterItIsPainted)
{
    TvxDateScaler& s = scaler;
    s.SetBounds(0, 0, 500, 40);
    int changes = 0;
    s.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &s);
        ++changes;
    };
    s.SetStart(s.GetStart() + 1);
    s.SetStop(s.GetStart() + 3);
    DeliverPostedMessages();
    EXPECT_EQ(changes, 0) << "not from the setters";
    s.GrabImage();
    s.Invalidate();
    s.GrabImage();
    EXPECT_EQ(changes, 0) << "posted, not sent";
    DeliverPostedMessages();
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(s.GetChanged());
}
