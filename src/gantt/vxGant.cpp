// The chart: construction and layout, the time-item controller's handlers, and the operations
// a host uses on items and links.
#include <vxplan/gantt/vxGant.h>

#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/gantt/vxGantBackground_p.h>
#include <vxplan/gantt/vxGantTree.h>
#include <vxplan/paint/vxGraphHintWindow.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/time/vxTimer.h>
#include <vxplan/scaler/vxScaler.h>

#include <algorithm>
#include <cmath>

namespace vxplan {

// ---- TvxOffscreenPaint_GA ----

TvxOffscreenPaint_GA::TvxOffscreenPaint_GA(TComponent* AOwner, TvxGant_ComBasic* theGant)
    : TvxOffscreenPaint(AOwner), fGant(theGant)
{
}

void TvxOffscreenPaint_GA::OffscreenPaint()
{
    if (fGant) fGant->GantAreaPaint(this);
    TvxOffscreenPaint::OffscreenPaint();
}

void TvxOffscreenPaint_GA::WndProc(TMessage& message)
{
    // Something took the mouse away (a menu, a dialog): the drag ends unapplied.
    if (message.Msg == WM_CANCELMODE && fGant) fGant->CancelMouseOperation();
    TvxOffscreenPaint::WndProc(message);
}

void TvxOffscreenPaint_GA::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (fGant) fGant->GantAreaMouseDown(this, button, shift, x, y);
    TvxOffscreenPaint::MouseDown(button, shift, x, y);
}

void TvxOffscreenPaint_GA::MouseMove(TShiftState shift, int x, int y)
{
    if (fGant) fGant->GantAreaMouseMove(this, shift, x, y);
    TvxOffscreenPaint::MouseMove(shift, x, y);
}

void TvxOffscreenPaint_GA::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (fGant) fGant->GantAreaMouseUp(this, button, shift, x, y);
    TvxOffscreenPaint::MouseUp(button, shift, x, y);
}

void TvxOffscreenPaint_GA::DblClick()
{
    if (fGant) fGant->OnGADblClick(this);
    TvxOffscreenPaint::DblClick();
}

// The host may take the area's own drag events; the chart's handling applies where it does not.
void TvxOffscreenPaint_GA::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    TvxOffscreenPaint::DragOver(Source, X, Y, State, Accept);
    if (fGant && !OnDragOver) fGant->GantAreaDragOver(this, Source, X, Y, State, Accept);
}

void TvxOffscreenPaint_GA::DragDrop(TObject* Source, int X, int Y)
{
    TvxOffscreenPaint::DragDrop(Source, X, Y);
    if (fGant) fGant->GantAreaDragDrop(this, Source, X, Y);
}

void TvxOffscreenPaint_GA::DoStartDrag(TDragObject*& DragObject)
{
    if (fGant) fGant->GantAreaStartDrag(this, DragObject);
    TvxOffscreenPaint::DoStartDrag(DragObject);
}

void TvxOffscreenPaint_GA::DoEndDrag(TObject* Target, int X, int Y)
{
    if (fGant) fGant->GantAreaEndDrag(this, Target, X, Y);
    TvxOffscreenPaint::DoEndDrag(Target, X, Y);
}

void TvxOffscreenPaint_GA::KeyDown(uint16_t& key, TShiftState shift)
{
    if (key == VK_ESCAPE && fGant && fGant->GetMouseMoveMode() != TGantMouseMoveMode::mmNone) {
        fGant->CancelMouseOperation();
        key = 0;
        return;
    }
    TvxOffscreenPaint::KeyDown(key, shift);
}

// ---- Construction ----

TvxGant_ComBasic::TvxGant_ComBasic(TComponent* AOwner) : TCustomPanel(AOwner) { InitializeInConstructor(); }

TvxGant_ComBasic::TvxGant_ComBasic(TComponent* AOwner, TDeferInitialize) : TCustomPanel(AOwner) {}

void TvxGant_ComBasic::InitializeInConstructor() { Initialize(); }

