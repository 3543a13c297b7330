// Snapping, the shared drawing routines, the choice menu and the chart hint window.
#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/paint/vxGStuff.h>
#include <vxplan/paint/vxGraphHintWindow.h>
#include <vxplan/paint/vxSnapHandler.h>
#include <vxplan/platform/controls/vxControls.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxDateUtils.h>

#include "support/vxTestSupport.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <random>

using namespace vxplan;
using vxplan::test::ExpectPixels;
using vxplan::test::PixelAt;

namespace {

TDateTime At(int h, int m) { return EncodeDate(2026, 12, 7) + EncodeTime(h, m, 0, 0); }

void ExpectSameMinute(TDateTime actual, TDateTime expected)
{
    EXPECT_NEAR(actual, expected, 1e-9) << "minutes apart: " << (actual - expected) * 1440;
}

TSnapHandler GanttSnap(TDateTime pixelTime)
{
    TSnapHandler s;
    s.StartInterval = EncodeTime(0, 5, 0, 0);
    s.StopInterval = EncodeTime(0, 1, 0, 0);
    s.SnapStartOn = s.SnapStopOn = true;
    s.PixelTime = pixelTime;
    return s;
}

}  // namespace

TEST(SnapHandler, GridsFollowTheZoomAndMovesKeepTheLength)
{
    const TDateTime minute = EncodeTime(0, 1, 0, 0);
    TSnapHandler s = GanttSnap(minute);
    EXPECT_NEAR(s.CalcScreenSnap(5 * minute), 5 * minute, 1e-12);
    s.PixelTime = 12 * minute;
    EXPECT_NEAR(s.CalcScreenSnap(5 * minute), 10 * minute, 1e-12) << "12/5 rounds to 2";
    s.PixelTime = 20 * minute;
    EXPECT_NEAR(s.CalcScreenSnap(5 * minute), 20 * minute, 1e-12);

    s.PixelTime = minute;
    TDateTime a = At(10, 7), b = At(11, 7);
    s.SnapMove(a, b);
    ExpectSameMinute(a, At(10, 5));
    ExpectSameMinute(b, At(11, 5));
    a = At(10, 8);
    b = At(23, 59) + EncodeTime(0, 0, 40, 0);
    s.Snap(a, b);
    ExpectSameMinute(a, At(10, 10));
    ExpectSameMinute(b, At(0, 0) + 1);  // the stop's grid runs into the next midnight

    // Against a reference on random times: the nearest line of a grid counted from midnight.
    std::mt19937 rng(20261207);
    std::uniform_real_distribution<double> day(0, 1);
    for (int i = 0; i < 1000; ++i) {
        TDateTime start = At(0, 0) + day(rng), stop = start;
        s.Snap(start, stop);
        const double minutes = (start - At(0, 0)) * 1440;
        EXPECT_NEAR(std::fmod(minutes + 1e-6, 5.0), 0, 1e-5);
    }
}

TEST(SnapHandler, MovesOverTwelveHoursBecomeWholeDays)
{
    const TDateTime s0 = At(8, 0), e0 = At(16, 0);
    TDateTime s = s0 + 13.0 / 24, e = e0 + 13.0 / 24;
    TSnapHandler::SnapMoveTo24HIfMoveOver12H(s0, e0, s, e);
    ExpectSameMinute(s, s0 + 1);
    ExpectSameMinute(e, e0 + 1);
    s = s0 + 0.5;
    e = e0 + 0.5;
    TSnapHandler::SnapMoveTo24HIfMoveOver12H(s0, e0, s, e);
    ExpectSameMinute(s, s0 + 0.5);  // exactly twelve hours stays
    s = s0 - 13.0 / 24;
    e = e0 - 13.0 / 24;
    TSnapHandler::SnapMoveTo24HIfMoveOver12H(s0, e0, s, e);
    ExpectSameMinute(s, s0 - 1);  // earlier too
}

