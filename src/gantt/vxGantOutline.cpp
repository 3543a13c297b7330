// What a drag in the Gantt area shows and what its release does: the inverted outlines drawn
// on the displayed pixels while the mouse moves, the hint with the snapped times, and the move,
// copy, grow and dependency applied on release.
//
// Outlines are drawn with the pen mode "not", so drawing one again erases it. A paint of the
// area wipes them: the paint forgets the outline (GantAreaPaint) and a deferred call draws it
// again at the mouse. Display drawing begins before the "shown" flag is read, because beginning
// it may run that paint.
#include <vxplan/gantt/vxGant.h>

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/paint/vxGraphHintWindow.h>
#include <vxplan/platform/time/vxDateFormat.h>
#include <vxplan/scaler/vxScaler.h>

#include <array>
#include <cmath>

namespace vxplan {

namespace {

// Drawing onto what the area shows, flushed to the screen when the scope ends.
class TDisplayCanvas {
public:
    explicit TDisplayCanvas(TvxOffscreenPaint& area) : area_(area), canvas_(area.BeginDisplayDraw()) {}
    ~TDisplayCanvas() { area_.EndDisplayDraw(); }
    TDisplayCanvas(const TDisplayCanvas&) = delete;
    TDisplayCanvas& operator=(const TDisplayCanvas&) = delete;
    TCanvas& Canvas() { return canvas_; }

private:
    TvxOffscreenPaint& area_;
    TCanvas& canvas_;
};

TRect Shifted(TRect r, TPoint delta)
{
    OffsetRect(r, delta.X, delta.Y);
    return r;
}

void UseOutlinePen(TCanvas& canvas)
{
    canvas.Pen().SetMode(TPenMode::pmNot);
    canvas.Pen().SetStyle(TPenStyle::psDot);
    canvas.Pen().SetWidth(1);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
}

bool IsGrow(TGantMouseMoveMode mode)
{
    return mode == TGantMouseMoveMode::mmGrowLeft || mode == TGantMouseMoveMode::mmGrowRight;
}

bool IsMoveOrCopy(TGantMouseMoveMode mode)
{
    return mode == TGantMouseMoveMode::mmMove || mode == TGantMouseMoveMode::mmCopy;
}

}  // namespace

// ---- Outlines ----

void TvxGant_ComBasic::GetStartStopLenFromRect(const TRect& rect, TDateTime& start, TDateTime& stop, TDateTime& length)
{
    start = fScaler->PixelToDate(rect.Left);
    stop = fScaler->PixelToDate(rect.Right);
    length = stop - start;
}

void TvxGant_ComBasic::ReportOutlineHint(const TRect& rect)
{
    TDateTime start = 0, stop = 0, length = 0;
    GetStartStopLenFromRect(rect, start, stop, length);
    fSnapHandler.PixelTime = fScaler->PixelLenToDate(1);
    fSnapHandler.Snap(start, stop);
    length = stop - start;
    if (OnHintInfo) OnHintInfo(nullptr, start, stop, length);
    ShowMoveHint(start, stop, length);
}

void TvxGant_ComBasic::DrawOutline(const TRect& rect, bool withHint, TCanvas& canvas)
{
    if (withHint) ReportOutlineHint(rect);
    UseOutlinePen(canvas);
    // Each LineTo leaves out its end, where the next one starts: every pixel is inverted once.
    canvas.MoveTo(rect.Left, rect.Top);
    canvas.LineTo(rect.Left, rect.Bottom);
    canvas.LineTo(rect.Right, rect.Bottom);
    canvas.LineTo(rect.Right, rect.Top);
    canvas.LineTo(rect.Left, rect.Top);
}

void TvxGant_ComBasic::DrawOutlineOfSelected(TPoint delta, TCanvas& canvas)
{
    // Hidden items have no rectangle and no outline.
    for (const TDrawRect& record : fMoveSnapShot)
        if (record.Rect != kNoRect) DrawOutline(Shifted(record.Rect, delta), false, canvas);
}

void TvxGant_ComBasic::DrawOutlineOfDependencyArrow(TPoint delta, TCanvas& canvas)
{
    UseOutlinePen(canvas);
    const TPoint to = Point(AddClamped(fPressPoint.X, delta.X), AddClamped(fPressPoint.Y, delta.Y));
    DrawLink(fPressPoint, to, canvas, fDefaultLinkStyle, 0, nullptr);
}

void TvxGant_ComBasic::EraseOutline(TCanvas& canvas)
{
    if (!fOutlineShown) return;
    if (IsMoveOrCopy(fMouseMode))
        DrawOutlineOfSelected(fDelta, canvas);
    else if (IsGrow(fMouseMode))
        DrawOutline(fGrowRect, false, canvas);
    else if (fMouseMode == TGantMouseMoveMode::mmDependency)
        DrawOutlineOfDependencyArrow(fDelta, canvas);
    fOutlineShown = false;
}

// The hint is reported before any drawing, so a handler that raises (or repaints, or ends the
// drag) finds the outline as it was.
void TvxGant_ComBasic::HandleLocalDrag(int x, int y, bool canMove, bool canChangeRow)
{
    const TPoint moved = DeltaFromPress(x, y);
    TPoint delta = fDelta;
    if (canMove) delta.X = moved.X;
    if (canChangeRow) delta.Y = moved.Y;
    if (!fMoveSnapShot.empty() && fMoveSnapShot.front().Rect != kNoRect)
        ReportOutlineHint(Shifted(fMoveSnapShot.front().Rect, delta));
    if (!IsMoveOrCopy(fMouseMode) || !fGA) return;
    TDisplayCanvas direct(*fGA);
    if (fOutlineShown && delta == fDelta) return;
    EraseOutline(direct.Canvas());
    fDelta = delta;
    DrawOutlineOfSelected(fDelta, direct.Canvas());
    fOutlineShown = true;
}

void TvxGant_ComBasic::HandleLocalGrow(int x, int y)
{
    const TPoint delta = DeltaFromPress(x, y);
    TRect rect = fGrowPressRect;
    if (fMouseMode == TGantMouseMoveMode::mmGrowLeft)
        rect.Left = AddClamped(rect.Left, delta.X);
    else
        rect.Right = AddClamped(rect.Right, delta.X);
    ReportOutlineHint(rect);
    if (!IsGrow(fMouseMode) || !fGA) return;
    TDisplayCanvas direct(*fGA);
    if (fOutlineShown && rect == fGrowRect) return;
    EraseOutline(direct.Canvas());
    fDelta = delta;
    fGrowRect = rect;
    DrawOutline(fGrowRect, false, direct.Canvas());
    fOutlineShown = true;
}

void TvxGant_ComBasic::HandleLocalDependency(int x, int y)
{
    if (!fGA) return;
    const TPoint delta = DeltaFromPress(x, y);
    TDisplayCanvas direct(*fGA);
    if (fOutlineShown && delta == fDelta) return;
    EraseOutline(direct.Canvas());
    fDelta = delta;
    DrawOutlineOfDependencyArrow(fDelta, direct.Canvas());
    fOutlineShown = true;
}

void TvxGant_ComBasic::RedrawOutline(TObject*)
{
    if (IsDestroying() || fOutlineShown || !fGA || !fScaler) return;
    const TPoint at = fLastMousePos;
    if (IsMoveOrCopy(fMouseMode)) {
        if (TGantRow* row = fRowList->FindRowFromY(fPressPoint.Y))
            HandleLocalDrag(at.X, at.Y, row->GetTimeItems_CanMove(), row->GetTimeItems_CanChangeRow());
    } else if (IsGrow(fMouseMode)) {
        HandleLocalGrow(at.X, at.Y);
    } else if (fMouseMode == TGantMouseMoveMode::mmDependency) {
        HandleLocalDependency(at.X, at.Y);
    }
}

void TvxGant_ComBasic::OutlineWipedByPaint()
{
    if (!fOutlineShown || GetIsPrinting()) return;
    fOutlineShown = false;
    TDoLater::DoLater(TDoLaterCall(this, &TvxGant_ComBasic::RedrawOutline), this);
}

void TvxGant_ComBasic::EndLocalFeedback()
{
    if (fMouseMode == TGantMouseMoveMode::mmNone) return;
    if (fOutlineShown && fGA) {
        TDisplayCanvas direct(*fGA);
        EraseOutline(direct.Canvas());
    }
    fOutlineShown = false;
    if (fHint && fHint->GetVisible()) fHint->Hide();
}

// ---- Hint ----

std::array<std::string, 3> TvxGant_ComBasic::HintLines(TDateTime start, TDateTime stop, TDateTime length) const
{
    const std::string format = fScaler->GetDateFormat() + " " + fScaler->GetTimeFormat();
    return {FormatDateTime(format, start), FormatDateTime(format, stop), FormatDateTime(format, length)};
}

void TvxGant_ComBasic::ShowMoveHint(TDateTime start, TDateTime stop, TDateTime length)
{
    if (!fHint) return;
    fHint->StaticWidth = fCornerPanel ? fCornerPanel->GetWidth() : fHint->StaticWidth;
    fHint->StaticHeight = fCornerPanel ? fCornerPanel->GetHeight() : fHint->StaticHeight;
    const auto lines = HintLines(start, stop, length);
    fHint->ShowMoveInfo(lines[0], lines[1], lines[2], fLastMousePos.X, fLastMousePos.Y);
}

void TvxGant_ComBasic::HintWantsNewText(TGraphHintWindow* hintWindow, TObject* object)
{
    if (!hintWindow) return;
    auto* item = dynamic_cast<TvxDataEntity_Chronbar*>(object);
    if (!item || !fScaler) {
        hintWindow->SetCaption("");
        return;
    }
    const TDateTime start = item->GetStartDateTime(), stop = item->GetStopDateTime();
    const auto lines = HintLines(start, stop, stop - start);
    hintWindow->SetCaption(lines[0] + '\r' + lines[1] + '\r' + lines[2]);
}

// ---- Applying the operation ----

bool TvxGant_ComBasic::StoreTimes(TvxDataEntity_Chronbar* item, TDateTime start, TDateTime stop)
{
    auto inCalendar = [](TDateTime t) { return std::isfinite(t) && t >= MinDateTime && t <= MaxDateTime; };
    if (!inCalendar(start) || !inCalendar(stop) || stop < start) return false;
    item->SetStartStop(start, stop);
    return true;
}

void TvxGant_ComBasic::HandleMoveOfSelected(TPoint position, TPoint delta, bool copy)
{
    if ((delta.X == 0 && delta.Y == 0) || fMoveSnapShot.empty() || !fGA) return;
    struct TUpdateScope {
        TvxOffscreenPaint* area;
        ~TUpdateScope() { area->EndUpdate(); }
    } update{fGA};
    fGA->BeginUpdate();

    TDateTime timeDiff = 0;
    if (delta.X != 0) timeDiff = fScaler->PixelToDate(position.X) - fPressTime;
    fSnapHandler.PixelTime = fScaler->PixelLenToDate(1);
    // Handlers may delete items of later records (the record then forgets its item) or clear
    // the snapshot: each record is read afresh.
    for (size_t i = 0; i < fMoveSnapShot.size(); ++i) {
        const TDrawRect record = fMoveSnapShot[i];
        TvxDataEntity_Chronbar* item = record.Item;
        TGantRow* oldRow = item ? item->GetRow() : nullptr;
        if (!oldRow) continue;
        const TDateTime oldStart = item->GetStartDateTime(), oldStop = item->GetStopDateTime();
        TDateTime start = oldStart + timeDiff, stop = oldStop + timeDiff;
        fSnapHandler.SnapMove(start, stop);
        if (fMoveOver12Then24) TSnapHandler::SnapMoveTo24HIfMoveOver12H(oldStart, oldStop, start, stop);

        // A hidden item has no rectangle to take a row from: it stays in its row.
        TGantRow* newRow = oldRow;
        if (record.Rect != kNoRect) {
            const int middle = ClampToInt((int64_t{record.Rect.Top} + record.Rect.Bottom) / 2 + delta.Y);
            if (TGantRow* found = fRowList->FindRowFromY(middle)) newRow = found;
        }
        TvxDataEntity_Chronbar* newItem = nullptr;
        if (copy) {
            if (TimeCopy(item, oldRow, newRow, start, stop, newItem) && newItem) newItem->SetSelected(true);
            continue;
        }
        if (fMoveInTimeWhenMoveRow || newRow == oldRow) {
            if (StoreTimes(item, start, stop)) item->DoInfoPush();
        }
        // The push's handlers may have deleted the item or moved it.
        if (newRow != oldRow && i < fMoveSnapShot.size() && fMoveSnapShot[i].Item == item) {
            if (TimeMoveRow(item, oldRow, newRow, start, stop, newItem) && newItem) newItem->SetSelected(true);
        }
    }
}

void TvxGant_ComBasic::HandleGrow(TPoint delta)
{
    TvxDataEntity_Chronbar* item = fDragItem;
    if (!item || !item->GetRow() || delta.X == 0 || !fScaler) return;
    const TDateTime oldStart = item->GetStartDateTime(), oldStop = item->GetStopDateTime();
    fSnapHandler.PixelTime = fScaler->PixelLenToDate(1);
    // Only the dragged end moves: the other keeps its time even when it lies off the snap grid.
    // The length is kept non-negative after snapping, so a snap cannot carry one end past the
    // other.
    TDateTime start = oldStart, stop = oldStop;
    if (fMouseMode == TGantMouseMoveMode::mmGrowRight) {
        TDateTime snappedStart = oldStart, snappedStop = fScaler->PixelToDate(AddClamped(fGrowPressRect.Right, delta.X));
        fSnapHandler.Snap(snappedStart, snappedStop);
        stop = std::max(snappedStop, oldStart);
    } else {
        TDateTime snappedStart = fScaler->PixelToDate(AddClamped(fGrowPressRect.Left, delta.X)), snappedStop = oldStop;
        fSnapHandler.Snap(snappedStart, snappedStop);
        start = std::min(snappedStart, oldStop);
    }
    if (StoreTimes(item, start, stop)) item->DoInfoPush();
}

void TvxGant_ComBasic::HandleDependencyChange(int x, int y)
{
    TvxDataEntity_Chronbar* target = GetDataEntityFromXY(x, y);
    if (target && OnDependencyAction && fDragItem) OnDependencyAction(fDragItem, target);
    InvalidateGA();
}

}  // namespace vxplan
