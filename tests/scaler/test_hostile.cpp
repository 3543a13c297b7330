// The time axis against hostile values through its public calls: mark indexes outside the mark
// lists, marks far before the axis, conversions of any double or int, print scales without
// meaning and bounds at the ends of the int range. Each call is refused with a clear error or
// clamps, and the axis keeps its range and still paints.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxBitmap.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/scaler/vxScaler.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

using namespace vxplan;
using vxplan::test::ErrorText;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const TDateTime kMonday = EncodeDate(2026, 3, 2);

class HostileScaler : public ::testing::Test {
protected:
    HostileScaler()
    {
        scaler.SetHorizontal(true);
        scaler.SetBounds(0, 0, 800, 40);
        scaler.SetStart(kMonday);
        scaler.SetStop(kMonday + 3);
    }

    // The range is as set, the marks are drawable and ordered, and the axis paints.
    void ExpectWhole(TDateTime start, TDateTime stop)
    {
        EXPECT_EQ(scaler.GetStart(), start);
        EXPECT_EQ(scaler.GetStop(), stop);
        for (const TScaleMarkList* marks : {&scaler.GetMinorMarks(), &scaler.GetMajorMarks()}) {
            ASSERT_FALSE(marks->empty());
            for (size_t i = 0; i < marks->size(); ++i) {
                ASSERT_LE(std::fabs((*marks)[i].Pixel), TvxDateScaler::kPixelLimit) << "mark " << i;
                if (i > 0) {
                    ASSERT_LE((*marks)[i - 1].Pixel, (*marks)[i].Pixel) << "mark " << i;
                }
            }
        }
        EXPECT_FALSE(scaler.GrabImage().isNull());
    }

    TTestClockScope clock{kMonday + 0.4};
    TvxDateScaler scaler;
};

// Runs f: a value, or one of the library's own errors, and nothing else.
template <class F>
void ExpectValueOrClearError(F&& f)
{
    try {
        f();
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()), "");
    } catch (const std::exception& e) {
        ADD_FAILURE() << "a foreign error: " << e.what();
    }
}

}  // namespace

TEST_F(HostileScaler, MarkIndexesOutsideTheListsAreRefused)
{
    const TScaleMarkList& marks = scaler.GetMinorMarks();
    const int count = static_cast<int>(marks.size());
    for (const int i : {-1, INT_MIN, count, INT_MAX}) {
        SCOPED_TRACE(i);
        EXPECT_THROW(scaler.GetScaleMarkPix(marks, i, 0), EListError);
        EXPECT_THROW(scaler.GetBoxPix(marks, i, 0), EListError);
    }
    EXPECT_EQ(ErrorText<EListError>([&] { scaler.GetBoxPix(marks, -1, 0); }), "Scale mark index out of bounds (-1)");
    // A next index outside the list means the end of the axis, whatever it is.
    for (const int j : {-1, INT_MIN, count, INT_MAX})
        EXPECT_EQ(scaler.GetBoxPix(marks, count - 1, j), scaler.GetBoxPix(marks, count - 1, count)) << j;
    ExpectWhole(kMonday, kMonday + 3);
}

TEST_F(HostileScaler, MarksFarBeforeTheAxisAreClampedWithoutMovingTheMapping)
{
    // A ten-minute range with the coarsest step: the first mark of the step lies centuries back,
    // some 10^11 pixels before the axis.
    scaler.SetPixelsForModeSwitch(INT_MAX);
    scaler.SetStop(kMonday + 10.0 / 1440);
    ASSERT_EQ(scaler.GetMinorMarks().front().Pixel, -TvxDateScaler::kPixelLimit) << "the far mark is clamped";
    EXPECT_EQ(scaler.DateToPixel(kMonday), 0);
    EXPECT_EQ(scaler.DateToPixel(kMonday + 5.0 / 1440), 400) << "the clamped mark is no anchor";
    EXPECT_EQ(scaler.DateToPixel(kMonday + 10.0 / 1440), 800);
    EXPECT_NEAR(scaler.PixelToDate(400), kMonday + 5.0 / 1440, 1.0 / 86400);
    ExpectWhole(kMonday, kMonday + 10.0 / 1440);
}

