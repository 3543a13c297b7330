// TvxDateScaler: scale levels, calendar alignment and the building of both mark rows.
#include <vxplan/scaler/vxScaler.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace vxplan {

namespace {

// A row holds at most one mark per visible 1/PixelsForModeSwitch of the axis plus the hidden
// stretches walked step by step; far more than this means the marks do not advance.
constexpr std::size_t kMaxMarks = 1000000;

std::string SpanText(double span)
{
    std::ostringstream out;
    out << span;
    return out.str();
}

Word YearOf(TDateTime t)
{
    Word y, m, d;
    DecodeDate(t, y, m, d);
    return y;
}

}  // namespace

TDateTime TvxDateScaler::Snap(TDateTime aDate, TDateTime aStep)
{
    Word y, m, d;
    if (aStep == kScale3Month || aStep == kScale1Month || aStep == kScale1Year || aStep == kScale10Year ||
        aStep == kScale20Year || aStep == kScale100Year) {
        DecodeDate(aDate, y, m, d);
        if (aStep == kScale3Month) return EncodeDate(y, static_cast<Word>((m - 1) / 3 * 3 + 1), 1);
        if (aStep == kScale1Month) return EncodeDate(y, m, 1);
        if (aStep == kScale1Year) return EncodeDate(y, 1, 1);
        const int every = aStep == kScale10Year ? 10 : aStep == kScale20Year ? 20 : 100;
        // There is no year 0: the first span of a century begins in year 1.
        const int year = std::max(1, y / every * every);
        return EncodeDate(static_cast<Word>(year), 1, 1);
    }
    if (aStep == kScale1Week) return TruncToFirstDayOfWeek(aDate);
    if (aStep > kScale1Sec) {
        const double steps = aDate / aStep + 0.5;
        if (!(std::fabs(steps) < 9.0e15)) FailScale("To small span");
        return std::trunc(steps) * aStep;
    }
    return aDate;
}

TDateTime TvxDateScaler::GetAdaptiveStep(TDateTime aDate, TDateTime aStep) const
{
    Word y, m, d;
    if (aStep == kScale1Month || aStep == kScale3Month) {
        DecodeDate(aDate, y, m, d);
        int month = aStep == kScale1Month ? m + 1 : (m - 1) / 3 * 3 + 4;
        int year = y;
        if (month >= 13) {
            month -= 12;
            ++year;
        }
        return EncodeDate(static_cast<Word>(year), static_cast<Word>(month), 1) - aDate;
    }
    if (aStep == kScale1Year || aStep == kScale10Year || aStep == kScale20Year || aStep == kScale100Year) {
        DecodeDate(aDate, y, m, d);
        const int years = aStep == kScale1Year ? 1 : aStep == kScale10Year ? 10 : aStep == kScale20Year ? 20 : 100;
        return EncodeDate(static_cast<Word>(y + years), 1, 1) - aDate;
    }
    return aStep;
}

void TvxDateScaler::CalcDrawMode()
{
    try {
        BuildAllMarks();
    } catch (const std::exception& e) {
        FailScale(std::string("Scale error: ") + e.what());
    }
}

void TvxDateScaler::BuildAllMarks()
{
    minorMarks_.clear();
    majorMarks_.clear();
    minorMarkDates_.clear();
    const TDateTime span = PixelLenToDate(pixelsForModeSwitch_);
    if (span <= 1e-50) return;
    try {
        minorStep_ = StepFork(span, minorStepName_);
        majorStep_ = StepFork(minorStep_, majorStepName_);
        timeOf10Pixels_ = PixelLenToDate(10);
    } catch (const std::exception&) {
        throw Exception("Init");
    }
    try {
        BuildMarks(minorMarks_, minorStep_, false);
    } catch (const std::exception& e) {
        throw Exception("Middle: " + SpanText(span) + " " + e.what());
    }
    minorMarkDates_.reserve(minorMarks_.size());
    for (const TScaleMark& m : minorMarks_) minorMarkDates_.push_back(m.Date);
    BuildMarks(majorMarks_, majorStep_, true);
    CalcOddOrEventStartForVerticalBack();
}

