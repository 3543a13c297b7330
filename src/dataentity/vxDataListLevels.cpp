// The two- and three-level containers of lists and selection across the lists of one of them.
#include <vxplan/dataentity/vxDataEntityPack.h>

#include <vxplan/dataentity/vxDataTraveser.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <algorithm>
#include <string>

namespace vxplan {

namespace {
std::string OutOfRange(int i, size_t count)
{
    return "List index out of bounds (" + std::to_string(i) + " of " + std::to_string(count) + ")";
}

// The containers count how often each list is held: adding a list checks for it in constant
// time, and removing one searches from the end (where lists added last are) only when it is
// held once, so a container of a million lists stays cheap to fill and to empty in reverse.
template <class T>
void AddOnce(std::vector<T*>& v, std::unordered_map<const T*, int>& counts, T* p)
{
    if (!p) throw EInvalidArgument("Cannot add a null list");
    int& n = counts[p];
    if (n > 0) return;
    v.push_back(p);
    n = 1;
}

template <class T>
void Forget(std::unordered_map<const T*, int>& counts, const T* p)
{
    if (!p) return;
    auto it = counts.find(p);
    if (it != counts.end() && --it->second <= 0) counts.erase(it);
}

template <class T>
void Hold(std::unordered_map<const T*, int>& counts, const T* p)
{
    if (p) ++counts[p];
}

template <class T>
int FirstIndex(const std::vector<T*>& v, const std::unordered_map<const T*, int>& counts, const T* p)
{
    if (!p) {
        auto it = std::find(v.begin(), v.end(), p);
        return it == v.end() ? -1 : static_cast<int>(it - v.begin());
    }
    auto c = counts.find(p);
    if (c == counts.end()) return -1;
    if (c->second == 1) {
        auto it = std::find(v.rbegin(), v.rend(), p);
        return static_cast<int>(v.rend() - it) - 1;
    }
    return static_cast<int>(std::find(v.begin(), v.end(), p) - v.begin());
}

template <class T>
void CheckIndex(const std::vector<T*>& v, int i)
{
    if (i < 0 || static_cast<size_t>(i) >= v.size()) throw EListError(OutOfRange(i, v.size()));
}
}  // namespace

void TvxDataList2lev::Add(TvxDataList* theDataList) { AddOnce(fLists, fCounts, theDataList); }

void TvxDataList2lev::Delete(int i)
{
    CheckIndex(fLists, i);
    Forget(fCounts, fLists[static_cast<size_t>(i)]);
    fLists.erase(fLists.begin() + i);
}

void TvxDataList2lev::Remove(TvxDataList* theDataList)
{
    const int i = IndexOf(theDataList);
    if (i >= 0) Delete(i);
}

int TvxDataList2lev::IndexOf(const TvxDataList* theDataList) const { return FirstIndex(fLists, fCounts, theDataList); }

TvxDataList* TvxDataList2lev::GetDataList(int i)
{
    if (i >= Count() && OnMissingIndex) {
        bool fixable = false;
        OnMissingIndex(this, i, fixable);
        // One retry: a handler that claims a fix it did not make must not loop forever.
        if (!fixable || i >= Count()) return nullptr;
    }
    CheckIndex(fLists, i);
    return fLists[static_cast<size_t>(i)];
}

void TvxDataList2lev::SetDataList(int i, TvxDataList* theDataList)
{
    CheckIndex(fLists, i);
    Forget(fCounts, fLists[static_cast<size_t>(i)]);
    fLists[static_cast<size_t>(i)] = theDataList;
    Hold(fCounts, theDataList);
}

// Only loaded entities can be selected: the others exist only as counts, and a request that
// unloads clears the selections first. So selection across the lists looks at the loaded blocks
// alone, and a virtual list of any size is never loaded through.
void TvxDataList2lev::ClearSelections()
{
    for (TvxDataList* list : std::vector<TvxDataList*>(fLists))
        if (list) list->ClearSelections();
}

TvxDataEntity* TvxDataList2lev::FindSelected()
{
    for (TvxDataList* list : fLists) {
        if (!list) continue;
        for (int p = 0; p < list->LoadedCount(); ++p)
            if (TvxDataEntity* e = list->GetLoaded(p); e->GetSelected()) return e;
    }
    return nullptr;
}

void TvxDataList2lev::SelectDataEntity(TvxDataEntity* theDataEntity)
{
    if (theDataEntity) theDataEntity->SetSelected(true);
}

namespace {
// Puts the walk on the first selected entity in walk order; false when none is selected.
bool LocateFirstSelected(TDataListTrav& trav)
{
    trav.First();
    for (int w = 0; w < trav.WalkListCount(); ++w) {
        TvxDataList* list = trav.WalkList(w);
        for (int p = 0; p < list->LoadedCount(); ++p)
            if (list->GetLoaded(p)->GetSelected()) {
                trav.MoveTo(w, list->UnloadedBefore() + p);
                return true;
            }
    }
    return false;
}
}  // namespace

void TvxDataList2lev::SelectNext()
{
    TDataListTrav trav(this);
    if (LocateFirstSelected(trav)) {
        ClearSelections();
        trav.Next();
        if (trav.Eof()) trav.First();
    } else {
        trav.First();
    }
    if (!trav.Eof()) SelectDataEntity(trav.DataEntity());
}

void TvxDataList2lev::SelectPrev()
{
    TDataListTrav trav(this);
    if (LocateFirstSelected(trav)) {
        ClearSelections();
        trav.Prev();
        if (trav.BOF()) trav.Last();
    } else {
        trav.Last();
    }
    if (!trav.BOF()) SelectDataEntity(trav.DataEntity());
}

void TvxDataList3lev::Add(TvxDataList2lev* theDataList2lev) { AddOnce(fLists, fCounts, theDataList2lev); }

void TvxDataList3lev::Delete(int i)
{
    CheckIndex(fLists, i);
    Forget(fCounts, fLists[static_cast<size_t>(i)]);
    fLists.erase(fLists.begin() + i);
}

void TvxDataList3lev::Remove(TvxDataList2lev* theDataList2lev)
{
    const int i = IndexOf(theDataList2lev);
    if (i >= 0) Delete(i);
}

int TvxDataList3lev::IndexOf(const TvxDataList2lev* theDataList2lev) const
{
    return FirstIndex(fLists, fCounts, theDataList2lev);
}

TvxDataList2lev* TvxDataList3lev::GetDataListList(int i) const
{
    CheckIndex(fLists, i);
    return fLists[static_cast<size_t>(i)];
}

void TvxDataList3lev::SetDataListList(int i, TvxDataList2lev* theDataList2lev)
{
    CheckIndex(fLists, i);
    Forget(fCounts, fLists[static_cast<size_t>(i)]);
    fLists[static_cast<size_t>(i)] = theDataList2lev;
    Hold(fCounts, theDataList2lev);
}

}  // namespace vxplan
