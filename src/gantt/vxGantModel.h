// The Gantt chart's data: time items (bars) held in layers of rows, the rows that stand for the
// nodes of the row source, the row list, and the links (dependencies) between time items.
//
// Every layer of every row is a TvxDataList_GantRow bound to the chart's one time-item
// controller, so all item notifications reach the chart. A row's band is read from its row
// source (the chart's tree) and cached in Rect; an item's rectangle combines the band with the
// date scaler's mapping of its start and stop.
//
// The implementation is split by concern: vxGantModel.cpp (entities, links, data lists),
// vxGantRows.cpp (rows, row list, sub-columns), vxGantGeometry.cpp (extents, rectangles, bands,
// hit tests).
#pragma once

#include <vxplan/dataentity/vxDataEntityPack.h>
#include <vxplan/gantt/vxGantTypes.h>
#include <vxplan/gantt/vxTimeItemTexts.h>
#include <vxplan/platform/graphics/vxColor.h>
#include <vxplan/platform/time/vxDateUtils.h>

#include <array>
#include <exception>
#include <unordered_map>
#include <unordered_set>
#include <cstdint>
#include <memory>
#include <vector>

namespace vxplan {

class TvxGant_ComBasic;
class TGantRow;
class TGantRowList;
class TvxDataEntity_Link;
class TvxDataEntity_Tree;
class TTimeDistinctGenericThread;
class TGantLaneWalk;
// A node of the data grid's tree; rows built from it arrive with the grid.
class TvxDataEntity_GridTreeNode;


// ---- Time item ----

class TvxDataEntity_Chronbar : public TvxDataEntity {
public:
    static constexpr const char* kOutsideCalendar = "Time outside the calendar";
    static constexpr const char* kStopBeforeStart = "Stop before start";

    // The texts exist from construction on, so an item that is loaded (not inserted) has them too.
    TvxDataEntity_Chronbar();
    void AfterCreate(TvxDataList* theDataList) override;

    TDateTime GetStartDateTime() const { return StartDateTime; }
    // Plain stores (no notification). A time that is not a finite date of years 1..9999 throws
    // EInvalidArgument ("Time outside the calendar") and changes nothing. A stop before the start
    // is stored (a move sets one end after the other); such an item is drawn 5 pixels wide.
    void SetStartDateTime(TDateTime value);
    TDateTime GetStopDateTime() const { return StopDateTime; }
    void SetStopDateTime(TDateTime value);
    // Both ends at once, as a host sets an item: a stop before the start throws EInvalidArgument
    // ("Stop before start"), as does a time outside the calendar; nothing changes then.
    void SetStartStop(TDateTime start, TDateTime stop);

    TChronbarStyle GetStyle() const { return Style; }
    void SetStyle(TChronbarStyle value) { Style = value; }
    TColor GetColor() const { return Color; }
    void SetColor(TColor value) { Color = value; }
    int32_t GetTopInset() const { return TopInset; }
    void SetTopInset(int32_t value) { TopInset = value; }
    int32_t GetBottomInset() const { return BottomInset; }
    void SetBottomInset(int32_t value) { BottomInset = value; }
    int32_t GetFixedPixelWidth() const { return FixedPixelWidth; }
    void SetFixedPixelWidth(int32_t value) { FixedPixelWidth = value; }
    bool IsResizable() const { return FixedPixelWidth < 1; }
    int32_t GetImageIndex() const { return ImageIndex; }
    void SetImageIndex(int32_t value) { ImageIndex = value; }
    int32_t GetSubCol() const { return SubCol; }
    void SetSubCol(int32_t value) { SubCol = value; }
    TvxTimeItemTextCollection* GetTexts() const { return Texts.get(); }

    // The row whose layer holds the item; null outside a row.
    TGantRow* GetRow() const;
    // The chart of that row; null outside a row.
    TvxGant_ComBasic* GetGant() const;
    // The links whose FromItem or ToItem is this item, in the order they were joined.
    const std::vector<TvxDataEntity_Link*>& GetLinks() const { return fLinks; }

protected:
    ~TvxDataEntity_Chronbar() override;

private:
    friend class TvxDataEntity_Link;

