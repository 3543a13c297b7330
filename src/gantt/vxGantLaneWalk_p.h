// The done handler's walk over a row's items, which calls the host's OnCollisionDetected on
// the way: a handler may free items or the row itself, so whatever goes while a walk runs is
// recorded here, by address, and the walk never reaches it.
// Internal to the library, not part of the vxplan API: hosts do not include it.
#pragma once

#include <unordered_set>

namespace vxplan {

class TGantRow;
class TvxDataEntity_Chronbar;

class TGantLaneWalk {
public:
    explicit TGantLaneWalk(const TGantRow* row);
    ~TGantLaneWalk();
    TGantLaneWalk(const TGantLaneWalk&) = delete;
    TGantLaneWalk& operator=(const TGantLaneWalk&) = delete;

    bool RowGone() const { return rowGone_; }
    bool ItemGone(const TvxDataEntity_Chronbar* item) const { return !goneItems_.empty() && goneItems_.count(item); }

    // Told by every item and row as it goes; cheap while no walk runs.
    static void ItemGoes(const TvxDataEntity_Chronbar* item);
    static void RowGoes(const TGantRow* row);

private:
    const TGantRow* row_;
    bool rowGone_ = false;
    std::unordered_set<const TvxDataEntity_Chronbar*> goneItems_;
};

}  // namespace vxplan
