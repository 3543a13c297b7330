// TvxGant_ComBasic: the Gantt chart. The tree on the left gives the rows; the date scaler on top
// of the Gantt area on the right maps time to pixels; the chart holds the rows, the three-level
// list of every row's layers, the controller through which every time-item list reports, and the
// list of links.
//
// Rows follow the tree: one row per tree entity, made when the entity is inserted and freed when
// it is deleted, whether or not its node is shown (children of a collapsed parent and hidden
// entities keep their rows; their bands are empty until they are shown).
//
// The chart reads row bands once per pass over the rows in view (UpdateRowRects, run before each
// paint); the rows out of view read theirs when asked. FindRowFromY and GetDataEntityFromXY use
// the pass, so pointer lookups cost what is in view, not what the chart holds.
#pragma once

#include <vxplan/gantt/vxGantModel.h>
#include <vxplan/overlap/vxTimeDistinctResume.h>
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/paint/vxSnapHandler.h>
#include <vxplan/platform/controls/vxPanel.h>
#include <vxplan/platform/graphics/vxBitmap.h>
#include <vxplan/platform/graphics/vxCanvas.h>
#include <vxplan/platform/graphics/vxImageList.h>

#include <array>
#include <string>
#include <vector>

namespace vxplan {

class TvxDateScaler;
class TGantTree;
class TvxGant_ComBasic;
class TGraphHintWindow;
class TTimer;

// ---- The Gantt area ----

// The area hands its paint, mouse and keys to the chart first; its own events follow for the
// host.
class TvxOffscreenPaint_GA : public TvxOffscreenPaint {
public:
    TvxOffscreenPaint_GA(TComponent* AOwner, TvxGant_ComBasic* theGant);
    TvxGant_ComBasic* GetGant() const { return fGant; }

    void OffscreenPaint() override;
    void WndProc(TMessage& message) override;
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    void DragDrop(TObject* Source, int X, int Y) override;

protected:
    void DoStartDrag(TDragObject*& DragObject) override;
    void DoEndDrag(TObject* Target, int X, int Y) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;

private:
    TvxGant_ComBasic* fGant;
};

// A selected item and its rectangle when a move began.
struct TDrawRect {
    TRect Rect = kNoRect;
    // Null once the item is gone.
    TvxDataEntity_Chronbar* Item = nullptr;
};

// ---- Events ----

using TOnGantItemNotify = TMethod<void(TvxGant_ComBasic* theGant, TvxDataEntity* theDataEntity)>;
using TOnInfoPush_Chronbar = TOnGantItemNotify;
using TOnGantVirtualLoad = TOnGantItemNotify;
using TOnGantVirtualUnLoad = TMethod<void(TvxGant_ComBasic* theGant, TvxDataEntity* theDataEntity, bool& CanUnload)>;
using TOnHintInfo = TMethod<void(TObject* theObject, TDateTime theStart, TDateTime theStop, TDateTime theLength)>;
using TOnTimeCopyOrChangeRow = TMethod<void(TvxGant_ComBasic* theGant, TvxDataEntity_Chronbar* theDataEntity, TGantRow* theRow,
                                            TGantRow* theNewRow, TDateTime theStartDate, TDateTime theStopDate)>;
using TGantRowNotify = TMethod<void(TGantRowList* theGantRowList, TGantRow* theGantRow)>;
using TUserCreateGantRow = TMethod<void(TGantRowList* theGantRowList, TvxDataEntity_Tree* theNode,
                                        TvxDataEntity_GridTreeNode* theDataEntity_GridTreeNode, TGantRow*& result)>;
// User drawing over the whole area, before the items (background) or after the links (foreground).
using TOnUserDrawContent = TMethod<void(TvxGant_ComBasic* theGant, const TRect& theRect, TCanvas& theCanvas)>;
// Draws an item of style gtsUser in its rectangle.
using TOnUserDrawTime =
    TMethod<void(TvxGant_ComBasic* theGant, TvxDataEntity_Chronbar* theItem, TCanvas& theCanvas, const TRect& theRect)>;
// Draws a link of style tlsUserDraw between its anchor points.
using TOnUserDrawLinks = TMethod<void(TvxGant_ComBasic* theGant, TvxDataEntity_Link* theLink, TCanvas& theCanvas,
                                      const TPoint& theStart, const TPoint& theStop)>;
using TOnCollisionDetected = TMethod<void(TvxGant_ComBasic* theGant, TvxDataEntity_Chronbar* theDataEntity, int theNewSubColPosition)>;
// A press in the area, on an item or on none (null).
using TOnClickGantArea = TMethod<void(TvxGant_ComBasic* theGant, TvxDataEntity_Chronbar* theDataEntity)>;
using TOnDblClickGantArea = TOnClickGantArea;
// A dependency drag from theFirst released on theSecond; making the link is the handler's work.
using TOnDependencyAction = TMethod<void(TvxDataEntity_Chronbar* theFirst, TvxDataEntity_Chronbar* theSecond)>;

// ---- The chart ----

class TvxGant_ComBasic : public TCustomPanel {
public:
    static constexpr const char* kRowNotInChart = "The row is not in this chart";
    static constexpr const char* kNodeWithoutRow = "The node has no row in this chart";

