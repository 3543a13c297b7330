// The off-screen bitmap: resizing, its canvas, files and errors.
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxBitmap.h>

#include "support/vxTestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vxplan {
namespace {

using test::CountPixels;
using test::ErrorText;
using test::PixelAt;

TEST(Bitmap, NewBitmapIsEmptyThenWhite)
{
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetSize(5, 4);
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.Image().format(), QImage::Format_RGB32);
    EXPECT_EQ(CountPixels(bitmap.Image(), clWhite, 0, 0, 5, 4), 20);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_THROW(bitmap.SetSize(-1, 3), EInvalidArgument);
    EXPECT_EQ(bitmap.Width(), 5);
}

TEST(Bitmap, ResizeKeepsOverlapAndCanvasFollows)
{
    TBitmap bitmap(4, 4);
    bitmap.Canvas().Brush().SetColor(clRed);
    bitmap.Canvas().FillRect(Rect(0, 0, 4, 4));
    bitmap.SetSize(6, 2);
    EXPECT_EQ(CountPixels(bitmap.Image(), clRed, 0, 0, 4, 2), 8);
    EXPECT_EQ(CountPixels(bitmap.Image(), clWhite, 4, 0, 6, 2), 4);
    bitmap.SetHeight(5);
    EXPECT_EQ(PixelAt(bitmap.Image(), 0, 4), clWhite);
    // The canvas now draws on the resized pixels.
    bitmap.Canvas().Brush().SetColor(clBlue);
    bitmap.Canvas().FillRect(Rect(5, 4, 6, 5));
    EXPECT_EQ(PixelAt(bitmap.Image(), 5, 4), clBlue);
    EXPECT_EQ(bitmap.Canvas().GetPixel(5, 4), clBlue);
}

TEST(Bitmap, PngRoundTripKeepsPixels)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath("b.png").toStdString();
    TBitmap bitmap(7, 3);
    bitmap.Canvas().SetPixel(2, 1, RGB(10, 20, 30));
    bitmap.Canvas().MoveTo(0, 0);
    bitmap.Canvas().LineTo(7, 0);
    bitmap.SaveToFile(file);
    TBitmap loaded;
    loaded.LoadFromFile(file);
    EXPECT_EQ(loaded.Width(), 7);
    EXPECT_EQ(loaded.Height(), 3);
    EXPECT_EQ(PixelAt(loaded.Image(), 2, 1), RGB(10, 20, 30));
    EXPECT_EQ(CountPixels(loaded.Image(), clBlack, 0, 0, 7, 1), 7);
    EXPECT_EQ(loaded.Image().format(), QImage::Format_RGB32);
}

TEST(Bitmap, FileErrorsAreClearAndLoseNothing)
{
    QTemporaryDir dir;
    TBitmap bitmap(2, 2);
    bitmap.Canvas().SetPixel(0, 0, clRed);
    EXPECT_THROW(bitmap.LoadFromFile(dir.filePath("missing.png").toStdString()), EConvertError);
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(PixelAt(bitmap.Image(), 0, 0), clRed);
    EXPECT_THROW(bitmap.SaveToFile(dir.filePath("no/such/dir/x.png").toStdString()), EInvalidOperation);
    TBitmap empty;
    EXPECT_THROW(empty.SaveToFile(dir.filePath("e.png").toStdString()), EInvalidOperation);
    const std::string missing = ErrorText<EConvertError>([&] { bitmap.LoadFromFile("/nonexistent/file.png"); });
    EXPECT_NE(missing.find("/nonexistent/file.png"), std::string::npos) << missing;
}

TEST(Bitmap, AssignCopiesPixelsAndTransparency)
{
    TBitmap a(3, 3);
    a.Canvas().SetPixel(1, 1, clGreen);
    a.SetTransparent(true);
    a.SetTransparentColor(clGreen);
    TBitmap b;
    b.Assign(&a);
    a.Canvas().SetPixel(1, 1, clRed);  // independent copies
    EXPECT_EQ(PixelAt(b.Image(), 1, 1), clGreen);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.GetTransparentColor(), clGreen);
    b.Canvas().SetPixel(0, 0, clBlue);
    EXPECT_EQ(PixelAt(b.Image(), 0, 0), clBlue);
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, DefaultTransparentColourIsTheBottomLeftPixel)
{
    TBitmap bitmap(3, 3);
    bitmap.Canvas().SetPixel(0, 2, clFuchsia);
    EXPECT_EQ(bitmap.GetTransparentColor(), clFuchsia);
}

}  // namespace
}  // namespace vxplan
