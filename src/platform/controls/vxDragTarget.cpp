// The drop side of drag and drop: Qt's drag events on a windowed control as DragOver and
// DragDrop of the control under the pointer (see vxDragSession_p.h for the whole flow).
#include <vxplan/platform/controls/vxDragSession_p.h>

#include <vxplan/platform/controls/vxWinControl.h>

#include <QDropEvent>
#include <QMimeData>
#include <QPointer>

namespace vxplan {

namespace {

// The graphic child at the widget's point, or the widget's control itself, and the point in that
// control's client coordinates.
TControl* ControlAt(TWinControl* widget, QPoint p, TPoint& client)
{
    TControl* child = widget->ControlAtPos({p.x(), p.y()});
    if (!child) {
        client = {p.x(), p.y()};
        return widget;
    }
    client = {p.x() - child->GetLeft(), p.y() - child->GetTop()};
    return child;
}

// Data of the drag this application runs now (an old drag's or another process's is not).
bool IsOurs(const QMimeData* data)
{
    if (!data || !data->hasFormat(kDragMimeType)) return false;
    const QByteArray session = TDragSession::SessionData();
    return !session.isEmpty() && data->data(kDragMimeType) == session;
}

// Qt hands a drag event the widget refused on to its parent. The control under the pointer is
// the one target, refusing or not, so the parent lets such an event pass: it is not its own
// when an enabled child that takes drops lies under the point.
bool PassedOnByAChild(QWidget* widget, QPoint p)
{
    for (QWidget* w = widget->childAt(p); w && w != widget; w = w->parentWidget())
        if (w->acceptDrops() && w->isEnabled()) return true;
    return false;
}

}  // namespace

struct TDropTarget::TState {
    TControl* target = nullptr;  // has heard dsDragEnter and not yet dsDragLeave
    bool ours = false;           // the drag over it is this application's
    bool accepts = false;        // its last DragOver's Accept
    TPoint lastPos;              // where it last heard the drag, in its client coordinates
    TControl* dropping = nullptr;  // the target between its leave and its drop
};

TDropTarget::TState& TDropTarget::State()
{
    static TState state;
    return state;
}

void TDropTarget::Event(TWinControl* widget, QEvent* event)
{
    // Refused unless a handler says otherwise, also when one throws.
    event->ignore();
    TDragSession::Guarded([widget, event] {
        switch (event->type()) {
        case QEvent::DragEnter: {
            // Qt gives moves and the drop only to the widget that took the enter, and the next
            // move may find a child that accepts: the enter is taken, with no action if refused.
            auto* e = static_cast<QDragEnterEvent*>(event);
            const QPoint p = TDragSession::FloorPoint(e->position());
            if (!widget->isEnabled() || PassedOnByAChild(widget, p)) break;
            const bool accept = Over(widget, p, e->mimeData());
            e->setDropAction(accept ? e->proposedAction() : Qt::IgnoreAction);
            e->accept();
            break;
        }
        case QEvent::DragMove: {
            auto* e = static_cast<QDragMoveEvent*>(event);
            if (widget->isEnabled() && Over(widget, TDragSession::FloorPoint(e->position()), e->mimeData())) e->acceptProposedAction();
            break;
        }
        case QEvent::DragLeave: {
            TControl* t = State().target;
            if (t && (t == widget || (t->GetParent() == widget && !t->AsWinControl()))) Leave();
            event->accept();
            break;
        }
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(event);
            const QPoint p = TDragSession::FloorPoint(e->position());
            if (!widget->isEnabled()) break;
            const QPointer<QWidget> alive(widget);
            TPoint client;
            // A drop without a move before it (or on another child) asks the control first.
            if (ControlAt(widget, p, client) != State().target || IsOurs(e->mimeData()) != State().ours) {
                Over(widget, p, e->mimeData());
                if (!alive) break;
            }
            if (Drop()) e->acceptProposedAction();
            break;
        }
        default: break;
        }
    });
}

bool TDropTarget::Over(TWinControl* widget, QPoint p, const QMimeData* data)
{
    TState& s = State();
    const QPointer<QWidget> alive(widget);
    const bool ours = IsOurs(data);
    TPoint client;
    TControl* control = ControlAt(widget, p, client);
    TDragState state = TDragState::dsDragMove;
    if (control != s.target || ours != s.ours) {
        Leave();
        if (!alive) return false;
        // The leave handler may have changed the children.
        control = ControlAt(widget, p, client);
        s.target = control;
        s.ours = ours;
        state = TDragState::dsDragEnter;
    }
    s.lastPos = client;
    s.accepts = false;
    bool accept = false;
    control->DragOver(ours ? TDragSession::SourceObject() : nullptr, client.X, client.Y, state, accept);
    // Gone, or left, while its handler ran.
    if (s.target != control) return false;
    s.accepts = accept;
    return accept;
}

void TDropTarget::Leave()
{
    TState& s = State();
    TControl* target = s.target;
    if (!target) return;
    const bool ours = s.ours;
    const TPoint at = s.lastPos;
    s.target = nullptr;
    s.accepts = false;
    bool accept = false;
    target->DragOver(ours ? TDragSession::SourceObject() : nullptr, at.X, at.Y, TDragState::dsDragLeave, accept);
}

bool TDropTarget::Drop()
{
    TState& s = State();
    if (!s.target) return false;
    const bool accepts = s.accepts;
    const bool ours = s.ours;
    const TPoint at = s.lastPos;
    // Like every drag that ends, the drop leaves the target first.
    s.dropping = s.target;
    Leave();
    TControl* target = std::exchange(s.dropping, nullptr);
    if (!target || !accepts) return false;
    // Our drag may have ended in the leave handler (its source destroyed): nothing to drop.
    if (ours && TDragSession::SessionData().isEmpty()) return false;
    const QByteArray session = ours ? TDragSession::SessionData() : QByteArray();
    if (ours) TDragSession::NoteDropped(target, at);
    target->DragDrop(ours ? TDragSession::SourceObject() : nullptr, at.X, at.Y);
    // The drop ends our drag, however it came (the platform's drag, ours, a host's EndDrag),
    // unless the handler has ended it already.
    if (ours && TDragSession::SessionData() == session) TDragSession::Finish(true);
    return true;
}

void TDropTarget::Forget(TControl* control)
{
    TState& s = State();
    if (s.target == control) {
        s.target = nullptr;
        s.accepts = false;
    }
    if (s.dropping == control) s.dropping = nullptr;
}

bool TDropTarget::HasOurs() { return State().target && State().ours; }

void TDropTarget::Clear()
{
    TState& s = State();
    s.target = nullptr;
    s.accepts = false;
    s.dropping = nullptr;
}

}  // namespace vxplan
