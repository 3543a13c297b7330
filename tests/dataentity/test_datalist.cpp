// Data lists beyond what the randomized model covers: refused and out-of-range requests,
// handlers that throw or reshape the list, selection walks, visibility, and lifetime.
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
// One recorded real list of numbered entities.
struct DataList : ::testing::Test {
    TListRecorder r;
    TListHolder list{&r.C};
};
}  // namespace

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

TEST_F(DataList, OutOfRangeIndexesAreRefusedOrFindNothingAndChangeNothing)
{
    TvxDataEntity* a = list->Add();
    TvxDataEntity* b = list->Add();
    r.Take();
    EXPECT_THROW(list->Insert(5), EListError);
    EXPECT_THROW(list->Insert(-1), EListError);
    EXPECT_THROW(a->Move(2), EListError);
    list->Delete(2);
    EXPECT_EQ(list->GetItems(2), nullptr);
    EXPECT_EQ(list->GetItems(-1), nullptr);
    EXPECT_EQ(list->IndexOf(nullptr), -1);
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(list->GetItems(0), a);
    EXPECT_EQ(list->GetItems(1), b);
    EXPECT_TRUE(r.Log.empty());
}

TEST_F(DataList, DeleteHandlersSeeTheCountWithoutTheDeletedEntity)
{
    list->Add();
    std::vector<int> counts;
    r.C.OnDeleteItem = [&](TvxDataEntity* d) {
        counts.push_back(list->Count());
        EXPECT_EQ(d->GetDataList(), list.List);
    };
    r.C.OnContentChanged = [&](TvxDataList*) { counts.push_back(list->Count()); };
    list->Delete(0);
    EXPECT_EQ(counts, (std::vector<int>{0, 0}));
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

TEST_F(DataList, RaisingDeleteHandlerStillFreesAndLeavesTheListConsistent)
{
    list->Add();
    list->Add();
    r.C.OnDeleteItem = [](TvxDataEntity*) { throw Exception("handler failed"); };
    EXPECT_THROW(list->Delete(0), Exception);
    EXPECT_EQ(list->Count(), 1);
    EXPECT_EQ(list->GetItems(0)->ListIndex(), 0);
    r.C.OnDeleteItem = nullptr;
}

TEST_F(DataList, WalksOverTheSelectedSurviveHandlersThatDeleteEntities)
{
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

TEST_F(DataList, CanEditAsksTheControllerFirst)
{
    TvxDataEntity* e = list->Add();
    EXPECT_FALSE(e->GetCanEdit());
    r.C.OnBeforeCanEditItem = [](TvxDataEntity* d) { d->SetCanEdit(true); };
    EXPECT_TRUE(e->GetCanEdit());
}

TEST_F(DataList, VisibleIndexesSkipInvisibleEntities)
{
    for (int i = 0; i < 5; ++i) list->Add();
    list->GetItems(0)->SetVisible(false);
    list->GetItems(2)->SetVisible(false);
    EXPECT_EQ(list->VisibleCount(), 3);
    // List index -> visible index: an invisible entity maps to the visible one before it.
    for (auto [list_index, visible] : {std::pair{0, -1}, {1, 0}, {2, 0}, {4, 2}, {-3, -1}})
        EXPECT_EQ(list->ListIndexToVisibleIndex(list_index), visible) << "list index " << list_index;
    for (auto [visible, list_index] : {std::pair{0, 1}, {1, 3}, {3, -1}})
        EXPECT_EQ(list->VisibleIndexToListIndex(visible), list_index) << "visible index " << visible;
    EXPECT_FALSE(list->VisibleIndexDataEntity(2));
    EXPECT_TRUE(list->VisibleIndexDataEntity(3));
    EXPECT_FALSE(list->VisibleIndexDataEntity(5));
}

TEST_F(DataList, SortWithAMissingOrRaisingCompareLeavesTheOrderAndReportsNothing)
{
    TvxDataEntity* a = list->Add();
    TvxDataEntity* b = list->Add();
    r.Take();
    r.C.OnSortCompare = nullptr;
    list->Sort(false);
    r.C.OnSortCompare = [](TvxDataEntity*, TvxDataEntity*) -> int { throw Exception("compare failed"); };
    EXPECT_THROW(list->Sort(false), Exception);
    EXPECT_TRUE(r.Log.empty());
    EXPECT_EQ(list->GetItems(0), a);
    EXPECT_EQ(list->GetItems(1), b);
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

TEST(DataListLifetime, FreeingTheListReportsEveryEntityFromLastToFirst)
{
    TListRecorder r;
    TvxDataList* list = new TvxDataList;
    list->AfterCreate(&r.C, EntityClassOf<TNumberedEntity>());
    TvxDataEntity* a = list->Add();
    TvxDataEntity* b = list->Add();
    const Log expected{S("delete", b), "content L", S("delete", a), "content L"};
    r.Take();
    list->FreeWheneverPossible();
    EXPECT_EQ(r.Log, expected);
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
