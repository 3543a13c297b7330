// Keyboard input: Qt keys as virtual keys, shift states, key events reaching the control's
// events with the handler's changes, the last known key state, and cursors.
#include <vxplan/platform/controls/vxControls.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vxplan;

TEST(VirtualKeys, QtKeysMapToThePlatformNumbers)
{
    struct Case {
        int qt;
        Qt::KeyboardModifiers mods;
        uint16_t vk;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier, pad = Qt::KeypadModifier;
    const Case cases[] = {
        {Qt::Key_Backspace, none, VK_BACK}, {Qt::Key_Tab, none, VK_TAB}, {Qt::Key_Backtab, Qt::ShiftModifier, VK_TAB},
        {Qt::Key_Return, none, VK_RETURN}, {Qt::Key_Enter, pad, VK_RETURN}, {Qt::Key_Shift, none, VK_SHIFT},
        {Qt::Key_Control, none, VK_CONTROL}, {Qt::Key_Alt, none, VK_MENU}, {Qt::Key_Escape, none, VK_ESCAPE},
        {Qt::Key_Space, none, VK_SPACE}, {Qt::Key_PageUp, none, VK_PRIOR}, {Qt::Key_PageDown, none, VK_NEXT},
        {Qt::Key_End, none, VK_END}, {Qt::Key_Home, none, VK_HOME}, {Qt::Key_Left, none, VK_LEFT},
        {Qt::Key_Up, none, VK_UP}, {Qt::Key_Right, none, VK_RIGHT}, {Qt::Key_Down, none, VK_DOWN},
        {Qt::Key_Insert, none, VK_INSERT}, {Qt::Key_Delete, none, VK_DELETE}, {Qt::Key_Menu, none, VK_APPS},
        {Qt::Key_0, none, '0'}, {Qt::Key_9, none, '9'}, {Qt::Key_A, none, 'A'},
        {Qt::Key_Z, Qt::ShiftModifier, 'Z'}, {Qt::Key_F1, none, VK_F1}, {Qt::Key_F12, none, VK_F12},
        // The keypad: digits and operators get their own numbers, navigation keys do not.
        {Qt::Key_0, pad, VK_NUMPAD0}, {Qt::Key_7, pad, VK_NUMPAD7}, {Qt::Key_9, pad, VK_NUMPAD9},
        {Qt::Key_Asterisk, pad, VK_MULTIPLY}, {Qt::Key_Plus, pad, VK_ADD}, {Qt::Key_Minus, pad, VK_SUBTRACT},
        {Qt::Key_Period, pad, VK_DECIMAL}, {Qt::Key_Comma, pad, VK_DECIMAL}, {Qt::Key_Slash, pad, VK_DIVIDE},
        {Qt::Key_Home, pad, VK_HOME}, {Qt::Key_Left, pad, VK_LEFT},
        // The same symbols on the main keyboard.
        {Qt::Key_Plus, none, VK_OEM_PLUS}, {Qt::Key_Minus, none, VK_OEM_MINUS}, {Qt::Key_Period, none, VK_OEM_PERIOD},
        {Qt::Key_Comma, none, VK_OEM_COMMA}, {Qt::Key_Asterisk, Qt::ShiftModifier, '8'},
        {Qt::Key_Exclam, Qt::ShiftModifier, '1'}, {Qt::Key_unknown, none, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VirtualKeyFromQt(c.qt, c.mods), c.vk) << "Qt key 0x" << std::hex << c.qt;
}

TEST(ShiftState, FromModifiersButtonsAndMouseKeys)
{
    EXPECT_EQ(ShiftStateFromQt(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, Qt::NoButton),
              (TShiftState{ssShift, ssCtrl, ssAlt}));
    EXPECT_EQ(ShiftStateFromQt(Qt::NoModifier, Qt::LeftButton | Qt::RightButton | Qt::MiddleButton),
              (TShiftState{ssLeft, ssRight, ssMiddle}));
    EXPECT_EQ(MouseKeysFromQt(Qt::ShiftModifier | Qt::ControlModifier, Qt::LeftButton | Qt::MiddleButton),
              MK_SHIFT | MK_CONTROL | MK_LBUTTON | MK_MBUTTON);
    ResetKeyState();
    EXPECT_EQ(ShiftStateFromMouseKeys(MK_RBUTTON | MK_SHIFT), (TShiftState{ssShift, ssRight}));
    // Mouse messages carry no Alt: it comes from the key state.
    NoteKeyState(VK_MENU, true);
    EXPECT_TRUE(ShiftStateFromMouseKeys(0).Contains(ssAlt));
    ResetKeyState();
}

TEST(KeyState, FollowsTheEventsTheControlsSee)
{
    ResetKeyState();
    TPanel p;
    EXPECT_EQ(GetKeyState(VK_LBUTTON), 0);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                      Qt::ControlModifier);
    QCoreApplication::sendEvent(&p, &press);
    EXPECT_LT(GetKeyState(VK_LBUTTON), 0);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    EXPECT_EQ(KeyboardShiftState(), (TShiftState{ssCtrl, ssLeft}));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&p, &release);
    EXPECT_EQ(GetKeyState(VK_LBUTTON), 0);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QCoreApplication::sendEvent(&p, &down);
    EXPECT_LT(GetKeyState(VK_F5), 0);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_F5, Qt::NoModifier);
    QCoreApplication::sendEvent(&p, &up);
    EXPECT_EQ(GetKeyState(VK_F5), 0);
    EXPECT_EQ(GetKeyState(300), 0) << "out of range reads as up";
}

