// Text on contexts and canvases: where the text cell lands, what an opaque background fills,
// the extents of known strings in Liberation Sans (which fontconfig gives for "Arial"), the
// layout of DrawTextW under each of its flags, and rotated text.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxCanvas.h>
#include <vxplan/platform/graphics/vxTextLayout_p.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <QFontInfo>

namespace vxplan {
namespace {

using test::CountPixels;
using test::PixelAt;

// A white image with a context on it and the default font (Arial, 8 points at 96 dpi).
struct TScene {
    explicit TScene(int w = 80, int h = 40) : image(w, h, QImage::Format_RGB32), dc(&image)
    {
        image.fill(Qt::white);
        dc.Font = TFont().Data();
        dc.TextColor = clBlack;
        dc.BkColor = clYellow;
        dc.BkMode = TRANSPARENT;
    }
    QImage image;
    TDeviceContext dc;
};

// The bounding box of the pixels that are not white: {left, top, right, bottom} exclusive.
TRect InkBox(const QImage& image)
{
    TRect box{image.width(), image.height(), 0, 0};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) != clWhite) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box;
}

TSize Extent(TDeviceContext& dc, const std::string& text)
{
    TSize size;
    EXPECT_TRUE(GetTextExtentPoint32W(&dc, text, &size));
    return size;
}

// --- Fonts ---------------------------------------------------------------------------------

TEST(Font, ArialAtEightPointsIsElevenPixelsOfLiberationSans)
{
    TFont font;
    EXPECT_EQ(font.GetName(), "Arial");
    EXPECT_EQ(font.GetSize(), 8);
    EXPECT_EQ(font.GetHeight(), -11);
    const QFont qfont = font.Data().Font;
    EXPECT_EQ(qfont.pixelSize(), 11);
    EXPECT_EQ(QFontInfo(qfont).family(), "Liberation Sans");
    font.SetName("Times New Roman");
    EXPECT_EQ(QFontInfo(font.Data().Font).family(), "Liberation Serif");
    font.SetName("Courier New");
    EXPECT_EQ(QFontInfo(font.Data().Font).family(), "Liberation Mono");
}

TEST(Font, SizeAndHeightFollowPixelsPerInchAndAPositiveHeightIsTheCellHeight)
{
    TFont font;
    font.SetSize(12);
    EXPECT_EQ(font.GetHeight(), -16);
    font.SetPixelsPerInch(300);
    EXPECT_EQ(font.GetHeight(), -16) << "the pixel height stays when the resolution changes";
    EXPECT_EQ(font.GetSize(), 4);
    font.SetSize(12);
    EXPECT_EQ(font.GetHeight(), -50);
    EXPECT_THROW(font.SetPixelsPerInch(0), EInvalidArgument);
    EXPECT_THROW(font.SetName(""), EInvalidArgument);
    EXPECT_EQ(font.GetName(), "Arial") << "a refused name loses nothing";

    TScene s;
    for (int cell : {12, 15, 20, 40}) {
        TFont positive;
        positive.SetHeight(cell);
        s.dc.Font = positive.Data();
        const TTextMetrics m(ContextFont(s.dc), s.dc);
        EXPECT_NEAR(m.Height(), cell, 1) << "cell height " << cell;
        EXPECT_LT(positive.Data().Font.pixelSize(), cell);
    }
}

