// Time items in each style, their marks, bounding of long bars, and the area background.
#include <vxplan/gantt/vxGantBackground_p.h>
#include <vxplan/gantt/vxGantItemPaint_p.h>
#include <vxplan/platform/graphics/vxColor.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

using namespace vxplan;
using vxplan::test::CountPixels;
using vxplan::test::PixelAt;

namespace {

constexpr TColor kWhite = 0xFFFFFF, kItem = 0x3080F0, kMark = 0x00A000, kBack = 0xC0C0C0, kStripe = 0x808080;

struct Px {
    int x, y;
    TColor color;
};

struct Surface {
    TBitmap bmp;
    explicit Surface(int w = 400, int h = 100) : bmp(w, h)
    {
        bmp.Canvas().Brush().SetColor(kWhite);
        bmp.Canvas().FillRect(Rect(0, 0, w, h));
    }
    TCanvas& c() { return bmp.Canvas(); }
    TColor at(int x, int y) { return PixelAt(bmp.Image(), x, y); }
    int count(TColor color, int x0, int y0, int x1, int y1) { return CountPixels(bmp.Image(), color, x0, y0, x1, y1); }
    void expect(std::initializer_list<Px> pixels)
    {
        for (const Px& p : pixels) EXPECT_EQ(at(p.x, p.y), p.color) << "at " << p.x << ", " << p.y;
    }
    TRect Draw(TChronbarStyle style, const TRect& r, bool printing = false, const TOnDrawUserTime& user = {},
               const TCustomImageList* list = nullptr)
    {
        return DrawTimeItem(c(), r, {style, kItem, 0, list}, bmp.Width(), printing, 1.0, user);
    }
};

}  // namespace

TEST(ItemPaint, SquareIsFilledAndFramedAndClippedNearTheArea)
{
    Surface s;
    s.Draw(TChronbarStyle::gtsSquare, Rect(100, 20, 200, 40));
    s.expect({{150, 30, kItem}, {100, 30, clBlack}, {199, 30, clBlack}, {150, 39, clBlack}, {200, 30, kWhite},
              {150, 40, kWhite}});
    // A bar far past the right edge ends 10 pixels beyond it, so no frame shows at the edge.
    Surface t;
    EXPECT_EQ(t.Draw(TChronbarStyle::gtsSquare, Rect(-100, 20, 1000, 40)), Rect(-10, 20, 410, 40));
    t.expect({{0, 30, kItem}, {399, 30, kItem}});
}

TEST(ItemPaint, SpanIsAThinBarWithDownwardEarsSetIn)
{
    Surface s;
    s.Draw(TChronbarStyle::gtsSpan, Rect(100, 20, 200, 28));
    // The 4-pixel bar, nothing between the ears.
    s.expect({{150, 20, clBlack}, {150, 21, kItem}, {150, 22, kItem}, {150, 23, clBlack}, {150, 25, kWhite}});
    // Left ear around x = 105 (100 + 5/2 + 3) narrowing downward, black sides; the right one
    // mirrored around x = 194.
    s.expect({{104, 27, kItem}, {105, 27, kItem}, {104, 25, kItem}, {101, 25, clBlack}, {108, 25, clBlack},
              {101, 27, kWhite}, {104, 29, kWhite}, {193, 27, kItem}, {194, 27, kItem}, {190, 25, clBlack},
              {198, 27, kWhite}});
}

TEST(ItemPaint, LineStylesDrawAThickMiddleLineAndOptionalEndMarks)
{
    Surface s;
    s.Draw(TChronbarStyle::gtsLine, Rect(100, 20, 200, 40));
    s.expect({{150, 29, kItem}, {150, 30, kItem}, {150, 28, clBlack}, {150, 31, clBlack}, {150, 25, kWhite},
              {100, 22, kWhite}});
    Surface e;
    e.Draw(TChronbarStyle::gtsLineWEnd, Rect(100, 20, 200, 40));
    e.expect({{100, 22, clBlack}, {101, 38, clBlack}, {199, 22, clBlack}, {198, 38, clBlack}, {102, 22, kWhite}});
}

TEST(ItemPaint, WaveRunsOneSinePeriodAndRombIsAHollowDiamond)
{
    Surface s;
    s.Draw(TChronbarStyle::gtsWave, Rect(100, 20, 300, 60));
    // Below the middle first, crossing it half way, then above.
    s.expect({{200, 40, kItem}, {150, 59, kItem}, {250, 21, kItem}, {150, 40, kWhite}, {250, 40, kWhite}});
    // The thick line has no gaps, not even on its steep parts.
    for (int x = 100; x < 300; ++x) EXPECT_GE(s.count(kItem, x, 0, x + 1, 100), 3) << x;
    for (int y = 22; y < 59; ++y) EXPECT_GE(s.count(kItem, 100, y, 300, y + 1), 4) << y;

    Surface r;
    r.Draw(TChronbarStyle::gtsRomb, Rect(100, 20, 200, 60));
    r.expect({{150, 21, kItem}, {101, 40, kItem}, {125, 30, kItem}, {175, 50, kItem}, {150, 40, kWhite},
              {105, 25, kWhite}});
    for (int y = 22; y < 59; ++y) EXPECT_GE(r.count(kItem, 100, y, 150, y + 1), 2) << y;
}

