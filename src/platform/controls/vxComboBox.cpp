// TCustomComboBox: the items, the text and index that agree with each other, the two styles and
// the drop-down list over Qt's combo box.
//
// The control's items_, itemIndex_ and Text are the truth; Qt's combo box shows them. While the
// user types in csDropDown, Qt's current index is left where it was unless the text equals an
// item: setting it to -1 would clear the line edit under the user's cursor. A pick of that
// stale item is caught in WidgetActivated.
#include <vxplan/platform/controls/vxComboBox.h>

#include <vxplan/platform/controls/vxForwardingWidget_p.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/core/vxFlagScope.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QStringList>

#include <algorithm>
#include <string>

namespace vxplan {

// The editable style's line edit: an editable combo box hands its keys and focus on to it with
// the same events, which the forwarding takes into account.
class TCustomComboBox::TLineEdit : public TForwardingWidget<QLineEdit> {
public:
    using TForwardingWidget::TForwardingWidget;
};

// Tells the control when the list is about to show and when it has gone, however it goes
// (a pick, Escape, a click elsewhere, the window closing).
class TCustomComboBox::TCombo : public TForwardingWidget<QComboBox> {
public:
    explicit TCombo(TCustomComboBox* owner) : TForwardingWidget(owner), owner_(owner)
    {
        popup_ = view()->window();
        popup_->installEventFilter(this);
    }

    bool PopupVisible() const { return popup_->isVisible(); }

    void showPopup() override
    {
        owner_->PopupShowing();
        QComboBox::showPopup();
        owner_->dropped_ = PopupVisible();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == popup_ && e->type() == QEvent::Hide) owner_->PopupHidden();
        return QComboBox::eventFilter(watched, e);
    }

private:
    TCustomComboBox* owner_;
    QWidget* popup_;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner), combo_(new TCombo(this))
{
    SetColor(clWindow);
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    setFocusProxy(combo_);
    // The list holds only the items the program gives it.
    combo_->setInsertPolicy(QComboBox::NoInsert);
    combo_->setDuplicatesEnabled(true);
    combo_->setMaxVisibleItems(dropDownCount_);
    UseLineEdit();
    QObject::connect(combo_, &QComboBox::editTextChanged, combo_, [this](const QString&) { WidgetEditTextChanged(); });
    QObject::connect(combo_, &QComboBox::currentIndexChanged, combo_, [this](int) { WidgetIndexChanged(); });
    QObject::connect(combo_, &QComboBox::activated, combo_, [this](int index) { WidgetActivated(index); });
    FontChanged();
}

// Deleted while the control is whole (see ~TCustomEdit); the list going with it raises nothing.
TCustomComboBox::~TCustomComboBox() { delete combo_; }

QComboBox* TCustomComboBox::Widget() const { return combo_; }

void TCustomComboBox::UseLineEdit()
{
    combo_->setLineEdit(new TLineEdit(this, combo_));
    // Qt gives every new line edit a completer; the platform's box completes nothing.
    combo_->setCompleter(nullptr);
}

// --- Text and index -------------------------------------------------------------------------

int TCustomComboBox::MatchIndex(const std::string& text, int preferred) const
{
    if (preferred >= 0 && preferred < ItemsCount() && items_[static_cast<size_t>(preferred)] == text) return preferred;
    const auto it = std::find(items_.begin(), items_.end(), text);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

std::string TCustomComboBox::WidgetText() const
{
    if (Editable()) return combo_->lineEdit()->text().toStdString();
    return combo_->currentIndex() >= 0 ? combo_->currentText().toStdString() : std::string();
}

void TCustomComboBox::Show(int index, const std::string& text, std::string before)
{
    itemIndex_ = index;
    {
        const TFlagScope syncing(syncing_);
        SetText(text);
        ShowInWidget();
    }
    if (text != before) Change();
}

void TCustomComboBox::ShowInWidget()
{
    // An editable combo box clears its text at index -1; the text is put back below.
    if (combo_->currentIndex() != itemIndex_) combo_->setCurrentIndex(itemIndex_);
    if (Editable()) {
        const QString text = QString::fromStdString(GetText());
        if (combo_->lineEdit()->text() != text) combo_->lineEdit()->setText(text);
    }
}

void TCustomComboBox::TextChanged()
{
    if (syncing_) return;
    const std::string text = GetText();
    const int index = MatchIndex(text, itemIndex_);
    Show(index, Editable() || index >= 0 ? text : std::string(), WidgetText());
}

void TCustomComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= ItemsCount())
        throw EInvalidArgument("Item index " + std::to_string(index) + " is outside -1.." +
                               std::to_string(ItemsCount() - 1) + " (-1 selects none)");
    Show(index, index >= 0 ? items_[static_cast<size_t>(index)] : std::string(), GetText());
}

