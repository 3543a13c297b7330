// Painting the time axis: ticks at the marks, label rows without crowding, the boxed look,
// scroll buttons and their states, indicators, host drawing, and a printed scaler.
#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxDateUtils.h>
#include <vxplan/scaler/vxScaler.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vxplan;
using vxplan::test::CountPixels;
using vxplan::test::ExpectPixels;
using vxplan::test::PixelAt;

namespace {

// 2 March 2026 is a Monday.
const TDateTime kMonday = EncodeDate(2026, 3, 2);

class ScalerPaint : public ::testing::Test {
protected:
    ScalerPaint()
    {
        scaler.SetHorizontal(true);
        scaler.SetBounds(0, 0, 700, 45);
        scaler.SetColor(clWhite);
        scaler.SetStart(kMonday);
        scaler.SetStop(kMonday + 7);
    }
    QImage Paint()
    {
        scaler.Invalidate();
        return scaler.GrabImage();
    }

    TTestClockScope clock{kMonday};
    TvxDateScaler scaler;
};

}  // namespace

TEST_F(ScalerPaint, TicksStandAtTheMarksFromTheBottomEdge)
{
    scaler.SetIndicatorOn(false);
    scaler.SetScrollButtons(TScrollButtons::tsbOff);
    scaler.SetStop(kMonday + 10);
    const QImage image = Paint();
    ASSERT_EQ(scaler.GetMinorPixels().size(), scaler.GetMinorMarks().size());
    // Ten days at 70 px a day: minor marks every day from the left edge, week marks at 490 and past the end.
    EXPECT_EQ(scaler.GetMinorPixels()[0], 0);
    EXPECT_EQ(scaler.GetMinorPixels()[1], 70);
    EXPECT_EQ(scaler.GetMajorPixels(), (std::vector<int>{0, 490, 980})) << "the last mark lies past the end";
    // A minor tick is 5 pixels long, a major one 15.
    const int minorX = scaler.GetMinorPixels()[1];
    ExpectPixels(image, {{minorX, 44, clBlack}, {minorX, 40, clBlack}, {minorX, 39, clWhite},
                         {minorX + 1, 42, clWhite}});
    for (int x : scaler.GetMajorPixels()) {
        if (x <= 0 || x >= 700) continue;
        EXPECT_EQ(PixelAt(image, x, 30), clBlack) << "major tick at " << x;
        EXPECT_EQ(PixelAt(image, x, 29), clWhite);
    }
}

TEST_F(ScalerPaint, LabelsSitInTheirRowsAndCrowdedOnesAreSkipped)
{
    scaler.SetIndicatorOn(false);
    scaler.SetScrollButtons(TScrollButtons::tsbOff);
    const QImage wide = Paint();
    // Day labels in the middle of each day, on the minor row from y = 30.
    const int dark = CountPixels(wide, clBlack, 30, 30, 70, 40);
    EXPECT_GT(dark, 5) << "Monday's label around x = 50";
    EXPECT_EQ(CountPixels(wide, clBlack, 2, 30, 20, 40), 0) << "nothing at the mark itself";

    // Host labels wider than a day: the first would start left of the edge and the third
    // would crowd the second, so only every second label from the second on is drawn.
    const std::string label = "a label wider than one day is";
    TBitmap measure(1, 1);
    measure.Canvas().SetFont(scaler.GetTextFont1());
    const int width = measure.Canvas().TextWidth(label);
    ASSERT_GT(width, 100);
    ASSERT_LT(width, 190);
    scaler.OnUserStringShort = [&](TDateTime, TDateTime, std::string& text, TScalerFont&) { text = label; };
    scaler.CalcDrawMode();
    const QImage crowded = Paint();
    auto inkAround = [&](int centre) { return CountPixels(crowded, clBlack, centre - 5, 30, centre + 5, 40); };
    EXPECT_EQ(inkAround(50), 0) << "the first label is skipped";
    EXPECT_GT(inkAround(150), 0);
    EXPECT_GT(inkAround(350), 0);
    EXPECT_EQ(CountPixels(crowded, clBlack, 150 + width / 2 + 2, 30, 350 - width / 2 - 2, 40), 0)
        << "the crowded third label is skipped";
}

TEST_F(ScalerPaint, ScrollButtonsAndTheirPressedLook)
{
    scaler.SetIndicatorOn(false);
    Paint();
    EXPECT_EQ(scaler.GetEarlierButtonRect(), Rect(1, 1, 20, 20));
    EXPECT_EQ(scaler.GetLaterButtonRect(), Rect(681, 1, 700, 20));
    scaler.SetScrollButtons(TScrollButtons::tsbSmall);
    QImage image = Paint();
    EXPECT_EQ(scaler.GetLaterButtonRect(), Rect(689, 1, 700, 12));
    EXPECT_EQ(PixelAt(image, 689, 1), ColorToRGB(clBtnHighlight)) << "raised";
    // A press on the later-time button draws it pressed.
    test::SendMouse(&scaler, QEvent::MouseButtonPress, 694, 6, Qt::LeftButton, Qt::LeftButton);
    image = Paint();
    EXPECT_EQ(PixelAt(image, 689, 1), ColorToRGB(clBtnShadow)) << "sunken while held";
    test::SendMouse(&scaler, QEvent::MouseButtonRelease, 694, 6, Qt::LeftButton, Qt::NoButton);
    scaler.SetScrollButtons(TScrollButtons::tsbOff);
    Paint();
    EXPECT_EQ(scaler.GetEarlierButtonRect(), kNoRect);

    // Vertical: the earlier-time button on top, the later one at the bottom.
    scaler.SetHorizontal(false);
    scaler.SetScrollButtons(TScrollButtons::tsbClassic);
    scaler.SetBounds(0, 0, 60, 400);
    Paint();
    EXPECT_EQ(scaler.GetEarlierButtonRect(), Rect(1, 1, 20, 20));
    EXPECT_EQ(scaler.GetLaterButtonRect(), Rect(1, 380, 20, 400));
}

