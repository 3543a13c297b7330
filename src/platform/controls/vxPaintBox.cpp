// TPaintBox: the host paints it through OnPaint.
#include <vxplan/platform/controls/vxPaintBox.h>

namespace vxplan {

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 105, 105); }

void TPaintBox::Paint()
{
    // The font the host expects to find on the canvas is the paint box's own.
    Canvas().SetFont(Font());
    Canvas().Brush().SetColor(GetColor());
    if (OnPaint) OnPaint(this);
}

}  // namespace vxplan
