// The grid view's mouse: sizing rows and columns by dragging header borders (zone, cursor,
// tracking line, resize), the press that focuses, sorts, clicks buttons and starts the slow
// start, and the window messages the view handles itself.
#include <vxplan/cellgrid/vxBabGridView.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <QCursor>

#include <cstdlib>

namespace vxplan {

namespace {

// Half the width of the window around a pointer that finds a border.
constexpr int kZoneHalf = 2;
// How far the pointer may wander before a resting press no longer starts editing.
constexpr int kSlowStartSlack = 3;

}  // namespace

bool TBabGridView_Custom::InResizeZoneOf(TBabGridCell& theGrid, int x, int y, TBabCell*& theCell, bool& theIsHorz)
{
    const TPoint p1 = theGrid.GridCoordsFromPix(x - kZoneHalf, y - kZoneHalf);
    if (p1.X < 0 || p1.Y < 0 || !theGrid.IsFixedCell(p1.X, p1.Y)) return false;
    const TPoint p2 = theGrid.GridCoordsFromPix(x + kZoneHalf, y + kZoneHalf);
    const bool changes = p1.X != p2.X || p1.Y != p2.Y;
    const bool nearBorder = changes && theGrid.IsFixedCell(p2.X, p2.Y);
    const bool edge = p2.X == -1 || p2.Y == -1;
    TBabCell* cell = theGrid.getCell(p1.X, p1.Y);
    if (!cell) return false;
    // The innermost zone wins: a header inside a sub-grid sizes the sub-grid's items.
    if (cell->IsGridCell() && cell != root_.get() &&
        InResizeZoneOf(*static_cast<TBabGridCell*>(cell), x, y, theCell, theIsHorz))
        return true;
    if (!nearBorder && !edge) return false;
    theIsHorz = p1.X != p2.X;
    theCell = cell;
    return true;
}

bool TBabGridView_Custom::InResizeZone(int x, int y, TBabCell*& theCell, bool& theIsHorz)
{
    theCell = nullptr;
    theIsHorz = false;
    return InResizeZoneOf(*root_, x, y, theCell, theIsHorz);
}

void TBabGridView_Custom::DoResize(int theDelta, TBabCell* theCell, bool theIsHorz)
{
    if (!theCell || theCell->GetRoot() != root_.get() || theCell == root_.get())
        throw EInvalidArgument("DoResize needs a cell of this grid");
    TAxisContentItem* item = theIsHorz ? theCell->GetAxisContentItemX() : theCell->GetAxisContentItemY();
    item->SetUserSizeActive(true);
    // The layout raises a size below the cells' minimum to that minimum.
    item->SetUserSize(ClampToInt(int64_t{item->GetSize()} + theDelta));
    if (OnAfterUserSize) OnAfterUserSize(this, theCell, theIsHorz, item);
    hardUpdate_ = true;
    Invalidate();
}

void TBabGridView_Custom::DrawTrackingLine(const TRect& theLine)
{
    TCanvas& canvas = BeginDisplayDraw();
    canvas.Pen().SetMode(TPenMode::pmNot);
    canvas.Pen().SetStyle(TPenStyle::psDot);
    canvas.Pen().SetWidth(2);
    // A paint in between has wiped the old line already (it resets the remembered one).
    if (trackLine_ != kNoRect) {
        canvas.MoveTo(trackLine_.Left, trackLine_.Top);
        canvas.LineTo(trackLine_.Right, trackLine_.Bottom);
    }
    if (theLine != kNoRect) {
        canvas.MoveTo(theLine.Left, theLine.Top);
        canvas.LineTo(theLine.Right, theLine.Bottom);
    }
    canvas.Pen().SetMode(TPenMode::pmCopy);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Pen().SetWidth(1);
    EndDisplayDraw();
    trackLine_ = theLine;
}

void TBabGridView_Custom::EndResizeTracking()
{
    if (trackLine_ != kNoRect && !IsDestroying()) DrawTrackingLine(kNoRect);
    trackLine_ = kNoRect;
    mouseMode_ = TMMode::mmNone;
    resizeCell_ = nullptr;
}

void TBabGridView_Custom::MouseMove(TShiftState shift, int x, int y)
{
    lastMouse_ = Point(x, y);
    if (mouseMode_ == TMMode::mmNone) {
        TBabCell* cell = nullptr;
        bool horz = false;
        if (!GetEditing() && InResizeZone(x, y, cell, horz))
            SetGridCursor(horz ? crHSplit : crVSplit);
        else
            SetGridCursor(cursorGrid_);
    } else if (mouseMode_ == TMMode::mmResizeCols) {
        DrawTrackingLine(Rect(x, 0, x, GetHeight()));
    } else {
        DrawTrackingLine(Rect(0, y, GetWidth(), y));
    }
    TvxOffscreenPaint::MouseMove(shift, x, y);
}

void TBabGridView_Custom::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    lastMouse_ = Point(x, y);
    TBabCell* zoneCell = nullptr;
    bool horz = false;
    if (button == TMouseButton::mbLeft && !GetEditing() && InResizeZone(x, y, zoneCell, horz)) {
        mouseMode_ = horz ? TMMode::mmResizeCols : TMMode::mmResizeRows;
        resizeCell_ = zoneCell;
        mouseDown_ = Point(x, y);
        trackLine_ = kNoRect;
        return;
    }
    TvxOffscreenPaint::MouseDown(button, shift, x, y);
    if (!GetEditing() && !shift.Contains(ssDouble) && CanFocus()) SetFocus();
    if (button == TMouseButton::mbLeft && autoEditMode_ && !slowStart_->GetEnabled()) {
        slowStartPoint_ = Point(x, y);
        slowStart_->SetEnabled(true);
    }
    SelectOnPress(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    TBabCell* cell = root_->CellFromPix(x, y, true);
    if (cell && cell->GetIsFixed() && CheckSortAllow(cell, x, y)) {
        sortDirection_ = cell == sortCell_ ? !sortDirection_ : false;
        sortCell_ = cell;
        DoSortCell(cell, sortDirection_);
        Invalidate();
    }
    if (InFocusedButtonZone(x, y)) DoButtonAction(root_->GetFocusedCellDownTrack());
}

void TBabGridView_Custom::SelectOnPress(TMouseButton theButton, TShiftState theShift, int x, int y)
{
    TBabCellWatch cell(root_->CellFromPix(x, y, true));
    if (theButton == TMouseButton::mbRight) {
        if (OnRightClick) OnRightClick(this, cell.Get());
        // The handler may have changed the grid under the pointer.
        cell.Set(root_->CellFromPix(x, y, true));
    }
    if (!cell.Get() || cell.Get()->GetIsFixed()) return;
    root_->SetFocusedCell(cell.Get());
    if (GetEditing() || !cell.Get()) return;
    if (theButton == TMouseButton::mbLeft) {
        if (IsCheckBoxCell(cell.Get())) CheckBoxEditWithoutEditMode(cell.Get());
        TBabCell* pressed = cell.Get();
        if (!pressed) return;
        if (pressed->GetSelected()) {
            // A press on a selected cell may start a drag of the selection: the change waits for
            // the release (or the end of a drag that ends where it began).
            dragCandidate_ = true;
            dragCell_ = pressed;
            dragShift_ = theShift;
        } else {
            pressed->getGridCell()->UpdateMultiSelect(pressed, theShift);
        }
    } else if (theButton == TMouseButton::mbRight && !theShift.Contains(ssShift) && !theShift.Contains(ssCtrl) &&
               !theShift.Contains(ssAlt)) {
        TBabCell* focused = root_->GetFocusedCellDownTrack();
        if (focused && !focused->GetSelected()) focused->getGridCell()->UpdateMultiSelect(focused, theShift);
    }
}

bool TBabGridView_Custom::InFocusedButtonZone(int x, int y)
{
    TBabCell* focused = root_->GetFocusedCellDownTrack();
    if (!focused || focused->IsGridCell() || focused->GetIsFixed() || !CellHasButton(focused)) return false;
    const TRect button = GetButtonDrawRect(focused);
    return x >= button.Left && x < button.Right && y >= button.Top && y < button.Bottom;
}

void TBabGridView_Custom::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (mouseMode_ != TMMode::mmNone) {
        const bool horz = mouseMode_ == TMMode::mmResizeCols;
        const int delta = horz ? x - mouseDown_.X : y - mouseDown_.Y;
        TBabCell* cell = resizeCell_;
        EndResizeTracking();
        if (cell) DoResize(delta, cell, horz);
        return;
    }
    if (dragCandidate_) {
        dragCandidate_ = false;
        if (dragCell_) dragCell_->getGridCell()->UpdateMultiSelect(dragCell_, shift);
    }
    TvxOffscreenPaint::MouseUp(button, shift, x, y);
}