    TDateTime StartDateTime = 0;
    TDateTime StopDateTime = 0;
    TChronbarStyle Style = TChronbarStyle::gtsSquare;
    TColor Color = 0;
    int32_t TopInset = 0;
    int32_t BottomInset = 0;
    int32_t FixedPixelWidth = 0;
    int32_t ImageIndex = 0;
    int32_t SubCol = 0;
    std::unique_ptr<TvxTimeItemTextCollection> Texts;
    std::vector<TvxDataEntity_Link*> fLinks;
};

// ---- One layer of a row ----

class TvxDataList_GantRow : public TvxDataList {
public:
    TGantRow* GetRow() const { return Row; }
    void SetRow(TGantRow* row) { Row = row; }
    void CleanForFree() override;

protected:
    ~TvxDataList_GantRow() override = default;

private:
    TGantRow* Row = nullptr;
};

// ---- Link ----

class TvxDataEntity_Link : public TvxDataEntity {
public:
    static constexpr const char* kOtherChart = "The time item belongs to another chart";
    static constexpr const char* kNoRow = "The time item is in no row";

    void CleanForFree() override;

    TLinkStartFinishOption GetStartFinishOption() const { return StartFinishOption; }
    // Stores and, when FromItem lies in a row of a chart, invalidates that chart's area.
    void SetStartFinishOption(TLinkStartFinishOption value);
    TvxDataEntity_Chronbar* GetFromItem() const { return FromItem; }
    TvxDataEntity_Chronbar* GetToItem() const { return ToItem; }
    // An item in no row, or in a row of another chart than the link's, throws EInvalidArgument
    // and changes nothing; null unlinks that end.
    void SetFromItem(TvxDataEntity_Chronbar* item);
    void SetToItem(TvxDataEntity_Chronbar* item);
    TLinkStyle GetLinkStyle() const { return LinkStyle; }
    void SetLinkStyle(TLinkStyle value) { LinkStyle = value; }
    TColor GetColor() const { return Color; }
    void SetColor(TColor value) { Color = value; }

    // The chart whose link list holds the link; null outside one.
    TvxGant_ComBasic* GetGant() const;

protected:
    ~TvxDataEntity_Link() override = default;

private:
    void SetEnd(TvxDataEntity_Chronbar*& end, TvxDataEntity_Chronbar* item);
    static void Unregister(TvxDataEntity_Chronbar* item, TvxDataEntity_Link* link);

    TLinkStartFinishOption StartFinishOption = TLinkStartFinishOption::tlsfNormal;
    TvxDataEntity_Chronbar* FromItem = nullptr;
    TvxDataEntity_Chronbar* ToItem = nullptr;
    TLinkStyle LinkStyle = TLinkStyle::tlsDefault;
    TColor Color = 0;
};

// The chart's list of links: it knows the chart, so a link can check the items it joins.
class TvxDataList_GantLinks : public TvxDataList {
public:
    TvxGant_ComBasic* GetGant() const { return Gant; }
    void SetGant(TvxGant_ComBasic* gant) { Gant = gant; }

protected:
    ~TvxDataList_GantLinks() override = default;

private:
    TvxGant_ComBasic* Gant = nullptr;
};

// ---- Row ----

class TGantRow : public TvxExposable {
public:
    static constexpr int kMaxSubColLayers = 10;
    // Layers are made on demand up to the one asked for; no row needs more than this many.
    static constexpr int kMaxLayers = 1000;
    // Throws EInvalidArgument for a layer index outside 0 .. kMaxLayers - 1.
    static void CheckLayerIndex(int layer);

    TGantRow(TGantRowList* theRowList, TvxDataEntity_Tree* theTreeNode, TvxDataEntity_GridTreeNode* theGridNode);
    void CleanForFree() override;

