// Focus and selection in the grid view: keyboard walks over hidden, fixed, grouped, nested and
// virtual items checked against the expected focus sequence, the selection rule of clicks and
// moves, and the type-ahead search.
#include "vxGridViewScene.h"

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/platform/controls/vxKeys.h>
#include <vxplan/platform/time/vxClock.h>

#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vxplan::test {
namespace {

using TPos = std::pair<int, int>;

void Key(QWidget& theWidget, int theKey, Qt::KeyboardModifiers theMods = Qt::NoModifier, const QString& theText = {})
{
    QKeyEvent press(QEvent::KeyPress, theKey, theMods, theText);
    QCoreApplication::sendEvent(&theWidget, &press);
    QKeyEvent release(QEvent::KeyRelease, theKey, theMods, theText);
    QCoreApplication::sendEvent(&theWidget, &release);
}

void Type(QWidget& theWidget, char theChar)
{
    const int code = theChar >= 'a' && theChar <= 'z' ? Qt::Key_A + (theChar - 'a') : Qt::Key_unknown;
    Key(theWidget, code, Qt::NoModifier, QString(QChar(theChar)));
}

TPos FocusOf(TBabGridCell& theRoot)
{
    TBabCell* cell = theRoot.GetFocusedCellDownTrack();
    return cell ? TPos{cell->ColumnIndex(), cell->RowIndex()} : TPos{-1, -1};
}

std::vector<TPos> SelectedCells(TBabGridCell& theGrid)
{
    std::vector<TPos> cells;
    for (int c = 0; c < theGrid.Columns().Count(); ++c)
        for (int r = 0; r < theGrid.Rows().Count(); ++r)
            if (TBabCell* cell = theGrid.getCell(c, r); cell && cell->GetSelected()) cells.emplace_back(c, r);
    return cells;
}

// The pixel centre of a root cell after a paint.
TPoint CentreOf(TGridViewScene& theScene, int c, int r)
{
    const TRect rect = theScene.Root().getCell(c, r)->getVisibleRect();
    return Point((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
}

// 6 columns of 60 and 30 rows of 20 with a header row and column in a 300 x 200 view; column 3
// and row 4 hidden.
struct TWalkScene : TGridViewScene {
    TWalkScene() : TGridViewScene(6, 30, 1, 1)
    {
        Paint();
        Column(3)->SetHide(true);
        Row(4)->SetHide(true);
        Paint();
    }
};

TEST(GridKeys, WalkOverHiddenAndFixedItemsFollowsTheReferenceSequence)
{
    TWalkScene s;
    const int page = s.Root().GetVisibleRowCount() - 1;
    ASSERT_GE(page, 5) << "the walk needs a few rows a page";
    struct TStep {
        int key;
        Qt::KeyboardModifiers mods;
        TPos expected;
    };
    const std::vector<TStep> steps = {
        {Qt::Key_Down, Qt::NoModifier, {1, 2}},  // no focus yet: the first cell in view, then down
        {Qt::Key_Down, Qt::NoModifier, {1, 3}},
        {Qt::Key_Down, Qt::NoModifier, {1, 5}},  // row 4 is hidden
        {Qt::Key_Up, Qt::NoModifier, {1, 3}},
        {Qt::Key_Left, Qt::NoModifier, {1, 3}},  // column 0 is fixed
        {Qt::Key_Right, Qt::NoModifier, {2, 3}},
        {Qt::Key_Right, Qt::NoModifier, {4, 3}},  // column 3 is hidden
        {Qt::Key_Right, Qt::NoModifier, {5, 3}},
        {Qt::Key_Right, Qt::NoModifier, {5, 3}},  // the last column
        {Qt::Key_Home, Qt::NoModifier, {1, 3}},
        {Qt::Key_End, Qt::NoModifier, {5, 3}},
        {Qt::Key_Home, Qt::ControlModifier, {5, 1}},
        {Qt::Key_Up, Qt::NoModifier, {5, 1}},  // row 0 is the header
        {Qt::Key_PageDown, Qt::NoModifier, {5, 1 + page}},
        {Qt::Key_End, Qt::ControlModifier, {5, 29}},
        {Qt::Key_Down, Qt::NoModifier, {5, 29}},
        {Qt::Key_PageUp, Qt::NoModifier, {5, 29 - page}},
        {Qt::Key_PageUp, Qt::NoModifier, {5, 29 - 2 * page}},
        {Qt::Key_PageUp, Qt::NoModifier, {5, 29 - 3 * page}},
        {Qt::Key_PageUp, Qt::NoModifier, {5, 1}},
    };
    std::vector<TPos> walked, expected;
    for (const TStep& step : steps) {
        Key(s.view, step.key, step.mods);
        walked.push_back(FocusOf(s.Root()));
        expected.push_back(step.expected);
    }
    EXPECT_EQ(walked, expected);
}

TEST(GridKeys, PageDownWithTenWholeRowsAndOneHeaderMovesNineRows)
{
    // 4 columns fit, so only the vertical bar shows: 210 pixels hold ten rows and part of one.
    TGridViewScene s(4, 40, 1, 1, 300, 215);
    s.Paint();
    ASSERT_EQ(s.Root().GetVisibleRowCount(), 10);
    s.Root().SetFocusedCell(s.Root().getCell(1, 1));
    Key(s.view, Qt::Key_PageDown);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{1, 10}));
    Key(s.view, Qt::Key_PageDown);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{1, 19}));
    const int top = s.Root().GetTop();
    EXPECT_TRUE(top > 1 && top <= 19 && 19 < top + 9) << "the bar brings the target row into view, top " << top;
}

