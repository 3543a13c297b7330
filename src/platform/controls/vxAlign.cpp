// The alignment of a window's children: alTop controls are stacked from the top, then alBottom
// from the bottom, alLeft from the left and alRight from the right of what is left, and alClient
// controls fill the rest. Hidden controls take no space; controls with alNone keep their bounds.
//
// Within one alignment the controls go by their current position (alTop by Top, alBottom by
// Bottom from the lowest up, alLeft by Left, alRight by Right from the rightmost in). So a user
// who drags an alTop panel below another reorders them. Equal positions keep the order of the
// controls list, except that the control being moved or resized at the moment goes first.
#include <vxplan/platform/controls/vxWinControl.h>

#include <vxplan/platform/core/vxFlagScope.h>

#include <algorithm>
#include <vector>

namespace vxplan {

namespace {

// The position that orders controls of one alignment; smaller goes first.
int OrderKey(const TControl* c, TAlign align)
{
    switch (align) {
    case TAlign::alTop: return c->GetTop();
    case TAlign::alBottom: return -(c->GetTop() + c->GetHeight());
    case TAlign::alLeft: return c->GetLeft();
    case TAlign::alRight: return -(c->GetLeft() + c->GetWidth());
    default: return 0;
    }
}

}  // namespace

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::Realign() { RealignFor(nullptr); }

void TWinControl::EnableAlign()
{
    if (alignDisabled_ > 0) --alignDisabled_;
    if (alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::RealignFor(TControl* moving)
{
    if (IsDestroying()) return;
    if (alignDisabled_ > 0) {
        alignPending_ = true;
        return;
    }
    // Placing the children moves them, and each move asks for alignment again.
    if (aligning_) return;
    const TFlagScope aligning(aligning_);
    alignPending_ = false;
    TRect rect = GetClientRect();
    AdjustClientRect(rect);
    AlignControls(moving, rect);
}

void TWinControl::AlignControls(TControl* moving, TRect& rect)
{
    constexpr TAlign kOrder[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                                 TAlign::alClient};
    // A copy: a child's OnResize may add or remove controls while we place them.
    const std::vector<TControl*> children = controls_;
    std::vector<TControl*> list;
    for (TAlign align : kOrder) {
        list.clear();
        for (TControl* c : children)
            if (c->GetAlign() == align && c->GetVisible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [align, moving](const TControl* a, const TControl* b) {
            const int ka = OrderKey(a, align), kb = OrderKey(b, align);
            if (ka != kb) return ka < kb;
            return a == moving && b != moving;
        });
        for (TControl* c : list) {
            const int w = std::max(rect.Width(), 0);
            const int h = std::max(rect.Height(), 0);
            switch (align) {
            case TAlign::alTop:
                c->SetBounds(rect.Left, rect.Top, w, c->GetHeight());
                rect.Top += c->GetHeight();
                break;
            case TAlign::alBottom:
                c->SetBounds(rect.Left, rect.Bottom - c->GetHeight(), w, c->GetHeight());
                rect.Bottom -= c->GetHeight();
                break;
            case TAlign::alLeft:
                c->SetBounds(rect.Left, rect.Top, c->GetWidth(), h);
                rect.Left += c->GetWidth();
                break;
            case TAlign::alRight:
                c->SetBounds(rect.Right - c->GetWidth(), rect.Top, c->GetWidth(), h);
                rect.Right -= c->GetWidth();
                break;
            case TAlign::alClient: c->SetBounds(rect.Left, rect.Top, w, h); break;
            case TAlign::alNone: break;
            }
        }
    }
}

}  // namespace vxplan
