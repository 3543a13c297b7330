// The pen modes as bitwise masks on 32-bit pixels, and spans filled through them.
#include <vxplan/platform/graphics/vxRaster_p.h>

#include <algorithm>

namespace vxplan::raster {

TRopMasks RopMasks(TPenMode mode, uint32_t pixel)
{
    // Each mode written as (D & A) ^ X; P is the pen's pixel.
    const uint32_t p = pixel & 0x00FFFFFFu, np = ~pixel & 0x00FFFFFFu;
    constexpr uint32_t all = 0xFFFFFFFFu, none = 0;
    switch (mode) {
    case TPenMode::pmBlack: return {none, none};
    case TPenMode::pmWhite: return {none, all};
    case TPenMode::pmNop: return {all, none};
    case TPenMode::pmNot: return {all, all};
    case TPenMode::pmCopy: return {none, p};
    case TPenMode::pmNotCopy: return {none, np};
    case TPenMode::pmMergePenNot: return {np, all};   // P | ~D
    case TPenMode::pmMaskPenNot: return {p, p};       // P & ~D
    case TPenMode::pmMergeNotPen: return {p, np};     // ~P | D
    case TPenMode::pmMaskNotPen: return {np, none};   // ~P & D
    case TPenMode::pmMerge: return {np, p};           // P | D
    case TPenMode::pmNotMerge: return {np, np};       // ~(P | D)
    case TPenMode::pmMask: return {p, none};          // P & D
    case TPenMode::pmNotMask: return {p, all};        // ~(P & D)
    case TPenMode::pmXor: return {all, p};            // P ^ D
    case TPenMode::pmNotXor: return {all, np};        // ~(P ^ D)
    }
    return {none, p};
}

std::vector<QRect> VisibleRects(const TDeviceContext& dc)
{
    std::vector<QRect> rects;
    const QImage* image = dc.Image();
    if (!image) return rects;
    const QRect bounds = image->rect();
    if (const QRegion* clip = dc.ClipRegion()) {
        for (const QRect& r : *clip) {
            const QRect v = r.intersected(bounds);
            if (!v.isEmpty()) rects.push_back(v);
        }
    } else if (!bounds.isEmpty()) {
        rects.push_back(bounds);
    }
    return rects;
}

void FillRect(TPixelAccess& pixels, const std::vector<QRect>& visible, const QRect& rect, TRopMasks masks)
{
    if (masks.IsNop()) return;
    for (const QRect& v : visible) {
        const QRect r = v.intersected(rect);
        if (r.isEmpty()) continue;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            if (uint32_t* row = pixels.Row(y)) {
                // A plain colour (the common case, a background) does not read what it covers.
                if (masks.And == 0)
                    std::fill_n(row + r.left(), r.width(), masks.Apply(0));
                else
                    for (int x = r.left(); x <= r.right(); ++x) row[x] = masks.Apply(row[x]);
            } else {
                for (int x = r.left(); x <= r.right(); ++x) pixels.Set(x, y, masks.Apply(pixels.Get(x, y)));
            }
        }
    }
}

namespace {

constexpr uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal, top left to bottom right
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal, bottom left to top right
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

}  // namespace

const uint8_t* HatchBits(TBrushStyle style)
{
    switch (style) {
    case TBrushStyle::bsHorizontal: return kHatches[0];
    case TBrushStyle::bsVertical: return kHatches[1];
    case TBrushStyle::bsFDiagonal: return kHatches[2];
    case TBrushStyle::bsBDiagonal: return kHatches[3];
    case TBrushStyle::bsCross: return kHatches[4];
    case TBrushStyle::bsDiagCross: return kHatches[5];
    default: return nullptr;
    }
}

TBrushFill::TBrushFill(const TDeviceContext& dc, TPenMode mode)
{
    const TBrushData& brush = dc.Brush;
    if (brush.Pattern && !brush.Pattern->isNull()) {
        kind_ = TKind::Pattern;
        const QImage& pattern = *brush.Pattern;
        patternWidth_ = pattern.width();
        patternHeight_ = pattern.height();
        pattern_.reserve(static_cast<size_t>(patternWidth_) * static_cast<size_t>(patternHeight_));
        for (int y = 0; y < patternHeight_; ++y)
            for (int x = 0; x < patternWidth_; ++x) pattern_.push_back(RopMasks(mode, pattern.pixel(x, y)));
        return;
    }
    if (brush.Style == TBrushStyle::bsClear) return;
    fore_ = RopMasks(mode, ColorToPixel(brush.Color));
    hatch_ = HatchBits(brush.Style);
    if (!hatch_) {
        kind_ = TKind::Solid;
        return;
    }
    kind_ = TKind::Hatch;
    backDrawn_ = dc.BkMode == OPAQUE;
    back_ = RopMasks(mode, ColorToPixel(dc.BkColor));
}

void TBrushFill::Fill(TPixelAccess& pixels, const std::vector<QRect>& visible, const QRect& rect) const
{
    if (kind_ == TKind::Null || rect.isEmpty()) return;
    if (kind_ == TKind::Solid) {
        FillRect(pixels, visible, rect, fore_);
        return;
    }
    for (const QRect& v : visible) {
        const QRect r = v.intersected(rect);
        if (!r.isEmpty()) FillClipped(pixels, r);
    }
}

void TBrushFill::FillClipped(TPixelAccess& pixels, const QRect& r) const
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        if (kind_ == TKind::Hatch) {
            const uint8_t bits = hatch_[Wrap(y, 8)];
            for (int x = r.left(); x <= r.right(); ++x) {
                const bool line = (bits & (0x80 >> Wrap(x, 8))) != 0;
                if (!line && !backDrawn_) continue;
                pixels.Set(x, y, (line ? fore_ : back_).Apply(pixels.Get(x, y)));
            }
        } else {
            const TRopMasks* row = pattern_.data() + static_cast<size_t>(Wrap(y, patternHeight_)) * patternWidth_;
            for (int x = r.left(); x <= r.right(); ++x)
                pixels.Set(x, y, row[Wrap(x, patternWidth_)].Apply(pixels.Get(x, y)));
        }
    }
}

}  // namespace vxplan::raster
