// Lanes for overlapping time items as a host meets them: worked out on workers, applied on the
// user-interface thread, within the worker limit across charts, and safe against handlers that
// change the row while the lanes are applied. Also the virtual load and unload of time items.
#include "vxGantFixture.h"

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/overlap/vxTimeDistinctGenericThread.h>
#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/app/vxSync.h>

#include "support/vxMessageBoxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace vxplan;
using vxplan::test::GantChart;
using vxplan::test::kMonday;

namespace {

constexpr TDateTime kAnHour = 1.0 / 24;
using Workers = TTimeDistinctGenericThread;

// Runs deferred calls and the workers' synchronized calls until the condition holds; false when
// it never does (a hang, not a measure of speed). The check runs after every round, so a test
// can watch what each round leaves.
bool ServeUntil(const std::function<bool()>& done, const std::function<void()>& eachRound = {})
{
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        TDoLater::DoAllNow();
        CheckSynchronize(2);
        if (eachRound) eachRound();
    }
    return true;
}

// The row has its lanes of the latest request: nothing asked, running or paused.
bool Settled(TGantRow* row)
{
    return !row->GetThread() && !row->GetCollisionDetectionPaused() &&
           !TDoLater::AlreadyInList(TDoLaterCall(row, &TGantRow::UpdateSubColumnsAsync), row);
}

using vxplan::test::TBoxes;

// Every test leaves no worker behind for the next.
struct GantLanes : ::testing::Test {
    GantChart c;
    TvxDataEntity_Tree* a = c.Node(nullptr, "A");
    TGantRow* row = c.Row(a);

    TvxDataEntity_Chronbar* Hours(TvxDataEntity_Tree* node, double from, double to, int layer = 0)
    {
        return c.Item(node, kMonday + from * kAnHour, kMonday + to * kAnHour, layer);
    }
    // Detection on, and served until the row has its lanes.
    void Detect(TGantRow* r)
    {
        r->SetCollisionDetection(true);
        ASSERT_TRUE(ServeUntil([&] { return Settled(r); }));
    }
    void TearDown() override
    {
        EXPECT_TRUE(ServeUntil([] { return Workers::ThreadCount() == 0 && TDoLater::PendingCount() == 0; }));
    }
};

}  // namespace

TEST_F(GantLanes, OverlappingItemsOfALayerGetLanesAndShareTheBand)
{
    auto* i1 = Hours(a, 8, 10);
    auto* i2 = Hours(a, 9, 11);
    auto* i3 = Hours(a, 10, 12);
    auto* apart = Hours(a, 30, 31);
    auto* b = c.Node(nullptr, "B");
    auto* lone = Hours(b, 8, 10);
    Detect(row);
    Detect(c.Row(b));
    EXPECT_EQ(i1->GetSubCol(), 1);
    EXPECT_EQ(i2->GetSubCol(), 2);
    EXPECT_EQ(i3->GetSubCol(), 1) << "touching ends share a lane";
    EXPECT_EQ(apart->GetSubCol(), 0) << "an item overlapping nothing has no lane";
    EXPECT_EQ(row->GetUseSubCols(), 2);
    EXPECT_EQ(lone->GetSubCol(), 0);
    EXPECT_EQ(c.Row(b)->GetUseSubCols(), 0);

    // The band inside its 1-pixel margins, 18 pixels, gives each lane 9.
    c.Pass();
    EXPECT_EQ(c.ItemRect(i1).Top, 1);
    EXPECT_EQ(c.ItemRect(i1).Bottom, 10);
    EXPECT_EQ(c.ItemRect(i2).Top, 10);
    EXPECT_EQ(c.ItemRect(i2).Bottom, 19);
    EXPECT_EQ(c.ItemRect(apart).Top, 1);
    EXPECT_EQ(c.ItemRect(apart).Bottom, 19) << "an item without a lane spans the band";

    // Switching off drops the lanes of the band; the items keep their numbers.
    row->SetCollisionDetection(false);
    EXPECT_EQ(row->GetUseSubCols(), 0);
    EXPECT_EQ(i2->GetSubCol(), 2);
}

