// TControl and TGraphicControl: bounds, parents, painting requests, mouse capture and messages.
#include <vxplan/platform/controls/vxControl.h>

#include <vxplan/platform/controls/vxDragSession_p.h>
#include <vxplan/platform/controls/vxWinControl.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>
#include <string>

namespace vxplan {

namespace {

// One control holds the mouse at a time, across all windows, as on the platform.
TControl* gCapture = nullptr;

bool IsButtonDown(unsigned msg)
{
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

}  // namespace

LPARAM PointToLParam(TPoint p)
{
    const uint32_t x = static_cast<uint16_t>(static_cast<int16_t>(p.X));
    const uint32_t y = static_cast<uint16_t>(static_cast<int16_t>(p.Y));
    return static_cast<LPARAM>(x | (y << 16));
}

TPoint LParamToPoint(LPARAM lParam)
{
    const auto bits = static_cast<uint32_t>(lParam);
    return {static_cast<int16_t>(bits & 0xFFFF), static_cast<int16_t>((bits >> 16) & 0xFFFF)};
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    font_.OnChange = TNotifyEvent(this, &TControl::OnFontChange);
}

TControl::~TControl()
{
    font_.OnChange = nullptr;
    if (gCapture == this) gCapture = nullptr;
    TDragSession::ControlDestroyed(this);
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_) return;
    for (TControl* p = parent; p; p = p->parent_)
        if (p == this) throw EInvalidArgument("A control cannot be placed on itself or on one of its children");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::KeepBoundsSane(int& left, int& top, int& width, int& height)
{
    width = std::clamp(width, 0, kMaxExtent);
    height = std::clamp(height, 0, kMaxExtent);
    left = std::clamp(left, -kMaxPosition, kMaxPosition);
    top = std::clamp(top, -kMaxPosition, kMaxPosition);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    KeepBoundsSane(left, top, width, height);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const bool resized = width != width_ || height != height_;
    if (parent_ && visible_) parent_->Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (parent_ && visible_) parent_->Invalidate();
    RequestAlign();
    if (resized) Resize();
}

void TControl::UpdateBoundsFromWindow(int left, int top, int width, int height)
{
    KeepBoundsSane(left, top, width, height);
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::RequestAlign()
{
    if (parent_) parent_->RealignFor(this);
}

TPoint TControl::ClientToScreen(TPoint p) const
{
    if (!parent_) return p;
    return parent_->ClientToScreen(ClientToParent(p));
}

TPoint TControl::ScreenToClient(TPoint p) const
{
    if (!parent_) return p;
    const TPoint q = parent_->ScreenToClient(p);
    return {q.X - left_, q.Y - top_};
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_) return;
    visible_ = visible;
    if (parent_) {
        parent_->Invalidate();
        parent_->RealignFor(this);
    }
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Invalidate();
}

void TControl::SetAlign(TAlign align)
{
    if (align == align_) return;
    align_ = align;
    RequestAlign();
}

void TControl::SetColor(TColor color)
{
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    ColorChanged();
    Invalidate();
}

void TControl::SetParentColor(bool parentColor)
{
    if (parentColor == parentColor_) return;
    parentColor_ = parentColor;
    if (parentColor) ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!parentColor_ || !parent_) return;
    if (parent_->GetColor() != color_) {
        color_ = parent_->GetColor();
        ColorChanged();
        Invalidate();
    }
}

void TControl::SetParentFont(bool parentFont)
{
    if (parentFont == parentFont_) return;
    parentFont_ = parentFont;
    if (parentFont) ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_) return;
    copyingFont_ = true;
    font_.Assign(parent_->Font());
    copyingFont_ = false;
    FontChanged();
    Invalidate();
}

void TControl::OnFontChange(TObject*)
{
    if (copyingFont_) return;
    // A font set on the control itself is the control's own from now on.
    parentFont_ = false;
    FontChanged();
    Invalidate();
}

void TControl::SetText(const std::string& text)
{
    if (text == text_) return;
    text_ = text;
    TextChanged();
    Invalidate();
}

void TControl::SetHint(const std::string& hint)
{
    if (hint == hint_) return;
    hint_ = hint;
    HintChanged();
}

void TControl::SetShowHint(bool show)
{
    if (show == showHint_) return;
    showHint_ = show;
    HintChanged();
}

void TControl::SetCursor(TCursor cursor)
{
    ToQtCursorShape(cursor);  // refuses an unknown number before anything changes
    cursor_ = cursor;
}

void TControl::Invalidate()
{
    if (parent_) parent_->Invalidate();
}

void TControl::Update()
{
    if (parent_) parent_->Update();
}

