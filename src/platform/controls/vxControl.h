// TControl: a rectangle on a parent window that can be aligned, painted and clicked, and
// TGraphicControl, a control without a window of its own that its parent paints and feeds
// with mouse messages.
//
// Mouse input reaches a control as messages through WndProc (see vxWinControl.h for where they
// come from); WndProc decodes them and calls the virtual MouseDown/MouseUp/MouseMove/Click/
// DblClick/DoMouseWheel hooks, whose defaults raise the matching events.
//
// Drag and drop: BeginDrag starts a drag that can leave the control and end on another one; the
// session behind it is in vxDragSession_p.h.
#pragma once

#include <vxplan/platform/app/vxMessages.h>
#include <vxplan/platform/controls/vxCursors.h>
#include <vxplan/platform/controls/vxKeys.h>
#include <vxplan/platform/core/vxComponent.h>
#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/graphics/vxCanvas.h>

#include <string>

namespace vxplan {

class TWinControl;

// Message numbers of mouse and keyboard input beyond those of vxMessages.h.
enum : unsigned {
    WM_CANCELMODE = 0x001F, WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208, WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEFIRST = 0x0200, WM_MOUSELAST = 0x0209
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

using TMouseEvent = TMethod<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TMethod<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// Where a drag stands as it passes over a control.
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    TMethod<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
// dmAutomatic: a left press starts a drag by itself, once the mouse moves far enough.
enum class TDragMode { dmManual, dmAutomatic };
class TDragObject;
using TStartDragEvent = TMethod<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragDropEvent = TMethod<void(TObject* Sender, TObject* Source, int X, int Y)>;
// Target is null, and X and Y 0, when the drag ended without a drop.
using TEndDragEvent = TMethod<void(TObject* Sender, TObject* Target, int X, int Y)>;
// MousePos is in screen coordinates, as the wheel message carries it.
using TMouseWheelEvent =
    TMethod<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;

// The coordinates a mouse message carries in its LParam: x in the low word, y in the high word,
// each a signed 16-bit number (a captured pointer outside the control is negative).
LPARAM PointToLParam(TPoint p);
TPoint LParamToPoint(LPARAM lParam);

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner = nullptr);
    ~TControl() override;

    // The window the control sits on. Setting it takes the control from its old parent, puts it
    // last among the new one's controls and realigns both. Throws EInvalidArgument for a parent
    // that is the control itself or one of its children.
    TWinControl* GetParent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // Null for a graphic control: saves a dynamic_cast where windowed and graphic differ.
    virtual TWinControl* AsWinControl() { return nullptr; }

    int GetLeft() const { return left_; }
    int GetTop() const { return top_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    // Moves and sizes the control in its parent's client coordinates; the parent realigns and a
    // changed size raises Resize. Sizes are kept within 0..kMaxExtent and positions within
    // +-kMaxPosition, so the control's right and bottom edges are always ints.
    virtual void SetBounds(int left, int top, int width, int height);
    static constexpr int kMaxExtent = 16777215;  // the window system's largest window
    static constexpr int kMaxPosition = 1 << 30;
    TRect GetBoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }

    // The client area in the control's own coordinates: (0, 0, ClientWidth, ClientHeight).
    virtual TRect GetClientRect() const { return Rect(0, 0, width_, height_); }
    int GetClientWidth() const { return GetClientRect().Width(); }
    int GetClientHeight() const { return GetClientRect().Height(); }
    void SetClientWidth(int w) { SetWidth(AddClamped(w, width_ - GetClientWidth())); }
    void SetClientHeight(int h) { SetHeight(AddClamped(h, height_ - GetClientHeight())); }
    virtual TPoint ClientToScreen(TPoint p) const;
    virtual TPoint ScreenToClient(TPoint p) const;
    // The point in the parent's client coordinates.
    TPoint ClientToParent(TPoint p) const { return {AddClamped(p.X, left_), AddClamped(p.Y, top_)}; }

    bool GetVisible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so are all its parents.
    virtual bool Showing() const;
    bool GetEnabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    TAlign GetAlign() const { return align_; }
    void SetAlign(TAlign align);

