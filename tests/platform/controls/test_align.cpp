// Alignment of a window's children: order within an alignment, ties, hidden children, the
// client fill, realignment on resize and the panel's bevels.
#include <vxplan/platform/controls/vxControls.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

using namespace vxplan;

namespace {

struct Scene {
    TPanel parent;
    Scene()
    {
        parent.SetBevelOuter(TBevelCut::bvNone);
        parent.SetBounds(0, 0, 200, 100);
    }
    TPanel* Add(TAlign align, int left, int top, int width, int height)
    {
        auto* c = new TPanel(&parent);
        c->SetBounds(left, top, width, height);
        c->SetParent(&parent);
        c->SetAlign(align);
        return c;
    }
};

}  // namespace

TEST(Align, TopBottomLeftRightThenClientFillsTheRest)
{
    Scene s;
    TPanel* client = s.Add(TAlign::alClient, 0, 0, 5, 5);
    TPanel* top = s.Add(TAlign::alTop, 0, 0, 10, 10);
    TPanel* bottom = s.Add(TAlign::alBottom, 0, 0, 10, 20);
    TPanel* left = s.Add(TAlign::alLeft, 0, 0, 30, 10);
    TPanel* right = s.Add(TAlign::alRight, 0, 0, 40, 10);
    TPanel* loose = s.Add(TAlign::alNone, 3, 4, 5, 6);
    EXPECT_EQ(top->GetBoundsRect(), Rect(0, 0, 200, 10));
    EXPECT_EQ(bottom->GetBoundsRect(), Rect(0, 80, 200, 100));
    EXPECT_EQ(left->GetBoundsRect(), Rect(0, 10, 30, 80));
    EXPECT_EQ(right->GetBoundsRect(), Rect(160, 10, 200, 80));
    EXPECT_EQ(client->GetBoundsRect(), Rect(30, 10, 160, 80));
    EXPECT_EQ(loose->GetBoundsRect(), Rect(3, 4, 8, 10));
}

TEST(Align, WithinOneAlignmentControlsGoByPosition)
{
    Scene s;
    // Held back, so every control keeps the position it was given until all are there.
    s.parent.DisableAlign();
    TPanel* a = s.Add(TAlign::alTop, 0, 50, 10, 10);
    TPanel* b = s.Add(TAlign::alTop, 0, 5, 10, 20);
    TPanel* r1 = s.Add(TAlign::alRight, 0, 0, 30, 10);
    TPanel* r2 = s.Add(TAlign::alRight, 150, 0, 20, 10);
    TPanel* b1 = s.Add(TAlign::alBottom, 0, 90, 10, 5);
    TPanel* b2 = s.Add(TAlign::alBottom, 0, 0, 10, 7);
    s.parent.EnableAlign();
    EXPECT_EQ(b->GetTop(), 0) << "b was above a";
    EXPECT_EQ(a->GetTop(), 20);
    // Dragging a up onto b's place puts it first.
    a->SetTop(0);
    EXPECT_EQ(a->GetTop(), 0);
    EXPECT_EQ(b->GetTop(), 10);

    EXPECT_EQ(r2->GetLeft(), 180) << "the rightmost goes outermost";
    EXPECT_EQ(r1->GetLeft(), 150);
    EXPECT_EQ(b1->GetBoundsRect().Bottom, 100) << "the lowest goes outermost";
    EXPECT_EQ(b2->GetBoundsRect().Bottom, 95);
}

TEST(Align, EqualPositionsKeepListOrderButTheMovedControlWins)
{
    Scene s;
    s.parent.DisableAlign();
    TPanel* first = s.Add(TAlign::alLeft, 0, 0, 10, 10);
    TPanel* second = s.Add(TAlign::alLeft, 0, 0, 20, 10);
    s.parent.EnableAlign();
    EXPECT_EQ(first->GetLeft(), 0);
    EXPECT_EQ(second->GetLeft(), 10);
    // second is moved onto first's place: it goes before first.
    second->SetLeft(0);
    EXPECT_EQ(second->GetLeft(), 0);
    EXPECT_EQ(first->GetLeft(), 20);
    // Resizing first at its own place (20) ties with nobody; it stays second.
    first->SetWidth(15);
    EXPECT_EQ(first->GetBoundsRect(), Rect(20, 0, 35, 100));
}

