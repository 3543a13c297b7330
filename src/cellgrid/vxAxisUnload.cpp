// Giving up loaded items: purging after each layout pass, unloading one item, emptying an axis
// and deleting count-only items, with the callbacks through which the application takes part.
#include <vxplan/cellgrid/vxAxisContent.h>

#include <vxplan/cellgrid/vxBabCell.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>
#include <string>

namespace vxplan {

void TAxisContentList::UnloadIntervall(TAxisContentItem* theItem, int& theStart, int& theStop)
{
    theStart = theStop = theItem->ListIndex();
    if (TBabGridCellForViewer* root = gridCell_->GetRoot(); root && root->OnUnloadIntervall)
        root->OnUnloadIntervall(gridCell_, theItem, rowList_, theStart, theStop);
    if (theStop < theStart) throw EInvalidOperation("Incorrect intervall");
}

bool TAxisContentList::CanUnload(TAxisContentItem* theItem)
{
    const int i = theItem->ListIndex();
    const int j = IndexConvert_RealToLoaded(i);
    if (j < 0 || j >= LoadedCount() || loaded_[j].get() != theItem) throw EInvalidOperation("Index fu");
    if (theItem->InVisibleList()) return false;
    TCellMatris& matris = gridCell_->Matris();
    if (rowList_ ? matris.HasRowSelections(i) : matris.HasColumnSelections(i)) return false;
    bool can = false;
    if (TBabGridCellForViewer* root = gridCell_->GetRoot(); root && root->OnVirtualUnLoad)
        root->OnVirtualUnLoad(gridCell_, theItem, rowList_, false, can);
    return can;
}

void TAxisContentList::Unload(int i, bool theAtFront)
{
    if (i < fixed_ || !IsLoaded(i) || i >= Count()) throw EListError("Unload of an item that is not loaded");
    // The place becomes a count on the side named, so only that end of the block can go.
    if (i != (theAtFront ? fixed_ + unloadedBefore_ : LoadedCount() + unloadedBefore_ - 1))
        throw EInvalidOperation("Only the first or the last unfixed loaded item can be unloaded, not " +
                                std::to_string(i));
    TAxisContentItem* item = loaded_[IndexConvert_RealToLoaded(i)].get();
    TBabGridCellForViewer* root = gridCell_->GetRoot();
    bool keep = true;
    if (root && root->OnKeepAfterUnloadCheck) root->OnKeepAfterUnloadCheck(gridCell_, item, rowList_, keep);
    if (root && root->OnVirtualUnLoad) {
        bool can = true;
        root->OnVirtualUnLoad(gridCell_, item, rowList_, true, can);
    }
    DestroyLoaded(i, item);
    if (keep) {
        // The place stays as a count, so every other item keeps its real index.
        if (theAtFront)
            ++unloadedBefore_;
        else
            ++unloadedAfter_;
    } else {
        ListIndexesOutOfDate(theAtFront ? std::min(i, unloadedBefore_) : i);
        gridCell_->AxisItemVanished(*this, i);
    }
}

bool TAxisContentList::IntervalCanUnload(int theStart, int theStop, bool theUpwards)
{
    // An interval that reaches beyond the unfixed items cannot go (checked first, so that an
    // interval of any width costs no more than the axis holds).
    if (theStart < fixed_ || theStop >= Count()) return false;
    // Its count-only items are gone already: only the loaded ones are asked, and none is loaded
    // for the asking (a load could start a purge within this one).
    const int first = std::max(theStart, fixed_ + unloadedBefore_);
    const int last = std::min(theStop, LoadedCount() + unloadedBefore_ - 1);
    for (int n = 0; n <= last - first; ++n) {
        const int j = theUpwards ? first + n : last - n;
        if (!IsLoaded(j) || !CanUnload(loaded_[IndexConvert_RealToLoaded(j)].get())) return false;
    }
    return true;
}

bool TAxisContentList::PurgeFront()
{
    if (LoadedCount() <= fixed_) return false;
    TAxisContentItem* item = loaded_[fixed_].get();
    const int i = item->ListIndex();
    if (i >= lastLoadedFirst_ && i <= lastLoadedLast_) return false;
    int start = 0, stop = 0;
    UnloadIntervall(item, start, stop);
    // Only an interval holding the front item can go from the front (and each pass then
    // unloads at least that one).
    if (i < start || i > stop || !IntervalCanUnload(start, stop, true)) return false;
    const int count = std::min(stop, LoadedCount() + unloadedBefore_ - 1) - i + 1;
    for (int n = 0; n < count && LoadedCount() > fixed_; ++n) Unload(IndexConvert_LoadedToReal(fixed_), true);
    return true;
}

bool TAxisContentList::PurgeBack()
{
    if (LoadedCount() <= fixed_) return false;
    TAxisContentItem* item = loaded_.back().get();
    const int i = item->ListIndex();
    if (i >= lastLoadedFirst_ && i <= lastLoadedLast_) return false;
    int start = 0, stop = 0;
    UnloadIntervall(item, start, stop);
    if (i < start || i > stop || !IntervalCanUnload(start, stop, false)) return false;
    // From the back item down to the interval's start or the block's front, whichever is first.
    for (int j = i; j >= start && j >= fixed_ + unloadedBefore_; --j)
        if (IsLoaded(j)) Unload(j, false);
    return true;
}

void TAxisContentList::Purge()
{
    while (PurgeFront()) {
    }
    while (PurgeBack()) {
    }
}

void TAxisContentList::UnloadAll()
{
    gridCell_->SetSelected(false);
    ClearVisibles();
    Purge();
}

void TAxisContentList::ReportDeleteOfUnloaded(int& theStart, int& theStop)
{
    if (TBabGridCellForViewer* root = gridCell_->GetRoot(); root && root->OnDeleteOfUnloaded)
        root->OnDeleteOfUnloaded(gridCell_, rowList_, theStart, theStop);
}

void TAxisContentList::DeleteOfUnloaded(int theStart, int theStop)
{
    if (theStop < theStart) return;
    ReportDeleteOfUnloaded(theStart, theStop);
    // The range may reach beyond the axis (as far as the int range): only items there count,
    // so either branch takes at most the count-only items on its side.
    const int last = std::min(theStop, Count() - 1);
    if (last < theStart) return;  // beyond the axis, or turned round by the handler
    const int behind = LoadedCount() + unloadedBefore_;
    if (theStart >= fixed_ && theStop < fixed_ + unloadedBefore_) {
        unloadedBefore_ -= last - theStart + 1;
        ListIndexesOutOfDate(theStart);
    } else if (theStart >= behind) {
        unloadedAfter_ -= last - theStart + 1;
    } else {
        return;
    }
    gridCell_->ChangeInUnloaded(*this);
}

}  // namespace vxplan
