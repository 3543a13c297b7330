// Virtual lists: the contiguous loaded block, loading at either end, the size limit, refused
// unloads, purging, and operations that must not lose the entities they work on.
#include <vxplan/dataentity/vxDataEntityPack.h>
#include <vxplan/platform/core/vxExceptions.h>
#include "vxListRecorder.h"

#include <gtest/gtest.h>

using namespace vxplan;
using namespace vxplan::test;
using Log = std::vector<std::string>;

namespace {
// The list indexes the loaded block holds, checked against the entities' own cached indexes.
void ExpectBlock(TvxDataList* list, int first, int count)
{
    EXPECT_EQ(list->UnloadedBefore(), first);
    ASSERT_EQ(list->LoadedCount(), count);
    for (int p = 0; p < count; ++p) EXPECT_EQ(list->GetLoaded(p)->ListIndex(), first + p);
}

std::vector<std::string> LoadsOnly(const std::vector<std::string>& log)
{
    std::vector<std::string> out;
    for (const auto& s : log)
        if (s.rfind("load", 0) == 0) out.push_back(s.substr(s.find('@') + 1));
    return out;
}
}  // namespace

TEST(VirtualListUnloaded, AddUnloadedRaisesContentThenUnloadedContent)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(10000);
    EXPECT_EQ(r.Take(), (Log{"content L", "unloaded L"}));
    EXPECT_EQ(list->Count(), 10000);
    EXPECT_EQ(list->LoadedCount(), 0);
    EXPECT_THROW(list->AddUnloaded(-1), EInvalidArgument);
    EXPECT_EQ(list->Count(), 10000);
}

TEST(VirtualListLoad, FarIndexUnloadsTheBlockAndLoadsItAlone)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(10000);
    list->LoadItems(0, 99, false);
    ExpectBlock(list.List, 0, 100);
    r.Take();
    TvxDataEntity* e = list->GetItems(9000);
    ExpectBlock(list.List, 9000, 1);
    EXPECT_EQ(e->ListIndex(), 9000);
    EXPECT_EQ(list->Count(), 10000);
    const Log log = r.Take();
    EXPECT_EQ(LoadsOnly(log), (Log{"9000"}));
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& s) { return s.rfind("delete", 0) == 0; }), 100);
}

TEST(VirtualListLoad, NearIndexGrowsTheBlockAtTheBack)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(10000);
    list->LoadItems(0, 99, false);
    r.Take();
    list->GetItems(150);
    ExpectBlock(list.List, 0, 151);
    const Log loads = LoadsOnly(r.Take());
    ASSERT_EQ(loads.size(), 51u);
    EXPECT_EQ(loads.front(), "100");
    EXPECT_EQ(loads.back(), "150");
}

TEST(VirtualListLoad, FrontLoadRaisesLoadItemFromLastToFirst)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(20);
    list->GetItems(10);
    ExpectBlock(list.List, 10, 1);
    r.Take();
    list->GetItems(5);
    ExpectBlock(list.List, 5, 6);
    EXPECT_EQ(LoadsOnly(r.Take()), (Log{"9", "8", "7", "6", "5"}));
    EXPECT_EQ(list->GetItems(5)->ListIndex(), 5);
}

TEST(VirtualListLoad, LoadingRaisesNeitherInsertNorContent)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(3);
    r.Take();
    list->GetItems(1);
    for (const auto& s : r.Take()) {
        EXPECT_NE(s.rfind("insert", 0), 0u) << s;
        EXPECT_NE(s, "content L");
    }
}

TEST(VirtualListLoad, RefusedUnloadsKeepTheBlockWholeAndLoadTheRange)
{
    TListRecorder r;
    r.AllowUnload = false;
    TListHolder list(&r.C);
    list->AddUnloaded(2000);
    list->LoadItems(0, 99, false);
    list->GetItems(900);
    ExpectBlock(list.List, 0, 901);
    EXPECT_EQ(list->Count(), 2000);
}

TEST(VirtualListLoad, ScrollingKeepsTheBlockBounded)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(100000);
    for (int i = 0; i < 100000; i += 37) {
        ASSERT_EQ(list->GetItems(i)->ListIndex(), i);
        ASSERT_LE(list->LoadedCount(), TvxDataList::kMaxLoaded + 1);
    }
}

TEST(VirtualListLoad, LoadRequestedDuringALoadIsRefused)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(100);
    int refused = 0;
    auto refuse = [&](auto&& op) {
        try {
            op();
        } catch (const EInvalidOperation&) {
            ++refused;
        }
    };
    r.C.OnLoadItem = [&](TvxDataEntity*) {
        refuse([&] { list->GetItems(50); });
        refuse([&] { list->Add(); });
        // The load still has entities to report: none may be freed under it.
        refuse([&] { list->Delete(0); });
        refuse([&] { list->Unload(0, true); });
    };
    list->GetItems(0);
    EXPECT_EQ(refused, 4);
    ExpectBlock(list.List, 0, 1);
    EXPECT_EQ(list->Count(), 100);
}

