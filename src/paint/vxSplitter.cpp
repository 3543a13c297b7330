// TvxSplitter: finding the neighbour, the drag with its limits and the inverted line.
#include <vxplan/paint/vxSplitter.h>

#include <vxplan/platform/controls/vxInvertOverlay_p.h>
#include <vxplan/platform/controls/vxWinControl.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>

namespace vxplan {

TvxSplitter::TvxSplitter(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetAlign(TAlign::alLeft);
    SetWidth(3);
    SetCursor(crHSplit);
    SetColor(clWindow);
    SetParentColor(true);
}

TvxSplitter::~TvxSplitter() { StopSizing(); }

bool TvxSplitter::Horizontal() const { return GetAlign() == TAlign::alLeft || GetAlign() == TAlign::alRight; }

void TvxSplitter::SetBeveled(bool beveled)
{
    beveled_ = beveled;
    Repaint();
}

void TvxSplitter::SetMinSize(int minSize)
{
    if (minSize < 0) throw EInvalidArgument("MinSize must not be negative");
    minSize_ = minSize;
}

void TvxSplitter::RequestAlign()
{
    TGraphicControl::RequestAlign();
    if (GetCursor() == crHSplit || GetCursor() == crVSplit) SetCursor(Horizontal() ? crHSplit : crVSplit);
}

TControl* TvxSplitter::FindControl() const
{
    TWinControl* parent = GetParent();
    if (!parent) return nullptr;
    TPoint p = Point(GetLeft(), GetTop());
    switch (GetAlign()) {
    case TAlign::alLeft: --p.X; break;
    case TAlign::alRight: p.X += GetWidth(); break;
    case TAlign::alTop: --p.Y; break;
    case TAlign::alBottom: p.Y += GetHeight(); break;
    default: return nullptr;
    }
    const bool leftOrTop = GetAlign() == TAlign::alLeft || GetAlign() == TAlign::alTop;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->GetControl(i);
        if (c == this || !c->GetVisible() || !c->GetEnabled()) continue;
        TRect r = c->GetBoundsRect();
        // A collapsed neighbour still touches the splitter.
        if (r.Width() == 0) (leftOrTop ? r.Left : r.Right) += leftOrTop ? -1 : 1;
        if (r.Height() == 0) (leftOrTop ? r.Top : r.Bottom) += leftOrTop ? -1 : 1;
        if (PtInRect(r, p)) return c;
    }
    return nullptr;
}

void TvxSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    StopSizing();
    control_ = FindControl();
    downPos_ = Point(x, y);
    if (!control_) return;
    control_->FreeNotification(this);
    TWinControl* parent = GetParent();
    const bool horizontal = Horizontal();
    int taken = 0;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        const TControl* c = parent->GetControl(i);
        const TAlign a = c->GetAlign();
        if (horizontal && (a == TAlign::alLeft || a == TAlign::alRight)) taken += c->GetWidth();
        if (!horizontal && (a == TAlign::alTop || a == TAlign::alBottom)) taken += c->GetHeight();
    }
    const int client = horizontal ? parent->GetClientWidth() : parent->GetClientHeight();
    maxSize_ = client - minSize_ - taken + (horizontal ? control_->GetWidth() : control_->GetHeight());
    UpdateSize(x, y);
    AllocateLineDC();
    if (DrawsLine()) DrawLine();
}

void TvxSplitter::CalcSplitSize(int x, int y, int& newSize, int& split) const
{
    split = Horizontal() ? x - downPos_.X : y - downPos_.Y;
    int s = 0;
    switch (GetAlign()) {
    case TAlign::alLeft: s = control_->GetWidth() + split; break;
    case TAlign::alRight: s = control_->GetWidth() - split; break;
    case TAlign::alTop: s = control_->GetHeight() + split; break;
    case TAlign::alBottom: s = control_->GetHeight() - split; break;
    default: break;
    }
    newSize = std::max(minSize_, std::min(s, maxSize_));
    if (newSize != s) {
        const bool rightOrBottom = GetAlign() == TAlign::alRight || GetAlign() == TAlign::alBottom;
        split += rightOrBottom ? s - newSize : newSize - s;
    }
}

