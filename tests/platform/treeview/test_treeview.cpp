// Tree view behaviour: the node collection (adds, deletes, moves, sorting, positions), shown
// rows, expansion and selection events with their refusals, keyboard navigation and hit tests.
#include <vxplan/platform/core/vxExceptions.h>

#include "test_treeview_support.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace vxplan;
using namespace vxplan::test;

TEST(TreeNodes, AddPlacesNodesAndKeepsPositions)
{
    auto tree = MakeTree();
    TTreeNodes& items = tree->Items();
    TTreeNode* b = items.Add(nullptr, "b");
    TTreeNode* a = items.AddFirst(b, "a");
    TTreeNode* d = items.Add(b, "d");
    TTreeNode* c = items.Insert(d, "c");
    TTreeNode* b2 = items.AddChild(b, "b2");
    TTreeNode* b1 = items.AddChildFirst(b, "b1");
    int data = 7;
    TTreeNode* b3 = items.AddChildObject(b, "b3", &data);
    EXPECT_EQ(Texts(items), (std::vector<std::string>{"a", "b", "b1", "b2", "b3", "c", "d"}));
    EXPECT_EQ(items.GetCount(), 7);
    EXPECT_EQ(b3->GetData(), &data);
    EXPECT_EQ(b2->GetLevel(), 1);
    EXPECT_EQ(b2->GetIndex(), 1);
    EXPECT_EQ(b2->GetAbsoluteIndex(), 3);
    EXPECT_EQ(c->GetAbsoluteIndex(), 5);
    EXPECT_EQ(b1->GetParent(), b);
    EXPECT_EQ(a->GetNextSibling(), b);
    EXPECT_EQ(b->GetNext(), b1);
    EXPECT_EQ(c->GetPrev(), b3);
    EXPECT_EQ(a->GetPrevSibling(), nullptr);
    EXPECT_THROW(items[7], EListError);
    EXPECT_THROW(b->GetItem(3), EListError);
    // A node of another tree is refused and nothing is added.
    auto other = MakeTree();
    TTreeNode* foreign = other->Items().Add(nullptr, "x");
    EXPECT_THROW(items.AddChild(foreign, "y"), EInvalidArgument);
    EXPECT_EQ(items.GetCount(), 7);
    EXPECT_EQ(other->Items().GetCount(), 1);
}

TEST(TreeNodes, DeletionRaisesOnDeletionChildrenFirstWithDeletingSet)
{
    auto tree = MakeTree();
    Fill(*tree, 2, 2);
    std::vector<std::string> seen;
    tree->OnDeletion = [&](TObject*, TTreeNode* n) {
        EXPECT_TRUE(n->Deleting());
        seen.push_back(n->GetText());
    };
    tree->Items()[0]->Delete();
    EXPECT_EQ(seen, (std::vector<std::string>{"R0.1", "R0.0", "R0"}));
    EXPECT_EQ(Texts(tree->Items()), (std::vector<std::string>{"R1", "R1.0", "R1.1"}));
    EXPECT_EQ(tree->Items()[0]->GetIndex(), 0);
    seen.clear();
    tree->Items()[0]->DeleteChildren();
    EXPECT_EQ(seen, (std::vector<std::string>{"R1.1", "R1.0"}));
    tree->Items().Clear();
    EXPECT_EQ(tree->Items().GetCount(), 0);
    EXPECT_EQ(tree->GetTopItem(), nullptr);
}

