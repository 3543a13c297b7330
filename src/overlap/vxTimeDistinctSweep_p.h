// The sub-column numbering of TTimeDistinctGeneric without walking every pair.
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
//
// The pair walk visits holders from last to first; a visited holder with any conflict is placed
// (when it is not yet), then every partner of it still unplaced, from last to first. Only that
// order of placements matters, and each placement is a first fit. So the sweep
//  - tells whether a holder has a partner by counting, in its key's starts and stops sorted,
//    the spans that begin before it ends and those that end before it begins;
//  - finds a holder's unplaced partners in a tree of maximum stops over its key's spans sorted by
//    start, leaving out the placed ones, so each holder is found once;
//  - fits a holder into the first sub-column of its key whose spans (disjoint, so ordered by
//    start and by stop alike) leave its span free, looked up by its neighbour in start order.
// Spans of positive length only, each holder listed once, and no earlier sub-columns: other
// input goes to the pair walk, which decides it by the very same rules.
#pragma once

#include <vxplan/overlap/vxTimeDistinctGeneric.h>

#include <map>
#include <vector>

namespace vxplan {

class TTimeDistinctSweep {
public:
    explicit TTimeDistinctSweep(TTimeDistinctGeneric& aOwner);

    bool Covers() const { return covers_; }
    bool HasConflicts();
    void Resolve();

private:
    struct TKeyRange {
        int begin = 0;
        int end = 0;
    };
    using TColumn = std::map<TDateTime, TDateTime>;  // start -> stop of disjoint spans

    void Prepare();
    bool HasPartner(int i) const;
    void CollectUnplaced(int node, int nodeLo, int nodeHi, int lo, int hi, TDateTime after);
    void RemoveFromTree(int position);
    void Place(int i);

    TTimeDistinctGeneric& owner_;
    const std::vector<TDistinctTimeHolder*>& items_;
    bool covers_ = false;

    std::vector<int> keyOf_;               // holder -> key number
    std::vector<TKeyRange> keys_;          // key number -> its range of positions
    std::vector<int> byStart_;             // position -> holder, by key, then start
    std::vector<int> positionOf_;          // holder -> position
    std::vector<TDateTime> sortedStarts_;  // by position
    std::vector<TDateTime> sortedStops_;   // each key's range sorted on its own
    std::vector<TDateTime> tree_;          // maximum stop of the unplaced holders below a node
    int leaves_ = 1;
    std::vector<std::vector<TColumn>> columns_;  // key number -> its sub-columns
    std::vector<int> found_;
};

}  // namespace vxplan
