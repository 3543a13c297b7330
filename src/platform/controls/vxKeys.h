// Virtual key codes, shift states and the last known state of keys and mouse buttons.
//
// Qt reports keys as Qt::Key plus modifiers; the components think in the platform's virtual key
// numbers. The keypad is told apart by Qt's keypad modifier: digits and operators typed on it
// become VK_NUMPAD0.. and VK_MULTIPLY.., while its navigation keys (num lock off) stay VK_HOME,
// VK_LEFT and so on, as on the platform.
#pragma once

#include <vxplan/platform/app/vxMessages.h>
#include <vxplan/platform/core/vxSet.h>

#include <Qt>

#include <cstdint>

namespace vxplan {

enum : uint16_t {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04,
    VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D,
    VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
    VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_SELECT = 0x29, VK_PRINT = 0x2A, VK_EXECUTE = 0x2B, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D,
    VK_DELETE = 0x2E, VK_HELP = 0x2F,
    // '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A: the characters themselves.
    VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60, VK_NUMPAD1 = 0x61, VK_NUMPAD2 = 0x62, VK_NUMPAD3 = 0x63, VK_NUMPAD4 = 0x64,
    VK_NUMPAD5 = 0x65, VK_NUMPAD6 = 0x66, VK_NUMPAD7 = 0x67, VK_NUMPAD8 = 0x68, VK_NUMPAD9 = 0x69,
    VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75,
    VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B,
    VK_F13 = 0x7C, VK_F24 = 0x87,
    VK_NUMLOCK = 0x90, VK_SCROLL = 0x91,
    VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC,
    VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE
};

// Mouse-message key flags (the WParam of mouse messages).
enum : WPARAM { MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08, MK_MBUTTON = 0x10 };

enum class TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag, 8>;
constexpr TShiftStateFlag ssShift = TShiftStateFlag::ssShift, ssAlt = TShiftStateFlag::ssAlt,
                          ssCtrl = TShiftStateFlag::ssCtrl, ssLeft = TShiftStateFlag::ssLeft,
                          ssRight = TShiftStateFlag::ssRight, ssMiddle = TShiftStateFlag::ssMiddle,
                          ssDouble = TShiftStateFlag::ssDouble;

// The virtual key of a Qt key; 0 for keys the platform has no number for.
uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// MK_ flags of the modifiers and buttons, as a mouse message carries them.
WPARAM MouseKeysFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// The shift state a mouse message stands for. Mouse messages carry no Alt flag, so Alt comes
// from the last known key state, as on the platform.
TShiftState ShiftStateFromMouseKeys(WPARAM keys);
// Shift, Ctrl, Alt and the mouse buttons from the last known key state.
TShiftState KeyboardShiftState();

// Negative while the key (or mouse button VK_LBUTTON..VK_MBUTTON) is down, 0 when it is up, as
// far as the controls have seen it: every input event a control receives updates the state.
int16_t GetKeyState(int virtualKey);
// Records what an input event says of the keys; the controls call these for every event.
void NoteKeyState(int virtualKey, bool down);
void NoteInputState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// Forgets every key and button (tests start from a clean state).
void ResetKeyState();

}  // namespace vxplan
