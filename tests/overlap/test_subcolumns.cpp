// Sub-column numbering: holder lists, rounding, what a plain pair walk cannot see (keys, the
// sub-column lists, numbered holders, stopping, failures), and a randomized comparison with that
// walk, written here on its own so the two cannot share a mistake.
#include <vxplan/overlap/vxTimeDistinctGeneric.h>
#include <vxplan/overlap/vxTimeDistinctGenericThread.h>
#include <vxplan/platform/core/vxExceptions.h>

#include "support/vxTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace vxplan;
using vxplan::test::ErrorText;

namespace {

constexpr double kSec = 1.0 / 86400.0;

std::vector<int> SubColumnsOf(const TDistinctTimeHolderList& list)
{
    std::vector<int> result;
    for (const TDistinctTimeHolder* h : list.Items()) result.push_back(h->SubColumn);
    return result;
}

std::vector<int> Resolve(TDistinctTimeHolderList& list)
{
    TTimeDistinctGeneric computation(&list);
    computation.ResolveConflicts();
    return SubColumnsOf(list);
}

// The reference: every pair, last to first, first fit over the sub-columns made so far. A row
// lists holders by number, so one holder may stand in it twice.
struct TRefSpan {
    double start, stop;
    std::string key;
};

bool RefConflict(const std::vector<TRefSpan>& spans, int a, int b)
{
    const TRefSpan& x = spans[static_cast<size_t>(a)];
    const TRefSpan& y = spans[static_cast<size_t>(b)];
    if (a == b || x.key != y.key) return false;
    return (y.start <= x.start && x.start < y.stop) || (y.start < x.stop && x.stop < y.stop) ||
           (x.start <= y.start && y.start < x.stop) || (x.start < y.stop && y.stop < x.stop);
}

std::vector<int> ReferenceSubColumns(const std::vector<TRefSpan>& spans, const std::vector<int>& row)
{
    std::vector<int> sub(spans.size(), 0);
    std::vector<std::vector<int>> columns;
    auto place = [&](int h) {
        for (size_t k = 0; k < columns.size(); ++k) {
            bool free = true;
            for (int x : columns[k]) free = free && !RefConflict(spans, h, x);
            if (free) {
                columns[k].push_back(h);
                sub[static_cast<size_t>(h)] = static_cast<int>(k) + 1;
                return;
            }
        }
        columns.push_back({h});
        sub[static_cast<size_t>(h)] = static_cast<int>(columns.size());
    };
    for (int i = static_cast<int>(row.size()) - 1; i >= 0; --i)
        for (int j = static_cast<int>(row.size()) - 1; j >= 0; --j) {
            const int a = row[static_cast<size_t>(i)], b = row[static_cast<size_t>(j)];
            if (i != j && RefConflict(spans, a, b)) {
                if (sub[static_cast<size_t>(a)] == 0) place(a);
                if (sub[static_cast<size_t>(b)] == 0) place(b);
            }
        }
    std::vector<int> result;
    for (int h : row) result.push_back(sub[static_cast<size_t>(h)]);
    return result;
}

bool ReferenceHasConflict(const std::vector<TRefSpan>& spans, const std::vector<int>& row)
{
    for (size_t i = 0; i < row.size(); ++i)
        for (size_t j = 0; j < row.size(); ++j)
            if (i != j && RefConflict(spans, row[i], row[j])) return true;
    return false;
}

}  // namespace

TEST(DistinctTimeHolderList, AddStoresAZeroLengthSpanOneSecondLongAndKeepsAReversedOne)
{
    TDistinctTimeHolderList list;
    EXPECT_FALSE(list.OwnsHolders());
    TObject item;
    const TDistinctTimeHolder* point = list.Add(10.5, 10.5, "k", &item);
    EXPECT_TRUE(list.OwnsHolders());
    EXPECT_EQ(point->Start, 10.5);
    EXPECT_EQ(point->Stop, 10.5 + kSec);
    EXPECT_EQ(point->Key, "k");
    EXPECT_EQ(point->SubColumn, 0);
    EXPECT_EQ(point->Reference, &item);
    const TDistinctTimeHolder* reversed = list.Add(3.0, 2.0, "", nullptr);
    EXPECT_EQ(reversed->Stop, 2.0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(1), reversed);
}

