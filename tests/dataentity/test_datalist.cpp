// Contents, notifications, selection, sorting, moves and changes of owner of a data list.
#include <vxplan/dataentity/vxDataEntityPack.h>
#include <vxplan/platform/core/vxExceptions.h>
#include "vxListRecorder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vxplan;
using namespace vxplan::test;
using Log = std::vector<std::string>;

namespace {
std::string S(const char* what, const TvxDataEntity* e) { return std::string(what) + " " + std::to_string(IdOf(e)); }

// An entity its class marks selected at creation.
class TPreselected : public TNumberedEntity {
public:
    void AfterCreate(TvxDataList* theDataList) override
    {
        TNumberedEntity::AfterCreate(theDataList);
        SetSelected(true);
    }
};
}  // namespace

TEST(DataListInsert, NewEntityIsReportedVisibleBeforeInsertAndContent)
{
    TListRecorder r;
    TListHolder list(&r.C);
    TvxDataEntity* e = list->Add();
    EXPECT_EQ(r.Take(), (Log{S("visible", e), S("insert", e), "content L"}));
    EXPECT_TRUE(e->GetVisible());
    EXPECT_EQ(e->GetDataList(), list.List);
}

TEST(DataListInsert, PreselectedEntityIsReportedSelectedOnlyAfterItIsInTheList)
{
    TListRecorder r;
    TvxDataList* list = new TvxDataList;
    list->AfterCreate(&r.C, EntityClassOf<TPreselected>());
    TvxDataEntity* e = list->Add();
    EXPECT_EQ(r.Take(), (Log{S("visible", e), S("select", e) + "+", S("select", e) + "-", S("insert", e),
                             "content L", S("select", e) + "+"}));
    EXPECT_TRUE(e->GetSelected());
    list->FreeWheneverPossible();
}

TEST(DataListInsert, InsertPlacesEntityAtIndexAndIndexesFollow)
{
    TListRecorder r;
    TListHolder list(&r.C);
    TvxDataEntity* a = list->Add();
    TvxDataEntity* c = list->Add();
    TvxDataEntity* b = list->Insert(1);
    EXPECT_EQ(list->GetItems(0), a);
    EXPECT_EQ(list->GetItems(1), b);
    EXPECT_EQ(list->GetItems(2), c);
    EXPECT_EQ(c->ListIndex(), 2);
    EXPECT_EQ(list->IndexOf(b), 1);
    EXPECT_EQ(list->IndexOf(nullptr), -1);
    EXPECT_EQ(list->GetItems(3), nullptr);
    EXPECT_EQ(list->GetItems(-1), nullptr);
}

TEST(DataListInsert, OutOfRangeInsertIsRefusedAndListKeepsItsContents)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->Add();
    r.Take();
    EXPECT_THROW(list->Insert(5), EListError);
    EXPECT_THROW(list->Insert(-1), EListError);
    EXPECT_EQ(list->Count(), 1);
    EXPECT_TRUE(r.Log.empty());
}

TEST(DataListDelete, DeletingTheOnlyEntityReportsDeleteThenContentWithCountZero)
{
    TListRecorder r;
    TListHolder list(&r.C);
    TvxDataEntity* e = list->Add();
    const int id = IdOf(e);
    std::vector<int> counts;
    r.C.OnDeleteItem = [&](TvxDataEntity* d) {
        counts.push_back(list->Count());
        EXPECT_EQ(d->GetDataList(), list.List);
        r.Log.push_back("delete " + std::to_string(IdOf(d)));
    };
    r.C.OnContentChanged = [&](TvxDataList*) {
        counts.push_back(list->Count());
        r.Log.push_back("content L");
    };
    r.Take();
    list->Delete(0);
    EXPECT_EQ(r.Take(), (Log{"delete " + std::to_string(id), "content L"}));
    EXPECT_EQ(counts, (std::vector<int>{0, 0}));
    list->Delete(0);  // out of range: nothing
    EXPECT_TRUE(r.Log.empty());
}

TEST(DataListDelete, ClearOfAListWithNoLoadedEntitiesRaisesOnlyUnloadedContent)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->Clear();
    EXPECT_EQ(r.Take(), (Log{"unloaded L"}));
}

