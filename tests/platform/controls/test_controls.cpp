// Windowed and graphic controls: bounds, parents and owners, painting through the canvas, and
// Qt's mouse, wheel and focus events arriving as messages and events.
#include <vxplan/platform/controls/vxControls.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "support/vxTestSupport.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace vxplan;
using vxplan::test::ExpectPixels;
using vxplan::test::PixelAt;
using vxplan::test::SendMouse;

namespace {

struct MouseRecord {
    TObject* sender;
    TMouseButton button;
    TShiftState shift;
    int x, y;
    bool operator==(const MouseRecord&) const = default;
};

// A press and release of the button at the same client point.
void Click(QWidget* w, int x, int y, Qt::MouseButton button = Qt::LeftButton)
{
    SendMouse(w, QEvent::MouseButtonPress, x, y, button, button);
    SendMouse(w, QEvent::MouseButtonRelease, x, y, button, Qt::NoButton);
}

// A panel that paints a red square at (2, 2, 6, 6) over its frame.
class SquarePanel : public TPanel {
public:
    using TPanel::TPanel;
    int paints = 0;

protected:
    void Paint() override
    {
        TPanel::Paint();
        ++paints;
        Canvas().Brush().SetColor(clRed);
        Canvas().FillRect(Rect(2, 2, 6, 6));
    }
};

// Remembers every message its WndProc sees.
class RecordingControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<unsigned> messages;
    void WndProc(TMessage& m) override
    {
        messages.push_back(m.Msg);
        TCustomControl::WndProc(m);
    }
};

class DeathWatch : public TPanel {
public:
    DeathWatch(TComponent* owner, bool* died) : TPanel(owner), died_(died) {}
    ~DeathWatch() override { *died_ = true; }

private:
    bool* died_;
};

}  // namespace

TEST(ControlBounds, BoundsClientRectAndNegativeSizes)
{
    TPanel p;
    p.SetBounds(10, 20, 100, 50);
    EXPECT_EQ(p.GetBoundsRect(), Rect(10, 20, 110, 70));
    EXPECT_EQ(p.GetClientRect(), Rect(0, 0, 100, 50));
    EXPECT_EQ(p.GetClientWidth(), 100);
    EXPECT_EQ(p.geometry(), QRect(10, 20, 100, 50));
    int resizes = 0;
    p.OnResize = [&](TObject*) { ++resizes; };
    p.SetLeft(15);
    EXPECT_EQ(resizes, 0) << "a move is no resize";
    p.SetWidth(-5);
    EXPECT_EQ(p.GetWidth(), 0);
    EXPECT_EQ(resizes, 1);
    p.SetClientHeight(30);
    EXPECT_EQ(p.GetHeight(), 30);
}

TEST(ControlBounds, VisibleAndEnabledFollowTheWidget)
{
    QWidget host;
    TPanel* p = new TPanel();
    p->QWidget::setParent(&host);
    host.show();
    p->Hide();
    EXPECT_FALSE(p->GetVisible());
    EXPECT_FALSE(p->isVisible());
    p->Show();
    EXPECT_TRUE(p->isVisible());
    p->SetEnabled(false);
    EXPECT_FALSE(p->isEnabled());
    EXPECT_FALSE(p->CanFocus());
    EXPECT_THROW(p->SetFocus(), EInvalidOperation);
}

TEST(ControlParents, ChildrenListAndWidgetParent)
{
    TPanel parent;
    TPanel* win = new TPanel(&parent);
    TPaintBox* box = new TPaintBox(&parent);
    win->SetParent(&parent);
    box->SetParent(&parent);
    ASSERT_EQ(parent.ControlCount(), 2);
    EXPECT_EQ(parent.GetControl(0), win);
    EXPECT_EQ(parent.GetControl(1), box);
    EXPECT_EQ(win->parentWidget(), &parent);
    EXPECT_THROW(parent.GetControl(2), EListError);
    EXPECT_THROW(parent.SetParent(win), EInvalidArgument);
    EXPECT_EQ(parent.GetParent(), nullptr);
    box->SendToBack();
    EXPECT_EQ(parent.GetControl(0), box);
    box->SetParent(nullptr);
    EXPECT_EQ(parent.ControlCount(), 1);
}

