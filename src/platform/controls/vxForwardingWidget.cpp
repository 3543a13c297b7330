// The messages a forwarding widget sends its control, and which focus changes count.
#include <vxplan/platform/controls/vxForwardingWidget_p.h>

#include <QApplication>

namespace vxplan::forwarding {

namespace {

// The widget the focus last moved to within the control it left: its focus in enters nothing.
// Only compared, never followed, so a widget deleted since does no harm.
const QWidget* focusKeptBy = nullptr;

// Parent widgets lead out of a popup window to the widget that opened it, so a control's own
// popups count as inside it.
bool Inside(const TWinControl* owner, const QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (w == owner) return true;
    return false;
}

}  // namespace

bool IsFocusKey(const QKeyEvent* e)
{
    return (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) &&
           !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

bool WantsTab(TWinControl* owner) { return owner->Perform(CM_WANTSPECIALKEY, VK_TAB, 0) != 0; }

bool KeyDown(TWinControl* owner, const QKeyEvent* e)
{
    NoteInputState(e->modifiers(), QApplication::mouseButtons());
    const uint16_t vk = VirtualKeyFromQt(e->key(), e->modifiers());
    if (vk != 0) {
        NoteKeyState(vk, true);
        // Bit 30 of LParam: the key was down before (an auto-repeat).
        TMessage m{WM_KEYDOWN, vk, 1 | (e->isAutoRepeat() ? (LPARAM(1) << 30) : 0), 0};
        owner->WndProc(m);
        if (m.WParam == 0) return true;
    }
    QString text = e->text();
    // Tab types a tab character on the platform whatever the key event says it typed.
    if (text.isEmpty() && (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab)) text = QStringLiteral("\t");
    for (char32_t ch : text.toUcs4()) {
        TMessage m{WM_CHAR, static_cast<WPARAM>(ch), 1, 0};
        owner->WndProc(m);
        if (m.WParam == 0) return true;
    }
    return false;
}

bool KeyUp(TWinControl* owner, const QKeyEvent* e)
{
    NoteInputState(e->modifiers(), QApplication::mouseButtons());
    const uint16_t vk = VirtualKeyFromQt(e->key(), e->modifiers());
    if (vk == 0) return false;
    // After the modifiers: the release of Shift still lists Shift among them.
    NoteKeyState(vk, false);
    TMessage m{WM_KEYUP, vk, LPARAM(1) | (LPARAM(3) << 30), 0};
    owner->WndProc(m);
    return m.WParam == 0;
}

bool ContextMenu(TWinControl* owner, const QContextMenuEvent* e)
{
    const QPoint screen = e->globalPos();
    TMessage m{WM_CONTEXTMENU, 0, PointToLParam({screen.x(), screen.y()}), 0};
    owner->WndProc(m);
    return m.Result != 0;
}

bool EntersControl(const QWidget* widget, const QFocusEvent* e)
{
    const bool kept = focusKeptBy == widget;
    focusKeptBy = nullptr;
    // The focus coming back from a popup was never away, as far as the control knows.
    return !kept && e->reason() != Qt::PopupFocusReason;
}

bool LeavesControl(TWinControl* owner, const QFocusEvent* e)
{
    if (e->reason() == Qt::PopupFocusReason) return false;
    // Qt names the new focus widget before it tells the old one.
    const QWidget* next = QApplication::focusWidget();
    if (next && Inside(owner, next)) {
        focusKeptBy = next;
        return false;
    }
    return true;
}

void FollowFont(QWidget* widget, const TFont& font, QPalette::ColorRole textRole)
{
    widget->setFont(font.Data().Font);
    QPalette pal = widget->palette();
    pal.setColor(textRole, ToQColor(ColorToRGB(font.GetColor())));
    widget->setPalette(pal);
}

void FollowColor(QWidget* widget, TColor color, QPalette::ColorRole backgroundRole)
{
    QPalette pal = widget->palette();
    pal.setColor(backgroundRole, ToQColor(ColorToRGB(color)));
    widget->setPalette(pal);
}

}  // namespace vxplan::forwarding
