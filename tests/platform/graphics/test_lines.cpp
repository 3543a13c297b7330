// One-pixel lines on images: which pixels LineTo lights, the styled pens and the pen modes.
#include <vxplan/platform/graphics/vxDeviceContext.h>
#include <vxplan/platform/graphics/vxLineRaster_p.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace vxplan {
namespace {

using test::ExpectPixels;
using test::PixelAt;

struct Surface {
    QImage image{40, 40, QImage::Format_RGB32};
    TDeviceContext dc{&image};
    Surface() { image.fill(Qt::white); }
    void Line(int x0, int y0, int x1, int y1)
    {
        MoveToEx(&dc, x0, y0, nullptr);
        LineTo(&dc, x1, y1);
    }
    std::set<std::pair<int, int>> Black() const
    {
        std::set<std::pair<int, int>> lit;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (PixelAt(image, x, y) == clBlack) lit.insert({x, y});
        return lit;
    }
};

TEST(LineTo, KnownSampleLinesLightThePlatformsPixels)
{
    Surface s;
    s.Line(4, 4, 17, 9);
    for (auto [x, y] : {std::pair{6, 5}, {8, 6}, {11, 7}, {16, 9}}) EXPECT_EQ(PixelAt(s.image, x, y), clBlack) << x << "," << y;
    EXPECT_EQ(PixelAt(s.image, 17, 9), clWhite);
    EXPECT_EQ(PixelAt(s.image, 11, 6), clWhite);  // where a symmetric rasterizer would go
    EXPECT_EQ(s.Black().size(), 13u);

    Surface t;
    t.Line(20, 20, 12, 14);  // exact half-way rows at x = 18 and x = 14 round toward the end
    ExpectPixels(t.image, {{18, 18, clBlack}, {18, 19, clWhite}, {14, 15, clBlack}, {14, 16, clWhite},
                           {12, 14, clWhite}});
    EXPECT_EQ(t.Black().size(), 8u);
}

TEST(LineTo, LeavesOutTheEndPixelInEveryDirection)
{
    const int cx = 20, cy = 20;
    // Horizontal, vertical, both diagonals, shallow and steep slopes in all eight octants.
    const std::pair<int, int> ends[] = {{10, 0}, {-10, 0}, {0, 10}, {0, -10}, {7, 7}, {-7, 7}, {7, -7}, {-7, -7},
                                        {9, 4},  {-9, 4},  {9, -4}, {-9, -4}, {4, 9}, {-4, 9}, {4, -9}, {-4, -9}};
    for (auto [dx, dy] : ends) {
        Surface s;
        s.Line(cx, cy, cx + dx, cy + dy);
        const auto lit = s.Black();
        const size_t length = static_cast<size_t>(std::max(std::abs(dx), std::abs(dy)));
        EXPECT_EQ(lit.size(), length) << dx << "," << dy;
        EXPECT_TRUE(lit.count({cx, cy})) << "start " << dx << "," << dy;
        EXPECT_FALSE(lit.count({cx + dx, cy + dy})) << "end " << dx << "," << dy;
        // One pixel per step of the major axis, each within half a pixel of the ideal line.
        for (auto [x, y] : lit) {
            const double t = std::abs(dx) >= std::abs(dy) ? double(x - cx) / dx : double(y - cy) / dy;
            const double ix = cx + t * dx, iy = cy + t * dy;
            EXPECT_LE(std::abs(ix - x), 0.5) << dx << "," << dy;
            EXPECT_LE(std::abs(iy - y), 0.5) << dx << "," << dy;
        }
        // The walk the library exposes lights the same pixels.
        std::set<std::pair<int, int>> walked;
        for (const QPoint& p : raster::LinePixels({cx, cy}, {cx + dx, cy + dy})) walked.insert({p.x(), p.y()});
        EXPECT_EQ(walked, lit) << dx << "," << dy;
    }
    Surface z;
    z.Line(5, 5, 5, 5);
    EXPECT_TRUE(z.Black().empty()) << "a line of no length lights nothing";
}

TEST(LineTo, MovesTheCurrentPositionAndPolylinesJoin)
{
    Surface s;
    MoveToEx(&s.dc, 1, 1, nullptr);
    LineTo(&s.dc, 5, 1);
    LineTo(&s.dc, 5, 4);
    TPoint previous;
    MoveToEx(&s.dc, 0, 0, &previous);
    EXPECT_EQ(previous, Point(5, 4));
    EXPECT_EQ(PixelAt(s.image, 5, 1), clBlack);  // the corner, drawn by the second segment
    EXPECT_EQ(PixelAt(s.image, 5, 4), clWhite);
    EXPECT_EQ(s.Black().size(), 7u);
}

TEST(LineTo, HonoursViewportAndClipRegion)
{
    Surface s;
    SetViewportOrgEx(&s.dc, 10, 5, nullptr);
    HRGN clip = CreateRectRgn(12, 0, 16, 40);  // device units
    SelectClipRgn(&s.dc, clip);
    DeleteObject(clip);
    s.Line(0, 0, 10, 0);  // device (10,5)-(20,5)
    EXPECT_EQ(s.Black(), (std::set<std::pair<int, int>>{{12, 5}, {13, 5}, {14, 5}, {15, 5}}));

    Surface d;  // a clipped slanted line keeps the pixels of the unclipped one
    d.Line(4, 4, 17, 9);
    const auto whole = d.Black();
    Surface c;
    HRGN part = CreateRectRgn(7, 0, 12, 40);
    SelectClipRgn(&c.dc, part);
    DeleteObject(part);
    c.Line(4, 4, 17, 9);
    std::set<std::pair<int, int>> expected;
    for (auto p : whole)
        if (p.first >= 7 && p.first < 12) expected.insert(p);
    EXPECT_EQ(c.Black(), expected);
}

TEST(LineTo, LinesLeavingTheImageAreCut)
{
    Surface s;
    s.Line(-100, 10, 1000, 10);
    EXPECT_EQ(s.Black().size(), 40u);
    s.Line(-5000000, -5000000, 5000000, 5000000);
    EXPECT_EQ(PixelAt(s.image, 30, 30), clBlack);
}

TEST(PenModes, XorTwiceRestoresAndNotInverts)
{
    Surface s;
    s.image.fill(QColor(0x12, 0x34, 0x56));
    const QImage before = s.image.copy();
    s.dc.Pen.Mode = TPenMode::pmXor;
    s.dc.Pen.Color = RGB(0xFF, 0x00, 0x0F);
    s.Line(3, 3, 30, 17);
    EXPECT_EQ(PixelAt(s.image, 3, 3), RGB(0x12 ^ 0xFF, 0x34, 0x56 ^ 0x0F));
    s.Line(3, 3, 30, 17);
    EXPECT_EQ(s.image, before);

    s.dc.Pen.Mode = TPenMode::pmNot;
    s.Line(0, 0, 5, 0);
    EXPECT_EQ(PixelAt(s.image, 2, 0), RGB(0xED, 0xCB, 0xA9));
}

TEST(PenModes, AllSixteenModesWorkBitwise)
{
    const uint32_t d = 0x5A3C0F, p = 0x33CC99;  // 0xRRGGBB
    const auto run = [&](TPenMode mode) {
        QImage image(4, 1, QImage::Format_RGB32);
        image.fill(QColor::fromRgb(0xFF000000u | d));
        TDeviceContext dc(&image);
        dc.Pen.Mode = mode;
        dc.Pen.Color = RGB(0x33, 0xCC, 0x99);
        MoveToEx(&dc, 0, 0, nullptr);
        LineTo(&dc, 3, 0);
        return image.pixel(1, 0) & 0xFFFFFFu;
    };
    const uint32_t m = 0xFFFFFF;
    using M = TPenMode;
    const std::pair<TPenMode, uint32_t> modes[] = {
        {M::pmBlack, 0u}, {M::pmWhite, m}, {M::pmNop, d}, {M::pmNot, ~d & m}, {M::pmCopy, p}, {M::pmNotCopy, ~p & m},
        {M::pmMergePenNot, (p | ~d) & m}, {M::pmMaskPenNot, p & ~d & m}, {M::pmMergeNotPen, (~p | d) & m},
        {M::pmMaskNotPen, ~p & d & m}, {M::pmMerge, p | d}, {M::pmNotMerge, ~(p | d) & m}, {M::pmMask, p & d},
        {M::pmNotMask, ~(p & d) & m}, {M::pmXor, p ^ d}, {M::pmNotXor, ~(p ^ d) & m}};
    for (auto [mode, expected] : modes) EXPECT_EQ(run(mode), expected) << "mode " << static_cast<int>(mode);
}

// The on/off pattern of a 60-pixel horizontal line as a string of '#' and '.'.
std::string Pattern(TPenStyle style, int bkMode = TRANSPARENT)
{
    QImage image(64, 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    TDeviceContext dc(&image);
    dc.Pen.Style = style;
    dc.BkMode = bkMode;
    dc.BkColor = clRed;
    MoveToEx(&dc, 0, 0, nullptr);
    LineTo(&dc, 60, 0);
    std::string s;
    for (int x = 0; x < 60; ++x) {
        const TColor c = PixelAt(image, x, 0);
        s += c == clBlack ? '#' : c == clRed ? 'r' : '.';
    }
    return s;
}

TEST(StyledPens, DashDotAndMixedPatternsWithGapsOfTheBackgroundWhenOpaque)
{
    const std::string d18 = std::string(18, '#') + std::string(6, '.');
    EXPECT_EQ(Pattern(TPenStyle::psDash), (d18 + d18 + d18).substr(0, 60));
    EXPECT_EQ(Pattern(TPenStyle::psDot).substr(0, 12), "###...###...");
    EXPECT_EQ(Pattern(TPenStyle::psDashDot).substr(0, 24), "#########......###......");
    EXPECT_EQ(Pattern(TPenStyle::psDashDotDot).substr(0, 24), "#########...###...###...");
    EXPECT_EQ(Pattern(TPenStyle::psClear), std::string(60, '.'));
    EXPECT_EQ(Pattern(TPenStyle::psDot, OPAQUE).substr(0, 12), "###rrr###rrr");
}

TEST(StyledPens, PatternRunsAlongTheWalkAndEachLineToStartsItAfresh)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    TDeviceContext dc(&image);
    dc.Pen.Style = TPenStyle::psDot;
    MoveToEx(&dc, 20, 5, nullptr);
    LineTo(&dc, 8, 5);  // right to left: the first three pixels from x = 20 are on
    ExpectPixels(image, {{20, 5, clBlack}, {18, 5, clBlack}, {17, 5, clWhite}, {14, 5, clBlack}});

    MoveToEx(&dc, 0, 20, nullptr);
    LineTo(&dc, 4, 20);  // ###. then, afresh, ### downwards
    LineTo(&dc, 4, 24);
    ExpectPixels(image, {{3, 20, clWhite}, {4, 20, clBlack}});
}

TEST(WidePens, InvertingWideLineTwiceRestores)
{
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(QColor(0x20, 0x40, 0x60));
    const QImage before = image.copy();
    TDeviceContext dc(&image);
    dc.Pen.Width = 2;
    dc.Pen.Mode = TPenMode::pmNot;
    dc.Pen.Style = TPenStyle::psDot;  // wide pens draw solid
    MoveToEx(&dc, 10, 0, nullptr);
    LineTo(&dc, 10, 29);
    ExpectPixels(image, {{10, 15, RGB(0xDF, 0xBF, 0x9F)}, {10, 16, RGB(0xDF, 0xBF, 0x9F)},
                         {20, 15, RGB(0x20, 0x40, 0x60)}});
    MoveToEx(&dc, 10, 0, nullptr);
    LineTo(&dc, 10, 29);
    dc.EndPainter();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(PixelAt(image, x, y), PixelAt(before, x, y)) << x << "," << y;
}

}  // namespace
}  // namespace vxplan
