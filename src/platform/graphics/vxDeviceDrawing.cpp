// Drawing on device contexts: lines, brush fills and blits. Raster surfaces get the platform's
// pixels from our own code (vxRaster, vxLineRaster); vector surfaces go through QPainter.
#include <vxplan/platform/graphics/vxDrawing_p.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxLineRaster_p.h>
#include <vxplan/platform/graphics/vxPixels_p.h>
#include <vxplan/platform/graphics/vxRaster_p.h>
#include <vxplan/platform/graphics/vxShapeRaster_p.h>

#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vxplan {

namespace drawing {

namespace {

// The rectangle between two corners, normalized as the platform does: a reversed rectangle
// covers the same pixels.
QRect BetweenCorners(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QSize(std::abs(b.x() - a.x()), std::abs(b.y() - a.y())));
}

QRect CutRect(const TRect& r) { return BetweenCorners(CutPoint(r.TopLeft()), CutPoint(r.BottomRight())); }

QRect DeviceRect(const TDeviceContext& dc, const TRect& r)
{
    return BetweenCorners(DevicePoint(dc, r.TopLeft()), DevicePoint(dc, r.BottomRight()));
}

QImage HatchTexture(const TDeviceContext& dc)
{
    const uint8_t* bits = raster::HatchBits(dc.Brush.Style);
    QImage texture(8, 8, QImage::Format_ARGB32);
    const QRgb fore = ColorToPixel(dc.Brush.Color);
    const QRgb back = dc.BkMode == OPAQUE ? ColorToPixel(dc.BkColor) : 0u;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) texture.setPixel(x, y, (bits[y] & (0x80 >> x)) ? fore : back);
    return texture;
}

}  // namespace

