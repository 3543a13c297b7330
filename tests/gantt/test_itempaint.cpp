// Time items in each style, their marks, bounding of long bars, and the area background.
#include "gantt/vxGantBackground.h"
#include "gantt/vxGantItemPaint.h"
#include "platform/vxColor.h"
#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

using namespace vxplan;
using vxplan::test::CountPixels;
using vxplan::test::PixelAt;

namespace {

constexpr TColor kWhite = 0xFFFFFF, kItem = 0x3080F0, kMark = 0x00A000;

struct Surface {
    TBitmap bmp;
    explicit Surface(int w = 400, int h = 100) : bmp(w, h)
    {
        bmp.Canvas().Brush().SetColor(kWhite);
        bmp.Canvas().FillRect(Rect(0, 0, w, h));
    }
    TCanvas& c() { return bmp.Canvas(); }
    TColor at(int x, int y) { return PixelAt(bmp.Image(), x, y); }
    TRect Draw(TChronbarStyle style, const TRect& r, bool printing = false, const TOnDrawUserTime& user = {},
               const TCustomImageList* list = nullptr)
    {
        TvxTimeItemLook look{style, kItem, 0, list};
        return DrawTimeItem(c(), r, look, bmp.Width(), printing, 1.0, user);
    }
};

}  // namespace

TEST(ItemPaint, SquareIsFilledAndFramedAndClippedNearTheArea)
{
    Surface s;
    s.Draw(TChronbarStyle::gtsSquare, Rect(100, 20, 200, 40));
    EXPECT_EQ(s.at(150, 30), kItem);
    EXPECT_EQ(s.at(100, 30), clBlack);
    EXPECT_EQ(s.at(199, 30), clBlack);
    EXPECT_EQ(s.at(150, 39), clBlack);
    EXPECT_EQ(s.at(200, 30), kWhite);
    EXPECT_EQ(s.at(150, 40), kWhite);

    // A bar far past the right edge ends 10 pixels beyond it, so no frame shows at the edge.
    Surface t;
    EXPECT_EQ(t.Draw(TChronbarStyle::gtsSquare, Rect(-100, 20, 1000, 40)), Rect(-10, 20, 410, 40));
    EXPECT_EQ(t.at(0, 30), kItem);
    EXPECT_EQ(t.at(399, 30), kItem);
}

TEST(ItemPaint, SpanIsAThinBarWithDownwardEarsSetIn)
{
    Surface s;
    s.Draw(TChronbarStyle::gtsSpan, Rect(100, 20, 200, 28));
    // The 4-pixel bar.
    EXPECT_EQ(s.at(150, 20), clBlack);
    EXPECT_EQ(s.at(150, 21), kItem);
    EXPECT_EQ(s.at(150, 22), kItem);
    EXPECT_EQ(s.at(150, 23), clBlack);
    EXPECT_EQ(s.at(150, 25), kWhite) << "nothing between the ears";
    // Left ear: tip at x = 105 (100 + 5/2 + 3), narrowing downward, black slanted sides.
    EXPECT_EQ(s.at(104, 27), kItem);
    EXPECT_EQ(s.at(105, 27), kItem);
    EXPECT_EQ(s.at(104, 25), kItem);
    EXPECT_EQ(s.at(101, 25), clBlack);
    EXPECT_EQ(s.at(108, 25), clBlack);
    EXPECT_EQ(s.at(101, 27), kWhite);
    EXPECT_EQ(s.at(104, 29), kWhite);
    // Right ear: mirrored around x = 194 (195 + 2 - 3).
    EXPECT_EQ(s.at(193, 27), kItem);
    EXPECT_EQ(s.at(194, 27), kItem);
    EXPECT_EQ(s.at(190, 25), clBlack);
    EXPECT_EQ(s.at(198, 27), kWhite);
}