TEST_F(GantLanes, LayersConflictOnlyWithCollisionAllLayers)
{
    auto* under = Hours(a, 8, 10, 0);
    auto* over = Hours(a, 9, 11, 1);
    Detect(row);
    EXPECT_EQ(under->GetSubCol(), 0);
    EXPECT_EQ(over->GetSubCol(), 0);
    EXPECT_EQ(row->GetUseSubCols(), 0);

    row->CollisionAllLayers = true;
    row->UpdateSubColumns();
    ASSERT_TRUE(ServeUntil([&] { return Settled(row); }));
    EXPECT_EQ(std::min(under->GetSubCol(), over->GetSubCol()), 1);
    EXPECT_EQ(std::max(under->GetSubCol(), over->GetSubCol()), 2);
    EXPECT_EQ(row->GetUseSubCols(), 2);
}

TEST_F(GantLanes, WithoutDetectionTheHostPlacesEachLayerInALane)
{
    auto* under = Hours(a, 8, 10, 0);
    auto* over = Hours(a, 9, 11, 1);
    row->DataListOnSubCol(0, 0);
    row->DataListOnSubCol(1, 1);
    row->SetUseSubCols(2);
    c.Pass();
    EXPECT_EQ(c.ItemRect(under).Top, 1);
    EXPECT_EQ(c.ItemRect(under).Bottom, 10);
    EXPECT_EQ(c.ItemRect(over).Top, 10);
    EXPECT_EQ(c.ItemRect(over).Bottom, 19);
    EXPECT_EQ(row->GetThread(), nullptr) << "no worker is asked for";
}

TEST_F(GantLanes, AnItemThatWasNotVisibleKeepsItsLaneAndIsNotCounted)
{
    auto* hidden = Hours(a, 8, 12);
    auto* i1 = Hours(a, 8, 10);
    auto* i2 = Hours(a, 9, 11);
    hidden->SetSubCol(7);
    hidden->SetVisible(false);
    std::vector<TvxDataEntity*> reported;
    c.gant->OnCollisionDetected =
        TOnCollisionDetected([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar* item, int) { reported.push_back(item); });
    Detect(row);
    EXPECT_EQ(hidden->GetSubCol(), 7);
    EXPECT_EQ(i1->GetSubCol() + i2->GetSubCol(), 3);
    EXPECT_EQ(row->GetUseSubCols(), 2) << "the hidden item's lane 7 is not counted";
    EXPECT_EQ(std::count(reported.begin(), reported.end(), hidden), 0);
}

TEST_F(GantLanes, TheHandlerHearsEachNewLaneAndMayChooseAnother)
{
    auto* i1 = Hours(a, 8, 10);
    auto* i2 = Hours(a, 9, 11);
    std::vector<std::pair<int, int>> heard;  // SubCol during the event, lane offered
    c.gant->OnCollisionDetected = TOnCollisionDetected([&](TvxGant_ComBasic* g, TvxDataEntity_Chronbar* item, int lane) {
        EXPECT_EQ(g, c.gant.get());
        heard.emplace_back(item->GetSubCol(), lane);
        if (item == i2) item->SetSubCol(3);
    });
    Detect(row);
    // Placed from the last: i2 takes lane 1 and i1 lane 2; told in row order.
    EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{{-1, 2}, {-1, 1}}));
    EXPECT_EQ(i1->GetSubCol(), 2);
    EXPECT_EQ(i2->GetSubCol(), 3);
    EXPECT_GE(row->GetUseSubCols(), 3);

    // Asked again with nothing changed: only the item whose lane the handler chose is told.
    heard.clear();
    row->UpdateSubColumns();
    ASSERT_TRUE(ServeUntil([&] { return Settled(row); }));
    EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{{-1, 1}}));
}

