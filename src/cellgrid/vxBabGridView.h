// TBabGridView_Custom: the control that shows a cell-grid engine tree. It paints through the
// off-screen panel, keeps two scroll bars in step with the root grid's scroll position, scrolls
// with the wheel, lets the user size rows and columns by dragging header borders, draws tree
// buttons and lines, and turns the engine's events into control events. TBabGridView is the
// published component.
//
// Layout is never done by a setter: setters raise one of three flags and invalidate, and the next
// paint does the work (init-pending: fill the root once; hard update: measure again; soft
// update: lay out the visible area and update the scroll bars).
#pragma once

#include <vxplan/cellgrid/vxBabGridContent.h>
#include <vxplan/paint/vxOffscreenPaint.h>
#include <vxplan/platform/controls/vxScrollBar.h>
#include <vxplan/platform/graphics/vxImageList.h>
#include <vxplan/platform/time/vxDateUtils.h>
#include <vxplan/platform/time/vxTimer.h>

#include <memory>
#include <string>
#include <vector>

namespace vxplan {

class TBabGridView_Custom;

// A simple cell's content: its text, and whether the text is a check box state ("TRUE" in any
// letter case is checked).
class TBabSimpleCellStringData : public TBabSimpleCellData {
public:
    using TBabSimpleCellData::TBabSimpleCellData;
    void InitContent() override;
    const std::string& GetString() const { return text_; }
    // With a wrapping layout the cell's height is measured again.
    void SetString(const std::string& theText);
    bool GetIsBoolean() const { return isBoolean_; }
    void SetIsBoolean(bool theValue) { isBoolean_ = theValue; }

private:
    std::string text_;
    bool isBoolean_ = false;
};

// A sub-grid's content: the view's application fills it (OninitSubGridContent).
class TBabSubGridCellData : public TBabGridCellData {
public:
    using TBabGridCellData::TBabGridCellData;
    void InitContent() override;
};

enum class TMMode { mmNone, mmResizeCols, mmResizeRows };
enum class TBabEditorType { babETEdit, babETMemo, babETCombo, babETBool, babETDateTime };

using TOninitSubGridContent = TMethod<void(TBabGridView_Custom* theBabGridView, TBabSubGridCellData* theData)>;
using TOnInitContent = TMethod<void(TBabGridView_Custom* theBabGridView, TBabSimpleCellStringData* theData)>;
using TOnAfterUserSize = TMethod<void(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell, bool theIsHorz,
                                      TAxisContentItem* theAxisContentItem)>;
using TCellEvent = TMethod<void(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell)>;
using TOnUserRenderCell =
    TMethod<void(TBabGridView_Custom* theBabGridView, TCanvas& theCanvas, TBabCell* theBabCell,
                 const std::string& theString, bool theBoolean, bool theIsStringEdit, TBabDrawStateSet theDrawState,
                 const TRect& theDrawRect, bool& aDefaultDraw)>;
using TOnRenderButton =
    TMethod<void(TBabGridView_Custom* theBabGridView, TCanvas& theCanvas, TBabCell* theBabCell, const TRect& theRect)>;
using TOnCellBooleanEvent = TMethod<bool(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell)>;
using TOnCellGetCellEvent = TMethod<TBabCell*(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell)>;
using TOnCellInset = TMethod<int(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell)>;
using TOnChooseEditor = TMethod<void(TBabGridView_Custom* theBabGridView, TBabSimpleCellStringData* theData,
                                     TBabEditorType& EditorChoise)>;
using TOnEditStop = TMethod<void(TBabGridView_Custom* theBabGridView, TComponent* theEditComponent,
                                 TBabSimpleCellStringData* theData, std::string& theText)>;

// A hook every view calls around an edit (see InstallClassEvents).
using TBabEditHook = TMethod<void(TBabGridView_Custom* theBabGridView, TBabCell* theBabCell)>;

class TBabInplaceEditor;
class TBabInplaceComboEditor;
class TBabInplaceMemoEditor;
class TBabInplaceBoolEditor;
class TBabInplaceDateTimeEditor;

class TBabGridView_Custom : public TvxOffscreenPaint, public TBabCellPainter {
public:
    explicit TBabGridView_Custom(TComponent* AOwner = nullptr);
    ~TBabGridView_Custom() override;

