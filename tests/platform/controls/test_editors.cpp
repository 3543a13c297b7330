// What every editor control shares through its forwarding widget: keys reach the control first
// and a swallowed one does nothing, Tab moves the focus unless the control wants it, focus
// changes raise OnEnter and OnExit (a popup over the control takes no focus from it), the
// control may take the context-menu request, and a focused control goes quietly.
#include "test_editors_support.h"

#include <vxplan/platform/controls/vxCheckBox.h>
#include <vxplan/platform/controls/vxComboBox.h>
#include <vxplan/platform/controls/vxDateTimePicker.h>
#include <vxplan/platform/controls/vxEdit.h>
#include <vxplan/platform/controls/vxMemo.h>
#include <vxplan/platform/time/vxFormatSettings.h>

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

using namespace vxplan;
using namespace vxplan::test;

namespace {

using Strings = std::vector<std::string>;

// For each control a key that does something in it, and what it did.
template <class C>
struct Acting;

template <>
struct Acting<TEdit> {
    static constexpr int key = Qt::Key_X;
    static constexpr uint16_t vk = 'X';
    static inline const QString text = "x";
    static constexpr bool standardMenu = true;
    static std::string State(TEdit& c) { return c.GetText(); }
    static QWidget* MenuTarget(TEdit& c) { return c.Widget(); }
};

template <>
struct Acting<TMemo> {
    static constexpr int key = Qt::Key_X;
    static constexpr uint16_t vk = 'X';
    static inline const QString text = "x";
    static constexpr bool standardMenu = true;
    static std::string State(TMemo& c) { return c.GetText(); }
    // A scroll area takes mouse requests through its viewport.
    static QWidget* MenuTarget(TMemo& c) { return c.Widget()->viewport(); }
};

template <>
struct Acting<TComboBox> {
    static constexpr int key = Qt::Key_X;
    static constexpr uint16_t vk = 'X';
    static inline const QString text = "x";
    static constexpr bool standardMenu = false;
    static std::string State(TComboBox& c) { return c.GetText(); }
    static QWidget* MenuTarget(TComboBox& c) { return c.Widget(); }
};

template <>
struct Acting<TCheckBox> {
    static constexpr int key = Qt::Key_Space;
    static constexpr uint16_t vk = VK_SPACE;
    static inline const QString text = " ";
    static constexpr bool standardMenu = false;
    static std::string State(TCheckBox& c) { return c.GetChecked() ? "checked" : "unchecked"; }
    static QWidget* MenuTarget(TCheckBox& c) { return c.Widget(); }
};

template <>
struct Acting<TDateTimePicker> {
    static constexpr int key = Qt::Key_Up;
    static constexpr uint16_t vk = VK_UP;
    static inline const QString text = "";
    // Qt's edit runs its menu modally: not to be opened here.
    static constexpr bool standardMenu = false;
    static std::string State(TDateTimePicker& c) { return c.Widget()->text().toStdString(); }
    static QWidget* MenuTarget(TDateTimePicker& c) { return c.Widget(); }
};

template <class C>
class Editors : public ::testing::Test {
protected:
    Editors() { SetFormatSettings(ClassicFormatSettings()); }
    ~Editors() override { SetFormatSettings(saved_); }

private:
    TFormatSettings saved_ = FormatSettings();
};

class Names {
public:
    template <class C>
    static std::string GetName(int)
    {
        if (std::is_same_v<C, TEdit>) return "Edit";
        if (std::is_same_v<C, TMemo>) return "Memo";
        if (std::is_same_v<C, TComboBox>) return "ComboBox";
        if (std::is_same_v<C, TCheckBox>) return "CheckBox";
        return "DateTimePicker";
    }
};

using EditorTypes = ::testing::Types<TEdit, TMemo, TComboBox, TCheckBox, TDateTimePicker>;
TYPED_TEST_SUITE(Editors, EditorTypes, Names);

}  // namespace

