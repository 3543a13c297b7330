// The grid view: defaults, the one-time fill, painting through the off-screen panel, the scroll
// bars in visible indexes, the wheel, and what the view forgets when the program frees cells.
#include "vxGridViewScene.h"

#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace vxplan::test {
namespace {

// The usable area of a 300 x 200 view with its single border and both bars shown.
int AreaRight() { return 295 - ScrollBarExtent(); }
int AreaBottom() { return 195 - ScrollBarExtent(); }

void Wheel(TWinControl& theView, int theDelta)
{
    QWheelEvent e(QPointF(50, 50), QPointF(theView.mapToGlobal(QPoint(50, 50))), QPoint(), QPoint(0, theDelta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&theView, &e);
}

// Sorts on a press anywhere in a header and remembers the directions it was asked for.
class TSortingView : public TBabGridView {
public:
    using TBabGridView::TBabGridView;
    bool CheckSortAllow(TBabCell*, int, int) override { return true; }
    void DoSortCell(TBabCell*, bool theDirection) override { sorts.push_back(theDirection); }
    void Scroll(TBabDirection theDirection, TShiftState) override { scrolls.push_back(theDirection); }
    void StartEditing() override { ++editStarts; }
    std::vector<bool> sorts;
    std::vector<TBabDirection> scrolls;
    int editStarts = 0;
};

// Switches whose defaults no other test drives; the colours, border and minimum sizes show in the
// paint and sizing tests.
TEST(GridView, SwitchesDefaultOnAndSelectionModesReachTheRoot)
{
    TBabGridView view;
    EXPECT_TRUE(view.GetFocusRect_Cell());
    EXPECT_TRUE(view.GetFocusRect_Grid());
    EXPECT_TRUE(view.GetStopEditOnFocusChange());
    EXPECT_TRUE(view.GetShowLinesTree());
    EXPECT_TRUE(view.GetMultiSelect());
    EXPECT_FALSE(view.GetRowSelect());
    EXPECT_FALSE(view.GetAutoEditMode());
    EXPECT_EQ(view.SlowStartTimer().GetInterval(), 750);
    view.SetMultiSelect(false);
    view.SetRowSelect(true);
    EXPECT_FALSE(view.Root().GetMultiSelect());
    EXPECT_TRUE(view.Root().GetRowSelect());
}

TEST(GridView, InitFillsTheRootOnceAtTheNextPaint)
{
    TGridViewScene s(3, 4, 1, 1);
    EXPECT_EQ(s.inits, 0) << "nothing before the paint";
    s.view.Invalidate();
    s.view.Invalidate();
    s.Paint();
    s.view.Invalidate();
    s.Paint();
    EXPECT_EQ(s.inits, 1);
    EXPECT_EQ(s.Root().Rows().Count(), 4);
    // Only non-fixed simple cells share the default layout.
    EXPECT_EQ(s.Root().getCell(1, 1)->GetLayoutProp(), &s.view.DefaultLayoutProp());
}

TEST(GridView, HeadersPaintOnButtonFaceAndCellsOnTheWindowColour)
{
    // The fixed rows and columns are set after their cells were made, as the scene does.
    TGridViewScene s(6, 20, 1, 1);
    const QImage img = s.Paint();
    const TColor face = ColorToRGB(clBtnFace);
    const TColor window = ColorToRGB(clWindow);
    EXPECT_EQ(PixelAt(img, 110, 15), face) << "column header";
    EXPECT_EQ(PixelAt(img, 50, 75), face) << "row header";
    EXPECT_EQ(PixelAt(img, 50, 15), face) << "corner";
    EXPECT_EQ(PixelAt(img, 61, 1), ColorToRGB(clBtnHighlight)) << "raised edge of a header";
    EXPECT_EQ(PixelAt(img, 170, 75), window) << "body cell";
    EXPECT_EQ(PixelAt(img, 180, 70), face) << "a body cell's right-edge line";
    // Inside its raised edge a header has no pixel of the window colour.
    EXPECT_EQ(CountPixels(img, window, 62, 2, 118, 18), 0);
    // Text of cell (2, 3) is drawn in its cell.
    EXPECT_GT(CountPixels(img, clBlack, 121, 61, 179, 79), 5);
    EXPECT_EQ(s.Root().getCell(1, 0)->GetLayoutProp(), nullptr) << "a header does not keep the default layout";
}

TEST(GridView, BarsFollowTheLaidOutAreaInVisibleIndexes)
{
    TGridViewScene s(6, 20, 1, 1);
    s.Paint();
    TScrollBar& v = s.view.VertScrollBar();
    TScrollBar& h = s.view.HorzScrollBar();
    ASSERT_TRUE(s.view.GridScrollVisibleVertical());
    ASSERT_TRUE(s.view.GridScrollVisibleHorizontal());
    const int fullRows = AreaBottom() / TGridViewScene::kRowHeight;
    EXPECT_EQ(s.view.GetDrawRect(), Rect(0, 0, AreaRight(), AreaBottom()));
    // The partial last column counts as visible.
    const int columns = (AreaRight() + TGridViewScene::kColumnWidth - 1) / TGridViewScene::kColumnWidth;
    EXPECT_EQ((std::array{v.GetMin(), v.GetMax(), v.GetPageSize()}), (std::array{1, 19, fullRows - 1}));
    EXPECT_EQ((std::array{h.GetMin(), h.GetMax(), h.GetPageSize()}), (std::array{1, 5, columns - 1}));
    // The bars sit along the bottom and the right inside the border, and the bitmap leaves them out.
    EXPECT_EQ(h.GetBoundsRect(), Rect(0, AreaBottom(), AreaRight(), 195));
    EXPECT_EQ((std::array{v.GetLeft(), v.GetHeight()}), (std::array{AreaRight(), AreaBottom()}));
    EXPECT_EQ(s.view.GetRightMargin(), ScrollBarExtent() + 5);

    s.Row(5)->SetHide(true);
    s.Paint();
    EXPECT_EQ(v.GetMax(), 18) << "a hidden row leaves the range";
    // Dragging the thumb to the end lands on the true row of the last page's first visible row.
    v.Widget()->triggerAction(QAbstractSlider::SliderToMaximum);
    const int lastPage = 18 - v.GetPageSize() + 1;
    EXPECT_EQ(v.GetPosition(), lastPage);
    EXPECT_EQ(s.Root().GetTop(), lastPage + 1);
}

TEST(GridView, AllRowsFittingHideTheBarAndResetTop)
{
    TGridViewScene s(3, 5, 1, 1);
    s.Paint();
    s.Row(1)->SetHide(true);
    // Row 2 is the first non-fixed row shown: the visible index is the bar's minimum.
    s.Root().SetTop(2);
    s.Paint();
    EXPECT_FALSE(s.view.GridScrollVisibleVertical());
    EXPECT_FALSE(s.view.GridScrollVisibleHorizontal());
    EXPECT_EQ(s.Root().GetTop(), 1);
    EXPECT_EQ(s.view.GetDrawRect(), Rect(0, 0, 295, 195));
    EXPECT_EQ(s.view.GetBottomMargin(), 0);
}

TEST(GridView, SetScrollbarPositionBringsAVisibleIndexIntoView)
{
    TGridViewScene s(6, 40, 1, 1);
    s.Paint();
    int topLefts = 0;
    s.view.OnTopLeftChanged = [&](TObject*) { ++topLefts; };
    TScrollBar& v = s.view.VertScrollBar();
    const int page = v.GetPageSize();
    ASSERT_EQ(v.GetPosition(), 1);
    s.view.SetScrollbarPosition(v, 1 + page - 1);
    EXPECT_EQ(v.GetPosition(), 2) << "the last row of the page moves the bar by one";
    EXPECT_EQ(s.Root().GetTop(), 2);
    EXPECT_EQ(topLefts, 1);
    s.view.SetScrollbarPosition(v, 3);
    EXPECT_EQ(v.GetPosition(), 2) << "a row already in view";
    s.view.SetScrollbarPosition(v, 0);
    EXPECT_EQ(v.GetPosition(), 1) << "not above the fixed rows";
    s.view.SetScrollbarPosition(v, 1000);
    EXPECT_EQ(s.Root().GetTop(), v.GetMax() - page + 1) << "clamped to the last page";
    EXPECT_EQ(v.GetPosition(), v.GetMax() - page + 1);
}

TEST(GridView, WheelAndPublicScrollMoveOneRow)
{
    TGridViewSceneOf<TSortingView> s(6, 40, 1, 1);
    s.Paint();
    s.Root().SetTop(10);
    s.Paint();
    Wheel(s.view, -120);
    EXPECT_EQ(s.Root().GetTop(), 11);
    Wheel(s.view, 120);
    EXPECT_EQ(s.Root().GetTop(), 10);
    s.view.PublicScroll(TScrollDirection::tsdDown);
    EXPECT_EQ(s.Root().GetTop(), 11);
    s.view.PossibleScroll(TScrollDirection::tsdUp);
    EXPECT_EQ(s.Root().GetTop(), 10);
    s.view.PublicScroll(TScrollDirection::tsdRight);
    EXPECT_EQ(s.Root().GetLeft(), 2);
    EXPECT_TRUE(s.view.scrolls.empty());

    // Without a bar the wheel moves the focus instead.
    TGridViewSceneOf<TSortingView> small(2, 3, 1, 1);
    small.Paint();
    Wheel(small.view, -120);
    Wheel(small.view, 120);
    EXPECT_EQ(small.view.scrolls, (std::vector<TBabDirection>{TBabDirection::babdirDown, TBabDirection::babdirUp}));
    small.view.PublicScroll(TScrollDirection::tsdDown);
    EXPECT_EQ(small.Root().GetTop(), 1);
}

TEST(GridView, FreedSortAndResizeCellsAreForgotten)
{
    TGridViewSceneOf<TSortingView> s(6, 20, 1, 1);
    s.Paint();
    for (int i = 0; i < 2; ++i) s.Click(90, 10);
    EXPECT_EQ(s.view.sorts, (std::vector<bool>{false, true})) << "a second press on the same header toggles";
    EXPECT_EQ(s.view.GetSortCell(), s.Root().getCell(1, 0));
    s.Root().Columns().Drop(1);
    EXPECT_EQ(s.view.GetSortCell(), nullptr);

    int userSizes = 0;
    s.view.OnAfterUserSize = [&](TBabGridView_Custom*, TBabCell*, bool, TAxisContentItem*) { ++userSizes; };
    s.Paint();
    s.Press(119, 10);
    s.Drag(130, 10);
    ASSERT_EQ(s.view.GetMouseMode(), TMMode::mmResizeCols);
    s.Root().Columns().Drop(1);
    EXPECT_EQ(s.view.GetResizeCell(), nullptr);
    EXPECT_EQ(s.view.GetMouseMode(), TMMode::mmNone);
    s.Release(130, 10);
    EXPECT_EQ(userSizes, 0);
    EXPECT_NO_THROW(s.Paint());
}

TEST(GridView, BadInputIsRefusedAndLosesNothing)
{
    TGridViewScene s(3, 6, 1, 1);
    s.Root().OnCreateCell = [](TBabGridCell* g, TAxisContentItem* c, TAxisContentItem* r) {
        return g->GetRoot() == g && c->ListIndex() == 2 && r->ListIndex() == 3 ? TBabCellType::babCellTypeGrid
                                                                               : TBabCellType::babCellTypeSimple;
    };
    s.OnSubGrid = [](TBabGridCell* g) {
        g->Columns().AddNew(nullptr);
        g->Rows().AddUnloaded(3);
    };
    std::string refusal;
    s.view.OnVirtualLoad = [&](TBabGridCell* caller, TAxisContentItem*, bool) {
        if (caller == &s.Root()) return;
        // The sub-grid is being laid out: removing its row must be refused.
        refusal = ErrorText<EInvalidOperation>([&] { s.Root().Rows().Drop(3); });
    };
    s.Paint();
    EXPECT_EQ(refusal, "A cell cannot be removed while it is laid out or drawn");
    EXPECT_EQ(s.Root().Rows().Count(), 6);
    ASSERT_TRUE(s.Root().getCell(2, 3)->IsGridCell());
    EXPECT_EQ(static_cast<TBabGridCell*>(s.Root().getCell(2, 3))->Rows().Count(), 3);

    EXPECT_THROW(s.view.SetText(s.Root().getCell(2, 3), "x"), EInvalidArgument);
    EXPECT_THROW(s.view.SetText(nullptr, "x"), EInvalidArgument);
    EXPECT_THROW(s.view.DoResize(5, nullptr, true), EInvalidArgument);
    EXPECT_THROW(s.view.DoResize(5, &s.Root(), true), EInvalidArgument);
    EXPECT_THROW(s.view.SetCursorGrid(12345), EInvalidArgument);
    EXPECT_EQ(s.view.GetCursorGrid(), crDefault);
    EXPECT_EQ(s.view.GetText(s.Root().getCell(1, 1)), "1,1");
    EXPECT_EQ(s.view.GetText(nullptr), "");
}

TEST(GridView, EngineAndMouseEventsReachTheControl)
{
    TGridViewSceneOf<TSortingView> s(4, 8, 1, 1);
    std::vector<std::string> log;
    s.view.OnAxisChanged = [&](TObject*) { log.push_back("axis"); };
    s.view.OnCellSelectionChanged = [&](TBabGridView_Custom*, TBabCell* c) {
        log.push_back("cell " + s.view.GetText(c));
    };
    s.view.OnSelectionChanged = [&](TObject*) { log.push_back("selection"); };
    s.view.OnGridResize = [&](TObject*) { log.push_back("resize"); };
    s.view.OnRightClick = [&](TBabGridView_Custom*, TBabCell* c) { log.push_back("right " + s.view.GetText(c)); };
    s.view.OnButtonClick = [&](TBabGridView_Custom*, TBabCell* c) { log.push_back("button " + s.view.GetText(c)); };
    s.view.OnCellHasButton = [](TBabGridView_Custom*, TBabCell* c) { return c->ColumnIndex() == 2; };
    s.Paint();
    log.clear();
    s.Row(7)->SetHide(true);
    s.Root().getCell(1, 2)->SetSelected(true);
    s.view.SetBounds(0, 0, 320, 200);
    s.Press(150, 50, Qt::RightButton);
    SendMouse(&s.view, QEvent::MouseButtonRelease, 150, 50, Qt::RightButton, Qt::NoButton);
    s.Root().SetFocusedCell(s.Root().getCell(2, 3));
    s.Paint();
    // The button section is the first 15 pixels of the focused cell (120, 60).
    s.Click(125, 70);
    s.Click(150, 70);
    // The right click selects its cell alone, the first left click moves the selection and hits
    // the button, the second (on the selected cell) selects it alone again at the release.
    EXPECT_EQ(log, (std::vector<std::string>{"axis", "cell 1,2", "selection", "resize", "right 2,2", "cell 1,2",
                                             "selection", "cell 2,2", "selection", "cell 2,2", "selection",
                                             "cell 2,3", "selection", "button 2,3", "cell 2,3", "selection",
                                             "cell 2,3", "selection"}));

    s.view.Perform(WM_COPY, 0, 0);
    EXPECT_EQ(Clipboard().AsText(), "2,3");

    // A press that rests starts editing when the slow-start timer fires; one that moved does not.
    s.view.SetAutoEditMode(true);
    s.Click(150, 70);
    ASSERT_TRUE(s.view.SlowStartTimer().GetEnabled());
    s.view.SlowStartTimer().GetOnTimer()(&s.view.SlowStartTimer());
    EXPECT_EQ(s.view.editStarts, 1);
    EXPECT_FALSE(s.view.SlowStartTimer().GetEnabled());
    s.Press(150, 70);
    s.Hover(160, 70);
    s.view.SlowStartTimer().GetOnTimer()(&s.view.SlowStartTimer());
    EXPECT_EQ(s.view.editStarts, 1);
}

TEST(GridView, WrappingCellsMakeTheirRowTallEnoughForTheText)
{
    TGridViewScene s(3, 4, 1, 1);
    TLayoutProp wrap = s.view.DefaultLayoutProp();
    wrap.WrapTextAndFit = true;
    s.Paint();
    const int lineHeight = s.view.GetOffscreenCanvas().TextHeight("Xy");
    TBabCell* cell = s.Root().getCell(1, 2);
    cell->SetLayoutProp(&wrap);
    s.view.SetText(cell, "one two three four five six");
    s.Paint();
    // Three or more lines in a 58-pixel text section, plus 3 pixels.
    EXPECT_GE(s.Row(2)->GetSize(), 3 * lineHeight + 3);
    EXPECT_EQ(s.Row(1)->GetSize(), TGridViewScene::kRowHeight);
    s.view.SetText(cell, "one");
    s.Paint();
    EXPECT_EQ(s.Row(2)->GetSize(), 20) << "never below the default minimum";
}

}  // namespace
}  // namespace vxplan::test