    TBabGridCellForViewer& Root() { return *root_; }
    TLayoutProp& DefaultLayoutProp() { return *defaultLayout_; }

    // Fill the root grid at the next paint (OninitSubGridContent with the root's data).
    void Init();
    // Measure everything again at the next paint.
    void RecalcExtents();
    void BeginUpdate() override;
    void EndUpdate() override;

    // The simple cell's text; empty for other cells.
    std::string GetText(TBabCell* theCell) const;
    // EInvalidArgument for a cell that is not a simple cell with text content.
    void SetText(TBabCell* theCell, const std::string& theText);
    // The focused cell's text to the clipboard.
    void Copy();

    // Another control places the vertical bar while hijacked; the grid keeps no room for it.
    void HijackVerticalScroll(bool theValue);
    bool GetVerticalScrollHijacked() const { return hijacked_; }
    TScrollBar& HorzScrollBar() { return *horz_; }
    TScrollBar& VertScrollBar() { return *vert_; }
    bool GridScrollVisibleHorizontal() const { return horz_->GetVisible(); }
    bool GridScrollVisibleVertical() const { return vert_->GetVisible(); }
    virtual int GetFullyVisibleColumns() { return root_->GetVisibleColumnCount(); }
    virtual bool DecideScrollVisible(const TScrollBar& theBar) const;
    void PublicScroll(TScrollDirection theDirection);
    void PossibleScroll(TScrollDirection aDirection) override { PublicScroll(aDirection); }
    void MakeSureFocusedIsVisible();
    // Brings visible index p into view on the bar (see the scroll handlers).
    void SetScrollbarPosition(TScrollBar& theBar, int p);
    // The area the root grid is laid out and drawn in.
    TRect GetDrawRect();

    // --- In-place editing ---
    // Hooks shared by every view: before an edit starts and after it ends (either may be unset).
    static void InstallClassEvents(const TBabEditHook& theBeforeStart, const TBabEditHook& theAfterStop);
    // The cell being edited (null while not editing, or once the cell is gone).
    TBabCell* GetEditCell() const { return editCell_.Get(); }
    TBabEditorType GetEditorType() const { return editorType_; }
    TWinControl* GetActiveEditor() const { return activeEditor_; }
    TBabInplaceEditor& InplaceEdit() { return *editEditor_; }
    TBabInplaceMemoEditor& InplaceMemo() { return *memoEditor_; }
    TBabInplaceComboEditor& InplaceCombo() { return *comboEditor_; }
    TBabInplaceBoolEditor& InplaceBool() { return *boolEditor_; }
    TBabInplaceDateTimeEditor& InplaceDateTime() { return *dateTimeEditor_; }
    // babETBool for a cell whose text is a check box state, else babETEdit; then the chooser.
    TBabEditorType InternalGetEditorType(TBabCell* theCell);
    // The rectangle an editor covers: the cell's visible rectangle without its button section.
    TRect GetEditRect(TBabCell* theCell);
    // The keys every editor hands over first: Escape cancels, Tab and (unless theMultiLine)
    // Enter end the edit, and changing keys are dropped where the cell may not be changed.
    void EditorKeyPress(char32_t& theKey, bool theMultiLine);
    // Toggles a check-box cell's value through its editor without leaving it open.
    void CheckBoxEditWithoutEditMode(TBabCell* theCell);
    bool IsCheckBoxCell(TBabCell* theCell);
    // The platform's date conversion, also for short date formats that spell the month.
    static TDateTime SafeStrToDate(const std::string& theText);

    // --- Published properties ---
    bool GetEditing() const { return editing_; }
    bool GetRowSelect() const { return root_->GetRowSelect(); }
    void SetRowSelect(bool v);
    bool GetMultiSelect() const { return root_->GetMultiSelect(); }
    void SetMultiSelect(bool v);
    bool GetAutoEditMode() const { return autoEditMode_; }
    void SetAutoEditMode(bool v) { autoEditMode_ = v; }
    TCustomImageList* GetImageList() const { return imageList_; }
    void SetImageList(TCustomImageList* theImageList);
    TOnCreateCell GetOnCreateCell() const { return root_->OnCreateCell; }
    void SetOnCreateCell(const TOnCreateCell& theEvent) { root_->OnCreateCell = theEvent; }
    bool GetFocusRect_Cell() const override { return focusRectCell_; }
    void SetFocusRect_Cell(bool v);
    bool GetFocusRect_Grid() const { return focusRectGrid_; }
    void SetFocusRect_Grid(bool v);
    bool GetStopEditOnFocusChange() const { return stopEditOnFocusChange_; }
    void SetStopEditOnFocusChange(bool v) { stopEditOnFocusChange_ = v; }
    bool GetShowLinesTree() const { return showLinesTree_; }
    void SetShowLinesTree(bool v);
    TCursor GetCursorGrid() const { return cursorGrid_; }
    void SetCursorGrid(TCursor theCursor);

