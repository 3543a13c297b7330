// The grid view's scrolling: the drawing area, the two scroll bars in visible indexes, their
// handlers, programmatic scrolling and the mouse wheel.
#include <vxplan/cellgrid/vxBabGridView.h>

#include <algorithm>

namespace vxplan {

namespace {

// The single border takes this much room at the right and the bottom.
constexpr int kBorderAllowance = 5;

}  // namespace

TRect TBabGridView_Custom::GetDrawRect()
{
    const int border = GetBorderStyle() == TBorderStyle::bsSingle ? kBorderAllowance : 0;
    TRect r = Rect(0, 0, GetWidth() - border, GetHeight() - border);
    if (!GetIsPrinting()) {
        if (horz_->GetVisible()) r.Bottom -= horz_->GetHeight();
        if (vert_->GetVisible() && !hijacked_) r.Right -= vert_->GetWidth();
    }
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    return r;
}

bool TBabGridView_Custom::DecideScrollVisible(const TScrollBar& theBar) const
{
    return theBar.GetMax() - 1 > theBar.GetPageSize() && theBar.GetPageSize() >= 1;
}

bool TBabGridView_Custom::UpdateOneBar(TScrollBar& theBar, bool theVertical)
{
    TAxisContentList& list = theVertical ? root_->Rows() : root_->Columns();
    const int fixed = list.GetFixed();
    const int shown = list.Count() - list.GetHiddenRowCount();
    const int visibleCount = theVertical ? root_->GetVisibleRowCount() : root_->GetVisibleColumnCount();
    const int min = fixed;
    const int max = std::max(shown - 1, min);
    // A layout older than the axis could ask for a page beyond the range.
    const int page = std::min(std::max(visibleCount - fixed, 1), max - min + 1);
    const int scrollVal = theVertical ? root_->GetTop_ScrollVal() : root_->GetLeft_ScrollVal();
    const int position = std::min(scrollVal, max);
    bool fits;
    if (theVertical) {
        fits = root_->GetAllRowsFit();
    } else {
        fits = root_->GetAllColumnsFit();
        if (!fits && GetExpandLastColumnIfShort() && shown > 0)
            fits = root_->GetFirstPartialColumn() == root_->Convert_VisibleIndexToTrue(list, shown - 1);
    }
    const bool show = position > min || !fits;

    // Page 0 fits any range, so range and position can change before the page is set.
    theBar.SetPageSize(0);
    theBar.SetParams(position, min, max);
    theBar.SetPageSize(page);
    theBar.SetLargeChange(visibleCount >= 1 ? page : 1);

    const bool changed = theBar.GetVisible() != show;
    theBar.SetVisible(show);
    if (!show) {
        if (theVertical)
            root_->SetTop(fixed);
        else
            root_->SetLeft(fixed);
    } else {
        SetScrollbarPosition(theBar, position);
    }
    return changed;
}

void TBabGridView_Custom::UpdateScrollbars()
{
    if (GetIsPrinting()) return;
    const bool horzChanged = UpdateOneBar(*horz_, false);
    const bool vertChanged = UpdateOneBar(*vert_, true);
    PlaceScrollbars();
    if (vertChanged && OnScrollVisibilityChanged) OnScrollVisibilityChanged(this);
    // A bar that came or went changed the drawing area: lay it out again.
    if (horzChanged || vertChanged) softUpdate_ = true;
}

void TBabGridView_Custom::PlaceScrollbars()
{
    const int border = GetBorderStyle() == TBorderStyle::bsSingle ? kBorderAllowance : 0;
    const bool horzShown = horz_->GetVisible();
    const bool vertShown = vert_->GetVisible() && !hijacked_;
    const int horzThickness = horz_->GetHeight();
    const int vertThickness = vert_->GetWidth();
    const int vertRoom = vertShown ? vertThickness : 0;
    const int horzRoom = horzShown ? horzThickness : 0;
    if (horzShown)
        horz_->SetBounds(0, GetHeight() - horzThickness - border, std::max(0, GetWidth() - border - vertRoom),
                         horzThickness);
    if (vertShown)
        vert_->SetBounds(GetWidth() - vertThickness - border, 0, vertThickness,
                         std::max(0, GetHeight() - border - horzRoom));
    // The bitmap leaves out where the bars and the border lie.
    SetRightMargin(vertShown ? vertThickness + border : 0);
    SetBottomMargin(horzShown ? horzThickness + border : 0);
}

void TBabGridView_Custom::SetScrollbarPosition(TScrollBar& theBar, int p)
{
    if (!theBar.OnScroll) return;
    const int position = theBar.GetPosition();
    const int page = theBar.GetPageSize();
    // Worked out wide, since p may be any int.
    int next;
    if (p > position && int64_t{position} + page - 1 <= p)
        next = ClampToInt(int64_t{p} - page + 2);
    else if (p <= position)
        next = std::max(p, theBar.GetMin());
    else
        return;
    theBar.OnScroll(&theBar, TScrollCode::scPosition, next);
    theBar.SetPosition(next);
}

void TBabGridView_Custom::ScrollHandler(TScrollBar& theBar, int& thePos, bool theVertical)
{
    const int page = theBar.GetPageSize();
    // Wide: a position asked for may be any int.
    if (int64_t{thePos} + page - 1 > theBar.GetMax()) thePos = std::max(theBar.GetMin(), theBar.GetMax() - page + 1);
    thePos = std::max(thePos, theBar.GetMin());
    if (theVertical)
        root_->SetTop(root_->Convert_VisibleIndexToTrue(root_->Rows(), thePos));
    else
        root_->SetLeft(root_->Convert_VisibleIndexToTrue(root_->Columns(), thePos));
}

void TBabGridView_Custom::OnHorzScroll(TObject*, TScrollCode, int& ScrollPos) { ScrollHandler(*horz_, ScrollPos, false); }

void TBabGridView_Custom::OnVertScroll(TObject*, TScrollCode, int& ScrollPos) { ScrollHandler(*vert_, ScrollPos, true); }

void TBabGridView_Custom::PublicScroll(TScrollDirection theDirection)
{
    switch (theDirection) {
    case TScrollDirection::tsdUp:
        if (vert_->GetVisible()) SetScrollbarPosition(*vert_, vert_->GetPosition() - 1);
        break;
    case TScrollDirection::tsdDown:
        if (vert_->GetVisible()) SetScrollbarPosition(*vert_, vert_->GetPosition() + vert_->GetPageSize() - 1);
        break;
    case TScrollDirection::tsdLeft:
        if (horz_->GetVisible()) SetScrollbarPosition(*horz_, horz_->GetPosition() - 1);
        break;
    case TScrollDirection::tsdRight:
        if (horz_->GetVisible()) SetScrollbarPosition(*horz_, horz_->GetPosition() + horz_->GetPageSize() - 1);
        break;
    }
}

void TBabGridView_Custom::MakeSureFocusedIsVisible()
{
    TBabCell* focused = root_->GetFocusedCell();
    if (!focused) return;
    const int column = focused->ColumnIndex();
    const int row = focused->RowIndex();
    if (column < 0 || row < 0) return;
    if (horz_->GetVisible())
        SetScrollbarPosition(*horz_, root_->Convert_TrueIndexToVisible(root_->Columns(), column));
    if (vert_->GetVisible()) SetScrollbarPosition(*vert_, root_->Convert_TrueIndexToVisible(root_->Rows(), row));
}

void TBabGridView_Custom::HijackVerticalScroll(bool theValue)
{
    if (theValue != hijacked_) {
        hijacked_ = theValue;
        if (!theValue) vert_->SetParent(this);
        softUpdate_ = true;
        Invalidate();
    }
    UpdateScrollbars();
}

bool TBabGridView_Custom::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TvxOffscreenPaint::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    if (wheelDelta > 0) {
        if (vert_->GetVisible())
            SetScrollbarPosition(*vert_, vert_->GetPosition() - 1);
        else
            Scroll(TBabDirection::babdirUp, shift);
    } else if (wheelDelta < 0) {
        if (vert_->GetVisible())
            SetScrollbarPosition(*vert_, vert_->GetPosition() + vert_->GetPageSize() - 1);
        else
            Scroll(TBabDirection::babdirDown, shift);
    }
    return true;
}

}  // namespace vxplan
