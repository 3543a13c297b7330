// Canvas shapes held against the platform's own pixels: wide-pen rectangles, polygons in both
// fill modes, ellipses and rounded rectangles, replayed from masks recorded with its GDI
// (tools/gdi-reference), plus what the recordings cannot show: pen modes, clipping and input
// far outside the image.
#include <vxplan/platform/graphics/vxCanvas.h>
#include <vxplan/platform/graphics/vxShapeRaster_p.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

namespace vxplan {
namespace {

using test::CountPixels;
using test::PixelAt;

constexpr const char* kRecorded =
#include "platform/graphics/data/gdi_shapes.inc"
    ;

// One recorded drawing: the call (as in tools/gdi-reference/cases.txt) and its pixels.
struct TRecordedCase {
    std::string Name, Op, PenStyle, Brush, FillMode;
    int Width = 0, Height = 0, PenWidth = 1;
    std::vector<int> Args;
    std::vector<std::string> Mask;
};

std::vector<TRecordedCase> RecordedCases()
{
    std::vector<TRecordedCase> cases;
    std::istringstream in(kRecorded);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("case ", 0) != 0) continue;
        TRecordedCase c;
        std::istringstream head(line.substr(5));
        head >> c.Name >> c.Width >> c.Height >> c.Op >> c.PenWidth >> c.PenStyle >> c.Brush >> c.FillMode;
        for (int v; head >> v;) c.Args.push_back(v);
        while (std::getline(in, line) && line != "end") c.Mask.push_back(line);
        cases.push_back(std::move(c));
    }
    return cases;
}

