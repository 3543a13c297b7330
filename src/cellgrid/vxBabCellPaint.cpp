// Painting one cell. Lines go through the canvas's LineTo, which leaves out the end pixel, and
// rectangles exclude right and bottom, so every pixel here is where the routines say it is.
#include <vxplan/cellgrid/vxBabCellPaint.h>

#include <vxplan/platform/graphics/vxDeviceContext.h>

#include <algorithm>
#include <cstdint>

namespace vxplan {

namespace {

bool IsRoot(const TBabCell* theCell) { return theCell->GetRoot() == theCell; }

bool EnclosedInSubGrid(const TBabCell* theCell)
{
    const TBabGridCell* grid = theCell->getGridCell();
    return grid && !IsRoot(grid);
}

}  // namespace

void TBabCellPainter::PreDrawGetStringAndSetAttributes(TBabCell*, std::string& theText, bool& theIsText, bool&)
{
    theText.clear();
    theIsText = true;
}

uint32_t TBabCellPainter::GetFlags(TBabCell* theCell) const
{
    const TLayoutProp* lp = theCell->GetLayoutProp();
    if (!lp) return 0;
    uint32_t flags = lp->WindowsFlags;
    if (lp->WrapTextAndFit) flags |= DT_WORDBREAK;
    if (lp->HorzAlignRight) flags |= DT_RIGHT;
    if (lp->HorzAlignCenter) flags |= DT_CENTER;
    if (lp->VertAlignCenter) flags |= DT_VCENTER;
    if (lp->EndEllipsis) flags |= DT_END_ELLIPSIS;
    return flags;
}

TColor TBabCellPainter::GetHighLightColor() const
{
    if (PaintHasFocus() && !PaintIsPrinting()) return clHighlight;
    return PaintIsPrinting() ? clWhite : clInactiveCaptionText;
}

void TBabCellPainter::SetRenderAttributes(TBabCell* theCell, TBabDrawStateSet theState, std::string& theText,
                                          bool& theIsText, bool& theChecked, bool& theFlagDraw)
{
    PreDrawGetStringAndSetAttributes(theCell, theText, theIsText, theChecked);
    TCanvas& canvas = PaintCanvas();
    TLayoutProp* lp = theCell->GetLayoutProp();
    if (lp) {
        const bool simple = !theCell->IsGridCell();
        if (simple) theFlagDraw = lp->WindowsFlagDraw;
        if (lp != lastApplied_ || PaintIsPrinting()) {
            if (lp->UseFontInfo) {
                canvas.Font().SetName(lp->FontName);
                canvas.Font().SetSize(lp->FontSize);
                canvas.Font().SetStyle(lp->FontStyle);
            } else if (const TFont* font = PaintControlFont()) {
                canvas.Font().Assign(*font);
            }
            if (PaintIsPrinting()) PaintResizeFontForPrinter();
        }
        // Set after the font so the layout's font colour wins over the control font's.
        if (simple) canvas.Font().SetColor(lp->FontColor);
        canvas.Pen().SetColor(lp->FrontColor);
        canvas.Brush().SetColor(lp->BackColor);
    } else {
        canvas.Pen().SetColor(clBlack);
        canvas.Font().SetColor(clBlack);
        canvas.Brush().SetColor(theState.Contains(TBabDrawState::babFixed) ? clBtnFace : clWindow);
    }
    lastApplied_ = lp;
    PostDrawGetStringAndSetAttributes(theCell, theText, theIsText, theChecked);
}

void TBabCellPainter::DivideTheRectIntoSections(TBabCell* theCell, TBabDrawStateSet theState, TRect& theText,
                                                TRect& theIcon, TRect& theButton, const TRect& theRect, bool thePaint)
{
    TRect r = theRect;
    theButton = Rect(r.Left, r.Top, r.Left, r.Bottom);
    theIcon = theButton;
    if (!theState.Contains(TBabDrawState::babFixed) && CellHasButton(theCell) && !PaintIsPrinting()) {
        theButton = Rect(r.Left, r.Top, std::min(r.Left + 15, r.Right), r.Bottom);
        r.Left = std::min(r.Left + 16, r.Right);
        if (thePaint) ButtonRendered(theCell);
    }
    if (CellHasIcon(theCell) && ImageListWidth() >= 0) {
        const int w = PaintIsPrinting() ? Round(ImageListWidth() * PaintScaleX()) : ImageListWidth();
        theIcon = Rect(r.Left, r.Top, std::min(r.Left + w, r.Right), r.Bottom);
        r.Left = std::min(r.Left + w + 1, r.Right);
        if (thePaint) {
            if (PaintIsPrinting())
                DrawCellIcon(PaintCanvas(),
                             Rect(theIcon.Left, theIcon.Top, theIcon.Right, theIcon.Top + (theIcon.Right - theIcon.Left)),
                             CellIconIndex(theCell), true);
            else
                DrawCellIcon(PaintCanvas(), theIcon, CellIconIndex(theCell), false);
        }
    }
    theText = Shrink(r, 1, 1);
}

TRect TBabCellPainter::GetButtonDrawRect(TBabCell* theCell)
{
    TRect text, icon, button;
    TBabDrawStateSet state;
    if (theCell->GetIsFixed()) state.Include(TBabDrawState::babFixed);
    DivideTheRectIntoSections(theCell, state, text, icon, button, Shrink(theCell->StoredVisibleRect(), 1, 1), false);
    return button;
}

TRect TBabCellPainter::GetIconDrawRect(TBabCell* theCell)
{
    TRect text, icon, button;
    TBabDrawStateSet state;
    if (theCell->GetIsFixed()) state.Include(TBabDrawState::babFixed);
    DivideTheRectIntoSections(theCell, state, text, icon, button, Shrink(theCell->StoredVisibleRect(), 1, 1), false);
    return icon;
}

void TBabCellPainter::Line(TCanvas& theCanvas, TPoint theFrom, TPoint theTo)
{
    theCanvas.MoveTo(theFrom.X, theFrom.Y);
    theCanvas.LineTo(theTo.X, theTo.Y);
}

void TBabCellPainter::OnDrawBabCell(const TRect& theDrawRect, TBabCell* theCell, TBabDrawStateSet theState)
{
    if (PaintIsPrinting() && !PaintHasPrintingCanvas()) return;
    TCanvas& canvas = PaintCanvas();
    const TRect outer = theDrawRect;
    const TRect inner = Shrink(theDrawRect, 1, 1);
    TRect work = inner;
    const bool fixed = theState.Contains(TBabDrawState::babFixed);
    const bool selected = theState.Contains(TBabDrawState::babSelected);
    TLayoutProp* lp = theCell->GetLayoutProp();

    if (fixed) {
        canvas.Brush().SetColor(lp ? lp->BackColor : clBtnFace);
        canvas.FillRect(Shrink(work, -1, -1));
        canvas.Pen().SetColor(clBtnHighlight);
        canvas.MoveTo(inner.Right, inner.Top);
        canvas.LineTo(inner.Left, inner.Top);
        canvas.LineTo(inner.Left, inner.Bottom);
        canvas.Pen().SetColor(clBtnShadow);
        canvas.LineTo(inner.Right, inner.Bottom);
        canvas.LineTo(inner.Right, inner.Top);
    }

    if (!theCell->IsGridCell()) {
        const TRect& vis = theCell->StoredVisibleRect();
        TRect fill = Rect(vis.Left + 1, vis.Top + 1, vis.Right, vis.Bottom + 1);
        std::string text;
        bool isText = true, checked = false, flagDraw = false;
        SetRenderAttributes(theCell, theState, text, isText, checked, flagDraw);
        if (selected && !fixed && !PaintIsPrinting()) {
            canvas.FillRect(fill);
            const TColor high = GetHighLightColor();
            canvas.Brush().SetColor(high);
            canvas.Font().SetColor(high == clHighlight ? clHighlightText : clGrayText);
            canvas.FillRect(Rect(fill.Left, fill.Top - 1, fill.Right, fill.Bottom - 1));
        } else if (!fixed) {
            if (EnclosedInSubGrid(theCell)) fill.Top -= 1;
            canvas.FillRect(fill);
        }
        TRect icon, button;
        DivideTheRectIntoSections(theCell, theState, work, icon, button, work, true);
        bool defaultDraw = true;
        UserRenderCell(canvas, theCell, text, checked, isText, theState, work, defaultDraw);
        if (defaultDraw) {
            if (isText) {
                canvas.RequireState();
                TRect textRect = work;
                DrawTextW(canvas.GetHandle(), text, textRect, GetFlags(theCell));
            } else {
                DrawCheckBox(canvas, work, checked);
            }
        }
        if (GetSortCell() == theCell) DrawSortingSymbol(theCell, GetSortDirection(), work);
    } else {
        auto* grid = static_cast<TBabGridCell*>(theCell);
        const TRect& vis = theCell->StoredVisibleRect();
        if (lp) {
            canvas.Brush().SetColor(lp->BackColor);
            canvas.FillRect(Rect(vis.Left, vis.Top + 1, vis.Right, vis.Bottom));
        }
        if (selected && !fixed) {
            // A sub-grid with content keeps its background: its own cells show the selection.
            if (!(grid->Columns().Count() > 0 && grid->Rows().Count() > 0)) canvas.Brush().SetColor(GetHighLightColor());
            canvas.FillRect(Shrink(work, 0, -1));
        }
    }

    DoLines(outer, theCell, theState);

    if (PaintHasFocus() && theState.Contains(TBabDrawState::babFocused) && !IsRoot(theCell) && !PaintIsPrinting() &&
        GetFocusRect_Cell()) {
        work = theCell->IsGridCell() ? Shrink(work, 0, -1) : Shrink(work, -2, -2);
        DrawFocusRect(work);
    }
}

void TBabCellPainter::DoLines(const TRect& theRect, TBabCell* theCell, TBabDrawStateSet theState)
{
    if (theState.Contains(TBabDrawState::babFixed)) return;
    const TLayoutProp* lp = theCell->GetLayoutProp();
    if (lp && lp->FrameOptionsUse)
        LayoutPropertyLines(theCell, theRect, theState);
    else
        DefaultLines(theCell, theRect, theState);
}

void TBabCellPainter::RedrawEnclosingGrid(TBabCell* theCell)
{
    if (!EnclosedInSubGrid(theCell)) return;
    TBabGridCell* grid = theCell->getGridCell();
    DoLines(grid->getVisibleRect(), grid, {});
}

void TBabCellPainter::DefaultLines(TBabCell* theCell, const TRect& theRect, TBabDrawStateSet theState)
{
    if (theState.Contains(TBabDrawState::babFixed) || theCell->GetIsFixed()) return;
    TCanvas& canvas = PaintCanvas();
    canvas.Pen().SetColor(clBtnFace);
    if (!theCell->IsGridCell()) {
        Line(canvas, {theRect.Right, theRect.Top}, {theRect.Right, theRect.Bottom});
        // The frame of an enclosing sub-grid cell is drawn again over its contents.
        RedrawEnclosingGrid(theCell);
    } else {
        canvas.MoveTo(theRect.Left, theRect.Top);
        canvas.LineTo(theRect.Left, theRect.Bottom - 1);
        canvas.LineTo(theRect.Right, theRect.Bottom - 1);
        canvas.LineTo(theRect.Right, theRect.Top);
    }
}

void TBabCellPainter::FrameLine(TLayoutProp& theLayout, TFrameOption theOption, TBabCell* theCell, const TRect& theRect,
                                TPoint theStart, TPoint theStop)
{
    TCanvas& canvas = PaintCanvas();
    canvas.Pen().SetColor(theLayout.FrameColor);
    bool doDefault = true;
    if (theLayout.OnFrameLineDraw) {
        // A handler must ask for the default line; leaving the flag alone suppresses it.
        doDefault = false;
        theLayout.OnFrameLineDraw(&theLayout, theOption, theCell, theRect, theStart, theStop, doDefault, canvas);
    }
    if (!doDefault) return;
    Line(canvas, theStart, theStop);
    if (theLayout.FrameKind != TFrameKind::fk3d) return;
    if (theStart.X == theStop.X) {
        --theStart.X;
        --theStop.X;
    } else {
        --theStart.Y;
        --theStop.Y;
    }
    // The second line's colour: c + Round(c * 0.25) on the colour's signed 32-bit value, wrapping.
    const int32_t c = static_cast<int32_t>(theLayout.FrameColor);
    const int64_t second = static_cast<int64_t>(c) + Round(c * 0.25);
    canvas.Pen().SetColor(static_cast<TColor>(static_cast<uint32_t>(second)));
    Line(canvas, theStart, theStop);
}

void TBabCellPainter::LayoutPropertyLines(TBabCell* theCell, const TRect& theRect, TBabDrawStateSet theState)
{
    TLayoutProp* lp = theCell->GetLayoutProp();
    if (!lp) return;
    TRect r = theRect;
    if (!theCell->IsGridCell()) {
        // The frame goes around the text section only, leaving out button and icon.
        TRect text, icon, button;
        DivideTheRectIntoSections(theCell, theState, text, icon, button, theRect, false);
        r = Shrink(text, -1, -1);
    }
    const TFrameOptions opts = lp->FrameOptions;
    if (opts.Contains(TFrameOption::foLeft)) FrameLine(*lp, TFrameOption::foLeft, theCell, r, {r.Left, r.Top}, {r.Left, r.Bottom});
    if (opts.Contains(TFrameOption::foRight))
        FrameLine(*lp, TFrameOption::foRight, theCell, r, {r.Right, r.Top}, {r.Right, r.Bottom});
    if (opts.Contains(TFrameOption::foTop)) FrameLine(*lp, TFrameOption::foTop, theCell, r, {r.Left, r.Top}, {r.Right, r.Top});
    if (opts.Contains(TFrameOption::foBottom))
        FrameLine(*lp, TFrameOption::foBottom, theCell, r, {r.Left, r.Bottom}, {r.Right, r.Bottom});
    RedrawEnclosingGrid(theCell);
}

TRect TBabCellPainter::CheckBoxRectFromDrawRect(const TRect& theRect)
{
    return Rect(theRect.Left + 1, theRect.Top + 3, theRect.Left + 12, theRect.Top + 14);
}

void TBabCellPainter::DrawCheckBox(TCanvas& theCanvas, const TRect& theRect, bool theChecked)
{
    theCanvas.FillRect(theRect);
    const TRect box = CheckBoxRectFromDrawRect(theRect);
    theCanvas.Brush().SetColor(clWindow);
    theCanvas.FillRect(box);
    const int bx = box.Left, by = box.Top;
    theCanvas.Pen().SetWidth(1);
    theCanvas.Pen().SetColor(cl3DDkShadow);
    theCanvas.MoveTo(bx + 11, by);
    theCanvas.LineTo(bx, by);
    theCanvas.LineTo(bx, by + 11);
    theCanvas.Pen().SetColor(cl3DLight);
    theCanvas.LineTo(bx + 11, by + 11);
    theCanvas.LineTo(bx + 11, by);
    theCanvas.Pen().SetColor(cl3DDkShadow);
    theCanvas.MoveTo(bx + 10, by + 1);
    theCanvas.LineTo(bx + 1, by + 1);
    theCanvas.LineTo(bx + 1, by + 11);
    if (!theChecked) return;
    // Three stacked one-pixel strokes: down to the right, then up to the right.
    theCanvas.Pen().SetColor(clBlack);
    for (int d = 0; d < 3; ++d) {
        theCanvas.MoveTo(bx + 3, by + 4 + d);
        theCanvas.LineTo(bx + 5, by + 6 + d);
        theCanvas.LineTo(bx + 10, by + 1 + d);
    }
}

void TBabCellPainter::DrawSortingSymbol(TBabCell*, bool theDirection, const TRect& theRect)
{
    TCanvas& canvas = PaintCanvas();
    const int r = theRect.Right;
    const int m = theRect.Top + (theRect.Bottom - theRect.Top) / 2;
    if (theDirection) {
        canvas.Pen().SetColor(cl3DDkShadow);
        canvas.MoveTo(r - 3, m - 3);
        canvas.LineTo(r - 10, m - 3);
        canvas.LineTo(r - 7, m + 3);
        canvas.Pen().SetColor(clWhite);
        canvas.MoveTo(r - 6, m + 3);
        canvas.LineTo(r - 3, m - 3);
    } else {
        canvas.Pen().SetColor(clWhite);
        canvas.MoveTo(r - 10, m + 3);
        canvas.LineTo(r - 3, m + 3);
        canvas.LineTo(r - 6, m - 3);
        canvas.Pen().SetColor(cl3DDkShadow);
        canvas.MoveTo(r - 7, m - 3);
        canvas.LineTo(r - 10, m + 3);
    }
}

void TBabCellPainter::DrawFocusRect(const TRect& theRect)
{
    TCanvas& canvas = PaintCanvas();
    canvas.Brush().SetColor(clBtnHighlight);
    canvas.Font().SetColor(clBlack);
    // Outside the visible area: sets up the colours the platform's focus rectangle uses.
    canvas.TextRect(Rect(-10, -10, -5, -5), -10, -10, "**");
    canvas.DrawFocusRect(theRect);
}

void TBabCellPainter::CellRectTampering(TBabGridCell*, TBabCell* theCell, TRect& theRect)
{
    if (!theCell->IsGridCell() && CellHasButton(theCell))
        theRect.Left = std::min(theRect.Left + 15 * CellInset(theCell), theRect.Right);
}

void TBabCellPainter::ScaleRect(TRect& theRect) const
{
    if (!PaintIsPrinting()) return;
    theRect.Left = Round(theRect.Left * PaintScaleX());
    theRect.Right = Round(theRect.Right * PaintScaleX());
    theRect.Top = Round(theRect.Top * PaintScaleY());
    theRect.Bottom = Round(theRect.Bottom * PaintScaleY());
}

}  // namespace vxplan
