// TCustomEdit / TEdit: a one-line text box over Qt's line edit.
//
// Keys reach the control's OnKeyDown and OnKeyPress before the line edit acts on them, so a
// handler can swallow one (set Key to 0), as on the platform; focus changes raise OnEnter and
// OnExit of the control.
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
