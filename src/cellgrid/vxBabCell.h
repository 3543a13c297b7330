// The tree of cells: simple cells (leaves that show a value) and grid cells, each of which owns a
// column axis, a row axis and a matrix of cells, so any cell can hold a whole nested grid. The
// root (TBabGridCellForViewer) carries every callback raised towards the control showing it.
#pragma once

#include <vxplan/cellgrid/vxAxisContent.h>
#include <vxplan/cellgrid/vxBabGridTypes.h>
#include <vxplan/cellgrid/vxCellMatris.h>
#include <vxplan/dataentity/vxEventHandling.h>
#include <vxplan/platform/controls/vxKeys.h>

#include <memory>
#include <vector>

namespace vxplan {

struct TLayoutProp;

// The content of a cell; the viewer supplies the concrete classes.
class TBabCellData : public TObject {
public:
    explicit TBabCellData(TBabCell* theCell) : cell_(theCell) {}
    virtual void InitContent() {}
    TBabCell* GetCell() const { return cell_; }
    TBabCellType GetBabCellType() const;
    TAxisContentItem* GetAxisContentItemX() const;
    TAxisContentItem* GetAxisContentItemY() const;

private:
    TBabCell* cell_;
};

class TBabSimpleCellData : public TBabCellData {
public:
    using TBabCellData::TBabCellData;
};

class TBabGridCellData : public TBabCellData {
public:
    using TBabCellData::TBabCellData;
};

class TBabCell : public TObject {
public:
    explicit TBabCell(TBabGridCell* theOwner);
    // Tells the root (OnDeInitCell), frees the content and forgets itself in its grid cell.
    ~TBabCell() override;
    TBabCell(const TBabCell&) = delete;
    TBabCell& operator=(const TBabCell&) = delete;

    virtual int GetCalculatedHeight() { return calculatedHeight_; }
    virtual int GetCalculatedWidth() { return calculatedWidth_; }
    virtual bool GetSelected() const { return selected_; }
    virtual void SetSelected(bool theValue);
    virtual TRect getVisibleRect();
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}
    virtual void CalculateSizes();

    void SetCalculatedHeight(int theHeight) { calculatedHeight_ = theHeight; }
    void SetCalculatedWidth(int theWidth) { calculatedWidth_ = theWidth; }
    int GetMinHeight();
    int GetMinWidth() const;
    void SetMinHeight(int theHeight);
    void SetMinWidth(int theWidth);

    TBabGridCell* getGridCell() const { return gridCell_; }
    TBabGridCellForViewer* GetRoot() const { return root_; }
    TAxisContentItem* GetAxisContentItemX() const { return itemX_; }
    TAxisContentItem* GetAxisContentItemY() const { return itemY_; }
    void SetAxisContentItems(TAxisContentItem* theX, TAxisContentItem* theY)
    {
        itemX_ = theX;
        itemY_ = theY;
    }
    // Real column and row index (-1 for the root).
    int ColumnIndex() const;
    int RowIndex() const;

    TBabCellData* GetCellData() const { return data_.get(); }
    void SetCellData(std::unique_ptr<TBabCellData> theData) { data_ = std::move(theData); }
    TLayoutProp* GetLayoutProp() const { return layoutProp_; }
    void SetLayoutProp(TLayoutProp* theLayout) { layoutProp_ = theLayout; }
    TEvent& GetEvent() { return *event_; }

    // The rectangle of the last draw as stored, without the root's tampering.
    const TRect& StoredVisibleRect() const { return visibleRect_; }
    void SetVisibleRect(const TRect& theRect) { visibleRect_ = theRect; }
    bool GetGrouped() const { return grouped_; }
    bool GetGroupMasterFlag() const { return groupMaster_; }
    void SetGroupFlags(bool theGrouped, bool theMaster)
    {
        grouped_ = theGrouped;
        groupMaster_ = theMaster;
    }
    TBabCell* GetGroupMaster();
    bool GetIsFixed() const;
    bool IsGridCell() const;

    // True while the cell is being measured, laid out or drawn: it cannot be freed then.
    bool IsBusy() const { return busy_ > 0; }

    class TBusyGuard {
    public:
        explicit TBusyGuard(TBabCell* theCell) : cell_(theCell) { ++cell_->busy_; }
        ~TBusyGuard() { --cell_->busy_; }
        TBusyGuard(const TBusyGuard&) = delete;
        TBusyGuard& operator=(const TBusyGuard&) = delete;

    private:
        TBabCell* cell_;
    };

protected:
    void StoreSelected(bool theValue) { selected_ = theValue; }
    void RequestMeasure() { measureRequested_ = true; }

private:
    bool grouped_ = false;
    bool groupMaster_ = false;
    TBabGridCell* gridCell_;
    TBabGridCellForViewer* root_;
    TAxisContentItem* itemX_ = nullptr;
    TAxisContentItem* itemY_ = nullptr;
    std::unique_ptr<TEvent> event_;
    int calculatedHeight_ = 0;
    int calculatedWidth_ = 0;
    bool selected_ = false;
    TRect visibleRect_ = kNoRect;
    std::unique_ptr<TBabCellData> data_;
    TLayoutProp* layoutProp_ = nullptr;
    bool measureRequested_ = false;
    int measuredHeight_ = 0;
    int busy_ = 0;

