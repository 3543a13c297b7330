// TForwardingWidget: the Qt widget inside a windowed control (a line edit, a combo box, ...)
// that hands its keys, focus changes and context-menu requests to the control's WndProc first.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
//
//   key press     WM_KEYDOWN with the virtual key, then WM_CHAR for each character it types; a
//                 handler that zeroes the key swallows it and the Qt widget never sees it
//   key release   WM_KEYUP
//   focus in/out  WM_SETFOCUS / WM_KILLFOCUS, except while the focus moves to or from the
//                 control's own popup (combo list, calendar, context menu) or stays inside it
//   Tab           moves the focus as Qt does, unless CM_WANTSPECIALKEY answers non-zero: then it
//                 is a key like any other (WM_KEYDOWN VK_TAB, WM_CHAR 9)
//   context menu  WM_CONTEXTMENU, WParam 0, LParam the screen point; a non-zero Result keeps the
//                 widget's standard menu from showing
//
// Some Qt widgets pass an event on to an inner one with the same event object (a combo box to
// its line edit, for keys and focus). The inner widget then leaves the forwarding to the outer
// one, so the control hears of each event once.
#pragma once

#include <vxplan/platform/controls/vxWinControl.h>

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPalette>

namespace vxplan {

// The event a forwarding widget is handing on now, for the inner widgets that see it again.
class TForwardedEvent {
public:
    explicit TForwardedEvent(const QEvent* e) : previous_(current_) { current_ = e; }
    ~TForwardedEvent() { current_ = previous_; }
    TForwardedEvent(const TForwardedEvent&) = delete;
    TForwardedEvent& operator=(const TForwardedEvent&) = delete;
    static bool IsBeingForwarded(const QEvent* e) { return e == current_; }

private:
    static inline const QEvent* current_ = nullptr;
    const QEvent* previous_;
};

// The pieces of forwarding that do not depend on the Qt widget (vxForwardingWidget.cpp).
namespace forwarding {
// Tab or Shift+Tab without Ctrl and Alt: the keys Qt moves the focus with.
bool IsFocusKey(const QKeyEvent* e);
bool WantsTab(TWinControl* owner);
// True when a handler swallowed the key.
bool KeyDown(TWinControl* owner, const QKeyEvent* e);
bool KeyUp(TWinControl* owner, const QKeyEvent* e);
// True when the control took the request (its menu shows instead of the widget's).
bool ContextMenu(TWinControl* owner, const QContextMenuEvent* e);
// Whether the focus change enters or leaves the control, as opposed to moving to its popup or
// within it. widget is the one that got or lost the focus.
bool EntersControl(const QWidget* widget, const QFocusEvent* e);
bool LeavesControl(TWinControl* owner, const QFocusEvent* e);

// The control's font, its colour in the text role, and the control's colour in the background
// role of the widget, so that the widget looks as the control's properties say.
void FollowFont(QWidget* widget, const TFont& font, QPalette::ColorRole textRole);
void FollowColor(QWidget* widget, TColor color, QPalette::ColorRole backgroundRole);
}  // namespace forwarding

template <class QtBase>
class TForwardingWidget : public QtBase {
public:
    // parent null: the widget sits directly on the control.
    explicit TForwardingWidget(TWinControl* owner, QWidget* parent = nullptr)
        : QtBase(parent ? parent : owner), owner_(owner)
    {
    }

    TWinControl* Owner() const { return owner_; }

protected:
    // What the Qt widget does with a key the control let through; descendants refuse some.
    virtual void PassKeyPress(QKeyEvent* e) { QtBase::keyPressEvent(e); }

    bool event(QEvent* e) override
    {
        // Qt moves the focus on Tab before keyPressEvent; a control that wants Tab gets it as a
        // key. An outer forwarding widget handing Tab on has already decided it is a key.
        if (e->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(e);
            if (forwarding::IsFocusKey(key) &&
                (TForwardedEvent::IsBeingForwarded(e) || forwarding::WantsTab(owner_))) {
                keyPressEvent(key);
                return true;
            }
        }
        return QtBase::event(e);
    }

    void keyPressEvent(QKeyEvent* e) override
    {
        if (TForwardedEvent::IsBeingForwarded(e)) {
            PassKeyPress(e);
            return;
        }
        const TForwardedEvent forwarded(e);
        if (!forwarding::KeyDown(owner_, e)) PassKeyPress(e);
        // Keys the Qt widget has no use for stay with it: the control's own widget, its parent,
        // would hand them to WndProc a second time.
        e->accept();
    }

    void keyReleaseEvent(QKeyEvent* e) override
    {
        if (TForwardedEvent::IsBeingForwarded(e)) {
            QtBase::keyReleaseEvent(e);
            return;
        }
        const TForwardedEvent forwarded(e);
        if (!forwarding::KeyUp(owner_, e)) QtBase::keyReleaseEvent(e);
        e->accept();
    }

    void focusInEvent(QFocusEvent* e) override
    {
        if (TForwardedEvent::IsBeingForwarded(e)) {
            QtBase::focusInEvent(e);
            return;
        }
        const TForwardedEvent forwarded(e);
        QtBase::focusInEvent(e);
        if (forwarding::EntersControl(this, e)) owner_->Perform(WM_SETFOCUS, 0, 0);
    }

    void focusOutEvent(QFocusEvent* e) override
    {
        if (TForwardedEvent::IsBeingForwarded(e)) {
            QtBase::focusOutEvent(e);
            return;
        }
        const TForwardedEvent forwarded(e);
        QtBase::focusOutEvent(e);
        if (forwarding::LeavesControl(owner_, e)) owner_->Perform(WM_KILLFOCUS, 0, 0);
    }

    void contextMenuEvent(QContextMenuEvent* e) override
    {
        if (TForwardedEvent::IsBeingForwarded(e)) {
            QtBase::contextMenuEvent(e);
            return;
        }
        const TForwardedEvent forwarded(e);
        if (forwarding::ContextMenu(owner_, e)) {
            e->accept();
            return;
        }
        QtBase::contextMenuEvent(e);
    }

private:
    TWinControl* owner_;
};

}  // namespace vxplan
