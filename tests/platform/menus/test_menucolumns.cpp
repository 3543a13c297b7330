// Menu levels in columns: layout and pixels, and the interactive menu driven by keys and mouse.
#include <vxplan/platform/menus/vxMenuColumns_p.h>
#include <vxplan/platform/menus/vxMenuPlacement_p.h>
#include <vxplan/platform/menus/vxMenuSession_p.h>
#include <vxplan/platform/menus/vxMenus.h>

#include "support/vxMenuDriver.h"
#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <climits>
#include <functional>
#include <string>

using namespace vxplan;
using vxplan::test::CountPixels;
using vxplan::test::ExpectPixels;
using vxplan::test::PixelAt;
using vxplan::test::SendMouse;

namespace {

TMenuItem* AddItem(TMenuItem& parent, const std::string& caption, TMenuBreak brk = TMenuBreak::mbNone)
{
    auto* item = new TMenuItem();
    item->SetCaption(caption);
    item->SetBreak(brk);
    parent.Add(item);
    return item;
}

using TDriver = vxplan::test::TMenuDriver;

QWidget* TopLevel() { return QApplication::activePopupWidget(); }
TMenuColumnsPopup* TopColumns() { return dynamic_cast<TMenuColumnsPopup*>(TopLevel()); }

void Key(int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(TopLevel(), &press);
}

void ClickItem(TMenuColumnsPopup* popup, int index)
{
    const TRect r = popup->ItemRect(index);
    const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    SendMouse(popup, QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
    if (popup->isVisible()) SendMouse(popup, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
}

}  // namespace

TEST(MenuColumns, BreaksStartColumnsAndABarBreakDrawsAnEtchedLine)
{
    TMenuItem root;
    for (int i = 0; i < 7; ++i)
        AddItem(root, "Item " + std::to_string(i), i == 3 ? TMenuBreak::mbBarBreak : i == 5 ? TMenuBreak::mbBreak : TMenuBreak::mbNone);
    AddItem(root, "Hidden")->SetVisible(false);
    TMenuSession session;
    TMenuColumnsPopup popup(session, root, nullptr);
    ASSERT_EQ(popup.ItemCount(), 7) << "hidden items take no row";
    EXPECT_EQ(popup.ColumnCount(), 3);
    EXPECT_EQ(popup.ColumnOf(2), 0);
    EXPECT_EQ(popup.ColumnOf(3), 1);
    EXPECT_EQ(popup.ColumnOf(6), 2);
    EXPECT_EQ(popup.ItemRect(3).Top, popup.ItemRect(0).Top) << "a new column starts at the top";
    EXPECT_GT(popup.ItemRect(3).Left, popup.ItemRect(0).Right);
    ASSERT_EQ(popup.BarLines().size(), 1u) << "only the bar break draws a line";

    const QImage image = popup.Render();
    const int bar = popup.BarLines()[0];
    const int y = (popup.ItemRect(1).Top + popup.ItemRect(1).Bottom) / 2;
    EXPECT_LT(popup.ItemRect(0).Right, bar);
    EXPECT_GT(popup.ItemRect(3).Left, bar + 1);
    ExpectPixels(image, {{bar, y, ColorToRGB(clBtnShadow)}, {bar + 1, y, ColorToRGB(clBtnHighlight)}});
    // The gap before the plain break's column is menu colour all the way down.
    const int gap = popup.ItemRect(5).Left - 3;
    EXPECT_EQ(CountPixels(image, ColorToRGB(clMenu), gap, 3, gap + 1, image.height() - 3), image.height() - 6);
    // The raised edge.
    ExpectPixels(image, {{1, 5, ColorToRGB(clBtnHighlight)}, {image.width() - 1, 5, ColorToRGB(cl3DDkShadow)}});
}

TEST(MenuColumns, HotDisabledCheckedAndSubmenuItemsDrawTheirMarks)
{
    TMenuItem root;
    AddItem(root, "Plain");
    TMenuItem* off = AddItem(root, "Disabled");
    off->SetEnabled(false);
    TMenuItem* checked = AddItem(root, "Checked", TMenuBreak::mbBarBreak);
    checked->SetChecked(true);
    TMenuItem* sub = AddItem(root, "Sub");
    AddItem(*sub, "Child");
    AddItem(root, "-");
    TMenuSession session;
    TMenuColumnsPopup popup(session, root, nullptr);
    auto count = [&](const QImage& image, TColor color, const TRect& r) {
        return CountPixels(image, ColorToRGB(color), r.Left, r.Top, r.Right, r.Bottom);
    };
    QImage image = popup.Render();
    const TRect plainRect = popup.ItemRect(0);
    EXPECT_EQ(count(image, clHighlight, plainRect), 0);
    EXPECT_GT(count(image, clMenuText, plainRect), 10) << "caption ink";
    EXPECT_GT(count(image, clGrayText, popup.ItemRect(1)), 10);
    EXPECT_EQ(count(image, clMenuText, popup.ItemRect(1)), 0);
    // The check mark in the gutter, the arrow at the right end.
    const TRect c = popup.ItemRect(2);
    EXPECT_EQ(count(image, clMenuText, Rect(c.Left, c.Top, c.Left + 20, c.Bottom)), 21);
    const TRect s = popup.ItemRect(3);
    EXPECT_EQ(count(image, clMenuText, Rect(s.Right - 14, s.Top, s.Right, s.Bottom)), 16);
    EXPECT_EQ(count(image, clMenuText, Rect(c.Right - 14, c.Top, c.Right, c.Bottom)), 0);
    const TRect line = popup.ItemRect(4);
    EXPECT_EQ(PixelAt(image, line.Left + 5, line.Top + 4), ColorToRGB(clBtnShadow));
    EXPECT_EQ(popup.ItemAt(Point(line.Left + 5, line.Top + 4)), -1) << "a separator is never hot";

    popup.SetHotIndex(0);
    image = popup.Render();
    const int area = (plainRect.Right - plainRect.Left) * (plainRect.Bottom - plainRect.Top);
    EXPECT_GT(count(image, clHighlight, plainRect), area * 3 / 4);
    EXPECT_GT(count(image, clHighlightText, plainRect), 10);
    EXPECT_EQ(count(image, clMenuText, plainRect), 0);
}

TEST(MenuColumns, ArrowsMoveAcrossColumnsAndEnterOrEscapeEndTheMenu)
{
    TMenuItem root;
    for (int i = 0; i < 6; ++i) AddItem(root, "Item " + std::to_string(i), i == 3 ? TMenuBreak::mbBarBreak : TMenuBreak::mbNone);
    AddItem(root, "Off")->SetEnabled(false);
    {
        // Down twice (row 1), Right to the next column's row 1 (item 4), Down, Enter.
        TMenuSession session;
        TDriver drive(session, {[] { Key(Qt::Key_Down); }, [] { Key(Qt::Key_Down); },
                                [] { Key(Qt::Key_Right); }, [] { EXPECT_EQ(TopColumns()->HotIndex(), 4); },
                                [] { Key(Qt::Key_Down); }, [] { Key(Qt::Key_Enter); }});
        EXPECT_EQ(session.Run(root, Point(50, 50)), root.GetItems(5));
    }
    {
        // Right from the last column wraps to the first; Up from the first item wraps to the last;
        // Enter on a disabled item keeps the menu open; Escape dismisses it.
        TMenuSession session;
        TDriver drive(session, {[] { Key(Qt::Key_Up); },
                                [] { EXPECT_EQ(TopColumns()->HotIndex(), 6); },
                                [] { Key(Qt::Key_Right); },
                                [] { EXPECT_EQ(TopColumns()->ColumnOf(TopColumns()->HotIndex()), 0); },
                                [] { Key(Qt::Key_End); }, [] { Key(Qt::Key_Return); },
                                [] { ASSERT_TRUE(TopColumns()); }, [] { Key(Qt::Key_Escape); }});
        EXPECT_EQ(session.Run(root, Point(50, 50)), nullptr);
        EXPECT_EQ(TopLevel(), nullptr);
    }
}

TEST(MenuColumns, SubmenusOpenAfterTheirClickInColumnsOrOnQMenu)
{
    TMenuItem root;
    AddItem(root, "First");
    TMenuItem* wide = AddItem(root, "Wide", TMenuBreak::mbBreak);
    AddItem(*wide, "placeholder");
    TMenuItem* narrow = AddItem(root, "Narrow");
    AddItem(*narrow, "placeholder");
    int wideClicks = 0;
    // The click fills the submenu: the sub-items shown are those after it.
    wide->OnClick = [&](TObject*) {
        ++wideClicks;
        wide->Clear();
        for (int i = 0; i < 4; ++i) AddItem(*wide, "W" + std::to_string(i), i == 2 ? TMenuBreak::mbBarBreak : TMenuBreak::mbNone);
    };
    {
        TMenuSession session;
        TMenuColumnsPopup* rootLevel = nullptr;
        TDriver drive(session, {[&] {
                                    rootLevel = TopColumns();
                                    ClickItem(rootLevel, 1);
                                },
                                [&] {
                                    TMenuColumnsPopup* child = TopColumns();
                                    ASSERT_TRUE(child && child != rootLevel);
                                    EXPECT_EQ(&child->Level(), wide);
                                    EXPECT_EQ(child->ColumnCount(), 2);
                                    EXPECT_EQ(child->HotIndex(), -1) << "opened by the mouse, nothing is hot yet";
                                    ClickItem(child, 3);
                                }});
        TMenuItem* chosen = session.Run(root, Point(10, 10));
        EXPECT_EQ(chosen, wide->GetItems(3));
        EXPECT_EQ(wideClicks, 1);
    }
    {
        // Keys: Right opens the submenu with its first item hot, Left closes it again, a press on the
        // root level closes the submenu and lands there; a submenu without breaks is a QMenu.
        TMenuSession session;
        TDriver drive(session, {[] { Key(Qt::Key_Right); }, [] { Key(Qt::Key_Right); }, [] { Key(Qt::Key_Right); },
                                [&] { EXPECT_EQ(TopColumns()->HotIndex(), 0); }, [] { Key(Qt::Key_Left); },
                                [&] { EXPECT_EQ(&TopColumns()->Level(), &root); }, [] { Key(Qt::Key_Right); },
                                [&] {
                                    auto* child = TopColumns();
                                    ASSERT_EQ(&child->Level(), wide);
                                    auto* parent = dynamic_cast<TMenuColumnsPopup*>(session.Levels()[0].data());
                                    const TRect r = parent->ItemRect(2);
                                    const QPoint global = parent->mapToGlobal(QPoint(r.Left + 5, r.Top + 5));
                                    const QPoint local = child->mapFromGlobal(global);
                                    SendMouse(child, QEvent::MouseButtonPress, local.x(), local.y(), Qt::LeftButton, Qt::LeftButton);
                                },
                                [&] { EXPECT_NE(qobject_cast<QMenu*>(TopLevel()), nullptr); },
                                [] { Key(Qt::Key_Escape); }, [] { Key(Qt::Key_Escape); }});
        EXPECT_EQ(session.Run(root, Point(10, 10)), nullptr);
        EXPECT_EQ(wideClicks, 3);
    }
}

TEST(MenuColumns, APressOutsideEndsTheMenuAndAFreedItemIsNeverChosen)
{
    TMenuItem root;
    AddItem(root, "A");
    AddItem(root, "B", TMenuBreak::mbBarBreak);
    TMenuItem* off = AddItem(root, "Off");
    off->SetEnabled(false);
    {
        TMenuSession session;
        TDriver drive(session, {[] {
                                    // The release of the press that opened the menu chooses nothing.
                                    const TRect r = TopColumns()->ItemRect(0);
                                    SendMouse(TopColumns(), QEvent::MouseButtonRelease, r.Left + 5, r.Top + 5, Qt::RightButton, Qt::NoButton);
                                },
                                [] { ClickItem(TopColumns(), 2); },
                                [] { ASSERT_TRUE(TopColumns()) << "a disabled item is not chosen"; },
                                [] { SendMouse(TopColumns(), QEvent::MouseButtonPress, -4, -4, Qt::LeftButton, Qt::LeftButton); }});
        EXPECT_EQ(session.Run(root, Point(10, 10)), nullptr);
    }
    {
        // An item freed while its menu is open closes its level and cannot be chosen.
        TMenuSession session;
        TDriver drive(session, {[&] { delete root.GetItems(0); }, [] { EXPECT_EQ(TopLevel(), nullptr); }});
        EXPECT_EQ(session.Run(root, Point(10, 10)), nullptr);
    }
}

TEST(MenuColumns, AQMenuSubmenuThatGainsBreaksIsShownInColumns)
{
    TMenuItem root;
    TMenuItem* sub = AddItem(root, "Entities");
    AddItem(*sub, "placeholder");
    sub->OnClick = [&](TObject*) {
        sub->Clear();
        for (int i = 0; i < 40; ++i) AddItem(*sub, "E" + std::to_string(i), i == 30 ? TMenuBreak::mbBarBreak : TMenuBreak::mbNone);
    };
    TMenuSession session;
    TDriver drive(session, {[] {
                                auto* menu = qobject_cast<QMenu*>(TopLevel());
                                ASSERT_TRUE(menu) << "a level without breaks is a QMenu";
                                menu->actions().at(0)->menu()->popup(menu->mapToGlobal(QPoint(80, 0)));
                            },
                            [] {},
                            [&] {
                                ASSERT_TRUE(TopColumns());
                                EXPECT_EQ(TopColumns()->ItemCount(), 40);
                                EXPECT_EQ(TopColumns()->ColumnCount(), 2);
                                Key(Qt::Key_Down);
                            },
                            [] { Key(Qt::Key_Down); },
                            [] { Key(Qt::Key_Return); }});
    TMenuItem* chosen = session.Run(root, Point(10, 10));
    EXPECT_EQ(chosen, sub->GetItems(1));
}

TEST(MenuPlacement, ALevelIsMovedUpOrToTheOtherSideOfItsItemToFitTheArea)
{
    const TRect area = Rect(0, 0, 800, 600);
    const TSize size{100, 200};
    EXPECT_EQ(PlaceMenuLevel(Point(10, 20), size, area), Point(10, 20)) << "room enough: where asked";
    EXPECT_EQ(PlaceMenuLevel(Point(700, 20), size, area), Point(700, 20)) << "exactly to the right edge";
    EXPECT_EQ(PlaceMenuLevel(Point(750, 20), size, area), Point(650, 20)) << "left of the point";
    EXPECT_EQ(PlaceMenuLevel(Point(750, 20), size, area, Rect(600, 23, 748, 42)), Point(500, 20))
        << "left of the parent item";
    EXPECT_EQ(PlaceMenuLevel(Point(10, 500), size, area), Point(10, 400)) << "moved up";
    EXPECT_EQ(PlaceMenuLevel(Point(750, 590), size, area, Rect(600, 593, 748, 612)), Point(500, 400));
    // No room on either side: kept inside; larger than the area: its top-left inside.
    EXPECT_EQ(PlaceMenuLevel(Point(100, 20), TSize{120, 10}, Rect(0, 0, 150, 600), Rect(50, 20, 100, 39)), Point(0, 20));
    EXPECT_EQ(PlaceMenuLevel(Point(300, 300), TSize{900, 700}, area), Point(0, 0));
    // A second screen to the right of the first, and points at the ends of int.
    const TRect second = Rect(1920, 0, 3200, 1024);
    EXPECT_EQ(PlaceMenuLevel(Point(3150, 1000), size, second, Rect(3000, 1000, 3150, 1019)), Point(2900, 824));
    EXPECT_EQ(PlaceMenuLevel(Point(INT_MAX, INT_MAX), size, second, Rect(INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX)),
              Point(3100, 824));
    EXPECT_EQ(PlaceMenuLevel(Point(INT_MIN, INT_MIN), size, second, Rect(INT_MIN, INT_MIN, INT_MIN + 5, INT_MIN + 5)),
              Point(1920, 0));
    EXPECT_EQ(PlaceMenuLevel(Point(5, 6), TSize{-3, -4}, area), Point(5, 6)) << "a negative size counts as none";
}

namespace {

TRect OnScreen(const QWidget& level, const TRect& r)
{
    const QPoint topLeft = level.mapToGlobal(QPoint(r.Left, r.Top));
    return Bounds(topLeft.x(), topLeft.y(), r.Width(), r.Height());
}

bool Within(const TRect& inner, const TRect& outer)
{
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right && inner.Bottom <= outer.Bottom;
}

void ExpectEveryEntryOnScreen(const TMenuColumnsPopup& level, const char* what)
{
    const TRect area = MenuAreaAt(Point(0, 0));
    for (int i = 0; i < level.ItemCount(); ++i)
        EXPECT_TRUE(Within(OnScreen(level, level.ItemRect(i)), area)) << what << ": entry " << i << " runs off the screen";
}

}  // namespace

TEST(MenuPlacement, LevelsOpenedNearTheScreenCornerShowEveryEntry)
{
    const TRect area = MenuAreaAt(Point(0, 0));
    ASSERT_FALSE(area.IsEmpty());
    // 60 items in two columns, each with a submenu in columns of its own.
    TMenuItem root;
    for (int i = 0; i < 60; ++i) {
        TMenuItem* item = AddItem(root, "Entry " + std::to_string(i), i == 30 ? TMenuBreak::mbBarBreak : TMenuBreak::mbNone);
        for (int j = 0; j < 8; ++j) AddItem(*item, "Sub " + std::to_string(j), j == 4 ? TMenuBreak::mbBreak : TMenuBreak::mbNone);
    }
    // A plain submenu, on QMenu.
    TMenuItem* plain = root.GetItems(59);
    plain->Clear();
    for (int j = 0; j < 3; ++j) AddItem(*plain, "Plain " + std::to_string(j));

    TMenuSession session;
    TMenuColumnsPopup* rootLevel = nullptr;
    TRect parentItem;
    TDriver drive(session, {[&] {
                                rootLevel = TopColumns();
                                ASSERT_TRUE(rootLevel);
                                ExpectEveryEntryOnScreen(*rootLevel, "the root level");
                                parentItem = OnScreen(*rootLevel, rootLevel->ItemRect(45));
                                ClickItem(rootLevel, 45);
                            },
                            [&] {
                                TMenuColumnsPopup* child = TopColumns();
                                ASSERT_TRUE(child && child != rootLevel);
                                ExpectEveryEntryOnScreen(*child, "the submenu");
                                EXPECT_LE(child->geometry().right() + 1, parentItem.Left) << "on the other side of its item";
                                parentItem = OnScreen(*rootLevel, rootLevel->ItemRect(59));
                                ClickItem(rootLevel, 59);
                            },
                            [] {},
                            [&] {
                                auto* menu = qobject_cast<QMenu*>(TopLevel());
                                ASSERT_TRUE(menu);
                                const QRect g = menu->geometry();
                                EXPECT_TRUE(Within(Bounds(g.x(), g.y(), g.width(), g.height()), area));
                                EXPECT_LE(g.right() + 1, parentItem.Left) << "on the other side of its item";
                                session.Cancel();
                            }});
    // Opened by a right click near the bottom-right corner of the screen.
    EXPECT_EQ(session.Run(root, Point(area.Right - 10, area.Bottom - 10)), nullptr);
}
