// TvxDateScaler and the mouse: zooming and panning by dragging, the scroll buttons with their
// accelerating timer, zooming around a point and animated transitions.
#include <vxplan/scaler/vxScaler.h>

#include <vxplan/platform/time/vxClock.h>

#include <cmath>

namespace vxplan {

namespace {

constexpr int kScrollIntervalMs = 50;
constexpr int kProgrammaticIntervalMs = 150;
constexpr int kScrollStepPixels = 15;
constexpr int64_t kFasterAfterMs = 2000, kFastestAfterMs = 5000;
constexpr double kZoomPerPixel = 0.01;
constexpr int kAnimationPauseMs = 10;
constexpr double kAnimationEpsilon = 1e-8;

// BeginUpdate .. EndUpdate, ended however the scope is left.
class TUpdateScope {
public:
    explicit TUpdateScope(TvxDateScaler& scaler) : scaler_(scaler) { scaler_.BeginUpdate(); }
    ~TUpdateScope() { scaler_.EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TvxDateScaler& scaler_;
};

}  // namespace

bool TvxDateScaler::RescaleNotPan(TShiftState aShift) const
{
    const bool ctrl = aShift.Contains(ssCtrl);
    return rescaleWithCtrl_ ? ctrl : !ctrl;
}

void TvxDateScaler::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    lastMouse_ = Point(x, y);
    if (button != TMouseButton::mbLeft && button != TMouseButton::mbRight) {
        TvxOffscreenPaint::MouseDown(button, shift, x, y);
        return;
    }
    // A double click's second press may come twice, as a press and as the double click.
    const bool newPress = !pressed_;
    if (newPress) pressTick_ = ApplicationClock().TickCount();
    pressed_ = true;
    downX_ = x;
    downY_ = y;
    scaleAtPress_ = GetScale();
    shiftAtPress_ = shift;
    downPos_ = horizontal_ ? x : y;
    dateAtPress_ = PixelToDate(downPos_);
    TvxOffscreenPaint::MouseDown(button, shift, x, y);
    const bool later = PtInRect(laterButton_, Point(x, y));
    if (later || PtInRect(earlierButton_, Point(x, y))) {
        stepUp_ = later;
        stepDown_ = !later;
        StartScrollTimer(scrollTimer_->GetInterval());
        // The press itself steps, as a scroll bar's arrow does, and holding repeats.
        if (newPress) ScrollStep(GetScrollStep());
    }
    if (CanFocus()) SetFocus();
    if (button == TMouseButton::mbLeft) dateAtPress_ = Snap(dateAtPress_, minorStep_);
}

void TvxDateScaler::MouseMove(TShiftState shift, int x, int y)
{
    lastMouse_ = Point(x, y);
    TvxOffscreenPaint::MouseMove(shift, x, y);
    if (!pressed_ || scrollTimer_->GetEnabled()) return;
    const int position = horizontal_ ? x : y;
    const int delta = position - downPos_;
    if (RescaleNotPan(shiftAtPress_)) {
        zooming_ = true;
        if (scaleAtPress_ > 0 && delta != 0) {
            const double scale = scaleAtPress_ * (1 + kZoomPerPixel * delta);
            if (scale > 0) SetCenterScale(scale, dateAtPress_, downPos_);
        }
        return;
    }
    {
        const TUpdateScope update(*this);
        const TDateTime amount = VisibleTimeAmount();
        const TDateTime pixelTime = PixelLenToDate(10) / 10;
        const TDateTime start =
            delta > 0 ? VisibleTimeToTrueTime_Low(VisibleTimeToTrueTime_Low(start_) - delta * pixelTime)
                      : VisibleTimeToTrueTime_High(VisibleTimeToTrueTime_High(start_) - delta * pixelTime);
        if (CheckIfOkStartStop(start, start + amount)) {
            SetStart(start);
            SetStop(VisibleTimeDiffToTrueTime(start_, amount));
        }
    }
    // Panning is incremental: the next move counts from here.
    downPos_ = position;
    downX_ = x;
    downY_ = y;
}

void TvxDateScaler::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    lastMouse_ = Point(x, y);
    TvxOffscreenPaint::MouseUp(button, shift, x, y);
    pressed_ = false;
    scrollTimer_->SetEnabled(false);
    stepUp_ = stepDown_ = false;
    zooming_ = false;
    Repaint();
}