TEST(ItemPaint, LineStylesDrawAThickMiddleLineAndOptionalEndMarks)
{
    Surface s;
    s.Draw(TChronbarStyle::gtsLine, Rect(100, 20, 200, 40));
    EXPECT_EQ(s.at(150, 29), kItem);
    EXPECT_EQ(s.at(150, 30), kItem);
    EXPECT_EQ(s.at(150, 28), clBlack);
    EXPECT_EQ(s.at(150, 31), clBlack);
    EXPECT_EQ(s.at(150, 25), kWhite);
    EXPECT_EQ(s.at(100, 22), kWhite) << "no end marks";

    Surface e;
    e.Draw(TChronbarStyle::gtsLineWEnd, Rect(100, 20, 200, 40));
    EXPECT_EQ(e.at(100, 22), clBlack);
    EXPECT_EQ(e.at(101, 38), clBlack);
    EXPECT_EQ(e.at(199, 22), clBlack);
    EXPECT_EQ(e.at(198, 38), clBlack);
    EXPECT_EQ(e.at(102, 22), kWhite);
}

TEST(ItemPaint, WaveRunsOneSinePeriodAndRombIsAHollowDiamond)
{
    Surface s;
    s.Draw(TChronbarStyle::gtsWave, Rect(100, 20, 300, 60));
    EXPECT_EQ(s.at(200, 40), kItem) << "crosses the middle half way";
    EXPECT_EQ(s.at(150, 59), kItem) << "first half below the middle";
    EXPECT_EQ(s.at(250, 21), kItem) << "second half above";
    EXPECT_EQ(s.at(150, 40), kWhite);
    EXPECT_EQ(s.at(250, 40), kWhite);
    // The thick line has no gaps, not even on its steep parts.
    for (int x = 100; x < 300; ++x) EXPECT_GE(CountPixels(s.bmp.Image(), kItem, x, 0, x + 1, 100), 3) << x;
    for (int y = 22; y < 59; ++y) EXPECT_GE(CountPixels(s.bmp.Image(), kItem, 100, y, 300, y + 1), 4) << y;

    Surface r;
    r.Draw(TChronbarStyle::gtsRomb, Rect(100, 20, 200, 60));
    EXPECT_EQ(r.at(150, 21), kItem);
    EXPECT_EQ(r.at(101, 40), kItem);
    EXPECT_EQ(r.at(125, 30), kItem);
    EXPECT_EQ(r.at(175, 50), kItem);
    EXPECT_EQ(r.at(150, 40), kWhite);
    EXPECT_EQ(r.at(105, 25), kWhite);
    for (int y = 22; y < 59; ++y) EXPECT_GE(CountPixels(r.bmp.Image(), kItem, 100, y, 150, y + 1), 2) << y;
}

TEST(ItemPaint, PipeIsShadedTowardItsEdges)
{
    Surface s;
    s.Draw(TChronbarStyle::gtsPipe, Rect(100, 20, 200, 60));
    const TColor middle = s.at(150, 40), edge = s.at(150, 20);
    EXPECT_NE(middle, kWhite);
    EXPECT_NE(edge, kWhite);
    EXPECT_GT(GetRValue(middle) + GetGValue(middle) + GetBValue(middle), GetRValue(edge) + GetGValue(edge) + GetBValue(edge));
    EXPECT_EQ(s.at(150, 60), kWhite);
}

TEST(ItemPaint, ImageAtTheTopLeftOnScreenAndStretchedToASquareInPrint)
{
    TBitmap red(16, 16);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect(Rect(0, 0, 16, 16));
    TImageList list;
    list.Add(red);

    Surface s;
    s.Draw(TChronbarStyle::gtsImage, Rect(100, 20, 200, 52), false, {}, &list);
    EXPECT_EQ(s.at(100, 20), clRed);
    EXPECT_EQ(s.at(115, 35), clRed);
    EXPECT_EQ(s.at(116, 30), kWhite);

    Surface p;
    p.Draw(TChronbarStyle::gtsImage, Rect(100, 20, 200, 52), true, {}, &list);
    EXPECT_EQ(p.at(131, 51), clRed) << "32 x 32 square";
    EXPECT_EQ(p.at(132, 30), kWhite);

    Surface none;
    none.Draw(TChronbarStyle::gtsImage, Rect(100, 20, 200, 52));
    EXPECT_EQ(CountPixels(none.bmp.Image(), kWhite, 0, 0, 400, 100), 400 * 100);
}

