// The splitter: sizing its neighbour on every side with the limits, the veto, the inverted line
// over the parent and its children, and a press with nothing to size.
#include <vxplan/paint/vxSplitter.h>
#include <vxplan/platform/controls/vxControls.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

using namespace vxplan;
using vxplan::test::ExpectPixels;
using vxplan::test::PixelAt;
using vxplan::test::SendMouse;

namespace {

// A 300 x 100 panel with a neighbour on one side, the splitter beside it and a filler.
struct Scene {
    TPanel parent;
    TPanel* neighbour;
    TvxSplitter* splitter;
    TPanel* filler;
    explicit Scene(TAlign side, int size = 100)
    {
        parent.SetBounds(0, 0, 300, 100);
        parent.SetBevelOuter(TBevelCut::bvNone);
        neighbour = new TPanel(&parent);
        neighbour->SetColor(clBlue);
        neighbour->SetBevelOuter(TBevelCut::bvNone);
        neighbour->SetAlign(side);
        (side == TAlign::alLeft || side == TAlign::alRight) ? neighbour->SetWidth(size) : neighbour->SetHeight(size);
        neighbour->SetParent(&parent);
        splitter = new TvxSplitter(&parent);
        splitter->SetAlign(side);
        // Placed beside the neighbour, as a designer drops it.
        switch (side) {
        case TAlign::alLeft: splitter->SetLeft(size); break;
        case TAlign::alRight: splitter->SetLeft(300 - size - 3); break;
        case TAlign::alTop: splitter->SetTop(size); break;
        default: splitter->SetTop(100 - size - 3); break;
        }
        if (side == TAlign::alTop || side == TAlign::alBottom) splitter->SetHeight(3);
        splitter->SetParent(&parent);
        filler = new TPanel(&parent);
        filler->SetAlign(TAlign::alClient);
        filler->SetParent(&parent);
        parent.show();
    }
    void Press(int x, int y) { SendMouse(&parent, QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton); }
    void Move(int x, int y) { SendMouse(&parent, QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton); }
    void Release(int x, int y) { SendMouse(&parent, QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton); }
};

}  // namespace

TEST(Splitter, CursorFollowsTheAlignmentAndANegativeMinimumIsRefused)
{
    TvxSplitter s;
    EXPECT_EQ(s.GetAlign(), TAlign::alLeft);
    EXPECT_EQ(s.GetCursor(), crHSplit);
    s.SetAlign(TAlign::alTop);
    EXPECT_EQ(s.GetCursor(), crVSplit);
    EXPECT_THROW(s.SetMinSize(-1), EInvalidArgument);
    EXPECT_EQ(s.GetMinSize(), 30);
}

TEST(Splitter, LeftNeighbourFollowsTheDragAndCollapsesAtTheMinimum)
{
    Scene scene(TAlign::alLeft);
    scene.splitter->SetResizeStyle(TResizeStyle::rsUpdate);
    ASSERT_EQ(scene.splitter->GetLeft(), 100);
    int moved = 0;
    scene.splitter->OnMoved = [&](TObject*) { ++moved; };
    scene.Press(101, 50);
    EXPECT_EQ(scene.splitter->GetResizeControl(), scene.neighbour);
    scene.Move(151, 50);
    EXPECT_EQ(scene.neighbour->GetWidth(), 150) << "resized while dragging";
    EXPECT_EQ(scene.splitter->GetLeft(), 150);
    // The largest size leaves MinSize for the rest: 300 - 30 - (100 + 3) + 100 = 267.
    scene.Move(400, 50);
    EXPECT_EQ(scene.neighbour->GetWidth(), 267);
    scene.Move(20, 50);
    EXPECT_EQ(scene.neighbour->GetWidth(), 0) << "down to the minimum collapses";
    scene.Release(20, 50);
    EXPECT_EQ(scene.neighbour->GetWidth(), 0);
    EXPECT_EQ(moved, 3);
    EXPECT_EQ(scene.splitter->GetResizeControl(), nullptr);
}

