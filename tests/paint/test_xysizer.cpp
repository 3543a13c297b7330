// The XY sizer: following the pointer inside the parent's margins, the guides, and what the
// owner hears at the release.
#include <vxplan/paint/vxXYSizer.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

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
