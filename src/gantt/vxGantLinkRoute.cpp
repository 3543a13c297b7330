// Routing and drawing of the links between Gantt time items.
#include <vxplan/gantt/vxGantLinkRoute_p.h>

#include <vxplan/gantt/vxGantItemPaint_p.h>

namespace vxplan {

namespace {

int MidX(const TRect& r) { return r.Left + (r.Right - r.Left) / 2; }
int MidY(const TRect& r) { return r.Top + (r.Bottom - r.Top) / 2; }

// An end whose row is scrolled out of the grid leaves the area at the top or bottom edge, on
// the side where its row lies.
void GridEdge(TRect& aRect, bool aBelow, int aMidPixel, int anAreaHeight)
{
    const int y = aBelow ? anAreaHeight + 10 : -10;
    aRect = Rect(aRect.Left, y, aRect.Right, y);
    if (aRect.Left == -1) aRect.Left = aRect.Right = aMidPixel;
}

}  // namespace

bool ItemOverlapsRange(double aStart, double aStop, double aRangeStart, double aRangeStop)
{
    return aStart <= aRangeStop && aStop >= aRangeStart;
}

bool LinePassesThroughWindow(double aFromStop, double aToStart, double aRangeStart, double aRangeStop)
{
    if (aFromStop < aRangeStart && aToStart < aRangeStart) return false;
    if (aFromStop > aRangeStop && aToStart > aRangeStop) return false;
    return true;
}

TvxLinkRoute RouteLink(TvxLinkEnd aFrom, TvxLinkEnd aTo, bool aSameRow, TLinkStartFinishOption anOption,
                       TLinkStyle aStyle, TLinkShow aShow, const TvxLinkGridEnds& aGrid)
{
    TvxLinkRoute route;
    TRect r1 = aFrom.Rect, r2 = aTo.Rect;
    const bool fromVisible = r1.Top > -1 && aFrom.InRange;
    const bool toVisible = r2.Top > -1 && aTo.InRange;

    if (aGrid.Valid) {
        if (r1.Top == -1) GridEdge(r1, aGrid.FromRowIndex > aGrid.ToRowIndex, aGrid.FromMidPixel, aGrid.AreaHeight);
        if (r2.Top == -1) GridEdge(r2, aGrid.ToRowIndex > aGrid.FromRowIndex, aGrid.ToMidPixel, aGrid.AreaHeight);
    }
    // An end still without a place is put beside the other one.
    if (r1.Top == -1) r1 = Rect(r2.Right + 10, r2.Top, 2 * r2.Right - r2.Left + 10, r2.Bottom);
    if (r2.Top == -1) {
        const int shift = r1.Right - r1.Left + 10;
        r2 = Rect(r1.Left - shift, r1.Top, r1.Right - shift, r1.Bottom);
    }

    switch (aShow) {
    case TLinkShow::lsOneEndVisible: route.Show = fromVisible || toVisible; break;
    case TLinkShow::lsBothEndsVisible: route.Show = fromVisible && toVisible; break;
    case TLinkShow::lsAlways: route.Show = !(r1.Top == -1 && r2.Top == -1); break;
    }
    if (!route.Show) return route;

    TPoint p{MidX(r1), MidY(r1)};
    TPoint q{MidX(r2), 0};
    const TLinkStyle kind = aSameRow ? TLinkStyle::tlsDefault : aStyle;
    const bool msProject = kind == TLinkStyle::tlsMSProject;
    if (msProject)
        q.Y = r1.Top < r2.Top ? r2.Top : r2.Bottom;
    else
        q.Y = MidY(r2);

    int off = 0;
    switch (anOption) {
    case TLinkStartFinishOption::tlsfNormal:
        if (MidX(r1) < MidX(r2)) {
            p.X = r1.Right, q.X = r2.Left, off = 3;
        } else {
            p.X = r1.Left, q.X = r2.Right, off = -3;
        }
        break;
    case TLinkStartFinishOption::tlsfSS:
        p.X = r1.Left, q.X = r2.Left, off = 0;
        q.Y = MidY(r2);
        break;
    case TLinkStartFinishOption::tlsfSF: p.X = r1.Left, q.X = r2.Right, off = -3; break;
    case TLinkStartFinishOption::tlsfFS: p.X = r1.Right, q.X = r2.Left, off = 3; break;
    case TLinkStartFinishOption::tlsfFF: p.X = r1.Right, q.X = r2.Right, off = -3; break;
    }
    if (msProject) q.X += off;

    route.Start = p;
    route.Stop = q;
    route.Kind = kind;
    route.UserDraw = aStyle == TLinkStyle::tlsUserDraw;
    return route;
}

TvxLinkSizes TvxLinkSizes::Scaled(double aScaleX, double aScaleY)
{
    return {Round(3 * aScaleX), Round(3 * aScaleY), Round(7 * aScaleX)};
}

TvxLinkPath LinkPath(TPoint A, TPoint B, TLinkStyle aStyle, bool aStartToStart, const TvxLinkSizes& aSizes)
{
    const int a = aSizes.ArrowHalfWidth, b = aSizes.MSArrowSize, g = aSizes.SSMargin;
    int dir = 1;
    TPoint e = B;
    TvxLinkPath path;
    path.Points.push_back(A);
    auto openArrow = [&] {
        path.Arrow = {TPoint{e.X - a * dir, e.Y - a}, TPoint{e.X - a * dir, e.Y + a}};
    };
    if (aStartToStart) {
        const int x = std::min(A.X, B.X) - g;
        path.Points.insert(path.Points.end(), {TPoint{x, A.Y}, TPoint{x, e.Y}, e});
        openArrow();
    } else if (aStyle == TLinkStyle::tlsDefault) {
        if (A.X > B.X) dir = -1;
        e.X = B.X - dir;  // one pixel short of B on the approach side
        const int m = A.X + (e.X - A.X) / 2;
        path.Points.insert(path.Points.end(), {TPoint{m, A.Y}, TPoint{m, e.Y}, e});
        openArrow();
    } else if (aStyle == TLinkStyle::tlsMSProject) {
        if (A.Y < B.Y) dir = -1;
        e.X = A.X < B.X ? B.X + b : B.X - b;
        e.Y = B.Y + dir;
        path.Points.insert(path.Points.end(), {TPoint{e.X, A.Y}, TPoint{e.X, e.Y + b * dir}});
        path.Arrow = {TPoint{e.X - b, e.Y + b * dir}, TPoint{e.X + b, e.Y + b * dir}};
        path.ArrowFilled = true;
    }
    path.Tip = e;
    return path;
}

void DrawLink(TPoint A, TPoint B, TCanvas& aCanvas, TLinkStyle aStyle, TColor aColor, bool aStartToStart,
              const TvxLinkSizes& aSizes)
{
    TvxLinkPath path = LinkPath(A, B, aStyle, aStartToStart, aSizes);
    aCanvas.Pen().SetColor(aColor);
    const TPoint e = path.Tip;
    bool arrow = !path.Arrow.empty();
    if (arrow) {
        const TRect clip = GantCanvasClipRect(aCanvas);
        arrow = e.X >= clip.Left && e.X <= clip.Right && e.Y >= clip.Top && e.Y <= clip.Bottom;
    }
    // One polyline draws the same pixels as its LineTo steps (each leaves out only its end,
    // which the next one starts on); an open arrow continues it from the tip.
    if (arrow && !path.ArrowFilled) path.Points.insert(path.Points.end(), {path.Arrow[0], path.Arrow[1], e});
    if (path.Points.size() > 1) aCanvas.Polyline(path.Points);
    aCanvas.MoveTo(path.Points.back().X, path.Points.back().Y);
    if (arrow && path.ArrowFilled) {
        const TColor brush = aCanvas.Brush().GetColor();
        aCanvas.Brush().SetColor(aColor);
        aCanvas.Polygon({e, path.Arrow[0], path.Arrow[1]});
        aCanvas.Brush().SetColor(brush);
    }
}

bool RenderLink(TCanvas& aCanvas, const TvxLinkEnd& aFrom, const TvxLinkEnd& aTo, bool aSameRow,
                TLinkStartFinishOption anOption, TLinkStyle aStyle, TColor aColor, TLinkShow aShow,
                const TvxLinkSizes& aSizes, const TOnDrawUserLink& anOnUserDraw, const TvxLinkGridEnds& aGrid)
{
    const TvxLinkRoute route = RouteLink(aFrom, aTo, aSameRow, anOption, aStyle, aShow, aGrid);
    if (!route.Show) return false;
    if (route.UserDraw) {
        if (anOnUserDraw) anOnUserDraw(aCanvas, route.Start, route.Stop);
    } else {
        DrawLink(route.Start, route.Stop, aCanvas, route.Kind, aColor, anOption == TLinkStartFinishOption::tlsfSS,
                 aSizes);
    }
    return true;
}

}  // namespace vxplan
