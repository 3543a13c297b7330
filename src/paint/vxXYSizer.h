// TXYSizer: a small square handle dragged in two directions at once to move a split point of its
// parent. While it moves, two guide lines across the parent show the new point; at the release
// the owner hears how far the handle went and lays itself out again.
#pragma once

#include <vxplan/platform/controls/vxPanel.h>

namespace vxplan {

class TXYSizer;

using TOnResize = TMethod<void(TXYSizer* Sender, const TPoint& theNewPoint)>;

class TXYSizer : public TPanel {
public:
    explicit TXYSizer(TComponent* AOwner = nullptr);
    ~TXYSizer() override;

    // How far inside the parent's edges the pointer must stay for the handle to follow it.
    int GetTopMargin() const { return topMargin_; }
    void SetTopMargin(int margin) { topMargin_ = margin; }
    int GetLeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int margin) { leftMargin_ = margin; }
    int GetRightMargin() const { return rightMargin_; }
    void SetRightMargin(int margin) { rightMargin_ = margin; }
    int GetBottomMargin() const { return bottomMargin_; }
    void SetBottomMargin(int margin) { bottomMargin_ = margin; }

    // The guide lines, 2 pixels thick, shown while dragging.
    TPanel* HorizontalGuide() const { return horizontalGuide_; }
    TPanel* VerticalGuide() const { return verticalGuide_; }

    TOnResize OnResize;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TPanel* horizontalGuide_;
    TPanel* verticalGuide_;
    TPoint mouseDownPoint_;
    TPoint mouseDownPos_;
    int topMargin_ = 5;
    int leftMargin_ = 5;
    int rightMargin_ = 5;
    int bottomMargin_ = 5;
};

}  // namespace vxplan