TEST(Font, EveryChangeRaisesOnChangeAndAssignCopiesAll)
{
    TFont font;
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    font.SetName("Courier New");
    font.SetSize(10);
    font.SetStyle(TFontStyles{TFontStyle::fsBold, TFontStyle::fsUnderline});
    font.SetColor(clRed);
    font.SetOrientation(900);
    font.SetPitch(TFontPitch::fpFixed);
    font.SetPixelsPerInch(120);
    EXPECT_EQ(changes, 7);
    font.SetColor(clRed);
    EXPECT_EQ(changes, 7) << "setting the same value is no change";

    TFont copy;
    copy.Assign(font);
    EXPECT_EQ(copy.GetName(), "Courier New");
    EXPECT_EQ(copy.GetHeight(), font.GetHeight());
    EXPECT_EQ(copy.GetStyle(), font.GetStyle());
    EXPECT_EQ(copy.GetColor(), clRed);
    EXPECT_EQ(copy.GetOrientation(), 900);
    EXPECT_EQ(copy.GetPitch(), TFontPitch::fpFixed);
    EXPECT_EQ(copy.GetPixelsPerInch(), 120);
    const TFontData data = copy.Data();
    EXPECT_TRUE(data.Font.bold());
    EXPECT_TRUE(data.Font.underline());
    EXPECT_EQ(data.Orientation, 900);
    EXPECT_EQ(data.Color, clRed);
}

// --- Extents -------------------------------------------------------------------------------

TEST(TextExtent, KnownStringsInArialEightPoints)
{
    TScene s;
    // Liberation Sans at 11 pixels, hinted to whole pixels.
    EXPECT_EQ(Extent(s.dc, "Hello"), (TSize{23, 12}));
    EXPECT_EQ(Extent(s.dc, "x"), (TSize{6, 12}));
    EXPECT_EQ(Extent(s.dc, ""), (TSize{0, 12})) << "an empty string still has the cell height";
    // Whole-pixel advances without kerning: widths add up.
    EXPECT_EQ(Extent(s.dc, "AVAWAY").cx,
              3 * Extent(s.dc, "A").cx + Extent(s.dc, "V").cx + Extent(s.dc, "W").cx + Extent(s.dc, "Y").cx);
    TFont bold;
    bold.SetStyle(TFontStyles{TFontStyle::fsBold});
    s.dc.Font = bold.Data();
    EXPECT_GT(Extent(s.dc, "Hello").cx, 23);
}

TEST(TextExtent, Utf8IsDecodedForMeasuringAndDrawing)
{
    TScene s;
    const TSize ar = Extent(s.dc, "år");
    EXPECT_EQ(ar.cx, Extent(s.dc, "å").cx + Extent(s.dc, "r").cx);
    EXPECT_EQ(Extent(s.dc, "å").cx, Extent(s.dc, "a").cx) << "å is one character, as wide as a";
    TScene plain;
    TextOutW(&s.dc, 2, 2, "år");
    TextOutW(&plain.dc, 2, 2, "ar");
    EXPECT_LT(InkBox(s.image).Top, InkBox(plain.image).Top) << "the ring of å is drawn above the a";
    EXPECT_EQ(InkBox(s.image).Bottom, InkBox(plain.image).Bottom);
}

TEST(TextExtent, CanvasWithoutContextMeasuresAsTheScreen)
{
    TCanvas loose;
    TScene s;
    TCanvas bound;
    bound.SetHandle(&s.dc);
    EXPECT_EQ(loose.TextExtent("Hello"), (TSize{23, 12}));
    EXPECT_EQ(loose.TextWidth("planning år"), bound.TextWidth("planning år"));
    EXPECT_EQ(bound.TextHeight("x"), 12);
}

// --- TextOutW ------------------------------------------------------------------------------

TEST(TextOut, OpaqueBackgroundFillsExactlyTheTextCellAndTransparentLeavesThePixelsWithSolidInk)
{
    TScene s;
    s.dc.BkMode = OPAQUE;
    ASSERT_TRUE(TextOutW(&s.dc, 5, 4, "Hi"));
    const TSize ext = Extent(s.dc, "Hi");
    EXPECT_EQ(InkBox(s.image), Bounds(5, 4, ext.cx, ext.cy));
    // Inside the cell only background and text colours, and both of them.
    const int yellow = CountPixels(s.image, clYellow, 5, 4, 5 + ext.cx, 4 + ext.cy);
    const int black = CountPixels(s.image, clBlack, 5, 4, 5 + ext.cx, 4 + ext.cy);
    EXPECT_GT(black, 10);
    EXPECT_EQ(yellow + black, ext.cx * ext.cy);
    EXPECT_EQ(PixelAt(s.image, 5, 4), clYellow);

    TScene t;
    t.dc.TextColor = clRed;
    TextOutW(&t.dc, 5, 4, "Hi");
    const int red = CountPixels(t.image, clRed, 0, 0, 80, 40);
    const int white = CountPixels(t.image, clWhite, 0, 0, 80, 40);
    EXPECT_GT(red, 10);
    EXPECT_EQ(red + white, 80 * 40) << "no antialiasing shades on images";
}

