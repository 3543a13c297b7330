// The combo box: items, the index and text that agree, the two styles, typing and stepping,
// and the drop-down list with its events and the focus it leaves alone.
#include "test_editors_support.h"

#include <vxplan/platform/controls/vxComboBox.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "support/vxTestSupport.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace vxplan;
using namespace vxplan::test;

namespace {

using Strings = std::vector<std::string>;

}  // namespace

TEST(ComboItems, IndexStaysInRangeAndAgreesWithTheText)
{
    TComboBox combo;
    int changes = 0;
    combo.OnChange = [&](TObject*) { ++changes; };
    combo.SetItems({"red", "green", "blue"});
    // Qt selects the first item of a filled list; the control does not.
    EXPECT_EQ(combo.GetItemIndex(), -1);
    EXPECT_EQ(combo.Widget()->currentIndex(), -1);
    EXPECT_EQ(combo.ItemsCount(), 3);
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.GetText(), "green");
    EXPECT_EQ(combo.Widget()->lineEdit()->text(), QString("green"));
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { combo.SetItemIndex(3); }),
              "Item index 3 is outside -1..2 (-1 selects none)");
    EXPECT_THROW(combo.SetItemIndex(-2), EInvalidArgument);
    EXPECT_EQ(combo.GetItemIndex(), 1);
    EXPECT_EQ(combo.GetText(), "green");
    combo.SetItemIndex(-1);
    EXPECT_EQ(combo.GetText(), "");
    EXPECT_EQ(changes, 2);

    // csDropDown: any text, and the item equal to it is selected.
    combo.SetText("blue");
    EXPECT_EQ(combo.GetItemIndex(), 2);
    EXPECT_EQ(combo.Widget()->currentIndex(), 2);
    combo.SetText("teal");
    EXPECT_EQ(combo.GetItemIndex(), -1);
    EXPECT_EQ(combo.Widget()->lineEdit()->text(), QString("teal"));
    combo.ItemsAdd("teal");
    EXPECT_EQ(combo.GetItemIndex(), 3);
    EXPECT_EQ(combo.GetItems(), (Strings{"red", "green", "blue", "teal"}));
    // Clearing keeps the text of csDropDown; new items equal to it select it.
    combo.ItemsClear();
    EXPECT_EQ(combo.GetItemIndex(), -1);
    EXPECT_EQ(combo.GetText(), "teal");
    combo.SetItems({"navy", "teal", "teal"});
    EXPECT_EQ(combo.GetItemIndex(), 1);
    // Of equal items the one selected stays selected.
    combo.SetItemIndex(2);
    combo.SetText("navy");
    combo.SetText("teal");
    EXPECT_EQ(combo.GetItemIndex(), 1);
    EXPECT_EQ(changes, 6);

    combo.SetDropDownCount(0);
    EXPECT_EQ(combo.GetDropDownCount(), 1);
    EXPECT_EQ(combo.Widget()->maxVisibleItems(), 1);
}

TEST(ComboStyle, DropDownListShowsOnlyItems)
{
    TComboBox combo;
    EXPECT_EQ(combo.GetStyle(), TComboBoxStyle::csDropDown);
    combo.SetItems({"one", "two"});
    combo.SetText("free text");
    int changes = 0;
    combo.OnChange = [&](TObject*) { ++changes; };
    // A text that is no item does not survive the change of style.
    combo.SetStyle(TComboBoxStyle::csDropDownList);
    EXPECT_FALSE(combo.Widget()->isEditable());
    EXPECT_EQ(combo.GetText(), "");
    EXPECT_EQ(changes, 1);
    combo.SetText("nothing");
    EXPECT_EQ(combo.GetText(), "");
    EXPECT_EQ(combo.GetItemIndex(), -1);
    EXPECT_EQ(changes, 1);
    combo.SetText("two");
    EXPECT_EQ(combo.GetItemIndex(), 1);
    EXPECT_EQ(combo.Widget()->currentText(), QString("two"));
    combo.ItemsClear();
    EXPECT_EQ(combo.GetText(), "");
    EXPECT_EQ(changes, 3);

    combo.SetItems({"one", "two"});
    combo.SetItemIndex(0);
    combo.SetStyle(TComboBoxStyle::csDropDown);
    EXPECT_TRUE(combo.Widget()->isEditable());
    EXPECT_EQ(combo.Widget()->lineEdit()->text(), QString("one"));
    EXPECT_EQ(combo.GetItemIndex(), 0);
    EXPECT_EQ(combo.Widget()->completer(), nullptr);
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { combo.SetStyle(static_cast<TComboBoxStyle>(5)); }),
              "A combo box style is csDropDown or csDropDownList, not 5");
}

