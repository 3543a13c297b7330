// Layout of a grid cell for a given area, drawing order, hit-testing and the conversions between
// true and visible indexes.
//
// Layout is two passes over the items in display order (fixed ones, then from the scroll
// position on), each stopping at the first item past the area, so its cost follows what can be
// seen. The first pass measures: every cell that reaches into the area is sized (sub-grids are
// laid out recursively) and each row and column grows to its largest cell. The second places:
// positions are the running sums of the sizes, and the placed items form the visible lists that
// drawing, hit-testing and purging work from.
#include <vxplan/cellgrid/vxBabCell.h>

#include <algorithm>

namespace vxplan {

namespace {

// An item grows to what one of its cells needs: with an active user size that size, raised to
// the cell's minimum; otherwise the cell's calculated extent.
void GrowItem(TAxisContentItem& theItem, int theMin, int theCalculated)
{
    const int need = theItem.GetUserSizeActive() ? std::max(theItem.GetUserSize(), theMin) : theCalculated;
    theItem.SetSize(std::max(theItem.GetSize(), need));
}

}  // namespace

void TBabGridCell::CalcVisibleArea(const TRect& theRect)
{
    const TBusyGuard busy(this);
    TAxisContentList& cols = *columns_;
    TAxisContentList& rows = *rows_;
    cols.ClearVisibles();
    rows.ClearVisibles();
    const int width = theRect.Right - theRect.Left;
    const int height = theRect.Bottom - theRect.Top;
    allColumnsFit_ = true;
    allRowsFit_ = true;
    firstPartialColumn_ = 0;
    visibleColumnCount_ = 0;

    // Measuring pass. Rows are reset under the first column that is not hidden, so a hidden
    // first column does not leave the sizes of the previous pass behind as lower bounds.
    bool rowsReset = false;
    int colAcc = 0;
    for (TVisibleIterator ci(GetFixedCols(), left_, cols.Count()); !ci.Done(); ci.Next()) {
        const int c = ci.Current();
        TAxisContentItem* col = cols.getAxisContentItem(c);
        col->SetPos(0);
        col->SetSize(0);
        if (col->GetHide()) continue;
        const bool resetRows = !rowsReset;
        rowsReset = true;
        int rowAcc = 0;
        for (TVisibleIterator ri(GetFixedRows(), top_, rows.Count()); !ri.Done(); ri.Next()) {
            const int r = ri.Current();
            TAxisContentItem* row = rows.getAxisContentItem(r);
            if (resetRows) {
                row->SetPos(0);
                row->SetSize(0);
            }
            if (row->GetHide()) continue;
            TBabCell* cell = getCell(c, r);
            if (!cell) continue;
            const TBusyGuard cellBusy(cell);
            if (auto* grid = dynamic_cast<TBabGridCell*>(cell))
                grid->CalcVisibleArea(theRect);
            else
                cell->CalculateSizes();
            // Loading the cell may have moved the blocks; the items are fetched again.
            row = rows.getAxisContentItem(r);
            col = cols.getAxisContentItem(c);
            if (row->GetUserSizeActive())
                GrowItem(*row, cell->GetMinHeight(), 0);
            else
                GrowItem(*row, 0, cell->GetCalculatedHeight());
            if (col->GetUserSizeActive())
                GrowItem(*col, cell->GetMinWidth(), 0);
            else
                GrowItem(*col, 0, cell->GetCalculatedWidth());
            rowAcc += row->GetSize();
            if (rowAcc > height) break;
        }
        colAcc += cols.getAxisContentItem(c)->GetSize();
        if (colAcc > width) break;
    }

    // Placing pass.
    area_ = theRect;
    visibleRowCount_ = 0;
    int acc = 0;
    for (TVisibleIterator ci(GetFixedCols(), left_, cols.Count()); !ci.Done(); ci.Next()) {
        TAxisContentItem* col = cols.getAxisContentItem(ci.Current());
        if (col->GetHide()) continue;
        ++visibleColumnCount_;
        col->SetPos(acc);
        acc = col->GetPos() + col->GetSize();
        cols.AddToVisible(col);
        if (acc > width) {
            allColumnsFit_ = false;
            firstPartialColumn_ = ci.Current();
            break;
        }
    }
    acc = 0;
    for (TVisibleIterator ri(GetFixedRows(), top_, rows.Count()); !ri.Done(); ri.Next()) {
        TAxisContentItem* row = rows.getAxisContentItem(ri.Current());
        if (row->GetHide()) continue;
        ++visibleRowCount_;
        row->SetPos(acc);
        acc = row->GetPos() + row->GetSize();
        rows.AddToVisible(row);
        if (acc > height) {
            // A row that does not fit wholly is drawn but not counted.
            --visibleRowCount_;
            allRowsFit_ = false;
            break;
        }
    }

    cols.Purge();
    rows.Purge();
}

void TBabGridCell::CellExtents(const TAxisContentItem& theItem, bool, int& theStop, int& theStart, int theOrigin)
{
    theStart = theItem.GetPos() + theOrigin;
    theStop = theStart + theItem.GetSize();
}

void TBabGridCell::Draw(const TRect& theRect, const TOnDrawBabCell& theDraw)
{
    if (theDraw) area_ = theRect;
    const TBusyGuard busy(this);
    TBabGridCellForViewer* root = GetRoot();
    TAxisContentList& cols = *columns_;
    TAxisContentList& rows = *rows_;
    // The visible lists are copied: a drawing callback may change the axes.
    const std::vector<TAxisContentItem*> visibleCols = [&] {
        std::vector<TAxisContentItem*> v;
        for (int k = 0; k < cols.VisibleCount(); ++k) v.push_back(cols.getVisibleAxisContentItem(k));
        return v;
    }();
    const int visibleRows = rows.VisibleCount();
    for (TAxisContentItem* col : visibleCols) {
        TBabCell* previous = nullptr;
        TBabDrawStateSet previousState;
        for (int k = 0; k < visibleRows && k < rows.VisibleCount(); ++k) {
            TAxisContentItem* row = rows.getVisibleAxisContentItem(k);
            TRect r;
            CellExtents(*col, false, r.Right, r.Left, theRect.Left);
            CellExtents(*row, false, r.Bottom, r.Top, theRect.Top);
            const TRect unscaled = r;
            if (root && root->OnScaleRect) root->OnScaleRect(r);
            TBabCell* cell = getCell(col->ListIndex(), row->ListIndex());
            if (!cell) {
                previous = nullptr;
                previousState = {};
                continue;
            }
            cell->SetGroupFlags(false, false);
            if (r.Top < theRect.Top || r.Left < theRect.Left || r.Top > theRect.Bottom || r.Left > theRect.Right ||
                r.Top >= r.Bottom || r.Left >= r.Right) {
                cell->SetVisibleRect(kNoRect);
                previous = nullptr;
                previousState = {};
                continue;
            }
            r.Bottom = std::min(r.Bottom, theRect.Bottom);
            r.Right = std::min(r.Right, theRect.Right);
            TBabDrawStateSet state;
            if (previous && root && root->OnCheckCellGrouping && root->OnCheckCellGrouping(previous, cell)) {
                previous->SetGroupFlags(true, false);
                cell->SetGroupFlags(true, true);
                r.Top = previous->StoredVisibleRect().Top;
                state = previousState;
            }
            if (IsFixedCell(col->ListIndex(), row->ListIndex())) state.Include(TBabDrawState::babFixed);
            if (cell == focusedCell_) state.Include(TBabDrawState::babFocused);
            if (cell->GetSelected()) state.Include(TBabDrawState::babSelected);
            const TBusyGuard cellBusy(cell);
            cell->SetVisibleRect(r);
            const TRect drawRect = cell->getVisibleRect();
            if (theDraw) theDraw(drawRect, cell, state);
            if (auto* grid = dynamic_cast<TBabGridCell*>(cell))
                grid->Draw(Rect(unscaled.Left, unscaled.Top, r.Right, r.Bottom), theDraw);
            previous = cell;
            previousState = state;
        }
    }
}

TPoint TBabGridCell::GridCoordsFromPix(int x, int y)
{
    TPoint result{-1, -1};
    for (int k = 0; k < columns_->VisibleCount(); ++k) {
        TAxisContentItem* col = columns_->getVisibleAxisContentItem(k);
        int start = 0, stop = 0;
        CellExtents(*col, false, stop, start, area_.Left);
        if (start <= x && x <= stop) {
            result.X = col->ListIndex();
            break;
        }
    }
    for (int k = 0; k < rows_->VisibleCount(); ++k) {
        TAxisContentItem* row = rows_->getVisibleAxisContentItem(k);
        int start = 0, stop = 0;
        CellExtents(*row, false, stop, start, area_.Top);
        if (start <= y && y <= stop) {
            result.Y = row->ListIndex();
            break;
        }
    }
    return result;
}

TBabCell* TBabGridCell::CellFromPix(int x, int y, bool theDeep)
{
    const TPoint p = GridCoordsFromPix(x, y);
    if (p.X < 0 || p.Y < 0 || p.X >= columns_->Count() || p.Y >= rows_->Count()) return nullptr;
    TBabCell* cell = getCell(p.X, p.Y);
    if (!cell) return nullptr;
    cell = cell->GetGroupMaster();
    if (theDeep) {
        if (auto* grid = dynamic_cast<TBabGridCell*>(cell)) {
            TBabCell* inner = grid->CellFromPix(x, y, true);
            cell = inner ? inner : grid;
            cell = cell->GetGroupMaster();
        }
    }
    return cell;
}

TPoint TBabGridCell::GetNotVisibleAcum()
{
    TPoint acc;
    if (left_ < columns_->Count()) {
        acc.X = columns_->getAxisContentItem(left_)->GetPos();
        if (GetFixedCols() > 0 && left_ > GetFixedCols())
            acc.X -= columns_->getAxisContentItem(std::min(GetFixedCols(), columns_->Count() - 1))->GetPos();
    }
    if (top_ < rows_->Count()) {
        acc.Y = rows_->getAxisContentItem(top_)->GetPos();
        if (GetFixedRows() > 0 && top_ > GetFixedRows())
            acc.Y -= rows_->getAxisContentItem(std::min(GetFixedRows(), rows_->Count() - 1))->GetPos();
    }
    return acc;
}

int TBabGridCell::Convert_TrueIndexToVisible(TAxisContentList& theList, int i)
{
    int hiddenBefore = 0;
    for (TAxisContentItem* item : theList.HiddenItems())
        if (item->ListIndex() < i) ++hiddenBefore;
    return i - hiddenBefore;
}

int TBabGridCell::Convert_VisibleIndexToTrue(TAxisContentList& theList, int v)
{
    const int fixed = theList.GetFixed();
    const bool anyLoaded = theList.LoadedCount() > fixed;
    const int first = anyLoaded ? theList.IndexConvert_LoadedToReal(fixed) : 0;
    if (v < first) return v;
    int counter = first;
    int result = first;
    int j = fixed;
    for (; j < theList.LoadedCount() && counter != v; ++j) {
        ++result;
        if (!theList.getLoadedAxisContentItem(j)->GetHide()) ++counter;
    }
    // Hidden items right before the wanted one share its visible index; the answer is the item
    // that is shown, not the first hidden one.
    for (; j < theList.LoadedCount() && theList.getLoadedAxisContentItem(j)->GetHide(); ++j) ++result;
    return std::max(result, v);
}

}  // namespace vxplan
