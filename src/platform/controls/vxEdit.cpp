// TCustomEdit: text, selection, length limit and keys over Qt's line edit.
#include <vxplan/platform/controls/vxEdit.h>

#include <vxplan/platform/controls/vxKeys.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <string>

namespace vxplan {

// The line edit hands its keys and focus changes to the control first.
class TCustomEdit::TLineEdit : public QLineEdit {
public:
    TLineEdit(TCustomEdit* owner) : QLineEdit(owner), owner_(owner) {}

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        NoteInputState(e->modifiers(), QApplication::mouseButtons());
        const uint16_t vk = VirtualKeyFromQt(e->key(), e->modifiers());
        if (vk != 0) {
            NoteKeyState(vk, true);
            TMessage m{WM_KEYDOWN, vk, 1, 0};
            owner_->WndProc(m);
            if (m.WParam == 0) {
                e->accept();
                return;
            }
        }
        for (char32_t ch : e->text().toUcs4()) {
            TMessage m{WM_CHAR, static_cast<WPARAM>(ch), 1, 0};
            owner_->WndProc(m);
            if (m.WParam == 0) {
                e->accept();
                return;
            }
        }
        QLineEdit::keyPressEvent(e);
        // Keys the line edit has no use for stay with it: a windowed parent must not take them.
        e->accept();
    }

    void keyReleaseEvent(QKeyEvent* e) override
    {
        const uint16_t vk = VirtualKeyFromQt(e->key(), e->modifiers());
        if (vk != 0) {
            NoteKeyState(vk, false);
            TMessage m{WM_KEYUP, vk, 1, 0};
            owner_->WndProc(m);
        }
        QLineEdit::keyReleaseEvent(e);
        e->accept();
    }

    void focusInEvent(QFocusEvent* e) override
    {
        QLineEdit::focusInEvent(e);
        owner_->Perform(WM_SETFOCUS, 0, 0);
    }

    void focusOutEvent(QFocusEvent* e) override
    {
        QLineEdit::focusOutEvent(e);
        owner_->Perform(WM_KILLFOCUS, 0, 0);
    }

private:
    TCustomEdit* owner_;
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
        syncing_ = true;
        SetText(text.toStdString());
        syncing_ = false;
        Change();
    });
    FontChanged();
}

TCustomEdit::~TCustomEdit() = default;

QLineEdit* TCustomEdit::Widget() const { return edit_; }

std::string TCustomEdit::GetEditText() const { return edit_->text().toStdString(); }

void TCustomEdit::SetEditText(const std::string& text) { SetText(text); }

void TCustomEdit::TextChanged()
{
    if (syncing_) return;
    syncing_ = true;
    edit_->setText(QString::fromStdString(GetText()));
    syncing_ = false;
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
    const TFontData data = Font().Data();
    edit_->setFont(data.Font);
    QPalette pal = edit_->palette();
    pal.setColor(QPalette::Text, ToQColor(ColorToRGB(Font().GetColor())));
    edit_->setPalette(pal);
}

void TCustomEdit::ColorChanged()
{
    TWinControl::ColorChanged();
    QPalette pal = edit_->palette();
    pal.setColor(QPalette::Base, ToQColor(ColorToRGB(GetColor())));
    edit_->setPalette(pal);
}

}  // namespace vxplan