void TBabGridView_Custom::DblClick()
{
    TvxOffscreenPaint::DblClick();
    if (GetEditing() || InFocusedButtonZone(lastMouse_.X, lastMouse_.Y)) return;
    TBabCell* cell = root_->CellFromPix(lastMouse_.X, lastMouse_.Y, true);
    if (cell && !cell->GetIsFixed()) StartEditing();
}

void TBabGridView_Custom::DoEndDrag(TObject* Target, int X, int Y)
{
    if (dragCandidate_ && dragCell_) {
        // The end point in our client coordinates: the target's point, or the pointer's.
        TPoint end;
        if (Target == this)
            end = Point(X, Y);
        else if (auto* control = dynamic_cast<TControl*>(Target))
            end = ScreenToClient(control->ClientToScreen(Point(X, Y)));
        else
            end = ScreenToClient(Point(QCursor::pos().x(), QCursor::pos().y()));
        const TRect r = dragCell_->getVisibleRect();
        if (end.X >= r.Left && end.X < r.Right && end.Y >= r.Top && end.Y < r.Bottom)
            dragCell_->getGridCell()->UpdateMultiSelect(dragCell_, dragShift_);
    }
    dragCandidate_ = false;
    TvxOffscreenPaint::DoEndDrag(Target, X, Y);
}

