// Data entities, the data lists that hold them, the controller through which a list reports
// every change to the component that owns it, and the two- and three-level containers of lists.
//
// A list may be virtual: it knows how many entities it holds but keeps only one contiguous block
// of them in memory. Entities outside the block exist only as the counts before and after it;
// they are created on demand and filled by the controller's OnLoadItem.
//
// Sections: callback types and controller; entity; list; two- and three-level containers.
// The implementation is split by concern: vxDataEntity.cpp (entity), vxDataList.cpp (contents,
// selection, sorting, index cache), vxDataListLoad.cpp (virtual loading), vxDataListLevels.cpp.
#pragma once

#include <vxplan/dataentity/vxExposable.h>
#include <vxplan/platform/core/vxMethod.h>

#include <cstddef>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vxplan {

class TvxDataEntity;
class TvxDataList;
class TvxDataList2lev;
class TvxDataList3lev;

// ---- Callback types and controller ----

using TOnDataEntityNotify = TMethod<void(TvxDataEntity* theDataEntity)>;
using TOnDataEntityUnloadNotify = TMethod<void(TvxDataEntity* theDataEntity, bool& CanUnload)>;
using TOnDataListNotify = TMethod<void(TvxDataList* thevxDataList)>;
using TOnDataListDataEntityNotify = TMethod<void(TvxDataList* thevxDataList, TvxDataEntity* theDataEntity)>;
using TOnHandlePerformedMove = TMethod<void(TvxDataEntity* thevxDataEntity, int theOldIndex, int theNewIndex)>;
using TOnEntityCompare = TMethod<int(TvxDataEntity* the1, TvxDataEntity* the2)>;
using TFindFunc = TMethod<bool(TvxDataEntity* thevxDataEntity)>;
using TSelectedDataEntityEvent = TMethod<void(TvxDataList* theDataList, TvxDataEntity* theDataEntity)>;
using TOnMissingIndex = TMethod<void(TvxExposable* theCaller, int theIndex, bool& theFixable)>;

// The events through which components pass the controller's callbacks on to the host.
using TOnContentChanged = TMethod<void(TObject* Caller, TvxDataList* thevxDataList)>;
using TOnSelectionChanged = TMethod<void(TObject* Caller, TvxDataList* thevxDataList, TvxDataEntity* theDataEntity)>;
using TOnDeleteItem = TMethod<void(TObject* Caller, TvxDataEntity* theDataEntity)>;
using TOnInsertItem = TOnDeleteItem;
using TOnInfoPush = TOnDeleteItem;
using TOnBeforeCanEditItem = TOnDeleteItem;

// The callbacks a list raises. Each is empty until the owning component assigns it; an empty
// callback is simply not raised.
struct TvxListController {
    TOnDataEntityNotify OnDeleteItem;
    TOnDataEntityNotify OnInsertItem;
    TOnDataEntityNotify OnEnterOwnerAfterChange;
    TOnDataEntityNotify OnLeaveOwnerBeforeChange;
    TOnEntityCompare OnSortCompare;
    TOnHandlePerformedMove OnHandlePerformedMove;
    TOnDataListDataEntityNotify OnSelectionChanged;
    TOnDataListNotify OnContentChanged;
    TOnDataEntityNotify OnVisibleChanged;
    TOnDataEntityNotify OnBeforeCanEditItem;
    TOnDataEntityNotify OnInfoPush;
    TOnDataEntityNotify OnLoadItem;
    TOnDataEntityUnloadNotify OnUnloadItem;
    TOnDataListNotify OnUnLoadedContentChanged;
};

// The class of the entities a list creates: how to make one, and whether an entity is one
// (an instance of the class or of a class derived from it).
struct TvxDataEntityClass {
    TvxDataEntity* (*Create)() = nullptr;
    bool (*IsInstance)(const TvxDataEntity*) = nullptr;
    explicit operator bool() const { return Create != nullptr; }
};

template <class T>
TvxDataEntityClass EntityClassOf()
{
    return {[]() -> TvxDataEntity* { return new T; },
            [](const TvxDataEntity* e) { return dynamic_cast<const T*>(e) != nullptr; }};
}

// ---- Entity ----

class TvxDataEntity : public TvxExposable {
public:
    TvxDataEntity() = default;
    TvxDataEntity(const TvxDataEntity&) = delete;
    TvxDataEntity& operator=(const TvxDataEntity&) = delete;

