// Tree view pixels: dotted lines, expand buttons, selection colours with and without the focus,
// images, the custom-draw hook, and printing through PaintTo seeing the window's pixels.
#include "support/vxTestSupport.h"
#include "test_treeview_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vxplan;
using namespace vxplan::test;

namespace {

const TColor kWhite = RGB(255, 255, 255);
const TColor kShadow = RGB(128, 128, 128);
const TColor kBlack = RGB(0, 0, 0);

// Rows: A (expanded: A1, A2), B (collapsed, one child). Root column centre x = 9, row centres
// y = 8 + 16 * row; children's column centre x = 28.
struct Scene {
    std::unique_ptr<TTreeView> tree = MakeTree(120, 80);
    TTreeNode* a;
    TTreeNode* a1;
    TTreeNode* a2;
    TTreeNode* b;
    Scene()
    {
        a = tree->Items().Add(nullptr, "A");
        a1 = tree->Items().AddChild(a, "A1");
        a2 = tree->Items().AddChild(a, "A2");
        b = tree->Items().Add(nullptr, "B");
        tree->Items().AddChild(b, "B1");
        a->Expand(false);
    }
};

}  // namespace

TEST(TreePaint, DottedLinesAndExpandButtons)
{
    Scene s;
    const QImage img = s.tree->GrabImage();
    // A's button, expanded: a grey box, white inside, a black minus and no vertical stroke.
    ExpectPixels(img, {{5, 4, kShadow}, {13, 12, kShadow}, {6, 5, kWhite}});
    for (int x = 7; x <= 11; ++x) EXPECT_EQ(PixelAt(img, x, 8), kBlack) << x;
    EXPECT_EQ(PixelAt(img, 9, 6), kWhite);
    // B's button, collapsed: a plus.
    ExpectPixels(img, {{9, 54, kBlack}, {7, 56, kBlack}});
    // The root line runs from A down past A's children to B, every other pixel.
    for (int y = 14; y < 52; ++y) EXPECT_EQ(PixelAt(img, 9, y), (9 + y) % 2 == 0 ? kShadow : kWhite) << y;
    // Nothing below the last root's centre or above the first's.
    EXPECT_EQ(CountPixels(img, kShadow, 9, 62, 10, 80), 0);
    EXPECT_EQ(CountPixels(img, kShadow, 9, 0, 10, 4), 0);
    // A1: up to A, down to A2, across to its caption; A2 ends at its centre.
    ExpectPixels(img, {{28, 18, kShadow}, {28, 26, kShadow}, {30, 24, kShadow}, {29, 24, kWhite}, {36, 24, kShadow},
                       {28, 34, kShadow}});
    EXPECT_EQ(CountPixels(img, kShadow, 28, 41, 29, 48), 0);
    // Leaves have no button.
    EXPECT_EQ(PixelAt(img, 24, 20), kWhite);

    // Without lines only the buttons stay; without buttons only the lines.
    s.tree->SetShowLines(false);
    QImage noLines = s.tree->GrabImage();
    ExpectPixels(noLines, {{9, 19, kWhite}, {5, 4, kShadow}});
    s.tree->SetShowLines(true);
    s.tree->SetShowButtons(false);
    QImage noButtons = s.tree->GrabImage();
    ExpectPixels(noButtons, {{5, 4, kWhite}, {9, 9, kShadow}});
}

TEST(TreePaint, SelectionColoursFollowTheFocusAndHideSelection)
{
    Scene s;
    s.a1->SetSelected(true);
    const TRect label = s.a1->DisplayRect(true);
    ASSERT_EQ(label.Left, 38);
    const TColor highlight = GetSysColor(COLOR_HIGHLIGHT), face = GetSysColor(COLOR_BTNFACE);
    // Unfocused with HideSelection (the default): no mark at all.
    QImage img = s.tree->GrabImage();
    EXPECT_EQ(PixelAt(img, label.Left + 1, label.Top + 1), kWhite);
    s.tree->SetHideSelection(false);
    img = s.tree->GrabImage();
    ExpectPixels(img, {{label.Left + 1, label.Top + 1, face}, {label.Right - 1, label.Bottom - 1, face},
                       {label.Right, label.Top + 1, kWhite}});
    Focus(*s.tree);
    ASSERT_TRUE(s.tree->Focused());
    img = s.tree->GrabImage();
    EXPECT_EQ(PixelAt(img, label.Left + 1, label.Top + 1), highlight);
    EXPECT_GT(CountPixels(img, highlight, label.Left, label.Top, label.Right, label.Bottom), label.Width() * 8);
    // The focus rectangle on the caption's edge: dotted, so not all highlight.
    EXPECT_LT(CountPixels(img, highlight, label.Left, label.Top, label.Right, label.Top + 1), label.Width());
    // The unselected captions keep the window colour.
    const TRect other = s.a2->DisplayRect(true);
    EXPECT_EQ(PixelAt(img, other.Left + 1, other.Top + 1), kWhite);
    // RowSelect marks the whole row.
    s.tree->SetRowSelect(true);
    img = s.tree->GrabImage();
    EXPECT_EQ(PixelAt(img, 110, label.Top + 3), highlight);
}

