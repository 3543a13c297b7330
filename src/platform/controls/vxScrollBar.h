// TScrollBar: a stand-alone scroll bar control over Qt's scroll bar.
//
// Position runs from Min to Max - PageSize + 1 (to Max when PageSize is 0), so that a thumb of
// PageSize units never runs past Max, as on the platform. User actions raise OnScroll with the
// scroll code and the position the action leads to (the handler may change it), then move the
// bar; every change of Position, by the user or the program, raises OnChange.
#pragma once

#include <vxplan/platform/controls/vxWinControl.h>

class QScrollBar;

namespace vxplan {

enum class TScrollBarKind { sbHorizontal, sbVertical };
enum class TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = TMethod<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// Scroll-message request codes (the low word of WParam of WM_HSCROLL / WM_VSCROLL).
enum : int {
    SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2, SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6,
    SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8
};
// Scroll-bar identifiers of a window's bars.
enum : int { SB_HORZ = 0, SB_VERT = 1 };

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner = nullptr);
    ~TScrollBar() override;

    TScrollBarKind GetKind() const { return kind_; }
    // Turning the bar swaps its width and height.
    void SetKind(TScrollBarKind kind);
    int GetPosition() const { return position_; }
    // Clamped to the range.
    void SetPosition(int position);
    int GetMin() const { return min_; }
    int GetMax() const { return max_; }
    int GetPageSize() const { return pageSize_; }
    // Throw EInvalidArgument for Max below Min or a page outside 0..Max-Min+1; nothing changes.
    void SetMin(int min) { SetParams(position_, min, max_); }
    void SetMax(int max) { SetParams(position_, min_, max); }
    void SetPageSize(int pageSize);
    // Range and position at once, the position clamped to the new range.
    void SetParams(int position, int min, int max);
    int GetSmallChange() const { return smallChange_; }
    int GetLargeChange() const { return largeChange_; }
    // Throw EInvalidArgument below 1.
    void SetSmallChange(int change);
    void SetLargeChange(int change);
    // The highest position the thumb can take.
    int MaxPosition() const;

    // Does what a user's action on the bar does: raises OnScroll and moves the bar.
    void Scroll(TScrollCode code);
    // The Qt widget inside (tests drive it like a user).
    QScrollBar* Widget() const { return bar_; }

    TScrollEvent OnScroll;
    TNotifyEvent OnChange;

protected:
    virtual void DoScroll(TScrollCode code, int& position);
    virtual void Change();
    void Resize() override;

private:
    void SyncWidget();
    void ActionTriggered(int action);

    TScrollBarKind kind_ = TScrollBarKind::sbHorizontal;
    int position_ = 0;
    int min_ = 0;
    int max_ = 100;
    int pageSize_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
    bool syncing_ = false;
    QScrollBar* bar_;
};

// The thickness of a scroll bar as the style draws it (the platform's scroll-bar metric).
int ScrollBarExtent();

}  // namespace vxplan