void TvxGant_ComBasic::Initialize()
{
    ReInitBitmap(fPattern, fGantBackColor, fGantPyjamasColor);
    fRowList = CreateRowList();
    fAllDataLists = CreateDataList3Lev();
    fAllDataLists->AfterCreate();

    fItemController = new TvxListController;
    fItemController->OnInsertItem = TOnDataEntityNotify(this, &TvxGant_ComBasic::_InsertItem);
    fItemController->OnDeleteItem = TOnDataEntityNotify(this, &TvxGant_ComBasic::_DeleteItem);
    fItemController->OnContentChanged = TOnDataListNotify(this, &TvxGant_ComBasic::_ContentChanged);
    fItemController->OnSelectionChanged = TOnDataListDataEntityNotify(this, &TvxGant_ComBasic::_SelectionChanged);
    fItemController->OnInfoPush = TOnDataEntityNotify(this, &TvxGant_ComBasic::_InfoPush);
    fItemController->OnBeforeCanEditItem = TOnDataEntityNotify(this, &TvxGant_ComBasic::_OnBeforeCanEditItem);
    fItemController->OnLoadItem = TOnDataEntityNotify(this, &TvxGant_ComBasic::_LoadItem);
    fItemController->OnUnloadItem = TOnDataEntityUnloadNotify(this, &TvxGant_ComBasic::_UnloadItem);
    fItemController->OnEnterOwnerAfterChange = TOnDataEntityNotify(this, &TvxGant_ComBasic::_EnterOwnerAfterChange);

    // Links report only coming and going, for the paint's index; the chart repaints when their
    // ends or options change.
    fLinkController = new TvxListController;
    fLinkController->OnInsertItem = TOnDataEntityNotify(this, &TvxGant_ComBasic::LinkListChanged);
    fLinkController->OnDeleteItem = TOnDataEntityNotify(this, &TvxGant_ComBasic::LinkListChanged);
    fLinkController->OnContentChanged = TOnDataListNotify(this, &TvxGant_ComBasic::LinkListContentChanged);
    fLinkList = CreateLinkList();
    if (auto* links = dynamic_cast<TvxDataList_GantLinks*>(fLinkList)) links->SetGant(this);
    fLinkList->AfterCreate(fLinkController, fLinkClass);

    SetBounds(GetLeft(), GetTop(), 350, 250);
    SetCaption("OffscreenPaint");

    // Left: the tree under a corner panel as high as the scaler, so tree rows and area rows share
    // their y coordinates. Right: the scaler over the area.
    fTreePanel = new TPanel(this);
    fTreePanel->SetParent(this);
    fTreePanel->SetBounds(1, 1, 100, GetHeight() - 2);
    fTreePanel->SetAlign(TAlign::alLeft);
    fTreePanel->SetBevelOuter(TBevelCut::bvNone);
    fTreePanel->SetCaption("");

    fCornerPanel = new TPanel(this);
    fCornerPanel->SetParent(fTreePanel);
    fCornerPanel->SetHeight(45);
    fCornerPanel->SetAlign(TAlign::alTop);
    fCornerPanel->SetBevelOuter(TBevelCut::bvNone);
    fCornerPanel->SetCaption("");

    fTree = CreateTree();
    fTree->SetName("Treeview");
    fTree->SetParent(fTreePanel);
    fTree->SetTop(41);
    fTree->SetAlign(TAlign::alClient);
    fTree->SetBorderStyle(TBorderStyle::bsNone);
    fTree->SetMultiSelect(true);

    fHolderPanel = new TPanel(this);
    fHolderPanel->SetParent(this);
    fHolderPanel->SetLeft(100);
    fHolderPanel->SetAlign(TAlign::alClient);
    fHolderPanel->SetBevelOuter(TBevelCut::bvNone);
    fHolderPanel->SetCaption("PanelScaleAndGantHolder");

    fScaler = CreateDateScaler();
    fScaler->SetName("DateScaler");
    fScaler->SetParent(fHolderPanel);
    fScaler->SetHeight(45);
    fScaler->SetAlign(TAlign::alTop);
    fScaler->SetHorizontal(true);
    const TDateTime today = std::floor(Date());
    fScaler->SetStart(today - 15);
    fScaler->SetStop(today + 15);
    fScaler->SetTimeFormat("HH:MM:SS");
    fScaler->SetDateFormat("YYMMDD");
    fScaler->OnChange = TNotifyEvent(this, &TvxGant_ComBasic::InvalidateGA);

    fGA = new TvxOffscreenPaint_GA(this, this);
    fGA->SetName("GanttArea");
    fGA->SetParent(fHolderPanel);
    fGA->SetTop(41);
    fGA->SetAlign(TAlign::alClient);
    fGA->SetTabStop(true);

    // The move hint sits over the corner panel, above the tree.
    fHint = new TGraphHintWindow(this);
    fHint->StaticPos = true;
    fHint->StaticLeft = 1;
    fHint->StaticTop = 1;
    fHint->StaticWidth = fCornerPanel->GetWidth();
    fHint->StaticHeight = fCornerPanel->GetHeight();
    fHint->OnUpdateText = TOnUpdateTextEvent(this, &TvxGant_ComBasic::HintWantsNewText);

    fSnapHandler.StartInterval = 5.0 / (24 * 60);
    fSnapHandler.StopInterval = 1.0 / (24 * 60);
    fSnapHandler.SnapStartOn = true;
    fSnapHandler.SnapStopOn = true;
    fSnapHandler.StopFollowsStart = false;

    fAutoScrollTimer = new TTimer(this);
    fAutoScrollTimer->SetEnabled(false);
    fAutoScrollTimer->SetInterval(kAutoScrollIntervalMs);
    fAutoScrollTimer->SetOnTimer(TNotifyEvent(this, &TvxGant_ComBasic::OnVerticalScroll));
    StickyMode = TGantStickyMode::smNone;
}