    TColor GetColor() const { return color_; }
    // Setting a colour ends ParentColor.
    void SetColor(TColor color);
    bool GetParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    // Changing the font ends ParentFont; with ParentFont the control follows its parent's font.
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font) { font_.Assign(font); }
    bool GetParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);

    // Caption and Text are one string (UTF-8).
    const std::string& GetText() const { return text_; }
    void SetText(const std::string& text);
    const std::string& GetCaption() const { return text_; }
    void SetCaption(const std::string& text) { SetText(text); }
    const std::string& GetHint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool GetShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    TCursor GetCursor() const { return cursor_; }
    // Throws EInvalidArgument for an unknown cursor.
    virtual void SetCursor(TCursor cursor);

    // Marks the control for repainting; Update paints what is marked now, Repaint does both.
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint()
    {
        Invalidate();
        Update();
    }

    // The control that receives all mouse messages until the buttons are released: set by a
    // press, cleared by the release of the last button.
    bool GetMouseCapture() const;
    virtual void SetMouseCapture(bool capture);
    static TControl* CaptureControl();

    // Last or first among the parent's controls: painted on top of (or under) its siblings and
    // hit first (last) by the mouse.
    virtual void BringToFront();
    virtual void SendToBack();

    // Handles one message; the default decodes mouse messages and calls the hooks below.
    virtual void WndProc(TMessage& message);
    // Sends a message to the control itself and returns its Result.
    LRESULT Perform(unsigned msg, WPARAM wParam, LPARAM lParam);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnResize;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;

    // --- Drag and drop ---
    // Starts a drag with this control as its source: at once, or when the mouse has moved
    // Threshold pixels along either axis (-1: QApplication::startDragDistance()). Returns at once;
    // the drag ends at the release of the mouse button, at Escape or at EndDrag. Does nothing
    // while another drag is under way. Throws EInvalidArgument for a Threshold below -1.
    void BeginDrag(bool Immediate, int Threshold = -1);
    // Ends this control's drag: with a drop on the target under the pointer when Drop is true and
    // that target accepts, cancelled otherwise.
    void EndDrag(bool Drop);
    // True from the start of the drag (not while it waits for the threshold) to its end.
    bool Dragging() const;
    TDragMode GetDragMode() const { return dragMode_; }
    void SetDragMode(TDragMode mode) { dragMode_ = mode; }
    // The cursor over a target that accepts; elsewhere crNoDrop. Throws EInvalidArgument for an
    // unknown cursor.
    TCursor GetDragCursor() const { return dragCursor_; }
    void SetDragCursor(TCursor cursor);

    // Something dragged passes over the control at the client point (X, Y). Accept says whether
    // a drop would be taken: true when OnDragOver is assigned, which may change it. Source is the
    // source control, or the drag object its OnStartDrag gave; null for data from elsewhere.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    // Source was dropped on the control at the client point (X, Y).
    virtual void DragDrop(TObject* Source, int X, int Y);

protected:
    // The drag starts: the default raises OnStartDrag, which may name a drag object. The drag
    // takes it over and frees it after DoEndDrag.
    virtual void DoStartDrag(TDragObject*& DragObject);
    // The drag ended: on Target at its client point (X, Y), or without a drop (null, 0, 0).
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    // True when the wheel turn was handled; an unhandled one goes on to the parent.
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual void Resize();
    virtual void Paint() {}

    // Hooks for descendants: the property changed and the control was invalidated.
    virtual void TextChanged() {}
    virtual void FontChanged() {}
    virtual void ColorChanged() {}
    virtual void HintChanged() {}

    // Takes over the parent's colour or font where ParentColor or ParentFont asks for it.
    void ParentColorChanged();
    void ParentFontChanged();
    // Stores the bounds without realigning or raising anything (the window reported them).
    void UpdateBoundsFromWindow(int left, int top, int width, int height);
    // Brings bounds within the ranges SetBounds keeps.
    static void KeepBoundsSane(int& left, int& top, int& width, int& height);
    // Asks the parent to realign with this control as the one being moved.
    virtual void RequestAlign();

private:
    friend class TWinControl;
    friend class TDragSession;
    void MouseMessage(TMessage& message);
    void OnFontChange(TObject* sender);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    TAlign align_ = TAlign::alNone;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFont font_;
    bool parentFont_ = true;
    bool copyingFont_ = false;
    std::string text_;
    std::string hint_;
    bool showHint_ = false;
    TCursor cursor_ = crDefault;
    bool clicked_ = false;
    TDragMode dragMode_ = TDragMode::dmManual;
    TCursor dragCursor_ = crDrag;
};

// What a drag carries when its source names it in OnStartDrag: targets get it as their Source.
class TDragObject : public TObject {
public:
    // Null takes the drag's source control.
    explicit TDragObject(TControl* control = nullptr) : control_(control) {}
    // The control the drag came from.
    TControl* Control() const { return control_; }

private:
    friend class TDragSession;
    TControl* control_;
};

// A control drawn on its parent's window: the parent paints it after its own Paint and routes
// to it the mouse messages at its position.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner = nullptr);
    ~TGraphicControl() override;

    void Invalidate() override;
    void Update() override;

protected:
    // Valid during Paint: the parent's canvas with its origin at the control's top-left corner
    // and clipped to the control. Outside Paint it is bound to nothing.
    TCanvas& Canvas() { return canvas_; }

private:
    friend class TWinControl;
    // Paints the control on the parent's context (origin and clip already set).
    void PaintOn(HDC dc);

    TCanvas canvas_;
};

}  // namespace vxplan
