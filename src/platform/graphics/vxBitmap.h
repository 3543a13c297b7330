// An off-screen image with a canvas: 32-bit pixels in a QImage, drawn on through a device context.
#pragma once

#include <vxplan/platform/graphics/vxCanvas.h>

#include <QImage>

#include <memory>
#include <string>

namespace vxplan {

enum class TPixelFormat { pf32bit };

class TBitmap : public TObject {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    // Pixels are kept where old and new sizes overlap; new area is white.
    void SetSize(int width, int height);
    bool Empty() const { return image_.isNull() || Width() == 0 || Height() == 0; }

    // The canvas onto the pixels; its context follows a resize.
    TCanvas& Canvas();
    const QImage& Image() const { return image_; }
    // The pixels for direct changes; painting through Canvas() ends first.
    QImage& Image();

    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    // Copies size, pixels and transparency of another bitmap (null empties this one).
    void Assign(const TBitmap* other);

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    // clDefault means the colour of the bottom-left pixel.
    TColor GetTransparentColor() const;
    void SetTransparentColor(TColor color) { transparentColor_ = color; }

    TPixelFormat PixelFormat() const { return TPixelFormat::pf32bit; }
    void SetPixelFormat(TPixelFormat) {}

private:
    void Rebind();

    QImage image_;
    std::unique_ptr<TDeviceContext> dc_;
    std::unique_ptr<TCanvas> canvas_;
    bool transparent_ = false;
    TColor transparentColor_ = clDefault;
};

}  // namespace vxplan
