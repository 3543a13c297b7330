// TCustomEdit: text, selection, length limit and keys over Qt's line edit.
#include <vxplan/platform/controls/vxEdit.h>

#include <vxplan/platform/controls/vxForwardingWidget_p.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/core/vxFlagScope.h>

#include <QLineEdit>

#include <string>

namespace vxplan {

// The line edit hands its keys and focus changes to the control first.
class TCustomEdit::TLineEdit : public TForwardingWidget<QLineEdit> {
public:
    using TForwardingWidget::TForwardingWidget;
};

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner), edit_(new TLineEdit(this))
{
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    setFocusProxy(edit_);
    edit_->setFrame(true);
    QObject::connect(edit_, &QLineEdit::textChanged, edit_, [this](const QString& text) {
        if (syncing_) return;
        {
            const TFlagScope syncing(syncing_);
            SetText(text.toStdString());
        }
        Change();
    });
    FontChanged();
}

// Deleted while the control is whole: a focused line edit that lost its window later would
// report the focus loss to a control already half destroyed.
TCustomEdit::~TCustomEdit() { delete edit_; }

QLineEdit* TCustomEdit::Widget() const { return edit_; }

std::string TCustomEdit::GetEditText() const { return edit_->text().toStdString(); }

void TCustomEdit::SetEditText(const std::string& text) { SetText(text); }

void TCustomEdit::TextChanged()
{
    if (syncing_) return;
    {
        const TFlagScope syncing(syncing_);
        edit_->setText(QString::fromStdString(GetText()));
    }
    Change();
}

void TCustomEdit::SetMaxLength(int maxLength)
{
    if (maxLength < 0) throw EInvalidArgument("Maximum length must not be negative, not " + std::to_string(maxLength));
    maxLength_ = maxLength;
    edit_->setMaxLength(maxLength > 0 ? maxLength : 32767);
}

bool TCustomEdit::GetReadOnly() const { return edit_->isReadOnly(); }
void TCustomEdit::SetReadOnly(bool readOnly) { edit_->setReadOnly(readOnly); }
void TCustomEdit::SelectAll() { edit_->selectAll(); }

int TCustomEdit::GetSelStart() const
{
    return edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
}

int TCustomEdit::GetSelLength() const { return static_cast<int>(edit_->selectedText().size()); }

void TCustomEdit::SetFocus()
{
    TWinControl::SetFocus();
    edit_->setFocus(Qt::OtherFocusReason);
}

void TCustomEdit::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomEdit::Resize()
{
    edit_->setGeometry(0, 0, GetWidth(), GetHeight());
    TWinControl::Resize();
}

void TCustomEdit::FontChanged()
{
    TWinControl::FontChanged();
    forwarding::FollowFont(edit_, Font(), QPalette::Text);
}

void TCustomEdit::ColorChanged()
{
    TWinControl::ColorChanged();
    forwarding::FollowColor(edit_, GetColor(), QPalette::Base);
}

}  // namespace vxplan