TvxGant_ComBasic::~TvxGant_ComBasic()
{
    BeginDestroy();
    TDoLater::NeverMind(TDoLaterCall(this, &TvxGant_ComBasic::RedrawOutline));
    fActiveDataEntity = nullptr;
    fMouseDownDataEntity = nullptr;
    fDragItem = nullptr;
    fMoveSnapShot.clear();
    if (fAutoScrollTimer) fAutoScrollTimer->SetEnabled(false);
    // Links first: they let go of their items, so the items leave with no link to drop. The
    // empty list stays until the rows are gone, for handlers that look at it meanwhile.
    if (fLinkList) fLinkList->Clear();
    if (fRowList) fRowList->FreeWheneverPossible();
    fRowList = nullptr;
    if (fLinkList) fLinkList->FreeWheneverPossible();
    fLinkList = nullptr;
    if (fAllDataLists) fAllDataLists->FreeWheneverPossible();
    fAllDataLists = nullptr;
    // The tree's entities have no rows left to remove. It is emptied while it is whole: its own
    // teardown frees the lists of children before the entities that were moved into older lists,
    // which then reach their freed lists.
    if (fTree) fTree->Clear();
    delete fTree;
    fTree = nullptr;
    fRowsInView.clear();
    delete fItemController;
    fItemController = nullptr;
    delete fLinkController;
    fLinkController = nullptr;
}

// ---- Factories ----

TvxDateScaler* TvxGant_ComBasic::CreateDateScaler() { return new TvxDateScaler(this); }
TGantTree* TvxGant_ComBasic::CreateTree() { return new TGantTree(this, this); }
TGantRowList* TvxGant_ComBasic::CreateRowList() { return new TGantRowList(this); }
TvxDataList* TvxGant_ComBasic::CreateLinkList() { return new TvxDataList_GantLinks; }
TGantRow* TvxGant_ComBasic::CreateRow(TvxDataEntity_Tree* treeNode, TvxDataEntity_GridTreeNode* gridNode)
{
    return new TGantRow(fRowList, treeNode, gridNode);
}
TvxDataList_GantRow* TvxGant_ComBasic::CreateDataList_GantRow() { return new TvxDataList_GantRow; }
TvxDataList2lev* TvxGant_ComBasic::CreateDataList2Lev() { return new TvxDataList2lev; }
TvxDataList3lev* TvxGant_ComBasic::CreateDataList3Lev() { return new TvxDataList3lev; }

