// The painting foundation against hostile values through its public calls: rectangles at the
// ends of the int range for the shared drawing routines, print scales and origins without
// meaning, margins beyond the control, controls without pixels, and hint positions far away.
// Each call is refused with a clear error or clamps, and draws only what lies on the canvas.
#include <vxplan/paint/vxGStuff.h>
#include <vxplan/paint/vxGraphHintWindow.h>
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/controls/vxControls.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

using namespace vxplan;
using vxplan::test::CountPixels;
using vxplan::test::ErrorText;
using vxplan::test::PixelAt;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// A painted control that fills itself red and writes a text, counting its paints.
class Painted : public TvxOffscreenPaint {
public:
    using TvxOffscreenPaint::TvxOffscreenPaint;
    int paints = 0;
    void OffscreenPaint() override
    {
        ++paints;
        TCanvas& c = GetOffscreenCanvas();
        c.Brush().SetColor(clRed);
        c.FillRect(Rect(0, 0, GetWidth(), GetHeight()));
        c.TextOut(2, 2, "text");
    }
};

}  // namespace

TEST(HostilePaint, SharedRoutinesOnRectanglesAtTheEndsOfTheIntRangeDrawOnlyWhatLiesOnTheCanvas)
{
    TBitmap bmp(60, 40);
    TCanvas& c = bmp.Canvas();
    const TRect everything = Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    GStuff::FillRadiated(c, everything, clBlue);
    EXPECT_EQ(CountPixels(bmp.Image(), clWhite, 0, 0, 60, 40), 0) << "the whole canvas is covered, at once";
    EXPECT_EQ(PixelAt(bmp.Image(), 0, 0), PixelAt(bmp.Image(), 59, 39)) << "shades of the far middle line";

    c.Brush().SetColor(clWhite);
    c.FillRect(Rect(0, 0, 60, 40));
    GStuff::DoSelectContent(c, everything);
    GStuff::BevelRect(c, everything, true);
    GStuff::DoSelectContent(c, Rect(INT_MAX, INT_MAX, INT_MIN, INT_MIN));
    EXPECT_EQ(CountPixels(bmp.Image(), clWhite, 0, 0, 60, 40), 60 * 40) << "every mark lies off the canvas";

    EXPECT_EQ(GStuff::Fixrect(Rect(0, 0, INT_MAX, 10), INT_MIN, 0, 10, INT_MAX), Rect(INT_MIN, 0, INT_MAX, INT_MAX));
    EXPECT_FALSE(GStuff::BigEnough(Rect(INT_MAX, 0, INT_MIN, 10), 1, 1));
    EXPECT_TRUE(GStuff::BigEnough(everything, INT_MAX, INT_MAX)) << "the width saturates instead of wrapping";
    for (const double factor : {kNaN, kInf, -kInf, -1.0, 1e300}) {
        const TColor tinted = GStuff::TintColor(RGB(100, 150, 200), factor);
        EXPECT_TRUE(tinted == clBlack || tinted == clWhite) << factor;
    }
    TFont font;
    GStuff::RotateFont(font, INT_MAX);
    EXPECT_EQ(font.GetOrientation(), INT_MAX % 360 * 10);
    GStuff::RotateFont(font, 450);
    EXPECT_EQ(font.GetOrientation(), 900) << "a whole turn makes no difference";
}

TEST(HostilePaint, PrintScalesWithoutMeaningAreRefusedAndFarOriginsPrintNothing)
{
    Painted p;
    p.SetBounds(5, 7, 40, 30);
    TBitmap page(100, 80);
    HDC dc = page.Canvas().GetHandle();
    for (const double scale : {kNaN, kInf, -kInf, -0.5, TvxOffscreenPaint::kMaxPrintScale * 2}) {
        SCOPED_TRACE(scale);
        EXPECT_THROW(p.Print(dc, 0, 0, scale, 1, true), EInvalidArgument);
        EXPECT_THROW(p.Print(dc, 0, 0, 1, scale, false), EInvalidArgument);
    }
    EXPECT_EQ(ErrorText<EInvalidArgument>([&] { p.Print(dc, 0, 0, kNaN, 1, true); }), "Print scale nan outside 0..1000");
    EXPECT_EQ(p.paints, 0) << "refused before painting";
    for (const int origin : {INT_MIN, INT_MAX, INT_MAX - 10}) {
        p.Print(dc, origin, origin, 2, 2, true);
        EXPECT_FALSE(p.GetIsPrinting());
        EXPECT_EQ(p.GetBoundsRect(), Rect(5, 7, 45, 37));
    }
    EXPECT_EQ(p.paints, 3);
    EXPECT_EQ(CountPixels(page.Image(), clWhite, 0, 0, 100, 80), 100 * 80);
    p.Print(dc, 0, 0, TvxOffscreenPaint::kMaxPrintScale, 1, false);
    EXPECT_EQ(PixelAt(page.Image(), 39, 29), clRed) << "the largest scale still prints";
}

TEST(HostilePaint, MarginsAndSizesBeyondTheControlShowNothingMirroredAndStillPaint)
{
    TPanel host;
    host.SetBounds(0, 0, 200, 100);
    Painted p(&host);
    p.SetParent(&host);
    p.SetBounds(0, 0, 50, 40);
    p.SetRightMargin(INT_MIN);
    p.SetBottomMargin(-5);
    EXPECT_EQ(p.GetRightMargin(), 0);
    EXPECT_EQ(p.GetBottomMargin(), 0);
    p.SetRightMargin(INT_MAX);
    p.SetBottomMargin(INT_MAX);
    const QImage wide = p.GrabImage();
    EXPECT_EQ(CountPixels(wide, clRed, 0, 0, 50, 40), 0) << "margins wider than the control leave no bitmap shown";

    p.SetRightMargin(0);
    p.SetBottomMargin(0);
    for (const TRect b : {Rect(0, 0, 0, 40), Rect(0, 0, 50, 0), Rect(0, 0, 0, 0)}) {
        p.SetBoundsRect(b);
        const int before = p.paints;
        EXPECT_NO_THROW(p.GrabImage()) << "a control without pixels paints nothing";
        EXPECT_EQ(p.paints, before + 1);
    }
    p.SetBounds(INT_MIN, INT_MAX, INT_MAX, -1);
    EXPECT_EQ(p.GetLeft(), -TControl::kMaxPosition);
    EXPECT_EQ(p.GetTop(), TControl::kMaxPosition);
    EXPECT_EQ(p.GetWidth(), TControl::kMaxExtent);
    EXPECT_EQ(p.GetHeight(), 0);
}

TEST(HostilePaint, HintsAskedFarAwayStayOnTheScreenAndHide)
{
    TTestClockScope clock{46000.4};
    TPanel host;
    host.SetBounds(0, 0, 300, 200);
    TGraphHintWindow hint(&host);
    for (const int at : {INT_MIN, -1, INT_MAX}) {
        SCOPED_TRACE(at);
        hint.ShowMoveInfo("start", "stop", "length", at, at);
        hint.SetPos(at, at);
        hint.StaticPos = true;
        hint.StaticLeft = hint.StaticTop = hint.StaticWidth = hint.StaticHeight = at;
        hint.UpdateStaticPos();
        hint.StaticPos = false;
        EXPECT_GT(static_cast<int64_t>(hint.GetLeft()) + hint.GetWidth(), INT_MIN) << "the hint's edges are ints";
    }
    hint.ShowSlowHintFor(nullptr, 0, 0);
    EXPECT_EQ(hint.GetCurrentObject(), nullptr);
}
