// Rows, their layers and lanes, and the row list.
#include <vxplan/gantt/vxGant.h>

#include <vxplan/gantt/vxGantLaneWalk_p.h>
#include <vxplan/gantt/vxGantModel.h>

#include <vxplan/dataentity/vxDataTraveser.h>
#include <vxplan/dataentity/vxDoLater.h>
#include <vxplan/overlap/vxTimeDistinctGenericThread.h>
#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/tree/vxTree.h>

#include <algorithm>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace vxplan {

// ---- TGantRow ----

TGantRow::TGantRow(TGantRowList* theRowList, TvxDataEntity_Tree* theTreeNode, TvxDataEntity_GridTreeNode* theGridNode)
    : GridNode(theGridNode), TreeNode(theTreeNode), RowList(theRowList), Gant(theRowList ? theRowList->GetGant() : nullptr)
{
    DataLists = Gant ? Gant->CreateDataList2Lev() : new TvxDataList2lev;
    DataLists->AfterCreate();
    DataLists->OnMissingIndex = TOnMissingIndex(this, &TGantRow::_OnMissingIndex);
    if (Gant) Gant->fAllDataLists->Add(DataLists);
}

TGantRow::~TGantRow()
{
    // CleanForFree normally ran; a row freed without it still lets go of what it holds.
    if (DataLists) CleanForFree();
}