TEST_F(GantLanes, AHandlerThatFreesItemsOrTheRowMidWalkIsSafe)
{
    auto* i1 = Hours(a, 8, 10);
    auto* i2 = Hours(a, 9, 11);
    auto* i3 = Hours(a, 9, 12);
    auto* i4 = Hours(a, 11, 13);
    // Walked from the first: the handler for i1 frees i1 itself and i2, which is still to come.
    std::vector<TvxDataEntity*> heard;
    c.gant->OnCollisionDetected = TOnCollisionDetected([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar* item, int) {
        heard.push_back(item);
        if (item == i1) {
            c.gant->RemoveChronbar(i2);
            c.gant->RemoveChronbar(i1);
        }
    });
    row->SetCollisionDetection(true);
    ASSERT_TRUE(ServeUntil([&] { return !heard.empty() && !row->GetThread(); }));
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0], i1);
    EXPECT_EQ(heard[1], i3) << "the freed item is passed over, the others are visited once";
    EXPECT_EQ(heard[2], i4);
    EXPECT_EQ(row->GetLayer(0)->Count(), 2);
    // The removals asked for lanes afresh: i3 and i4 overlap still.
    ASSERT_TRUE(ServeUntil([&] { return Settled(row); }));
    EXPECT_EQ(i3->GetSubCol() + i4->GetSubCol(), 3);

    // A handler that removes the whole row ends the walk there.
    auto* b = c.Node(nullptr, "B");
    Hours(b, 8, 10);
    Hours(b, 9, 11);
    int calls = 0;
    c.gant->OnCollisionDetected = TOnCollisionDetected([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar*, int) {
        ++calls;
        c.tree->RemoveDataEntity(b);
    });
    c.Row(b)->SetCollisionDetection(true);
    ASSERT_TRUE(ServeUntil([&] { return calls > 0 && Workers::ThreadCount() == 0; }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(c.rows->Count(), 1);
}

TEST_F(GantLanes, AThrowingHandlerIsShownOnceAndTheRowStillGetsItsLanes)
{
    TBoxes boxes;
    auto* i1 = Hours(a, 8, 10);
    auto* i2 = Hours(a, 9, 11);
    auto* i3 = Hours(a, 10, 12);
    c.gant->OnCollisionDetected = TOnCollisionDetected([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar*, int) {
        throw std::runtime_error("no lanes today");
    });
    Detect(row);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>({"TimeDistinctThreadDone:no lanes today"}));
    EXPECT_EQ(i1->GetSubCol(), 1);
    EXPECT_EQ(i2->GetSubCol(), 2);
    EXPECT_EQ(i3->GetSubCol(), 1);
    EXPECT_EQ(row->GetUseSubCols(), 2);
    EXPECT_EQ(row->GetThread(), nullptr);
    EXPECT_TRUE(ServeUntil([] { return Workers::ThreadCount() == 0; })) << "the worker was let go";
}

TEST_F(GantLanes, TwoHundredRowsAtOnceStayWithinTheLimitAndAllGetTheirLanes)
{
    std::vector<TGantRow*> rows;
    std::vector<std::vector<TvxDataEntity_Chronbar*>> items;
    for (int r = 0; r < 200; ++r) {
        auto* node = c.Node(nullptr, "R" + std::to_string(r));
        items.push_back({Hours(node, 8, 10), Hours(node, 9, 11), Hours(node, 10, 12)});
        rows.push_back(c.Row(node));
    }
    for (TGantRow* r : rows) r->SetCollisionDetection(true);
    int peak = 0;
    bool pausedSeen = false;
    auto watch = [&] {
        peak = std::max(peak, Workers::ThreadCount());
        pausedSeen = pausedSeen || c.gant->GetSomeRowsPaused();
    };
    c.gant->OnCollisionDetected = TOnCollisionDetected([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar*, int) { watch(); });
    ASSERT_TRUE(ServeUntil([&] { return std::all_of(rows.begin(), rows.end(), Settled); }, watch));
    EXPECT_LE(peak, Workers::MaxThreads());
    EXPECT_TRUE(pausedSeen) << "rows past the limit waited";
    EXPECT_FALSE(c.gant->GetSomeRowsPaused());
    for (size_t r = 0; r < rows.size(); ++r) {
        EXPECT_TRUE(rows[r]->GetCollisionDetection());
        EXPECT_EQ(rows[r]->GetUseSubCols(), 2) << "row " << r;
        EXPECT_EQ(items[r][1]->GetSubCol(), 2) << "row " << r;
    }
}

