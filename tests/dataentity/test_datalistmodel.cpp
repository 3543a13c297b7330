// Thousands of random operations on real and virtual lists, each checked against a plain model
// of the list: contents, indexes, counts, the loaded block, selection and the exact sequence of
// notifications. Each run prints its seed; a failure names the seed and step to replay.
#include <vxplan/dataentity/vxDataEntityPack.h>

#include "vxListRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>

using namespace vxplan;
using namespace vxplan::test;

namespace {

int KeyOf(int id) { return static_cast<int>((static_cast<long long>(id) * 7919) % 101); }

// The plain model: one slot per list index, 0 for an entity not in memory.
struct TModel {
    struct Slot {
        int id = 0;
        bool sel = false;
    };
    std::vector<Slot> slots;
    int ub = 0;  // where the block starts (meaningful also when it is empty)
    bool allowUnload = true;
    int hold = 0;
    int pinned = 0;  // id of an entity that may not be unloaded
    std::vector<std::string> log;
    int nextId = 0;

    int Count() const { return static_cast<int>(slots.size()); }
    int Loaded() const
    {
        return static_cast<int>(std::count_if(slots.begin(), slots.end(), [](const Slot& s) { return s.id != 0; }));
    }
    bool IsLoaded(int i) const { return slots[static_cast<size_t>(i)].id != 0; }
    std::string Id(int i) const { return std::to_string(slots[static_cast<size_t>(i)].id); }
    void Note(std::initializer_list<std::string> lines) { log.insert(log.end(), lines); }

    void ClearSelections()
    {
        for (auto& s : slots)
            if (s.id && s.sel) {
                s.sel = false;
                log.push_back("select " + std::to_string(s.id) + "-");
            }
    }
    bool CanUnload(int i) const { return hold == 0 && allowUnload && slots[static_cast<size_t>(i)].id != pinned; }
    void UnloadAt(int i, bool front)
    {
        Note({"delete " + Id(i), "content L"});
        slots[static_cast<size_t>(i)] = Slot{};
        if (front) ++ub;
        if (Loaded() == 0) ub = 0;
    }
    void Purge()
    {
        while (Loaded() > 0 && CanUnload(ub)) UnloadAt(ub, true);
        while (Loaded() > 0 && CanUnload(ub + Loaded() - 1)) UnloadAt(ub + Loaded() - 1, false);
    }
    void LoadItems(int from, int to, bool front)
    {
        if (Loaded() == 0 && ub == 0) ub = front ? to + 1 : from;
        std::vector<int> ids;
        for (int i = from; i <= to; ++i) {
            slots[static_cast<size_t>(i)].id = nextId;
            ids.push_back(nextId);
            log.push_back("visible " + std::to_string(nextId++));
        }
        if (front) {
            ub = from;
            for (int k = static_cast<int>(ids.size()) - 1; k >= 0; --k)
                log.push_back("load " + std::to_string(ids[static_cast<size_t>(k)]) + "@" + std::to_string(from + k));
        } else {
            for (size_t k = 0; k < ids.size(); ++k)
                log.push_back("load " + std::to_string(ids[k]) + "@" + std::to_string(from + static_cast<int>(k)));
        }
    }
    // Whether loading the unloaded index i gives up the loaded entities first.
    bool UnloadsFirst(int i) const
    {
        if (IsLoaded(i) || hold > 0) return false;
        const int end = ub + Loaded();
        const int span = i < ub ? ub - 1 - i : (end != 0 && i != end ? i - end : 0);
        return span + Loaded() > TvxDataList::kMaxLoaded;
    }
    void EnsureLoaded(int i)
    {
        for (;;) {
            if (i < 0 || i >= Count() || IsLoaded(i)) return;
            const int end = ub + Loaded();
            int from = i, to = i;
            bool front = false;
            if (i < ub) {
                to = ub - 1;
                front = true;
            } else if (end != 0 && i != end) {
                from = end;
            }
            if (UnloadsFirst(i)) {
                ClearSelections();
                Purge();
                if (Loaded() == 0) {
                    ub = std::min(i, Count() - 1);
                    continue;
                }
                if (i < ub) {
                    from = i;
                    to = ub - 1;
                    front = true;
                } else {
                    from = ub + Loaded();
                    to = i;
                    front = false;
                }
            }
            LoadItems(from, to, front);
            return;
        }
    }
};

struct TRun {
    TListRecorder r;
    TListHolder list{&r.C};
    TModel m;
    // A second, real list that entities change owner to and from.
    TListRecorder rB{"B"};
    TListHolder listB{&rB.C};
    std::vector<TModel::Slot> b;
    std::mt19937 rng;
    bool isVirtual;

