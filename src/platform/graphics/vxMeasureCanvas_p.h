// TMeasureCanvas: a canvas in a given font on a one-pixel bitmap, for measuring text outside
// any paint as a 96-dpi screen would.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
#pragma once

#include <vxplan/platform/graphics/vxCanvas.h>
#include <vxplan/platform/graphics/vxDeviceContext.h>

#include <QImage>

namespace vxplan {

class TMeasureCanvas {
public:
    explicit TMeasureCanvas(const TFont& font)
    {
        canvas_.SetFont(font);
        canvas_.RequireState();  // the font is selected into the context for its text functions
    }
    TMeasureCanvas(const TMeasureCanvas&) = delete;
    TMeasureCanvas& operator=(const TMeasureCanvas&) = delete;

    TCanvas& Canvas() { return canvas_; }
    HDC Handle() { return &dc_; }

private:
    QImage image_{1, 1, QImage::Format_RGB32};
    TDeviceContext dc_{&image_};
    TCanvas canvas_;
    TCanvasBinding binding_{canvas_, &dc_};
};

}  // namespace vxplan
