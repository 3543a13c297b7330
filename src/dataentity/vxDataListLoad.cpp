// Virtual loading: the one contiguous block of entities in memory, how it grows at either end,
// and how it gives entities back.
#include <vxplan/dataentity/vxDataEntityPack.h>

#include <vxplan/dataentity/vxPinEntity_p.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/core/vxFlagScope.h>

#include <algorithm>
#include <limits>
#include <string>

namespace vxplan {

void TvxDataList::AddUnloaded(int n)
{
    CheckCreated();
    if (n < 0) throw EInvalidArgument("Cannot add a negative number of unloaded entities");
    if (n > std::numeric_limits<int>::max() - Count())
        throw EInvalidArgument("Cannot add " + std::to_string(n) + " unloaded entities to a list of " +
                               std::to_string(Count()) + ": a list holds at most 2147483647");
    fUnloadedAfter += n;
    if (fController && fController->OnContentChanged) fController->OnContentChanged(this);
    if (fController && fController->OnUnLoadedContentChanged) fController->OnUnLoadedContentChanged(this);
}

TvxDataEntity* TvxDataList::EnsureLoadedItem(int i)
{
    for (;;) {
        if (i < 0 || i >= Count()) return nullptr;
        if (IsLoaded(i)) return fLoaded[static_cast<size_t>(i - fUnloadedBefore)];
        if (fLoading) throw EInvalidOperation("A load was requested while the list was loading");

        const int end = fUnloadedBefore + LoadedCount();
        int from = i, to = i;
        bool atFront = false;
        if (i < fUnloadedBefore) {
            to = fUnloadedBefore - 1;
            atFront = true;
        } else if (end != 0 && i != end) {
            from = end;
        }
        if ((to - from) + LoadedCount() > kMaxLoaded && fHoldUnloads == 0) {
            UnloadAll();
            // Handlers of the unloads may have changed the list: i is looked at afresh.
            if (i >= Count() || IsLoaded(i)) continue;
            if (LoadedCount() == 0) {
                // Nothing stayed: anchor the empty block at i and load i alone.
                fUnloadedAfter = fUnloadedBefore + fUnloadedAfter - i;
                fUnloadedBefore = i;
                continue;
            }
            // Some entities refused to go; the range must still reach i so the block stays whole.
            const int end2 = fUnloadedBefore + LoadedCount();
            if (i < fUnloadedBefore) {
                from = i;
                to = fUnloadedBefore - 1;
                atFront = true;
            } else {
                from = end2;
                to = i;
                atFront = false;
            }
        }
        LoadItems(from, to, atFront);
        return fLoaded[static_cast<size_t>(i - fUnloadedBefore)];
    }
}

bool TvxDataList::LoadUnloadsFirst(int i) const
{
    if (IsLoaded(i) || fHoldUnloads > 0) return false;
    const int end = fUnloadedBefore + LoadedCount();
    const int span = i < fUnloadedBefore ? fUnloadedBefore - 1 - i : (end != 0 && i != end ? i - end : 0);
    return span + LoadedCount() > kMaxLoaded;
}

void TvxDataList::DisposeUncommitted(std::vector<TvxDataEntity*>& created)
{
    for (TvxDataEntity* e : created) {
        e->fDataList = nullptr;
        TvxExposable::FreeCall(e);
    }
    created.clear();
}

void TvxDataList::LoadItems(int from, int to, bool atFront)
{
    CheckCreated();
    if (fLoading) throw EInvalidOperation("A load was requested while the list was loading");
    if (from > to || from < 0 || to >= Count())
        throw EListError("Incorrect intervall " + std::to_string(from) + ".." + std::to_string(to) +
                         " for a list of " + std::to_string(Count()));
    if (fLoaded.empty() && fUnloadedBefore == 0) {
        // Nothing loaded: place the empty block where the new entities go.
        const int total = Count();
        fUnloadedBefore = atFront ? to + 1 : from;
        fUnloadedAfter = total - fUnloadedBefore;
    }
    const bool fits = atFront ? to == fUnloadedBefore - 1 : from == fUnloadedBefore + LoadedCount();
    if (!fits)
        throw EListError("Incorrect intervall " + std::to_string(from) + ".." + std::to_string(to) +
                         ": the loaded block must stay contiguous");

    std::vector<TvxDataEntity*> created;
    {
        const TFlagScope loading(fLoading);
        created.reserve(static_cast<size_t>(to - from + 1));
        try {
            for (int index = from; index <= to; ++index) {
                created.push_back(CreateItem());
                created.back()->fListIndex = index;
            }
        } catch (...) {
            // A half-made load leaves the list as it was.
            DisposeUncommitted(created);
            throw;
        }
        const int n = static_cast<int>(created.size());
        if (atFront) {
            fLoaded.insert(fLoaded.begin(), created.begin(), created.end());
            fUnloadedBefore = std::max(0, fUnloadedBefore - n);
        } else {
            fLoaded.insert(fLoaded.end(), created.begin(), created.end());
            fUnloadedAfter = std::max(0, fUnloadedAfter - n);
        }
        if (!fController || !fController->OnLoadItem) return;
        // Handlers run while the list still refuses further loads: filling one entity must not
        // reshape the block under the load.
        if (atFront)
            for (auto it = created.rbegin(); it != created.rend(); ++it) fController->OnLoadItem(*it);
        else
            for (TvxDataEntity* e : created) fController->OnLoadItem(e);
    }
}

bool TvxDataList::CanUnload(TvxDataEntity* theDataEntity)
{
    if (!theDataEntity || TvxPinEntity::IsPinned(theDataEntity) || fHoldUnloads > 0) return false;
    bool canUnload = false;
    if (fController && fController->OnUnloadItem) fController->OnUnloadItem(theDataEntity, canUnload);
    return canUnload;
}

void TvxDataList::Unload(int i, bool atFront)
{
    if (!IsLoaded(i)) throw EListError("No loadeditem found at index " + std::to_string(i));
    if (fLoading) throw EInvalidOperation("Not allowed to unload items during load");
    const int position = i - fUnloadedBefore;
    if (position != (atFront ? 0 : LoadedCount() - 1))
        throw EInvalidOperation("Only the first or the last loaded entity can be unloaded");
    TvxDataEntity* e = fLoaded[static_cast<size_t>(position)];
    if (TvxPinEntity::IsPinned(e)) throw EInvalidOperation("Not allowed to unload an entity that is being moved");
    fLoaded.erase(fLoaded.begin() + position);
    Removed(e);
    if (atFront)
        ++fUnloadedBefore;
    else
        ++fUnloadedAfter;
    if (fLoaded.empty()) {
        fUnloadedAfter += fUnloadedBefore;
        fUnloadedBefore = 0;
    }
    // The counts are right before the handlers hear of it: Count does not change by unloading.
    e->FreeWheneverPossible();
}

void TvxDataList::Purge()
{
    // An entity goes only while it is still at its end of the block once its handler agreed; a
    // handler that changed the block has the new end asked in turn.
    while (!fLoaded.empty()) {
        TvxDataEntity* e = fLoaded.front();
        if (!CanUnload(e)) break;
        if (!fLoaded.empty() && fLoaded.front() == e) Unload(fUnloadedBefore, true);
    }
    while (!fLoaded.empty()) {
        TvxDataEntity* e = fLoaded.back();
        if (!CanUnload(e)) break;
        if (!fLoaded.empty() && fLoaded.back() == e) Unload(fUnloadedBefore + LoadedCount() - 1, false);
    }
}

void TvxDataList::UnloadAll()
{
    ClearSelections();
    Purge();
}

}  // namespace vxplan