    explicit TvxGant_ComBasic(TComponent* AOwner = nullptr);
    ~TvxGant_ComBasic() override;

    // ---- Children
    TGantTree* GetTreeView() const { return fTree; }
    TvxDateScaler* GetDateScaler() const { return fScaler; }
    TvxOffscreenPaint_GA* GetGA() const { return fGA; }

    // ---- Containers
    TGantRowList* GetRowList() const { return fRowList; }
    TvxDataList3lev* GetAllDataLists() const { return fAllDataLists; }
    TvxListController* GetTimeItemController() const { return fItemController; }
    TvxDataList* GetLinks() const { return fLinkList; }
    TvxDataEntityClass GetItemClass() const { return fItemClass; }
    TvxDataEntityClass GetLinkClass() const { return fLinkClass; }

    // TODO(grid mode): a setter, and the rows from the data grid's tree; until then the rows
    // come from the tree.
    bool GetUseGridNotTree() const { return fUseGridNotTree; }
    bool RowTypeCheckOK(const TGantRow* row) const;

    // ---- Items and links
    // Null for a null row; a row that is not (or no longer) in this chart throws EInvalidArgument.
    TvxDataEntity_Chronbar* AddChronbarToGantRow(TGantRow* row, int layer);
    // A node without a row of this chart throws EInvalidArgument; a null node gives null.
    TvxDataEntity_Chronbar* AddChronbar(TvxDataEntity_Tree* treeNode, int layer);
    TvxDataEntity_Chronbar* GridNode_AddChronbar(TvxDataEntity_GridTreeNode* gridNode, int layer);
    void RemoveChronbar(TvxDataEntity_Chronbar* item);
    TvxDataEntity_Link* AddLink();
    // Deletes every link that starts or ends at the item, last link first.
    void DropAllLinks(TvxDataEntity_Chronbar* item);
    TvxDataEntity_Chronbar* FindChronbarObjectFromUserReference(const void* ref);
    void CopyDataEntity(TvxDataEntity_Chronbar* source, TvxDataEntity_Chronbar* destination);
    // Raise OnTimeCopy / OnTimeChangeRow when assigned; making or moving the item is the
    // handler's work. The result says whether a handler was assigned.
    virtual bool TimeCopy(TvxDataEntity_Chronbar* item, TGantRow* row, TGantRow* newRow, TDateTime start, TDateTime stop,
                          TvxDataEntity_Chronbar*& newItem);
    virtual bool TimeMoveRow(TvxDataEntity_Chronbar* item, TGantRow* row, TGantRow* newRow, TDateTime start,
                             TDateTime stop, TvxDataEntity_Chronbar*& newItem);

    TvxDataEntity_Chronbar* GetDataEntityFromXY(int x, int y);
    // kNoRect when the item has no rectangle.
    bool RectFromDataEntity(TvxDataEntity_Chronbar* item, TRect& rect);
    // Some part of the item lies in the scaler's visible range.
    bool IsVisible(const TvxDataEntity_Chronbar* item) const;
    TvxDataEntity_Chronbar* GetActiveDataEntity() const { return fActiveDataEntity; }
    void SetActiveDataEntity(TvxDataEntity_Chronbar* item);
    // The item under the last mouse press in the area.
    TvxDataEntity_Chronbar* GetMouseDownDataEntity() const { return fMouseDownDataEntity; }
    void SetMouseDownDataEntity(TvxDataEntity_Chronbar* item) { fMouseDownDataEntity = item; }
    TGantRow* GetActiveGantRow();

