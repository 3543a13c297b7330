// The canvas page: the showcase on screen, and its printed form on a page of any resolution.
#include "vxCanvasShowcase.h"
#include "vxGalleryPages.h"
#include "vxPrintedForm.h"

#include <vxplan/platform/controls/vxControls.h>
#include <vxplan/platform/graphics/vxPrinter.h>

#include <algorithm>

namespace vxplan::gallery {
namespace {

class TCanvasPage : public TCustomControl {
protected:
    void Paint() override
    {
        Canvas().Brush().SetColor(clBtnFace);
        Canvas().FillRect(GetClientRect());
        DrawCanvasShowcase(Canvas(), 1.0);
    }
};

}  // namespace

void DrawPrintedCanvasPage(TCanvas& canvas, TSize page, int dpi)
{
    const int margin = dpi / 2;
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clWhite);
    canvas.Pen().SetStyle(TPenStyle::psClear);
    canvas.FillRect(Rect(0, 0, page.cx, page.cy));
    canvas.Pen().SetStyle(TPenStyle::psSolid);

    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetName("Arial");
    canvas.Font().SetStyle(TFontStyles{TFontStyle::fsBold});
    canvas.Font().SetColor(clBlack);
    canvas.Font().SetHeight(-MulDiv(16, dpi, 72));
    canvas.TextOut(margin, margin, "vxplan gallery: the canvas, printed");
    canvas.Font().SetStyle({});

    const int top = margin + MulDiv(32, dpi, 72);
    const double scale = std::min(double(page.cx - 2 * margin) / kShowcaseWidth,
                                  double(page.cy - top - 2 * margin) / kShowcaseHeight);
    const TPoint origin = canvas.GetHandle()->ViewportOrg();
    SetViewportOrgEx(canvas.GetHandle(), origin.X + margin, origin.Y + top, nullptr);
    DrawCanvasShowcase(canvas, scale);
    SetViewportOrgEx(canvas.GetHandle(), origin.X, origin.Y, nullptr);

    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetName("Arial");
    canvas.Font().SetStyle({});
    canvas.Font().SetColor(clGray);
    canvas.Font().SetHeight(-MulDiv(9, dpi, 72));
    const std::string footer = "Printed at " + std::to_string(dpi) + " dots per inch";
    canvas.TextOut((page.cx - canvas.TextWidth(footer)) / 2, page.cy - margin, footer);
}

QWidget* CreateCanvasPage() { return new TCanvasPage; }

void PrintCanvasPage(TPrinter& printer)
{
    DrawPrintedCanvasPage(printer.Canvas(), {printer.PageWidth(), printer.PageHeight()},
                          GetDeviceCaps(printer.Handle(), LOGPIXELSX));
}

}  // namespace vxplan::gallery
