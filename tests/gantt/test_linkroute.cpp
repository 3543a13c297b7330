// Link routing (show test, anchors, kinds) and drawn links with their arrow heads.
#include <vxplan/gantt/vxGantLinkRoute_p.h>
#include <vxplan/platform/graphics/vxBitmap.h>
#include <vxplan/platform/graphics/vxColor.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

using namespace vxplan;
using O = TLinkStartFinishOption;
using S = TLinkStyle;
using Show = TLinkShow;

namespace {

constexpr TColor kWhite = 0xFFFFFF, kLink = 0xFF0000;
const TRect kPred = Rect(100, 20, 200, 40);  // middle y 30
const TRect kSucc = Rect(300, 60, 400, 80);  // middle y 70, below

TvxLinkEnd On(const TRect& r) { return {r, true}; }

TvxLinkRoute Route(O o, S s, bool sameRow = false)
{
    return RouteLink(On(kPred), On(kSucc), sameRow, o, s, Show::lsOneEndVisible);
}

struct Surface {
    TBitmap bmp{500, 120};
    Surface()
    {
        bmp.Canvas().Brush().SetColor(kWhite);
        bmp.Canvas().FillRect(Rect(0, 0, 500, 120));
    }
    TColor at(int x, int y) { return vxplan::test::PixelAt(bmp.Image(), x, y); }
    int count(int x0, int y0, int x1, int y1) { return vxplan::test::CountPixels(bmp.Image(), kLink, x0, y0, x1, y1); }
    void Draw(TPoint a, TPoint b, S kind, bool ss = false) { DrawLink(a, b, bmp.Canvas(), kind, kLink, ss); }
};

}  // namespace

TEST(LinkRoute, FinishToStartStepsThroughTheMiddleToAnOpenArrow)
{
    const TvxLinkRoute r = Route(O::tlsfNormal, S::tlsDefault);
    ASSERT_TRUE(r.Show);
    EXPECT_EQ(r.Start, (TPoint{200, 30}));
    EXPECT_EQ(r.Stop, (TPoint{300, 70}));
    const std::vector<TPoint> expected = {{200, 30}, {249, 30}, {249, 70}, {299, 70}};
    EXPECT_EQ(LinkPath(r.Start, r.Stop, r.Kind, false, {}).Points, expected);

    Surface s;
    s.Draw(r.Start, r.Stop, r.Kind);
    EXPECT_EQ(s.count(200, 30, 249, 31), 49);
    EXPECT_EQ(s.count(249, 30, 250, 70), 40);
    EXPECT_EQ(s.at(299, 70), kLink) << "the tip, one pixel short of the successor";
    EXPECT_EQ(s.at(297, 68), kLink);
    EXPECT_EQ(s.at(296, 72), kLink);
    EXPECT_EQ(s.at(300, 70), kWhite);
    EXPECT_EQ(s.at(297, 69), kWhite) << "open arrow";

    // Successor to the left: from the predecessor's left to the successor's right.
    const TvxLinkRoute back = RouteLink(On(kSucc), On(kPred), false, O::tlsfNormal, S::tlsDefault, Show::lsAlways);
    EXPECT_EQ(back.Start, (TPoint{300, 70}));
    EXPECT_EQ(back.Stop, (TPoint{200, 30}));
    EXPECT_EQ(LinkPath(back.Start, back.Stop, back.Kind, false, {}).Tip, (TPoint{201, 30}));
}

TEST(LinkRoute, MSProjectRunsOutThenDownToAFilledArrowAboveTheSuccessor)
{
    const TvxLinkRoute r = Route(O::tlsfNormal, S::tlsMSProject);
    EXPECT_EQ(r.Stop, (TPoint{303, 60}));
    const std::vector<TPoint> expected = {{200, 30}, {306, 30}, {306, 56}};
    EXPECT_EQ(LinkPath(r.Start, r.Stop, r.Kind, false, {}).Points, expected);

    Surface s;
    s.Draw(r.Start, r.Stop, r.Kind);
    EXPECT_EQ(s.count(200, 30, 306, 31), 106);
    EXPECT_EQ(s.count(306, 30, 307, 58), 28);
    EXPECT_EQ(s.at(306, 59), kLink) << "the tip, one pixel above the successor";
    EXPECT_EQ(s.at(306, 60), kWhite);
    EXPECT_EQ(s.at(304, 57), kLink) << "filled";
    EXPECT_EQ(s.at(308, 57), kLink);

    // A successor above: the link meets its bottom and the arrow points up.
    const TvxLinkRoute up = RouteLink(On(kSucc), On(kPred), false, O::tlsfFS, S::tlsMSProject, Show::lsAlways);
    EXPECT_EQ(up.Stop, (TPoint{103, 40}));
    EXPECT_EQ(LinkPath(up.Start, up.Stop, up.Kind, false, {}).Tip, (TPoint{100, 41}));

    // Within one row it is always the stepped default.
    const TvxLinkRoute same = Route(O::tlsfNormal, S::tlsMSProject, true);
    EXPECT_EQ(same.Kind, S::tlsDefault);
    EXPECT_EQ(same.Stop, (TPoint{300, 70}));
}

