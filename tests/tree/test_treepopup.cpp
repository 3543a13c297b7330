// The entity tree as a popup menu, driven through the popup hook and item clicks as the menu
// itself drives them (a submenu's item is clicked as it opens).
#include <vxplan/tree/vxTreePopup.h>

#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/graphics/vxImageList.h>
#include <vxplan/platform/menus/vxMenuColumns_p.h>
#include <vxplan/platform/menus/vxMenuPlacement_p.h>
#include <vxplan/platform/menus/vxMenuSession_p.h>

#include "support/vxMenuDriver.h"
#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace vxplan;

namespace {

// Entities whose text starts with "leaf" can have no children (plain items, no submenu).
class TLeafTree : public TvxTree {
public:
    using TvxTree::TvxTree;
    bool NeedsDummyNode(TvxDataEntity_Tree* e) override { return e->GetText().rfind("leaf", 0) != 0; }
};

struct PopupScene {
    std::unique_ptr<TLeafTree> tree = std::make_unique<TLeafTree>();
    TvxTreePopup popup;
    std::vector<TvxDataEntity_Tree*> picks;
    int popups = 0;
    PopupScene()
    {
        tree->SetBounds(0, 0, 200, 300);
        popup.SetTree(tree.get());
        popup.OnUserPickDataEntity = [this](TvxTreePopup* sender, TvxDataEntity_Tree* e) {
            EXPECT_EQ(sender, &popup);
            picks.push_back(e);
        };
        popup.OnPopup = [this](TObject*) { ++popups; };
    }
    ~PopupScene() { SetPopupHook(nullptr); }
    TvxDataEntity_Tree* Add(TvxDataEntity_Tree* parent, const std::string& text)
    {
        TvxDataEntity_Tree* e = tree->AddDataEntity(parent);
        e->SetText(text);
        return e;
    }
    // Pops the menu up; pick chooses the item to return (null: dismissed) from the open menu.
    void Popup(std::function<TMenuItem*(TMenuItem& items)> pick)
    {
        SetPopupHook([&](TPopupMenu& m, TPoint) { return pick(m.Items()); });
        popup.Popup(0, 0);
        Application().ProcessMessages();
    }
};

// A host's own item with the caption, added to the parent.
TMenuItem* AddHostItem(TMenuItem& parent, const std::string& caption)
{
    auto* item = new TMenuItem();
    item->SetCaption(caption);
    parent.Add(item);
    return item;
}

std::vector<std::string> Shown(TMenuItem& level)
{
    std::vector<std::string> out;
    for (int i = 0; i < level.Count(); ++i)
        if (level.GetItems(i)->GetVisible()) out.push_back(level.GetItems(i)->GetCaption());
    return out;
}

TMenuItem* Find(TMenuItem& level, const std::string& caption)
{
    for (int i = 0; i < level.Count(); ++i)
        if (level.GetItems(i)->GetVisible() && level.GetItems(i)->GetCaption() == caption) return level.GetItems(i);
    return nullptr;
}

}  // namespace

TEST(TreePopup, SeventyRootEntitiesMakeColumnsOf29And30And11)
{
    PopupScene s;
    for (int i = 0; i < 70; ++i) s.Add(nullptr, "leaf " + std::to_string(i));
    TImageList images;
    s.tree->SetImages(&images);
    std::vector<int> columns;
    s.Popup([&](TMenuItem& items) {
        TMenuSession session(s.popup.GetImages());
        TMenuColumnsPopup shown(session, items, nullptr);
        for (int i = 0; i < shown.ItemCount(); ++i) {
            if (static_cast<int>(columns.size()) <= shown.ColumnOf(i)) columns.push_back(0);
            ++columns.back();
        }
        EXPECT_EQ(shown.BarLines().size(), 2u);
        return nullptr;
    });
    EXPECT_EQ(columns, (std::vector<int>{29, 30, 11}));
    EXPECT_EQ(s.popup.GetImages(), &images) << "the menu shows the tree's images";
    EXPECT_EQ(s.popups, 0) << "the popup builds its items instead of raising OnPopup";
    EXPECT_TRUE(s.picks.empty());
}