TEST(TreeNodes, DeletingTheSelectedNodeSelectsANeighbour)
{
    auto tree = MakeTree();
    Fill(*tree, 3, 2);
    TTreeNodes& items = tree->Items();
    std::vector<std::string> changes;
    tree->OnChange = [&](TObject*, TTreeNode* n) { changes.push_back(n ? n->GetText() : "-"); };
    TTreeNode* r1 = items.GetRoot(1);
    r1->GetItem(1)->SetSelected(true);
    // Inside a deleted subtree: the next sibling of the subtree's top takes over.
    r1->Delete();
    EXPECT_EQ(tree->GetSelected()->GetText(), "R2");
    // The last of its siblings: the previous one; the only child: the parent.
    items.GetRoot(1)->Delete();
    EXPECT_EQ(tree->GetSelected()->GetText(), "R0");
    items.GetRoot(0)->GetItem(1)->Delete();
    items.GetRoot(0)->GetItem(0)->SetSelected(true);
    items.GetRoot(0)->GetItem(0)->Delete();
    EXPECT_EQ(tree->GetSelected()->GetText(), "R0");
    items.Clear();
    EXPECT_EQ(tree->GetSelected(), nullptr);
    EXPECT_EQ(changes, (std::vector<std::string>{"R1.1", "R2", "R0", "R0.0", "R0", "-"}));
}

TEST(TreeNodes, MoveToEveryModeAndRefusedCycles)
{
    auto tree = MakeTree();
    Fill(*tree, 3, 1);
    TTreeNodes& items = tree->Items();
    TTreeNode* r0 = items.GetRoot(0);
    TTreeNode* r1 = items.GetRoot(1);
    TTreeNode* r2 = items.GetRoot(2);
    r2->MoveTo(r0, TNodeAttachMode::naAddChild);
    EXPECT_EQ(Texts(items), (std::vector<std::string>{"R0", "R0.0", "R2", "R2.0", "R1", "R1.0"}));
    EXPECT_EQ(r2->GetLevel(), 1);
    EXPECT_EQ(r2->GetItem(0)->GetLevel(), 2);
    r2->MoveTo(r0, TNodeAttachMode::naInsert);
    EXPECT_EQ(Texts(items), (std::vector<std::string>{"R2", "R2.0", "R0", "R0.0", "R1", "R1.0"}));
    r2->MoveTo(r2, TNodeAttachMode::naAdd);
    EXPECT_EQ(items.GetRoot(2), r2);
    r1->MoveTo(r2, TNodeAttachMode::naAddChildFirst);
    EXPECT_EQ(r2->GetItem(0), r1);
    r1->MoveTo(r0, TNodeAttachMode::naAddFirst);
    EXPECT_EQ(items.GetRoot(0), r1);
    EXPECT_EQ(items.GetCount(), 6);
    // Into its own subtree: refused, nothing moves.
    const std::vector<std::string> before = Texts(items);
    EXPECT_THROW(r0->MoveTo(r0->GetItem(0), TNodeAttachMode::naAddChild), EInvalidOperation);
    EXPECT_THROW(r0->MoveTo(r0, TNodeAttachMode::naAddChild), EInvalidOperation);
    EXPECT_EQ(Texts(items), before);
    EXPECT_EQ(r0->GetItem(0)->GetParent(), r0);
}

TEST(TreeNodes, AlphaSortIgnoresCaseAndCustomSortUsesTheComparison)
{
    auto tree = MakeTree();
    TTreeNodes& items = tree->Items();
    TTreeNode* b = items.Add(nullptr, "beta");
    items.Add(nullptr, "Alpha");
    items.Add(nullptr, "gamma");
    items.AddChild(b, "z");
    items.AddChild(b, "Y");
    items.AlphaSort(false);
    EXPECT_EQ(Texts(items), (std::vector<std::string>{"Alpha", "beta", "z", "Y", "gamma"}));
    tree->AlphaSort(true);
    EXPECT_EQ(Texts(items), (std::vector<std::string>{"Alpha", "beta", "Y", "z", "gamma"}));
    EXPECT_EQ(b->GetItem(0)->GetIndex(), 0);
    // OnCompare replaces the caption order: longest first.
    tree->OnCompare = [](TObject*, TTreeNode* a, TTreeNode* c, intptr_t, int& result) {
        result = static_cast<int>(c->GetText().size()) - static_cast<int>(a->GetText().size());
    };
    items.AlphaSort(false);
    EXPECT_EQ(items.GetRoot(0)->GetText(), "Alpha");
    EXPECT_EQ(items.GetRoot(2)->GetText(), "beta");
    tree->CustomSort([](TTreeNode* a, TTreeNode* c, intptr_t sign) { return static_cast<int>(sign) * a->GetText().compare(c->GetText()); },
                     -1, false);
    EXPECT_EQ(items.GetRoot(0)->GetText(), "gamma");
}

