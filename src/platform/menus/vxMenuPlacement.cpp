// The placement of menu levels on their screen.
#include <vxplan/platform/menus/vxMenuPlacement_p.h>

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdint>

namespace vxplan {

namespace {

// v kept in [low, high], low winning when the range is empty; wide, as hosts pass any point.
int Keep(int64_t v, int64_t low, int64_t high) { return ClampToInt(std::max(low, std::min(v, high))); }

}  // namespace

TPoint PlaceMenuLevel(TPoint at, TSize size, const TRect& area, const std::optional<TRect>& parentItem)
{
    const int64_t w = std::max(size.cx, 0), h = std::max(size.cy, 0);
    int64_t x = at.X, y = at.Y;
    if (x + w > area.Right) x = (parentItem ? int64_t(parentItem->Left) : x) - w;
    if (y + h > area.Bottom) y = int64_t(area.Bottom) - h;
    if (area.IsEmpty()) return Point(ClampToInt(x), ClampToInt(y));
    return Point(Keep(x, area.Left, int64_t(area.Right) - w), Keep(y, area.Top, int64_t(area.Bottom) - h));
}

TRect MenuAreaAt(TPoint at)
{
    QScreen* screen = QGuiApplication::screenAt(QPoint(at.X, at.Y));
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return TRect{};
    const QRect r = screen->availableGeometry();
    return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

}  // namespace vxplan
