// TCustomTreeView: painting. Only the rows in view are visited: first the dotted lines of all of
// them under one pattern brush, then each row's button, images and caption, with the custom-draw
// hook between setting up the canvas and drawing the caption.
#include <vxplan/platform/treeview/vxTreeView.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>

namespace vxplan {

namespace {

constexpr int kLabelPad = 2;

bool SameFont(const TFont& a, const TFont& b)
{
    return a.GetName() == b.GetName() && a.GetHeight() == b.GetHeight() && a.GetStyle() == b.GetStyle();
}

}  // namespace

void TCustomTreeView::Paint()
{
    paintRequested_ = false;
    PaintView(Canvas());
}

void TCustomTreeView::PaintTo(HDC dc, int x, int y)
{
    // The control's own canvas, so a custom-draw handler drawing on Canvas draws on the page.
    if (Canvas().HandleAllocated()) throw EInvalidOperation("Cannot paint the tree elsewhere while it paints");
    TPoint old;
    OffsetViewportOrgEx(dc, x, y, &old);
    {
        const TCanvasBinding binding(Canvas(), dc);
        PaintView(Canvas());
    }
    SetViewportOrgEx(dc, old.X, old.Y, nullptr);
}

void TCustomTreeView::PaintView(TCanvas& canvas)
{
    EnsureLayout();
    const TRect view = ViewRect();
    canvas.Brush().SetBitmap(nullptr);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(GetColor());
    canvas.FillRect(view);
    HDC dc = canvas.GetHandle();
    HRGN saved = CreateRectRgn(0, 0, 0, 0);
    const bool hadClip = GetClipRgn(dc, saved) == 1;
    IntersectClipRect(dc, view.Left, view.Top, view.Right, view.Bottom);
    const bool custom = IsCustomDrawn();
    if (!custom || CustomDraw(view)) {
        const int ih = ComputedItemHeight();
        const int first = topRow_;
        const int last = std::min(static_cast<int>(rows_.size()), topRow_ + (view.Height() + ih - 1) / ih);
        if (showLines_) PaintLines(canvas, first, last);
        for (int r = first; r < last; ++r) PaintRowItem(canvas, r);
    }
    SelectClipRgn(dc, hadClip ? saved : nullptr);
    DeleteObject(saved);
    if (vertShown_ && horzShown_) {
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(Rect(view.Right, view.Bottom, GetWidth() - BorderWidth(), GetHeight() - BorderWidth()));
    }
    PaintBorder(canvas);
}

void TCustomTreeView::PaintLines(TCanvas& canvas, int first, int last)
{
    const TColor line = ColorToRGB(clBtnShadow), back = ColorToRGB(GetColor());
    TCanvas& pc = linePattern_.Canvas();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pc.SetPixel(x, y, (x + y) % 2 == 0 ? line : back);
    canvas.Brush().SetBitmap(&linePattern_);
    const int ih = ComputedItemHeight();
    const int half = indent_ / 2;
    for (int r = first; r < last; ++r) {
        const TRow& row = rows_[static_cast<size_t>(r)];
        if (row.Level + RootColumns() == 0) continue;
        const TRowGeometry g = Geometry(row, r);
        const TTreeNode* n = row.Node;
        const int cx = g.ButtonLeft + half, cy = g.Top + ih / 2;
        // Up to the parent or the previous sibling, down to the next sibling, across to the image.
        if (n->parent_ || n->index_ > 0) canvas.FillRect(Rect(cx, g.Top, cx + 1, cy));
        if (n->GetNextSibling()) canvas.FillRect(Rect(cx, cy, cx + 1, g.Top + ih));
        canvas.FillRect(Rect(cx, cy, g.ButtonLeft + indent_, cy + 1));
        // Each ancestor with siblings still to come passes through this row in its column.
        int column = g.Column - 1;
        for (const TTreeNode* a = n->parent_; a && column >= 0; a = a->parent_, --column)
            if (a->GetNextSibling()) {
                const int ax = g.ButtonLeft - (g.Column - column) * indent_ + half;
                canvas.FillRect(Rect(ax, g.Top, ax + 1, g.Top + ih));
            }
    }
    canvas.Brush().SetBitmap(nullptr);
}

void TCustomTreeView::PaintButton(TCanvas& canvas, int cx, int cy, bool expanded)
{
    const TRect box = Rect(cx - 4, cy - 4, cx + 5, cy + 5);
    canvas.Brush().SetColor(GetColor());
    canvas.FillRect(box);
    canvas.Brush().SetColor(clBtnShadow);
    canvas.FrameRect(box);
    canvas.Brush().SetColor(clWindowText);
    canvas.FillRect(Rect(cx - 2, cy, cx + 3, cy + 1));
    if (!expanded) canvas.FillRect(Rect(cx, cy - 2, cx + 1, cy + 3));
}

void TCustomTreeView::PaintRowItem(TCanvas& canvas, int rowIndex)
{
    const TRow& row = rows_[static_cast<size_t>(rowIndex)];
    TTreeNode* node = row.Node;
    const int ih = ComputedItemHeight();
    const bool selected = node == selected_;
    const bool focused = Focused();
    const bool hot = hotTrack_ && node == hot_;

    TCustomDrawState state;
    if (selected) state.Include(cdsSelected);
    if (selected && focused) state.Include(cdsFocused);
    if (hot) state.Include(cdsHot);
    if (!GetEnabled()) state.Include(cdsDisabled);

    canvas.Font().Assign(Font());
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    if (selected && focused) {
        canvas.Brush().SetColor(clHighlight);
        canvas.Font().SetColor(clHighlightText);
    } else if (selected && !hideSelection_) {
        canvas.Brush().SetColor(clBtnFace);
        canvas.Font().SetColor(clBtnText);
    } else {
        canvas.Brush().SetColor(GetColor());
        if (hot) {
            canvas.Font().SetColor(clHotLight);
            canvas.Font().SetStyle(canvas.Font().GetStyle().Include(TFontStyle::fsUnderline));
        }
    }
    if (!GetEnabled()) canvas.Font().SetColor(clGrayText);
    if (IsCustomDrawn() && !CustomDrawItem(node, state)) return;
    if (!SameFont(canvas.Font(), Font())) {
        // The caption is as wide as it is drawn, so hit test and rectangle follow the hook's font.
        node->textWidth_ = node->text_.empty() ? 0 : canvas.TextWidth(node->text_);
        node->textGen_ = textGen_;
    }
    const TRowGeometry g = Geometry(row, rowIndex);
    const TRect view = ViewRect();
    const TColor background = canvas.Brush().GetColor();
    const TRect label = Rect(g.LabelLeft, g.Top, g.LabelRight, g.Top + ih);
    const TRect fullRow = Rect(view.Left, g.Top, view.Right, g.Top + ih);
    if (rowSelect_ && background != GetColor()) canvas.FillRect(fullRow);
    if (g.LabelRight - (view.Left - xOffset_) > maxRight_) {
        maxRight_ = g.LabelRight - (view.Left - xOffset_);
        layoutValid_ = false;
        RequestPaint();
    }

    if (showButtons_ && g.Column >= 0 && node->HasChildren()) {
        canvas.Brush().SetBitmap(nullptr);
        PaintButton(canvas, g.ButtonLeft + indent_ / 2, g.Top + ih / 2, node->expanded_);
        canvas.Brush().SetColor(background);
    }
    if (stateImages_ && node->stateIndex_ >= 0)
        stateImages_->Draw(canvas, g.StateLeft, g.Top + (ih - stateImages_->GetHeight()) / 2, node->stateIndex_,
                           GetEnabled());
    if (images_) {
        const int index = selected ? node->selectedIndex_ : node->imageIndex_;
        if (index >= 0)
            images_->Draw(canvas, g.ImageLeft, g.Top + (ih - images_->GetHeight()) / 2, index, GetEnabled());
    }
    const int th = canvas.TextHeight("Wg");
    canvas.TextRect(label, g.LabelLeft + kLabelPad, g.Top + (ih - th) / 2, node->text_);
    if (selected && focused) canvas.DrawFocusRect(rowSelect_ ? fullRow : label);
}

void TCustomTreeView::PaintBorder(TCanvas& canvas)
{
    if (borderStyle_ != TBorderStyle::bsSingle) return;
    TRect r = Rect(0, 0, GetWidth(), GetHeight());
    Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
    Frame3D(canvas, r, cl3DDkShadow, cl3DLight, 1);
}

}  // namespace vxplan
