// The printer: PDF documents of several pages checked with poppler's pdfinfo, pdftotext and
// pdftoppm, the capabilities of its context, the error texts, and StretchDIBits on images and
// pages.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxPrinter.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>

namespace vxplan {
namespace {

using test::ErrorText;
using test::ExpectPixels;
using test::PixelAt;

QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(30000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString PageText(const QString& pdf, int page)
{
    return RunTool("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
}

// The bounding box in points of the first word of page 1 that equals word.
QRectF WordBox(const QString& pdf, const QString& word)
{
    const QString html = RunTool("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    const QRegularExpression re("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">" +
                                QRegularExpression::escape(word) + "</word>");
    const QRegularExpressionMatch m = re.match(html);
    if (!m.hasMatch()) return {};
    return QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
}

// Page 1 rendered at the given resolution.
QImage Render(const QString& pdf, int dpi, const QString& dir)
{
    RunTool("pdftoppm", {"-png", "-r", QString::number(dpi), "-f", "1", "-l", "1", "-singlefile", pdf, dir + "/page"});
    return QImage(dir + "/page.png").convertToFormat(QImage::Format_RGB32);
}

class PrinterTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TPrinter printer;
    QString File(const char* name) const { return dir.path() + "/" + name; }
    // Starts a document into the named file of the test's folder and gives its path.
    QString Begin(const char* name)
    {
        const QString pdf = File(name);
        printer.SetFileName(pdf.toStdString());
        printer.BeginDoc();
        return pdf;
    }
};

TEST_F(PrinterTest, TwoPagesWithTheirTextPageSizeAndTitle)
{
    printer.SetTitle("Plan");
    const QString pdf = Begin("two.pdf");
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 1);
    TCanvas& canvas = printer.Canvas();
    canvas.Font().SetHeight(-50);
    canvas.TextOut(300, 300, "First page");
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    canvas.TextOut(300, 300, "Second page");
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 0);

    const QString info = RunTool("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+595 x 842 pts \\(A4\\)"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Plan\\n"))) << info.toStdString();
    EXPECT_TRUE(PageText(pdf, 1).contains("First page"));
    EXPECT_FALSE(PageText(pdf, 1).contains("Second"));
    EXPECT_TRUE(PageText(pdf, 2).contains("Second page"));
}

TEST_F(PrinterTest, ContextReportsResolutionAndPageGeometry)
{
    EXPECT_EQ(printer.GetResolution(), 300);
    // A4 is 595 x 842 points to Qt, so 2479 x 3508 pixels at 300 dpi.
    EXPECT_EQ(printer.PageWidth(), 2479) << "known before printing";
    EXPECT_EQ(printer.PageHeight(), 3508);
    Begin("caps.pdf");
    HDC dc = printer.Handle();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->Kind(), TDeviceContext::TKind::Pdf);
    for (auto [cap, value] : {std::pair{LOGPIXELSX, 300}, {LOGPIXELSY, 300}, {HORZRES, 2479}, {VERTRES, 3508},
                              {PHYSICALWIDTH, 2479}, {PHYSICALHEIGHT, 3508}, {PHYSICALOFFSETX, 0}, {TECHNOLOGY, DT_RASPRINTER}})
        EXPECT_EQ(GetDeviceCaps(dc, cap), value) << "capability " << cap;
    printer.EndDoc();
    EXPECT_EQ(printer.Handle(), nullptr);

