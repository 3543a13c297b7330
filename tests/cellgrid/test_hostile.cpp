// The cell-grid engine against hostile input through its public calls: indexes and ranges far
// outside the axes, extreme counts and sizes, and host handlers that throw or answer with
// extreme values. Each case checks the error (or the clamp) and that the axes stay whole.
#include "vxGridFixture.h"
#include "vxGridViewScene.h"

#include <vxplan/platform/core/vxExceptions.h>

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <vector>

using namespace vxplan;
using vxplan::test::TGridFixture;
using vxplan::test::TGridViewScene;

namespace {

constexpr int kMin = INT_MIN;
constexpr int kMax = INT_MAX;

// The index model of an axis after any call: counts add up and every loaded item knows its place.
void ExpectAxisWhole(TAxisContentList& axis)
{
    ASSERT_GE(axis.GetFixed(), 0);
    ASSERT_LE(axis.GetFixed(), axis.LoadedCount());
    ASSERT_GE(axis.Count(), axis.LoadedCount());
    for (int j = 0; j < axis.LoadedCount(); ++j)
        ASSERT_EQ(axis.getLoadedAxisContentItem(j)->ListIndex(), axis.IndexConvert_LoadedToReal(j)) << "loaded " << j;
}

}  // namespace

TEST(HostileAxis, LoadRangesOutsideTheCountOnlyItemsAreRefused)
{
    TGridFixture f;
    f.MakeVirtual(2, 1, 100);
    TAxisContentList& rows = f.root->Rows();
    rows.EnsureLoadedItem(50);
    const int loaded = rows.LoadedCount();
    const struct {
        int first, last;
        bool atFront;
    } cases[] = {{-5, -1, true},    {-5, -1, false}, {kMin, kMax, false}, {kMin, kMax, true}, {10, 5, false},
                 {0, kMax, false},  {51, kMax, false}, {200, 300, false}, {0, 0, true},       {60, 60, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last) + (c.atFront ? " front" : " back"));
        EXPECT_THROW(rows.LoadItems(c.first, c.last, c.atFront), EListError);
        EXPECT_EQ(rows.Count(), 101);
        EXPECT_EQ(rows.LoadedCount(), loaded);
        ExpectAxisWhole(rows);
    }
    rows.LoadItems(51, 52, false);  // the block's own end still loads
    EXPECT_EQ(rows.LoadedCount(), loaded + 2);
    ExpectAxisWhole(rows);
}

TEST(HostileAxis, AFarLoadWhoseHostKeepsEveryItemIsRefusedAndAFrontLoadJoinsInOrder)
{
    TGridFixture f;
    f.RecordVirtualCallbacks();
    f.allowUnload = false;
    f.MakeVirtual(3, 1, kMax - 10);
    TAxisContentList& rows = f.root->Rows();
    rows.EnsureLoadedItem(5);
    const int loaded = rows.LoadedCount();
    EXPECT_THROW(rows.EnsureLoadedItem(kMax - 20), EInvalidOperation);
    EXPECT_EQ(rows.LoadedCount(), loaded) << "nothing was loaded on the way";
    ExpectAxisWhole(rows);

    // A load in front of the block: the host hears the new items from the last one down, and
    // each has a cell in every column at its own place.
    TGridFixture g;
    g.RecordVirtualCallbacks();
    g.MakeVirtual(3, 1, 1000);
    g.root->Rows().EnsureLoadedItem(900);
    g.log.clear();
    g.allowUnload = false;
    g.root->Rows().EnsureLoadedItem(896);
    EXPECT_EQ(g.log, (std::vector<std::string>{"L899", "L898", "L897", "L896"}));
    ExpectAxisWhole(g.root->Rows());
    for (int r = 896; r <= 900; ++r)
        for (int c = 0; c < 3; ++c) {
            TBabCell* cell = g.root->getCell(c, r);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->RowIndex(), r);
            EXPECT_EQ(cell->ColumnIndex(), c);
        }
}

