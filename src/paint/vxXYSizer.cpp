// TXYSizer: the handle follows the pointer inside the parent's margins; guides show the point.
#include <vxplan/paint/vxXYSizer.h>

#include <algorithm>
#include <cstdint>

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

TPoint TXYSizer::KeptInside(TPoint topLeft) const { return KeptInside(topLeft.X, topLeft.Y); }

TPoint TXYSizer::KeptInside(int64_t left, int64_t top) const
{
    const TWinControl* parent = GetParent();
    if (!parent) return Point(ClampToInt(left), ClampToInt(top));
    const auto keep = [](int64_t v, int64_t low, int64_t high) { return ClampToInt(std::max(low, std::min(v, high))); };
    const int64_t right = int64_t(parent->GetClientWidth()) - rightMargin_ - GetWidth();
    const int64_t bottom = int64_t(parent->GetClientHeight()) - bottomMargin_ - GetHeight();
    return Point(keep(left, leftMargin_, std::max<int64_t>(leftMargin_, right)),
                 keep(top, topMargin_, std::max<int64_t>(topMargin_, bottom)));
}

void TXYSizer::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TPanel::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    dragging_ = true;
    // Where the handle is held, on the handle whatever the event says.
    mouseDownPoint_ = Point(std::clamp(x, 0, std::max(0, GetWidth() - 1)), std::clamp(y, 0, std::max(0, GetHeight() - 1)));
    mouseDownPos_ = Point(GetLeft(), GetTop());
}

void TXYSizer::MouseMove(TShiftState shift, int x, int y)
{
    TPanel::MouseMove(shift, x, y);
    TWinControl* parent = GetParent();
    if (!parent || !dragging_ || !shift.Contains(ssLeft)) return;
    // The pointer in the parent's client coordinates, wide: a drag far off the window brings any
    // position.
    const int64_t px = int64_t(GetLeft()) + x, py = int64_t(GetTop()) + y;
    if (px < leftMargin_ || py < topMargin_ || px >= int64_t(parent->GetClientWidth()) - rightMargin_ ||
        py >= int64_t(parent->GetClientHeight()) - bottomMargin_)
        return;
    const TPoint at = KeptInside(px - mouseDownPoint_.X, py - mouseDownPoint_.Y);
    SetBounds(at.X, at.Y, GetWidth(), GetHeight());
    ShowGuides(*parent);
}

void TXYSizer::ShowGuides(TWinControl& parent)
{
    // The guides cross where the pointer holds the handle.
    horizontalGuide_->SetParent(&parent);
    verticalGuide_->SetParent(&parent);
    horizontalGuide_->SetBounds(5, GetTop() + mouseDownPoint_.Y, parent.GetClientWidth() - 10, 2);
    verticalGuide_->SetBounds(GetLeft() + mouseDownPoint_.X, 5, 2, parent.GetClientHeight() - 10);
    horizontalGuide_->Show();
    verticalGuide_->Show();
    horizontalGuide_->BringToFront();
    verticalGuide_->BringToFront();
}

void TXYSizer::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TPanel::MouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !dragging_) return;
    dragging_ = false;
    horizontalGuide_->Hide();
    verticalGuide_->Hide();
    // Last: the owner may lay the parent out again, the handle with it.
    if (OnResize) OnResize(this, Point(GetLeft() - mouseDownPos_.X, GetTop() - mouseDownPos_.Y));
}

}  // namespace vxplan
