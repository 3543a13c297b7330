// Worker threads and the user-interface thread: Synchronize, WaitFor, OnTerminate,
// FreeOnTerminate, the wake hook and the critical section.
#include <vxplan/platform/app/vxMessages.h>
#include <vxplan/platform/app/vxSync.h>
#include <vxplan/platform/app/vxThread.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "support/vxTestSupport.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <stdexcept>
#include <vector>

using namespace vxplan;
using vxplan::test::ErrorText;

namespace {

// Runs a callable as Execute. Stops in its own destructor, as a descendant with members should.
class TLambdaThread : public TThread {
public:
    explicit TLambdaThread(std::function<void(TLambdaThread&)> body, bool suspended = true)
        : TThread(true), body_(std::move(body))
    {
        if (!suspended) Start();
    }
    ~TLambdaThread() override { TerminateAndWait(); }

    using TThread::SetReturnValue;
    using TThread::Synchronize;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(TLambdaThread&)> body_;
};

struct TTerminateListener : TObject {
    void Handle(TObject* sender)
    {
        senders.push_back(sender);
        onMainThread.push_back(IsMainThread());
    }
    std::vector<TObject*> senders;
    std::vector<bool> onMainThread;
};

void RunToEnd(TThread& thread)
{
    thread.Start();
    thread.WaitFor();
}

}  // namespace

TEST(ThreadIdentity, EveryThreadHasItsOwnStableId)
{
    const TThreadID main = GetCurrentThreadId();
    EXPECT_NE(main, 0u);
    EXPECT_EQ(GetCurrentThreadId(), main);
    EXPECT_EQ(MainThreadID(), main);
    EXPECT_TRUE(IsMainThread());

    std::atomic<TThreadID> seen{0};
    std::atomic<bool> workerIsMain{true};
    TLambdaThread thread([&](TLambdaThread&) {
        seen = GetCurrentThreadId();
        workerIsMain = IsMainThread();
    });
    const TThreadID announced = thread.ThreadID();
    RunToEnd(thread);
    EXPECT_EQ(seen.load(), announced) << "the id is known before the thread runs";
    EXPECT_NE(announced, main);
    EXPECT_FALSE(workerIsMain.load());
}

TEST(Synchronize, SeveralWorkersEachRunTheirMethodsOnTheMainThread)
{
    std::vector<int> log;  // touched only on the main thread
    int offMain = 0;
    std::vector<std::unique_ptr<TLambdaThread>> threads;
    for (int w = 0; w < 4; ++w)
        threads.push_back(std::make_unique<TLambdaThread>([&, w](TLambdaThread& self) {
            for (int i = 0; i < 25; ++i)
                self.Synchronize(TThreadMethod([&, w, i] {
                    if (!IsMainThread()) ++offMain;
                    log.push_back(w * 100 + i);
                }));
        }));
    for (auto& t : threads) t->Start();
    for (auto& t : threads) t->WaitFor();
    EXPECT_EQ(offMain, 0);
    ASSERT_EQ(log.size(), 100u);
    // Each worker waits for its call to run, so its own calls come in its order.
    int next[4] = {0, 0, 0, 0};
    for (int entry : log) {
        EXPECT_EQ(entry % 100, next[entry / 100]);
        ++next[entry / 100];
    }
}

TEST(Synchronize, AnExceptionInTheMethodIsThrownAgainInTheWorker)
{
    std::string caught;
    TLambdaThread thread([&](TLambdaThread& self) {
        caught = ErrorText<EInvalidArgument>([&] { self.Synchronize(TThreadMethod([] { throw EInvalidArgument("bad row"); })); });
    });
    RunToEnd(thread);
    EXPECT_EQ(caught, "bad row");
}

TEST(Synchronize, CheckSynchronizeOnAWorkerIsRefused)
{
    std::string message;
    TLambdaThread thread([&](TLambdaThread&) {
        message = ErrorText<EThread>([&] { CheckSynchronize(); });
    });
    RunToEnd(thread);
    EXPECT_NE(message.find("main thread"), std::string::npos) << message;
}

TEST(Synchronize, OnTheMainThreadRunsAtOnceAndCheckSynchronizeReportsWhetherAnythingRan)
{
    bool ranAtOnce = false;
    Synchronize(TThreadMethod([&] { ranAtOnce = true; }));
    EXPECT_TRUE(ranAtOnce);
    EXPECT_FALSE(CheckSynchronize());
    std::atomic<bool> done{false};
    int value = 0;
    TLambdaThread thread([&](TLambdaThread& self) {
        self.Synchronize(TThreadMethod([&] { value = 7; }));
        done = true;
    });
    thread.Start();
    bool ran = false;
    while (!ran) ran = CheckSynchronize(1000);
    EXPECT_EQ(value, 7);
    thread.WaitFor();
    EXPECT_TRUE(done.load());
}

