// Device context state (capabilities, viewport, clip regions) and the blits.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxDeviceContext.h>

#include "support/vxTestSupport.h"

#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vxplan {
namespace {

using test::CountPixels;
using test::ExpectPixels;
using test::PixelAt;

TEST(DeviceCaps, ImageContextsReportAScreen)
{
    QImage image(200, 100, QImage::Format_RGB32);
    TDeviceContext dc(&image);
    // 200 pixels at 96 dpi are 52.9 mm.
    for (auto [cap, value] : {std::pair{LOGPIXELSX, 96}, {LOGPIXELSY, 96}, {HORZRES, 200}, {VERTRES, 100}, {HORZSIZE, 53},
                              {VERTSIZE, 26}, {TECHNOLOGY, DT_RASDISPLAY}, {BITSPIXEL, 32}, {PHYSICALWIDTH, 0}})
        EXPECT_EQ(GetDeviceCaps(&dc, cap), value) << "capability " << cap;
    EXPECT_EQ(GetDeviceCaps(nullptr, HORZRES), 0);
}

TEST(DeviceCaps, PrinterGeometryOverridesTheDevice)
{
    QTemporaryDir dir;
    QPdfWriter writer(dir.filePath("caps.pdf"));
    writer.setResolution(300);
    TDeviceContext dc(&writer, TDeviceContext::TKind::Pdf);
    EXPECT_EQ(GetDeviceCaps(&dc, LOGPIXELSX), 300);
    EXPECT_EQ(GetDeviceCaps(&dc, TECHNOLOGY), DT_RASPRINTER);
    dc.SetPageGeometry({2400, 3300}, {2550, 3508}, {75, 104});
    EXPECT_EQ(GetDeviceCaps(&dc, HORZRES), 2400);
    EXPECT_EQ(GetDeviceCaps(&dc, PHYSICALWIDTH), 2550);
    EXPECT_EQ(GetDeviceCaps(&dc, PHYSICALOFFSETY), 104);
    EXPECT_EQ(GetDeviceCaps(&dc, HORZSIZE), 203);
    EXPECT_THROW(dc.SetResolution(0, 300), EInvalidArgument);
}

TEST(DeviceContext, RefusesMissingDevices)
{
    EXPECT_THROW(TDeviceContext(static_cast<QImage*>(nullptr)), EInvalidArgument);
    EXPECT_THROW(TDeviceContext(nullptr, TDeviceContext::TKind::Pdf), EInvalidArgument);
}

TEST(Viewport, GetSetAndOffsetReturnThePreviousOrigin)
{
    QImage image(10, 10, QImage::Format_RGB32);
    TDeviceContext dc(&image);
    TPoint p{-1, -1};
    EXPECT_TRUE(SetViewportOrgEx(&dc, 5, 7, &p));
    EXPECT_EQ(p, Point(0, 0));
    EXPECT_TRUE(OffsetViewportOrgEx(&dc, -2, 3, &p));
    EXPECT_EQ(p, Point(5, 7));
    EXPECT_TRUE(GetViewportOrgEx(&dc, &p));
    EXPECT_EQ(p, Point(3, 10));
    EXPECT_FALSE(GetViewportOrgEx(nullptr, &p));
}

TEST(ViewportAndClip, PainterDrawingFollowsBoth)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    TDeviceContext dc(&image);
    HRGN clip = CreateRectRgn(0, 0, 8, 8);
    SelectClipRgn(&dc, clip);
    DeleteObject(clip);
    SetViewportOrgEx(&dc, 4, 4, nullptr);  // the clip stays where it was in device units
    dc.Painter().fillRect(QRect(0, 0, 10, 10), Qt::black);
    ExpectPixels(image, {{4, 4, clBlack}, {7, 7, clBlack}, {8, 8, clWhite}, {3, 3, clWhite}});
    EXPECT_EQ(CountPixels(image, clBlack, 0, 0, 20, 20), 16);
}

TEST(ClipRegions, GetClipRgnReportsNoneThenACopy)
{
    QImage image(20, 20, QImage::Format_RGB32);
    TDeviceContext dc(&image);
    HRGN out = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(&dc, out), 0);
    HRGN clip = CreateRectRgn(2, 3, 12, 9);
    EXPECT_EQ(SelectClipRgn(&dc, clip), SIMPLEREGION);
    clip->Region = QRegion();  // the context took a copy
    EXPECT_EQ(GetClipRgn(&dc, out), 1);
    TRect box;
    EXPECT_EQ(GetRgnBox(out, &box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(2, 3, 12, 9));
    EXPECT_EQ(SelectClipRgn(&dc, nullptr), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(&dc, out), 0);
    EXPECT_EQ(GetClipRgn(nullptr, out), -1);
    DeleteObject(clip);
    DeleteObject(out);
    EXPECT_FALSE(DeleteObject(nullptr));
}

