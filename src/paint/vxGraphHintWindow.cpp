// TGraphHintWindow: placing, the show and hide delays, and the deferred show and hide steps.
#include <vxplan/paint/vxGraphHintWindow.h>

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <QApplication>

namespace vxplan {

namespace {

constexpr int kHideAfterMs = 5000;
constexpr int kShowAfterMs = 1000;
constexpr int kBelowOwnerGap = 4;

TWinControl* RequireWindowedOwner(TComponent* owner)
{
    auto* control = dynamic_cast<TWinControl*>(owner);
    if (!control) throw EInvalidArgument("The hint window's owner must be a windowed control");
    return control;
}

void Restart(TTimer& timer)
{
    timer.SetEnabled(false);
    timer.SetEnabled(true);
}

}  // namespace

TGraphHintWindow::TGraphHintWindow(TComponent* AOwner) : THintWindow(AOwner)
{
    TWinControl* parent = RequireWindowedOwner(AOwner);
    SetVisible(false);
    SetBounds(GetLeft(), GetTop(), 120, 30);
    SetParent(parent);
    SetColor(clInfoBk);
    hideTimer_.SetEnabled(false);
    hideTimer_.SetInterval(kHideAfterMs);
    hideTimer_.SetOnTimer(TNotifyEvent(this, &TGraphHintWindow::DoHide));
    showTimer_.SetEnabled(false);
    showTimer_.SetInterval(kShowAfterMs);
    showTimer_.SetOnTimer(TNotifyEvent(this, &TGraphHintWindow::DoShow));
}

TGraphHintWindow::~TGraphHintWindow()
{
    TDoLater::NeverMind(TDoLaterCall(this, &TGraphHintWindow::DoShowAsync));
    TDoLater::NeverMind(TDoLaterCall(this, &TGraphHintWindow::DoHideAsync));
}

void TGraphHintWindow::ShowMoveInfo(const std::string& aLine1, const std::string& aLine2,
                                    const std::string& aLine3, int aX, int aY)
{
    SetCaption(aLine1 + '\r' + aLine2 + '\r' + aLine3);
    Invalidate();
    ShowDirect(aX, aY);
}

void TGraphHintWindow::Place(int aX, int aY)
{
    if (StaticPos)
        UpdateStaticPos();
    else
        SetPos(aX, aY);
}

void TGraphHintWindow::ShowDirect(int aX, int aY)
{
    Place(aX, aY);
    Show();
    raise();
    hideTimer_.SetEnabled(false);
    showTimer_.SetEnabled(false);
}

void TGraphHintWindow::SetPos(int aX, int aY)
{
    TWinControl* parent = GetHintParent();
    if (!parent) return;
    const TPoint origin = parent->ClientToScreen(Point(0, 0));
    const int top = BelowOwner ? origin.Y + parent->GetHeight() + kBelowOwnerGap : origin.Y + aY;
    SetBounds(origin.X + aX, top, GetWidth(), GetHeight());
}

void TGraphHintWindow::UpdateStaticPos()
{
    TWinControl* parent = GetHintParent();
    if (!parent) return;
    const TPoint origin = parent->ClientToScreen(Point(0, 0));
    SetBounds(origin.X + StaticLeft, origin.Y + StaticTop, StaticWidth, StaticHeight);
}

void TGraphHintWindow::ShowSlowHintFor(TObject* anObject, int aX, int aY)
{
    if (anObject && anObject != currentObject_) {
        Restart(showTimer_);
        if (OnUpdateText) OnUpdateText(this, anObject);
    }
    if (!anObject) Hide();
    Place(aX, aY);
    currentObject_ = anObject;
}

void TGraphHintWindow::DoShow(TObject*)
{
    TDoLater::DoLater(TDoLaterCall(this, &TGraphHintWindow::DoShowAsync), this);
    showTimer_.SetEnabled(false);
}

void TGraphHintWindow::DoShowAsync(TObject*)
{
    if (!ParentFormActive()) return;
    Invalidate();
    Show();
    raise();
    Restart(hideTimer_);
}

void TGraphHintWindow::DoHide(TObject*)
{
    TDoLater::DoLater(TDoLaterCall(this, &TGraphHintWindow::DoHideAsync), this);
    hideTimer_.SetEnabled(false);
    showTimer_.SetEnabled(false);
}

void TGraphHintWindow::DoHideAsync(TObject*)
{
    ReleaseHandle();
    if (hasFocus()) clearFocus();
}

QWidget* TGraphHintWindow::ParentForm() const
{
    TWinControl* parent = GetHintParent();
    return parent ? parent->window() : nullptr;
}

bool TGraphHintWindow::ParentFormActive() const
{
    QWidget* form = ParentForm();
    if (!form) return true;
    QWidget* active = QApplication::activeWindow();
    return active == form || (active && active == form->window());
}

}  // namespace vxplan