TEST(GridKeys, MovesIntoTheEdgeOverHiddenItemsComeBackToTheNearestVisibleOne)
{
    TWalkScene s;
    for (int r = 26; r < 30; ++r) s.Row(r)->SetHide(true);
    s.Column(5)->SetHide(true);
    s.Paint();
    s.Root().SetFocusedCell(s.Root().getCell(4, 20));
    Key(s.view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{4, 25}));
    Key(s.view, Qt::Key_End);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{4, 25})) << "every column right of 4 is hidden: the focus stays";
    Key(s.view, Qt::Key_Right);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{4, 25}));
}

TEST(GridKeys, GroupMembersAreSteppedOverToTheirMaster)
{
    TWalkScene s;
    s.Root().getCell(1, 6)->SetGroupFlags(true, false);
    s.Root().getCell(1, 7)->SetGroupFlags(true, false);
    s.Root().getCell(1, 8)->SetGroupFlags(true, true);
    s.Root().SetFocusedCell(s.Root().getCell(1, 5));
    Key(s.view, Qt::Key_Down);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{1, 8}));
    Key(s.view, Qt::Key_Up);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{1, 5}));
}

// Cell (1, 2) of a 4 x 6 root holds a 2 x 3 sub-grid.
struct TNestedScene : TGridViewScene {
    TNestedScene() : TGridViewScene(4, 6, 1, 1)
    {
        view.SetOnCreateCell([](TBabGridCell* caller, TAxisContentItem* column, TAxisContentItem* row) {
            const bool sub = caller->getGridCell() == nullptr && column->ListIndex() == 1 && row->ListIndex() == 2;
            return sub ? TBabCellType::babCellTypeGrid : TBabCellType::babCellTypeSimple;
        });
        OnSubGrid = [](TBabGridCell* grid) {
            for (int c = 0; c < 2; ++c) grid->Columns().AddNew(nullptr);
            for (int r = 0; r < 3; ++r) grid->Rows().AddNew(nullptr);
        };
        Paint();
        sub = static_cast<TBabGridCell*>(Root().getCell(1, 2));
    }
    TBabGridCell* sub = nullptr;
};

TEST(GridKeys, EnterGoesIntoASubGridAndMovesLeaveItAtItsEdges)
{
    TNestedScene s;
    ASSERT_TRUE(s.sub->IsGridCell());
    s.Root().SetFocusedCell(s.Root().getCell(1, 1));
    Key(s.view, Qt::Key_Down);
    EXPECT_EQ(s.Root().GetFocusedCell(), s.sub) << "without a focused cell inside, the sub-grid is one cell";
    EXPECT_EQ(s.sub->GetFocusedCell(), nullptr);
    Key(s.view, Qt::Key_Return);
    EXPECT_EQ(s.sub->GetFocusedCell(), s.sub->getCell(0, 0));
    Key(s.view, Qt::Key_Down);
    Key(s.view, Qt::Key_Down);
    EXPECT_EQ(s.sub->GetFocusedCell(), s.sub->getCell(0, 2));
    Key(s.view, Qt::Key_Down);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{1, 3})) << "down from the sub-grid's last row: the cell below it";
    EXPECT_EQ(s.sub->GetFocusedCell(), nullptr);
    s.Root().SetFocusedCell(s.sub->getCell(1, 1));
    Key(s.view, Qt::Key_Right);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{2, 2})) << "right from the sub-grid's last column";
}

