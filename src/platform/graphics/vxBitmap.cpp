// TBitmap: its image, size, pixel format and canvas.
#include <vxplan/platform/graphics/vxBitmap.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxPixels_p.h>

#include <QPainter>
#include <QString>

namespace vxplan {

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap()
{
    if (canvas_) canvas_->SetHandle(nullptr);
}

void TBitmap::SetSize(int width, int height)
{
    if (width < 0 || height < 0) throw EInvalidArgument("A bitmap size cannot be negative");
    if (width == Width() && height == Height() && !image_.isNull()) return;
    if (dc_) dc_->EndPainter();
    QImage resized(width, height, QImage::Format_RGB32);
    resized.fill(Qt::white);
    if (!image_.isNull() && width > 0 && height > 0) {
        QPainter painter(&resized);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, image_);
    }
    image_ = resized;
    Rebind();
}

TCanvas& TBitmap::Canvas()
{
    if (!canvas_) {
        canvas_ = std::make_unique<TCanvas>();
        Rebind();
    }
    return *canvas_;
}

QImage& TBitmap::Image()
{
    if (dc_) dc_->EndPainter();
    return image_;
}

void TBitmap::Rebind()
{
    if (!canvas_) return;
    // A context belongs to one image: after a resize the canvas gets a new one, state kept.
    std::unique_ptr<TDeviceContext> old = std::move(dc_);
    if (old) old->EndPainter();
    dc_ = std::make_unique<TDeviceContext>(&image_);
    if (old) {
        dc_->SetViewportOrg(old->ViewportOrg());
        dc_->SetClipRegion(old->ClipRegion());
        dc_->Position = old->Position;
    }
    canvas_->SetHandle(dc_.get());
}

void TBitmap::LoadFromFile(const std::string& fileName)
{
    QImage loaded;
    if (!loaded.load(QString::fromStdString(fileName)))
        throw EConvertError("Cannot read an image from " + fileName);
    if (dc_) dc_->EndPainter();
    image_ = loaded.convertToFormat(QImage::Format_RGB32);
    Rebind();
}

void TBitmap::SaveToFile(const std::string& fileName) const
{
    if (image_.isNull()) throw EInvalidOperation("An empty bitmap cannot be saved");
    if (dc_) dc_->EndPainter();
    if (!image_.save(QString::fromStdString(fileName), "PNG"))
        throw EInvalidOperation("Cannot write the image to " + fileName);
}

void TBitmap::Assign(const TBitmap* other)
{
    if (other == this) return;
    if (dc_) dc_->EndPainter();
    image_ = other ? other->image_.copy() : QImage();
    transparent_ = other ? other->transparent_ : false;
    transparentColor_ = other ? other->transparentColor_ : clDefault;
    Rebind();
}

TColor TBitmap::GetTransparentColor() const
{
    if (transparentColor_ != clDefault) return transparentColor_;
    if (Empty()) return clWhite;
    return PixelToColor(image_.pixel(0, Height() - 1));
}

}  // namespace vxplan
