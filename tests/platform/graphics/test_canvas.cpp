// Canvas shapes on images: exact bounds, clear pens and brushes, hatches, focus rectangles,
// polygons, and viewport and clip honoured by every drawing call.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxBitmap.h>
#include <vxplan/platform/graphics/vxCanvas.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace vxplan {
namespace {

using test::CountPixels;
using test::ExpectPixels;
using test::PixelAt;

struct CanvasTest : ::testing::Test {
    QImage image{32, 32, QImage::Format_RGB32};
    TDeviceContext dc{&image};
    TCanvas canvas;
    CanvasTest()
    {
        image.fill(Qt::white);
        canvas.SetHandle(&dc);
    }
};

TEST_F(CanvasTest, RectangleBorderOnTheOuterRingFillInside)
{
    canvas.Brush().SetColor(clRed);
    canvas.Rectangle(2, 3, 8, 7);
    ExpectPixels(image, {{2, 3, clBlack}, {7, 6, clBlack}, {8, 6, clWhite}, {7, 7, clWhite}});
    EXPECT_EQ(CountPixels(image, clBlack, 0, 0, 32, 32), 2 * 6 + 2 * 2);
    EXPECT_EQ(CountPixels(image, clRed, 3, 4, 7, 6), 8);
    EXPECT_EQ(CountPixels(image, clRed, 0, 0, 32, 32), 8);
}

TEST_F(CanvasTest, ClearPenFillsOneLessClearBrushLeavesInside)
{
    canvas.Pen().SetStyle(TPenStyle::psClear);
    canvas.Brush().SetColor(clBlue);
    canvas.Rectangle(2, 2, 6, 6);
    EXPECT_EQ(CountPixels(image, clBlue, 0, 0, 32, 32), 9);
    ExpectPixels(image, {{4, 4, clBlue}, {5, 5, clWhite}});

    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Rectangle(10, 10, 15, 15);
    EXPECT_EQ(CountPixels(image, clBlack, 10, 10, 15, 15), 16);
    EXPECT_EQ(PixelAt(image, 12, 12), clWhite);
}

TEST_F(CanvasTest, XorRectangleTwiceRestores)
{
    image.fill(QColor(0x40, 0x80, 0xC0));
    const QImage before = image.copy();
    canvas.Pen().SetMode(TPenMode::pmXor);
    canvas.Pen().SetColor(clWhite);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Rectangle(3, 3, 20, 12);
    EXPECT_EQ(PixelAt(image, 3, 3), RGB(0xBF, 0x7F, 0x3F));
    canvas.Rectangle(3, 3, 20, 12);
    EXPECT_EQ(image, before);
}

TEST_F(CanvasTest, FillRectAndFrameRectCoverExactBounds)
{
    canvas.Brush().SetColor(clGreen);
    canvas.FillRect(Rect(1, 1, 5, 4));
    EXPECT_EQ(CountPixels(image, clGreen, 0, 0, 32, 32), 12);
    ExpectPixels(image, {{4, 3, clGreen}, {5, 3, clWhite}});

    canvas.Brush().SetColor(clNavy);
    canvas.FrameRect(Rect(10, 10, 16, 14));
    EXPECT_EQ(CountPixels(image, clNavy, 0, 0, 32, 32), 2 * 6 + 2 * 2);
    ExpectPixels(image, {{15, 13, clNavy}, {12, 12, clWhite}});
    canvas.FrameRect(Rect(20, 20, 20, 25));  // empty: nothing
    EXPECT_EQ(CountPixels(image, clNavy, 0, 0, 32, 32), 16);
}

TEST_F(CanvasTest, DrawFocusRectDotsEveryOtherPixelAndTwiceRestores)
{
    const QImage before = image.copy();
    canvas.DrawFocusRect(Rect(4, 4, 12, 9));
    EXPECT_EQ(PixelAt(image, 5, 4), clBlack);  // odd pixels xor with the brush (white)
    EXPECT_EQ(PixelAt(image, 4, 4), clWhite);  // even ones with the text colour (black)
    ExpectPixels(image, {{6, 4, clWhite}, {4, 5, clBlack}});
    EXPECT_EQ(PixelAt(image, 7, 7), clWhite);  // inside untouched
    EXPECT_EQ(CountPixels(image, clBlack, 0, 0, 32, 32), 11);
    canvas.DrawFocusRect(Rect(4, 4, 12, 9));
    EXPECT_EQ(image, before);
}

TEST_F(CanvasTest, HatchesAreAlignedToTheDeviceOriginAndDiagonalsRunTheirWay)
{
    canvas.Brush().SetColor(clBlack);
    canvas.Brush().SetStyle(TBrushStyle::bsCross);
    SetViewportOrgEx(&dc, 3, 5, nullptr);  // the pattern must not move with it
    canvas.FillRect(Rect(-3, -5, 13, 11));  // device (0,0)-(16,16)
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(PixelAt(image, x, y), (x % 8 == 4 || y % 8 == 3) ? clBlack : clWhite) << x << "," << y;

    image.fill(Qt::white);
    SetViewportOrgEx(&dc, 0, 0, nullptr);
    canvas.Brush().SetStyle(TBrushStyle::bsFDiagonal);
    canvas.FillRect(Rect(0, 0, 8, 8));
    canvas.Brush().SetStyle(TBrushStyle::bsBDiagonal);
    canvas.FillRect(Rect(8, 0, 16, 8));
    for (int i = 0; i < 8; ++i) {
        ExpectPixels(image, {{i, i, clBlack}, {8 + 7 - i, i, clBlack}});
    }
    EXPECT_EQ(CountPixels(image, clBlack, 0, 0, 16, 8), 16);
}

TEST_F(CanvasTest, HatchGapsFilledOnlyWhenOpaque)
{
    dc.Brush.Color = clBlack;
    dc.Brush.Style = TBrushStyle::bsHorizontal;
    dc.BkColor = clYellow;
    dc.BkMode = OPAQUE;
    PatBlt(&dc, 0, 0, 8, 8, PATCOPY);
    EXPECT_EQ(CountPixels(image, clBlack, 0, 0, 8, 8), 8);
    EXPECT_EQ(CountPixels(image, clYellow, 0, 0, 8, 8), 56);
    dc.BkMode = TRANSPARENT;
    PatBlt(&dc, 8, 0, 8, 8, PATCOPY);
    EXPECT_EQ(CountPixels(image, clBlack, 8, 0, 16, 8), 8);
    EXPECT_EQ(CountPixels(image, clWhite, 8, 0, 16, 8), 56);
    EXPECT_EQ(PixelAt(image, 10, 3), clBlack);
}

TEST_F(CanvasTest, PatternBitmapBrushTilesFromTheDeviceOrigin)
{
    TBitmap pattern(2, 2);
    pattern.Canvas().SetPixel(0, 0, clRed);
    pattern.Canvas().SetPixel(1, 1, clRed);
    canvas.Brush().SetBitmap(&pattern);
    ASSERT_TRUE(canvas.Brush().HasBitmap());
    canvas.FillRect(Rect(3, 3, 7, 7));
    EXPECT_EQ(PixelAt(image, 3, 3), clRed);  // pattern pixel (1, 1)
    EXPECT_EQ(PixelAt(image, 4, 4), clRed);  // pattern pixel (0, 0)
    ExpectPixels(image, {{3, 4, clWhite}, {4, 3, clWhite}});
    EXPECT_EQ(CountPixels(image, clRed, 0, 0, 32, 32), 8);
}

TEST_F(CanvasTest, PolygonFillsInsideWithAlternateFillAndOutlinesEveryVertex)
{
    canvas.Brush().SetColor(clRed);
    canvas.Polygon({{2, 2}, {10, 2}, {10, 8}, {2, 8}});
    EXPECT_EQ(PixelAt(image, 10, 8), clBlack);  // the outline reaches the last corner
    EXPECT_EQ(PixelAt(image, 2, 2), clBlack);
    EXPECT_EQ(CountPixels(image, clBlack, 0, 0, 32, 32), 2 * 9 + 2 * 5);
    EXPECT_EQ(CountPixels(image, clRed, 0, 0, 32, 32), 7 * 5);

    image.fill(Qt::white);
    canvas.Pen().SetStyle(TPenStyle::psClear);
    // A square drawn twice around its middle: the inner ring is crossed twice and stays empty.
    canvas.Polygon({{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0}, {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}});
    ExpectPixels(image, {{2, 2, clRed}, {10, 10, clWhite}});
    EXPECT_EQ(CountPixels(image, clRed, 0, 0, 32, 32), 400 - 100);
}

TEST_F(CanvasTest, PolylineLeavesOutTheLastPointAndCarriesADottedPatternAroundCorners)
{
    canvas.Polyline({{1, 1}, {6, 1}, {6, 5}});
    EXPECT_EQ(CountPixels(image, clBlack, 0, 0, 32, 32), 9);
    EXPECT_EQ(PixelAt(image, 6, 5), clWhite);

    image.fill(Qt::white);
    canvas.Pen().SetStyle(TPenStyle::psDot);
    canvas.Polyline({{0, 0}, {4, 0}, {4, 4}});
    ExpectPixels(image, {{2, 0, clBlack}, {3, 0, clWhite}});
    EXPECT_EQ(PixelAt(image, 4, 0), clWhite);  // positions 4 and 5 of the pattern: off
    ExpectPixels(image, {{4, 1, clWhite}, {4, 2, clBlack}});
}

TEST_F(CanvasTest, EllipseStaysInsideItsRectangle)
{
    canvas.Brush().SetColor(clBlue);
    canvas.Ellipse(4, 4, 20, 14);
    EXPECT_EQ(CountPixels(image, clWhite, 0, 0, 32, 4), 32 * 4);
    EXPECT_EQ(CountPixels(image, clWhite, 20, 0, 32, 32), 12 * 32);
    EXPECT_EQ(CountPixels(image, clWhite, 0, 14, 32, 32), 32 * 18);
    EXPECT_EQ(PixelAt(image, 12, 9), clBlue);
    EXPECT_GT(CountPixels(image, clBlack, 4, 4, 20, 14), 20);
}

TEST_F(CanvasTest, EveryCallHonoursViewportAndClip)
{
    using Draw = std::function<void(TCanvas&)>;
    const Draw calls[] = {
        [](TCanvas& c) { c.MoveTo(0, 5); c.LineTo(30, 5); },
        [](TCanvas& c) { c.Rectangle(0, 0, 30, 30); },
        [](TCanvas& c) { c.FillRect(Rect(0, 0, 30, 30)); },
        [](TCanvas& c) { c.FrameRect(Rect(0, 0, 30, 30)); },
        [](TCanvas& c) { c.DrawFocusRect(Rect(0, 0, 30, 30)); },
        [](TCanvas& c) { c.Polygon({{0, 0}, {30, 0}, {30, 30}, {0, 30}}); },
        [](TCanvas& c) { c.Ellipse(0, 0, 30, 30); },
        [](TCanvas& c) { c.RoundRect(0, 0, 30, 30, 6, 6); },
        [](TCanvas& c) { for (int i = 0; i < 30; ++i) c.SetPixel(i, i, clBlack); },
        [](TCanvas& c) { TBitmap b(30, 30); b.Canvas().Brush().SetColor(clBlack); b.Canvas().FillRect(Rect(0, 0, 30, 30)); c.Draw(0, 0, b); },
    };
    int index = 0;
    for (const Draw& draw : calls) {
        image.fill(Qt::white);
        SelectClipRgn(&dc, nullptr);
        HRGN clip = CreateRectRgn(8, 8, 16, 16);
        SelectClipRgn(&dc, clip);
        DeleteObject(clip);
        SetViewportOrgEx(&dc, 4, 4, nullptr);
        canvas.Brush().SetColor(clBlack);
        draw(canvas);
        const int inside = 64 - CountPixels(image, clWhite, 8, 8, 16, 16);
        const int all = 32 * 32 - CountPixels(image, clWhite, 0, 0, 32, 32);
        EXPECT_EQ(all, inside) << "call " << index << " drew outside the clip";
        ++index;
    }
    // The viewport moves what is drawn: logical (0, 5) is device row 9.
    image.fill(Qt::white);
    canvas.MoveTo(0, 5);
    canvas.LineTo(30, 5);
    EXPECT_EQ(CountPixels(image, clBlack, 8, 9, 16, 10), 8);
}

TEST_F(CanvasTest, DrawLeavesTransparentPixelsAlone)
{
    TBitmap sprite(3, 3);
    sprite.Canvas().Brush().SetColor(clLime);
    sprite.Canvas().FillRect(Rect(1, 0, 2, 3));
    sprite.SetTransparent(true);  // bottom-left pixel (white) is the key
    image.fill(Qt::black);
    canvas.Draw(5, 5, sprite);
    ExpectPixels(image, {{6, 6, clLime}, {5, 6, clBlack}});
    EXPECT_EQ(CountPixels(image, clLime, 0, 0, 32, 32), 3);
    sprite.SetTransparent(false);
    canvas.StretchDraw(Rect(10, 10, 16, 16), sprite);
    EXPECT_EQ(CountPixels(image, clWhite, 10, 10, 16, 16), 24);
}

TEST_F(CanvasTest, CopyRectUsesTheCopyMode)
{
    TBitmap other(4, 4);
    other.Canvas().Brush().SetColor(RGB(0xF0, 0xF0, 0xF0));
    other.Canvas().FillRect(Rect(0, 0, 4, 4));
    image.fill(QColor(0x0F, 0x0F, 0x0F));
    canvas.SetCopyMode(SRCINVERT);
    canvas.CopyRect(Rect(0, 0, 4, 4), other.Canvas(), Rect(0, 0, 4, 4));
    ExpectPixels(image, {{3, 3, clWhite}, {4, 4, RGB(0x0F, 0x0F, 0x0F)}});
}

TEST(VectorCanvas, PainterPathKeepsBoundsViewportAndClip)
{
    // An image reached as a printer-like device goes through QPainter, as PDF pages do.
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    TDeviceContext dc(&image, TDeviceContext::TKind::Printer);
    ASSERT_FALSE(dc.IsRaster());
    TCanvas canvas;
    canvas.SetHandle(&dc);
    SetViewportOrgEx(&dc, 2, 2, nullptr);
    canvas.Brush().SetColor(clRed);
    canvas.Rectangle(0, 0, 6, 5);  // device (2,2)-(8,7)
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(Rect(10, 0, 12, 2));
    HRGN clip = CreateRectRgn(20, 0, 24, 32);
    SelectClipRgn(&dc, clip);
    DeleteObject(clip);
    canvas.FillRect(Rect(0, 10, 30, 12));
    dc.EndPainter();
    ExpectPixels(image, {{2, 2, clBlack}, {7, 6, clBlack}, {8, 6, clWhite}});
    EXPECT_EQ(CountPixels(image, clRed, 0, 0, 32, 32), 4 * 3);
    EXPECT_EQ(CountPixels(image, clBlue, 12, 2, 14, 4), 4);
    EXPECT_EQ(CountPixels(image, clBlue, 0, 12, 32, 14), 8);
    EXPECT_EQ(CountPixels(image, clBlue, 20, 12, 24, 14), 8);
}

TEST(Canvas, UnboundCanvasRefusesToDrawAndBrushColourMakesAClearBrushSolid)
{
    TCanvas canvas;
    EXPECT_THROW(canvas.LineTo(1, 1), EInvalidOperation);
    EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
    TBrush brush;
    brush.SetStyle(TBrushStyle::bsClear);
    brush.SetColor(clRed);
    EXPECT_EQ(brush.GetStyle(), TBrushStyle::bsSolid);
    brush.SetStyle(TBrushStyle::bsCross);
    brush.SetColor(clBlue);
    EXPECT_EQ(brush.GetStyle(), TBrushStyle::bsCross);
}

TEST(Canvas, ChangeEventsSurroundEachDrawingCall)
{
    QImage image(4, 4, QImage::Format_RGB32);
    TDeviceContext dc(&image);
    TCanvas canvas;
    canvas.SetHandle(&dc);
    std::string log;
    canvas.OnChanging = [&](TObject*) { log += "<"; };
    canvas.OnChange = [&](TObject*) { log += ">"; };
    canvas.FillRect(Rect(0, 0, 2, 2));
    canvas.LineTo(3, 3);
    EXPECT_EQ(log, "<><>");
    int penChanges = 0;
    canvas.Pen().OnChange = [&](TObject*) { ++penChanges; };
    canvas.Pen().SetWidth(0);
    EXPECT_EQ(canvas.Pen().GetWidth(), 1);
    EXPECT_EQ(penChanges, 1);
}

}  // namespace
}  // namespace vxplan