TEST(TreePopup, ASubmenuListsTheChildrenTheHostAddsOnExpandingOnce)
{
    PopupScene s;
    TvxDataEntity_Tree* branch = s.Add(nullptr, "Branch");
    s.Add(nullptr, "leaf root");
    int expandings = 0;
    s.tree->OnExpanding = [&](TObject*, TTreeNode* node, bool&) {
        ++expandings;
        TvxDataEntity_Tree* e = s.tree->GetDataEntityFromNode(node);
        if (e == branch && e->GetChildren()->Count() == 0) {
            s.Add(e, "leaf a");
            s.Add(e, "Twig");
        }
    };
    TvxDataEntity_Tree* twig = nullptr;
    s.Popup([&](TMenuItem& items) -> TMenuItem* {
        EXPECT_EQ(Shown(items), (std::vector<std::string>{"Branch", "leaf root"}));
        TMenuItem* sub = Find(items, "Branch");
        EXPECT_EQ(Shown(*sub), (std::vector<std::string>{"Branch"})) << "until it opens, the entity itself";
        sub->Click();
        EXPECT_EQ(Shown(*sub), (std::vector<std::string>{"leaf a", "Twig"}));
        EXPECT_TRUE(branch->GetExpanded());
        // Opening it again changes nothing.
        TMenuItem* first = Find(*sub, "leaf a");
        sub->Click();
        EXPECT_EQ(sub->Count(), 4) << "the entry and the separator stay, hidden";
        EXPECT_EQ(Find(*sub, "leaf a"), first);
        // A child without children keeps its own entry, which picks it.
        twig = branch->GetChildren()->Item(1);
        TMenuItem* twigMenu = Find(*sub, "Twig");
        twigMenu->Click();
        EXPECT_EQ(Shown(*twigMenu), (std::vector<std::string>{"Twig"}));
        return twigMenu->GetItems(0);
    });
    EXPECT_EQ(expandings, 2);
    EXPECT_EQ(s.picks, (std::vector<TvxDataEntity_Tree*>{twig}));
}

TEST(TreePopup, HostItemsSurviveRebuildsAndEntityItemsGoWhereAsked)
{
    PopupScene s;
    s.Add(nullptr, "leaf 1");
    s.Add(nullptr, "leaf 2");
    AddHostItem(s.popup.Items(), "Host");
    TMenuItem* under = AddHostItem(s.popup.Items(), "Entities");
    AddHostItem(*under, "Kept");
    for (int round = 0; round < 2; ++round)
        s.Popup([&](TMenuItem& items) {
            EXPECT_EQ(Shown(items), (std::vector<std::string>{"Host", "Entities", "leaf 1", "leaf 2"}));
            return nullptr;
        });
    s.popup.SetMenuToAddTo(under);
    s.Popup([&](TMenuItem& items) {
        EXPECT_EQ(Shown(items), (std::vector<std::string>{"Host", "Entities"}));
        EXPECT_EQ(Shown(*under), (std::vector<std::string>{"Kept", "leaf 1", "leaf 2"}));
        return Find(*under, "leaf 2");
    });
    EXPECT_EQ(s.picks, (std::vector<TvxDataEntity_Tree*>{s.tree->GetRootDataList()->Item(1)}));
    // The item to add to going away is forgotten; the entities go back to the popup's items.
    delete under;
    EXPECT_EQ(s.popup.GetMenuToAddTo(), nullptr);
    EXPECT_EQ(s.popup.GetComponentCount(), 0) << "the entity items it held are freed with it";
    s.Popup([&](TMenuItem& items) {
        EXPECT_EQ(Shown(items), (std::vector<std::string>{"Host", "leaf 1", "leaf 2"}));
        return nullptr;
    });
}

