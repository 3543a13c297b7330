// The pages of the gallery: each shows one component (or a family of them) and may print itself.
#pragma once

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace vxplan {
class TPrinter;
}

namespace vxplan::gallery {

struct TGalleryPage {
    std::string Name;     // tab caption and PNG file name
    std::function<QWidget*()> Create;
    // Draws the page's printed form on the printer's current page; empty when it prints nothing.
    std::function<void(TPrinter&)> Print;
};

// Every page, in the order shown.
std::vector<TGalleryPage> GalleryPages();

// The pages' own factories.
QWidget* CreateCanvasPage();
QWidget* CreatePrintedPage();
void PrintCanvasPage(TPrinter& printer);
QWidget* CreateScalerPage();
void PrintScalerPage(TPrinter& printer);
QWidget* CreateTreePage();
QWidget* CreateCellGridPage();
QWidget* CreateGanttPage();
void PrintGanttPage(TPrinter& printer);

}  // namespace vxplan::gallery