TEST(GridKeys, AFocusChangeIsHeardOncePerLevelAndSelectionEventsFollowTheirChange)
{
    TNestedScene s;
    std::vector<std::string> log;
    s.view.OnTopLeftChanged = [&](TObject*) { log.push_back("focus"); };
    s.view.OnCellSelectionChanged = [&](TBabGridView_Custom*, TBabCell* c) {
        log.push_back("cell " + std::to_string(c->ColumnIndex()) + "," + std::to_string(c->RowIndex()) +
                      (c->GetSelected() ? " on" : " off"));
    };
    s.Root().OnInternalSelectionChanged = [&](TBabGridCellForViewer*, TBabCell* c, bool v) {
        log.push_back(std::string("before ") + (c->GetSelected() == v ? "same" : "change"));
    };
    s.Root().SetFocusedCell(s.sub->getCell(1, 1));
    EXPECT_EQ(log, (std::vector<std::string>{"focus", "focus"})) << "the sub-grid's change, then the root's";
    log.clear();
    Key(s.view, Qt::Key_Left);
    EXPECT_EQ(log, (std::vector<std::string>{"focus", "before change", "cell 0,1 on"}));
}

TEST(GridKeys, VirtualRowsAreLoadedOnTheWayAndFarMovesLoseNothing)
{
    TBabGridView view;
    view.SetBounds(0, 0, 300, 200);
    int loads = 0;
    view.OnVirtualLoad = [&](TBabGridCell*, TAxisContentItem*, bool row) { loads += row ? 1 : 0; };
    view.OnVirtualUnLoad = [](TBabGridCell*, TAxisContentItem*, bool, bool, bool& can) { can = true; };
    view.OninitSubGridContent = [](TBabGridView_Custom*, TBabSubGridCellData* data) {
        auto* grid = static_cast<TBabGridCell*>(data->GetCell());
        for (int c = 0; c < 3; ++c) grid->Columns().AddNew(nullptr);
        grid->Rows().AddNew(nullptr);
        grid->SetFixedRows(1);
        grid->Rows().AddUnloaded(100000);
    };
    view.Init();
    view.GrabImage();
    view.Root().SetFocusedCell(view.Root().getCell(0, 1));
    const int before = loads;
    Key(view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(FocusOf(view.Root()), (TPos{0, 100000}));
    EXPECT_GT(loads, before);
    EXPECT_LT(view.Root().Rows().LoadedCount(), 5000) << "the rows between were not all loaded";
    Key(view, Qt::Key_Up);
    EXPECT_EQ(FocusOf(view.Root()), (TPos{0, 99999}));
    Key(view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(FocusOf(view.Root()), (TPos{0, 1}));
    EXPECT_EQ(SelectedCells(view.Root()), (std::vector<TPos>{{0, 1}}));
}

TEST(GridSelection, ClickShiftClickCtrlClickAndFixedCells)
{
    TWalkScene s;
    auto click = [&](int c, int r, Qt::KeyboardModifiers mods) {
        const TPoint p = CentreOf(s, c, r);
        SendMouse(&s.view, QEvent::MouseButtonPress, p.X, p.Y, Qt::LeftButton, Qt::LeftButton, mods);
        SendMouse(&s.view, QEvent::MouseButtonRelease, p.X, p.Y, Qt::LeftButton, Qt::NoButton, mods);
    };
    click(1, 1, Qt::NoModifier);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{1, 1}));
    click(2, 3, Qt::ShiftModifier);
    EXPECT_EQ(SelectedCells(s.Root()), (std::vector<TPos>{{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {2, 3}}));
    click(2, 2, Qt::ControlModifier);
    EXPECT_EQ(SelectedCells(s.Root()), (std::vector<TPos>{{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 3}}));
    click(0, 2, Qt::NoModifier);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{2, 2})) << "a header cell takes neither focus nor selection";
    EXPECT_EQ(SelectedCells(s.Root()).size(), 5u);
    click(1, 1, Qt::NoModifier);
    EXPECT_EQ(SelectedCells(s.Root()), (std::vector<TPos>{{1, 1}})) << "a press on a selected cell selects at release";

    s.view.SetMultiSelect(false);
    click(2, 3, Qt::ShiftModifier);
    EXPECT_EQ(SelectedCells(s.Root()), (std::vector<TPos>{{2, 3}}));
    click(1, 2, Qt::ControlModifier);
    EXPECT_EQ(SelectedCells(s.Root()), (std::vector<TPos>{{1, 2}}));
}