namespace {

struct KeyScene {
    TPanel p;
    std::vector<std::pair<uint16_t, TShiftState>> downs, ups;
    std::u32string typed;
    uint16_t replaceDown = 0xFFFF;
    char32_t replaceChar = 0xFFFFFFFF;
    KeyScene()
    {
        ResetKeyState();
        p.OnKeyDown = [this](TObject*, uint16_t& key, TShiftState s) {
            downs.push_back({key, s});
            if (replaceDown != 0xFFFF) key = replaceDown;
        };
        p.OnKeyUp = [this](TObject*, uint16_t& key, TShiftState s) { ups.push_back({key, s}); };
        p.OnKeyPress = [this](TObject*, char32_t& key) {
            typed.push_back(key);
            if (replaceChar != 0xFFFFFFFF) key = replaceChar;
        };
    }
    bool Press(int qtKey, Qt::KeyboardModifiers mods, const QString& text = QString())
    {
        QKeyEvent e(QEvent::KeyPress, qtKey, mods, text);
        e.ignore();
        QCoreApplication::sendEvent(&p, &e);
        return e.isAccepted();
    }
};

}  // namespace

TEST(KeyEvents, KeyDownThenCharacterWithShiftState)
{
    KeyScene s;
    s.Press(Qt::Key_A, Qt::ShiftModifier, "A");
    EXPECT_EQ(s.downs, (std::vector<std::pair<uint16_t, TShiftState>>{{'A', TShiftState{ssShift}}}));
    EXPECT_EQ(s.typed, U"A");
    s.Press(Qt::Key_7, Qt::KeypadModifier, "7");
    EXPECT_EQ(s.downs.back().first, VK_NUMPAD7);
    s.Press(Qt::Key_E, Qt::NoModifier, QString::fromUtf8("\xC3\xA9"));
    EXPECT_EQ(s.typed.back(), U'\u00E9') << "the character is a whole code point";
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&s.p, &up);
    ASSERT_EQ(s.ups.size(), 1u);
    EXPECT_EQ(s.ups[0].first, 'A');
}

