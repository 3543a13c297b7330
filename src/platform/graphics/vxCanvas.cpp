// Pens, brushes and the drawing members of TCanvas (text members are in vxCanvasText.cpp).
#include <vxplan/platform/graphics/vxCanvas.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxBitmap.h>
#include <vxplan/platform/graphics/vxDrawing_p.h>
#include <vxplan/platform/graphics/vxPixels_p.h>

#include <algorithm>
#include <utility>

namespace vxplan {
namespace {

// Shapes take their corners in either order; false when nothing is left to draw. Corners far
// outside every device are cut (see drawing::CutFar), so the shapes' arithmetic stays in int.
bool Normalize(int& left, int& top, int& right, int& bottom)
{
    left = drawing::CutFar(left), top = drawing::CutFar(top);
    right = drawing::CutFar(right), bottom = drawing::CutFar(bottom);
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    return right != left && bottom != top;
}

// Curved shapes come from our own rasterizer on images when the pen is thin or clear.
bool UsesShapeRaster(const TDeviceContext& dc)
{
    return dc.IsRaster() && (dc.Pen.Width <= 1 || dc.Pen.Style == TPenStyle::psClear);
}

}  // namespace

void TGraphicsObject::Changed()
{
    if (OnChange) OnChange(this);
}

// --- TPen ----------------------------------------------------------------------------------

void TPen::SetColor(TColor color)
{
    data_.Color = color;
    Changed();
}

void TPen::SetWidth(int width)
{
    data_.Width = std::max(1, width);
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    data_.Style = style;
    Changed();
}

void TPen::SetMode(TPenMode mode)
{
    data_.Mode = mode;
    Changed();
}

void TPen::Assign(const TPen& other)
{
    data_ = other.data_;
    Changed();
}

// --- TBrush --------------------------------------------------------------------------------

void TBrush::SetColor(TColor color)
{
    data_.Color = color;
    if (data_.Style == TBrushStyle::bsClear) data_.Style = TBrushStyle::bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    data_.Style = style;
    Changed();
}

void TBrush::SetBitmap(const TBitmap* bitmap)
{
    if (bitmap && !bitmap->Empty())
        data_.Pattern = std::make_shared<const QImage>(bitmap->Image().copy());
    else
        data_.Pattern.reset();
    Changed();
}

void TBrush::Assign(const TBrush& other)
{
    data_ = other.data_;
    Changed();
}

// --- TCanvas -------------------------------------------------------------------------------

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;

void TCanvas::SetHandle(HDC dc)
{
    if (dc == handle_) return;
    Changing();
    handle_ = dc;
    if (handle_) handle_->Position = penPos_;
    Changed();
}

void TCanvas::Changing()
{
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange) OnChange(this);
}

void TCanvas::RequireState()
{
    if (!handle_) throw EInvalidOperation("Canvas does not allow drawing");
    handle_->Pen = pen_.Data();
    handle_->Brush = brush_.Data();
    handle_->Font = font_.Data();
    handle_->TextColor = font_.GetColor();
    // A solid brush is the background of text; any other brush leaves it alone.
    handle_->BkColor = brush_.GetColor();
    handle_->BkMode = brush_.GetStyle() == TBrushStyle::bsSolid && !brush_.HasBitmap() ? OPAQUE : TRANSPARENT;
}

TPoint TCanvas::GetPenPos() const { return handle_ ? handle_->Position : penPos_; }