TEST(TreeRows, ShownNodesFollowExpansion)
{
    auto tree = MakeTree();
    Fill(*tree, 3, 2);
    TTreeNodes& items = tree->Items();
    EXPECT_EQ(tree->ShownCount(), 3);
    TTreeNode* r0 = items.GetRoot(0);
    EXPECT_FALSE(r0->GetItem(0)->IsVisible());
    EXPECT_EQ(r0->GetNextVisible(), items.GetRoot(1));
    EXPECT_EQ(r0->GetItem(0)->GetNextVisible(), nullptr);
    r0->Expand(false);
    EXPECT_EQ(tree->ShownCount(), 5);
    EXPECT_EQ(r0->GetNextVisible(), r0->GetItem(0));
    EXPECT_EQ(r0->GetItem(1)->GetNextVisible(), items.GetRoot(1));
    EXPECT_EQ(items.GetRoot(1)->GetPrevVisible(), r0->GetItem(1));
    EXPECT_EQ(tree->GetNodeAt(5, 3 * 16 + 2), r0->GetItem(1)->GetNextVisible());
    tree->FullExpand();
    EXPECT_EQ(tree->ShownCount(), 9);
    tree->FullCollapse();
    EXPECT_EQ(tree->ShownCount(), 3);
    // A node without children cannot be expanded unless it promises some.
    TTreeNode* leaf = r0->GetItem(0);
    leaf->SetExpanded(true);
    EXPECT_FALSE(leaf->GetExpanded());
    leaf->SetHasChildren(true);
    leaf->SetExpanded(true);
    EXPECT_TRUE(leaf->GetExpanded());
}

TEST(TreeEvents, ExpandAndCollapseEventsInOrderAndRefusals)
{
    auto tree = MakeTree();
    Fill(*tree, 2, 2);
    TTreeNode* r0 = tree->Items().GetRoot(0);
    std::vector<std::string> log;
    bool allowExpand = true, allowCollapse = true;
    tree->OnExpanding = [&](TObject*, TTreeNode* n, bool& allow) {
        log.push_back("expanding " + n->GetText());
        allow = allowExpand;
    };
    tree->OnExpanded = [&](TObject*, TTreeNode* n) { log.push_back("expanded " + n->GetText()); };
    tree->OnCollapsing = [&](TObject*, TTreeNode* n, bool& allow) {
        log.push_back("collapsing " + n->GetText());
        allow = allowCollapse;
    };
    tree->OnCollapsed = [&](TObject*, TTreeNode* n) { log.push_back("collapsed " + n->GetText()); };
    tree->OnChange = [&](TObject*, TTreeNode* n) { log.push_back("change " + n->GetText()); };

    allowExpand = false;
    r0->Expand(false);
    EXPECT_FALSE(r0->GetExpanded());
    allowExpand = true;
    r0->Expand(false);
    EXPECT_TRUE(r0->GetExpanded());
    r0->GetItem(1)->SetSelected(true);
    allowCollapse = false;
    r0->Collapse(false);
    EXPECT_TRUE(r0->GetExpanded());
    allowCollapse = true;
    r0->Collapse(false);
    EXPECT_FALSE(r0->GetExpanded());
    // The selection inside the closed branch moves to the closed node.
    EXPECT_EQ(tree->GetSelected(), r0);
    EXPECT_EQ(log, (std::vector<std::string>{"expanding R0", "expanding R0", "expanded R0", "change R0.1",
                                             "collapsing R0", "collapsing R0", "collapsed R0", "change R0"}));
}

