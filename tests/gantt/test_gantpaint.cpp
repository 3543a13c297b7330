// The chart's paint as a whole: items of the rows in view at their rectangles, their marks and
// texts, the today line from the application clock, the stripes, and the links that the chart
// decides on from its model.
#include "vxGantFixture.h"

#include <vxplan/gantt/vxGantInspect_p.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vxplan;
using vxplan::test::CountPixels;
using vxplan::test::GantChart;
using vxplan::test::kMonday;
using vxplan::test::ExpectPixels;
using vxplan::test::PixelAt;

namespace {

constexpr TColor kBack = 0xD0D0D0, kStripe = 0xA0A0A0, kItem = 0x3080F0, kLink = 0x0000C0, kMark = 0x00A000;

struct PaintChart : GantChart {
    std::vector<TvxDataEntity_Tree*> n;
    explicit PaintChart(int nodes = 6)
    {
        gant->SetGantBackColor(kBack);
        gant->SetGantPyjamasColor(kStripe);
        gant->SetDrawLongLines(false);
        for (int i = 0; i < nodes; ++i) n.push_back(Node(nullptr, "N" + std::to_string(i)));
    }
    TvxDataEntity_Chronbar* Bar(int row, double from, double to, TChronbarStyle style = TChronbarStyle::gtsSquare)
    {
        auto* item = Item(n[static_cast<size_t>(row)], kMonday + from, kMonday + to);
        item->SetStyle(style);
        item->SetColor(kItem);
        return item;
    }
    TvxDataEntity_Link* Join(TvxDataEntity_Chronbar* from, TvxDataEntity_Chronbar* to,
                             TLinkStyle style = TLinkStyle::tlsDefault)
    {
        TvxDataEntity_Link* link = gant->AddLink();
        link->SetFromItem(from);
        link->SetToItem(to);
        link->SetLinkStyle(style);
        link->SetColor(kLink);
        return link;
    }
    QImage image;
    TColor At(int x, int y) { return PixelAt(image, x, y); }
    // A fresh paint, whatever the platform has been told since the last one.
    void Paint()
    {
        ga->Invalidate();
        image = ga->GrabImage();
    }
};

}  // namespace

TEST(GantPaint, ItemsOfEachStyleAppearAtTheirRectanglesThroughTheChart)
{
    PaintChart c(80);
    auto* square = c.Bar(0, 1, 3);
    c.Bar(1, 1, 3, TChronbarStyle::gtsLine);
    c.Bar(2, 1, 3, TChronbarStyle::gtsRomb);
    c.Bar(3, 1, 3, TChronbarStyle::gtsPipe);
    auto* later = c.Bar(30, 4, 6);
    c.Bar(4, 11, 12);  // after the visible range: nothing
    c.Paint();
    EXPECT_EQ(c.ItemRect(square), TRect(50, 1, 150, 19));
    EXPECT_EQ(c.At(100, 10), kItem);
    EXPECT_EQ(c.At(50, 10), clBlack) << "the frame";
    EXPECT_EQ(c.At(150, 10), c.At(160, 10)) << "nothing right of the bar";
    // A line bar: a thick line through the middle, the band above it left alone.
    EXPECT_EQ(c.At(100, 30), kItem);
    EXPECT_NE(c.At(100, 23), kItem);
    // A diamond: its tips on the middle line, not its corners.
    EXPECT_EQ(c.At(52, 50), kItem);
    EXPECT_NE(c.At(52, 43), kItem);
    // A pipe is shaded across its height: not one flat colour.
    EXPECT_NE(c.At(100, 62), c.At(100, 70));
    EXPECT_NE(c.At(100, 70), c.At(160, 70));
    EXPECT_EQ(CountPixels(c.image, kItem, 0, 80, 500, 100), 0);
    // A row far down shows its item once the tree is scrolled there.
    EXPECT_GT(CountPixels(c.image, kItem, 0, 0, 500, c.ga->GetHeight()), 0);
    c.tree->SetTopItem(c.n[25]);
    c.Paint();
    const TRect r = c.ItemRect(later);
    EXPECT_EQ(r, TRect(200, 101, 300, 119));
    EXPECT_EQ(c.At(250, 110), kItem);
    EXPECT_EQ(CountPixels(c.image, kItem, 0, 0, 500, 100), 0) << "rows above it show no items";
}

