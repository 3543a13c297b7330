// The entity tree as a host sees it: content changed only through entities, nodes following at
// the next display update, placeholders, levels, hiding, moves, selection and editing.
#include <vxplan/tree/vxTree.h>

#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include <memory>
#include <string>
#include <vector>

using namespace vxplan;
using vxplan::test::ErrorText;
using vxplan::test::ExpectPixels;
using vxplan::test::PixelAt;
using vxplan::test::SendMouse;

namespace {

struct TreeScene {
    std::unique_ptr<TvxTree> tree = std::make_unique<TvxTree>();
    TreeScene()
    {
        tree->SetBorderStyle(TBorderStyle::bsNone);
        tree->SetItemHeight(16);
        tree->SetBounds(0, 0, 240, 320);
    }
    TvxDataEntity_Tree* Add(TvxDataEntity_Tree* parent, const std::string& text)
    {
        TvxDataEntity_Tree* e = tree->AddDataEntity(parent);
        e->SetText(text);
        return e;
    }
    // The captions of all nodes, top to bottom, indented by level.
    std::vector<std::string> Nodes()
    {
        tree->EnsureDisplayUpToDate();
        std::vector<std::string> out;
        for (int i = 0; i < tree->Items().GetCount(); ++i) {
            TTreeNode* n = tree->Items()[i];
            out.push_back(std::string(2 * static_cast<size_t>(n->GetLevel()), ' ') + n->GetText());
        }
        return out;
    }
    // The centre of the entity's row.
    TPoint At(TvxDataEntity_Tree* e)
    {
        const TRect r = tree->GetRect(e);
        return {r.Left + 2, (r.Top + r.Bottom) / 2};
    }
    void Click(TvxDataEntity_Tree* e, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const TPoint p = At(e);
        SendMouse(tree.get(), QEvent::MouseButtonPress, p.X, p.Y, Qt::LeftButton, Qt::LeftButton, mods);
        SendMouse(tree.get(), QEvent::MouseButtonRelease, p.X, p.Y, Qt::LeftButton, Qt::NoButton, mods);
        TDoLater::DoAllNow();
    }
};

using Strings = std::vector<std::string>;

std::vector<std::string> SelectedTexts(TvxTree& tree)
{
    std::vector<std::string> out;
    for (int i = 0; i < tree.Items().GetCount(); ++i)
        if (auto* e = tree.GetDataEntityFromNode(tree.Items()[i]); e && e->GetSelected()) out.push_back(e->GetText());
    return out;
}

struct EntityTree : ::testing::Test {
    TreeScene s;
};

}  // namespace

TEST_F(EntityTree, NodesComeInOneBatchAtTheFirstQuery)
{
    for (int i = 0; i < 1000; ++i) s.Add(nullptr, "E" + std::to_string(i));
    EXPECT_EQ(s.tree->Items().GetCount(), 0);
    s.tree->GetCurrentDataEntity();
    // Every entity with its placeholder, in list order.
    ASSERT_EQ(s.tree->Items().GetCount(), 2000);
    EXPECT_EQ(s.tree->Items().GetRoot(0)->GetText(), "E0");
    EXPECT_EQ(s.tree->Items().GetRoot(999)->GetText(), "E999");
    EXPECT_EQ(s.tree->Items().GetRoot(5)->GetItem(0)->GetText(), "Not initiated");
    EXPECT_EQ(s.tree->GetDataEntityFromNode(s.tree->Items().GetRoot(5)), s.tree->GetRootDataList()->Item(5));
}

