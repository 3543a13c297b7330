// The canvas shapes that our own rasterizer draws on raster surfaces: wide-pen rectangles,
// ellipses and rounded rectangles, with the selected pen, brush and pen mode.
#include <vxplan/platform/graphics/vxDrawing_p.h>

#include <vxplan/platform/graphics/vxPixels_p.h>
#include <vxplan/platform/graphics/vxRaster_p.h>
#include <vxplan/platform/graphics/vxShapeRaster_p.h>

namespace vxplan::drawing {

namespace {

// Draws a shape given by rows in device units with the context's pen (when it has one) on its
// outline and brush inside.
void DrawShape(TDeviceContext& dc, const raster::TRowShape& shape)
{
    const bool withPen = dc.Pen.Style != TPenStyle::psClear;
    const raster::TRopMasks pen = raster::RopMasks(dc.Pen.Mode, ColorToPixel(dc.Pen.Color));
    const raster::TBrushFill brush(dc, dc.Pen.Mode);
    TPixelAccess pixels(*dc.Image());
    raster::DrawRowShape(pixels, raster::VisibleRects(dc), shape, withPen ? &pen : nullptr, &brush);
}

// A shape's box in device pixels, wide: the corners may lie anywhere the canvas lets them.
struct TDeviceBox {
    int64_t l, t, r, b;
};

TDeviceBox DeviceBox(const TDeviceContext& dc, int left, int top, int right, int bottom)
{
    const TPoint org = dc.ViewportOrg();
    return {int64_t{left} + org.X, int64_t{top} + org.Y, int64_t{right} + org.X, int64_t{bottom} + org.Y};
}

}  // namespace

void RasterWideRectangle(TDeviceContext& dc, int left, int top, int right, int bottom)
{
    if (dc.Pen.Mode == TPenMode::pmNop) return;
    const auto [l, t, r, b] = DeviceBox(dc, left, top, right, bottom);
    const int64_t w = dc.Pen.Width;
    // The pen follows the pixel centres of the border ring; inside a frame it moves inwards
    // until its outer edge lies on the rectangle's.
    int64_t x0 = l, y0 = t, x1 = r - 1, y1 = b - 1;
    if (dc.Pen.Style == TPenStyle::psInsideFrame) {
        x0 = l + w / 2;
        y0 = t + w / 2;
        x1 = r - w + w / 2;
        y1 = b - w + w / 2;
        if (x1 < x0) x0 = x1 = l + (r - l - 1) / 2;
        if (y1 < y0) y0 = y1 = t + (b - t - 1) / 2;
    }
    TPixelAccess pixels(*dc.Image());
    const std::vector<QRect> visible = raster::VisibleRects(dc);
    const raster::TBrushFill brush(dc, dc.Pen.Mode);
    if (!brush.IsNull() && x1 - x0 > 1 && y1 - y0 > 1) {
        const raster::TRowShape inside{y0 + 1, y1, [&](int64_t) { return raster::TRun{x0 + 1, x1 - 1}; }};
        raster::DrawRowShape(pixels, visible, inside, nullptr, &brush);
    }
    const raster::TWideRectOutline outline(x0, y0, x1, y1, dc.Pen.Width);
    raster::DrawWideRectOutline(pixels, visible, outline, raster::RopMasks(dc.Pen.Mode, ColorToPixel(dc.Pen.Color)));
}

void RasterEllipse(TDeviceContext& dc, int left, int top, int right, int bottom)
{
    if (dc.Pen.Mode == TPenMode::pmNop) return;
    const auto [l, t, r, b] = DeviceBox(dc, left, top, right, bottom);
    if (dc.Pen.Style == TPenStyle::psClear && (r - l <= 2 || b - t <= 2)) {
        // Without a border a box this thin keeps only the fill of its box less the right and
        // bottom pixel.
        BrushRect(dc, {left, top, right - 1, bottom - 1}, dc.Pen.Mode);
        return;
    }
    const raster::TEllipseRows rows(l, t, r, b);
    DrawShape(dc, {rows.Top(), rows.Bottom(), [&](int64_t y) { return rows.Row(y); }});
}

void RasterRoundRect(TDeviceContext& dc, int left, int top, int right, int bottom, int cornerWidth,
                     int cornerHeight)
{
    if (dc.Pen.Mode == TPenMode::pmNop) return;
    const auto [l, t, r, b] = DeviceBox(dc, left, top, right, bottom);
    const raster::TRoundRectRows rows(l, t, r, b, cornerWidth, cornerHeight);
    if (dc.Pen.Style == TPenStyle::psClear && !rows.HasRoundCorners()) {
        // Without a border square corners fill the box less its right and bottom pixel, as a
        // rectangle does.
        BrushRect(dc, {left, top, right - 1, bottom - 1}, dc.Pen.Mode);
        return;
    }
    DrawShape(dc, {rows.Top(), rows.Bottom(), [&](int64_t y) { return rows.Row(y); },
                   [&](int64_t y) { return rows.FillOnlyRow(y); }});
}

}  // namespace vxplan::drawing
