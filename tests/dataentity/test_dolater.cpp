// Deferred calls: coalescing, order, withdrawal, failing calls, and calls from worker threads
// running on the user-interface thread through the hidden window.
#include <vxplan/dataentity/vxDoLater.h>

#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/app/vxMessages.h>
#include <vxplan/platform/app/vxSync.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace vxplan;

namespace {

// Delivers messages until the condition holds; the bound only keeps a broken build from hanging.
bool PumpUntil(const std::function<bool()>& done, bool withSynchronize = true)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        if (withSynchronize) Application().ProcessMessages();
        else DeliverPostedMessages();
        std::this_thread::yield();
    }
    return true;
}

struct TTag : TObject {
    explicit TTag(int n = 0) : number(n) {}
    int number;
};

// A receiver whose method bindings are equal to each other, as an owner's would be.
struct TReceiver {
    std::vector<int> ran;
    void Run(TObject* data) { ran.push_back(static_cast<TTag*>(data)->number); }
    void Other(TObject* data) { ran.push_back(-static_cast<TTag*>(data)->number); }
    TDoLaterCall RunCall() { return TDoLaterCall(this, &TReceiver::Run); }
    TDoLaterCall OtherCall() { return TDoLaterCall(this, &TReceiver::Other); }
};

// A receiver and three tags for its calls; leaves nothing queued for the next test.
class DoLater : public ::testing::Test {
protected:
    void TearDown() override
    {
        Application().OnException = nullptr;
        TDoLater::DoAllNow();
        DeliverPostedMessages();
    }
    TReceiver r;
    TTag one{1}, two{2}, three{3};
};

}  // namespace

TEST_F(DoLater, SameMethodAndDataQueuedTwiceRunsOnceFromTheMessageLoop)
{
    TDoLater::DoLater(r.RunCall(), &one);
    TDoLater::DoLater(r.RunCall(), &one);
    TDoLater::DoLater(r.RunCall(), &two);
    EXPECT_TRUE(TDoLater::AlreadyInList(r.RunCall(), &one));
    EXPECT_FALSE(TDoLater::AlreadyInList(r.OtherCall(), &one));
    EXPECT_TRUE(r.ran.empty());
    ASSERT_TRUE(PumpUntil([&] { return r.ran.size() >= 2; }));
    EXPECT_EQ(r.ran, (std::vector<int>{1, 2}));
    EXPECT_FALSE(TDoLater::AlreadyInList(r.RunCall(), &one));
    EXPECT_EQ(TDoLater::PendingCount(), 0);
}

TEST_F(DoLater, NeverMindDropsEveryPendingCallOfThatMethodOnly)
{
    TDoLater::DoLater(r.RunCall(), &one);
    TDoLater::DoLater(r.OtherCall(), &two);
    TDoLater::DoLater(r.RunCall(), &three);
    TDoLater::NeverMind(r.RunCall());
    TDoLater::DoAllNow();
    EXPECT_EQ(r.ran, (std::vector<int>{-2}));
}

TEST_F(DoLater, NeverMindInsideARunningCallSparesTheRunningOne)
{
    bool stillListedWhileRunning = false;
    TDoLaterCall first([&](TObject*) {
        TDoLater::NeverMind(r.RunCall());
        r.ran.push_back(100);
    });
    TDoLaterCall self;
    self = TDoLaterCall([&](TObject* data) {
        r.ran.push_back(static_cast<TTag*>(data)->number);
        TDoLater::NeverMind(self);
        stillListedWhileRunning = TDoLater::AlreadyInList(self, data);
    });
    TDoLater::DoLater(self, &one);
    TDoLater::DoLater(self, &two);
    TDoLater::DoLater(first, nullptr);
    TDoLater::DoLater(r.RunCall(), &three);
    TDoLater::DoAllNow();
    // The first self call withdrew the second; first withdrew the receiver's call.
    EXPECT_EQ(r.ran, (std::vector<int>{1, 100}));
    EXPECT_TRUE(stillListedWhileRunning);
}