    TvxDataEntity_Tree* AddDataEntityTree(TvxDataEntity_Tree* parent);
    TvxDataEntity_Tree* AddRootDataEntityTree() { return AddDataEntityTree(nullptr); }

    // ---- Row bands
    // One pass over the rows in view: refreshes their bands and the lookup FindRowFromY uses.
    void UpdateRowRects();
    // The rows of the last pass in display order, top to bottom.
    const std::vector<TGantRow*>& GetRowsInView() const { return fRowsInView; }
    int GetLastRowHeight() const { return fLastRowHeight; }
    int GetVerticalPrintOffset() const { return fVerticalPrintOffset; }
    void SetVerticalPrintOffset(int offset);
    bool GetIsPrinting() const;

    // ---- Defaults and fonts
    TLinkStyle GetDefaultLinkStyle() const { return fDefaultLinkStyle; }
    void SetDefaultLinkStyle(TLinkStyle value) { fDefaultLinkStyle = value; }
    TColor GetDefaultLinkColor() const { return fDefaultLinkColor; }
    void SetDefaultLinkColor(TColor value) { fDefaultLinkColor = value; }
    TColor GetGantBackColor() const { return fGantBackColor; }
    void SetGantBackColor(TColor value);
    TColor GetGantPyjamasColor() const { return fGantPyjamasColor; }
    void SetGantPyjamasColor(TColor value);
    // The 2 x 2 mix of the back and stripe colours the stripes are filled with.
    const TBitmap& GetPatternBitmap() const { return fPattern; }
    bool GetVerticalPyjamas() const { return fVerticalPyjamas; }
    void SetVerticalPyjamas(bool value);
    bool GetDrawShortLines() const { return fDrawShortLines; }
    void SetDrawShortLines(bool value);
    bool GetDrawLongLines() const { return fDrawLongLines; }
    void SetDrawLongLines(bool value);
    bool GetTodayLineOnOff() const { return fTodayLineOnOff; }
    void SetTodayLineOnOff(bool value);
    TColor GetTodayLineColor() const { return fTodayLineColor; }
    void SetTodayLineColor(TColor value);
    TLinkShow GetLinkShow() const { return fLinkShow; }
    void SetLinkShow(TLinkShow value);
    // The tree's image list: the images of items of style gtsImage.
    TCustomImageList* GetImageList() const;
    void SetImageList(TCustomImageList* list);
    // The grid's header height (grid mode, scaled while printing); 0 in tree mode.
    int GetGridHeaderHeight() const;
    // The scaler's start when the area was last painted.
    TDateTime GetStartAtLastPaint() const { return fStartAtLastPaint; }
    TFont& GetFontTimeItemStyle1() { return fFontTimeItemStyle1; }
    TFont& GetFontTimeItemStyle2() { return fFontTimeItemStyle2; }
    TFont& GetFontTimeItemStyle3() { return fFontTimeItemStyle3; }
    void SetFontTimeItemStyle1(const TFont& font);
    void SetFontTimeItemStyle2(const TFont& font);
    void SetFontTimeItemStyle3(const TFont& font);
    // The texts' font choice: style 2 and 3 their fonts, any other style the first.
    void _OnTimeItemTextStyleSet(TvxTimeItemTextCollection* theCollection, TCanvas& aCanvas, int32_t aStyle);