TEST(LinkRoute, MSProjectArrowHeadsAreSolidTrianglesPointingEitherWay)
{
    // Tip (306, 59) below wings at y 56, and tip (100, 41) above wings at y 44: each row of the
    // head is one unbroken run, one pixel narrower per row towards the tip.
    struct Case {
        TPoint from, to;
        int tipX, tipY, dir;
    } cases[] = {{{200, 30}, {303, 60}, 306, 59, -1}, {{300, 70}, {103, 40}, 100, 41, 1}};
    for (const Case& c : cases) {
        Surface s;
        s.Draw(c.from, c.to, S::tlsMSProject);
        const int b = TvxLinkSizes{}.MSArrowSize;
        for (int i = 0; i <= b; ++i) {
            const int y = c.tipY + i * c.dir, half = i;
            EXPECT_EQ(s.count(c.tipX - half, y, c.tipX + half + 1, y + 1), 2 * half + 1) << "row " << y;
            EXPECT_EQ(s.at(c.tipX - half - 1, y), kWhite) << "row " << y;
            EXPECT_EQ(s.at(c.tipX + half + 1, y), kWhite) << "row " << y;
        }
    }
}

TEST(LinkRoute, AnchorsFollowTheStartFinishOption)
{
    struct Case {
        O option;
        int px, qx, msqx;
    } cases[] = {{O::tlsfSS, 100, 300, 300}, {O::tlsfSF, 100, 400, 397}, {O::tlsfFS, 200, 300, 303},
                 {O::tlsfFF, 200, 400, 397}};
    for (const Case& c : cases) {
        const TvxLinkRoute d = Route(c.option, S::tlsDefault), m = Route(c.option, S::tlsMSProject);
        EXPECT_EQ(d.Start, (TPoint{c.px, 30}));
        EXPECT_EQ(d.Stop, (TPoint{c.qx, 70}));
        EXPECT_EQ(m.Stop, (TPoint{c.msqx, c.option == O::tlsfSS ? 70 : 60})) << "start-to-start keeps the middle";
    }
}

TEST(LinkRoute, StartToStartIsABracketLeftOfTheEarlierStart)
{
    const TvxLinkRoute r = Route(O::tlsfSS, S::tlsMSProject);
    Surface s;
    s.Draw(r.Start, r.Stop, r.Kind, true);
    EXPECT_EQ(s.count(93, 30, 101, 31), 8);
    EXPECT_EQ(s.count(93, 30, 94, 70), 40);
    EXPECT_EQ(s.at(92, 50), kWhite);
    EXPECT_EQ(s.count(93, 70, 300, 71), 207);
    EXPECT_EQ(s.at(300, 70), kLink) << "open arrow at the successor's left edge";
    EXPECT_EQ(s.at(298, 68), kLink);
    EXPECT_EQ(s.at(301, 70), kWhite);

    const TvxLinkSizes printed = TvxLinkSizes::Scaled(2.0, 3.0);
    EXPECT_EQ(printed.ArrowHalfWidth, 6);
    EXPECT_EQ(printed.MSArrowSize, 9);
    EXPECT_EQ(LinkPath({100, 30}, {300, 70}, S::tlsDefault, true, printed).Points[1].X, 86);
}

TEST(LinkRoute, ArrowOutsideTheClipIsLeftOutButTheLineIsDrawn)
{
    // The tip at (299, 48) lies above a clip starting at y = 50, which its wings reach into.
    for (int clipTop : {50, 48}) {
        Surface s;
        IntersectClipRect(s.bmp.Canvas().GetHandle(), 0, clipTop, 500, 120);
        s.Draw({100, 80}, {300, 48}, S::tlsDefault);
        EXPECT_EQ(s.count(199, 50, 200, 80), 30) << clipTop;
        EXPECT_EQ(s.count(290, 50, 300, 52) > 0, clipTop == 48) << clipTop;
    }
    // Past the bitmap with no clip selected: the device bounds decide.
    Surface e;
    e.Draw({100, 30}, {560, 70}, S::tlsDefault);
    EXPECT_EQ(e.count(329, 30, 330, 70), 40);
    EXPECT_EQ(e.count(329, 70, 500, 71), 171);
    EXPECT_EQ(e.count(490, 60, 500, 69), 0) << "no arrow wings";
}

