// The real clock on Qt's timers and the test clock that moves only when told.
#include <vxplan/platform/time/vxClock.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/core/vxFlagScope.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <mutex>

namespace vxplan {

namespace {

std::atomic<TClock*> installed{nullptr};

TRealClock& RealClock()
{
    static TRealClock clock;
    return clock;
}

}  // namespace

TClock& ApplicationClock()
{
    TClock* clock = installed.load();
    return clock ? *clock : RealClock();
}

void SetApplicationClock(TClock* clock) { installed.store(clock); }

// ---- the real clock ----

struct TRealClock::Impl {
    QElapsedTimer elapsed;
    int64_t base = 0;
    std::mutex mutex;
    int nextId = 1;
    // The timers live on a context object that belongs to the application and its thread; it
    // goes away with the application, taking the timers with it.
    QPointer<QObject> context;
    std::map<int, QPointer<QTimer>> timers;

    QObject* Context()
    {
        if (!context) {
            QCoreApplication* app = QCoreApplication::instance();
            if (!app) throw EInvalidOperation("Timers need the application object to exist");
            auto* object = new QObject;
            context = object;
            if (object->thread() == app->thread()) {
                object->setParent(app);
            } else {
                // The application's children are touched on its own thread only.
                object->moveToThread(app->thread());
                QMetaObject::invokeMethod(app, [object = QPointer<QObject>(object), app] {
                    if (object) object->setParent(app);
                }, Qt::QueuedConnection);
            }
        }
        return context;
    }

    // Work on the timers happens on the user-interface thread, at once when we are on it.
    template <class F>
    void OnUiThread(QObject* ctx, F f)
    {
        if (QThread::currentThread() == ctx->thread()) f();
        else QMetaObject::invokeMethod(ctx, std::move(f), Qt::QueuedConnection);
    }
};

TRealClock::TRealClock() : impl_(std::make_unique<Impl>())
{
    impl_->elapsed.start();
    impl_->base = impl_->elapsed.msecsSinceReference();
}

TRealClock::~TRealClock()
{
    // At exit the application may be gone already, and its children with it.
    for (auto& [id, timer] : impl_->timers)
        if (timer && timer->thread() == QThread::currentThread()) delete timer.data();
}

TDateTime TRealClock::Now() const { return QDateTimeToDateTime(QDateTime::currentDateTime()); }

int64_t TRealClock::TickCount() const { return impl_->base + impl_->elapsed.elapsed(); }

int TRealClock::StartTimer(int intervalMs, TTimerCallback onDue)
{
    if (intervalMs <= 0) throw EInvalidArgument("A timer interval must be above 0 ms (" + std::to_string(intervalMs) + ")");
    if (!onDue) throw EInvalidArgument("A timer needs a callback");
    std::lock_guard lock(impl_->mutex);
    QObject* ctx = impl_->Context();
    const int id = impl_->nextId++;
    auto* timer = new QTimer;
    timer->moveToThread(ctx->thread());
    timer->setInterval(intervalMs);
    impl_->timers[id] = timer;
    // A shared callback, so that stopping the timer inside it does not free it while it runs.
    auto callback = std::make_shared<TTimerCallback>(std::move(onDue));
    QObject::connect(timer, &QTimer::timeout, timer, [callback] { (*callback)(); });
    impl_->OnUiThread(ctx, [timer = QPointer<QTimer>(timer), ctx] {
        if (!timer) return;
        timer->setParent(ctx);
        timer->start();
    });
    return id;
}

void TRealClock::Delay(int ms)
{
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void TRealClock::StopTimer(int id)
{
    QPointer<QTimer> timer;
    {
        std::lock_guard lock(impl_->mutex);
        const auto it = impl_->timers.find(id);
        if (it == impl_->timers.end()) return;
        timer = it->second;
        impl_->timers.erase(it);
    }
    if (!timer) return;
    impl_->OnUiThread(timer, [timer] {
        if (!timer) return;
        timer->stop();
        timer->deleteLater();  // may be inside its own timeout
    });
}

// ---- the test clock ----

TTestClock::TTestClock(TDateTime start) : start_(start) {}

TDateTime TTestClock::Now() const { return IncMilliSecond(start_, elapsedMs_ - elapsedAtStart_); }

int64_t TTestClock::TickCount() const { return elapsedMs_; }

int TTestClock::StartTimer(int intervalMs, TTimerCallback onDue)
{
    if (intervalMs <= 0) throw EInvalidArgument("A timer interval must be above 0 ms (" + std::to_string(intervalMs) + ")");
    if (!onDue) throw EInvalidArgument("A timer needs a callback");
    const int id = nextId_++;
    timers_[id] = Timer{intervalMs, elapsedMs_ + intervalMs, nextOrder_++, std::move(onDue)};
    return id;
}

void TTestClock::StopTimer(int id) { timers_.erase(id); }

void TTestClock::SetNow(TDateTime now)
{
    start_ = now;
    elapsedAtStart_ = elapsedMs_;
}

void TTestClock::Delay(int ms)
{
    if (ms > 0) elapsedMs_ += ms;
}

void TTestClock::Advance(int64_t ms)
{
    if (ms < 0) throw EInvalidArgument("The test clock cannot go back (" + std::to_string(ms) + " ms)");
    if (advancing_) throw EInvalidOperation("The test clock cannot be advanced from a timer callback");
    const TFlagScope advancing(advancing_);
    const int64_t target = elapsedMs_ + ms;
    for (;;) {
        // The timer due first, ties to the one started first. Callbacks may start and stop
        // timers, so the search starts over each time.
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due > target) continue;
            if (next == timers_.end() || it->second.due < next->second.due ||
                (it->second.due == next->second.due && it->second.order < next->second.order))
                next = it;
        }
        if (next == timers_.end()) break;
        // A timer left due by Delay fires now; time never goes back.
        elapsedMs_ = std::max(elapsedMs_, next->second.due);
        next->second.due += next->second.interval;
        const TTimerCallback callback = next->second.onDue;  // the timer may be stopped inside
        callback();
    }
    elapsedMs_ = target;
}

int TTestClock::ActiveTimerCount() const { return static_cast<int>(timers_.size()); }

}  // namespace vxplan