TEST(GStuff, MarksBevelsTintsAndFills)
{
    TBitmap bmp(40, 30);
    TCanvas& c = bmp.Canvas();
    GStuff::DoSelectContent(c, Rect(0, 0, 40, 30));
    const QImage& img = bmp.Image();
    ExpectPixels(img, {{4, 4, clBlack}, {5, 5, clWhite}, {35, 25, clBlack}, {34, 24, clWhite}});
    EXPECT_EQ(vxplan::test::CountPixels(img, clBlack, 0, 0, 40, 30), 4 * 25);

    TBitmap bevel(10, 10);
    bevel.Canvas().Pen().SetColor(clRed);
    GStuff::BevelRect(bevel.Canvas(), Rect(0, 0, 10, 10), true);
    const QImage& b = bevel.Image();
    ExpectPixels(b, {{0, 5, ColorToRGB(clBtnHighlight)}, {5, 0, ColorToRGB(clBtnHighlight)},
                     {9, 5, ColorToRGB(clBtnShadow)}, {5, 9, ColorToRGB(clBtnShadow)}});
    EXPECT_EQ(PixelAt(b, 0, 9), ColorToRGB(clBtnHighlight)) << "the frame is closed";
    EXPECT_EQ(PixelAt(b, 9, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(bevel.Canvas().Pen().GetColor(), clRed);

    EXPECT_EQ(GStuff::TintColor(RGB(100, 200, 50), 0.5), RGB(50, 100, 25));
    EXPECT_EQ(GStuff::TintColor(RGB(100, 200, 50), 1.5), RGB(150, 255, 75)) << "channels stay in range";
    EXPECT_EQ(GStuff::TintColor(clWhite, -1), clBlack);
    EXPECT_TRUE(GStuff::BigEnough(Rect(0, 0, 15, 15), 15, 15));
    EXPECT_FALSE(GStuff::BigEnough(Rect(0, 0, 15, 14), 15, 15));
    EXPECT_EQ(GStuff::Fixrect(Rect(10, 10, 20, 20), 1, -2, 3, -4), Rect(11, 8, 23, 16));

    TBitmap fill(20, 21);
    GStuff::FillRadiated(fill.Canvas(), Rect(0, 0, 20, 21), RGB(200, 100, 0));
    EXPECT_EQ(PixelAt(fill.Image(), 5, 10), RGB(200, 100, 0)) << "the middle keeps the colour";
    ExpectPixels(fill.Image(), {{5, 0, GStuff::TintColor(RGB(200, 100, 0), 0.7)},
                                {5, 0, PixelAt(fill.Image(), 5, 20)}});

    // An image of a list printed stretched: its pixels four times as large.
    TImageList images;
    images.SetWidth(2);
    images.SetHeight(2);
    TBitmap icon(2, 2);
    icon.Canvas().Brush().SetColor(clRed);
    icon.Canvas().FillRect(Rect(0, 0, 1, 2));
    images.Add(icon);
    TBitmap page(20, 20);
    PrintBitmap_ImageList(page.Canvas(), Rect(4, 4, 12, 12), images, 0);
    ExpectPixels(page.Image(), {{4, 11, clRed}, {7, 4, clRed}, {8, 4, clWhite}});
    PrintBitmap_ImageList(page.Canvas(), Rect(0, 0, 4, 4), images, 5);
    EXPECT_EQ(PixelAt(page.Image(), 1, 1), clWhite);

    TFont font;
    GStuff::RotateFont(font, 90);
    EXPECT_EQ(font.GetOrientation(), 900);
}

TEST(GStuff, ChoiceMenuReturnsTheIndexOrMinusOne)
{
    TPanel panel;
    panel.SetBounds(30, 40, 100, 100);
    std::vector<std::string> captions;
    int defaultIndex = -1;
    std::string choose;
    SetPopupHook([&](TPopupMenu& menu, TPoint) -> TMenuItem* {
        captions.clear();
        TMenuItem* pick = nullptr;
        for (int i = 0; i < menu.Items().Count(); ++i) {
            TMenuItem* item = menu.Items().GetItems(i);
            captions.push_back(item->GetCaption());
            if (item->GetDefault()) defaultIndex = i;
            if (item->GetCaption() == choose) pick = item;
        }
        return pick;
    });
    choose = "two";
    EXPECT_EQ(GStuff::UserOption(&panel, 5, 5, {"one", "two", "three"}, 2), 1);
    EXPECT_EQ(captions, (std::vector<std::string>{"one", "two", "three", "-", "Avbryt"}));
    EXPECT_EQ(defaultIndex, 2);
    choose = "three";
    EXPECT_EQ(GStuff::UserOption(&panel, 5, 5, {"one", "two", "three"}, 0), 2);
    choose = "Avbryt";
    EXPECT_EQ(GStuff::UserOption(&panel, 5, 5, {"one", "two", "three"}, 0), -1);
    choose = "";
    EXPECT_EQ(GStuff::UserOption(&panel, 5, 5, {"one"}, 0), -1) << "dismissed";
    SetPopupHook(nullptr);
    EXPECT_EQ(GStuff::UserOption(&panel, 5, 5, {"one"}, 0), -1) << "nobody can answer offscreen";
}

TEST(GraphHintWindow, SlowHintShowsAfterASecondAndHidesAfterFive)
{
    TTestClockScope time;
    QWidget form;
    auto* owner = new TPanel();
    owner->QWidget::setParent(&form);
    owner->SetBounds(10, 20, 200, 50);
    form.show();
    QApplication::setActiveWindow(&form);
    TGraphHintWindow hint(owner);
    EXPECT_EQ(hint.GetWidth(), 120);
    EXPECT_EQ(hint.GetHeight(), 30);
    EXPECT_FALSE(hint.GetVisible());
    EXPECT_EQ(hint.GetColor(), clInfoBk);
    EXPECT_THROW(TGraphHintWindow(nullptr), EInvalidArgument);

    TObject first, second;
    int texts = 0;
    hint.OnUpdateText = [&](TGraphHintWindow* w, TObject* o) {
        ++texts;
        w->SetCaption(o == &first ? "first" : "second");
    };
    hint.ShowSlowHintFor(&first, 30, 5);
    time.Clock().Advance(600);
    hint.ShowSlowHintFor(&first, 31, 5);
    EXPECT_EQ(texts, 1) << "the same object neither restarts the delay nor asks again";
    time.Clock().Advance(400);
    TDoLater::DoAllNow();
    EXPECT_TRUE(hint.GetVisible());
    EXPECT_EQ(hint.GetCaption(), "first");
    const TPoint origin = owner->ClientToScreen(Point(0, 0));
    EXPECT_EQ(hint.GetLeft(), origin.X + 31);
    EXPECT_EQ(hint.GetTop(), origin.Y + 50 + 4) << "below the owner";

    time.Clock().Advance(4999);
    TDoLater::DoAllNow();
    EXPECT_TRUE(hint.GetVisible());
    time.Clock().Advance(1);
    TDoLater::DoAllNow();
    EXPECT_FALSE(hint.GetVisible());

    hint.ShowSlowHintFor(&second, 5, 5);
    EXPECT_EQ(texts, 2);
    hint.ShowSlowHintFor(nullptr, 5, 5);
    EXPECT_FALSE(hint.GetVisible());
    EXPECT_EQ(hint.GetCurrentObject(), nullptr);
}

TEST(GraphHintWindow, MoveInfoShowsAtOnceAtTheStaticPlace)
{
    TTestClockScope time;
    TPanel owner;
    owner.SetBounds(0, 0, 300, 100);
    TGraphHintWindow* hint = new TGraphHintWindow(&owner);
    hint->StaticPos = true;
    hint->StaticLeft = 7;
    hint->StaticTop = 9;
    hint->StaticWidth = 150;
    hint->StaticHeight = 50;
    hint->ShowMoveInfo("Start 10:05", "Stop 11:05", "1:00", 40, 40);
    EXPECT_TRUE(hint->GetVisible());
    const TPoint origin = owner.ClientToScreen(Point(0, 0));
    EXPECT_EQ(hint->GetBoundsRect(), Bounds(origin.X + 7, origin.Y + 9, 150, 50));
    EXPECT_EQ(hint->GetCaption(), "Start 10:05\rStop 11:05\r1:00");
    EXPECT_FALSE(hint->HideTimer().GetEnabled());
    // Three lines drawn: dark text pixels in each line's band.
    const QImage image = hint->GrabImage();
    const int lineHeight = hint->CalcHintRect(1000, "X").Height() - 2;
    for (int line = 0; line < 3; ++line)
        EXPECT_GT(vxplan::test::CountPixels(image, ColorToRGB(clInfoText), 2, 2 + line * lineHeight, 100,
                                            2 + (line + 1) * lineHeight),
                  5)
            << "line " << line;
    // A deferred show pending when the window goes is withdrawn.
    hint->ShowSlowHintFor(&owner, 1, 1);
    time.Clock().Advance(1000);
    delete hint;
    TDoLater::DoAllNow();
}
