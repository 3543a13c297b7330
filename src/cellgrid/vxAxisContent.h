// One axis (the columns or the rows) of a grid cell: its items, and the index spaces that let an
// axis hold far more items than are in memory.
//
// Real indexes run over 0 .. Count-1 and are laid out as
//     [0, fixed)                       fixed items, always loaded
//     [fixed, fixed + before)          count-only items in front of the loaded block
//     [fixed + before, ... + loaded)   the loaded block
//     [..., Count)                     count-only items behind it
// The loaded list holds the fixed items followed by the loaded block; a loaded index is a
// position in it. At most about 500 items are loaded; the rest cost only the two counts.
#pragma once

#include <vxplan/cellgrid/vxBabGridTypes.h>

#include <memory>
#include <vector>

namespace vxplan {

// A user size shared by several items (attached by the application; not owned).
struct TUserSizeItem {
    bool Active = false;
    int Size = 0;
};

class TAxisContentItem : public TObject {
public:
    TAxisContentItem(TAxisContentList* theList, TObject* theValue) : value_(theValue), list_(theList) {}

    TObject* GetValue() const { return value_; }
    void SetValue(TObject* theValue) { value_ = theValue; }
    TObject* GetValue2() const { return value2_; }
    void SetValue2(TObject* theValue) { value2_ = theValue; }
    TAxisContentList* GetList() const { return list_; }

    // Extent and offset from the laid-out area's origin, as the last layout pass computed them.
    int GetSize() const { return size_; }
    void SetSize(int theSize) { size_ = theSize; }
    int GetPos() const { return pos_; }
    void SetPos(int thePos) { pos_ = thePos; }

    int GetUserSize() const { return userSizeItem_ ? userSizeItem_->Size : userSize_; }
    // Stores the size (in the shared record too) and tells the root grid cell.
    void SetUserSize(int theSize);
    bool GetUserSizeActive() const { return userSizeItem_ ? userSizeItem_->Active : userSizeActive_; }
    void SetUserSizeActive(bool theActive);
    TUserSizeItem* GetUserSizeItem() const { return userSizeItem_; }
    void SetUserSizeItem(TUserSizeItem* theItem) { userSizeItem_ = theItem; }

    bool GetHide() const { return hide_; }
    // A hidden item takes no room and is skipped by layout, drawing and navigation.
    void SetHide(bool theHide);

    // The real index (brings the list's cached indexes up to date first).
    int ListIndex();
    int LoadedListIndex();
    bool InVisibleList() const { return inVisibleList_; }

private:
    friend class TAxisContentList;
    TObject* value_;
    TObject* value2_ = nullptr;
    TAxisContentList* list_;
    int size_ = 0;
    int pos_ = 0;
    int userSize_ = 0;
    bool userSizeActive_ = false;
    TUserSizeItem* userSizeItem_ = nullptr;
    bool hide_ = false;
    int listIndex_ = -1;
    bool inVisibleList_ = false;
};

class TAxisContentList : public TObject {
public:
    static constexpr int kMaxLoaded = 500;
    // The most items one load may bring in: past it a host that keeps every loaded item would
    // run out of memory, so such a load is refused.
    static constexpr int kMaxLoadAtOnce = 1 << 18;

    TAxisContentList(TBabGridCell* theGridCell, bool theRowList);
    // Frees the loaded items without notifications (the matrix is gone by then).
    ~TAxisContentList() override;
    TAxisContentList(const TAxisContentList&) = delete;
    TAxisContentList& operator=(const TAxisContentList&) = delete;

    TBabGridCell* GetGridCell() const { return gridCell_; }
    bool IsRowList() const { return rowList_; }

    int Count() const { return LoadedCount() + unloadedBefore_ + unloadedAfter_; }
    int LoadedCount() const { return static_cast<int>(loaded_.size()); }
    int VisibleCount() const { return static_cast<int>(visible_.size()); }
    int GetHiddenRowCount() const { return static_cast<int>(hidden_.size()); }
    int GetUnloadedBefore() const { return unloadedBefore_; }
    int GetUnloadedAfter() const { return unloadedAfter_; }
    int GetFixed() const { return fixed_; }
    void SetFixed(int theFixed);
    bool GetLoadingAtFront() const { return loadingAtFront_; }
    int GetLoadDepth() const { return loadDepth_; }
    int GetLastLoadedFirst() const { return lastLoadedFirst_; }
    int GetLastLoadedLast() const { return lastLoadedLast_; }

