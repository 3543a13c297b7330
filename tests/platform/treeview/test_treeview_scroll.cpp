// Tree view scrolling and label editing: the top item survives changes above it, scroll bars
// come and go with the rows, the wheel and the bars scroll through WM_VSCROLL, and label edits
// commit, change, refuse and cancel.
#include <vxplan/platform/core/vxExceptions.h>

#include "test_treeview_support.h"

#include <QLineEdit>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vxplan;
using namespace vxplan::test;

namespace {

// Records the scroll messages it sees, as a descendant following the top item would.
class ScrollWatchTree : public TTreeView {
public:
    using TTreeView::TTreeView;
    std::vector<std::string> tops;
    void WndProc(TMessage& m) override
    {
        TTreeView::WndProc(m);
        if (m.Msg == WM_VSCROLL) tops.push_back(GetTopItem() ? GetTopItem()->GetText() : "-");
    }
};

}  // namespace

TEST(TreeScrolling, TopItemStaysWhenRowsAboveChange)
{
    auto tree = MakeTree(200, 16 * 5);
    Fill(*tree, 20, 3);
    TTreeNodes& items = tree->Items();
    tree->SetTopItem(items.GetRoot(10));
    EXPECT_EQ(tree->GetTopItem(), items.GetRoot(10));
    EXPECT_EQ(tree->GetScrollPos(SB_VERT), 10);
    items.GetRoot(2)->Expand(false);
    items.AddChild(nullptr, "new last");
    items.GetRoot(0)->Delete();
    EXPECT_EQ(tree->GetTopItem(), items.GetRoot(9));
    EXPECT_EQ(tree->GetScrollPos(SB_VERT), 9 + 3);
    // A top node that is hidden gives way to its shown ancestor.
    items.GetRoot(12)->Expand(false);
    tree->SetTopItem(items.GetRoot(12)->GetItem(1));
    items.GetRoot(12)->Collapse(false);
    EXPECT_EQ(tree->GetTopItem(), items.GetRoot(12));
    // Near the end the view stays full: the top stops five rows before the last.
    tree->SetTopItem(items.GetRoot(19));
    EXPECT_EQ(tree->GetTopItem(), items.GetRoot(15));
    // Setting a top node under collapsed parents opens them.
    tree->SetTopItem(items.GetRoot(4)->GetItem(0));
    EXPECT_TRUE(items.GetRoot(4)->GetExpanded());
    EXPECT_EQ(tree->GetTopItem(), items.GetRoot(4)->GetItem(0));
    tree->SetTopItem(nullptr);
    EXPECT_EQ(tree->GetTopItem(), items.GetRoot(0));
}

TEST(TreeScrolling, BarsAppearWhenNeededAndScrollThroughMessages)
{
    ScrollWatchTree tree;
    tree.SetBorderStyle(TBorderStyle::bsNone);
    tree.SetItemHeight(16);
    tree.SetBounds(0, 0, 120, 16 * 4);
    Fill(tree, 3, 0);
    EXPECT_FALSE(tree.ScrollBarShown(SB_VERT));
    EXPECT_FALSE(tree.ScrollBarShown(SB_HORZ));
    for (int i = 0; i < 7; ++i) tree.Items().Add(nullptr, "S" + std::to_string(i));
    ASSERT_TRUE(tree.ScrollBarShown(SB_VERT));
    EXPECT_TRUE(tree.VertScrollBar()->GetVisible());
    EXPECT_EQ(tree.VertScrollBar()->GetLeft(), 120 - ScrollBarExtent());
    EXPECT_EQ(tree.VertScrollBar()->GetMax(), 9);
    EXPECT_EQ(tree.VertScrollBar()->GetPageSize(), 4);
    // The wheel: three lines a notch, one message a line.
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&tree, &wheel);
    EXPECT_EQ(tree.tops, (std::vector<std::string>{"R1", "R2", "S0"}));
    EXPECT_EQ(tree.VertScrollBar()->GetPosition(), 3);
    // The bar, as a user drives it.
    tree.VertScrollBar()->Widget()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(tree.GetTopItem()->GetText(), "S1");
    tree.VertScrollBar()->Widget()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(tree.GetTopItem()->GetText(), "S3");
    EXPECT_EQ(tree.tops.back(), "S3");
    Key(&tree, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(tree.GetTopItem()->GetText(), "R0");
    EXPECT_EQ(tree.GetSelected(), nullptr);
    // A wide caption brings the horizontal bar; its position scrolls the rows sideways.
    TTreeNode* wide = tree.Items().AddChild(nullptr, std::string(60, 'W'));
    EXPECT_TRUE(tree.ScrollBarShown(SB_HORZ));
    const int left = wide->DisplayRect(true).Left;
    tree.SetScrollPos(SB_HORZ, 25);
    EXPECT_EQ(tree.GetScrollPos(SB_HORZ), 25);
    EXPECT_EQ(wide->DisplayRect(true).Left, left - 25);
    EXPECT_EQ(tree.HorzScrollBar()->GetPosition(), 25);
    // Disallowed bars stay hidden; the rows still scroll by keys.
    tree.SetScrollBarVert(false);
    tree.SetScrollBarHorz(false);
    EXPECT_FALSE(tree.ScrollBarShown(SB_VERT));
    EXPECT_FALSE(tree.HorzScrollBar()->GetVisible());
    Key(&tree, Qt::Key_End);
    EXPECT_EQ(tree.GetTopItem()->GetText(), "S4");
}

