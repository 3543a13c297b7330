// An inverted line drawn over a window and everything on it, children included, for dragging
// splitters: the platform draws such lines straight onto the parent's screen pixels. Here a
// snapshot of the window is taken when the drag begins and an overlay widget above the children
// shows the snapshot's pixels inverted, so showing the line twice leaves the window as it was.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
#pragma once

#include <vxplan/platform/core/vxTypes.h>

#include <QImage>

#include <memory>

namespace vxplan {

class TWinControl;

class TInvertOverlay {
public:
    enum class TInversion {
        Full,      // every pixel inverted
        Pattern    // a 2 x 2 checker of inverted pixels, aligned to the window's origin
    };

    // Snapshots the window as it stands; the window must outlive the overlay.
    TInvertOverlay(TWinControl* window, TInversion inversion);
    ~TInvertOverlay();
    TInvertOverlay(const TInvertOverlay&) = delete;
    TInvertOverlay& operator=(const TInvertOverlay&) = delete;

    // Inverts the rectangle (window client coordinates): shown if hidden, hidden if it is
    // shown at that rectangle. Inverting another rectangle while one is shown moves the line.
    void Invert(const TRect& rect);
    bool Shown() const { return shown_; }

private:
    class TOverlayWidget;

    TWinControl* window_;
    TInversion inversion_;
    QImage snapshot_;
    std::unique_ptr<TOverlayWidget> widget_;
    TRect rect_;
    bool shown_ = false;
};

}  // namespace vxplan
