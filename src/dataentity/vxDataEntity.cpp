// The data entity: selection, visibility, its index in the list, moves and changes of owner.
#include <vxplan/dataentity/vxDataEntityPack.h>

#include <vxplan/dataentity/vxPinEntity_p.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>
#include <limits>
#include <string>

namespace vxplan {

void TvxDataEntity::AfterCreate(TvxDataList* theDataList)
{
    fDataList = theDataList;
    SetVisible(true);
}

void TvxDataEntity::CleanForFree()
{
    TvxDataList* list = fDataList;
    if (!list) return;
    // Freed directly while still in its list's block (not through the list's Delete): it leaves
    // the block first, as Delete takes it out, so the list never holds a freed entity.
    if (const int i = ListIndex(); i >= 0) list->TakeOut(i);
    // The entity leaves its list even when a handler raises.
    struct Detach {
        TvxDataEntity* e;
        ~Detach() { e->fDataList = nullptr; }
    } detach{this};
    if (TvxListController* c = list->Controller()) {
        if (c->OnDeleteItem) c->OnDeleteItem(this);
        if (c->OnContentChanged) c->OnContentChanged(list);
    }
}

void TvxDataEntity::SetSelected(bool value)
{
    if (fSelected == value) return;
    fSelected = value;
    if (fDataList) fDataList->SelectionChanged(fDataList, this);
}

void TvxDataEntity::SetVisible(bool value)
{
    if (fVisible == value) return;
    fVisible = value;
    if (fDataList && fDataList->Controller() && fDataList->Controller()->OnVisibleChanged)
        fDataList->Controller()->OnVisibleChanged(this);
}

bool TvxDataEntity::GetCanEdit()
{
    if (fDataList && fDataList->Controller() && fDataList->Controller()->OnBeforeCanEditItem)
        fDataList->Controller()->OnBeforeCanEditItem(this);
    return fCanEdit;
}

int TvxDataEntity::ListIndex() const
{
    if (!fDataList) return -1;
    fDataList->EnsureListIndexes();
    // While it is being made or freed the entity knows its list without being in the block;
    // its cached index then names another entity's place.
    const int position = fListIndex - fDataList->fUnloadedBefore;
    if (position < 0 || position >= fDataList->LoadedCount() || fDataList->fLoaded[static_cast<size_t>(position)] != this)
        return -1;
    return fListIndex;
}

void TvxDataEntity::DoInfoPush()
{
    if (fDataList && fDataList->Controller() && fDataList->Controller()->OnInfoPush)
        fDataList->Controller()->OnInfoPush(this);
}

void TvxDataEntity::Move(int theNewIndex)
{
    TvxDataList* list = fDataList;
    if (!list || ListIndex() < 0) throw EInvalidOperation("Cannot move an entity that is in no list");
    if (theNewIndex < 0 || theNewIndex >= list->Count())
        throw EListError("Move to index " + std::to_string(theNewIndex) + " outside the list of " +
                         std::to_string(list->Count()));
    int placedAlone = -1;  // the old index, when the entity was moved as a block of one
    {
        // Loading the target may unload what it can; the entity moved must stay.
        TvxPinEntity pin(this);
        if (list->LoadUnloadsFirst(theNewIndex)) {
            list->UnloadAll();
            // Alone in the block, the entity goes to the target as a block of one: loading all
            // that lies between would cost as much as the distance, up to the whole list.
            if (fDataList == list && list->LoadedCount() == 1 && ListIndex() >= 0 && theNewIndex < list->Count()) {
                placedAlone = ListIndex();
                const int others = list->Count() - 1;
                list->fUnloadedBefore = theNewIndex;
                list->fUnloadedAfter = others - theNewIndex;
                list->ListIndexesOutOfDate(0);
            }
        }
        if (placedAlone < 0) list->EnsureLoadedItem(theNewIndex);
    }
    if (placedAlone >= 0) {
        if (list->Controller() && list->Controller()->OnHandlePerformedMove)
            list->Controller()->OnHandlePerformedMove(this, placedAlone, theNewIndex);
        return;
    }
    // Handlers of the load may have changed the list; positions are taken from what it is now.
    if (fDataList != list || theNewIndex >= list->Count() || !list->IsLoaded(theNewIndex))
        throw EInvalidOperation("The list changed while the entity was being moved");
    const int old = ListIndex();
    auto& block = list->fLoaded;
    const int from = old - list->fUnloadedBefore;
    const int to = theNewIndex - list->fUnloadedBefore;
    if (from < to)
        std::rotate(block.begin() + from, block.begin() + from + 1, block.begin() + to + 1);
    else if (to < from)
        std::rotate(block.begin() + to, block.begin() + from, block.begin() + from + 1);
    list->ListIndexesOutOfDate(std::min(old, theNewIndex));
    if (list->Controller() && list->Controller()->OnHandlePerformedMove)
        list->Controller()->OnHandlePerformedMove(this, old, theNewIndex);
}

void TvxDataEntity::ChangeOwner(TvxDataList* theNewDataList, int theIndex)
{
    TvxDataList* oldList = fDataList;
    if (!theNewDataList || !oldList || theNewDataList == oldList) return;
    theNewDataList->CheckCreated();
    if (!theNewDataList->fItemClass.IsInstance(this)) return;
    if (ListIndex() < 0) throw EInvalidOperation("Cannot change the owner of an entity that is leaving its list");
    if (theIndex < 0 || theIndex > theNewDataList->LoadedCount())
        throw EListError("Position " + std::to_string(theIndex) + " outside the loaded block of " +
                         std::to_string(theNewDataList->LoadedCount()));
    if (theNewDataList->Count() == std::numeric_limits<int>::max())
        throw EListError("The list holds 2147483647 entities, as many as it can");
    TvxListController* oldC = oldList->Controller();
    TvxListController* newC = theNewDataList->Controller();
    if (oldC && oldC->OnLeaveOwnerBeforeChange) {
        // The entity may be neither deleted nor unloaded while its old owner hears of the change.
        TvxPinEntity pin(this);
        oldC->OnLeaveOwnerBeforeChange(this);
    }
    if (fDataList != oldList || ListIndex() < 0 || theIndex > theNewDataList->LoadedCount())
        throw EInvalidOperation("The lists changed while the entity was changing owner");

    oldList->TakeOut(ListIndex());
    fDataList = theNewDataList;
    theNewDataList->fLoaded.insert(theNewDataList->fLoaded.begin() + theIndex, this);
    theNewDataList->ListIndexesOutOfDate(theIndex + theNewDataList->fUnloadedBefore);

    if (newC && newC->OnEnterOwnerAfterChange) newC->OnEnterOwnerAfterChange(this);
    if (newC && newC->OnContentChanged) newC->OnContentChanged(theNewDataList);
    if (oldC && oldC->OnContentChanged) oldC->OnContentChanged(oldList);
}

}  // namespace vxplan
