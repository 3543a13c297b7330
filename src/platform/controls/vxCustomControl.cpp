// TCustomControl: Paint through a canvas on the control's image, and the display canvas.
#include <vxplan/platform/core/vxExceptions.h>

#include <vxplan/platform/controls/vxWinControl.h>

namespace vxplan {

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

TCustomControl::~TCustomControl()
{
    displayCanvas_.SetHandle(nullptr);
    canvas_.SetHandle(nullptr);
}

void TCustomControl::PaintWindow(HDC dc)
{
    const TCanvasBinding binding(canvas_, dc);
    Paint();
}

TCanvas& TCustomControl::BeginDisplayDraw()
{
    if (displayDc_) throw EInvalidOperation("Display drawing has begun already");
    QImage& image = DisplayImage();
    displayDc_ = std::make_unique<TDeviceContext>(&image);
    displayCanvas_.SetHandle(displayDc_.get());
    return displayCanvas_;
}

void TCustomControl::EndDisplayDraw()
{
    if (!displayDc_) return;
    displayCanvas_.SetHandle(nullptr);
    displayDc_.reset();
    // Shown at once: the outline follows the mouse, it cannot wait for the event loop.
    if (isVisible())
        repaint();
    else
        update();
}

}  // namespace vxplan