TEST(ClipRegions, IntersectClipRectUsesLogicalUnits)
{
    QImage image(40, 40, QImage::Format_RGB32);
    TDeviceContext dc(&image);
    SetViewportOrgEx(&dc, 10, 10, nullptr);
    EXPECT_EQ(IntersectClipRect(&dc, 0, 0, 10, 10), SIMPLEREGION);
    HRGN out = CreateRectRgn(0, 0, 0, 0);
    GetClipRgn(&dc, out);
    TRect box;
    GetRgnBox(out, &box);
    EXPECT_EQ(box, Rect(10, 10, 20, 20));
    EXPECT_EQ(IntersectClipRect(&dc, 20, 20, 30, 30), NULLREGION);
    DeleteObject(out);
    HRGN inverted = CreateRectRgn(9, 8, 1, 2);  // corners in any order
    GetRgnBox(inverted, &box);
    EXPECT_EQ(box, Rect(1, 2, 9, 8));
    DeleteObject(inverted);
}

TEST(Pixels, GetAndSetHonourViewportClipAndBounds)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    TDeviceContext dc(&image);
    SetViewportOrgEx(&dc, 2, 2, nullptr);
    EXPECT_EQ(SetPixel(&dc, 1, 1, clRed), clRed);
    EXPECT_EQ(PixelAt(image, 3, 3), clRed);
    EXPECT_EQ(GetPixel(&dc, 1, 1), clRed);
    EXPECT_EQ(GetPixel(&dc, 20, 1), 0xFFFFFFFFu);
    IntersectClipRect(&dc, 0, 0, 1, 1);
    EXPECT_EQ(SetPixel(&dc, 1, 1, clBlue), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(image, 3, 3), clRed);
    EXPECT_EQ(SetPixel(&dc, 0, 0, clBtnFace), ClassicSysColor(COLOR_BTNFACE));
}

TEST(TextState, SettersReturnThePreviousValue)
{
    QImage image(1, 1, QImage::Format_RGB32);
    TDeviceContext dc(&image);
    EXPECT_EQ(SetBkMode(&dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(&dc, 7), 0);
    EXPECT_EQ(dc.BkMode, TRANSPARENT);
    EXPECT_EQ(SetBkColor(&dc, clRed), clWhite);
    EXPECT_EQ(SetTextColor(&dc, clBlue), clBlack);
    EXPECT_EQ(dc.TextColor, clBlue);
}

TEST(PatBlt, InvertsFillsAndRejectsUnknownOperations)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(QColor(0x10, 0x20, 0x30));
    TDeviceContext dc(&image);
    EXPECT_TRUE(PatBlt(&dc, 2, 2, 3, 2, DSTINVERT));
    ExpectPixels(image, {{2, 2, RGB(0xEF, 0xDF, 0xCF)}, {4, 3, RGB(0xEF, 0xDF, 0xCF)}, {5, 3, RGB(0x10, 0x20, 0x30)}});
    PatBlt(&dc, 2, 2, 3, 2, DSTINVERT);
    EXPECT_EQ(CountPixels(image, RGB(0x10, 0x20, 0x30), 0, 0, 10, 10), 100);

    dc.Brush.Color = RGB(0xFF, 0x00, 0x00);
    PatBlt(&dc, 0, 0, 1, 1, PATINVERT);
    EXPECT_EQ(PixelAt(image, 0, 0), RGB(0xEF, 0x20, 0x30));
    PatBlt(&dc, 5, 5, -2, -2, PATCOPY);  // negative sizes reach back from (5, 5)
    ExpectPixels(image, {{3, 3, clRed}, {5, 5, RGB(0x10, 0x20, 0x30)}});
    PatBlt(&dc, 9, 0, 1, 1, BLACKNESS);
    PatBlt(&dc, 9, 1, 1, 1, WHITENESS);
    ExpectPixels(image, {{9, 0, clBlack}, {9, 1, clWhite}});
    EXPECT_THROW(PatBlt(&dc, 0, 0, 1, 1, 0x12345678), EInvalidArgument);
    EXPECT_EQ(PixelAt(image, 0, 0), RGB(0xEF, 0x20, 0x30));
}