    printer.SetResolution(150);
    printer.SetOrientation(TPrinterOrientation::poLandscape);
    printer.SetPageSize(QPageSize::A5);
    const QString pdf = Begin("landscape.pdf");
    EXPECT_EQ(printer.PageWidth(), 1240) << "A5 landscape at 150 dpi";
    EXPECT_EQ(printer.PageHeight(), 875);
    printer.EndDoc();
    EXPECT_TRUE(RunTool("pdfinfo", {pdf}).contains(QRegularExpression("Page size:\\s+595 x 420 pts")));
}

TEST_F(PrinterTest, FontPixelsAreDevicePixelsOfThePage)
{
    const QString pdf = Begin("font.pdf");
    TCanvas& canvas = printer.Canvas();
    canvas.Font().SetHeight(-100);
    canvas.TextOut(300, 600, "Measured");
    const int width = canvas.TextWidth("Measured");
    printer.EndDoc();
    const QRectF box = WordBox(pdf, "Measured");
    ASSERT_FALSE(box.isEmpty());
    // 300 device pixels are 72 points; a 100-pixel font is 24 points high.
    EXPECT_NEAR(box.left(), 72, 2);
    EXPECT_NEAR(box.width(), width * 72.0 / 300, 3) << "measured and printed widths agree";
    EXPECT_GT(box.height(), 22);
    EXPECT_LT(box.height(), 30);
}

TEST_F(PrinterTest, ViewportAndClipOnThePrinterContext)
{
    const QString pdf = Begin("viewport.pdf");
    HDC dc = printer.Handle();
    TCanvas& canvas = printer.Canvas();
    canvas.Font().SetHeight(-60);
    SetViewportOrgEx(dc, 300, 600, nullptr);
    canvas.TextOut(0, 0, "Shifted");
    SetViewportOrgEx(dc, 0, 0, nullptr);
    // A red square through a clip that keeps only its left half.
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    IntersectClipRect(dc, 0, 0, 1500, 3508);
    StretchDIBits(dc, 1200, 1200, 600, 600, 0, 0, 4, 4, red, SRCCOPY);
    printer.EndDoc();

    const QRectF box = WordBox(pdf, "Shifted");
    ASSERT_FALSE(box.isEmpty());
    EXPECT_NEAR(box.left(), 72, 2);
    EXPECT_NEAR(box.top(), 144, 3);

    // At 30 dpi a device pixel of the page is a tenth of a rendered pixel.
    const QImage page = Render(pdf, 30, dir.path());
    ASSERT_FALSE(page.isNull());
    auto isRed = [&](int x, int y) {
        const TColor c = PixelAt(page, x, y);
        return GetRValue(c) > 240 && GetGValue(c) < 16 && GetBValue(c) < 16;
    };
    EXPECT_TRUE(isRed(135, 150));
    EXPECT_TRUE(isRed(145, 150));
    EXPECT_EQ(PixelAt(page, 155, 150), clWhite) << "right of the clip";
    EXPECT_EQ(PixelAt(page, 115, 150), clWhite) << "left of the image";
}

TEST_F(PrinterTest, ErrorTexts)
{
    const std::function<void()> idle[] = {[&] { printer.NewPage(); }, [&] { printer.EndDoc(); },
                                          [&] { printer.Abort(); }, [&] { printer.Canvas().TextOut(0, 0, "x"); },
                                          [&] { printer.Canvas().Rectangle(0, 0, 9, 9); }};
    for (const auto& call : idle) EXPECT_EQ(ErrorText<EPrinter>(call), "Printer is not printing");

    const std::string noName = ErrorText<EPrinter>([&] { printer.BeginDoc(); });
    EXPECT_NE(noName.find("FileName"), std::string::npos) << noName;
    EXPECT_FALSE(printer.Printing());

    const std::string bad = "/nonexistent-folder/plan.pdf";
    printer.SetFileName(bad);
    const std::string cannot = ErrorText<EPrinter>([&] { printer.BeginDoc(); });
    EXPECT_NE(cannot.find(bad), std::string::npos) << cannot;
    EXPECT_FALSE(printer.Printing());

    Begin("busy.pdf");
    EXPECT_EQ(ErrorText<EPrinter>([&] { printer.BeginDoc(); }), "Printing in progress");
    EXPECT_EQ(ErrorText<EPrinter>([&] { printer.SetResolution(600); }), "Printing in progress");
    EXPECT_TRUE(printer.Printing()) << "a refused BeginDoc leaves the document open";
    printer.EndDoc();
    EXPECT_TRUE(QFile::exists(File("busy.pdf")));
}

TEST_F(PrinterTest, AbortDropsTheDocument)
{
    const QString pdf = Begin("aborted.pdf");
    printer.Canvas().TextOut(10, 10, "Never");
    printer.Abort();
    EXPECT_TRUE(printer.Aborted());
    EXPECT_FALSE(printer.Printing());
    EXPECT_FALSE(QFile::exists(pdf));
    printer.BeginDoc();
    EXPECT_FALSE(printer.Aborted()) << "a new document starts afresh";
    printer.EndDoc();
    EXPECT_TRUE(QFile::exists(pdf));
}

TEST_F(PrinterTest, SystemPrinterPathWritesThroughQPrinter)
{
    printer.UseSystemPrinter(true);
    const QString pdf = Begin("system.pdf");
    HDC dc = printer.Handle();
    EXPECT_EQ(dc->Kind(), TDeviceContext::TKind::Printer);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    EXPECT_GT(dpi, 0);
    EXPECT_GE(GetDeviceCaps(dc, PHYSICALWIDTH), GetDeviceCaps(dc, HORZRES));
    EXPECT_GE(GetDeviceCaps(dc, PHYSICALWIDTH) - GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, PHYSICALOFFSETX));
    printer.Canvas().TextOut(100, 100, "System");
    printer.EndDoc();
    EXPECT_TRUE(PageText(pdf, 1).contains("System"));
}

