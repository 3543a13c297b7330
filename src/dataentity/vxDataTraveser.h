// Walks the entities of one list, of every list of a two-level list, or of every list of every
// two-level list of a three-level list, as one sequence, forwards or backwards.
//
// The set of lists is fixed when First or Last runs (empty lists are left out); counts are read
// live at every step.
#pragma once

#include <vxplan/dataentity/vxDataEntityPack.h>

#include <vector>

namespace vxplan {

enum class TTravMode { trmMultiList, trmMulti, trmSingle };

class TDataListTrav {
public:
    explicit TDataListTrav(TvxDataList* theDataList);
    explicit TDataListTrav(TvxDataList2lev* theDataList2lev);
    // All lists, beginning at theStartIndex and wrapping around to the first.
    TDataListTrav(TvxDataList2lev* theDataList2lev, int theStartIndex);
    // Only the listed lists, in the given order; -1 stands for none.
    TDataListTrav(TvxDataList2lev* theDataList2lev, const std::vector<int>& theIndexes);
    explicit TDataListTrav(TvxDataList3lev* theDataList3lev);

    void First();
    void Last();
    void Next();
    void Prev();
    bool Eof() const;
    bool BOF() const;
    // The current entity (loaded if its list is virtual); null when the walk is off its ends.
    TvxDataEntity* DataEntity() const;
    int GetObsCountInList(int i) const;
    void InitTravList();

    TTravMode Mode() const { return fMode; }
    int WalkListCount() const { return static_cast<int>(fTravList.size()); }
    // The i-th list of the walk as First or Last fixed it.
    TvxDataList* WalkList(int i) const;
    // Places the walk on entity theEntityIndex of its theListIndex-th list, so a walk can go on
    // from an entity found without stepping through everything before it.
    void MoveTo(int theListIndex, int theEntityIndex);

private:
    bool OnAList() const { return fListIndex >= 0 && fListIndex < WalkListCount(); }

    TvxDataList* fDataList = nullptr;
    TvxDataList2lev* fDataList2lev = nullptr;
    TvxDataList3lev* fDataList3lev = nullptr;
    int fEntityIndex = 0;
    int fListIndex = 0;
    TTravMode fMode;
    std::vector<TvxDataList*> fTravList;
    int fStartList = 0;
    // Any number of chosen lists: a schedule can have as many layers as it likes.
    std::vector<int> fChosenLists;
    bool fOnlyChosen = false;
};

}  // namespace vxplan
