// Filled shapes on raster surfaces, pixel for pixel as the platform draws them.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
//
// Ellipses, rounded rectangles and the outline of a wide pen are described row by row: each row
// of the shape is one run of pixels. A shape's outline is the pixels of the shape that have a
// horizontal or vertical neighbour outside it; the rest is its inside, filled with the brush.
//
// An ellipse in the box [left, right) x [top, bottom) is centred on the box's middle pixel (or
// between the two middle ones) with radii a / 2 and b / 2, a = width - 1 and b = height - 1. In
// doubled offsets (u, v) from the centre, f(u, v) = b^2 u^2 + a^2 v^2 - a^2 b^2, one quarter is
// walked from the middle row at the side (u = a) towards the middle column: a row outwards
// when f(u - 2, v + 1) <= -a^2, a column inwards when f(u - 1, v + 2) >= -b^2 (both: a
// diagonal step), until u < 0; the other quarters mirror it. Each row spans its outermost
// pixel of the walk. The walk stops short of the box's top and bottom rows when the ellipse is
// tall and thin (3 x 8, 4 x 7, 6 x 20 and taller). Boxes two pixels or less wide fill every
// row; a one-pixel box draws nothing. Beyond 65536 pixels the rows take the column nearest the
// curve instead (within a pixel of the walk).
//
// Polygons are filled by sampling each pixel at its integer coordinate: pixel (x, y) is inside
// when the point (x, y) is, an edge from y0 to y1 counting on rows y0 <= y < y1 and a run
// between crossings xa and xb covering xa <= x < xb. The fill thus meets the platform's line
// walk of the outline without a gap.
#pragma once

#include <vxplan/platform/graphics/vxRaster_p.h>

#include <QPoint>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vxplan::raster {

// A run of pixels [Left, Right] on one row, coordinates that may lie far off the image.
struct TRun {
    int64_t Left = 0, Right = -1;
    bool Empty() const { return Right < Left; }
};

// The run of an ellipse's row y (device pixels), or an empty one.
class TEllipseRows {
public:
    TEllipseRows(int64_t left, int64_t top, int64_t right, int64_t bottom);
    TRun Row(int64_t y) const;
    // The ellipse's own columns of row y relative to the box's left, as for a rounded corner.
    TRun LocalRow(int64_t y) const;
    // For the row beyond a walk that stops short of the box (even widths): the run from one
    // column right of the middle to one column left of it, which a rounded rectangle fills
    // between its corners. Nothing for other rows.
    std::optional<TRun> LocalTailRow(int64_t y) const;
    int64_t Top() const { return top_; }
    int64_t Bottom() const { return bottom_; }  // exclusive
    int64_t Width() const { return width_; }
    int64_t Height() const { return height_; }

private:
    // The largest doubled offset from the centre in row Y (doubled, centre relative), -1 when
    // the row is empty.
    int64_t HalfWidth(int64_t Y) const;
    // Records the walk's outermost u for each row v = b % 2 + 2k in walked_[k].
    void Walk();
    int64_t left_, top_, width_, height_, bottom_;
    int64_t a_, b_;  // doubled radii: width - 1, height - 1
    std::vector<int64_t> walked_;
    int64_t tailRow_ = -1;  // the k of the row beyond a walk that stopped short, or -1
};

// The run of a rounded rectangle's row y: the corners are the quarters of a corner ellipse of
// cornerWidth x cornerHeight (clamped to the box), the sides straight between them.
class TRoundRectRows {
public:
    TRoundRectRows(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t cornerWidth,
                   int64_t cornerHeight);
    TRun Row(int64_t y) const;
    int64_t Top() const { return top_; }
    int64_t Bottom() const { return bottom_; }
    // Whether the corners are round: a corner ellipse under three pixels either way keeps them
    // square.
    bool HasRoundCorners() const { return corner_.has_value(); }
    // The brush's run on row y beyond the outline, where the corners' walk stopped short of the
    // box's top or bottom row; empty elsewhere.
    TRun FillOnlyRow(int64_t y) const;

private:
    int64_t CornerRow(int64_t y) const;  // the corner ellipse's row that row y repeats
    TRun Between(TRun corner) const;     // the box's run between the corners' runs
    int64_t left_, top_, right_, bottom_;
    std::optional<TEllipseRows> corner_;
};

// A shape given row by row on [Top, Bottom): its outline drawn with the pen masks, its inside
// with the brush (either may be left out). Every pixel is changed once, rows and runs cut to the
// visible rectangles.
struct TRowShape {
    int64_t Top = 0, Bottom = 0;
    std::function<TRun(int64_t)> Row;
    // Optional: a run drawn with the brush alone on rows the shape leaves empty.
    std::function<TRun(int64_t)> FillOnly = {};
};
void DrawRowShape(TPixelAccess& pixels, const std::vector<QRect>& visible, const TRowShape& shape,
                  const TRopMasks* pen, const TBrushFill* brush);

// The pixels a wide pen covers when it follows the closed rectangle path through the pixel
// centres (x0, y0) and (x1, y1) with round joins: the pen is a filled disc of `width` pixels
// (an ellipse of width x width whose centre pixel is the path's), swept along the sides. Each
// row may have up to three runs (sides and corners merged), returned left to right.
class TWideRectOutline {
public:
    TWideRectOutline(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width);
    std::vector<TRun> Row(int64_t y) const;
    int64_t Top() const { return y0_ - width_ / 2; }
    int64_t Bottom() const { return y1_ - width_ / 2 + width_; }  // exclusive

private:
    // The disc's run on disc row j (0 <= j < width), as offsets from the pen's centre pixel.
    TRun DiscRow(int64_t j) const;
    // The widest of the disc rows [j0, j1] (clipped to the disc), empty when none is inside.
    TRun WidestDiscRow(int64_t j0, int64_t j1) const;
    int64_t x0_, y0_, x1_, y1_;
    int64_t width_;
    TEllipseRows disc_;
};
void DrawWideRectOutline(TPixelAccess& pixels, const std::vector<QRect>& visible, const TWideRectOutline& outline,
                         TRopMasks pen);

// Fills the inside of a polygon (device points) by the rule above; winding counts the edges'
// directions, otherwise crossings alternate.
void FillPolygon(TPixelAccess& pixels, const std::vector<QRect>& visible, const std::vector<QPoint>& points,
                 bool winding, const TBrushFill& brush);

}  // namespace vxplan::raster
