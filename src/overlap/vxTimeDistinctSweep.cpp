// The sweep behind TTimeDistinctGeneric: the pair walk's placements in O(n log n) plus the
// first-fit scans of the sub-columns.
#include <vxplan/overlap/vxTimeDistinctSweep_p.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace vxplan {

namespace {
constexpr TDateTime kNone = -std::numeric_limits<TDateTime>::infinity();
}

TTimeDistinctSweep::TTimeDistinctSweep(TTimeDistinctGeneric& aOwner) : owner_(aOwner), items_(aOwner.input_->Items())
{
    if (!owner_.subColumns_.empty()) return;
    std::unordered_set<const TDistinctTimeHolder*> seen;
    seen.reserve(items_.size());
    for (const TDistinctTimeHolder* h : items_) {
        // Written so that NaN ends up here too.
        if (!(h->Start < h->Stop)) return;
        if (!seen.insert(h).second) return;
    }
    covers_ = true;
}

void TTimeDistinctSweep::Prepare()
{
    const int n = static_cast<int>(items_.size());
    keyOf_.resize(static_cast<size_t>(n));
    std::unordered_map<std::string_view, int> keyNumbers;
    for (int i = 0; i < n; ++i) {
        const auto [it, added] = keyNumbers.emplace(items_[static_cast<size_t>(i)]->Key, static_cast<int>(keyNumbers.size()));
        keyOf_[static_cast<size_t>(i)] = it->second;
    }
    const int keyCount = static_cast<int>(keyNumbers.size());

    byStart_.resize(static_cast<size_t>(n));
    std::iota(byStart_.begin(), byStart_.end(), 0);
    std::sort(byStart_.begin(), byStart_.end(), [&](int a, int b) {
        const int ka = keyOf_[static_cast<size_t>(a)], kb = keyOf_[static_cast<size_t>(b)];
        if (ka != kb) return ka < kb;
        const TDateTime sa = items_[static_cast<size_t>(a)]->Start, sb = items_[static_cast<size_t>(b)]->Start;
        return sa != sb ? sa < sb : a < b;
    });

    keys_.assign(static_cast<size_t>(keyCount), {});
    positionOf_.resize(static_cast<size_t>(n));
    sortedStarts_.resize(static_cast<size_t>(n));
    sortedStops_.resize(static_cast<size_t>(n));
    for (int p = 0; p < n; ++p) {
        const int i = byStart_[static_cast<size_t>(p)];
        const TDistinctTimeHolder* h = items_[static_cast<size_t>(i)];
        positionOf_[static_cast<size_t>(i)] = p;
        sortedStarts_[static_cast<size_t>(p)] = h->Start;
        sortedStops_[static_cast<size_t>(p)] = h->Stop;
        TKeyRange& range = keys_[static_cast<size_t>(keyOf_[static_cast<size_t>(i)])];
        if (range.end == 0) range.begin = p;
        range.end = p + 1;
    }
    for (const TKeyRange& range : keys_)
        std::sort(sortedStops_.begin() + range.begin, sortedStops_.begin() + range.end);

    while (leaves_ < n) leaves_ *= 2;
    tree_.assign(static_cast<size_t>(2 * leaves_), kNone);
    for (int p = 0; p < n; ++p) {
        const TDistinctTimeHolder* h = items_[static_cast<size_t>(byStart_[static_cast<size_t>(p)])];
        // A holder the caller marked already counts as placed, as in the pair walk.
        if (h->SubColumn == 0) tree_[static_cast<size_t>(leaves_ + p)] = h->Stop;
    }
    for (int node = leaves_ - 1; node >= 1; --node)
        tree_[static_cast<size_t>(node)] = std::max(tree_[static_cast<size_t>(2 * node)], tree_[static_cast<size_t>(2 * node + 1)]);
    columns_.assign(static_cast<size_t>(keyCount), {});
}

bool TTimeDistinctSweep::HasConflicts()
{
    // Sorted by start, two spans of a key overlap exactly when one starts before an earlier
    // one has stopped.
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const TDistinctTimeHolder* ha = items_[static_cast<size_t>(a)];
        const TDistinctTimeHolder* hb = items_[static_cast<size_t>(b)];
        if (ha->Key != hb->Key) return ha->Key < hb->Key;
        return ha->Start < hb->Start;
    });
    const std::string* key = nullptr;
    TDateTime reach = kNone;
    for (size_t p = 0; p < order.size(); ++p) {
        if ((p & 1023) == 0 && owner_.Cancelled()) return false;
        const TDistinctTimeHolder* h = items_[static_cast<size_t>(order[p])];
        if (!key || *key != h->Key) {
            key = &h->Key;
            reach = kNone;
        }
        if (h->Start < reach) return !owner_.Cancelled();
        reach = std::max(reach, h->Stop);
    }
    return false;
}