TEST(GantPaint, SelectionAndFocusMarksFollowTheRow)
{
    PaintChart c;
    auto* a = c.Bar(0, 1, 3);
    auto* b = c.Bar(1, 1, 3);
    c.Row(c.n[0])->SetSelectColor(kMark);
    c.Row(c.n[1])->SetSelectColor(kMark);
    a->SetSelected(true);
    c.gant->SetActiveDataEntity(a);
    c.Paint();
    // Corner squares 5 x 5 inside the bar, its middle left alone.
    ExpectPixels(c.image, {{50, 1, kMark}, {54, 5, kMark}, {149, 18, kMark}, {100, 10, kItem}});
    // The dotted focus frame 2 pixels inside: some of its pixels differ from the bar.
    int dotted = 0;
    for (int x = 60; x < 140; ++x) dotted += c.At(x, 3) != kItem;
    EXPECT_GT(dotted, 20);
    EXPECT_EQ(c.At(100, 2), kItem) << "one pixel outside the frame";
    EXPECT_EQ(CountPixels(c.image, kMark, 0, 20, 500, 40), 0);

    // Rows that hide their marks draw the bar only.
    b->SetSelected(true);
    c.Row(c.n[1])->SetShowSelection(false);
    c.Row(c.n[0])->SetShowActive(false);
    c.Paint();
    EXPECT_EQ(CountPixels(c.image, kMark, 50, 20, 150, 40), 0);
    for (int x = 60; x < 140; ++x) ASSERT_EQ(c.At(x, 3), kItem) << x;
}

TEST(GantPaint, TodayLineAtNoonOfTheClocksDayAndStripes)
{
    PaintChart c;
    c.gant->SetTodayLineColor(kLink);
    c.Paint();
    EXPECT_EQ(CountPixels(c.image, kLink, 0, 0, 500, 200), 0) << "off by default";
    // Row stripes: the top row mixes the two colours, the next is plain background.
    ExpectPixels(c.image, {{0, 0, kBack}, {1, 0, kStripe}, {1, 21, kBack}, {0, 40, kBack}, {1, 40, kStripe}});

    // The test clock stands at Monday 09:36: the line is at Monday noon, x = 25.
    c.gant->SetTodayLineOnOff(true);
    c.Paint();
    for (int y : {0, 30, 200}) EXPECT_EQ(c.At(25, y), kLink) << y;
    EXPECT_NE(c.At(24, 30), kLink);
    c.clock.Clock().SetNow(kMonday + 3.9);
    c.Paint();
    EXPECT_EQ(c.At(175, 30), kLink);
    EXPECT_NE(c.At(25, 30), kLink);
    // Today's noon before the range: no line at all.
    c.clock.Clock().SetNow(kMonday - 2);
    c.Paint();
    EXPECT_EQ(CountPixels(c.image, kLink, 0, 0, 500, 200), 0);
}

TEST(GantPaint, LinkBetweenTwoRowsStepsThroughTheMiddle)
{
    PaintChart c;
    auto* a = c.Bar(0, 1, 2);  // 50..100, middle y 10
    auto* b = c.Bar(2, 3, 4);  // 150..200, middle y 50
    c.Join(a, b);
    c.Paint();
    EXPECT_EQ(TGantInspector::LinksDrawnAtLastPaint(*c.gant), 1);
    // Out of the predecessor's right edge, down at x = 124, into the successor's left edge.
    ExpectPixels(c.image, {{110, 10, kLink}, {124, 30, kLink}, {140, 50, kLink}});
    EXPECT_EQ(c.At(146, 47), kLink) << "the open arrow";
    EXPECT_EQ(c.At(99, 10), clBlack) << "the bar's frame is not painted over";

    // A link whose ends are both before the visible range is never drawn.
    c.Range(kMonday + 5, kMonday + 15);
    c.gant->SetLinkShow(TLinkShow::lsAlways);
    c.Paint();
    EXPECT_EQ(TGantInspector::LinksDrawnAtLastPaint(*c.gant), 0);
    EXPECT_EQ(CountPixels(c.image, kLink, 0, 0, 500, 200), 0);
}

TEST(GantPaint, LinksToItemsScrolledOutOfView)
{
    PaintChart c(40);
    auto* top = c.Bar(0, 1, 2);     // row 0
    auto* mid = c.Bar(12, 3, 4);    // row 12
    auto* late = c.Bar(14, 12, 13); // after the visible range
    c.Join(top, mid);
    c.Join(mid, late);
    // The tree scrolls once it has shown its new nodes.
    c.tree->EnsureDisplayUpToDate();
    c.tree->SetTopItem(c.n[10]);
    c.Paint();
    // Row 0 lies 200 pixels above the area: the link comes down into it at x = 124 and enters
    // the successor in row 12, now the area's third row (middle y 50).
    ExpectPixels(c.image, {{124, 0, kLink}, {124, 45, kLink}, {140, 50, kLink}});
    // The successor after the range: the link leaves through the right edge.
    EXPECT_EQ(c.At(499, 90), kLink);
    EXPECT_EQ(TGantInspector::LinksDrawnAtLastPaint(*c.gant), 2);

    // Both ends must show: neither link is drawn.
    c.gant->SetLinkShow(TLinkShow::lsBothEndsVisible);
    c.Paint();
    EXPECT_EQ(CountPixels(c.image, kLink, 0, 0, 500, 300), 0);
    // A collapsed or hidden end's row hides the link whatever LinkShow says.
    c.gant->SetLinkShow(TLinkShow::lsAlways);
    c.n[0]->Set_HideNode(true);
    c.Paint();
    EXPECT_NE(c.At(124, 0), kLink) << "the hidden row's link is gone";
    EXPECT_EQ(TGantInspector::LinksDrawnAtLastPaint(*c.gant), 1);
}