void TBabGridView_Custom::OnSlowStartTimer(TObject*)
{
    if (std::abs(lastMouse_.X - slowStartPoint_.X) <= kSlowStartSlack &&
        std::abs(lastMouse_.Y - slowStartPoint_.Y) <= kSlowStartSlack)
        StartEditing();
    slowStart_->SetEnabled(false);
}

bool TBabGridView_Custom::HandleAutomaticDrag(TMessage& message)
{
    const bool press = message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK;
    if (!press || GetDragMode() != TDragMode::dmAutomatic) return false;
    // The press is an ordinary click first; the drag waits for the mouse to move, and never
    // starts over a fixed cell, from a resize zone, a double click or an edit.
    const TPoint p = LParamToPoint(message.LParam);
    TBabCell* cell = root_->CellFromPix(p.X, p.Y, true);
    const bool overFixed = !cell || cell->GetIsFixed();
    SetDragMode(TDragMode::dmManual);
    try {
        TvxOffscreenPaint::WndProc(message);
    } catch (...) {
        SetDragMode(TDragMode::dmAutomatic);
        throw;
    }
    SetDragMode(TDragMode::dmAutomatic);
    if (message.Msg == WM_LBUTTONDOWN && !overFixed && !GetEditing() && mouseMode_ == TMMode::mmNone && !Dragging()) {
        const bool candidate = dragCandidate_;
        dragCandidate_ = false;
        BeginDrag(false);
        dragCandidate_ = candidate;
    }
    return true;
}

void TBabGridView_Custom::WndProc(TMessage& message)
{
    if (HandleAutomaticDrag(message)) return;
    switch (message.Msg) {
    case WM_COPY:
        Copy();
        message.Result = 0;
        return;
    case WM_CANCELMODE:
        // Losing the mouse mid-drag drops the resize rather than applying it.
        if (mouseMode_ != TMMode::mmNone) EndResizeTracking();
        break;
    default: break;
    }
    TvxOffscreenPaint::WndProc(message);
}

}  // namespace vxplan
