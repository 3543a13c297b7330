// Layout for a given area, drawing order with grouping, and hit-testing.
#include "vxGridFixture.h"

#include <vxplan/platform/core/vxExceptions.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace vxplan::test {
namespace {

// A grid of columns x rows loaded items whose cells are all 20 x 20 unless told otherwise.
void Fill(TGridFixture& f, int columns, int rows)
{
    for (int c = 0; c < columns; ++c) f.root->Columns().AddNew(nullptr);
    for (int r = 0; r < rows; ++r) f.root->Rows().AddNew(nullptr);
}

int RowSize(TGridFixture& f, int r) { return f.root->Rows().getAxisContentItem(r)->GetSize(); }
int ColPos(TGridFixture& f, int c) { return f.root->Columns().getAxisContentItem(c)->GetPos(); }

TEST(Layout, UserSizeIsRaisedToTheCellMinimumButOverridesTheContentNeed)
{
    TGridFixture f;
    Fill(f, 1, 3);
    for (int r = 0; r < 3; ++r) f.root->getCell(0, r)->SetCalculatedHeight(60);
    TAxisContentList& rows = f.root->Rows();
    rows.getAxisContentItem(0)->SetUserSizeActive(true);
    rows.getAxisContentItem(0)->SetUserSize(10);
    rows.getAxisContentItem(1)->SetUserSizeActive(true);
    rows.getAxisContentItem(1)->SetUserSize(40);
    f.root->CalcVisibleArea(Rect(0, 0, 100, 500));
    EXPECT_EQ(RowSize(f, 0), 20);
    EXPECT_EQ(RowSize(f, 1), 40);
    EXPECT_EQ(RowSize(f, 2), 60);
    EXPECT_EQ(rows.getAxisContentItem(2)->GetPos(), 60);
}

TEST(Layout, AWrappingCellIsMeasuredOncePerPassAndItsRowFollows)
{
    TGridFixture f;
    Fill(f, 1, 2);
    TLayoutProp wrap;
    wrap.MinWidth = 20;
    wrap.MinHeight = 25;
    wrap.WrapTextAndFit = true;
    f.root->getCell(0, 0)->SetLayoutProp(&wrap);
    int measured = 0;
    f.root->OnMeasureHeight = [&](TBabGridCellForViewer*, TBabCell*, int& height) {
        ++measured;
        height = 70;
    };
    f.root->CalcVisibleArea(Rect(0, 0, 100, 500));
    EXPECT_EQ(measured, 1);
    EXPECT_EQ(RowSize(f, 0), 70);
    EXPECT_EQ(RowSize(f, 1), 20);
    // Without a handler the layout's minimum holds.
    f.root->OnMeasureHeight = nullptr;
    f.root->getCell(0, 0)->SetCalculatedHeight(0);
    f.root->CalcVisibleArea(Rect(0, 0, 100, 500));
    EXPECT_EQ(RowSize(f, 0), 25);
}

TEST(Layout, HiddenItemsTakeNoRoomAndFixedItemsStayWhenScrolled)
{
    TGridFixture f;
    Fill(f, 6, 3);
    f.root->SetFixedCols(1);
    f.root->Columns().getAxisContentItem(3)->SetHide(true);
    f.root->SetLeft(2);
    f.root->CalcVisibleArea(Rect(10, 5, 200, 100));
    TAxisContentList& cols = f.root->Columns();
    ASSERT_EQ(cols.VisibleCount(), 4);  // 0 (fixed), 2, 4, 5
    EXPECT_EQ(cols.getVisibleAxisContentItem(1)->ListIndex(), 2);
    EXPECT_EQ(cols.getVisibleAxisContentItem(2)->ListIndex(), 4);
    EXPECT_EQ(ColPos(f, 4), 40);
    EXPECT_EQ(cols.getAxisContentItem(3)->GetSize(), 0);
    EXPECT_TRUE(f.root->GetAllColumnsFit());
    // The scrolled-away column is skipped: hit-testing finds the fixed one, then column 2.
    EXPECT_EQ(f.root->GridCoordsFromPix(15, 10).X, 0);
    EXPECT_EQ(f.root->GridCoordsFromPix(35, 10).X, 2);
    // The width scrolled away behind the fixed column.
    EXPECT_EQ(f.root->GetNotVisibleAcum().X, 20);
}

TEST(Layout, APartialLastRowIsDrawnButNotCountedAPartialColumnIsCounted)
{
    TGridFixture f;
    Fill(f, 5, 5);
    f.root->CalcVisibleArea(Rect(0, 0, 50, 50));
    EXPECT_EQ(f.root->Rows().VisibleCount(), 3);
    EXPECT_EQ(f.root->GetVisibleRowCount(), 2);
    EXPECT_FALSE(f.root->GetAllRowsFit());
    EXPECT_EQ(f.root->Columns().VisibleCount(), 3);
    EXPECT_EQ(f.root->GetVisibleColumnCount(), 3);
    EXPECT_EQ(f.root->GetFirstPartialColumn(), 2);
    f.root->CalcVisibleArea(Rect(0, 0, 100, 100));
    EXPECT_EQ(f.root->GetVisibleRowCount(), 5);
    EXPECT_TRUE(f.root->GetAllRowsFit());
    EXPECT_TRUE(f.root->GetAllColumnsFit());
}

TEST(Layout, ANestedGridSizesItsRowAndColumnAndIsHitDeep)
{
    TGridFixture f;
    f.root->OnCreateCell = [&](TBabGridCell* owner, TAxisContentItem* x, TAxisContentItem* y) {
        return owner == f.root.get() && x->ListIndex() == 1 && y->ListIndex() == 1 ? TBabCellType::babCellTypeGrid
                                                                                     : TBabCellType::babCellTypeSimple;
    };
    Fill(f, 3, 3);
    auto* sub = dynamic_cast<TBabGridCell*>(f.root->getCell(1, 1));
    ASSERT_NE(sub, nullptr);
    for (int i = 0; i < 3; ++i) sub->Columns().AddNew(nullptr);
    for (int i = 0; i < 2; ++i) sub->Rows().AddNew(nullptr);
    const TRect area = Rect(0, 0, 300, 300);
    f.root->CalcVisibleArea(area);
    EXPECT_EQ(f.root->Columns().getAxisContentItem(1)->GetSize(), 60);
    EXPECT_EQ(RowSize(f, 1), 40);
    EXPECT_EQ(ColPos(f, 2), 80);
    f.root->Draw(area, [](const TRect&, TBabCell*, TBabDrawStateSet) {});
    EXPECT_EQ(sub->StoredVisibleRect(), Rect(20, 20, 80, 60));
    EXPECT_EQ(f.root->CellFromPix(45, 45, false), sub);
    EXPECT_EQ(f.root->CellFromPix(45, 45, true), sub->getCell(1, 1));
    EXPECT_EQ(f.root->CellFromPix(999, 45, true), nullptr);
    // A cell inside a sub-grid in a fixed cell is fixed.
    f.root->SetFixedRows(2);
    EXPECT_TRUE(sub->getCell(0, 1)->GetIsFixed());
}

TEST(Layout, ASubGridCannotBeRemovedWhileItIsLaidOut)
{
    TGridFixture f;
    f.root->OnCreateCell = [&](TBabGridCell* owner, TAxisContentItem*, TAxisContentItem*) {
        return owner == f.root.get() ? TBabCellType::babCellTypeGrid : TBabCellType::babCellTypeSimple;
    };
    Fill(f, 1, 2);
    auto* sub = static_cast<TBabGridCell*>(f.root->getCell(0, 0));
    sub->Columns().AddNew(nullptr);
    sub->Rows().AddUnloaded(5);
    std::string message;
    f.root->OnVirtualLoad = [&](TBabGridCell* caller, TAxisContentItem*, bool) {
        if (caller != sub || !message.empty()) return;
        message = ErrorText<EInvalidOperation>([&] { f.root->Rows().Drop(0); });
    };
    f.root->CalcVisibleArea(Rect(0, 0, 100, 100));
    EXPECT_EQ(message, "A cell cannot be removed while it is laid out or drawn");
    EXPECT_EQ(f.root->Rows().Count(), 2);
    EXPECT_EQ(f.root->getCell(0, 0), sub);
}

TEST(HitTest, ABorderPixelBelongsToTheEarlierItem)
{
    TGridFixture f;
    Fill(f, 3, 3);
    f.root->CalcVisibleArea(Rect(0, 0, 100, 100));
    EXPECT_EQ(f.root->GridCoordsFromPix(20, 5), (TPoint{0, 0}));
    EXPECT_EQ(f.root->GridCoordsFromPix(21, 20), (TPoint{1, 0}));
    EXPECT_EQ(f.root->GridCoordsFromPix(21, 21), (TPoint{1, 1}));
    EXPECT_EQ(f.root->GridCoordsFromPix(61, 61), (TPoint{-1, -1}));
}

TEST(DrawingOrder, AGroupIsRedrawnByItsLastCellOverTheWholeGroup)
{
    TGridFixture f;
    Fill(f, 2, 4);
    const TRect area = Rect(0, 0, 100, 100);
    f.root->CalcVisibleArea(area);
    // Rows 0..2 of column 0 form one group.
    f.root->OnCheckCellGrouping = [](TBabCell* previous, TBabCell* cell) {
        return cell->ColumnIndex() == 0 && cell->RowIndex() <= 2 && previous->RowIndex() >= 0;
    };
    f.root->getCell(0, 0)->SetSelected(true);
    std::vector<std::pair<TRect, TBabCell*>> drawn;
    std::map<TBabCell*, TBabDrawStateSet> states;
    f.root->Draw(area, [&](const TRect& r, TBabCell* cell, TBabDrawStateSet state) {
        drawn.emplace_back(r, cell);
        states[cell] = state;
    });
    ASSERT_EQ(drawn.size(), 8u);
    EXPECT_EQ(drawn[0].first, Rect(0, 0, 20, 20));
    EXPECT_EQ(drawn[1].first, Rect(0, 0, 20, 40));
    EXPECT_EQ(drawn[2].first, Rect(0, 0, 20, 60));
    EXPECT_EQ(drawn[3].first, Rect(0, 60, 20, 80));
    TBabCell* third = f.root->getCell(0, 2);
    EXPECT_TRUE(third->GetGroupMasterFlag());
    EXPECT_FALSE(f.root->getCell(0, 0)->GetGroupMasterFlag());
    // The group carries the state of its first cell.
    EXPECT_TRUE(states[third].Contains(TBabDrawState::babSelected));
    EXPECT_EQ(f.root->CellFromPix(5, 5, true), third);
    EXPECT_EQ(f.root->getCell(0, 0)->GetGroupMaster(), third);
}

TEST(DrawingOrder, CellsOutsideTheAreaAreSkippedAndForgetTheirRectangle)
{
    TGridFixture f;
    Fill(f, 2, 2);
    f.root->CalcVisibleArea(Rect(0, 0, 100, 100));
    int calls = 0;
    // Drawn into a smaller area than laid out for: only the cell at the origin fits.
    f.root->Draw(Rect(0, 0, 19, 19), [&](const TRect& r, TBabCell*, TBabDrawStateSet) {
        ++calls;
        EXPECT_EQ(r, Rect(0, 0, 19, 19));
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(f.root->getCell(1, 1)->StoredVisibleRect(), kNoRect);
}

}  // namespace
}  // namespace vxplan::test
