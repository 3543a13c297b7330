// The date-scaler page: time axes at several zooms and with hidden time, placed by Qt layouts,
// and the printed form of three of them.
#include "vxGalleryPages.h"
#include "vxPrintedForm.h"

#include <vxplan/platform/graphics/vxPrinter.h>
#include <vxplan/scaler/vxScaler.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <memory>
#include <vector>

namespace vxplan::gallery {
namespace {

// 2 March 2026, a Monday.
const TDateTime kShownFrom = EncodeDate(2026, 3, 2);

struct TScalerSample {
    const char* Title;
    TDateTime From, To;
    bool HideNights, HideWeekends;
};

const std::vector<TScalerSample>& Samples()
{
    static const std::vector<TScalerSample> samples = {
        {"Two weeks", kShownFrom, kShownFrom + 14, false, false},
        {"Three days, nights hidden (17:00 to 08:00)", kShownFrom, kShownFrom + 3, true, false},
        {"Six weeks, weekends hidden", kShownFrom, kShownFrom + 42, false, true},
        {"Zoomed in: a minute and a half", kShownFrom + 0.5, kShownFrom + 0.5 + 90.0 / 86400, false, false},
        {"Zoomed out: four centuries", EncodeDate(1900, 1, 1), EncodeDate(2300, 1, 1), false, false},
    };
    return samples;
}

void Configure(TvxDateScaler& scaler, const TScalerSample& sample)
{
    scaler.SetHorizontal(true);
    if (sample.HideNights) {
        TvxHiddenHours nights;
        for (int h = 0; h < 24; ++h)
            if (h < 8 || h >= 17) nights.Include(static_cast<TvxHiddenHoursEnum>(h));
        scaler.SetHiddenHours(nights);
    }
    if (sample.HideWeekends) scaler.SetHiddenDays({TvxHiddenDaysEnum::thdSAT, TvxHiddenDaysEnum::thdSUN});
    scaler.SetStart(sample.From);
    scaler.SetStop(sample.To);
}

}  // namespace

QWidget* CreateScalerPage()
{
    auto* page = new QWidget;
    auto* columns = new QHBoxLayout(page);
    auto* rows = new QVBoxLayout;
    columns->addLayout(rows, 1);
    for (const TScalerSample& sample : Samples()) {
        rows->addWidget(new QLabel(sample.Title));
        auto* scaler = new TvxDateScaler;
        scaler->setMinimumHeight(45);
        scaler->setMaximumHeight(45);
        // The range is set once the layout has given the scaler its width.
        scaler->SetBounds(0, 0, 640, 45);
        Configure(*scaler, sample);
        rows->addWidget(scaler);
    }
    rows->addStretch();
    // A vertical axis, as the schedule view uses, with the boxed look.
    auto* vertical = new TvxDateScaler;
    vertical->setMinimumWidth(70);
    vertical->setMaximumWidth(70);
    vertical->SetBounds(0, 0, 70, 560);
    vertical->SetLookAndFeel(TLookAndFeel::tlfBoxed);
    vertical->SetStart(kShownFrom + 8.0 / 24);
    vertical->SetStop(kShownFrom + 18.0 / 24);
    columns->addWidget(vertical);
    return page;
}

void PrintScalerPage(TPrinter& printer)
{
    TCanvas& canvas = printer.Canvas();
    const int dpi = GetDeviceCaps(printer.Handle(), LOGPIXELSX);
    const int margin = PrintPageTitle(printer, "vxplan gallery: date scalers, printed");
    // Each axis keeps its screen layout, scaled to the printer's resolution.
    const double scale = dpi / 96.0;
    const int width = static_cast<int>((printer.PageWidth() - 2 * margin) / scale);
    int top = margin + MulDiv(40, dpi, 72);
    canvas.Font().SetHeight(-MulDiv(10, dpi, 72));
    for (size_t i = 0; i < 3; ++i) {
        const TScalerSample& sample = Samples()[i];
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        canvas.Font().SetName("Arial");
        canvas.Font().SetColor(clBlack);
        canvas.Font().SetHeight(-MulDiv(10, dpi, 72));
        canvas.TextOut(margin, top, sample.Title);
        top += MulDiv(16, dpi, 72);
        TvxDateScaler scaler;
        scaler.SetBounds(0, 0, width, 45);
        scaler.SetColor(clWhite);
        scaler.SetIndicatorOn(i == 0);
        Configure(scaler, sample);
        scaler.Print(printer.Handle(), margin, top, scale, scale, true);
        top += static_cast<int>(45 * scale) + MulDiv(20, dpi, 72);
    }
}

}  // namespace vxplan::gallery
