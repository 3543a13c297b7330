// StretchDIBits: part of an image, stretched onto any context.
//
// On images the copy is exact nearest-neighbour sampling done per pixel, with the raster
// operation applied bitwise, so the result is the same on every machine. On PDF and printer
// pages the image goes through QPainter::drawImage at the device's resolution; only copying and
// inverted copying exist there.
#include <vxplan/platform/graphics/vxDeviceContext.h>

#include <vxplan/platform/graphics/vxDrawing_p.h>
#include <vxplan/platform/graphics/vxPixels_p.h>

#include <algorithm>
#include <cstdlib>

namespace vxplan {

namespace {

// A span given by its start and a signed extent, as the blits take it: where it begins (wide) and
// how long it is (cut far outside every device).
int64_t SpanStart(int start, int extent) { return std::min<int64_t>(start, int64_t{start} + extent); }
int SpanLength(int extent) { return drawing::CutFar(std::abs(int64_t{extent})); }

// The result of a ternary raster operation on 24 bits of pattern, source and destination: bit
// (p << 2 | s << 1 | d) of the operation's index byte gives each result bit.
uint32_t ApplyRop3(uint8_t index, uint32_t pat, uint32_t src, uint32_t dst)
{
    switch (index) {
    case 0xCC: return src;
    case 0xEE: return src | dst;
    case 0x88: return src & dst;
    case 0x66: return src ^ dst;
    case 0x33: return ~src;
    case 0x55: return ~dst;
    case 0xF0: return pat;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFFu;
    default: break;
    }
    uint32_t out = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(index & (1 << i))) continue;
        const uint32_t p = (i & 4) ? pat : ~pat;
        const uint32_t s = (i & 2) ? src : ~src;
        const uint32_t d = (i & 1) ? dst : ~dst;
        out |= p & s & d;
    }
    return out;
}

void StretchOntoImage(HDC dst, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                      int srcHeight, const QImage& bits, uint32_t rop)
{
    TPixelAccess out(*dst->Image());
    const TPoint org = dst->ViewportOrg();
    const QRegion* clip = dst->ClipRegion();
    const uint8_t index = static_cast<uint8_t>((rop >> 16) & 0xFF);
    const uint32_t pat = ColorToPixel(dst->Brush.Color) & 0xFFFFFFu;
    const int w = SpanLength(width), h = SpanLength(height);
    // A negative extent on one side only mirrors the image along that axis.
    const bool flipX = (width < 0) != (srcWidth < 0), flipY = (height < 0) != (srcHeight < 0);
    using drawing::CutFar;
    const int left = CutFar(SpanStart(x, width) + org.X), top = CutFar(SpanStart(y, height) + org.Y);
    const int sw = SpanLength(srcWidth), sh = SpanLength(srcHeight);
    const int sx0 = CutFar(SpanStart(srcX, srcWidth)), sy0 = CutFar(SpanStart(srcY, srcHeight));

    // Only the part of the destination inside the image and the clip is visited.
    QRegion visible(QRect(left, top, w, h));
    visible &= QRect(0, 0, out.Width(), out.Height());
    if (clip) visible &= *clip;
    for (const QRect& part : visible) {
        for (int dy = part.top(); dy <= part.bottom(); ++dy) {
            const int j = dy - top;
            const int sy = sy0 + static_cast<int>(static_cast<int64_t>(flipY ? h - 1 - j : j) * sh / h);
            if (sy < 0 || sy >= bits.height()) continue;
            const uint32_t* srcLine = reinterpret_cast<const uint32_t*>(bits.constScanLine(sy));
            for (int dx = part.left(); dx <= part.right(); ++dx) {
                const int i = dx - left;
                const int sx = sx0 + static_cast<int>(static_cast<int64_t>(flipX ? w - 1 - i : i) * sw / w);
                if (sx < 0 || sx >= bits.width()) continue;
                const uint32_t d = out.Get(dx, dy) & 0xFFFFFFu;
                out.Set(dx, dy, ApplyRop3(index, pat, srcLine[sx] & 0xFFFFFFu, d) & 0xFFFFFFu);
            }
        }
    }
}

void StretchOntoDevice(HDC dst, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                       int srcHeight, const QImage& bits, uint32_t rop)
{
    using drawing::CutFar;
    QImage image = bits.copy(CutFar(SpanStart(srcX, srcWidth)), CutFar(SpanStart(srcY, srcHeight)), SpanLength(srcWidth),
                             SpanLength(srcHeight));
    if (((rop >> 16) & 0xFF) == 0x33) image.invertPixels();
    const bool flipX = (width < 0) != (srcWidth < 0), flipY = (height < 0) != (srcHeight < 0);
    if (flipX || flipY) image = image.mirrored(flipX, flipY);
    QPainter& p = dst->Painter();
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRect(CutFar(SpanStart(x, width)), CutFar(SpanStart(y, height)), SpanLength(width), SpanLength(height)),
                image);
    p.restore();
}

}  // namespace

int StretchDIBits(HDC dst, int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight,
                  const QImage& bits, uint32_t rop)
{
    if (!dst || bits.isNull() || width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return 0;
    // Rows of the source inside the image: what the platform reports as scan lines copied.
    const int rowsFrom = std::max(0, std::min(srcY, srcY + srcHeight));
    const int rowsTo = std::min(bits.height(), std::max(srcY, srcY + srcHeight));
    if (rowsTo <= rowsFrom) return 0;
    const QImage source = bits.format() == QImage::Format_RGB32 || bits.format() == QImage::Format_ARGB32
                              ? bits
                              : bits.convertToFormat(QImage::Format_RGB32);
    if (dst->IsRaster())
        StretchOntoImage(dst, x, y, width, height, srcX, srcY, srcWidth, srcHeight, source, rop);
    else
        StretchOntoDevice(dst, x, y, width, height, srcX, srcY, srcWidth, srcHeight, source, rop);
    return rowsTo - rowsFrom;
}

}  // namespace vxplan
