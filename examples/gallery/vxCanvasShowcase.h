// What the canvas can do, drawn on any canvas: lines, pen modes, brushes, text, focus rectangles.
#pragma once

#include <vxplan/platform/graphics/vxCanvas.h>

namespace vxplan::gallery {

// The showcase's size in screen pixels (at scale 1).
constexpr int kShowcaseWidth = 760;
constexpr int kShowcaseHeight = 560;

// Draws the showcase with its top-left corner at the canvas origin; scale multiplies every
// length (1 on screen, printer dots per screen pixel when printing).
void DrawCanvasShowcase(TCanvas& canvas, double scale);

}  // namespace vxplan::gallery