// ---- Repaint ----

void TvxGant_ComBasic::InvalidateGA(TObject*)
{
    if (fGA && !IsDestroying()) fGA->Invalidate();
}

void TvxGant_ComBasic::RefreshOthers(TObject* sender)
{
    if (IsDestroying()) return;
    if (fScaler && sender != fScaler) fScaler->Invalidate();
    if (fTree && sender != fTree) fTree->Invalidate();
    if (fGA && sender != fGA) fGA->Invalidate();
}

bool TvxGant_ComBasic::GetIsPrinting() const { return fGA && fGA->GetIsPrinting(); }

void TvxGant_ComBasic::SetVerticalPrintOffset(int offset)
{
    fVerticalPrintOffset = offset;
    // Every band moves: each row reads its band afresh.
    ++fRectPass;
    fRowsInViewStale = true;
}

void TvxGant_ComBasic::SetFontTimeItemStyle1(const TFont& font)
{
    fFontTimeItemStyle1.Assign(font);
    InvalidateGA();
}

void TvxGant_ComBasic::SetFontTimeItemStyle2(const TFont& font)
{
    fFontTimeItemStyle2.Assign(font);
    InvalidateGA();
}

void TvxGant_ComBasic::SetFontTimeItemStyle3(const TFont& font)
{
    fFontTimeItemStyle3.Assign(font);
    InvalidateGA();
}

void TvxGant_ComBasic::_OnTimeItemTextStyleSet(TvxTimeItemTextCollection*, TCanvas& aCanvas, int32_t aStyle)
{
    aCanvas.Font().Assign(aStyle == 2 ? fFontTimeItemStyle2 : aStyle == 3 ? fFontTimeItemStyle3 : fFontTimeItemStyle1);
    if (fGA) fGA->PrintResizeFont();
}

void TvxGant_ComBasic::HookTexts(TvxDataEntity_Chronbar* item)
{
    if (item && item->GetTexts()) item->GetTexts()->OnStyleSet = TOnStyleSet(this, &TvxGant_ComBasic::_OnTimeItemTextStyleSet);
}

// ---- The time-item controller's handlers ----

void TvxGant_ComBasic::_InsertItem(TvxDataEntity* entity)
{
    // The item's texts took the chart's fonts when the row's list made the item.
    auto* item = dynamic_cast<TvxDataEntity_Chronbar*>(entity);
    InvalidateGA();
    if (TGantRow* row = item ? item->GetRow() : nullptr) row->UpdateSubColumns();
    if (OnInsertItem_Chronbar) OnInsertItem_Chronbar(this, entity);
}

void TvxGant_ComBasic::_DeleteItem(TvxDataEntity* entity)
{
    auto* item = dynamic_cast<TvxDataEntity_Chronbar*>(entity);
    if (item && item == fActiveDataEntity) SetActiveDataEntity(nullptr);
    if (item && item == fMouseDownDataEntity) fMouseDownDataEntity = nullptr;
    ++fDeletions;
    ForgetItemInDrag(item);
    InvalidateGA();
    if (TGantRow* row = item ? item->GetRow() : nullptr; row && !IsDestroying()) row->UpdateSubColumns();
    if (OnDeleteItem_Chronbar) OnDeleteItem_Chronbar(this, entity);
    DropAllLinks(item);
}

void TvxGant_ComBasic::_ContentChanged(TvxDataList* list)
{
    InvalidateGA();
    // A row being removed has already let go of its layers.
    if (auto* layer = dynamic_cast<TvxDataList_GantRow*>(list); layer && layer->GetRow() && !IsDestroying())
        layer->GetRow()->UpdateSubColumns();
    if (OnContentChanged_Chronbar) OnContentChanged_Chronbar(this, list);
}

void TvxGant_ComBasic::_SelectionChanged(TvxDataList* list, TvxDataEntity* entity)
{
    InvalidateGA();
    if (OnSelectionChanged_Chronbar) OnSelectionChanged_Chronbar(this, list, entity);
}

