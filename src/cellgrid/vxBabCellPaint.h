// Painting of one cell of the cell-grid engine: render attributes, the split of a simple cell
// into button, icon and text sections, the cell's fill and content, frame lines and the focus
// rectangle. The control that shows the grid derives from this class, gives it its canvas and
// answers the hooks (focus, printing, buttons, icons, texts); the defaults describe a plain
// on-screen grid without buttons or icons.
#pragma once

#include <vxplan/cellgrid/vxBabCell.h>
#include <vxplan/cellgrid/vxLayoutProp.h>
#include <vxplan/platform/graphics/vxCanvas.h>

#include <cstdint>
#include <string>

namespace vxplan {

class TBabCellPainter {
public:
    virtual ~TBabCellPainter() = default;

    // --- Hooks of the control ---
    virtual TCanvas& PaintCanvas() = 0;
    virtual bool PaintIsPrinting() const { return false; }
    virtual bool PaintHasPrintingCanvas() const { return true; }
    // The control or its active in-place editor has the focus.
    virtual bool PaintHasFocus() const { return false; }
    virtual double PaintScaleX() const { return 1; }
    virtual double PaintScaleY() const { return 1; }
    // The control's font (null: the canvas keeps its font).
    virtual const TFont* PaintControlFont() const { return nullptr; }
    virtual void PaintResizeFontForPrinter() {}
    virtual bool CellHasButton(TBabCell*) { return false; }
    virtual bool CellHasIcon(TBabCell*) { return false; }
    virtual int CellIconIndex(TBabCell*) { return 0; }
    virtual int CellInset(TBabCell*) { return 0; }
    // The image list's width, or -1 without an image list.
    virtual int ImageListWidth() const { return -1; }
    // Image theIndex at the section's top-left, or stretched into theDest when printing.
    virtual void DrawCellIcon(TCanvas&, const TRect& /*theDest*/, int /*theIndex*/, bool /*theStretched*/) {}
    // A simple cell's button section was painted (the control draws buttons after the cells).
    virtual void ButtonRendered(TBabCell*) {}
    virtual void PreDrawGetStringAndSetAttributes(TBabCell* theCell, std::string& theText, bool& theIsText,
                                                  bool& theChecked);
    virtual void PostDrawGetStringAndSetAttributes(TBabCell*, std::string&, bool&, bool&) {}
    // Lets the application paint a simple cell itself; clearing theDefaultDraw skips the default.
    virtual void UserRenderCell(TCanvas&, TBabCell*, const std::string&, bool /*theChecked*/, bool /*theIsText*/,
                                TBabDrawStateSet, const TRect&, bool& /*theDefaultDraw*/)
    {
    }
    virtual TBabCell* GetSortCell() const { return nullptr; }
    virtual bool GetSortDirection() const { return false; }
    virtual bool GetFocusRect_Cell() const { return true; }

    // --- Painting ---
    // The drawing callback of TBabGridCell::Draw.
    void OnDrawBabCell(const TRect& theDrawRect, TBabCell* theCell, TBabDrawStateSet theState);
    uint32_t GetFlags(TBabCell* theCell) const;
    TColor GetHighLightColor() const;
    void SetRenderAttributes(TBabCell* theCell, TBabDrawStateSet theState, std::string& theText, bool& theIsText,
                             bool& theChecked, bool& theFlagDraw);
    void DivideTheRectIntoSections(TBabCell* theCell, TBabDrawStateSet theState, TRect& theText, TRect& theIcon,
                                   TRect& theButton, const TRect& theRect, bool thePaint);
    TRect GetButtonDrawRect(TBabCell* theCell);
    TRect GetIconDrawRect(TBabCell* theCell);
    void DoLines(const TRect& theRect, TBabCell* theCell, TBabDrawStateSet theState);
    void DefaultLines(TBabCell* theCell, const TRect& theRect, TBabDrawStateSet theState);
    void LayoutPropertyLines(TBabCell* theCell, const TRect& theRect, TBabDrawStateSet theState);
    void DrawCheckBox(TCanvas& theCanvas, const TRect& theRect, bool theChecked);
    static TRect CheckBoxRectFromDrawRect(const TRect& theRect);
    void DrawSortingSymbol(TBabCell* theCell, bool theDirection, const TRect& theRect);
    void DrawFocusRect(const TRect& theRect);

    // The root's rectangle and scale hooks, for the control to install.
    void CellRectTampering(TBabGridCell* theCaller, TBabCell* theCell, TRect& theRect);
    void ScaleRect(TRect& theRect) const;

    TLayoutProp* GetLastAppliedLayout() const { return lastApplied_; }
    void ResetLastAppliedLayout() { lastApplied_ = nullptr; }

    // r with Left and Top grown by a, Right and Bottom shrunk by b.
    static TRect Shrink(const TRect& r, int a, int b) { return Rect(r.Left + a, r.Top + a, r.Right - b, r.Bottom - b); }

private:
    void Line(TCanvas& theCanvas, TPoint theFrom, TPoint theTo);
    void FrameLine(TLayoutProp& theLayout, TFrameOption theOption, TBabCell* theCell, const TRect& theRect,
                   TPoint theStart, TPoint theStop);
    void RedrawEnclosingGrid(TBabCell* theCell);

    TLayoutProp* lastApplied_ = nullptr;
};

}  // namespace vxplan