TEST_F(GantLanes, PausedRowsResumeWhenAnotherChartsWorkersEnd)
{
    GantChart busy;
    std::vector<TGantRow*> busyRows;
    for (int r = 0; r < Workers::MaxThreads(); ++r) {
        auto* node = busy.Node(nullptr, "R" + std::to_string(r));
        busy.Item(node, kMonday + 8 * kAnHour, kMonday + 10 * kAnHour);
        busy.Item(node, kMonday + 9 * kAnHour, kMonday + 11 * kAnHour);
        busyRows.push_back(busy.Row(node));
        busyRows.back()->SetCollisionDetection(true);
    }
    // Their workers report only when served, so they fill the limit meanwhile.
    TDoLater::DoAllNow();
    ASSERT_EQ(Workers::ThreadCount(), Workers::MaxThreads());
    auto* i1 = Hours(a, 8, 10);
    Hours(a, 9, 11);
    row->SetCollisionDetection(true);
    TDoLater::DoAllNow();
    ASSERT_TRUE(row->GetCollisionDetectionPaused());
    ASSERT_TRUE(c.gant->GetSomeRowsPaused());

    ASSERT_TRUE(ServeUntil([&] { return Settled(row) && std::all_of(busyRows.begin(), busyRows.end(), Settled); }));
    EXPECT_FALSE(c.gant->GetSomeRowsPaused());
    EXPECT_TRUE(row->GetCollisionDetection());
    EXPECT_EQ(row->GetUseSubCols(), 2);
    EXPECT_EQ(i1->GetSubCol(), 2);
}

TEST_F(GantLanes, PausedRowsResumeWhenTheLimitWasHeldByAbandonedWorkers)
{
    std::vector<TGantRow*> rows;
    std::vector<TvxDataEntity_Chronbar*> firsts;
    for (int r = 0; r < Workers::MaxThreads() + 5; ++r) {
        auto* node = c.Node(nullptr, "R" + std::to_string(r));
        firsts.push_back(Hours(node, 8, 10));
        Hours(node, 9, 11);
        rows.push_back(c.Row(node));
        rows.back()->SetCollisionDetection(true);
    }
    TDoLater::DoAllNow();
    // Each row with a worker asks again before its worker reports: the old workers are
    // abandoned while they still count, so every row waits and none is left to report.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    for (auto* item : firsts) item->DoInfoPush();
    TDoLater::DoAllNow();
    EXPECT_TRUE(c.gant->GetSomeRowsPaused());
    ASSERT_TRUE(ServeUntil([&] { return std::all_of(rows.begin(), rows.end(), Settled); }));
    EXPECT_FALSE(c.gant->GetSomeRowsPaused());
    for (TGantRow* r : rows) EXPECT_EQ(r->GetUseSubCols(), 2);
}

TEST_F(GantLanes, OnlyTheLatestRequestsResultsApply)
{
    auto* i1 = Hours(a, 8, 10);
    auto* i2 = Hours(a, 9, 11);
    std::vector<std::pair<TvxDataEntity*, int>> heard;
    c.gant->OnCollisionDetected =
        TOnCollisionDetected([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar* item, int lane) { heard.emplace_back(item, lane); });

    // A result that arrives while a newer request waits is not applied: i2 has moved clear.
    row->SetCollisionDetection(true);
    TDoLater::DoAllNow();
    ASSERT_NE(row->GetThread(), nullptr);
    i2->SetStartStop(kMonday + 11 * kAnHour, kMonday + 12 * kAnHour);
    i2->DoInfoPush();
    // Only the worker is served, so the request stays queued while the result comes in.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (row->GetThread() && std::chrono::steady_clock::now() < give_up) CheckSynchronize(2);
    ASSERT_EQ(row->GetThread(), nullptr);
    EXPECT_TRUE(heard.empty()) << "the old lanes were applied";
    ASSERT_TRUE(ServeUntil([&] { return Settled(row); }));
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(row->GetUseSubCols(), 0);

    // A newer request abandons the running one, whose result never arrives.
    i2->SetStartStop(kMonday + 9 * kAnHour, kMonday + 11 * kAnHour);
    i2->DoInfoPush();
    TDoLater::DoAllNow();
    TTimeDistinctGenericThread* older = row->GetThread();
    ASSERT_NE(older, nullptr);
    i1->SetStartStop(kMonday + 10 * kAnHour, kMonday + 12 * kAnHour);
    i1->DoInfoPush();
    TDoLater::DoAllNow();
    EXPECT_NE(row->GetThread(), nullptr);
    ASSERT_TRUE(ServeUntil([&] { return Settled(row); }));
    // Placed from the last: i2 takes lane 1, then its partner i1 lane 2.
    EXPECT_EQ(heard, (std::vector<std::pair<TvxDataEntity*, int>>{{i1, 2}, {i2, 1}}));
    EXPECT_EQ(row->GetUseSubCols(), 2);
}