void TvxGant_ComBasic::_InfoPush(TvxDataEntity* entity)
{
    auto* item = dynamic_cast<TvxDataEntity_Chronbar*>(entity);
    if (TGantRow* row = item ? item->GetRow() : nullptr) row->UpdateSubColumns();
    if (OnChangeDataEntity_Chronbar) OnChangeDataEntity_Chronbar(this, entity);
    if (OnValueChanged_Chronbar) OnValueChanged_Chronbar(this, entity);
}

void TvxGant_ComBasic::_OnBeforeCanEditItem(TvxDataEntity* entity)
{
    if (OnBeforeCanEditItem_Chronbar) OnBeforeCanEditItem_Chronbar(this, entity);
}

void TvxGant_ComBasic::_LoadItem(TvxDataEntity* entity)
{
    if (OnVirtualLoad_Chronbar) OnVirtualLoad_Chronbar(this, entity);
}

void TvxGant_ComBasic::_UnloadItem(TvxDataEntity* entity, bool& CanUnload)
{
    // An item the mouse is working on stays until the release.
    if (ItemInDrag(dynamic_cast<TvxDataEntity_Chronbar*>(entity))) {
        CanUnload = false;
        return;
    }
    if (OnVirtualUnLoad_Chronbar) OnVirtualUnLoad_Chronbar(this, entity, CanUnload);
}

void TvxGant_ComBasic::_EnterOwnerAfterChange(TvxDataEntity* entity)
{
    auto* item = dynamic_cast<TvxDataEntity_Chronbar*>(entity);
    if (!item) return;
    HookTexts(item);
    LinksChanged();
    // An item that came from another chart leaves that chart's links behind.
    const std::vector<TvxDataEntity_Link*> links = item->GetLinks();
    for (TvxDataEntity_Link* link : links)
        if (TvxGant_ComBasic* other = link->GetGant(); other && other != this) other->fLinkList->Remove(link);
    InvalidateGA();
}

// ---- Items and links ----

bool TvxGant_ComBasic::RowTypeCheckOK(const TGantRow* row) const
{
    if (!row) return false;
    return fUseGridNotTree ? row->GetGridNode() != nullptr : row->GetTreeNode() != nullptr;
}

TvxDataEntity_Chronbar* TvxGant_ComBasic::AddChronbarToGantRow(TGantRow* row, int layer)
{
    if (!row) return nullptr;
    if (!fRowList->Contains(row)) throw EInvalidArgument(kRowNotInChart);
    TGantRow::CheckLayerIndex(layer);
    while (row->GetDataLists()->Count() <= layer) row->AddDataList();
    auto* item = static_cast<TvxDataEntity_Chronbar*>(row->GetLayer(layer)->Add());
    item->SetColor(0xFFFFFF);
    item->SetStyle(TChronbarStyle::gtsSquare);
    item->SetCanEdit(true);
    return item;
}

TvxDataEntity_Chronbar* TvxGant_ComBasic::AddChronbar(TvxDataEntity_Tree* treeNode, int layer)
{
    if (!treeNode) return nullptr;
    TGantRow* row = fRowList->FindRowFromTreeNode(treeNode);
    if (!row) throw EInvalidArgument(kNodeWithoutRow);
    return AddChronbarToGantRow(row, layer);
}

TvxDataEntity_Chronbar* TvxGant_ComBasic::GridNode_AddChronbar(TvxDataEntity_GridTreeNode* gridNode, int layer)
{
    if (!gridNode) return nullptr;
    TGantRow* row = fRowList->FindRowFromGridNode(gridNode);
    if (!row) throw EInvalidArgument(kNodeWithoutRow);
    return AddChronbarToGantRow(row, layer);
}

void TvxGant_ComBasic::RemoveChronbar(TvxDataEntity_Chronbar* item)
{
    if (item && item->GetDataList()) item->GetDataList()->Remove(item);
}

TvxDataEntity_Link* TvxGant_ComBasic::AddLink()
{
    auto* link = static_cast<TvxDataEntity_Link*>(fLinkList->Add());
    link->SetLinkStyle(fDefaultLinkStyle);
    link->SetColor(fDefaultLinkColor);
    return link;
}