TEST(DistinctTimeHolderList, FindFromReferenceGivesTheFirstHolderAndFollowsChanges)
{
    TDistinctTimeHolderList list;
    TObject a, b, c;
    TDistinctTimeHolder* first = list.Add(0, 1, "", &a);
    list.Add(0, 1, "", &b);
    list.Add(2, 3, "", &a);
    EXPECT_EQ(list.FindFromReference(&a), first);
    EXPECT_EQ(list.FindFromReference(&c), nullptr);
    TDistinctTimeHolder* late = list.Add(5, 6, "", &c);
    EXPECT_EQ(list.FindFromReference(&c), late) << "a holder added after a lookup is found";
    list.Clear();
    EXPECT_EQ(list.FindFromReference(&a), nullptr);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.OwnsHolders()) << "Clear keeps the flag";
}

TEST(DistinctTimeHolderList, AnIndexOutsideTheListIsAClearError)
{
    TDistinctTimeHolderList list;
    list.Add(0, 1, "", nullptr);
    EXPECT_THROW(list.Get(1), EListError);
    EXPECT_THROW(list.Get(-1), EListError);
    EXPECT_EQ(ErrorText<EListError>([&] { list.Get(4); }), "Holder index 4 out of range (count 1)");
    EXPECT_EQ(list.Count(), 1);
}

TEST(RoundToWholeSeconds, KeepsTheDateAndRoundsTheTimeOfDayHalvesToEven)
{
    // Exact halves of a second exist only near day 0: a larger date leaves fewer bits.
    ASSERT_EQ(2.5 / 86400.0 * 86400.0, 2.5);
    const std::pair<double, double> cases[] = {{45000.0, 45000.0},
                                               {45000.0 + 10.4 * kSec, 45000.0 + 10.0 / 86400.0},
                                               {45000.0 + 10.6 * kSec, 45000.0 + 11.0 / 86400.0},
                                               {2.5 / 86400.0, 2.0 / 86400.0},
                                               {3.5 / 86400.0, 4.0 / 86400.0},
                                               {-1.0 - 10.4 * kSec, -1.0 - 10.0 / 86400.0}};
    for (auto [t, rounded] : cases) EXPECT_EQ(RoundToWholeSeconds(t), rounded) << t * 86400 << " seconds";
}

TEST(SubColumns, KeysAreComparedCaseForCaseAndHoldersAlreadyNumberedCountAsPlaced)
{
    TDistinctTimeHolderList otherKeys;
    otherKeys.Add(0, 5, "row 1", nullptr);
    otherKeys.Add(1, 6, "row 2", nullptr);
    otherKeys.Add(2, 7, "Row 1", nullptr);
    EXPECT_EQ(Resolve(otherKeys), std::vector<int>({0, 0, 0}));

    TDistinctTimeHolderList list;
    list.Add(0, 3, "", nullptr);
    list.Add(1, 4, "", nullptr);
    list.Add(2, 5, "", nullptr);
    list.Get(2)->SubColumn = 7;
    EXPECT_EQ(Resolve(list), std::vector<int>({2, 1, 7}));
}