void TCanvas::MoveTo(int x, int y)
{
    penPos_ = {x, y};
    if (handle_) MoveToEx(handle_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    Changing();
    RequireState();
    ::vxplan::LineTo(handle_, x, y);
    penPos_ = {x, y};
    Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points)
{
    Changing();
    RequireState();
    drawing::PenPolyline(*handle_, points, false);
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points)
{
    Changing();
    RequireState();
    drawing::BrushPolygon(*handle_, points, handle_->Pen.Mode);  // in the context's fill mode
    drawing::PenPolyline(*handle_, points, true);
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (!Normalize(left, top, right, bottom)) return;
    Changing();
    RequireState();
    TDeviceContext& dc = *handle_;
    const bool noPen = dc.Pen.Style == TPenStyle::psClear;
    if (noPen) {
        // Without a border the fill covers one pixel less to the right and bottom.
        drawing::BrushRect(dc, {left, top, right - 1, bottom - 1}, dc.Pen.Mode);
    } else if (drawing::UsesThinRaster(dc)) {
        drawing::BrushRect(dc, {left + 1, top + 1, right - 1, bottom - 1}, dc.Pen.Mode);
        drawing::PenPolyline(dc, {{right - 1, top}, {left, top}, {left, bottom - 1}, {right - 1, bottom - 1}}, true);
    } else if (dc.IsRaster()) {
        drawing::RasterWideRectangle(dc, left, top, right, bottom);
    } else {
        int inset = 0;
        if (dc.Pen.Style == TPenStyle::psInsideFrame && dc.Pen.Width > 1) inset = dc.Pen.Width / 2;
        QPainter& painter = drawing::ShapePainter(dc, true, true);
        painter.drawRect(QRect(left + inset, top + inset, right - left - 1 - 2 * inset, bottom - top - 1 - 2 * inset));
    }
    Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    if (!Normalize(left, top, right, bottom)) return;
    Changing();
    RequireState();
    if (UsesShapeRaster(*handle_))
        drawing::RasterEllipse(*handle_, left, top, right, bottom);
    else if (handle_->Pen.Mode != TPenMode::pmNop)
        drawing::ShapePainter(*handle_, true, true).drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    Changed();
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    if (!Normalize(left, top, right, bottom)) return;
    Changing();
    RequireState();
    if (UsesShapeRaster(*handle_))
        drawing::RasterRoundRect(*handle_, left, top, right, bottom, ellipseWidth, ellipseHeight);
    else if (handle_->Pen.Mode != TPenMode::pmNop)
        drawing::ShapePainter(*handle_, true, true)
            .drawRoundedRect(QRect(left, top, right - left - 1, bottom - top - 1), ellipseWidth / 2.0,
                             ellipseHeight / 2.0, Qt::AbsoluteSize);
    Changed();
}

void TCanvas::FillRect(const TRect& r)
{
    Changing();
    RequireState();
    // Cut first: the extent of a rectangle across the whole int range is no int.
    const TRect cut = drawing::CutFarRect(r);
    PatBlt(handle_, cut.Left, cut.Top, cut.Width(), cut.Height(), PATCOPY);
    Changed();
}

void TCanvas::FrameRect(const TRect& aRect)
{
    const TRect r = drawing::CutFarRect(aRect);
    if (r.IsEmpty()) return;
    Changing();
    RequireState();
    const int w = r.Width(), h = r.Height();
    PatBlt(handle_, r.Left, r.Top, w, 1, PATCOPY);
    if (h > 1) PatBlt(handle_, r.Left, r.Bottom - 1, w, 1, PATCOPY);
    if (h > 2) {
        PatBlt(handle_, r.Left, r.Top + 1, 1, h - 2, PATCOPY);
        if (w > 1) PatBlt(handle_, r.Right - 1, r.Top + 1, 1, h - 2, PATCOPY);
    }
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    Changing();
    RequireState();
    drawing::FocusRect(*handle_, r);
    Changed();
}

TColor TCanvas::GetPixel(int x, int y)
{
    if (!handle_) throw EInvalidOperation("Canvas does not allow drawing");
    return ::vxplan::GetPixel(handle_, x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    Changing();
    RequireState();
    ::vxplan::SetPixel(handle_, x, y, color);
    Changed();
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap)
{
    if (bitmap.Empty()) return;
    StretchDraw(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap)
{
    if (bitmap.Empty()) return;
    Changing();
    RequireState();
    const uint32_t key = ColorToPixel(bitmap.GetTransparentColor());
    drawing::DrawImage(*handle_, dest, bitmap.Image(), Bounds(0, 0, bitmap.Width(), bitmap.Height()), SRCCOPY,
                       bitmap.Transparent() ? &key : nullptr);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect)
{
    if (!source.handle_) throw EInvalidOperation("Canvas does not allow drawing");
    Changing();
    RequireState();
    StretchBlt(handle_, dest.Left, dest.Top, dest.Width(), dest.Height(), source.handle_, sourceRect.Left,
               sourceRect.Top, sourceRect.Width(), sourceRect.Height(), copyMode_);
    Changed();
}

}  // namespace vxplan
