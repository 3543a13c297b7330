// The application clock: the test clock's timers and time, and the real clock's timers on Qt.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxTimer.h>

#include "support/vxTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <thread>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vxplan;
using vxplan::test::ErrorText;

namespace {

// Runs the event loop until done() or a generous limit; the limit only ends a broken test.
template <class F>
bool ProcessEventsUntil(F done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return done();
}

}  // namespace

// ---- the test clock ----

TEST(TestClock, TimersFireInDueOrderTiesByStartOrder)
{
    TTestClock clock;
    std::vector<std::string> log;
    clock.StartTimer(30, [&] { log.push_back("a30@" + std::to_string(clock.TickCount())); });
    clock.StartTimer(20, [&] { log.push_back("b20@" + std::to_string(clock.TickCount())); });
    clock.StartTimer(30, [&] { log.push_back("c30@" + std::to_string(clock.TickCount())); });
    clock.Advance(60);
    EXPECT_EQ(log, (std::vector<std::string>{"b20@20", "a30@30", "c30@30", "b20@40", "a30@60", "b20@60", "c30@60"}));
    EXPECT_EQ(clock.TickCount(), 60);
}

TEST(TestClock, ATimerFiresAsOftenAsItFallsDueAcrossSteps)
{
    TTestClock clock;
    int fired = 0;
    const int id = clock.StartTimer(100, [&] { ++fired; });
    for (auto [ms, expected] : {std::pair{99, 0}, {1, 1}, {1000, 11}, {0, 11}}) {
        clock.Advance(ms);
        EXPECT_EQ(fired, expected) << "at " << clock.TickCount();
    }
    clock.StopTimer(id);
    clock.Advance(1000);
    EXPECT_EQ(fired, 11);
    EXPECT_EQ(clock.ActiveTimerCount(), 0);
    clock.StopTimer(id);  // stopping twice is harmless
    clock.StopTimer(12345);
}

TEST(TestClock, StoppingInsideACallbackEndsThatTimerAndOthers)
{
    TTestClock clock;
    int a = 0, b = 0;
    int idA = 0, idB = 0;
    idA = clock.StartTimer(10, [&] {
        ++a;
        clock.StopTimer(idA);
        clock.StopTimer(idB);  // due at the same time, later in order: must not fire
    });
    idB = clock.StartTimer(10, [&] { ++b; });
    clock.Advance(100);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(clock.ActiveTimerCount(), 0);
}

TEST(TestClock, ATimerStartedInsideACallbackCountsFromThatMoment)
{
    TTestClock clock;
    std::vector<int64_t> inner;
    int outerId = 0;
    outerId = clock.StartTimer(50, [&] {
        clock.StopTimer(outerId);
        clock.StartTimer(20, [&] { inner.push_back(clock.TickCount()); });
    });
    clock.Advance(100);
    EXPECT_EQ(inner, (std::vector<int64_t>{70, 90}));
}

TEST(TestClock, NowMovesWithTheElapsedMilliseconds)
{
    TTestClock clock(EncodeDate(2024, 2, 28) + 0.5);
    clock.Advance(12 * 3600000LL + 1500);
    Word y, m, d, h, n, s, ms;
    DecodeDateTime(clock.Now(), y, m, d, h, n, s, ms);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(ms, 500);
    clock.SetNow(-1.25);
    EXPECT_EQ(clock.Now(), -1.25);
    EXPECT_EQ(clock.TickCount(), 12 * 3600000LL + 1500) << "setting the wall time leaves the ticks";
    clock.Advance(6 * 3600000LL);
    EXPECT_EQ(clock.Now(), -1.5);  // 29 December 1899, 12:00
}

TEST(TestClock, BadArgumentsAreRefused)
{
    TTestClock clock;
    EXPECT_THROW(clock.StartTimer(0, [] {}), EInvalidArgument);
    EXPECT_THROW(clock.StartTimer(-5, [] {}), EInvalidArgument);
    EXPECT_THROW(clock.StartTimer(5, nullptr), EInvalidArgument);
    EXPECT_THROW(clock.Advance(-1), EInvalidArgument);
    EXPECT_EQ(clock.ActiveTimerCount(), 0);
    clock.StartTimer(5, [&] { clock.Advance(1); });
    EXPECT_THROW(clock.Advance(5), EInvalidOperation);
    EXPECT_EQ(clock.TickCount(), 5);
    clock.Advance(0);  // still usable after the failed step
}

TEST(TestClock, ScopeInstallsAndRemovesTheClock)
{
    TClock* before = &ApplicationClock();
    {
        TTestClockScope scope(100.0);
        EXPECT_EQ(&ApplicationClock(), &scope.Clock());
        EXPECT_EQ(ApplicationClock().Now(), 100.0);
    }
    EXPECT_EQ(&ApplicationClock(), before);
    EXPECT_NE(dynamic_cast<TRealClock*>(&ApplicationClock()), nullptr);
}

// ---- the real clock ----

TEST(RealClock, TimersFireOnTheEventLoopAndStopFromTheirCallback)
{
    SetApplicationClock(nullptr);
    TClock& clock = ApplicationClock();
    EXPECT_THROW(clock.StartTimer(0, [] {}), EInvalidArgument);
    int fired = 0;
    int id = 0;
    id = clock.StartTimer(5, [&] {
        ++fired;
        clock.StopTimer(id);
    });
    EXPECT_TRUE(ProcessEventsUntil([&] { return fired > 0; }));
    // Once stopped it stays quiet while another timer keeps running.
    int other = 0;
    const int otherId = clock.StartTimer(5, [&] { ++other; });
    EXPECT_TRUE(ProcessEventsUntil([&] { return other >= 3; }));
    clock.StopTimer(otherId);
    EXPECT_EQ(fired, 1);
    Word y, m, d;
    DecodeDate(clock.Now(), y, m, d);
    EXPECT_GE(y, 2020) << "the wall time";
}

