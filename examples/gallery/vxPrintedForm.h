// Printed forms of the gallery's pages, drawn on a page of any size and resolution, so the
// preview on screen and the PDF come from the same drawing.
#pragma once

#include <vxplan/platform/graphics/vxCanvas.h>

#include <string>

namespace vxplan {
class TPrinter;
}

namespace vxplan::gallery {

// Writes a page's title at the top-left margin (half an inch) and returns the margin in printer
// pixels.
int PrintPageTitle(TPrinter& printer, const std::string& title);

// The canvas showcase on a page of page pixels at dpi dots per inch.
void DrawPrintedCanvasPage(TCanvas& canvas, TSize page, int dpi);

}  // namespace vxplan::gallery
