// In-place editing in the grid view, driven with keys and the mouse on the headless backend:
// how an edit starts, which editor shows where, the round trip of texts, check-box states and
// dates, commit and cancel, the hooks and events in order, and handlers that delete the edited
// row or raise while the edit ends.
#include "vxGridViewScene.h"

#include <vxplan/cellgrid/vxBabInplaceEditors.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxDateFormat.h>
#include <vxplan/platform/time/vxFormatSettings.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vxplan::test {
namespace {

// Keys go where the focus is, as a user's would.
void Key(int theKey, const QString& theText = {}, Qt::KeyboardModifiers theMods = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr) << "nothing has the focus";
    QKeyEvent press(QEvent::KeyPress, theKey, theMods, theText);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, theKey, theMods, theText);
    QCoreApplication::sendEvent(target, &release);
}

void TypeText(const std::string& theText)
{
    for (char c : theText) {
        const int code = c >= 'a' && c <= 'z' ? Qt::Key_A + (c - 'a') : c == ' ' ? Qt::Key_Space : Qt::Key_unknown;
        Key(code, QString(QChar(c)));
    }
}

void Escape() { Key(Qt::Key_Escape, "\x1b"); }
void Enter() { Key(Qt::Key_Return, "\r"); }
void Tab() { Key(Qt::Key_Tab, "\t"); }

// A shown 4 x 6 grid with a header row and column, the focus on the view and cell (1, 1) focused.
struct TEditScene : TGridViewScene {
    TEditScene() : TGridViewScene(4, 6, 1, 1)
    {
        view.show();
        view.activateWindow();
        QApplication::processEvents();
        Paint();
        view.SetFocus();
        Root().SetFocusedCell(Cell(1, 1));
        QApplication::processEvents();
        view.OnEditStop = [this](TBabGridView_Custom*, TComponent*, TBabSimpleCellStringData* data, std::string& t) {
            log.push_back("stop " + std::to_string(data->GetCell()->RowIndex()) + " " + t);
            if (onStop) onStop(t);
        };
    }
    TBabCell* Cell(int c, int r) { return Root().getCell(c, r); }
    std::string Text(int c, int r) { return view.GetText(Cell(c, r)); }

    std::vector<std::string> log;
    std::function<void(std::string&)> onStop;
};

TEST(GridEdit, F2OpensTheEditOverTheCellEnterCommitsEscapeCancels)
{
    TEditScene s;
    Key(Qt::Key_F2);
    ASSERT_TRUE(s.view.GetEditing());
    TBabInplaceEditor& edit = s.view.InplaceEdit();
    EXPECT_TRUE(edit.GetVisible());
    EXPECT_TRUE(edit.Focused());
    const TRect cell = s.Cell(1, 1)->getVisibleRect();
    EXPECT_EQ(edit.GetBoundsRect(), Rect(cell.Left, cell.Top, cell.Right, cell.Bottom + 1));
    EXPECT_EQ(edit.GetText(), "1,1");
    TypeText("new");
    EXPECT_EQ(edit.GetText(), "new") << "the first key replaces the text";
    s.onStop = [](std::string& t) { t += "!"; };
    Enter();
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_FALSE(edit.GetVisible());
    EXPECT_TRUE(s.view.Focused());
    EXPECT_EQ(s.Text(1, 1), "new!") << "OnEditStop may change what is stored";

    Key(Qt::Key_F2);
    TypeText("gone");
    Escape();
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_EQ(s.Text(1, 1), "new!");
    EXPECT_EQ(s.log, (std::vector<std::string>{"stop 1 new"}));
}

TEST(GridEdit, TypingStartsAnEditTabCommitsAndUpDownCommitAndMove)
{
    TEditScene s;
    TypeText("x");
    ASSERT_TRUE(s.view.GetEditing());
    EXPECT_EQ(s.view.InplaceEdit().GetText(), "x") << "the character typed into the grid goes on to the editor";
    Tab();
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_EQ(s.Text(1, 1), "x");
    EXPECT_TRUE(s.view.Focused()) << "Tab stays in the grid";

    Key(Qt::Key_F2);
    TypeText("y");
    Key(Qt::Key_Down);
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_EQ(s.Text(1, 1), "y");
    EXPECT_EQ(s.Root().GetFocusedCell(), s.Cell(1, 2)) << "the arrow then moves the grid's focus";
}

