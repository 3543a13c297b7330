// The controls of the platform layer in one include: windowed and graphic controls, the panel
// and the paint box, with alignment, keys and cursors.
#pragma once

#include <vxplan/platform/controls/vxControl.h>
#include <vxplan/platform/controls/vxCursors.h>
#include <vxplan/platform/controls/vxKeys.h>
#include <vxplan/platform/controls/vxPaintBox.h>
#include <vxplan/platform/controls/vxPanel.h>
#include <vxplan/platform/controls/vxWinControl.h>