TEST(TreePaint, ImagesAndSelectedImages)
{
    Scene s;
    TImageList images;
    TBitmap strip(32, 16);
    strip.Canvas().Brush().SetColor(clRed);
    strip.Canvas().FillRect(Rect(0, 0, 16, 16));
    strip.Canvas().Brush().SetColor(clLime);
    strip.Canvas().FillRect(Rect(16, 0, 32, 16));
    // A magenta corner is left out.
    strip.Canvas().Brush().SetColor(clFuchsia);
    strip.Canvas().FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(images.AddMasked(strip, clFuchsia), 0);
    EXPECT_EQ(images.GetCount(), 2);
    s.tree->SetImages(&images);
    s.a1->SetImageIndex(0);
    s.a1->SetSelectedIndex(1);
    QImage img = s.tree->GrabImage();
    // A1's image at x 38..53, caption after it.
    ExpectPixels(img, {{45, 24, RGB(255, 0, 0)}, {39, 17, kWhite}});
    EXPECT_EQ(s.a1->DisplayRect(true).Left, 38 + 17);
    EXPECT_EQ(PixelAt(img, 45, 40), kWhite);  // A2 has no image index
    s.a1->SetSelected(true);
    img = s.tree->GrabImage();
    EXPECT_EQ(PixelAt(img, 45, 24), RGB(0, 255, 0));
    // A freed image list is forgotten.
    {
        auto gone = std::make_unique<TImageList>();
        gone->Add(strip);
        s.tree->SetImages(gone.get());
    }
    EXPECT_EQ(s.tree->GetImages(), nullptr);
    EXPECT_EQ(s.a1->DisplayRect(true).Left, 38);
}

TEST(TreePaint, CustomDrawHookColoursOrSkipsRowsAndPrintingSeesTheSamePixels)
{
    Scene s;
    int calls = 0;
    s.tree->OnCustomDrawItem = [&](TCustomTreeView* sender, TTreeNode* node, TCustomDrawState, bool& defaultDraw) {
        ++calls;
        if (node->GetText() == "A2") sender->Canvas().Brush().SetColor(clRed);
        if (node->GetText() == "B") defaultDraw = false;
    };
    const QImage img = s.tree->GrabImage();
    EXPECT_EQ(calls, 4);  // the four rows shown, not the hidden B1
    const TRect a2 = s.a2->DisplayRect(true);
    EXPECT_EQ(PixelAt(img, a2.Left + 1, a2.Top + 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(img, 9, 54), kWhite);  // B drawn by nobody: no button
    TBitmap printed(120, 80);
    s.tree->PaintTo(printed.Canvas().GetHandle(), 0, 0);
    EXPECT_EQ(printed.Image().convertToFormat(QImage::Format_RGB32), img);
    // Drawn at an offset, as on a page.
    TBitmap page(140, 100);
    s.tree->PaintTo(page.Canvas().GetHandle(), 20, 20);
    EXPECT_EQ(page.Image().copy(20, 20, 120, 80).convertToFormat(QImage::Format_RGB32), img);
    EXPECT_EQ(PixelAt(page.Image(), 5, 5), kWhite);
}

TEST(TreePaint, SunkenBorderAroundTheRows)
{
    Scene s;
    s.tree->SetBorderStyle(TBorderStyle::bsSingle);
    const QImage img = s.tree->GrabImage();
    ExpectPixels(img, {{0, 40, kShadow}, {119, 40, GetSysColor(COLOR_BTNHIGHLIGHT)}});
    EXPECT_EQ(s.a->DisplayRect(true).Top, 2);
    EXPECT_EQ(PixelAt(img, 2 + 9 - 4, 2 + 4), kShadow);  // the button moved in by the border
}

TEST(TreePaint, HotTrackMarksTheCaptionUnderThePointer)
{
    Scene s;
    s.tree->SetHotTrack(true);
    const TColor hot = GetSysColor(COLOR_HOTLIGHT);
    const TRect label = s.a2->DisplayRect(true);
    QMouseEvent move(QEvent::MouseMove, QPointF(label.Left + 3, label.Top + 5), QPointF(), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(s.tree.get(), &move);
    QImage img = s.tree->GrabImage();
    EXPECT_GT(CountPixels(img, hot, label.Left, label.Top, label.Right, label.Bottom), label.Width() / 2);
    // Off the caption the mark goes.
    QMouseEvent away(QEvent::MouseMove, QPointF(110, 70), QPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(s.tree.get(), &away);
    img = s.tree->GrabImage();
    EXPECT_EQ(CountPixels(img, hot, label.Left, label.Top, label.Right, label.Bottom), 0);
}

TEST(TreePaint, APaintVisitsOnlyTheRowsInView)
{
    auto tree = MakeTree(120, 80);  // five rows in view
    Fill(*tree, 5000, 2);
    tree->FullExpand();
    tree->SetTopItem(tree->Items().GetRoot(2500));
    std::vector<std::string> drawn;
    tree->OnCustomDrawItem = [&](TCustomTreeView*, TTreeNode* node, TCustomDrawState, bool&) {
        drawn.push_back(node->GetText());
    };
    tree->GrabImage();
    EXPECT_EQ(drawn, (std::vector<std::string>{"R2500", "R2500.0", "R2500.1", "R2501", "R2501.0"}));
}
