// The sub-column worker as rows use it: one worker field per row, a newer request replacing the
// older, results read in the done handler, failures in a message box, and the count of live
// workers staying right while many start and end at once.
#include <vxplan/overlap/vxTimeDistinctGenericThread.h>
#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/app/vxSync.h>

#include "support/vxMessageBoxes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <vector>

using namespace vxplan;

namespace {

// Serves synchronized calls until the condition holds; false when it never does (a hang, not a
// measure of speed).
bool ServeUntil(const std::function<bool()>& done)
{
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        CheckSynchronize(2);
    }
    return true;
}

bool AllWorkersGone()
{
    return ServeUntil([] { return TTimeDistinctGenericThread::ThreadCount() == 0; });
}

// A row with items and its one worker field, following the calling protocol.
struct TRow : TObject {
    std::vector<TObject> items;
    std::vector<std::pair<double, double>> spans;
    std::vector<int> subColumns;
    TTimeDistinctGenericThread* worker = nullptr;
    std::vector<TObject*> doneSenders;
    int columnCount = 0;

    void Request()
    {
        TTimeDistinctGenericThread::FreeAndCleanUp(worker);
        worker = new TTimeDistinctGenericThread;
        worker->OnDone = TNotifyEvent(this, &TRow::Done);
        for (size_t i = 0; i < items.size(); ++i)
            worker->Holders().Add(spans[i].first, spans[i].second, "", &items[i]);
        worker->Resume();
    }

    void Done(TObject* sender)
    {
        doneSenders.push_back(sender);
        EXPECT_TRUE(IsMainThread());
        EXPECT_EQ(sender, worker) << "only the row's current worker reports";
        columnCount = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            const TDistinctTimeHolder* h = worker->Holders().FindFromReference(&items[i]);
            if (!h) continue;
            subColumns[i] = h->SubColumn;
            columnCount = std::max(columnCount, h->SubColumn);
        }
        TTimeDistinctGenericThread::FreeAndCleanUp(worker);
    }

    void SetSpans(std::vector<std::pair<double, double>> s)
    {
        spans = std::move(s);
        items = std::vector<TObject>(spans.size());
        subColumns.assign(spans.size(), -1);
    }
};

using vxplan::test::TBoxes;

}  // namespace

TEST(SubColumnWorker, DeliversTheResultsEvenOfAnEmptyRowToTheDoneHandlerOnTheUserInterfaceThread)
{
    TRow row;
    row.SetSpans({{0, 2}, {1, 3}, {2, 4}, {10, 11}});
    row.Request();
    EXPECT_EQ(TTimeDistinctGenericThread::ThreadCount(), 1);
    ASSERT_TRUE(ServeUntil([&] { return !row.doneSenders.empty(); }));
    EXPECT_EQ(row.subColumns, std::vector<int>({1, 2, 1, 0}));
    EXPECT_EQ(row.columnCount, 2);
    EXPECT_EQ(row.worker, nullptr);
    EXPECT_TRUE(AllWorkersGone()) << "the worker freed itself after its done handler";

    TRow empty;
    empty.Request();
    ASSERT_TRUE(ServeUntil([&] { return !empty.doneSenders.empty(); })) << "an empty row is answered too";
    EXPECT_EQ(empty.columnCount, 0);
    EXPECT_TRUE(AllWorkersGone());
}

TEST(SubColumnWorker, FreeAndCleanUpFreesAWorkerAtOnceWhenItNeverRanOrHasFinished)
{
    auto* never = new TTimeDistinctGenericThread;
    never->Holders().Add(0, 2, "", nullptr);
    EXPECT_EQ(TTimeDistinctGenericThread::ThreadCount(), 1);
    TTimeDistinctGenericThread::FreeAndCleanUp(never);
    EXPECT_EQ(never, nullptr);
    EXPECT_EQ(TTimeDistinctGenericThread::ThreadCount(), 0);

    auto* finished = new TTimeDistinctGenericThread;
    finished->Holders().Add(0, 2, "", nullptr);
    finished->Holders().Add(1, 3, "", nullptr);
    EXPECT_FALSE(finished->RunFinished());
    finished->Resume();
    ASSERT_TRUE(ServeUntil([&] { return finished->RunFinished(); }));
    EXPECT_EQ(finished->Holders().Get(0)->SubColumn, 2) << "a run without a handler still computes";
    TTimeDistinctGenericThread::FreeAndCleanUp(finished);
    EXPECT_EQ(TTimeDistinctGenericThread::ThreadCount(), 0);

    TTimeDistinctGenericThread* none = nullptr;
    TTimeDistinctGenericThread::FreeAndCleanUp(none);
    EXPECT_EQ(none, nullptr);
}

TEST(SubColumnWorker, ANewerRequestReplacesTheOlderWhoseResultNeverArrives)
{
    TRow row;
    std::vector<std::pair<double, double>> spans;
    for (int i = 0; i < 3000; ++i) spans.push_back({i * 0.5, i * 0.5 + 3});
    row.SetSpans(spans);
    row.Request();
    TTimeDistinctGenericThread* older = row.worker;
    row.SetSpans({{0, 5}, {1, 6}});
    row.Request();
    EXPECT_NE(row.worker, nullptr);
    ASSERT_TRUE(ServeUntil([&] { return !row.doneSenders.empty(); }));
    EXPECT_TRUE(AllWorkersGone());
    ASSERT_EQ(row.doneSenders.size(), 1u);
    EXPECT_NE(row.doneSenders[0], older);
    EXPECT_EQ(row.subColumns, std::vector<int>({2, 1}));
}