TEST(ComboTyping, TypedTextSelectsTheEqualItemAndArrowKeysPick)
{
    TComboBox combo;
    combo.SetItems({"ab", "abc", "b"});
    Strings texts;
    int selects = 0;
    combo.OnChange = [&](TObject*) { texts.push_back(combo.GetText() + "/" + std::to_string(combo.GetItemIndex())); };
    combo.OnSelect = [&](TObject*) { ++selects; };
    QWidget* w = combo.Widget();
    Key(w, Qt::Key_A, "a");
    Key(w, Qt::Key_B, "b");
    Key(w, Qt::Key_C, "c");
    Key(w, Qt::Key_Backspace);
    // Enter neither adds the text to the items nor picks one.
    Key(w, Qt::Key_Return, "\r");
    EXPECT_EQ(combo.ItemsCount(), 3);
    EXPECT_EQ(texts, (Strings{"a/-1", "ab/0", "abc/1", "ab/0"}));
    EXPECT_EQ(selects, 0);
    Key(w, Qt::Key_Down);
    EXPECT_EQ(combo.GetText(), "abc");
    EXPECT_EQ(combo.GetItemIndex(), 1);
    EXPECT_EQ(selects, 1);

    // The list style steps through the items with the arrow keys too.
    combo.SetStyle(TComboBoxStyle::csDropDownList);
    texts.clear();
    Key(w, Qt::Key_Down);
    Key(w, Qt::Key_Up);
    EXPECT_EQ(texts, (Strings{"b/2", "abc/1"}));
    EXPECT_EQ(selects, 3);
}

TEST(ComboTyping, KeysReachTheControlOnceWhereverTheyLand)
{
    TComboBox combo;
    TKeyLog log(combo);
    Key(combo.Widget(), Qt::Key_X, "x");
    Key(combo.Widget()->lineEdit(), Qt::Key_Y, "y");
    EXPECT_EQ(combo.GetText(), "xy");
    EXPECT_EQ(log.seen, (Strings{"down 88", "char 120", "up 88", "down 89", "char 121", "up 89"}));
    // The list style has no line edit; its keys search the items.
    combo.SetItems({"apple", "pear"});
    combo.SetStyle(TComboBoxStyle::csDropDownList);
    log.seen.clear();
    Key(combo.Widget(), Qt::Key_P, "p");
    EXPECT_EQ(combo.GetText(), "pear");
    EXPECT_EQ(log.seen, (Strings{"down 80", "char 112", "up 80"}));
}

TEST(ComboList, DroppingDownAndPickingKeepTheFocusAndRaiseTheirEvents)
{
    TForm form;
    auto* combo = form.Add(new TComboBox(&form.panel), 0);
    Strings seen;
    combo->OnEnter = [&](TObject*) { seen.push_back("enter"); };
    combo->OnExit = [&](TObject*) { seen.push_back("exit"); };
    combo->OnDropDown = [&](TObject*) {
        seen.push_back("dropdown");
        if (combo->ItemsCount() == 0) combo->SetItems({"filled", "late"});  // the list is filled as it opens
    };
    combo->OnCloseUp = [&](TObject*) { seen.push_back("closeup"); };
    combo->OnSelect = [&](TObject*) { seen.push_back("select " + combo->GetText()); };
    combo->SetFocus();
    combo->SetDroppedDown(true);
    EXPECT_TRUE(combo->GetDroppedDown());
    EXPECT_NE(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(combo->Widget()->count(), 2);
    QApplication::processEvents();

    // The user picks the second item with the keyboard in the list.
    QWidget* list = combo->Widget()->view();
    Key(list, Qt::Key_Down);
    Key(list, Qt::Key_Return, "\r");
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(combo->GetText(), "late");
    // Checked before the offscreen platform's queued activation change, which real window
    // systems do not send for a popup.
    EXPECT_EQ(seen, (Strings{"enter", "dropdown", "closeup", "select late"}));

    seen.clear();
    combo->SetDroppedDown(true);
    combo->SetDroppedDown(false);
    EXPECT_EQ(seen, (Strings{"dropdown", "closeup"}));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(ComboItems, AChangeHandlerThatThrowsLeavesIndexTextAndBoxAgreeing)
{
    TComboBox combo;
    combo.SetItems({"one", "two"});
    combo.OnChange = [](TObject*) { throw std::runtime_error("host failed"); };
    EXPECT_THROW(combo.SetItemIndex(1), std::runtime_error);
    EXPECT_EQ(combo.GetItemIndex(), 1);
    EXPECT_EQ(combo.GetText(), "two");
    EXPECT_EQ(combo.Widget()->currentIndex(), 1);
    EXPECT_EQ(combo.Widget()->lineEdit()->text(), QString("two"));
    combo.OnChange = nullptr;
    Key(combo.Widget(), Qt::Key_Backspace);
    EXPECT_EQ(combo.GetText(), "tw");
    EXPECT_EQ(combo.GetItemIndex(), -1);
}