    // ---- Mouse (vxGantMouse.cpp, vxGantOutline.cpp)
    // The area's mouse input. A left press on an item starts an operation (move, copy, grow at
    // either end, or a dependency drag); the mouse moves draw its outline on the displayed
    // pixels only, and the release applies it.
    void GantAreaMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void GantAreaMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void GantAreaMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void OnGADblClick(TObject* sender);
    // Ends an operation without applying it (Escape, a lost capture): the outline goes, the
    // scrolling stops, no item changes.
    void CancelMouseOperation();
    TGantMouseMoveMode GetMouseMoveMode() const { return fMouseMode; }
    // The next left press on an item starts a dependency drag; every press resets it.
    TGantStickyMode StickyMode = TGantStickyMode::smNone;
    // The grow zones: the item's first and last kGrowZone pixels. rect receives its rectangle.
    static constexpr int kGrowZone = 3;
    virtual bool InGrowArea(TvxDataEntity_Chronbar* item, int x, int y, TRect& rect, bool& isLeft);
    void UpdateMultiSelect(TvxDataEntity_Chronbar* item, TShiftState shift, bool isPress);
    // Unselects every item of the chart.
    void ClearSelections();
    // Every selected item and its rectangle, in traversal order (rows, layers, items).
    void CreateScrollableMoveSnapShot();
    void ClearScrollableMoveSnapShot() { fMoveSnapShot.clear(); }
    const std::vector<TDrawRect>& GetMoveSnapShot() const { return fMoveSnapShot; }
    // The mouse moved: the outline follows it (erasing the one shown first).
    void HandleLocalDrag(int x, int y, bool canMove, bool canChangeRow);
    void HandleLocalGrow(int x, int y);
    void HandleLocalDependency(int x, int y);
    // The release applies the operation.
    void HandleMoveOfSelected(TPoint position, TPoint delta, bool copy);
    void HandleGrow(TPoint delta);
    void HandleDependencyChange(int x, int y);
    // An inverted dotted frame: drawn twice it leaves the pixels as they were. withHint reports
    // the snapped times of the rectangle first (OnHintInfo and the hint window).
    virtual void DrawOutline(const TRect& rect, bool withHint, TCanvas& canvas);
    void DrawOutlineOfSelected(TPoint delta, TCanvas& canvas);
    void DrawOutlineOfDependencyArrow(TPoint delta, TCanvas& canvas);
    // Scrolling while an item is dragged near or beyond the area's edges.
    void DoScaleStartStopAdjust(int x);
    void DoGridTopBotAdjust(int y);
    void OnVerticalScroll(TObject* sender);
    void GetStartStopLenFromRect(const TRect& rect, TDateTime& start, TDateTime& stop, TDateTime& length);
    // The hint window's text: start, stop and length of a time item on three lines.
    void HintWantsNewText(TGraphHintWindow* hintWindow, TObject* object);
    TSnapHandler& GetSnapHandler() { return fSnapHandler; }
    TGraphHintWindow* GetHintWindow() const { return fHint; }
    TTimer* GetAutoScrollTimer() const { return fAutoScrollTimer; }
    // The press and the drag so far.
    TPoint GetMouseDownPoint() const { return fPressPoint; }
    TPoint GetLastDelta() const { return fLastDelta; }
    TvxDataEntity_Chronbar* GetDragDataEntity() const { return fDragItem; }
    bool GetOutlineShown() const { return fOutlineShown; }