    TRun(unsigned seed, bool virt) : rng(seed), isVirtual(virt)
    {
        r.C.OnSortCompare = [](TvxDataEntity* x, TvxDataEntity* y) { return KeyOf(IdOf(x)) - KeyOf(IdOf(y)); };
        rB.Out = &r.Log;
        if (virt) {
            list->AddUnloaded(1500);
            m.slots.resize(1500);
            r.Take();
        }
    }
    int Rand(int n) { return static_cast<int>(rng() % static_cast<unsigned>(std::max(1, n))); }
    int RandomLoaded() { return m.ub + Rand(m.Loaded()); }

    void Step(int step)
    {
        m.nextId = TNumberedEntity::NextId();
        m.allowUnload = r.AllowUnload = Rand(4) != 0;
        const int count = m.Count();
        const int op = Rand(15);
        if (!isVirtual && op >= 10 && op <= 12) return;
        switch (op) {
        case 0:
        case 1: {  // insert anywhere, add at the end
            const int i = op == 0 ? Rand(count + 1) : count;
            m.EnsureLoaded(i);
            if (i == m.Count() && i >= 1) m.EnsureLoaded(i - 1);
            const int id = m.nextId++;
            m.slots.insert(m.slots.begin() + i, TModel::Slot{id, false});
            m.Note({"visible " + std::to_string(id), "insert " + std::to_string(id), "content L"});
            op == 0 ? list->Insert(i) : list->Add();
            break;
        }
        case 2: {
            if (count == 0) return;
            const int i = Rand(count);
            if (m.IsLoaded(i)) {
                m.Note({"delete " + m.Id(i), "content L"});
            } else if (i < m.ub) {
                --m.ub;
            }
            m.slots.erase(m.slots.begin() + i);
            list->Delete(i);
            break;
        }
        case 3: {  // move a loaded entity
            if (m.Loaded() == 0) return;
            const int old = RandomLoaded();
            const int to = Rand(count);
            const int id = m.slots[static_cast<size_t>(old)].id;
            TvxDataEntity* e = list->GetLoaded(old - list->UnloadedBefore());
            m.pinned = id;
            // Far away the others give way; an entity left alone goes there as a block of one.
            bool alone = false;
            if (m.UnloadsFirst(to)) {
                m.ClearSelections();
                m.Purge();
                alone = m.Loaded() == 1;
            }
            if (!alone) m.EnsureLoaded(to);
            m.pinned = 0;
            const TModel::Slot s = m.slots[static_cast<size_t>(old)];
            m.slots.erase(m.slots.begin() + old);
            m.slots.insert(m.slots.begin() + to, s);
            if (alone) m.ub = to;
            m.log.push_back("move " + std::to_string(id) + " " + std::to_string(old) + ">" + std::to_string(to));
            e->Move(to);
            break;
        }
        case 4: {  // sort; at most a few thousand entities so the whole list fits
            if (count > 3000) return;
            const bool desc = Rand(2) != 0;
            ++m.hold;
            for (int i = 0; i < count; ++i) m.EnsureLoaded(i);
            --m.hold;
            std::stable_sort(m.slots.begin(), m.slots.end(),
                             [](const TModel::Slot& a, const TModel::Slot& b) { return KeyOf(a.id) < KeyOf(b.id); });
            if (desc) std::reverse(m.slots.begin(), m.slots.end());
            m.log.push_back("content L");
            list->Sort(desc);
            break;
        }
        case 5:
        case 6: {  // select or deselect a loaded entity
            if (m.Loaded() == 0) return;
            const int i = RandomLoaded();
            const bool value = op == 5;
            auto& s = m.slots[static_cast<size_t>(i)];
            if (s.sel != value) m.log.push_back("select " + std::to_string(s.id) + (value ? "+" : "-"));
            s.sel = value;
            list->GetItems(i)->SetSelected(value);
            break;
        }
        case 7:
            m.ClearSelections();
            list->ClearSelections();
            break;
        case 8: {  // read an entity, loading it when needed
            if (count == 0) return;
            const int i = Rand(count);
            m.EnsureLoaded(i);
            list->GetItems(i);
            break;
        }
        case 9: {
            if (Rand(8) != 0) return;  // rare: it empties the list
            for (int i = m.Count() - 1; i >= 0; --i)
                if (m.IsLoaded(i)) {
                    m.Note({"delete " + m.Id(i), "content L"});
                }
            m.log.push_back("unloaded L");
            m.slots.clear();
            m.ub = 0;
            list->Clear();
            if (isVirtual) {
                list->AddUnloaded(1500);
                m.slots.resize(1500);
                m.Note({"content L", "unloaded L"});
            }
            break;
        }
        case 10:
            m.Purge();
            list->Purge();
            break;
        case 11:
            m.ClearSelections();
            m.Purge();
            list->UnloadAll();
            break;
        case 12: {
            const int n = Rand(200);
            m.slots.resize(m.slots.size() + static_cast<size_t>(n));
            m.Note({"content L", "unloaded L"});
            list->AddUnloaded(n);
            break;
        }
        case 13: {  // a loaded entity changes owner to the second list
            if (m.Loaded() == 0) return;
            const int i = RandomLoaded();
            const int to = Rand(static_cast<int>(b.size()) + 1);
            const TModel::Slot s = m.slots[static_cast<size_t>(i)];
            TvxDataEntity* e = list->GetItems(i);
            m.Note({"leave " + std::to_string(s.id), "enter " + std::to_string(s.id), "content B", "content L"});
            m.slots.erase(m.slots.begin() + i);
            b.insert(b.begin() + to, s);
            e->ChangeOwner(listB.List, to);
            break;
        }
        case 14: {  // and back, to a position in the loaded block
            if (b.empty()) return;
            const int i = Rand(static_cast<int>(b.size()));
            const int pos = Rand(m.Loaded() + 1);
            const TModel::Slot s = b[static_cast<size_t>(i)];
            TvxDataEntity* e = listB->GetItems(i);
            m.Note({"leave " + std::to_string(s.id), "enter " + std::to_string(s.id), "content L", "content B"});
            b.erase(b.begin() + i);
            m.slots.insert(m.slots.begin() + m.ub + pos, s);
            e->ChangeOwner(list.List, pos);
            break;
        }
        }
        Check(step);
    }

