// The grid view's paint: the update flags, layout of the visible area, the cells through the
// engine's drawing order, tree buttons and lines, the grid's focus rectangle, and the height
// measuring of wrapping cells.
#include <vxplan/cellgrid/vxBabGridView.h>

#include <vxplan/platform/core/vxFlagScope.h>
#include <vxplan/platform/graphics/vxDeviceContext.h>

#include <algorithm>

namespace vxplan {

namespace {

// Bounds the re-layouts of one paint: a bar that comes or goes, or a scroll position reset by
// the bars, asks for another pass, and the second pass settles it.
constexpr int kMaxLayoutPasses = 3;

const TColor kTreeLineColor = 0xC0C0C0;
const TColor kButtonFrameColor = 0x808080;

}  // namespace

bool TBabGridView_Custom::PaintHasFocus() const
{
    return Focused() || (activeEditor_ && activeEditor_->Focused());
}

void TBabGridView_Custom::HardViewParamsUpdate() { root_->CalculateSizes(); }

void TBabGridView_Custom::SoftViewParamsUpdate()
{
    StopEditing();
    {
        // Loads and purges that the layout itself causes need no new measuring.
        const TFlagScope layingOut(layingOut_);
        root_->CalcVisibleArea(GetDrawRect());
    }
    UpdateScrollbars();
}

void TBabGridView_Custom::OffscreenPaint()
{
    if (GetIsPrinting() && !GetAssignedPrintingCanvas()) return;
    // Whatever was drawn on the screen over the last image is gone with this paint.
    if (!GetIsPrinting()) trackLine_ = kNoRect;
    if (initPending_) {
        initPending_ = false;
        initSubGridContent(dynamic_cast<TBabSubGridCellData*>(root_->GetCellData()));
    }
    if (hardUpdate_) {
        hardUpdate_ = false;
        HardViewParamsUpdate();
        softUpdate_ = true;
    }
    for (int pass = 0; softUpdate_ && pass < kMaxLayoutPasses; ++pass) {
        softUpdate_ = false;
        try {
            SoftViewParamsUpdate();
        } catch (...) {
            // A handler that refused during the layout leaves it to be done again.
            softUpdate_ = true;
            throw;
        }
    }
    renderedButtons_.clear();
    // The canvas font is the control's again at every paint: the layout cache starts afresh.
    ResetLastAppliedLayout();
    if (GetIsPrinting()) PrintResizeFont();
    const TRect area = GetDrawRect();
    root_->Draw(area, TOnDrawBabCell(this, &TBabGridView_Custom::DrawBabCell));
    DrawButtonsAndLines();
    if (PaintHasFocus() && !GetIsPrinting() && focusRectGrid_) DrawFocusRect(Shrink(area, 1, 1));
    TvxOffscreenPaint::OffscreenPaint();
}

void TBabGridView_Custom::DrawBabCell(const TRect& theDrawRect, TBabCell* theCell, TBabDrawStateSet theState)
{
    // The default layout is for non-fixed cells; a cell made before its row or column became
    // fixed still carries it and would paint its header in the window colour.
    if (theState.Contains(TBabDrawState::babFixed) && theCell->GetLayoutProp() == defaultLayout_.get())
        theCell->SetLayoutProp(nullptr);
    OnDrawBabCell(theDrawRect, theCell, theState);
}

void TBabGridView_Custom::PreDrawGetStringAndSetAttributes(TBabCell* theCell, std::string& theText, bool& theIsText,
                                                           bool& theChecked)
{
    if (OnBeforeRenderCell) OnBeforeRenderCell(this, theCell);
    theIsText = true;
    auto* data = dynamic_cast<TBabSimpleCellStringData*>(theCell->GetCellData());
    theText = data ? data->GetString() : std::string();
    if (data && data->GetIsBoolean()) {
        theIsText = false;
        std::string upper = theText;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        theChecked = upper == "TRUE";
    }
}

void TBabGridView_Custom::UserRenderCell(TCanvas& theCanvas, TBabCell* theCell, const std::string& theText,
                                         bool theChecked, bool theIsText, TBabDrawStateSet theState,
                                         const TRect& theRect, bool& theDefaultDraw)
{
    if (OnUserRenderCell)
        OnUserRenderCell(this, theCanvas, theCell, theText, theChecked, theIsText, theState, theRect, theDefaultDraw);
}

void TBabGridView_Custom::DrawCellIcon(TCanvas& theCanvas, const TRect& theDest, int theIndex, bool theStretched)
{
    if (!imageList_ || theIndex < 0 || theIndex >= imageList_->GetCount()) return;
    if (!theStretched) {
        imageList_->Draw(theCanvas, theDest.Left, theDest.Top, theIndex);
        return;
    }
    TBitmap image(imageList_->GetWidth(), imageList_->GetHeight());
    imageList_->Draw(image.Canvas(), 0, 0, theIndex);
    theCanvas.StretchDraw(theDest, image);
}

void TBabGridView_Custom::DrawButtonsAndLines()
{
    if (renderedButtons_.empty()) return;
    TCanvas& canvas = PaintCanvas();
    auto rendered = [this](TBabCell* cell) {
        return cell && std::find(renderedButtons_.begin(), renderedButtons_.end(), cell) != renderedButtons_.end();
    };
    if (showLinesTree_) {
        canvas.Pen().SetColor(kTreeLineColor);
        canvas.Pen().SetStyle(TPenStyle::psSolid);
        canvas.Pen().SetWidth(1);
        for (TBabCell* cell : renderedButtons_) {
            const TRect r = cell->getVisibleRect();
            const int x = r.Left + 6;
            const int y = r.Top + 8;
            int y0;
            TBabCell* parent = GetParentButtonCell(cell);
            if (rendered(parent)) {
                y0 = parent->getVisibleRect().Top + 8;
            } else {
                TBabGridCell* grid = cell->getGridCell();
                y0 = grid == root_.get() ? grid->GetLaidOutArea().Top : grid->getVisibleRect().Top;
                if (grid->GetFixedRows() > 0 && grid->Columns().Count() > 0)
                    if (TBabCell* header = grid->getCell(0, grid->GetFixedRows() - 1))
                        y0 = header->getVisibleRect().Top + 8;
            }
            canvas.MoveTo(x, y0 + 8);
            canvas.LineTo(x, y);
            canvas.LineTo(x + 10, y);
        }
    }
    canvas.Pen().SetColor(clBlack);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    for (TBabCell* cell : renderedButtons_) {
        const TRect r = cell->getVisibleRect();
        const int L = r.Left, T = r.Top;
        if (OnRenderButton) {
            OnRenderButton(this, canvas, cell, Rect(L, T, std::min(L + 15, r.Right), r.Bottom));
        } else if (NeedsRenderedButton(cell)) {
            const TRect box = Rect(L + 2, T + 4, L + 11, T + 13);
            canvas.Brush().SetColor(clWhite);
            canvas.FillRect(box);
            canvas.Brush().SetColor(kButtonFrameColor);
            canvas.FrameRect(box);
            canvas.MoveTo(L + 4, T + 8);
            canvas.LineTo(L + 9, T + 8);
            if (!IsButtonExpanded(cell)) {
                canvas.MoveTo(L + 6, T + 6);
                canvas.LineTo(L + 6, T + 11);
            }
        }
    }
}

int TBabGridView_Custom::GetWidthOffAxisContentItemForHeightCalculation(TBabGridCell*, TAxisContentItem* theColumn)
{
    return theColumn ? theColumn->GetUserSize() : 0;
}

void TBabGridView_Custom::_OnMeasureHeight(TBabGridCellForViewer*, TBabCell* theCell, int& theHeight)
{
    if (IsDestroying() || !theCell) return;
    TLayoutProp* lp = theCell->GetLayoutProp();
    if (!lp || !lp->WrapTextAndFit) return;
    TBabGridCell* grid = theCell->getGridCell();
    TAxisContentItem* row = theCell->GetAxisContentItemY();
    const int width = GetWidthOffAxisContentItemForHeightCalculation(grid, theCell->GetAxisContentItemX());
    TRect r = Rect(0, 0, width, row ? row->GetSize() : 0);
    ScaleRect(r);
    TBabDrawStateSet state;
    if (theCell->GetIsFixed()) state.Include(TBabDrawState::babFixed);
    std::string text;
    bool isText = true, checked = false, flagDraw = false;
    SetRenderAttributes(theCell, state, text, isText, checked, flagDraw);
    r = Shrink(r, 1, 1);
    CellRectTampering(grid, theCell, r);
    TRect textRect, icon, button;
    DivideTheRectIntoSections(theCell, state, textRect, icon, button, r, false);
    TCanvas& canvas = PaintCanvas();
    canvas.RequireState();
    int height = DrawTextW(canvas.GetHandle(), text, textRect, GetFlags(theCell) | DT_CALCRECT) + 3;
    if (GetIsPrinting()) height = Round(height / GetPrintScaley());
    theHeight = std::max(height, defaultLayout_->MinHeight);
}

}  // namespace vxplan
