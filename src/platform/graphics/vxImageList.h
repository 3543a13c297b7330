// TCustomImageList / TImageList: a row of equally sized images that controls draw by index.
//
// Controls that show images of a list register a change link to hear when images are added,
// replaced or removed, and ask for a free notification to forget a list that goes away.
#pragma once

#include <vxplan/platform/core/vxComponent.h>
#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/graphics/vxBitmap.h>

#include <memory>
#include <vector>

namespace vxplan {

class TCustomImageList;

// A client's subscription to an image list's changes.
class TChangeLink : public TObject {
public:
    ~TChangeLink() override;
    TCustomImageList* Sender() const { return sender_; }
    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* sender_ = nullptr;
};

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner = nullptr);
    ~TCustomImageList() override;

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    // Changing the size empties the list, as the platform does. Throws EInvalidArgument below 1.
    void SetWidth(int width);
    void SetHeight(int height);
    int GetCount() const { return static_cast<int>(images_.size()); }

    // Adds the image cut into Width-wide pieces (a strip gives several images); returns the index
    // of the first. Pixels of mask that are black are drawn, the others left out; without a mask
    // every pixel is drawn. Throws EInvalidArgument for an empty image.
    int Add(const TBitmap& image, const TBitmap* mask = nullptr);
    // The same with the pixels of maskColor left out (clDefault: the bottom-left pixel's colour).
    int AddMasked(const TBitmap& image, TColor maskColor);
    // Throws EListError for an index outside 0..Count-1.
    void Replace(int index, const TBitmap& image, const TBitmap* mask = nullptr);
    void Delete(int index);
    void Clear();

    // Draws image index with its top-left corner at (x, y); a disabled image is drawn greyed.
    // An index outside the list draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // The image as a 32-bit picture with transparent pixels at alpha 0.
    QImage GetImage(int index) const;

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);
    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    // An image as drawn: opaque pixels, and the key colour that stands for the left-out ones.
    struct TEntry {
        QImage Pixels;
        uint32_t Key = 0;
        bool HasKey = false;
    };
    std::vector<TEntry> Cut(const QImage& source, const QImage* mask, const uint32_t* key) const;
    void CheckIndex(int index) const;

    int width_ = 16;
    int height_ = 16;
    std::vector<TEntry> images_;
    std::vector<TChangeLink*> links_;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};

}  // namespace vxplan
