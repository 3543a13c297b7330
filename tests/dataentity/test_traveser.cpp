// Walking several lists as one sequence, and selection across the lists of a two-level list.
#include <vxplan/dataentity/vxDataEntityPack.h>
#include <vxplan/dataentity/vxDataTraveser.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "vxListRecorder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

using namespace vxplan;
using namespace vxplan::test;

namespace {
// A two-level list over lists of the given sizes; frees everything at scope end.
struct TScene {
    explicit TScene(std::vector<int> sizes) : Two(new TvxDataList2lev)
    {
        Two->AfterCreate();
        for (int n : sizes) {
            Lists.push_back(std::make_unique<TListHolder>(&R.C));
            for (int i = 0; i < n; ++i) Lists.back()->List->Add();
            Two->Add(Lists.back()->List);
        }
    }
    ~TScene() { Two->FreeWheneverPossible(); }
    TvxDataEntity* At(int list, int i) { return Lists[static_cast<size_t>(list)]->List->GetItems(i); }

    TListRecorder R;
    std::vector<std::unique_ptr<TListHolder>> Lists;
    TvxDataList2lev* Two;
};

std::vector<TvxDataEntity*> Forward(TDataListTrav& t)
{
    std::vector<TvxDataEntity*> out;
    for (t.First(); !t.Eof(); t.Next()) out.push_back(t.DataEntity());
    return out;
}

std::vector<TvxDataEntity*> Backward(TDataListTrav& t)
{
    std::vector<TvxDataEntity*> out;
    for (t.Last(); !t.BOF(); t.Prev()) out.push_back(t.DataEntity());
    return out;
}
}  // namespace

TEST(DataListTraversal, EmptyListsAreSkippedForwardAndBackward)
{
    TScene none({0, 0});
    TDataListTrav empty(none.Two);
    EXPECT_TRUE(Forward(empty).empty());
    EXPECT_EQ(empty.DataEntity(), nullptr);
    empty.Last();
    EXPECT_TRUE(empty.BOF());

    TScene s({2, 0, 3});
    TDataListTrav t(s.Two);
    const auto fwd = Forward(t);
    EXPECT_EQ(fwd, (std::vector<TvxDataEntity*>{s.At(0, 0), s.At(0, 1), s.At(2, 0), s.At(2, 1), s.At(2, 2)}));
    EXPECT_EQ(Backward(t), std::vector<TvxDataEntity*>(fwd.rbegin(), fwd.rend()));
    EXPECT_EQ(t.WalkListCount(), 2);
    EXPECT_EQ(t.GetObsCountInList(1), 3);
}

TEST(DataListTraversal, StartListWrapsAroundAndChosenListsAreWalkedInTheirOrderSkippingMinusOne)
{
    TScene s(std::vector<int>(20, 1));
    TDataListTrav wrapped(s.Two, 18);
    const auto fwd = Forward(wrapped);
    ASSERT_EQ(fwd.size(), 20u);
    EXPECT_EQ(std::vector<TvxDataEntity*>(fwd.begin(), fwd.begin() + 3),
              (std::vector<TvxDataEntity*>{s.At(18, 0), s.At(19, 0), s.At(0, 0)}));
    TDataListTrav picked(s.Two, std::vector<int>{3, -1, 0});
    EXPECT_EQ(Forward(picked), (std::vector<TvxDataEntity*>{s.At(3, 0), s.At(0, 0)}));
    // Any number of chosen lists is kept.
    std::vector<int> chosen;
    for (int i = 19; i >= 0; --i) chosen.push_back(i);
    TDataListTrav all(s.Two, chosen);
    const auto back = Forward(all);
    ASSERT_EQ(back.size(), 20u);
    EXPECT_EQ(back.front(), s.At(19, 0));
    EXPECT_EQ(back.back(), s.At(0, 0));
}

TEST(DataListTraversal, ThreeLevelListWalksEveryListOfEveryTwoLevelList)
{
    TScene a({2, 1}), b({0, 3});
    TvxDataList3lev* three = new TvxDataList3lev;
    three->AfterCreate();
    three->Add(a.Two);
    three->Add(b.Two);
    three->Add(a.Two);  // present already: kept once
    EXPECT_EQ(three->Count(), 2);
    TDataListTrav t(three);
    const auto fwd = Forward(t);
    ASSERT_EQ(fwd.size(), 6u);
    EXPECT_EQ(fwd[2], a.At(1, 0));
    EXPECT_EQ(fwd[3], b.At(1, 0));
    EXPECT_EQ(Backward(t).front(), b.At(1, 2));
    three->FreeWheneverPossible();
}

TEST(DataListTraversal, SingleListWalkLoadsVirtualEntities)
{
    TListRecorder r;
    TListHolder list(&r.C);
    list->AddUnloaded(5);
    TDataListTrav t(list.List);
    int n = 0;
    for (t.First(); !t.Eof(); t.Next()) EXPECT_EQ(t.DataEntity()->ListIndex(), n++);
    EXPECT_EQ(n, 5);
}

