// TCustomImageList: adding, replacing and drawing its images.
#include <vxplan/platform/graphics/vxImageList.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxDrawing_p.h>

#include <algorithm>
#include <string>
#include <unordered_set>

namespace vxplan {

TChangeLink::~TChangeLink()
{
    if (sender_) sender_->UnRegisterChanges(this);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList()
{
    for (TChangeLink* link : links_) link->sender_ = nullptr;
}

void TCustomImageList::SetWidth(int width)
{
    if (width < 1) throw EInvalidArgument("Image width must be at least 1, not " + std::to_string(width));
    if (width == width_) return;
    width_ = width;
    images_.clear();
    Change();
}

void TCustomImageList::SetHeight(int height)
{
    if (height < 1) throw EInvalidArgument("Image height must be at least 1, not " + std::to_string(height));
    if (height == height_) return;
    height_ = height;
    images_.clear();
    Change();
}

void TCustomImageList::CheckIndex(int index) const
{
    if (index < 0 || index >= GetCount())
        throw EListError("Image index out of bounds (" + std::to_string(index) + ")");
}

std::vector<TCustomImageList::TEntry> TCustomImageList::Cut(const QImage& source, const QImage* mask,
                                                            const uint32_t* key) const
{
    if (source.isNull() || source.width() == 0 || source.height() == 0)
        throw EInvalidArgument("Cannot add an empty image");
    const QImage pixels = source.convertToFormat(QImage::Format_RGB32);
    const QImage maskPixels = mask ? mask->convertToFormat(QImage::Format_RGB32) : QImage();
    const int columns = std::max(1, pixels.width() / width_);
    std::vector<TEntry> out;
    for (int c = 0; c < columns; ++c) {
        TEntry e;
        e.Pixels = QImage(width_, height_, QImage::Format_RGB32);
        e.Pixels.fill(Qt::black);
        std::vector<bool> hidden(static_cast<size_t>(width_ * height_), false);
        std::unordered_set<uint32_t> used;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const int sx = c * width_ + x;
                bool skip = sx >= pixels.width() || y >= pixels.height();
                uint32_t v = 0;
                if (!skip) {
                    v = pixels.pixel(sx, y) & 0xFFFFFFu;
                    if (key && v == (*key & 0xFFFFFFu)) skip = true;
                    if (!maskPixels.isNull() && sx < maskPixels.width() && y < maskPixels.height() &&
                        (maskPixels.pixel(sx, y) & 0xFFFFFFu) != 0)
                        skip = true;
                }
                if (skip) {
                    hidden[static_cast<size_t>(y * width_ + x)] = true;
                } else {
                    e.Pixels.setPixel(x, y, 0xFF000000u | v);
                    used.insert(v);
                }
            }
        if (std::find(hidden.begin(), hidden.end(), true) != hidden.end()) {
            // Left-out pixels carry a colour the image does not use, so drawing can skip them.
            uint32_t k = 0xFF00FF;
            while (used.count(k)) k = (k + 0x010203u) & 0xFFFFFFu;
            e.Key = k;
            e.HasKey = true;
            for (int y = 0; y < height_; ++y)
                for (int x = 0; x < width_; ++x)
                    if (hidden[static_cast<size_t>(y * width_ + x)]) e.Pixels.setPixel(x, y, 0xFF000000u | k);
        }
        out.push_back(std::move(e));
    }
    return out;
}

int TCustomImageList::Add(const TBitmap& image, const TBitmap* mask)
{
    std::vector<TEntry> cells = Cut(image.Image(), mask ? &mask->Image() : nullptr, nullptr);
    const int first = GetCount();
    for (TEntry& e : cells) images_.push_back(std::move(e));
    Change();
    return first;
}

int TCustomImageList::AddMasked(const TBitmap& image, TColor maskColor)
{
    const QImage& src = image.Image();
    uint32_t key = 0;
    if (maskColor == clDefault) {
        if (!src.isNull() && src.height() > 0) key = src.pixel(0, src.height() - 1) & 0xFFFFFFu;
    } else {
        const TColor c = ColorToRGB(maskColor);
        key = static_cast<uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }
    std::vector<TEntry> cells = Cut(src, nullptr, &key);
    const int first = GetCount();
    for (TEntry& e : cells) images_.push_back(std::move(e));
    Change();
    return first;
}

void TCustomImageList::Replace(int index, const TBitmap& image, const TBitmap* mask)
{
    CheckIndex(index);
    std::vector<TEntry> cells = Cut(image.Image(), mask ? &mask->Image() : nullptr, nullptr);
    images_[static_cast<size_t>(index)] = std::move(cells.front());
    Change();
}

void TCustomImageList::Delete(int index)
{
    CheckIndex(index);
    images_.erase(images_.begin() + index);
    Change();
}

void TCustomImageList::Clear()
{
    if (images_.empty()) return;
    images_.clear();
    Change();
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= GetCount() || !canvas.HandleAllocated()) return;
    const TEntry& e = images_[static_cast<size_t>(index)];
    QImage pixels = e.Pixels;
    if (!enabled) {
        // Greyed: each pixel halfway between its grey value and white.
        for (int py = 0; py < pixels.height(); ++py)
            for (int px = 0; px < pixels.width(); ++px) {
                const QRgb v = pixels.pixel(px, py);
                if (e.HasKey && (v & 0xFFFFFFu) == e.Key) continue;
                const int g = (qGray(v) + 255) / 2;
                pixels.setPixel(px, py, qRgb(g, g, g));
            }
    }
    canvas.RequireState();
    const uint32_t key = 0xFF000000u | e.Key;
    drawing::DrawImage(*canvas.GetHandle(), Bounds(x, y, width_, height_), pixels, Bounds(0, 0, width_, height_),
                       SRCCOPY, e.HasKey ? &key : nullptr);
}

QImage TCustomImageList::GetImage(int index) const
{
    CheckIndex(index);
    const TEntry& e = images_[static_cast<size_t>(index)];
    QImage out = e.Pixels.convertToFormat(QImage::Format_ARGB32);
    if (e.HasKey)
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                if ((out.pixel(x, y) & 0xFFFFFFu) == e.Key) out.setPixel(x, y, 0);
    return out;
}

void TCustomImageList::RegisterChanges(TChangeLink* link)
{
    if (!link || link->sender_ == this) return;
    if (link->sender_) link->sender_->UnRegisterChanges(link);
    link->sender_ = this;
    links_.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link)
{
    if (!link || link->sender_ != this) return;
    std::erase(links_, link);
    link->sender_ = nullptr;
}

void TCustomImageList::Change()
{
    // A copy: a client may unregister while it hears of the change.
    const std::vector<TChangeLink*> links = links_;
    for (TChangeLink* link : links)
        if (link->OnChange) link->OnChange(this);
    if (OnChange) OnChange(this);
}

}  // namespace vxplan