TEST(DataListDelete, ClearRemovesFromLastToFirst)
{
    TListRecorder r;
    TListHolder list(&r.C);
    TvxDataEntity* a = list->Add();
    TvxDataEntity* b = list->Add();
    const std::string da = S("delete", a), db = S("delete", b);
    r.Take();
    list->Clear();
    EXPECT_EQ(r.Take(), (Log{db, "content L", da, "content L", "unloaded L"}));
    EXPECT_EQ(list->Count(), 0);
}

TEST(DataListDelete, RemovingAnotherListsEntityIsRefused)
{
    TListRecorder r1("A"), r2("B");
    TListHolder a(&r1.C), b(&r2.C);
    a->Add();
    TvxDataEntity* other = b->Add();
    EXPECT_THROW(a->Remove(other), EInvalidArgument);
    EXPECT_EQ(a->Count(), 1);
    EXPECT_EQ(b->Count(), 1);
    EXPECT_EQ(a->IndexOf(other), -1);
}

TEST(DataListDelete, RaisingDeleteHandlerStillFreesAndLeavesListConsistent)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->Add();
    list->Add();
    r.C.OnDeleteItem = [](TvxDataEntity*) { throw Exception("handler failed"); };
    EXPECT_THROW(list->Delete(0), Exception);
    EXPECT_EQ(list->Count(), 1);
    EXPECT_EQ(list->GetItems(0)->ListIndex(), 0);
    r.C.OnDeleteItem = nullptr;
}

TEST(DataListSelection, SelectingNeverDeselectsOthersAndClearRaisesPerChange)
{
    TListRecorder r;
    TListHolder list(&r.C);
    TvxDataEntity* a = list->Add();
    TvxDataEntity* b = list->Add();
    list->Add();
    r.Take();
    a->SetSelected(true);
    b->SetSelected(true);
    b->SetSelected(true);
    EXPECT_EQ(r.Take(), (Log{S("select", a) + "+", S("select", b) + "+"}));
    std::vector<TvxDataEntity*> seen;
    list->IteratorOfSelectedDataEntities([&](TvxDataList*, TvxDataEntity* e) { seen.push_back(e); });
    EXPECT_EQ(seen, (std::vector<TvxDataEntity*>{a, b}));
    list->ClearSelections();
    EXPECT_EQ(r.Take(), (Log{S("select", a) + "-", S("select", b) + "-"}));
}

TEST(DataListSelection, WalksOverTheSelectedSurviveHandlersThatDeleteEntities)
{
    TListRecorder r;
    TListHolder list(&r.C);
    std::vector<TvxDataEntity*> e;
    std::vector<int> id;
    for (int i = 0; i < 6; ++i) {
        e.push_back(list->Add());
        id.push_back(IdOf(e.back()));
    }
    for (int i : {1, 2, 4, 5}) e[static_cast<size_t>(i)]->SetSelected(true);
    std::vector<int> visited;
    list->IteratorOfSelectedDataEntities([&](TvxDataList* l, TvxDataEntity* x) {
        visited.push_back(IdOf(x));
        if (x == e[2]) l->Remove(e[4]);  // a later selected one goes first
        l->Remove(x);
    });
    EXPECT_EQ(visited, (std::vector<int>{id[1], id[2], id[5]}));
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->GetItems(1), e[3]);

    e[0]->SetSelected(true);
    e[3]->SetSelected(true);
    r.C.OnSelectionChanged = [&](TvxDataList* l, TvxDataEntity*) { l->Clear(); };
    list->ClearSelections();
    EXPECT_EQ(list->Count(), 0);
}

TEST(DataListSelection, CanEditAsksTheControllerFirst)
{
    TListRecorder r;
    TListHolder list(&r.C);
    TvxDataEntity* e = list->Add();
    EXPECT_FALSE(e->GetCanEdit());
    r.C.OnBeforeCanEditItem = [](TvxDataEntity* d) { d->SetCanEdit(true); };
    EXPECT_TRUE(e->GetCanEdit());
}

