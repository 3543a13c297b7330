// TXYSizer: the handle follows the pointer inside the parent's margins; guides show the point.
#include <vxplan/paint/vxXYSizer.h>

namespace vxplan {

namespace {

TPanel* CreateGuide(TComponent* owner)
{
    auto* guide = new TPanel(owner);
    guide->SetCaption("");
    guide->SetVisible(false);
    return guide;
}

}  // namespace

TXYSizer::TXYSizer(TComponent* AOwner)
    : TPanel(AOwner), horizontalGuide_(CreateGuide(AOwner)), verticalGuide_(CreateGuide(AOwner))
{
    SetBounds(GetLeft(), GetTop(), 5, 5);
}

TXYSizer::~TXYSizer()
{
    // Without an owner the guides are the sizer's to free.
    if (!GetOwner()) {
        delete horizontalGuide_;
        delete verticalGuide_;
    }
}

void TXYSizer::Paint()
{
    TPanel::Paint();
    Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
    Canvas().Brush().SetColor(clBlack);
    Canvas().FillRect(Rect(0, 0, GetWidth(), GetHeight()));
}

void TXYSizer::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TPanel::MouseDown(button, shift, x, y);
    mouseDownPoint_ = Point(x, y);
    mouseDownPos_ = Point(GetLeft(), GetTop());
}

void TXYSizer::MouseMove(TShiftState shift, int x, int y)
{
    TPanel::MouseMove(shift, x, y);
    TWinControl* parent = GetParent();
    if (!parent || !shift.Contains(ssLeft)) return;
    const TPoint p = parent->ScreenToClient(ClientToScreen(Point(x, y)));
    const TRect inside = Rect(leftMargin_, topMargin_, parent->GetClientWidth() - rightMargin_,
                              parent->GetClientHeight() - bottomMargin_);
    if (!inside.Contains(p)) return;
    SetBounds(GetLeft() - (mouseDownPoint_.X - x), GetTop() - (mouseDownPoint_.Y - y), GetWidth(), GetHeight());
    horizontalGuide_->SetParent(parent);
    verticalGuide_->SetParent(parent);
    horizontalGuide_->SetBounds(5, GetTop() + mouseDownPoint_.Y, parent->GetClientWidth() - 10, 2);
    verticalGuide_->SetBounds(GetLeft() + mouseDownPoint_.X, 5, 2, parent->GetClientHeight() - 10);
    horizontalGuide_->Show();
    verticalGuide_->Show();
    horizontalGuide_->BringToFront();
    verticalGuide_->BringToFront();
}

void TXYSizer::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TPanel::MouseUp(button, shift, x, y);
    if (OnResize) OnResize(this, Point(GetLeft() - mouseDownPos_.X, GetTop() - mouseDownPos_.Y));
    horizontalGuide_->Hide();
    verticalGuide_->Hide();
}

}  // namespace vxplan
