// The application clock: the one source of wall time, tick counts and timers.
//
// Components never read the system time or start Qt timers themselves; they go through the
// clock in force, so a test can install a TTestClock and step time by hand.
#pragma once

#include <vxplan/platform/time/vxDateUtils.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace vxplan {

class TClock {
public:
    using TTimerCallback = std::function<void()>;

    virtual ~TClock() = default;
    // Local wall time, days since 30 December 1899.
    virtual TDateTime Now() const = 0;
    // Milliseconds on a monotonic scale (the platform's tick count).
    virtual int64_t TickCount() const = 0;
    // A repeating timer on the user-interface thread; returns an id greater than 0.
    virtual int StartTimer(int intervalMs, TTimerCallback onDue) = 0;
    virtual void StopTimer(int id) = 0;
    // Waits about ms milliseconds without handling events (a pause between animation frames).
    virtual void Delay(int ms) = 0;
};

// The clock in force: the real clock unless a test installed another.
TClock& ApplicationClock();
// Installs a clock (not owned; nullptr goes back to the real clock). Timers started on the
// previous clock stay with it.
void SetApplicationClock(TClock* clock);

// Wall time from the system, timers on Qt's event loop.
class TRealClock final : public TClock {
public:
    TRealClock();
    ~TRealClock() override;
    TDateTime Now() const override;
    int64_t TickCount() const override;
    int StartTimer(int intervalMs, TTimerCallback onDue) override;
    void StopTimer(int id) override;
    void Delay(int ms) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Time that moves only when the test says so. Advance fires the timers that fall due, in the
// order of their due times (ties in the order they were started), each as often as it falls due.
class TTestClock final : public TClock {
public:
    explicit TTestClock(TDateTime start = 46000.0);
    TDateTime Now() const override;
    int64_t TickCount() const override;
    int StartTimer(int intervalMs, TTimerCallback onDue) override;
    void StopTimer(int id) override;
    // Moves the time on without firing timers, as a real pause would leave them due.
    void Delay(int ms) override;

    // Sets the wall time without moving the tick count or firing timers.
    void SetNow(TDateTime now);
    // Throws EInvalidArgument for a negative step and EInvalidOperation when called from a
    // timer callback.
    void Advance(int64_t ms);
    int ActiveTimerCount() const;

private:
    struct Timer {
        int interval;
        int64_t due;
        uint64_t order;
        TTimerCallback onDue;
    };
    TDateTime start_;
    int64_t elapsedMs_ = 0;
    int64_t elapsedAtStart_ = 0;  // the tick count when start_ was set
    bool advancing_ = false;
    int nextId_ = 1;
    uint64_t nextOrder_ = 0;
    std::map<int, Timer> timers_;
};

// Installs a test clock for the lifetime of the guard.
class TTestClockScope {
public:
    explicit TTestClockScope(TDateTime start = 46000.0) : clock_(start) { SetApplicationClock(&clock_); }
    ~TTestClockScope() { SetApplicationClock(nullptr); }
    TTestClock& Clock() { return clock_; }

private:
    TTestClock clock_;
};

}  // namespace vxplan
