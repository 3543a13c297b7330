// TGraphHintWindow: the hint of the chart components. It shows a dragged item's times at once
// (ShowMoveInfo), or a text for the object under the mouse after the mouse has rested on it for
// a second (ShowSlowHintFor), and hides itself five seconds after showing.
#pragma once

#include <vxplan/platform/controls/vxHintWindow.h>
#include <vxplan/platform/time/vxTimer.h>

#include <string>

namespace vxplan {

class TGraphHintWindow;

using TOnUpdateTextEvent = TMethod<void(TGraphHintWindow* theGraphHintWindow, TObject* theObject)>;

class TGraphHintWindow : public THintWindow {
public:
    // The owner is the windowed control the hint belongs to (EInvalidArgument otherwise).
    explicit TGraphHintWindow(TComponent* AOwner);
    ~TGraphHintWindow() override;

    // Three lines at once at (aX, aY) of the owner's client area.
    void ShowMoveInfo(const std::string& aLine1, const std::string& aLine2, const std::string& aLine3, int aX,
                      int aY);
    // The hint for the object, shown after the delay; a new object fetches its text once, and
    // null hides the hint.
    void ShowSlowHintFor(TObject* anObject, int aX, int aY);
    void ShowDirect(int aX, int aY);
    void SetPos(int aX, int aY);
    void UpdateStaticPos();

    // The window the hint's control sits in; null when it sits in none.
    QWidget* ParentForm() const;
    // The hint shows only over an active window (or when its control sits in none).
    bool ParentFormActive() const;

    TObject* GetCurrentObject() const { return currentObject_; }
    TTimer& HideTimer() { return hideTimer_; }
    TTimer& ShowTimer() { return showTimer_; }

    bool StaticPos = false;
    int StaticLeft = 0;
    int StaticTop = 0;
    int StaticWidth = 0;
    int StaticHeight = 0;
    bool BelowOwner = true;
    TOnUpdateTextEvent OnUpdateText;

protected:
    void DoShow(TObject* Sender);
    void DoHide(TObject* Sender);
    void DoShowAsync(TObject* theData);
    void DoHideAsync(TObject* theData);

private:
    void Place(int aX, int aY);

    TTimer hideTimer_;
    TTimer showTimer_;
    TObject* currentObject_ = nullptr;
};

}  // namespace vxplan