TEST_F(DoLater, CallQueuedByARunningCallRunsInTheSameLoop)
{
    TDoLaterCall chain([&](TObject*) {
        r.ran.push_back(0);
        TDoLater::DoLater(r.RunCall(), &two);
    });
    TDoLater::DoLater(chain, nullptr);
    TDoLater::DoLater(r.RunCall(), &one);
    TDoLater::DoAllNow();
    EXPECT_EQ(r.ran, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(TDoLater::PendingCount(), 0);
}

TEST_F(DoLater, FailingCallIsTakenOutAndTheLaterCallsStillRun)
{
    int failures = 0;
    TDoLaterCall failing([&](TObject*) {
        ++failures;
        throw std::runtime_error("deferred work failed");
    });
    TDoLater::DoLater(failing, nullptr);
    TDoLater::DoLater(r.RunCall(), &one);
    EXPECT_THROW(TDoLater::DoAllNow(), std::runtime_error);
    EXPECT_EQ(failures, 1);
    EXPECT_FALSE(TDoLater::AlreadyInList(failing, nullptr));
    EXPECT_EQ(TDoLater::PendingCount(), 1);

    // Through the window the error goes to the application, and the rest runs without
    // anyone queueing again.
    std::vector<std::string> reported;
    Application().OnException = TExceptionEvent([&](TObject*, const std::exception& e) { reported.push_back(e.what()); });
    TDoLater::DoLater(failing, nullptr);
    TDoLater::DoLater(r.RunCall(), &two);
    ASSERT_TRUE(PumpUntil([&] { return r.ran.size() >= 2; }));
    EXPECT_EQ(r.ran, (std::vector<int>{1, 2}));
    EXPECT_EQ(failures, 2);
    EXPECT_EQ(reported, (std::vector<std::string>{"deferred work failed"}));
}

TEST_F(DoLater, OwnerWithdrawsItsCallsAfterOneOfThemFailed)
{
    // An owner that goes away after a failure must be able to withdraw its calls.
    TDoLaterCall failing([](TObject*) { throw std::runtime_error("fails"); });
    TDoLater::DoLater(failing, nullptr);
    TDoLater::DoLater(r.RunCall(), &one);
    EXPECT_THROW(TDoLater::DoAllNow(), std::runtime_error);
    TDoLater::NeverMind(r.RunCall());
    TDoLater::DoAllNow();
    EXPECT_TRUE(r.ran.empty());
    // The failing call can be queued anew.
    TDoLater::DoLater(failing, nullptr);
    EXPECT_TRUE(TDoLater::AlreadyInList(failing, nullptr));
    TDoLater::NeverMind(failing);
}

TEST_F(DoLater, BadUseGivesClearErrors)
{
    EXPECT_THROW(TDoLater::DoLater(TDoLaterCall(), &one), EInvalidArgument);
    EXPECT_EQ(TDoLater::PendingCount(), 0);
    std::thread worker([] { EXPECT_THROW(TDoLater::DoAllNow(), EInvalidOperation); });
    worker.join();
}

TEST_F(DoLater, CallsFromManyThreadsRunOnceEachOnTheUserInterfaceThreadInTheirOrder)
{
    constexpr int kThreads = 4;
    constexpr int kPerThread = 2000;
    std::vector<TTag> tags;
    tags.reserve(kThreads * kPerThread);
    for (int i = 0; i < kThreads * kPerThread; ++i) tags.emplace_back(i);

    std::vector<int> ran;
    bool allOnMain = true;
    TDoLaterCall record([&](TObject* data) {
        allOnMain = allOnMain && IsMainThread();
        ran.push_back(static_cast<TTag*>(data)->number);
    });
    std::atomic<int> finishedWorkers{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t)
        workers.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                TTag* tag = &tags[static_cast<size_t>(t * kPerThread + i)];
                TDoLater::DoLater(record, tag);
                TDoLater::DoLater(record, tag);  // coalesced with the first unless it already ran
                if (i % 500 == 0) TDoLater::NeverMind(TDoLaterCall([](TObject*) {}));
            }
            ++finishedWorkers;
        });
    // The user-interface thread runs calls while the workers are still queueing.
    const bool drained =
        PumpUntil([&] { return finishedWorkers.load() == kThreads && TDoLater::PendingCount() == 0; });
    for (auto& w : workers) w.join();
    ASSERT_TRUE(drained);
    EXPECT_TRUE(allOnMain);

    // Every tag ran at least once; a second run only happens after its first has finished, and
    // each thread's tags ran in that thread's order.
    std::vector<int> firstRun(tags.size(), -1);
    for (size_t i = 0; i < ran.size(); ++i)
        if (firstRun[static_cast<size_t>(ran[i])] < 0) firstRun[static_cast<size_t>(ran[i])] = static_cast<int>(i);
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kPerThread; ++i) {
            const int tag = t * kPerThread + i;
            ASSERT_GE(firstRun[static_cast<size_t>(tag)], 0) << "tag " << tag << " never ran";
            if (i > 0) {
                EXPECT_LT(firstRun[static_cast<size_t>(tag - 1)], firstRun[static_cast<size_t>(tag)]);
            }
        }
    EXPECT_LE(ran.size(), 2 * tags.size());
}