TEST(SubColumnWorker, AFailureIsShownWithBothPrefixesAndNoResultFollows)
{
    TBoxes boxes;
    TRow row;
    row.SetSpans({{0, 2}, {1, 3}});
    row.Request();
    // A worker whose list lost a holder: the computation refuses it.
    TTimeDistinctGenericThread::FreeAndCleanUp(row.worker);
    row.worker = new TTimeDistinctGenericThread;
    row.worker->OnDone = TNotifyEvent(&row, &TRow::Done);
    row.worker->Holders().Add(0, 2, "", &row.items[0]);
    row.worker->Holders().Append(nullptr);
    TTimeDistinctGenericThread* failing = row.worker;
    failing->Resume();
    ASSERT_TRUE(ServeUntil([&] { return !boxes.Texts().empty(); }));
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>({"TTimeDistinctGenericThread.Execute ConflictLoop:Holder 1 is missing"}));
    ASSERT_TRUE(ServeUntil([&] { return failing->RunFinished(); }));
    EXPECT_TRUE(row.doneSenders.empty());
    EXPECT_EQ(row.subColumns, std::vector<int>({-1, -1})) << "the items keep what they had";
    TTimeDistinctGenericThread::FreeAndCleanUp(row.worker);
    EXPECT_TRUE(AllWorkersGone());
}

// Many rows asking again and again, some while their worker runs, some from inside a done
// handler's aftermath: every worker is freed once, ThreadCount ends at 0, and each row's last
// request is the one whose numbers it shows.
TEST(SubColumnWorker, ManyRowsRequestingAtOnceKeepTheCountRight)
{
    const unsigned seed = 20261207;
    std::printf("rows requesting with seed %u\n", seed);
    std::mt19937 random(seed);
    std::vector<TRow> rows(12);
    for (int step = 0; step < 600; ++step) {
        TRow& row = rows[std::uniform_int_distribution<size_t>(0, rows.size() - 1)(random)];
        const int n = std::uniform_int_distribution<int>(0, step % 50 == 0 ? 2000 : 30)(random);
        std::vector<std::pair<double, double>> spans;
        for (int i = 0; i < n; ++i) {
            const double start = std::uniform_int_distribution<int>(0, 40)(random);
            spans.push_back({start, start + std::uniform_int_distribution<int>(0, 6)(random)});
        }
        row.SetSpans(spans);
        row.doneSenders.clear();
        row.Request();
        EXPECT_LE(TTimeDistinctGenericThread::ThreadCount(), step + 1);
        if (step % 3 == 0) CheckSynchronize();
    }
    ASSERT_TRUE(ServeUntil([&] {
        for (const TRow& row : rows)
            if (row.worker) return false;
        return true;
    }));
    EXPECT_TRUE(AllWorkersGone());
    for (TRow& row : rows) {
        ASSERT_EQ(row.doneSenders.size(), 1u);
        TDistinctTimeHolderList check;
        for (size_t i = 0; i < row.spans.size(); ++i) check.Add(row.spans[i].first, row.spans[i].second, "", &row.items[i]);
        TTimeDistinctGeneric(&check).ResolveConflicts();
        for (size_t i = 0; i < row.spans.size(); ++i) EXPECT_EQ(row.subColumns[i], check.Get(static_cast<int>(i))->SubColumn);
    }
}

// FreeAndCleanUp at every moment of a run's end: before it starts computing, while it waits to
// report, while it finishes. Each worker must be freed exactly once (the sanitizers see a double
// free or a leak-then-use; the count sees a worker never freed).
TEST(SubColumnWorker, FreeAndCleanUpRacingTheEndOfARunFreesTheWorkerOnce)
{
    const unsigned seed = 7;
    std::printf("ending runs with seed %u\n", seed);
    std::mt19937 random(seed);
    int reported = 0;
    std::atomic<int> spinning{0};
    for (int round = 0; round < 400; ++round) {
        auto* worker = new TTimeDistinctGenericThread;
        worker->OnDone = TNotifyEvent([&](TObject*) { ++reported; });
        worker->Holders().Add(0, 2, "", nullptr);
        worker->Holders().Add(1, 3, "", nullptr);
        worker->Resume();
        const int serve = std::uniform_int_distribution<int>(0, 3)(random);
        for (int i = 0; i < serve; ++i) CheckSynchronize(std::uniform_int_distribution<int>(0, 1)(random));
        const int spins = std::uniform_int_distribution<int>(0, 20000)(random);
        for (int i = 0; i < spins; ++i) spinning.fetch_add(1, std::memory_order_relaxed);
        TTimeDistinctGenericThread::FreeAndCleanUp(worker);
    }
    EXPECT_TRUE(AllWorkersGone());
    EXPECT_LE(reported, 400);
}