    void CleanForFree() override;
    virtual void SetVisible(bool value);
    virtual bool GetVisible() const { return fVisible; }
    // Called once by the list right after construction; the base stores the list and makes the
    // entity visible.
    virtual void AfterCreate(TvxDataList* theDataList);

    bool GetSelected() const { return fSelected; }
    void SetSelected(bool value);
    // Asks the list's controller first (OnBeforeCanEditItem may write the answer).
    bool GetCanEdit();
    void SetCanEdit(bool value) { fCanEdit = value; }
    TvxDataList* GetDataList() const { return fDataList; }
    void* GetUserReference() const { return fUserReference; }
    void SetUserReference(void* const value) { fUserReference = value; }

    // The index in the whole list (loaded and unloaded entities alike); -1 without a list, and
    // while the entity is being made or freed (its notifications then run outside the list).
    int ListIndex() const;
    void Move(int theNewIndex);
    // Moves the entity into theNewDataList at theIndex, a position in that list's loaded block
    // (so an entity never lands among unloaded entities). Ignored unless the new list is another
    // list whose item class the entity is an instance of.
    void ChangeOwner(TvxDataList* theNewDataList, int theIndex);
    void DoInfoPush();

protected:
    ~TvxDataEntity() override = default;

private:
    friend class TvxDataList;
    // An entity an operation is working on may not be unloaded until the operation ends.
    friend class TvxPinEntity;

    bool fSelected = false;
    bool fVisible = false;
    bool fCanEdit = false;
    TvxDataList* fDataList = nullptr;
    void* fUserReference = nullptr;
    int fListIndex = 0;
    int fPins = 0;
};

// ---- List ----

class TvxDataList : public TvxExposable {
public:
    TvxDataList() = default;
    TvxDataList(const TvxDataList&) = delete;
    TvxDataList& operator=(const TvxDataList&) = delete;

    // Disposes of every loaded entity (raising their delete notifications) and forgets the
    // unloaded ones.
    void CleanForFree() override;
    // Disposes of one entity; the base calls its FreeWheneverPossible.
    virtual void FreeDataEntity(TvxDataEntity* theDataEntity);
    // Must be called once after construction; an empty class means plain TvxDataEntity.
    virtual void AfterCreate(TvxListController* theController, TvxDataEntityClass theItemClass = {});
    virtual void AddUnloaded(int n);

    TvxListController* Controller() const { return fController; }
    int Count() const { return fUnloadedBefore + static_cast<int>(fLoaded.size()) + fUnloadedAfter; }
    int LoadedCount() const { return static_cast<int>(fLoaded.size()); }
    int UnloadedBefore() const { return fUnloadedBefore; }
    int UnloadedAfter() const { return fUnloadedAfter; }
    // The i-th entity of the loaded block.
    TvxDataEntity* GetLoaded(int i) const;
    bool IsLoaded(int i) const { return i >= fUnloadedBefore && i < fUnloadedBefore + LoadedCount(); }

    // The entity at list index i, loaded if needed; null when i is outside the list.
    TvxDataEntity* GetItems(int i) { return EnsureLoadedItem(i); }
    TvxDataEntity* operator[](int i) { return GetItems(i); }

    TvxDataEntity* Add() { return Insert(Count()); }
    TvxDataEntity* Insert(int i);
    void Delete(int i);
    void Remove(TvxDataEntity* theDataEntity);
    void Clear();
    int IndexOf(const TvxDataEntity* theDataEntity) const;
    void Sort(bool descending);
    TvxDataEntity* FindDataEntity(const TFindFunc& theFunc) const;
    void IteratorOfSelectedDataEntities(const TSelectedDataEntityEvent& theProc);
    void ClearSelections();
    void SelectionChanged(TvxDataList* theDataList, TvxDataEntity* theDataEntity);
    int VisibleCount() const;
    bool ValidIndexDataEntity(int i) const { return fCreated && i >= 0 && i < Count(); }
    bool VisibleIndexDataEntity(int i);
    int ListIndexToVisibleIndex(int i) const;
    int VisibleIndexToListIndex(int v) const;

    // Virtual lists.
    TvxDataEntity* EnsureLoadedItem(int i);
    void LoadItems(int from, int to, bool atFront);
    bool CanUnload(TvxDataEntity* theDataEntity);
    void Unload(int i, bool atFront);
    void Purge();
    void UnloadAll();
    // The most entities a request for one index makes the block hold, unless fewer can go.
    static constexpr int kMaxLoaded = 500;

