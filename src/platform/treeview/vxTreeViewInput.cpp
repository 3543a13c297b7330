// TCustomTreeView: keyboard navigation, type-ahead search, mouse clicks, wheel, hot tracking and
// caption tool tips.
#include <vxplan/platform/treeview/vxTreeView.h>

#include <vxplan/platform/time/vxClock.h>

#include <QApplication>
#include <QString>
#include <QToolTip>

#include <algorithm>
#include <cstdlib>

namespace vxplan {

namespace {

// Characters typed within this time extend the search text; a longer pause starts it anew.
constexpr int64_t kSearchPauseMs = 1000;

}  // namespace

void TCustomTreeView::NavigateTo(TTreeNode* node)
{
    if (node) SelectNode(node, true);
}

void TCustomTreeView::KeyDown(uint16_t& key, TShiftState shift)
{
    keyHandled_ = false;
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    EnsureLayout();
    const bool ctrl = shift.Contains(ssCtrl);
    TTreeNode* sel = selected_;
    const int page = std::max(1, VisibleCount() - 1);
    const int rows = static_cast<int>(rows_.size());
    auto rowNode = [this, rows](int r) { return rows ? rows_[static_cast<size_t>(std::clamp(r, 0, rows - 1))].Node : nullptr; };
    // Ctrl with a movement key scrolls and leaves the selection alone.
    if (ctrl) {
        switch (key) {
        case VK_UP: Perform(WM_VSCROLL, SB_LINEUP, 0); break;
        case VK_DOWN: Perform(WM_VSCROLL, SB_LINEDOWN, 0); break;
        case VK_PRIOR: Perform(WM_VSCROLL, SB_PAGEUP, 0); break;
        case VK_NEXT: Perform(WM_VSCROLL, SB_PAGEDOWN, 0); break;
        case VK_HOME: Perform(WM_VSCROLL, SB_TOP, 0); break;
        case VK_END: Perform(WM_VSCROLL, SB_BOTTOM, 0); break;
        case VK_LEFT: Perform(WM_HSCROLL, SB_LINELEFT, 0); break;
        case VK_RIGHT: Perform(WM_HSCROLL, SB_LINERIGHT, 0); break;
        default: return;
        }
        key = 0;
        return;
    }
    const int at = sel ? RowOf(sel) : -1;
    switch (key) {
    case VK_UP: NavigateTo(sel ? (at > 0 ? rowNode(at - 1) : sel) : rowNode(0)); break;
    case VK_DOWN: NavigateTo(sel ? (at >= 0 ? rowNode(at + 1) : sel) : rowNode(0)); break;
    case VK_HOME: NavigateTo(rowNode(0)); break;
    case VK_END: NavigateTo(rowNode(rows - 1)); break;
    case VK_PRIOR: {
        // The top row of the page first, a page further up once there.
        const int target = at < 0 ? 0 : (at != topRow_ ? topRow_ : at - page);
        NavigateTo(rowNode(target));
        break;
    }
    case VK_NEXT: {
        const int bottom = topRow_ + page;
        const int target = at < 0 ? 0 : (at != std::min(bottom, rows - 1) ? bottom : at + page);
        NavigateTo(rowNode(target));
        break;
    }
    case VK_ADD:
        if (sel) SetNodeExpanded(sel, true);
        break;
    case VK_SUBTRACT:
        if (sel) SetNodeExpanded(sel, false);
        break;
    case VK_MULTIPLY:
        if (sel) sel->Expand(true);
        break;
    case VK_LEFT:
        if (!sel) break;
        if (sel->expanded_ && sel->HasChildren())
            SetNodeExpanded(sel, false);
        else
            NavigateTo(sel->parent_);
        break;
    case VK_RIGHT:
        if (!sel) break;
        if (!sel->HasChildren()) break;
        if (!sel->expanded_)
            SetNodeExpanded(sel, true);
        else
            NavigateTo(sel->GetFirstChild());
        break;
    case VK_BACK:
        if (sel) NavigateTo(sel->parent_);
        break;
    default: return;
    }
    key = 0;
    // The character this key types (the keypad's + and -) is no search text.
    keyHandled_ = true;
}

void TCustomTreeView::KeyPress(char32_t& key)
{
    TCustomControl::KeyPress(key);
    if (key < 32 || key == 127 || keyHandled_) return;
    IncrementalSearch(key);
}

void TCustomTreeView::IncrementalSearch(char32_t ch)
{
    EnsureRows();
    if (rows_.empty()) return;
    const int64_t now = ApplicationClock().TickCount();
    if (now - lastSearchTick_ > kSearchPauseMs) search_.clear();
    lastSearchTick_ = now;
    search_ += ch;
    const QString prefix = QString::fromUcs4(search_.data(), static_cast<qsizetype>(search_.size()));
    const int rows = static_cast<int>(rows_.size());
    const int at = selected_ ? std::max(0, RowOf(selected_)) : 0;
    // A single character moves on to the next match; a longer text may stay on the current one.
    const int start = search_.size() == 1 ? at + 1 : at;
    for (int i = 0; i < rows; ++i) {
        TTreeNode* n = rows_[static_cast<size_t>((start + i) % rows)].Node;
        if (QString::fromStdString(n->text_).startsWith(prefix, Qt::CaseInsensitive)) {
            NavigateTo(n);
            return;
        }
    }
}

void TCustomTreeView::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (CanFocus() && isVisible() && !Focused()) SetFocus();
    const THitTests hit = GetHitTestInfoAt(x, y);
    TTreeNode* node = GetNodeAt(x, y);
    const bool onItem = hit.Contains(THitTest::htOnItem) ||
                        (rowSelect_ && (hit.Contains(THitTest::htOnIndent) || hit.Contains(THitTest::htOnRight)));
    if (button == TMouseButton::mbLeft && node) {
        if (hit.Contains(THitTest::htOnButton)) {
            SetNodeExpanded(node, !node->expanded_);
        } else if (shift.Contains(ssDouble)) {
            // The second press of a double click opens or closes the item.
            pendingEdit_ = nullptr;
            editTimer_->SetEnabled(false);
            if (onItem && node->HasChildren()) SetNodeExpanded(node, !node->expanded_);
        } else if (onItem) {
            dragNode_ = node;
            dragStart_ = {x, y};
            dragBegun_ = false;
            const bool wasSelected = node == selected_;
            SelectNode(node, true);
            // A click on the caption of the selected node edits it, unless a double click follows.
            if (wasSelected && hit.Contains(THitTest::htOnLabel) && !readOnly_ && !editNode_) {
                pendingEdit_ = node;
                editTimer_->SetEnabled(false);
                editTimer_->SetInterval(std::max(1, QApplication::doubleClickInterval()));
                editTimer_->SetEnabled(true);
            }
        }
    } else if (button == TMouseButton::mbRight && node && rightClickSelect_ && onItem) {
        SelectNode(node, true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomTreeView::MouseMove(TShiftState shift, int x, int y)
{
    if (dragNode_ && !dragBegun_ && shift.Contains(ssLeft) &&
        std::abs(x - dragStart_.X) + std::abs(y - dragStart_.Y) >= QApplication::startDragDistance()) {
        dragBegun_ = true;
        pendingEdit_ = nullptr;
        editTimer_->SetEnabled(false);
        BeginDragNode(dragNode_);
    }
    if (hotTrack_) {
        const THitTests hit = GetHitTestInfoAt(x, y);
        SetHotNode(hit.Contains(THitTest::htOnItem) ? GetNodeAt(x, y) : nullptr);
    }
    if (toolTips_) UpdateToolTip(x, y);
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomTreeView::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft) dragNode_ = nullptr;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomTreeView::BeginDragNode(TTreeNode*) {}

void TCustomTreeView::leaveEvent(QEvent* event)
{
    SetHotNode(nullptr);
    TCustomControl::leaveEvent(event);
}

void TCustomTreeView::SetHotNode(TTreeNode* node)
{
    if (node == hot_) return;
    hot_ = node;
    RequestPaint();
}

void TCustomTreeView::UpdateToolTip(int x, int y)
{
    // The hint, when shown, wins; otherwise a caption cut off by the view shows whole.
    if (GetShowHint() && !GetHint().empty()) return;
    TTreeNode* node = GetHitTestInfoAt(x, y).Contains(THitTest::htOnLabel) ? GetNodeAt(x, y) : nullptr;
    const bool cut = node && node->DisplayRect(true).Right > ViewRect().Right;
    setToolTip(cut ? QString::fromStdString(node->text_) : QString());
}

bool TCustomTreeView::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    EnsureLayout();
    if (rows_.empty()) return false;
    // Each notch (120) scrolls the system's number of lines, one scroll message per line.
    const int lines = std::abs(wheelDelta) * QApplication::wheelScrollLines() / 120;
    for (int i = 0; i < std::max(lines, 1); ++i) Perform(WM_VSCROLL, wheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return true;
}

void TCustomTreeView::DoEnter()
{
    RequestPaint();
    TCustomControl::DoEnter();
}

void TCustomTreeView::DoExit()
{
    RequestPaint();
    TCustomControl::DoExit();
}

}  // namespace vxplan
