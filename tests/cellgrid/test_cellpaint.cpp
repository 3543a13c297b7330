// Painting of cells on a bitmap: fills, raised edges of fixed cells, default and layout frame
// lines, the line hook, 3-D lines, selection colours, check boxes and cell sections.
#include "vxGridFixture.h"

#include <vxplan/platform/graphics/vxBitmap.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

namespace vxplan::test {
namespace {

class TTestPainter : public TBabCellPainter {
public:
    TTestPainter() : bitmap(120, 80)
    {
        bitmap.Canvas().Brush().SetColor(clRed);
        bitmap.Canvas().FillRect(Rect(0, 0, 120, 80));
    }
    TCanvas& PaintCanvas() override { return bitmap.Canvas(); }
    bool PaintHasFocus() const override { return focus; }
    bool CellHasButton(TBabCell*) override { return button; }
    bool CellHasIcon(TBabCell*) override { return imageWidth >= 0; }
    int ImageListWidth() const override { return imageWidth; }

    TColor At(int x, int y) const { return PixelAt(bitmap.Image(), x, y); }
    int Count(TColor c) const { return CountPixels(bitmap.Image(), c, 0, 0, 120, 80); }

    TBitmap bitmap;
    bool focus = false;
    bool button = false;
    int imageWidth = -1;
};

// A grid of one 40 x 20 cell per column and row, drawn at (10, 10) through the painter.
struct TPaintScene {
    TPaintScene(int columns, int rows, int fixedRows = 0)
    {
        for (int c = 0; c < columns; ++c) f.root->Columns().AddNew(nullptr);
        for (int r = 0; r < rows; ++r) f.root->Rows().AddNew(nullptr);
        f.root->SetFixedRows(fixedRows);
        for (int c = 0; c < columns; ++c) {
            f.root->Columns().getAxisContentItem(c)->SetUserSizeActive(true);
            f.root->Columns().getAxisContentItem(c)->SetUserSize(40);
        }
    }
    void Paint()
    {
        const TRect area = Rect(10, 10, 110, 70);
        f.root->CalcVisibleArea(area);
        f.root->Draw(area, TOnDrawBabCell(&painter, &TBabCellPainter::OnDrawBabCell));
    }
    TBabCell* Cell(int c, int r) { return f.root->getCell(c, r); }

