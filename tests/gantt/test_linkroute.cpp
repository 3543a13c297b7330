// Link routing (show test, anchors, kinds) and drawn links with their arrow heads.
#include "gantt/vxGantLinkRoute.h"
#include "platform/vxBitmap.h"
#include "platform/vxColor.h"
#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

using namespace vxplan;
using vxplan::test::CountPixels;
using vxplan::test::PixelAt;

namespace {

constexpr TColor kWhite = 0xFFFFFF, kLink = 0xFF0000;
const TRect kPred = Rect(100, 20, 200, 40);   // middle y 30
const TRect kSucc = Rect(300, 60, 400, 80);   // middle y 70, below

TvxLinkEnd On(const TRect& r) { return {r, true}; }

TvxLinkRoute Route(TLinkStartFinishOption o, TLinkStyle s, bool sameRow = false,
                   TLinkShow show = TLinkShow::lsOneEndVisible)
{
    return RouteLink(On(kPred), On(kSucc), sameRow, o, s, show);
}

struct Surface {
    TBitmap bmp{500, 120};
    Surface()
    {
        bmp.Canvas().Brush().SetColor(kWhite);
        bmp.Canvas().FillRect(Rect(0, 0, 500, 120));
    }
    TColor at(int x, int y) { return PixelAt(bmp.Image(), x, y); }
    int count(int x0, int y0, int x1, int y1) { return CountPixels(bmp.Image(), kLink, x0, y0, x1, y1); }
    void Draw(const TvxLinkRoute& r, bool ss = false)
    {
        DrawLink(r.Start, r.Stop, bmp.Canvas(), r.Kind, kLink, ss);
    }
};

}  // namespace

TEST(LinkRoute, FinishToStartStepsThroughTheMiddleToAnOpenArrow)
{
    const TvxLinkRoute r = Route(TLinkStartFinishOption::tlsfNormal, TLinkStyle::tlsDefault);
    ASSERT_TRUE(r.Show);
    EXPECT_EQ(r.Start, (TPoint{200, 30}));
    EXPECT_EQ(r.Stop, (TPoint{300, 70}));
    EXPECT_EQ(r.Kind, TLinkStyle::tlsDefault);

    const TvxLinkPath path = LinkPath(r.Start, r.Stop, r.Kind, false, {});
    const std::vector<TPoint> expected = {{200, 30}, {249, 30}, {249, 70}, {299, 70}};
    EXPECT_EQ(path.Points, expected);
    EXPECT_EQ(path.Tip, (TPoint{299, 70}));
    EXPECT_FALSE(path.ArrowFilled);

    Surface s;
    s.Draw(r);
    EXPECT_EQ(s.count(200, 30, 249, 31), 49);
    EXPECT_EQ(s.count(249, 30, 250, 70), 40);
    EXPECT_EQ(s.at(299, 70), kLink) << "the tip";
    EXPECT_EQ(s.at(297, 68), kLink);
    EXPECT_EQ(s.at(296, 72), kLink);
    EXPECT_EQ(s.at(300, 70), kWhite) << "one pixel short of the successor";
    EXPECT_EQ(s.at(297, 69), kWhite) << "open arrow";

    // Successor to the left: from the predecessor's left to the successor's right.
    const TvxLinkRoute back = RouteLink(On(kSucc), On(kPred), false, TLinkStartFinishOption::tlsfNormal,
                                        TLinkStyle::tlsDefault, TLinkShow::lsOneEndVisible);
    EXPECT_EQ(back.Start, (TPoint{300, 70}));
    EXPECT_EQ(back.Stop, (TPoint{200, 30}));
    EXPECT_EQ(LinkPath(back.Start, back.Stop, back.Kind, false, {}).Tip, (TPoint{201, 30}));
}

