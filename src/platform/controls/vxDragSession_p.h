// The drag session: the one drag of the application, from BeginDrag to its end, and the drop
// side that turns Qt's drag events on a windowed control into DragOver and DragDrop.
//
// How a drag runs (read with vxDragSession.cpp and vxDragTarget.cpp):
//   BeginDrag       the session waits for the threshold (mouse moves still reach the source), or
//                   starts at once. From here an application event filter takes the mouse: the
//                   source gets no moves, presses or release until the drag ends.
//   start           DoStartDrag, then the drag proper:
//                   - where the platform runs drags (xcb, wayland, ...) QDrag::exec, from a posted
//                     call so that the handler that called BeginDrag returns first;
//                   - on "offscreen" and "minimal" the session moves the drag itself: each pointer
//                     move sends QDragEnterEvent / QDragMoveEvent / QDragLeaveEvent to the widget
//                     under the pointer, the release a QDropEvent, and the override cursor shows
//                     DragCursor or crNoDrop. (Offscreen's QDrag::exec returns IgnoreAction at
//                     once, minimal's runs a loop that waits for a real pointer.)
//   drop side       every windowed control accepts Qt's drops; the graphic child under the
//                   pointer, or the control itself, hears DragOver with dsDragEnter, dsDragMove
//                   and dsDragLeave. A move or drop event is accepted exactly when Accept is
//                   true. The enter event is always taken, with IgnoreAction when Accept is
//                   false: Qt gives moves and the drop only to the widget that took the enter,
//                   and a refusing control must still hear the moves (its next one may accept).
//                   A drop first sends dsDragLeave, then DragDrop when the last DragOver
//                   accepted; a drop of our drag's data ends the drag, whichever path it came by.
//   end             the source's DoEndDrag with the target and its client point, or (null, 0, 0).
//                   The source's mouse capture is released; it hears no MouseUp for the release
//                   that dropped.
//
// Our drags carry kDragMimeType with "<process id>:<session number>", so only the running
// session's data names a Source; other data (another application's drag) comes with Source null.
//
// A control destroyed during the drag is forgotten at once: the source's drag is cancelled (the
// target hears dsDragLeave, no DoEndDrag), a target hears nothing more.
//
// An exception from any drag handler ends the drag: the state is reset, the source hears
// DoEndDrag(null) unless it was its own handler that failed at the start, and the exception goes
// to Application().HandleException, as for every handler Qt's event loop runs. None leaves
// BeginDrag, EndDrag or Qt's event delivery.
#pragma once

#include <vxplan/platform/controls/vxControl.h>

#include <QByteArray>
#include <QPointF>

#include <cstdint>
#include <utility>

class QEvent;
class QMimeData;

namespace vxplan {

class TWinControl;

inline constexpr char kDragMimeType[] = "application/x-vxplan-drag";

class TDragSession {
public:
    // TControl's entries.
    static void Begin(TControl* source, bool immediate, int threshold);
    static void End(TControl* source, bool drop);
    static bool IsDragging(const TControl* source);
    // A drag is waiting for its threshold or under way.
    static bool Busy();
    static void ControlDestroyed(TControl* control);

    // Every mouse event a windowed control hears, at its screen position: where a drag starts.
    static void NoteMousePosition(const QPointF& global);

    // The data the running drag carries (empty when none is under way), for drops made by hand.
    static QByteArray SessionData();
    // True where the window system moves drags itself, so QDrag::exec does the work.
    static bool PlatformRunsDrags();
    // An event for a widget while a drag waits or runs; true when the drag took it.
    static bool FilterEvent(QEvent* event);
    // A Qt event position in whole pixels, as the mouse messages have it.
    static QPoint FloorPoint(const QPointF& p);

private:
    friend class TDropTarget;
    struct TState;
    static TState& State();
    static void Start();
    static void DragTo(QPoint global, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    static void DropAt(QPoint global, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    static void Cancel();
    static void Finish(bool dropped);
    static void Reset();
    static void RunPlatformDrag(uint64_t number);
    static void ShowCursor(bool accepting);
    static void NoteDropped(TControl* target, TPoint at);
    // The Source targets hear for data of ours: the drag object, or the source control.
    static TObject* SourceObject();
    // Runs a step of the drag; an exception ends the drag and is reported (see above).
    template <class Step>
    static void Guarded(Step&& step);
    static void Failed();
};

// The drop side (vxDragTarget.cpp): the control under the drag, ours or another application's.
class TDropTarget {
public:
    // Qt's drag enter, move, leave and drop events on a windowed control.
    static void Event(TWinControl* widget, QEvent* event);

private:
    friend class TDragSession;
    struct TState;
    static TState& State();
    // The control under the pointer hears dsDragEnter or dsDragMove; false when it refuses or
    // went away meanwhile.
    static bool Over(TWinControl* widget, QPoint p, const QMimeData* data);
    // The current target hears dsDragLeave and is current no more.
    static void Leave();
    // Leave, then DragDrop when the target accepted; true when it did.
    static bool Drop();
    static void Forget(TControl* control);
    // A control has our drag over it now.
    static bool HasOurs();
    // Drops the target without telling it (after a failed handler).
    static void Clear();
};

template <class Step>
void TDragSession::Guarded(Step&& step)
{
    try {
        std::forward<Step>(step)();
    } catch (...) {
        Failed();
    }
}

}  // namespace vxplan