// The case drawn by our canvas, as a mask in the recording's letters.
std::vector<std::string> Replay(const TRecordedCase& c)
{
    QImage image(c.Width, c.Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    TDeviceContext dc(&image);
    TCanvas canvas;
    canvas.SetHandle(&dc);
    canvas.Pen().SetWidth(c.PenWidth);
    canvas.Pen().SetStyle(c.PenStyle == "null"     ? TPenStyle::psClear
                          : c.PenStyle == "inside" ? TPenStyle::psInsideFrame
                                                   : TPenStyle::psSolid);
    if (c.Brush == "null")
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
    else
        canvas.Brush().SetColor(clRed);
    SetPolyFillMode(&dc, c.FillMode == "wind" ? WINDING : ALTERNATE);
    const std::vector<int>& a = c.Args;
    if (c.Op == "rect") {
        canvas.Rectangle(a[0], a[1], a[2], a[3]);
    } else if (c.Op == "ellipse") {
        canvas.Ellipse(a[0], a[1], a[2], a[3]);
    } else if (c.Op == "roundrect") {
        canvas.RoundRect(a[0], a[1], a[2], a[3], a[4], a[5]);
    } else if (c.Op == "polygon") {
        std::vector<TPoint> points;
        for (size_t i = 0; i + 1 < a.size(); i += 2) points.push_back({a[i], a[i + 1]});
        canvas.Polygon(points);
    }
    std::vector<std::string> mask;
    for (int y = 0; y < c.Height; ++y) {
        std::string row;
        for (int x = 0; x < c.Width; ++x) {
            const TColor p = PixelAt(image, x, y);
            row += p == clWhite ? '.' : p == clBlack ? '#' : p == clRed ? 'o' : '?';
        }
        mask.push_back(row);
    }
    return mask;
}

std::string Joined(const std::vector<std::string>& rows)
{
    std::string s;
    for (const std::string& r : rows) s += r + "\n";
    return s;
}

// Every recorded case of one drawing call drawn by us, compared pixel for pixel.
void ExpectRecordedCasesOf(const std::string& op, size_t atLeast)
{
    size_t seen = 0;
    for (const TRecordedCase& c : RecordedCases()) {
        if (c.Op != op) continue;
        ++seen;
        EXPECT_EQ(Joined(Replay(c)), Joined(c.Mask)) << c.Name << " (ours first, then the platform's)";
    }
    EXPECT_GE(seen, atLeast) << "recorded cases of " << op;
}

TEST(RecordedShapes, WidePenRectanglesHaveTheSameRoundCornerAtAllFourCorners)
{
    ExpectRecordedCasesOf("rect", 12);
}

TEST(RecordedShapes, PolygonsFillByIntegerSamplesInBothModesWithoutGapsToTheOutline)
{
    ExpectRecordedCasesOf("polygon", 20);
}

TEST(RecordedShapes, EllipsesMatchTheirOutlineAndFill)
{
    ExpectRecordedCasesOf("ellipse", 24);
}

TEST(RecordedShapes, RoundRectsBuildTheirCornersFromTheSameEllipse)
{
    ExpectRecordedCasesOf("roundrect", 10);
}

struct ShapeTest : ::testing::Test {
    QImage image{40, 40, QImage::Format_RGB32};
    TDeviceContext dc{&image};
    TCanvas canvas;
    ShapeTest()
    {
        image.fill(QColor(0x40, 0x80, 0xC0));
        canvas.SetHandle(&dc);
    }
};

TEST_F(ShapeTest, XorShapesChangeEachPixelOnceSoASecondCallRestores)
{
    const QImage before = image.copy();
    canvas.Pen().SetMode(TPenMode::pmXor);
    canvas.Pen().SetColor(clWhite);
    canvas.Brush().SetColor(clYellow);
    using Draw = void (*)(TCanvas&);
    const Draw calls[] = {
        [](TCanvas& c) { c.Ellipse(3, 4, 30, 22); },
        [](TCanvas& c) { c.RoundRect(2, 2, 33, 25, 9, 7); },
        [](TCanvas& c) { c.RoundRect(2, 2, 33, 25, 4, 9); },  // a brush row beyond the outline
        [](TCanvas& c) { c.Polygon({{2, 2}, {30, 8}, {6, 30}, {20, 1}, {35, 35}}); },
        [](TCanvas& c) {
            c.Pen().SetWidth(5);
            c.Rectangle(4, 4, 12, 9);  // the sides' discs overlap at every corner
            c.Pen().SetWidth(1);
        },
    };
    for (const Draw& draw : calls) {
        draw(canvas);
        EXPECT_NE(image, before);
        draw(canvas);
        EXPECT_EQ(image, before);
    }
}

TEST_F(ShapeTest, ShapesHonourViewportAndClip)
{
    image.fill(Qt::white);
    SetViewportOrgEx(&dc, 10, 10, nullptr);
    IntersectClipRect(&dc, 0, 0, 20, 40);  // device columns 10..29
    canvas.Brush().SetColor(clRed);
    canvas.Ellipse(-5, 0, 25, 10);
    EXPECT_EQ(PixelAt(image, 10, 15), clRed);  // logical (0, 5)
    EXPECT_EQ(CountPixels(image, clWhite, 0, 0, 10, 40), 400);
    EXPECT_EQ(CountPixels(image, clWhite, 30, 0, 40, 40), 400);
    canvas.Pen().SetWidth(3);
    canvas.Rectangle(0, 15, 40, 25);
    EXPECT_EQ(PixelAt(image, 10, 24), clBlack);  // logical (0, 14): the pen's outer row
    EXPECT_EQ(PixelAt(image, 15, 30), clRed);
    EXPECT_EQ(CountPixels(image, clWhite, 30, 0, 40, 40), 400);
}

TEST_F(ShapeTest, HugeAndReversedInputIsClippedToTheImage)
{
    image.fill(Qt::white);
    canvas.Brush().SetColor(clRed);
    canvas.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(PixelAt(image, 20, 20), clRed) << "the image lies deep inside";
    canvas.RoundRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MIN);
    canvas.Polygon({{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}, {INT_MAX, INT_MAX}});
    image.fill(Qt::white);
    canvas.Pen().SetWidth(INT_MAX);
    canvas.Rectangle(30, 30, 10, 10);
    EXPECT_EQ(CountPixels(image, clBlack, 0, 0, 40, 40), 40 * 40) << "a pen that wide covers the image";
    canvas.Pen().SetStyle(TPenStyle::psInsideFrame);
    canvas.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    canvas.Pen().SetWidth(1);
    const QImage before = image.copy();
    canvas.Ellipse(5, 5, 6, 6);
    EXPECT_EQ(image, before) << "a one-pixel ellipse draws nothing";
}