TEST(ItemPaint, PipeImageAndUserStyles)
{
    Surface s;
    s.Draw(TChronbarStyle::gtsPipe, Rect(100, 20, 200, 60));
    auto sum = [](TColor c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    EXPECT_NE(s.at(150, 20), kWhite);
    EXPECT_GT(sum(s.at(150, 40)), sum(s.at(150, 20))) << "lighter in the middle";
    EXPECT_EQ(s.at(150, 60), kWhite);

    TBitmap red(16, 16);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect(Rect(0, 0, 16, 16));
    TImageList list;
    list.Add(red);
    Surface screen, print, none;
    screen.Draw(TChronbarStyle::gtsImage, Rect(100, 20, 200, 52), false, {}, &list);
    screen.expect({{100, 20, clRed}, {115, 35, clRed}, {116, 30, kWhite}});
    print.Draw(TChronbarStyle::gtsImage, Rect(100, 20, 200, 52), true, {}, &list);
    print.expect({{131, 51, clRed}, {132, 30, kWhite}});  // stretched into the 32 x 32 square
    none.Draw(TChronbarStyle::gtsImage, Rect(100, 20, 200, 52));
    none.Draw(TChronbarStyle::gtsUser, Rect(100, 20, 200, 40));
    EXPECT_EQ(none.count(kWhite, 0, 0, 400, 100), 400 * 100) << "no list, no handler: nothing";

    TRect seen;
    none.Draw(TChronbarStyle::gtsUser, Rect(-50, 20, 100, 40), false, [&](TCanvas&, const TRect& r) { seen = r; });
    EXPECT_EQ(seen, Rect(-10, 20, 100, 40));
}

TEST(ItemPaint, SelectionCornersAndFocusFrameOnScreenOnly)
{
    Surface s, f, p;
    const TRect r = Rect(100, 20, 200, 60);
    for (Surface* x : {&s, &f, &p}) x->Draw(TChronbarStyle::gtsSquare, r);
    DrawTimeItemMarks(s.c(), r, false, true, kMark, false);
    for (auto [x, y] : {std::pair{100, 20}, {195, 20}, {100, 55}, {195, 55}})
        EXPECT_EQ(s.count(kMark, x, y, x + 5, y + 5), 25);
    EXPECT_EQ(s.count(kMark, 0, 0, 400, 100), 100);

    // The dotted frame two pixels in: every other pixel on its line, none just inside it.
    DrawTimeItemMarks(f.c(), r, false, true, kMark, true);
    EXPECT_EQ(f.count(kItem, 110, 22, 190, 23), 40);
    EXPECT_EQ(f.count(kItem, 110, 23, 190, 24), 80);
    EXPECT_EQ(f.count(kItem, 197, 30, 198, 50), 10);
    EXPECT_EQ(f.count(kItem, 196, 30, 197, 50), 20);

    DrawTimeItemMarks(p.c(), r, true, true, kMark, true);
    EXPECT_EQ(p.count(kItem, 101, 21, 199, 59), 98 * 38) << "neither while printing";
}

TEST(ItemPaint, LongBarsAreBoundedButNeverCutShortOnWideAreas)
{
    const TRect huge = Rect(-10000, 0, 10000, 10);
    EXPECT_EQ(TvxTimeDraw::W95Safe(huge, Rect(0, 0, 1920, 1080)), Rect(-500, 0, 2000, 10));
    EXPECT_EQ(TvxTimeDraw::W95Safe(huge, Rect(0, 0, 2000, 1080)), Rect(-500, 0, 2000, 10));
    EXPECT_EQ(TvxTimeDraw::W95Safe(huge, Rect(0, 0, 3000, 1080)), Rect(-500, 0, 3500, 10));
    EXPECT_EQ(TvxTimeDraw::W95Safe(huge, Rect(2000, 0, 4000, 1080)), Rect(-500, 0, 4500, 10)) << "a later page";
    EXPECT_EQ(TvxTimeDraw::W95Safe(Rect(-400, 0, 9000, 10), Rect(0, 0, 1920, 1080)), Rect(-400, 0, 9000, 10));

    Surface narrow(2000, 20), wide(3000, 20);
    TvxTimeDraw::DrawTime(kItem, huge, narrow.c());
    narrow.expect({{1000, 5, kItem}, {1999, 5, clBlack}});
    TvxTimeDraw::DrawTime(kItem, huge, wide.c());
    wide.expect({{1999, 5, kItem}, {2500, 5, kItem}, {2999, 5, kItem}});
}

// --- The area background --------------------------------------------------------------------

namespace {

struct Background : Surface {
    TBitmap pattern;
    TvxGantBackgroundInput in;
    Background()
    {
        ReInitBitmap(pattern, kBack, kStripe);
        in.Width = 400;
        in.Height = 100;
        in.Pattern = &pattern;
        in.DrawLongLines = false;
    }
};

}  // namespace

TEST(GantBackground, RowStripesStartAtTheTopInTheMixedPattern)
{
    Background b;
    DoBackground(b.c(), b.in, {});
    b.expect({{0, 0, kBack}, {1, 0, kStripe}, {0, 1, kStripe}, {1, 17, kBack}});
    EXPECT_EQ(b.count(kBack, 0, 18, 400, 36), 400 * 18) << "second row plain";
    EXPECT_EQ(b.count(kStripe, 0, 36, 400, 54), 200 * 18);
    EXPECT_EQ(b.count(kStripe, 0, 72, 400, 90), 200 * 18);

    // Printing leaves the page as it is and stripes solidly; a tiny scale still ends.
    Background p;
    p.in.Printing = true;
    p.in.ScaleY = 0.01;
    DefaultBackGround(p.c(), p.in);
    p.expect({{5, 0, kStripe}, {5, 1, kWhite}, {5, 2, kStripe}});
}

TEST(GantBackground, GridRowsStripeFirstThenRowsOfTheLastHeight)
{
    Background b;
    const std::vector<TRect> rows = {Rect(0, 0, 400, 10), Rect(0, 20, 400, 40)};
    b.in.GridRows = &rows;
    b.in.Pattern = nullptr;
    DefaultBackGround(b.c(), b.in);
    // Index 2 starts at the grid's bottom; the gap between grid rows stays plain.
    b.expect({{5, 9, kStripe}, {5, 15, kBack}, {5, 39, kBack}, {5, 40, kStripe}, {5, 57, kStripe}, {5, 58, kBack}});
}

TEST(GantBackground, VerticalStripesAlternateBetweenMajorMarks)
{
    Background b, s;
    const std::vector<int> majors = {100, 250}, shifted = {-40, 100};
    b.in.VerticalPyjamas = s.in.VerticalPyjamas = true;
    b.in.MajorPixels = &majors;
    s.in.MajorPixels = &shifted;
    DefaultBackGround(b.c(), b.in);
    b.expect({{1, 50, kStripe}, {2, 50, kBack}, {300, 50, kBack}, {301, 50, kStripe}});
    EXPECT_EQ(b.count(kStripe, 100, 0, 250, 100), 150 * 100);
    // A mark left of the area shifts the parity.
    DefaultBackGround(s.c(), s.in);
    EXPECT_EQ(s.count(kStripe, 0, 0, 100, 100), 100 * 100);
    EXPECT_EQ(s.at(200, 50), kBack);
}

TEST(GantBackground, ShortLinesThinOutWhenCloseAndLongLinesUseTheDesktopColour)
{
    Background b, w;
    const std::vector<int> close = {10, 30, 50, 70}, apart = {10, 40, 70}, majors = {200};
    b.in.DrawShortLines = b.in.DrawLongLines = w.in.DrawShortLines = true;
    b.in.MinorPixels = &close;
    b.in.MajorPixels = &majors;
    w.in.MinorPixels = &apart;
    DrawScaleLines(b.c(), b.in);
    EXPECT_EQ(b.count(kStripe, 10, 0, 11, 100), 100);
    b.expect({{30, 50, kWhite}, {50, 50, kStripe}, {70, 50, kWhite}});
    EXPECT_EQ(b.count(ColorToRGB(0x80000001), 200, 0, 201, 100), 100);
    DrawScaleLines(w.c(), w.in);
    w.expect({{40, 50, kStripe}, {70, 50, kStripe}});
}

TEST(GantBackground, TodayLineOnlyStrictlyInsideTheScaler)
{
    auto drawn = [](bool on, int x) {
        Background b;
        b.in.TodayLineOnOff = on;
        b.in.TodayLineColor = clRed;
        b.in.ScalerWidth = 400;
        b.in.TodayX = x;
        DoTodayLine(b.c(), b.in);
        const int column = x >= 0 && x < 400 ? b.count(clRed, x, 0, x + 1, 100) : 0;
        return std::pair{b.count(clRed, 0, 0, 400, 100), column};
    };
    EXPECT_EQ(drawn(true, 150), (std::pair{100, 100}));
    for (int x : {0, 400, -5}) EXPECT_EQ(drawn(true, x).first, 0) << x;
    EXPECT_EQ(drawn(false, 150).first, 0);
}

TEST(GantBackground, UserDrawingComesBeforeScaleLinesAndTheFocusFrame)
{
    Background b;
    b.in.Focused = b.in.DrawLongLines = true;
    const std::vector<int> majors = {200};
    b.in.MajorPixels = &majors;
    int calls = 0;
    DoBackground(b.c(), b.in, [&](TCanvas& c, const TRect& r) {
        EXPECT_EQ(r, Rect(0, 0, 400, 100));
        ++calls;
        c.Brush().SetColor(clBlue);
        c.FillRect(Rect(150, 40, 250, 60));
    });
    EXPECT_EQ(calls, 1);
    b.expect({{200, 50, ColorToRGB(0x80000001)}, {199, 50, clBlue}});
    EXPECT_GT(396 - b.count(kStripe, 2, 2, 398, 3) - b.count(kBack, 2, 2, 398, 3), 100) << "dotted focus frame";
}
