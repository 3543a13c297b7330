// Posted and sent messages: order, withdrawal, posting from worker threads, results.
#include <vxplan/platform/app/vxMessages.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace vxplan;

namespace {

class TRecorder : public TMessageTarget {
public:
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_USER + 7) {
            message.Result = static_cast<LRESULT>(message.WParam) + message.LParam;
            return;
        }
        if (message.Msg >= WM_USER) {
            received.push_back(message);
            return;
        }
        TMessageTarget::WndProc(message);
    }
    std::vector<TMessage> received;
};

// Runs Qt's own event loop (not our delivery call) until the condition holds or a generous
// deadline passes; the deadline only keeps a broken build from hanging.
template <class F>
void PumpUntil(F done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

void Flush()
{
    QCoreApplication::processEvents();
    DeliverPostedMessages();
}

}  // namespace

TEST(PostedMessages, ArriveThroughQtsEventLoopInPostingOrder)
{
    TRecorder target;
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(PostMessage(&target, WM_USER + 1, i, -i));
    EXPECT_TRUE(target.received.empty()) << "posting must not deliver at once";

    PumpUntil([&] { return target.received.size() == 50; });
    ASSERT_EQ(target.received.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(target.received[i].WParam, static_cast<WPARAM>(i));
        EXPECT_EQ(target.received[i].LParam, -i);
    }
}

TEST(PostedMessages, InterleavedTargetsKeepTheGlobalOrder)
{
    std::vector<int> order;
    struct TTagged : TMessageTarget {
        TTagged(std::vector<int>& o, int t) : out(o), tag(t) {}
        void WndProc(TMessage& m) override { out.push_back(tag * 100 + static_cast<int>(m.WParam)); }
        std::vector<int>& out;
        int tag;
    };
    TTagged a(order, 1), b(order, 2);
    PostMessage(&a, WM_USER, 1, 0);
    PostMessage(&b, WM_USER, 1, 0);
    PostMessage(&a, WM_USER, 2, 0);
    PostMessage(&b, WM_USER, 2, 0);
    Flush();
    EXPECT_EQ(order, (std::vector<int>{101, 201, 102, 202}));
}

TEST(PostedMessages, DestroyingTheTargetWithdrawsItsPendingMessages)
{
    auto doomed = std::make_unique<TRecorder>();
    TRecorder survivor;
    PostMessage(doomed.get(), WM_USER + 1, 1, 0);
    PostMessage(&survivor, WM_USER + 1, 2, 0);
    doomed.reset();
    // A new target may take the freed address; it must not receive the old target's messages.
    auto newcomer = std::make_unique<TRecorder>();
    Flush();
    EXPECT_TRUE(newcomer->received.empty());
    ASSERT_EQ(survivor.received.size(), 1u);
    EXPECT_EQ(survivor.received[0].WParam, 2u);
}

TEST(PostedMessages, MessagesPostedDuringDeliveryWaitForTheNextRound)
{
    struct TReposter : TMessageTarget {
        void WndProc(TMessage& m) override
        {
            ++count;
            if (m.WParam > 0) PostMessage(this, WM_USER, m.WParam - 1, 0);
        }
        int count = 0;
    } target;
    PostMessage(&target, WM_USER, 3, 0);
    EXPECT_TRUE(DeliverPostedMessages());
    EXPECT_EQ(target.count, 1);
    for (int round = 0; round < 3; ++round) DeliverPostedMessages();
    EXPECT_EQ(target.count, 4);
    EXPECT_FALSE(DeliverPostedMessages());
}

TEST(PostedMessages, WorkersPostingToATargetDestroyedMeanwhileNeitherCrashNorDeliver)
{
    for (int round = 0; round < 5; ++round) {
        auto target = std::make_unique<TRecorder>();
        HWND handle = target.get();
        std::atomic<bool> go{false};
        std::atomic<int> accepted{0};
        std::vector<std::thread> workers;
        for (int w = 0; w < 4; ++w)
            workers.emplace_back([&, w] {
                while (!go) std::this_thread::yield();
                for (int i = 0; i < 200; ++i)
                    if (PostMessage(handle, WM_USER + 1, static_cast<WPARAM>(w * 1000 + i), 0)) ++accepted;
            });
        go = true;
        // Deliver some while the workers post, then destroy the target under their feet.
        for (int i = 0; i < 3; ++i) DeliverPostedMessages();
        const size_t before = target->received.size();
        target.reset();
        for (auto& t : workers) t.join();
        EXPECT_LE(before, static_cast<size_t>(accepted.load()));
        EXPECT_FALSE(IsWindow(handle));
        EXPECT_FALSE(DeliverPostedMessages()) << "what was queued for the dead target must be dropped";
    }
}

TEST(PostedMessages, WorkersPostsAllArriveInEachWorkersOrder)
{
    TRecorder target;
    std::vector<std::thread> workers;
    for (int w = 0; w < 3; ++w)
        workers.emplace_back([&, w] {
            for (int i = 0; i < 100; ++i) PostMessage(&target, WM_USER + 1, static_cast<WPARAM>(i), w);
        });
    for (auto& t : workers) t.join();
    PumpUntil([&] { return target.received.size() == 300; });
    ASSERT_EQ(target.received.size(), 300u);
    int next[3] = {0, 0, 0};
    for (const TMessage& m : target.received) {
        EXPECT_EQ(m.WParam, static_cast<WPARAM>(next[m.LParam]));
        ++next[m.LParam];
    }
}

TEST(SentMessages, AreHandledAtOnceOnTheCallingThreadAndReturnTheResult)
{
    TRecorder target;
    EXPECT_EQ(SendMessage(&target, WM_USER + 7, 40, 2), 42);
    EXPECT_EQ(SendMessage(&target, WM_NULL, 1, 1), 0) << "unhandled messages give 0";
    SendMessage(&target, WM_USER + 1, 5, 0);
    ASSERT_EQ(target.received.size(), 1u) << "a sent message is not queued";
    EXPECT_EQ(SendMessage(nullptr, WM_USER + 7, 1, 1), 0);

    struct TWhere : TMessageTarget {
        void WndProc(TMessage&) override { thread = std::this_thread::get_id(); }
        std::thread::id thread;
    } where;
    std::thread::id worker;
    std::thread t([&] {
        worker = std::this_thread::get_id();
        SendMessage(&where, WM_USER, 0, 0);
    });
    t.join();
    EXPECT_EQ(where.thread, worker);
}

TEST(Windows, ExistWhileTheTargetLivesAndADestroyedOneTakesNoMessages)
{
    EXPECT_FALSE(IsWindow(nullptr));
    EXPECT_FALSE(PostMessage(nullptr, WM_USER, 0, 0));
    auto target = std::make_unique<TRecorder>();
    // Kept past the object's end on purpose: a handle may outlive its window.
    HWND volatile handle = target.get();
    EXPECT_TRUE(IsWindow(handle));
    target.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(PostMessage(handle, WM_USER, 0, 0));
    EXPECT_EQ(SendMessage(handle, WM_USER + 7, 1, 1), 0) << "a destroyed target is not called";
}