TEST(Synchronize, QtsOwnEventLoopRunsSynchronizedMethodsThroughTheWakeHook)
{
    std::atomic<bool> workerDone{false};
    bool ranOnMain = false;
    QEventLoop loop;
    TLambdaThread thread([&](TLambdaThread& self) {
        self.Synchronize(TThreadMethod([&] {
            ranOnMain = IsMainThread();
            // Quit from inside the loop, once the method has run.
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
        }));
        workerDone = true;
    });
    thread.Start();
    // Only a safety net so a broken wake-up fails instead of hanging.
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(ranOnMain);
    thread.WaitFor();
    EXPECT_TRUE(workerDone.load());
}

TEST(Synchronize, AnInstalledWakeHookIsCalledOnTheWorkerWithTheThread)
{
    std::atomic<TObject*> woken{nullptr};
    std::atomic<bool> hookOnMain{true};
    SetWakeMainThread(TNotifyEvent([&](TObject* sender) {
        hookOnMain = IsMainThread();
        woken = sender;
    }));
    int value = 0;
    TLambdaThread thread([&](TLambdaThread& self) { self.Synchronize(TThreadMethod([&] { value = 3; })); });
    RunToEnd(thread);
    SetWakeMainThread(nullptr);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(woken.load(), &thread);
    EXPECT_FALSE(hookOnMain.load());
    EXPECT_FALSE(static_cast<bool>(GetWakeMainThread()));
}

TEST(ThreadLifetime, StartsSuspendedOnlyWhenAskedAndWaitForReturnsTheReturnValue)
{
    std::atomic<bool> ran{false};
    TLambdaThread thread([&](TLambdaThread& self) {
        ran = true;
        self.SetReturnValue(42);
    });
    EXPECT_TRUE(thread.Suspended());
    EXPECT_FALSE(thread.Finished());
    thread.Resume();
    EXPECT_FALSE(thread.Suspended());
    EXPECT_EQ(thread.WaitFor(), 42);
    EXPECT_EQ(thread.ReturnValue(), 42);
    EXPECT_TRUE(ran.load());
    EXPECT_TRUE(thread.Finished());
}

TEST(ThreadLifetime, StartingTwiceOrWaitingForAThreadNeverStartedIsAClearError)
{
    TLambdaThread never([](TLambdaThread&) {});
    EXPECT_THROW(never.WaitFor(), EThread);
    EXPECT_TRUE(never.Suspended()) << "the failed wait leaves the thread as it was";

    TLambdaThread thread([](TLambdaThread&) {});
    thread.Start();
    EXPECT_EQ(ErrorText<EThread>([&] { thread.Resume(); }), "Thread already started");
    thread.WaitFor();
}

TEST(ThreadLifetime, TerminateSetsTheFlagThatExecuteWatches)
{
    std::atomic<bool> running{false};
    std::atomic<int> loops{0};
    TLambdaThread thread([&](TLambdaThread& self) {
        running = true;
        while (!self.Terminated()) {
            ++loops;
            std::this_thread::yield();
        }
    });
    thread.Start();
    while (!running) std::this_thread::yield();
    EXPECT_FALSE(thread.Terminated());
    thread.Terminate();
    EXPECT_TRUE(thread.Terminated());
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
}

TEST(ThreadLifetime, DestroyingARunningThreadTerminatesAndWaits)
{
    std::atomic<bool> running{false};
    std::atomic<bool> leftLoop{false};
    {
        TLambdaThread thread([&](TLambdaThread& self) {
            running = true;
            while (!self.Terminated()) std::this_thread::yield();
            leftLoop = true;
        });
        thread.Start();
        while (!running) std::this_thread::yield();
    }
    EXPECT_TRUE(leftLoop.load());
}

TEST(ThreadLifetime, AnExceptionEscapingExecuteIsKept)
{
    TLambdaThread thread([](TLambdaThread&) { throw EConvertError("not a date"); });
    RunToEnd(thread);
    ASSERT_TRUE(thread.FatalException());
    EXPECT_EQ(thread.FatalExceptionMessage(), "not a date");
    EXPECT_THROW(std::rethrow_exception(thread.FatalException()), EConvertError);

    TLambdaThread clean([](TLambdaThread&) {});
    RunToEnd(clean);
    EXPECT_FALSE(clean.FatalException());
    EXPECT_EQ(clean.FatalExceptionMessage(), "");
}

TEST(ThreadTermination, OnTerminateIsRaisedOnTheMainThreadWithTheThread)
{
    TTerminateListener listener;
    TLambdaThread thread([](TLambdaThread&) {});
    thread.SetOnTerminate(TNotifyEvent(&listener, &TTerminateListener::Handle));
    RunToEnd(thread);
    ASSERT_EQ(listener.senders.size(), 1u);
    EXPECT_EQ(listener.senders[0], &thread);
    EXPECT_TRUE(listener.onMainThread[0]);
}