TEST(LinkRoute, MSProjectRunsOutThenDownToAFilledArrowAboveTheSuccessor)
{
    const TvxLinkRoute r = Route(TLinkStartFinishOption::tlsfNormal, TLinkStyle::tlsMSProject);
    EXPECT_EQ(r.Stop, (TPoint{303, 60}));
    const TvxLinkPath path = LinkPath(r.Start, r.Stop, r.Kind, false, {});
    const std::vector<TPoint> expected = {{200, 30}, {306, 30}, {306, 56}};
    EXPECT_EQ(path.Points, expected);
    EXPECT_TRUE(path.ArrowFilled);

    Surface s;
    s.Draw(r);
    EXPECT_EQ(s.count(200, 30, 306, 31), 106);
    EXPECT_EQ(s.count(306, 30, 307, 58), 28);
    EXPECT_EQ(s.at(306, 59), kLink) << "the tip, one pixel above the successor";
    EXPECT_EQ(s.at(306, 60), kWhite);
    EXPECT_EQ(s.at(304, 57), kLink) << "filled";
    EXPECT_EQ(s.at(308, 57), kLink);

    // A successor above: the link meets its bottom, the arrow points up.
    const TvxLinkRoute up = RouteLink(On(kSucc), On(kPred), false, TLinkStartFinishOption::tlsfFS,
                                      TLinkStyle::tlsMSProject, TLinkShow::lsOneEndVisible);
    EXPECT_EQ(up.Stop, (TPoint{103, 40}));
    EXPECT_EQ(LinkPath(up.Start, up.Stop, up.Kind, false, {}).Tip, (TPoint{100, 41}));

    // Within one row it is always the stepped default.
    const TvxLinkRoute same = Route(TLinkStartFinishOption::tlsfNormal, TLinkStyle::tlsMSProject, true);
    EXPECT_EQ(same.Kind, TLinkStyle::tlsDefault);
    EXPECT_EQ(same.Stop, (TPoint{300, 70}));
}

TEST(LinkRoute, AnchorsFollowTheStartFinishOption)
{
    using O = TLinkStartFinishOption;
    struct Case {
        O option;
        int px, qx, msqx;
    } cases[] = {{O::tlsfSS, 100, 300, 300}, {O::tlsfSF, 100, 400, 397}, {O::tlsfFS, 200, 300, 303},
                 {O::tlsfFF, 200, 400, 397}};
    for (const Case& c : cases) {
        const TvxLinkRoute d = Route(c.option, TLinkStyle::tlsDefault);
        EXPECT_EQ(d.Start, (TPoint{c.px, 30}));
        EXPECT_EQ(d.Stop, (TPoint{c.qx, 70}));
        const TvxLinkRoute m = Route(c.option, TLinkStyle::tlsMSProject);
        EXPECT_EQ(m.Stop.X, c.msqx);
        EXPECT_EQ(m.Stop.Y, c.option == O::tlsfSS ? 70 : 60) << "start-to-start keeps the middle";
    }
}

TEST(LinkRoute, StartToStartIsABracketLeftOfTheEarlierStart)
{
    const TvxLinkRoute r = Route(TLinkStartFinishOption::tlsfSS, TLinkStyle::tlsMSProject);
    Surface s;
    s.Draw(r, true);
    EXPECT_EQ(s.count(93, 30, 101, 31), 8);
    EXPECT_EQ(s.count(93, 30, 94, 70), 40);
    EXPECT_EQ(s.at(92, 50), kWhite);
    EXPECT_EQ(s.count(93, 70, 300, 71), 207);
    EXPECT_EQ(s.at(300, 70), kLink) << "open arrow at the successor's left edge";
    EXPECT_EQ(s.at(298, 68), kLink);
    EXPECT_EQ(s.at(299, 70), kLink);
    EXPECT_EQ(s.at(301, 70), kWhite);

    const TvxLinkSizes printed = TvxLinkSizes::Scaled(2.0, 3.0);
    EXPECT_EQ(printed.SSMargin, 14);
    EXPECT_EQ(printed.ArrowHalfWidth, 6);
    EXPECT_EQ(printed.MSArrowSize, 9);
    EXPECT_EQ(LinkPath({100, 30}, {300, 70}, TLinkStyle::tlsDefault, true, printed).Points[1].X, 86);
}