    void Check(int step)
    {
        SCOPED_TRACE("step " + std::to_string(step));
        ASSERT_EQ(r.Take(), m.log);
        m.log.clear();
        ASSERT_EQ(list->Count(), m.Count());
        ASSERT_EQ(list->LoadedCount(), m.Loaded());
        if (m.Loaded() > 0) {
            ASSERT_EQ(list->UnloadedBefore(), m.ub);
        }
        ASSERT_EQ(list->UnloadedBefore() + list->LoadedCount() + list->UnloadedAfter(), list->Count());
        int visible = 0;
        for (int i = 0; i < m.Count(); ++i) {
            const auto& s = m.slots[static_cast<size_t>(i)];
            ASSERT_EQ(list->IsLoaded(i), s.id != 0) << "index " << i;
            if (!s.id) continue;
            TvxDataEntity* e = list->GetLoaded(i - list->UnloadedBefore());
            ASSERT_EQ(IdOf(e), s.id) << "index " << i;
            ASSERT_EQ(e->ListIndex(), i);
            ASSERT_EQ(list->IndexOf(e), i);
            ASSERT_EQ(e->GetSelected(), s.sel) << "index " << i;
            ++visible;
        }
        ASSERT_EQ(list->VisibleCount(), visible);
        ASSERT_EQ(listB->Count(), static_cast<int>(b.size()));
        for (size_t k = 0; k < b.size(); ++k) {
            TvxDataEntity* e = listB->GetLoaded(static_cast<int>(k));
            ASSERT_EQ(IdOf(e), b[k].id);
            ASSERT_EQ(e->ListIndex(), static_cast<int>(k));
            ASSERT_EQ(e->GetSelected(), b[k].sel);
        }
    }
};

void RunModel(unsigned seed, bool virt, int steps)
{
    std::printf("list model seed %u (%s)\n", seed, virt ? "virtual" : "real");
    SCOPED_TRACE("seed " + std::to_string(seed) + (virt ? " virtual" : " real"));
    TRun run(seed, virt);
    for (int step = 0; step < steps; ++step) {
        run.Step(step);
        if (testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace

TEST(DataListModel, RealAndVirtualListsFollowTheModel)
{
    for (auto [virt, seeds] : {std::pair{false, std::array{1u, 2u, 3u, 20261207u}}, {true, {11u, 12u, 13u, 20261208u}}})
        for (unsigned seed : seeds) {
            RunModel(seed, virt, 3000);
            if (HasFatalFailure()) return;
        }
}
