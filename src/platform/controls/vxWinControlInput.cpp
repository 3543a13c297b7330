// TWinControl: Qt's events as messages, and the default dispatch of messages to the hooks.
#include <vxplan/platform/controls/vxWinControl.h>

#include <vxplan/platform/controls/vxDragSession_p.h>

#include <QApplication>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

namespace vxplan {

namespace {

TPoint EventPoint(const QPointF& p)
{
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

unsigned ButtonMessage(Qt::MouseButton button, unsigned left, unsigned right, unsigned middle)
{
    switch (button) {
    case Qt::LeftButton: return left;
    case Qt::RightButton: return right;
    case Qt::MiddleButton: return middle;
    default: return WM_NULL;
    }
}

// Qt hands a key event the widget leaves unaccepted on to its parent. A windowed parent would
// take it for a key of its own, so only a host's widget gets the keys a control did not swallow.
void FinishKeyEvent(QWidget* widget, QKeyEvent* e, bool swallowed)
{
    if (swallowed || dynamic_cast<TWinControl*>(widget->parentWidget()))
        e->accept();
    else
        e->ignore();
}

}  // namespace

// --- Messages from Qt events ------------------------------------------------------------------

void TWinControl::SendMouse(QMouseEvent* e, unsigned msg)
{
    NoteInputState(e->modifiers(), e->buttons());
    TDragSession::NoteMousePosition(e->globalPosition());
    if (msg == WM_NULL) return;
    const TPoint p = EventPoint(e->position());
    Perform(msg, MouseKeysFromQt(e->modifiers(), e->buttons()), PointToLParam(p));
    e->accept();
}

void TWinControl::mousePressEvent(QMouseEvent* e)
{
    SendMouse(e, ButtonMessage(e->button(), WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN));
}

void TWinControl::mouseReleaseEvent(QMouseEvent* e)
{
    SendMouse(e, ButtonMessage(e->button(), WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP));
}

void TWinControl::mouseDoubleClickEvent(QMouseEvent* e)
{
    SendMouse(e, ButtonMessage(e->button(), WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK));
}

void TWinControl::mouseMoveEvent(QMouseEvent* e)
{
    ApplyCursorAt(EventPoint(e->position()));
    SendMouse(e, WM_MOUSEMOVE);
}

void TWinControl::wheelEvent(QWheelEvent* e)
{
    NoteInputState(e->modifiers(), e->buttons());
    const int delta = e->angleDelta().y();
    if (delta == 0) {
        e->ignore();
        return;
    }
    const WPARAM keys = MouseKeysFromQt(e->modifiers(), e->buttons());
    const WPARAM w = keys | (static_cast<WPARAM>(static_cast<uint16_t>(static_cast<int16_t>(delta))) << 16);
    const TPoint screen = EventPoint(e->globalPosition());
    // The message already went up our own parents when nobody handled it.
    Perform(WM_MOUSEWHEEL, w, PointToLParam(screen));
    e->accept();
}

bool TWinControl::event(QEvent* e)
{
    // Qt moves the focus on Tab before the control sees the key; a control that wants Tab gets it.
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
            Perform(CM_WANTSPECIALKEY, VK_TAB, 0) != 0) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(e);
}

void TWinControl::keyPressEvent(QKeyEvent* e)
{
    NoteInputState(e->modifiers(), QApplication::mouseButtons());
    const uint16_t vk = VirtualKeyFromQt(e->key(), e->modifiers());
    bool swallowed = false;
    if (vk != 0) {
        NoteKeyState(vk, true);
        // Bit 30 of LParam: the key was down before (an auto-repeat).
        const LPARAM keyData = 1 | (e->isAutoRepeat() ? (LPARAM(1) << 30) : 0);
        TMessage m{WM_KEYDOWN, vk, keyData, 0};
        WndProc(m);
        swallowed = m.WParam == 0;
    }
    // The characters the key types follow as their own messages, whatever the key handler did,
    // as on the platform.
    const QString text = e->text();
    for (char32_t ch : text.toUcs4()) {
        TMessage m{WM_CHAR, static_cast<WPARAM>(ch), 1, 0};
        WndProc(m);
        swallowed = swallowed || m.WParam == 0;
    }
    FinishKeyEvent(this, e, swallowed);
}

void TWinControl::keyReleaseEvent(QKeyEvent* e)
{
    NoteInputState(e->modifiers(), QApplication::mouseButtons());
    const uint16_t vk = VirtualKeyFromQt(e->key(), e->modifiers());
    if (vk == 0) {
        FinishKeyEvent(this, e, false);
        return;
    }
    // After the modifiers: the release of Shift still lists Shift among them.
    NoteKeyState(vk, false);
    TMessage m{WM_KEYUP, vk, LPARAM(1) | (LPARAM(3) << 30), 0};
    WndProc(m);
    FinishKeyEvent(this, e, m.WParam == 0);
}

void TWinControl::focusInEvent(QFocusEvent* e)
{
    Perform(WM_SETFOCUS, 0, 0);
    e->accept();
}

void TWinControl::focusOutEvent(QFocusEvent* e)
{
    Perform(WM_KILLFOCUS, 0, 0);
    e->accept();
}

void TWinControl::dragEnterEvent(QDragEnterEvent* e) { TDropTarget::Event(this, e); }

void TWinControl::dragMoveEvent(QDragMoveEvent* e) { TDropTarget::Event(this, e); }

void TWinControl::dragLeaveEvent(QDragLeaveEvent* e) { TDropTarget::Event(this, e); }

void TWinControl::dropEvent(QDropEvent* e) { TDropTarget::Event(this, e); }

void TWinControl::resizeEvent(QResizeEvent*) { SyncBoundsFromWidget(); }

void TWinControl::moveEvent(QMoveEvent*) { SyncBoundsFromWidget(); }

// --- Dispatch -----------------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& m)
{
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
        RouteMouse(m);
        return;
    }
    switch (m.Msg) {
    case WM_MOUSEWHEEL: MouseMessage(m); return;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: KeyMessage(m); return;
    case WM_SETFOCUS: DoEnter(); return;
    case WM_KILLFOCUS: DoExit(); return;
    case WM_SIZE: WMSize(m); return;
    case WM_PAINT: PaintHandler(); return;
    default: DefaultHandler(m); return;
    }
}

void TWinControl::RouteMouse(TMessage& m)
{
    const TPoint p = LParamToPoint(m.LParam);
    TControl* target = nullptr;
    TControl* capture = TControl::CaptureControl();
    if (capture && capture != this && capture->GetParent() == this && !capture->AsWinControl())
        target = capture;
    else if (capture != this)
        target = ControlAtPos(p);
    if (!target) {
        MouseMessage(m);
        return;
    }
    // The graphic child hears the message in its own coordinates.
    TMessage inner{m.Msg, m.WParam, PointToLParam({p.X - target->GetLeft(), p.Y - target->GetTop()}), 0};
    target->WndProc(inner);
    m.Result = inner.Result;
}

void TWinControl::KeyMessage(TMessage& m)
{
    if (m.Msg == WM_CHAR) {
        char32_t key = static_cast<char32_t>(m.WParam);
        KeyPress(key);
        m.WParam = key;
        return;
    }
    uint16_t key = static_cast<uint16_t>(m.WParam);
    const TShiftState shift = KeyboardShiftState();
    if (m.Msg == WM_KEYDOWN)
        KeyDown(key, shift);
    else
        KeyUp(key, shift);
    // The handler's verdict goes back into the message: 0 means swallowed.
    m.WParam = key;
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift)
{
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift)
{
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key)
{
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit) OnExit(this);
}

}  // namespace vxplan