TEST_F(GantLanes, ARowLeavingWhileItsWorkerRunsHearsNothing)
{
    Hours(a, 8, 10);
    Hours(a, 9, 11);
    int calls = 0;
    c.gant->OnCollisionDetected = TOnCollisionDetected([&](TvxGant_ComBasic*, TvxDataEntity_Chronbar*, int) { ++calls; });
    row->SetCollisionDetection(true);
    TDoLater::DoAllNow();
    ASSERT_NE(row->GetThread(), nullptr);
    c.tree->RemoveDataEntity(a);
    EXPECT_TRUE(ServeUntil([] { return Workers::ThreadCount() == 0; }));
    EXPECT_EQ(calls, 0);

    // Switched off while its worker runs, a row gets no lanes from that run either.
    auto* b = c.Node(nullptr, "B");
    Hours(b, 8, 10);
    Hours(b, 9, 11);
    TGantRow* rowB = c.Row(b);
    rowB->SetCollisionDetection(true);
    TDoLater::DoAllNow();
    rowB->SetCollisionDetection(false);
    EXPECT_EQ(rowB->GetThread(), nullptr);
    EXPECT_TRUE(ServeUntil([] { return Workers::ThreadCount() == 0; }));
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(rowB->GetUseSubCols(), 0);
}

TEST_F(GantLanes, VirtualLoadAndUnloadReachTheHostWhoDecidesWhatGoes)
{
    TvxDataList_GantRow* layer = row->GetLayer(0);
    std::vector<TvxDataEntity*> loaded, asked;
    bool allow = false;
    c.gant->OnVirtualLoad_Chronbar = TOnGantVirtualLoad([&](TvxGant_ComBasic* g, TvxDataEntity* e) {
        EXPECT_EQ(g, c.gant.get());
        loaded.push_back(e);
        static_cast<TvxDataEntity_Chronbar*>(e)->SetStartStop(kMonday, kMonday + 1);
    });
    c.gant->OnVirtualUnLoad_Chronbar = TOnGantVirtualUnLoad([&](TvxGant_ComBasic* g, TvxDataEntity* e, bool& canUnload) {
        EXPECT_EQ(g, c.gant.get());
        EXPECT_FALSE(canUnload) << "an entity stays unless the host lets it go";
        asked.push_back(e);
        canUnload = allow;
    });
    layer->AddUnloaded(3);
    TvxDataEntity* item = layer->GetItems(1);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(loaded, std::vector<TvxDataEntity*>({item}));
    EXPECT_EQ(static_cast<TvxDataEntity_Chronbar*>(item)->GetStopDateTime(), kMonday + 1) << "filled by the host";

    layer->UnloadAll();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(std::count(asked.begin(), asked.end(), item), static_cast<long>(asked.size()));
    EXPECT_EQ(layer->LoadedCount(), 1) << "the host kept it";
    allow = true;
    layer->UnloadAll();
    EXPECT_EQ(layer->LoadedCount(), 0);
    EXPECT_EQ(layer->Count(), 3);
    c.gant->OnVirtualLoad_Chronbar = {};
    c.gant->OnVirtualUnLoad_Chronbar = {};
}