    // The item at real index i, loading it when it is count-only (EListError outside the axis).
    TAxisContentItem* getAxisContentItem(int i);
    TAxisContentItem* getLoadedAxisContentItem(int j) const;
    TAxisContentItem* getVisibleAxisContentItem(int k) const;
    const std::vector<TAxisContentItem*>& HiddenItems() const { return hidden_; }

    TAxisContentItem* AddNew(TObject* theValue);
    // i in 0 .. Count; refused while a range is being loaded.
    TAxisContentItem* InsertNew(int i, TObject* theValue);
    void AddUnloaded(int n);
    void Move(int theFrom, int theTo);
    void Drop(int i);
    void Clear() { CommonClear(0); }
    void ClearKeepFixedItems() { CommonClear(fixed_); }

    int IndexConvert_RealToLoaded(int i) const { return i < fixed_ ? i : i - unloadedBefore_; }
    int IndexConvert_LoadedToReal(int j) const { return j < fixed_ ? j : j + unloadedBefore_; }
    bool IsLoaded(int i) const;

    void ListIndexesOutOfDate(int theFrom);
    void EnsureListIndexes();

    // Loading on demand (here) and unloading (vxAxisUnload.cpp).
    void EnsureLoadedItem(int i);
    void LoadItems(int theFirst, int theLast, bool theAtFront);
    void UnloadAll();
    void Unload(int i, bool theAtFront);
    void UnloadIntervall(TAxisContentItem* theItem, int& theStart, int& theStop);
    bool CanUnload(TAxisContentItem* theItem);
    void Purge();
    void DeleteOfUnloaded(int theStart, int theStop);

    void UpdateHiddenItemsList(TAxisContentItem* theItem, bool theAdd);
    void ClearVisibles();
    void AddToVisible(TAxisContentItem* theItem);

private:
    void CommonClear(int theKeep);
    // EListError when the axis already holds as many items as an int counts.
    void CheckRoomForOne() const;
    void ReportDeleteOfUnloaded(int& theStart, int& theStop);
    void CheckIndex(int i, int theLimit, const char* theWhat) const;
    void RemoveFromVisible(TAxisContentItem* theItem);
    // Takes the item out of every list, drops its cells and frees it.
    void DestroyLoaded(int i, TAxisContentItem* theItem);
    bool PurgeFront();
    bool PurgeBack();
    bool IntervalCanUnload(int theStart, int theStop, bool theUpwards);

    TBabGridCell* gridCell_;
    bool rowList_;
    bool loadingAtFront_ = false;
    int loadDepth_ = 0;
    std::vector<std::unique_ptr<TAxisContentItem>> loaded_;
    std::vector<TAxisContentItem*> visible_;
    std::vector<TAxisContentItem*> hidden_;
    bool indexesDirty_ = true;
    int dirtyFrom_ = 0;
    int unloadedBefore_ = 0;
    int unloadedAfter_ = 0;
    int fixed_ = 0;
    int lastLoadedFirst_ = -1;
    int lastLoadedLast_ = -1;
};

// Walks the indexes of an axis in display order: 0 .. fixed-1, then start .. count-1.
class TVisibleIterator {
public:
    TVisibleIterator(int theFixed, int theStart, int theCount) : fixed_(theFixed), start_(theStart), count_(theCount)
    {
        Reset();
    }
    void Reset() { current_ = fixed_ > 0 ? 0 : start_; }
    void Next()
    {
        ++current_;
        if (current_ >= fixed_ && current_ < start_) current_ = start_;
    }
    bool Done() const { return current_ >= count_; }
    int Current() const { return current_; }

private:
    int fixed_, start_, count_, current_ = 0;
};

}  // namespace vxplan
