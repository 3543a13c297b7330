// TCustomEdit / TEdit: a one-line text box over Qt's line edit.
//
// Keys reach the control's OnKeyDown and OnKeyPress before the line edit acts on them, so a
// handler can swallow one (set Key to 0), as on the platform; focus changes raise OnEnter and
// OnExit of the control. Tab moves the focus unless CM_WANTSPECIALKEY answers non-zero for
// VK_TAB, and a WndProc that sets a non-zero Result for WM_CONTEXTMENU (LParam the screen
// point) keeps the line edit's own menu from showing. The memo, combo box, check box and date
// picker do the same.
#pragma once

#include <vxplan/platform/controls/vxWinControl.h>

#include <string>

class QLineEdit;

namespace vxplan {

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner = nullptr);
    ~TCustomEdit() override;

    // The text typed so far (the control's Text is kept equal to it).
    std::string GetEditText() const;
    void SetEditText(const std::string& text);
    int GetMaxLength() const { return maxLength_; }
    // 0 = no limit. Throws EInvalidArgument below 0.
    void SetMaxLength(int maxLength);
    bool GetReadOnly() const;
    void SetReadOnly(bool readOnly);
    void SelectAll();
    int GetSelStart() const;
    int GetSelLength() const;

    void SetFocus() override;
    QLineEdit* Widget() const;

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    void Resize() override;
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;

private:
    class TLineEdit;
    TLineEdit* edit_;
    int maxLength_ = 0;
    bool syncing_ = false;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

}  // namespace vxplan
