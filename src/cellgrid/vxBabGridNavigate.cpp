// Selection and focus movement inside the cell tree: the selection rule of clicks and moves,
// and where a move in a direction lands.
//
// Cells are found again by their real indexes after every fetch: fetching a cell may load its
// row or column, and loading far away may unload (and free) the cell the move started from.
#include <vxplan/cellgrid/vxBabCell.h>

#include <algorithm>
#include <cstdint>

namespace vxplan {

namespace {

bool IsHiddenCell(const TBabCell& theCell)
{
    const TAxisContentItem* x = theCell.GetAxisContentItemX();
    const TAxisContentItem* y = theCell.GetAxisContentItemY();
    return (x && x->GetHide()) || (y && y->GetHide());
}

bool IsGroupMember(const TBabCell& theCell) { return theCell.GetGrouped() && !theCell.GetGroupMasterFlag(); }

TPoint PositionOf(const TBabCell& theCell) { return Point(theCell.ColumnIndex(), theCell.RowIndex()); }

bool IsVertical(TBabDirection theDirection)
{
    switch (theDirection) {
    case TBabDirection::babdirUp:
    case TBabDirection::babdirDown:
    case TBabDirection::babdirPageUp:
    case TBabDirection::babdirPageDown:
    case TBabDirection::babdirHomeRow:
    case TBabDirection::babdirEndRow: return true;
    default: return false;
    }
}

int Clamp64(int64_t theValue, int theLow, int theHigh)
{
    return static_cast<int>(std::clamp<int64_t>(theValue, theLow, std::max(theLow, theHigh)));
}

}  // namespace

// --- Selection ------------------------------------------------------------------------------

void TBabGridCell::UpdateMultiSelect(TBabCell* theCell, TShiftState theShift)
{
    if (!theCell) return;
    if (theCell->getGridCell() != this) {
        if (theCell->getGridCell()) theCell->getGridCell()->UpdateMultiSelect(theCell, theShift);
        return;
    }
    if (!multiSelect_) theShift = TShiftState{};
    if (theCell->GetIsFixed()) return;
    const bool shift = theShift.Contains(ssShift);
    const bool ctrl = theShift.Contains(ssCtrl);
    // Selection handlers may free cells, the anchor included: positions stay valid.
    const TPoint at = PositionOf(*theCell);
    if (!shift && !ctrl) {
        anchor_ = theCell;
        SetSelected(false);
        if (TBabCell* cell = getCell(at.X, at.Y)) cell->SetSelected(true);
    } else if (shift) {
        if (!anchor_) anchor_ = theCell;
        if (anchor_->getGridCell() != this) return;
        const TPoint from = PositionOf(*anchor_);
        if (!ctrl) SetSelected(false);
        AreaSelect(true, Rect(from.X, from.Y, at.X, at.Y));
    } else {
        anchor_ = theCell;
        theCell->SetSelected(!theCell->GetSelected());
    }
}

// --- Moving the focus ------------------------------------------------------------------------

TPoint TBabGridCell::StepPosition(TPoint thePos, TBabDirection theDirection)
{
    const int fc = GetFixedCols(), fr = GetFixedRows();
    const int cc = columns_->Count(), rc = rows_->Count();
    // A page is what the last layout showed without its fixed rows, and at least one row, so a
    // page down never goes up in a view too small for a row.
    const int page = std::max(visibleRowCount_ - fr, 1);
    int x = thePos.X, y = thePos.Y;
    switch (theDirection) {
    case TBabDirection::babdirNone:
    case TBabDirection::babdirInwards: break;
    case TBabDirection::babdirLeft: x = std::max(x - 1, fc); break;
    case TBabDirection::babdirRight: x = Clamp64(int64_t{x} + 1, x, cc - 1); break;
    case TBabDirection::babdirUp: y = std::max(y - 1, fr); break;
    case TBabDirection::babdirDown: y = Clamp64(int64_t{y} + 1, y, rc - 1); break;
    case TBabDirection::babdirPageUp: y = Clamp64(int64_t{y} - page, fr, y); break;
    case TBabDirection::babdirPageDown: y = Clamp64(int64_t{y} + page, y, rc - 1); break;
    case TBabDirection::babdirHomeRow: y = fr; break;
    case TBabDirection::babdirEndRow: y = std::max(rc - 1, fr); break;
    case TBabDirection::babdirHomeCell: x = fc; break;
    case TBabDirection::babdirEndCell: x = std::max(cc - 1, fc); break;
    }
    return Point(x, y);
}

TBabCell* TBabGridCell::StepWithin(TBabCell* theCell, TBabDirection theDirection)
{
    const TPoint start = PositionOf(*theCell);
    TPoint pos = start;
    // Every round moves strictly towards an edge, so the walk ends within the items there are.
    for (;;) {
        TPoint next = StepPosition(pos, theDirection);
        if (next == pos) break;
        TBabCell* target = getCell(next.X, next.Y);
        if (!target) {
            // Loading the item may have changed the counts: step again from where we stand.
            next = StepPosition(pos, theDirection);
            if (next == pos) break;
            target = getCell(next.X, next.Y);
            if (!target) break;
        }
        pos = next;
        if (!IsGroupMember(*target) && !IsHiddenCell(*target)) return target;
    }
    if (pos == start) {
        TBabCell* cell = getCell(start.X, start.Y);
        return cell ? cell->GetGroupMaster() : nullptr;
    }
    // The walk ran into the edge over hidden items or group members.
    TBabCell* last = getCell(pos.X, pos.Y);
    if (!last) return getCell(start.X, start.Y);
    if (!IsHiddenCell(*last)) return last->GetGroupMaster();
    if (IsVertical(theDirection)) {
        TBabCell* found = ClosestVisibleNeighbour(start.Y, *rows_, last);
        if (found && !IsHiddenCell(*found)) return found;
    } else {
        const int step = pos.X > start.X ? -1 : 1;
        for (int x = pos.X; x != start.X; x += step)
            if (!columns_->getAxisContentItem(x)->GetHide()) {
                if (TBabCell* cell = getCell(x, start.Y); cell && !IsHiddenCell(*cell)) return cell;
            }
    }
    // Nothing visible in that direction: the move stays where it started.
    return getCell(start.X, start.Y);
}

TBabCell* TBabGridCell::FindNeighbourCell(TBabCell* theCell, TBabDirection theDirection, bool theDescend)
{
    if (!theCell || theCell == this) return nullptr;
    if (theCell->getGridCell() != this)
        return theCell->getGridCell() ? theCell->getGridCell()->FindNeighbourCell(theCell, theDirection, theDescend)
                                      : nullptr;
    if (theDescend && theCell->IsGridCell()) {
        auto* grid = static_cast<TBabGridCell*>(theCell);
        if (grid->GetFocusedCell() || theDirection == TBabDirection::babdirInwards) {
            const TBabCellWatch watch(grid);
            if (!grid->GetFocusedCell()) grid->SetFocusedCell(grid->getCell(grid->GetFixedCols(), grid->GetFixedRows()));
            // The focus handlers may have freed the sub-grid.
            if (!watch.Get() || !grid->GetFocusedCell()) return nullptr;
            return grid->FindNeighbourCell(grid->GetFocusedCell(), theDirection, true);
        }
    }
    const TPoint start = PositionOf(*theCell);
    TBabCell* target = StepWithin(theCell, theDirection);
    const bool moved = target && PositionOf(*target) != start;
    TBabGridCell* owner = getGridCell();
    if (!moved && theDirection != TBabDirection::babdirInwards && owner && owner->GetFocusedCell())
        return owner->FindNeighbourCell(owner->GetFocusedCell(), theDirection, false);
    return target;
}

TBabCell* TBabGridCell::ClosestVisibleNeighbour(int theRow, TAxisContentList& theRows, TBabCell* theCell)
{
    if (!theCell || !theCell->GetAxisContentItemY() || theCell->GetAxisContentItemY()->GetList() != &theRows)
        return theCell;
    TBabGridCell* grid = theCell->getGridCell();
    const int column = theCell->ColumnIndex();
    const int from = theCell->RowIndex();
    const int to = std::clamp(theRow, 0, std::max(theRows.Count() - 1, 0));
    const int step = to >= from ? 1 : -1;
    for (int r = from;; r += step) {
        if (!theRows.getAxisContentItem(r)->GetHide()) {
            if (TBabCell* cell = grid->getCell(column, r)) return cell;
            break;
        }
        if (r == to) break;
    }
    // theCell may have been unloaded by the walk: fetch it again.
    return grid->getCell(column, from);
}

}  // namespace vxplan
