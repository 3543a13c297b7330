// The device context itself: its painter, viewport origin, clip region and capabilities, and the
// platform functions that read or change that state. Drawing lives in vxDeviceDrawing.cpp.
#include <vxplan/platform/graphics/vxDeviceContext.h>

#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/graphics/vxDrawing_p.h>
#include <vxplan/platform/graphics/vxPixels_p.h>
#include <vxplan/platform/graphics/vxTextLayout_p.h>

#include <QPaintDevice>

#include <utility>

namespace vxplan {

namespace {

int RegionKind(const QRegion& region)
{
    if (region.isEmpty()) return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// Exclusive right/bottom rectangles become QRects; an inverted rectangle is normalized as the
// platform does for regions.
QRect ToQRect(int left, int top, int right, int bottom)
{
    // Far coordinates are cut as drawing cuts them, so that Qt's own arithmetic on the
    // rectangle (its right edge, its size) stays inside int.
    using drawing::CutFar;
    left = CutFar(left), top = CutFar(top), right = CutFar(right), bottom = CutFar(bottom);
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

TDeviceContext::TDeviceContext(QImage* image) : kind_(TKind::Image), image_(image), device_(image)
{
    if (!image) throw EInvalidArgument("A device context needs an image");
}

TDeviceContext::TDeviceContext(QPaintDevice* device, TKind kind) : kind_(kind), device_(device)
{
    if (!device) throw EInvalidArgument("A device context needs a paint device");
    if (kind == TKind::Image) {
        // An image passed as a plain paint device is still drawn on as pixels.
        if (device->devType() != QInternal::Image) throw EInvalidArgument("An image context needs a QImage");
        image_ = static_cast<QImage*>(device);
    } else {
        dpiX_ = device->logicalDpiX();
        dpiY_ = device->logicalDpiY();
    }
}

TDeviceContext::~TDeviceContext() { EndPainter(); }

QPainter& TDeviceContext::Painter()
{
    if (!painter_) {
        painter_ = std::make_unique<QPainter>();
        // An image without pixels (a control of no width) shows nothing, yet text and shapes
        // are still drawn on it: they go to a scratch pixel instead.
        QPaintDevice* target = device_;
        if (image_ && image_->isNull()) {
            scratch_ = QImage(1, 1, QImage::Format_RGB32);
            target = &scratch_;
        }
        if (!painter_->begin(target)) {
            painter_.reset();
            throw EInvalidOperation("Cannot paint on the device of this context");
        }
        stateDirty_ = true;
    }
    if (stateDirty_) ApplyState();
    return *painter_;
}

void TDeviceContext::EndPainter()
{
    if (!painter_) return;
    if (painter_->isActive()) painter_->end();
    painter_.reset();
    stateDirty_ = true;
}

void TDeviceContext::SetDevice(QPaintDevice* device)
{
    if (!device) throw EInvalidArgument("A device context needs a paint device");
    // Font metrics belong to the device's resolution.
    text_.reset();
    if (device == device_) {
        stateDirty_ = true;
        return;
    }
    // A painter belongs to one device: the next Painter() begins on the new one with the same state.
    EndPainter();
    device_ = device;
    image_ = device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
    if (image_) kind_ = TKind::Image;
}

void TDeviceContext::ApplyState()
{
    // The clip is in device units, so it is set before the viewport translation, which would
    // otherwise move it.
    painter_->resetTransform();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    if (hasClip_)
        painter_->setClipRegion(clip_);
    else
        painter_->setClipping(false);
    painter_->translate(viewportOrg_.X, viewportOrg_.Y);
    stateDirty_ = false;
}

void TDeviceContext::SetViewportOrg(TPoint origin)
{
    origin = {drawing::CutFar(origin.X), drawing::CutFar(origin.Y)};
    if (origin == viewportOrg_) return;
    viewportOrg_ = origin;
    stateDirty_ = true;
}

void TDeviceContext::SetClipRegion(const QRegion* region)
{
    hasClip_ = region != nullptr;
    clip_ = region ? *region : QRegion();
    stateDirty_ = true;
}

void TDeviceContext::SetResolution(int dpiX, int dpiY)
{
    if (dpiX <= 0 || dpiY <= 0) throw EInvalidArgument("A resolution must be positive");
    dpiX_ = dpiX;
    dpiY_ = dpiY;
}

void TDeviceContext::SetPageGeometry(TSize pageSize, TSize physicalSize, TPoint physicalOffset)
{
    if (pageSize.cx < 0 || pageSize.cy < 0 || physicalSize.cx < 0 || physicalSize.cy < 0)
        throw EInvalidArgument("A page size cannot be negative");
    pageSize_ = pageSize;
    physicalSize_ = physicalSize;
    physicalOffset_ = physicalOffset;
}

int TDeviceContext::DeviceCaps(int index) const
{
    // The printable area: what SetPageGeometry gave, else the whole device.
    const bool hasPage = pageSize_.cx > 0 && pageSize_.cy > 0;
    const int horzRes = hasPage ? pageSize_.cx : device_->width();
    const int vertRes = hasPage ? pageSize_.cy : device_->height();
    switch (index) {
    case TECHNOLOGY: return kind_ == TKind::Image ? DT_RASDISPLAY : DT_RASPRINTER;
    case LOGPIXELSX: return dpiX_;
    case LOGPIXELSY: return dpiY_;
    case HORZRES: return horzRes;
    case VERTRES: return vertRes;
    case HORZSIZE: return MulDiv(horzRes, 254, dpiX_ * 10);
    case VERTSIZE: return MulDiv(vertRes, 254, dpiY_ * 10);
    case BITSPIXEL: return 32;
    // Displays have no paper: the physical values are those of printers only.
    case PHYSICALWIDTH:
        if (kind_ == TKind::Image) return 0;
        return physicalSize_.cx > 0 ? physicalSize_.cx : horzRes;
    case PHYSICALHEIGHT:
        if (kind_ == TKind::Image) return 0;
        return physicalSize_.cy > 0 ? physicalSize_.cy : vertRes;
    case PHYSICALOFFSETX: return kind_ == TKind::Image ? 0 : physicalOffset_.X;
    case PHYSICALOFFSETY: return kind_ == TKind::Image ? 0 : physicalOffset_.Y;
    default: return 0;
    }
}

// --- Viewport ------------------------------------------------------------------------------

bool GetViewportOrgEx(HDC dc, TPoint* origin)
{
    if (!dc || !origin) return false;
    *origin = dc->ViewportOrg();
    return true;
}

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous)
{
    if (!dc) return false;
    if (previous) *previous = dc->ViewportOrg();
    dc->SetViewportOrg({x, y});
    return true;
}

bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* previous)
{
    if (!dc) return false;
    const TPoint org = dc->ViewportOrg();
    if (previous) *previous = org;
    dc->SetViewportOrg({AddClamped(org.X, dx), AddClamped(org.Y, dy)});
    return true;
}

// --- Regions -------------------------------------------------------------------------------

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return new TRegion{QRegion(ToQRect(left, top, right, bottom))};
}

HRGN CreateRectRgnIndirect(const TRect& rect) { return CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom); }

