// Printed forms of the gallery's pages, drawn on a page of any size and resolution, so the
// preview on screen and the PDF come from the same drawing.
#pragma once

#include "platform/vxCanvas.h"

namespace vxplan::gallery {

// The canvas showcase on a page of page pixels at dpi dots per inch.
void DrawPrintedCanvasPage(TCanvas& canvas, TSize page, int dpi);

}  // namespace vxplan::gallery
