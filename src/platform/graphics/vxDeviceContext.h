// Device contexts: a drawing surface (an off-screen image, a window's image, a PDF page or a
// printer page) with the state the platform keeps per context: the selected pen, brush and font,
// text and background colours, the viewport origin and the clip region.
//
// Coordinates passed to drawing calls are logical; device = logical + viewport origin. The clip
// region is kept in device units and is not moved by a later change of the viewport origin.
//
// On raster surfaces (images) one-pixel lines and the pen modes are rasterized by our own code
// so the pixels are the platform's; on vector surfaces (PDF, printers) everything goes through
// QPainter, where pen modes other than copy are not available and draw as copy.
#pragma once

#include <vxplan/platform/core/vxTypes.h>
#include <vxplan/platform/graphics/vxColor.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include <cstdint>
#include <memory>

class QPaintDevice;

namespace vxplan {

// Pen styles, as the platform numbers them.
enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Raster operations of the pen (the platform's R2_ codes in this order of meaning).
enum class TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
    pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// Background modes for text and hatched brushes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// Polygon fill modes: crossings alternate, or the edges' directions are counted.
enum : int { ALTERNATE = 1, WINDING = 2 };

// Device capability indexes.
enum : int {
    TECHNOLOGY = 2, HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12,
    LOGPIXELSX = 88, LOGPIXELSY = 90, PHYSICALWIDTH = 110, PHYSICALHEIGHT = 111,
    PHYSICALOFFSETX = 112, PHYSICALOFFSETY = 113
};
enum : int { DT_PLOTTER = 0, DT_RASDISPLAY = 1, DT_RASPRINTER = 2 };

// Raster operation codes for PatBlt, BitBlt and StretchDIBits.
enum : uint32_t {
    SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
    NOTSRCCOPY = 0x00330008, PATCOPY = 0x00F00021, PATINVERT = 0x005A0049, DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062
};

// DrawTextW format flags.
enum : uint32_t {
    DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_END_ELLIPSIS = 0x8000, DT_PATH_ELLIPSIS = 0x4000,
    DT_WORD_ELLIPSIS = 0x40000, DT_MODIFYSTRING = 0x10000
};

// Region results.
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

// What a pen, brush and font amount to once selected into a context.
struct TPenData {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
};

struct TBrushData {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    // A pattern bitmap tiled from the device origin; when set it wins over Style.
    std::shared_ptr<const QImage> Pattern;
};

struct TFontData {
    QFont Font;              // pixel size set; never a point size (see vxCanvas.h)
    TColor Color = clWindowText;
    int Orientation = 0;     // tenths of a degree, counter-clockwise
};

// A region: a set of rectangles in device units.
struct TRegion {
    QRegion Region;
};
using HRGN = TRegion*;

struct TContextText;

class TDeviceContext {
public:
    enum class TKind { Image, Pdf, Printer };

    // A context on an image (not owned); the image must outlive the context.
    explicit TDeviceContext(QImage* image);
    // A context on a vector device (PDF writer or printer; not owned) at its resolution.
    TDeviceContext(QPaintDevice* device, TKind kind);
    ~TDeviceContext();
    TDeviceContext(const TDeviceContext&) = delete;
    TDeviceContext& operator=(const TDeviceContext&) = delete;

    TKind Kind() const { return kind_; }
    bool IsRaster() const { return kind_ == TKind::Image; }
    QImage* Image() const { return image_; }
    QPaintDevice* Device() const { return device_; }

    // The painter onto the device, begun on first use, with antialiasing off, the viewport
    // origin as its translation and the clip region applied. Painter() after a state change
    // (viewport, clip) gives it updated.
    QPainter& Painter();
    // Ends the painter (a PDF page is flushed; an image can be resized afterwards).
    void EndPainter();
    // Called by the printer between pages: the painter stays, state is kept.
    void SetDevice(QPaintDevice* device);

    // Selected objects and text state.
    TPenData Pen;
    TBrushData Brush;
    TFontData Font;
    TColor TextColor = clBlack;
    TColor BkColor = clWhite;
    int BkMode = OPAQUE;
    int PolyFillMode = ALTERNATE;
    // The current position for MoveToEx/LineTo, logical.
    TPoint Position;

    TPoint ViewportOrg() const { return viewportOrg_; }
    // Kept within +-2^29, far beyond every device, so origin and coordinate add up in int.
    void SetViewportOrg(TPoint origin);
    // Null when no clip region is selected.
    const QRegion* ClipRegion() const { return hasClip_ ? &clip_ : nullptr; }
    void SetClipRegion(const QRegion* region);

    // The selected font as text is drawn with it on this device, and its metrics (vxTextLayout.h).
    // Resolving them costs more than drawing most texts, so they are kept until Font.Font or
    // the device changes.
    const TContextText& Text();

    int DeviceCaps(int index) const;
    // Overrides for the resolution and page geometry the device reports (printers set them).
    void SetResolution(int dpiX, int dpiY);
    void SetPageGeometry(TSize pageSize, TSize physicalSize, TPoint physicalOffset);

private:
    void ApplyState();

    TKind kind_;
    QImage* image_ = nullptr;
    QPaintDevice* device_ = nullptr;
    std::unique_ptr<QPainter> painter_;
    QImage scratch_;  // what the painter works on while the image has no pixels
    TPoint viewportOrg_;
    QRegion clip_;
    bool hasClip_ = false;
    int dpiX_ = 96, dpiY_ = 96;
    TSize pageSize_, physicalSize_;
    TPoint physicalOffset_;
    bool stateDirty_ = true;
    std::unique_ptr<TContextText> text_;
};
using HDC = TDeviceContext*;

// --- The platform's context functions ------------------------------------------------------

bool GetViewportOrgEx(HDC dc, TPoint* origin);
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous);
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* previous);

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const TRect& rect);
bool DeleteObject(HRGN region);
// 1 and the clip copied into region when one is selected, 0 when none, -1 on error.
int GetClipRgn(HDC dc, HRGN region);
// Selects a copy of region as the clip (null removes the clip); returns the region's kind.
int SelectClipRgn(HDC dc, HRGN region);
// Intersects the clip with a logical rectangle.
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int GetRgnBox(HRGN region, TRect* box);
// The logical bounds of what drawing on the context can reach: its surface within the clip.
int GetClipBox(HDC dc, TRect* box);