TEST(VirtualListLoad, BadIntervalsAreRefused)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(100);
    list->LoadItems(10, 19, false);
    EXPECT_THROW(list->LoadItems(30, 35, false), EListError);  // leaves a gap
    EXPECT_THROW(list->LoadItems(5, 200, false), EListError);
    EXPECT_THROW(list->LoadItems(9, 8, true), EListError);
    ExpectBlock(list.List, 10, 10);
}

TEST(VirtualListUnload, PurgeUnloadsFromTheFrontThenTheBackUntilRefused)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(50);
    list->LoadItems(10, 19, false);
    TvxDataEntity* keep = list->GetItems(14);
    r.C.OnUnloadItem = [&](TvxDataEntity* e, bool& can) { can = e != keep; };
    list->Purge();
    ExpectBlock(list.List, 14, 1);
    EXPECT_EQ(list->Count(), 50);
    r.C.OnUnloadItem = nullptr;
    list->Purge();  // without a handler nothing may go
    ExpectBlock(list.List, 14, 1);
}

TEST(VirtualListUnload, UnloadAllClearsSelectionsFirst)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(10);
    TvxDataEntity* e = list->GetItems(3);
    e->SetSelected(true);
    const std::string sel = "select " + std::to_string(IdOf(e)) + "-";
    const std::string del = "delete " + std::to_string(IdOf(e));
    r.Take();
    list->UnloadAll();
    EXPECT_EQ(r.Take(), (Log{sel, del, "content L"}));
    EXPECT_EQ(list->LoadedCount(), 0);
    EXPECT_EQ(list->UnloadedAfter(), 10);
}

TEST(VirtualListUnload, OnlyTheEndsOfTheBlockCanBeUnloaded)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(10);
    list->LoadItems(2, 6, false);
    EXPECT_THROW(list->Unload(4, true), EInvalidOperation);
    EXPECT_THROW(list->Unload(8, false), EListError);
    list->Unload(2, true);
    list->Unload(6, false);
    ExpectBlock(list.List, 3, 3);
    EXPECT_EQ(list->Count(), 10);
}

TEST(VirtualListDelete, DeletingAnUnloadedEntityOnlyShrinksItsSide)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(20);
    list->LoadItems(5, 9, false);
    r.Take();
    list->Delete(2);
    ExpectBlock(list.List, 4, 5);
    list->Delete(15);
    EXPECT_EQ(list->UnloadedAfter(), 9);
    EXPECT_EQ(list->Count(), 18);
    EXPECT_TRUE(r.Log.empty());
}

TEST(VirtualListInsert, AddingToAVirtualListLoadsTheEnd)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(1000);
    TvxDataEntity* e = list->Add();
    EXPECT_EQ(list->Count(), 1001);
    EXPECT_EQ(e->ListIndex(), 1000);
    EXPECT_EQ(list->UnloadedAfter(), 0);
}

TEST(VirtualListSort, SortingMoreThanTheLimitLosesNoEntity)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(1200);
    int next = 0;
    r.C.OnLoadItem = [&](TvxDataEntity* e) { static_cast<TNumberedEntity*>(e)->Key = (next++ * 7919) % 1200; };
    r.C.OnSortCompare = [](TvxDataEntity* a, TvxDataEntity* b) {
        return static_cast<TNumberedEntity*>(a)->Key - static_cast<TNumberedEntity*>(b)->Key;
    };
    list->GetItems(0)->SetSelected(true);
    list->Sort(false);
    ASSERT_EQ(list->Count(), 1200);
    ASSERT_EQ(list->LoadedCount(), 1200);
    for (int i = 0; i < 1200; ++i) {
        ASSERT_EQ(static_cast<TNumberedEntity*>(list->GetLoaded(i))->Key, i);
        ASSERT_EQ(list->GetLoaded(i)->ListIndex(), i);
    }
    // Sorting is no reason to lose the selection.
    int selected = 0;
    list->IteratorOfSelectedDataEntities([&](TvxDataList*, TvxDataEntity*) { ++selected; });
    EXPECT_EQ(selected, 1);
}

