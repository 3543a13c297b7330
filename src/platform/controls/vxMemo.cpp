// TCustomMemo: the text of several lines, its line breaks, and Enter and Tab over Qt's plain
// text edit.
#include <vxplan/platform/controls/vxMemo.h>

#include <vxplan/platform/controls/vxForwardingWidget_p.h>
#include <vxplan/platform/core/vxFlagScope.h>

#include <QPlainTextEdit>
#include <QTextDocument>

namespace vxplan {

namespace {

// "\r\n" and a lone "\r" as "\n", the one line break the control keeps.
std::string WithNewlines(const std::string& text)
{
    if (text.find('\r') == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
            continue;
        }
        out += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return out;
}

}  // namespace

// Enter types nothing while the memo does not want returns; it has reached the key events.
class TCustomMemo::TTextEdit : public TForwardingWidget<QPlainTextEdit> {
public:
    explicit TTextEdit(TCustomMemo* memo) : TForwardingWidget(memo), memo_(memo) {}

protected:
    void PassKeyPress(QKeyEvent* e) override
    {
        const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        if (enter && !memo_->wantReturns_) return;
        QPlainTextEdit::keyPressEvent(e);
    }

private:
    TCustomMemo* memo_;
};

TCustomMemo::TCustomMemo(TComponent* AOwner) : TWinControl(AOwner), edit_(new TTextEdit(this))
{
    SetColor(clWindow);
    SetBounds(0, 0, 185, 89);
    SetTabStop(true);
    setFocusProxy(edit_);
    edit_->setTabChangesFocus(true);
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QObject::connect(edit_, &QPlainTextEdit::textChanged, edit_, [this] { WidgetTextChanged(); });
    FontChanged();
}

// Deleted while the control is whole (see ~TCustomEdit).
TCustomMemo::~TCustomMemo() { delete edit_; }

QPlainTextEdit* TCustomMemo::Widget() const { return edit_; }

std::string TCustomMemo::WidgetText() const
{
    // The raw text keeps non-breaking spaces, which toPlainText turns into blanks.
    QString text = edit_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text.toStdString();
}

void TCustomMemo::WidgetTextChanged()
{
    if (syncing_) return;
    const std::string text = WidgetText();
    // Qt reports format changes as text changes too.
    if (text == GetText()) return;
    {
        const TFlagScope syncing(syncing_);
        SetText(text);
    }
    Change();
}

void TCustomMemo::TextChanged()
{
    if (syncing_) return;
    const std::string text = WithNewlines(GetText());
    {
        const TFlagScope syncing(syncing_);
        SetText(text);
        if (text == WidgetText()) return;
        edit_->setPlainText(QString::fromStdString(text));
    }
    Change();
}

bool TCustomMemo::GetReadOnly() const { return edit_->isReadOnly(); }
void TCustomMemo::SetReadOnly(bool readOnly) { edit_->setReadOnly(readOnly); }

void TCustomMemo::SetWantTabs(bool wantTabs)
{
    wantTabs_ = wantTabs;
    edit_->setTabChangesFocus(!wantTabs);
}

void TCustomMemo::SetWordWrap(bool wordWrap)
{
    wordWrap_ = wordWrap;
    edit_->setLineWrapMode(wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TCustomMemo::SelectAll() { edit_->selectAll(); }

void TCustomMemo::SetFocus()
{
    TWinControl::SetFocus();
    edit_->setFocus(Qt::OtherFocusReason);
}

void TCustomMemo::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomMemo::Resize()
{
    edit_->setGeometry(0, 0, GetWidth(), GetHeight());
    TWinControl::Resize();
}

void TCustomMemo::FontChanged()
{
    TWinControl::FontChanged();
    forwarding::FollowFont(edit_, Font(), QPalette::Text);
}

void TCustomMemo::ColorChanged()
{
    TWinControl::ColorChanged();
    forwarding::FollowColor(edit_, GetColor(), QPalette::Base);
}

}  // namespace vxplan