TEST(SubColumns, SubColumnListsFillFromTheLastHolderAndAreSharedByTheKeys)
{
    TDistinctTimeHolderList list;
    list.Add(0, 2, "a", nullptr);  // A
    list.Add(1, 3, "a", nullptr);  // B
    list.Add(2, 4, "a", nullptr);  // C
    list.Add(0, 4, "b", nullptr);
    list.Add(1, 5, "b", nullptr);
    list.Add(2, 6, "b", nullptr);
    TTimeDistinctGeneric computation(&list);
    EXPECT_TRUE(computation.HasConflicts());
    EXPECT_TRUE(computation.SubColumns().empty()) << "asking places nothing";
    EXPECT_EQ(SubColumnsOf(list), std::vector<int>(6, 0));
    computation.ResolveConflicts();
    EXPECT_EQ(SubColumnsOf(list), std::vector<int>({1, 2, 1, 3, 2, 1}));
    ASSERT_EQ(computation.SubColumns().size(), 3u);
    EXPECT_EQ(computation.SubColumns()[0]->Items(),
              std::vector<TDistinctTimeHolder*>({list.Get(5), list.Get(2), list.Get(0)}))
        << "the last b went first into sub-column 1, then C, and A joined later";
    EXPECT_FALSE(computation.SubColumns()[0]->OwnsHolders());
}

TEST(SubColumns, ATerminatedWorkerStopsTheComputationBeforeItPlacesAnything)
{
    TDistinctTimeHolderList list;
    list.Add(0, 2, "", nullptr);
    list.Add(1, 3, "", nullptr);
    TTimeDistinctGenericThread* worker = new TTimeDistinctGenericThread;
    worker->Terminate();
    TTimeDistinctGeneric computation(&list);
    computation.SetThread(worker);
    EXPECT_FALSE(computation.HasConflicts());
    computation.ResolveConflicts();
    EXPECT_EQ(SubColumnsOf(list), std::vector<int>({0, 0}));
    TTimeDistinctGenericThread::FreeAndCleanUp(worker);
}

TEST(SubColumns, AFailureInsideComesOutWithTheLoopPrefix)
{
    TDistinctTimeHolderList owned;
    owned.Add(0, 2, "", nullptr);
    TDistinctTimeHolderList list;
    list.Append(owned.Get(0));
    list.Append(nullptr);
    TTimeDistinctGeneric computation(&list);
    EXPECT_EQ(ErrorText<Exception>([&] { computation.ResolveConflicts(); }), "ConflictLoop:Holder 1 is missing");
    EXPECT_EQ(owned.Get(0)->SubColumn, 0);
}

// Random rows against the reference. Spans on whole ten minutes, so many ends meet starts, with
// points, a few keys; every fifth row also holds reversed spans and one holder twice, which take
// the pair walk.
TEST(SubColumns, RandomRowsGiveTheSameNumbersAsEveryPairWalkedInOrder)
{
    std::printf("random rows with seeds 1 to 400 (std::mt19937)\n");
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 random(seed);
        const int n = std::uniform_int_distribution<int>(0, seed % 4 == 0 ? 300 : 40)(random);
        const int keys = std::uniform_int_distribution<int>(1, 3)(random);
        const bool odd = seed % 5 == 0;
        std::vector<TRefSpan> spans;
        std::vector<int> row;
        TDistinctTimeHolderList store;
        TDistinctTimeHolderList list;
        for (int i = 0; i < n; ++i) {
            const double start = 45000.0 + std::uniform_int_distribution<int>(0, 60)(random) * 600 * kSec;
            const int length = std::uniform_int_distribution<int>(odd ? -3 : 0, 12)(random);
            const double stop = start + length * 600 * kSec;
            const std::string key(1, static_cast<char>('a' + std::uniform_int_distribution<int>(0, keys - 1)(random)));
            TDistinctTimeHolder* h = store.Add(start, stop, key, nullptr);
            list.Append(h);
            spans.push_back({h->Start, h->Stop, key});
            row.push_back(i);
        }
        if (odd && n > 3) {
            list.Append(list.Get(1));
            row.push_back(1);
        }
        SCOPED_TRACE("seed " + std::to_string(seed));
        EXPECT_EQ(TTimeDistinctGeneric(&list).HasConflicts(), ReferenceHasConflict(spans, row));
        const std::vector<int> expected = ReferenceSubColumns(spans, row);
        const std::vector<int> got = Resolve(list);
        if (got != expected) std::printf("sub-column mismatch with seed %u (n = %d)\n", seed, n);
        ASSERT_EQ(got, expected);
    }
}
