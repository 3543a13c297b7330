// TCustomTreeView: the flat list of shown rows, row geometry, scroll bars and scrolling, and the
// queries that read them (hit test, node rectangles, top item).
#include <vxplan/platform/treeview/vxTreeView.h>

#include <algorithm>

namespace vxplan {

namespace {

constexpr int kHorzLine = 10;  // pixels per horizontal line step
constexpr int kLabelPad = 2;   // caption rectangle beyond the text, each side
// Captions not yet measured that a rebuild of the rows measures; the others are measured when
// they come into view. A tree of ordinary size so gets an exact horizontal range at once, and a
// huge one does not pay for all its captions in one go.
constexpr int kMeasureBudget = 5000;

}  // namespace

// --- Rows -----------------------------------------------------------------------------------

void TCustomTreeView::EnsureRows()
{
    if (rowsValid_) return;
    const size_t before = rows_.size();
    rows_.clear();
    rows_.reserve(before);
    // Pre-order over the expanded nodes.
    TTreeNodes::PreOrder(items_->roots_, [this](TTreeNode* n, int depth) {
        n->row_ = static_cast<int>(rows_.size());
        rows_.push_back({n, depth});
        return n->expanded_;
    });
    rowsValid_ = true;
    layoutValid_ = false;
    // The top node keeps its place in view; a hidden one gives way to its nearest shown ancestor.
    TTreeNode* top = topNode_;
    while (top && RowOf(top) < 0) top = top->parent_;
    if (top) topRow_ = top->row_;
    topRow_ = rows_.empty() ? 0 : std::clamp(topRow_, 0, static_cast<int>(rows_.size()) - 1);
    topNode_ = rows_.empty() ? nullptr : rows_[static_cast<size_t>(topRow_)].Node;
    // The widest row known so far; rows never measured count once they come into view.
    maxRight_ = 0;
    const int imagesWidth = (stateImages_ ? stateImages_->GetWidth() : 0) + (images_ ? images_->GetWidth() + 1 : 0);
    const int rootColumns = RootColumns();
    int budget = kMeasureBudget;
    for (const TRow& row : rows_) {
        if (row.Node->textGen_ != textGen_ && budget > 0) {
            TextWidthOf(row.Node);
            --budget;
        }
        if (row.Node->textGen_ == textGen_)
            maxRight_ = std::max(maxRight_, (row.Level + rootColumns) * indent_ + imagesWidth + row.Node->textWidth_ +
                                                2 * kLabelPad);
    }
}

int TCustomTreeView::RowOf(TTreeNode* node)
{
    EnsureRows();
    if (!node || node->row_ < 0 || static_cast<size_t>(node->row_) >= rows_.size()) return -1;
    return rows_[static_cast<size_t>(node->row_)].Node == node ? node->row_ : -1;
}

int TCustomTreeView::ShownCount()
{
    EnsureRows();
    return static_cast<int>(rows_.size());
}

// --- Geometry -------------------------------------------------------------------------------

int TCustomTreeView::ComputedItemHeight()
{
    if (itemHeight_ > 0) return itemHeight_;
    if (computedItemHeight_ > 0) return computedItemHeight_;
    TCanvas& c = measure_.Canvas();
    c.Font().Assign(Font());
    int h = c.TextHeight("Wg") + 3;
    if (images_) h = std::max(h, images_->GetHeight());
    if (stateImages_) h = std::max(h, stateImages_->GetHeight());
    // Even heights keep the dotted lines in step from row to row.
    computedItemHeight_ = h + (h & 1);
    return computedItemHeight_;
}

int TCustomTreeView::GetItemHeight() { return ComputedItemHeight(); }

int TCustomTreeView::TextWidthOf(TTreeNode* node)
{
    if (node->textGen_ != textGen_) {
        TCanvas& c = measure_.Canvas();
        if (c.Font().GetName() != Font().GetName() || c.Font().GetHeight() != Font().GetHeight() ||
            c.Font().GetStyle() != Font().GetStyle())
            c.Font().Assign(Font());
        node->textWidth_ = node->text_.empty() ? 0 : c.TextWidth(node->text_);
        node->textGen_ = textGen_;
    }
    return node->textWidth_;
}

TCustomTreeView::TRowGeometry TCustomTreeView::Geometry(const TRow& row, int rowIndex)
{
    const TRect view = ViewRect();
    TRowGeometry g;
    g.Top = view.Top + (rowIndex - topRow_) * ComputedItemHeight();
    const int x0 = view.Left - xOffset_;
    const int columns = row.Level + RootColumns();
    g.Column = columns - 1;
    g.ButtonLeft = x0 + (columns - 1) * indent_;
    g.StateLeft = x0 + columns * indent_;
    g.ImageLeft = g.StateLeft + (stateImages_ ? stateImages_->GetWidth() : 0);
    g.LabelLeft = g.ImageLeft + (images_ ? images_->GetWidth() + 1 : 0);
    g.LabelRight = g.LabelLeft + TextWidthOf(row.Node) + 2 * kLabelPad;
    return g;
}

int TCustomTreeView::RowRight(const TRow& row)
{
    return Geometry(row, topRow_).LabelRight - (ViewRect().Left - xOffset_);
}

TRect TCustomTreeView::ViewRect()
{
    const int b = BorderWidth();
    TRect r = Rect(b, b, std::max(b, GetWidth() - b), std::max(b, GetHeight() - b));
    const int sb = ScrollBarExtent();
    if (vertShown_) r.Right = std::max(r.Left, r.Right - sb);
    if (horzShown_) r.Bottom = std::max(r.Top, r.Bottom - sb);
    return r;
}

int TCustomTreeView::VisibleCount()
{
    EnsureLayout();
    return std::max(0, ViewRect().Height() / ComputedItemHeight());
}

int TCustomTreeView::MaxTopRow()
{
    const int full = std::max(1, ViewRect().Height() / ComputedItemHeight());
    return std::max(0, static_cast<int>(rows_.size()) - full);
}

// --- Layout and scroll bars -------------------------------------------------------------------

void TCustomTreeView::MeasureRowsInView()
{
    const int ih = ComputedItemHeight();
    const int last = std::min(static_cast<int>(rows_.size()), topRow_ + ViewRect().Height() / ih + 1);
    for (int r = topRow_; r < last; ++r) maxRight_ = std::max(maxRight_, RowRight(rows_[static_cast<size_t>(r)]));
}

void TCustomTreeView::EnsureLayout()
{
    EnsureRows();
    if (layoutValid_) return;
    layoutValid_ = true;
    // Twice: the first pass may show a bar that takes room from the other direction.
    UpdateScrollBars();
    MeasureRowsInView();
    UpdateScrollBars();
}

void TCustomTreeView::UpdateScrollBars()
{
    const int ih = ComputedItemHeight();
    const int b = BorderWidth();
    const int sb = ScrollBarExtent();
    const int areaW = std::max(0, GetWidth() - 2 * b);
    const int areaH = std::max(0, GetHeight() - 2 * b);
    const int rows = static_cast<int>(rows_.size());
    bool needV = false, needH = false;
    for (int pass = 0; pass < 2; ++pass) {
        const int w = areaW - (needV ? sb : 0);
        const int h = areaH - (needH ? sb : 0);
        needV = allowVert_ && rows > std::max(0, h / ih);
        needH = allowHorz_ && maxRight_ > w;
    }
    vertShown_ = needV;
    horzShown_ = needH;
    const TRect view = ViewRect();
    topRow_ = std::clamp(topRow_, 0, MaxTopRow());
    topNode_ = rows_.empty() ? nullptr : rows_[static_cast<size_t>(topRow_)].Node;
    xOffset_ = std::clamp(xOffset_, 0, std::max(0, maxRight_ - view.Width()));

    if (needV) {
        vbar_->SetBounds(view.Right, b, sb, view.Height());
        vbar_->SetPageSize(0);
        vbar_->SetParams(topRow_, 0, rows - 1);
        vbar_->SetPageSize(std::max(1, view.Height() / ih));
        vbar_->SetLargeChange(std::max(1, view.Height() / ih));
    }
    if (needH) {
        hbar_->SetBounds(b, view.Bottom, view.Width(), sb);
        hbar_->SetPageSize(0);
        hbar_->SetParams(xOffset_, 0, maxRight_ - 1);
        hbar_->SetPageSize(std::max(1, std::min(view.Width(), maxRight_)));
        hbar_->SetSmallChange(kHorzLine);
    }
    if (vbar_->GetVisible() != needV) vbar_->SetVisible(needV);
    if (hbar_->GetVisible() != needH) hbar_->SetVisible(needH);
}

bool TCustomTreeView::ScrollBarShown(int bar)
{
    EnsureLayout();
    return bar == SB_VERT ? vertShown_ : horzShown_;
}

// --- Scrolling ------------------------------------------------------------------------------

void TCustomTreeView::SetTopRow(int row)
{
    EnsureLayout();
    row = std::clamp(row, 0, MaxTopRow());
    if (rows_.empty() || row == topRow_) return;
    // An edit box would be left behind over another row.
    if (editNode_) EndEdit(false);
    topRow_ = row;
    topNode_ = rows_[static_cast<size_t>(row)].Node;
    layoutValid_ = false;
    RequestPaint();
    EnsureLayout();
}

void TCustomTreeView::SetHorzOffset(int offset)
{
    EnsureLayout();
    offset = std::clamp(offset, 0, std::max(0, maxRight_ - ViewRect().Width()));
    if (offset == xOffset_) return;
    if (editNode_) EndEdit(false);
    xOffset_ = offset;
    if (horzShown_) hbar_->SetPosition(offset);
    RequestPaint();
}

void TCustomTreeView::ScrollVert(int code, int thumb)
{
    EnsureLayout();
    const int page = std::max(1, VisibleCount());
    int row = topRow_;
    switch (code) {
    case SB_LINEUP: --row; break;
    case SB_LINEDOWN: ++row; break;
    case SB_PAGEUP: row -= page; break;
    case SB_PAGEDOWN: row += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: row = thumb; break;
    case SB_TOP: row = 0; break;
    case SB_BOTTOM: row = MaxTopRow(); break;
    default: return;
    }
    SetTopRow(row);
}

void TCustomTreeView::ScrollHorz(int code, int thumb)
{
    EnsureLayout();
    const int page = std::max(1, ViewRect().Width());
    int x = xOffset_;
    switch (code) {
    case SB_LINELEFT: x -= kHorzLine; break;
    case SB_LINERIGHT: x += kHorzLine; break;
    case SB_PAGELEFT: x -= page; break;
    case SB_PAGERIGHT: x += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: x = thumb; break;
    case SB_LEFT: x = 0; break;
    case SB_RIGHT: x = maxRight_; break;
    default: return;
    }
    SetHorzOffset(x);
}

void TCustomTreeView::ScrollBarScrolled(TObject* sender, TScrollCode code, int& pos)
{
    int sbCode = SB_ENDSCROLL;
    switch (code) {
    case TScrollCode::scLineUp: sbCode = SB_LINEUP; break;
    case TScrollCode::scLineDown: sbCode = SB_LINEDOWN; break;
    case TScrollCode::scPageUp: sbCode = SB_PAGEUP; break;
    case TScrollCode::scPageDown: sbCode = SB_PAGEDOWN; break;
    case TScrollCode::scPosition: sbCode = SB_THUMBPOSITION; break;
    case TScrollCode::scTrack: sbCode = SB_THUMBTRACK; break;
    case TScrollCode::scTop: sbCode = SB_TOP; break;
    case TScrollCode::scBottom: sbCode = SB_BOTTOM; break;
    case TScrollCode::scEndScroll: sbCode = SB_ENDSCROLL; break;
    }
    const bool vert = sender == vbar_;
    const WPARAM w = static_cast<WPARAM>(sbCode) | (static_cast<WPARAM>(std::max(pos, 0)) << 16);
    Perform(vert ? WM_VSCROLL : WM_HSCROLL, w, 0);
    // The bar shows where the rows went.
    pos = vert ? topRow_ : xOffset_;
}

int TCustomTreeView::GetScrollPos(int bar)
{
    EnsureLayout();
    return bar == SB_VERT ? topRow_ : xOffset_;
}

void TCustomTreeView::SetScrollPos(int bar, int position)
{
    if (bar == SB_VERT)
        SetTopRow(position);
    else
        SetHorzOffset(position);
}

void TCustomTreeView::MakeNodeVisible(TTreeNode* node)
{
    if (!node || node->deleting_) return;
    // Ancestors open from the top down; a refusal leaves the node hidden.
    std::vector<TTreeNode*> closed;
    for (TTreeNode* p = node->parent_; p; p = p->parent_)
        if (!p->expanded_) closed.push_back(p);
    for (auto it = closed.rbegin(); it != closed.rend(); ++it)
        if (!SetNodeExpanded(*it, true)) return;
    const int row = RowOf(node);
    if (row < 0) return;
    EnsureLayout();
    const int full = std::max(1, VisibleCount());
    if (row < topRow_)
        SetTopRow(row);
    else if (row >= topRow_ + full)
        SetTopRow(row - full + 1);
    // Sideways only when the caption starts outside the view.
    const TRowGeometry g = Geometry(rows_[static_cast<size_t>(row)], row);
    const TRect view = ViewRect();
    if (g.LabelLeft < view.Left || g.LabelLeft >= view.Right)
        SetHorzOffset(xOffset_ + g.LabelLeft - view.Left - (g.Column >= 0 ? indent_ : 0));
}

// --- Queries --------------------------------------------------------------------------------

TTreeNode* TCustomTreeView::GetTopItem()
{
    EnsureLayout();
    return topNode_;
}

void TCustomTreeView::SetTopItem(TTreeNode* node)
{
    items_->CheckOwn(node, "show at the top");
    if (!node) {
        SetTopRow(0);
        return;
    }
    for (TTreeNode* p = node->parent_; p; p = p->parent_)
        if (!p->expanded_ && !SetNodeExpanded(p, true)) return;
    const int row = RowOf(node);
    if (row >= 0) SetTopRow(row);
}

TRect TCustomTreeView::NodeRect(const TTreeNode* node, bool textOnly)
{
    const int row = RowOf(const_cast<TTreeNode*>(node));
    if (row < 0) return TRect{};
    EnsureLayout();
    const TRowGeometry g = Geometry(rows_[static_cast<size_t>(row)], row);
    const int ih = ComputedItemHeight();
    if (textOnly) return Rect(g.LabelLeft, g.Top, g.LabelRight, g.Top + ih);
    const TRect view = ViewRect();
    return Rect(view.Left, g.Top, view.Right, g.Top + ih);
}

THitTests TCustomTreeView::GetHitTestInfoAt(int x, int y)
{
    EnsureLayout();
    const TRect view = ViewRect();
    THitTests result;
    if (y < view.Top) result.Include(THitTest::htAbove);
    if (y >= view.Bottom) result.Include(THitTest::htBelow);
    if (x < view.Left) result.Include(THitTest::htToLeft);
    if (x >= view.Right) result.Include(THitTest::htToRight);
    if (!result.Empty()) return result;
    const int row = topRow_ + (y - view.Top) / ComputedItemHeight();
    if (row >= static_cast<int>(rows_.size())) return {THitTest::htNowhere};
    const TRow& r = rows_[static_cast<size_t>(row)];
    const TRowGeometry g = Geometry(r, row);
    if (x < g.StateLeft) {
        const bool onButton = x >= g.ButtonLeft && g.Column >= 0 && showButtons_ && r.Node->HasChildren();
        return {onButton ? THitTest::htOnButton : THitTest::htOnIndent};
    }
    if (x < g.ImageLeft) return {THitTest::htOnStateIcon, THitTest::htOnItem};
    if (x < g.LabelLeft) return {THitTest::htOnIcon, THitTest::htOnItem};
    if (x < g.LabelRight) return {THitTest::htOnLabel, THitTest::htOnItem};
    return {THitTest::htOnRight};
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y)
{
    EnsureLayout();
    const TRect view = ViewRect();
    if (!view.Contains({x, y})) return nullptr;
    const int row = topRow_ + (y - view.Top) / ComputedItemHeight();
    return row < static_cast<int>(rows_.size()) ? rows_[static_cast<size_t>(row)].Node : nullptr;
}

}  // namespace vxplan