TEST(GridSelection, ShiftMovesExtendFromTheAnchorAndRowSelectTakesWholeRows)
{
    TWalkScene s;
    s.Root().SetFocusedCell(s.Root().getCell(1, 1));
    s.Root().UpdateMultiSelect(s.Root().getCell(1, 1), TShiftState{});
    Key(s.view, Qt::Key_Down, Qt::ShiftModifier);
    Key(s.view, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(SelectedCells(s.Root()), (std::vector<TPos>{{1, 1}, {1, 2}, {2, 1}, {2, 2}}));
    Key(s.view, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(SelectedCells(s.Root()), (std::vector<TPos>{{1, 1}, {1, 2}, {2, 1}, {2, 2}, {2, 3}}));
    Key(s.view, Qt::Key_Down);
    EXPECT_EQ(SelectedCells(s.Root()), (std::vector<TPos>{{2, 5}})) << "hidden row 4 is stepped over";

    s.view.SetRowSelect(true);
    Key(s.view, Qt::Key_Up);
    EXPECT_EQ(SelectedCells(s.Root()), (std::vector<TPos>{{1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}}));
}

TEST(GridSelection, ADragOfTheSelectionThatEndsWhereItBeganSelectsAsAClick)
{
    TWalkScene s;
    s.view.SetDragMode(TDragMode::dmAutomatic);
    s.view.OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = true; };
    s.view.show();
    QApplication::processEvents();
    auto press = [&](TPoint p) { WindowMouse(&s.view, QEvent::MouseButtonPress, p.X, p.Y, Qt::LeftButton, Qt::LeftButton); };
    auto move = [&](TPoint p) { WindowMouse(&s.view, QEvent::MouseMove, p.X, p.Y, Qt::NoButton, Qt::LeftButton); };
    auto release = [&](TPoint p) { WindowMouse(&s.view, QEvent::MouseButtonRelease, p.X, p.Y, Qt::LeftButton, Qt::NoButton); };
    auto selectBlock = [&] {
        s.Root().UpdateMultiSelect(s.Root().getCell(1, 1), TShiftState{});
        s.Root().UpdateMultiSelect(s.Root().getCell(2, 2), TShiftState{ssShift});
        ASSERT_EQ(SelectedCells(s.Root()).size(), 4u);
    };
    const TPoint c11 = CentreOf(s, 1, 1);

    selectBlock();
    press(c11);
    move(Point(c11.X + 20, c11.Y));
    EXPECT_TRUE(s.view.Dragging());
    release(Point(c11.X + 20, c11.Y));
    EXPECT_FALSE(s.view.Dragging());
    EXPECT_EQ(SelectedCells(s.Root()), (std::vector<TPos>{{1, 1}}));

    selectBlock();
    press(c11);
    move(CentreOf(s, 2, 2));
    release(CentreOf(s, 2, 2));
    EXPECT_EQ(SelectedCells(s.Root()).size(), 4u) << "dropped elsewhere: the selection was dragged, not changed";

    const TPoint header = CentreOf(s, 2, 0);
    press(header);
    move(Point(header.X + 30, header.Y));
    EXPECT_FALSE(s.view.Dragging()) << "no drag starts over a fixed cell";
    release(Point(header.X + 30, header.Y));
}

TEST(GridSelection, AHandlerThatClearsTheGridDuringASelectionLeavesNoDanglingFocus)
{
    TWalkScene s;
    s.Root().SetFocusedCell(s.Root().getCell(1, 1));
    bool cleared = false;
    s.view.OnCellSelectionChanged = [&](TBabGridView_Custom*, TBabCell*) {
        if (cleared) return;
        cleared = true;
        s.Root().Rows().ClearKeepFixedItems();
    };
    Key(s.view, Qt::Key_Down);
    EXPECT_TRUE(cleared);
    EXPECT_EQ(s.Root().GetFocusedCell(), nullptr);
    EXPECT_TRUE(SelectedCells(s.Root()).empty());
    Key(s.view, Qt::Key_Down);
    EXPECT_EQ(s.Root().GetFocusedCell(), nullptr) << "no rows left to move to";
}

TEST(GridSelection, ACellThatBecomesFixedLosesTheFocusAndTheAnchor)
{
    TWalkScene s;
    int focusEvents = 0;
    s.view.OnTopLeftChanged = [&](TObject*) { ++focusEvents; };
    s.Root().SetFocusedCell(s.Root().getCell(2, 2));
    s.Root().UpdateMultiSelect(s.Root().getCell(2, 2), TShiftState{});
    s.Root().SetFixedRows(3);
    EXPECT_EQ(s.Root().GetFocusedCell(), nullptr);
    EXPECT_EQ(s.Root().GetSelectionAnchor(), nullptr);
    EXPECT_GE(focusEvents, 2) << "the view heard of both focus changes";

    s.Root().SetFocusedCell(s.Root().getCell(2, 5));
    s.Root().Rows().Move(5, 1);
    EXPECT_EQ(s.Root().GetFocusedCell(), nullptr) << "its row moved among the header rows";
    Key(s.view, Qt::Key_Down);
    EXPECT_EQ(FocusOf(s.Root()), (TPos{1, 4})) << "a key starts again from the first cell in view";
}

struct TTypeAheadScene : TGridViewScene {
    TTypeAheadScene() : TGridViewScene(3, 8, 1, 1)
    {
        Paint();
        const char* names[] = {"NAME", "apple", "Beta", "bench", "cherry", "BEAN", "Äpple", "best"};
        for (int r = 0; r < 8; ++r) view.SetText(Root().getCell(1, r), names[r]);
        // Typing feeds the search only where a cell cannot be edited.
        view.OnEditorCanModify = [](TBabGridView_Custom*, TBabCell*) { return false; };
    }
    TTestClockScope clock;
};

TEST(GridTypeAhead, LettersWithinASecondSearchDownwardsAndWrap)
{
    TTypeAheadScene s;
    s.Root().SetFocusedCell(s.Root().getCell(1, 4));
    Type(s.view, 'b');
    s.clock.Clock().Advance(300);
    Type(s.view, 'e');
    TDoLater::DoAllNow();
    EXPECT_EQ(FocusOf(s.Root()), (TPos{1, 5})) << "\"BE\" from row 4 down: BEAN";
    EXPECT_EQ(SelectedCells(s.Root()), (std::vector<TPos>{{1, 5}}));
    s.clock.Clock().Advance(300);
    Type(s.view, 'n');
    TDoLater::DoAllNow();
    EXPECT_EQ(FocusOf(s.Root()), (TPos{1, 3})) << "\"BEN\" wraps to the top: bench";

    s.clock.Clock().Advance(1500);
    Type(s.view, 'n');
    TDoLater::DoAllNow();
    EXPECT_EQ(FocusOf(s.Root()), (TPos{1, 3})) << "after a pause \"N\" alone: the header NAME is no answer";
}

TEST(GridTypeAhead, HiddenRowsAndAnEmptyGridAreNoAnswers)
{
    TTypeAheadScene s;
    s.Root().SetFocusedCell(s.Root().getCell(1, 1));
    s.Row(2)->SetHide(true);
    Type(s.view, 'b');
    TDoLater::DoAllNow();
    EXPECT_EQ(FocusOf(s.Root()), (TPos{1, 3}));

    TGridViewScene empty(3, 1, 1, 1);
    empty.Paint();
    empty.view.OnEditorCanModify = [](TBabGridView_Custom*, TBabCell*) { return false; };
    empty.view.SetText(empty.Root().getCell(1, 0), "b");
    Type(empty.view, 'b');
    TDoLater::DoAllNow();
    EXPECT_EQ(empty.Root().GetFocusedCell(), nullptr);
}

}  // namespace
}  // namespace vxplan::test