QPainter::CompositionMode CompositionFor(TPenMode mode)
{
    switch (mode) {
    case TPenMode::pmBlack: return QPainter::RasterOp_ClearDestination;
    case TPenMode::pmWhite: return QPainter::RasterOp_SetDestination;
    case TPenMode::pmNot: return QPainter::RasterOp_NotDestination;
    case TPenMode::pmNotCopy: return QPainter::RasterOp_NotSource;
    case TPenMode::pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case TPenMode::pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case TPenMode::pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case TPenMode::pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case TPenMode::pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case TPenMode::pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case TPenMode::pmMask: return QPainter::RasterOp_SourceAndDestination;
    case TPenMode::pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case TPenMode::pmXor: return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QPen QtPen(const TDeviceContext& dc)
{
    if (dc.Pen.Style == TPenStyle::psClear) return QPen(Qt::NoPen);
    QPen pen(ToQColor(dc.Pen.Color));
    pen.setWidth(std::max(1, dc.Pen.Width));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    // Only thin pens have styles; wider ones draw solid, as the platform's do.
    if (dc.Pen.Width <= 1) {
        if (const raster::TDashPattern* dash = raster::DashPatternFor(dc.Pen.Style)) {
            QList<qreal> runs;
            for (int i = 0; i < dash->Count; ++i) runs.push_back(dash->Runs[static_cast<size_t>(i)]);
            pen.setDashPattern(runs);
            pen.setCapStyle(Qt::FlatCap);
        }
    }
    return pen;
}

QBrush QtBrush(const TDeviceContext& dc)
{
    if (dc.Brush.Pattern && !dc.Brush.Pattern->isNull()) return QBrush(*dc.Brush.Pattern);
    if (dc.Brush.Style == TBrushStyle::bsClear) return QBrush(Qt::NoBrush);
    if (raster::HatchBits(dc.Brush.Style)) return QBrush(HatchTexture(dc));
    return QBrush(ToQColor(dc.Brush.Color));
}

QPainter& ShapePainter(TDeviceContext& dc, bool withPen, bool withBrush)
{
    QPainter& painter = dc.Painter();
    painter.setPen(withPen ? QtPen(dc) : QPen(Qt::NoPen));
    painter.setBrush(withBrush ? QtBrush(dc) : QBrush(Qt::NoBrush));
    // Patterns line up with the device origin, not the viewport's.
    painter.setBrushOrigin(-dc.ViewportOrg().X, -dc.ViewportOrg().Y);
    painter.setCompositionMode(dc.IsRaster() ? CompositionFor(dc.Pen.Mode) : QPainter::CompositionMode_SourceOver);
    return painter;
}

bool UsesThinRaster(const TDeviceContext& dc) { return dc.IsRaster() && dc.Pen.Width <= 1; }

void PenPolyline(TDeviceContext& dc, const std::vector<TPoint>& points, bool closed)
{
    if (points.size() < 2 || dc.Pen.Style == TPenStyle::psClear || dc.Pen.Mode == TPenMode::pmNop) return;
    if (UsesThinRaster(dc)) {
        TPixelAccess pixels(*dc.Image());
        const std::vector<QRect> visible = raster::VisibleRects(dc);
        const raster::TThinPen pen = raster::ThinPenOf(dc);
        int dashPos = 0;
        auto device = [&](const TPoint& p) { return DevicePoint(dc, p); };
        for (size_t i = 1; i < points.size(); ++i)
            raster::DrawThinLine(pixels, visible, device(points[i - 1]), device(points[i]), pen, dashPos);
        if (closed) raster::DrawThinLine(pixels, visible, device(points.back()), device(points.front()), pen, dashPos);
        return;
    }
    QPolygon polygon;
    for (const TPoint& p : points) polygon << CutPoint(p);
    QPainter& painter = ShapePainter(dc, true, false);
    if (closed)
        painter.drawPolygon(polygon);
    else
        painter.drawPolyline(polygon);
}

void BrushRect(TDeviceContext& dc, const TRect& rect, TPenMode mode)
{
    const QRect r = DeviceRect(dc, rect);
    if (r.isEmpty() || mode == TPenMode::pmNop) return;
    if (dc.IsRaster()) {
        TPixelAccess pixels(*dc.Image());
        raster::TBrushFill(dc, mode).Fill(pixels, raster::VisibleRects(dc), r);
        return;
    }
    QPainter& painter = ShapePainter(dc, false, true);
    const TPoint org = dc.ViewportOrg();
    painter.fillRect(r.translated(-org.X, -org.Y), painter.brush());
}

void BrushPolygon(TDeviceContext& dc, const std::vector<TPoint>& points, TPenMode mode)
{
    if (points.size() < 3 || mode == TPenMode::pmNop) return;
    const bool winding = dc.PolyFillMode == WINDING;
    if (!dc.IsRaster()) {
        QPolygon polygon;
        for (const TPoint& p : points) polygon << CutPoint(p);
        ShapePainter(dc, false, true).drawPolygon(polygon, winding ? Qt::WindingFill : Qt::OddEvenFill);
        return;
    }
    const raster::TBrushFill brush(dc, mode);
    if (brush.IsNull()) return;
    TPixelAccess pixels(*dc.Image());
    std::vector<QPoint> device;
    device.reserve(points.size());
    for (const TPoint& p : points) device.push_back(DevicePoint(dc, p));
    raster::FillPolygon(pixels, raster::VisibleRects(dc), device, winding, brush);
}

void FocusRect(TDeviceContext& dc, const TRect& rect)
{
    const QRect r = DeviceRect(dc, rect);
    if (r.isEmpty()) return;
    if (!dc.IsRaster()) {
        QPen pen(ToQColor(dc.TextColor));
        pen.setStyle(Qt::DotLine);
        QPainter& painter = dc.Painter();
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1).normalized());
        return;
    }
    // A checkerboard aligned to the device origin: even pixels xor with the text colour, odd
    // ones with the background colour. With black text on white every other pixel inverts.
    const raster::TRopMasks even = raster::RopMasks(TPenMode::pmXor, ColorToPixel(dc.TextColor));
    const raster::TRopMasks odd = raster::RopMasks(TPenMode::pmXor, ColorToPixel(dc.BkColor));
    TPixelAccess pixels(*dc.Image());
    const std::vector<QRect> visible = raster::VisibleRects(dc);
    auto xorPixel = [&](int x, int y) {
        for (const QRect& v : visible) {
            if (!v.contains(x, y)) continue;
            pixels.Set(x, y, (((x + y) & 1) ? odd : even).Apply(pixels.Get(x, y)));
            return;
        }
    };
    // Each border pixel once, so a second call restores them.
    for (int x = r.left(); x <= r.right(); ++x) {
        xorPixel(x, r.top());
        if (r.bottom() != r.top()) xorPixel(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        xorPixel(r.left(), y);
        if (r.right() != r.left()) xorPixel(r.right(), y);
    }
}

namespace {

bool IsSourceRop(uint32_t rop)
{
    return rop == SRCCOPY || rop == SRCPAINT || rop == SRCAND || rop == SRCINVERT || rop == NOTSRCCOPY;
}

uint32_t ApplySourceRop(uint32_t rop, uint32_t s, uint32_t d)
{
    switch (rop) {
    case SRCPAINT: return s | d;
    case SRCAND: return s & d;
    case SRCINVERT: return s ^ d;
    case NOTSRCCOPY: return ~s;
    default: return s;
    }
}

}  // namespace

bool DrawImage(TDeviceContext& dst, TRect dest, const QImage& source, TRect sourceRect, uint32_t rop,
               const uint32_t* transparent)
{
    if (!IsSourceRop(rop)) throw EInvalidArgument("Not a raster operation with a source");
    bool flipX = false, flipY = false;
    QRect d = CutRect(dest);
    flipX = dest.Right < dest.Left;
    flipY = dest.Bottom < dest.Top;
    QRect s = CutRect(sourceRect);
    if (sourceRect.Right < sourceRect.Left) flipX = !flipX;
    if (sourceRect.Bottom < sourceRect.Top) flipY = !flipY;
    if (d.isEmpty() || s.isEmpty() || source.isNull()) return true;
    // Onto pixels the source is read where it lies when it can be: a copy of a whole window's
    // bitmap costs as much as the drawing. A copy is still made when the source may be the
    // destination itself, is flipped, reaches beyond its image (copy() pads with black) or has
    // another format.
    const bool inPlace = dst.IsRaster() && !flipX && !flipY && source.format() == QImage::Format_RGB32 &&
                         source.rect().contains(s) && dst.Image()->constBits() != source.constBits();
    // Not even a QImage copy of the source is taken then: copying an image that a painter is
    // on copies its pixels.
    QImage copied;
    if (!inPlace) {
        copied = source.copy(s).convertToFormat(QImage::Format_RGB32);
        if (flipX || flipY) copied = copied.mirrored(flipX, flipY);
    }
    const QImage& part = inPlace ? source : copied;
    const QPoint partOrigin = inPlace ? s.topLeft() : QPoint(0, 0);

    if (!dst.IsRaster()) {
        if (rop == NOTSRCCOPY) copied.invertPixels();
        QPainter& painter = dst.Painter();
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (transparent) {
            QImage masked = copied.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < masked.height(); ++y) {
                QRgb* row = reinterpret_cast<QRgb*>(masked.scanLine(y));
                for (int x = 0; x < masked.width(); ++x)
                    if ((row[x] | 0xFF000000u) == (*transparent | 0xFF000000u)) row[x] = 0;
            }
            copied = masked;
        }
        painter.drawImage(d, copied);
        return true;
    }

    const TPoint org = dst.ViewportOrg();
    const QRect deviceDest = d.translated(org.X, org.Y);
    TPixelAccess pixels(*dst.Image());
    const bool unstretched = d.size() == s.size();
    for (const QRect& v : raster::VisibleRects(dst)) {
        const QRect r = v.intersected(deviceDest);
        if (r.isEmpty()) continue;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            // Nearest source row and column by pixel centres.
            const int sy = unstretched ? y - deviceDest.top()
                                       : static_cast<int>((2 * int64_t{y - deviceDest.top()} + 1) * s.height() / (2 * int64_t{d.height()}));
            const QRgb* srcRow = reinterpret_cast<const QRgb*>(part.constScanLine(sy + partOrigin.y())) + partOrigin.x();
            uint32_t* dstRow = pixels.Row(y);
            if (unstretched && rop == SRCCOPY && !transparent && dstRow) {
                std::memcpy(dstRow + r.left(), srcRow + (r.left() - deviceDest.left()),
                            static_cast<size_t>(r.width()) * sizeof(uint32_t));
                continue;
            }
            for (int x = r.left(); x <= r.right(); ++x) {
                const int sx = unstretched ? x - deviceDest.left()
                                           : static_cast<int>((2 * int64_t{x - deviceDest.left()} + 1) * s.width() / (2 * int64_t{d.width()}));
                const uint32_t sp = srcRow[sx] | 0xFF000000u;
                if (transparent && sp == (*transparent | 0xFF000000u)) continue;
                pixels.Set(x, y, ApplySourceRop(rop, sp, pixels.Get(x, y)));
            }
        }
    }
    return true;
}

}  // namespace drawing