TEST(RealClock, TimersStartedFromAnotherThreadFireOnTheUiThread)
{
    TClock& clock = ApplicationClock();
    QThread* uiThread = QThread::currentThread();
    QThread* firedOn = nullptr;
    int id = 0;
    // std::thread rather than QThread: its join is a synchronisation the race detector sees.
    std::thread worker([&] { id = clock.StartTimer(5, [&] { firedOn = QThread::currentThread(); }); });
    worker.join();
    EXPECT_TRUE(ProcessEventsUntil([&] { return firedOn != nullptr; }));
    EXPECT_EQ(firedOn, uiThread);
    clock.StopTimer(id);
}

// ---- the timer component ----

namespace {
// A timer on a test clock, its events counted by sender.
struct Timer : ::testing::Test {
    TTestClockScope scope;
    TTestClock& clock = scope.Clock();
    std::vector<TObject*> senders;
    TTimer timer;
    void Hear(TObject* sender) { senders.push_back(sender); }
    void Listen() { timer.SetOnTimer(TNotifyEvent([this](TObject* sender) { Hear(sender); })); }
    // Advances the clock and checks the events heard so far.
    void Step(int64_t ms, size_t heard)
    {
        clock.Advance(ms);
        EXPECT_EQ(senders.size(), heard) << "at " << clock.TickCount();
    }
};
}  // namespace

TEST_F(Timer, RunsOnlyWhenEnabledWithAnIntervalAndAHandler)
{
    EXPECT_EQ(timer.GetInterval(), 1000);
    EXPECT_TRUE(timer.GetEnabled());
    EXPECT_FALSE(timer.IsRunning()) << "no handler yet";
    Listen();
    EXPECT_TRUE(timer.IsRunning());
    Step(3000, 3);
    EXPECT_EQ(senders[0], &timer);
    timer.SetEnabled(false);
    Step(3000, 3);
    EXPECT_EQ(clock.ActiveTimerCount(), 0);
    timer.SetEnabled(true);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.IsRunning());
    Step(3000, 3);
    timer.SetInterval(500);
    Step(1000, 5);
    timer.SetOnTimer(nullptr);
    EXPECT_FALSE(timer.IsRunning());
}

TEST_F(Timer, ChangesRestartTheCountFromZero)
{
    Listen();
    clock.Advance(900);
    timer.SetInterval(400);  // restarts: next at 900 + 400
    Step(399, 0);
    Step(1, 1);
    clock.Advance(300);
    timer.SetInterval(400);  // unchanged: no restart, next at 1700
    Step(100, 2);
    clock.Advance(300);
    timer.SetEnabled(false);
    timer.SetEnabled(true);  // restarts at 2000
    Step(399, 2);
    Step(1, 3);
    Listen();  // reassigned: restarts too
    Step(399, 3);
    Step(1, 4);
}

TEST_F(Timer, HandlerMayDisableOrFreeTheTimer)
{
    int calls = 0;
    timer.SetInterval(10);
    timer.SetOnTimer([&](TObject* sender) {
        ++calls;
        static_cast<TTimer*>(sender)->SetEnabled(false);
    });
    clock.Advance(100);
    EXPECT_EQ(calls, 1);

    auto* owned = new TTimer;
    int freed = 0;
    owned->SetInterval(10);
    owned->SetOnTimer([&](TObject* sender) {
        ++freed;
        delete static_cast<TTimer*>(sender);
    });
    clock.Advance(100);
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(clock.ActiveTimerCount(), 0);
}

TEST(TimerLifetime, StopsWhenFreedAndRefusesANegativeInterval)
{
    TTestClockScope scope;
    TTestClock& clock = scope.Clock();
    int calls = 0;
    {
        TComponent owner;
        auto* timer = new TTimer(&owner);
        timer->SetOnTimer([&](TObject*) { ++calls; });
        EXPECT_EQ(clock.ActiveTimerCount(), 1);
        const std::string refusal = ErrorText<EInvalidArgument>([&] { timer->SetInterval(-1); });
        EXPECT_NE(refusal.find("-1"), std::string::npos) << refusal;
        EXPECT_EQ(timer->GetInterval(), 1000);
        EXPECT_TRUE(timer->IsRunning());
    }
    EXPECT_EQ(clock.ActiveTimerCount(), 0);
    clock.Advance(5000);
    EXPECT_EQ(calls, 0);
}

TEST(TimerLifetime, UsesTheClockInForceWhenCreated)
{
    int calls = 0;
    TTestClock other;
    SetApplicationClock(&other);
    TTimer timer;
    SetApplicationClock(nullptr);
    timer.SetOnTimer([&](TObject*) { ++calls; });
    other.Advance(2000);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(other.ActiveTimerCount(), 1);
    timer.SetEnabled(false);
    EXPECT_EQ(other.ActiveTimerCount(), 0);
}

TEST(TimerLifetime, RunsOnTheRealClock)
{
    SetApplicationClock(nullptr);
    int calls = 0;
    TTimer timer;
    timer.SetInterval(5);
    timer.SetOnTimer([&](TObject*) { ++calls; });
    EXPECT_TRUE(ProcessEventsUntil([&] { return calls >= 2; }));
    timer.SetEnabled(false);
}
