// The XY sizer: following the pointer inside the parent's margins, the guides, and what the
// owner hears at the release.
#include <vxplan/paint/vxXYSizer.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

using namespace vxplan;
using vxplan::test::PixelAt;
using vxplan::test::SendMouse;

TEST(XYSizer, DragMovesTheHandleWithGuidesAndReportsTheDistance)
{
    TPanel parent;
    parent.SetBounds(0, 0, 200, 150);
    auto* sizer = new TXYSizer(&parent);
    sizer->SetParent(&parent);
    sizer->SetBounds(50, 40, 5, 5);
    parent.show();
    EXPECT_EQ(sizer->GetWidth(), 5);
    EXPECT_EQ(sizer->GetTopMargin(), 5);
    EXPECT_EQ(PixelAt(sizer->GrabImage(), 2, 2), clBlack);
    std::vector<TPoint> reports;
    sizer->OnResize = [&](TXYSizer*, const TPoint& moved) { reports.push_back(moved); };

    // A click without movement reports no distance.
    SendMouse(sizer, QEvent::MouseButtonPress, 2, 2, Qt::LeftButton, Qt::LeftButton);
    SendMouse(sizer, QEvent::MouseButtonRelease, 2, 2, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], Point(0, 0));

    // Moving without the button changes nothing.
    SendMouse(sizer, QEvent::MouseMove, 12, 12, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(sizer->GetBoundsRect().TopLeft(), Point(50, 40));

    SendMouse(sizer, QEvent::MouseButtonPress, 2, 2, Qt::LeftButton, Qt::LeftButton);
    SendMouse(sizer, QEvent::MouseMove, 12, 22, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(sizer->GetBoundsRect().TopLeft(), Point(60, 60));
    EXPECT_TRUE(sizer->HorizontalGuide()->GetVisible());
    EXPECT_EQ(sizer->HorizontalGuide()->GetBoundsRect(), Rect(5, 62, 195, 64));
    EXPECT_EQ(sizer->VerticalGuide()->GetBoundsRect(), Rect(62, 5, 64, 145));
    // The pointer within the margin of the parent's left edge: the handle stays.
    SendMouse(sizer, QEvent::MouseMove, 2 - 58, 2, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(sizer->GetBoundsRect().TopLeft(), Point(60, 60));
    // Back inside, it follows again.
    SendMouse(sizer, QEvent::MouseMove, 2 - 40, 2, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(sizer->GetBoundsRect().TopLeft(), Point(20, 60));
    SendMouse(sizer, QEvent::MouseButtonRelease, 2, 2, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1], Point(-30, 20));
    EXPECT_FALSE(sizer->HorizontalGuide()->GetVisible());
    EXPECT_FALSE(sizer->VerticalGuide()->GetVisible());
}

namespace {

// A parent split by the handle as a host lays it out: a panel on top, one on the left beneath
// it, and the handle centred on the corner where they meet. The owner moves the split point by
// the distance the handle went.
struct TSplitScene {
    static constexpr int kMargin = 40;

    TSplitScene()
    {
        parent.SetBounds(0, 0, 400, 300);
        top = new TPanel(&parent);
        top->SetParent(&parent);
        top->SetAlign(TAlign::alTop);
        top->SetHeight(100);
        left = new TPanel(&parent);
        left->SetParent(&parent);
        left->SetAlign(TAlign::alLeft);
        left->SetWidth(200);
        sizer = new TXYSizer(&parent);
        sizer->SetParent(&parent);
        for (auto set : {&TXYSizer::SetLeftMargin, &TXYSizer::SetTopMargin, &TXYSizer::SetRightMargin, &TXYSizer::SetBottomMargin})
            (sizer->*set)(kMargin);
        sizer->SetBounds(196, 96, 9, 9);
        sizer->OnResize = [this](TXYSizer*, const TPoint& moved) {
            const TPoint at = sizer->KeptInside(Point(left->GetWidth() + moved.X - 4, top->GetHeight() + moved.Y - 4));
            top->SetHeight(at.Y + 4);
            left->SetWidth(at.X + 4);
            sizer->SetBounds(at.X, at.Y, 9, 9);
            ++reports;
        };
        parent.show();
    }
    // Presses the handle's bottom-right pixel, moves the pointer there (sizer coordinates, as
    // the handle stood at the press) and releases it there.
    void Drag(int x, int y)
    {
        SendMouse(sizer, QEvent::MouseButtonPress, 8, 8, Qt::LeftButton, Qt::LeftButton);
        const TPoint pressedAt = sizer->GetBoundsRect().TopLeft();
        SendMouse(sizer, QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton);
        const TPoint now = sizer->GetBoundsRect().TopLeft();
        // Wide: the pointer may lie at the ends of int.
        const auto back = [](int v, int moved) { return static_cast<int>(std::clamp<int64_t>(int64_t(v) - moved, INT_MIN, INT_MAX)); };
        SendMouse(sizer, QEvent::MouseButtonRelease, back(x, now.X - pressedAt.X), back(y, now.Y - pressedAt.Y), Qt::LeftButton,
                  Qt::NoButton);
    }
    void ExpectUsable(const char* what)
    {
        SCOPED_TRACE(what);
        EXPECT_GE(top->GetHeight(), kMargin);
        EXPECT_GE(left->GetWidth(), kMargin);
        EXPECT_LE(top->GetHeight(), parent.GetClientHeight() - kMargin);
        EXPECT_LE(left->GetWidth(), parent.GetClientWidth() - kMargin);
        EXPECT_TRUE(sizer->GetVisible());
        const TRect r = sizer->GetBoundsRect();
        EXPECT_EQ(r.Width(), 9);
        EXPECT_GE(r.Left, 0);
        EXPECT_GE(r.Top, 0);
        EXPECT_LE(r.Right, parent.GetClientWidth());
        EXPECT_LE(r.Bottom, parent.GetClientHeight());
        // The split point stays under the handle, where the next drag can take it.
        EXPECT_EQ(r.Left + 4, left->GetWidth());
        EXPECT_EQ(r.Top + 4, top->GetHeight());
    }

    TPanel parent;
    TPanel* top = nullptr;
    TPanel* left = nullptr;
    TXYSizer* sizer = nullptr;
    int reports = 0;
};

}  // namespace

TEST(XYSizer, DraggingTheCornerKeepsBothPanelsAtTheMarginsAndTheHandleReachable)
{
    TSplitScene s;
    // Toward the top-left corner, the pointer just inside the margins: the handle stops at them.
    s.Drag(41 - 196, 41 - 96);
    EXPECT_EQ(s.sizer->GetBoundsRect().TopLeft(), Point(40, 40));
    EXPECT_EQ(s.left->GetWidth(), 44);
    EXPECT_EQ(s.top->GetHeight(), 44);
    s.ExpectUsable("up to the top-left margins");
    // And back out toward the bottom-right corner.
    s.Drag(8 + 400, 8 + 300);
    s.ExpectUsable("beyond the bottom-right corner");
    s.Drag(359 - 40, 259 - 40);
    EXPECT_EQ(s.sizer->GetBoundsRect().BottomRight(), Point(360, 260));
    s.ExpectUsable("up to the bottom-right margins");
    // A middle drag moves the split by as much as the pointer.
    const TPoint before = s.sizer->GetBoundsRect().TopLeft();
    s.Drag(8 - 100, 8 - 60);
    EXPECT_EQ(s.sizer->GetBoundsRect().TopLeft(), Point(before.X - 100, before.Y - 60));
    s.ExpectUsable("a middle drag");
    EXPECT_EQ(s.reports, 4);
}

TEST(XYSizer, WildPointerPositionsAndStrayButtonsLeaveTheSplitUsable)
{
    TSplitScene s;
    // Mouse messages carry 16 bits a coordinate, so such points may land anywhere: wherever,
    // the split stays usable.
    for (const TPoint p : {Point(INT_MAX, INT_MAX), Point(INT_MIN, INT_MIN), Point(INT_MAX, INT_MIN), Point(-100000, 100000),
                           Point(-30000, -30000), Point(30000, 30000)}) {
        s.Drag(p.X, p.Y);
        s.ExpectUsable("a pointer far outside");
    }

    // A press far off the handle, then a move inside: the handle is held at its own pixels.
    SendMouse(s.sizer, QEvent::MouseButtonPress, INT_MAX, INT_MIN, Qt::LeftButton, Qt::LeftButton);
    SendMouse(s.sizer, QEvent::MouseMove, 2, 2, Qt::NoButton, Qt::LeftButton);
    SendMouse(s.sizer, QEvent::MouseButtonRelease, INT_MIN, INT_MAX, Qt::LeftButton, Qt::NoButton);
    s.ExpectUsable("a press off the handle");

    // A release without a press, and a drag with the right button, report nothing.
    const int reports = s.reports;
    SendMouse(s.sizer, QEvent::MouseButtonRelease, -500, -500, Qt::LeftButton, Qt::NoButton);
    SendMouse(s.sizer, QEvent::MouseButtonPress, 4, 4, Qt::RightButton, Qt::RightButton);
    SendMouse(s.sizer, QEvent::MouseMove, -100, -100, Qt::NoButton, Qt::RightButton | Qt::LeftButton);
    SendMouse(s.sizer, QEvent::MouseButtonRelease, -100, -100, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(s.reports, reports);
    EXPECT_FALSE(s.sizer->HorizontalGuide()->GetVisible());
    s.ExpectUsable("stray buttons");

    // A parent too small for both margins: the handle keeps to the top-left ones.
    s.parent.SetBounds(0, 0, 60, 60);
    EXPECT_EQ(s.sizer->KeptInside(Point(500, -500)), Point(40, 40));
}
