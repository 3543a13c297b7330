// The Gantt area's paint: background, the items of the rows in view, the links and the user's
// foreground, and the properties that shape the picture.
#include <vxplan/gantt/vxGant.h>

#include <vxplan/gantt/vxGantBackground_p.h>
#include <vxplan/gantt/vxGantItemPaint_p.h>
#include <vxplan/gantt/vxGantTree.h>

#include <vxplan/scaler/vxScaler.h>

#include <algorithm>
#include <cmath>

namespace vxplan {

// ---- Properties ----

void TvxGant_ComBasic::SetGantBackColor(TColor value)
{
    fGantBackColor = value;
    ReInitBitmap(fPattern, fGantBackColor, fGantPyjamasColor);
    InvalidateGA();
}

void TvxGant_ComBasic::SetGantPyjamasColor(TColor value)
{
    fGantPyjamasColor = value;
    ReInitBitmap(fPattern, fGantBackColor, fGantPyjamasColor);
    InvalidateGA();
}

void TvxGant_ComBasic::SetVerticalPyjamas(bool value)
{
    fVerticalPyjamas = value;
    InvalidateGA();
}

void TvxGant_ComBasic::SetDrawShortLines(bool value)
{
    fDrawShortLines = value;
    InvalidateGA();
}

void TvxGant_ComBasic::SetDrawLongLines(bool value)
{
    fDrawLongLines = value;
    InvalidateGA();
}

void TvxGant_ComBasic::SetTodayLineOnOff(bool value)
{
    fTodayLineOnOff = value;
    InvalidateGA();
}

void TvxGant_ComBasic::SetTodayLineColor(TColor value)
{
    fTodayLineColor = value;
    InvalidateGA();
}

void TvxGant_ComBasic::SetLinkShow(TLinkShow value)
{
    fLinkShow = value;
    InvalidateGA();
}

TCustomImageList* TvxGant_ComBasic::GetImageList() const { return fTree ? fTree->GetImages() : nullptr; }

void TvxGant_ComBasic::SetImageList(TCustomImageList* list)
{
    if (fTree) fTree->SetImages(list);
    InvalidateGA();
}

// The tree has no header. TODO(grid mode): the grid's header height.
int TvxGant_ComBasic::GetGridHeaderHeight() const { return 0; }

void TvxGant_ComBasic::RePaint()
{
    if (IsDestroying()) return;
    Repaint();
    RefreshOthers(this);
}

// ---- The paint ----

void TvxGant_ComBasic::GantAreaPaint(TObject*)
{
    if (!fGA || !fScaler || IsDestroying()) return;
    if (!fUseGridNotTree && fTree) fTree->EnsureDisplayUpToDate();
    // The area's alignment under a grid header follows the header; in tree mode it stays 0.
    fCachedGridHeaderHeight = GetGridHeaderHeight();
    UpdateRowRects();
    DoBackground();

    // Rows of one node share a band: they draw in row-list order, so later rows lie on top.
    std::vector<TGantRow*> rows = fRowsInView;
    std::stable_sort(rows.begin(), rows.end(), [](TGantRow* a, TGantRow* b) { return a->fSequence < b->fSequence; });
    for (TGantRow* row : rows)
        if (RowTypeCheckOK(row)) row->DrawContent();

    RenderLinks();
    TCanvas& canvas = fGA->GetOffscreenCanvas();
    if (OnUserDrawForeground) OnUserDrawForeground(this, Rect(0, 0, fGA->GetWidth(), fGA->GetHeight()), canvas);
    canvas.Pen().SetColor(clBlack);
    fStartAtLastPaint = fScaler->GetStart();
    // The new picture has no outline on it.
    OutlineWipedByPaint();
}

void TvxGant_ComBasic::UserDrawBackgroundAdapter(TCanvas& canvas, const TRect& rect)
{
    if (OnUserDrawBackground) OnUserDrawBackground(this, rect, canvas);
}

void TvxGant_ComBasic::DoBackground()
{
    TCanvas& canvas = fGA->GetOffscreenCanvas();
    const bool printing = GetIsPrinting();
    TvxGantBackgroundInput in;
    in.Width = fGA->GetWidth();
    in.Height = fGA->GetHeight();
    in.BackColor = fGantBackColor;
    in.PyjamasColor = fGantPyjamasColor;
    in.Pattern = &fPattern;
    in.VerticalPyjamas = fVerticalPyjamas;
    in.Printing = printing;
    in.ScaleY = fGA->GetScaley();
    in.LastRowHeight = fLastRowHeight;
    in.MinorPixels = &fScaler->GetMinorPixels();
    in.MajorPixels = &fScaler->GetMajorPixels();
    in.OddOrEvenStart = fScaler->GetOddOrEventStartForVerticalBack();
    in.DrawShortLines = fDrawShortLines;
    in.DrawLongLines = fDrawLongLines;
    in.Focused = fGA->Focused();
    in.TodayLineOnOff = fTodayLineOnOff;
    in.TodayLineColor = fTodayLineColor;
    // Noon of today. Printed items are placed at scaled pixels; the line goes with them.
    const double sx = fGA->GetScalex();
    in.TodayX = fScaler->DateToPixel(Date() + 0.5);
    in.ScalerWidth = fScaler->GetWidth();
    if (printing) {
        in.TodayX = Round(in.TodayX * sx);
        in.ScalerWidth = Round(in.ScalerWidth * sx);
    }
    ::vxplan::DoBackground(canvas, in, TOnDrawGantBackground(this, &TvxGant_ComBasic::UserDrawBackgroundAdapter));
}

// ---- Items ----

void TGantRow::DrawContent()
{
    if (!DataLists || !Gant) return;
    TvxDateScaler* scaler = Gant->GetDateScaler();
    if (!scaler) return;
    const TDateTime s = scaler->GetStart(), e = scaler->GetStop();
    for (int l = std::max(0, DrawLayerStart); l < DataLists->Count(); ++l) {
        TvxDataList* list = DataLists->GetDataList(l);
        for (int i = 0; list && i < list->Count(); ++i) {
            auto* item = static_cast<TvxDataEntity_Chronbar*>(list->GetItems(i));
            if (!item) continue;
            // The visible-range test of IsVisible, inline: it rejects most items of a long row.
            const TDateTime a = item->GetStartDateTime(), b = item->GetStopDateTime();
            if (!((a >= s && a <= e) || (b >= s && b <= e) || (a < s && b > e))) continue;
            TRect r;
            if (RectFromDataEntity(item, r)) Gant->DrawContent(item, r);
        }
    }
}

void TvxGant_ComBasic::UserDrawTime(TvxDataEntity_Chronbar* item, const TRect& rect)
{
    if (OnUserDrawTime) OnUserDrawTime(this, item, fGA->GetOffscreenCanvas(), rect);
}

void TvxGant_ComBasic::DrawContent(TvxDataEntity_Chronbar* item, const TRect& rect)
{
    if (!item || !fGA) return;
    TCanvas& canvas = fGA->GetOffscreenCanvas();
    const bool printing = GetIsPrinting();
    TvxTimeItemLook look;
    look.Style = item->GetStyle();
    look.Color = item->GetColor();
    look.ImageIndex = item->GetImageIndex();
    look.ImageList = GetImageList();
    TOnDrawUserTime user;
    if (item->GetStyle() == TChronbarStyle::gtsUser)
        user = TOnDrawUserTime([this, item](TCanvas&, const TRect& r) { UserDrawTime(item, r); });
    const TRect r = DrawTimeItem(canvas, rect, look, fGA->GetWidth(), printing, fGA->GetPrintScaley(), user);

    canvas.Brush().SetBitmap(nullptr);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(item->GetColor());
    if (TvxTimeItemTextCollection* texts = item->GetTexts(); texts && texts->GetCount() > 0) {
        if (printing)
            texts->DrawToCanvasInsideRect(r, canvas, fGA->GetPrintScalex(), fGA->GetPrintScaley());
        else
            texts->DrawToCanvasInsideRect(r, canvas, 1.0, 1.0);
    }
    TGantRow* row = item->GetRow();
    const bool selected = row && item->GetSelected() && row->GetShowSelection();
    const bool active = row && item == fActiveDataEntity && row->GetShowActive();
    if (selected || active)
        DrawTimeItemMarks(canvas, r, printing, selected, row ? row->GetSelectColor() : 0, active);
}

}  // namespace vxplan
