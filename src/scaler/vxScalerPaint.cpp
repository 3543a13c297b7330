// TvxDateScaler painting: ticks, the two label rows, the boxed look, scroll buttons and printing.
#include <vxplan/scaler/vxScaler.h>

#include <vxplan/paint/vxGStuff.h>

namespace vxplan {

namespace {

constexpr int kMajorTick = 15;
constexpr int kMinorTick = 5;
// Where the label rows lie across the axis, from the control's edge.
constexpr int kMajorRowH = 15, kMinorRowH = 30;
constexpr int kMajorRowV = 20, kMinorRowV = 40;
// Labels of a row keep this much room between them along the axis.
constexpr int kGapH = 6, kGapV = 10;
constexpr int kSubTextOffset = 10;
constexpr int kNoLabelYet = -1000;
constexpr int kClassicButton = 20, kSmallButton = 12;

// One row of labels along the axis, and where its last drawn label lies.
struct TLabelRow {
    int across;  // distance from the control's edge
    int last = kNoLabelYet;
};

}  // namespace

void TvxDateScaler::DoBackground(TCanvas& aCanvas, const TRect& aRect)
{
    if (OnUserDrawBackground) OnUserDrawBackground(this, aCanvas, aRect);
}

void TvxDateScaler::DoForeground(TCanvas& aCanvas, const TRect& aRect)
{
    if (OnUserDrawForeground) OnUserDrawForeground(this, aCanvas, aRect);
}

void TvxDateScaler::DoThePaint(TCanvas& aCanvas, const TRect& aRect)
{
    aCanvas.Pen().SetColor(clBlack);
    aCanvas.Pen().SetWidth(1);
    aCanvas.Pen().SetStyle(TPenStyle::psSolid);
    aCanvas.Pen().SetMode(TPenMode::pmCopy);
    aCanvas.Brush().SetStyle(TBrushStyle::bsSolid);
    aCanvas.Brush().SetColor(GetColor());
    const int w = aRect.Width(), h = aRect.Height();
    if (!(w > 0 && h >= 0)) return;
    const int fx = GetWidth() > 0 ? w / GetWidth() : 1;
    const int fy = h < 1 || GetHeight() <= 0 ? 0 : h / GetHeight();

    minorPixels_.clear();
    majorPixels_.clear();
    CalcPixAndDrawScaleMarks(aCanvas, aRect, minorMarks_, minorPixels_, fx, fy);
    CalcPixAndDrawScaleMarks(aCanvas, aRect, majorMarks_, majorPixels_, fx, fy);
    DoBackground(aCanvas, aRect);
    DrawScaleMarksText(aCanvas, aRect, minorMarks_);
    DrawScaleMarksText(aCanvas, aRect, majorMarks_);
    if (lookAndFeel_ == TLookAndFeel::tlfBoxed) DrawBoxes(aCanvas, aRect);
    if (!GetIsPrinting()) {
        DrawScrollButtons(aCanvas, aRect);
        DrawZoomButtons(aCanvas, aRect);
    }
    if (indicatorOn_) DrawScaleIndicator(aCanvas, aRect);
    AnnounceChangeIfDue();
    DoForeground(aCanvas, aRect);
    if (Focused() && !GetIsPrinting()) aCanvas.DrawFocusRect(Rect(0, 0, GetWidth(), GetHeight()));
}

void TvxDateScaler::CalcPixAndDrawScaleMarks(TCanvas& aCanvas, const TRect& aRect, const TScaleMarkList& theMarks,
                                             std::vector<int>& thePixels, int aFactorX, int aFactorY)
{
    // Printed ticks keep their screen length at the printer's resolution.
    const double printScale = horizontal_ ? GetScaley() : GetScalex();
    aCanvas.Pen().SetWidth(std::max(1, Round(printScale)));
    for (const TScaleMark& mark : theMarks) {
        const int pixel = Round(mark.Pixel);
        thePixels.push_back(pixel);
        if (mark.Hidden || lookAndFeel_ == TLookAndFeel::tlfBoxed) continue;
        const int length = Round((mark.IsMajor ? kMajorTick : kMinorTick) * printScale);
        if (horizontal_) {
            const int x = ClampToInt(aRect.Left + int64_t{aFactorX} * pixel);
            aCanvas.MoveTo(x, aRect.Bottom - 1);
            aCanvas.LineTo(x, aRect.Bottom - 1 - length * std::max(aFactorY, 1));
        } else {
            const int y = ClampToInt(aRect.Top + int64_t{aFactorY} * pixel);
            aCanvas.MoveTo(aRect.Right - 1, y);
            aCanvas.LineTo(aRect.Right - 1 - length * std::max(aFactorX, 1), y);
        }
    }
    aCanvas.Pen().SetWidth(1);
}

void TvxDateScaler::RotateFontIfNeeded(TCanvas& aCanvas)
{
    if (verticalText_ && !horizontal_) GStuff::RotateFont(aCanvas.Font(), 90);
}

void TvxDateScaler::DrawScaleMarksText(TCanvas& aCanvas, const TRect& aRect, const TScaleMarkList& theMarks)
{
    if (theMarks.empty()) return;
    const bool major = theMarks.front().IsMajor;
    TLabelRow row{horizontal_ ? Round((major ? kMajorRowH : kMinorRowH) * GetScalex())
                              : Round((major ? kMajorRowV : kMinorRowV) * GetScaley())};
    aCanvas.Brush().SetStyle(TBrushStyle::bsClear);

    // The font is set up again only when a label asks for another one: setting a font costs
    // more than drawing a short label.
    int appliedFont = -1;
    auto applyFont = [&](TScalerFont font) {
        if (appliedFont == static_cast<int>(font)) return;
        appliedFont = static_cast<int>(font);
        aCanvas.SetFont(GetScalerFont(font));
        aCanvas.Font().SetColor(clBlack);
        PrintResizeFont();
        RotateFontIfNeeded(aCanvas);
    };
    // Draws one label centred on p unless it would crowd the row's last label.
    auto drawLabel = [&](std::string text, TScalerFont font, int p, int across, bool remember) {
        applyFont(font);
        if (horizontal_) {
            const int tw = aCanvas.TextWidth(text);
            const int left = AddClamped(p, -tw / 2);
            if (left > 0 && int64_t{row.last} + tw + kGapH < left) {
                aCanvas.TextOut(AddClamped(aRect.Left, left), aRect.Top + across, text);
                if (remember) row.last = left;
            }
        } else if (verticalText_) {
            const int tw = aCanvas.TextWidth(text);
            const int y = AddClamped(p, tw / 2);
            if (int64_t{y} - tw > 0 && int64_t{row.last} + tw + kGapV < y) {
                aCanvas.TextOut(aRect.Left + across, AddClamped(aRect.Top, y), text);
                if (remember) row.last = y;
            }
        } else {
            if (major) text += "  ";
            const int th = aCanvas.TextHeight(text);
            const int y = AddClamped(p, -th / 2);
            if (int64_t{y} - th > 0 && int64_t{row.last} + th + kGapV < y) {
                aCanvas.TextOut(aRect.Left + across, AddClamped(aRect.Top, y), text);
                if (remember) row.last = y;
            }
        }
    };

    const int count = static_cast<int>(theMarks.size());
    const int subOffset = Round(kSubTextOffset * (horizontal_ ? GetScalex() : GetScaley()));
    for (int i = 0; i < count; ++i) {
        const TScaleMark& mark = theMarks[static_cast<size_t>(i)];
        if (mark.Hidden) continue;
        const int p = GetScaleMarkPix(theMarks, i, i + 1);
        if (!mark.IsMajor && !mark.SubText.empty()) drawLabel(mark.SubText, mark.SubFont, p, row.across + subOffset, false);
        drawLabel(mark.Text, mark.Font, p, row.across, true);
    }
    aCanvas.Brush().SetStyle(TBrushStyle::bsSolid);
}

void TvxDateScaler::DrawBoxes(TCanvas& aCanvas, const TRect& aRect)
{
    // The major row lies between its label line and the minor one, the minor row from there on.
    const int majorEdge = horizontal_ ? Round(kMajorRowH * GetScalex()) - 2 : Round(kMajorRowV * GetScaley()) - 2;
    const int minorEdge = horizontal_ ? Round(kMinorRowH * GetScalex()) - 2 : Round(kMinorRowV * GetScaley()) - 2;
    aCanvas.Pen().SetColor(clBtnShadow);
    aCanvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (horizontal_) {
        aCanvas.Rectangle(aRect.Left, aRect.Top + majorEdge, aRect.Right, aRect.Bottom);
        aCanvas.MoveTo(aRect.Left, aRect.Top + minorEdge);
        aCanvas.LineTo(aRect.Right, aRect.Top + minorEdge);
    } else {
        aCanvas.Rectangle(aRect.Left + majorEdge, aRect.Top, aRect.Right, aRect.Bottom);
        aCanvas.MoveTo(aRect.Left + minorEdge, aRect.Top);
        aCanvas.LineTo(aRect.Left + minorEdge, aRect.Bottom);
    }
    auto separators = [&](const TScaleMarkList& marks, int from, int to) {
        for (int i = 0; i < static_cast<int>(marks.size()); ++i) {
            if (marks[static_cast<size_t>(i)].Hidden) continue;
            const int p = GetBoxPix(marks, i, i + 1);
            if (horizontal_) {
                aCanvas.MoveTo(aRect.Left + p, aRect.Top + from);
                aCanvas.LineTo(aRect.Left + p, aRect.Top + to);
            } else {
                aCanvas.MoveTo(aRect.Left + from, aRect.Top + p);
                aCanvas.LineTo(aRect.Left + to, aRect.Top + p);
            }
        }
    };
    separators(majorMarks_, majorEdge, minorEdge);
    separators(minorMarks_, minorEdge, horizontal_ ? aRect.Height() : aRect.Width());
    aCanvas.Brush().SetStyle(TBrushStyle::bsSolid);
    aCanvas.Pen().SetColor(clBlack);
}

void TvxDateScaler::DrawScrollButtons(TCanvas& aCanvas, const TRect&)
{
    if (scrollButtons_ == TScrollButtons::tsbOff) {
        earlierButton_ = laterButton_ = kNoRect;
        return;
    }
    const int size = scrollButtons_ == TScrollButtons::tsbClassic ? kClassicButton : kSmallButton;
    earlierButton_ = Rect(1, 1, size, size);
    if (horizontal_) {
        laterButton_ = Rect(GetWidth() - size + 1, 1, GetWidth(), size);
        DrawTriangleButton(aCanvas, earlierButton_, TScrollDirection::tsdLeft, stepDown_);
        DrawTriangleButton(aCanvas, laterButton_, TScrollDirection::tsdRight, stepUp_);
    } else {
        laterButton_ = Rect(1, GetHeight() - size, size, GetHeight());
        DrawTriangleButton(aCanvas, earlierButton_, TScrollDirection::tsdUp, stepDown_);
        DrawTriangleButton(aCanvas, laterButton_, TScrollDirection::tsdDown, stepUp_);
    }
}

void TvxDateScaler::DrawTriangleButton(TCanvas& aCanvas, const TRect& aButton, TScrollDirection aDirection,
                                       bool aPressed)
{
    TRect face = aButton;
    aCanvas.Brush().SetStyle(TBrushStyle::bsSolid);
    aCanvas.Brush().SetColor(clBtnFace);
    aCanvas.FillRect(face);
    Frame3D(aCanvas, face, aPressed ? clBtnShadow : clBtnHighlight, aPressed ? clBtnHighlight : cl3DDkShadow, 1);
    // A triangle half the button's size, moved a pixel down and right while pressed.
    const int shift = aPressed ? 1 : 0;
    const int cx = (aButton.Left + aButton.Right) / 2 + shift, cy = (aButton.Top + aButton.Bottom) / 2 + shift;
    const int r = std::max(2, aButton.Width() / 4);
    std::vector<TPoint> points;
    switch (aDirection) {
    case TScrollDirection::tsdLeft: points = {Point(cx - r / 2, cy), Point(cx + r / 2, cy - r), Point(cx + r / 2, cy + r)}; break;
    case TScrollDirection::tsdRight: points = {Point(cx + r / 2, cy), Point(cx - r / 2, cy - r), Point(cx - r / 2, cy + r)}; break;
    case TScrollDirection::tsdUp: points = {Point(cx, cy - r / 2), Point(cx - r, cy + r / 2), Point(cx + r, cy + r / 2)}; break;
    case TScrollDirection::tsdDown: points = {Point(cx, cy + r / 2), Point(cx - r, cy - r / 2), Point(cx + r, cy - r / 2)}; break;
    }
    aCanvas.Pen().SetColor(clBtnText);
    aCanvas.Brush().SetColor(clBtnText);
    aCanvas.Polygon(points);
    aCanvas.Pen().SetColor(clBlack);
}

void TvxDateScaler::DrawZoomButtons(TCanvas&, const TRect&) {}

void TvxDateScaler::Print(HDC aDC, int aX, int aY, double aScaleX, double aScaleY, bool aScaled)
{
    CheckPrintScale(aScaleX);
    CheckPrintScale(aScaleY);
    BeginPrint();
    try {
        InternalSetPrintScalex(aScaleX);
        InternalSetPrintScaley(aScaleY);
        // The marks for the printed length.
        CalcDrawMode();
        TvxOffscreenPaint::Print(aDC, aX, aY, aScaleX, aScaleY, aScaled);
    } catch (...) {
        EndPrint();
        CalcDrawMode();
        throw;
    }
    EndPrint();
    CalcDrawMode();
}

}  // namespace vxplan
