// The mouse on the time axis: zooming and panning by dragging, the veto, the scroll buttons'
// acceleration on the test clock, programmatic stepping and animated transitions.
#include <vxplan/platform/time/vxClock.h>
#include <vxplan/platform/time/vxDateUtils.h>
#include <vxplan/scaler/vxScaler.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>

using namespace vxplan;
using vxplan::test::SendMouse;
using vxplan::test::WindowMouse;

namespace {

const TDateTime kMonday = EncodeDate(2026, 3, 2);

class ScalerMouse : public ::testing::Test {
protected:
    ScalerMouse()
    {
        scaler.SetHorizontal(true);
        scaler.SetBounds(0, 0, 1000, 45);
        scaler.SetStart(kMonday);
        scaler.SetStop(kMonday + 10);
        scaler.GrabImage();  // places the scroll buttons
    }
    void Drag(int x0, int x1, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        SendMouse(&scaler, QEvent::MouseButtonPress, x0, 30, Qt::LeftButton, Qt::LeftButton, mods);
        SendMouse(&scaler, QEvent::MouseMove, x1, 30, Qt::NoButton, Qt::LeftButton, mods);
        SendMouse(&scaler, QEvent::MouseButtonRelease, x1, 30, Qt::LeftButton, Qt::NoButton, mods);
    }

    TTestClockScope clock{kMonday};
    TvxDateScaler scaler;
};

}  // namespace

TEST_F(ScalerMouse, DraggingRightZoomsOutAroundThePressPoint)
{
    const double scale = scaler.GetScale();
    // The press at x = 300 lies on the mark of 5 March (the left button snaps to the day).
    Drag(300, 350);
    EXPECT_NEAR(scaler.GetScale(), 1.5 * scale, 1e-9);
    EXPECT_EQ(scaler.DateToPixel(kMonday + 3), 300) << "the date under the press stays";
    EXPECT_FALSE(scaler.GetPressed());
    EXPECT_FALSE(scaler.GetZooming());
}

TEST_F(ScalerMouse, CtrlDragOrRescaleWithCtrlPansSkippingHiddenTime)
{
    Drag(300, 350, Qt::ControlModifier);
    EXPECT_NEAR(scaler.GetStart(), kMonday - 0.5, 1e-9) << "50 pixels of 100 px a day, earlier";
    EXPECT_NEAR(scaler.GetStop() - scaler.GetStart(), 10, 1e-9);

    scaler.SetRescaleWithCtrl(true);
    scaler.SetHiddenDays({TvxHiddenDaysEnum::thdSAT, TvxHiddenDaysEnum::thdSUN});
    scaler.SetStart(kMonday);
    const TDateTime amount = scaler.VisibleTimeAmount();
    // Earlier from Monday morning lies the weekend: the start lands on Friday's last moment.
    Drag(300, 400);
    EXPECT_NEAR(scaler.GetStart(), kMonday - 2, 2.0 / 86400000);
    EXPECT_LT(scaler.GetStart(), kMonday - 2);
    EXPECT_NEAR(scaler.VisibleTimeAmount(), amount, 1e-6);
}

TEST_F(ScalerMouse, VetoAndTheTenSecondFloorUndoAZoom)
{
    const TDateTime start = scaler.GetStart(), stop = scaler.GetStop();
    scaler.OnLimitScaling = [](TvxDateScaler*, TDateTime, TDateTime, double) { return true; };
    Drag(300, 400);
    EXPECT_EQ(scaler.GetStart(), start);
    EXPECT_EQ(scaler.GetStop(), stop);
    scaler.OnLimitScaling = nullptr;
    scaler.SetCenterScale(1e-9, kMonday + 1, 500);
    EXPECT_EQ(scaler.GetStart(), start) << "under ten seconds is refused";
    EXPECT_EQ(scaler.GetStop(), stop);
}

