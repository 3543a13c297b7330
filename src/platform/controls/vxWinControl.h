// TWinControl: a control with a window of its own, which is a real QWidget, and TCustomControl,
// a windowed control that draws itself through a canvas.
//
// A Qt program puts a windowed control in its own layouts like any widget: when a layout or the
// host moves or resizes the widget, Left/Top/Width/Height follow, the control realigns its
// children and Resize runs.
//
// Every input and window event Qt delivers becomes a message passed through the virtual WndProc
// (so a descendant overriding WndProc sees all of them), and posted or sent messages arrive in the
// same WndProc:
//   mouse press/release/double click -> WM_xBUTTONDOWN/UP/DBLCLK, WParam the MK_ flags after the
//                                       event, LParam x | y << 16 in client coordinates
//   mouse move                       -> WM_MOUSEMOVE (the control tracks the mouse without buttons)
//   wheel                            -> WM_MOUSEWHEEL, WParam MK_ flags | delta << 16, LParam the
//                                       screen position
//   key press / release              -> WM_KEYDOWN / WM_KEYUP with the virtual key, then WM_CHAR
//                                       for each character the key types (WParam the code point)
//   focus in / out                   -> WM_SETFOCUS / WM_KILLFOCUS
//   resize                           -> WM_SIZE, LParam width | height << 16
//   paint                            -> WM_PAINT
//   drag enter/move/leave, drop      -> no message: DragOver (dsDragEnter/dsDragMove/dsDragLeave)
//                                       and DragDrop of the graphic child under the pointer or of
//                                       the control, in its client coordinates; the Qt event is
//                                       accepted when DragOver's Accept is (vxDragSession_p.h)
// The default WndProc hands mouse messages to the graphic child under the pointer (or the one
// holding the capture) and decodes the rest into the virtual hooks.
//
// Painting: the control draws into an image of its client size (QImage::Format_RGB32) through a
// device context; paintEvent copies the image to the screen. The image is redrawn only after
// Invalidate, so an outline drawn on the display canvas stays until the next Invalidate.
#pragma once

#include <vxplan/platform/controls/vxControl.h>

#include <QImage>
#include <QWidget>

#include <memory>
#include <vector>

namespace vxplan {

// Asks a control whether it takes a key that would otherwise move the focus (Tab): WParam the
// virtual key; a non-zero Result keeps the key for the control.
enum : unsigned { CM_WANTSPECIALKEY = 0xB036 };

using TKeyEvent = TMethod<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
// The character typed, as a Unicode code point (char32_t holds every character, which a single
// UTF-8 or UTF-16 unit would not). Setting Key to 0 swallows it.
using TKeyPressEvent = TMethod<void(TObject* Sender, char32_t& Key)>;

class TWinControl : public QWidget, public TControl, public TMessageTarget {
public:
    explicit TWinControl(TComponent* AOwner = nullptr);
    ~TWinControl() override;

    TWinControl* AsWinControl() override { return this; }
    HWND Handle() { return static_cast<TMessageTarget*>(this); }

    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;
    bool Showing() const override;
    void SetEnabled(bool enabled) override;
    void SetCursor(TCursor cursor) override;
    TPoint ClientToScreen(TPoint p) const override;
    TPoint ScreenToClient(TPoint p) const override;
    void Invalidate() override;
    void Update() override;
    void SetMouseCapture(bool capture) override;
    void BringToFront() override;
    void SendToBack() override;

    // The child controls, windowed and graphic, in paint order (the last is on top).
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    // Throws EListError for an index outside 0..ControlCount-1.
    TControl* GetControl(int index) const;
    // The topmost visible, enabled graphic child at a client point; null if none.
    TControl* ControlAtPos(TPoint p) const;
    // Called by TControl::SetParent.
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    // Lays out the aligned children again. DisableAlign/EnableAlign bracket many changes; the
    // realignment they held back runs at the last EnableAlign.
    void Realign();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();

    // Throws EInvalidOperation when the control cannot take the focus (hidden or disabled).
    virtual void SetFocus();
    bool Focused() const { return hasFocus(); }
    virtual bool CanFocus() const;
    bool GetTabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);

    // The control's image, drawn now if it is not up to date (what printing and tests see).
    QImage GrabImage();

    void WndProc(TMessage& message) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    virtual void KeyDown(uint16_t& key, TShiftState shift);
    virtual void KeyUp(uint16_t& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    virtual void DoEnter();
    virtual void DoExit();

    // The rectangle the aligned children share; descendants with borders shrink it.
    virtual void AdjustClientRect(TRect& rect);
    // Places the aligned children inside rect (see vxAlign.cpp). moving is the control being
    // moved or resized at the moment, which goes first among equals; null otherwise.
    virtual void AlignControls(TControl* moving, TRect& rect);
    void RealignFor(TControl* moving);

    // Draws the control on the context: the default draws nothing (the background is already
    // filled with Color unless the control is opaque). The graphic children follow.
    virtual void PaintWindow(HDC dc);
    // Paints the visible graphic children over what PaintWindow drew.
    void PaintControls(HDC dc);
    // An opaque control paints every pixel itself, so the background is not filled first.
    void SetOpaque(bool opaque) { opaque_ = opaque; }
    // The image the widget shows, drawn if needed.
    QImage& DisplayImage();
    // Draws the image again now (WM_PAINT's default).
    void PaintHandler();

    void ColorChanged() override;
    void FontChanged() override;
    void TextChanged() override;
    // The hint shows as the widget's tool tip while ShowHint is on.
    void HintChanged() override;

    // Qt's events, turned into messages.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class TControl;
    void RouteMouse(TMessage& message);
    void WMSize(TMessage& message);
    void KeyMessage(TMessage& message);
    void WheelMessage(TMessage& message);
    void SendMouse(QMouseEvent* event, unsigned msg);
    void SyncBoundsFromWidget();
    void ApplyCursorAt(TPoint p);
    void RenderImage();

    std::vector<TControl*> controls_;
    int alignDisabled_ = 0;
    bool alignPending_ = false;
    bool aligning_ = false;
    bool tabStop_ = false;
    bool opaque_ = false;
    bool imageValid_ = false;
    QImage image_;

protected:
    // Set while a display canvas draws on the image (see TCustomControl).
    std::unique_ptr<TDeviceContext> displayDc_;
};

// A windowed control that draws itself: Canvas is valid during Paint.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner = nullptr);
    ~TCustomControl() override;

    // A canvas onto the pixels on screen, for outlines drawn while the mouse drags: drawing goes
    // into the image the widget shows and appears at EndDisplayDraw (xor drawn twice erases).
    // The outline lasts until the next Invalidate. Throws EInvalidOperation when display drawing
    // has begun already.
    TCanvas& BeginDisplayDraw();
    void EndDisplayDraw();

protected:
    TCanvas& Canvas() { return canvas_; }
    void PaintWindow(HDC dc) override;

private:
    TCanvas canvas_;
    TCanvas displayCanvas_;
};

}  // namespace vxplan
