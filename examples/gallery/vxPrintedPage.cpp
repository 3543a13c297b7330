// The printed page: a preview of what the printer receives, an A4 sheet drawn at screen size
// through the same drawing as the PDF.
#include "vxGalleryPages.h"
#include "vxPrintedForm.h"

#include <vxplan/platform/controls/vxControls.h>
#include <vxplan/platform/graphics/vxBitmap.h>
#include <vxplan/platform/graphics/vxPrinter.h>

#include <algorithm>

namespace vxplan::gallery {
namespace {

constexpr double kA4WidthMm = 210, kA4HeightMm = 297;

class TPrintedPagePreview : public TCustomControl {
protected:
    void Paint() override
    {
        TCanvas& canvas = Canvas();
        canvas.Brush().SetColor(clAppWorkSpace);
        canvas.FillRect(GetClientRect());

        const int room = std::max(GetClientHeight() - 24, 10);
        const int sheetHeight = std::min(room, Round((GetClientWidth() - 24) * kA4HeightMm / kA4WidthMm));
        const int sheetWidth = Round(sheetHeight * kA4WidthMm / kA4HeightMm);
        const int left = (GetClientWidth() - sheetWidth) / 2, top = 12;
        canvas.Brush().SetColor(clBtnShadow);
        canvas.FillRect(Bounds(left + 4, top + 4, sheetWidth, sheetHeight));

        TBitmap sheet;
        sheet.SetSize(sheetWidth, sheetHeight);
        const int dpi = std::max(1, Round(sheetWidth / (kA4WidthMm / 25.4)));
        DrawPrintedCanvasPage(sheet.Canvas(), {sheetWidth, sheetHeight}, dpi);
        canvas.Draw(left, top, sheet);
    }
};

}  // namespace

QWidget* CreatePrintedPage() { return new TPrintedPagePreview; }

int PrintPageTitle(TPrinter& printer, const std::string& title)
{
    TCanvas& canvas = printer.Canvas();
    const int dpi = GetDeviceCaps(printer.Handle(), LOGPIXELSX);
    const int margin = dpi / 2;
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetName("Arial");
    canvas.Font().SetColor(clBlack);
    canvas.Font().SetHeight(-MulDiv(16, dpi, 72));
    canvas.TextOut(margin, margin, title);
    return margin;
}

}  // namespace vxplan::gallery