TEST_F(ScalerMouse, HoldingTheLaterButtonScrollsFasterAndFaster)
{
    const TRect later = scaler.GetLaterButtonRect();
    ASSERT_EQ(later, Rect(981, 1, 1000, 20));
    const TDateTime base = scaler.GetScrollStep();
    EXPECT_NEAR(base, 15 * 0.01, 1e-12) << "15 pixels' worth";
    SendMouse(&scaler, QEvent::MouseButtonPress, 990, 10, Qt::LeftButton, Qt::LeftButton);
    TDateTime start = scaler.GetStart();
    auto tick = [&] {
        clock.Clock().Advance(50);
        const TDateTime moved = scaler.GetStart() - start;
        start = scaler.GetStart();
        return moved;
    };
    EXPECT_NEAR(tick(), base, 1e-9);
    clock.Clock().Advance(2000);
    start = scaler.GetStart();
    EXPECT_NEAR(tick(), 3 * base, 1e-9);
    clock.Clock().Advance(3000);
    start = scaler.GetStart();
    EXPECT_NEAR(tick(), 21 * base, 1e-9);
    // The pointer leaving the button stops the scrolling at the next tick.
    SendMouse(&scaler, QEvent::MouseMove, 500, 10, Qt::NoButton, Qt::LeftButton);
    tick();
    EXPECT_NEAR(tick(), 0, 1e-12);
    EXPECT_FALSE(scaler.GetScrollTimer().GetEnabled());
    SendMouse(&scaler, QEvent::MouseButtonRelease, 500, 10, Qt::LeftButton, Qt::NoButton);

    // With the buttons off a press in the corner does not scroll.
    scaler.SetScrollButtons(TScrollButtons::tsbOff);
    scaler.GrabImage();
    SendMouse(&scaler, QEvent::MouseButtonPress, 2, 2, Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(scaler.GetScrollTimer().GetEnabled());
    SendMouse(&scaler, QEvent::MouseButtonRelease, 2, 2, Qt::LeftButton, Qt::NoButton);
}

TEST_F(ScalerMouse, EveryPressOfADoubleClickStepsOnce)
{
    const TDateTime base = scaler.GetScrollStep();
    const auto doubleClick = [&](bool pressBeforeDoubleClick) {
        const TDateTime start = scaler.GetStart();
        SendMouse(&scaler, QEvent::MouseButtonPress, 990, 10, Qt::LeftButton, Qt::LeftButton);
        SendMouse(&scaler, QEvent::MouseButtonRelease, 990, 10, Qt::LeftButton, Qt::NoButton);
        if (pressBeforeDoubleClick) SendMouse(&scaler, QEvent::MouseButtonPress, 990, 10, Qt::LeftButton, Qt::LeftButton);
        SendMouse(&scaler, QEvent::MouseButtonDblClick, 990, 10, Qt::LeftButton, Qt::LeftButton);
        SendMouse(&scaler, QEvent::MouseButtonRelease, 990, 10, Qt::LeftButton, Qt::NoButton);
        return (scaler.GetStart() - start) / base;
    };
    EXPECT_NEAR(doubleClick(true), 2, 1e-6) << "the second press as a press and as the double click";
    EXPECT_NEAR(doubleClick(false), 2, 1e-6) << "the second press as the double click alone";
    EXPECT_FALSE(scaler.GetScrollTimer().GetEnabled());
}

TEST_F(ScalerMouse, ProgrammaticSteppingUsesTheBaseStepEvery150Ms)
{
    const TDateTime base = scaler.GetScrollStep(), start = scaler.GetStart();
    scaler.StartStepDown();
    EXPECT_EQ(scaler.GetScrollTimer().GetInterval(), 150);
    clock.Clock().Advance(150 * 30);
    EXPECT_NEAR(scaler.GetStart(), start - 30 * base, 1e-9);
    scaler.StopStep();
    EXPECT_EQ(scaler.GetScrollTimer().GetInterval(), 50);
    EXPECT_FALSE(scaler.GetScrollTimer().GetEnabled());
    EXPECT_FALSE(scaler.GetChanged());
    // Scrolling stops at MinStart.
    scaler.SetMinStart(scaler.GetStart() - base / 2);
    const TDateTime before = scaler.GetStart();
    scaler.StartStepDown();
    clock.Clock().Advance(1500);
    scaler.StopStep();
    EXPECT_EQ(scaler.GetStart(), before);
}

TEST_F(ScalerMouse, AnimationsReachTheirTargetAndStopEarlyWhenThereIsNothingToDo)
{
    int frames = 0;
    scaler.OnAnimateChange = [&](TObject*) { ++frames; };
    scaler.AnimateScaleTransition(scaler.GetScale(), 10);
    EXPECT_EQ(frames, 1) << "to the current scale: one step";
    frames = 0;
    const double target = scaler.GetScale() / 4;
    scaler.AnimateScaleTransition(target, 5);
    EXPECT_EQ(frames, 5);
    EXPECT_NEAR(scaler.GetScale(), target, 1e-9);

    frames = 0;
    scaler.AnimateScaleTransition(kMonday + 20, kMonday + 22, 4);
    EXPECT_EQ(frames, 4);
    EXPECT_NEAR(scaler.GetStart(), kMonday + 20, 1e-9);
    EXPECT_NEAR(scaler.GetStop(), kMonday + 22, 1e-9);
    frames = 0;
    scaler.AnimateScaleTransition(scaler.GetStart() + 1e-6, scaler.GetStart(), 8);
    EXPECT_EQ(frames, 1) << "a tiny move is made in one step";
    EXPECT_NEAR(scaler.GetStop() - scaler.GetStart(), 1, 1e-9) << "a stop before the start means one day";
}

namespace {

// Scalers as hosts place them: laid out by Qt on a page of a tab widget, and as a child control
// of a panel. The host made its windows before the test clock was installed, as an application
// does before a test drives it.
class ScalerInHost : public ::testing::Test {
protected:
    ScalerInHost()
    {
        auto* page = new QWidget;
        auto* rows = new QVBoxLayout(page);
        rows->addWidget(new QLabel("Two weeks"));
        laidOut = new TvxDateScaler;
        laidOut->setMinimumHeight(45);
        laidOut->setMaximumHeight(45);
        laidOut->SetBounds(0, 0, 640, 45);
        rows->addWidget(laidOut);
        rows->addStretch();
        tabs.addTab(page, "page");
        panel.SetBounds(0, 0, 700, 200);
        child = new TvxDateScaler(&panel);
        child->SetParent(&panel);
        child->SetBounds(10, 50, 600, 45);
        for (TvxDateScaler* s : {laidOut, child}) {
            s->SetHorizontal(true);
            s->SetStart(kMonday);
            s->SetStop(kMonday + 14);
        }
        tabs.resize(800, 300);
        tabs.show();
        panel.show();
        QCoreApplication::processEvents();  // lays out and paints, which places the buttons
        clock.emplace(kMonday);
    }
    void Press(TvxDateScaler* s, TPoint p) { WindowMouse(s, QEvent::MouseButtonPress, p.X, p.Y, Qt::LeftButton, Qt::LeftButton); }
    void Release(TvxDateScaler* s, TPoint p) { WindowMouse(s, QEvent::MouseButtonRelease, p.X, p.Y, Qt::LeftButton, Qt::NoButton); }
    void Advance(int ms)
    {
        clock->Clock().Advance(ms);
        QCoreApplication::processEvents();
    }

    std::optional<TTestClockScope> clock;  // the last to go: the scalers' timers may run on it
    QTabWidget tabs;
    TPanel panel;
    TvxDateScaler* laidOut = nullptr;
    TvxDateScaler* child = nullptr;
};

TPoint Middle(const TRect& r) { return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

}  // namespace

TEST_F(ScalerInHost, AClickOnAScrollButtonStepsAndHoldingItKeepsScrolling)
{
    for (TvxDateScaler* s : {laidOut, child}) {
        SCOPED_TRACE(s == laidOut ? "laid out by Qt" : "a child control");
        const TRect later = s->GetLaterButtonRect();
        ASSERT_EQ(later.Right, s->GetWidth()) << "the button at the control's right end";
        const TPoint at = Middle(later);
        const TDateTime step = s->GetScrollStep();

        // A click, however short, steps once.
        TDateTime start = s->GetStart();
        Press(s, at);
        Release(s, at);
        EXPECT_NEAR(s->GetStart() - start, step, 1e-9);

        // Held, it steps at the press and at every tick of the test clock.
        start = s->GetStart();
        Press(s, at);
        EXPECT_NEAR(s->GetStart() - start, step, 1e-9);
        for (int i = 0; i < 5; ++i) {
            const TDateTime before = s->GetStart();
            Advance(50);
            EXPECT_NEAR(s->GetStart() - before, step, 1e-9) << "tick " << i;
        }
        Release(s, at);
        const TDateTime released = s->GetStart();
        Advance(500);
        EXPECT_EQ(s->GetStart(), released) << "the release stops it";

        // The earlier button goes back, and a release far outside the window stops it too.
        const TPoint earlier = Middle(s->GetEarlierButtonRect());
        Press(s, earlier);
        Advance(50);
        EXPECT_NEAR(s->GetStart() - released, -2 * step, 1e-9);
        Release(s, Point(-3000, 5000));
        Advance(500);
        EXPECT_NEAR(s->GetStart() - released, -2 * step, 1e-9);
        EXPECT_FALSE(s->GetPressed());
        EXPECT_FALSE(s->GetScrollTimer().GetEnabled());
    }
}
