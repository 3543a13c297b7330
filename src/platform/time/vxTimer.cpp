// TTimer: starting and stopping its timer on the application clock as Enabled and Interval change.
#include <vxplan/platform/time/vxTimer.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <string>

namespace vxplan {

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), clock_(&ApplicationClock()) {}

TTimer::~TTimer()
{
    if (timerId_) clock_->StopTimer(timerId_);
}

void TTimer::SetInterval(int ms)
{
    if (ms < 0) throw EInvalidArgument("A timer interval cannot be negative (" + std::to_string(ms) + ")");
    if (ms == interval_) return;
    interval_ = ms;
    UpdateTimer();
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& handler)
{
    onTimer_ = handler;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (timerId_) {
        clock_->StopTimer(timerId_);
        timerId_ = 0;
    }
    if (enabled_ && interval_ > 0 && onTimer_) timerId_ = clock_->StartTimer(interval_, [this] { Timer(); });
}

void TTimer::Timer()
{
    // A copy: the handler may reassign OnTimer or free the timer, and nothing of ours is
    // touched after it returns.
    const TNotifyEvent handler = onTimer_;
    if (handler) handler(this);
}

}  // namespace vxplan
