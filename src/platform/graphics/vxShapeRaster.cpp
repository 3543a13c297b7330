// Ellipses, rounded rectangles, wide rectangle outlines and polygon fills, row by row.
#include <vxplan/platform/graphics/vxShapeRaster_p.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vxplan::raster {

namespace {

// Products of two squared coordinates need more than 64 bits.
__extension__ typedef __int128 TInt128;

constexpr int64_t kExactLimit = int64_t{1} << 30;

// Ellipses up to this size are walked pixel by pixel, as the platform does; larger ones take
// the nearest-curve rule, which differs from the walk only by single pixels.
constexpr int64_t kWalkLimit = int64_t{1} << 16;

// The sign of a^2 b^2 - a^2 y^2 - b^2 x^2: whether (x, y) lies inside the ellipse of radii a
// and b. Exact while the radii are below kExactLimit, close enough beyond.
int InsideSign(int64_t a, int64_t b, int64_t x, int64_t y)
{
    if (a < kExactLimit && b < kExactLimit) {
        const TInt128 a2 = TInt128{a} * a, b2 = TInt128{b} * b;
        const TInt128 v = a2 * b2 - a2 * (TInt128{y} * y) - b2 * (TInt128{x} * x);
        return v > 0 ? 1 : (v < 0 ? -1 : 0);
    }
    const long double fx = static_cast<long double>(x) / static_cast<long double>(a);
    const long double fy = static_cast<long double>(y) / static_cast<long double>(b);
    const long double v = 1.0L - fx * fx - fy * fy;
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

// The largest x = parity + 2k in [parity, limit] for which inside(x) holds, starting the search
// at estimate; -1 when even x = parity fails. inside must hold for all x below one where it holds.
template <class F>
int64_t LargestInside(int64_t parity, int64_t limit, double estimate, F inside)
{
    if (!inside(parity)) return -1;
    int64_t x = parity;
    if (std::isfinite(estimate) && estimate > static_cast<double>(parity)) {
        const double clamped = std::min(estimate, static_cast<double>(limit));
        x = static_cast<int64_t>(clamped);
        if ((x - parity) % 2 != 0) --x;
        x = std::clamp(x, parity, limit);
    }
    while (x > parity && !inside(x)) x -= 2;
    while (x + 2 <= limit && inside(x + 2)) x += 2;
    return x;
}

}  // namespace

// --- Ellipses -------------------------------------------------------------------------------

TEllipseRows::TEllipseRows(int64_t left, int64_t top, int64_t right, int64_t bottom)
    : left_(std::min(left, right)), top_(std::min(top, bottom)), width_(std::abs(right - left)),
      height_(std::abs(bottom - top)), bottom_(top_ + height_), a_(width_ - 1), b_(height_ - 1)
{
    if (width_ > 2 && width_ <= kWalkLimit && height_ <= kWalkLimit) Walk();
}

void TEllipseRows::Walk()
{
    // Doubled offsets from the centre: u across (parity of a), v down (parity of b). The walk
    // starts on the middle row at the box's side and ends when it passes the middle column; it
    // never comes back to a row, so a row's first pixel is its outermost. A tall, thin ellipse
    // ends there before it reaches the box's top and bottom rows, as the platform's does.
    const TInt128 a2 = TInt128{a_} * a_, b2 = TInt128{b_} * b_;
    auto f = [&](int64_t u, int64_t v) { return b2 * (TInt128{u} * u) + a2 * (TInt128{v} * v) - a2 * b2; };
    walked_.assign(static_cast<size_t>(b_ / 2 + 1), -1);
    int64_t u = a_, v = b_ % 2;
    while (u >= 0) {
        const size_t k = static_cast<size_t>((v - b_ % 2) / 2);
        if (k >= walked_.size()) break;
        if (walked_[k] < 0) walked_[k] = u;
        // One row outwards while the point half a row beyond, one column in, lies inside by
        // more than a^2; one column inwards while the point half a column in, one row beyond,
        // lies no more than b^2 inside. Both at once make a diagonal step.
        const bool outwards = f(u - 2, v + 1) <= -a2;
        const bool inwards = f(u - 1, v + 2) >= -b2;
        if (!outwards && !inwards) break;
        if (outwards) v += 2;
        if (inwards) u -= 2;
        // A walk that stops short of the box ends with a diagonal step into the next row. With
        // an even width it lands one column past the middle, and a rounded rectangle fills
        // that row between its corners; with an odd width the platform leaves it undefined.
        if (u < 0 && outwards && inwards && a_ % 2 == 1 && v <= b_) tailRow_ = (v - b_ % 2) / 2;
    }
}

std::optional<TRun> TEllipseRows::LocalTailRow(int64_t y) const
{
    if (tailRow_ < 0 || y < top_ || y >= bottom_) return std::nullopt;
    if ((std::abs(2 * (y - top_) - b_) - b_ % 2) / 2 != tailRow_) return std::nullopt;
    // One column past the middle from either side: the run ends left of where it starts.
    return TRun{(a_ + 1) / 2, (a_ - 1) / 2};
}

int64_t TEllipseRows::HalfWidth(int64_t Y) const
{
    if (!walked_.empty()) {
        const int64_t k = (Y - b_ % 2) / 2;
        return k >= 0 && k < static_cast<int64_t>(walked_.size()) ? walked_[static_cast<size_t>(k)] : -1;
    }
    // Not walked: thin boxes fill every row; beyond the walk's limit each row takes the column
    // nearest the curve where it is steep, each column the row nearest it where it is flat.
    const int64_t parity = a_ % 2;
    if (a_ == 0) return 0;
    if (b_ == 0 || Y <= 1) return a_;
    const double fa = static_cast<double>(a_), fb = static_cast<double>(b_);
    // Columns whose nearest row on the curve reaches this row or beyond.
    const double e1 = fa * std::sqrt(std::max(0.0, 1.0 - std::pow((static_cast<double>(Y) - 1.0) / fb, 2.0)));
    const int64_t byColumns = LargestInside(parity, a_, e1, [&](int64_t X) { return InsideSign(a_, b_, X, Y - 1) > 0; });
    // The column nearest the curve on this row.
    const double e2 = 1.0 + fa * std::sqrt(std::max(0.0, 1.0 - std::pow(static_cast<double>(Y) / fb, 2.0)));
    const int64_t byRow = LargestInside(parity, a_, e2, [&](int64_t X) { return X <= 1 || InsideSign(a_, b_, X - 1, Y) > 0; });
    return std::max(byColumns, byRow);
}

TRun TEllipseRows::LocalRow(int64_t y) const
{
    if (y < top_ || y >= bottom_ || (width_ == 1 && height_ == 1)) return {};
    const int64_t Y = std::abs(2 * (y - top_) - b_);
    const int64_t h = HalfWidth(Y);
    if (h < 0) return {};
    // Offsets from the centre have the parity of the doubled radius, so these halve exactly.
    return {(a_ - h) / 2, (a_ + h) / 2};
}

TRun TEllipseRows::Row(int64_t y) const
{
    TRun run = LocalRow(y);
    if (run.Empty()) return run;
    return {left_ + run.Left, left_ + run.Right};
}

// --- Rounded rectangles ---------------------------------------------------------------------

TRoundRectRows::TRoundRectRows(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t cornerWidth,
                               int64_t cornerHeight)
    : left_(std::min(left, right)), top_(std::min(top, bottom)), right_(std::max(left, right)),
      bottom_(std::max(top, bottom))
{
    const int64_t ew = std::min(std::abs(cornerWidth), right_ - left_);
    const int64_t eh = std::min(std::abs(cornerHeight), bottom_ - top_);
    // A corner two pixels or less across leaves the rectangle's corner square.
    if (ew > 2 && eh > 2) corner_.emplace(0, 0, ew, eh);
}

int64_t TRoundRectRows::CornerRow(int64_t y) const
{
    // Rows between the corners repeat the corner ellipse's middle row.
    const int64_t eh = corner_->Height();
    const int64_t i = y - top_, h = bottom_ - top_;
    if (i < eh / 2) return i;
    if (h - 1 - i < eh / 2) return eh - (h - i);
    return (eh - 1) / 2;
}

TRun TRoundRectRows::Between(TRun corner) const
{
    return {left_ + corner.Left, right_ - 1 - (corner_->Width() - 1 - corner.Right)};
}

TRun TRoundRectRows::Row(int64_t y) const
{
    if (y < top_ || y >= bottom_) return {};
    if (!corner_) return {left_, right_ - 1};
    const TRun e = corner_->LocalRow(CornerRow(y));
    if (e.Empty()) return e;
    return Between(e);
}

TRun TRoundRectRows::FillOnlyRow(int64_t y) const
{
    if (y < top_ || y >= bottom_ || !corner_) return {};
    const std::optional<TRun> e = corner_->LocalTailRow(CornerRow(y));
    return e ? Between(*e) : TRun{};
}

// --- Drawing row shapes ---------------------------------------------------------------------

namespace {

// The bounding box of the visible rectangles, so that rows and runs far off are never visited.
QRect VisibleBounds(const std::vector<QRect>& visible)
{
    QRect bounds;
    for (const QRect& r : visible) bounds = bounds.united(r);
    return bounds;
}

// A run cut to the columns of bounds, as a one-row rectangle (empty when nothing is left).
QRect RunRect(TRun run, int64_t y, const QRect& bounds)
{
    const int64_t l = std::max<int64_t>(run.Left, bounds.left()), r = std::min<int64_t>(run.Right, bounds.right());
    if (r < l) return {};
    return QRect(static_cast<int>(l), static_cast<int>(y), static_cast<int>(r - l + 1), 1);
}

TRun Intersect(TRun a, TRun b) { return {std::max(a.Left, b.Left), std::min(a.Right, b.Right)}; }

}  // namespace

void DrawRowShape(TPixelAccess& pixels, const std::vector<QRect>& visible, const TRowShape& shape,
                  const TRopMasks* pen, const TBrushFill* brush)
{
    const QRect bounds = VisibleBounds(visible);
    if (bounds.isEmpty() || (!pen && (!brush || brush->IsNull()))) return;
    const int64_t y0 = std::max<int64_t>(shape.Top, bounds.top());
    const int64_t y1 = std::min<int64_t>(shape.Bottom, int64_t{bounds.bottom()} + 1);
    auto rowAt = [&](int64_t y) { return y >= shape.Top && y < shape.Bottom ? shape.Row(y) : TRun{}; };
    for (int64_t y = y0; y < y1; ++y) {
        const TRun run = rowAt(y);
        if (run.Empty()) {
            if (brush && shape.FillOnly) {
                const TRun fill = shape.FillOnly(y);
                if (!fill.Empty()) brush->Fill(pixels, visible, RunRect(fill, y, bounds));
            }
            continue;
        }
        TRun inside = run;
        if (pen) {
            // Inside are the pixels whose four neighbours all belong to the shape.
            inside = Intersect(Intersect({run.Left + 1, run.Right - 1}, rowAt(y - 1)), rowAt(y + 1));
            if (inside.Empty()) {
                FillRect(pixels, visible, RunRect(run, y, bounds), *pen);
            } else {
                FillRect(pixels, visible, RunRect({run.Left, inside.Left - 1}, y, bounds), *pen);
                FillRect(pixels, visible, RunRect({inside.Right + 1, run.Right}, y, bounds), *pen);
            }
        }
        if (brush && !inside.Empty()) brush->Fill(pixels, visible, RunRect(inside, y, bounds));
    }
}

// --- Wide rectangle outlines ----------------------------------------------------------------

TWideRectOutline::TWideRectOutline(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width)
    : x0_(std::min(x0, x1)), y0_(std::min(y0, y1)), x1_(std::max(x0, x1)), y1_(std::max(y0, y1)),
      width_(std::max(1, width)), disc_(0, 0, width_, width_)
{
}

TRun TWideRectOutline::DiscRow(int64_t j) const
{
    const TRun r = disc_.LocalRow(j);
    if (r.Empty()) return r;
    return {r.Left - width_ / 2, r.Right - width_ / 2};
}

TRun TWideRectOutline::WidestDiscRow(int64_t j0, int64_t j1) const
{
    j0 = std::max<int64_t>(j0, 0);
    j1 = std::min<int64_t>(j1, width_ - 1);
    if (j1 < j0) return {};
    // The disc narrows away from its middle row.
    return DiscRow(std::clamp<int64_t>((width_ - 1) / 2, j0, j1));
}

std::vector<TRun> TWideRectOutline::Row(int64_t y) const
{
    const int64_t half = width_ / 2;
    std::vector<TRun> runs;
    auto add = [&](TRun disc, int64_t from, int64_t to) {
        if (!disc.Empty()) runs.push_back({from + disc.Left, to + disc.Right});
    };
    if (y - y0_ + half >= 0 && y - y0_ + half < width_) add(DiscRow(y - y0_ + half), x0_, x1_);
    if (y - y1_ + half >= 0 && y - y1_ + half < width_) add(DiscRow(y - y1_ + half), x0_, x1_);
    const TRun side = WidestDiscRow(y - y1_ + half, y - y0_ + half);
    add(side, x0_, x0_);
    add(side, x1_, x1_);
    std::sort(runs.begin(), runs.end(), [](const TRun& a, const TRun& b) { return a.Left < b.Left; });
    std::vector<TRun> merged;
    for (const TRun& r : runs) {
        if (!merged.empty() && r.Left <= merged.back().Right + 1)
            merged.back().Right = std::max(merged.back().Right, r.Right);
        else
            merged.push_back(r);
    }
    return merged;
}

void DrawWideRectOutline(TPixelAccess& pixels, const std::vector<QRect>& visible, const TWideRectOutline& outline,
                         TRopMasks pen)
{
    const QRect bounds = VisibleBounds(visible);
    if (bounds.isEmpty()) return;
    const int64_t y0 = std::max<int64_t>(outline.Top(), bounds.top());
    const int64_t y1 = std::min<int64_t>(outline.Bottom(), int64_t{bounds.bottom()} + 1);
    for (int64_t y = y0; y < y1; ++y)
        for (const TRun& run : outline.Row(y)) FillRect(pixels, visible, RunRect(run, y, bounds), pen);
}

// --- Polygons -------------------------------------------------------------------------------

namespace {

struct TCrossing {
    int64_t X;  // the first pixel at or right of the edge
    int Direction;
};

int64_t CeilDiv(TInt128 num, TInt128 den)  // den > 0
{
    TInt128 q = num / den;
    if (num % den != 0 && num > 0) ++q;
    return static_cast<int64_t>(q);
}

}  // namespace

void FillPolygon(TPixelAccess& pixels, const std::vector<QRect>& visible, const std::vector<QPoint>& points,
                 bool winding, const TBrushFill& brush)
{
    const QRect bounds = VisibleBounds(visible);
    if (points.size() < 3 || bounds.isEmpty() || brush.IsNull()) return;
    int64_t top = points[0].y(), bottom = points[0].y();
    for (const QPoint& p : points) {
        top = std::min<int64_t>(top, p.y());
        bottom = std::max<int64_t>(bottom, p.y());
    }
    const int64_t y0 = std::max<int64_t>(top, bounds.top());
    const int64_t y1 = std::min<int64_t>(bottom, int64_t{bounds.bottom()} + 1);
    std::vector<TCrossing> crossings;
    for (int64_t y = y0; y < y1; ++y) {
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            const QPoint& a = points[i];
            const QPoint& b = points[(i + 1) % points.size()];
            if (a.y() == b.y()) continue;
            const bool down = a.y() < b.y();
            const int64_t ya = down ? a.y() : b.y(), yb = down ? b.y() : a.y();
            if (y < ya || y >= yb) continue;
            const QPoint& s = down ? a : b;
            const QPoint& e = down ? b : a;
            const int64_t dy = int64_t{e.y()} - s.y(), dx = int64_t{e.x()} - s.x();
            const TInt128 num = TInt128{s.x()} * dy + TInt128{y - s.y()} * dx;
            crossings.push_back({CeilDiv(num, dy), down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(), [](const TCrossing& p, const TCrossing& q) { return p.X < q.X; });
        int count = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            count += winding ? crossings[i].Direction : 1;
            const bool inside = winding ? count != 0 : (count % 2) != 0;
            if (inside && crossings[i + 1].X > crossings[i].X)
                brush.Fill(pixels, visible, RunRect({crossings[i].X, crossings[i + 1].X - 1}, y, bounds));
        }
    }
}

}  // namespace vxplan::raster