TEST(TextOut, TopLeftOfTheCellIsThePointAndTheBaselineIsAscentBelow)
{
    TScene s;
    TextOutW(&s.dc, 10, 6, "H");
    const TRect ink = InkBox(s.image);
    // H stands on the baseline: its last ink row is the one above y + ascent.
    EXPECT_EQ(ink.Bottom, 6 + 10);
    EXPECT_GT(ink.Top, 6) << "capitals leave internal leading above them";
    EXPECT_GE(ink.Left, 10);
    EXPECT_LE(ink.Left, 11);
}

TEST(TextOut, ViewportOriginAndClipAreHonoured)
{
    TScene a, b;
    TextOutW(&a.dc, 20, 10, "Move");
    SetViewportOrgEx(&b.dc, 15, 8, nullptr);
    TextOutW(&b.dc, 5, 2, "Move");
    EXPECT_EQ(a.image, b.image);

    TScene c;
    HRGN clip = CreateRectRgn(0, 0, 12, 40);
    SelectClipRgn(&c.dc, clip);
    DeleteObject(clip);
    TextOutW(&c.dc, 5, 5, "WWWWWW");
    EXPECT_EQ(InkBox(c.image).Right, 12);
}

TEST(TextOut, AFontSelectedAfterDrawingIsTheOneDrawnAndMeasured)
{
    // Contexts and canvases keep what they made of a font; another font must still take over.
    TFont big;
    big.SetHeight(-22);
    big.SetStyle(TFontStyles{TFontStyle::fsBold});
    TScene used(120, 40), fresh(120, 40);
    EXPECT_TRUE(TextOutW(&used.dc, 0, 0, "Wg"));
    const TSize small = Extent(used.dc, "Wg");
    used.image.fill(Qt::white);
    used.dc.Font = big.Data();
    fresh.dc.Font = big.Data();
    EXPECT_GT(Extent(used.dc, "Wg").cx, small.cx);
    EXPECT_EQ(Extent(used.dc, "Wg"), Extent(fresh.dc, "Wg"));
    TextOutW(&used.dc, 0, 0, "Wg");
    TextOutW(&fresh.dc, 0, 0, "Wg");
    EXPECT_EQ(used.image, fresh.image);

    TCanvas canvas;
    canvas.SetHandle(&used.dc);
    EXPECT_EQ(canvas.TextExtent("Wg"), small);
    canvas.Font().SetHeight(-22);
    canvas.Font().SetStyle(TFontStyles{TFontStyle::fsBold});
    EXPECT_EQ(canvas.TextExtent("Wg"), Extent(fresh.dc, "Wg"));
}

TEST(TextOut, NinetyDegreesRunsUpwardFromTheStartPoint)
{
    TScene s(40, 80);
    TFont font;
    font.SetOrientation(900);
    s.dc.Font = font.Data();
    TextOutW(&s.dc, 10, 60, "Upward");
    const TRect ink = InkBox(s.image);
    const int length = Extent(s.dc, "Upward").cx;
    // Turned counter-clockwise about (10, 60): the text climbs from y = 60, the cell's top
    // edge is now its left edge at x = 10.
    EXPECT_LE(ink.Bottom, 61);
    EXPECT_GE(ink.Top, 60 - length - 1);
    EXPECT_LT(ink.Top, 60 - length + 4);
    EXPECT_GE(ink.Left, 10);
    EXPECT_LE(ink.Right, 10 + 12 + 1);
}