    // Index cache.
    void EnsureListIndexes() const;
    void ListIndexesOutOfDate(int i) const;
    void UpdateListIndexesFrom(int i) const;

    TvxDataEntity* CreateItem();
    TvxDataEntity* InsertItem(int position);

protected:
    ~TvxDataList() override;

private:
    friend class TvxDataEntity;
    friend class TvxHoldUnloads;

    void CheckCreated() const;
    // Whether loading the unloaded index i gives up the other loaded entities first (as
    // EnsureLoadedItem does once the block would hold more than kMaxLoaded).
    bool LoadUnloadsFirst(int i) const;
    // Calls theProc for every loaded entity that is selected when its turn comes, in list order.
    void ForEachSelected(const std::function<void(TvxDataEntity*)>& theProc);
    void DisposeUncommitted(std::vector<TvxDataEntity*>& created);

    std::vector<TvxDataEntity*> fLoaded;
    TvxListController* fController = nullptr;
    TvxDataEntityClass fItemClass;
    mutable bool fIndexStale = true;
    mutable int fFirstStale = 0;
    int fUnloadedBefore = 0;
    int fUnloadedAfter = 0;
    bool fCreated = false;
    bool fLoading = false;
    // While above 0, requests for indexes load without unloading anything first.
    int fHoldUnloads = 0;
    // The walks over a copy of the block that are running: each learns which entities left the
    // block meanwhile, so it never reaches one that may be gone.
    std::vector<std::unordered_set<const TvxDataEntity*>*> fWalks;
    void Removed(const TvxDataEntity* theDataEntity);
    // The loaded entity at real index i leaves the block: running walks learn of it and the
    // entities after it move up one place.
    void TakeOut(int i);
};

// ---- Two- and three-level containers: references only, freeing them frees no list ----

class TvxDataList2lev : public TvxExposable {
public:
    void AfterCreate() { fCreated = true; }
    void CleanForFree() override { Clear(); }

    void Add(TvxDataList* theDataList);
    void Delete(int i);
    void Remove(TvxDataList* theDataList);
    int IndexOf(const TvxDataList* theDataList) const;
    int Count() const { return static_cast<int>(fLists.size()); }
    void Clear()
    {
        fLists.clear();
        fCounts.clear();
    }
    // Past the end, OnMissingIndex may add the missing lists (and say so through theFixable).
    TvxDataList* GetDataList(int i);
    void SetDataList(int i, TvxDataList* theDataList);
    TvxDataList* DataList(int i) { return GetDataList(i); }

    // Selection across the lists, in list order and by index. Only loaded entities can be
    // selected, so these look at the loaded blocks alone and load at most the entity selected.
    void ClearSelections();
    TvxDataEntity* FindSelected();
    void SelectNext();
    void SelectPrev();
    void SelectDataEntity(TvxDataEntity* theDataEntity);

    TOnMissingIndex OnMissingIndex;

protected:
    ~TvxDataList2lev() override = default;

private:
    std::vector<TvxDataList*> fLists;
    // How often each list is held, so that adding stays constant-time on huge containers.
    std::unordered_map<const TvxDataList*, int> fCounts;
    bool fCreated = false;
};

class TvxDataList3lev : public TvxExposable {
public:
    void AfterCreate() { fCreated = true; }
    void CleanForFree() override { Clear(); }

    void Add(TvxDataList2lev* theDataList2lev);
    void Delete(int i);
    void Remove(TvxDataList2lev* theDataList2lev);
    int IndexOf(const TvxDataList2lev* theDataList2lev) const;
    int Count() const { return static_cast<int>(fLists.size()); }
    void Clear()
    {
        fLists.clear();
        fCounts.clear();
    }
    TvxDataList2lev* GetDataListList(int i) const;
    void SetDataListList(int i, TvxDataList2lev* theDataList2lev);
    TvxDataList2lev* DataListList(int i) const { return GetDataListList(i); }

protected:
    ~TvxDataList3lev() override = default;

private:
    std::vector<TvxDataList2lev*> fLists;
    std::unordered_map<const TvxDataList2lev*, int> fCounts;
    bool fCreated = false;
};

}  // namespace vxplan