TEST_F(EntityTree, PlaceholderGivesWayToChildrenOrToNothing)
{
    TvxDataEntity_Tree* fill = s.Add(nullptr, "fill");
    TvxDataEntity_Tree* empty = s.Add(nullptr, "empty");
    s.tree->OnExpanding = [&](TObject*, TTreeNode* node, bool&) {
        if (s.tree->GetDataEntityFromNode(node) == fill) {
            s.Add(fill, "a");
            s.Add(fill, "b");
        }
    };
    EXPECT_EQ(s.Nodes(), (Strings{"fill", "  Not initiated", "empty", "  Not initiated"}));
    empty->GetTreeNode()->Expand(false);
    EXPECT_FALSE(empty->GetTreeNode()->HasChildren());
    fill->GetTreeNode()->Expand(false);
    EXPECT_EQ(s.Nodes(), (Strings{"fill", "  a", "    Not initiated", "  b", "    Not initiated", "empty"}));
    EXPECT_TRUE(fill->GetExpanded());
    EXPECT_TRUE(fill->GetTreeNode()->GetExpanded());
    // Collapsing is remembered by the entity.
    fill->GetTreeNode()->Collapse(false);
    EXPECT_FALSE(fill->GetExpanded());
}

TEST_F(EntityTree, LevelsLimitPlaceholdersAndAutoExpand)
{
    s.tree->SetMaxLevels(2);
    TvxDataEntity_Tree* root = s.Add(nullptr, "root");
    TvxDataEntity_Tree* child = s.Add(root, "child");
    s.Add(child, "grandchild");
    s.tree->SetAutoExpandLevels(1);
    // The root is expanded automatically; its child, at level 1, is not, and the leaf at level 2
    // gets no placeholder.
    EXPECT_EQ(s.Nodes(), (Strings{"root", "  child", "    grandchild"}));
    EXPECT_TRUE(root->GetExpanded());
    EXPECT_FALSE(child->GetExpanded());
    child->SetExpanded(true);
    EXPECT_EQ(s.Nodes(), (Strings{"root", "  child", "    grandchild"}));
    EXPECT_FALSE(s.tree->Items()[2]->HasChildren());
    EXPECT_EQ(root->GetLevel(), 0);
    EXPECT_EQ(child->GetLevel(), 1);
}

TEST_F(EntityTree, MovesAndOwnerChangesKeepNodesInListOrder)
{
    s.tree->SetAutoExpandLevels(2);
    TvxDataEntity_Tree* a = s.Add(nullptr, "a");
    TvxDataEntity_Tree* b = s.Add(nullptr, "b");
    TvxDataEntity_Tree* c = s.Add(nullptr, "c");
    TvxDataEntity_Tree* a1 = s.Add(a, "a1");
    s.Add(a1, "a1x");
    s.Nodes();
    c->Move(0);
    // Expanded automatically, the leaves at levels 0 and 1 have lost their placeholders.
    EXPECT_EQ(s.Nodes(), (Strings{"c", "a", "  a1", "    a1x", "      Not initiated", "b"}));
    s.tree->ChangeOwner(a1, b);
    EXPECT_EQ(s.Nodes(), (Strings{"c", "a", "b", "  a1", "    a1x", "      Not initiated"}));
    // Under itself or under its own child: ignored, nothing changes.
    s.tree->ChangeOwner(a1, a1);
    s.tree->ChangeOwner(b, a1->GetChildren()->Item(0));
    EXPECT_EQ(b->ParentNode(), nullptr);
    EXPECT_EQ(b->GetLevel(), 0);
    EXPECT_EQ(s.Nodes(), (Strings{"c", "a", "b", "  a1", "    a1x", "      Not initiated"}));
    // An entity of another tree is refused.
    TreeScene other;
    TvxDataEntity_Tree* stranger = other.Add(nullptr, "x");
    EXPECT_THROW(s.tree->ChangeOwner(stranger, b), EInvalidArgument);
    EXPECT_THROW(s.tree->AddDataEntity(stranger), EInvalidArgument);
    EXPECT_EQ(other.Nodes(), (Strings{"x", "  Not initiated"}));
}

TEST_F(EntityTree, HiddenSubtreeLeavesAndComesBack)
{
    s.tree->SetAutoExpandLevels(3);
    TvxDataEntity_Tree* a = s.Add(nullptr, "a");
    TvxDataEntity_Tree* a1 = s.Add(a, "a1");
    s.Add(a1, "a1x");
    s.Add(nullptr, "b");
    EXPECT_EQ(s.Nodes(), (Strings{"a", "  a1", "    a1x", "b"}));
    a->Set_HideNode(true);
    EXPECT_EQ(s.Nodes(), (Strings{"b"}));
    EXPECT_EQ(a1->GetTreeNode(), nullptr);
    EXPECT_FALSE(a1->GetVisible());
    a->Set_HideNode(false);
    EXPECT_EQ(s.Nodes(), (Strings{"a", "  a1", "    a1x", "b"}));
    EXPECT_TRUE(a1->GetVisible());
}