bool TTimeDistinctSweep::HasPartner(int i) const
{
    const TDistinctTimeHolder* h = items_[static_cast<size_t>(i)];
    const TKeyRange& range = keys_[static_cast<size_t>(keyOf_[static_cast<size_t>(i)])];
    const auto startsBegin = sortedStarts_.begin() + range.begin, startsEnd = sortedStarts_.begin() + range.end;
    const auto stopsBegin = sortedStops_.begin() + range.begin, stopsEnd = sortedStops_.begin() + range.end;
    // Every span that stops by h's start also starts before h's stop, so the difference counts
    // the spans overlapping h, h among them.
    const auto startingBefore = std::lower_bound(startsBegin, startsEnd, h->Stop) - startsBegin;
    const auto stoppedBy = std::upper_bound(stopsBegin, stopsEnd, h->Start) - stopsBegin;
    return startingBefore - stoppedBy >= 2;
}

void TTimeDistinctSweep::CollectUnplaced(int node, int nodeLo, int nodeHi, int lo, int hi, TDateTime after)
{
    if (nodeHi <= lo || hi <= nodeLo || !(tree_[static_cast<size_t>(node)] > after)) return;
    if (node >= leaves_) {
        found_.push_back(byStart_[static_cast<size_t>(nodeLo)]);
        return;
    }
    const int mid = (nodeLo + nodeHi) / 2;
    CollectUnplaced(2 * node, nodeLo, mid, lo, hi, after);
    CollectUnplaced(2 * node + 1, mid, nodeHi, lo, hi, after);
}

void TTimeDistinctSweep::RemoveFromTree(int position)
{
    int node = leaves_ + position;
    tree_[static_cast<size_t>(node)] = kNone;
    for (node /= 2; node >= 1; node /= 2)
        tree_[static_cast<size_t>(node)] = std::max(tree_[static_cast<size_t>(2 * node)], tree_[static_cast<size_t>(2 * node + 1)]);
}

void TTimeDistinctSweep::Place(int i)
{
    TDistinctTimeHolder* h = items_[static_cast<size_t>(i)];
    RemoveFromTree(positionOf_[static_cast<size_t>(i)]);
    std::vector<TColumn>& columns = columns_[static_cast<size_t>(keyOf_[static_cast<size_t>(i)])];
    for (size_t k = 0; k < columns.size(); ++k) {
        TColumn& column = columns[k];
        auto next = column.lower_bound(h->Stop);
        // The last span starting before h stops is the only one that can still reach into h.
        if (next != column.begin() && std::prev(next)->second > h->Start) continue;
        column.emplace_hint(next, h->Start, h->Stop);
        owner_.PlaceIn(h, static_cast<int>(k) + 1);
        return;
    }
    columns.emplace_back().emplace(h->Start, h->Stop);
    owner_.PlaceIn(h, static_cast<int>(columns.size()));
}

void TTimeDistinctSweep::Resolve()
{
    if (items_.size() < 2) return;
    Prepare();
    for (int i = static_cast<int>(items_.size()) - 1; i >= 0; --i) {
        if (owner_.Cancelled()) return;
        TDistinctTimeHolder* h = items_[static_cast<size_t>(i)];
        if (h->SubColumn == 0) {
            if (!HasPartner(i)) continue;
            Place(i);
        }
        const TKeyRange& range = keys_[static_cast<size_t>(keyOf_[static_cast<size_t>(i)])];
        // Partners start before h stops and stop after h starts.
        const int hi = static_cast<int>(std::lower_bound(sortedStarts_.begin() + range.begin,
                                                         sortedStarts_.begin() + range.end, h->Stop) -
                                        sortedStarts_.begin());
        found_.clear();
        CollectUnplaced(1, 0, leaves_, range.begin, hi, h->Start);
        std::sort(found_.begin(), found_.end(), std::greater<>());
        for (int j : found_) {
            if (owner_.Cancelled()) return;
            Place(j);
        }
    }
}

}  // namespace vxplan