TEST(TreeLabelEdit, EnterCommitsThroughOnEditedAndEscapeCancels)
{
    auto tree = MakeTree();
    Fill(*tree, 3, 0);
    Focus(*tree);
    TTreeNode* n = tree->Items().GetRoot(1);
    std::vector<std::string> log;
    tree->OnEditing = [&](TObject*, TTreeNode* node, bool& allow) {
        log.push_back("editing " + node->GetText());
        allow = node->GetText() != "R2";
    };
    tree->OnEdited = [&](TObject*, TTreeNode* node, std::string& s) {
        log.push_back("edited " + node->GetText() + " -> " + s);
        if (s == "refuse") s = node->GetText();
        if (s == "shout") s = "SHOUT";
    };
    ASSERT_TRUE(n->EditText());
    ASSERT_TRUE(tree->IsEditing());
    TEdit* edit = tree->GetEditControl();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetEditText(), "R1");
    EXPECT_EQ(edit->GetTop(), n->DisplayRect(true).Top - 2);
    edit->SetEditText("shout");
    Key(edit->Widget(), Qt::Key_Return);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_FALSE(edit->GetVisible());
    EXPECT_EQ(n->GetText(), "SHOUT");
    n->EditText();
    edit->SetEditText("refuse");
    Key(edit->Widget(), Qt::Key_Return);
    EXPECT_EQ(n->GetText(), "SHOUT");
    n->EditText();
    edit->SetEditText("gone");
    Key(edit->Widget(), Qt::Key_Escape);
    EXPECT_EQ(n->GetText(), "SHOUT");
    EXPECT_FALSE(tree->Items().GetRoot(2)->EditText());
    tree->SetReadOnly(true);
    EXPECT_FALSE(n->EditText());
    EXPECT_EQ(log, (std::vector<std::string>{"editing R1", "edited R1 -> shout", "editing SHOUT",
                                             "edited SHOUT -> refuse", "editing SHOUT", "editing R2"}));
}

TEST(TreeLabelEdit, ClickOnTheSelectedCaptionEditsAfterTheDoubleClickTime)
{
    TTestClock clock;
    SetApplicationClock(&clock);
    {
        auto tree = MakeTree();
        Fill(*tree, 3, 0);
        Click(tree.get(), 30, 8);  // selects R0
        clock.Advance(5000);
        EXPECT_FALSE(tree->IsEditing());
        Click(tree.get(), 30, 8);  // again: an edit, once no double click can follow
        EXPECT_FALSE(tree->IsEditing());
        clock.Advance(QApplication::doubleClickInterval());
        ASSERT_TRUE(tree->IsEditing());
        EXPECT_EQ(tree->EditingNode(), tree->Items().GetRoot(0));
        // Deleting the node ends the edit without OnEdited.
        bool edited = false;
        tree->OnEdited = [&](TObject*, TTreeNode*, std::string&) { edited = true; };
        tree->Items().GetRoot(0)->Delete();
        EXPECT_FALSE(tree->IsEditing());
        EXPECT_FALSE(edited);
        // A read-only tree starts none.
        tree->SetReadOnly(true);
        Click(tree.get(), 30, 8);
        Click(tree.get(), 30, 8);
        clock.Advance(QApplication::doubleClickInterval());
        EXPECT_FALSE(tree->IsEditing());
    }
    SetApplicationClock(nullptr);
}
