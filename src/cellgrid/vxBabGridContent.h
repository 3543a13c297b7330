// The cell-grid engine's content model in one include: axes, cells, matrix, layout properties
// and the painting of one cell.
#pragma once

#include <vxplan/cellgrid/vxAxisContent.h>
#include <vxplan/cellgrid/vxBabCell.h>
#include <vxplan/cellgrid/vxBabCellPaint.h>
#include <vxplan/cellgrid/vxCellMatris.h>
#include <vxplan/cellgrid/vxLayoutProp.h>
