// TvxDateScaler: construction, properties and the state of the range.
#include <vxplan/scaler/vxScaler.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <bit>
#include <cmath>

namespace vxplan {

namespace {

// Stop is never set later than 1 Jan 4000.
TDateTime StopLimit()
{
    static const TDateTime limit = EncodeDate(4000, 1, 1);
    return limit;
}

constexpr int kScrollInterval = 50;
// The shortest range SetStop takes: below it the range cannot be told apart from a point.
constexpr TDateTime kShortestRange = 1.0 / MSecsPerDay;

}  // namespace

TvxDateScaler::TvxDateScaler(TComponent* AOwner) : TvxOffscreenPaint(AOwner)
{
    for (TFont* font : {&textFont1_, &textFont2_, &textFont3_}) {
        font->SetName("Arial");
        font->SetSize(7);
    }
    maxStop_ = StopLimit();
    scrollTimer_ = NewScrollTimer(kScrollInterval);
    start_ = Date();
    stop_ = start_ + kWeek;
    CalcDrawMode();
}

TvxDateScaler::~TvxDateScaler()
{
    scrollTimer_->SetEnabled(false);
}

void TvxDateScaler::CheckCalendarDate(TDateTime t, const char* aWhat)
{
    if (!(t >= MinDateTime && t <= MaxDateTime))
        throw EInvalidArgument(std::string(aWhat) + " lies outside the calendar (years 1 to 9999)");
}

// ---- Simple properties ------------------------------------------------------------------

void TvxDateScaler::SetDateFormat(const std::string& value)
{
    dateFormat_ = value;
    CalcDrawMode();
    Invalidate();
}

void TvxDateScaler::SetTimeFormat(const std::string& value)
{
    timeFormat_ = value;
    CalcDrawMode();
    Invalidate();
}

void TvxDateScaler::SetFirstDayOfWeek(int value)
{
    // Week truncation steps back day by day until it meets this day: another value never comes.
    if (value < 1 || value > 7)
        throw EInvalidArgument("FirstDayOfWeek must be 1 (Sunday) to 7 (Saturday), not " + std::to_string(value));
    if (value == firstDayOfWeek_) return;
    firstDayOfWeek_ = value;
    CalcDrawMode();
    Invalidate();
}

void TvxDateScaler::SetWeekNumbers(bool value)
{
    weekNumbers_ = value;
    CalcDrawMode();
    Invalidate();
}

void TvxDateScaler::SetWeekPrefix(const std::string& value)
{
    weekPrefix_ = value;
    CalcDrawMode();
    Invalidate();
}

void TvxDateScaler::SetWeekYearFormat(const std::string& value)
{
    weekYearFormat_ = value;
    CalcDrawMode();
    Invalidate();
}

void TvxDateScaler::SetQuarterPrefix(const std::string& value)
{
    quarterPrefix_ = value;
    CalcDrawMode();
    Invalidate();
}

void TvxDateScaler::SetIndicatorOn(bool value)
{
    indicatorOn_ = value;
    Invalidate();
}

void TvxDateScaler::SetHorizontal(bool value)
{
    if (value == horizontal_) return;
    horizontal_ = value;
    // The marks are the conversions' anchors, placed along the length the axis now has.
    CalcDrawMode();
}

void TvxDateScaler::SetPixelsForModeSwitch(int value)
{
    if (value < 1) throw EInvalidArgument("PixelsForModeSwitch must be at least 1, not " + std::to_string(value));
    pixelsForModeSwitch_ = value;
    CalcDrawMode();
    Invalidate();
}

void TvxDateScaler::SetMinStart(TDateTime value)
{
    CheckCalendarDate(value, "MinStart");
    // Limits that leave no room would refuse every move of the user.
    if (value >= maxStop_) throw EInvalidArgument("MinStart must be earlier than MaxStop");
    minStart_ = value;
}

void TvxDateScaler::SetMaxStop(TDateTime value)
{
    CheckCalendarDate(value, "MaxStop");
    if (value <= minStart_) throw EInvalidArgument("MaxStop must be later than MinStart");
    maxStop_ = value;
}

void TvxDateScaler::SetZoomFactor(double value)
{
    if (!std::isfinite(value) || value <= 0) throw EInvalidArgument("ZoomFactor must be a positive number");
    zoomFactor_ = value;
}

void TvxDateScaler::SetIndicatorStyle(TIndicatorStyle value)
{
    indicatorStyle_ = value;
    Invalidate();
}

void TvxDateScaler::SetRescaleWithCtrl(bool value) { rescaleWithCtrl_ = value; }

void TvxDateScaler::SetTextFont1(const TFont& value)
{
    textFont1_.Assign(value);
    Invalidate();
}

void TvxDateScaler::SetTextFont2(const TFont& value)
{
    textFont2_.Assign(value);
    Invalidate();
}

void TvxDateScaler::SetTextFont3(const TFont& value)
{
    textFont3_.Assign(value);
    Invalidate();
}

TFont& TvxDateScaler::GetScalerFont(TScalerFont which)
{
    switch (which) {
    case TScalerFont::sTextFont2: return textFont2_;
    case TScalerFont::sTextFont3: return textFont3_;
    case TScalerFont::sTextFont1: break;
    }
    return textFont1_;
}

void TvxDateScaler::SetLookAndFeel(TLookAndFeel value)
{
    lookAndFeel_ = value;
    Invalidate();
}

void TvxDateScaler::SetScrollButtons(TScrollButtons value)
{
    scrollButtons_ = value;
    Invalidate();
}

void TvxDateScaler::SetVerticalText(bool value)
{
    verticalText_ = value;
    Invalidate();
}

// ---- The range ----------------------------------------------------------------------------

void TvxDateScaler::AssignRange(TDateTime theStart, TDateTime theStop)
{
    start_ = theStart;
    stop_ = theStop;
}

void TvxDateScaler::RebuildMarksAndChange()
{
    CalcDrawMode();
    changed_ = true;
    Invalidate();
}

void TvxDateScaler::SetStart(TDateTime t)
{
    CheckCalendarDate(t, "Start");
    if (t == start_) return;
    if (t < 0) t = 0;
    const TDateTime amount = VisibleTimeAmount();
    TDateTime newStop = VisibleTimeDiffToTrueTime(t, amount);
    // A range of hidden time only shows no amount to keep: its true length goes along instead,
    // so Stop stays after Start.
    if (!(newStop > t)) newStop = t + (stop_ - start_);
    // Stop stays where SetStop would put it at the latest: marks beyond the range still need
    // dates of the calendar.
    if (!(newStop <= StopLimit())) throw EInvalidArgument("Start leaves Stop beyond 1 Jan 4000");
    AssignRange(t, newStop);
    RebuildMarksAndChange();
}

void TvxDateScaler::SetStop(TDateTime t)
{
    CheckCalendarDate(t, "Stop");
    if (t == stop_) return;
    if (t > StopLimit()) t = StopLimit();
    if (t <= start_) throw EInvalidArgument("Stop must be later than Start");
    if (t - start_ < kShortestRange) throw EInvalidArgument("To small span");
    stop_ = t;
    CalcDrawMode();
    changed_ = true;
    savedScale_ = GetScale();
    Invalidate();
}

void TvxDateScaler::SetScale(double theScale)
{
    if (!std::isfinite(theScale)) throw EInvalidArgument("Scale must be a number");
    const TDateTime oldStart = start_;
    const TDateTime oldStop = stop_;
    const TDateTime newStop = VisibleTimeDiffToTrueTime(start_, GetScaleLen() * theScale);
    // A Stop beyond the latest that SetStop takes is refused as silently as a range below 10
    // seconds.
    if (newStop <= StopLimit()) stop_ = newStop;
    if (VisibleTimeAmount() < kScale10Sec) AssignRange(oldStart, oldStop);
    RebuildMarksAndChange();
}

bool TvxDateScaler::CheckIfOkStartStop(TDateTime aStart, TDateTime aStop) const
{
    return minStart_ <= aStart && aStop <= maxStop_;
}

void TvxDateScaler::RecountHidden()
{
    hiddenHourBits_ = 0;
    for (int h = 0; h < 24; ++h)
        if (hiddenHours_.Contains(static_cast<TvxHiddenHoursEnum>(h))) hiddenHourBits_ |= 1u << h;
    hiddenDayBits_ = 0;
    for (int d = 0; d < 7; ++d)
        if (hiddenDays_.Contains(static_cast<TvxHiddenDaysEnum>(d))) hiddenDayBits_ |= static_cast<uint8_t>(1u << d);
    hiddenHourCount_ = std::popcount(hiddenHourBits_);
    hiddenDayCount_ = std::popcount(static_cast<unsigned>(hiddenDayBits_));
}

void TvxDateScaler::SetHiddenHours(TvxHiddenHours value)
{
    // Only the 24 hours of a day can be hidden; values beyond them are dropped.
    TvxHiddenHours kept;
    for (int h = 0; h < 24; ++h)
        if (value.Contains(static_cast<TvxHiddenHoursEnum>(h))) kept.Include(static_cast<TvxHiddenHoursEnum>(h));
    hiddenHours_ = kept.Count() == 24 ? TvxHiddenHours() : kept;
    weekStale_ = true;
    RecountHidden();
    // The marks are built with the amount still cached for the unchanged Start and Stop, so
    // the pixel at the end of the axis gives the Stop that keeps the amount shown.
    CalcDrawMode();
    MoveStopKeepingAmount();
}

void TvxDateScaler::SetHiddenDays(TvxHiddenDays value)
{
    TvxHiddenDays kept;
    for (int d = 0; d < 7; ++d)
        if (value.Contains(static_cast<TvxHiddenDaysEnum>(d))) kept.Include(static_cast<TvxHiddenDaysEnum>(d));
    hiddenDays_ = kept.Count() == 7 ? TvxHiddenDays() : kept;
    weekStale_ = true;
    RecountHidden();
    CalcDrawMode();
    MoveStopKeepingAmount();
}

void TvxDateScaler::MoveStopKeepingAmount()
{
    // Without an axis to measure, the amount shown is kept by walking it from Start.
    TDateTime newStop = GetScaleLen() > 0 && !minorMarks_.empty()
                            ? PixelToDate(GetScaleLen())
                            : VisibleTimeDiffToTrueTime(start_, VisibleTimeAmount());
    if (newStop > StopLimit()) newStop = StopLimit();
    if (newStop > start_) stop_ = newStop;
    // The amount and the marks follow the new Stop and the new hidden set.
    amountValid_ = false;
    RebuildMarksAndChange();
}

void TvxDateScaler::BeginUpdate() { TvxOffscreenPaint::BeginUpdate(); }

void TvxDateScaler::EndUpdate()
{
    TvxOffscreenPaint::EndUpdate();
    CalcDrawMode();
    Invalidate();
}

// ---- Painting, resizing and the change announcement ------------------------------------------

void TvxDateScaler::Resize()
{
    // The range follows the new length when painted; the marks, the conversions' anchors, must
    // follow it now so that every conversion before then sees the length the axis has.
    CalcDrawMode();
    resizePending_ = true;
    TvxOffscreenPaint::Resize();
}

void TvxDateScaler::OffscreenPaint()
{
    if (!GetIsPrinting()) {
        // A wider control shows more time at the same scale, unless the range was set anew. The
        // resize built the marks for the new length already: only a moved Stop needs them again.
        if (resizePending_ && stop_ == lastPaintStop_ && savedScale_ > 0) {
            TDateTime newStop = VisibleTimeDiffToTrueTime(start_, GetScaleLen() * savedScale_);
            if (newStop > StopLimit()) newStop = StopLimit();
            if (newStop > start_ && newStop != stop_) {
                stop_ = newStop;
                CalcDrawMode();
            }
        }
        resizePending_ = false;
        savedScaleLen_ = GetScaleLen();
        savedScale_ = GetScale();
    }
    DoThePaint(GetOffscreenCanvas(), Rect(0, 0, GetWidth(), GetHeight()));
    if (!GetIsPrinting()) lastPaintStop_ = stop_;
}

void TvxDateScaler::AnnounceChangeIfDue()
{
    if (!changed_ || !OnChange || zooming_) return;
    changed_ = false;
    PostMessage(Handle(), WM_VXSCALERCHANGE, 0, 0);
}

void TvxDateScaler::CallChange()
{
    if (OnChange) OnChange(this);
}

void TvxDateScaler::WndProc(TMessage& message)
{
    if (message.Msg == WM_VXSCALERCHANGE) {
        CallChange();
        return;
    }
    TvxOffscreenPaint::WndProc(message);
}

void TvxDateScaler::FailScale(const std::string& aMessage)
{
    if (!failing_) {
        failing_ = true;
        AssignRange(start_, start_ + kDay);
        try {
            BuildAllMarks();
        } catch (...) {
            minorMarks_.clear();
            minorMarkDates_.clear();
            majorMarks_.clear();
        }
        try {
            MouseUp(TMouseButton::mbLeft, TShiftState(), -1, -1);
        } catch (...) {
        }
        failing_ = false;
    }
    throw Exception(aMessage);
}

}  // namespace vxplan