TEST(Align, HiddenControlsTakeNoSpace)
{
    Scene s;
    TPanel* top = s.Add(TAlign::alTop, 0, 0, 10, 30);
    TPanel* client = s.Add(TAlign::alClient, 0, 0, 10, 10);
    EXPECT_EQ(client->GetTop(), 30);
    top->Hide();
    EXPECT_EQ(client->GetBoundsRect(), Rect(0, 0, 200, 100));
    top->Show();
    EXPECT_EQ(client->GetTop(), 30);
}

TEST(Align, ParentResizeRealignsAndChildSeesItInOnResize)
{
    Scene s;
    TPanel* right = s.Add(TAlign::alRight, 0, 0, 50, 10);
    TPanel* client = s.Add(TAlign::alClient, 0, 0, 10, 10);
    int clientWidthAtParentResize = -1;
    s.parent.OnResize = [&](TObject*) { clientWidthAtParentResize = client->GetWidth(); };
    s.parent.SetBounds(0, 0, 300, 120);
    EXPECT_EQ(right->GetBoundsRect(), Rect(250, 0, 300, 120));
    EXPECT_EQ(client->GetBoundsRect(), Rect(0, 0, 250, 120));
    EXPECT_EQ(clientWidthAtParentResize, 250) << "children are placed before OnResize";
    s.parent.SetWidth(20);
    EXPECT_EQ(client->GetWidth(), 0) << "no negative sizes when space runs out";
}

TEST(Align, PanelBevelsAndBorderShrinkTheAlignedArea)
{
    TPanel parent;
    parent.SetBounds(0, 0, 100, 60);
    auto* client = new TPanel(&parent);
    client->SetParent(&parent);
    client->SetAlign(TAlign::alClient);
    EXPECT_EQ(client->GetBoundsRect(), Rect(1, 1, 99, 59)) << "the raised outer bevel";
    parent.SetBevelInner(TBevelCut::bvLowered);
    parent.SetBevelWidth(2);
    parent.SetBorderWidth(3);
    EXPECT_EQ(client->GetBoundsRect(), Rect(7, 7, 93, 53));
    parent.SetBorderStyle(TBorderStyle::bsSingle);
    EXPECT_EQ(client->GetBoundsRect(), Rect(8, 8, 92, 52));
    EXPECT_EQ(parent.GetClientRect(), Rect(0, 0, 100, 60)) << "the client rectangle itself stays whole";
    EXPECT_THROW(parent.SetBevelWidth(0), EInvalidArgument);
    EXPECT_THROW(parent.SetBorderWidth(-1), EInvalidArgument);
    EXPECT_EQ(parent.GetBevelWidth(), 2);
}

TEST(Align, PanelBevelPixels)
{
    TPanel p;
    p.SetBounds(0, 0, 10, 8);
    p.SetBevelInner(TBevelCut::bvLowered);
    const QImage img = p.GrabImage();
    auto px = [&](int x, int y) { return test::PixelAt(img, x, y); };
    const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow), face = ColorToRGB(clBtnFace);
    // Outer ring raised: light top and left, dark bottom and right with both far corners.
    EXPECT_EQ(px(0, 0), hi);
    EXPECT_EQ(px(8, 0), hi);
    EXPECT_EQ(px(9, 0), sh);
    EXPECT_EQ(px(0, 6), hi);
    EXPECT_EQ(px(0, 7), sh);
    EXPECT_EQ(px(9, 7), sh);
    // Inner ring lowered: the other way round.
    EXPECT_EQ(px(1, 1), sh);
    EXPECT_EQ(px(8, 1), hi);
    EXPECT_EQ(px(1, 6), hi);
    EXPECT_EQ(px(8, 6), hi);
    EXPECT_EQ(px(2, 2), face);
}
