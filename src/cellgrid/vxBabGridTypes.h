// Shared types of the cell-grid engine: cell kinds, draw states and the callback shapes that the
// root grid cell raises towards the control that shows it.
#pragma once

#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/core/vxSet.h>
#include <vxplan/platform/core/vxTypes.h>

namespace vxplan {

class TAxisContentItem;
class TAxisContentList;
class TBabCell;
class TBabCellData;
class TBabGridCell;
class TBabGridCellForViewer;
class TBabSimpleCell;
class TCellMatris;

enum class TBabCellType { babCellTypeSimple, babCellTypeGrid };
enum class TBabDrawState { babFixed, babSelected, babFocused };
using TBabDrawStateSet = TSet<TBabDrawState, 3>;
// How the focus moves: by one cell, into a sub-grid, by a page, or to the first or last row or
// cell of the grid.
enum class TBabDirection {
    babdirNone, babdirLeft, babdirRight, babdirUp, babdirDown, babdirInwards, babdirPageUp, babdirPageDown,
    babdirHomeRow, babdirEndRow, babdirHomeCell, babdirEndCell
};

using TOnInternalSelectionChanged = TMethod<void(TBabGridCellForViewer* theRoot, TBabCell* theBabCell, bool theValue)>;
using TOnCellRectTampering = TMethod<void(TBabGridCell* theCaller, TBabCell* theBabCell, TRect& theRect)>;
using TOnScaleRect = TMethod<void(TRect& theRect)>;
using TOnDeInitCell = TMethod<void(TBabCell* theBabCell)>;
using TOnCheckCellGrouping = TMethod<bool(TBabCell* thePrevious, TBabCell* theBabCell)>;
using TOnCreateCell =
    TMethod<TBabCellType(TBabGridCell* theCaller, TAxisContentItem* theColumnItem, TAxisContentItem* theRowItem)>;
using TOnMeasureHeight = TMethod<void(TBabGridCellForViewer* theRoot, TBabCell* theBabCell, int& theHeight)>;
using TOnDrawBabCell = TMethod<void(const TRect& theDrawRect, TBabCell* theBabCell, TBabDrawStateSet theState)>;

// Virtual loading (theRowNotColumn is true for the row axis).
using TOnVirtualLoad = TMethod<void(TBabGridCell* theCaller, TAxisContentItem* theAxisItem, bool theRowNotColumn)>;
using TOnVirtualUnLoad = TMethod<void(TBabGridCell* theCaller, TAxisContentItem* theAxisItem, bool theRowNotColumn,
                                      bool UnloadPerform, bool& CanUnload)>;
using TOnKeepAfterUnloadCheck =
    TMethod<void(TBabGridCell* theCaller, TAxisContentItem* theAxisItem, bool theRowNotColumn, bool& KeepAfterUnload)>;
using TOnUnloadIntervall = TMethod<void(TBabGridCell* theCaller, TAxisContentItem* theAxisItem, bool theRowNotColumn,
                                        int& Start, int& Stop)>;
using TOnDeleteOfUnloaded = TMethod<void(TBabGridCell* theCaller, bool theRowNotColumn, int& Start, int& Stop)>;

// Makes the content object of a new cell (a class reference: null when not set).
using TBabCellDataClass = TBabCellData* (*)(TBabCell* theCell);

template <class T>
TBabCellData* CreateBabCellDataOf(TBabCell* theCell)
{
    return new T(theCell);
}

}  // namespace vxplan
