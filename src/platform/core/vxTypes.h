// Basic value types of the platform layer: objects, points, rectangles, rounding.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace vxplan {

// Root of every class the host can receive as a Sender.
class TObject {
public:
    virtual ~TObject() = default;
};

// A wide integer result brought back to the int range, saturating.
inline int ClampToInt(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
// The sum of two ints, saturating: coordinates from hosts may lie anywhere in the int range.
inline int AddClamped(int a, int b) { return ClampToInt(static_cast<int64_t>(a) + b); }

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Left and Top are inside the rectangle, Right and Bottom are not. Width and Height saturate.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return ClampToInt(static_cast<int64_t>(Right) - Left); }
    int Height() const { return ClampToInt(static_cast<int64_t>(Bottom) - Top); }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// The rectangle of something that has none (an item out of view, a line not drawn).
inline constexpr TRect kNoRect{-1, -1, -1, -1};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height)
{
    return {left, top, AddClamped(left, width), AddClamped(top, height)};
}

bool PtInRect(const TRect& r, TPoint p);
// The overlap of a and b; false (and an all-zero result) when they do not overlap.
bool IntersectRect(TRect& result, const TRect& a, const TRect& b);
// The smallest rectangle holding both; an empty rectangle adds nothing.
bool UnionRect(TRect& result, const TRect& a, const TRect& b);
void OffsetRect(TRect& r, int dx, int dy);
void InflateRect(TRect& r, int dx, int dy);

// Float to integer, nearest with halves to even. The one rounding used for every pixel
// conversion. Values beyond the int range saturate; NaN gives 0.
int Round(double value);
int64_t Round64(double value);
// A floating value as messages name it: at most 15 significant digits, an exponent for values
// far from 1 (1e+300, not three hundred digits).
std::string NumberText(double value);
// Toward zero, saturating like Round.
int Trunc(double value);
// a * b / c rounded to nearest, halves away from zero, as the platform's MulDiv; -1 when c is 0.
int MulDiv(int a, int b, int c);

}  // namespace vxplan
