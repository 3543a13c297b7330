// The canvas showcase: one panel each for lines, pen modes, brushes, text and focus rectangles.
#include "vxCanvasShowcase.h"

#include <cmath>
#include <string>

namespace vxplan::gallery {
namespace {

// Lengths of the showcase in screen pixels, turned into the canvas's pixels.
class TScaled {
public:
    explicit TScaled(double scale) : scale_(scale) {}
    int operator()(double length) const { return Round(length * scale_); }
    TRect Box(int left, int top, int width, int height) const
    {
        return Rect((*this)(left), (*this)(top), (*this)(left + width), (*this)(top + height));
    }

private:
    double scale_;
};

void Caption(TCanvas& canvas, const TScaled& s, int x, int y, const std::string& text)
{
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetStyle(TFontStyles{TFontStyle::fsBold});
    canvas.Font().SetColor(clNavy);
    canvas.TextOut(s(x), s(y), text);
    canvas.Font().SetStyle(TFontStyles{});
    canvas.Font().SetColor(clBlack);
}

void SetFontPixels(TCanvas& canvas, const TScaled& s, const std::string& name, int screenPixels)
{
    canvas.Font().SetName(name);
    canvas.Font().SetHeight(-s(screenPixels));
}

// A fan of thin lines in every direction, then the pen styles and a wide pen.
void DrawLines(TCanvas& canvas, const TScaled& s)
{
    Caption(canvas, s, 10, 8, "Lines (end pixel left out)");
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    const int cx = 80, cy = 110;
    for (int i = 0; i < 24; ++i) {
        const double angle = i * 3.14159265358979 / 12;
        canvas.Pen().SetColor(i % 2 ? clBlue : clMaroon);
        canvas.MoveTo(s(cx), s(cy));
        canvas.LineTo(s(cx + 70 * std::cos(angle)), s(cy - 70 * std::sin(angle)));
    }
    const TPenStyle styles[] = {TPenStyle::psSolid, TPenStyle::psDash, TPenStyle::psDot, TPenStyle::psDashDot,
                                TPenStyle::psDashDotDot};
    canvas.Pen().SetColor(clBlack);
    int y = 40;
    for (TPenStyle style : styles) {
        canvas.Pen().SetStyle(style);
        canvas.MoveTo(s(170), s(y));
        canvas.LineTo(s(330), s(y));
        y += 16;
    }
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Pen().SetWidth(s(4));
    canvas.Pen().SetColor(clGreen);
    canvas.MoveTo(s(170), s(150));
    canvas.LineTo(s(330), s(130));
    canvas.Pen().SetWidth(1);
}

// Coloured stripes with a rectangle in each pen mode drawn over them.
void DrawPenModes(TCanvas& canvas, const TScaled& s)
{
    Caption(canvas, s, 360, 8, "Pen modes over stripes");
    const TColor stripes[] = {clRed, clYellow, clLime, clAqua, clBlue, clFuchsia};
    canvas.Pen().SetStyle(TPenStyle::psClear);
    for (int i = 0; i < 6; ++i) {
        canvas.Brush().SetColor(stripes[i]);
        canvas.FillRect(s.Box(360 + i * 64, 30, 64, 130));
    }
    struct TModeSample {
        TPenMode Mode;
        const char* Name;
    };
    const TModeSample modes[] = {{TPenMode::pmCopy, "copy"},   {TPenMode::pmNot, "not"},   {TPenMode::pmXor, "xor"},
                                 {TPenMode::pmNotXor, "notxor"}, {TPenMode::pmMask, "mask"}, {TPenMode::pmMerge, "merge"}};
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Pen().SetColor(clGray);
    canvas.Pen().SetWidth(s(6));
    int y = 40;
    for (const TModeSample& sample : modes) {
        canvas.Pen().SetMode(sample.Mode);
        canvas.MoveTo(s(370), s(y));
        canvas.LineTo(s(730), s(y));
        y += 20;
    }
    canvas.Pen().SetMode(TPenMode::pmCopy);
    canvas.Pen().SetWidth(1);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    SetFontPixels(canvas, s, "Arial", 11);
    y = 40;
    for (const TModeSample& sample : modes) {
        canvas.TextOut(s(372), s(y + 4), sample.Name);
        y += 20;
    }
}

// Solid, hatched (opaque and transparent) and clear brushes.
void DrawBrushes(TCanvas& canvas, const TScaled& s)
{
    Caption(canvas, s, 10, 180, "Brushes: hatches over white (top) and over yellow (bottom)");
    const TBrushStyle hatches[] = {TBrushStyle::bsHorizontal, TBrushStyle::bsVertical, TBrushStyle::bsFDiagonal,
                                   TBrushStyle::bsBDiagonal,  TBrushStyle::bsCross,    TBrushStyle::bsDiagCross};
    canvas.Pen().SetColor(clBlack);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 6; ++i) {
            const TRect box = s.Box(10 + i * 60, 202 + row * 50, 50, 40);
            if (row == 1) {  // something under the transparent hatch
                canvas.Brush().SetColor(clYellow);
                canvas.FillRect(box);
            }
            canvas.Brush().SetColor(clTeal);
            canvas.Brush().SetStyle(hatches[i]);  // a hatched canvas brush leaves its gaps alone
            canvas.Rectangle(box);
        }
    }
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clSkyBlue);
    canvas.Ellipse(s.Box(380, 202, 90, 90));
    canvas.Brush().SetColor(clMoneyGreen);
    canvas.Polygon({{s(490), s(292)}, {s(540), s(202)}, {s(590), s(292)}});
    canvas.Brush().SetColor(clCream);
    canvas.RoundRect(s(610), s(202), s(740), s(292), s(20), s(20));
}