TEST(VirtualListSort, AnEntityMovedAwayWhileLoadingForTheSortIsNotWrittenBack)
{
    TListRecorder r, rb("B");
    TListHolder list(&r.C), other(&rb.C);
    list->AddUnloaded(20);
    TvxDataEntity* leaving = list->GetItems(0);
    r.C.OnLoadItem = [&](TvxDataEntity* e) {
        if (e->ListIndex() == 5) leaving->ChangeOwner(other.List, 0);
    };
    r.C.OnSortCompare = [](TvxDataEntity* a, TvxDataEntity* b) { return IdOf(b) - IdOf(a); };
    list->Sort(false);
    ASSERT_EQ(list->Count(), 19);
    ASSERT_EQ(list->LoadedCount(), 19);
    for (int p = 0; p < 19; ++p) {
        EXPECT_NE(list->GetLoaded(p), leaving);
        EXPECT_EQ(list->GetLoaded(p)->ListIndex(), p);
    }
    EXPECT_EQ(other->GetLoaded(0), leaving);
    EXPECT_EQ(leaving->GetDataList(), other.List);
}

TEST(VirtualListMove, MovingFarKeepsTheMovedEntity)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(5000);
    TvxDataEntity* e = list->GetItems(10);
    list->GetItems(20);
    e->Move(4000);
    EXPECT_EQ(e->GetDataList(), list.List);
    EXPECT_EQ(e->ListIndex(), 4000);
    EXPECT_EQ(list->GetItems(4000), e);
    EXPECT_EQ(list->Count(), 5000);
    EXPECT_EQ(list->UnloadedBefore() + list->LoadedCount() + list->UnloadedAfter(), 5000);
}

TEST(VirtualListMove, HandlersCannotFreeTheEntityBeingMovedOrChangingOwner)
{
    TListRecorder r, rb("B");
    TListHolder list(&r.C), other(&rb.C);
    list->AddUnloaded(5000);
    TvxDataEntity* e = list->GetItems(10);
    e->SetSelected(true);
    // Deselected by the unloads of the far load, the entity is deleted by a view.
    r.C.OnSelectionChanged = [&](TvxDataList* l, TvxDataEntity* x) {
        if (!x->GetSelected()) l->Remove(x);
    };
    EXPECT_THROW(e->Move(4000), EInvalidOperation);
    EXPECT_EQ(e->ListIndex(), 10);
    r.C.OnSelectionChanged = nullptr;

    r.C.OnLeaveOwnerBeforeChange = [&](TvxDataEntity* x) { list->Remove(x); };
    EXPECT_THROW(e->ChangeOwner(other.List, 0), EInvalidOperation);
    EXPECT_EQ(e->ListIndex(), 10);
    EXPECT_EQ(other->Count(), 0);
    r.C.OnLeaveOwnerBeforeChange = nullptr;
    e->Move(4000);
    EXPECT_EQ(list->GetItems(4000), e);
}

TEST(VirtualListFailure, RaisingLoadHandlerLeavesTheBlockWholeAndTheCountRight)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(100);
    list->GetItems(50);
    r.C.OnLoadItem = [](TvxDataEntity* e) {
        if (e->ListIndex() == 45) throw Exception("fill failed");
    };
    EXPECT_THROW(list->GetItems(40), Exception);
    ExpectBlock(list.List, 40, 11);
    EXPECT_EQ(list->Count(), 100);
    r.C.OnLoadItem = nullptr;
    EXPECT_EQ(list->GetItems(60)->ListIndex(), 60);  // the list goes on working
}

TEST(VirtualListFailure, RaisingInsertHandlerLeavesTheEntityInTheList)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(10);
    r.C.OnInsertItem = [](TvxDataEntity*) { throw Exception("view failed"); };
    EXPECT_THROW(list->Insert(3), Exception);
    EXPECT_EQ(list->Count(), 11);
    EXPECT_EQ(list->UnloadedBefore() + list->LoadedCount() + list->UnloadedAfter(), 11);
    for (int p = 0; p < list->LoadedCount(); ++p) EXPECT_EQ(list->GetLoaded(p)->ListIndex(), list->UnloadedBefore() + p);
}

TEST(VirtualListFailure, HandlersThatReshapeTheListDuringUnloadsLeaveItConsistent)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(1000);
    list->GetItems(0)->SetSelected(true);
    // A view that empties the list when the selection goes, while a far index is asked for.
    r.C.OnSelectionChanged = [&](TvxDataList* l, TvxDataEntity* e) {
        if (!e->GetSelected()) l->Clear();
    };
    EXPECT_EQ(list->GetItems(900), nullptr);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->UnloadedBefore(), 0);
    EXPECT_EQ(list->UnloadedAfter(), 0);

    // Asked about the first entity, the handler deletes it and agrees: the new first is asked too.
    list->AddUnloaded(10);
    list->LoadItems(0, 4, false);
    int asked = 0;
    r.C.OnUnloadItem = [&](TvxDataEntity* e, bool& can) {
        if (++asked == 1) list->Remove(e);
        can = asked <= 2;
    };
    list->Purge();
    EXPECT_EQ(list->Count(), 9);
    ExpectBlock(list.List, 1, 3);
}