TEST(LinkRoute, ArrowOutsideTheClipIsLeftOutButTheLineIsDrawn)
{
    // The tip at (299, 48) is above a clip starting at y = 50; its wings would reach into it.
    for (int clipTop : {50, 48}) {
        Surface s;
        IntersectClipRect(s.bmp.Canvas().GetHandle(), 0, clipTop, 500, 120);
        DrawLink({100, 80}, {300, 48}, s.bmp.Canvas(), TLinkStyle::tlsDefault, kLink, false);
        EXPECT_EQ(s.count(199, 50, 200, 80), 30) << clipTop;
        if (clipTop == 50)
            EXPECT_EQ(s.count(290, 50, 300, 52), 0);
        else
            EXPECT_GT(s.count(290, 50, 300, 52), 0);
    }
    // Past the bitmap with no clip selected: the device bounds decide.
    Surface e;
    DrawLink({100, 30}, {560, 70}, e.bmp.Canvas(), TLinkStyle::tlsDefault, kLink, false);
    EXPECT_EQ(e.count(329, 30, 330, 70), 40);
    EXPECT_EQ(e.count(329, 70, 500, 71), 171);
    EXPECT_EQ(e.count(490, 60, 500, 69), 0) << "no arrow wings";
}

TEST(LinkRoute, ShowTestByLinkShow)
{
    using S = TLinkShow;
    const TvxLinkEnd seen = On(kPred), later{kSucc, false}, gone{kNoItemRect, false};
    auto show = [](TvxLinkEnd a, TvxLinkEnd b, S s) {
        return RouteLink(a, b, false, TLinkStartFinishOption::tlsfFS, TLinkStyle::tlsDefault, s).Show;
    };
    EXPECT_TRUE(show(seen, later, S::lsOneEndVisible));
    EXPECT_FALSE(show(seen, later, S::lsBothEndsVisible));
    EXPECT_TRUE(show(seen, On(kSucc), S::lsBothEndsVisible));
    EXPECT_FALSE(show(later, later, S::lsOneEndVisible));
    EXPECT_TRUE(show(later, later, S::lsAlways));
    EXPECT_FALSE(show(gone, gone, S::lsAlways));

    // An end without a rectangle sits beside the other, one width plus 10 away.
    const TvxLinkRoute lost = RouteLink(gone, seen, false, TLinkStartFinishOption::tlsfFS, TLinkStyle::tlsDefault,
                                        S::lsAlways);
    EXPECT_EQ(lost.Start, (TPoint{310, 30}));
    const TvxLinkRoute lost2 = RouteLink(seen, gone, false, TLinkStartFinishOption::tlsfFS, TLinkStyle::tlsDefault,
                                         S::lsOneEndVisible);
    EXPECT_EQ(lost2.Stop, (TPoint{-10, 30}));

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
    TvxLinkGridEnds grid{true, 3, 40, 0, 250, 120};
    const TvxLinkRoute down = RouteLink(On(kPred), {kNoItemRect, false}, false, TLinkStartFinishOption::tlsfFS,
                                        TLinkStyle::tlsDefault, TLinkShow::lsOneEndVisible, grid);
    EXPECT_EQ(down.Stop, (TPoint{250, 130}));
    grid = {true, 40, 3, 0, 250, 120};
    const TvxLinkRoute up = RouteLink(On(kPred), {kNoItemRect, false}, false, TLinkStartFinishOption::tlsfFS,
                                      TLinkStyle::tlsDefault, TLinkShow::lsOneEndVisible, grid);
    EXPECT_EQ(up.Stop, (TPoint{250, -10}));
}

TEST(LinkRoute, UserDrawnLinksDrawNothingThemselves)
{
    const TvxLinkRoute r = Route(TLinkStartFinishOption::tlsfFS, TLinkStyle::tlsUserDraw);
    EXPECT_TRUE(r.UserDraw);
    EXPECT_EQ(Route(TLinkStartFinishOption::tlsfFS, TLinkStyle::tlsUserDraw, true).UserDraw, true);
    Surface s;
    s.bmp.Canvas().Brush().SetColor(clYellow);
    DrawLink(r.Start, r.Stop, s.bmp.Canvas(), TLinkStyle::tlsUserDraw, kLink, false);
    EXPECT_EQ(s.count(0, 0, 500, 120), 0);
    DrawLink({200, 30}, {303, 60}, s.bmp.Canvas(), TLinkStyle::tlsMSProject, kLink, false);
    EXPECT_EQ(s.bmp.Canvas().Brush().GetColor(), clYellow) << "brush restored after the filled arrow";
}
