// TCustomCheckBox: the three states, their order on a click, and OnClick over Qt's check box.
#include <vxplan/platform/controls/vxCheckBox.h>

#include <vxplan/platform/controls/vxForwardingWidget_p.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/core/vxFlagScope.h>

#include <QCheckBox>

#include <string>

namespace vxplan {

namespace {

Qt::CheckState ToQt(TCheckBoxState state)
{
    switch (state) {
    case TCheckBoxState::cbChecked: return Qt::Checked;
    case TCheckBoxState::cbGrayed: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
    }
}

TCheckBoxState FromQt(Qt::CheckState state)
{
    switch (state) {
    case Qt::Checked: return TCheckBoxState::cbChecked;
    case Qt::PartiallyChecked: return TCheckBoxState::cbGrayed;
    default: return TCheckBoxState::cbUnchecked;
    }
}

}  // namespace

// Qt's order of states on a click is not the platform's, so the control decides it.
class TCustomCheckBox::TBox : public TForwardingWidget<QCheckBox> {
public:
    explicit TBox(TCustomCheckBox* owner) : TForwardingWidget(owner), owner_(owner) {}

protected:
    void nextCheckState() override { owner_->Toggle(); }

private:
    TCustomCheckBox* owner_;
};

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TWinControl(AOwner), box_(new TBox(this))
{
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    setFocusProxy(box_);
    QObject::connect(box_, &QCheckBox::stateChanged, box_, [this](int) { WidgetStateChanged(); });
    FontChanged();
}

// Deleted while the control is whole (see ~TCustomEdit).
TCustomCheckBox::~TCustomCheckBox() { delete box_; }

QCheckBox* TCustomCheckBox::Widget() const { return box_; }

void TCustomCheckBox::SetChecked(bool checked)
{
    SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

void TCustomCheckBox::SetState(TCheckBoxState state)
{
    const int value = static_cast<int>(state);
    if (value < 0 || value > static_cast<int>(TCheckBoxState::cbGrayed))
        throw EInvalidArgument("A check box state is cbUnchecked, cbChecked or cbGrayed, not " + std::to_string(value));
    if (state == TCheckBoxState::cbGrayed && !allowGrayed_)
        throw EInvalidArgument("A check box is grayed only while AllowGrayed is on");
    ShowState(state);
}

void TCustomCheckBox::ShowState(TCheckBoxState state)
{
    if (state == state_) return;
    state_ = state;
    {
        const TFlagScope syncing(syncing_);
        box_->setCheckState(ToQt(state));
    }
    Click();
}

// A host that sets the Qt box itself is followed too.
void TCustomCheckBox::WidgetStateChanged()
{
    if (syncing_) return;
    const TCheckBoxState state = FromQt(box_->checkState());
    if (state == state_) return;
    state_ = state;
    Click();
}

void TCustomCheckBox::Toggle()
{
    switch (state_) {
    case TCheckBoxState::cbUnchecked:
        ShowState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
        break;
    case TCheckBoxState::cbChecked: ShowState(TCheckBoxState::cbUnchecked); break;
    case TCheckBoxState::cbGrayed: ShowState(TCheckBoxState::cbChecked); break;
    }
}

void TCustomCheckBox::SetFocus()
{
    TWinControl::SetFocus();
    box_->setFocus(Qt::OtherFocusReason);
}

void TCustomCheckBox::Resize()
{
    box_->setGeometry(0, 0, GetWidth(), GetHeight());
    TWinControl::Resize();
}

void TCustomCheckBox::TextChanged() { box_->setText(QString::fromStdString(GetText())); }

void TCustomCheckBox::FontChanged()
{
    TWinControl::FontChanged();
    forwarding::FollowFont(box_, Font(), QPalette::WindowText);
}

void TCustomCheckBox::ColorChanged()
{
    TWinControl::ColorChanged();
    forwarding::FollowColor(box_, GetColor(), QPalette::Window);
}

}  // namespace vxplan
