// The drag session's source side: starting, moving, dropping and ending the one drag (see
// vxDragSession_p.h for the whole flow).
#include <vxplan/platform/controls/vxDragSession_p.h>

#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/controls/vxWinControl.h>

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <cmath>
#include <cstdlib>
#include <memory>

#include <unistd.h>

namespace vxplan {

namespace {

constexpr Qt::DropActions kActions = Qt::MoveAction | Qt::CopyAction;

// Takes the application's mouse while a drag waits or runs.
class TDragFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The widget a self-moved drag is over: the topmost shown window at the point, then its deepest
// enabled child that takes drops, as Qt's own drag finds it.
QWidget* DropWidgetAt(QPoint global)
{
    QWidget* top = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->isMinimized() || !w->frameGeometry().contains(global)) continue;
        // An active window is in front of the others; among the rest the list order stands.
        if (!top || w->isActiveWindow()) top = w;
    }
    if (!top) return nullptr;
    QWidget* w = top->childAt(top->mapFromGlobal(global));
    if (!w) w = top;
    while (w && !(w->acceptDrops() && w->isEnabled())) w = w->isWindow() ? nullptr : w->parentWidget();
    return w;
}

// The widget that owns a control's pixels: its own, or its parent's for a graphic control.
QWidget* WidgetOf(TControl* control)
{
    if (TWinControl* w = control->AsWinControl()) return w;
    return control->GetParent();
}

}  // namespace

struct TDragSession::TState {
    enum class TPhase { None, Pending, Dragging };
    TPhase phase = TPhase::None;
    uint64_t number = 0;  // of the latest drag, named by its data
    TControl* source = nullptr;
    std::unique_ptr<TDragObject> object;
    TCursor dragCursor = crDrag;  // the source's, kept should the source go
    QPoint start;                 // where the mouse was at BeginDrag
    int threshold = 0;
    bool platformDrag = false;  // QDrag::exec moves it
    bool execRunning = false;
    bool starting = false;  // in DoStartDrag
    TControl* droppedOn = nullptr;
    TPoint dropPos;
    bool cursorShown = false;
    TCursor shownCursor = crDefault;
    QPoint mouse;  // the last mouse position a control heard

    // A drag the session moves itself.
    std::unique_ptr<QMimeData> data;
    QPointer<QWidget> over;  // the widget that has the drag
    QPoint overPos;          // in over's coordinates
    QPoint lastGlobal;
    bool overAccepts = false;

    TDragFilter* filter = nullptr;
};

TDragSession::TState& TDragSession::State()
{
    static TState state;
    return state;
}

// --- TControl's entries -----------------------------------------------------------------------

void TDragSession::Begin(TControl* source, bool immediate, int threshold)
{
    TState& s = State();
    if (s.phase != TState::TPhase::None) {
        // The source's own waiting drag may be told to start now; any other is left alone.
        if (immediate && s.source == source && s.phase == TState::TPhase::Pending) Guarded([] { Start(); });
        return;
    }
    s.phase = TState::TPhase::Pending;
    s.number += 1;
    s.source = source;
    s.dragCursor = source->GetDragCursor();
    s.start = s.mouse;
    s.threshold = threshold < 0 ? QApplication::startDragDistance() : threshold;
    s.droppedOn = nullptr;
    if (!s.filter) s.filter = new TDragFilter;
    qApp->installEventFilter(s.filter);
    if (immediate) Guarded([] { Start(); });
}

void TDragSession::End(TControl* source, bool drop)
{
    TState& s = State();
    if (s.phase == TState::TPhase::None || s.source != source) return;
    if (s.phase == TState::TPhase::Pending) {
        Reset();
        return;
    }
    Guarded([drop] {
        TState& st = State();
        const uint64_t number = st.number;
        if (st.execRunning) QDrag::cancel();
        // The control hears its leave or drop here; Qt's leave for the widget comes after.
        if (drop && TDropTarget::HasOurs())
            TDropTarget::Drop();
        else
            TDropTarget::Leave();
        if (st.phase != TState::TPhase::Dragging || st.number != number) return;
        Finish(false);
    });
}

bool TDragSession::IsDragging(const TControl* source)
{
    const TState& s = State();
    return s.phase == TState::TPhase::Dragging && s.source == source;
}

bool TDragSession::Busy() { return State().phase != TState::TPhase::None; }

void TDragSession::ControlDestroyed(TControl* control)
{
    TDropTarget::Forget(control);
    TState& s = State();
    if (s.droppedOn == control) s.droppedOn = nullptr;
    if (s.phase == TState::TPhase::None || s.source != control) return;
    s.source = nullptr;
    if (s.phase == TState::TPhase::Pending) {
        Reset();
        return;
    }
    // The target still hears that the drag left; the source, going, hears nothing.
    Guarded([] { Cancel(); });
}