// --- Canvas text ---------------------------------------------------------------------------

TEST(CanvasText, TextOutUsesTheFontColourAndMovesThePen)
{
    TScene s;
    TCanvas canvas;
    canvas.SetHandle(&s.dc);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetColor(clBlue);
    canvas.TextOut(3, 4, "Pen");
    EXPECT_GT(CountPixels(s.image, clBlue, 0, 0, 80, 40), 5);
    EXPECT_EQ(canvas.GetPenPos(), (TPoint{3 + canvas.TextWidth("Pen"), 4}));
}

TEST(CanvasText, TextRectFillsTheRectangleAndClipsTheText)
{
    TScene s;
    TCanvas canvas;
    canvas.SetHandle(&s.dc);
    canvas.Brush().SetColor(clLime);
    const TRect r = Rect(10, 5, 30, 20);
    canvas.TextRect(r, 4, 6, "WWWWWWWW");
    EXPECT_EQ(InkBox(s.image), r);
    EXPECT_GT(CountPixels(s.image, clBlack, 10, 5, 30, 20), 20);
    EXPECT_EQ(CountPixels(s.image, clLime, 10, 5, 30, 20) + CountPixels(s.image, clBlack, 10, 5, 30, 20), 20 * 15);

    TScene clear;
    TCanvas transparent;
    transparent.SetHandle(&clear.dc);
    transparent.Brush().SetStyle(TBrushStyle::bsClear);
    transparent.TextRect(r, 4, 6, "WWWWWWWW");
    EXPECT_EQ(CountPixels(clear.image, clLime, 0, 0, 80, 40), 0);
    EXPECT_GT(CountPixels(clear.image, clBlack, 10, 5, 30, 20), 20);
    EXPECT_EQ(InkBox(clear.image).Left, 10);
}

// --- DrawTextW -----------------------------------------------------------------------------

std::vector<QString> Lines(TDeviceContext& dc, const std::string& text, int width, uint32_t format, int height = 1000)
{
    const TTextMetrics m(ContextFont(dc), dc);
    std::vector<QString> out;
    for (const TTextLine& line : LayoutText(QString::fromStdString(text), width, height, format, m).Lines)
        out.push_back(line.Text);
    return out;
}