// --- The platform's drawing functions ------------------------------------------------------

bool MoveToEx(HDC dc, int x, int y, TPoint* previous)
{
    if (!dc) return false;
    if (previous) *previous = dc->Position;
    dc->Position = {x, y};
    return true;
}

bool LineTo(HDC dc, int x, int y)
{
    if (!dc) return false;
    const TPoint from = dc->Position;
    dc->Position = {x, y};
    if (drawing::UsesThinRaster(*dc)) {
        drawing::PenPolyline(*dc, {from, {x, y}}, false);
        return true;
    }
    if (dc->Pen.Style == TPenStyle::psClear || dc->Pen.Mode == TPenMode::pmNop) return true;
    drawing::ShapePainter(*dc, true, false).drawLine(drawing::CutPoint(from), drawing::CutPoint({x, y}));
    return true;
}

bool PatBlt(HDC dc, int x, int y, int width, int height, uint32_t rop)
{
    if (!dc) return false;
    TPenMode mode;
    bool usesBrush = false;
    switch (rop) {
    case PATCOPY: mode = TPenMode::pmCopy; usesBrush = true; break;
    case PATINVERT: mode = TPenMode::pmXor; usesBrush = true; break;
    case DSTINVERT: mode = TPenMode::pmNot; break;
    case BLACKNESS: mode = TPenMode::pmBlack; break;
    case WHITENESS: mode = TPenMode::pmWhite; break;
    default: throw EInvalidArgument("PatBlt does not know this raster operation");
    }
    const TRect rect = Bounds(x, y, width, height);
    if (usesBrush) {
        if (dc->IsRaster() || mode == TPenMode::pmCopy) drawing::BrushRect(*dc, rect, mode);
        return true;  // a vector device cannot invert
    }
    if (dc->IsRaster()) {
        TPixelAccess pixels(*dc->Image());
        raster::FillRect(pixels, raster::VisibleRects(*dc), drawing::DeviceRect(*dc, rect), raster::RopMasks(mode, 0));
    } else if (mode != TPenMode::pmNot) {
        QPainter& painter = dc->Painter();
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        const QRect r = drawing::DeviceRect(*dc, rect).translated(-dc->ViewportOrg().X, -dc->ViewportOrg().Y);
        painter.fillRect(r, mode == TPenMode::pmBlack ? Qt::black : Qt::white);
    }
    return true;
}

bool BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, uint32_t rop)
{
    return StretchBlt(dst, x, y, width, height, src, srcX, srcY, width, height, rop);
}

bool StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, uint32_t rop)
{
    if (!dst) return false;
    if (rop == PATCOPY || rop == PATINVERT || rop == DSTINVERT || rop == BLACKNESS || rop == WHITENESS)
        return PatBlt(dst, x, y, width, height, rop);
    if (!drawing::IsSourceRop(rop)) throw EInvalidArgument("BitBlt does not know this raster operation");
    if (!src || !src->IsRaster()) return false;
    const TPoint org = src->ViewportOrg();
    return drawing::DrawImage(*dst, Bounds(x, y, width, height), *src->Image(),
                              Bounds(AddClamped(srcX, org.X), AddClamped(srcY, org.Y), srcWidth, srcHeight), rop);
}

}  // namespace vxplan
