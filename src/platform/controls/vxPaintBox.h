// TPaintBox: a rectangle on its parent that the host paints in OnPaint through Canvas.
#pragma once

#include <vxplan/platform/controls/vxControl.h>

namespace vxplan {

class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* AOwner = nullptr);

    // Valid during OnPaint (see TGraphicControl::Canvas).
    using TGraphicControl::Canvas;

    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

}  // namespace vxplan
