// The cell-grid engine's content model in one include: axes, cells, matrix, layout properties
// and the painting of one cell.
#pragma once

#include "cellgrid/vxAxisContent.h"
#include "cellgrid/vxBabCell.h"
#include "cellgrid/vxBabCellPaint.h"
#include "cellgrid/vxCellMatris.h"
#include "cellgrid/vxLayoutProp.h"