// --- Items ----------------------------------------------------------------------------------

void TCustomComboBox::ItemsAdd(const std::string& item)
{
    items_.push_back(item);
    {
        const TFlagScope syncing(syncing_);
        combo_->addItem(QString::fromStdString(item));
    }
    // Qt selects the first item added to an empty list; the control selects what its rule says.
    const int index = Editable() ? MatchIndex(GetText(), itemIndex_) : itemIndex_;
    Show(index, GetText(), GetText());
}

void TCustomComboBox::ItemsClear() { ReplaceItems({}); }

void TCustomComboBox::SetItems(const std::vector<std::string>& items) { ReplaceItems(items); }

void TCustomComboBox::ReplaceItems(const std::vector<std::string>& items)
{
    const std::string before = GetText();
    items_ = items;
    {
        const TFlagScope syncing(syncing_);
        QStringList list;
        list.reserve(static_cast<qsizetype>(items.size()));
        for (const std::string& item : items) list.append(QString::fromStdString(item));
        combo_->clear();
        combo_->addItems(list);
    }
    if (Editable())
        Show(MatchIndex(before, -1), before, before);
    else
        Show(-1, std::string(), before);
}

// --- Style and list -------------------------------------------------------------------------

void TCustomComboBox::SetStyle(TComboBoxStyle style)
{
    if (style != TComboBoxStyle::csDropDown && style != TComboBoxStyle::csDropDownList)
        throw EInvalidArgument("A combo box style is csDropDown or csDropDownList, not " +
                               std::to_string(static_cast<int>(style)));
    if (style == style_) return;
    const std::string before = GetText();
    style_ = style;
    {
        const TFlagScope syncing(syncing_);
        if (Editable())
            UseLineEdit();
        else
            combo_->setEditable(false);
    }
    if (Editable())
        Show(MatchIndex(before, itemIndex_), before, before);
    else
        Show(itemIndex_, itemIndex_ >= 0 ? items_[static_cast<size_t>(itemIndex_)] : std::string(), before);
}

bool TCustomComboBox::GetDroppedDown() const { return dropped_; }

void TCustomComboBox::SetDroppedDown(bool droppedDown)
{
    if (droppedDown == dropped_) return;
    if (droppedDown) {
        if (combo_->isVisible()) combo_->showPopup();
    } else {
        combo_->hidePopup();
    }
}

void TCustomComboBox::SetDropDownCount(int count)
{
    dropDownCount_ = std::max(count, 1);
    combo_->setMaxVisibleItems(dropDownCount_);
}

void TCustomComboBox::PopupShowing() { DropDown(); }

void TCustomComboBox::PopupHidden()
{
    if (!dropped_) return;
    dropped_ = false;
    CloseUp();
}

// --- What the user did ----------------------------------------------------------------------

void TCustomComboBox::WidgetEditTextChanged()
{
    if (syncing_ || !Editable()) return;
    const std::string before = GetText();
    const std::string text = combo_->lineEdit()->text().toStdString();
    itemIndex_ = MatchIndex(text, combo_->currentIndex());
    {
        const TFlagScope syncing(syncing_);
        SetText(text);
        // The item's text is the line edit's, so Qt leaves the line edit as the user has it.
        if (itemIndex_ >= 0 && combo_->currentIndex() != itemIndex_) combo_->setCurrentIndex(itemIndex_);
    }
    if (text != before) Change();
}

void TCustomComboBox::WidgetIndexChanged()
{
    if (syncing_ || Editable()) return;
    const int index = combo_->currentIndex();
    if (index >= ItemsCount()) return;  // not an item of ours: nothing to follow
    Show(index, index >= 0 ? items_[static_cast<size_t>(index)] : std::string(), GetText());
}

void TCustomComboBox::WidgetActivated(int index)
{
    if (syncing_ || index < 0 || index >= ItemsCount()) return;
    const std::string& item = items_[static_cast<size_t>(index)];
    // Picking the item Qt still held as current changes nothing in Qt, so the text may lag.
    if (itemIndex_ != index || GetText() != item) Show(index, item, GetText());
    Select();
}

// --- Hooks ----------------------------------------------------------------------------------

void TCustomComboBox::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect) OnSelect(this);
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::SetFocus()
{
    TWinControl::SetFocus();
    combo_->setFocus(Qt::OtherFocusReason);
}

void TCustomComboBox::Resize()
{
    combo_->setGeometry(0, 0, GetWidth(), GetHeight());
    TWinControl::Resize();
}

void TCustomComboBox::FontChanged()
{
    TWinControl::FontChanged();
    forwarding::FollowFont(combo_, Font(), QPalette::Text);
}

void TCustomComboBox::ColorChanged()
{
    TWinControl::ColorChanged();
    forwarding::FollowColor(combo_, GetColor(), QPalette::Base);
}

}  // namespace vxplan