TEST_F(HostileScaler, ConversionsTakeAnyNumberAndLeaveTheRangeAlone)
{
    for (const double t : {kNaN, kInf, -kInf, 1e300, -1e300, 5e-324, -693594.0, 2958466.0}) {
        SCOPED_TRACE(t);
        const int p = scaler.DateToPixel(t);
        EXPECT_LE(std::abs(static_cast<double>(p)), TvxDateScaler::kPixelLimit);
        if (t > kMonday + 3) {
            EXPECT_GE(p, 800);
        }
        if (t < kMonday) {
            EXPECT_LE(p, 0);
        }
        ExpectValueOrClearError([&] { scaler.DateDiffToPixelLength(kMonday, t); });
        ExpectValueOrClearError([&] { scaler.VisibleTimeToTrueTime_High(t); });
        ExpectValueOrClearError([&] { scaler.DateToQuarter(t); });
    }
    for (const int p : {INT_MIN, -1, 801, INT_MAX}) {
        SCOPED_TRACE(p);
        const TDateTime t = scaler.PixelToDate(p);
        EXPECT_TRUE(std::isfinite(t));
        EXPECT_EQ(t < kMonday, p < 0);
        EXPECT_NO_THROW(scaler.PixelLenToDate(p));
        TScaleMark* before = nullptr;
        TScaleMark* after = nullptr;
        scaler.FindScaleMarksFromPixel(p, before, after);
        EXPECT_TRUE(before || after);
        ExpectValueOrClearError([&] { scaler.IsHiddenDay(p); });
        ExpectValueOrClearError([&] { scaler.VisibleTimeForDay(p); });
    }
    ExpectWhole(kMonday, kMonday + 3);
    // A centre pixel at the ends of the int range asks for a start far outside the range: it is
    // refused, or the start is clamped to the calendar, and the axis stays whole either way.
    for (const int p : {INT_MIN, INT_MAX}) {
        SCOPED_TRACE(p);
        ExpectValueOrClearError([&] { scaler.SetCenterScale(0.01, kMonday, p); });
        EXPECT_GE(scaler.GetStart(), 0);
        EXPECT_GT(scaler.GetStop(), scaler.GetStart());
        ExpectWhole(scaler.GetStart(), scaler.GetStop());
    }
    scaler.SetStart(kMonday);
    scaler.SetStop(kMonday + 3);
    ExpectWhole(kMonday, kMonday + 3);
}

TEST_F(HostileScaler, PrintScalesWithoutMeaningAreRefusedBeforeAnythingChanges)
{
    TBitmap page(400, 100);
    const size_t marks = scaler.GetMinorMarks().size();
    for (const double scale : {kNaN, kInf, -kInf, -1.0, 1000.5, 1e300}) {
        SCOPED_TRACE(scale);
        EXPECT_THROW(scaler.Print(page.Canvas().GetHandle(), 0, 0, scale, 1, true), EInvalidArgument);
        EXPECT_THROW(scaler.Print(page.Canvas().GetHandle(), 0, 0, 1, scale, false), EInvalidArgument);
        EXPECT_FALSE(scaler.GetIsPrinting());
        EXPECT_EQ(scaler.GetWidth(), 800);
        EXPECT_EQ(scaler.GetMinorMarks().size(), marks);
    }
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { scaler.Print(page.Canvas().GetHandle(), 0, 0, -1, 1, true); }),
              "Print scale -1 outside 0..1000");
    // Origins at the ends of the int range print nothing onto the page and end the print.
    for (const int origin : {INT_MIN, INT_MAX}) {
        scaler.Print(page.Canvas().GetHandle(), origin, origin, 2, 2, true);
        EXPECT_FALSE(scaler.GetIsPrinting());
    }
    EXPECT_EQ(vxplan::test::CountPixels(page.Image(), clWhite, 0, 0, 400, 100), 400 * 100);
    ExpectWhole(kMonday, kMonday + 3);
}

TEST_F(HostileScaler, BoundsAtTheEndsOfTheIntRangeAreKeptWithinTheWindowSystemsLimits)
{
    scaler.SetBounds(INT_MAX, INT_MIN, INT_MAX, 40);
    EXPECT_EQ(scaler.GetWidth(), TControl::kMaxExtent);
    EXPECT_EQ(scaler.GetLeft(), TControl::kMaxPosition);
    EXPECT_EQ(scaler.GetTop(), -TControl::kMaxPosition);
    EXPECT_GT(scaler.GetBoundsRect().Right, scaler.GetLeft()) << "the right edge is an int";
    scaler.SetBounds(0, 0, 800, 40);
    scaler.SetBounds(0, 0, 0, 0);
    EXPECT_FALSE(scaler.GrabImage().isNull()) << "a control without pixels paints, showing nothing";
    scaler.SetBounds(0, 0, 800, 40);
    scaler.GrabImage();
    ExpectWhole(kMonday, kMonday + 3);
}