int GetDeviceCaps(HDC dc, int index);

int SetBkMode(HDC dc, int mode);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
TColor SetBkColor(HDC dc, TColor color);
TColor SetTextColor(HDC dc, TColor color);

bool MoveToEx(HDC dc, int x, int y, TPoint* previous);
// Draws from the current position to (x, y) with the selected pen, leaving out the end pixel.
bool LineTo(HDC dc, int x, int y);
// Fills with the selected brush (or inverts) in logical coordinates.
bool PatBlt(HDC dc, int x, int y, int width, int height, uint32_t rop);
bool BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, uint32_t rop);
bool StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, uint32_t rop);
// Draws (part of) a device-independent image, stretched, onto any context (printers included).
int StretchDIBits(HDC dst, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                  int srcHeight, const QImage& bits, uint32_t rop);
TColor GetPixel(HDC dc, int x, int y);
TColor SetPixel(HDC dc, int x, int y, TColor color);

// Text with the selected font and text state. Strings are UTF-8.
bool TextOutW(HDC dc, int x, int y, const std::string& text);
bool GetTextExtentPoint32W(HDC dc, const std::string& text, TSize* size);
// Returns the height of the drawn text; with DT_CALCRECT only measures and updates rect.
int DrawTextW(HDC dc, const std::string& text, TRect& rect, uint32_t format);

}  // namespace vxplan
