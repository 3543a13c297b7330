// The platform's one-pixel line walk: the pixels from the start point up to, not including, the end.
#include <vxplan/platform/graphics/vxLineRaster_p.h>

#include <algorithm>
#include <cstdlib>

namespace vxplan::raster {

namespace {

// A line reduced to its walk: `length` steps along the major axis, the minor offset of step i
// being floor((2 i minor + major - 1 + bias) / (2 major)).
struct TWalk {
    QPoint start;
    bool xMajor = true;
    int majorStep = 1, minorStep = 1;
    int64_t major = 0, minor = 0;
    int bias = 0;
    int length = 0;

    explicit TWalk(QPoint from, QPoint to) : start(from)
    {
        const int dx = to.x() - from.x(), dy = to.y() - from.y();
        const int adx = std::abs(dx), ady = std::abs(dy);
        // On an exact diagonal the vertical axis is the major one.
        xMajor = adx > ady;
        if (dy > 0)
            bias = (dx <= 0 && !xMajor) ? 1 : 0;
        else
            bias = (dx < 0 || (dx > 0 && xMajor)) ? 1 : 0;
        major = xMajor ? adx : ady;
        minor = xMajor ? ady : adx;
        majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
        minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
        length = static_cast<int>(major);
    }

    int64_t MinorAt(int64_t i) const { return (2 * i * minor + major - 1 + bias) / (2 * major); }
    QPoint At(int64_t i, int64_t n) const
    {
        const int a = static_cast<int>(i) * majorStep, b = static_cast<int>(n) * minorStep;
        return xMajor ? QPoint(start.x() + a, start.y() + b) : QPoint(start.x() + b, start.y() + a);
    }

    // The steps [first, last] whose pixels fall inside r; false when there are none.
    bool StepsInside(const QRect& r, int& first, int& last) const
    {
        // Along the major axis the coordinate moves one pixel per step.
        const int s0 = xMajor ? start.x() : start.y(), t0 = xMajor ? start.y() : start.x();
        const int lo = xMajor ? r.left() : r.top(), hi = xMajor ? r.right() : r.bottom();
        const int mlo = xMajor ? r.top() : r.left(), mhi = xMajor ? r.bottom() : r.right();
        int64_t a, b;
        if (majorStep > 0) {
            a = int64_t{lo} - s0;
            b = int64_t{hi} - s0;
        } else {
            a = int64_t{s0} - hi;
            b = int64_t{s0} - lo;
        }
        a = std::max<int64_t>(a, 0);
        b = std::min<int64_t>(b, length - 1);
        if (a > b) return false;
        // The minor offset never decreases along the walk, so its window is found by bisection.
        int64_t nlo, nhi;
        if (minorStep > 0) {
            nlo = int64_t{mlo} - t0;
            nhi = int64_t{mhi} - t0;
        } else {
            nlo = int64_t{t0} - mhi;
            nhi = int64_t{t0} - mlo;
        }
        if (MinorAt(a) > nhi || MinorAt(b) < nlo) return false;
        int64_t l = a, h = b;
        while (l < h) {  // first step with offset >= nlo
            const int64_t m = l + (h - l) / 2;
            if (MinorAt(m) >= nlo) h = m; else l = m + 1;
        }
        const int64_t firstStep = l;
        l = firstStep;
        h = b;
        while (l < h) {  // last step with offset <= nhi
            const int64_t m = l + (h - l + 1) / 2;
            if (MinorAt(m) <= nhi) l = m; else h = m - 1;
        }
        if (MinorAt(firstStep) > nhi) return false;
        first = static_cast<int>(firstStep);
        last = static_cast<int>(l);
        return true;
    }
};

const TDashPattern kDash{{18, 6}, 2, 24};
const TDashPattern kDot{{3, 3}, 2, 6};
const TDashPattern kDashDot{{9, 6, 3, 6}, 4, 24};
const TDashPattern kDashDotDot{{9, 3, 3, 3, 3, 3}, 6, 24};

}  // namespace

bool TDashPattern::On(int pos) const
{
    for (int i = 0; i < Count; ++i) {
        if (pos < Runs[static_cast<size_t>(i)]) return i % 2 == 0;
        pos -= Runs[static_cast<size_t>(i)];
    }
    return false;
}

const TDashPattern* DashPatternFor(TPenStyle style)
{
    switch (style) {
    case TPenStyle::psDash: return &kDash;
    case TPenStyle::psDot: return &kDot;
    case TPenStyle::psDashDot: return &kDashDot;
    case TPenStyle::psDashDotDot: return &kDashDotDot;
    default: return nullptr;
    }
}

TThinPen ThinPenOf(const TDeviceContext& dc)
{
    TThinPen pen;
    pen.On = RopMasks(dc.Pen.Mode, ColorToPixel(dc.Pen.Color));
    pen.Dash = DashPatternFor(dc.Pen.Style);
    pen.GapDrawn = pen.Dash && dc.BkMode == OPAQUE;
    pen.Gap = RopMasks(dc.Pen.Mode, ColorToPixel(dc.BkColor));
    return pen;
}

std::vector<QPoint> LinePixels(QPoint from, QPoint to)
{
    std::vector<QPoint> points;
    const TWalk walk(from, to);
    points.reserve(static_cast<size_t>(walk.length));
    for (int i = 0; i < walk.length; ++i) points.push_back(walk.At(i, walk.MinorAt(i)));
    return points;
}

void DrawThinLine(TPixelAccess& pixels, const std::vector<QRect>& visible, QPoint from, QPoint to,
                  const TThinPen& pen, int& dashPos)
{
    const TWalk walk(from, to);
    if (walk.length == 0) return;
    // A pattern position per pixel, looked up instead of recounted.
    std::array<bool, 24> on{};
    if (pen.Dash)
        for (int p = 0; p < pen.Dash->Total; ++p) on[static_cast<size_t>(p)] = pen.Dash->On(p);
    const int startPos = pen.Dash ? dashPos % pen.Dash->Total : 0;

    for (const QRect& r : visible) {
        int first = 0, last = -1;
        if (!walk.StepsInside(r, first, last)) continue;
        int64_t n = walk.MinorAt(first);
        // The decision term for the step after `first`, as Bresenham keeps it.
        int64_t err = 2 * (int64_t{first} + 1) * walk.minor - walk.major - 2 * n * walk.major;
        for (int i = first; i <= last; ++i) {
            const QPoint p = walk.At(i, n);
            if (r.contains(p)) {
                if (!pen.Dash) {
                    pixels.Set(p.x(), p.y(), pen.On.Apply(pixels.Get(p.x(), p.y())));
                } else if (on[static_cast<size_t>((startPos + i) % pen.Dash->Total)]) {
                    pixels.Set(p.x(), p.y(), pen.On.Apply(pixels.Get(p.x(), p.y())));
                } else if (pen.GapDrawn) {
                    pixels.Set(p.x(), p.y(), pen.Gap.Apply(pixels.Get(p.x(), p.y())));
                }
            }
            if (err + walk.bias > 0) {
                ++n;
                err += 2 * walk.minor - 2 * walk.major;
            } else {
                err += 2 * walk.minor;
            }
        }
    }
    if (pen.Dash) dashPos = (startPos + walk.length) % pen.Dash->Total;
}

}  // namespace vxplan::raster