TEST_F(PrinterTest, TheProcessPrinterCanBeReplaced)
{
    TPrinter& original = Printer();
    EXPECT_EQ(&Printer(), &original);
    auto mine = std::make_unique<TPrinter>();
    TPrinter* raw = mine.get();
    std::unique_ptr<TPrinter> previous = SetPrinter(std::move(mine));
    EXPECT_EQ(previous.get(), &original);
    EXPECT_EQ(&Printer(), raw);
    SetPrinter(std::move(previous));
    EXPECT_EQ(&Printer(), &original);
}

// --- StretchDIBits -------------------------------------------------------------------------

QImage Quad()
{
    QImage q(2, 2, QImage::Format_RGB32);
    q.setPixel(0, 0, qRgb(255, 0, 0));
    q.setPixel(1, 0, qRgb(0, 255, 0));
    q.setPixel(0, 1, qRgb(0, 0, 255));
    q.setPixel(1, 1, qRgb(255, 255, 255));
    return q;
}

TEST(StretchDIBits, NearestNeighbourOntoAnImage)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::black);
    TDeviceContext dc(&image);
    EXPECT_EQ(StretchDIBits(&dc, 1, 1, 4, 4, 0, 0, 2, 2, Quad(), SRCCOPY), 2);
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 5; ++x) {
            const TColor expected = y < 3 ? (x < 3 ? clRed : clLime) : (x < 3 ? clBlue : clWhite);
            EXPECT_EQ(PixelAt(image, x, y), expected) << x << "," << y;
        }
    ExpectPixels(image, {{0, 0, clBlack}, {5, 5, clBlack}});

    // A part of the source, mirrored by a negative width, through the viewport.
    image.fill(Qt::black);
    SetViewportOrgEx(&dc, 2, 0, nullptr);
    StretchDIBits(&dc, 2, 0, -2, 1, 0, 0, 2, 1, Quad(), SRCCOPY);
    ExpectPixels(image, {{2, 0, clLime}, {3, 0, clRed}});
}

TEST(StretchDIBits, RasterOperationsAreBitwiseAndClipped)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(QColor(0x12, 0x34, 0x56));
    const QImage before = image;
    TDeviceContext dc(&image);
    StretchDIBits(&dc, 0, 0, 4, 4, 0, 0, 2, 2, Quad(), SRCINVERT);
    EXPECT_EQ(PixelAt(image, 0, 0), RGB(0x12 ^ 0xFF, 0x34, 0x56));
    StretchDIBits(&dc, 0, 0, 4, 4, 0, 0, 2, 2, Quad(), SRCINVERT);
    EXPECT_EQ(image, before) << "xor twice restores";

    StretchDIBits(&dc, 0, 0, 2, 2, 0, 0, 2, 2, Quad(), SRCAND);
    EXPECT_EQ(PixelAt(image, 0, 0), RGB(0x12, 0, 0));
    StretchDIBits(&dc, 0, 0, 2, 2, 0, 0, 2, 2, Quad(), NOTSRCCOPY);
    ExpectPixels(image, {{1, 1, clBlack}, {0, 0, clAqua}});
    StretchDIBits(&dc, 0, 0, 1, 1, 0, 0, 2, 2, Quad(), SRCPAINT);
    EXPECT_EQ(PixelAt(image, 0, 0), clWhite);

    image.fill(Qt::black);
    HRGN clip = CreateRectRgn(0, 0, 2, 4);
    SelectClipRgn(&dc, clip);
    DeleteObject(clip);
    StretchDIBits(&dc, 0, 0, 4, 4, 1, 1, 1, 1, Quad(), SRCCOPY);
    EXPECT_EQ(PixelAt(image, 1, 3), clWhite);
    EXPECT_EQ(PixelAt(image, 2, 0), clBlack) << "outside the clip";

    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 4, 4, 0, 5, 2, 2, Quad(), SRCCOPY), 0) << "source rows outside the image";
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 0, 4, 0, 0, 2, 2, Quad(), SRCCOPY), 0);
}

}  // namespace
}  // namespace vxplan
