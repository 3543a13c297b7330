// TCustomPanel: a windowed control with 3-D bevels and a centred caption, the usual container
// of other controls; TPanel makes its properties public.
#pragma once

#include <vxplan/platform/controls/vxWinControl.h>

namespace vxplan {

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TBorderStyle { bsNone, bsSingle };

// The platform's 3-D frame: width rings, each with its top and left edges in topColor and its
// bottom and right edges in bottomColor (the bottom-left and top-right corners in bottomColor).
// rect shrinks by width on every side.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner = nullptr);

protected:
    TBevelCut GetBevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    TBevelCut GetBevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    int GetBevelWidth() const { return bevelWidth_; }
    // Throws EInvalidArgument below 1.
    void SetBevelWidth(int width);
    int GetBorderWidth() const { return borderWidth_; }
    // Throws EInvalidArgument below 0.
    void SetBorderWidth(int width);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

    // The aligned children share what lies inside the border line, the bevels and the border.
    void AdjustClientRect(TRect& rect) override;
    void Paint() override;

private:
    void FrameChanged();

    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
    TAlignment alignment_ = TAlignment::taCenter;
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* AOwner = nullptr) : TCustomPanel(AOwner) {}

    using TCustomPanel::GetAlignment;
    using TCustomPanel::GetBevelInner;
    using TCustomPanel::GetBevelOuter;
    using TCustomPanel::GetBevelWidth;
    using TCustomPanel::GetBorderStyle;
    using TCustomPanel::GetBorderWidth;
    using TCustomPanel::SetAlignment;
    using TCustomPanel::SetBevelInner;
    using TCustomPanel::SetBevelOuter;
    using TCustomPanel::SetBevelWidth;
    using TCustomPanel::SetBorderStyle;
    using TCustomPanel::SetBorderWidth;
};

}  // namespace vxplan