void TGantRow::CleanForFree()
{
    TGantLaneWalk::RowGoes(this);
    TDoLater::NeverMind(TDoLaterCall(this, &TGantRow::UpdateSubColumnsAsync));
    TTimeDistinctGenericThread::FreeAndCleanUp(Thread);
    // A row on its way out asks for no lanes.
    CollisionDetection = false;
    if (!DataLists) return;
    TvxDataList2lev* lists = DataLists;
    // While the chart goes, it drops the whole list of lists at once.
    if (Gant && !Gant->IsBeingDestroyed()) Gant->fAllDataLists->Remove(lists);
    std::exception_ptr first;
    for (int i = lists->Count() - 1; i >= 0; --i) {
        try {
            if (TvxDataList* list = lists->GetDataList(i)) list->FreeWheneverPossible();
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    DataLists = nullptr;
    lists->FreeWheneverPossible();
    TreeNode = nullptr;
    GridNode = nullptr;
    RowList = nullptr;
    Gant = nullptr;
    if (first) std::rethrow_exception(first);
}

void TGantRow::CheckLayerIndex(int layer)
{
    if (layer < 0 || layer >= kMaxLayers)
        throw EInvalidArgument("Layer index " + std::to_string(layer) + " outside 0.." + std::to_string(kMaxLayers - 1));
}

void TGantRow::_OnMissingIndex(TvxExposable* theCaller, int theIndex, bool& theFixable)
{
    if (theCaller != DataLists || theIndex < 0 || theIndex >= kMaxLayers) return;
    while (DataLists->Count() <= theIndex) AddDataList();
    theFixable = true;
}

TvxDataList_GantRow* TGantRow::AddDataList()
{
    if (!DataLists || !Gant) throw EInvalidOperation("The row has left its chart");
    TvxDataList_GantRow* list = Gant->CreateDataList_GantRow();
    list->AfterCreate(Gant->fItemController, Gant->fItemClass);
    list->SetRow(this);
    DataLists->Add(list);
    return list;
}

TvxDataList_GantRow* TGantRow::GetLayer(int i)
{
    if (i < 0 || !DataLists) return nullptr;
    CheckLayerIndex(i);
    return static_cast<TvxDataList_GantRow*>(DataLists->GetDataList(i));
}

int TGantRow::LayerOf(const TvxDataEntity_Chronbar* item) const
{
    return DataLists && item ? DataLists->IndexOf(item->GetDataList()) : -1;
}

void TGantRow::DataListOnSubCol(int layer, int subCol)
{
    if (layer < 0 || layer >= kMaxSubColLayers) return;
    fDataListOnSubCol[static_cast<size_t>(layer)] = subCol;
}

int TGantRow::GetDataListOnSubCol(int layer) const
{
    if (layer < 0 || layer >= kMaxSubColLayers) return 0;
    return fDataListOnSubCol[static_cast<size_t>(layer)];
}

// ---- Lanes ----

void TGantRow::SetUseSubCols(int n)
{
    if (UseSubCols == n) return;
    UseSubCols = n;
    if (Gant) Gant->InvalidateGA();
}

void TGantRow::UpdateSubColumns()
{
    if (!CollisionDetection) return;
    TDoLater::DoLater(TDoLaterCall(this, &TGantRow::UpdateSubColumnsAsync), this);
    fRequestQueued = true;
}

void TGantRow::CollectItems(const TGantLaneWalk& walk, std::vector<TvxDataEntity_Chronbar*>& items)
{
    // Reading a virtual layer loads its items, and the host's load and unload handlers run on
    // the way: what they free is left out afterwards, and a freed row ends the walk at once.
    TDataListTrav trav(DataLists);
    for (trav.First(); !trav.Eof(); trav.Next()) {
        auto* item = static_cast<TvxDataEntity_Chronbar*>(trav.DataEntity());
        if (walk.RowGone()) return;
        if (item) items.push_back(item);
    }
    std::erase_if(items, [&](const TvxDataEntity_Chronbar* item) { return walk.ItemGone(item); });
}

void TGantRow::UpdateSubColumnsAsync(TObject*)
{
    fRequestQueued = false;
    try {
        CleanUpThread();
        if (!DataLists || !CollisionDetection) return;
        if (TTimeDistinctGenericThread::ThreadCount() < TTimeDistinctGenericThread::MaxThreads()) {
            const TGantLaneWalk walk(this);
            std::vector<TvxDataEntity_Chronbar*> items;
            CollectItems(walk, items);
            if (walk.RowGone()) return;
            auto* worker = new TTimeDistinctGenericThread;
            Thread = worker;
            worker->OnDone = TNotifyEvent(this, &TGantRow::TimeDistinctThreadDone);
            for (TvxDataEntity_Chronbar* item : items) {
                if (!item->GetVisible()) continue;
                const std::string key =
                    CollisionAllLayers ? std::string() : std::to_string(reinterpret_cast<uintptr_t>(item->GetDataList()));
                worker->Holders().Add(RoundToWholeSeconds(item->GetStartDateTime()),
                                      RoundToWholeSeconds(item->GetStopDateTime()), key, item);
            }
            worker->Resume();
        } else {
            SetCollisionDetectionPause(true);
        }
    } catch (const std::exception& e) {
        ShowMessage(std::string("UpdateSubColumns exception:") + e.what());
    } catch (...) {
        ShowMessage("UpdateSubColumns exception:Unknown exception");
    }
}

namespace {
std::string MessageOf(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
}
}  // namespace

void TGantRow::TimeDistinctThreadDone(TObject*)
{
    const TGantLaneWalk walk(this);
    TTimeDistinctGenericThread* const worker = Thread;
    std::exception_ptr failure;
    try {
        ApplyLanes(walk, failure);
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    // A handler may have freed the row (nothing of it is touched then), or asked anew from a
    // loop of its own (the newer worker is the row's now).
    if (!walk.RowGone() && Thread == worker) CleanUpThread();
    if (failure) ShowMessage("TimeDistinctThreadDone:" + MessageOf(failure));
}

void TGantRow::ApplyLanes(const TGantLaneWalk& walk, std::exception_ptr& failure)
{
    // A request queued since this run began makes these results old: that request's own run
    // answers for the row as it is now, new items included.
    if (!CollisionDetection || !DataLists || !Thread ||
        TDoLater::AlreadyInList(TDoLaterCall(this, &TGantRow::UpdateSubColumnsAsync), this))
        return;
    TTimeDistinctGenericThread* const worker = Thread;
    // The items with a holder, in traversal order, taken before any handler runs. An item that
    // was not visible at the request has none: it keeps its lane and does not count.
    std::vector<TvxDataEntity_Chronbar*> items;
    CollectItems(walk, items);
    if (walk.RowGone()) return;
    std::vector<std::pair<TvxDataEntity_Chronbar*, const TDistinctTimeHolder*>> placed;
    placed.reserve(items.size());
    for (TvxDataEntity_Chronbar* item : items)
        if (const TDistinctTimeHolder* h = worker->Holders().FindFromReference(item)) placed.emplace_back(item, h);

    SetUseSubCols(0);
    int maximum = 0;
    for (const auto& [item, holder] : placed) {
        // A handler may have freed the row, dropped or replaced its worker, or freed or moved
        // items: the walk stops, or passes over what left, without touching it.
        if (Thread != worker) return;
        if (walk.ItemGone(item) || item->GetRow() != this) continue;
        int lane = holder->SubColumn;
        if (item->GetSubCol() != lane && Gant && Gant->OnCollisionDetected) {
            item->SetSubCol(-1);
            try {
                Gant->OnCollisionDetected(Gant, item, lane);
            } catch (...) {
                // The item still takes its lane; the first failure is shown once at the end.
                if (!failure) failure = std::current_exception();
            }
            if (walk.RowGone()) return;
            if (walk.ItemGone(item)) continue;
            if (item->GetSubCol() != -1) lane = item->GetSubCol();
            if (item->GetRow() != this) {
                // Moved to another row: no lane of this one.
                if (item->GetSubCol() == -1) item->SetSubCol(0);
                continue;
            }
        }
        item->SetSubCol(lane);
        maximum = std::max(maximum, lane);
    }
    if (Thread != worker) return;
    SetUseSubCols(maximum);
    if (Gant) Gant->InvalidateGA();
}

void TGantRow::CleanUpThread()
{
    if (!Thread) return;
    TTimeDistinctGenericThread::FreeAndCleanUp(Thread);
    if (Gant && Gant->fSomeRowsPaused && TTimeDistinctGenericThread::ThreadCount() < TTimeDistinctGenericThread::ResumeThreshold())
        Gant->UnPauseCollisionDetectionRows();
}

void TGantRow::SetCollisionDetection(bool on)
{
    if (CollisionDetection == on) return;
    CollisionDetection = on;
    UpdateSubColumns();
    if (!on) {
        // Results asked for while it was on would bring the lanes back. Dropping a queued
        // call searches the whole queue, so only a row that has one asks: the rows that pause
        // at the worker limit are many, and are running their request instead.
        if (fRequestQueued) TDoLater::NeverMind(TDoLaterCall(this, &TGantRow::UpdateSubColumnsAsync));
        fRequestQueued = false;
        TTimeDistinctGenericThread::FreeAndCleanUp(Thread);
        SetUseSubCols(0);
    }
    if (Gant) Gant->InvalidateGA();
}

void TGantRow::SetCollisionDetectionPause(bool pause)
{
    if (pause && CollisionDetection && !CollisionDetectionPaused) {
        SetCollisionDetection(false);
        CollisionDetectionPaused = true;
        if (Gant) {
            Gant->fSomeRowsPaused = true;
            // The workers that fill the limit may belong to other charts, or to nobody any
            // more: the chart hears of their end from the workers themselves.
            Gant->fPausedRowsResume.Listen();
        }
    } else if (!pause && CollisionDetectionPaused) {
        CollisionDetectionPaused = false;
        SetCollisionDetection(true);
    }
}

void TvxGant_ComBasic::ResumePausedRows()
{
    if (fSomeRowsPaused && fRowList && !IsBeingDestroyed()) UnPauseCollisionDetectionRows();
}

// ---- TGantLaneWalk ----

namespace {
// The walks running now, innermost last; the user-interface thread only.
std::vector<TGantLaneWalk*>& LaneWalks()
{
    static std::vector<TGantLaneWalk*> walks;
    return walks;
}
}  // namespace

TGantLaneWalk::TGantLaneWalk(const TGantRow* row) : row_(row) { LaneWalks().push_back(this); }

TGantLaneWalk::~TGantLaneWalk()
{
    auto& walks = LaneWalks();
    walks.erase(std::remove(walks.begin(), walks.end(), this), walks.end());
}

void TGantLaneWalk::ItemGoes(const TvxDataEntity_Chronbar* item)
{
    for (TGantLaneWalk* walk : LaneWalks()) walk->goneItems_.insert(item);
}

void TGantLaneWalk::RowGoes(const TGantRow* row)
{
    for (TGantLaneWalk* walk : LaneWalks())
        if (walk->row_ == row) walk->rowGone_ = true;
}

// ---- TGantRowList ----

TGantRowList::~TGantRowList()
{
    if (!fLive.empty()) CleanForFree();
}

int TGantRowList::Count() const { return static_cast<int>(fRows.size()) - fHoles; }

void TGantRowList::Compact() const
{
    if (fHoles == 0) return;
    size_t to = 0;
    for (size_t from = 0; from < fRows.size(); ++from)
        if (fRows[from]) {
            fRows[to] = fRows[from];
            fSequences[to] = fSequences[from];
            ++to;
        }
    fRows.resize(to);
    fSequences.resize(to);
    fHoles = 0;
}

TGantRow* TGantRowList::GetGantRow(int i) const
{
    Compact();
    if (i < 0 || i >= static_cast<int>(fRows.size())) return nullptr;
    return fRows[static_cast<size_t>(i)];
}

TGantRow* TGantRowList::AddRow(TvxDataEntity_Tree* treeNode, TvxDataEntity_GridTreeNode* gridNode)
{
    TGantRow* row = nullptr;
    if (Gant && Gant->OnUserCreateGantRow)
        Gant->OnUserCreateGantRow(this, treeNode, gridNode, row);
    else
        row = Gant ? Gant->CreateRow(treeNode, gridNode) : new TGantRow(this, treeNode, gridNode);
    if (!row) return nullptr;
    if (fLive.count(row)) throw EInvalidArgument("The row is already in the list");
    row->fSequence = fNextSequence++;
    fRows.push_back(row);
    fSequences.push_back(row->fSequence);
    fLive.insert(row);
    if (row->TreeNode) fByTreeNode[row->TreeNode].push_back(row);
    if (Gant) Gant->RowsChanged();
    if (Gant && Gant->OnAfterAddGantRow) Gant->OnAfterAddGantRow(this, row);
    return row;
}

void TGantRowList::Forget(TGantRow* row)
{
    if (!fLive.erase(row)) return;
    if (row->TreeNode) {
        auto it = fByTreeNode.find(row->TreeNode);
        if (it != fByTreeNode.end()) {
            auto& rows = it->second;
            rows.erase(std::remove(rows.begin(), rows.end(), row), rows.end());
            if (rows.empty()) fByTreeNode.erase(it);
        }
    }
    // The last row goes at once (the usual order when everything goes); others leave a hole.
    if (!fRows.empty() && fRows.back() == row) {
        fRows.pop_back();
        fSequences.pop_back();
    } else {
        // Rows are appended in sequence order and holes keep their number: a binary search finds it.
        auto it = std::lower_bound(fSequences.begin(), fSequences.end(), row->fSequence);
        const size_t i = static_cast<size_t>(it - fSequences.begin());
        if (i < fRows.size() && fRows[i] == row) {
            fRows[i] = nullptr;
            ++fHoles;
        }
    }
    if (Gant) Gant->RowsChanged();
}

void TGantRowList::RemoveRow(TvxDataEntity_Tree* treeNode, TvxDataEntity_GridTreeNode* gridNode)
{
    TGantRow* row = treeNode ? FindRowFromTreeNode(treeNode) : FindRowFromGridNode(gridNode);
    if (!row) return;
    if (Gant && Gant->OnBeforeFreeGantRow) Gant->OnBeforeFreeGantRow(this, row);
    // The handler may have removed it already.
    if (!fLive.count(row)) return;
    Forget(row);
    row->FreeWheneverPossible();
}

TGantRow* TGantRowList::FindRowFromTreeNode(const TvxDataEntity_Tree* node) const
{
    if (!node) return nullptr;
    auto it = fByTreeNode.find(node);
    return it == fByTreeNode.end() || it->second.empty() ? nullptr : it->second.front();
}

TGantRow* TGantRowList::FindRowFromGridNode(const TvxDataEntity_GridTreeNode* node) const
{
    // The grid node's own row slot joins with the grid; until then the rows are searched.
    if (!node) return nullptr;
    Compact();
    for (TGantRow* row : fRows)
        if (row->GridNode == node) return row;
    return nullptr;
}

TGantRow* TGantRowList::FindRowFromUntypedNode(const TvxDataEntity* entity) const
{
    if (!entity) return nullptr;
    if (auto* tree = dynamic_cast<const TvxDataEntity_Tree*>(entity)) return FindRowFromTreeNode(tree);
    // A grid tree node is a data entity of single inheritance: the addresses agree.
    return FindRowFromGridNode(static_cast<const TvxDataEntity_GridTreeNode*>(static_cast<const void*>(entity)));
}

TGantRow* TGantRowList::FindRowFromTreeNodeDataEntityUserReference(const void* ref) const
{
    Compact();
    TGantRow* found = nullptr;
    for (TGantRow* row : fRows) {
        if (row->TreeNode) {
            if (row->TreeNode->GetUserReference() == ref) found = row;
        } else if (row->GridNode) {
            // TODO(grid mode): match the grid node's user reference.
        }
    }
    return found;
}

TGantRow* TGantRowList::FindRowFromY(int y)
{
    if (Gant && !Gant->GetUseGridNotTree()) return Gant->FindTreeRowFromY(y);
    Compact();
    for (TGantRow* row : fRows) {
        if (Gant && !Gant->RowTypeCheckOK(row)) continue;
        const TRect r = row->GetRect();
        if (r.Top < y && y < r.Bottom) return row;
    }
    return nullptr;
}

void TGantRowList::CleanForFree()
{
    std::exception_ptr first;
    Compact();
    while (!fRows.empty()) {
        TGantRow* row = fRows.back();
        Forget(row);
        try {
            row->FreeWheneverPossible();
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    fByTreeNode.clear();
    if (first) std::rethrow_exception(first);
}

}  // namespace vxplan