    friend class TBabGridCellForViewer;
};

class TBabSimpleCell : public TBabCell {
public:
    using TBabCell::TBabCell;
};

class TBabGridCell : public TBabCell {
public:
    explicit TBabGridCell(TBabGridCell* theOwner);
    // Frees the matrix, then the axes (and their items), then the events.
    ~TBabGridCell() override;

    int GetCalculatedHeight() override;
    int GetCalculatedWidth() override;
    void SetSelected(bool theValue) override;
    void BeginUpdate() override {}
    void EndUpdate() override {}
    void CalculateSizes() override {}
    // The content object of a new cell, from the root's data classes.
    virtual TBabCellData* CreateBabCellData(TBabCell* theCell);

    TAxisContentList& Columns() { return *columns_; }
    TAxisContentList& Rows() { return *rows_; }
    TCellMatris& Matris() { return *matris_; }
    TBabCell* getCell(int x, int y) { return matris_->getCell(x, y); }
    TBabCell* CreateCell(int x, int y);

    bool GetMultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v) { multiSelect_ = v; }
    bool GetRowSelect() const { return rowSelect_; }
    void SetRowSelect(bool v) { rowSelect_ = v; }

    int GetTop() const { return top_; }
    int GetLeft() const { return left_; }
    void SetTop(int theTop);
    void SetLeft(int theLeft);
    int GetFixedCols() const { return columns_->GetFixed(); }
    int GetFixedRows() const { return rows_->GetFixed(); }
    void SetFixedCols(int n) { columns_->SetFixed(n); }
    void SetFixedRows(int n) { rows_->SetFixed(n); }
    bool IsFixedCell(int x, int y) const;

    TEvent& GetTopLeftEvent() { return *topLeftEvent_; }
    TEvent& GetFocusChangeEvent() { return *focusChangeEvent_; }
    TBabCell* GetFocusedCell() const { return focusedCell_; }
    void SetFocusedCell(TBabCell* theCell);
    TBabCell* GetFocusedCellDownTrack() const;
    TBabCell* GetSelectionAnchor() const { return anchor_; }
    void SetSelectionAnchor(TBabCell* theCell) { anchor_ = theCell; }
    // SetSelected(v) on every cell of the rectangle of real indexes (corners in any order).
    void AreaSelect(bool theValue, const TRect& theArea);
    // The selection rule of a click or a move onto theCell with the given shift state: alone,
    // the rectangle from the anchor (Shift) or toggled (Ctrl). Fixed cells change nothing.
    void UpdateMultiSelect(TBabCell* theCell, TShiftState theShift);
    // Where a move from theCell in theDirection lands: hidden items and group members are
    // stepped over, a focused sub-grid is entered when theDescend is set, and a move that cannot
    // go on inside a sub-grid continues in the grid around it. Null without a cell.
    TBabCell* FindNeighbourCell(TBabCell* theCell, TBabDirection theDirection, bool theDescend);
    // The cell in theCell's column on the first row that is not hidden, walking from theCell's
    // row towards theRow; theCell itself when its row is not in theRows or every row is hidden.
    static TBabCell* ClosestVisibleNeighbour(int theRow, TAxisContentList& theRows, TBabCell* theCell);

    // Results of the last layout pass (vxBabGridLayout.cpp).
    const TRect& GetLaidOutArea() const { return area_; }
    int GetVisibleColumnCount() const { return visibleColumnCount_; }
    int GetVisibleRowCount() const { return visibleRowCount_; }
    bool GetAllColumnsFit() const { return allColumnsFit_; }
    bool GetAllRowsFit() const { return allRowsFit_; }
    int GetFirstPartialColumn() const { return firstPartialColumn_; }

    void CalcVisibleArea(const TRect& theRect);
    void Draw(const TRect& theRect, const TOnDrawBabCell& theDraw);
    static void CellExtents(const TAxisContentItem& theItem, bool theFixed, int& theStop, int& theStart, int theOrigin);
    TPoint GridCoordsFromPix(int x, int y);
    TBabCell* CellFromPix(int x, int y, bool theDeep);
    TPoint GetNotVisibleAcum();

    int Convert_TrueIndexToVisible(TAxisContentList& theList, int i);
    int Convert_VisibleIndexToTrue(TAxisContentList& theList, int v);
    int GetTop_ScrollVal() { return Convert_TrueIndexToVisible(*rows_, top_); }
    int GetLeft_ScrollVal() { return Convert_TrueIndexToVisible(*columns_, left_); }
    void SetTop_ScrollVal(int v) { SetTop(Convert_VisibleIndexToTrue(*rows_, v)); }
    void SetLeft_ScrollVal(int v) { SetLeft(Convert_VisibleIndexToTrue(*columns_, v)); }

    // Notifications from the two axes.
    // n items joined the axis from real index i on.
    void InsertingAxisItem(TAxisContentList& theList, int i, int n = 1);
    void MowingAxisItem(TAxisContentList& theList, int a, int b);
    void DroppingAxisItem(TAxisContentList& theList, int i);
    void ChangeInUnloaded(TAxisContentList& theList);
    // A count-only place vanished with an unloaded item at real index i: what lay behind it
    // moved one place forward, so a scroll position behind it follows.
    void AxisItemVanished(TAxisContentList& theList, int i);

    // Called by a cell being destroyed.
    void ForgetCell(TBabCell* theCell);
    // Cells that became fixed (the fixed count grew, or an item moved among the fixed ones)
    // lose the focus and the selection anchor.
    void LoseFixedFocus();