void TvxDateScaler::BuildMarks(TScaleMarkList& theList, TDateTime theStep, bool theMajor)
{
    TDateTime baseDate = start_;
    double basePixel = 0;
    TDateTime d = Snap(start_, theStep);
    const double end = ScalePixel(GetScaleLen());
    while (basePixel < end) {
        TScaleMark mark;
        mark.IsMajor = theMajor;
        mark.Date = d;
        // The walk goes on from the exact pixel; the mark keeps it within reach of drawing.
        const double pixel = basePixel + DateDiffToPixelLength(baseDate, d);
        mark.Pixel = std::clamp(pixel, -kPixelLimit, kPixelLimit);
        if (theMajor)
            mark.Text = GetApprioateStringLong(d, theStep, mark.Font);
        else
            GetApprioateStringShort(d, theStep, Round(pixel - basePixel), mark.Text, mark.Font, mark.SubText,
                                    mark.SubFont);
        basePixel = pixel;
        baseDate = mark.Date;

        TDateTime next = Snap(d + GetAdaptiveStep(d, theStep), theStep);
        mark.Hidden = DateDiffToVisibleTime(d, next) == 0;
        if (mark.Hidden) {
            // Walk a long hidden stretch in one jump, leaving its last three steps.
            const double n = std::trunc((VisibleTimeToTrueTime_High(next) - next) / theStep) - 3;
            if (n * theStep > theStep) next += n * theStep;
        }
        theList.push_back(std::move(mark));
        if (!(next > d) || theList.size() > kMaxMarks) throw Exception("the marks do not advance");
        d = next;
    }
}

void TvxDateScaler::CalcOddOrEventStartForVerticalBack()
{
    oddOrEvenStart_ = 0;
    if (majorMarks_.empty()) return;
    const TDateTime t = majorMarks_.front().Date;
    const TDateTime step = majorStep_;
    Word y, mo, d, h, mi, s, ms;
    DecodeDateTime(t, y, mo, d, h, mi, s, ms);
    if (step == kScale1Sec) oddOrEvenStart_ = s;
    else if (step == kScale10Sec) oddOrEvenStart_ = s / 10;
    else if (step == kScale1Min) oddOrEvenStart_ = mi;
    else if (step == kScale10Min) oddOrEvenStart_ = mi / 10;
    else if (step == kScale1Hour) oddOrEvenStart_ = h;
    else if (step == kScale1Day) oddOrEvenStart_ = Round(t);
    else if (step == kScale1Week) {
        bool nextYear;
        oddOrEvenStart_ = GetWeekNum(t, nextYear);
    } else if (step == kScale1Month) oddOrEvenStart_ = mo;
    else if (step == kScale3Month) oddOrEvenStart_ = DateToQuarter(t);
    else if (step == kScale1Year) oddOrEvenStart_ = y;
    else if (step == kScale10Year) oddOrEvenStart_ = y / 10;
    else if (step == kScale20Year) oddOrEvenStart_ = y / 20;
    else if (step == kScale100Year) oddOrEvenStart_ = y / 100;
}

int TvxDateScaler::MarkOrMiddlePix(const TScaleMarkList& aList, int i, int j, bool aMiddleForDays)
{
    if (i < 0 || i >= static_cast<int>(aList.size()))
        throw EListError("Scale mark index out of bounds (" + std::to_string(i) + ")");
    const TScaleMark& mark = aList[static_cast<std::size_t>(i)];
    const bool daysOrLonger = (mark.IsMajor ? majorStep_ : minorStep_) >= kDay;
    if (daysOrLonger != aMiddleForDays) return Round(mark.Pixel);
    const double next = j >= 0 && j < static_cast<int>(aList.size()) ? aList[static_cast<std::size_t>(j)].Pixel
                                                                       : ScalePixel(GetScaleLen());
    return Round((mark.Pixel + next) / 2);
}

int TvxDateScaler::GetScaleMarkPix(const TScaleMarkList& aList, int i, int j)
{
    return MarkOrMiddlePix(aList, i, j, true);
}

int TvxDateScaler::GetBoxPix(const TScaleMarkList& aList, int i, int j) { return MarkOrMiddlePix(aList, i, j, false); }

// ---- Weeks ----------------------------------------------------------------------------------

TDateTime TvxDateScaler::TruncToFirstDayOfWeek(TDateTime t) const
{
    // FirstDayOfWeek is 1..7 (the setter sees to it), so the day is at most six days back.
    const double day = std::floor(t);
    const int dow = DayOfWeek(day);
    return day - (dow - firstDayOfWeek_ + 7) % 7;
}

TDateTime TvxDateScaler::FirstWeekOfYear(TDateTime t, bool& theFlag) const
{
    const TDateTime j1 = EncodeDate(YearOf(t), 1, 1);
    theFlag = DayOfWeek(j1) <= 5;
    return TruncToFirstDayOfWeek(theFlag ? j1 : j1 + kWeek);
}

int TvxDateScaler::GetWeekNum(TDateTime t, bool& theNextYear) const
{
    theNextYear = false;
    bool flag;
    int w = static_cast<int>(std::trunc((t - FirstWeekOfYear(t, flag)) / kWeek)) + 1;
    if (w == 53) {
        FirstWeekOfYear(t + kYear, flag);
        if (flag) {
            w = 1;
            theNextYear = true;
        }
    }
    return w;
}

}  // namespace vxplan
