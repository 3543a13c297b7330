// TCustomPanel: its bevels, caption and client rectangle.
#include <vxplan/platform/controls/vxPanel.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <string>

namespace vxplan {

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Pen().SetMode(TPenMode::pmCopy);
    // Lines leave out their end pixel, so each ring works on the rectangle's last row and column.
    --rect.Bottom;
    --rect.Right;
    for (int i = 0; i < width; ++i) {
        canvas.Pen().SetColor(topColor);
        canvas.Polyline({{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}});
        canvas.Pen().SetColor(bottomColor);
        canvas.Polyline({{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}});
        InflateRect(rect, -1, -1);
    }
    ++rect.Bottom;
    ++rect.Right;
}

namespace {

void BevelColors(TBevelCut cut, TColor& top, TColor& bottom)
{
    top = cut == TBevelCut::bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = cut == TBevelCut::bvLowered ? clBtnHighlight : clBtnShadow;
}

}  // namespace

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 185, 41);
    // The panel paints every pixel of its client area.
    SetOpaque(true);
}

void TCustomPanel::FrameChanged()
{
    Invalidate();
    Realign();
}

void TCustomPanel::SetBevelOuter(TBevelCut cut)
{
    if (cut == bevelOuter_) return;
    bevelOuter_ = cut;
    FrameChanged();
}

void TCustomPanel::SetBevelInner(TBevelCut cut)
{
    if (cut == bevelInner_) return;
    bevelInner_ = cut;
    FrameChanged();
}

void TCustomPanel::SetBevelWidth(int width)
{
    if (width < 1) throw EInvalidArgument("Bevel width must be at least 1, not " + std::to_string(width));
    if (width == bevelWidth_) return;
    bevelWidth_ = width;
    FrameChanged();
}

void TCustomPanel::SetBorderWidth(int width)
{
    if (width < 0) throw EInvalidArgument("Border width must not be negative, not " + std::to_string(width));
    if (width == borderWidth_) return;
    borderWidth_ = width;
    FrameChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle style)
{
    if (style == borderStyle_) return;
    borderStyle_ = style;
    FrameChanged();
}

void TCustomPanel::SetAlignment(TAlignment alignment)
{
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& rect)
{
    TCustomControl::AdjustClientRect(rect);
    int inset = borderWidth_;
    if (borderStyle_ == TBorderStyle::bsSingle) ++inset;
    if (bevelOuter_ != TBevelCut::bvNone) inset += bevelWidth_;
    if (bevelInner_ != TBevelCut::bvNone) inset += bevelWidth_;
    InflateRect(rect, -inset, -inset);
}

void TCustomPanel::Paint()
{
    TCanvas& canvas = Canvas();
    TRect rect = GetClientRect();
    // Our widget has no frame of its own, so the single border line is drawn in the client area.
    if (borderStyle_ == TBorderStyle::bsSingle) Frame3D(canvas, rect, clWindowFrame, clWindowFrame, 1);
    TColor top, bottom;
    if (bevelOuter_ != TBevelCut::bvNone) {
        BevelColors(bevelOuter_, top, bottom);
        if (bevelOuter_ == TBevelCut::bvSpace) top = bottom = GetColor();
        Frame3D(canvas, rect, top, bottom, bevelWidth_);
    }
    Frame3D(canvas, rect, GetColor(), GetColor(), borderWidth_);
    if (bevelInner_ != TBevelCut::bvNone) {
        BevelColors(bevelInner_, top, bottom);
        if (bevelInner_ == TBevelCut::bvSpace) top = bottom = GetColor();
        Frame3D(canvas, rect, top, bottom, bevelWidth_);
    }
    canvas.Brush().SetColor(GetColor());
    canvas.FillRect(rect);
    if (GetCaption().empty()) return;
    canvas.SetFont(Font());
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.RequireState();
    HDC dc = canvas.GetHandle();
    SetBkMode(dc, TRANSPARENT);
    uint32_t format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX;
    if (alignment_ == TAlignment::taCenter) format |= DT_CENTER;
    if (alignment_ == TAlignment::taRightJustify) format |= DT_RIGHT;
    DrawTextW(dc, GetCaption(), rect, format);
}

}  // namespace vxplan