TEST(ControlParents, ParentColorAndFontFollowTheParent)
{
    TPanel parent;
    TPanel* child = new TPanel(&parent);
    child->SetParentColor(true);
    child->SetParent(&parent);
    parent.SetColor(clYellow);
    EXPECT_EQ(child->GetColor(), clYellow);
    parent.Font().SetSize(14);
    EXPECT_EQ(child->Font().GetSize(), 14);
    child->Font().SetSize(9);
    EXPECT_FALSE(child->GetParentFont());
    parent.Font().SetSize(20);
    EXPECT_EQ(child->Font().GetSize(), 9);
}

TEST(ControlOwnership, OwnerAndParentFreeTheirChildren)
{
    bool ownedDied = false, parentedDied = false;
    auto* owner = new TPanel();
    new DeathWatch(owner, &ownedDied);
    TComponent other;
    auto* parented = new DeathWatch(&other, &parentedDied);
    parented->SetParent(owner);
    delete owner;
    EXPECT_TRUE(ownedDied);
    EXPECT_TRUE(parentedDied) << "a window frees its child controls";
    EXPECT_EQ(other.GetComponentCount(), 0);
}

TEST(ControlPainting, PanelInAQtLayoutIsResizedAndPaintsThroughItsCanvas)
{
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new SquarePanel();
    int resizes = 0;
    panel->OnResize = [&](TObject*) { ++resizes; };
    layout->addWidget(panel);
    host.resize(40, 30);
    host.show();
    QApplication::processEvents();
    EXPECT_EQ(panel->GetWidth(), 40);
    EXPECT_EQ(panel->GetHeight(), 30);
    EXPECT_GE(resizes, 1);
    const QImage img = panel->GrabImage();
    ASSERT_EQ(img.size(), QSize(40, 30));
    ExpectPixels(img, {{0, 0, ColorToRGB(clBtnHighlight)}, {39, 29, ColorToRGB(clBtnShadow)}, {3, 3, clRed},
                       {6, 6, ColorToRGB(clBtnFace)}});
    // A grab of an up-to-date control does not paint again.
    const int paints = panel->paints;
    panel->GrabImage();
    EXPECT_EQ(panel->paints, paints);
    panel->Invalidate();
    panel->GrabImage();
    EXPECT_EQ(panel->paints, paints + 1);
}

TEST(ControlPainting, GraphicChildPaintsAtItsPlaceClippedToItsBounds)
{
    TPanel panel;
    panel.SetBounds(0, 0, 30, 30);
    panel.SetBevelOuter(TBevelCut::bvNone);
    auto* box = new TPaintBox(&panel);
    box->SetParent(&panel);
    box->SetBounds(10, 5, 4, 3);
    box->OnPaint = [box](TObject*) {
        box->Canvas().Brush().SetColor(clBlue);
        box->Canvas().FillRect(Rect(-5, -5, 50, 50));
        box->Canvas().Brush().SetColor(clRed);
        box->Canvas().FillRect(Rect(0, 0, 1, 1));
    };
    const QImage img = panel.GrabImage();
    ExpectPixels(img, {{10, 5, clRed}, {13, 7, clBlue}, {14, 7, ColorToRGB(clBtnFace)}, {10, 8, ColorToRGB(clBtnFace)},
                       {9, 5, ColorToRGB(clBtnFace)}});
}

TEST(ControlPainting, DisplayCanvasXorTwiceRestoresAndInvalidateErases)
{
    TPanel panel;
    panel.SetBounds(0, 0, 20, 20);
    panel.SetBevelOuter(TBevelCut::bvNone);
    const QImage before = panel.GrabImage();
    auto drawOutline = [&] {
        TCanvas& c = panel.BeginDisplayDraw();
        EXPECT_THROW(panel.BeginDisplayDraw(), EInvalidOperation);
        c.Pen().SetMode(TPenMode::pmXor);
        c.Pen().SetColor(clWhite);
        c.MoveTo(5, 2);
        c.LineTo(5, 15);
        panel.EndDisplayDraw();
    };
    drawOutline();
    const QImage drawn = panel.GrabImage();
    EXPECT_EQ(PixelAt(drawn, 5, 2), ColorToRGB(clBtnFace) ^ 0xFFFFFF);
    EXPECT_EQ(PixelAt(drawn, 5, 15), ColorToRGB(clBtnFace)) << "the end pixel is left out";
    drawOutline();
    EXPECT_EQ(panel.GrabImage(), before);
    drawOutline();
    panel.Invalidate();
    EXPECT_EQ(panel.GrabImage(), before);
}

