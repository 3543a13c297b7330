// TDataListTrav: the walk over the chosen lists, forwards and backwards.
#include <vxplan/dataentity/vxDataTraveser.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>

namespace vxplan {

namespace {
template <class T>
T* Required(T* p)
{
    if (!p) throw EInvalidArgument("A traverser needs a list to walk");
    return p;
}
}  // namespace

TDataListTrav::TDataListTrav(TvxDataList* theDataList) : fDataList(Required(theDataList)), fMode(TTravMode::trmSingle) {}

TDataListTrav::TDataListTrav(TvxDataList2lev* theDataList2lev)
    : fDataList2lev(Required(theDataList2lev)), fMode(TTravMode::trmMulti)
{
}

TDataListTrav::TDataListTrav(TvxDataList2lev* theDataList2lev, int theStartIndex)
    : fDataList2lev(Required(theDataList2lev)), fMode(TTravMode::trmMulti), fStartList(theStartIndex)
{
}

TDataListTrav::TDataListTrav(TvxDataList2lev* theDataList2lev, const std::vector<int>& theIndexes)
    : fDataList2lev(Required(theDataList2lev)), fMode(TTravMode::trmMulti), fOnlyChosen(true)
{
    const size_t keep = std::min(theIndexes.size(), static_cast<size_t>(fDataList2lev->Count()));
    fChosenLists.assign(theIndexes.begin(), theIndexes.begin() + static_cast<std::ptrdiff_t>(keep));
}

TDataListTrav::TDataListTrav(TvxDataList3lev* theDataList3lev)
    : fDataList3lev(Required(theDataList3lev)), fMode(TTravMode::trmMultiList)
{
}

void TDataListTrav::InitTravList()
{
    fTravList.clear();
    auto take = [this](TvxDataList* list) {
        if (list && list->Count() > 0) fTravList.push_back(list);
    };
    switch (fMode) {
    case TTravMode::trmSingle:
        take(fDataList);
        break;
    case TTravMode::trmMulti:
        if (fOnlyChosen) {
            for (int index : fChosenLists)
                if (index != -1) take(fDataList2lev->GetDataList(index));
        } else {
            const int n = fDataList2lev->Count();
            const int start = n > 0 ? ((fStartList % n) + n) % n : 0;
            for (int k = 0; k < n; ++k) take(fDataList2lev->GetDataList((start + k) % n));
        }
        break;
    case TTravMode::trmMultiList:
        for (int l = 0; l < fDataList3lev->Count(); ++l) {
            TvxDataList2lev* two = fDataList3lev->GetDataListList(l);
            if (!two) continue;
            for (int k = 0; k < two->Count(); ++k) take(two->GetDataList(k));
        }
        break;
    }
}

void TDataListTrav::First()
{
    InitTravList();
    fListIndex = 0;
    fEntityIndex = 0;
}

void TDataListTrav::Last()
{
    InitTravList();
    fListIndex = WalkListCount() - 1;
    fEntityIndex = 0;
    if (fListIndex >= 0) {
        fEntityIndex = fTravList[static_cast<size_t>(fListIndex)]->Count() - 1;
        // A list emptied since the walk began is stepped over.
        while (fEntityIndex < 0 && fListIndex >= 0) Prev();
    }
}

void TDataListTrav::Next()
{
    if (!OnAList()) return;
    ++fEntityIndex;
    // Lists emptied since the walk began are stepped over.
    while (OnAList() && fEntityIndex >= fTravList[static_cast<size_t>(fListIndex)]->Count()) {
        ++fListIndex;
        if (OnAList()) fEntityIndex = 0;
    }
}

void TDataListTrav::Prev()
{
    if (!OnAList()) return;
    --fEntityIndex;
    while (fEntityIndex < 0 && fListIndex >= 0) {
        --fListIndex;
        if (OnAList()) fEntityIndex = fTravList[static_cast<size_t>(fListIndex)]->Count() - 1;
    }
}

bool TDataListTrav::Eof() const
{
    return fListIndex >= WalkListCount() || fListIndex < 0 ||
           fEntityIndex >= fTravList[static_cast<size_t>(fListIndex)]->Count();
}

bool TDataListTrav::BOF() const
{
    return fListIndex < 0 || fEntityIndex < 0 || WalkListCount() == 0;
}

TvxDataEntity* TDataListTrav::DataEntity() const
{
    if (Eof() || BOF()) return nullptr;
    return fTravList[static_cast<size_t>(fListIndex)]->GetItems(fEntityIndex);
}

int TDataListTrav::GetObsCountInList(int i) const
{
    return WalkList(i)->Count();
}

TvxDataList* TDataListTrav::WalkList(int i) const
{
    if (i < 0 || i >= WalkListCount()) throw EListError("Walk list index out of bounds");
    return fTravList[static_cast<size_t>(i)];
}

void TDataListTrav::MoveTo(int theListIndex, int theEntityIndex)
{
    if (theEntityIndex < 0 || theEntityIndex >= WalkList(theListIndex)->Count())
        throw EListError("Entity index out of bounds in the walk");
    fListIndex = theListIndex;
    fEntityIndex = theEntityIndex;
}

}  // namespace vxplan