TEST(TreeEvents, ChildrenAddedWhileExpandingAreShown)
{
    auto tree = MakeTree();
    TTreeNode* lazy = tree->Items().Add(nullptr, "lazy");
    lazy->SetHasChildren(true);
    tree->OnExpanding = [&](TObject*, TTreeNode* n, bool&) {
        if (n->GetCount() == 0)
            for (int i = 0; i < 3; ++i) tree->Items().AddChild(n, "c" + std::to_string(i));
    };
    tree->Items().Add(nullptr, "after");
    Click(tree.get(), 19 / 2, 8);  // the button of "lazy"
    EXPECT_TRUE(lazy->GetExpanded());
    EXPECT_EQ(tree->ShownCount(), 5);
    EXPECT_EQ(tree->GetNodeAt(40, 16 * 3 + 1)->GetText(), "c2");
}

TEST(TreeEvents, ChangingMayRefuseAndChangeDelayWaitsOnTheClock)
{
    TTestClock clock;
    SetApplicationClock(&clock);
    {
        auto tree = MakeTree();
        Fill(*tree, 3, 0);
        TTreeNodes& items = tree->Items();
        std::vector<std::string> log;
        tree->OnChanging = [&](TObject*, TTreeNode* n, bool& allow) {
            log.push_back("changing " + n->GetText());
            allow = n->GetText() != "R2";
        };
        tree->OnChange = [&](TObject*, TTreeNode* n) { log.push_back("change " + n->GetText()); };
        items.GetRoot(0)->SetSelected(true);
        items.GetRoot(2)->SetSelected(true);
        EXPECT_EQ(tree->GetSelected(), items.GetRoot(0));
        tree->SetChangeDelay(300);
        items.GetRoot(1)->SetSelected(true);
        clock.Advance(200);
        items.GetRoot(0)->SetSelected(true);
        clock.Advance(200);
        EXPECT_EQ(log.back(), "changing R0");
        clock.Advance(100);
        EXPECT_EQ(log, (std::vector<std::string>{"changing R0", "change R0", "changing R2", "changing R1",
                                                 "changing R0", "change R0"}));
        EXPECT_THROW(tree->SetChangeDelay(-1), EInvalidArgument);
    }
    SetApplicationClock(nullptr);
}

TEST(TreeKeyboard, ArrowsHomeEndPagesAndPlusMinus)
{
    auto tree = MakeTree(200, 16 * 5);  // five rows in view
    Fill(*tree, 10, 2);
    std::vector<std::string> log;
    tree->OnExpanded = [&](TObject*, TTreeNode* n) { log.push_back("+" + n->GetText()); };
    tree->OnCollapsed = [&](TObject*, TTreeNode* n) { log.push_back("-" + n->GetText()); };
    // Each key and the selection after it; the expansions show in the log.
    const struct Step {
        int key;
        const char* selected;
        const char* top = nullptr;  // the top row after the key, where it matters
        const char* text = "";
    } steps[] = {
        {Qt::Key_Down, "R0"},
        {Qt::Key_Right, "R0"},    // expands
        {Qt::Key_Right, "R0.0"},  // to the first child
        {Qt::Key_Down, "R0.1"},
        {Qt::Key_Left, "R0"},     // a leaf: to the parent
        {Qt::Key_Left, "R0"},     // expanded: collapses
        {Qt::Key_End, "R9", "R5"},
        {Qt::Key_Home, "R0", "R0"},
        {Qt::Key_PageDown, "R4"},  // the last row of the page first
        {Qt::Key_PageDown, "R8"},  // then a page further
        {Qt::Key_PageUp, "R4"},
        {Qt::Key_Up, "R3"},
        {Qt::Key_Plus, "R3", nullptr, "+"},
        {Qt::Key_Minus, "R3", nullptr, "-"},
        {Qt::Key_R, "R4", nullptr, "r"},  // typing jumps to the next caption starting with the letters
    };
    for (const Step& step : steps) {
        const bool keypad = step.key == Qt::Key_Plus || step.key == Qt::Key_Minus;
        Key(tree.get(), step.key, keypad ? Qt::KeypadModifier : Qt::NoModifier, step.text);
        ASSERT_NE(tree->GetSelected(), nullptr);
        EXPECT_EQ(tree->GetSelected()->GetText(), step.selected) << "after key " << step.key;
        if (step.top) {
            EXPECT_EQ(tree->GetTopItem()->GetText(), step.top) << "after key " << step.key;
        }
    }
    EXPECT_EQ(log, (std::vector<std::string>{"+R0", "-R0", "+R3", "-R3"}));
}

