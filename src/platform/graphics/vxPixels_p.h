// Direct pixel access on the images that raster contexts draw on.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
//
// The platform's raster operations work bitwise on the pixel values, so the drawing code reads
// and writes 32-bit pixels itself instead of going through QPainter. Images in other formats are
// served through QImage::pixel/setPixel, slower but with the same results.
#pragma once

#include <vxplan/platform/graphics/vxColor.h>

#include <QImage>

#include <cstdint>

namespace vxplan {

// A plain colour (system colours resolved) as an opaque 0xFFRRGGBB pixel value.
inline uint32_t ColorToPixel(TColor color)
{
    const TColor c = ColorToRGB(color);
    return 0xFF000000u | (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
           static_cast<uint32_t>(GetBValue(c));
}

inline TColor PixelToColor(uint32_t pixel)
{
    return RGB(static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
               static_cast<int>(pixel & 0xFF));
}

// Reads and writes pixels of one image. Writes keep the pixel opaque, as a 32-bit surface of the
// platform has no alpha of its own.
class TPixelAccess {
public:
    explicit TPixelAccess(QImage& image)
        : image_(image), width_(image.width()), height_(image.height()),
          direct_(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32 ||
                  image.format() == QImage::Format_ARGB32_Premultiplied)
    {
        if (direct_ && width_ > 0 && height_ > 0) {
            bits_ = image.bits();  // detaches once here, not per pixel
            stride_ = image.bytesPerLine();
        }
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    uint32_t Get(int x, int y) const
    {
        if (bits_) return Row(y)[x] | 0xFF000000u;
        return image_.pixel(x, y) | 0xFF000000u;
    }
    void Set(int x, int y, uint32_t pixel)
    {
        if (bits_)
            Row(y)[x] = pixel | 0xFF000000u;
        else
            image_.setPixel(x, y, pixel | 0xFF000000u);
    }
    // The row of a 32-bit image, null for other formats.
    uint32_t* Row(int y) const
    {
        return bits_ ? reinterpret_cast<uint32_t*>(bits_ + static_cast<qsizetype>(y) * stride_) : nullptr;
    }

private:
    QImage& image_;
    int width_, height_;
    bool direct_;
    uchar* bits_ = nullptr;
    qsizetype stride_ = 0;
};

}  // namespace vxplan