    TvxDataEntity_Tree* GetTreeNode() const { return TreeNode; }
    TvxDataEntity_GridTreeNode* GetGridNode() const { return GridNode; }
    TGantRowList* GetRowList() const { return RowList; }
    TvxGant_ComBasic* GetGant() const { return Gant; }
    TvxDataList2lev* GetDataLists() const { return DataLists; }
    // Layer i, made when missing; null for a negative index.
    TvxDataList_GantRow* GetLayer(int i);

    bool GetTimeItems_CanMove() const { return TimeItems_CanMove; }
    void SetTimeItems_CanMove(bool value) { TimeItems_CanMove = value; }
    bool GetTimeItems_CanChangeRow() const { return TimeItems_CanChangeRow; }
    void SetTimeItems_CanChangeRow(bool value) { TimeItems_CanChangeRow = value; }
    bool GetTimeItems_CanResize() const { return TimeItems_CanResize; }
    void SetTimeItems_CanResize(bool value) { TimeItems_CanResize = value; }
    TColor GetSelectColor() const { return SelectColor; }
    void SetSelectColor(TColor value) { SelectColor = value; }
    bool GetShowSelection() const { return ShowSelection; }
    void SetShowSelection(bool value) { ShowSelection = value; }
    bool GetShowActive() const { return ShowActive; }
    void SetShowActive(bool value) { ShowActive = value; }
    int GetDrawLayerStart() const { return DrawLayerStart; }
    void SetDrawLayerStart(int value) { DrawLayerStart = value; }

    TvxDataList_GantRow* AddDataList();
    // The lane layer `layer` is drawn in when collision detection is off. Only layers 0..9 have
    // an entry: writes outside them are ignored, and every other layer is drawn in lane 0.
    void DataListOnSubCol(int layer, int subCol);
    int GetDataListOnSubCol(int layer) const;

    // ---- Sub-columns
    int GetUseSubCols() const { return UseSubCols; }
    void SetUseSubCols(int n);
    bool GetCollisionDetection() const { return CollisionDetection; }
    void SetCollisionDetection(bool on);
    bool GetCollisionDetectionPaused() const { return CollisionDetectionPaused; }
    void SetCollisionDetectionPause(bool pause);
    bool CollisionAllLayers = false;
    // Asks for the lanes to be computed afresh (a deferred call), when collision detection is on.
    void UpdateSubColumns();
    void UpdateSubColumnsAsync(TObject* sender);
    void TimeDistinctThreadDone(TObject* sender);
    void CleanUpThread();
    TTimeDistinctGenericThread* GetThread() const { return Thread; }

    // ---- Geometry (vxGantGeometry.cpp)
    // The node is shown (its parents expanded, not hidden).
    bool GetVisible() const;
    // Refreshes Rect from the row source.
    void UpdateRect();
    // The band as of the chart's last pass over the rows (refreshed first when the row was not
    // in that pass, so a row out of view still has its true band).
    TRect GetRect();
    bool XStartStopFromDataEntity(TvxDataEntity_Chronbar* item, int& x1, int& x2);
    bool YStartStopFromDataEntity(TvxDataEntity_Chronbar* item, int& y1, int& y2);
    bool RectFromDataEntity(TvxDataEntity_Chronbar* item, TRect& rect);
    TvxDataEntity_Chronbar* FindDataEntityFromXY(int x, int y);
    TvxDataEntity_Chronbar* FindDataEntityFromX(int x);
    // Draws the row's items from layer DrawLayerStart on, those in the visible time range
    // (vxGantPaint.cpp).
    void DrawContent();

protected:
    ~TGantRow() override;

private:
    friend class TGantRowList;
    friend class TvxGant_ComBasic;

