// The grid view: construction, content classes, properties, texts and the engine's notifications.
#include <vxplan/cellgrid/vxBabGridView.h>

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>

namespace vxplan {

namespace {

TBabGridView_Custom* ViewerOf(const TBabCellData& theData)
{
    TBabCell* cell = theData.GetCell();
    if (!cell || !cell->GetRoot()) return nullptr;
    return dynamic_cast<TBabGridView_Custom*>(cell->GetRoot()->GetViewer());
}

}  // namespace

// --- Content classes -------------------------------------------------------------------------

void TBabSimpleCellStringData::InitContent()
{
    if (TBabGridView_Custom* view = ViewerOf(*this)) view->InitContent(this);
}

void TBabSimpleCellStringData::SetString(const std::string& theText)
{
    text_ = theText;
    TBabCell* cell = GetCell();
    if (cell && cell->GetLayoutProp() && cell->GetLayoutProp()->WrapTextAndFit) {
        cell->SetCalculatedHeight(0);
        if (TBabGridView_Custom* view = ViewerOf(*this)) view->RecalcExtents();
    }
}

void TBabSubGridCellData::InitContent()
{
    if (TBabGridView_Custom* view = ViewerOf(*this)) view->initSubGridContent(this);
}

// --- Construction ----------------------------------------------------------------------------

TBabGridView_Custom::TBabGridView_Custom(TComponent* AOwner)
    : TBabGridView_Custom(AOwner, &CreateBabCellDataOf<TBabSimpleCellStringData>,
                          &CreateBabCellDataOf<TBabSubGridCellData>)
{
    SetBorderStyle(TBorderStyle::bsSingle);
    SetBevelInner(TBevelCut::bvNone);
    SetBevelOuter(TBevelCut::bvNone);
    SetColor(clWindow);
}

TBabGridView_Custom::TBabGridView_Custom(TComponent* AOwner, TBabCellDataClass theSimpleClass,
                                         TBabCellDataClass theGridClass)
    : TvxOffscreenPaint(AOwner)
{
    Construct(theSimpleClass, theGridClass);
}

void TBabGridView_Custom::Construct(TBabCellDataClass theSimpleClass, TBabCellDataClass theGridClass)
{
    defaultLayout_ = std::make_unique<TLayoutProp>();
    defaultLayout_->MinWidth = 20;
    defaultLayout_->MinHeight = 20;
    defaultLayout_->FrontColor = clBlack;
    defaultLayout_->BackColor = clWindow;
    defaultLayout_->UseFontInfo = false;

    root_ = std::make_unique<TBabGridCellForViewer>(this, theSimpleClass, theGridClass);
    auto listen = [this](TEvent& theEvent, void (TBabGridView_Custom::*theMember)(TSingleEventListener*)) {
        listeners_.push_back(
            std::make_unique<TSingleEventListener>(&theEvent, TListenerCallback(this, theMember), false));
    };
    listen(root_->GetAxisChangedEvent(), &TBabGridView_Custom::OnAxisChange);
    listen(root_->GetTopLeftEvent(), &TBabGridView_Custom::OnTopLeftChangeEvent);
    listen(root_->GetFocusChangeEvent(), &TBabGridView_Custom::OnFocusedCellChange);
    listen(root_->GetUserSizeChangedEvent(), &TBabGridView_Custom::OnUserSizeChangedEvent);
    listen(root_->GetSelectionChangedEvent(), &TBabGridView_Custom::OnSelectionChangedEvent);

    horz_ = new TScrollBar(this);
    vert_ = new TScrollBar(this);
    vert_->SetKind(TScrollBarKind::sbVertical);
    for (TScrollBar* bar : {horz_, vert_}) {
        bar->SetTabStop(false);
        bar->SetVisible(false);
        bar->SetParent(this);
    }
    horz_->OnScroll = TScrollEvent(this, &TBabGridView_Custom::OnHorzScroll);
    vert_->OnScroll = TScrollEvent(this, &TBabGridView_Custom::OnVertScroll);
    hardUpdate_ = true;
    softUpdate_ = true;

    root_->OnMeasureHeight = TOnMeasureHeight(this, &TBabGridView_Custom::_OnMeasureHeight);
    root_->OnCellRectTampering = TOnCellRectTampering(static_cast<TBabCellPainter*>(this), &TBabCellPainter::CellRectTampering);
    root_->OnScaleRect = [this](TRect& r) { ScaleRect(r); };
    root_->OnCheckCellGrouping = TOnCheckCellGrouping(this, &TBabGridView_Custom::_OnCheckCellGrouping);
    root_->OnVirtualLoad = TOnVirtualLoad(this, &TBabGridView_Custom::_OnVirtualLoad);
    root_->OnVirtualUnLoad = TOnVirtualUnLoad(this, &TBabGridView_Custom::_OnVirtualUnLoad);
    root_->OnKeepAfterUnloadCheck = TOnKeepAfterUnloadCheck(this, &TBabGridView_Custom::_OnKeepAfterUnLoad);
    root_->OnUnloadIntervall = TOnUnloadIntervall(this, &TBabGridView_Custom::_OnUnloadIntervall);
    root_->OnDeleteOfUnloaded = TOnDeleteOfUnloaded(this, &TBabGridView_Custom::_OnDeleteOfUnloaded);
    root_->OnDeInitCell = TOnDeInitCell(this, &TBabGridView_Custom::OnCellDeInit);

    CreateEditors();
    slowStart_ = new TTimer(this);
    slowStart_->SetEnabled(false);
    slowStart_->SetInterval(750);
    slowStart_->SetOnTimer(TNotifyEvent(this, &TBabGridView_Custom::OnSlowStartTimer));
    Invalidate();
}

TBabGridView_Custom::~TBabGridView_Custom()
{
    BeginDestroy();
    TDoLater::NeverMind(TDoLaterCall(this, &TBabGridView_Custom::MakeSureFocusedIsVisible_Async));
    TDoLater::NeverMind(TDoLaterCall(this, &TBabGridView_Custom::NavigateKey_Async));
    // The cells go first: each tells OnCellDeInit, which still finds the view whole.
    listeners_.clear();
    root_.reset();
    if (imageList_) imageList_->RemoveFreeNotification(this);
    imageList_ = nullptr;
    DestroyComponents();
    horz_ = vert_ = nullptr;
    slowStart_ = nullptr;
    editEditor_ = nullptr;
    memoEditor_ = nullptr;
    comboEditor_ = nullptr;
    boolEditor_ = nullptr;
    dateTimeEditor_ = nullptr;
}

// --- Flags and content -----------------------------------------------------------------------

void TBabGridView_Custom::Init()
{
    initPending_ = true;
    Invalidate();
}

void TBabGridView_Custom::RecalcExtents()
{
    hardUpdate_ = true;
    Invalidate();
}

void TBabGridView_Custom::BeginUpdate()
{
    TvxOffscreenPaint::BeginUpdate();
    root_->BeginUpdate();
}

void TBabGridView_Custom::EndUpdate()
{
    root_->EndUpdate();
    TvxOffscreenPaint::EndUpdate();
}

void TBabGridView_Custom::initSubGridContent(TBabSubGridCellData* theData)
{
    if (OninitSubGridContent) OninitSubGridContent(this, theData);
}

void TBabGridView_Custom::InitContent(TBabSimpleCellStringData* theData)
{
    TBabCell* cell = theData->GetCell();
    if (cell && !cell->IsGridCell() && !cell->GetIsFixed()) cell->SetLayoutProp(defaultLayout_.get());
    if (OnInitContent) OnInitContent(this, theData);
}

std::string TBabGridView_Custom::GetText(TBabCell* theCell) const
{
    if (!theCell || theCell->IsGridCell()) return {};
    auto* data = dynamic_cast<TBabSimpleCellStringData*>(theCell->GetCellData());
    return data ? data->GetString() : std::string();
}

void TBabGridView_Custom::SetText(TBabCell* theCell, const std::string& theText)
{
    auto* data = theCell && !theCell->IsGridCell() ? dynamic_cast<TBabSimpleCellStringData*>(theCell->GetCellData())
                                                   : nullptr;
    if (!data) throw EInvalidArgument("SetText needs a simple cell with text content");
    data->SetString(theText);
    Invalidate();
}

void TBabGridView_Custom::Copy()
{
    TBabCell* focused = root_->GetFocusedCellDownTrack();
    if (focused) Clipboard().SetAsText(GetText(focused));
}

// --- Properties ------------------------------------------------------------------------------

void TBabGridView_Custom::SetRowSelect(bool v)
{
    root_->SetRowSelect(v);
    Invalidate();
}

void TBabGridView_Custom::SetMultiSelect(bool v)
{
    root_->SetMultiSelect(v);
    Invalidate();
}

void TBabGridView_Custom::SetImageList(TCustomImageList* theImageList)
{
    if (imageList_ == theImageList) return;
    if (imageList_) imageList_->RemoveFreeNotification(this);
    imageList_ = theImageList;
    if (imageList_) imageList_->FreeNotification(this);
    RecalcExtents();
}

void TBabGridView_Custom::Notification(TComponent* component, TOperation operation)
{
    TvxOffscreenPaint::Notification(component, operation);
    if (operation == TOperation::opRemove && component == imageList_) {
        imageList_ = nullptr;
        if (!IsDestroying()) RecalcExtents();
    }
}

void TBabGridView_Custom::SetFocusRect_Cell(bool v)
{
    focusRectCell_ = v;
    Invalidate();
}

void TBabGridView_Custom::SetFocusRect_Grid(bool v)
{
    focusRectGrid_ = v;
    Invalidate();
}

void TBabGridView_Custom::SetShowLinesTree(bool v)
{
    showLinesTree_ = v;
    Invalidate();
}

void TBabGridView_Custom::SetCursorGrid(TCursor theCursor)
{
    if (!IsKnownCursor(theCursor)) throw EInvalidArgument("Unknown cursor " + std::to_string(theCursor));
    cursorGrid_ = theCursor;
    SetGridCursor(theCursor);
}

void TBabGridView_Custom::SetGridCursor(TCursor theCursor)
{
    if (GetCursor() != theCursor) SetCursor(theCursor);
}

// --- Callbacks of the root -------------------------------------------------------------------

void TBabGridView_Custom::OnCellDeInit(TBabCell* theCell)
{
    // Whatever the view remembers of a cell must not outlive it.
    if (theCell == editCell_.Get()) ForgetEdit();
    if (theCell == dragCell_) {
        dragCell_ = nullptr;
        dragCandidate_ = false;
    }
    if (theCell == sortCell_) sortCell_ = nullptr;
    if (theCell == resizeCell_) {
        // No drawing here: the cell is on its way out of the lists, so a paint now would lay
        // out what is being removed. The next paint wipes the tracking line.
        mouseMode_ = TMMode::mmNone;
        resizeCell_ = nullptr;
        trackLine_ = kNoRect;
        if (!IsDestroying()) Invalidate();
    }
    std::erase(renderedButtons_, theCell);
}

void TBabGridView_Custom::_OnVirtualLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn)
{
    if (OnVirtualLoad) OnVirtualLoad(theCaller, theItem, theRowNotColumn);
}