TEST_F(ScalerPaint, BoxedLookDrawsFramesInsteadOfTicks)
{
    scaler.SetIndicatorOn(false);
    scaler.SetScrollButtons(TScrollButtons::tsbOff);
    scaler.SetLookAndFeel(TLookAndFeel::tlfBoxed);
    const QImage image = Paint();
    const TColor frame = ColorToRGB(clBtnShadow);
    EXPECT_EQ(PixelAt(image, 350, 28), frame) << "the line between the rows";
    EXPECT_EQ(PixelAt(image, 350, 13), frame) << "the top of the major row";
    // Day boxes (box position: the mark itself) separate the minor row.
    EXPECT_EQ(PixelAt(image, 100, 40), frame);
    EXPECT_NE(PixelAt(image, 100, 44), clBlack) << "no tick in the boxed look";
}

TEST_F(ScalerPaint, IndicatorsShowWhereTheViewLies)
{
    scaler.SetScrollButtons(TScrollButtons::tsbOff);
    QImage image = Paint();
    // A week in March: the bar at the top right, the visible part in the highlight colour.
    const TColor highlight = ColorToRGB(clHighlight);
    const int shown = CountPixels(image, highlight, 600, 0, 700, 10);
    EXPECT_GT(shown, 0);
    // 2..9 March of the month of March: the marked part starts a little in from the bar's left.
    const int barLeft = 700 - 4 - 55;
    EXPECT_NE(PixelAt(image, barLeft + 1, 4), highlight);
    EXPECT_EQ(PixelAt(image, barLeft + 55 * 3 / 31 + 2, 4), highlight);

    scaler.SetIndicatorStyle(TIndicatorStyle::isNone);
    image = Paint();
    EXPECT_EQ(CountPixels(image, highlight, 600, 0, 700, 10), 0);
    scaler.SetIndicatorStyle(TIndicatorStyle::isSober);
    image = Paint();
    EXPECT_GT(CountPixels(image, clBlack, 400, 0, 700, 12), 5) << "the weekday names";
}

TEST_F(ScalerPaint, HostDrawsUnderAndOverAndChangeIsAnnouncedAfterPainting)
{
    std::vector<std::string> order;
    scaler.OnUserDrawBackground = [&](TvxDateScaler*, TCanvas& c, const TRect& r) {
        order.push_back("background");
        EXPECT_EQ(r, Rect(0, 0, 700, 45));
        c.Brush().SetColor(clYellow);
        c.FillRect(Rect(300, 0, 310, 45));
    };
    scaler.OnUserDrawForeground = [&](TvxDateScaler*, TCanvas&, const TRect&) { order.push_back("foreground"); };
    int changes = 0;
    scaler.OnChange = [&](TObject*) { ++changes; };
    scaler.SetStart(kMonday + 1);
    const QImage image = Paint();
    EXPECT_EQ(order, (std::vector<std::string>{"background", "foreground"}));
    EXPECT_EQ(PixelAt(image, 305, 2), clYellow);
    EXPECT_EQ(changes, 0) << "posted, not raised inside the paint";
    Application().ProcessMessages();
    EXPECT_EQ(changes, 1);
    Paint();
    Application().ProcessMessages();
    EXPECT_EQ(changes, 1) << "announced once";
}

TEST_F(ScalerPaint, PrintedScalerScalesTicksAndLabels)
{
    scaler.SetIndicatorOn(false);
    TBitmap page(2200, 200);
    scaler.Print(page.Canvas().GetHandle(), 50, 20, 3, 3, true);
    const QImage& img = page.Image();
    // The second day's tick at 50 + 3 * 100, three times as long as on screen (15 px).
    ExpectPixels(img, {{350, 20 + 135 - 1, clBlack}, {350, 20 + 135 - 14, clBlack}, {350, 20 + 135 - 19, clWhite}});
    // Labels three times the size: Monday's label spans much more than on screen.
    EXPECT_GT(CountPixels(img, clBlack, 50, 20 + 90, 50 + 300, 20 + 130), 60);
    EXPECT_EQ(CountPixels(img, clBlack, 0, 0, 50, 200), 0) << "clipped to the printed place";
    // No scroll buttons on paper, and the screen marks come back.
    EXPECT_EQ(CountPixels(img, ColorToRGB(clBtnFace), 50, 20, 120, 80), 0);
    EXPECT_EQ(scaler.GetMinorPixels().size(), scaler.GetMinorMarks().size());
    EXPECT_EQ(Round(scaler.GetMinorMarks()[1].Pixel), 100);
}