TEST(ControlMouse, PressMoveReleaseReachTheEventsWithButtonShiftAndPosition)
{
    TPanel p;
    p.SetBounds(0, 0, 50, 50);
    std::vector<MouseRecord> downs, ups;
    std::vector<TPoint> moves;
    int clicks = 0;
    bool capturedDuringPress = false;
    p.OnMouseDown = [&](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        downs.push_back({s, b, sh, x, y});
        capturedDuringPress = p.GetMouseCapture();
    };
    p.OnMouseUp = [&](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { ups.push_back({s, b, sh, x, y}); };
    p.OnMouseMove = [&](TObject*, TShiftState, int x, int y) { moves.push_back({x, y}); };
    p.OnClick = [&](TObject*) { ++clicks; };

    SendMouse(&p, QEvent::MouseButtonPress, 7, 9, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    SendMouse(&p, QEvent::MouseMove, 60, -3, Qt::NoButton, Qt::LeftButton);
    SendMouse(&p, QEvent::MouseButtonRelease, 60, -3, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(downs, (std::vector<MouseRecord>{{&p, TMouseButton::mbLeft, TShiftState{ssShift, ssLeft}, 7, 9}}));
    EXPECT_TRUE(capturedDuringPress);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], Point(60, -3)) << "a captured pointer outside keeps its signed coordinates";
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_TRUE(ups[0].shift.Empty());
    EXPECT_FALSE(p.GetMouseCapture());
    EXPECT_EQ(clicks, 0) << "released outside the control";

    SendMouse(&p, QEvent::MouseButtonPress, 3, 3, Qt::RightButton, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(downs.back().button, TMouseButton::mbRight);
    EXPECT_EQ(downs.back().shift, (TShiftState{ssCtrl, ssRight}));
    SendMouse(&p, QEvent::MouseButtonRelease, 3, 3, Qt::RightButton, Qt::NoButton);
    Click(&p, 3, 3);
    EXPECT_EQ(clicks, 1);
}

TEST(ControlMouse, DoubleClickRaisesDblClickAndADoublePressButOneClick)
{
    TPanel p;
    p.SetBounds(0, 0, 50, 50);
    int clicks = 0, dbl = 0;
    std::vector<TShiftState> downs;
    p.OnClick = [&](TObject*) { ++clicks; };
    p.OnDblClick = [&](TObject*) { ++dbl; };
    p.OnMouseDown = [&](TObject*, TMouseButton, TShiftState s, int, int) { downs.push_back(s); };
    Click(&p, 5, 5);
    SendMouse(&p, QEvent::MouseButtonDblClick, 5, 5, Qt::LeftButton, Qt::LeftButton);
    SendMouse(&p, QEvent::MouseButtonRelease, 5, 5, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(dbl, 1);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_FALSE(downs[0].Contains(ssDouble));
    EXPECT_TRUE(downs[1].Contains(ssDouble));
}

TEST(ControlMouse, WheelReachesTheControlAndUnhandledGoesToTheParent)
{
    TPanel parent;
    parent.SetBounds(0, 0, 100, 100);
    auto* child = new TPanel(&parent);
    child->SetParent(&parent);
    child->SetBounds(10, 10, 50, 50);
    int childDelta = 0, parentDelta = 0;
    TPoint childPos;
    bool childHandles = true;
    child->OnMouseWheel = [&](TObject*, TShiftState s, int d, TPoint pos, bool& handled) {
        EXPECT_TRUE(s.Contains(ssCtrl));
        childDelta = d;
        childPos = pos;
        handled = childHandles;
    };
    parent.OnMouseWheel = [&](TObject*, TShiftState, int d, TPoint, bool& handled) {
        parentDelta = d;
        handled = true;
    };
    auto wheel = [&](int delta) {
        const QPointF global(child->mapToGlobal(QPoint(4, 6)));
        QWheelEvent e(QPointF(4, 6), global, QPoint(), QPoint(0, delta), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(child, &e);
    };
    wheel(-120);
    EXPECT_EQ(childDelta, -120);
    EXPECT_EQ(childPos, child->ClientToScreen(Point(4, 6))) << "the wheel position is on the screen";
    EXPECT_EQ(parentDelta, 0);
    childHandles = false;
    wheel(240);
    EXPECT_EQ(parentDelta, 240);
}

TEST(ControlMouse, GraphicChildUnderThePointerGetsThePressAndKeepsTheCapture)
{
    TPanel panel;
    panel.SetBounds(0, 0, 100, 100);
    auto* box = new TPaintBox(&panel);
    box->SetParent(&panel);
    box->SetBounds(20, 30, 10, 10);
    std::vector<TPoint> boxEvents, panelEvents;
    box->OnMouseDown = [&](TObject* s, TMouseButton, TShiftState, int x, int y) {
        EXPECT_EQ(s, box);
        boxEvents.push_back({x, y});
    };
    box->OnMouseMove = [&](TObject*, TShiftState, int x, int y) { boxEvents.push_back({x, y}); };
    box->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) { boxEvents.push_back({x, y}); };
    panel.OnMouseMove = [&](TObject*, TShiftState, int x, int y) { panelEvents.push_back({x, y}); };
    panel.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { panelEvents.push_back({x, y}); };

    SendMouse(&panel, QEvent::MouseButtonPress, 25, 32, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(TControl::CaptureControl(), box);
    SendMouse(&panel, QEvent::MouseMove, 70, 80, Qt::NoButton, Qt::LeftButton);
    SendMouse(&panel, QEvent::MouseButtonRelease, 70, 80, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(boxEvents, (std::vector<TPoint>{{5, 2}, {50, 50}, {50, 50}}));
    EXPECT_TRUE(panelEvents.empty());
    EXPECT_EQ(TControl::CaptureControl(), nullptr);
    SendMouse(&panel, QEvent::MouseMove, 70, 80, Qt::NoButton, Qt::NoButton);
    Click(&panel, 5, 5);
    EXPECT_EQ(panelEvents, (std::vector<TPoint>{{70, 80}, {5, 5}}));
    // A hidden graphic child is not hit.
    box->Hide();
    Click(&panel, 25, 32);
    EXPECT_EQ(panelEvents.back(), Point(25, 32));
}

TEST(ControlFocus, FocusInAndOutRaiseEnterAndExitAndTheHintIsTheToolTip)
{
    TPanel p;
    std::vector<int> seen;
    p.OnEnter = [&](TObject*) { seen.push_back(1); };
    p.OnExit = [&](TObject*) { seen.push_back(2); };
    QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(&p, &in);
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(&p, &out);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    p.SetTabStop(true);
    EXPECT_EQ(p.focusPolicy(), Qt::TabFocus);
    // The hint shows as the tool tip only while ShowHint is on.
    p.SetHint("Drag to move");
    EXPECT_TRUE(p.toolTip().isEmpty());
    p.SetShowHint(true);
    EXPECT_EQ(p.toolTip(), QString("Drag to move"));
}

TEST(ControlFocus, SetFocusMovesTheFocusBetweenControls)
{
    TPanel form;
    form.SetBounds(0, 0, 100, 100);
    auto* a = new TPanel(&form);
    auto* b = new TPanel(&form);
    a->SetParent(&form);
    b->SetParent(&form);
    std::vector<std::string> seen;
    a->OnEnter = [&](TObject*) { seen.push_back("a+"); };
    a->OnExit = [&](TObject*) { seen.push_back("a-"); };
    b->OnEnter = [&](TObject*) { seen.push_back("b+"); };
    form.show();
    form.activateWindow();
    QApplication::processEvents();
    a->SetFocus();
    b->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(seen, (std::vector<std::string>{"a+", "a-", "b+"}));
}

TEST(ControlMessages, WndProcOverrideSeesInputSizePaintAndPostedMessages)
{
    RecordingControl c;
    c.SetBounds(0, 0, 20, 20);
    Click(&c, 1, 1);
    c.SetWidth(30);
    c.GrabImage();
    ASSERT_TRUE(PostMessage(c.Handle(), WM_USER + 7, 1, 2));
    QApplication::processEvents();
    EXPECT_EQ(c.Perform(WM_USER + 8, 0, 0), 0);
    const std::vector<unsigned> expected{WM_SIZE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SIZE, WM_USER + 7, WM_USER + 8};
    std::vector<unsigned> got;
    for (unsigned m : c.messages)
        if (m != WM_PAINT) got.push_back(m);
    EXPECT_EQ(got, expected);
}