    TOninitSubGridContent OninitSubGridContent;
    TOnInitContent OnInitContent;
    TOnChooseEditor OnChooseEditor;
    TOnEditStop OnEditStop;
    TOnAfterUserSize OnAfterUserSize;
    TNotifyEvent OnTopLeftChanged;
    TNotifyEvent OnSelectionChanged;
    TCellEvent OnBeforeRenderCell;
    TOnUserRenderCell OnUserRenderCell;
    TOnVirtualLoad OnVirtualLoad;
    TOnVirtualUnLoad OnVirtualUnLoad;

    // Hooks for the data grid and the Gantt chart.
    TOnCellBooleanEvent OnCellHasButton;
    TOnRenderButton OnRenderButton;
    TNotifyEvent OnScrollVisibilityChanged;
    TOnCellInset OnCellInset;
    TOnCellBooleanEvent OnIsButtonExpanded;
    TOnCellBooleanEvent OnIsButtonTerminal;
    TOnCellGetCellEvent OnGetParentButtonCell;
    TOnCellBooleanEvent OnButtonHasNonHiddenChildren;
    TNotifyEvent OnGridResize;
    TOnCellBooleanEvent OnEditorCanModify;
    TCellEvent OnRightClick;
    TCellEvent OnCellSelectionChanged;
    TNotifyEvent OnAxisChanged;
    TCellEvent OnButtonClick;

    // --- State the mouse and the data grid share ---
    TMMode GetMouseMode() const { return mouseMode_; }
    TBabCell* GetResizeCell() const { return resizeCell_; }
    // The tracking line drawn last while resizing; kNoRect when none.
    const TRect& GetTrackingLine() const { return trackLine_; }
    TBabCell* GetSortCell() const override { return sortCell_; }
    bool GetSortDirection() const override { return sortDirection_; }
    TBabCell* GetDragCell() const { return dragCell_; }
    bool GetDragCandidate() const { return dragCandidate_; }
    TTimer& SlowStartTimer() { return *slowStart_; }
    const std::vector<TBabCell*>& RenderedButtonCells() const { return renderedButtons_; }

    // The resize zone at a client point, starting at the root (the innermost grid wins).
    bool InResizeZone(int x, int y, TBabCell*& theCell, bool& theIsHorz);
    void DoResize(int theDelta, TBabCell* theCell, bool theIsHorz);