    void _OnMissingIndex(TvxExposable* theCaller, int theIndex, bool& theFixable);
    // The row's items in traversal order, less those that a load or unload on the way freed.
    void CollectItems(const TGantLaneWalk& walk, std::vector<TvxDataEntity_Chronbar*>& items);
    // The done handler's work; a failure of the host's handler is kept in failure.
    void ApplyLanes(const TGantLaneWalk& walk, std::exception_ptr& failure);
    bool HitsItem(TvxDataEntity_Chronbar* item, int x, int y);
    // The parts of a bar's rectangle that RectFromDataEntity and the hit test share: the ends
    // on the axis before the print scale, that scale, and the bar's top and bottom in its band.
    int UnscaledStartX(TvxDataEntity_Chronbar* item) const;
    int UnscaledStopX(TvxDataEntity_Chronbar* item, int startX) const;
    int PrintScaledX(int x) const;
    bool BarTopBottom(TvxDataEntity_Chronbar* item, int& top, int& bottom);
    int LayerOf(const TvxDataEntity_Chronbar* item) const;

    TvxDataEntity_GridTreeNode* GridNode = nullptr;
    bool TimeItems_CanMove = true;
    bool TimeItems_CanChangeRow = true;
    bool TimeItems_CanResize = true;
    TColor SelectColor = 0;
    bool ShowSelection = true;
    bool ShowActive = true;
    bool CollisionDetectionPaused = false;
    TvxDataList2lev* DataLists = nullptr;
    TvxDataEntity_Tree* TreeNode = nullptr;
    TGantRowList* RowList = nullptr;
    TvxGant_ComBasic* Gant = nullptr;
    int DrawLayerStart = 0;
    TRect Rect = kNoRect;
    int UseSubCols = 0;
    std::array<int, kMaxSubColLayers> fDataListOnSubCol{};
    bool CollisionDetection = false;
    TTimeDistinctGenericThread* Thread = nullptr;
    // UpdateSubColumns queued a request that has not run yet (set also when it merged).
    bool fRequestQueued = false;

    // Row-list order: rows are only ever appended, so a larger number lies further down.
    uint64_t fSequence = 0;
    // The chart's rect pass this Rect belongs to.
    uint64_t fRectPass = 0;
};

// ---- Row list ----

class TGantRowList : public TvxExposable {
public:
    explicit TGantRowList(TvxGant_ComBasic* theGant) : Gant(theGant) {}
    void CleanForFree() override;

    TvxGant_ComBasic* GetGant() const { return Gant; }
    int Count() const;
    // Null outside 0..Count-1.
    TGantRow* GetGantRow(int i) const;

    TGantRow* AddRow(TvxDataEntity_Tree* treeNode, TvxDataEntity_GridTreeNode* gridNode);
    void RemoveRow(TvxDataEntity_Tree* treeNode, TvxDataEntity_GridTreeNode* gridNode);
    TGantRow* FindRowFromTreeNode(const TvxDataEntity_Tree* node) const;
    TGantRow* FindRowFromGridNode(const TvxDataEntity_GridTreeNode* node) const;
    TGantRow* FindRowFromUntypedNode(const TvxDataEntity* entity) const;
    TGantRow* FindRowFromTreeNodeDataEntityUserReference(const void* ref) const;
    // The first row (row-list order) of the current row source whose band, as of the chart's
    // last pass over the rows, has top < y < bottom.
    TGantRow* FindRowFromY(int y);
    // The row is in this list (a row removed earlier is not).
    bool Contains(const TGantRow* row) const { return fLive.count(row) != 0; }

protected:
    ~TGantRowList() override;

private:
    friend class TvxGant_ComBasic;

    void Compact() const;
    void Forget(TGantRow* row);

    TvxGant_ComBasic* Gant;
    // Removed rows leave a hole until the next indexed read, so removing many rows costs one pass.
    mutable std::vector<TGantRow*> fRows;
    mutable std::vector<uint64_t> fSequences;
    mutable int fHoles = 0;
    std::unordered_set<const TGantRow*> fLive;
    std::unordered_map<const TvxDataEntity_Tree*, std::vector<TGantRow*>> fByTreeNode;
    uint64_t fNextSequence = 1;
};

}  // namespace vxplan
