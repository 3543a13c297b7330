// Virtual lists beyond what the randomized model covers: refused requests, purging with
// per-entity refusals, and handlers that throw or reshape the list while it loads or unloads.
#include <vxplan/dataentity/vxDataEntityPack.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "vxListRecorder.h"

#include <gtest/gtest.h>

using namespace vxplan;
using namespace vxplan::test;

namespace {
// The list indexes the loaded block holds, checked against the entities' own cached indexes.
void ExpectBlock(TvxDataList* list, int first, int count)
{
    EXPECT_EQ(list->UnloadedBefore(), first);
    ASSERT_EQ(list->LoadedCount(), count);
    for (int p = 0; p < count; ++p) EXPECT_EQ(list->GetLoaded(p)->ListIndex(), first + p);
}

// One recorded virtual list.
struct VirtualList : ::testing::Test {
    TListRecorder r;
    TListHolder list{&r.C};
};
}  // namespace

TEST_F(VirtualList, ALoadRequestedDuringALoadIsRefused)
{
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

TEST_F(VirtualList, BadCountsIntervalsAndUnloadsInsideTheBlockAreRefused)
{
    list->AddUnloaded(100);
    EXPECT_THROW(list->AddUnloaded(-1), EInvalidArgument);
    list->LoadItems(10, 19, false);
    EXPECT_THROW(list->LoadItems(30, 35, false), EListError);  // leaves a gap
    EXPECT_THROW(list->LoadItems(5, 200, false), EListError);
    EXPECT_THROW(list->LoadItems(9, 8, true), EListError);
    EXPECT_THROW(list->Unload(14, true), EInvalidOperation);  // only the ends of the block go
    EXPECT_THROW(list->Unload(25, false), EListError);
    ExpectBlock(list.List, 10, 10);
    EXPECT_EQ(list->Count(), 100);
}

TEST_F(VirtualList, PurgeUnloadsFromTheFrontThenTheBackUntilRefused)
{
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

TEST_F(VirtualList, ARaisingLoadHandlerLeavesTheBlockWholeAndTheCountRight)
{
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

TEST_F(VirtualList, ARaisingInsertHandlerLeavesTheEntityInTheList)
{
    list->AddUnloaded(10);
    r.C.OnInsertItem = [](TvxDataEntity*) { throw Exception("view failed"); };
    EXPECT_THROW(list->Insert(3), Exception);
    EXPECT_EQ(list->Count(), 11);
    EXPECT_EQ(list->UnloadedBefore() + list->LoadedCount() + list->UnloadedAfter(), 11);
    for (int p = 0; p < list->LoadedCount(); ++p) EXPECT_EQ(list->GetLoaded(p)->ListIndex(), list->UnloadedBefore() + p);
}

TEST_F(VirtualList, HandlersThatReshapeTheListDuringUnloadsLeaveItConsistent)
{
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
