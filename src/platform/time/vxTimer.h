// TTimer: a component that raises OnTimer every Interval milliseconds on the clock that was in
// force when it was created (that clock must outlive the timer).
//
// It runs only while Enabled, Interval > 0 and OnTimer is assigned; changing any of the three
// starts the count again from zero.
#pragma once

#include <vxplan/platform/core/vxComponent.h>
#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/time/vxClock.h>

namespace vxplan {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner = nullptr);
    ~TTimer() override;

    int GetInterval() const { return interval_; }
    // Throws EInvalidArgument for a negative interval, leaving the timer as it was.
    void SetInterval(int ms);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const TNotifyEvent& GetOnTimer() const { return onTimer_; }
    void SetOnTimer(const TNotifyEvent& handler);

    bool IsRunning() const { return timerId_ != 0; }
    // The clock the timer runs on.
    TClock& Clock() const { return *clock_; }

protected:
    // Raises OnTimer with the timer as Sender.
    virtual void Timer();

private:
    void UpdateTimer();

    TClock* clock_;
    int interval_ = 1000;
    bool enabled_ = true;
    TNotifyEvent onTimer_;
    int timerId_ = 0;
};

}  // namespace vxplan