TEST(GantPaint, LinksFarFromTheViewAreNotVisited)
{
    PaintChart c(40);
    c.tree->EnsureDisplayUpToDate();
    c.tree->SetTopItem(c.n[10]);
    // Two rows far above the view: that link is not even looked at. One from far above to far
    // below crosses the whole area.
    c.Join(c.Bar(1, 5, 6), c.Bar(3, 7, 8));
    c.Paint();
    EXPECT_EQ(TGantInspector::LinksVisitedAtLastPaint(*c.gant), 0);
    c.Join(c.Bar(2, 5, 6), c.Bar(39, 7, 8));
    c.Paint();
    EXPECT_EQ(TGantInspector::LinksVisitedAtLastPaint(*c.gant), 1);
    ExpectPixels(c.image, {{324, 0, kLink}, {324, 300, kLink}});
    // Moving a far row next to the view brings its link in.
    c.tree->ChangeOwner(c.n[3], c.n[11]);
    c.n[11]->SetExpanded(true);
    c.Paint();
    EXPECT_EQ(TGantInspector::LinksVisitedAtLastPaint(*c.gant), 2);

}

TEST(GantPaint, UserDrawnLinksItemsAndForegroundReachTheApplication)
{
    PaintChart c;
    auto* a = c.Bar(0, 1, 2, TChronbarStyle::gtsUser);
    auto* b = c.Bar(1, 3, 4);
    TvxDataEntity_Link* link = c.Join(a, b, TLinkStyle::tlsUserDraw);
    std::vector<TvxDataEntity_Link*> links;
    std::vector<TPoint> ends;
    std::vector<TRect> items, foreground;
    c.gant->OnUserDrawLinks = [&](TvxGant_ComBasic*, TvxDataEntity_Link* l, TCanvas&, const TPoint& p, const TPoint& q) {
        links.push_back(l);
        ends = {p, q};
    };
    c.gant->OnUserDrawTime = [&](TvxGant_ComBasic*, TvxDataEntity_Chronbar* item, TCanvas& canvas, const TRect& r) {
        EXPECT_EQ(item, a);
        items.push_back(r);
        canvas.Brush().SetColor(kMark);
        canvas.FillRect(r);
    };
    c.gant->OnUserDrawForeground = [&](TvxGant_ComBasic*, const TRect& r, TCanvas&) { foreground.push_back(r); };
    c.Paint();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0], link);
    EXPECT_EQ(ends[0], (TPoint{100, 10}));
    EXPECT_EQ(ends[1], (TPoint{150, 30}));
    EXPECT_EQ(CountPixels(c.image, kLink, 0, 0, 500, 100), 0) << "the chart draws no line itself";
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0], TRect(50, 1, 100, 19));
    EXPECT_EQ(c.At(75, 10), kMark);
    ASSERT_EQ(foreground.size(), 1u);
    EXPECT_EQ(foreground[0], TRect(0, 0, c.ga->GetWidth(), c.ga->GetHeight()));
}

TEST(GantPaint, TextsInTheirStylesClippedToTheBar)
{
    PaintChart c;
    TFont big;
    big.SetColor(kMark);
    big.SetSize(14);
    c.gant->SetFontTimeItemStyle2(big);
    TFont other;
    other.SetColor(kLink);
    other.SetSize(14);
    c.gant->SetFontTimeItemStyle1(other);
    auto* a = c.Bar(0, 1, 2);  // 50..100
    a->GetTexts()->AddText("WWWWWWWWWW", 2, 0, 2);
    auto* b = c.Bar(1, 1, 2);
    b->GetTexts()->AddText("WWWW", 2, 0, 7);  // unknown style: the first font
    b->GetTexts()->AddText("WWWW", 60, 0, 2); // starts beyond the bar: not drawn
    c.Paint();
    EXPECT_GT(CountPixels(c.image, kMark, 52, 1, 99, 19), 10);
    EXPECT_EQ(CountPixels(c.image, kMark, 99, 0, 500, 20), 0) << "clipped before the bar's last column";
    EXPECT_GT(CountPixels(c.image, kLink, 52, 21, 99, 39), 10);
    EXPECT_EQ(CountPixels(c.image, kMark, 0, 20, 500, 40), 0);
}
