// The page list of the gallery and what every page shares.
#include "vxGalleryPages.h"

namespace vxplan::gallery {

std::vector<TGalleryPage> GalleryPages()
{
    return {
        {"canvas", CreateCanvasPage, PrintCanvasPage},
        {"printed-page", CreatePrintedPage, nullptr},
        {"date-scaler", CreateScalerPage, PrintScalerPage},
        {"tree", CreateTreePage, nullptr},
        {"cell-grid", CreateCellGridPage, nullptr},
        {"gantt", CreateGanttPage, PrintGanttPage},
    };
}

}  // namespace vxplan::gallery
