// The grid view's keyboard: moving the focus with the navigation keys, Enter and F2, characters
// that start editing or feed the type-ahead search, and the search itself.
#include <vxplan/cellgrid/vxBabGridView.h>

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/platform/controls/vxKeys.h>
#include <vxplan/platform/time/vxClock.h>

#include <QString>

#include <algorithm>

namespace vxplan {

namespace {

// Characters typed within this time of each other make one search text.
constexpr TDateTime kTypeAheadPause = 1000.0 / MSecsPerDay;

bool IsTypeAheadCharacter(char32_t theKey)
{
    if (theKey == U' ') return true;
    if ((theKey >= U'0' && theKey <= U'9') || (theKey >= U'A' && theKey <= U'Z') || (theKey >= U'a' && theKey <= U'z'))
        return true;
    // Ä Å Ö ä å ö
    return theKey == 0xC4 || theKey == 0xC5 || theKey == 0xD6 || theKey == 0xE4 || theKey == 0xE5 || theKey == 0xF6;
}

// The direction a navigation key moves in; Ctrl with Home and End goes to the first or last row
// and is used up by it.
TBabDirection DirectionOfKey(uint16_t theKey, TShiftState& theShift)
{
    switch (theKey) {
    case VK_RETURN: return TBabDirection::babdirInwards;
    case VK_PRIOR: return TBabDirection::babdirPageUp;
    case VK_NEXT: return TBabDirection::babdirPageDown;
    case VK_END:
        if (!theShift.Contains(ssCtrl)) return TBabDirection::babdirEndCell;
        theShift = theShift.Exclude(ssCtrl);
        return TBabDirection::babdirEndRow;
    case VK_HOME:
        if (!theShift.Contains(ssCtrl)) return TBabDirection::babdirHomeCell;
        theShift = theShift.Exclude(ssCtrl);
        return TBabDirection::babdirHomeRow;
    case VK_LEFT: return TBabDirection::babdirLeft;
    case VK_UP: return TBabDirection::babdirUp;
    case VK_RIGHT: return TBabDirection::babdirRight;
    case VK_DOWN: return TBabDirection::babdirDown;
    default: return TBabDirection::babdirNone;
    }
}

bool ScrollsToTarget(TBabDirection theDirection)
{
    return theDirection == TBabDirection::babdirPageUp || theDirection == TBabDirection::babdirPageDown ||
           theDirection == TBabDirection::babdirHomeRow || theDirection == TBabDirection::babdirEndRow;
}

}  // namespace

void TBabGridView_Custom::Scroll(TBabDirection theDirection, TShiftState theShift)
{
    TBabCell* focused = root_->GetFocusedCell();
    if (!focused || theDirection == TBabDirection::babdirNone) return;
    const TBabCellWatch target(root_->FindNeighbourCell(focused, theDirection, true));
    if (!target.Get() || target.Get()->getGridCell()->GetFocusedCell() == target.Get()) return;
    root_->SetFocusedCell(target.Get());
    // The focus handlers run first and may free the cell.
    if (!target.Get()) return;
    target.Get()->getGridCell()->UpdateMultiSelect(target.Get(), theShift);
    if (target.Get() && ScrollsToTarget(theDirection) && target.Get()->getGridCell() == root_.get())
        SetScrollbarPosition(*vert_, root_->Convert_TrueIndexToVisible(root_->Rows(), target.Get()->RowIndex()));
}

void TBabGridView_Custom::KeyDown(uint16_t& key, TShiftState shift)
{
    TvxOffscreenPaint::KeyDown(key, shift);
    if (key == 0) return;
    if (key == VK_F2) {
        StartEditing();
        return;
    }
    const TBabDirection direction = DirectionOfKey(key, shift);
    if (direction == TBabDirection::babdirNone) return;
    if (!root_->GetFocusedCell()) root_->SetFocusedCell(TopCellInView(std::max(root_->GetLeft(), root_->GetFixedCols())));
    Scroll(direction, shift);
    key = 0;
}

void TBabGridView_Custom::KeyPress(char32_t& key)
{
    TvxOffscreenPaint::KeyPress(key);
    if (key == 0) return;
    if (GetEditing()) StopEditing();
    if (key == U'\r') {
        TBabCell* cell = root_->GetFocusedCellDownTrack();
        if (cell && CellHasButton(cell))
            DoButtonAction(cell);
        else
            StartEditing();
        return;
    }
    if (!IsTypeAheadCharacter(key)) return;
    StartEditing();
    if (GetEditing())
        PassCharacterToEditor(key);
    else
        FeedTypeAhead(key);
    key = 0;
}

TBabCell* TBabGridView_Custom::TopCellInView(int theColumn)
{
    return root_->getCell(theColumn, std::max(root_->GetTop(), root_->GetFixedRows()));
}

void TBabGridView_Custom::FeedTypeAhead(char32_t theKey)
{
    const TDateTime now = ApplicationClock().Now();
    if (now - lastTypedKey_ > kTypeAheadPause) typeAhead_.clear();
    lastTypedKey_ = now;
    typeAhead_ += QString::fromUcs4(&theKey, 1).toStdString();
    TDoLater::DoLater(TDoLaterCall(this, &TBabGridView_Custom::NavigateKey_Async), nullptr);
}

void TBabGridView_Custom::NavigateKey_Async(TObject*)
{
    if (IsDestroying() || typeAhead_.empty()) return;
    if (!root_->GetFocusedCell()) {
        const bool inRoot = sortCell_ && sortCell_->getGridCell() == root_.get();
        const int column = inRoot ? sortCell_->ColumnIndex() : std::max(root_->GetLeft(), root_->GetFixedCols());
        root_->SetFocusedCell(TopCellInView(column));
    }
    // An empty grid has nothing to search.
    TBabCell* focused = root_->GetFocusedCell();
    if (!focused) return;
    const int column = focused->ColumnIndex();
    const int first = focused->RowIndex();
    TAxisContentList& rows = root_->Rows();
    const int count = rows.Count();
    const int fixed = rows.GetFixed();
    const QString wanted = QString::fromStdString(typeAhead_).toUpper();
    // From the focused row down, then from the top; header and hidden rows are no answers.
    for (int n = 0; n < count; ++n) {
        const int row = static_cast<int>((int64_t{first} + n) % count);
        if (row < fixed || rows.getAxisContentItem(row)->GetHide()) continue;
        TBabCell* cell = root_->getCell(column, row);
        if (!cell || cell->IsGridCell()) continue;
        if (!QString::fromStdString(GetText(cell)).toUpper().startsWith(wanted)) continue;
        const TBabCellWatch found(cell);
        root_->UpdateMultiSelect(cell, TShiftState{});
        if (found.Get()) root_->SetFocusedCell(found.Get());
        MakeSureFocusedIsVisible();
        Invalidate();
        return;
    }
}

}  // namespace vxplan