TEST(HostileAxis, OnlyTheEndOfTheBlockThatIsNamedUnloads)
{
    TGridFixture f;
    f.MakeVirtual(2, 1, 100);
    TAxisContentList& rows = f.root->Rows();
    rows.EnsureLoadedItem(50);
    const int first = rows.GetFixed() + rows.GetUnloadedBefore();
    const int last = rows.GetUnloadedBefore() + rows.LoadedCount() - 1;
    ASSERT_LT(first + 2, last);
    const int loaded = rows.LoadedCount();
    const struct {
        int i;
        bool atFront;
    } refused[] = {{first, false}, {last, true}, {first + 1, true}, {first + 1, false}};
    for (const auto& c : refused) {
        SCOPED_TRACE(std::to_string(c.i) + (c.atFront ? " front" : " back"));
        EXPECT_THROW(rows.Unload(c.i, c.atFront), EInvalidOperation);
        EXPECT_EQ(rows.LoadedCount(), loaded);
        ExpectAxisWhole(rows);
    }
    rows.Unload(first, true);
    rows.Unload(last, false);
    EXPECT_EQ(rows.LoadedCount(), loaded - 2);
    EXPECT_EQ(rows.Count(), 101);
    ExpectAxisWhole(rows);
}

TEST(HostileAxis, DroppingOrClearingFixedItemsTakesTheirFixedPlaces)
{
    TGridFixture f;
    f.MakeVirtual(2, 3, 10);
    TAxisContentList& rows = f.root->Rows();
    rows.Drop(1);
    EXPECT_EQ(rows.GetFixed(), 2);
    EXPECT_EQ(rows.Count(), 12);
    ExpectAxisWhole(rows);
    rows.ClearKeepFixedItems();
    EXPECT_EQ(rows.GetFixed(), 2);
    EXPECT_EQ(rows.Count(), 2);
    rows.Clear();
    EXPECT_EQ(rows.GetFixed(), 0);
    ExpectAxisWhole(rows);
    // The emptied axis loads its first item again, rather than taking it for a fixed one.
    rows.AddUnloaded(5);
    EXPECT_EQ(rows.getAxisContentItem(0)->ListIndex(), 0);
    ExpectAxisWhole(rows);
}

TEST(HostileAxis, AMoveAcrossTheCountOnlyItemsBeforeTheBlockIsRefused)
{
    TGridFixture f;
    f.RecordVirtualCallbacks();
    f.MakeVirtual(2, 2, 2000);
    TAxisContentList& rows = f.root->Rows();
    rows.EnsureLoadedItem(1000);  // far: count-only rows lie between the fixed rows and the block
    ASSERT_GT(rows.GetUnloadedBefore(), 0);
    TAxisContentItem* fixed0 = rows.getAxisContentItem(0);
    TAxisContentItem* far = rows.getAxisContentItem(1000);
    EXPECT_THROW(rows.Move(0, 1000), EInvalidOperation);
    EXPECT_THROW(rows.Move(1000, 1), EInvalidOperation);
    EXPECT_EQ(fixed0->ListIndex(), 0);
    EXPECT_EQ(far->ListIndex(), 1000);
    ExpectAxisWhole(rows);
    rows.Move(0, 1);  // among the fixed rows
    EXPECT_EQ(fixed0->ListIndex(), 1);
    ExpectAxisWhole(rows);
}

TEST(HostileAxis, AnItemInsertedAmongTheFixedItemsIsFixedToo)
{
    TGridFixture f;
    f.MakeVirtual(2, 2, 2000);
    TAxisContentList& rows = f.root->Rows();
    rows.EnsureLoadedItem(1000);
    ASSERT_GT(rows.GetUnloadedBefore(), 0);
    TAxisContentItem* lastFixed = rows.getAxisContentItem(1);
    TAxisContentItem* inserted = rows.InsertNew(1, nullptr);
    EXPECT_EQ(rows.GetFixed(), 3);
    EXPECT_EQ(inserted->ListIndex(), 1);
    EXPECT_EQ(lastFixed->ListIndex(), 2) << "still loaded, and next to the fixed item before it";
    EXPECT_EQ(rows.Count(), 2003);
    ExpectAxisWhole(rows);
}

