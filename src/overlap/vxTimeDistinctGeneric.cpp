// Holders, their lists, and the pair walk that defines the sub-column numbering.
#include <vxplan/overlap/vxTimeDistinctGeneric.h>

#include <vxplan/overlap/vxTimeDistinctGenericThread.h>
#include <vxplan/overlap/vxTimeDistinctSweep_p.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <cmath>

namespace vxplan {

TDateTime RoundToWholeSeconds(TDateTime value)
{
    const double date = std::trunc(value);
    // nearbyint rounds halves to even in the default rounding mode.
    const double seconds = std::nearbyint((value - date) * 86400.0);
    return date + seconds / 86400.0;
}

// --- TDistinctTimeHolderList ---

TDistinctTimeHolderList::~TDistinctTimeHolderList()
{
    Clear();
}

TDistinctTimeHolder* TDistinctTimeHolderList::Add(TDateTime aStart, TDateTime aStop, const std::string& aKey,
                                                  TObject* aReference)
{
    ownsHolders_ = true;
    auto* holder = new TDistinctTimeHolder;
    holder->Start = aStart;
    // An item without length still takes room on screen, so it can hide another.
    holder->Stop = aStop == aStart ? aStart + kDistinctTimeSecond : aStop;
    holder->Key = aKey;
    holder->Reference = aReference;
    try {
        items_.push_back(holder);
    } catch (...) {
        delete holder;
        throw;
    }
    byReferenceFresh_ = false;
    return holder;
}

void TDistinctTimeHolderList::Append(TDistinctTimeHolder* aHolder)
{
    items_.push_back(aHolder);
    byReferenceFresh_ = false;
}

TDistinctTimeHolder* TDistinctTimeHolderList::Get(int i) const
{
    if (i < 0 || i >= Count())
        throw EListError("Holder index " + std::to_string(i) + " out of range (count " + std::to_string(Count()) + ")");
    return items_[static_cast<size_t>(i)];
}

TDistinctTimeHolder* TDistinctTimeHolderList::FindFromReference(const TObject* aReference) const
{
    if (!byReferenceFresh_) {
        byReference_.clear();
        // emplace keeps the first holder of a reference, as a search in list order finds it.
        for (TDistinctTimeHolder* holder : items_)
            if (holder) byReference_.emplace(holder->Reference, holder);
        byReferenceFresh_ = true;
    }
    const auto it = byReference_.find(aReference);
    return it == byReference_.end() ? nullptr : it->second;
}

void TDistinctTimeHolderList::Clear()
{
    if (ownsHolders_)
        for (TDistinctTimeHolder* holder : items_) delete holder;
    items_.clear();
    byReference_.clear();
    byReferenceFresh_ = false;
}

// --- TTimeDistinctGeneric ---

TTimeDistinctGeneric::TTimeDistinctGeneric(TDistinctTimeHolderList* aList) : input_(aList) {}

TTimeDistinctGeneric::~TTimeDistinctGeneric()
{
    for (TDistinctTimeHolderList* column : subColumns_) delete column;
}

bool TTimeDistinctGeneric::InConflict(const TDistinctTimeHolder* a, const TDistinctTimeHolder* b)
{
    if (a == b || a->Key != b->Key) return false;
    // Written out rather than as one overlap test: it decides also for reversed spans.
    return (b->Start <= a->Start && a->Start < b->Stop) || (b->Start < a->Stop && a->Stop < b->Stop) ||
           (a->Start <= b->Start && b->Start < a->Stop) || (a->Start < b->Stop && b->Stop < a->Stop);
}

void TTimeDistinctGeneric::PlaceIn(TDistinctTimeHolder* h, int k)
{
    while (static_cast<int>(subColumns_.size()) < k) {
        auto* column = new TDistinctTimeHolderList;
        try {
            subColumns_.push_back(column);
        } catch (...) {
            delete column;
            throw;
        }
    }
    subColumns_[static_cast<size_t>(k - 1)]->Append(h);
    h->SubColumn = k;
}

void TTimeDistinctGeneric::MoveToConflictFreePosition(TDistinctTimeHolder* h)
{
    const int columns = static_cast<int>(subColumns_.size());
    for (int k = 0; k < columns; ++k) {
        bool free = true;
        for (const TDistinctTimeHolder* x : subColumns_[static_cast<size_t>(k)]->Items())
            if (InConflict(h, x)) {
                free = false;
                break;
            }
        if (free) return PlaceIn(h, k + 1);
    }
    PlaceIn(h, columns + 1);
}

bool TTimeDistinctGeneric::Cancelled() const
{
    return thread_ && thread_->IsTerminated();
}

bool TTimeDistinctGeneric::PairLoop(bool aResolve)
{
    const std::vector<TDistinctTimeHolder*>& items = input_->Items();
    const int count = static_cast<int>(items.size());
    for (int i = count - 1; i >= 0; --i) {
        TDistinctTimeHolder* a = items[static_cast<size_t>(i)];
        for (int j = count - 1; j >= 0; --j) {
            if (Cancelled()) return false;
            TDistinctTimeHolder* b = items[static_cast<size_t>(j)];
            if (i == j || !InConflict(a, b)) continue;
            if (!aResolve) return true;
            if (a->SubColumn == 0) MoveToConflictFreePosition(a);
            if (b->SubColumn == 0) MoveToConflictFreePosition(b);
        }
    }
    return false;
}

bool TTimeDistinctGeneric::ConflictLoop(bool aResolve)
{
    try {
        if (!input_) throw EInvalidArgument("No holder list");
        const std::vector<TDistinctTimeHolder*>& items = input_->Items();
        for (size_t i = 0; i < items.size(); ++i)
            if (!items[i]) throw EInvalidArgument("Holder " + std::to_string(i) + " is missing");
        TTimeDistinctSweep sweep(*this);
        if (sweep.Covers()) return aResolve ? (sweep.Resolve(), false) : sweep.HasConflicts();
        return PairLoop(aResolve);
    } catch (const std::exception& e) {
        throw Exception(std::string("ConflictLoop:") + e.what());
    } catch (...) {
        throw Exception("ConflictLoop:Unknown exception");
    }
}

}  // namespace vxplan