// Laid-out text over what is drawn already, in the canvas's font.
void DrawTextOver(TCanvas& canvas, const std::string& text, TRect& rect, uint32_t format)
{
    canvas.RequireState();
    SetBkMode(canvas.GetHandle(), TRANSPARENT);
    DrawTextW(canvas.GetHandle(), text, rect, format);
}

// Faces, sizes, styles, rotated text and laid-out text.
void DrawText(TCanvas& canvas, const TScaled& s)
{
    Caption(canvas, s, 10, 310, "Text");
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    struct TFaceSample {
        const char* Name;
        int Pixels;
        TFontStyles Style;
    };
    const TFaceSample faces[] = {{"Arial", 11, {}},
                                 {"Arial", 16, TFontStyles{TFontStyle::fsBold}},
                                 {"Times New Roman", 16, TFontStyles{TFontStyle::fsItalic}},
                                 {"Courier New", 14, TFontStyles{TFontStyle::fsUnderline}},
                                 {"Arial", 20, TFontStyles{TFontStyle::fsStrikeOut}}};
    int y = 332;
    for (const TFaceSample& face : faces) {
        SetFontPixels(canvas, s, face.Name, face.Pixels);
        canvas.Font().SetStyle(face.Style);
        canvas.TextOut(s(10), s(y), std::string(face.Name) + " " + std::to_string(face.Pixels) + " px: planning år 2027");
        y += face.Pixels + 8;
    }
    canvas.Font().SetStyle({});
    SetFontPixels(canvas, s, "Arial", 13);
    canvas.Font().SetOrientation(900);
    canvas.TextOut(s(370), s(460), "Rotated 90°");
    canvas.Font().SetOrientation(450);
    canvas.TextOut(s(400), s(460), "Rotated 45°");
    canvas.Font().SetOrientation(0);

    SetFontPixels(canvas, s, "Arial", 11);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clInfoBk);
    TRect wrapped = s.Box(500, 330, 240, 50);
    canvas.Rectangle(wrapped);
    InflateRect(wrapped, -s(4), -s(2));
    DrawTextOver(canvas, "Word break: a longer sentence that wraps inside its frame, centred.", wrapped,
              DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    TRect ellipsis = s.Box(500, 390, 240, 20);
    canvas.Rectangle(ellipsis);
    InflateRect(ellipsis, -s(4), 0);
    DrawTextOver(canvas, "End ellipsis: this text is far too long to fit on its single line", ellipsis,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    TRect prefix = s.Box(500, 420, 240, 20);
    canvas.Rectangle(prefix);
    DrawTextOver(canvas, "&Underlined prefix && ampersand", prefix, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

// Focus rectangles: one drawn once, one drawn twice (gone again).
void DrawFocusRects(TCanvas& canvas, const TScaled& s)
{
    Caption(canvas, s, 10, 490, "Focus rectangles: drawn once (left), drawn twice (right, restored)");
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clWhite);
    const TRect once = s.Box(10, 512, 200, 36);
    const TRect twice = s.Box(230, 512, 200, 36);
    canvas.DrawFocusRect(once);
    canvas.DrawFocusRect(twice);
    canvas.DrawFocusRect(twice);
    canvas.Pen().SetColor(clSilver);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Rectangle(s.Box(228, 510, 204, 40));
}

}  // namespace

void DrawCanvasShowcase(TCanvas& canvas, double scale)
{
    const TScaled s(scale);
    canvas.Pen().SetMode(TPenMode::pmCopy);
    canvas.Pen().SetStyle(TPenStyle::psClear);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect(s.Box(0, 0, kShowcaseWidth, kShowcaseHeight));
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    SetFontPixels(canvas, s, "Arial", 12);
    DrawLines(canvas, s);
    DrawPenModes(canvas, s);
    DrawBrushes(canvas, s);
    DrawText(canvas, s);
    DrawFocusRects(canvas, s);
}

}  // namespace vxplan::gallery
