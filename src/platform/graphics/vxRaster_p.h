// Raster operations on the pixels of image contexts: the sixteen pen modes as bitwise masks,
// the part of the image a context may draw in, and brushes (solid, hatched, pattern) applied
// pixel by pixel. The line rasterizer, the blits and the canvas shapes build on these.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
#pragma once

#include <vxplan/platform/graphics/vxDeviceContext.h>
#include <vxplan/platform/graphics/vxPixels_p.h>

#include <QRect>

#include <cstdint>
#include <vector>

namespace vxplan::raster {

// Every pen mode is D' = (D & And) ^ Xor for masks that depend only on the pen's pixel.
struct TRopMasks {
    uint32_t And = 0;
    uint32_t Xor = 0;
    uint32_t Apply(uint32_t dst) const { return ((dst & And) ^ Xor) | 0xFF000000u; }
    bool IsNop() const { return And == 0xFFFFFFFFu && Xor == 0; }
};
TRopMasks RopMasks(TPenMode mode, uint32_t pixel);

// The device rectangles a raster context may change: its clip cut to the image, or the image.
std::vector<QRect> VisibleRects(const TDeviceContext& dc);

// Applies masks to every pixel of a device rectangle that is visible.
void FillRect(TPixelAccess& pixels, const std::vector<QRect>& visible, const QRect& rect, TRopMasks masks);

// The 8x8 hatch bits of a hatched brush style (bit 0x80 is the leftmost pixel), or null.
const uint8_t* HatchBits(TBrushStyle style);

// The selected brush of a context, ready to fill pixels with a pen mode. Hatches and patterns are
// aligned to the device origin; a hatch's gaps take the background colour when the context's
// background mode is opaque and are left alone when it is transparent.
class TBrushFill {
public:
    TBrushFill(const TDeviceContext& dc, TPenMode mode);
    bool IsNull() const { return kind_ == TKind::Null; }
    // Fills the visible part of a device rectangle.
    void Fill(TPixelAccess& pixels, const std::vector<QRect>& visible, const QRect& rect) const;

private:
    enum class TKind { Null, Solid, Hatch, Pattern };
    void FillClipped(TPixelAccess& pixels, const QRect& rect) const;

    TKind kind_ = TKind::Null;
    TRopMasks fore_, back_;
    bool backDrawn_ = false;
    const uint8_t* hatch_ = nullptr;
    int patternWidth_ = 0, patternHeight_ = 0;
    std::vector<TRopMasks> pattern_;
};

// Integer modulo that is never negative, for patterns aligned to the device origin.
inline int Wrap(int value, int period)
{
    const int m = value % period;
    return m < 0 ? m + period : m;
}

}  // namespace vxplan::raster