TEST(HostileAxis, FixedItemsStayFixedWhileCountOnlyItemsFollowThem)
{
    TGridFixture f;
    f.MakeVirtual(2, 2, 2000);
    TAxisContentList& rows = f.root->Rows();
    rows.EnsureLoadedItem(1000);
    ASSERT_GT(rows.GetUnloadedBefore(), 0);
    EXPECT_THROW(f.root->SetFixedRows(1), EInvalidArgument);
    EXPECT_THROW(f.root->SetFixedRows(0), EInvalidArgument);
    EXPECT_EQ(rows.GetFixed(), 2);
    ExpectAxisWhole(rows);
    rows.EnsureLoadedItem(2);  // the rows between loaded: the fixed count may drop again
    ASSERT_EQ(rows.GetUnloadedBefore(), 0);
    f.root->SetFixedRows(0);
    EXPECT_EQ(rows.GetFixed(), 0);
    ExpectAxisWhole(rows);
}

TEST(HostileAxis, CountsBeyondTheIntRangeAndFixedCountsBeyondTheLoadedItemsAreRefused)
{
    TGridFixture f;
    f.MakeVirtual(3, 2, 10);
    TAxisContentList& rows = f.root->Rows();
    EXPECT_THROW(rows.AddUnloaded(kMax), EInvalidArgument);
    EXPECT_THROW(rows.AddUnloaded(-1), EInvalidArgument);
    EXPECT_EQ(rows.Count(), 12);
    rows.AddUnloaded(kMax - 12);
    EXPECT_EQ(rows.Count(), kMax) << "up to the last int";
    EXPECT_THROW(rows.AddUnloaded(1), EInvalidArgument);

    EXPECT_THROW(f.root->SetFixedRows(3), EInvalidArgument) << "row 2 is count-only";
    EXPECT_THROW(f.root->SetFixedRows(kMax), EInvalidArgument);
    EXPECT_THROW(f.root->SetFixedCols(4), EInvalidArgument) << "beyond the three columns";
    EXPECT_THROW(f.root->SetFixedCols(-1), EInvalidArgument);
    EXPECT_EQ(f.root->GetFixedRows(), 2);
    EXPECT_EQ(f.root->GetFixedCols(), 0);
    f.root->SetFixedCols(3);
    f.root->SetFixedRows(1);
    EXPECT_EQ(f.root->GetFixedCols(), 3);
    ExpectAxisWhole(rows);
    ExpectAxisWhole(f.root->Columns());
}

TEST(HostileAxis, AreaSelectionIsClippedToTheCells)
{
    TGridFixture f;
    for (int i = 0; i < 3; ++i) {
        f.root->Columns().AddNew(nullptr);
        f.root->Rows().AddNew(nullptr);
    }
    f.root->AreaSelect(true, Rect(kMin, kMin, kMax, kMax));
    int selected = 0;
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 3; ++y) selected += f.root->getCell(x, y)->GetSelected() ? 1 : 0;
    EXPECT_EQ(selected, 9);
    f.root->AreaSelect(false, Rect(kMax, 1, 1, kMin));  // reversed corners
    EXPECT_FALSE(f.root->getCell(1, 0)->GetSelected());
    EXPECT_FALSE(f.root->getCell(2, 1)->GetSelected());
    EXPECT_TRUE(f.root->getCell(0, 0)->GetSelected());
    f.root->AreaSelect(true, Rect(5, 5, kMax, kMax));  // wholly beside the grid
}

TEST(HostileAxis, HandlersAnsweringWithExtremeRangesUnloadNothingAndDeleteWhatExists)
{
    TGridFixture f;
    f.RecordVirtualCallbacks();
    f.MakeVirtual(1, 1, 1000);
    TAxisContentList& rows = f.root->Rows();
    rows.EnsureLoadedItem(10);
    rows.EnsureLoadedItem(20);
    const int loaded = rows.LoadedCount();
    f.root->OnUnloadIntervall = [](TBabGridCell*, TAxisContentItem*, bool, int& theStart, int& theStop) {
        theStart = kMin;
        theStop = kMax;
    };
    rows.Purge();
    EXPECT_EQ(rows.LoadedCount(), loaded) << "an interval wider than the axis cannot go";
    ExpectAxisWhole(rows);

    f.root->OnUnloadIntervall = nullptr;
    rows.DeleteOfUnloaded(kMin, kMax);  // starts inside the fixed rows: nothing to take
    EXPECT_EQ(rows.Count(), 1001);
    rows.DeleteOfUnloaded(rows.LoadedCount() + 10, kMax);
    EXPECT_EQ(rows.Count(), rows.LoadedCount() + 10) << "the items behind the block go, not more";
    ExpectAxisWhole(rows);
}