TEST(ItemPaint, UserStyleIsHandedToTheApplicationOrLeftEmpty)
{
    Surface s;
    TRect seen;
    int calls = 0;
    s.Draw(TChronbarStyle::gtsUser, Rect(-50, 20, 100, 40), false, [&](TCanvas&, const TRect& r) {
        seen = r;
        ++calls;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, Rect(-10, 20, 100, 40));
    s.Draw(TChronbarStyle::gtsUser, Rect(100, 20, 200, 40));
    EXPECT_EQ(CountPixels(s.bmp.Image(), kWhite, 0, 0, 400, 100), 400 * 100);
}

TEST(ItemPaint, SelectionCornersAndFocusFrameOnScreenOnly)
{
    Surface s;
    const TRect r = s.Draw(TChronbarStyle::gtsSquare, Rect(100, 20, 200, 60));
    DrawTimeItemMarks(s.c(), r, false, true, kMark, false);
    EXPECT_EQ(CountPixels(s.bmp.Image(), kMark, 100, 20, 105, 25), 25);
    EXPECT_EQ(CountPixels(s.bmp.Image(), kMark, 195, 20, 200, 25), 25);
    EXPECT_EQ(CountPixels(s.bmp.Image(), kMark, 100, 55, 105, 60), 25);
    EXPECT_EQ(CountPixels(s.bmp.Image(), kMark, 195, 55, 200, 60), 25);
    EXPECT_EQ(CountPixels(s.bmp.Image(), kMark, 0, 0, 400, 100), 100);

    // The dotted frame two pixels in: every other pixel on its line, none just inside it.
    Surface f;
    f.Draw(TChronbarStyle::gtsSquare, Rect(100, 20, 200, 60));
    DrawTimeItemMarks(f.c(), r, false, true, kMark, true);
    EXPECT_EQ(CountPixels(f.bmp.Image(), kItem, 110, 22, 190, 23), 40);
    EXPECT_EQ(CountPixels(f.bmp.Image(), kItem, 110, 23, 190, 24), 80);
    EXPECT_EQ(CountPixels(f.bmp.Image(), kItem, 102, 30, 103, 50), 10);
    EXPECT_EQ(CountPixels(f.bmp.Image(), kItem, 197, 30, 198, 50), 10);
    EXPECT_EQ(CountPixels(f.bmp.Image(), kItem, 196, 30, 197, 50), 20);

    Surface p;
    p.Draw(TChronbarStyle::gtsSquare, Rect(100, 20, 200, 60));
    DrawTimeItemMarks(p.c(), r, true, true, kMark, true);
    EXPECT_EQ(CountPixels(p.bmp.Image(), kMark, 0, 0, 400, 100), 0);
    EXPECT_EQ(CountPixels(p.bmp.Image(), kItem, 101, 21, 199, 59), 98 * 38);
}

TEST(ItemPaint, LongBarsAreBoundedButNeverCutShortOnWideAreas)
{
    const TRect huge = Rect(-10000, 0, 10000, 10);
    EXPECT_EQ(TvxTimeDraw::W95Safe(huge, Rect(0, 0, 1920, 1080)), Rect(-500, 0, 2000, 10));
    EXPECT_EQ(TvxTimeDraw::W95Safe(huge, Rect(0, 0, 2000, 1080)), Rect(-500, 0, 2000, 10));
    EXPECT_EQ(TvxTimeDraw::W95Safe(huge, Rect(0, 0, 3000, 1080)), Rect(-500, 0, 3500, 10));
    // A later printed page draws logical 2000..4000.
    EXPECT_EQ(TvxTimeDraw::W95Safe(huge, Rect(2000, 0, 4000, 1080)), Rect(-500, 0, 4500, 10));
    EXPECT_EQ(TvxTimeDraw::W95Safe(Rect(-600, 0, 1500, 10), Rect(0, 0, 1920, 1080)), Rect(-600, 0, 1500, 10));
    EXPECT_EQ(TvxTimeDraw::W95Safe(Rect(-400, 0, 9000, 10), Rect(0, 0, 1920, 1080)), Rect(-400, 0, 9000, 10));

    Surface narrow(2000, 20);
    TvxTimeDraw::DrawTime(kItem, huge, narrow.c());
    EXPECT_EQ(narrow.at(1000, 5), kItem);
    EXPECT_EQ(narrow.at(1999, 5), clBlack) << "the bounded bar's frame";

    Surface wide(3000, 20);
    TvxTimeDraw::DrawTime(kItem, huge, wide.c());
    EXPECT_EQ(wide.at(2500, 5), kItem);
    EXPECT_EQ(wide.at(2999, 5), kItem);
    EXPECT_EQ(wide.at(1999, 5), kItem);
}

// --- The area background --------------------------------------------------------------------

namespace {

struct Background : Surface {
    TBitmap pattern;
    TvxGantBackgroundInput in;
    Background() : Surface(400, 100)
    {
        ReInitBitmap(pattern, 0xC0C0C0, 0x808080);
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
    EXPECT_EQ(b.at(0, 0), 0xC0C0C0u);
    EXPECT_EQ(b.at(1, 0), 0x808080u);
    EXPECT_EQ(b.at(0, 1), 0x808080u);
    EXPECT_EQ(b.at(1, 17), 0xC0C0C0u);
    EXPECT_EQ(CountPixels(b.bmp.Image(), 0xC0C0C0, 0, 18, 400, 36), 400 * 18) << "second row plain";
    EXPECT_EQ(CountPixels(b.bmp.Image(), 0x808080, 0, 36, 400, 54), 200 * 18);
    EXPECT_EQ(CountPixels(b.bmp.Image(), 0x808080, 0, 72, 400, 90), 200 * 18);

    // Printing leaves the page as it is and stripes solidly; a tiny scale still ends.
    Background p;
    p.in.Printing = true;
    p.in.ScaleY = 0.01;
    DefaultBackGround(p.c(), p.in);
    EXPECT_EQ(p.at(5, 0), 0x808080u);
    EXPECT_EQ(p.at(5, 1), kWhite);
    EXPECT_EQ(p.at(5, 2), 0x808080u);
}

TEST(GantBackground, GridRowsStripeFirstThenRowsOfTheLastHeight)
{
    Background b;
    const std::vector<TRect> rows = {Rect(0, 0, 400, 10), Rect(0, 20, 400, 40)};
    b.in.GridRows = &rows;
    b.in.Pattern = nullptr;
    DefaultBackGround(b.c(), b.in);
    EXPECT_EQ(b.at(5, 9), 0x808080u);
    EXPECT_EQ(b.at(5, 15), 0xC0C0C0u) << "between grid rows";
    EXPECT_EQ(b.at(5, 39), 0xC0C0C0u);
    EXPECT_EQ(b.at(5, 40), 0x808080u) << "index 2 at the grid's bottom";
    EXPECT_EQ(b.at(5, 57), 0x808080u);
    EXPECT_EQ(b.at(5, 58), 0xC0C0C0u);
}

TEST(GantBackground, VerticalStripesAlternateBetweenMajorMarks)
{
    Background b;
    b.in.VerticalPyjamas = true;
    const std::vector<int> majors = {100, 250};
    b.in.MajorPixels = &majors;
    DefaultBackGround(b.c(), b.in);
    EXPECT_EQ(b.at(1, 50), 0x808080u);
    EXPECT_EQ(b.at(2, 50), 0xC0C0C0u) << "first box in the pattern";
    EXPECT_EQ(CountPixels(b.bmp.Image(), 0x808080, 100, 0, 250, 100), 150 * 100);
    EXPECT_EQ(b.at(300, 50), 0xC0C0C0u);
    EXPECT_EQ(b.at(301, 50), 0x808080u);

    // A mark left of the area shifts the parity.
    Background s;
    s.in.VerticalPyjamas = true;
    const std::vector<int> shifted = {-40, 100};
    s.in.MajorPixels = &shifted;
    DefaultBackGround(s.c(), s.in);
    EXPECT_EQ(CountPixels(s.bmp.Image(), 0x808080, 0, 0, 100, 100), 100 * 100);
    EXPECT_EQ(s.at(200, 50), 0xC0C0C0u);
}

TEST(GantBackground, ShortLinesThinOutWhenCloseAndLongLinesUseTheDesktopColour)
{
    Background b;
    b.in.BackColor = kWhite;
    b.in.Pattern = nullptr;
    b.in.PyjamasColor = kWhite;
    b.in.DrawShortLines = true;
    b.in.DrawLongLines = true;
    const std::vector<int> close = {10, 30, 50, 70}, majors = {200};
    b.in.MinorPixels = &close;
    b.in.MajorPixels = &majors;
    DoBackground(b.c(), b.in, {});
    EXPECT_EQ(CountPixels(b.bmp.Image(), 0x808080, 10, 0, 11, 100), 100);
    EXPECT_EQ(b.at(30, 50), kWhite);
    EXPECT_EQ(b.at(50, 50), 0x808080u);
    EXPECT_EQ(b.at(70, 50), kWhite);
    EXPECT_EQ(CountPixels(b.bmp.Image(), ColorToRGB(0x80000001), 200, 0, 201, 100), 100);

    Background w;
    const std::vector<int> apart = {10, 40, 70};
    w.in.DrawShortLines = true;
    w.in.MinorPixels = &apart;
    DrawScaleLines(w.c(), w.in);
    EXPECT_EQ(w.at(40, 50), 0x808080u);
    EXPECT_EQ(w.at(70, 50), 0x808080u);
}

TEST(GantBackground, TodayLineOnlyStrictlyInsideTheScaler)
{
    Background b;
    b.in.TodayLineOnOff = true;
    b.in.TodayLineColor = clRed;
    b.in.ScalerWidth = 400;
    b.in.TodayX = 150;
    DoTodayLine(b.c(), b.in);
    EXPECT_EQ(CountPixels(b.bmp.Image(), clRed, 150, 0, 151, 100), 100);
    EXPECT_EQ(CountPixels(b.bmp.Image(), clRed, 0, 0, 400, 100), 100);
    for (int x : {0, 400, -5}) {
        Background o;
        o.in = b.in;
        o.in.Pattern = &o.pattern;
        o.in.TodayX = x;
        DoTodayLine(o.c(), o.in);
        EXPECT_EQ(CountPixels(o.bmp.Image(), clRed, 0, 0, 400, 100), 0) << x;
    }
    Background off;
    off.in = b.in;
    off.in.TodayLineOnOff = false;
    DoTodayLine(off.c(), off.in);
    EXPECT_EQ(CountPixels(off.bmp.Image(), clRed, 0, 0, 400, 100), 0);
}

TEST(GantBackground, FocusFrameAndUserDrawingComeInOrder)
{
    Background b;
    b.in.Focused = true;
    b.in.DrawLongLines = true;
    const std::vector<int> majors = {200};
    b.in.MajorPixels = &majors;
    std::vector<TColor> underUser;
    DoBackground(b.c(), b.in, [&](TCanvas& c, const TRect& r) {
        EXPECT_EQ(r, Rect(0, 0, 400, 100));
        underUser.push_back(c.GetPixel(200, 50));
        c.Brush().SetColor(clBlue);
        c.FillRect(Rect(150, 40, 250, 60));
    });
    ASSERT_EQ(underUser.size(), 1u);
    EXPECT_NE(underUser[0], ColorToRGB(0x80000001)) << "scale lines come after the user's drawing";
    EXPECT_EQ(b.at(200, 50), ColorToRGB(0x80000001));
    EXPECT_EQ(b.at(199, 50), clBlue);
    const int frameChanged = 396 - CountPixels(b.bmp.Image(), 0x808080, 2, 2, 398, 3) -
                             CountPixels(b.bmp.Image(), 0xC0C0C0, 2, 2, 398, 3);
    EXPECT_GT(frameChanged, 100) << "dotted focus frame at y = 2";
}
