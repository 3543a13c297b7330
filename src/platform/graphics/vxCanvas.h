// TCanvas over a device context, with its pen, brush and font.
//
// A canvas draws on the context in Handle. Before each drawing call it selects its pen, brush
// and font into the context (so context-level calls such as DrawTextW see them), then calls the
// context functions of vxDeviceContext.h, which own the pixels.
//
// Fonts: Size is in points at the font's PixelsPerInch (96 unless set), Height = -MulDiv(Size,
// PixelsPerInch, 72) in device pixels of whatever context the canvas is on. So a font drawn on a
// 300-dpi printer context is as many pixels high as on screen; printing scales font sizes itself.
#pragma once

#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/core/vxSet.h>
#include <vxplan/platform/graphics/vxDeviceContext.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vxplan {

class TBitmap;

// Base of pen, brush and font: raises OnChange after every change of a property.
class TGraphicsObject : public TObject {
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

class TPen : public TGraphicsObject {
public:
    TColor GetColor() const { return data_.Color; }
    void SetColor(TColor color);
    int GetWidth() const { return data_.Width; }
    // Widths below 1 are drawn as 1.
    void SetWidth(int width);
    TPenStyle GetStyle() const { return data_.Style; }
    void SetStyle(TPenStyle style);
    TPenMode GetMode() const { return data_.Mode; }
    void SetMode(TPenMode mode);
    void Assign(const TPen& other);
    const TPenData& Data() const { return data_; }

private:
    TPenData data_;
};

class TBrush : public TGraphicsObject {
public:
    TColor GetColor() const { return data_.Color; }
    // Setting a colour makes a clear brush solid, as the platform does.
    void SetColor(TColor color);
    TBrushStyle GetStyle() const { return data_.Style; }
    void SetStyle(TBrushStyle style);
    // A pattern brush from a bitmap (copied); null goes back to Style.
    void SetBitmap(const TBitmap* bitmap);
    bool HasBitmap() const { return static_cast<bool>(data_.Pattern); }
    void Assign(const TBrush& other);
    const TBrushData& Data() const { return data_; }

private:
    TBrushData data_;
};

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, 4>;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
public:
    TFont();
    const std::string& GetName() const { return name_; }
    void SetName(const std::string& name);
    int GetSize() const;
    void SetSize(int points);
    int GetHeight() const { return height_; }
    void SetHeight(int height);
    TFontStyles GetStyle() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor GetColor() const { return color_; }
    void SetColor(TColor color);
    // Tenths of a degree, counter-clockwise (a rotated font).
    int GetOrientation() const { return orientation_; }
    void SetOrientation(int tenths);
    TFontPitch GetPitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    int GetPixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi);
    void Assign(const TFont& other);
    // The font as selected into a context; made on first use after a change and kept, since
    // every canvas call selects it.
    const TFontData& Data() const;

private:
    // Drops the kept Data, then raises OnChange.
    void Modified();

    std::string name_ = "Arial";
    int height_ = -11;
    int pixelsPerInch_ = 96;
    TFontStyles style_;
    TColor color_ = clWindowText;
    int orientation_ = 0;
    TFontPitch pitch_ = TFontPitch::fpDefault;
    mutable std::optional<TFontData> data_;
};

class TCanvas : public TObject {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The context drawn on (not owned); null when the canvas is not bound.
    HDC GetHandle() const { return handle_; }
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return handle_ != nullptr; }

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }
    void SetFont(const TFont& font) { font_.Assign(font); }

    TPoint GetPenPos() const;
    void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
    uint32_t GetCopyMode() const { return copyMode_; }
    void SetCopyMode(uint32_t rop) { copyMode_ = rop; }

    void MoveTo(int x, int y);
    // To (x, y) with the pen; the end pixel is left out.
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint>& points);
    void Polygon(const std::vector<TPoint>& points);
    // Border with the pen on the outer ring, inside filled with the brush; right and bottom excluded.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    // The brush over the rectangle, no border.
    void FillRect(const TRect& r);
    // A one-pixel border in the brush colour.
    void FrameRect(const TRect& r);
    // A dotted xor border: drawing it twice restores the pixels.
    void DrawFocusRect(const TRect& r);

    TColor GetPixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    void TextOut(int x, int y, const std::string& text);
    // Text at (x, y), clipped to r; the background of r filled unless the brush is clear.
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);

    // The whole bitmap, or part of it, onto this canvas.
    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const TRect& dest, const TBitmap& bitmap);
    // Part of another canvas onto this one, stretched, with CopyMode.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

    // Selects pen, brush and font into the context (done by every drawing call).
    void RequireState();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void Changing();
    void Changed();

private:
    HDC handle_ = nullptr;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    uint32_t copyMode_ = SRCCOPY;
    TPoint penPos_;
};

// Binds a canvas to a context for a scope; the canvas lets go of it even when drawing throws.
class TCanvasBinding {
public:
    TCanvasBinding(TCanvas& canvas, HDC dc) : canvas_(canvas) { canvas_.SetHandle(dc); }
    ~TCanvasBinding() { canvas_.SetHandle(nullptr); }
    TCanvasBinding(const TCanvasBinding&) = delete;
    TCanvasBinding& operator=(const TCanvasBinding&) = delete;

private:
    TCanvas& canvas_;
};

}  // namespace vxplan
