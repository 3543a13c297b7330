// TvxSplitter: a thin bar beside an aligned control that the user drags to size that control.
// While dragging it shows an inverted line (or dotted pattern) over the parent, or resizes as
// the mouse moves, by ResizeStyle.
#pragma once

#include <vxplan/platform/controls/vxControl.h>

#include <memory>

namespace vxplan {

class TInvertOverlay;

enum class TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

using TCanResizeEvent = TMethod<void(TObject* Sender, int& NewSize, bool& Accept)>;

class TvxSplitter : public TGraphicControl {
public:
    explicit TvxSplitter(TComponent* AOwner = nullptr);
    ~TvxSplitter() override;

    bool GetBeveled() const { return beveled_; }
    void SetBeveled(bool beveled);
    int GetMinSize() const { return minSize_; }
    // Throws EInvalidArgument below 0.
    void SetMinSize(int minSize);
    TResizeStyle GetResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle style) { resizeStyle_ = style; }
    // The control being sized while a drag runs; null otherwise.
    TControl* GetResizeControl() const { return control_; }

    TCanResizeEvent OnCanResize;
    TNotifyEvent OnMoved;
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void RequestAlign() override;
    // A neighbour freed while it is being sized ends the drag.
    void Notification(TComponent* component, TOperation operation) override;

    // The first visible, enabled control of the parent that touches the aligned side.
    TControl* FindControl() const;
    void CalcSplitSize(int x, int y, int& newSize, int& split) const;
    void UpdateSize(int x, int y) { CalcSplitSize(x, y, newSize_, split_); }
    void UpdateControlSize();
    bool DoCanResize(int& newSize);
    virtual bool CanResize(int& newSize);
    void DrawLine();
    void AllocateLineDC();
    void ReleaseLineDC();
    void StopSizing();

private:
    bool Horizontal() const;   // sizes a width (left or right alignment)
    bool DrawsLine() const { return resizeStyle_ == TResizeStyle::rsLine || resizeStyle_ == TResizeStyle::rsPattern; }

    bool beveled_ = false;
    int minSize_ = 30;
    TResizeStyle resizeStyle_ = TResizeStyle::rsPattern;
    TControl* control_ = nullptr;
    TPoint downPos_;
    int maxSize_ = 0;
    int newSize_ = 0;
    int oldSize_ = -1;
    int split_ = 0;
    std::unique_ptr<TInvertOverlay> line_;
    bool lineVisible_ = false;
};

}  // namespace vxplan