void TvxGant_ComBasic::DropAllLinks(TvxDataEntity_Chronbar* item)
{
    if (!item || !fLinkList || item->GetLinks().empty()) return;
    // The item knows its links: only they are looked at, last in the link list first, so the
    // indexes of the ones still to go stay valid.
    std::vector<int> indexes;
    for (TvxDataEntity_Link* link : item->GetLinks())
        if (link->GetDataList() == fLinkList) indexes.push_back(link->ListIndex());
    std::sort(indexes.begin(), indexes.end(), std::greater<int>());
    for (int i : indexes)
        if (i >= 0) fLinkList->Delete(i);
}

TvxDataEntity_Chronbar* TvxGant_ComBasic::FindChronbarObjectFromUserReference(const void* ref)
{
    TvxDataEntity_Chronbar* found = nullptr;
    for (int r = 0; r < fRowList->Count(); ++r) {
        TvxDataList2lev* lists = fRowList->GetGantRow(r)->GetDataLists();
        for (int l = 0; lists && l < lists->Count(); ++l) {
            TvxDataList* list = lists->GetDataList(l);
            for (int i = 0; list && i < list->Count(); ++i)
                if (TvxDataEntity* e = list->GetItems(i); e && e->GetUserReference() == ref) {
                    found = static_cast<TvxDataEntity_Chronbar*>(e);
                    break;
                }
        }
    }
    return found;
}

void TvxGant_ComBasic::CopyDataEntity(TvxDataEntity_Chronbar* source, TvxDataEntity_Chronbar* destination)
{
    if (!source || !destination) return;
    destination->SetStartDateTime(source->GetStartDateTime());
    destination->SetStopDateTime(source->GetStopDateTime());
    destination->SetSelected(source->GetSelected());
}

bool TvxGant_ComBasic::TimeCopy(TvxDataEntity_Chronbar* item, TGantRow* row, TGantRow* newRow, TDateTime start,
                                TDateTime stop, TvxDataEntity_Chronbar*& newItem)
{
    newItem = nullptr;
    if (!OnTimeCopy) return false;
    OnTimeCopy(this, item, row, newRow, start, stop);
    return true;
}

bool TvxGant_ComBasic::TimeMoveRow(TvxDataEntity_Chronbar* item, TGantRow* row, TGantRow* newRow, TDateTime start,
                                   TDateTime stop, TvxDataEntity_Chronbar*& newItem)
{
    newItem = nullptr;
    if (!OnTimeChangeRow) return false;
    OnTimeChangeRow(this, item, row, newRow, start, stop);
    return true;
}

void TvxGant_ComBasic::SetActiveDataEntity(TvxDataEntity_Chronbar* item)
{
    // The active item carries a mark.
    if (item != fActiveDataEntity) InvalidateGA();
    fActiveDataEntity = item;
    ReportItemHint(item);
}

void TvxGant_ComBasic::ReportItemHint(TvxDataEntity_Chronbar* item)
{
    if (!OnHintInfo) return;
    if (item)
        OnHintInfo(item, item->GetStartDateTime(), item->GetStopDateTime(), item->GetStopDateTime() - item->GetStartDateTime());
    else
        OnHintInfo(nullptr, 0, 0, 0);
}

TGantRow* TvxGant_ComBasic::GetActiveGantRow()
{
    // TODO(grid mode): the grid's current node gives the active row.
    if (fUseGridNotTree || !fTree) return nullptr;
    return fRowList->FindRowFromTreeNode(fTree->GetCurrentDataEntity());
}

TvxDataEntity_Tree* TvxGant_ComBasic::AddDataEntityTree(TvxDataEntity_Tree* parent) { return fTree->AddDataEntity(parent); }

void TvxGant_ComBasic::UnPauseCollisionDetectionRows()
{
    fSomeRowsPaused = false;
    for (int i = 0; i < fRowList->Count(); ++i)
        if (TGantRow* row = fRowList->GetGantRow(i)) row->SetCollisionDetectionPause(false);
}

}  // namespace vxplan