QPoint TDragSession::FloorPoint(const QPointF& p)
{
    return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

void TDragSession::NoteMousePosition(const QPointF& global) { State().mouse = FloorPoint(global); }

QByteArray TDragSession::SessionData()
{
    const TState& s = State();
    if (s.phase != TState::TPhase::Dragging) return {};
    return QByteArray::number(static_cast<qlonglong>(getpid())) + ':' + QByteArray::number(s.number);
}

bool TDragSession::PlatformRunsDrags()
{
    const QString p = QGuiApplication::platformName();
    return p != QLatin1String("offscreen") && p != QLatin1String("minimal");
}

TObject* TDragSession::SourceObject()
{
    TState& s = State();
    if (s.object) return s.object.get();
    return s.source;
}

// --- The drag ---------------------------------------------------------------------------------

void TDragSession::Start()
{
    TState& s = State();
    const uint64_t number = s.number;
    s.phase = TState::TPhase::Dragging;
    TDragObject* given = nullptr;
    // Not a scope flag: Failed must still see it set when the handler throws.
    s.starting = true;
    s.source->DoStartDrag(given);
    s.starting = false;
    std::unique_ptr<TDragObject> object(given);
    // The handler may have ended the drag, or the source with it.
    if (s.phase != TState::TPhase::Dragging || s.number != number) return;
    if (object && !object->control_) object->control_ = s.source;
    s.object = std::move(object);
    s.data = std::make_unique<QMimeData>();
    s.data->setData(kDragMimeType, SessionData());
    QWidget* widget = WidgetOf(s.source);
    s.platformDrag = PlatformRunsDrags() && widget;
    if (s.platformDrag) {
        // QDrag::exec runs a loop of its own: the handler that called BeginDrag finishes first.
        QMetaObject::invokeMethod(s.filter, [number] { RunPlatformDrag(number); }, Qt::QueuedConnection);
        return;
    }
    DragTo(s.mouse, QGuiApplication::mouseButtons(), QGuiApplication::keyboardModifiers());
}

void TDragSession::RunPlatformDrag(uint64_t number)
{
    Guarded([number] {
        TState& s = State();
        if (s.phase != TState::TPhase::Dragging || s.number != number || s.execRunning) return;
        // Not the source's widget: the source may go while the drag runs.
        auto* drag = new QDrag(s.filter);
        auto* data = new QMimeData;
        data->setData(kDragMimeType, SessionData());
        drag->setMimeData(data);
        s.execRunning = true;
        drag->exec(kActions, Qt::MoveAction);
        if (s.phase != TState::TPhase::Dragging || s.number != number) return;
        s.execRunning = false;
        // A drop on one of our controls has ended the drag; this one ended without.
        Finish(false);
    });
}

void TDragSession::DragTo(QPoint global, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    TState& s = State();
    const uint64_t number = s.number;
    auto ended = [&s, number] { return s.phase != TState::TPhase::Dragging || s.number != number; };
    s.lastGlobal = global;
    QWidget* widget = DropWidgetAt(global);
    if (widget != s.over) {
        if (QWidget* old = s.over) {
            s.over = nullptr;
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(old, &leave);
            if (ended()) return;
        }
        s.over = widget;
        s.overAccepts = false;
        if (widget) {
            s.overPos = widget->mapFromGlobal(global);
            QDragEnterEvent enter(s.overPos, kActions, s.data.get(), buttons, mods);
            QCoreApplication::sendEvent(widget, &enter);
            if (ended()) return;
            // A refusing control takes the enter too, with no action (see the drop side).
            s.overAccepts = enter.isAccepted() && enter.dropAction() != Qt::IgnoreAction;
        }
    } else if (widget) {
        s.overPos = widget->mapFromGlobal(global);
        QDragMoveEvent move(s.overPos, kActions, s.data.get(), buttons, mods);
        QCoreApplication::sendEvent(widget, &move);
        if (ended()) return;
        s.overAccepts = move.isAccepted();
    }
    ShowCursor(s.over && s.overAccepts);
}

void TDragSession::DropAt(QPoint global, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    TState& s = State();
    const uint64_t number = s.number;
    auto ended = [&s, number] { return s.phase != TState::TPhase::Dragging || s.number != number; };
    if (global != s.lastGlobal) {
        DragTo(global, buttons, mods);
        if (ended()) return;
    }
    // Sent whether or not the widget accepted, as Qt's own drags do: the drop side decides.
    if (QWidget* widget = s.over) {
        s.over = nullptr;
        QDropEvent drop(s.overPos, kActions, s.data.get(), buttons, mods);
        QCoreApplication::sendEvent(widget, &drop);
        if (ended()) return;
    }
    Finish(false);
}

void TDragSession::Cancel()
{
    TState& s = State();
    const uint64_t number = s.number;
    if (s.execRunning) QDrag::cancel();
    TDropTarget::Leave();
    if (s.phase != TState::TPhase::Dragging || s.number != number) return;
    Finish(false);
}

void TDragSession::NoteDropped(TControl* target, TPoint at)
{
    TState& s = State();
    s.droppedOn = target;
    s.dropPos = at;
}

void TDragSession::Finish(bool dropped)
{
    TState& s = State();
    TControl* source = s.source;
    TControl* target = dropped ? s.droppedOn : nullptr;
    const TPoint at = target ? s.dropPos : TPoint{};
    // Freed after DoEndDrag, which may still look at it.
    const std::unique_ptr<TDragObject> object = std::move(s.object);
    // Reset first: DoEndDrag sees the drag over and may start the next one.
    Reset();
    if (source) source->DoEndDrag(target, at.X, at.Y);
}

void TDragSession::Reset()
{
    TState& s = State();
    const bool wasDragging = s.phase == TState::TPhase::Dragging;
    TControl* source = s.source;
    s.phase = TState::TPhase::None;
    s.source = nullptr;
    s.object.reset();
    s.execRunning = false;
    s.starting = false;
    s.platformDrag = false;
    s.droppedOn = nullptr;
    s.overAccepts = false;
    if (QWidget* over = s.over) {
        // Qt keeps handing drag events to the widget that took the enter until it hears a leave.
        // Its control has been told already, so this leave reaches no handler.
        s.over = nullptr;
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(over, &leave);
    }
    s.data.reset();
    if (s.filter && qApp) qApp->removeEventFilter(s.filter);
    if (s.cursorShown) QGuiApplication::restoreOverrideCursor();
    s.cursorShown = false;
    if (source && wasDragging) {
        // The release went to the drag: the source neither clicks nor keeps the mouse.
        source->clicked_ = false;
        if (source->GetMouseCapture()) source->SetMouseCapture(false);
    }
}

void TDragSession::ShowCursor(bool accepting)
{
    TState& s = State();
    const TCursor cursor = accepting ? s.dragCursor : crNoDrop;
    if (s.cursorShown && cursor == s.shownCursor) return;
    const QCursor shape(ToQtCursorShape(cursor));
    if (s.cursorShown)
        QGuiApplication::changeOverrideCursor(shape);
    else
        QGuiApplication::setOverrideCursor(shape);
    s.cursorShown = true;
    s.shownCursor = cursor;
}

void TDragSession::Failed()
{
    const std::exception_ptr error = std::current_exception();
    TDropTarget::Clear();
    TState& s = State();
    if (s.execRunning) QDrag::cancel();
    // The source still hears the end, unless its own start failed before the drag began.
    if (s.phase == TState::TPhase::Dragging && !s.starting) {
        try {
            Finish(false);
        } catch (...) {
            // The first error is the one reported; Finish has reset the drag before DoEndDrag.
        }
    } else {
        Reset();
    }
    try {
        std::rethrow_exception(error);
    } catch (...) {
        Application().HandleException(nullptr);
    }
}

// --- The application's mouse during a drag ---------------------------------------------------

bool TDragFilter::eventFilter(QObject* watched, QEvent* event)
{
    // Widgets only: the window below them must still see the release to end Qt's own grab.
    if (!watched->isWidgetType()) return false;
    return TDragSession::FilterEvent(event);
}

bool TDragSession::FilterEvent(QEvent* event)
{
    TState& s = State();
    if (s.execRunning) return false;  // Qt's drag has the mouse
    const bool pending = s.phase == TState::TPhase::Pending;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint global = FloorPoint(e->globalPosition());
        if (pending) {
            if (e->type() == QEvent::MouseButtonRelease) {
                // Released before the threshold: no drag, and the release is the source's.
                Reset();
                return false;
            }
            if (e->type() != QEvent::MouseMove) return false;
            s.mouse = global;
            const QPoint d = global - s.start;
            if (std::abs(d.x()) < s.threshold && std::abs(d.y()) < s.threshold) return false;
            Guarded([] { Start(); });
            return true;
        }
        if (s.phase != TState::TPhase::Dragging) return false;
        // The drag has the mouse; the state of buttons and keys still follows it.
        NoteInputState(e->modifiers(), e->buttons());
        s.mouse = global;
        if (e->type() == QEvent::MouseMove) {
            // Until QDrag::exec runs, the platform's drag has not begun: nothing to move yet.
            if (!s.platformDrag) Guarded([&] { DragTo(global, e->buttons(), e->modifiers()); });
        } else if (e->type() == QEvent::MouseButtonRelease) {
            Guarded([&] { DropAt(global, e->buttons(), e->modifiers()); });
        }
        return true;
    }
    case QEvent::KeyPress: {
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) return false;
        if (pending) {
            Reset();
            return false;
        }
        if (s.phase != TState::TPhase::Dragging) return false;
        Guarded([] { Cancel(); });
        return true;
    }
    default: return false;
    }
}

}  // namespace vxplan