TEST_F(DoLater, FirstCallFromAWorkerStillRunsOnTheUserInterfaceThread)
{
    // The wake window is made on the user-interface thread before any call.
    ASSERT_NE(TDoLater::WakeWindow(), nullptr);
    EXPECT_TRUE(IsWindow(static_cast<HWND>(TDoLater::WakeWindow())));
    EXPECT_TRUE(static_cast<bool>(GetWakeMainThread()));
    std::atomic<bool> ran{false};
    bool onMain = false;
    TDoLaterCall call([&](TObject*) {
        onMain = IsMainThread();
        ran = true;
    });
    std::thread worker([&] { TDoLater::DoLater(call, &one); });
    worker.join();
    ASSERT_TRUE(PumpUntil([&] { return ran.load(); }));
    EXPECT_TRUE(onMain);
}

TEST_F(DoLater, WorkersSynchronizedMethodsRunWhenTheLoopOnlyDeliversMessages)
{
    // The loop here never calls CheckSynchronize: the wake window's message has to.
    std::atomic<bool> finished{false};
    bool ranOnMain = false;
    std::thread worker([&] {
        Synchronize(TThreadMethod([&] { ranOnMain = IsMainThread(); }));
        finished = true;
    });
    const bool ok = PumpUntil([&] { return finished.load(); }, false);
    if (!ok) CheckSynchronize(1000);  // let the worker go before failing
    worker.join();
    EXPECT_TRUE(ok);
    EXPECT_TRUE(ranOnMain);
}

TEST(ThreadSyncInfo, EqualForTheSameThreadOnly)
{
    TThreadSyncInfo here, againHere;
    EXPECT_TRUE(here.IsEqual(&againHere));
    EXPECT_FALSE(here.IsEqual(nullptr));
    TThreadSyncInfo* there = nullptr;
    std::thread worker([&] { there = new TThreadSyncInfo; });
    worker.join();
    EXPECT_FALSE(here.IsEqual(there));
    delete there;

    // Only the low 32 bits of the creation time take part.
    const TThreadSyncInfo a(7, 0x1'0000'0005ull), b(7, 0x2'0000'0005ull), c(7, 0x1'0000'0006ull), d(8, 0x1'0000'0005ull);
    EXPECT_TRUE(a.IsEqual(&b));
    EXPECT_FALSE(a.IsEqual(&c));
    EXPECT_FALSE(a.IsEqual(&d));
}

TEST(DoLaterShutdown, PendingCallsRunBeforeTheProgramEnds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TDoLater::DoLater(TDoLaterCall([](TObject*) { std::fputs("pending call ran\n", stderr); }), nullptr);
            std::exit(3);
        },
        ::testing::ExitedWithCode(3), "pending call ran");
}

TEST(DoLaterShutdown, PendingCallsRunWhenTheApplicationObjectGoesAwayWhileTheWindowStillExists)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TDoLater::DoLater(TDoLaterCall([](TObject*) {
                                  std::fputs(TDoLater::WakeWindow() ? "ran with its window\n" : "ran too late\n", stderr);
                              }),
                              nullptr);
            // Only the application object goes; _Exit skips everything else the program's end runs.
            QCoreApplication::instance()->~QCoreApplication();
            std::_Exit(TDoLater::WakeWindow() == nullptr && TDoLater::PendingCount() == 0 ? 3 : 4);
        },
        ::testing::ExitedWithCode(3), "ran with its window");
}