TEST(TwoLevelList, MissingIndexIsFixedByTheHandlerOrGivesNullOrAnError)
{
    TScene s({1});
    EXPECT_THROW(s.Two->GetDataList(3), EListError);
    TListRecorder r;
    TListHolder extra(&r.C);
    s.Two->OnMissingIndex = [&](TvxExposable* caller, int, bool& fixable) {
        EXPECT_EQ(caller, s.Two);
        static_cast<TvxDataList2lev*>(caller)->Add(extra.List);
        fixable = true;
    };
    EXPECT_EQ(s.Two->GetDataList(1), extra.List);
    s.Two->OnMissingIndex = [](TvxExposable*, int, bool& fixable) { fixable = true; };  // claims, adds nothing
    EXPECT_EQ(s.Two->GetDataList(7), nullptr);
    s.Two->OnMissingIndex = nullptr;
    s.Two->Remove(extra.List);
    EXPECT_EQ(s.Two->Count(), 1);
    EXPECT_THROW(s.Two->Delete(4), EListError);
}

TEST(TwoLevelSelection, RandomScenesStepLikeAFlatWrappingSequence)
{
    const unsigned seed = 4242;
    std::printf("two-level selection seed %u\n", seed);
    std::mt19937 rng(seed);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("seed 4242 round " + std::to_string(round));
        std::vector<int> sizes(rng() % 5);
        for (int& n : sizes) n = static_cast<int>(rng() % 4);
        TScene s(sizes);
        std::vector<TvxDataEntity*> flat;
        for (size_t l = 0; l < sizes.size(); ++l)
            for (int i = 0; i < sizes[l]; ++i) flat.push_back(s.At(static_cast<int>(l), i));
        const int n = static_cast<int>(flat.size());
        int at = n > 0 && rng() % 4 != 0 ? static_cast<int>(rng() % static_cast<unsigned>(n)) : -1;
        if (at >= 0) flat[static_cast<size_t>(at)]->SetSelected(true);
        const bool forward = rng() % 2 == 0;
        if (forward)
            s.Two->SelectNext();
        else
            s.Two->SelectPrev();
        if (n == 0) {
            EXPECT_EQ(s.Two->FindSelected(), nullptr);
            continue;
        }
        const int expected = at < 0 ? (forward ? 0 : n - 1) : (at + (forward ? 1 : n - 1)) % n;
        EXPECT_EQ(s.Two->FindSelected(), flat[static_cast<size_t>(expected)]);
        int selected = 0;
        for (TvxDataEntity* e : flat) selected += e->GetSelected() ? 1 : 0;
        EXPECT_EQ(selected, 1);
    }
}

TEST(TwoLevelSelection, AVirtualListIsNeverLoadedThroughAndOnlyTheEntitySelectedIsLoaded)
{
    using Log = std::vector<std::string>;
    auto id = [](TvxDataEntity* e) { return std::to_string(IdOf(e)); };
    TScene s({2, 0});
    TvxDataList* v = s.Lists[1]->List;
    v->AddUnloaded(10'000'000);
    v->GetItems(5'000'000);
    TvxDataEntity* last = v->GetItems(5'000'002);
    s.R.Take();
    EXPECT_EQ(s.Two->FindSelected(), nullptr);
    s.Two->ClearSelections();
    EXPECT_EQ(s.R.Take(), Log{});

    last->SetSelected(true);
    s.R.Take();
    s.Two->SelectNext();
    ASSERT_EQ(v->LoadedCount(), 4);
    TvxDataEntity* next = v->GetLoaded(3);
    EXPECT_EQ(s.R.Take(), (Log{"select " + id(last) + "-", "visible " + id(next), "load " + id(next) + "@5000003",
                               "select " + id(next) + "+"}));
    EXPECT_EQ(s.Two->FindSelected(), next);
    s.Two->SelectPrev();
    EXPECT_EQ(s.Two->FindSelected(), last);
    EXPECT_EQ(v->LoadedCount(), 4);

    // The first selected in list order wins; stepping on from it reaches the far first index.
    s.At(0, 1)->SetSelected(true);
    EXPECT_EQ(s.Two->FindSelected(), s.At(0, 1));
    s.Two->SelectNext();
    ASSERT_NE(s.Two->FindSelected(), nullptr);
    EXPECT_EQ(s.Two->FindSelected()->ListIndex(), 0);
    EXPECT_EQ(s.Two->FindSelected()->GetDataList(), v);
    EXPECT_EQ(v->LoadedCount(), 1);
    EXPECT_FALSE(s.At(0, 1)->GetSelected());

    // Before the first entity the walk wraps to the very last one.
    s.Two->ClearSelections();
    s.At(0, 0)->SetSelected(true);
    s.Two->SelectPrev();
    ASSERT_NE(s.Two->FindSelected(), nullptr);
    EXPECT_EQ(s.Two->FindSelected()->ListIndex(), 9'999'999);
    EXPECT_EQ(v->LoadedCount(), 1);
    s.Two->SelectNext();
    EXPECT_EQ(s.Two->FindSelected(), s.At(0, 0));
    EXPECT_EQ(v->Count(), 10'000'000);
}