TEST(Splitter, RightAndBottomNeighboursKeepTheirFarEdge)
{
    Scene right(TAlign::alRight, 80);
    ASSERT_EQ(right.neighbour->GetLeft(), 220);
    right.Press(218, 50);
    right.Move(198, 50);
    right.Release(198, 50);
    EXPECT_EQ(right.neighbour->GetWidth(), 100);
    EXPECT_EQ(right.neighbour->GetBoundsRect().Right, 300);

    Scene bottom(TAlign::alBottom, 40);
    bottom.Press(150, 58);
    bottom.Move(150, 48);
    bottom.Release(150, 48);
    EXPECT_EQ(bottom.neighbour->GetHeight(), 50);
    EXPECT_EQ(bottom.neighbour->GetBoundsRect().Bottom, 100);
}

TEST(Splitter, PatternLineInvertsOverTheChildrenAndLeavesNoTrace)
{
    Scene scene(TAlign::alLeft);
    const QImage before = scene.parent.grab().toImage();
    scene.Press(101, 50);
    QImage shown = scene.parent.grab().toImage();
    // A checker of inverted pixels at the splitter's place, the rest untouched.
    EXPECT_NE(PixelAt(shown, 100, 10), PixelAt(before, 100, 10));
    EXPECT_EQ(PixelAt(shown, 101, 10), PixelAt(before, 101, 10));
    scene.Move(81, 50);
    shown = scene.parent.grab().toImage();
    EXPECT_EQ(PixelAt(shown, 100, 10), PixelAt(before, 100, 10)) << "the old line is erased";
    EXPECT_EQ(PixelAt(shown, 80, 10), ColorToRGB(clYellow)) << "blue inverted, over the neighbour";
    EXPECT_EQ(scene.neighbour->GetWidth(), 100) << "the pattern style sizes at the release";

    // A veto keeps the line and the size where they were.
    scene.splitter->OnCanResize = [](TObject*, int&, bool& accept) { accept = false; };
    scene.Move(61, 50);
    shown = scene.parent.grab().toImage();
    ExpectPixels(shown, {{80, 10, ColorToRGB(clYellow)}, {60, 10, ColorToRGB(clBlue)}});
    scene.splitter->OnCanResize = nullptr;
    scene.Release(81, 50);
    EXPECT_EQ(scene.neighbour->GetWidth(), 80);
    const QImage after = scene.parent.grab().toImage();
    EXPECT_EQ(PixelAt(after, 80, 10), PixelAt(after, 81, 10)) << "no line left behind";
    EXPECT_EQ(PixelAt(after, 79, 10), ColorToRGB(clBlue));
}

TEST(Splitter, NothingToSizeOrANeighbourFreedMidDrag)
{
    TPanel parent;
    parent.SetBounds(0, 0, 200, 100);
    auto* splitter = new TvxSplitter(&parent);
    splitter->SetParent(&parent);
    parent.show();
    SendMouse(&parent, QEvent::MouseButtonPress, 1, 50, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(splitter->GetResizeControl(), nullptr) << "no control left of a splitter at the edge";
    SendMouse(&parent, QEvent::MouseButtonRelease, 1, 50, Qt::LeftButton, Qt::NoButton);

    Scene scene(TAlign::alLeft);
    scene.Press(101, 50);
    delete scene.neighbour;
    EXPECT_EQ(scene.splitter->GetResizeControl(), nullptr);
    scene.Move(130, 50);
    scene.Release(130, 50);
}

TEST(Splitter, BevelPaintsHighlightAndShadow)
{
    Scene scene(TAlign::alLeft);
    scene.splitter->SetWidth(6);
    scene.splitter->SetBeveled(true);
    const QImage image = scene.parent.grab().toImage();
    // Rectangle (0, 0, 6, 100) inflated by (-1, 2) and moved by (1, 1): (2, -1, 6, 103).
    ExpectPixels(image, {{100 + 2, 50, ColorToRGB(clBtnHighlight)}, {100 + 5, 50, ColorToRGB(clBtnHighlight)}});
    // Moved by (-2, -2): (0, -3, 4, 101).
    ExpectPixels(image, {{100 + 0, 50, ColorToRGB(clBtnShadow)}, {100 + 3, 50, ColorToRGB(clBtnShadow)}});
}
