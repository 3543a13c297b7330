// GStuff: the shared drawing routines.
#include <vxplan/paint/vxGStuff.h>

#include <algorithm>
#include <cmath>

namespace vxplan {

namespace {

constexpr int kMarkSize = 5;
constexpr int kRadiatedMinimum = 15;
// How dark the edges of a radiated fill get, relative to the colour at its middle.
constexpr double kRadiatedEdgeFactor = 0.7;

uint8_t TintChannel(int channel, double factor) { return static_cast<uint8_t>(std::clamp(Round(channel * factor), 0, 255)); }

}  // namespace

void GStuff::DoSelectContent(TCanvas& aCanvas, const TRect& aRect)
{
    aCanvas.Brush().SetStyle(TBrushStyle::bsSolid);
    aCanvas.Brush().SetColor(clBlack);
    const int l = aRect.Left, t = aRect.Top, r = AddClamped(aRect.Right, -kMarkSize), b = AddClamped(aRect.Bottom, -kMarkSize);
    for (const TPoint p : {Point(l, t), Point(r, t), Point(l, b), Point(r, b)})
        aCanvas.FillRect(Bounds(p.X, p.Y, kMarkSize, kMarkSize));
}

void GStuff::BevelRect(TCanvas& aCanvas, const TRect& aRect, bool aRaised)
{
    const TColor kept = aCanvas.Pen().GetColor();
    const int right = AddClamped(aRect.Right, -1), bottom = AddClamped(aRect.Bottom, -1);
    const TPoint leftBottom = Point(aRect.Left, bottom), leftTop = Point(aRect.Left, aRect.Top);
    const TPoint rightTop = Point(right, aRect.Top), rightBottom = Point(right, bottom);
    aCanvas.Pen().SetColor(aRaised ? clBtnHighlight : clBtnShadow);
    aCanvas.Polyline({leftBottom, leftTop, rightTop});
    aCanvas.Pen().SetColor(aRaised ? clBtnShadow : clBtnHighlight);
    aCanvas.Polyline({rightTop, rightBottom, leftBottom});
    aCanvas.Pen().SetColor(kept);
}

bool GStuff::BigEnough(const TRect& aRect, int aWidth, int aHeight)
{
    return aRect.Height() >= aHeight && aRect.Width() >= aWidth;
}

TRect GStuff::Fixrect(const TRect& aRect, int dLeft, int dTop, int dRight, int dBottom)
{
    return Rect(AddClamped(aRect.Left, dLeft), AddClamped(aRect.Top, dTop), AddClamped(aRect.Right, dRight),
                AddClamped(aRect.Bottom, dBottom));
}

TColor GStuff::TintColor(TColor aColor, double aFactor)
{
    const TColor c = ColorToRGB(aColor);
    return RGB(TintChannel(GetRValue(c), aFactor), TintChannel(GetGValue(c), aFactor),
               TintChannel(GetBValue(c), aFactor));
}

void GStuff::RotateFont(TFont& aFont, int anAngle)
{
    // Whole turns make no difference, and leaving them out keeps the tenths of a degree in range.
    aFont.SetOrientation(anAngle % 360 * 10);
    aFont.SetPitch(TFontPitch::fpVariable);
}

void GStuff::FillRadiated(TCanvas& aCanvas, const TRect& aRect, TColor aColor)
{
    aCanvas.Brush().SetStyle(TBrushStyle::bsSolid);
    if (!BigEnough(aRect, kRadiatedMinimum, kRadiatedMinimum)) {
        aCanvas.Brush().SetColor(aColor);
        aCanvas.FillRect(aRect);
        return;
    }
    const double middle = (static_cast<double>(aRect.Bottom) - aRect.Top - 1) / 2.0;
    // Only the lines the canvas can show are drawn: a rectangle may reach far beyond it.
    TRect reach = aRect;
    TRect visible;
    if (aCanvas.HandleAllocated() && GetClipBox(aCanvas.GetHandle(), &visible) != RGN_ERROR)
        IntersectRect(reach, aRect, visible);
    for (int y = reach.Top; y < reach.Bottom; ++y) {
        const double distance = std::fabs(static_cast<double>(y) - aRect.Top - middle) / middle;
        aCanvas.Brush().SetColor(TintColor(aColor, 1.0 - (1.0 - kRadiatedEdgeFactor) * distance));
        aCanvas.FillRect(Rect(aRect.Left, y, aRect.Right, y + 1));
    }
}

void PrintBitmap(TCanvas& aCanvas, const TRect& aRect, const TBitmap& aBitmap)
{
    if (aBitmap.Empty() || !aCanvas.HandleAllocated()) return;
    StretchDIBits(aCanvas.GetHandle(), aRect.Left, aRect.Top, aRect.Width(), aRect.Height(), 0, 0, aBitmap.Width(),
                  aBitmap.Height(), aBitmap.Image(), SRCCOPY);
}

void PrintBitmap_ImageList(TCanvas& aCanvas, const TRect& aRect, const TCustomImageList& anImageList, int anIndex)
{
    if (anIndex < 0 || anIndex >= anImageList.GetCount()) return;
    TBitmap picture(anImageList.GetWidth(), anImageList.GetHeight());
    picture.Canvas().Brush().SetColor(clWhite);
    picture.Canvas().FillRect(Rect(0, 0, picture.Width(), picture.Height()));
    anImageList.Draw(picture.Canvas(), 0, 0, anIndex);
    PrintBitmap(aCanvas, aRect, picture);
}

}  // namespace vxplan