TEST(HostileAxis, AnIntervalReachingFarAmongCountOnlyItemsUnloadsWithoutLoadingThem)
{
    TGridFixture f;
    f.RecordVirtualCallbacks();
    f.MakeVirtual(1, 1, 5000);
    TAxisContentList& rows = f.root->Rows();
    rows.EnsureLoadedItem(10);
    rows.ClearVisibles();  // forgets the last load, which a purge keeps
    f.root->OnUnloadIntervall = [](TBabGridCell*, TAxisContentItem*, bool, int&, int& stop) { stop += 1000; };
    f.log.clear();
    rows.Purge();
    EXPECT_EQ(rows.LoadedCount(), 1) << "only the fixed row stays";
    EXPECT_EQ(f.log.size(), 10u) << "U1 .. U10, no load among them";
    EXPECT_EQ(f.log.front(), "U1");
    EXPECT_EQ(rows.Count(), 5001);
    ExpectAxisWhole(rows);
}

TEST(HostileAxis, AnInsertWhosePlaceVanishedOnTheWayIsRefused)
{
    TGridFixture f;
    f.RecordVirtualCallbacks();
    f.MakeVirtual(1, 1, 2000);
    TAxisContentList& rows = f.root->Rows();
    rows.EnsureLoadedItem(10);
    rows.ClearVisibles();
    // Every row unloaded takes its place with it: the far load at the end shortens the axis.
    f.root->OnKeepAfterUnloadCheck = [](TBabGridCell*, TAxisContentItem*, bool, bool& keep) { keep = false; };
    const int end = rows.Count();
    EXPECT_THROW(rows.InsertNew(end, nullptr), EInvalidOperation);
    EXPECT_EQ(rows.Count(), end - 10);
    ExpectAxisWhole(rows);
    rows.InsertNew(rows.Count(), nullptr);  // the end as it is now
    EXPECT_EQ(rows.Count(), end - 9);
    ExpectAxisWhole(rows);
}

TEST(HostileAxis, AClearWhoseHandlerThrowsStillEmptiesTheAxis)
{
    TGridFixture f;
    f.MakeVirtual(2, 1, 2000);
    TAxisContentList& rows = f.root->Rows();
    rows.EnsureLoadedItem(1000);  // far: the block is anchored there, count-only rows either side
    ASSERT_GT(rows.GetUnloadedBefore(), 0);
    int reports = 0;
    f.root->OnDeleteOfUnloaded = [&](TBabGridCell*, bool, int&, int&) {
        ++reports;
        throw std::runtime_error("host refuses");
    };
    EXPECT_THROW(rows.Clear(), std::runtime_error);
    EXPECT_EQ(reports, 2) << "both ranges were still reported";
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_EQ(rows.LoadedCount(), 0);
}

TEST(HostileGridView, ExtremeResizesAndScrollPositionsSaturate)
{
    TGridViewScene s(6, 40, 1, 1);
    s.Paint();
    TBabCell* cell = s.Root().getCell(2, 3);
    s.view.DoResize(kMax, cell, true);
    EXPECT_EQ(s.Column(2)->GetUserSize(), kMax);
    s.view.DoResize(kMin, cell, true);
    EXPECT_LT(s.Column(2)->GetUserSize(), 0) << "stored as asked; the layout raises it to the minimum";
    s.Paint();

    TScrollBar& v = s.view.VertScrollBar();
    s.view.SetScrollbarPosition(v, kMax);
    EXPECT_EQ(v.GetPosition(), v.GetMax() - v.GetPageSize() + 1);
    s.view.SetScrollbarPosition(v, kMin);
    EXPECT_EQ(v.GetPosition(), v.GetMin());
    s.Paint();
}