TEST(EllipseRows, RunsAreSymmetricConvexAndTouchTheSidesOnlyAtTheMiddle)
{
    for (int w = 1; w <= 40; ++w) {
        for (int h = 1; h <= 40; ++h) {
            const raster::TEllipseRows e(0, 0, w, h);
            if (w == 1 && h == 1) {
                EXPECT_TRUE(e.Row(0).Empty());
                continue;
            }
            int64_t widest = 0, first = -1, last = -1;
            for (int64_t y = 0; y < h; ++y) {
                const raster::TRun r = e.Row(y), m = e.Row(h - 1 - y);
                ASSERT_EQ(r.Empty(), m.Empty()) << w << "x" << h << " row " << y;
                if (r.Empty()) {
                    EXPECT_TRUE(first < 0 || y > h / 2) << w << "x" << h << " gap in row " << y;
                    continue;
                }
                if (first < 0) first = y;
                last = y;
                EXPECT_EQ(r.Left, w - 1 - r.Right) << w << "x" << h << " row " << y;
                EXPECT_EQ(r.Left, m.Left) << w << "x" << h << " rows " << y;
                if (2 * y < h - 1) {
                    EXPECT_GE(r.Left, e.Row(y + 1).Left) << w << "x" << h << " widens to the middle, row " << y;
                }
                widest = std::max(widest, r.Right - r.Left + 1);
            }
            EXPECT_EQ(widest, w) << w << "x" << h;
            EXPECT_EQ(first, h - 1 - last) << w << "x" << h;
            if (w >= h) {
                EXPECT_EQ(first, 0) << w << "x" << h << " reaches the top";
            }
        }
    }
}

TEST(EllipseRows, TallThinEllipsesStopShortOfTheBoxLikeThePlatforms)
{
    // Outlines the platform draws for these too, but leaves the rows beyond them undefined, so
    // they cannot be recorded reliably.
    struct TCase {
        int W, H, FirstRow;
    };
    for (const TCase& c : {TCase{3, 8, 1}, TCase{3, 15, 2}, TCase{3, 100, 14}, TCase{4, 7, 1}, TCase{6, 20, 1},
                           TCase{5, 32, 1}, TCase{5, 31, 0}, TCase{8, 40, 1}}) {
        const raster::TEllipseRows e(10, 20, 10 + c.W, 20 + c.H);
        EXPECT_TRUE(e.Row(20 + c.FirstRow - 1).Empty()) << c.W << "x" << c.H;
        EXPECT_FALSE(e.Row(20 + c.FirstRow).Empty()) << c.W << "x" << c.H;
        EXPECT_TRUE(e.Row(20 + c.H - c.FirstRow).Empty()) << c.W << "x" << c.H;
    }
    const raster::TEllipseRows thin(0, 0, 3, 8);
    EXPECT_EQ(thin.Row(1).Left, 1);
    EXPECT_EQ(thin.Row(1).Right, 1);
    EXPECT_EQ(thin.Row(2).Left, 0);
}

TEST(EllipseRows, LargeEllipsesLeaveTheWalkWithinAPixel)
{
    // 65536 pixels wide is walked, one more takes the nearest-curve rule.
    const int64_t h = 40001;
    const raster::TEllipseRows walked(0, 0, 65536, h), nearest(0, 0, 65537, h);
    int64_t differing = 0;
    for (int64_t y = 0; y < h; ++y) {
        const raster::TRun a = walked.Row(y), b = nearest.Row(y);
        ASSERT_FALSE(a.Empty()) << y;
        ASSERT_FALSE(b.Empty()) << y;
        EXPECT_LE(std::abs(a.Left - b.Left), 1) << "row " << y;
        differing += a.Left != b.Left;
    }
    EXPECT_LT(differing, h / 4);
}

}  // namespace
}  // namespace vxplan