private:
    TPoint StepPosition(TPoint thePos, TBabDirection theDirection);
    TBabCell* StepWithin(TBabCell* theCell, TBabDirection theDirection);
    void CheckOwnList(const TAxisContentList& theList) const;
    void OnSubCellFocusChange(TSingleEventListener* theListener);

    bool multiSelect_ = true;
    std::unique_ptr<TAxisContentList> columns_;
    std::unique_ptr<TAxisContentList> rows_;
    std::unique_ptr<TCellMatris> matris_;
    std::unique_ptr<TEvent> topLeftEvent_;
    std::unique_ptr<TEvent> focusChangeEvent_;
    int top_ = 0;
    int left_ = 0;
    TRect area_;
    int visibleColumnCount_ = 0;
    int visibleRowCount_ = 0;
    bool allColumnsFit_ = true;
    bool allRowsFit_ = true;
    int firstPartialColumn_ = 0;
    TBabCell* focusedCell_ = nullptr;
    TBabCell* anchor_ = nullptr;
    bool rowSelect_ = false;

protected:
    // Frees the matrix and both axes while the root's callbacks still exist.
    void DestroyContent();
};

class TBabSubGridCell : public TBabGridCell {
public:
    using TBabGridCell::TBabGridCell;
};

// A cell pointer that turns null when the cell is destroyed, for code that holds a cell while
// handlers run or items load (either may free it). Watches live on the stack or in a view.
class TBabCellWatch {
public:
    explicit TBabCellWatch(TBabCell* theCell = nullptr) { Set(theCell); }
    ~TBabCellWatch() { Set(nullptr); }
    TBabCellWatch(const TBabCellWatch&) = delete;
    TBabCellWatch& operator=(const TBabCellWatch&) = delete;

    TBabCell* Get() const { return cell_; }
    void Set(TBabCell* theCell);

private:
    TBabCell* cell_ = nullptr;
    TBabGridCellForViewer* root_ = nullptr;

    friend class TBabGridCellForViewer;
};

class TBabGridCellForViewer : public TBabGridCell {
public:
    TBabGridCellForViewer(TObject* theViewer, TBabCellDataClass theSimpleClass, TBabCellDataClass theGridClass);
    ~TBabGridCellForViewer() override;

    TObject* GetViewer() const { return viewer_; }
    TBabCellDataClass GetSimpleCellDataClass() const { return simpleClass_; }
    TBabCellDataClass GetGridCellDataClass() const { return gridClass_; }

    TEvent& GetSelectionChangedEvent() { return *selectionChanged_; }
    TEvent& GetAxisChangedEvent() { return *axisChanged_; }
    TEvent& GetUserSizeChangedEvent() { return *userSizeChanged_; }

    TOnInternalSelectionChanged OnInternalSelectionChanged;
    TOnCellRectTampering OnCellRectTampering;
    TOnScaleRect OnScaleRect;
    TOnDeInitCell OnDeInitCell;
    TOnCheckCellGrouping OnCheckCellGrouping;
    TOnVirtualLoad OnVirtualLoad;
    TOnVirtualUnLoad OnVirtualUnLoad;
    TOnKeepAfterUnloadCheck OnKeepAfterUnloadCheck;
    TOnUnloadIntervall OnUnloadIntervall;
    TOnDeleteOfUnloaded OnDeleteOfUnloaded;
    TOnCreateCell OnCreateCell;
    TOnMeasureHeight OnMeasureHeight;

    // Called by every cell of the tree on its way out.
    void CellDestroyed(TBabCell* theCell);

private:
    void AddWatch(TBabCellWatch* theWatch) { watches_.push_back(theWatch); }
    void RemoveWatch(TBabCellWatch* theWatch);

    std::vector<TBabCellWatch*> watches_;
    std::unique_ptr<TEvent> selectionChanged_;
    std::unique_ptr<TEvent> axisChanged_;
    std::unique_ptr<TEvent> userSizeChanged_;
    TBabCellDataClass simpleClass_;
    TBabCellDataClass gridClass_;
    TObject* viewer_;

    friend class TBabCellWatch;
};

}  // namespace vxplan