TEST(DrawText, CalcRectMeasuresWithoutDrawing)
{
    TScene s;
    TRect r = Rect(5, 5, 200, 100);
    EXPECT_EQ(DrawTextW(&s.dc, "Hello", r, DT_CALCRECT | DT_SINGLELINE), 12);
    EXPECT_EQ(r, Rect(5, 5, 5 + 23, 5 + 12));

    r = Rect(0, 0, 200, 100);
    EXPECT_EQ(DrawTextW(&s.dc, "ab\ncd\r\nlonger\n", r, DT_CALCRECT), 36) << "a final break starts no line";
    EXPECT_EQ(r, Rect(0, 0, Extent(s.dc, "longer").cx, 36));

    r = Rect(0, 0, 40, 10);
    DrawTextW(&s.dc, "one two three four", r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_LE(r.Right, 40);
    EXPECT_EQ(r.Bottom % 12, 0);
    EXPECT_GE(r.Bottom, 36) << "word-broken text grows downwards past the rectangle";
    EXPECT_EQ(InkBox(s.image).Right, 0) << "nothing drawn";

    TRect untouched = Rect(1, 2, 3, 4);
    EXPECT_EQ(DrawTextW(&s.dc, "", untouched, DT_CALCRECT), 0);
    EXPECT_EQ(untouched, Rect(1, 2, 3, 4));
}

TEST(DrawText, WordBreakBreaksAtSpacesAndLongWordsWhereTheyMust)
{
    TScene s;
    const int w = Extent(s.dc, "aaa bbb").cx;
    EXPECT_EQ(Lines(s.dc, "aaa bbb ccc", w, DT_WORDBREAK), (std::vector<QString>{"aaa bbb", "ccc"}));
    EXPECT_EQ(Lines(s.dc, "aaa  bbb   ccc", Extent(s.dc, "aaa").cx + 1, DT_WORDBREAK),
              (std::vector<QString>{"aaa", "bbb", "ccc"})) << "spaces at a break are dropped";
    const int narrow = Extent(s.dc, "abcd").cx;
    const std::vector<QString> broken = Lines(s.dc, "abcdefghijklmnop", narrow, DT_WORDBREAK);
    EXPECT_GE(broken.size(), 3u);
    QString joined;
    for (const QString& piece : broken) {
        EXPECT_LE(Extent(s.dc, piece.toStdString()).cx, narrow) << piece.toStdString();
        joined += piece;
    }
    EXPECT_EQ(joined, "abcdefghijklmnop") << "nothing lost or doubled at the breaks";
    EXPECT_EQ(broken[0], "abcd");
    EXPECT_EQ(Lines(s.dc, "aaa bbb ccc", w, DT_WORDBREAK | DT_SINGLELINE), (std::vector<QString>{"aaa bbb ccc"}))
        << "a single line never breaks";
    EXPECT_EQ(Lines(s.dc, "one\ntwo", 100, DT_SINGLELINE), (std::vector<QString>{"onetwo"}));
    EXPECT_EQ(Lines(s.dc, "one\r\n\ntwo", 100, 0), (std::vector<QString>{"one", "", "two"}));
}

TEST(DrawText, HorizontalAndVerticalAlignment)
{
    const TRect r = Rect(10, 10, 70, 40);
    auto inkOf = [&](uint32_t format) {
        TScene s;
        TRect rr = r;
        DrawTextW(&s.dc, "Mid", rr, format);
        return InkBox(s.image);
    };
    TScene m;
    const int w = Extent(m.dc, "Mid").cx;
    const TRect left = inkOf(DT_SINGLELINE);
    const TRect right = inkOf(DT_SINGLELINE | DT_RIGHT);
    const TRect centre = inkOf(DT_SINGLELINE | DT_CENTER);
    EXPECT_EQ(right.Left - left.Left, 60 - w);
    EXPECT_EQ(centre.Left - left.Left, (10 + 70 - w) / 2 - 10);
    const TRect vcentre = inkOf(DT_SINGLELINE | DT_VCENTER);
    const TRect bottom = inkOf(DT_SINGLELINE | DT_BOTTOM);
    EXPECT_EQ(vcentre.Top - left.Top, 30 / 2 - 12 / 2);
    EXPECT_EQ(bottom.Top - left.Top, 30 - 12);
    // Vertical alignment needs a single line.
    EXPECT_EQ(inkOf(DT_VCENTER).Top, left.Top);
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClipAndReturnsTheHeight)
{
    TScene s, n;
    TRect r = Rect(5, 5, 25, 10);
    EXPECT_EQ(DrawTextW(&s.dc, "WWWWWWWW", r, DT_SINGLELINE), 12);
    const TRect ink = InkBox(s.image);
    EXPECT_GE(ink.Left, 5);
    EXPECT_LE(ink.Right, 25);
    EXPECT_LE(ink.Bottom, 10);
    DrawTextW(&n.dc, "WWWWWWWW", r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkBox(n.image).Right, 25);
    EXPECT_GT(InkBox(n.image).Bottom, 10);

    TScene o;
    o.dc.BkMode = OPAQUE;
    TRect two = Rect(0, 0, 80, 40);
    EXPECT_EQ(DrawTextW(&o.dc, "ab\ncd", two, 0), 24);
    EXPECT_EQ(InkBox(o.image), Rect(0, 0, std::max(Extent(o.dc, "ab").cx, Extent(o.dc, "cd").cx), 24));
    TRect v = Rect(0, 0, 80, 40);
    EXPECT_EQ(DrawTextW(&o.dc, "x", v, DT_SINGLELINE | DT_BOTTOM), 40) << "the height down to the text's bottom";
}

TEST(DrawText, EndEllipsisReplacesTheTailSoItFits)
{
    TScene s;
    const int width = 50;
    const std::vector<QString> lines = Lines(s.dc, "A rather long caption", width, DT_SINGLELINE | DT_END_ELLIPSIS);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].endsWith("...")) << lines[0].toStdString();
    EXPECT_TRUE(QString("A rather long caption").startsWith(lines[0].chopped(3)));
    EXPECT_LE(Extent(s.dc, lines[0].toStdString()).cx, width);
    EXPECT_GT(Extent(s.dc, (lines[0].chopped(3) + "r...").toStdString()).cx, width) << "as much kept as fits";
    EXPECT_EQ(Lines(s.dc, "Short", width, DT_SINGLELINE | DT_END_ELLIPSIS), (std::vector<QString>{"Short"}));

    TRect r = Rect(0, 0, width, 20);
    DrawTextW(&s.dc, "A rather long caption", r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(InkBox(s.image).Right, width);
    // The last line that fits the height ends in an ellipsis when text is left over.
    const std::vector<QString> clipped = Lines(s.dc, "one two three", 200, DT_END_ELLIPSIS, 12);
    EXPECT_EQ(clipped.size(), 1u);
}