struct Blit : ::testing::Test {
    QImage srcImage{4, 4, QImage::Format_RGB32};
    QImage dstImage{8, 8, QImage::Format_RGB32};
    TDeviceContext src{&srcImage};
    TDeviceContext dst{&dstImage};
    Blit()
    {
        srcImage.fill(QColor(0xF0, 0x0F, 0x55));
        srcImage.setPixel(0, 0, qRgb(1, 2, 3));
        dstImage.fill(QColor(0x33, 0x33, 0x33));
    }
};

TEST_F(Blit, SourceOperationsCombineBitwise)
{
    const auto run = [&](uint32_t rop) {
        dstImage.fill(QColor(0x33, 0x33, 0x33));
        EXPECT_TRUE(BitBlt(&dst, 1, 1, 2, 2, &src, 1, 1, rop));
        return PixelAt(dstImage, 1, 1);
    };
    EXPECT_EQ(run(SRCCOPY), RGB(0xF0, 0x0F, 0x55));
    EXPECT_EQ(run(SRCPAINT), RGB(0xF3, 0x3F, 0x77));
    EXPECT_EQ(run(SRCAND), RGB(0x30, 0x03, 0x11));
    EXPECT_EQ(run(SRCINVERT), RGB(0xC3, 0x3C, 0x66));
    EXPECT_EQ(run(NOTSRCCOPY), RGB(0x0F, 0xF0, 0xAA));
    EXPECT_EQ(PixelAt(dstImage, 3, 3), RGB(0x33, 0x33, 0x33));
    EXPECT_THROW(BitBlt(&dst, 0, 0, 1, 1, &src, 0, 0, 0x00BB0226), EInvalidArgument);
}

TEST_F(Blit, HonoursBothViewportsAndTheDestinationClip)
{
    SetViewportOrgEx(&src, -1, 0, nullptr);  // logical (1, 0) is source pixel (0, 0)
    SetViewportOrgEx(&dst, 2, 2, nullptr);
    IntersectClipRect(&dst, 0, 0, 1, 8);
    BitBlt(&dst, 0, 0, 2, 2, &src, 1, 0, SRCCOPY);
    ExpectPixels(dstImage, {{2, 2, RGB(1, 2, 3)}, {2, 3, RGB(0xF0, 0x0F, 0x55)}});
    EXPECT_EQ(PixelAt(dstImage, 3, 2), RGB(0x33, 0x33, 0x33));  // clipped
}

TEST_F(Blit, StretchDoublesAndMirrors)
{
    StretchBlt(&dst, 0, 0, 8, 8, &src, 0, 0, 4, 4, SRCCOPY);
    ExpectPixels(dstImage, {{1, 1, RGB(1, 2, 3)}, {2, 1, RGB(0xF0, 0x0F, 0x55)}});
    StretchBlt(&dst, 3, 0, -4, 4, &src, 0, 0, 4, 4, SRCCOPY);  // mirrored into x = -1..2
    ExpectPixels(dstImage, {{2, 0, RGB(1, 2, 3)}, {1, 0, RGB(0xF0, 0x0F, 0x55)}});
}

TEST_F(Blit, OverlappingCopyWithinOneImageScrolls)
{
    for (int x = 0; x < 8; ++x) dstImage.setPixel(x, 0, qRgb(x, 0, 0));
    BitBlt(&dst, 1, 0, 7, 1, &dst, 0, 0, SRCCOPY);
    for (int x = 1; x < 8; ++x) EXPECT_EQ(PixelAt(dstImage, x, 0), RGB(x - 1, 0, 0));
}

TEST_F(Blit, OntoAPdfPageDrawsTheImage)
{
    QTemporaryDir dir;
    QPdfWriter writer(dir.filePath("blit.pdf"));
    {
        TDeviceContext pdf(&writer, TDeviceContext::TKind::Pdf);
        EXPECT_TRUE(StretchBlt(&pdf, 0, 0, 100, 100, &src, 0, 0, 4, 4, SRCCOPY));
        EXPECT_EQ(GetPixel(&pdf, 0, 0), 0xFFFFFFFFu);
        pdf.EndPainter();
    }
    QFile file(dir.filePath("blit.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("/Image"));
}

}  // namespace
}  // namespace vxplan