bool TControl::GetMouseCapture() const { return gCapture == this; }

void TControl::SetMouseCapture(bool capture)
{
    if (capture)
        gCapture = this;
    else if (gCapture == this)
        gCapture = nullptr;
}

TControl* TControl::CaptureControl() { return gCapture; }

void TControl::BringToFront()
{
    if (!parent_) return;
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.push_back(this);
    parent_->Invalidate();
}

void TControl::SendToBack()
{
    if (!parent_) return;
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.insert(list.begin(), this);
    parent_->Invalidate();
}

LRESULT TControl::Perform(unsigned msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& message)
{
    if ((message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) || message.Msg == WM_MOUSEWHEEL)
        MouseMessage(message);
}

void TControl::MouseMessage(TMessage& m)
{
    if (m.Msg == WM_MOUSEWHEEL) {
        TShiftState shift = ShiftStateFromMouseKeys(m.WParam & 0xFFFF);
        const int delta = static_cast<int16_t>((m.WParam >> 16) & 0xFFFF);
        const TPoint pos = LParamToPoint(m.LParam);
        if (DoMouseWheel(shift, delta, pos))
            m.Result = 1;
        else if (parent_)
            m.Result = parent_->Perform(WM_MOUSEWHEEL, m.WParam, m.LParam);
        return;
    }
    const TPoint p = LParamToPoint(m.LParam);
    TShiftState shift = ShiftStateFromMouseKeys(m.WParam);
    if (IsButtonDown(m.Msg)) SetMouseCapture(true);
    switch (m.Msg) {
    case WM_MOUSEMOVE: MouseMove(shift, p.X, p.Y); break;
    case WM_LBUTTONDOWN:
        clicked_ = true;
        MouseDown(TMouseButton::mbLeft, shift, p.X, p.Y);
        // After MouseDown, and only once the mouse moves: a press without a move stays a click.
        if (dragMode_ == TDragMode::dmAutomatic && !TDragSession::Busy()) BeginDrag(false);
        break;
    case WM_RBUTTONDOWN: MouseDown(TMouseButton::mbRight, shift, p.X, p.Y); break;
    case WM_MBUTTONDOWN: MouseDown(TMouseButton::mbMiddle, shift, p.X, p.Y); break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        // The second press of a double click: DblClick, then a press marked ssDouble. It does
        // not arm Click, so the release that follows is no second click.
        SetMouseCapture(true);
        const TMouseButton b = m.Msg == WM_LBUTTONDBLCLK   ? TMouseButton::mbLeft
                               : m.Msg == WM_RBUTTONDBLCLK ? TMouseButton::mbRight
                                                           : TMouseButton::mbMiddle;
        if (b == TMouseButton::mbLeft) DblClick();
        MouseDown(b, shift.Include(ssDouble), p.X, p.Y);
        break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        if ((m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) SetMouseCapture(false);
        if (m.Msg == WM_LBUTTONUP && clicked_) {
            clicked_ = false;
            // A release outside the control cancels the click, as on a button.
            if (GetClientRect().Contains(p)) Click();
        }
        const TMouseButton b = m.Msg == WM_LBUTTONUP   ? TMouseButton::mbLeft
                               : m.Msg == WM_RBUTTONUP ? TMouseButton::mbRight
                                                       : TMouseButton::mbMiddle;
        MouseUp(b, shift, p.X, p.Y);
        break;
    }
    default: break;
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    return handled;
}

void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

// --- TGraphicControl ------------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Invalidate()
{
    if (GetParent() && GetVisible()) GetParent()->Invalidate();
}

void TGraphicControl::Update()
{
    if (GetParent()) GetParent()->Update();
}

void TGraphicControl::PaintOn(HDC dc)
{
    const TCanvasBinding binding(canvas_, dc);
    Paint();
}

// --- Drag and drop ---------------------------------------------------------------------------

void TControl::BeginDrag(bool Immediate, int Threshold)
{
    if (Threshold < -1)
        throw EInvalidArgument("Drag threshold must be -1 (the platform's) or not negative, not " +
                               std::to_string(Threshold));
    TDragSession::Begin(this, Immediate, Threshold);
}

void TControl::EndDrag(bool Drop) { TDragSession::End(this, Drop); }

bool TControl::Dragging() const { return TDragSession::IsDragging(this); }

void TControl::SetDragCursor(TCursor cursor)
{
    ToQtCursorShape(cursor);  // refuses an unknown number before anything changes
    dragCursor_ = cursor;
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    Accept = static_cast<bool>(OnDragOver);
    if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y)
{
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoStartDrag(TDragObject*& DragObject)
{
    if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y)
{
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

}  // namespace vxplan
