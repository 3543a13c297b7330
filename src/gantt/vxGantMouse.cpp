// The Gantt area's mouse: the press that picks an operation, the moves that show it, the
// release that applies it, selection, and scrolling while dragging.
//
// Handlers of the events raised on the way may delete any item, the pressed one included: the
// chart's delete notification clears every reference the mouse holds (ForgetItemInDrag), so the
// code below reads those members again after each event instead of keeping local copies.
#include <vxplan/gantt/vxGant.h>

#include <vxplan/gantt/vxGantTree.h>
#include <vxplan/paint/vxGraphHintWindow.h>
#include <vxplan/platform/time/vxTimer.h>
#include <vxplan/scaler/vxScaler.h>

namespace vxplan {

// ---- Items the mouse holds ----

bool TvxGant_ComBasic::ItemInDrag(const TvxDataEntity_Chronbar* item) const
{
    if (!item || fMouseMode == TGantMouseMoveMode::mmNone) return false;
    if (item == fDragItem || item == fMouseDownDataEntity) return true;
    for (const TDrawRect& record : fMoveSnapShot)
        if (record.Item == item) return true;
    return false;
}

void TvxGant_ComBasic::ForgetItemInDrag(const TvxDataEntity_Chronbar* item)
{
    if (!item) return;
    if (item == fDragItem) fDragItem = nullptr;
    // The record stays, so its outline can still be erased; only the item is forgotten.
    for (TDrawRect& record : fMoveSnapShot)
        if (record.Item == item) record.Item = nullptr;
}

// ---- Selection ----

void TvxGant_ComBasic::ClearSelections()
{
    for (int r = 0; r < fRowList->Count(); ++r) {
        TvxDataList2lev* lists = fRowList->GetGantRow(r)->GetDataLists();
        for (int l = 0; lists && l < lists->Count(); ++l)
            if (TvxDataList* list = lists->GetDataList(l)) list->ClearSelections();
    }
}

void TvxGant_ComBasic::UpdateMultiSelect(TvxDataEntity_Chronbar* item, TShiftState shift, bool isPress)
{
    auto apply = [&] {
        if (!shift.Contains(ssShift) && !shift.Contains(ssCtrl)) {
            ClearSelections();
            // A handler of the unselections may have deleted the item.
            if (item && item == fMouseDownDataEntity) item->SetSelected(true);
            InvalidateGA();
        } else if (item) {
            item->SetSelected(!item->GetSelected());
            InvalidateGA();
        }
    };
    if (isPress) {
        fDeferredSelect = false;
        // A press on a selected item keeps the selection for a drag of all of them; the release
        // applies it if nothing was dragged.
        if (item && item->GetSelected())
            fDeferredSelect = true;
        else
            apply();
    } else if (fDeferredSelect) {
        fDeferredSelect = false;
        apply();
    }
}

void TvxGant_ComBasic::CreateScrollableMoveSnapShot()
{
    fMoveSnapShot.clear();
    for (int r = 0; r < fRowList->Count(); ++r) {
        TvxDataList2lev* lists = fRowList->GetGantRow(r)->GetDataLists();
        for (int l = 0; lists && l < lists->Count(); ++l) {
            TvxDataList* list = lists->GetDataList(l);
            for (int i = 0; list && i < list->LoadedCount(); ++i) {
                auto* item = static_cast<TvxDataEntity_Chronbar*>(list->GetLoaded(i));
                if (!item || !item->GetSelected()) continue;
                TDrawRect record;
                record.Item = item;
                RectFromDataEntity(item, record.Rect);
                fMoveSnapShot.push_back(record);
            }
        }
    }
}

// ---- Hit zones ----

bool TvxGant_ComBasic::InGrowArea(TvxDataEntity_Chronbar* item, int x, int y, TRect& rect, bool& isLeft)
{
    if (!RectFromDataEntity(item, rect)) return false;
    if (y < rect.Top || y >= rect.Bottom) return false;
    if (x >= rect.Left && x < AddClamped(rect.Left, kGrowZone)) {
        isLeft = true;
        return true;
    }
    if (x >= AddClamped(rect.Right, -kGrowZone) && x < rect.Right) {
        isLeft = false;
        return true;
    }
    return false;
}

bool TvxGant_ComBasic::GrowAllowed(TvxDataEntity_Chronbar* item, int x, int y, TRect& rect, bool& isLeft)
{
    if (!item->IsResizable() || !InGrowArea(item, x, y, rect, isLeft)) return false;
    return EditableNow(item);
}

bool TvxGant_ComBasic::EditableNow(TvxDataEntity_Chronbar* item)
{
    const uint64_t deletions = fDeletions;
    const bool editable = item->GetCanEdit();
    // The edit query's handler may have deleted the item.
    return editable && deletions == fDeletions;
}

// ---- Press ----

void TvxGant_ComBasic::GantAreaMouseDown(TObject*, TMouseButton button, TShiftState shift, int x, int y)
{
    if (IsDestroying() || !fGA || !fScaler) return;
    if (fMouseMode != TGantMouseMoveMode::mmNone) {
        // Another button during a drag does not disturb it.
        if (button != TMouseButton::mbLeft) {
            if (OnGantAreaMouseDown) OnGantAreaMouseDown(fGA, button, shift, x, y);
            return;
        }
        // The release of the last drag was lost (the capture went elsewhere).
        CancelMouseOperation();
    }
    fButtonDown = true;
    fPressPoint = Point(x, y);
    if (fGA->CanFocus() && !fGA->Focused()) fGA->SetFocus();
    RefreshOthers(fGA);

    fPressTime = fScaler->PixelToDate(x);
    fMouseDownDataEntity = GetDataEntityFromXY(x, y);
    UpdateMultiSelect(fMouseDownDataEntity, shift, true);
    if (OnClickGantArea) OnClickGantArea(this, fMouseDownDataEntity);
    if (button == TMouseButton::mbRight && OnRightClickGantArea) OnRightClickGantArea(this, fMouseDownDataEntity);
    SetActiveDataEntity(fMouseDownDataEntity);

    if (TvxDataEntity_Chronbar* item = fMouseDownDataEntity; item && button == TMouseButton::mbLeft) {
        fDelta = Point(0, 0);
        fOutlineShown = false;
        fMouseMode = TGantMouseMoveMode::mmNone;
        TRect rect;
        bool isLeft = false;
        if (StickyMode == TGantStickyMode::smDependency) {
            fMouseMode = TGantMouseMoveMode::mmDependency;
            fDragItem = item;
        } else if (GrowAllowed(item, x, y, rect, isLeft)) {
            fGrowPressRect = fGrowRect = rect;
            fMouseMode = isLeft ? TGantMouseMoveMode::mmGrowLeft : TGantMouseMoveMode::mmGrowRight;
            fDragItem = item;
        } else if (item == fMouseDownDataEntity && EditableNow(item) && !shift.Contains(ssDouble)) {
            fMouseMode = shift.Contains(ssCtrl) ? TGantMouseMoveMode::mmCopy : TGantMouseMoveMode::mmMove;
            CreateScrollableMoveSnapShot();
        }
    }
    StickyMode = TGantStickyMode::smNone;
    if (OnGantAreaMouseDown) OnGantAreaMouseDown(fGA, button, shift, x, y);
}

void TvxGant_ComBasic::OnGADblClick(TObject*)
{
    if (IsDestroying()) return;
    if (OnDblClickGantArea) OnDblClickGantArea(this, fMouseDownDataEntity);
}

// ---- Move ----

void TvxGant_ComBasic::GantAreaMouseMove(TObject*, TShiftState shift, int x, int y)
{
    if (IsDestroying() || !fGA || !fScaler) return;
    TCursor cursor = fCursorGantArea;
    fLastMousePos = Point(x, y);
    TGantRow* row = fRowList->FindRowFromY(fButtonDown ? fPressPoint.Y : y);
    if (StickyMode == TGantStickyMode::smDependency) cursor = crHandPoint;

    switch (fMouseMode) {
    case TGantMouseMoveMode::mmDependency:
        cursor = crHandPoint;
        DoScaleStartStopAdjust(x);
        DoGridTopBotAdjust(y);
        HandleLocalDependency(x, y);
        break;
    case TGantMouseMoveMode::mmMove:
    case TGantMouseMoveMode::mmCopy:
        if (row && (row->GetTimeItems_CanMove() || row->GetTimeItems_CanChangeRow())) {
            DoScaleStartStopAdjust(x);
            DoGridTopBotAdjust(y);
            HandleLocalDrag(x, y, row->GetTimeItems_CanMove(), row->GetTimeItems_CanChangeRow());
            const TRect near = Rect(-kDragOutsideMargin, -kDragOutsideMargin, AddClamped(fGA->GetWidth(), kDragOutsideMargin),
                                    AddClamped(fGA->GetHeight(), kDragOutsideMargin));
            if (fStartDragWhenTimeMoveOutside && !PtInRect(near, Point(x, y))) StartPlatformDrag();
        }
        break;
    case TGantMouseMoveMode::mmGrowLeft:
    case TGantMouseMoveMode::mmGrowRight:
        if (row && row->GetTimeItems_CanResize()) {
            cursor = crHSplit;
            DoScaleStartStopAdjust(x);
            HandleLocalGrow(x, y);
        }
        break;
    case TGantMouseMoveMode::mmNone: {
        TvxDataEntity_Chronbar* item = GetDataEntityFromXY(x, y);
        const uint64_t deletions = fDeletions;
        ReportItemHint(item);
        // The handler may have deleted the item.
        if (deletions != fDeletions) item = nullptr;
        if (fHint && !fButtonDown) fHint->ShowSlowHintFor(item, x, y);
        TRect rect;
        bool isLeft = false;
        if (item && item->IsResizable() && InGrowArea(item, x, y, rect, isLeft)) {
            TGantRow* itemRow = item->GetRow();
            if (itemRow && itemRow->GetTimeItems_CanResize() && item->GetCanEdit()) cursor = crHSplit;
        }
        break;
    }
    }
    fGA->SetCursor(cursor);
    if (OnGantAreaMouseMove) OnGantAreaMouseMove(fGA, shift, x, y);
}

// ---- Release ----

void TvxGant_ComBasic::GantAreaMouseUp(TObject*, TMouseButton button, TShiftState shift, int x, int y)
{
    if (IsDestroying() || !fGA || !fScaler) return;
    // Only the left button's release ends a drag.
    if (button != TMouseButton::mbLeft && fMouseMode != TGantMouseMoveMode::mmNone) {
        if (OnGantAreaMouseUp) OnGantAreaMouseUp(fGA, button, shift, x, y);
        return;
    }
    StopAutoScroll();
    const TPoint delta = DeltaFromPress(x, y);
    const int dx = delta.X, dy = delta.Y;
    TGantRow* row = fRowList->FindRowFromY(fButtonDown ? fPressPoint.Y : y);
    fButtonDown = false;
    fLastDelta = Point(dx, dy);
    const TGantMouseMoveMode mode = fMouseMode;

    std::exception_ptr failure;
    try {
        EndLocalFeedback();
        ApplyRelease(mode, row, x, y, dx, dy);
    } catch (...) {
        failure = std::current_exception();
    }
    ForgetMouseOperation();
    UpdateMultiSelect(fMouseDownDataEntity, shift, false);
    if (failure) std::rethrow_exception(failure);

    ReportItemHint(fMouseDownDataEntity);
    if (OnGantAreaMouseUp) OnGantAreaMouseUp(fGA, button, shift, x, y);
}

void TvxGant_ComBasic::ApplyRelease(TGantMouseMoveMode mode, TGantRow* row, int x, int y, int dx, int dy)
{
    // Every release of an operation stops the axis stepping.
    if (mode != TGantMouseMoveMode::mmNone) fScaler->StopStep();
    switch (mode) {
    case TGantMouseMoveMode::mmDependency:
        HandleDependencyChange(x, y);
        InvalidateGA();
        break;
    case TGantMouseMoveMode::mmMove:
    case TGantMouseMoveMode::mmCopy:
        if (row) {
            if (!row->GetTimeItems_CanMove()) dx = 0;
            if (!row->GetTimeItems_CanChangeRow()) dy = 0;
        }
        HandleMoveOfSelected(Point(x, y), Point(dx, dy), mode == TGantMouseMoveMode::mmCopy);
        if (dx != 0 || dy != 0) fDeferredSelect = false;
        InvalidateGA();
        break;
    case TGantMouseMoveMode::mmGrowLeft:
    case TGantMouseMoveMode::mmGrowRight:
        if (row && !row->GetTimeItems_CanResize()) dx = 0;
        HandleGrow(Point(dx, dy));
        InvalidateGA();
        break;
    case TGantMouseMoveMode::mmNone:
        break;
    }
}

void TvxGant_ComBasic::CancelMouseOperation()
{
    if (IsDestroying()) return;
    StopAutoScroll();
    if (fScaler && fMouseMode != TGantMouseMoveMode::mmNone) fScaler->StopStep();
    EndLocalFeedback();
    ForgetMouseOperation();
    fButtonDown = false;
    fDeferredSelect = false;
    if (fGA && fGA->GetMouseCapture()) fGA->SetMouseCapture(false);
    InvalidateGA();
}

void TvxGant_ComBasic::ForgetMouseOperation()
{
    fMouseMode = TGantMouseMoveMode::mmNone;
    fDragItem = nullptr;
    fMoveSnapShot.clear();
    fOutlineShown = false;
}

TPoint TvxGant_ComBasic::DeltaFromPress(int x, int y) const
{
    return Point(ClampToInt(int64_t{x} - fPressPoint.X), ClampToInt(int64_t{y} - fPressPoint.Y));
}

void TvxGant_ComBasic::StartPlatformDrag()
{
    EndLocalFeedback();
    ForgetMouseOperation();
    fButtonDown = false;
    fScaler->StopStep();
    StopAutoScroll();
    InvalidateGA();
    fGA->BeginDrag(true);
}

// ---- Platform drag and drop ----

void TvxGant_ComBasic::GantAreaStartDrag(TObject* sender, TDragObject*& dragObject)
{
    if (OnGantAreaStartDrag) OnGantAreaStartDrag(sender, dragObject);
}

void TvxGant_ComBasic::GantAreaDragDrop(TObject* sender, TObject* source, int x, int y)
{
    if (OnGantAreaDragDrop) OnGantAreaDragDrop(sender, source, x, y);
}

void TvxGant_ComBasic::GantAreaDragOver(TObject* sender, TObject* source, int x, int y, TDragState state, bool& accept)
{
    accept = false;
    if (OnGantAreaDragOver) OnGantAreaDragOver(sender, source, x, y, state, accept);
}

void TvxGant_ComBasic::GantAreaEndDrag(TObject*, TObject*, int, int) {}

// ---- Scrolling while dragging ----

void TvxGant_ComBasic::DoScaleStartStopAdjust(int x)
{
    if (fTimeItemAutoScroll != TTimeItemAutoScroll::ttiaHorzAndVert && fTimeItemAutoScroll != TTimeItemAutoScroll::ttiaHorz)
        return;
    if (x < 0)
        fScaler->StartStepDown();
    else if (x > fGA->GetWidth())
        fScaler->StartStepUp();
    else if (fScaler->IsStepping())
        fScaler->StopStep();
}

void TvxGant_ComBasic::DoGridTopBotAdjust(int y)
{
    const bool vertical = fTimeItemAutoScroll == TTimeItemAutoScroll::ttiaHorzAndVert ||
                          fTimeItemAutoScroll == TTimeItemAutoScroll::ttiaVert;
    if (vertical && y < kVerticalScrollMargin) {
        fAutoScrollDown = false;
        fAutoScrollTimer->SetEnabled(true);
    } else if (vertical && y > int64_t{fGA->GetHeight()} - kVerticalScrollMargin) {
        fAutoScrollDown = true;
        fAutoScrollTimer->SetEnabled(true);
    } else {
        fAutoScrollTimer->SetEnabled(false);
    }
}

void TvxGant_ComBasic::OnVerticalScroll(TObject*)
{
    if (IsDestroying()) return;
    // TODO(grid mode): the grid scrolls one step instead.
    if (!fUseGridNotTree && fTree) fTree->Perform(WM_VSCROLL, fAutoScrollDown ? SB_LINEDOWN : SB_LINEUP, 0);
}

void TvxGant_ComBasic::StopAutoScroll()
{
    if (fAutoScrollTimer) fAutoScrollTimer->SetEnabled(false);
}

void TvxGant_ComBasic::SetCursorGantArea(TCursor cursor)
{
    if (fGA) fGA->SetCursor(cursor);
    fCursorGantArea = cursor;
}

}  // namespace vxplan
