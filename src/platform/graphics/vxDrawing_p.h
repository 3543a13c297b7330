// Drawing helpers shared by the context functions and the canvas: the selected pen and brush
// applied to lines, rectangles and polygons on either kind of surface, and images copied with
// the source raster operations.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
#pragma once

#include <vxplan/platform/graphics/vxDeviceContext.h>

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vxplan::drawing {

// Coordinates are cut at +-2^29, far outside every device: the line walks, fills and Qt's own
// rectangle arithmetic then never leave int, whatever a caller passes. A shape reaching that
// far is drawn as if it ended there.
inline constexpr int kFarCoordinate = 1 << 29;
inline int CutFar(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -kFarCoordinate, kFarCoordinate)); }
// A rectangle with each side cut.
inline TRect CutFarRect(const TRect& r) { return {CutFar(r.Left), CutFar(r.Top), CutFar(r.Right), CutFar(r.Bottom)}; }
// A logical point, cut.
inline QPoint CutPoint(TPoint p) { return QPoint(CutFar(p.X), CutFar(p.Y)); }
// A logical point in device pixels (the viewport origin added), cut.
inline QPoint DevicePoint(const TDeviceContext& dc, TPoint p)
{
    const TPoint org = dc.ViewportOrg();
    return QPoint(CutFar(int64_t{p.X} + org.X), CutFar(int64_t{p.Y} + org.Y));
}

// The composition mode that does a pen mode on raster surfaces.
QPainter::CompositionMode CompositionFor(TPenMode mode);
// The selected pen and brush as Qt sees them (wide pens have round ends and joins).
QPen QtPen(const TDeviceContext& dc);
QBrush QtBrush(const TDeviceContext& dc);
// The painter set up for the selected pen and brush, with the pen mode where the device has it.
QPainter& ShapePainter(TDeviceContext& dc, bool withPen, bool withBrush);
// Whether lines of the selected pen are drawn by our own rasterizer.
bool UsesThinRaster(const TDeviceContext& dc);

// A polyline in logical units with the selected pen; closed adds the segment back to the start.
// Thin styled pens carry their pattern from segment to segment.
void PenPolyline(TDeviceContext& dc, const std::vector<TPoint>& points, bool closed);
// The selected brush over a logical rectangle with the pen mode (as shapes fill).
void BrushRect(TDeviceContext& dc, const TRect& rect, TPenMode mode);
// The selected brush over a polygon's inside in the context's fill mode (see vxShapeRaster_p.h
// for which pixels that is on raster surfaces).
void BrushPolygon(TDeviceContext& dc, const std::vector<TPoint>& points, TPenMode mode);
// Shapes drawn on raster surfaces by our own rasterizer: a rectangle with a pen wider than one
// pixel (solid or inside-frame), and ellipses and rounded rectangles with thin or clear pens.
// Right and bottom are exclusive and already ordered.
void RasterWideRectangle(TDeviceContext& dc, int left, int top, int right, int bottom);
void RasterEllipse(TDeviceContext& dc, int left, int top, int right, int bottom);
void RasterRoundRect(TDeviceContext& dc, int left, int top, int right, int bottom, int cornerWidth,
                     int cornerHeight);
// A border xor-ed with text colour and background colour on alternate pixels.
void FocusRect(TDeviceContext& dc, const TRect& rect);

// Part of an image onto a context, stretched into a logical rectangle (negative sizes mirror).
// rop is one of the source operations; transparent, when given, is a pixel value left out.
bool DrawImage(TDeviceContext& dst, TRect dest, const QImage& source, TRect sourceRect, uint32_t rop,
               const uint32_t* transparent = nullptr);

}  // namespace vxplan::drawing