    TCursor GetCursorGantArea() const { return fCursorGantArea; }
    void SetCursorGantArea(TCursor cursor);
    bool GetMoveInTimeWhenMoveRow() const { return fMoveInTimeWhenMoveRow; }
    void SetMoveInTimeWhenMoveRow(bool value) { fMoveInTimeWhenMoveRow = value; }
    bool GetMoveOver12Then24() const { return fMoveOver12Then24; }
    void SetMoveOver12Then24(bool value) { fMoveOver12Then24 = value; }
    bool GetStartDragWhenTimeMoveOutside() const { return fStartDragWhenTimeMoveOutside; }
    void SetStartDragWhenTimeMoveOutside(bool value) { fStartDragWhenTimeMoveOutside = value; }
    TTimeItemAutoScroll GetTimeItemAutoScroll() const { return fTimeItemAutoScroll; }
    void SetTimeItemAutoScroll(TTimeItemAutoScroll value) { fTimeItemAutoScroll = value; }
    // The area's platform drag and drop: a move that left the area (StartDragWhenTimeMoveOutside)
    // goes on as a drag that other controls may take. DragOver refuses unless
    // OnGantAreaDragOver accepts; a drop raises OnGantAreaDragDrop after the area's own drop.
    virtual void GantAreaStartDrag(TObject* sender, TDragObject*& dragObject);
    virtual void GantAreaDragDrop(TObject* sender, TObject* source, int x, int y);
    virtual void GantAreaDragOver(TObject* sender, TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void GantAreaEndDrag(TObject* sender, TObject* target, int x, int y);
    // How far beyond the area a move turns into a platform drag.
    static constexpr int kDragOutsideMargin = 25;
    // How near the top or bottom edge a drag scrolls the rows.
    static constexpr int kVerticalScrollMargin = 5;
    static constexpr int kAutoScrollIntervalMs = 50;

    // ---- Sub-columns
    bool GetSomeRowsPaused() const { return fSomeRowsPaused; }
    void UnPauseCollisionDetectionRows();

    // ---- Painting (vxGantPaint.cpp, vxGantLinks.cpp)
    // The whole background: stripes, the today line, user background drawing, scale lines and
    // the focus frame.
    virtual void DoBackground();
    // One item in its style, its texts and its marks, in its rectangle.
    void DrawContent(TvxDataEntity_Chronbar* item, const TRect& rect);
    // Items of style gtsUser: raises OnUserDrawTime.
    virtual void UserDrawTime(TvxDataEntity_Chronbar* item, const TRect& rect);
    // Every link whose ends are shown, in list order.
    void RenderLinks();
    // One routed link between two points; link may be null (a rubber band being dragged).
    void DrawLink(TPoint start, TPoint stop, TCanvas& canvas, TLinkStyle style, TColor color,
                  const TvxDataEntity_Link* link);
    // False when the predecessor's stop and the successor's start both lie before the visible
    // range, or both after it.
    bool LinePassesThroughWindow(const TvxDataEntity_Chronbar* from, const TvxDataEntity_Chronbar* to) const;
    // The links' ends, or the order of the tree's nodes, changed: the paint's index of where
    // links lie is built afresh when next needed.
    void LinksChanged() { fLinkIndexStale = true; }

    // ---- Repaint
    // Repaints the chart and refreshes the scaler, the tree and the area.
    void RePaint();
    void InvalidateGA(TObject* sender = nullptr);
    void RefreshOthers(TObject* sender);
    bool IsBeingDestroyed() const { return IsDestroying(); }

    // ---- Events
    TOnContentChanged OnContentChanged_Chronbar;
    TOnSelectionChanged OnSelectionChanged_Chronbar;
    TOnDeleteItem OnDeleteItem_Chronbar;
    TOnInsertItem OnInsertItem_Chronbar;
    TOnInfoPush OnValueChanged_Chronbar;
    TOnInfoPush_Chronbar OnChangeDataEntity_Chronbar;
    TOnBeforeCanEditItem OnBeforeCanEditItem_Chronbar;
    TOnGantVirtualLoad OnVirtualLoad_Chronbar;
    TOnGantVirtualUnLoad OnVirtualUnLoad_Chronbar;
    TOnHintInfo OnHintInfo;
    TOnTimeCopyOrChangeRow OnTimeCopy;
    TOnTimeCopyOrChangeRow OnTimeChangeRow;
    TGantRowNotify OnAfterAddGantRow;
    TGantRowNotify OnBeforeFreeGantRow;
    TUserCreateGantRow OnUserCreateGantRow;
    TOnCollisionDetected OnCollisionDetected;
    TOnClickGantArea OnClickGantArea;
    TOnClickGantArea OnRightClickGantArea;
    TOnDblClickGantArea OnDblClickGantArea;
    TOnDependencyAction OnDependencyAction;
    TMouseEvent OnGantAreaMouseDown;
    TMouseMoveEvent OnGantAreaMouseMove;
    TMouseEvent OnGantAreaMouseUp;
    TStartDragEvent OnGantAreaStartDrag;
    TDragDropEvent OnGantAreaDragDrop;
    TDragOverEvent OnGantAreaDragOver;
    TOnUserDrawContent OnUserDrawBackground;
    TOnUserDrawContent OnUserDrawForeground;
    TOnUserDrawTime OnUserDrawTime;
    TOnUserDrawLinks OnUserDrawLinks;

    // ---- Factories, for descendants that build with their own classes
    virtual TvxDateScaler* CreateDateScaler();
    virtual TGantTree* CreateTree();
    virtual TGantRowList* CreateRowList();
    virtual TvxDataList* CreateLinkList();
    virtual TGantRow* CreateRow(TvxDataEntity_Tree* treeNode, TvxDataEntity_GridTreeNode* gridNode);
    virtual TvxDataList_GantRow* CreateDataList_GantRow();
    virtual TvxDataList2lev* CreateDataList2Lev();
    virtual TvxDataList3lev* CreateDataList3Lev();

protected:
    // A descendant with its own factories constructs through this and calls
    // InitializeInConstructor at the end of its own constructor, when its overrides are in force.
    struct TDeferInitialize {};
    TvxGant_ComBasic(TComponent* AOwner, TDeferInitialize);
    virtual void InitializeInConstructor();
    virtual void Initialize();

    // The area's paint.
    virtual void GantAreaPaint(TObject* sender);
    friend class TvxOffscreenPaint_GA;

    // The time-item controller's handlers.
    virtual void _InsertItem(TvxDataEntity* entity);
    virtual void _DeleteItem(TvxDataEntity* entity);
    virtual void _ContentChanged(TvxDataList* list);
    virtual void _SelectionChanged(TvxDataList* list, TvxDataEntity* entity);
    virtual void _InfoPush(TvxDataEntity* entity);
    virtual void _OnBeforeCanEditItem(TvxDataEntity* entity);
    virtual void _LoadItem(TvxDataEntity* entity);
    virtual void _UnloadItem(TvxDataEntity* entity, bool& CanUnload);
    virtual void _EnterOwnerAfterChange(TvxDataEntity* entity);

private:
    friend class TGantRow;
    friend class TGantRowList;
    friend struct TGantInspector;

    // ---- Mouse state (vxGantMouse.cpp)
    bool ItemInDrag(const TvxDataEntity_Chronbar* item) const;
    void ForgetItemInDrag(const TvxDataEntity_Chronbar* item);
    bool GrowAllowed(TvxDataEntity_Chronbar* item, int x, int y, TRect& rect, bool& isLeft);
    // The item's CanEdit, false when the query's handler deleted an item.
    bool EditableNow(TvxDataEntity_Chronbar* item);
    // Mode none, the scrolling stopped, the area repainted, and a platform drag begun.
    void StartPlatformDrag();
    void ApplyRelease(TGantMouseMoveMode mode, TGantRow* row, int x, int y, int dx, int dy);
    // Erases the outline shown, stops both scrollings and hides the move hint.
    void EndLocalFeedback();
    void StopAutoScroll();
    // The operation is over: no mode, drag item, snapshot or outline.
    void ForgetMouseOperation();
    // (x, y) from the press point, saturated.
    TPoint DeltaFromPress(int x, int y) const;
    void ReportOutlineHint(const TRect& rect);
    // OnHintInfo with the item's times, or zeros for none.
    void ReportItemHint(TvxDataEntity_Chronbar* item);
    void ShowMoveHint(TDateTime start, TDateTime stop, TDateTime length);
    void EraseOutline(TCanvas& canvas);
    // After a paint wiped the outline of a drag in progress, it is drawn again at the mouse.
    void RedrawOutline(TObject* sender);
    void OutlineWipedByPaint();
    // The start, stop and length texts of the hint.
    std::array<std::string, 3> HintLines(TDateTime start, TDateTime stop, TDateTime length) const;
    // A time item's new times; false (nothing changed) for times the item refuses.
    static bool StoreTimes(TvxDataEntity_Chronbar* item, TDateTime start, TDateTime stop);

    void RowsChanged()
    {
        fRowsInViewStale = true;
        fRowsInView.clear();
    }
    void HookTexts(TvxDataEntity_Chronbar* item);
    void UserDrawBackgroundAdapter(TCanvas& canvas, const TRect& rect);
    void LinkListChanged(TvxDataEntity*) { LinksChanged(); }
    void LinkListContentChanged(TvxDataList*) { LinksChanged(); }
    // The positions of the links in the link list that may show with the rows of pre-order
    // indexes aboveIndex..belowIndex in view, ascending.
    void FindLinksNearView(int aboveIndex, int belowIndex, std::vector<int>& positions);
    void BuildLinkIndex();
    // The first row of the last pass's rows in view, or the rows beyond them, holding y.
    TGantRow* FindTreeRowFromY(int y);

    TGantTree* fTree = nullptr;
    TvxDateScaler* fScaler = nullptr;
    TvxOffscreenPaint_GA* fGA = nullptr;
    TPanel* fTreePanel = nullptr;
    TPanel* fCornerPanel = nullptr;
    TPanel* fHolderPanel = nullptr;

    TGantRowList* fRowList = nullptr;
    TvxDataList3lev* fAllDataLists = nullptr;
    TvxListController* fItemController = nullptr;
    TvxListController* fLinkController = nullptr;
    TvxDataList* fLinkList = nullptr;
    TvxDataEntityClass fItemClass = EntityClassOf<TvxDataEntity_Chronbar>();
    TvxDataEntityClass fLinkClass = EntityClassOf<TvxDataEntity_Link>();
    TvxDataEntity_Chronbar* fActiveDataEntity = nullptr;
    TvxDataEntity_Chronbar* fMouseDownDataEntity = nullptr;
    bool fUseGridNotTree = false;
    bool fSomeRowsPaused = false;
    // Armed while rows are paused: the workers' fall below the resume threshold un-pauses them.
    void ResumePausedRows();
    TTimeDistinctResumeListener fPausedRowsResume{TNotifyEvent([this](TObject*) { ResumePausedRows(); })};

    TLinkStyle fDefaultLinkStyle = TLinkStyle::tlsDefault;
    TColor fDefaultLinkColor = 0xFF0000;
    TColor fGantBackColor = 0xC0C0C0;
    TColor fGantPyjamasColor = 0x808080;
    TBitmap fPattern;
    bool fVerticalPyjamas = false;
    bool fDrawShortLines = false;
    bool fDrawLongLines = true;
    bool fTodayLineOnOff = false;
    TColor fTodayLineColor = 0;
    TLinkShow fLinkShow = TLinkShow::lsOneEndVisible;
    int fCachedGridHeaderHeight = 0;
    TDateTime fStartAtLastPaint = 0;
    // The links the last paint drew (user-drawn included; those wholly beside the area are not
    // handed to the platform and not counted), and the links it looked at.
    int fLinksDrawn = 0;
    int fLinksVisited = 0;
    // Each link with both ends in rows of tree nodes, as the span of those nodes' pre-order
    // indexes, sorted by its low end; per block of spans the highest high end.
    struct TLinkSpan {
        int Lo = 0;
        int Hi = 0;
        int Pos = 0;  // in the link list
    };
    std::vector<TLinkSpan> fLinkSpans;
    std::vector<int> fLinkBlockMaxHi;
    bool fLinkIndexStale = true;
    int fLinkIndexNodeCount = -1;
    int fLinkIndexLinkCount = -1;
    TFont fFontTimeItemStyle1;
    TFont fFontTimeItemStyle2;
    TFont fFontTimeItemStyle3;

    TGantMouseMoveMode fMouseMode = TGantMouseMoveMode::mmNone;
    bool fButtonDown = false;
    TPoint fPressPoint;
    TDateTime fPressTime = 0;
    TvxDataEntity_Chronbar* fDragItem = nullptr;
    TPoint fDelta;
    TPoint fLastDelta;
    TPoint fLastMousePos;
    bool fOutlineShown = false;
    TRect fGrowPressRect = kNoRect;
    TRect fGrowRect = kNoRect;
    bool fDeferredSelect = false;
    // Counts item deletions, so code that raised an event can tell whether items went meanwhile.
    uint64_t fDeletions = 0;
    std::vector<TDrawRect> fMoveSnapShot;
    bool fAutoScrollDown = false;
    TTimer* fAutoScrollTimer = nullptr;
    TGraphHintWindow* fHint = nullptr;
    TSnapHandler fSnapHandler;
    TCursor fCursorGantArea = crArrow;
    bool fMoveInTimeWhenMoveRow = false;
    bool fMoveOver12Then24 = false;
    bool fStartDragWhenTimeMoveOutside = false;
    TTimeItemAutoScroll fTimeItemAutoScroll = TTimeItemAutoScroll::ttiaHorzAndVert;

    int fLastRowHeight = 18;
    int fVerticalPrintOffset = 0;
    uint64_t fRectPass = 0;
    bool fRowsInViewStale = true;
    std::vector<TGantRow*> fRowsInView;
    int fMaxBandHeight = 0;
};

}  // namespace vxplan