void TBabGridView_Custom::_OnVirtualUnLoad(TBabGridCell* theCaller, TAxisContentItem* theItem, bool theRowNotColumn,
                                           bool UnloadPerform, bool& CanUnload)
{
    if (OnVirtualUnLoad) OnVirtualUnLoad(theCaller, theItem, theRowNotColumn, UnloadPerform, CanUnload);
}

void TBabGridView_Custom::_OnKeepAfterUnLoad(TBabGridCell*, TAxisContentItem*, bool, bool& KeepAfterUnload)
{
    KeepAfterUnload = true;
}

bool TBabGridView_Custom::EditorCanModify(TBabCell* theCell)
{
    return OnEditorCanModify ? OnEditorCanModify(this, theCell) : true;
}

// --- Notifications from the engine ------------------------------------------------------------

void TBabGridView_Custom::OnAxisChange(TSingleEventListener*)
{
    StopEditing();
    // Items the layout loads or purges as it goes are measured in that same pass.
    if (!layingOut_) hardUpdate_ = true;
    if (OnAxisChanged) OnAxisChanged(this);
    if (!layingOut_) Invalidate();
}

void TBabGridView_Custom::OnTopLeftChangeEvent(TSingleEventListener*) { TopLeftChanged(); }

void TBabGridView_Custom::TopLeftChanged()
{
    if (GetIsPrinting()) return;
    softUpdate_ = true;
    if (OnTopLeftChanged) OnTopLeftChanged(this);
    Invalidate();
}

