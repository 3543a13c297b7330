// Window messages: numbered messages posted or sent to a message target.
//
// A target is a windowed control or a hidden window. Posted messages travel through Qt's event
// queue of the user-interface thread (posting is safe from any thread) and arrive in the order
// they were posted; sent messages are direct calls on the calling thread.
#pragma once

#include <cstdint>

namespace vxplan {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

struct TMessage {
    unsigned Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// The platform's message numbers that the components use.
enum : unsigned {
    WM_NULL = 0x0000, WM_DESTROY = 0x0002, WM_SIZE = 0x0005, WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008, WM_PAINT = 0x000F, WM_CONTEXTMENU = 0x007B, WM_COPY = 0x0301, WM_TIMER = 0x0113,
    WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205,
    WM_MOUSEWHEEL = 0x020A, WM_USER = 0x0400
};

// Something that receives messages. Destroying a target withdraws its pending posted messages.
class TMessageTarget {
public:
    TMessageTarget();
    virtual ~TMessageTarget();
    TMessageTarget(const TMessageTarget&) = delete;
    TMessageTarget& operator=(const TMessageTarget&) = delete;

    // Handles one message; the default gives it to DefaultHandler.
    virtual void WndProc(TMessage& message);
    // What happens to a message nobody handled: Result 0.
    virtual void DefaultHandler(TMessage& message);
};
using HWND = TMessageTarget*;

// Queues the message for the target; false when the target is null or no longer exists.
bool PostMessage(HWND target, unsigned msg, WPARAM wParam, LPARAM lParam);
// Delivers the message at once on the calling thread and returns its Result (0 for no target).
LRESULT SendMessage(HWND target, unsigned msg, WPARAM wParam, LPARAM lParam);
// True while the target exists.
bool IsWindow(HWND target);
// Delivers, on the user-interface thread, the posted messages waiting now; true if any was
// delivered. Qt's event loop does this by itself; the call is for loops that run their own.
bool DeliverPostedMessages();

}  // namespace vxplan