TEST(TreeKeyboard, OnKeyDownSeesKeysFirstAndMaySwallowThem)
{
    auto tree = MakeTree();
    Fill(*tree, 3, 0);
    tree->Items().GetRoot(0)->SetSelected(true);
    tree->OnKeyDown = [](TObject*, uint16_t& key, TShiftState) {
        if (key == VK_DOWN) key = 0;
    };
    Key(tree.get(), Qt::Key_Down);
    EXPECT_EQ(tree->GetSelected(), tree->Items().GetRoot(0));
}

TEST(TreeHitTest, PartsOfARow)
{
    auto tree = MakeTree(200, 100);
    Fill(*tree, 2, 1);
    TImageList images;
    TBitmap red(16, 16);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect(Rect(0, 0, 16, 16));
    images.Add(red);
    tree->SetImages(&images);
    TTreeNode* r0 = tree->Items().GetRoot(0);
    r0->Expand(false);
    // Row 1 is R0.0 at level 1: columns 0 and 1 indent, then a 16-pixel image and the caption.
    const TRect label = r0->GetItem(0)->DisplayRect(true);
    EXPECT_EQ(label.Left, 2 * 19 + 17);
    EXPECT_EQ(label.Top, 16);
    EXPECT_EQ(label.Height(), 16);
    EXPECT_EQ(r0->DisplayRect(false), Rect(0, 0, 200, 16));
    auto hit = [&](int x, int y) { return tree->GetHitTestInfoAt(x, y); };
    using H = THitTest;
    // At (9, 24) a root's column on a child row, at (30, 24) a leaf's own column, without a button.
    const std::tuple<int, int, THitTests> parts[] = {
        {9, 8, {H::htOnButton}}, {9, 24, {H::htOnIndent}}, {30, 24, {H::htOnIndent}},
        {40, 24, {H::htOnIcon, H::htOnItem}}, {label.Left + 1, 24, {H::htOnLabel, H::htOnItem}},
        {label.Right, 24, {H::htOnRight}}, {50, 16 * 3 + 1, {H::htNowhere}}, {50, -1, {H::htAbove}},
        {-1, 100, {H::htToLeft, H::htBelow}}};
    for (const auto& [x, y, expected] : parts) EXPECT_EQ(hit(x, y), expected) << x << "," << y;
    EXPECT_EQ(tree->GetNodeAt(190, 17), r0->GetItem(0));
    EXPECT_EQ(tree->GetNodeAt(10, 16 * 3 + 1), nullptr);
    // Without root lines the roots lose their column.
    tree->SetShowRoot(false);
    EXPECT_EQ(r0->DisplayRect(true).Left, 17);
    EXPECT_EQ(hit(5, 8), (THitTests{THitTest::htOnIcon, THitTest::htOnItem}));
    EXPECT_EQ(r0->GetItem(0)->DisplayRect(true).Left, 19 + 17);
    EXPECT_EQ(r0->GetItem(0)->GetNextVisible(), tree->Items().GetRoot(1));
    EXPECT_TRUE(tree->Items().GetRoot(1)->GetItem(0)->DisplayRect(true).IsEmpty());
}