TEST(DataListVisibility, VisibleIndexesSkipInvisibleEntities)
{
    TListRecorder r;
    TListHolder list(&r.C);
    for (int i = 0; i < 5; ++i) list->Add();
    list->GetItems(0)->SetVisible(false);
    list->GetItems(2)->SetVisible(false);
    EXPECT_EQ(list->VisibleCount(), 3);
    EXPECT_EQ(list->ListIndexToVisibleIndex(0), -1);
    EXPECT_EQ(list->ListIndexToVisibleIndex(1), 0);
    EXPECT_EQ(list->ListIndexToVisibleIndex(2), 0);
    EXPECT_EQ(list->ListIndexToVisibleIndex(4), 2);
    EXPECT_EQ(list->ListIndexToVisibleIndex(-3), -1);
    EXPECT_EQ(list->VisibleIndexToListIndex(0), 1);
    EXPECT_EQ(list->VisibleIndexToListIndex(1), 3);
    EXPECT_EQ(list->VisibleIndexToListIndex(3), -1);
    EXPECT_FALSE(list->VisibleIndexDataEntity(2));
    EXPECT_TRUE(list->VisibleIndexDataEntity(3));
    EXPECT_FALSE(list->VisibleIndexDataEntity(5));
}

TEST(DataListSort, WithoutCompareNothingChangesAndNothingIsRaised)
{
    TListRecorder r;
    TListHolder list(&r.C);
    TvxDataEntity* a = list->Add();
    TvxDataEntity* b = list->Add();
    r.C.OnSortCompare = nullptr;
    r.Take();
    list->Sort(false);
    EXPECT_TRUE(r.Log.empty());
    EXPECT_EQ(list->GetItems(0), a);
    EXPECT_EQ(list->GetItems(1), b);
}

TEST(DataListSort, DescendingIsTheReverseOfAscendingForDistinctKeys)
{
    TListRecorder r;
    TListHolder list(&r.C);
    const int keys[] = {5, 2, 9, 1, 7};
    for (int k : keys) static_cast<TNumberedEntity*>(list->Add())->Key = k;
    r.C.OnSortCompare = [](TvxDataEntity* x, TvxDataEntity* y) {
        return static_cast<TNumberedEntity*>(x)->Key - static_cast<TNumberedEntity*>(y)->Key;
    };
    r.Take();
    list->Sort(false);
    EXPECT_EQ(r.Take(), (Log{"content L"}));
    std::vector<int> up, down;
    for (int i = 0; i < 5; ++i) {
        up.push_back(static_cast<TNumberedEntity*>(list->GetItems(i))->Key);
        EXPECT_EQ(list->GetItems(i)->ListIndex(), i);
    }
    list->Sort(true);
    for (int i = 0; i < 5; ++i) down.push_back(static_cast<TNumberedEntity*>(list->GetItems(i))->Key);
    EXPECT_EQ(up, (std::vector<int>{1, 2, 5, 7, 9}));
    EXPECT_EQ(down, (std::vector<int>{9, 7, 5, 2, 1}));
}

TEST(DataListSort, RaisingCompareLeavesTheOrder)
{
    TListRecorder r;
    TListHolder list(&r.C);
    TvxDataEntity* a = list->Add();
    TvxDataEntity* b = list->Add();
    r.C.OnSortCompare = [](TvxDataEntity*, TvxDataEntity*) -> int { throw Exception("compare failed"); };
    EXPECT_THROW(list->Sort(false), Exception);
    EXPECT_EQ(list->GetItems(0), a);
    EXPECT_EQ(list->GetItems(1), b);
}

TEST(DataEntityMove, MoveRaisesOnlyPerformedMoveWithOldAndNewIndex)
{
    TListRecorder r;
    TListHolder list(&r.C);
    TvxDataEntity* e[4];
    for (auto& x : e) x = list->Add();
    r.Take();
    e[0]->Move(2);
    EXPECT_EQ(r.Take(), (Log{S("move", e[0]) + " 0>2"}));
    EXPECT_EQ(list->GetItems(0), e[1]);
    EXPECT_EQ(list->GetItems(1), e[2]);
    EXPECT_EQ(list->GetItems(2), e[0]);
    EXPECT_EQ(e[3]->ListIndex(), 3);
    e[3]->Move(0);
    EXPECT_EQ(list->GetItems(0), e[3]);
    EXPECT_EQ(e[0]->ListIndex(), 3);
    EXPECT_THROW(e[3]->Move(4), EListError);
    EXPECT_EQ(list->GetItems(0), e[3]);
}

