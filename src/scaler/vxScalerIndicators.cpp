// TvxDateScaler indicators: where the visible range lies within its enclosing months or years.
#include <vxplan/scaler/vxScaler.h>

#include <vxplan/paint/vxGStuff.h>
#include <vxplan/platform/time/vxDateFormat.h>

namespace vxplan {

namespace {

constexpr int kBarLength = 55;
constexpr int kBarThickness = 6;
constexpr int kIndicatorGap = 4;
constexpr TDateTime kMonthStep = 32;

TDateTime MonthStart(TDateTime t)
{
    Word y, m, d;
    DecodeDate(t, y, m, d);
    return EncodeDate(y, m, 1);
}

TDateTime YearStart(TDateTime t)
{
    Word y, m, d;
    DecodeDate(t, y, m, d);
    return EncodeDate(y, 1, 1);
}

// The calendar span that encloses the view, and its label.
struct TEnclosingSpan {
    TDateTime From = 0, To = 0;
    std::string Label;

    // Where t lies in the span, 0..1 (0 for an empty span).
    double Fraction(TDateTime t) const { return To > From ? std::clamp((t - From) / (To - From), 0.0, 1.0) : 0; }
};

TEnclosingSpan EnclosingSpan(TDateTime start, TDateTime stop, TDateTime amount)
{
    TEnclosingSpan span;
    if (amount <= kMonth) {
        // Whole months around the middle of the view.
        const TDateTime middle = MonthStart(start + (stop - start) / 2);
        span.From = middle;
        while (span.From > start) span.From = MonthStart(span.From - 1);
        span.To = MonthStart(middle + kMonthStep);
        while (span.To < stop) span.To = MonthStart(span.To + kMonthStep);
        const std::string first = FormatDateTime("mmm", span.From), last = FormatDateTime("mmm", span.To - 1);
        span.Label = FormatDateTime("YYYY", span.From) + " " + (first == last ? first : first + "-" + last);
    } else {
        span.From = YearStart(start);
        span.To = YearStart(stop) < stop ? YearStart(YearStart(stop) + 366) : YearStart(stop);
        const std::string first = FormatDateTime("YYYY", span.From), last = FormatDateTime("YYYY", span.To - 1);
        span.Label = first == last ? first : first + "-" + last;
    }
    return span;
}

// The bar and its label: on a horizontal scaler at the top, left of the later-time button; on a
// vertical one below the earlier-time button.
void DrawIndicatorBar(TvxDateScaler& scaler, TCanvas& c, const TRect& r, const TEnclosingSpan& span,
                             TDateTime start, TDateTime stop, bool colourful)
{
    const double sx = scaler.GetScalex(), sy = scaler.GetScaley();
    const int length = Round(kBarLength * (scaler.GetHorizontal() ? sx : sy));
    const int thick = Round(kBarThickness * (scaler.GetHorizontal() ? sy : sx));
    const int gap = Round(kIndicatorGap * sx);
    c.SetFont(scaler.GetTextFont1());
    c.Font().SetColor(clBlack);
    scaler.PrintResizeFont();
    const int tw = c.TextWidth(span.Label);
    TRect bar;
    TPoint text;
    if (scaler.GetHorizontal()) {
        const TRect later = scaler.GetLaterButtonRect();
        const int right = (later.Left > 0 && !scaler.GetIsPrinting() ? later.Left : r.Right) - gap;
        bar = Rect(right - length, r.Top + gap / 2, right, r.Top + gap / 2 + thick);
        text = Point(bar.Left - gap - tw, r.Top);
    } else {
        const TRect earlier = scaler.GetEarlierButtonRect();
        const int top = (earlier.Bottom > 0 && !scaler.GetIsPrinting() ? earlier.Bottom : r.Top) + gap;
        bar = Rect(r.Left + gap, top, r.Left + gap + length, top + thick);
        text = Point(r.Left + gap, bar.Bottom + gap / 2);
    }
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(clWindow);
    c.FillRect(bar);
    const int from = bar.Left + Round(span.Fraction(start) * bar.Width());
    const int to = std::max(from + 1, bar.Left + Round(span.Fraction(stop) * bar.Width()));
    const TRect shown = Rect(from, bar.Top, to, bar.Bottom);
    if (colourful)
        GStuff::FillRadiated(c, shown, clRed);
    else {
        c.Brush().SetColor(clHighlight);
        c.FillRect(shown);
    }
    c.Brush().SetColor(clBtnShadow);
    c.FrameRect(bar);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.TextOut(text.X, text.Y, span.Label);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
}

}  // namespace

void TvxDateScaler::DrawScaleIndicator(TCanvas& aCanvas, const TRect& aRect)
{
    switch (indicatorStyle_) {
    case TIndicatorStyle::isNormal: NormalIndicator(aCanvas, aRect); break;
    case TIndicatorStyle::isColorfull:
        if (!GetIsPrinting()) ColorFullIndicator(aCanvas, aRect);
        break;
    case TIndicatorStyle::isSober: SoberIndicator(aCanvas, aRect); break;
    case TIndicatorStyle::isNone: break;
    }
}

void TvxDateScaler::NormalIndicator(TCanvas& aCanvas, const TRect& aRect)
{
    DrawIndicatorBar(*this, aCanvas, aRect, EnclosingSpan(start_, stop_, VisibleTimeAmount()), start_, stop_, false);
}

void TvxDateScaler::ColorFullIndicator(TCanvas& aCanvas, const TRect& aRect)
{
    DrawIndicatorBar(*this, aCanvas, aRect, EnclosingSpan(start_, stop_, VisibleTimeAmount()), start_, stop_, true);
}

void TvxDateScaler::SoberIndicator(TCanvas& aCanvas, const TRect& aRect)
{
    // Plain words for what the view shows: a day, days of a week, months or years.
    const TDateTime amount = VisibleTimeAmount();
    const TDateTime last = stop_ > start_ ? stop_ - 1.0 / MSecsPerDay : stop_;
    auto range = [&](const char* format) {
        const std::string a = FormatDateTime(format, start_), b = FormatDateTime(format, last);
        return a == b ? a : a + " - " + b;
    };
    std::string text;
    if (amount <= kDay)
        text = FormatDateTime("dddd dddddd", start_);
    else if (amount <= kWeek)
        text = range("dddd");
    else if (amount <= kMonth)
        text = range("mmmm");
    else
        text = range("YYYY");
    aCanvas.SetFont(GetTextFont1());
    aCanvas.Font().SetColor(clBlack);
    PrintResizeFont();
    aCanvas.Brush().SetStyle(TBrushStyle::bsClear);
    const int gap = Round(kIndicatorGap * GetScalex());
    if (horizontal_) {
        const int right = (laterButton_.Left > 0 && !GetIsPrinting() ? laterButton_.Left : aRect.Right) - gap;
        aCanvas.TextOut(right - aCanvas.TextWidth(text), aRect.Top, text);
    } else {
        const int top = (earlierButton_.Bottom > 0 && !GetIsPrinting() ? earlierButton_.Bottom : aRect.Top) + gap;
        aCanvas.TextOut(aRect.Left + gap, top, text);
    }
    aCanvas.Brush().SetStyle(TBrushStyle::bsSolid);
}

}  // namespace vxplan
