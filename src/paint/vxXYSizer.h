// TXYSizer: a small square handle dragged in two directions at once to move a split point of its
// parent. While it moves, two guide lines across the parent show the new point; at the release
// the owner hears how far the handle went and lays itself out again.
//
// The handle never leaves the parent's margins, so an owner that moves its split point by the
// distance it hears keeps the controls on either side at least as large as the margins, and the
// handle stays where the user can reach it.
#pragma once

#include <vxplan/platform/controls/vxPanel.h>

#include <cstdint>

namespace vxplan {

class TXYSizer;

// theNewPoint is the distance the handle moved between the press and the release, not a position.
using TOnResize = TMethod<void(TXYSizer* Sender, const TPoint& theNewPoint)>;

class TXYSizer : public TPanel {
public:
    explicit TXYSizer(TComponent* AOwner = nullptr);
    ~TXYSizer() override;

    // How far inside the parent's edges the pointer must stay for the handle to follow it, and
    // the handle itself.
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

    // The top-left corner the handle may take nearest to the one asked: inside the parent's
    // margins (the left and top margin win when the parent is too small for both).
    TPoint KeptInside(TPoint topLeft) const;

    TOnResize OnResize;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TPanel* horizontalGuide_;
    TPanel* verticalGuide_;
    TPoint KeptInside(int64_t left, int64_t top) const;
    void ShowGuides(TWinControl& parent);

    TPoint mouseDownPoint_;
    TPoint mouseDownPos_;
    bool dragging_ = false;
    int topMargin_ = 5;
    int leftMargin_ = 5;
    int rightMargin_ = 5;
    int bottomMargin_ = 5;
};

}  // namespace vxplan
