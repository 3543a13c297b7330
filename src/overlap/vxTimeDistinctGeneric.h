// Sub-columns for overlapping time items: each holder stands for one item (its span, a grouping
// key and a reference back to the item), and the computation gives every holder that overlaps
// another of its key a sub-column number, so that no two overlapping items share one.
//
// The numbering is the one of a fixed pair order: for holders from last to first, each holder
// that meets a conflict is placed, then its still unplaced partners from last to first; a
// placement takes the first sub-column where it conflicts with no holder already there. Holders
// that overlap nothing keep 0. The computation reaches that numbering by a sweep over sorted
// starts (vxTimeDistinctSweep) and falls back to walking the pairs only for input the sweep does
// not cover (reversed or empty spans, a holder listed twice, an earlier partial run).
#pragma once

#include <vxplan/platform/core/vxTypes.h>
#include <vxplan/platform/time/vxDateUtils.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace vxplan {

class TTimeDistinctGenericThread;

// One second as a fraction of a day.
inline constexpr TDateTime kDistinctTimeSecond = 1.0 / 86400.0;

// The date part kept, the time of day rounded to the nearest whole second (halves to even):
// how callers prepare the spans they hand in, so that near-touching items do not conflict.
TDateTime RoundToWholeSeconds(TDateTime value);

struct TDistinctTimeHolder {
    TDateTime Start = 0;
    TDateTime Stop = 0;
    std::string Key;
    // 0: never placed; 1..N: the sub-column, counted from 1.
    int SubColumn = 0;
    // The caller's item; not owned and never looked into here.
    TObject* Reference = nullptr;
};

class TDistinctTimeHolderList {
public:
    TDistinctTimeHolderList() = default;
    ~TDistinctTimeHolderList();
    TDistinctTimeHolderList(const TDistinctTimeHolderList&) = delete;
    TDistinctTimeHolderList& operator=(const TDistinctTimeHolderList&) = delete;

    // Makes the list own its holders from now on. A span given with its stop equal to its start
    // is stored one second long; a stop before the start is kept as given.
    TDistinctTimeHolder* Add(TDateTime aStart, TDateTime aStop, const std::string& aKey, TObject* aReference);
    // Appends a holder that somebody else owns (the lists of single sub-columns).
    void Append(TDistinctTimeHolder* aHolder);

    int Count() const { return static_cast<int>(items_.size()); }
    // Throws EListError for an index outside the list.
    TDistinctTimeHolder* Get(int i) const;
    // The first holder in list order whose Reference is aReference, or null.
    TDistinctTimeHolder* FindFromReference(const TObject* aReference) const;
    // Frees the holders when the list owns them, then empties it; OwnsHolders keeps its value.
    void Clear();

    bool OwnsHolders() const { return ownsHolders_; }
    const std::vector<TDistinctTimeHolder*>& Items() const { return items_; }

private:
    std::vector<TDistinctTimeHolder*> items_;
    bool ownsHolders_ = false;
    // Built at the first lookup after a change: done handlers look up every item they placed.
    mutable std::unordered_map<const TObject*, TDistinctTimeHolder*> byReference_;
    mutable bool byReferenceFresh_ = false;
};

class TTimeDistinctGeneric {
public:
    explicit TTimeDistinctGeneric(TDistinctTimeHolderList* aList);
    ~TTimeDistinctGeneric();
    TTimeDistinctGeneric(const TTimeDistinctGeneric&) = delete;
    TTimeDistinctGeneric& operator=(const TTimeDistinctGeneric&) = delete;

    // Same key, different holders, and the spans overlap (touching ends do not).
    static bool InConflict(const TDistinctTimeHolder* a, const TDistinctTimeHolder* b);
    // Puts h in the first sub-column where it conflicts with no holder, or in a new last one.
    void MoveToConflictFreePosition(TDistinctTimeHolder* h);

    // Without aResolve: whether any pair conflicts, changing nothing. With it: places every
    // holder that conflicts; the result is then false. A worker's termination stops either at
    // once (result false, placements made so far kept). Any failure inside comes out as an
    // Exception whose message starts with "ConflictLoop:".
    bool ConflictLoop(bool aResolve);
    bool HasConflicts() { return ConflictLoop(false); }
    void ResolveConflicts() { ConflictLoop(true); }

    // Sub-column k (from 1) is entry k-1; the lists do not own their holders.
    const std::vector<TDistinctTimeHolderList*>& SubColumns() const { return subColumns_; }
    TDistinctTimeHolderList* Input() const { return input_; }

    TTimeDistinctGenericThread* Thread() const { return thread_; }
    void SetThread(TTimeDistinctGenericThread* aThread) { thread_ = aThread; }
    bool Cancelled() const;

private:
    friend class TTimeDistinctSweep;
    bool PairLoop(bool aResolve);
    // Appends h to sub-column k (from 1), making the lists up to k as needed.
    void PlaceIn(TDistinctTimeHolder* h, int k);

    TDistinctTimeHolderList* input_;
    std::vector<TDistinctTimeHolderList*> subColumns_;
    TTimeDistinctGenericThread* thread_ = nullptr;
};

}  // namespace vxplan