void TBabGridView_Custom::OnFocusedCellChange(TSingleEventListener*)
{
    StopEditing();
    const TDoLaterCall call(this, &TBabGridView_Custom::MakeSureFocusedIsVisible_Async);
    if (!TDoLater::AlreadyInList(call, nullptr)) TDoLater::DoLater(call, nullptr);
    if (OnTopLeftChanged) OnTopLeftChanged(this);
    Invalidate();
    FocusChanged(root_->GetFocusedCell());
}

void TBabGridView_Custom::MakeSureFocusedIsVisible_Async(TObject*)
{
    if (IsDestroying()) return;
    Invalidate();
    MakeSureFocusedIsVisible();
}

void TBabGridView_Custom::OnUserSizeChangedEvent(TSingleEventListener* theListener)
{
    UserSizeChanged(dynamic_cast<TAxisContentItem*>(theListener->LastParam()));
}

void TBabGridView_Custom::OnSelectionChangedEvent(TSingleEventListener* theListener)
{
    auto* cell = dynamic_cast<TBabCell*>(theListener->LastParam());
    Invalidate();
    if (OnCellSelectionChanged) OnCellSelectionChanged(this, cell);
    if (OnSelectionChanged) OnSelectionChanged(this);
}

void TBabGridView_Custom::DoGridResize()
{
    softUpdate_ = true;
    Invalidate();
    if (OnGridResize) OnGridResize(this);
}