TEST_F(EntityTree, DeletionRaisesTreeEventFirstAndForgetsTheNodes)
{
    TvxDataEntity_Tree* a = s.Add(nullptr, "a");
    s.Add(a, "a1");
    std::vector<std::string> events;
    s.tree->OnDataEntityDelete = [&](TvxTree_ComBasic*, TvxDataEntity_Tree* e) { events.push_back("tree " + e->GetText()); };
    s.tree->OnDeleteItem = [&](TObject*, TvxDataEntity* e) {
        events.push_back("item " + static_cast<TvxDataEntity_Tree*>(e)->GetText());
    };
    a->SetExpanded(true);
    s.Nodes();
    s.tree->SetSelected(a->GetTreeNode());
    s.tree->RemoveDataEntity(a);
    EXPECT_EQ(events, (Strings{"tree a", "item a", "tree a1", "item a1"}));
    EXPECT_EQ(s.tree->GetSelected(), nullptr);
    EXPECT_TRUE(s.Nodes().empty());
    EXPECT_EQ(s.tree->GetDataLists()->Count(), 1);
}

TEST_F(EntityTree, TextLimitIs255Characters)
{
    TvxDataEntity_Tree* e = s.Add(nullptr, "kept");
    e->SetText(std::string(255, 'x'));
    EXPECT_EQ(e->GetText().size(), 255u);
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { e->SetText(std::string(256, 'y')); }),
              "Treenodes only allow strings smaller than 255 chars");
    EXPECT_EQ(e->GetText(), std::string(255, 'x'));
    // Counted in characters: 255 two-byte characters fit.
    std::string umlauts;
    for (int i = 0; i < 255; ++i) umlauts += "\xC3\xA4";
    EXPECT_NO_THROW(e->SetText(umlauts));
}

TEST_F(EntityTree, ShiftRangesFollowNodePositionsThroughCollapsedBranches)
{
    s.tree->SetMultiSelect(true);
    TvxDataEntity_Tree* a = s.Add(nullptr, "a");
    TvxDataEntity_Tree* a1 = s.Add(a, "a1");
    TvxDataEntity_Tree* b = s.Add(nullptr, "b");
    TvxDataEntity_Tree* c = s.Add(nullptr, "c");
    TvxDataEntity_Tree* d = s.Add(nullptr, "d");
    a->SetExpanded(true);
    s.Nodes();
    a->GetTreeNode()->Collapse(false);  // a1 keeps its node, out of sight
    s.tree->UpdateMultiSelect(a, TShiftState());
    s.tree->UpdateMultiSelect(b, TShiftState{ssShift});
    EXPECT_EQ(SelectedTexts(*s.tree), (Strings{"a", "a1", "b"}));
    // Ctrl toggles; Ctrl+Shift adds a range to the selection.
    s.tree->UpdateMultiSelect(d, TShiftState{ssCtrl});
    EXPECT_EQ(SelectedTexts(*s.tree), (Strings{"a", "a1", "b", "d"}));
    s.tree->UpdateMultiSelect(c, TShiftState{ssShift, ssCtrl});
    EXPECT_EQ(SelectedTexts(*s.tree), (Strings{"a", "a1", "b", "c", "d"}));
    s.tree->UpdateMultiSelect(c, TShiftState());
    EXPECT_EQ(SelectedTexts(*s.tree), (Strings{"c"}));
    EXPECT_FALSE(a1->GetVisible());
    // Without MultiSelect, Shift changes nothing.
    s.tree->SetMultiSelect(false);
    s.tree->UpdateMultiSelect(a, TShiftState{ssShift});
    EXPECT_EQ(SelectedTexts(*s.tree), (Strings{"c"}));
}