TEST(LinkRoute, ShowTestByLinkShow)
{
    const TvxLinkEnd seen = On(kPred), later{kSucc, false}, gone{kNoRect, false};
    auto show = [](TvxLinkEnd a, TvxLinkEnd b, Show s) { return RouteLink(a, b, false, O::tlsfFS, S::tlsDefault, s).Show; };
    EXPECT_TRUE(show(seen, later, Show::lsOneEndVisible));
    EXPECT_FALSE(show(seen, later, Show::lsBothEndsVisible));
    EXPECT_TRUE(show(seen, On(kSucc), Show::lsBothEndsVisible));
    EXPECT_FALSE(show(later, later, Show::lsOneEndVisible));
    EXPECT_TRUE(show(later, later, Show::lsAlways));
    EXPECT_FALSE(show(gone, gone, Show::lsAlways));

    // An end without a rectangle sits beside the other, one width plus 10 away.
    EXPECT_EQ(RouteLink(gone, seen, false, O::tlsfFS, S::tlsDefault, Show::lsAlways).Start, (TPoint{310, 30}));
    EXPECT_EQ(RouteLink(seen, gone, false, O::tlsfFS, S::tlsDefault, Show::lsAlways).Stop, (TPoint{-10, 30}));

    // Both items entirely before (or after) the visible range: never a line.
    EXPECT_FALSE(LinePassesThroughWindow(9.0, 9.5, 10.0, 20.0));
    EXPECT_FALSE(LinePassesThroughWindow(21.0, 22.0, 10.0, 20.0));
    EXPECT_TRUE(LinePassesThroughWindow(9.0, 21.0, 10.0, 20.0));
    EXPECT_TRUE(LinePassesThroughWindow(10.0, 9.0, 10.0, 20.0));
    EXPECT_TRUE(ItemOverlapsRange(5.0, 10.0, 10.0, 20.0));
    EXPECT_FALSE(ItemOverlapsRange(20.5, 21.0, 10.0, 20.0));
}

TEST(LinkRoute, GridRowsScrolledAwayLeaveAtTheTopOrBottomEdge)
{
    for (auto [fromRow, toRow, y] : {std::tuple{3, 40, 130}, {40, 3, -10}}) {
        const TvxLinkGridEnds grid{true, fromRow, toRow, 0, 250, 120};
        const TvxLinkRoute r = RouteLink(On(kPred), {kNoRect, false}, false, O::tlsfFS, S::tlsDefault,
                                         Show::lsOneEndVisible, grid);
        EXPECT_EQ(r.Stop, (TPoint{250, y}));
    }
}

TEST(LinkRoute, UserDrawnLinksGoToTheApplication)
{
    Surface s;
    TCanvas& c = s.bmp.Canvas();
    std::vector<TPoint> seen;
    const TOnDrawUserLink user = [&](TCanvas&, TPoint a, TPoint b) { seen = {a, b}; };
    // Same row: routed as the default, but still the application's to draw.
    EXPECT_TRUE(RenderLink(c, On(kPred), On(kSucc), true, O::tlsfFS, S::tlsUserDraw, kLink, Show::lsAlways, {}, user));
    EXPECT_EQ(seen, (std::vector<TPoint>{{200, 30}, {300, 70}}));
    EXPECT_TRUE(RenderLink(c, On(kPred), On(kSucc), false, O::tlsfFS, S::tlsUserDraw, kLink, Show::lsAlways, {}, {}));
    s.Draw({200, 30}, {300, 70}, S::tlsUserDraw);
    EXPECT_EQ(s.count(0, 0, 500, 120), 0) << "nothing without a handler";

    const TvxLinkEnd later{kSucc, false};
    EXPECT_FALSE(RenderLink(c, later, later, false, O::tlsfFS, S::tlsDefault, kLink, Show::lsOneEndVisible, {}, {}));
    EXPECT_EQ(s.count(0, 0, 500, 120), 0);
    c.Brush().SetColor(clYellow);
    EXPECT_TRUE(RenderLink(c, On(kPred), On(kSucc), false, O::tlsfSS, S::tlsMSProject, kLink, Show::lsOneEndVisible,
                           {}, user));
    EXPECT_EQ(s.count(93, 30, 94, 70), 40) << "start-to-start bracket";
    s.Draw({200, 30}, {303, 60}, S::tlsMSProject);
    EXPECT_EQ(c.Brush().GetColor(), clYellow) << "brush kept after the filled arrow";
}
