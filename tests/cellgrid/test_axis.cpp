// The axis beyond what the randomized index-space model covers: load order, refused and bad
// requests, purging with its intervals and callbacks, and clearing.
#include "vxGridFixture.h"

#include <vxplan/platform/core/vxExceptions.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

namespace vxplan::test {
namespace {

TEST(AxisLoading, AskingForTheLastItemBehindFixedItemsKeepsCountsSound)
{
    // With fixed items the re-anchored count in front must not exceed the count-only items.
    TGridFixture f;
    f.MakeVirtual(1, 2, 1000);
    TAxisContentList& rows = f.root->Rows();
    TAxisContentItem* last = rows.getAxisContentItem(1001);
    EXPECT_EQ(last->ListIndex(), 1001);
    EXPECT_EQ(rows.Count(), 1002);
    EXPECT_GE(rows.GetUnloadedAfter(), 0);
    EXPECT_GE(rows.GetUnloadedBefore(), 0);
    EXPECT_THROW(rows.getAxisContentItem(1002), EListError);
}

TEST(AxisLoading, FrontLoadRaisesLoadFromLastToFirstBehindLoadFromFirstToLast)
{
    TGridFixture f;
    f.MakeVirtual(1, 0, 2000);
    std::vector<bool> atFront;
    f.root->OnVirtualLoad = [&](TBabGridCell*, TAxisContentItem* item, bool) {
        f.log.push_back("L" + std::to_string(item->ListIndex()));
        atFront.push_back(item->GetList()->GetLoadingAtFront());
    };
    TAxisContentList& rows = f.root->Rows();
    rows.getAxisContentItem(1000);  // far: nothing unloadable, re-anchored at 1000
    f.log.clear();
    atFront.clear();
    rows.getAxisContentItem(997);
    EXPECT_EQ(f.log, (std::vector<std::string>{"L999", "L998", "L997"}));
    EXPECT_EQ(atFront, (std::vector<bool>{true, true, true}));
    f.log.clear();
    rows.getAxisContentItem(1003);
    EXPECT_EQ(f.log, (std::vector<std::string>{"L1001", "L1002", "L1003"}));
    EXPECT_FALSE(rows.GetLoadingAtFront());
}

TEST(AxisLoading, InsertingDuringLoadIsRefusedAndChangesNothing)
{
    TGridFixture f;
    f.MakeVirtual(1, 0, 10);
    std::string message;
    int countInside = -1;
    f.root->OnVirtualLoad = [&](TBabGridCell*, TAxisContentItem*, bool row) {
        if (!row || !message.empty()) return;
        TAxisContentList& rows = f.root->Rows();
        countInside = rows.Count();
        message = ErrorText<EInvalidOperation>([&] { rows.InsertNew(0, nullptr); });
        EXPECT_EQ(rows.Count(), countInside);
    };
    f.root->Rows().getAxisContentItem(3);
    EXPECT_EQ(message, "Not allowed to add items during load");
    EXPECT_EQ(f.root->Rows().Count(), 10);
    EXPECT_EQ(f.root->Rows().GetLoadDepth(), 0);
}

TEST(AxisLoading, BadIndexesGiveListErrors)
{
    TGridFixture f;
    f.MakeVirtual(2, 0, 5);
    TAxisContentList& rows = f.root->Rows();
    EXPECT_THROW(rows.getAxisContentItem(-1), EListError);
    EXPECT_THROW(rows.getAxisContentItem(5), EListError);
    EXPECT_THROW(rows.Drop(5), EListError);
    EXPECT_THROW(rows.InsertNew(7, nullptr), EListError);
    EXPECT_EQ(f.root->getCell(0, 5), nullptr);
    EXPECT_EQ(f.root->getCell(-1, 0), nullptr);
    EXPECT_EQ(rows.Count(), 5);
}

// Scrolls a 1-column virtual grid of 20-pixel rows to `top` and lays out 100 pixels (5 rows).
void LayOut(TGridFixture& f, int top)
{
    f.root->SetTop(top);
    f.root->CalcVisibleArea(Rect(0, 0, 50, 100));
}

TEST(Purging, ScrollingLoadsAtOneEndAndPurgesTheOtherButKeepsSelectedRows)
{
    TGridFixture f;
    f.RecordVirtualCallbacks();
    f.MakeVirtual(1, 0, 10000);
    LayOut(f, 5000);
    EXPECT_EQ(f.root->Rows().getVisibleAxisContentItem(0)->ListIndex(), 5000);
    EXPECT_EQ(f.root->Rows().Count(), 10000);
    f.root->getCell(0, 5001)->SetSelected(true);
    f.log.clear();
    LayOut(f, 5001);
    EXPECT_EQ(f.log, (std::vector<std::string>{"L5006", "U5000"}));
    f.log.clear();
    LayOut(f, 5003);
    // 5001 holds a selected cell: the front purge stops there.
    EXPECT_EQ(f.log, (std::vector<std::string>{"L5007", "L5008"}));
    EXPECT_TRUE(f.root->Rows().IsLoaded(5001));
    // A far jump unloads everything and deselects.
    f.log.clear();
    LayOut(f, 100);
    EXPECT_FALSE(f.root->Matris().HasRowSelections(5001));
    EXPECT_FALSE(f.root->Rows().IsLoaded(5001));
    EXPECT_EQ(f.log.front(), "U5001");
}

TEST(Purging, NothingIsUnloadedWithoutAHandler)
{
    TGridFixture f;
    f.MakeVirtual(1, 0, 1000);
    for (int top = 0; top < 100; top += 5) LayOut(f, top);
    EXPECT_EQ(f.root->Rows().LoadedCount(), 101);
}

TEST(Purging, ItemsThatDoNotKeepTheirPlaceShrinkTheAxisAndPullTopAlong)
{
    TGridFixture f;
    f.RecordVirtualCallbacks();
    f.MakeVirtual(1, 1, 100);
    f.root->OnKeepAfterUnloadCheck = [](TBabGridCell*, TAxisContentItem*, bool, bool& keep) { keep = false; };
    LayOut(f, 1);
    TObject marker;
    TAxisContentItem* shown = f.root->Rows().getAxisContentItem(3);
    shown->SetValue(&marker);
    LayOut(f, 3);
    // Rows 1 and 2 went away for good; the rows shown stay the same, now at index 1.
    EXPECT_EQ(f.root->Rows().Count(), 99);
    EXPECT_EQ(f.root->GetTop(), 1);
    EXPECT_EQ(f.root->Rows().getVisibleAxisContentItem(1)->GetValue(), &marker);
    const int loaded = f.root->Rows().LoadedCount();
    f.root->CalcVisibleArea(Rect(0, 0, 50, 100));
    EXPECT_EQ(f.root->Rows().Count(), 99);
    EXPECT_EQ(f.root->Rows().LoadedCount(), loaded);
}

std::vector<std::string> Unloads(const std::vector<std::string>& log)
{
    std::vector<std::string> out;
    for (const std::string& e : log)
        if (e[0] == 'U') out.push_back(e);
    return out;
}

TEST(Purging, AnUnloadIntervalGoesTogetherOrNotAtAll)
{
    TGridFixture f;
    f.RecordVirtualCallbacks();
    f.MakeVirtual(1, 0, 100);
    f.root->OnUnloadIntervall = [](TBabGridCell*, TAxisContentItem* item, bool, int& start, int& stop) {
        if (item->ListIndex() >= 10 && item->ListIndex() <= 14) start = 10, stop = 14;
    };
    LayOut(f, 10);
    f.log.clear();
    f.allowUnload = true;
    f.root->OnVirtualUnLoad = [&](TBabGridCell*, TAxisContentItem* item, bool, bool perform, bool& can) {
        if (perform)
            f.log.push_back("U" + std::to_string(item->ListIndex()));
        else
            can = item->ListIndex() != 13 || f.allowUnload;
    };
    f.allowUnload = false;
    LayOut(f, 16);
    EXPECT_TRUE(Unloads(f.log).empty());
    f.allowUnload = true;
    f.root->CalcVisibleArea(Rect(0, 0, 50, 100));
    EXPECT_EQ(Unloads(f.log), (std::vector<std::string>{"U10", "U11", "U12", "U13", "U14", "U15"}));
}

TEST(Purging, AnIntervalEndingBeforeItStartsIsRefused)
{
    TGridFixture f;
    f.RecordVirtualCallbacks();
    f.MakeVirtual(1, 0, 100);
    LayOut(f, 0);
    f.root->OnUnloadIntervall = [](TBabGridCell*, TAxisContentItem*, bool, int& start, int& stop) { stop = start - 1; };
    f.root->SetTop(10);
    const int loaded = f.root->Rows().LoadedCount();
    EXPECT_EQ(ErrorText<EInvalidOperation>([&] { f.root->Rows().Purge(); }), "Incorrect intervall");
    EXPECT_EQ(f.root->Rows().LoadedCount(), loaded);
}

TEST(Clearing, CountOnlyItemsAreReportedAndTheAxisEmptied)
{
    TGridFixture f;
    for (int i = 0; i < 3; ++i) f.root->Rows().AddNew(nullptr);
    f.root->Rows().AddUnloaded(100);
    std::vector<std::pair<int, int>> reported;
    f.root->OnDeleteOfUnloaded = [&](TBabGridCell*, bool, int& start, int& stop) { reported.emplace_back(start, stop); };
    f.root->Rows().Clear();
    // Reported after the loaded items went, so by the indexes the count-only items then have.
    EXPECT_EQ(reported, (std::vector<std::pair<int, int>>{{0, 99}}));
    EXPECT_EQ(f.root->Rows().Count(), 0);
}

}  // namespace
}  // namespace vxplan::test
