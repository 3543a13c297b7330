// The data list: contents, selection, visibility, sorting and the index cache.
#include <vxplan/dataentity/vxDataEntityPack.h>

#include <vxplan/dataentity/vxPinEntity_p.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>
#include <exception>
#include <limits>
#include <string>

namespace vxplan {

namespace {
std::string OutOfRange(int i, int count)
{
    return "List index out of bounds (" + std::to_string(i) + " of " + std::to_string(count) + ")";
}
}  // namespace

TvxDataList::~TvxDataList()
{
    // CleanForFree normally emptied the block; what remains was never reported and goes quietly.
    for (TvxDataEntity* e : fLoaded) {
        e->fDataList = nullptr;
        TvxExposable::FreeCall(e);
    }
}

void TvxDataList::AfterCreate(TvxListController* theController, TvxDataEntityClass theItemClass)
{
    if (fCreated) throw EInvalidOperation("The list is already created");
    fController = theController;
    fItemClass = theItemClass ? theItemClass : EntityClassOf<TvxDataEntity>();
    fCreated = true;
    ListIndexesOutOfDate(0);
}

void TvxDataList::CheckCreated() const
{
    if (!fCreated) throw EInvalidOperation("The list is used before AfterCreate");
}

void TvxDataList::CleanForFree()
{
    // Every entity is disposed of even when a handler raises; the first error goes on afterwards.
    std::exception_ptr first;
    while (!fLoaded.empty()) {
        TvxDataEntity* e = fLoaded.back();
        fLoaded.pop_back();
        Removed(e);
        try {
            FreeDataEntity(e);
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    fUnloadedBefore = 0;
    fUnloadedAfter = 0;
    ListIndexesOutOfDate(0);
    if (first) std::rethrow_exception(first);
}

void TvxDataList::FreeDataEntity(TvxDataEntity* theDataEntity)
{
    if (theDataEntity) theDataEntity->FreeWheneverPossible();
}

TvxDataEntity* TvxDataList::GetLoaded(int i) const
{
    if (i < 0 || i >= LoadedCount()) throw EListError("Loaded " + OutOfRange(i, LoadedCount()));
    return fLoaded[static_cast<size_t>(i)];
}

TvxDataEntity* TvxDataList::CreateItem()
{
    CheckCreated();
    TvxDataEntity* e = fItemClass.Create();
    try {
        e->AfterCreate(this);
    } catch (...) {
        e->fDataList = nullptr;
        TvxExposable::FreeCall(e);
        throw;
    }
    e->fDataList = this;
    return e;
}

TvxDataEntity* TvxDataList::InsertItem(int position)
{
    CheckCreated();
    if (fLoading) throw EInvalidOperation("Not allowed to add items during load");
    if (position < 0 || position > LoadedCount())
        throw EListError("Insert position " + OutOfRange(position, LoadedCount()));
    if (Count() == std::numeric_limits<int>::max())
        throw EListError("The list holds 2147483647 entities, as many as it can");
    TvxDataEntity* e = CreateItem();
    const bool selected = e->fSelected;
    try {
        e->SetSelected(false);
    } catch (...) {
        e->fDataList = nullptr;
        TvxExposable::FreeCall(e);
        throw;
    }
    fLoaded.insert(fLoaded.begin() + position, e);
    ListIndexesOutOfDate(position + fUnloadedBefore);
    if (fController && fController->OnInsertItem) fController->OnInsertItem(e);
    if (fController && fController->OnContentChanged) fController->OnContentChanged(this);
    e->SetSelected(selected);
    return e;
}

TvxDataEntity* TvxDataList::Insert(int i)
{
    CheckCreated();
    if (fLoading) throw EInvalidOperation("Not allowed to add items during load");
    if (i < 0 || i > Count()) throw EListError("Insert " + OutOfRange(i, Count()));
    EnsureLoadedItem(i);
    if (i == Count() && i >= 1) EnsureLoadedItem(i - 1);
    return InsertItem(i - fUnloadedBefore);
}

void TvxDataList::Delete(int i)
{
    if (i < 0 || i >= Count()) return;
    if (IsLoaded(i)) {
        // The load still reports its new entities; none of them may be freed under it.
        if (fLoading) throw EInvalidOperation("Not allowed to delete items during load");
        TvxDataEntity* e = fLoaded[static_cast<size_t>(i - fUnloadedBefore)];
        // An operation working on the entity (a move, a change of owner) still needs it.
        if (TvxPinEntity::IsPinned(e)) throw EInvalidOperation("Not allowed to delete an entity that is being moved");
        TakeOut(i);
        FreeDataEntity(e);
        return;
    }
    if (i >= fUnloadedBefore) {
        --fUnloadedAfter;
    } else {
        --fUnloadedBefore;
        ListIndexesOutOfDate(0);
    }
}

void TvxDataList::Remove(TvxDataEntity* theDataEntity)
{
    if (!theDataEntity) return;
    // Deleting by the index of another list's entity would delete the wrong one.
    if (theDataEntity->fDataList != this) throw EInvalidArgument("The entity is not in this list");
    Delete(theDataEntity->ListIndex());
}

void TvxDataList::Clear()
{
    while (!fLoaded.empty()) Remove(fLoaded.back());
    fUnloadedBefore = 0;
    fUnloadedAfter = 0;
    ListIndexesOutOfDate(0);
    if (fController && fController->OnUnLoadedContentChanged) fController->OnUnLoadedContentChanged(this);
}

int TvxDataList::IndexOf(const TvxDataEntity* theDataEntity) const
{
    if (!theDataEntity || theDataEntity->fDataList != this) return -1;
    return theDataEntity->ListIndex();
}

void TvxDataList::Sort(bool descending)
{
    if (!fController || !fController->OnSortCompare) return;
    {
        // Every entity is loaded to be sorted; none loaded may be unloaded meanwhile.
        TvxHoldUnloads hold(this);
        for (int i = 0; i < Count(); ++i) EnsureLoadedItem(i);
    }
    // Handlers of the loads may have moved entities away: what is sorted is what the block holds
    // now, so no entity is written back into a list it has left.
    if (LoadedCount() != Count()) throw EInvalidOperation("The list changed while it was loaded for sorting");
    std::vector<TvxDataEntity*> all = fLoaded;
    // The handler works on a copy: if it raises, the list keeps its order. A stable sort stays
    // within bounds even when the handler's answers contradict one another.
    const TOnEntityCompare compare = fController->OnSortCompare;
    std::stable_sort(all.begin(), all.end(),
                     [&](TvxDataEntity* a, TvxDataEntity* b) { return compare(a, b) < 0; });
    if (descending) std::reverse(all.begin(), all.end());
    fLoaded = std::move(all);
    ListIndexesOutOfDate(0);
    if (fController->OnContentChanged) fController->OnContentChanged(this);
}

TvxDataEntity* TvxDataList::FindDataEntity(const TFindFunc& theFunc) const
{
    if (!theFunc) return nullptr;
    for (TvxDataEntity* e : fLoaded)
        if (theFunc(e)) return e;
    return nullptr;
}

void TvxDataList::Removed(const TvxDataEntity* theDataEntity)
{
    for (auto* walk : fWalks) walk->insert(theDataEntity);
}

void TvxDataList::TakeOut(int i)
{
    const auto position = fLoaded.begin() + (i - fUnloadedBefore);
    const TvxDataEntity* e = *position;
    fLoaded.erase(position);
    Removed(e);
    ListIndexesOutOfDate(i);
}

// The calls may delete or move entities (deleting the selected ones is the common use): the walk
// goes over a copy of the block and passes over every entity that left the block meanwhile,
// telling them by address alone, so an entity that is gone is never reached.
void TvxDataList::ForEachSelected(const std::function<void(TvxDataEntity*)>& theProc)
{
    const std::vector<TvxDataEntity*> todo = fLoaded;
    std::unordered_set<const TvxDataEntity*> left;
    fWalks.push_back(&left);
    struct EndWalk {
        std::vector<std::unordered_set<const TvxDataEntity*>*>& walks;
        ~EndWalk() { walks.pop_back(); }
    } endWalk{fWalks};
    for (TvxDataEntity* e : todo)
        if ((left.empty() || !left.count(e)) && e->fSelected) theProc(e);
}

void TvxDataList::IteratorOfSelectedDataEntities(const TSelectedDataEntityEvent& theProc)
{
    if (!theProc) return;
    ForEachSelected([&](TvxDataEntity* e) { theProc(this, e); });
}

void TvxDataList::ClearSelections()
{
    ForEachSelected([](TvxDataEntity* e) { e->SetSelected(false); });
}

void TvxDataList::SelectionChanged(TvxDataList* theDataList, TvxDataEntity* theDataEntity)
{
    if (fController && fController->OnSelectionChanged) fController->OnSelectionChanged(theDataList, theDataEntity);
}

int TvxDataList::VisibleCount() const
{
    return static_cast<int>(std::count_if(fLoaded.begin(), fLoaded.end(), [](const TvxDataEntity* e) { return e->GetVisible(); }));
}

bool TvxDataList::VisibleIndexDataEntity(int i)
{
    return ValidIndexDataEntity(i) && GetItems(i)->GetVisible();
}

// Only loaded entities are counted: the visibility of an unloaded entity is unknown.
int TvxDataList::ListIndexToVisibleIndex(int i) const
{
    if (i < 0) return -1;
    const int last = std::min(i, fUnloadedBefore + LoadedCount() - 1) - fUnloadedBefore;
    int visible = 0;
    for (int p = 0; p <= last; ++p)
        if (fLoaded[static_cast<size_t>(p)]->GetVisible()) ++visible;
    return visible - 1;
}

int TvxDataList::VisibleIndexToListIndex(int v) const
{
    if (v < 0) return -1;
    int seen = 0;
    for (size_t p = 0; p < fLoaded.size(); ++p)
        if (fLoaded[p]->GetVisible() && seen++ == v) return static_cast<int>(p) + fUnloadedBefore;
    return -1;
}

void TvxDataList::ListIndexesOutOfDate(int i) const
{
    fFirstStale = fIndexStale ? std::min(fFirstStale, i) : i;
    fIndexStale = true;
}

void TvxDataList::EnsureListIndexes() const
{
    if (!fIndexStale) return;
    UpdateListIndexesFrom(fFirstStale);
    fIndexStale = false;
    fFirstStale = Count();
}

void TvxDataList::UpdateListIndexesFrom(int i) const
{
    for (size_t p = static_cast<size_t>(std::max(0, i - fUnloadedBefore)); p < fLoaded.size(); ++p)
        fLoaded[p]->fListIndex = static_cast<int>(p) + fUnloadedBefore;
}

}  // namespace vxplan