    // --- Virtual operations ---
    virtual void OnCellDeInit(TBabCell* theCell);
    virtual bool GetExpandLastColumnIfShort() { return false; }
    virtual void FocusChanged(TBabCell*) {}
    virtual void SetGridCursor(TCursor theCursor);
    virtual void HardViewParamsUpdate();
    virtual void SoftViewParamsUpdate();
    virtual void TopLeftChanged();
    virtual void DoGridResize();
    virtual void UserSizeChanged(TAxisContentItem*) {}
    virtual void DoButtonAction(TBabCell* theCell);
    virtual bool IsButtonExpanded(TBabCell* theCell);
    virtual bool IsButtonTerminal(TBabCell* theCell);
    virtual TBabCell* GetParentButtonCell(TBabCell* theCell);
    virtual bool ButtonHasNonHiddenChildren(TBabCell* theCell);
    // A button is drawn for a cell that is not terminal and has children to show.
    bool NeedsRenderedButton(TBabCell* theCell);
    int CellInset(TBabCell* theCell) override;
    bool CellHasButton(TBabCell* theCell) override;
    virtual void OnAxisChange(TSingleEventListener* theListener);
    virtual void OnTopLeftChangeEvent(TSingleEventListener* theListener);
    virtual void OnFocusedCellChange(TSingleEventListener* theListener);
    virtual void _OnMeasureHeight(TBabGridCellForViewer* theRoot, TBabCell* theCell, int& theHeight);
    virtual bool _OnCheckCellGrouping(TBabCell*, TBabCell*) { return false; }
    virtual void _OnVirtualLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn);
    virtual void _OnVirtualUnLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn,
                                  bool UnloadPerform, bool& CanUnload);
    virtual void _OnKeepAfterUnLoad(TBabGridCell*, TAxisContentItem*, bool, bool& KeepAfterUnload);
    virtual void _OnUnloadIntervall(TBabGridCell*, TAxisContentItem*, bool, int&, int&) {}
    virtual void _OnDeleteOfUnloaded(TBabGridCell*, bool, int&, int&) {}
    virtual void InitEditor(TWinControl* theEditor, TBabCell* theCell, std::string& theText);
    virtual void DeInitEditor(TWinControl* theEditor, TBabCell* theCell, std::string& theText, bool theCancelled);
    virtual bool EditorCanModify(TBabCell* theCell);
    virtual bool EditorValidKey(char32_t) { return true; }
    // Whether a press at (x, y) lies in the sort zone of the header cell (the data grid's rule).
    virtual bool CheckSortAllow(TBabCell*, int, int) { return false; }
    virtual void DoSortCell(TBabCell*, bool) {}
    virtual void initSubGridContent(TBabSubGridCellData* theData);
    virtual void InitContent(TBabSimpleCellStringData* theData);
    void PreDrawGetStringAndSetAttributes(TBabCell* theCell, std::string& theText, bool& theIsText,
                                          bool& theChecked) override;
    virtual int GetWidthOffAxisContentItemForHeightCalculation(TBabGridCell* theGridCell, TAxisContentItem* theColumn);
    virtual void StartEditing();
    virtual void StopEditing();
    virtual void BreakEditing();
    // Moves the focus from the root's focused cell in theDirection and applies the selection
    // rule of theShift to the cell it lands on.
    virtual void Scroll(TBabDirection theDirection, TShiftState theShift);

    void WndProc(TMessage& message) override;
    void OffscreenPaint() override;

protected:
    TBabGridView_Custom(TComponent* AOwner, TBabCellDataClass theSimpleClass, TBabCellDataClass theGridClass);

    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void DblClick() override;
    void DoEndDrag(TObject* Target, int X, int Y) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void Resize() override;
    void Notification(TComponent* component, TOperation operation) override;

    // --- Painter hooks ---
    TCanvas& PaintCanvas() override { return GetOffscreenCanvas(); }
    bool PaintIsPrinting() const override { return GetIsPrinting(); }
    bool PaintHasPrintingCanvas() const override { return GetAssignedPrintingCanvas(); }
    bool PaintHasFocus() const override;
    double PaintScaleX() const override { return GetPrintScalex(); }
    double PaintScaleY() const override { return GetPrintScaley(); }
    const TFont* PaintControlFont() const override { return &Font(); }
    void PaintResizeFontForPrinter() override { PrintResizeFont(); }
    int ImageListWidth() const override { return imageList_ ? imageList_->GetWidth() : -1; }
    void DrawCellIcon(TCanvas& theCanvas, const TRect& theDest, int theIndex, bool theStretched) override;
    void ButtonRendered(TBabCell* theCell) override { renderedButtons_.push_back(theCell); }
    void UserRenderCell(TCanvas& theCanvas, TBabCell* theCell, const std::string& theText, bool theChecked,
                        bool theIsText, TBabDrawStateSet theState, const TRect& theRect, bool& theDefaultDraw) override;

    void UpdateScrollbars();
    void DrawButtonsAndLines();
    // Raises OnChooseEditor; the data grid chooses by the column's kind.
    virtual void ChooseEditor(TBabSimpleCellStringData* theData, TBabEditorType& theType);

