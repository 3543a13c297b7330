// The controls of the platform layer in one include: windowed and graphic controls, the panel
// and the paint box, with alignment, keys and cursors.
#pragma once

#include "platform/vxControl.h"
#include "platform/vxCursors.h"
#include "platform/vxKeys.h"
#include "platform/vxPaintBox.h"
#include "platform/vxPanel.h"
#include "platform/vxWinControl.h"