TYPED_TEST(Editors, KeysReachTheControlFirstAndASwallowedKeyDoesNothing)
{
    using A = Acting<TypeParam>;
    TypeParam c;
    TKeyLog log(c);
    const std::string before = A::State(c);
    Key(c.Widget(), A::key, A::text);
    const std::string after = A::State(c);
    EXPECT_NE(after, before);
    const std::string down = "down " + std::to_string(A::vk), up = "up " + std::to_string(A::vk);
    Strings expected{down};
    if (!A::text.isEmpty()) expected.push_back("char " + std::to_string(A::text.at(0).unicode()));
    expected.push_back(up);
    EXPECT_EQ(log.seen, expected);

    log.seen.clear();
    log.swallowKey = A::vk;
    Key(c.Widget(), A::key, A::text);
    EXPECT_EQ(A::State(c), after);
    EXPECT_EQ(log.seen, (Strings{down, up}));
    if (!A::text.isEmpty()) {
        log.swallowKey = 0xFFFF;
        log.swallowChar = A::text.at(0).unicode();
        Key(c.Widget(), A::key, A::text);
        EXPECT_EQ(A::State(c), after);
    }
}

TYPED_TEST(Editors, TabMovesTheFocusUnlessTheControlWantsIt)
{
    TForm form;
    auto* c = form.Add(new TProbe<TypeParam>(&form.panel), 0);
    auto* next = form.Add(new TEdit(&form.panel), 120);
    c->SetFocus();
    TabKey();
    EXPECT_TRUE(next->Focused());

    c->SetFocus();
    c->wantsTab = true;
    TKeyLog log(*c);
    TabKey();
    EXPECT_TRUE(c->Focused());
    EXPECT_EQ(log.seen, (Strings{"down 9", "char 9"}));
}

TYPED_TEST(Editors, FocusInAndOutRaiseEnterAndExitButAPopupMenuTakesNone)
{
    TForm form;
    auto* c = form.Add(new TypeParam(&form.panel), 0);
    auto* next = form.Add(new TEdit(&form.panel), 120);
    Strings seen;
    c->OnEnter = [&](TObject*) { seen.push_back("enter"); };
    c->OnExit = [&](TObject*) { seen.push_back("exit"); };
    c->SetFocus();
    next->SetFocus();
    c->SetFocus();
    EXPECT_EQ(seen, (Strings{"enter", "exit", "enter"}));

    QMenu menu;
    menu.addAction("Cut");
    menu.popup(c->mapToGlobal(QPoint(4, 4)));
    ASSERT_EQ(QApplication::activePopupWidget(), &menu);
    menu.close();
    EXPECT_EQ(seen, (Strings{"enter", "exit", "enter"}));
    EXPECT_TRUE(c->Focused());
}

TYPED_TEST(Editors, TheControlMayTakeTheContextMenuRequest)
{
    TForm form;
    auto* c = form.Add(new TProbe<TypeParam>(&form.panel), 0);
    QWidget* w = Acting<TypeParam>::MenuTarget(*c);
    const QPoint screen = w->mapToGlobal(QPoint(3, 4));
    c->takesMenu = true;
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(3, 4), screen);
    QCoreApplication::sendEvent(w, &request);
    EXPECT_EQ(c->menuRequests, (std::vector<LPARAM>{PointToLParam({screen.x(), screen.y()})}));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    if (Acting<TypeParam>::standardMenu) {
        // Left to the widget, its own menu shows.
        c->takesMenu = false;
        QContextMenuEvent again(QContextMenuEvent::Mouse, QPoint(3, 4), screen);
        QCoreApplication::sendEvent(w, &again);
        EXPECT_EQ(c->menuRequests.size(), 2u);
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        popup->close();
    }
}

TYPED_TEST(Editors, AFocusedControlGoesWithoutAWord)
{
    TForm form;
    auto* c = form.Add(new TypeParam(&form.panel), 0);
    Strings seen;
    c->OnExit = [&](TObject*) { seen.push_back("exit"); };
    c->SetFocus();
    ASSERT_TRUE(c->Focused());
    delete c;
    QApplication::processEvents();
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(form.panel.ControlCount(), 0);
}