private:
    void Construct(TBabCellDataClass theSimpleClass, TBabCellDataClass theGridClass);
    void DrawBabCell(const TRect& theDrawRect, TBabCell* theCell, TBabDrawStateSet theState);
    void OnUserSizeChangedEvent(TSingleEventListener* theListener);
    void OnSelectionChangedEvent(TSingleEventListener* theListener);
    void OnHorzScroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos);
    void OnVertScroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos);
    void ScrollHandler(TScrollBar& theBar, int& thePos, bool theVertical);
    // Sets one bar's range, page and position; true when its visibility changed.
    bool UpdateOneBar(TScrollBar& theBar, bool theVertical);
    void PlaceScrollbars();
    void MakeSureFocusedIsVisible_Async(TObject*);
    // The type-ahead search for the characters typed so far, run after the key's message.
    void NavigateKey_Async(TObject*);
    // The cell in theColumn on the first row in view: before the first layout the scroll
    // position may still lie on the fixed rows.
    TBabCell* TopCellInView(int theColumn);
    void CreateEditors();
    void PrepareEditor(TBabCell* theCell, const std::string& theText);
    void CheckEditLayout(TWinControl& theEditor, TBabCell* theCell);
    std::string EditorText() const;
    void StopAllEditors();
    // StopEditing (commit) and BreakEditing (cancel).
    void EndEdit(bool theCancelled);
    // Ends the edit of a cell on its way out: nothing is stored.
    void ForgetEdit();
    void PassCharacterToEditor(char32_t theKey);
    void FeedTypeAhead(char32_t theKey);
    // Focus and selection of a press that is not in a resize zone.
    void SelectOnPress(TMouseButton theButton, TShiftState theShift, int x, int y);
    bool InFocusedButtonZone(int x, int y);
    // A press in automatic drag mode: handled as a click, then the drag armed. False for
    // every other message.
    bool HandleAutomaticDrag(TMessage& message);
    void OnSlowStartTimer(TObject*);
    void DrawTrackingLine(const TRect& theLine);
    void EndResizeTracking();
    bool InResizeZoneOf(TBabGridCell& theGrid, int x, int y, TBabCell*& theCell, bool& theIsHorz);

    std::unique_ptr<TBabGridCellForViewer> root_;
    TBabInplaceEditor* editEditor_ = nullptr;
    TBabInplaceMemoEditor* memoEditor_ = nullptr;
    TBabInplaceComboEditor* comboEditor_ = nullptr;
    TBabInplaceBoolEditor* boolEditor_ = nullptr;
    TBabInplaceDateTimeEditor* dateTimeEditor_ = nullptr;
    TWinControl* activeEditor_ = nullptr;
    bool editing_ = false;
    TBabCellWatch editCell_;
    TBabEditorType editorType_ = TBabEditorType::babETEdit;
    bool stoppingEdit_ = false;
    bool toggleOnly_ = false;
    TScrollBar* horz_ = nullptr;
    TScrollBar* vert_ = nullptr;
    std::unique_ptr<TLayoutProp> defaultLayout_;
    std::vector<TBabCell*> renderedButtons_;
    std::vector<std::unique_ptr<TSingleEventListener>> listeners_;
    bool initPending_ = false;
    bool hardUpdate_ = false;
    bool softUpdate_ = false;
    bool hijacked_ = false;
    TMMode mouseMode_ = TMMode::mmNone;
    TPoint mouseDown_;
    TBabCell* resizeCell_ = nullptr;
    TRect trackLine_ = kNoRect;
    bool dragCandidate_ = false;
    TBabCell* dragCell_ = nullptr;
    TShiftState dragShift_;
    std::string typeAhead_;
    TDateTime lastTypedKey_ = 0;
    TBabCell* sortCell_ = nullptr;
    bool sortDirection_ = false;
    TTimer* slowStart_ = nullptr;
    TPoint slowStartPoint_;
    TPoint lastMouse_;
    TCursor cursorGrid_ = crDefault;
    TCustomImageList* imageList_ = nullptr;
    bool autoEditMode_ = false;
    bool focusRectCell_ = true;
    bool focusRectGrid_ = true;
    bool stopEditOnFocusChange_ = true;
    bool showLinesTree_ = true;
    // Set while the view itself lays out (loads and purges then need no new measuring).
    bool layingOut_ = false;
};

// The published component.
class TBabGridView : public TBabGridView_Custom {
public:
    explicit TBabGridView(TComponent* AOwner = nullptr) : TBabGridView_Custom(AOwner) {}
};

}  // namespace vxplan