void TvxSplitter::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!shift.Contains(ssLeft) || !control_) return;
    int newSize = 0, split = 0;
    CalcSplitSize(x, y, newSize, split);
    if (!DoCanResize(newSize)) return;
    if (DrawsLine() && lineVisible_) DrawLine();
    newSize_ = newSize;
    split_ = split;
    if (resizeStyle_ == TResizeStyle::rsUpdate) UpdateControlSize();
    if (DrawsLine()) DrawLine();
}

bool TvxSplitter::CanResize(int& newSize)
{
    bool accept = true;
    if (OnCanResize) OnCanResize(this, newSize, accept);
    return accept;
}

bool TvxSplitter::DoCanResize(int& newSize)
{
    const bool accepted = CanResize(newSize);
    // Dragged down to the minimum, the neighbour collapses entirely.
    if (accepted && newSize <= minSize_) newSize = 0;
    return accepted;
}

void TvxSplitter::UpdateControlSize()
{
    if (newSize_ == oldSize_ || !control_) return;
    switch (GetAlign()) {
    case TAlign::alLeft: control_->SetWidth(newSize_); break;
    case TAlign::alTop: control_->SetHeight(newSize_); break;
    case TAlign::alRight:
    case TAlign::alBottom: {
        TWinControl* parent = GetParent();
        parent->DisableAlign();
        try {
            if (GetAlign() == TAlign::alRight) {
                control_->SetLeft(control_->GetLeft() + control_->GetWidth() - newSize_);
                control_->SetWidth(newSize_);
            } else {
                control_->SetTop(control_->GetTop() + control_->GetHeight() - newSize_);
                control_->SetHeight(newSize_);
            }
        } catch (...) {
            parent->EnableAlign();
            throw;
        }
        parent->EnableAlign();
        break;
    }
    default: break;
    }
    if (GetParent()) GetParent()->Update();
    if (OnMoved) OnMoved(this);
    oldSize_ = newSize_;
}

void TvxSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!control_) return;
    if (DrawsLine() && lineVisible_) DrawLine();
    UpdateControlSize();
    StopSizing();
}

void TvxSplitter::StopSizing()
{
    if (lineVisible_) DrawLine();
    if (control_) control_->RemoveFreeNotification(this);
    control_ = nullptr;
    ReleaseLineDC();
}

void TvxSplitter::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == control_) {
        control_ = nullptr;
        if (lineVisible_) DrawLine();
        ReleaseLineDC();
    }
}

void TvxSplitter::AllocateLineDC()
{
    if (!GetParent() || !DrawsLine()) return;
    const auto inversion = resizeStyle_ == TResizeStyle::rsPattern ? TInvertOverlay::TInversion::Pattern
                                                                   : TInvertOverlay::TInversion::Full;
    line_ = std::make_unique<TInvertOverlay>(GetParent(), inversion);
}

void TvxSplitter::ReleaseLineDC()
{
    line_.reset();
    lineVisible_ = false;
}

void TvxSplitter::DrawLine()
{
    if (!line_) return;
    lineVisible_ = !lineVisible_;
    TRect r = GetBoundsRect();
    if (Horizontal())
        OffsetRect(r, split_, 0);
    else
        OffsetRect(r, 0, split_);
    line_->Invert(r);
}

void TvxSplitter::Paint()
{
    TCanvas& c = Canvas();
    TRect r = GetClientRect();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(GetColor());
    c.FillRect(r);
    if (beveled_) {
        if (Horizontal())
            InflateRect(r, -1, 2);
        else
            InflateRect(r, 2, -1);
        OffsetRect(r, 1, 1);
        c.Brush().SetColor(clBtnHighlight);
        c.FrameRect(r);
        OffsetRect(r, -2, -2);
        c.Brush().SetColor(clBtnShadow);
        c.FrameRect(r);
    }
    if (OnPaint) OnPaint(this);
}

}  // namespace vxplan
