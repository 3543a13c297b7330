// The off-screen painted panel: gathered invalidations, update brackets, the margins' corner,
// printing through the same paint (origin, scale, clip, fonts), keys, wheel and drag edges.
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "support/vxTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

using namespace vxplan;
using vxplan::test::ExpectPixels;
using vxplan::test::PixelAt;

namespace {

// Fills itself red with a blue square at (2, 2, 6, 6) and counts its paints.
class Painted : public TvxOffscreenPaint {
public:
    explicit Painted(TComponent* owner = nullptr) : TvxOffscreenPaint(owner) { SetBounds(0, 0, 40, 30); }
    int paints = 0;
    std::vector<TScrollDirection> scrolls;
    using TvxOffscreenPaint::GetUpdateCount;

    void OffscreenPaint() override
    {
        ++paints;
        TCanvas& c = GetOffscreenCanvas();
        c.Brush().SetColor(clRed);
        // Deliberately past the control's edges: printing must clip it.
        c.FillRect(Rect(-10, -10, GetWidth() + 10, GetHeight() + 10));
        c.Brush().SetColor(clBlue);
        const int s = Round(GetScalex());
        c.FillRect(Rect(2 * s, 2 * s, 6 * s, 6 * s));
        TvxOffscreenPaint::OffscreenPaint();
    }
    void PossibleScroll(TScrollDirection d) override { scrolls.push_back(d); }
};

}  // namespace

TEST(OffscreenPaint, InvalidationsGatherUntilThePaintAndRepaintsWaitForTheEndOfAnUpdate)
{
    Painted p;
    p.GrabImage();
    const int before = p.paints;
    for (int i = 0; i < 10; ++i) p.Invalidate();
    p.GrabImage();
    p.GrabImage();
    EXPECT_EQ(p.paints, before + 1);
    // The paint reset the count: the next invalidation reaches the window again.
    p.Invalidate();
    p.GrabImage();
    EXPECT_EQ(p.paints, before + 2);

    p.BeginUpdate();
    p.BeginUpdate();
    p.Repaint();
    EXPECT_EQ(p.paints, before + 2);
    p.EndUpdate();
    p.EndUpdate();
    EXPECT_EQ(p.GetUpdateCount(), 0);
    p.EndUpdate();
    EXPECT_EQ(p.GetUpdateCount(), 0) << "an unmatched EndUpdate does not go below zero";
    p.GrabImage();
    EXPECT_EQ(p.paints, before + 3);
}

TEST(OffscreenPaint, PaintCopiesTheBitmapAndFillsTheMarginCorner)
{
    Painted p;
    p.SetRightMargin(17);
    p.SetBottomMargin(17);
    p.SetBounds(0, 0, 60, 50);
    p.Invalidate();
    const QImage image = p.GrabImage();
    ExpectPixels(image, {{0, 0, clRed}, {3, 3, clBlue}});
    EXPECT_EQ(PixelAt(image, 42, 32), clRed) << "last pixel the bitmap covers";
    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(vxplan::test::CountPixels(image, face, 43, 33, 60, 50), 17 * 17);
    EXPECT_NE(PixelAt(image, 50, 10), clRed) << "the right margin is not copied";
    EXPECT_NE(PixelAt(image, 10, 45), clRed) << "nor the bottom margin";
}

TEST(OffscreenPaint, PrintDrawsAtTheOriginScaledAndClipped)
{
    Painted p;
    p.SetBounds(5, 7, 40, 30);
    TBitmap page(200, 150);
    HDC dc = page.Canvas().GetHandle();
    SetViewportOrgEx(dc, 3, 4, nullptr);
    int widthSeen = 0, afterPrints = 0;
    double scaleSeen = 0;
    p.OnPaint = [&](TObject*) {
        widthSeen = p.GetWidth();
        scaleSeen = p.GetScalex();
        EXPECT_TRUE(p.GetIsPrinting());
        EXPECT_TRUE(p.GetAssignedPrintingCanvas());
    };
    p.OnAfterPrint = [&](TObject*) { ++afterPrints; };

    p.Print(dc, 20, 10, 2, 2, true);
    EXPECT_EQ(widthSeen, 80) << "a scaled print lays the control out at its printed size";
    EXPECT_EQ(scaleSeen, 2);
    EXPECT_EQ(afterPrints, 1);
    const QImage& img = page.Image();
    ExpectPixels(img, {{20, 10, clRed}, {99, 69, clRed}});
    EXPECT_EQ(PixelAt(img, 100, 70), clWhite) << "clipped at the printed size";
    ExpectPixels(img, {{19, 10, clWhite}, {24, 14, clBlue}, {31, 21, clBlue}, {32, 22, clRed}});

    // Everything is as it was: bounds, printing state, the context's viewport and no clip.
    EXPECT_EQ(p.GetBoundsRect(), Rect(5, 7, 45, 37));
    EXPECT_FALSE(p.GetIsPrinting());
    EXPECT_FALSE(p.GetAssignedPrintingCanvas());
    TPoint origin;
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin, Point(3, 4));
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, clip), 0);
    DeleteObject(clip);

    // Unscaled: the screen size stays, the scales are kept; 0 reads as 1.
    p.Print(dc, 0, 0, 3, 0, false);
    EXPECT_EQ(widthSeen, 40);
    EXPECT_EQ(p.GetPrintScalex(), 3);
    EXPECT_EQ(p.GetPrintScaley(), 1);
    EXPECT_EQ(p.GetScalex(), 1) << "on screen the scale is 1";
    EXPECT_THROW(p.Print(nullptr, 0, 0, 1, 1, true), EInvalidArgument);
}