TEST(TreePopup, PickEnablingAndPicksThatCannotBeReported)
{
    PopupScene s;
    TvxDataEntity_Tree* open = s.Add(nullptr, "leaf open");
    TvxDataEntity_Tree* shut = s.Add(nullptr, "leaf shut");
    TvxDataEntity_Tree* shutBranch = s.Add(nullptr, "Shut branch");
    s.popup.OnCheckUserPickEnable = [&](TvxTreePopup*, TvxDataEntity_Tree* e) { return e != shut && e != shutBranch; };
    s.Popup([&](TMenuItem& items) {
        EXPECT_TRUE(Find(items, "leaf open")->GetEnabled());
        EXPECT_FALSE(Find(items, "leaf shut")->GetEnabled());
        // The submenu opens; the entity's own entry inside it is what is disabled.
        TMenuItem* branch = Find(items, "Shut branch");
        EXPECT_TRUE(branch->GetEnabled());
        EXPECT_FALSE(branch->GetItems(0)->GetEnabled());
        return Find(items, "leaf shut");
    });
    EXPECT_TRUE(s.picks.empty()) << "a disabled item is never chosen";

    // An entity freed between the menu and the click is not reported.
    s.Popup([&](TMenuItem& items) {
        TMenuItem* item = Find(items, "leaf open");
        s.tree->RemoveDataEntity(open);
        return item;
    });
    EXPECT_TRUE(s.picks.empty());

    // Nor one of a tree that has gone; the menu then holds no entity items.
    TMenuItem* stale = nullptr;
    s.Popup([&](TMenuItem& items) {
        stale = Find(items, "Shut branch")->GetItems(0);
        return nullptr;
    });
    s.tree.reset();
    EXPECT_EQ(s.popup.GetTree(), nullptr);
    stale->Click();
    s.Popup([&](TMenuItem& items) {
        EXPECT_EQ(items.Count(), 0);
        return nullptr;
    });
    EXPECT_TRUE(s.picks.empty());
}

TEST(TreePopup, ARightClickNearTheScreenCornerOpensLevelsThatFitTheScreen)
{
    PopupScene s;
    for (int d = 0; d < 45; ++d) {
        TvxDataEntity_Tree* department = s.Add(nullptr, "Department " + std::to_string(d + 1));
        for (int t = 0; t < 8; ++t) s.Add(department, "leaf team " + std::to_string(t + 1));
    }
    const TRect area = MenuAreaAt(Point(0, 0));
    ASSERT_FALSE(area.IsEmpty());
    // The tree in the bottom-right corner of the screen; the menu opens where it is clicked.
    s.tree->SetBounds(area.Right - 220, area.Bottom - 200, 220, 200);
    s.tree->show();
    s.tree->OnRightClick = [&](TvxTree_ComBasic*, TvxDataEntity_Tree*) {
        const TPoint at = s.tree->ClientToScreen(Point(200, 180));
        s.popup.Popup(at.X, at.Y);
    };
    const auto within = [&](const TRect& r) {
        return r.Left >= area.Left && r.Top >= area.Top && r.Right <= area.Right && r.Bottom <= area.Bottom;
    };
    int checkedLevels = 0;
    SetPopupHook([&](TPopupMenu& menu, TPoint at) {
        TMenuSession session(menu.GetImages());
        TMenuColumnsPopup* root = nullptr;
        TRect department;
        test::TMenuDriver drive(
            session, {[&] {
                          root = dynamic_cast<TMenuColumnsPopup*>(QApplication::activePopupWidget());
                          ASSERT_TRUE(root);
                          ASSERT_EQ(root->ItemCount(), 45);
                          for (int i = 0; i < root->ItemCount(); ++i) {
                              const TRect r = root->ItemRect(i);
                              const QPoint topLeft = root->mapToGlobal(QPoint(r.Left, r.Top));
                              EXPECT_TRUE(within(Bounds(topLeft.x(), topLeft.y(), r.Width(), r.Height())))
                                  << "Department " << i + 1 << " runs off the screen";
                          }
                          ++checkedLevels;
                          // A press on a department low in the second column opens its teams.
                          const TRect r = root->ItemRect(40);
                          const QPoint topLeft = root->mapToGlobal(QPoint(r.Left, r.Top));
                          department = Bounds(topLeft.x(), topLeft.y(), r.Width(), r.Height());
                          test::SendMouse(root, QEvent::MouseButtonPress, r.Left + 5, r.Top + 5, Qt::LeftButton, Qt::LeftButton);
                      },
                      [] {},
                      [&] {
                          auto* teams = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                          ASSERT_TRUE(teams);
                          EXPECT_EQ(teams->actions().size(), 8);
                          const QRect g = teams->geometry();
                          EXPECT_TRUE(within(Bounds(g.x(), g.y(), g.width(), g.height())));
                          EXPECT_LE(g.right() + 1, department.Left) << "on the other side of its department";
                          ++checkedLevels;
                          session.Cancel();
                      }});
        return session.Run(menu.Items(), at);
    });
    test::SendMouse(s.tree.get(), QEvent::MouseButtonPress, 200, 180, Qt::RightButton, Qt::RightButton);
    test::SendMouse(s.tree.get(), QEvent::MouseButtonRelease, 200, 180, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(checkedLevels, 2);
    EXPECT_TRUE(s.picks.empty());
}