TEST_F(EntityTree, ClicksSelectAndTheAnchorDiesWithItsNode)
{
    s.tree->SetMultiSelect(true);
    std::vector<TvxDataEntity_Tree*> e;
    for (int i = 0; i < 6; ++i) e.push_back(s.Add(nullptr, "e" + std::to_string(i)));
    s.tree->show();
    s.Nodes();
    s.Click(e[1]);
    EXPECT_EQ(s.tree->GetCurrentDataEntity(), e[1]);
    s.Click(e[3], Qt::ShiftModifier);
    EXPECT_EQ(SelectedTexts(*s.tree), (Strings{"e1", "e2", "e3"}));
    // A plain click on a selected entity of the selection keeps it alone on button up.
    s.Click(e[2]);
    EXPECT_EQ(SelectedTexts(*s.tree), (Strings{"e2"}));
    // The anchor's entity goes; the next Shift-click starts a fresh range at the clicked entity.
    s.tree->RemoveDataEntity(e[2]);
    s.Nodes();
    s.Click(e[4], Qt::ShiftModifier);
    s.Click(e[5], Qt::ShiftModifier);
    EXPECT_EQ(SelectedTexts(*s.tree), (Strings{"e4", "e5"}));
    // The right button reports the entity under the pointer (or none).
    std::vector<TvxDataEntity_Tree*> right;
    s.tree->OnRightClick = [&](TvxTree_ComBasic*, TvxDataEntity_Tree* x) { right.push_back(x); };
    const TPoint p = s.At(e[0]);
    SendMouse(s.tree.get(), QEvent::MouseButtonPress, p.X, p.Y, Qt::RightButton, Qt::RightButton);
    SendMouse(s.tree.get(), QEvent::MouseButtonPress, p.X, 300, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(right, (std::vector<TvxDataEntity_Tree*>{e[0], nullptr}));
}

TEST_F(EntityTree, CurrentEntityIsSetLaterAndReported)
{
    TvxDataEntity_Tree* a = s.Add(nullptr, "a");
    TvxDataEntity_Tree* b = s.Add(nullptr, "b");
    std::vector<TvxDataEntity_Tree*> reported;
    s.tree->OnCurrentDataEntityChange = [&](TvxTree_ComBasic*, TvxDataEntity_Tree* e) { reported.push_back(e); };
    s.tree->SetCurrentDataEntity(b);
    EXPECT_EQ(s.tree->GetSelected(), nullptr);
    TDoLater::DoAllNow();
    EXPECT_EQ(s.tree->GetCurrentDataEntity(), b);
    // A platform selection change cancels a pending one.
    s.tree->SetCurrentDataEntity(b);
    s.tree->SetSelected(a->GetTreeNode());
    TDoLater::DoAllNow();
    EXPECT_EQ(s.tree->GetCurrentDataEntity(), a);
    EXPECT_EQ(reported, (std::vector<TvxDataEntity_Tree*>{b, a}));
    EXPECT_EQ(s.tree->GetNextVisible(a), b);
    EXPECT_EQ(s.tree->GetPrevVisible(a), nullptr);
    EXPECT_EQ(s.tree->GetDataEntityFromRow(0), a);
    EXPECT_EQ(s.tree->GetDataEntityFromRow(1), b);
    EXPECT_EQ(s.tree->GetDataEntityFromRow(2), nullptr);
}

TEST_F(EntityTree, LabelEditWaitsASecondAfterTheCurrentChange)
{
    TTestClockScope time;
    TvxDataEntity_Tree* a = s.Add(nullptr, "a");
    a->SetCanEdit(true);
    std::vector<std::string> pushed;
    s.tree->OnValueChanged = [&](TObject*, TvxDataEntity* e) {
        pushed.push_back(static_cast<TvxDataEntity_Tree*>(e)->GetText());
    };
    s.tree->show();
    s.tree->UpdateMultiSelect(a, TShiftState());
    TDoLater::DoAllNow();
    EXPECT_FALSE(a->GetTreeNode()->EditText());
    time.Clock().Advance(1000);
    ASSERT_TRUE(a->GetTreeNode()->EditText());
    s.tree->GetEditControl()->SetEditText("renamed");
    a->GetTreeNode()->EndEdit(false);
    EXPECT_EQ(a->GetText(), "renamed");
    EXPECT_EQ(pushed, (Strings{"renamed"}));
    // An entity that may not be edited, or whose answer fails, is not.
    a->SetCanEdit(false);
    EXPECT_FALSE(a->GetTreeNode()->EditText());
    s.tree->OnBeforeCanEditItem = [](TObject*, TvxDataEntity*) { throw std::runtime_error("no"); };
    a->SetCanEdit(true);
    EXPECT_FALSE(a->GetTreeNode()->EditText());
}

TEST_F(EntityTree, SelectedEntitiesDrawInSystemColoursByFocus)
{
    TvxDataEntity_Tree* a = s.Add(nullptr, "selected");
    TvxDataEntity_Tree* b = s.Add(nullptr, "plain");
    s.Nodes();
    a->SetSelected(true);
    const TRect ra = s.tree->GetRect(a), rb = s.tree->GetRect(b);
    QImage img = s.tree->GrabImage();
    ExpectPixels(img, {{ra.Left + 1, ra.Top + 1, ColorToRGB(clBtnFace)},
                       {rb.Left + 1, rb.Top + 1, ColorToRGB(clWindow)}});
    s.tree->show();
    s.tree->activateWindow();
    QApplication::processEvents();
    s.tree->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(s.tree->Focused());
    img = s.tree->GrabImage();
    ExpectPixels(img, {{ra.Left + 1, ra.Top + 1, ColorToRGB(clHighlight)},
                       {rb.Left + 1, rb.Top + 1, ColorToRGB(clWindow)}});
}

TEST_F(EntityTree, ClearEmptiesEverythingAndTheTreeStaysUsable)
{
    for (int i = 0; i < 50; ++i) {
        TvxDataEntity_Tree* r = s.Add(nullptr, "r");
        for (int j = 0; j < 3; ++j) s.Add(s.Add(r, "c"), "g");
    }
    s.tree->ExpandLevels(2);
    EXPECT_GT(s.tree->Items().GetCount(), 300);
    s.tree->Clear();
    EXPECT_TRUE(s.Nodes().empty());
    EXPECT_EQ(s.tree->GetDataLists()->Count(), 1);
    s.Add(nullptr, "again");
    EXPECT_EQ(s.Nodes(), (Strings{"again", "  Not initiated"}));
}

TEST_F(EntityTree, ShiftArrowsExtendTheSelectionAndScrollingReportsTheTopEntity)
{
    s.tree->SetMultiSelect(true);
    s.tree->SetBounds(0, 0, 240, 80);  // five rows in view
    std::vector<TvxDataEntity_Tree*> e;
    for (int i = 0; i < 20; ++i) e.push_back(s.Add(nullptr, "e" + std::to_string(i)));
    s.tree->show();
    s.Click(e[0]);
    auto key = [&](int qtKey, Qt::KeyboardModifiers mods) {
        QKeyEvent down(QEvent::KeyPress, qtKey, mods);
        QCoreApplication::sendEvent(s.tree.get(), &down);
        TDoLater::DoAllNow();
    };
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(SelectedTexts(*s.tree), (Strings{"e0", "e1", "e2"}));
    key(Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(SelectedTexts(*s.tree), (Strings{"e3"}));

    int topChanges = 0;
    s.tree->OnTopItemChanged = [&](TObject*) { ++topChanges; };
    s.tree->SetTopItem(e[10]);
    EXPECT_EQ(s.tree->GetTopItem(), e[10]);
    key(Qt::Key_End, Qt::NoModifier);
    EXPECT_EQ(s.tree->GetCurrentDataEntity(), e[19]);
    EXPECT_EQ(s.tree->GetTopItem(), e[15]);
    EXPECT_EQ(topChanges, 2);
    // Setting the same top again reports nothing.
    s.tree->SetTopItem(e[15]);
    EXPECT_EQ(topChanges, 2);
}
