// Random inserts, drops, hides, loads, purges and unloads on a row axis, checked after every step
// against a plain list of every row: real, loaded, true and visible indexes, the cells of the
// matrix, and the order of the load and unload callbacks.
#include "vxGridFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <random>
#include <set>

namespace vxplan::test {
namespace {

struct TRowObject : TObject {
    explicit TRowObject(int theId) : id(theId) {}
    int id;
    bool hidden = false;
};

class TAxisModelCheck {
public:
    explicit TAxisModelCheck(unsigned seed) : rng_(seed)
    {
        TBabGridCellForViewer& root = *f_.root;
        root.Columns().AddNew(nullptr);
        for (int i = 0; i < kFixed; ++i) root.Rows().AddNew(NewObject())->SetValue(ref_.back());
        for (TRowObject* o : ref_) loaded_.insert(o);
        root.SetFixedRows(kFixed);
        AppendUnloaded(3000);
        root.OnVirtualLoad = [this](TBabGridCell*, TAxisContentItem* item, bool row) {
            if (!row) return;
            const int i = item->ListIndex();
            auto* obj = ref_.at(static_cast<size_t>(i));
            EXPECT_EQ(loaded_.count(obj), 0u) << "loaded twice: " << i;
            item->SetValue(obj);
            if (obj->hidden) item->SetHide(true);
            loaded_.insert(obj);
            loads_.emplace_back(i, item->GetList()->GetLoadingAtFront());
            ++totalLoads;
        };
        root.OnVirtualUnLoad = [this](TBabGridCell*, TAxisContentItem* item, bool row, bool perform, bool& can) {
            if (!row) return;
            if (!perform) {
                can = Chance(80);
                return;
            }
            TAxisContentList& rows = f_.root->Rows();
            const int i = item->ListIndex();
            // Only the ends of the loaded block are ever unloaded.
            const bool atFrontEnd = i == rows.IndexConvert_LoadedToReal(rows.GetFixed());
            const bool atBackEnd = i == rows.IndexConvert_LoadedToReal(rows.LoadedCount() - 1);
            EXPECT_TRUE(atFrontEnd || atBackEnd) << "unload inside the block: " << i;
            EXPECT_EQ(item->GetValue(), ref_.at(static_cast<size_t>(i)));
            loaded_.erase(static_cast<TRowObject*>(item->GetValue()));
            ++totalUnloads;
            if (vanishNext_) {
                ref_.erase(ref_.begin() + i);
                ++totalVanished;
            }
        };
        root.OnKeepAfterUnloadCheck = [this](TBabGridCell*, TAxisContentItem*, bool, bool& keep) {
            vanishNext_ = vanishAllowed_ && Chance(30);
            keep = !vanishNext_;
        };
    }

    void Step()
    {
        TAxisContentList& rows = f_.root->Rows();
        loads_.clear();
        switch (Pick(9)) {
        case 0: {  // insert
            const int i = kFixed + Pick(rows.Count() - kFixed + 1);
            TAxisContentItem* item = rows.InsertNew(i, nullptr);
            TRowObject* obj = NewObject();
            ref_.pop_back();
            ref_.insert(ref_.begin() + item->ListIndex(), obj);
            item->SetValue(obj);
            loaded_.insert(obj);
            break;
        }
        case 1: {  // drop, loaded or count-only
            if (rows.Count() <= kFixed) break;
            const int i = kFixed + Pick(rows.Count() - kFixed);
            loaded_.erase(ref_[static_cast<size_t>(i)]);
            ref_.erase(ref_.begin() + i);
            rows.Drop(i);
            break;
        }
        case 2: {  // hide or show a loaded item
            if (rows.LoadedCount() <= kFixed) break;
            TAxisContentItem* item = rows.getLoadedAxisContentItem(kFixed + Pick(rows.LoadedCount() - kFixed));
            auto* obj = static_cast<TRowObject*>(item->GetValue());
            obj->hidden = !obj->hidden;
            item->SetHide(obj->hidden);
            break;
        }
        case 3:
        case 4:  // ask for an item, near the block or anywhere
            if (rows.Count() > kFixed) {
                const int near = rows.IndexConvert_LoadedToReal(rows.LoadedCount() - 1) + Pick(40) - 20;
                const int i = Chance(70) ? std::clamp(near, kFixed, rows.Count() - 1) : kFixed + Pick(rows.Count() - kFixed);
                rows.getAxisContentItem(i);
            }
            break;
        case 5: {  // purge around a random window of the block
            rows.ClearVisibles();
            const int n = rows.LoadedCount() - kFixed;
            if (n > 0) {
                const int a = kFixed + Pick(n);
                const int b = std::min(rows.LoadedCount(), a + 1 + Pick(10));
                for (int j = a; j < b; ++j) rows.AddToVisible(rows.getLoadedAxisContentItem(j));
            }
            vanishAllowed_ = true;
            rows.Purge();
            vanishAllowed_ = false;
            break;
        }
        case 6:
            AppendUnloaded(Pick(50));
            break;
        case 7:
            vanishAllowed_ = true;
            rows.UnloadAll();
            vanishAllowed_ = false;
            break;
        case 8: {  // move within reach of the block
            if (rows.Count() <= kFixed + 1) break;
            const int a = std::clamp(rows.IndexConvert_LoadedToReal(rows.LoadedCount() - 1) - Pick(30), kFixed,
                                     rows.Count() - 1);
            const int b = std::clamp(a + Pick(60) - 30, kFixed, rows.Count() - 1);
            rows.Move(a, b);
            TRowObject* moved = ref_[static_cast<size_t>(a)];
            ref_.erase(ref_.begin() + a);
            ref_.insert(ref_.begin() + b, moved);
            break;
        }
        }
        Check();
    }