TEST(GridEdit, DoubleClickEditsButNotOnTheButtonOrAHeader)
{
    TEditScene s;
    s.view.OnCellHasButton = [](TBabGridView_Custom*, TBabCell* c) { return c->ColumnIndex() == 2; };
    s.Paint();
    auto doubleClick = [&](int x, int y) {
        SendMouse(&s.view, QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
        SendMouse(&s.view, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
        SendMouse(&s.view, QEvent::MouseButtonDblClick, x, y, Qt::LeftButton, Qt::LeftButton);
        SendMouse(&s.view, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
    };
    const TRect c11 = s.Cell(1, 1)->getVisibleRect();
    doubleClick(c11.Left + 30, c11.Top + 10);
    EXPECT_TRUE(s.view.GetEditing());
    Escape();
    const TRect header = s.Cell(1, 0)->getVisibleRect();
    doubleClick(header.Left + 30, header.Top + 10);
    EXPECT_FALSE(s.view.GetEditing());
    const TRect c22 = s.Cell(2, 2)->getVisibleRect();
    doubleClick(c22.Left + 5, c22.Top + 10);
    EXPECT_FALSE(s.view.GetEditing()) << "a double click on the button is two button clicks";
    doubleClick(c22.Left + 40, c22.Top + 10);
    ASSERT_TRUE(s.view.GetEditing());
    EXPECT_EQ(s.view.InplaceEdit().GetLeft(), c22.Left + 16) << "the editor leaves the button section free";
}

TEST(GridEdit, MemoBreaksLinesOnEnterAndEndsOnTab)
{
    TEditScene s;
    s.view.OnChooseEditor = [](TBabGridView_Custom*, TBabSimpleCellStringData*, TBabEditorType& type) {
        type = TBabEditorType::babETMemo;
    };
    Key(Qt::Key_F2);
    ASSERT_EQ(s.view.GetActiveEditor(), &s.view.InplaceMemo());
    TypeText("a");
    Enter();
    TypeText("b");
    EXPECT_TRUE(s.view.GetEditing());
    Tab();
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_EQ(s.Text(1, 1), "1,1a\nb");
}

TEST(GridEdit, ComboTakesTheHostsItemsAndCommitsItsText)
{
    TEditScene s;
    s.view.OnChooseEditor = [](TBabGridView_Custom*, TBabSimpleCellStringData*, TBabEditorType& type) {
        type = TBabEditorType::babETCombo;
    };
    s.view.InplaceCombo().SetItems({"red", "green", "blue"});
    s.view.SetText(s.Cell(1, 1), "green");
    Key(Qt::Key_F2);
    ASSERT_EQ(s.view.GetActiveEditor(), &s.view.InplaceCombo());
    EXPECT_EQ(s.view.InplaceCombo().GetItemIndex(), 1);
    s.view.InplaceCombo().SetItemIndex(2);
    Enter();
    EXPECT_EQ(s.Text(1, 1), "blue");
}

TEST(GridEdit, CheckBoxCellsRoundTripTrueAndFalse)
{
    TEditScene s;
    auto* data = static_cast<TBabSimpleCellStringData*>(s.Cell(1, 2)->GetCellData());
    data->SetIsBoolean(true);
    s.view.SetText(s.Cell(1, 2), "True");
    s.Root().SetFocusedCell(s.Cell(1, 2));
    Key(Qt::Key_F2);
    TBabInplaceBoolEditor& box = s.view.InplaceBool();
    ASSERT_EQ(s.view.GetActiveEditor(), &box);
    EXPECT_TRUE(box.GetChecked());
    const TRect cell = s.Cell(1, 2)->getVisibleRect();
    EXPECT_EQ(box.GetBoundsRect(), Rect(cell.Left + 1, cell.Top + 1, cell.Right, cell.Bottom + 1));
    Key(Qt::Key_Space, " ");
    EXPECT_FALSE(box.GetChecked());
    Enter();
    EXPECT_EQ(s.Text(1, 2), "FALSE");

    // A click toggles at once, without an editor left open.
    const TPoint p = Point(cell.Left + 20, cell.Top + 8);
    s.Click(p.X, p.Y);
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_FALSE(box.GetVisible());
    EXPECT_EQ(s.Text(1, 2), "TRUE");
    EXPECT_EQ(s.log, (std::vector<std::string>{"stop 2 FALSE", "stop 2 TRUE"}));
}

struct TDateScene : TEditScene {
    TDateScene()
    {
        TFormatSettings settings = FormatSettings();
        settings.ShortDateFormat = "yyyy-mm-dd";
        settings.DateSeparator = '-';
        SetFormatSettings(settings);
        view.OnChooseEditor = [](TBabGridView_Custom*, TBabSimpleCellStringData*, TBabEditorType& type) {
            type = TBabEditorType::babETDateTime;
        };
    }
    ~TDateScene() { SetFormatSettings(saved); }
    TFormatSettings saved = FormatSettings();
    TTestClockScope clock{EncodeDate(2026, 12, 8) + 0.5};
};

TEST(GridEdit, DateCellsOpenAtTheirDateOrTodayAndCommitTheDateText)
{
    TDateScene s;
    s.view.SetText(s.Cell(1, 1), "2025-03-15");
    Key(Qt::Key_F2);
    ASSERT_EQ(s.view.GetActiveEditor(), &s.view.InplaceDateTime());
    EXPECT_EQ(s.view.InplaceDateTime().GetDate(), EncodeDate(2025, 3, 15));
    EXPECT_EQ(s.view.InplaceDateTime().GetHeight(), 21) << "the cell's height plus one";
    s.view.InplaceDateTime().SetDate(EncodeDate(2025, 4, 1));
    Enter();
    EXPECT_EQ(s.Text(1, 1), "2025-04-01");

    s.view.SetText(s.Cell(1, 1), "");
    s.Row(1)->SetUserSizeActive(true);
    s.Row(1)->SetUserSize(40);
    s.view.RecalcExtents();
    s.Paint();
    Key(Qt::Key_F2);
    EXPECT_EQ(s.view.InplaceDateTime().GetDate(), EncodeDate(2026, 12, 8));
    EXPECT_EQ(s.view.InplaceDateTime().GetHeight(), 22) << "in a tall row one line high, plus one";
    Tab();
    EXPECT_EQ(s.Text(1, 1), "2026-12-08");
}

TEST(GridEdit, ADateTextThatDoesNotParseStartsNoEditAndIsKept)
{
    TDateScene s;
    s.view.SetText(s.Cell(1, 1), "n/a");
    EXPECT_THROW(s.view.StartEditing(), EConvertError);
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_FALSE(s.view.InplaceDateTime().GetVisible());
    s.Root().SetFocusedCell(s.Cell(1, 2));
    EXPECT_EQ(s.Text(1, 1), "n/a") << "a later focus change writes nothing over the text";
    EXPECT_TRUE(s.log.empty());
}

TEST(GridEdit, MonthNamesInTheShortDateFormatAreReadAsNumbers)
{
    const TFormatSettings saved = FormatSettings();
    TFormatSettings settings = saved;
    settings.ShortDateFormat = "dd/mmm/yyyy";
    settings.DateSeparator = '-';
    SetFormatSettings(settings);
    const std::string march = FormatDateTime("mmm", EncodeDate(2003, 3, 1));
    EXPECT_EQ(TBabGridView_Custom::SafeStrToDate("15-" + march + "-2025"), EncodeDate(2025, 3, 15));
    EXPECT_EQ(TBabGridView_Custom::SafeStrToDate(FormatDateTime("ddddd", EncodeDate(1999, 12, 1))),
              EncodeDate(1999, 12, 1))
        << "what the settings print reads back";
    EXPECT_THROW(TBabGridView_Custom::SafeStrToDate("15-Foo-2025"), EConvertError);
    SetFormatSettings(saved);
}

TEST(GridEdit, ACellThatMayNotChangeOpensNoEditorAndKeysAreDroppedWhenTheAnswerChanges)
{
    TEditScene s;
    bool allowed = false;
    s.view.OnEditorCanModify = [&](TBabGridView_Custom*, TBabCell*) { return allowed; };
    Key(Qt::Key_F2);
    EXPECT_FALSE(s.view.GetEditing());
    allowed = true;
    Key(Qt::Key_F2);
    ASSERT_TRUE(s.view.GetEditing());
    allowed = false;
    TypeText("zz");
    EXPECT_EQ(s.view.InplaceEdit().GetText(), "1,1");
    Key(Qt::Key_Backspace, "\b");
    EXPECT_EQ(s.view.InplaceEdit().GetText(), "1,1");
    Escape();
    EXPECT_FALSE(s.view.GetEditing());
}

TEST(GridEdit, ClassHooksSurroundTheEditAndOnEditStopOnlyACommit)
{
    TEditScene s;
    std::vector<std::string>& log = s.log;
    TBabGridView_Custom::InstallClassEvents(
        [&](TBabGridView_Custom*, TBabCell* c) { log.push_back("before " + std::to_string(c->RowIndex())); },
        [&](TBabGridView_Custom*, TBabCell* c) { log.push_back("after " + std::to_string(c->RowIndex())); });
    Key(Qt::Key_F2);
    Enter();
    Key(Qt::Key_F2);
    Escape();
    TBabGridView_Custom::InstallClassEvents({}, {});
    EXPECT_EQ(log, (std::vector<std::string>{"before 1", "stop 1 1,1", "after 1", "before 1", "after 1"}));
}

class TSortView : public TBabGridView {
public:
    using TBabGridView::TBabGridView;
    bool CheckSortAllow(TBabCell*, int, int) override { return true; }
};

TEST(GridEdit, ACommitClearsTheSortMarkACancelKeepsIt)
{
    TGridViewSceneOf<TSortView> s(4, 6, 1, 1);
    s.Paint();
    const TRect header = s.Root().getCell(1, 0)->getVisibleRect();
    s.Click(header.Left + 10, header.Top + 5);
    ASSERT_EQ(s.view.GetSortCell(), s.Root().getCell(1, 0));
    s.Root().SetFocusedCell(s.Root().getCell(1, 1));
    s.view.StartEditing();
    s.view.BreakEditing();
    EXPECT_EQ(s.view.GetSortCell(), s.Root().getCell(1, 0));
    s.view.StartEditing();
    s.view.StopEditing();
    EXPECT_EQ(s.view.GetSortCell(), nullptr);
    EXPECT_FALSE(s.view.GetSortDirection());
}

TEST(GridEdit, FocusLossAndScrollingEndTheEdit)
{
    TEditScene s;
    TEdit other;
    other.SetParent(&s.view);
    other.SetBounds(200, 150, 40, 20);
    Key(Qt::Key_F2);
    TypeText("q");
    other.SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_EQ(s.Text(1, 1), "q");

    // The combo ends on focus loss only with StopEditOnFocusChange.
    s.view.OnChooseEditor = [](TBabGridView_Custom*, TBabSimpleCellStringData*, TBabEditorType& type) {
        type = TBabEditorType::babETCombo;
    };
    s.view.SetStopEditOnFocusChange(false);
    s.view.SetFocus();
    Key(Qt::Key_F2);
    other.SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(s.view.GetEditing());
    s.view.SetStopEditOnFocusChange(true);
    s.view.InplaceCombo().SetFocus();
    other.SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(s.view.GetEditing());

    s.view.OnChooseEditor = {};
    s.view.SetFocus();
    Key(Qt::Key_F2);
    s.Root().SetTop(2);
    s.Paint();
    EXPECT_FALSE(s.view.GetEditing()) << "a scroll lays the view out again and ends the edit";
}

TEST(GridEdit, DeletingTheEditedRowEndsTheEditWithoutStoring)
{
    TEditScene s;
    // From the commit's handler.
    s.onStop = [&](std::string&) { s.Root().Rows().Drop(1); };
    Key(Qt::Key_F2);
    TypeText("lost");
    Enter();
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_EQ(s.Root().Rows().Count(), 5);
    EXPECT_EQ(s.Text(1, 1), "1,2") << "the row below moved up untouched";

    // Unloaded or dropped by the program while the editor is open: the axis change ends the
    // edit first, while the cell is still there.
    s.onStop = nullptr;
    s.Root().SetFocusedCell(s.Cell(2, 4));
    Key(Qt::Key_F2);
    ASSERT_TRUE(s.view.GetEditing());
    s.Root().Rows().Unload(4, false);
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_FALSE(s.view.InplaceEdit().GetVisible());
    EXPECT_EQ(s.view.GetEditCell(), nullptr);
    EXPECT_EQ(s.log.back(), "stop 4 2,5");
    s.Root().SetFocusedCell(s.Cell(2, 2));
    Key(Qt::Key_F2);
    s.Root().Rows().ClearKeepFixedItems();
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_EQ(s.log.back(), "stop 2 2,3");
}

TEST(GridEdit, AHandlerThatRaisesDuringTheCommitLeavesTheViewReadyForTheNextEdit)
{
    TEditScene s;
    auto* data = static_cast<TBabSimpleCellStringData*>(s.Cell(1, 2)->GetCellData());
    data->SetIsBoolean(true);
    s.view.SetText(s.Cell(1, 2), "FALSE");
    s.onStop = [](std::string&) { throw std::runtime_error("refused"); };
    s.Root().SetFocusedCell(s.Cell(1, 2));
    EXPECT_THROW(s.view.CheckBoxEditWithoutEditMode(s.Cell(1, 2)), std::runtime_error);
    EXPECT_FALSE(s.view.GetEditing());
    EXPECT_EQ(s.Text(1, 2), "FALSE");

    s.onStop = nullptr;
    Key(Qt::Key_F2);
    EXPECT_TRUE(s.view.GetEditing()) << "the toggle-only flag is down again: the check box opens";
    EXPECT_TRUE(s.view.InplaceBool().GetVisible());
    Enter();
    EXPECT_FALSE(s.view.GetEditing()) << "and the re-entry guard lets the edit end";
    EXPECT_EQ(s.Text(1, 2), "FALSE");
}

}  // namespace
}  // namespace vxplan::test
