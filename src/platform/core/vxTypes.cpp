// Rectangle helpers and the rounding and saturating conversions.
#include <vxplan/platform/core/vxTypes.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vxplan {

bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }

bool IntersectRect(TRect& result, const TRect& a, const TRect& b)
{
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) {
        result = TRect{};
        return false;
    }
    result = r;
    return true;
}

bool UnionRect(TRect& result, const TRect& a, const TRect& b)
{
    if (a.IsEmpty()) {
        result = b.IsEmpty() ? TRect{} : b;
    } else if (b.IsEmpty()) {
        result = a;
    } else {
        result = {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                  std::max(a.Bottom, b.Bottom)};
    }
    return !result.IsEmpty();
}

void OffsetRect(TRect& r, int dx, int dy)
{
    r.Left = AddClamped(r.Left, dx);
    r.Right = AddClamped(r.Right, dx);
    r.Top = AddClamped(r.Top, dy);
    r.Bottom = AddClamped(r.Bottom, dy);
}

void InflateRect(TRect& r, int dx, int dy)
{
    r.Left = ClampToInt(static_cast<int64_t>(r.Left) - dx);
    r.Right = AddClamped(r.Right, dx);
    r.Top = ClampToInt(static_cast<int64_t>(r.Top) - dy);
    r.Bottom = AddClamped(r.Bottom, dy);
}

namespace {

template <class Int>
Int Saturate(double value)
{
    if (std::isnan(value)) return 0;
    constexpr double lo = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<Int>::max());
    if (value <= lo) return std::numeric_limits<Int>::min();
    if (value >= hi) return std::numeric_limits<Int>::max();
    return static_cast<Int>(value);
}

}  // namespace

std::string NumberText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

int Round(double value) { return Saturate<int>(std::nearbyint(value)); }
int64_t Round64(double value) { return Saturate<int64_t>(std::nearbyint(value)); }
int Trunc(double value) { return Saturate<int>(std::trunc(value)); }

int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    int64_t q = product / c;
    const int64_t rem = product % c;
    if (rem != 0 && 2 * std::abs(rem) >= std::abs(static_cast<int64_t>(c))) q += ((product < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(std::clamp<int64_t>(q, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace vxplan