TEST(OffscreenPaint, PrintKeepsTheHostsClipAndRecoversFromAFailingPaint)
{
    Painted p;
    TBitmap page(100, 100);
    HDC dc = page.Canvas().GetHandle();
    IntersectClipRect(dc, 0, 0, 30, 100);
    p.OnPaint = [](TObject*) { throw Exception("drawing failed"); };
    EXPECT_THROW(p.Print(dc, 0, 0, 1, 1, true), Exception);
    EXPECT_FALSE(p.GetIsPrinting());
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetClipRgn(dc, clip), 1);
    TRect box;
    GetRgnBox(clip, &box);
    EXPECT_EQ(box, Rect(0, 0, 30, 100));
    DeleteObject(clip);
    // The next screen paint draws the control again.
    const int before = p.paints;
    p.OnPaint = nullptr;
    p.GrabImage();
    EXPECT_EQ(p.paints, before + 1);
}

TEST(OffscreenPaint, PrintedTextGrowsWithThePrintScale)
{
    class Texted : public TvxOffscreenPaint {
    public:
        int width = 0;
        void OffscreenPaint() override
        {
            TCanvas& c = GetOffscreenCanvas();
            c.Font().SetName("Arial");
            c.Font().SetSize(7);
            PrintResizeFont();
            width = c.TextWidth("Week 23 of 2026");
        }
    } t;
    TBitmap page(800, 400);
    t.GrabImage();
    const int screen = t.width;
    t.Print(page.Canvas().GetHandle(), 0, 0, 3, 3, true);
    EXPECT_NEAR(t.width, 3.0 * screen, 0.15 * 3 * screen);

    // The host's choice wins when it turns the default off.
    t.OnPrintResizeFont = [](TvxOffscreenPaint*, int& size, bool& defaultResize) {
        EXPECT_EQ(size, 7);
        size = 12;
        defaultResize = false;
    };
    int chosen = 0;
    t.OnAfterPrint = [&](TObject*) { chosen = t.GetOffscreenCanvas().Font().GetSize(); };
    t.Print(page.Canvas().GetHandle(), 0, 0, 3, 3, true);
    EXPECT_EQ(chosen, 12);
}

TEST(OffscreenPaint, WantedKeysStayWithTheControl)
{
    QWidget window;
    Painted* p = new Painted();
    Painted* next = new Painted();
    p->QWidget::setParent(&window);
    next->QWidget::setParent(&window);
    p->SetTabStop(true);
    next->SetTabStop(true);
    window.show();
    p->SetFocus();
    std::vector<uint16_t> keys;
    p->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keys.push_back(key); };
    auto pressTab = [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(p, &press);
    };

    p->WantedSpecialKeys().set(VK_TAB);
    pressTab();
    EXPECT_EQ(keys, std::vector<uint16_t>{VK_TAB});

    p->WantedSpecialKeys().reset(VK_TAB);
    bool performed = false;
    TOnTab onTab = [&](bool perform) {
        performed = performed || perform;
        return true;
    };
    // Embedded, Tab goes to the host's handler instead of the control's key handling.
    p->SetActiveXOwner(nullptr, next, onTab);
    pressTab();
    EXPECT_TRUE(performed);
    EXPECT_EQ(keys.size(), 1u);
    p->SetActiveXOwner(nullptr, nullptr, onTab);
    EXPECT_FALSE(static_cast<bool>(p->OnTab));
}

TEST(OffscreenPaint, WheelHandlerHearsEveryWheelMessageAfterThePlatform)
{
    Painted p;
    std::vector<std::string> order;
    int delta = 0;
    p.OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& handled) {
        order.push_back("platform");
        handled = true;
    };
    p.OnWheelMessage = [&](TWMMouseWheel& m) {
        order.push_back("handler");
        delta = m.WheelDelta;
    };
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&p, &wheel);
    EXPECT_EQ(order, (std::vector<std::string>{"platform", "handler"}));
    EXPECT_EQ(delta, -120);
}

TEST(OffscreenPaint, DragNearAnEdgeAsksToScroll)
{
    Painted p;
    p.SetBounds(0, 0, 100, 80);
    p.SetBottomMargin(17);
    p.SetRightMargin(17);
    bool accept = true;
    p.DragOver(nullptr, 50, 2, TDragState::dsDragMove, accept);
    EXPECT_FALSE(accept) << "no drag-over handler: no drop";
    p.DragOver(nullptr, 50, 60, TDragState::dsDragMove, accept);   // 63 - 5 = 58 < 60
    p.DragOver(nullptr, 2, 40, TDragState::dsDragMove, accept);
    p.DragOver(nullptr, 80, 40, TDragState::dsDragMove, accept);   // 83 - 5 = 78 < 80
    p.DragOver(nullptr, 50, 40, TDragState::dsDragMove, accept);
    p.DragOver(nullptr, 2, 2, TDragState::dsDragMove, accept);     // top wins over left
    using D = TScrollDirection;
    EXPECT_EQ(p.scrolls, (std::vector<D>{D::tsdUp, D::tsdDown, D::tsdLeft, D::tsdRight, D::tsdUp}));
    p.OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& a) { EXPECT_TRUE(a); };
    p.DragOver(nullptr, 50, 40, TDragState::dsDragMove, accept);
    EXPECT_TRUE(accept);
}
