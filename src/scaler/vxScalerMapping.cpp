// TvxDateScaler: hidden time and the conversions between time and pixels.
//
// Time is walked as one straight line of days (day = floor(t), time of day = t - day), so the
// conversions stay monotonic; a time of day is split into hours by whole milliseconds, and one
// that rounds up to midnight belongs to the next day. Counting hidden hours uses the hour bit
// mask, so a part of a day costs a few operations whatever the hidden set.
#include <vxplan/scaler/vxScaler.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>
#include <bit>
#include <cmath>

namespace vxplan {

namespace {

constexpr int64_t kMSecsPerHour = 3600000;
constexpr TDateTime kOneMSec = 1.0 / MSecsPerDay;
// Tolerance of the visible-to-true search, and the most steps it takes.
constexpr TDateTime kTrueTimeTolerance = 10.0 / 86400;
constexpr int kMaxTrueTimeSteps = 100000;
// Days beyond the calendar by this much mean nothing; larger values are clamped here.
constexpr double kFarDays = 1.0e8;

struct TDayTime {
    int64_t day;
    int64_t ms;  // 0 .. MSecsPerDay - 1
};

TDayTime SplitTime(TDateTime t)
{
    const double day = std::floor(t);
    int64_t ms = std::llround((t - day) * MSecsPerDay);
    int64_t d = static_cast<int64_t>(day);
    if (ms >= MSecsPerDay) {
        ms -= MSecsPerDay;
        ++d;
    }
    return {d, ms};
}

// Ordinal of the day of week, Sunday 0 .. Saturday 6 (day 0, 30 Dec 1899, was a Saturday).
int WeekdayOrdinal(int64_t day)
{
    const int64_t r = (day + 6) % 7;
    return static_cast<int>(r < 0 ? r + 7 : r);
}

// Bits first..last (inclusive, within 0..23); none when last < first.
uint32_t HourRange(int first, int last)
{
    if (last < first) return 0;
    return ((last >= 31 ? ~0u : ((1u << (last + 1)) - 1)) & ~((1u << first) - 1));
}

void CheckDay(TDateTime t)
{
    if (!(std::fabs(t) < kFarDays)) throw EInvalidArgument("Not a date the time axis can place");
}

}  // namespace

// ---- Hidden hours and days ------------------------------------------------------------------

bool TvxDateScaler::IsHiddenHour(int hour) const
{
    // The set holds hours 0..23 only (the setter drops the rest), mirrored in the bit mask.
    return hour >= 0 && hour < 24 && ((hiddenHourBits_ >> hour) & 1u);
}

bool TvxDateScaler::IsHiddenDay(int day) const
{
    return (hiddenDayBits_ >> WeekdayOrdinal(day)) & 1u;
}

TDateTime TvxDateScaler::VisibleTimeForDay(int day) const
{
    if (IsHiddenDay(day)) return 0;
    return (24.0 - hiddenHourCount_) / 24.0;
}

TDateTime TvxDateScaler::VisibleTimeForWeek()
{
    if (weekStale_) {
        const int firstDay = static_cast<int>(EncodeDate(2002, 1, 1));
        weekTime_ = 0;
        for (int d = firstDay; d < firstDay + 7; ++d) weekTime_ += VisibleTimeForDay(d);
        weekStale_ = false;
    }
    return weekTime_;
}

TDateTime TvxDateScaler::VisibleTimeForPartOfDay(int day, TDateTime theLength, TDateTime theStart) const
{
    if (IsHiddenDay(day)) return 0;
    const double len = theLength - std::floor(theLength);
    const double st = theStart - std::floor(theStart);
    if (!(len > 0 && len < 1)) return len;

    int64_t stMs = static_cast<int64_t>(st * MSecsPerDay + 0.5);
    if (stMs > MSecsPerDay) stMs = MSecsPerDay;
    const int h1 = static_cast<int>(stMs / kMSecsPerHour);
    const int64_t stSub = stMs % kMSecsPerHour;
    double firstPiece = 0;
    int firstWhole = h1;
    if (stSub != 0) {
        // The rest of the hour, in whole milliseconds: one division, one rounding.
        firstPiece = static_cast<double>(kMSecsPerHour - stSub) / MSecsPerDay;
        firstWhole = h1 + 1;
    }

    double lastPiece = 0;
    int lastWhole = 23;
    int endHour = 24;
    const int64_t endMs = static_cast<int64_t>((st + len) * MSecsPerDay + 0.5);
    // An end that rounds to the next midnight is the end of the day.
    if (st + len < 1 && endMs < MSecsPerDay) {
        endHour = static_cast<int>(endMs / kMSecsPerHour);
        lastPiece = static_cast<double>(endMs % kMSecsPerHour) / MSecsPerDay;
        lastWhole = endHour - 1;
    }
    if (endHour == h1) {
        firstPiece = 0;
        lastPiece = len;
    }
    if (IsHiddenHour(firstWhole - 1)) firstPiece = 0;
    if (IsHiddenHour(lastWhole + 1)) lastPiece = 0;

    const int lo = std::max(firstWhole, 0);
    const int hi = std::min(lastWhole, 23);
    const int count = std::popcount(HourRange(lo, hi) & ~hiddenHourBits_);
    if (count == 24) return 1;
    return count / 24.0 + lastPiece + firstPiece;
}

// ---- Visible time -------------------------------------------------------------------------------

TDateTime TvxDateScaler::DateDiffToVisibleTime(TDateTime theFrom, TDateTime theTo)
{
    CheckDay(theFrom);
    CheckDay(theTo);
    if (theTo < theFrom) return -VisibleBetween(theTo, theFrom);
    return VisibleBetween(theFrom, theTo);
}

TDateTime TvxDateScaler::VisibleBetween(TDateTime lo, TDateTime hi)
{
    const double loDay = std::floor(lo);
    const double hiDay = std::floor(hi);
    const double loFrac = lo - loDay;
    const double hiFrac = hi - hiDay;
    const double restOfLoDay = loFrac == 0 ? 0 : 1 - loFrac;
    const int64_t firstWhole = static_cast<int64_t>(loFrac == 0 ? loDay : loDay + 1);
    const int64_t lastWhole = static_cast<int64_t>(hiDay) - 1;

    TDateTime total;
    if (loDay == hiDay) {
        total = VisibleTimeForPartOfDay(static_cast<int>(loDay), hiFrac - loFrac, loFrac);
    } else {
        total = VisibleTimeForPartOfDay(static_cast<int>(loDay), restOfLoDay, loFrac) +
                VisibleTimeForPartOfDay(static_cast<int>(hiDay), hiFrac, 0);
    }

    if (firstWhole <= lastWhole) {
        const double dayTime = (24.0 - hiddenHourCount_) / 24.0;
        for (int64_t d = firstWhole; d <= lastWhole;) {
            const int64_t remaining = lastWhole - d;
            if (remaining > 13 && WeekdayOrdinal(d) == 0) {
                const int64_t weeks = remaining / 7;
                total += static_cast<double>(weeks) * VisibleTimeForWeek();
                d += weeks * 7;
            } else {
                if (!((hiddenDayBits_ >> WeekdayOrdinal(d)) & 1u)) total += dayTime;
                ++d;
            }
        }
    }

    // Visible time never exceeds true time (clamped before the sign, so the sum stays odd).
    if (hi - lo < total) total = hi - lo;
    return total;
}

TDateTime TvxDateScaler::VisibleTimeToTrueTime_Low(TDateTime t)
{
    if (t < 0) return 0;
    CheckDay(t);
    // Each step leaves a hidden day or hour; a week of hours is more than enough.
    for (int step = 0; step < 8 * 25; ++step) {
        const TDayTime dt = SplitTime(t);
        if ((hiddenDayBits_ >> WeekdayOrdinal(dt.day)) & 1u) {
            t = dt.ms == 0 ? t - kOneMSec : static_cast<double>(dt.day);
        } else {
            const int hour = static_cast<int>(dt.ms / kMSecsPerHour);
            if (!((hiddenHourBits_ >> hour) & 1u)) return t;
            t = static_cast<double>(dt.day) + hour * kHour - kOneMSec;
        }
        if (t < 0) return 0;
    }
    return t;
}

TDateTime TvxDateScaler::VisibleTimeToTrueTime_High(TDateTime t)
{
    CheckDay(t);
    for (int step = 0; step < 8 * 25; ++step) {
        const TDayTime dt = SplitTime(t);
        if ((hiddenDayBits_ >> WeekdayOrdinal(dt.day)) & 1u) {
            t = static_cast<double>(dt.day + 1);
        } else {
            const int hour = static_cast<int>(dt.ms / kMSecsPerHour);
            if (!((hiddenHourBits_ >> hour) & 1u)) return t;
            t = static_cast<double>(dt.day) + (hour + 1) * kHour;
        }
    }
    return t;
}

TDateTime TvxDateScaler::VisibleTimeDiffToTrueTime(TDateTime theFrom, TDateTime theVisibleDiff)
{
    CheckDay(theFrom);
    CheckDay(theVisibleDiff);
    TDateTime t = theFrom;
    // Each step walks the remaining visible time as true time; where little is visible that
    // converges slowly, so the walk is bounded and ends at its best approximation.
    for (int step = 0; step < kMaxTrueTimeSteps; ++step) {
        t = theFrom + theVisibleDiff;
        if (t < 0) return 0;
        const TDateTime v = DateDiffToVisibleTime(theFrom, t);
        if (std::fabs(theVisibleDiff - v) < kTrueTimeTolerance) return t;
        if (v == 0) t = theVisibleDiff > 0 ? VisibleTimeToTrueTime_High(t) : VisibleTimeToTrueTime_Low(t);
        theFrom = t;
        theVisibleDiff -= v;
    }
    return t;
}

TDateTime TvxDateScaler::VisibleTimeAmount()
{
    if (!amountValid_ || start_ != amountStart_ || stop_ != amountStop_) {
        amount_ = DateDiffToVisibleTime(start_, stop_);
        amountStart_ = start_;
        amountStop_ = stop_;
        amountValid_ = true;
    }
    return amount_;
}

// ---- Scale ------------------------------------------------------------------------------------

int TvxDateScaler::GetScaleLen() { return horizontal_ ? GetWidth() : GetHeight(); }

double TvxDateScaler::GetScale()
{
    const int len = GetScaleLen();
    if (len <= 0) return 0;
    return std::max(0.0, VisibleTimeAmount() / len);
}

TDateTime TvxDateScaler::PixelLenToDate(int n) { return n * GetScale(); }

double TvxDateScaler::ScalePixel(double x)
{
    if (!GetIsPrinting()) return x;
    return x * (horizontal_ ? GetPrintScalex() : GetPrintScaley());
}

double TvxDateScaler::DateDiffToPixelLength(TDateTime theFrom, TDateTime theTo)
{
    const TDateTime amount = VisibleTimeAmount();
    if (amount == 0) return 0;
    return ScalePixel(GetScaleLen() * DateDiffToVisibleTime(theFrom, theTo) / amount);
}

int TvxDateScaler::GetPixelFromScaleMark(const TScaleMark& theMark)
{
    const TDateTime amount = VisibleTimeAmount();
    if (amount == 0) return 0;
    return Round(GetScaleLen() * (theMark.Date - start_) / amount);
}

int TvxDateScaler::TimeToPixel(TDateTime t)
{
    const TDateTime amount = VisibleTimeAmount();
    if (amount == 0) return 0;
    const double tod = t - std::floor(t);
    const double startTod = start_ - std::floor(start_);
    return Round((tod - startTod) * GetScaleLen() / amount);
}

// ---- Marks as anchors -------------------------------------------------------------------------

void TvxDateScaler::FindScaleMarksFromDate(TDateTime theDate, TScaleMark*& theBefore, TScaleMark*& theAfter)
{
    theBefore = nullptr;
    theAfter = nullptr;
    if (minorMarks_.empty()) return;
    const auto after = std::upper_bound(minorMarks_.begin(), minorMarks_.end(), theDate,
                                        [](TDateTime d, const TScaleMark& m) { return d < m.Date; });
    if (after != minorMarks_.begin()) theBefore = &*(after - 1);
    if (after != minorMarks_.end()) theAfter = &*after;
}

void TvxDateScaler::FindScaleMarksFromPixel(int thePixel, TScaleMark*& theBefore, TScaleMark*& theAfter)
{
    // Mark pixels never decrease, so the first mark beyond the pixel is found by halving.
    theBefore = nullptr;
    theAfter = nullptr;
    const auto after = std::upper_bound(minorMarks_.begin(), minorMarks_.end(), thePixel,
                                        [](int p, const TScaleMark& m) { return p < m.Pixel; });
    if (after != minorMarks_.end()) theAfter = &*after;
    if (after != minorMarks_.begin()) theBefore = &*(after - 1);
}

// ---- Conversions ------------------------------------------------------------------------------

int TvxDateScaler::DateToPixel(TDateTime theDate)
{
    const TDateTime amount = VisibleTimeAmount();
    if (amount == 0 || std::isnan(theDate)) return 0;
    // Beyond the calendar every time is as far as its end.
    theDate = std::clamp(theDate, MinDateTime, MaxDateTime + 1);
    TDateTime baseDate = start_;
    double basePixel = 0;
    const auto after = std::upper_bound(minorMarkDates_.begin(), minorMarkDates_.end(), theDate);
    if (after != minorMarkDates_.begin()) {
        const std::size_t i = static_cast<std::size_t>(after - minorMarkDates_.begin()) - 1;
        // A mark at the limit holds a clamped pixel, not its own: it is no anchor.
        if (std::fabs(minorMarks_[i].Pixel) < kPixelLimit) {
            baseDate = minorMarkDates_[i];
            basePixel = minorMarks_[i].Pixel;
        }
    }
    const TDateTime visible =
        theDate < baseDate ? -VisibleBetween(theDate, baseDate) : VisibleBetween(baseDate, theDate);
    const double pixel = basePixel + ScalePixel(GetScaleLen() * visible / amount);
    return Round(std::clamp(pixel, -kPixelLimit, kPixelLimit));
}

TDateTime TvxDateScaler::PixelToDate(int thePixel)
{
    const int len = GetScaleLen();
    if (thePixel < 0) return thePixel * GetScale() + start_;
    if (thePixel > len) return (thePixel - len) * GetScale() + stop_;
    // Start is the anchor of pixel 0 even when the first mark lies before it.
    if (thePixel == 0) return VisibleTimeToTrueTime_High(start_);

    TScaleMark* before;
    TScaleMark* after;
    FindScaleMarksFromPixel(thePixel, before, after);
    TDateTime lowDate = before ? before->Date : start_;
    double lowPixel = before ? before->Pixel : 0;
    TDateTime highDate = after ? after->Date : stop_;
    double highPixel = after ? after->Pixel : len;

    // A pixel on a mark (or on either end of the axis) is that mark's time, taken to the visible
    // instant the pixel shows.
    if (thePixel == lowPixel) return VisibleTimeToTrueTime_High(lowDate);
    if (thePixel >= highPixel) return VisibleTimeToTrueTime_Low(highDate);

    TDateTime result = lowDate;
    // Halving a span of days down to a millisecond takes well under a hundred steps.
    for (int step = 0; step < 100; ++step) {
        if (highDate - lowDate < kOneMSec) {
            result = lowDate;
            break;
        }
        const TDateTime midDate = lowDate + (highDate - lowDate) / 2;
        int midPixel = DateToPixel(midDate);
        result = midDate;
        if (midPixel == thePixel) break;
        if (thePixel < midPixel) {
            if (midPixel == highPixel) --midPixel;
            highDate = midDate;
            highPixel = midPixel;
        } else {
            if (midPixel == lowPixel) ++midPixel;
            lowDate = midDate;
            lowPixel = midPixel;
        }
    }
    return VisibleTimeToTrueTime_Low(result);
}

}  // namespace vxplan