void TBabGridView_Custom::Resize()
{
    TvxOffscreenPaint::Resize();
    if (root_) DoGridResize();
}

// --- Tree buttons ----------------------------------------------------------------------------

void TBabGridView_Custom::DoButtonAction(TBabCell* theCell)
{
    if (OnButtonClick) OnButtonClick(this, theCell);
}

bool TBabGridView_Custom::IsButtonExpanded(TBabCell* theCell)
{
    return OnIsButtonExpanded ? OnIsButtonExpanded(this, theCell) : false;
}

bool TBabGridView_Custom::IsButtonTerminal(TBabCell* theCell)
{
    return OnIsButtonTerminal ? OnIsButtonTerminal(this, theCell) : false;
}

TBabCell* TBabGridView_Custom::GetParentButtonCell(TBabCell* theCell)
{
    return OnGetParentButtonCell ? OnGetParentButtonCell(this, theCell) : nullptr;
}

bool TBabGridView_Custom::ButtonHasNonHiddenChildren(TBabCell* theCell)
{
    return OnButtonHasNonHiddenChildren ? OnButtonHasNonHiddenChildren(this, theCell) : true;
}

bool TBabGridView_Custom::NeedsRenderedButton(TBabCell* theCell)
{
    return !IsButtonTerminal(theCell) && ButtonHasNonHiddenChildren(theCell);
}

int TBabGridView_Custom::CellInset(TBabCell* theCell) { return OnCellInset ? OnCellInset(this, theCell) : 0; }

bool TBabGridView_Custom::CellHasButton(TBabCell* theCell)
{
    return OnCellHasButton ? OnCellHasButton(this, theCell) : false;
}

}  // namespace vxplan