bool DeleteObject(HRGN region)
{
    if (!region) return false;
    delete region;
    return true;
}

int GetClipRgn(HDC dc, HRGN region)
{
    if (!dc || !region) return -1;
    const QRegion* clip = dc->ClipRegion();
    if (!clip) return 0;
    region->Region = *clip;
    return 1;
}

int SelectClipRgn(HDC dc, HRGN region)
{
    if (!dc) return RGN_ERROR;
    if (!region) {
        dc->SetClipRegion(nullptr);
        return SIMPLEREGION;
    }
    dc->SetClipRegion(&region->Region);
    return RegionKind(region->Region);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom)
{
    if (!dc) return RGN_ERROR;
    const TPoint org = dc->ViewportOrg();
    const QRegion rect(ToQRect(AddClamped(left, org.X), AddClamped(top, org.Y), AddClamped(right, org.X),
                               AddClamped(bottom, org.Y)));
    // Without a clip the whole surface is visible, so the rectangle itself becomes the clip.
    const QRegion* clip = dc->ClipRegion();
    const QRegion result = clip ? clip->intersected(rect) : rect;
    dc->SetClipRegion(&result);
    return RegionKind(result);
}

int GetClipBox(HDC dc, TRect* box)
{
    if (!dc || !box) return RGN_ERROR;
    const QPaintDevice* device = dc->Device();
    QRegion visible(0, 0, device->width(), device->height());
    if (const QRegion* clip = dc->ClipRegion()) visible = visible.intersected(*clip);
    const QRect r = visible.boundingRect();
    const TPoint org = dc->ViewportOrg();
    *box = visible.isEmpty() ? TRect{} : Bounds(ClampToInt(int64_t{r.left()} - org.X), ClampToInt(int64_t{r.top()} - org.Y), r.width(), r.height());
    return RegionKind(visible);
}

