// Axis items, the index spaces of an axis, insertion, moves and drops, and loading on demand.
#include <vxplan/cellgrid/vxAxisContent.h>

#include <vxplan/cellgrid/vxBabCell.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/core/vxFirstError.h>
#include <vxplan/platform/core/vxFlagScope.h>

#include <algorithm>
#include <limits>
#include <string>

namespace vxplan {

// --- TAxisContentItem ------------------------------------------------------------------------

void TAxisContentItem::SetUserSize(int theSize)
{
    userSize_ = theSize;
    if (userSizeItem_) userSizeItem_->Size = theSize;
    if (TBabGridCellForViewer* root = list_->GetGridCell()->GetRoot())
        root->GetUserSizeChangedEvent().TriggerEvent(this);
}

void TAxisContentItem::SetUserSizeActive(bool theActive)
{
    userSizeActive_ = theActive;
    if (userSizeItem_) userSizeItem_->Active = theActive;
}

void TAxisContentItem::SetHide(bool theHide)
{
    if (hide_ == theHide) return;
    hide_ = theHide;
    list_->UpdateHiddenItemsList(this, theHide);
    if (TBabGridCellForViewer* root = list_->GetGridCell()->GetRoot()) root->GetAxisChangedEvent().TriggerEvent(nullptr);
}

int TAxisContentItem::ListIndex()
{
    list_->EnsureListIndexes();
    return listIndex_;
}

int TAxisContentItem::LoadedListIndex() { return list_->IndexConvert_RealToLoaded(ListIndex()); }

// --- TAxisContentList: indexes ---------------------------------------------------------------

TAxisContentList::TAxisContentList(TBabGridCell* theGridCell, bool theRowList)
    : gridCell_(theGridCell), rowList_(theRowList)
{
}

TAxisContentList::~TAxisContentList() = default;

void TAxisContentList::SetFixed(int theFixed)
{
    if (theFixed < 0) throw EInvalidArgument("Fixed count below zero: " + std::to_string(theFixed));
    // Fixed items are always loaded, so only loaded items at the front can become fixed.
    const int canFix = unloadedBefore_ > 0 ? fixed_ : LoadedCount();
    if (theFixed > canFix)
        throw EInvalidArgument("Fixed count " + std::to_string(theFixed) + " beyond the " + std::to_string(canFix) +
                               " loaded items at the front of the axis");
    // Nor can a fixed item join the block while count-only items lie between them.
    if (theFixed < fixed_ && unloadedBefore_ > 0)
        throw EInvalidArgument("Fixed count " + std::to_string(theFixed) + " below " + std::to_string(fixed_) +
                               " while count-only items follow the fixed ones");
    const bool raised = theFixed > fixed_;
    fixed_ = theFixed;
    ListIndexesOutOfDate(0);
    if (raised && gridCell_) gridCell_->LoseFixedFocus();
}

bool TAxisContentList::IsLoaded(int i) const
{
    if (i < fixed_) return true;
    if (i < fixed_ + unloadedBefore_) return false;
    return i < LoadedCount() + unloadedBefore_;
}

void TAxisContentList::ListIndexesOutOfDate(int theFrom)
{
    dirtyFrom_ = std::min(dirtyFrom_, theFrom);
    indexesDirty_ = true;
}

void TAxisContentList::EnsureListIndexes()
{
    if (!indexesDirty_) return;
    for (int j = std::max(0, IndexConvert_RealToLoaded(dirtyFrom_)); j < LoadedCount(); ++j)
        loaded_[j]->listIndex_ = IndexConvert_LoadedToReal(j);
    indexesDirty_ = false;
    dirtyFrom_ = Count();
}

void TAxisContentList::CheckIndex(int i, int theLimit, const char* theWhat) const
{
    if (i < 0 || i >= theLimit)
        throw EListError(std::string(theWhat) + " index out of bounds (" + std::to_string(i) + " of " +
                         std::to_string(theLimit) + ")");
}

TAxisContentItem* TAxisContentList::getAxisContentItem(int i)
{
    CheckIndex(i, Count(), "Axis");
    EnsureLoadedItem(i);
    const int j = IndexConvert_RealToLoaded(i);
    CheckIndex(j, LoadedCount(), "Loaded axis");
    return loaded_[j].get();
}

TAxisContentItem* TAxisContentList::getLoadedAxisContentItem(int j) const
{
    CheckIndex(j, LoadedCount(), "Loaded axis");
    return loaded_[j].get();
}

TAxisContentItem* TAxisContentList::getVisibleAxisContentItem(int k) const
{
    CheckIndex(k, VisibleCount(), "Visible axis");
    return visible_[k];
}

// --- TAxisContentList: changes ---------------------------------------------------------------

void TAxisContentList::CheckRoomForOne() const
{
    if (Count() == std::numeric_limits<int>::max())
        throw EListError("The axis holds 2147483647 items, as many as it can");
}

TAxisContentItem* TAxisContentList::AddNew(TObject* theValue)
{
    CheckRoomForOne();
    if (Count() > 0) EnsureLoadedItem(Count() - 1);
    // Unloads on the way may have left count-only items behind the block (a vanished item
    // re-anchors it); the new item must join the block at the very end.
    if (unloadedAfter_ > 0) throw EInvalidOperation("The axis changed while an item was added");
    loaded_.push_back(std::make_unique<TAxisContentItem>(this, theValue));
    TAxisContentItem* item = loaded_.back().get();
    item->listIndex_ = IndexConvert_LoadedToReal(LoadedCount() - 1);
    gridCell_->InsertingAxisItem(*this, Count() - 1);
    return item;
}

TAxisContentItem* TAxisContentList::InsertNew(int i, TObject* theValue)
{
    if (loadDepth_ > 0) throw EInvalidOperation("Not allowed to add items during load");
    CheckRoomForOne();
    CheckIndex(i, Count() + 1, "Insert");
    // Behind the last item: make the tail loaded so the new item joins the loaded block.
    if (i == Count()) {
        if (i > 0) EnsureLoadedItem(i - 1);
    } else {
        EnsureLoadedItem(i);
    }
    // Items that vanished as others were unloaded on the way have shifted the places: the
    // place asked for must still be there, loaded (or be the end, behind a loaded tail).
    const bool atEnd = i == Count();
    if (i > Count() || (atEnd ? unloadedAfter_ > 0 : !IsLoaded(i)))
        throw EInvalidOperation("The axis changed while an item was inserted at " + std::to_string(i));
    const int j = atEnd ? LoadedCount() : IndexConvert_RealToLoaded(i);
    loaded_.insert(loaded_.begin() + j, std::make_unique<TAxisContentItem>(this, theValue));
    TAxisContentItem* item = loaded_[j].get();
    // Among the fixed items the new one is fixed too: none of them is pushed out of the fixed
    // items, where count-only items may follow.
    if (i < fixed_) ++fixed_;
    ListIndexesOutOfDate(i);
    gridCell_->InsertingAxisItem(*this, i);
    return item;
}

void TAxisContentList::AddUnloaded(int n)
{
    if (n < 0) throw EInvalidArgument("Negative count of unloaded items: " + std::to_string(n));
    if (n > std::numeric_limits<int>::max() - Count())
        throw EInvalidArgument("Cannot add " + std::to_string(n) + " unloaded items to an axis of " +
                               std::to_string(Count()) + ": an axis holds at most 2147483647");
    unloadedAfter_ += n;
    gridCell_->ChangeInUnloaded(*this);
}

void TAxisContentList::Move(int theFrom, int theTo)
{
    CheckIndex(theFrom, Count(), "Move");
    CheckIndex(theTo, Count(), "Move");
    EnsureLoadedItem(theFrom);
    EnsureLoadedItem(theTo);
    // Loading the target may have given up the source when they lie far apart; and the
    // count-only items between the fixed items and the block would shift with a move across
    // them, which the loaded items alone cannot show.
    const bool acrossCounts = unloadedBefore_ > 0 && std::min(theFrom, theTo) < fixed_ &&
                              std::max(theFrom, theTo) >= fixed_ + unloadedBefore_;
    if (!IsLoaded(theFrom) || !IsLoaded(theTo) || acrossCounts)
        throw EInvalidOperation("Move between items that cannot be loaded together (" + std::to_string(theFrom) +
                                ", " + std::to_string(theTo) + ")");
    if (theFrom == theTo) return;
    const int a = IndexConvert_RealToLoaded(theFrom);
    const int b = IndexConvert_RealToLoaded(theTo);
    auto moved = std::move(loaded_[a]);
    loaded_.erase(loaded_.begin() + a);
    loaded_.insert(loaded_.begin() + b, std::move(moved));
    ListIndexesOutOfDate(std::min(theFrom, theTo));
    gridCell_->MowingAxisItem(*this, theFrom, theTo);
}

void TAxisContentList::RemoveFromVisible(TAxisContentItem* theItem)
{
    if (!theItem->inVisibleList_) return;
    visible_.erase(std::remove(visible_.begin(), visible_.end(), theItem), visible_.end());
    theItem->inVisibleList_ = false;
}

void TAxisContentList::DestroyLoaded(int i, TAxisContentItem* theItem)
{
    // Refused before anything changes when one of its cells is being laid out or drawn.
    if (rowList_)
        gridCell_->Matris().CheckCanFreeY(i);
    else
        gridCell_->Matris().CheckCanFreeX(i);
    if (theItem->hide_) UpdateHiddenItemsList(theItem, false);
    RemoveFromVisible(theItem);
    gridCell_->DroppingAxisItem(*this, i);
    loaded_.erase(loaded_.begin() + IndexConvert_RealToLoaded(i));
}

void TAxisContentList::Drop(int i)
{
    CheckIndex(i, Count(), "Drop");
    if (IsLoaded(i)) {
        TAxisContentItem* item = loaded_[IndexConvert_RealToLoaded(i)].get();
        DestroyLoaded(i, item);
        // A fixed item takes its fixed place with it: fixed items are loaded ones.
        if (i < fixed_) --fixed_;
        ListIndexesOutOfDate(i);
    } else if (i < fixed_ + unloadedBefore_) {
        --unloadedBefore_;
        ListIndexesOutOfDate(i);
        gridCell_->ChangeInUnloaded(*this);
    } else {
        --unloadedAfter_;
        gridCell_->ChangeInUnloaded(*this);
    }
}

void TAxisContentList::CommonClear(int theKeep)
{
    for (int j = LoadedCount() - 1; j >= theKeep; --j) Drop(IndexConvert_LoadedToReal(j));
    // Both counts go to zero whatever the handler does with the ranges it is told of; a handler
    // that throws does not stop the clear: the first error goes on once the axis is empty.
    TFirstError error;
    if (unloadedAfter_ > 0) {
        int start = LoadedCount() + unloadedBefore_;
        int stop = start + unloadedAfter_ - 1;
        error.Run([&] { ReportDeleteOfUnloaded(start, stop); });
    }
    unloadedAfter_ = 0;
    if (unloadedBefore_ > 0) {
        int start = fixed_;
        int stop = fixed_ + unloadedBefore_ - 1;
        error.Run([&] { ReportDeleteOfUnloaded(start, stop); });
    }
    unloadedBefore_ = 0;
    ListIndexesOutOfDate(0);
    gridCell_->ChangeInUnloaded(*this);
    error.Rethrow();
}

// --- TAxisContentList: visible and hidden lists ----------------------------------------------

void TAxisContentList::UpdateHiddenItemsList(TAxisContentItem* theItem, bool theAdd)
{
    auto it = std::find(hidden_.begin(), hidden_.end(), theItem);
    if (theAdd && it == hidden_.end()) hidden_.push_back(theItem);
    if (!theAdd && it != hidden_.end()) hidden_.erase(it);
}

void TAxisContentList::ClearVisibles()
{
    for (TAxisContentItem* item : visible_) item->inVisibleList_ = false;
    visible_.clear();
    lastLoadedFirst_ = -1;
    lastLoadedLast_ = -1;
}

void TAxisContentList::AddToVisible(TAxisContentItem* theItem)
{
    theItem->inVisibleList_ = true;
    visible_.push_back(theItem);
}

// --- TAxisContentList: loading ---------------------------------------------------------------

void TAxisContentList::EnsureLoadedItem(int i)
{
    bool mayUnload = true;
    for (;;) {
        if (i < fixed_ || i >= Count()) return;
        int first = 0, last = 0;
        bool atFront = false;
        if (i < fixed_ + unloadedBefore_) {
            first = i;
            last = fixed_ + unloadedBefore_ - 1;
            atFront = true;
        } else if (i >= LoadedCount() + unloadedBefore_) {
            first = LoadedCount() + unloadedBefore_;
            last = i;
        } else {
            return;
        }
        if (mayUnload && last - first + LoadedCount() > kMaxLoaded) {
            UnloadAll();
            mayUnload = false;
            if (LoadedCount() == fixed_) {
                // Re-anchor the empty block at the wanted item. The count in front is bounded by
                // the count-only items there are, so asking for the very last item cannot make
                // the count behind negative.
                const int wanted = std::min(i, Count() - 1);
                const int total = unloadedBefore_ + unloadedAfter_;
                unloadedBefore_ = std::min(wanted, total);
                unloadedAfter_ = total - unloadedBefore_;
                ListIndexesOutOfDate(0);
                i = wanted;
            }
            // Unloading may have shifted the blocks (items that did not keep their place), so
            // the range is worked out again, and loaded whatever its length.
            continue;
        }
        LoadItems(first, last, atFront);
        return;
    }
}

void TAxisContentList::LoadItems(int theFirst, int theLast, bool theAtFront)
{
    // The new items join the loaded block at one end and stay within the count-only items there.
    const int frontEnd = fixed_ + unloadedBefore_;  // the first item of the block's unfixed part
    const int backStart = LoadedCount() + unloadedBefore_;
    const bool fits = theFirst <= theLast && (theAtFront ? theFirst >= fixed_ && theLast == frontEnd - 1
                                                         : theFirst == backStart && theLast < Count());
    if (!fits)
        throw EListError("Incorrect intervall " + std::to_string(theFirst) + ".." + std::to_string(theLast) +
                         ": loaded items join the block at its " + (theAtFront ? "front" : "back") +
                         " among the " + std::to_string(Count()) + " items of the axis");
    const int64_t count = int64_t{theLast} - theFirst + 1;
    if (count > kMaxLoadAtOnce)
        throw EInvalidOperation("Loading " + std::to_string(count) + " items at once is more than " +
                                std::to_string(kMaxLoadAtOnce) +
                                ": the host must let loaded items go (OnVirtualUnLoad) to reach that far");
    const TDepthScope depth(loadDepth_);
    lastLoadedFirst_ = theFirst;
    lastLoadedLast_ = theLast;
    // The block joins in one insert (item by item, a load in front would move every loaded
    // item once per new one).
    std::vector<std::unique_ptr<TAxisContentItem>> fresh;
    fresh.reserve(static_cast<size_t>(count));
    for (int real = theFirst; real <= theLast; ++real) {
        fresh.push_back(std::make_unique<TAxisContentItem>(this, nullptr));
        fresh.back()->listIndex_ = real;
    }
    // The handler meets the items in the order they join: in front from the last index down, at
    // the back from the first up.
    std::vector<TAxisContentItem*> created;
    created.reserve(fresh.size());
    for (auto& item : fresh) created.push_back(item.get());
    if (theAtFront) std::reverse(created.begin(), created.end());
    const auto at = theAtFront ? loaded_.begin() + fixed_ : loaded_.end();
    loaded_.insert(at, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    if (theAtFront)
        unloadedBefore_ -= static_cast<int>(count);
    else
        unloadedAfter_ -= static_cast<int>(count);
    gridCell_->InsertingAxisItem(*this, theFirst, static_cast<int>(count));
    loadingAtFront_ = theAtFront;
    if (TBabGridCellForViewer* root = gridCell_->GetRoot(); root && root->OnVirtualLoad) {
        for (TAxisContentItem* item : created) root->OnVirtualLoad(gridCell_, item, rowList_);
    }
    gridCell_->ChangeInUnloaded(*this);
}

}  // namespace vxplan
