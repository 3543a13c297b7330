// User sizing of rows and columns through injected mouse input (zone, cursors, tracking line,
// limits, sub-grid headers), painting of tree buttons, and virtual rows scrolled through the view.
#include "vxGridViewScene.h"

#include <gtest/gtest.h>

namespace vxplan::test {
namespace {

struct TUserSize {
    int calls = 0;
    TBabCell* cell = nullptr;
    bool horz = false;
    TAxisContentItem* item = nullptr;
};

void Record(TBabGridView_Custom& theView, TUserSize& theSink)
{
    theView.OnAfterUserSize = [&theSink](TBabGridView_Custom*, TBabCell* c, bool h, TAxisContentItem* i) {
        ++theSink.calls;
        theSink.cell = c;
        theSink.horz = h;
        theSink.item = i;
    };
}

TEST(GridViewSizing, DraggingAHeaderBorderSizesItsColumn)
{
    TGridViewScene s(6, 20, 1, 1);
    TUserSize sized;
    Record(s.view, sized);
    s.Paint();
    // The border between column headers 1 and 2 lies at x = 120; one pixel left of it.
    s.Press(119, 10);
    EXPECT_EQ(s.view.GetMouseMode(), TMMode::mmResizeCols);
    s.Drag(149, 10);
    EXPECT_EQ(s.view.GetTrackingLine(), Rect(149, 0, 149, 200));
    s.Release(149, 10);
    EXPECT_EQ(s.view.GetMouseMode(), TMMode::mmNone);
    EXPECT_EQ(s.view.GetTrackingLine(), kNoRect);
    EXPECT_EQ(sized.calls, 1);
    EXPECT_TRUE(sized.horz);
    EXPECT_EQ(sized.cell, s.Root().getCell(1, 0));
    EXPECT_EQ(sized.item, s.Column(1));
    EXPECT_EQ(s.Column(1)->GetUserSize(), 90);
    s.Paint();
    EXPECT_EQ(s.Column(1)->GetSize(), 90);
    EXPECT_EQ(s.Column(2)->GetPos(), 150);

    // Far to the left: the layout holds the column at the cells' minimum.
    s.Press(149, 10);
    s.Release(29, 10);
    s.Paint();
    EXPECT_EQ(s.Column(1)->GetUserSize(), -30);
    EXPECT_EQ(s.Column(1)->GetSize(), 20);
}

TEST(GridViewSizing, OnlyBordersBetweenHeadersStartASizing)
{
    TGridViewScene s(6, 20, 1, 1);
    TUserSize sized;
    Record(s.view, sized);
    s.Paint();
    s.Press(90, 10);
    EXPECT_EQ(s.view.GetMouseMode(), TMMode::mmNone) << "the middle of a header";
    s.Release(90, 10);
    s.Press(179, 70);
    EXPECT_EQ(s.view.GetMouseMode(), TMMode::mmNone) << "a border between body cells";
    s.Release(179, 70);
    EXPECT_EQ(sized.calls, 0);

    // The border between row headers 1 and 2 (y = 40) sizes row 1.
    s.Press(30, 39);
    EXPECT_EQ(s.view.GetMouseMode(), TMMode::mmResizeRows);
    s.Drag(30, 59);
    EXPECT_EQ(s.view.GetTrackingLine(), Rect(0, 59, 300, 59));
    s.Release(30, 59);
    EXPECT_FALSE(sized.horz);
    EXPECT_EQ(sized.item, s.Row(1));
    EXPECT_TRUE(s.Row(1)->GetUserSizeActive());
    EXPECT_EQ(s.Row(1)->GetUserSize(), 40);
}

TEST(GridViewSizing, TheCursorShowsTheZone)
{
    TGridViewScene s(6, 20, 1, 1);
    s.Paint();
    s.Hover(121, 10);
    EXPECT_EQ(s.view.GetCursor(), crHSplit);
    s.Hover(30, 41);
    EXPECT_EQ(s.view.GetCursor(), crVSplit);
    s.Hover(150, 70);
    EXPECT_EQ(s.view.GetCursor(), crDefault);
    s.view.SetCursorGrid(crCross);
    EXPECT_EQ(s.view.GetCursor(), crCross);
    s.Hover(121, 10);
    s.Hover(150, 70);
    EXPECT_EQ(s.view.GetCursor(), crCross) << "the grid cursor comes back off the zone";
}

TEST(GridViewSizing, TheTrackingLineInvertsTheScreenAndIsErased)
{
    TGridViewScene s(6, 20, 1, 1);
    s.Paint();
    const QImage before = s.Paint();
    s.Press(119, 10);
    s.Drag(150, 10);
    const QImage during = s.view.GrabImage();
    int inverted = 0, other = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 140; x < 160; ++x) {
            if (PixelAt(during, x, y) == PixelAt(before, x, y)) continue;
            if ((x == 149 || x == 150) && PixelAt(during, x, y) == (~PixelAt(before, x, y) & 0xFFFFFF))
                ++inverted;
            else
                ++other;
        }
    EXPECT_GT(inverted, 50);
    EXPECT_EQ(other, 0);
    s.Drag(170, 10);
    const QImage moved = s.view.GrabImage();
    EXPECT_EQ(CountPixels(moved, PixelAt(before, 150, 100), 150, 100, 151, 101), 1) << "the old line is erased";
    s.Release(170, 10);
}

TEST(GridViewSizing, AHeaderInsideASubGridSizesTheSubGridsColumn)
{
    TGridViewScene s(6, 20, 1, 1);
    s.Root().OnCreateCell = [](TBabGridCell* g, TAxisContentItem* c, TAxisContentItem* r) {
        return g->GetRoot() == g && c->ListIndex() == 2 && r->ListIndex() == 0 ? TBabCellType::babCellTypeGrid
                                                                               : TBabCellType::babCellTypeSimple;
    };
    s.OnSubGrid = [](TBabGridCell* g) {
        for (int c = 0; c < 2; ++c) {
            TAxisContentItem* item = g->Columns().AddNew(nullptr);
            item->SetUserSizeActive(true);
            item->SetUserSize(30);
        }
        g->Rows().AddNew(nullptr);
    };
    TUserSize sized;
    Record(s.view, sized);
    s.Paint();
    auto* sub = static_cast<TBabGridCell*>(s.Root().getCell(2, 0));
    ASSERT_TRUE(sub->IsGridCell());
    // The sub-grid's two columns meet at x = 150 inside the root's header (2, 0).
    s.Press(149, 10);
    ASSERT_EQ(s.view.GetMouseMode(), TMMode::mmResizeCols);
    s.Release(159, 10);
    EXPECT_EQ(sized.cell, sub->getCell(0, 0));
    EXPECT_EQ(sub->Columns().getAxisContentItem(0)->GetUserSize(), 40);
    EXPECT_EQ(s.Column(2)->GetUserSize(), 60) << "the root's column keeps its size";
}

TEST(GridViewSizing, TreeButtonsAndLinesArePaintedAfterTheCells)
{
    TGridViewScene s(3, 6, 1, 1);
    s.view.OnCellHasButton = [](TBabGridView_Custom*, TBabCell* c) { return c->ColumnIndex() == 1; };
    s.view.OnIsButtonExpanded = [](TBabGridView_Custom*, TBabCell* c) { return c->RowIndex() == 1; };
    s.view.OnIsButtonTerminal = [](TBabGridView_Custom*, TBabCell* c) { return c->RowIndex() == 3; };
    const QImage img = s.Paint();
    ASSERT_EQ(s.view.RenderedButtonCells().size(), 5u) << "every non-fixed cell of column 1";
    // Row 2's cell (60, 40): a collapsed box from (62, 44) to (71, 53) with a plus.
    const int L = 60, T = 40;
    ExpectPixels(img, {{L + 2, T + 4, 0x808080u}, {L + 3, T + 5, clWhite}, {L + 5, T + 8, clBlack}});
    EXPECT_EQ(PixelAt(img, L + 6, T + 7), clBlack) << "the vertical stroke of the plus";
    // Row 1 is expanded: a minus only.
    EXPECT_EQ(PixelAt(img, L + 6, 20 + 7), clWhite);
    // Row 3 is terminal: no box, but a tree line to its middle.
    EXPECT_NE(PixelAt(img, L + 2, 60 + 4), 0x808080u);
    EXPECT_EQ(PixelAt(img, L + 8, 60 + 8), 0xC0C0C0u);
}

TEST(GridViewSizing, MillionVirtualRowsKeepTheLoadedBlockBounded)
{
    TBabGridView view;
    view.SetBounds(0, 0, 400, 300);
    int loads = 0;
    view.OninitSubGridContent = [&](TBabGridView_Custom*, TBabSubGridCellData* data) {
        auto* grid = static_cast<TBabGridCell*>(data->GetCell());
        for (int c = 0; c < 4; ++c) grid->Columns().AddNew(nullptr);
        grid->Rows().AddNew(nullptr);
        grid->SetFixedRows(1);
        grid->Rows().AddUnloaded(1000000);
    };
    view.OnVirtualLoad = [&](TBabGridCell* caller, TAxisContentItem* item, bool row) {
        if (!row) return;
        ++loads;
        view.SetText(caller->getCell(0, item->ListIndex()), std::to_string(item->ListIndex()));
    };
    view.OnVirtualUnLoad = [](TBabGridCell*, TAxisContentItem*, bool, bool, bool& can) { can = true; };
    view.Init();
    view.GrabImage();
    TBabGridCellForViewer& root = view.Root();
    TScrollBar& bar = view.VertScrollBar();
    ASSERT_TRUE(view.GridScrollVisibleVertical());
    EXPECT_EQ(bar.GetMax(), 1000000);
    view.SetScrollbarPosition(bar, 500000);
    view.GrabImage();
    const int top = root.GetTop();
    EXPECT_EQ(top, 500000 - bar.GetPageSize() + 2);
    EXPECT_EQ(view.GetText(root.getCell(0, top)), std::to_string(top));
    for (int page = 0; page < 40; ++page) {
        bar.Scroll(TScrollCode::scPageDown);
        view.GrabImage();
        EXPECT_LE(root.Rows().LoadedCount(), 3 * bar.GetPageSize()) << "page " << page;
    }
    EXPECT_EQ(root.GetTop(), top + 40 * bar.GetPageSize());
    EXPECT_EQ(root.Rows().Count(), 1000001);
    EXPECT_GT(loads, 40 * bar.GetPageSize());
}

}  // namespace
}  // namespace vxplan::test