TEST(TreeMouse, ClicksSelectToggleAndRightClickSelects)
{
    auto tree = MakeTree();
    Fill(*tree, 3, 2);
    TTreeNodes& items = tree->Items();
    Click(tree.get(), 30, 16 + 8);  // caption of R1
    EXPECT_EQ(tree->GetSelected(), items.GetRoot(1));
    Click(tree.get(), 9, 16 + 8);  // its button
    EXPECT_TRUE(items.GetRoot(1)->GetExpanded());
    EXPECT_EQ(tree->GetSelected(), items.GetRoot(1));
    Click(tree.get(), 150, 8);  // right of R0's caption: nothing
    EXPECT_EQ(tree->GetSelected(), items.GetRoot(1));
    Click(tree.get(), 45, 2 * 16 + 8, Qt::RightButton);
    EXPECT_EQ(tree->GetSelected(), items.GetRoot(1));
    tree->SetRightClickSelect(true);
    Click(tree.get(), 45, 2 * 16 + 8, Qt::RightButton);
    EXPECT_EQ(tree->GetSelected()->GetText(), "R1.0");
    // A double click on a caption opens or closes the node.
    Mouse(tree.get(), QEvent::MouseButtonPress, 30, 8);
    Mouse(tree.get(), QEvent::MouseButtonRelease, 30, 8);
    Mouse(tree.get(), QEvent::MouseButtonDblClick, 30, 8);
    Mouse(tree.get(), QEvent::MouseButtonRelease, 30, 8);
    EXPECT_TRUE(items.GetRoot(0)->GetExpanded());
}

namespace {

class DragTree : public TTreeView {
public:
    using TTreeView::TTreeView;
    std::vector<std::string> dragged;

protected:
    void BeginDragNode(TTreeNode* node) override { dragged.push_back(node->GetText()); }
};

}  // namespace

TEST(TreeMouse, DragBeyondTheDistanceBeginsANodeDragOnce)
{
    DragTree tree;
    tree.SetBorderStyle(TBorderStyle::bsNone);
    tree.SetItemHeight(16);
    tree.SetBounds(0, 0, 200, 100);
    Fill(tree, 3, 0);
    const int d = QApplication::startDragDistance();
    Mouse(&tree, QEvent::MouseButtonPress, 30, 16 + 8);
    QMouseEvent near(QEvent::MouseMove, QPointF(30 + d - 1, 24), QPointF(30 + d - 1, 24), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&tree, &near);
    EXPECT_TRUE(tree.dragged.empty());
    for (int i = 0; i < 2; ++i) {
        QMouseEvent far(QEvent::MouseMove, QPointF(30 + d + 5 + i, 40), QPointF(30 + d + 5 + i, 40), Qt::NoButton,
                        Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&tree, &far);
    }
    Mouse(&tree, QEvent::MouseButtonRelease, 30 + d + 5, 40);
    EXPECT_EQ(tree.dragged, (std::vector<std::string>{"R1"}));
}

TEST(TreeMouse, AutoExpandKeepsOneBranchOpen)
{
    auto tree = MakeTree();
    Fill(*tree, 3, 2);
    tree->SetAutoExpand(true);
    TTreeNodes& items = tree->Items();
    Click(tree.get(), 30, 8);
    EXPECT_TRUE(items.GetRoot(0)->GetExpanded());
    Click(tree.get(), 30, 3 * 16 + 8);  // R1, below R0's two children
    EXPECT_FALSE(items.GetRoot(0)->GetExpanded());
    EXPECT_TRUE(items.GetRoot(1)->GetExpanded());
    EXPECT_EQ(tree->GetSelected(), items.GetRoot(1));
}

TEST(TreeMouse, ToolTipShowsACaptionCutOffByTheView)
{
    auto tree = MakeTree(100, 60);
    tree->Items().Add(nullptr, "short");
    tree->Items().Add(nullptr, std::string(40, 'x'));
    auto hover = [&](int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), QPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree.get(), &move);
        return tree->toolTip().toStdString();
    };
    EXPECT_EQ(hover(30, 24), std::string(40, 'x'));
    EXPECT_EQ(hover(30, 8), "");
    tree->SetToolTips(false);
    EXPECT_EQ(hover(30, 24), "");
}
