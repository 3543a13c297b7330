// Menu items and popup menus: the item tree, and the chosen item's click arriving as a message.
#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/menus/vxMenus.h>

#include <gtest/gtest.h>

using namespace vxplan;

TEST(MenuItems, TreeOfItemsWithIndexesAndClearErrors)
{
    TMenuItem root;
    auto* a = new TMenuItem();
    auto* b = new TMenuItem();
    auto* c = new TMenuItem();
    root.Add(a);
    root.Add(c);
    root.Insert(1, b);
    EXPECT_EQ(root.Count(), 3);
    EXPECT_EQ(b->GetMenuIndex(), 1);
    EXPECT_EQ(b->GetParent(), &root);
    EXPECT_THROW(root.GetItems(3), EListError);
    EXPECT_THROW(root.Insert(5, new TMenuItem(&root)), EListError);
    EXPECT_THROW(a->Add(&root), EInvalidArgument) << "an item cannot hold its own parent";
    EXPECT_THROW(a->Add(a), EInvalidArgument);
    // Moving an item takes it from its old parent.
    a->Add(c);
    EXPECT_EQ(root.Count(), 2);
    EXPECT_EQ(c->GetParent(), a);
    // Freeing an item takes it out of its parent.
    delete b;
    EXPECT_EQ(root.Count(), 1);
    EXPECT_EQ(c->GetMenuIndex(), 0);
    EXPECT_EQ(TMenuItem().GetMenuIndex(), -1);
}

TEST(PopupMenu, TheChosenItemIsClickedThroughTheMessageQueue)
{
    TPopupMenu menu;
    auto* first = new TMenuItem();
    auto* second = new TMenuItem();
    menu.Items().Add(first);
    menu.Items().Add(second);
    int popups = 0, clicks = 0;
    TObject* clicked = nullptr;
    menu.OnPopup = [&](TObject*) { ++popups; };
    second->OnClick = [&](TObject* s) {
        ++clicks;
        clicked = s;
    };
    TPoint shownAt;
    SetPopupHook([&](TPopupMenu& m, TPoint p) {
        shownAt = p;
        return m.Items().GetItems(1);
    });
    menu.Popup(100, 200);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(shownAt, Point(100, 200));
    EXPECT_EQ(clicks, 0) << "the click comes after the menu closed";
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(clicked, second);

    // An item freed before its click arrives is not clicked; a disabled one is never chosen.
    menu.Popup(0, 0);
    delete second;
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    first->SetEnabled(false);
    first->OnClick = [&](TObject*) { ++clicks; };
    SetPopupHook([](TPopupMenu& m, TPoint) { return m.Items().GetItems(0); });
    menu.Popup(0, 0);
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    SetPopupHook(nullptr);
}