TEST(DrawText, PrefixUnderlinesTheMarkedCharacterAndDoubleAmpersandIsAnAmpersand)
{
    TScene s;
    TRect r = Rect(0, 0, 80, 20);
    DrawTextW(&s.dc, "&Ab", r, DT_SINGLELINE);
    const int a = Extent(s.dc, "A").cx;
    // One row at ascent + 1 under the A, leaving out its last column.
    for (int x = 0; x < a - 1; ++x) EXPECT_EQ(PixelAt(s.image, x, 11), clBlack) << x;
    EXPECT_EQ(CountPixels(s.image, clBlack, a, 11, 80, 12), 0);
    EXPECT_EQ(Lines(s.dc, "Fish && &Chips", 200, DT_SINGLELINE), (std::vector<QString>{"Fish & Chips"}));

    TScene plain;
    TRect r2 = Rect(0, 0, 80, 20);
    DrawTextW(&plain.dc, "&Ab", r2, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(Lines(plain.dc, "&Ab", 200, DT_NOPREFIX), (std::vector<QString>{"&Ab"}));
    EXPECT_EQ(CountPixels(plain.image, clBlack, 0, 11, 80, 12), 0) << "no underline without prefixes";
    TRect m = Rect(0, 0, 200, 20);
    DrawTextW(&plain.dc, "&Ab", m, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(m.Right, Extent(plain.dc, "&Ab").cx);
}

TEST(DrawText, ExpandTabsAlignsToStopsOfEightAverageCharacters)
{
    TScene s;
    const TTextMetrics m(ContextFont(s.dc), s.dc);
    const int stop = 8 * m.AveCharWidth();
    TRect r = Rect(0, 0, 300, 20);
    DrawTextW(&s.dc, "a\tb\t\tc", r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    EXPECT_EQ(r.Right, 3 * stop + Extent(s.dc, "c").cx);
    const std::vector<TTextSegment> segments = SplitTabs("a\tb", stop, m);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[1].X, stop);

    TScene drawn;
    TRect d = Rect(0, 0, 300, 20);
    DrawTextW(&drawn.dc, "\tI", d, DT_EXPANDTABS | DT_SINGLELINE);
    EXPECT_GE(InkBox(drawn.image).Left, stop);
    EXPECT_LE(InkBox(drawn.image).Left, stop + 2);
}

}  // namespace
}  // namespace vxplan