TEST(KeyEvents, ZeroKeySwallowsOtherwiseAHostWidgetSeesTheKeyAndTheCharacterStillFollows)
{
    QWidget host;
    KeyScene s;
    s.p.QWidget::setParent(&host);
    EXPECT_FALSE(s.Press(Qt::Key_Escape, Qt::NoModifier)) << "an unhandled key goes on to the host";
    s.replaceDown = 0;
    EXPECT_TRUE(s.Press(Qt::Key_Escape, Qt::NoModifier));
    s.replaceDown = 0xFFFF;
    s.replaceChar = 0;
    EXPECT_TRUE(s.Press(Qt::Key_X, Qt::NoModifier, "x"));
    // The character follows even when the key down swallowed the key.
    s.replaceDown = 0;
    s.replaceChar = 0xFFFFFFFF;
    s.typed.clear();
    s.Press(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(s.typed, U"\r");
    // Inside a windowed parent the key stays with the control that has it.
    TPanel parent;
    KeyScene inner;
    inner.p.SetParent(&parent);
    EXPECT_TRUE(inner.Press(Qt::Key_Escape, Qt::NoModifier));
}

class KeyDownOverride : public TPanel {
public:
    using TPanel::TPanel;
    std::vector<uint16_t> keys;

protected:
    void KeyDown(uint16_t& key, TShiftState shift) override
    {
        keys.push_back(key);
        TPanel::KeyDown(key, shift);
    }
};

TEST(KeyEvents, VirtualHookSeesKeysBeforeTheEvent)
{
    KeyDownOverride p;
    int events = 0;
    p.OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++events; };
    QKeyEvent e(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&p, &e);
    EXPECT_EQ(p.keys, std::vector<uint16_t>{VK_DOWN});
    EXPECT_EQ(events, 1);
}

TEST(Cursors, NumbersMapToQtShapes)
{
    const std::pair<TCursor, Qt::CursorShape> cases[] = {
        {crDefault, Qt::ArrowCursor},       {crNone, Qt::BlankCursor},         {crCross, Qt::CrossCursor},
        {crIBeam, Qt::IBeamCursor},         {crSizeNESW, Qt::SizeBDiagCursor}, {crSizeNS, Qt::SizeVerCursor},
        {crSizeNWSE, Qt::SizeFDiagCursor},  {crSizeWE, Qt::SizeHorCursor},     {crHourGlass, Qt::WaitCursor},
        {crNoDrop, Qt::ForbiddenCursor},    {crHSplit, Qt::SplitHCursor},      {crVSplit, Qt::SplitVCursor},
        {crHandPoint, Qt::PointingHandCursor}, {crSizeAll, Qt::SizeAllCursor},
    };
    for (const auto& [cursor, shape] : cases) EXPECT_EQ(ToQtCursorShape(cursor), shape) << "cursor " << cursor;
    EXPECT_THROW(ToQtCursorShape(1), EInvalidArgument);
    EXPECT_THROW(ToQtCursorShape(-23), EInvalidArgument);
}

TEST(Cursors, ControlAndScreenCursors)
{
    TPanel p;
    p.SetBounds(0, 0, 50, 50);
    p.SetCursor(crHSplit);
    EXPECT_EQ(p.cursor().shape(), Qt::SplitHCursor);
    EXPECT_THROW(p.SetCursor(5), EInvalidArgument);
    EXPECT_EQ(p.GetCursor(), crHSplit) << "a refused cursor changes nothing";
    // Over a graphic child the window wears the child's cursor.
    auto* box = new TPaintBox(&p);
    box->SetParent(&p);
    box->SetBounds(10, 10, 10, 10);
    box->SetCursor(crHandPoint);
    QMouseEvent over(QEvent::MouseMove, QPointF(12, 12), QPointF(12, 12), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&p, &over);
    EXPECT_EQ(p.cursor().shape(), Qt::PointingHandCursor);
    QMouseEvent away(QEvent::MouseMove, QPointF(40, 40), QPointF(40, 40), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&p, &away);
    EXPECT_EQ(p.cursor().shape(), Qt::SplitHCursor);

    Screen()->SetCursor(crHourGlass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen()->SetCursor(crAppStart);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    EXPECT_THROW(Screen()->SetCursor(42), EInvalidArgument);
    EXPECT_EQ(Screen()->GetCursor(), crAppStart);
    Screen()->SetCursor(crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