int GetRgnBox(HRGN region, TRect* box)
{
    if (!region || !box) return RGN_ERROR;
    const QRect r = region->Region.boundingRect();
    *box = region->Region.isEmpty() ? TRect{} : TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return RegionKind(region->Region);
}

int GetDeviceCaps(HDC dc, int index) { return dc ? dc->DeviceCaps(index) : 0; }

// --- Text and background state -------------------------------------------------------------

int SetBkMode(HDC dc, int mode)
{
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int previous = dc->BkMode;
    dc->BkMode = mode;
    return previous;
}

int SetPolyFillMode(HDC dc, int mode)
{
    if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
    const int previous = dc->PolyFillMode;
    dc->PolyFillMode = mode;
    return previous;
}

int GetPolyFillMode(HDC dc) { return dc ? dc->PolyFillMode : 0; }

TColor SetBkColor(HDC dc, TColor color)
{
    if (!dc) return clNone;
    const TColor previous = dc->BkColor;
    dc->BkColor = color;
    return previous;
}

TColor SetTextColor(HDC dc, TColor color)
{
    if (!dc) return clNone;
    const TColor previous = dc->TextColor;
    dc->TextColor = color;
    return previous;
}

// --- Single pixels -------------------------------------------------------------------------

namespace {

constexpr TColor kInvalidColor = 0xFFFFFFFFu;

// The device point of a logical one when it is on the surface and inside the clip.
bool VisiblePixel(HDC dc, int x, int y, QPoint& device)
{
    const TPoint org = dc->ViewportOrg();
    device = QPoint(x + org.X, y + org.Y);
    if (const QRegion* clip = dc->ClipRegion(); clip && !clip->contains(device)) return false;
    if (QImage* image = dc->Image()) return image->rect().contains(device);
    return true;
}

}  // namespace

TColor GetPixel(HDC dc, int x, int y)
{
    QPoint p;
    if (!dc || !dc->IsRaster() || !VisiblePixel(dc, x, y, p)) return kInvalidColor;
    return PixelToColor(dc->Image()->pixel(p));
}

TColor SetPixel(HDC dc, int x, int y, TColor color)
{
    QPoint p;
    if (!dc || !VisiblePixel(dc, x, y, p)) return kInvalidColor;
    const uint32_t pixel = ColorToPixel(color);
    if (dc->IsRaster()) {
        TPixelAccess(*dc->Image()).Set(p.x(), p.y(), pixel);
    } else {
        QPainter& painter = dc->Painter();
        painter.fillRect(QRect(x, y, 1, 1), QColor::fromRgb(pixel));
    }
    return PixelToColor(pixel);
}

}  // namespace vxplan