    TGridFixture f;
    TTestPainter painter;
};

const TColor kBtnFace = ColorToRGB(clBtnFace);

TEST(CellPaint, AFixedCellWithoutLayoutIsRaisedOnButtonFaceWithoutFrameLines)
{
    TPaintScene s(1, 1, 1);
    s.Paint();
    // Cell (10,10)-(50,30); inner (11,11)-(49,29).
    const TTestPainter& p = s.painter;
    const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
    ExpectPixels(p.bitmap.Image(), {{10, 10, kBtnFace}, {30, 20, kBtnFace}, {30, 11, light}, {49, 11, light}, {11, 28, light},
                                    {11, 29, dark}, {48, 29, dark}, {49, 20, dark}, {50, 20, clRed}, {30, 30, clRed}});
}

TEST(CellPaint, APlainCellIsFilledOneInAndGetsAButtonFaceLineAtItsRightEdge)
{
    TPaintScene s(1, 1);
    s.Paint();
    const TTestPainter& p = s.painter;
    EXPECT_EQ(p.At(10, 10), clRed);  // the fill starts one pixel in
    EXPECT_EQ(p.At(11, 11), ColorToRGB(clWindow));
    EXPECT_EQ(p.At(11, 30), ColorToRGB(clWindow));  // and reaches one below the bottom
    for (int y = 10; y < 30; ++y) EXPECT_EQ(p.At(50, y), kBtnFace) << y;
    EXPECT_EQ(p.At(50, 30), clRed);
}

TEST(CellPaint, LayoutFrameOptionsDrawExactlyTheirLines)
{
    TPaintScene s(1, 1);
    TLayoutProp lp;
    lp.MinWidth = lp.MinHeight = 20;
    lp.BackColor = clYellow;
    lp.FrameOptionsUse = true;
    lp.FrameOptions = {TFrameOption::foTop, TFrameOption::foBottom};
    lp.FrameColor = clBlue;
    s.Cell(0, 0)->SetLayoutProp(&lp);
    s.Paint();
    const TTestPainter& p = s.painter;
    EXPECT_EQ(p.Count(clBlue), 2 * 40);
    ExpectPixels(p.bitmap.Image(), {{10, 10, clBlue}, {49, 30, clBlue}, {50, 10, clRed}, {30, 20, clYellow}});
}

TEST(CellPaint, ALineHookMustAskForTheDefaultLine)
{
    TPaintScene s(1, 1);
    TLayoutProp lp;
    lp.MinWidth = lp.MinHeight = 20;
    lp.FrameOptionsUse = true;
    lp.FrameOptions = {TFrameOption::foLeft, TFrameOption::foRight};
    lp.FrameColor = clBlue;
    std::vector<TFrameOption> asked;
    lp.OnFrameLineDraw = [&](TLayoutProp*, TFrameOption option, TBabCell*, const TRect&, const TPoint&, const TPoint&,
                             bool& doDefault, TCanvas&) {
        asked.push_back(option);
        if (option == TFrameOption::foRight) doDefault = true;
    };
    s.Cell(0, 0)->SetLayoutProp(&lp);
    s.Paint();
    EXPECT_EQ(asked, (std::vector<TFrameOption>{TFrameOption::foLeft, TFrameOption::foRight}));
    EXPECT_EQ(s.painter.Count(clBlue), 20);
    EXPECT_EQ(s.painter.At(50, 15), clBlue);
}

TEST(CellPaint, A3dLineIsFollowedByALighterOneNextToIt)
{
    TPaintScene s(1, 1);
    TLayoutProp lp;
    lp.MinWidth = lp.MinHeight = 20;
    lp.FrameOptionsUse = true;
    lp.FrameOptions = {TFrameOption::foBottom, TFrameOption::foRight};
    lp.FrameKind = TFrameKind::fk3d;
    lp.FrameColor = RGB(0x40, 0x20, 0x10);
    s.Cell(0, 0)->SetLayoutProp(&lp);
    s.Paint();
    // c + Round(c * 0.25) on 0x102040 is 0x142850.
    ExpectPixels(s.painter.bitmap.Image(), {{30, 30, RGB(0x40, 0x20, 0x10)}, {30, 29, RGB(0x50, 0x28, 0x14)},
                                            {50, 20, RGB(0x40, 0x20, 0x10)}, {49, 20, RGB(0x50, 0x28, 0x14)}});
}

TEST(CellPaint, SelectionIsHighlightedWhenFocusedAndGreyedOtherwise)
{
    for (bool focus : {false, true}) {
        TPaintScene s(1, 1);
        s.painter.focus = focus;
        s.Cell(0, 0)->SetSelected(true);
        s.Paint();
        const TColor expected = ColorToRGB(focus ? clHighlight : clInactiveCaptionText);
        EXPECT_EQ(s.painter.At(11, 10), expected) << focus;
        EXPECT_EQ(s.painter.At(30, 20), expected) << focus;
        // The first fill with the cell's own brush shows in the row below the highlight.
        EXPECT_EQ(s.painter.At(30, 30), ColorToRGB(clWindow)) << focus;
        EXPECT_EQ(s.painter.PaintCanvas().Font().GetColor(), focus ? clHighlightText : clGrayText);
    }
}

TEST(CellPaint, ASubGridsFrameIsRedrawnOverItsCells)
{
    TPaintScene s(1, 1);
    s.f.root->OnCreateCell = [&](TBabGridCell* owner, TAxisContentItem*, TAxisContentItem*) {
        return owner == s.f.root.get() ? TBabCellType::babCellTypeGrid : TBabCellType::babCellTypeSimple;
    };
    s.f.root->Rows().Drop(0);
    s.f.root->Rows().AddNew(nullptr);
    auto* sub = static_cast<TBabGridCell*>(s.Cell(0, 0));
    sub->Columns().AddNew(nullptr);
    sub->Rows().AddNew(nullptr);
    sub->Rows().AddNew(nullptr);
    s.Paint();
    // The sub-grid spans (10,10)-(50,50); its bottom line at y 49 survives the inner fills.
    ASSERT_EQ(sub->StoredVisibleRect(), Rect(10, 10, 50, 50));
    for (int x = 10; x < 50; ++x) EXPECT_EQ(s.painter.At(x, 49), kBtnFace) << x;
    EXPECT_EQ(s.painter.At(10, 20), kBtnFace);
}

TEST(CellPaint, CheckBoxHasItsEdgesAndAMarkOnlyWhenChecked)
{
    for (bool checked : {false, true}) {
        TTestPainter p;
        p.PaintCanvas().Brush().SetColor(clWhite);
        p.DrawCheckBox(p.PaintCanvas(), Rect(0, 0, 30, 20), checked);
        // Box (1,3)-(12,14).
        ExpectPixels(p.bitmap.Image(), {{1, 3, ColorToRGB(cl3DDkShadow)}, {2, 4, ColorToRGB(cl3DDkShadow)},
                                        {12, 14, ColorToRGB(cl3DLight)}, {12, 8, ColorToRGB(cl3DLight)}});
        EXPECT_EQ(CountPixels(p.bitmap.Image(), clBlack, 3, 5, 12, 14) > 0, checked);
    }
}

TEST(CellSections, ButtonAndIconComeBeforeTheText)
{
    TPaintScene s(1, 1);
    s.painter.button = true;
    s.painter.imageWidth = 16;
    TRect text, icon, button;
    const TRect inner = Rect(11, 11, 110, 29);
    s.painter.DivideTheRectIntoSections(s.Cell(0, 0), {}, text, icon, button, inner, false);
    EXPECT_EQ(button, Rect(11, 11, 26, 29));
    EXPECT_EQ(icon, Rect(27, 11, 43, 29));
    EXPECT_EQ(text.Left, inner.Left + 16 + 17 + 1);
    // A fixed cell has no button section.
    s.painter.DivideTheRectIntoSections(s.Cell(0, 0), {TBabDrawState::babFixed}, text, icon, button, inner, false);
    EXPECT_EQ(text.Left, inner.Left + 17 + 1);
    EXPECT_EQ(s.painter.GetFlags(s.Cell(0, 0)), 0u);
}

}  // namespace
}  // namespace vxplan::test
