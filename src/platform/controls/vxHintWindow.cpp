// THintWindow: a tool-tip window with a one-pixel frame and the text inset by two pixels.
#include <vxplan/platform/controls/vxHintWindow.h>

#include <vxplan/platform/graphics/vxMeasureCanvas_p.h>

namespace vxplan {

namespace {

constexpr uint32_t kTextFormat = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    // No Qt parent: the window lives as long as its owner says, whatever becomes of the control
    // it speaks for.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    SetVisible(false);
    SetColor(clInfoBk);
    Font().SetColor(clInfoText);
}

THintWindow::~THintWindow()
{
    if (hintParent_) hintParent_->RemoveFreeNotification(this);
}

void THintWindow::SetParent(TWinControl* parent)
{
    if (parent == hintParent_) return;
    if (hintParent_) hintParent_->RemoveFreeNotification(this);
    hintParent_ = parent;
    if (hintParent_) hintParent_->FreeNotification(this);
}

void THintWindow::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == hintParent_) hintParent_ = nullptr;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint)
{
    TRect r = Rect(0, 0, maxWidth, 0);
    TMeasureCanvas measure(Font());
    DrawTextW(measure.Handle(), hint, r, kTextFormat | DT_CALCRECT);
    // Two pixels of margin each side of the text, inside the frame.
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& hint)
{
    SetCaption(hint);
    SetBoundsRect(rect);
    Invalidate();
    Show();
    raise();
}

void THintWindow::Paint()
{
    TCanvas& c = Canvas();
    TRect r = GetClientRect();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(GetColor());
    c.FillRect(r);
    c.Brush().SetColor(clWindowFrame);
    c.FrameRect(r);
    InflateRect(r, -2, -2);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.SetFont(Font());
    c.RequireState();
    DrawTextW(c.GetHandle(), GetCaption(), r, kTextFormat);
}

}  // namespace vxplan