void TvxDateScaler::SetCenterScale(double aScale, TDateTime aDate, int aPixel)
{
    const TUpdateScope update(*this);
    const TDateTime oldStart = start_, oldStop = stop_;
    SetStart(VisibleTimeToTrueTime_High(VisibleTimeDiffToTrueTime(aDate, -static_cast<double>(aPixel) * aScale)));
    SetScale(aScale);
    const bool veto = OnLimitScaling && OnLimitScaling(this, start_, stop_, GetScale());
    // SetScale refuses a range under ten seconds on its own; the slide of Start made for that
    // zoom goes with it.
    const bool tooFine = VisibleTimeAmount() < kScale10Sec || GetScaleLen() * aScale < kScale10Sec;
    if (veto || tooFine) {
        AssignRange(oldStart, oldStop);
        CalcDrawMode();
    }
}

TDateTime TvxDateScaler::GetScrollStep() { return PixelLenToDate(kScrollStepPixels); }

void TvxDateScaler::ScrollButtonPressed(TObject*)
{
    const bool overButton = PtInRect(laterButton_, lastMouse_) || PtInRect(earlierButton_, lastMouse_);
    if (!overButton && !programmaticStep_) {
        StopStep();
        return;
    }
    if (!scrollTimer_->GetEnabled()) return;
    TDateTime step = GetScrollStep();
    if (!programmaticStep_) {
        const int64_t held = ApplicationClock().TickCount() - pressTick_;
        if (held > kFasterAfterMs) step *= 3;
        if (held > kFastestAfterMs) step *= 7;
    }
    ScrollStep(step);
}

void TvxDateScaler::ScrollStep(TDateTime step)
{
    const TUpdateScope update(*this);
    const TDateTime start = VisibleTimeDiffToTrueTime(start_, stepUp_ ? step : -step);
    if (start != start_ && CheckIfOkStartStop(start, start + VisibleTimeAmount())) SetStart(start);
}

std::unique_ptr<TTimer> TvxDateScaler::NewScrollTimer(int interval)
{
    auto timer = std::make_unique<TTimer>();
    timer->SetEnabled(false);
    timer->SetInterval(interval);
    timer->SetOnTimer(TNotifyEvent(this, &TvxDateScaler::ScrollButtonPressed));
    return timer;
}

void TvxDateScaler::StartScrollTimer(int interval)
{
    // A timer may be freed even from its own tick (it touches nothing of its own after it).
    if (&scrollTimer_->Clock() != &ApplicationClock()) scrollTimer_ = NewScrollTimer(interval);
    scrollTimer_->SetInterval(interval);
    scrollTimer_->SetEnabled(true);
}

void TvxDateScaler::StartStepUp() { StartProgrammaticStep(true); }

void TvxDateScaler::StartStepDown() { StartProgrammaticStep(false); }

void TvxDateScaler::StartProgrammaticStep(bool later)
{
    programmaticStep_ = true;
    stepUp_ = later;
    stepDown_ = !later;
    StartScrollTimer(kProgrammaticIntervalMs);
}

void TvxDateScaler::StopStep()
{
    scrollTimer_->SetInterval(kScrollIntervalMs);
    programmaticStep_ = false;
    stepUp_ = stepDown_ = false;
    scrollTimer_->SetEnabled(false);
    pressed_ = false;
    zooming_ = false;
    changed_ = false;
    Invalidate();
}

void TvxDateScaler::AnimateScaleTransition(double aScale, int aSteps)
{
    if (!(aScale > 0) || aSteps <= 0) return;
    const double from = GetScale();
    const double step = (aScale - from) / aSteps;
    for (int i = 1; i <= aSteps; ++i) {
        const double before = GetScale();
        {
            const TUpdateScope update(*this);
            SetScale(from + step * i);
        }
        if (OnAnimateChange) OnAnimateChange(this);
        changed_ = true;
        Repaint();
        ApplicationClock().Delay(kAnimationPauseMs);
        const double now = GetScale();
        if (std::fabs(now - aScale) < kAnimationEpsilon || std::fabs(now - before) <= kAnimationEpsilon) break;
    }
}

void TvxDateScaler::AnimateScaleTransition(TDateTime aStart, TDateTime aStop, int aSteps)
{
    if (aStop <= aStart) aStop = aStart + kDay;
    if (aSteps < 1) aSteps = 1;
    const TDateTime fromStart = start_, fromStop = stop_;
    if (std::fabs(aStart - fromStart) / aSteps < kMinute && aSteps > 1) aSteps = 1;
    for (int i = 1; i <= aSteps; ++i) {
        const TDateTime start = i == aSteps ? aStart : fromStart + (aStart - fromStart) * i / aSteps;
        const TDateTime stop = i == aSteps ? aStop : fromStop + (aStop - fromStop) * i / aSteps;
        {
            const TUpdateScope update(*this);
            SetStart(start);
            SetStop(stop);
        }
        if (OnAnimateChange) OnAnimateChange(this);
        Repaint();
        ApplicationClock().Delay(kAnimationPauseMs);
    }
}

}  // namespace vxplan