TEST(DataEntityChangeOwner, RaisesLeaveEnterContentNewContentOld)
{
    std::vector<std::string> order;
    TListRecorder ra("A"), rb("B");
    TListHolder a(&ra.C), b(&rb.C);
    TvxDataEntity* x = a->Add();
    TvxDataEntity* y = a->Add();
    TvxDataEntity* z = b->Add();
    y->SetSelected(true);
    ra.C.OnLeaveOwnerBeforeChange = [&](TvxDataEntity*) { order.push_back("leave A"); };
    rb.C.OnEnterOwnerAfterChange = [&](TvxDataEntity*) { order.push_back("enter B"); };
    ra.C.OnContentChanged = [&](TvxDataList*) { order.push_back("content A"); };
    rb.C.OnContentChanged = [&](TvxDataList*) { order.push_back("content B"); };
    ra.C.OnSelectionChanged = rb.C.OnSelectionChanged = [&](TvxDataList*, TvxDataEntity*) { order.push_back("select"); };
    y->ChangeOwner(b.List, 0);
    EXPECT_EQ(order, (Log{"leave A", "enter B", "content B", "content A"}));
    EXPECT_EQ(y->GetDataList(), b.List);
    EXPECT_TRUE(y->GetSelected());
    EXPECT_EQ(b->GetItems(0), y);
    EXPECT_EQ(z->ListIndex(), 1);
    EXPECT_EQ(a->Count(), 1);
    EXPECT_EQ(x->ListIndex(), 0);
}

TEST(DataEntityChangeOwner, IncompatibleClassIsIgnored)
{
    TListRecorder ra("A"), rb("B");
    TListHolder a(&ra.C);
    TvxDataList* b = new TvxDataList;
    b->AfterCreate(&rb.C, EntityClassOf<TPreselected>());
    TvxDataEntity* x = a->Add();
    ra.Take();
    x->ChangeOwner(b, 0);
    EXPECT_EQ(x->GetDataList(), a.List);
    EXPECT_EQ(b->Count(), 0);
    EXPECT_TRUE(ra.Log.empty());
    b->FreeWheneverPossible();
}

TEST(DataListLifetime, FreeingTheListReportsEveryEntity)
{
    TListRecorder r;
    TvxDataList* list = new TvxDataList;
    list->AfterCreate(&r.C);
    list->Add();
    list->Add();
    r.Take();
    list->FreeWheneverPossible();
    EXPECT_EQ(r.Log.size(), 4u);
    EXPECT_EQ(r.Log[1], "content L");
}

TEST(DataListLifetime, ListUsedBeforeAfterCreateGivesAClearError)
{
    TvxDataList* list = new TvxDataList;
    EXPECT_THROW(list->Add(), EInvalidOperation);
    EXPECT_FALSE(list->ValidIndexDataEntity(0));
    list->FreeWheneverPossible();
}

TEST(DataListLifetime, AnEntityBeingMadeOrFreedIsOutsideItsListAndCannotReshapeIt)
{
    TListRecorder ra("A"), rb("B");
    TListHolder a(&ra.C), b(&rb.C);
    std::vector<int> seenAtCreation;
    ra.C.OnVisibleChanged = [&](TvxDataEntity* e) { seenAtCreation.push_back(e->ListIndex()); };
    TvxDataEntity* first = a->Add();
    a->Add();
    TvxDataEntity* third = a->Add();
    EXPECT_EQ(seenAtCreation, (std::vector<int>{-1, -1, -1}));

    int checked = 0;
    ra.C.OnDeleteItem = [&](TvxDataEntity* e) {
        EXPECT_EQ(e->ListIndex(), -1);
        EXPECT_EQ(a->IndexOf(e), -1);
        EXPECT_THROW(e->Move(0), EInvalidOperation);
        EXPECT_THROW(e->ChangeOwner(b.List, 0), EInvalidOperation);
        a->Remove(e);  // already out: nothing else goes
        ++checked;
    };
    a->Delete(1);
    EXPECT_EQ(checked, 1);
    ASSERT_EQ(a->Count(), 2);
    EXPECT_EQ(a->GetItems(0), first);
    EXPECT_EQ(a->GetItems(1), third);
    EXPECT_EQ(third->ListIndex(), 1);
    EXPECT_EQ(b->Count(), 0);
    ra.C.OnDeleteItem = nullptr;

    TvxDataList* unmade = new TvxDataList;
    EXPECT_THROW(first->ChangeOwner(unmade, 0), EInvalidOperation);
    EXPECT_EQ(first->GetDataList(), a.List);
    unmade->FreeWheneverPossible();
}