    void Check()
    {
        TAxisContentList& rows = f_.root->Rows();
        ASSERT_EQ(rows.Count(), static_cast<int>(ref_.size()));
        ASSERT_GE(rows.GetUnloadedBefore(), 0);
        ASSERT_GE(rows.GetUnloadedAfter(), 0);
        ASSERT_EQ(rows.LoadedCount(), static_cast<int>(loaded_.size()));
        ASSERT_EQ(f_.root->Matris().LoadedCountY(), rows.LoadedCount());
        int hiddenLoaded = 0;
        for (int j = 0; j < rows.LoadedCount(); ++j) {
            TAxisContentItem* item = rows.getLoadedAxisContentItem(j);
            const int real = rows.IndexConvert_LoadedToReal(j);
            ASSERT_EQ(item->ListIndex(), real);
            ASSERT_EQ(item->LoadedListIndex(), j);
            ASSERT_EQ(item->GetValue(), ref_[static_cast<size_t>(real)]) << "real " << real;
            ASSERT_TRUE(rows.IsLoaded(real));
            if (TBabCell* cell = f_.root->Matris().PeekLoadedCell(0, j)) {
                ASSERT_EQ(cell->GetAxisContentItemY(), item);
            }
            ASSERT_EQ(item->GetHide(), static_cast<TRowObject*>(item->GetValue())->hidden);
            if (item->GetHide()) ++hiddenLoaded;
        }
        ASSERT_EQ(rows.GetHiddenRowCount(), hiddenLoaded);
        // True and visible indexes of a few items of the block.
        for (int t = 0; t < 5 && rows.LoadedCount() > kFixed; ++t) {
            const int j = kFixed + Pick(rows.LoadedCount() - kFixed);
            const int real = rows.IndexConvert_LoadedToReal(j);
            int hiddenBefore = 0;
            for (int k = 0; k < j; ++k)
                if (rows.getLoadedAxisContentItem(k)->GetHide()) ++hiddenBefore;
            const int visible = f_.root->Convert_TrueIndexToVisible(rows, real);
            ASSERT_EQ(visible, real - hiddenBefore);
            if (!rows.getLoadedAxisContentItem(j)->GetHide()) {
                ASSERT_EQ(f_.root->Convert_VisibleIndexToTrue(rows, visible), real);
            }
        }
        // Each load ran in one direction: in front from the last index down, behind upwards.
        for (size_t k = 1; k < loads_.size(); ++k) {
            if (loads_[k].second != loads_[k - 1].second) continue;
            const int step = loads_[k].first - loads_[k - 1].first;
            if (loads_[k].second) {
                ASSERT_TRUE(step == -1 || step > 0) << "front load out of order";
            } else {
                ASSERT_TRUE(step == 1 || step < 0) << "back load out of order";
            }
        }
        if (!loads_.empty()) {
            const int last = loads_.back().first;
            ASSERT_TRUE(last == rows.GetLastLoadedFirst() || last == rows.GetLastLoadedLast());
        }
    }

private:
public:
    int totalLoads = 0, totalUnloads = 0, totalVanished = 0;

private:
    static constexpr int kFixed = 2;

    TRowObject* NewObject()
    {
        objects_.push_back(std::make_unique<TRowObject>(static_cast<int>(objects_.size())));
        ref_.push_back(objects_.back().get());
        return objects_.back().get();
    }
    void AppendUnloaded(int n)
    {
        for (int i = 0; i < n; ++i) NewObject();
        f_.root->Rows().AddUnloaded(n);
    }
    int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }

    TGridFixture f_;
    std::mt19937 rng_;
    std::deque<std::unique_ptr<TRowObject>> objects_;
    std::vector<TRowObject*> ref_;
    std::set<TRowObject*> loaded_;
    std::vector<std::pair<int, bool>> loads_;
    bool vanishAllowed_ = false;
    bool vanishNext_ = false;
};

TEST(AxisModel, RandomChangesKeepEveryIndexSpaceInStep)
{
    for (unsigned seed : {1u, 7u, 42u, 2026u, 31337u}) {
        std::printf("axis model seed %u\n", seed);
        SCOPED_TRACE("seed " + std::to_string(seed));
        TAxisModelCheck check(seed);
        for (int step = 0; step < 400; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            check.Step();
            if (::testing::Test::HasFatalFailure()) return;
        }
        std::printf("  loads %d, unloads %d, of which vanished %d\n", check.totalLoads, check.totalUnloads,
                    check.totalVanished);
        EXPECT_GT(check.totalVanished, 0);
    }
}

}  // namespace
}  // namespace vxplan::test
