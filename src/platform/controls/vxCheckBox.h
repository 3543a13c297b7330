// TCustomCheckBox / TCheckBox: a box beside a caption, checked, unchecked or grayed, over Qt's
// check box.
//
// The caption is the control's Text ("&" marks the accelerator letter). A click or Space moves
// the state on as the platform does: unchecked to grayed (only with AllowGrayed) or checked,
// grayed to checked, checked to unchecked. OnClick follows every change of the state, by the
// user or by the program, as the platform's check box raises it. Keys reach OnKeyDown and
// OnKeyPress before the box acts on them (setting Key to 0 swallows one, so a swallowed Space
// toggles nothing), and focus changes raise OnEnter and OnExit.
#pragma once

#include <vxplan/platform/controls/vxWinControl.h>

class QCheckBox;

namespace vxplan {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TWinControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner = nullptr);
    ~TCustomCheckBox() override;

    bool GetChecked() const { return state_ == TCheckBoxState::cbChecked; }
    // false unchecks a grayed box too.
    void SetChecked(bool checked);
    TCheckBoxState GetState() const { return state_; }
    // Throws EInvalidArgument for cbGrayed while AllowGrayed is off, and for a value that is no
    // state; the state stays as it was.
    void SetState(TCheckBoxState state);
    // Turning it off leaves a grayed box grayed until the next click checks it.
    bool GetAllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool allowGrayed) { allowGrayed_ = allowGrayed; }

    void SetFocus() override;
    QCheckBox* Widget() const;

protected:
    // The user clicked the box or pressed Space: the state moves on.
    virtual void Toggle();
    void Resize() override;
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;

private:
    class TBox;
    void ShowState(TCheckBoxState state);
    void WidgetStateChanged();

    TBox* box_;
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool allowGrayed_ = false;
    bool syncing_ = false;
};

class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
};

}  // namespace vxplan
