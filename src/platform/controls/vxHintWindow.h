// THintWindow: a small frameless window above everything that shows a text, as tool tips do.
// It is a top-level window placed in screen coordinates and never takes the focus. Its parent
// is the control it speaks for (used for placing it); it stays out of that control's children.
#pragma once

#include <vxplan/platform/controls/vxWinControl.h>

namespace vxplan {

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner = nullptr);
    ~THintWindow() override;

    void SetParent(TWinControl* parent) override;
    // The control the hint speaks for; null when none.
    TWinControl* GetHintParent() const { return hintParent_; }

    // The rectangle (at the origin) that shows the text, lines broken at CR or LF and at words
    // to fit maxWidth.
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint);
    // Shows the text at the screen rectangle.
    virtual void ActivateHint(const TRect& rect, const std::string& hint);
    // Hides the window.
    void ReleaseHandle() { Hide(); }

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TWinControl* hintParent_ = nullptr;
};

}  // namespace vxplan
