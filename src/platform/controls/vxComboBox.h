// TCustomComboBox / TComboBox: a text box with a drop-down list of items, over Qt's combo box.
//
// csDropDown (the default) takes any text, typed or set, and ItemIndex follows the text: the
// item equal to it (the one selected already when several are), else -1. csDropDownList shows
// only items: Text is the selected item, "" with none, and setting a text that is no item
// selects none. There is no auto-completion, and Enter adds nothing to the list.
//
// OnChange follows every change of Text, typed, picked or set by the program; OnSelect follows
// the user picking an item from the list or with the arrow keys; OnDropDown comes before the
// list shows (a handler may still fill it) and OnCloseUp after it has gone. Keys reach
// OnKeyDown and OnKeyPress once, before the combo box acts on them, wherever the focus sits in
// it; focus moving into the list and back raises no OnExit and OnEnter.
#pragma once

#include <vxplan/platform/controls/vxWinControl.h>

#include <string>
#include <vector>

class QComboBox;

namespace vxplan {

enum class TComboBoxStyle { csDropDown, csDropDownList };

class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* AOwner = nullptr);
    ~TCustomComboBox() override;

    TComboBoxStyle GetStyle() const { return style_; }
    // To csDropDownList a text that is no item goes; throws EInvalidArgument for a value that
    // is no style.
    void SetStyle(TComboBoxStyle style);

    const std::vector<std::string>& GetItems() const { return items_; }
    int ItemsCount() const { return static_cast<int>(items_.size()); }
    // Clearing selects none; csDropDown keeps its text.
    void ItemsClear();
    void ItemsAdd(const std::string& item);
    // Replaces the items: csDropDown keeps its text (selecting the item equal to it),
    // csDropDownList selects none.
    void SetItems(const std::vector<std::string>& items);

    // -1 = none, which clears the text. Throws EInvalidArgument outside -1..ItemsCount-1 and
    // changes nothing.
    int GetItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);

    // Shows or hides the list; showing does nothing while the control is not on screen.
    bool GetDroppedDown() const;
    void SetDroppedDown(bool droppedDown);
    // The most items the list shows without scrolling: at least 1 (less is taken as 1).
    int GetDropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int count);

    void SetFocus() override;
    QComboBox* Widget() const;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    void Resize() override;
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;

private:
    class TCombo;
    class TLineEdit;
    bool Editable() const { return style_ == TComboBoxStyle::csDropDown; }
    // The item equal to text: preferred when it is, else the first; -1 for none.
    int MatchIndex(const std::string& text, int preferred) const;
    std::string WidgetText() const;
    // Makes index and text the control's, shows them, and raises OnChange when the text
    // differs from before (a copy: callers pass the Text this changes).
    void Show(int index, const std::string& text, std::string before);
    void ShowInWidget();
    void ReplaceItems(const std::vector<std::string>& items);
    void UseLineEdit();
    // The user typed, picked or stepped: Qt's state becomes the control's.
    void WidgetEditTextChanged();
    void WidgetIndexChanged();
    void WidgetActivated(int index);
    void PopupShowing();
    void PopupHidden();

    TCombo* combo_;
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    int dropDownCount_ = 8;
    bool dropped_ = false;
    bool syncing_ = false;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};

}  // namespace vxplan
