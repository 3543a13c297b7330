// Virtual key codes from Qt's keys, shift states from Qt's modifiers, and the key state table.
#include <vxplan/platform/controls/vxKeys.h>

#include <array>
#include <atomic>

namespace vxplan {

namespace {

struct KeyPair {
    int qt;
    uint16_t vk;
};

// Keys whose number does not depend on the keypad modifier.
constexpr KeyPair kFixedKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB}, {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR}, {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT}, {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},
    {Qt::Key_AltGr, VK_MENU}, {Qt::Key_Pause, VK_PAUSE}, {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Cancel, VK_CANCEL}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR}, {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME}, {Qt::Key_Left, VK_LEFT}, {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT}, {Qt::Key_Down, VK_DOWN}, {Qt::Key_Select, VK_SELECT},
    {Qt::Key_Printer, VK_PRINT}, {Qt::Key_Execute, VK_EXECUTE}, {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_SysReq, VK_SNAPSHOT}, {Qt::Key_Insert, VK_INSERT}, {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP}, {Qt::Key_Meta, VK_LWIN}, {Qt::Key_Super_L, VK_LWIN},
    {Qt::Key_Super_R, VK_RWIN}, {Qt::Key_Menu, VK_APPS}, {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
    // Punctuation keys of a US layout; the shifted symbols name the key they are typed on.
    {Qt::Key_Semicolon, VK_OEM_1}, {Qt::Key_Colon, VK_OEM_1}, {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Less, VK_OEM_COMMA}, {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Greater, VK_OEM_PERIOD}, {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3}, {Qt::Key_AsciiTilde, VK_OEM_3},
    {Qt::Key_BracketLeft, VK_OEM_4}, {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5}, {Qt::Key_Bar, VK_OEM_5}, {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7}, {Qt::Key_QuoteDbl, VK_OEM_7},
    {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
    {Qt::Key_ParenLeft, '9'}, {Qt::Key_ParenRight, '0'},
};

// Keys that mean one thing on the keypad and another on the main keyboard.
struct KeypadPair {
    int qt;
    uint16_t keypad;
    uint16_t main;
};
constexpr KeypadPair kKeypadKeys[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY, '8'}, {Qt::Key_Plus, VK_ADD, VK_OEM_PLUS},
    {Qt::Key_Minus, VK_SUBTRACT, VK_OEM_MINUS}, {Qt::Key_Period, VK_DECIMAL, VK_OEM_PERIOD},
    {Qt::Key_Comma, VK_DECIMAL, VK_OEM_COMMA}, {Qt::Key_Slash, VK_DIVIDE, VK_OEM_2},
};

// Written from the user-interface thread, read from anywhere: relaxed atomics are enough for a
// snapshot of "the last known state".
std::array<std::atomic<bool>, 256> gKeyDown{};

}  // namespace

uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<uint16_t>(keypad ? VK_NUMPAD0 + (qtKey - Qt::Key_0) : '0' + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<uint16_t>('A' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return static_cast<uint16_t>(VK_F1 + (qtKey - Qt::Key_F1));
    for (const KeypadPair& k : kKeypadKeys)
        if (k.qt == qtKey) return keypad ? k.keypad : k.main;
    for (const KeyPair& k : kFixedKeys)
        if (k.qt == qtKey) return k.vk;
    return 0;
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState s;
    if (modifiers.testFlag(Qt::ShiftModifier)) s.Include(ssShift);
    if (modifiers.testFlag(Qt::ControlModifier)) s.Include(ssCtrl);
    if (modifiers.testFlag(Qt::AltModifier)) s.Include(ssAlt);
    if (buttons.testFlag(Qt::LeftButton)) s.Include(ssLeft);
    if (buttons.testFlag(Qt::RightButton)) s.Include(ssRight);
    if (buttons.testFlag(Qt::MiddleButton)) s.Include(ssMiddle);
    return s;
}

WPARAM MouseKeysFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    WPARAM keys = 0;
    if (buttons.testFlag(Qt::LeftButton)) keys |= MK_LBUTTON;
    if (buttons.testFlag(Qt::RightButton)) keys |= MK_RBUTTON;
    if (buttons.testFlag(Qt::MiddleButton)) keys |= MK_MBUTTON;
    if (modifiers.testFlag(Qt::ShiftModifier)) keys |= MK_SHIFT;
    if (modifiers.testFlag(Qt::ControlModifier)) keys |= MK_CONTROL;
    return keys;
}

TShiftState ShiftStateFromMouseKeys(WPARAM keys)
{
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyboardShiftState()
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
    if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
    if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
    return s;
}

int16_t GetKeyState(int virtualKey)
{
    if (virtualKey < 0 || virtualKey > 255) return 0;
    // The platform sets the high-order bit of a short for a key that is down.
    return gKeyDown[static_cast<size_t>(virtualKey)].load(std::memory_order_relaxed) ? int16_t(-128) : int16_t(0);
}

void NoteKeyState(int virtualKey, bool down)
{
    if (virtualKey <= 0 || virtualKey > 255) return;
    gKeyDown[static_cast<size_t>(virtualKey)].store(down, std::memory_order_relaxed);
}

void NoteInputState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    NoteKeyState(VK_SHIFT, modifiers.testFlag(Qt::ShiftModifier));
    NoteKeyState(VK_CONTROL, modifiers.testFlag(Qt::ControlModifier));
    NoteKeyState(VK_MENU, modifiers.testFlag(Qt::AltModifier));
    NoteKeyState(VK_LBUTTON, buttons.testFlag(Qt::LeftButton));
    NoteKeyState(VK_RBUTTON, buttons.testFlag(Qt::RightButton));
    NoteKeyState(VK_MBUTTON, buttons.testFlag(Qt::MiddleButton));
}

void ResetKeyState()
{
    for (auto& k : gKeyDown) k.store(false, std::memory_order_relaxed);
}

}  // namespace vxplan