namespace {

class TSelfFreeing : public TThread {
public:
    TSelfFreeing(std::atomic<int>& destroyed) : TThread(true), destroyed_(destroyed) { SetFreeOnTerminate(true); }
    ~TSelfFreeing() override { ++destroyed_; }

protected:
    void Execute() override {}

private:
    std::atomic<int>& destroyed_;
};

}  // namespace

TEST(ThreadTermination, FreeOnTerminateDeletesTheObjectAfterOnTerminate)
{
    std::atomic<int> destroyed{0};
    bool terminated = false;
    auto* thread = new TSelfFreeing(destroyed);
    thread->SetOnTerminate(TNotifyEvent([&](TObject*) { terminated = destroyed == 0; }));
    EXPECT_THROW(
        {
            thread->Start();
            thread->WaitFor();
        },
        EThread)
        << "nobody may wait for a thread that frees itself";
    // OnTerminate needs the main thread; serve it until the object is gone.
    while (destroyed == 0) CheckSynchronize(100);
    EXPECT_TRUE(terminated) << "OnTerminate runs before the object goes";
    EXPECT_EQ(destroyed.load(), 1);
}

TEST(ThreadTermination, WaitForFromAnotherWorkerWaitsToo)
{
    std::atomic<bool> release{false};
    TLambdaThread slow([&](TLambdaThread& self) {
        while (!release) std::this_thread::yield();
        self.SetReturnValue(5);
    });
    std::atomic<int> seen{0};
    TLambdaThread waiter([&](TLambdaThread&) { seen = slow.WaitFor(); });
    slow.Start();
    waiter.Start();
    release = true;
    waiter.WaitFor();
    EXPECT_EQ(seen.load(), 5);
}

TEST(CriticalSection, TheHolderMayEnterAgain)
{
    TCriticalSection section;
    section.Enter();
    section.Acquire();
    EXPECT_TRUE(section.TryEnter());
    section.Leave();
    section.Release();
    // Still held once: another thread cannot have it.
    std::atomic<bool> got{true};
    std::thread other([&] { got = section.TryEnter(); });
    other.join();
    EXPECT_FALSE(got.load());
    section.Leave();
    std::thread after([&] {
        got = section.TryEnter();
        if (got) section.Leave();
    });
    after.join();
    EXPECT_TRUE(got.load());
}

TEST(CriticalSection, LeavingWithoutHoldingIsAClearError)
{
    TCriticalSection section;
    EXPECT_THROW(section.Leave(), EInvalidOperation);
    section.Enter();
    std::string message;
    std::thread other([&] {
        message = ErrorText<EInvalidOperation>([&] { section.Leave(); });
    });
    other.join();
    EXPECT_EQ(message, "Critical section left by a thread that does not hold it");
    section.Leave();
}

TEST(CriticalSection, KeepsOutOtherThreads)
{
    TCriticalSection section;
    int counter = 0;  // deliberately plain: only the section protects it
    int inside = 0;
    std::atomic<int> overlaps{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w)
        workers.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                section.Enter();
                if (++inside != 1) ++overlaps;
                ++counter;
                --inside;
                section.Leave();
            }
        });
    for (auto& t : workers) t.join();
    EXPECT_EQ(counter, 8000);
    EXPECT_EQ(overlaps.load(), 0);
}

namespace {

class TRunningAtOnce : public TThread {
public:
    explicit TRunningAtOnce(std::atomic<int>& runs) : TThread(false), runs_(runs) {}
    ~TRunningAtOnce() override { TerminateAndWait(); }

protected:
    void Execute() override { ++runs_; }

private:
    std::atomic<int>& runs_;
};

}  // namespace

TEST(ThreadLifetime, AThreadMadeRunningStartsWhenMessagesAreNextDelivered)
{
    std::atomic<int> runs{0};
    TRunningAtOnce thread(runs);
    // Its constructor has finished before Execute can run: no call into a half-built object.
    DeliverPostedMessages();
    while (!thread.Finished()) CheckSynchronize(5);
    EXPECT_EQ(runs.load(), 1);
    EXPECT_THROW(thread.Start(), EThread);
}

TEST(ThreadLifetime, WaitForStartsAThreadMadeRunningThatHasNotStartedYetAndFreeingItFirstMeansItNeverRuns)
{
    std::atomic<int> runs{0};
    {
        TRunningAtOnce thread(runs);
        thread.WaitFor();
        EXPECT_EQ(runs.load(), 1);
        DeliverPostedMessages();
        EXPECT_EQ(runs.load(), 1) << "the deferred start does not run it again";
    }
    { TRunningAtOnce freed(runs); }
    DeliverPostedMessages();
    EXPECT_EQ(runs.load(), 1) << "a thread freed before its start never runs";
}
