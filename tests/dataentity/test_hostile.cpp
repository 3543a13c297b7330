// Data lists against hostile input through their public calls: every index and range argument
// with values far outside the list, and counts at the edge of the int range. Each call either
// answers (null, false, -1) or throws one of the library's errors, and the list stays whole.
#include <vxplan/dataentity/vxDataEntityPack.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "vxListRecorder.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

using namespace vxplan;
using namespace vxplan::test;

namespace {

const std::vector<int> kHostile = {INT_MIN, INT_MIN + 1, -2, -1, 0, 1, 39, 40, 41, 1000, INT_MAX - 1, INT_MAX};

// The loaded block and the entities' cached indexes agree, and the count is what it was.
void ExpectWhole(TvxDataList* list, int count)
{
    ASSERT_EQ(list->Count(), count);
    ASSERT_EQ(list->UnloadedBefore() + list->LoadedCount() + list->UnloadedAfter(), count);
    for (int p = 0; p < list->LoadedCount(); ++p)
        ASSERT_EQ(list->GetLoaded(p)->ListIndex(), list->UnloadedBefore() + p) << "loaded " << p;
}

// Runs the call; an error of the library is an answer too, anything else fails.
void Survives(const std::string& what, const std::function<void()>& call)
{
    try {
        call();
    } catch (const EListError&) {
    } catch (const EInvalidArgument&) {
    } catch (const EInvalidOperation&) {
    } catch (const std::exception& e) {
        ADD_FAILURE() << what << " threw an unexpected " << e.what();
    }
}

}  // namespace

TEST(HostileDataList, IndexesFarOutsideTheListAreAnsweredOrRefused)
{
    for (const bool isVirtual : {false, true}) {
        SCOPED_TRACE(isVirtual ? "virtual" : "real");
        TListRecorder r;
        TListHolder list(&r.C);
        if (isVirtual) {
            list->AddUnloaded(40);
            list->GetItems(20);
        } else {
            for (int i = 0; i < 40; ++i) list->Add();
        }
        for (const int i : kHostile) {
            const bool inside = i >= 0 && i < 40;
            SCOPED_TRACE("index " + std::to_string(i));
            if (!inside) {
                EXPECT_EQ(list->GetItems(i), nullptr);
                EXPECT_EQ(list->EnsureLoadedItem(i), nullptr);
                EXPECT_FALSE(list->IsLoaded(i));
                EXPECT_FALSE(list->ValidIndexDataEntity(i));
            }
            Survives("GetLoaded", [&] { list->GetLoaded(i); });
            Survives("VisibleIndexDataEntity", [&] { list->VisibleIndexDataEntity(i); });
            Survives("ListIndexToVisibleIndex", [&] { list->ListIndexToVisibleIndex(i); });
            Survives("VisibleIndexToListIndex", [&] { list->VisibleIndexToListIndex(i); });
            Survives("Unload", [&] { list->Unload(i, i % 2 == 0); });
            if (!inside) {
                Survives("Delete", [&] { list->Delete(i); });
                Survives("Move", [&] { list->GetItems(5)->Move(i); });
                if (i != 40) Survives("Insert", [&] { list->Insert(i); });  // 40 appends
            }
            ExpectWhole(list.List, 40);
            for (const int j : kHostile)
                if (i > j || !(i >= 0 && j < 40)) Survives("LoadItems", [&] { list->LoadItems(i, j, i % 2 == 0); });
            ExpectWhole(list.List, 40);
        }
    }
}

TEST(HostileDataList, CountsStopAtTheLastInt)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->Add();
    list->Add();
    EXPECT_THROW(list->AddUnloaded(INT_MAX), EInvalidArgument);
    EXPECT_EQ(list->Count(), 2);
    list->AddUnloaded(INT_MAX - 2);
    EXPECT_EQ(list->Count(), INT_MAX);
    EXPECT_THROW(list->AddUnloaded(1), EInvalidArgument);
    EXPECT_EQ(list->GetItems(INT_MAX - 1)->ListIndex(), INT_MAX - 1) << "the very last place loads";
}

TEST(HostileDataList, AMoveAcrossTheWholeListLoadsNothingInBetween)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(INT_MAX);
    TvxDataEntity* e = list->GetItems(1);
    const int id = IdOf(e);
    r.Take();
    e->Move(INT_MAX - 1);
    EXPECT_EQ(r.Take(), (std::vector<std::string>{"move " + std::to_string(id) + " 1>2147483646"}));
    EXPECT_EQ(list->LoadedCount(), 1);
    EXPECT_EQ(list->GetItems(INT_MAX - 1), e);
    ExpectWhole(list.List, INT_MAX);
    e->Move(0);  // and back, past the other end
    EXPECT_EQ(e->ListIndex(), 0);
    EXPECT_EQ(list->LoadedCount(), 1);
    ExpectWhole(list.List, INT_MAX);

    // An entity that refuses to go keeps the block whole: the move loads up to it as before.
    list->GetItems(1);
    r.AllowUnload = false;
    list->GetItems(0)->Move(600);
    EXPECT_EQ(list->GetItems(600)->ListIndex(), 600);
    ExpectWhole(list.List, INT_MAX);
}

TEST(HostileDataList, AFullListTakesNoEntityFromAnother)
{
    TListRecorder r, rb("B");
    TListHolder list(&r.C), full(&rb.C);
    TvxDataEntity* e = list->Add();
    full->AddUnloaded(INT_MAX);
    EXPECT_THROW(e->ChangeOwner(full.List, 0), EListError);
    EXPECT_EQ(e->GetDataList(), list.List);
    ExpectWhole(list.List, 1);
    ExpectWhole(full.List, INT_MAX);
}
