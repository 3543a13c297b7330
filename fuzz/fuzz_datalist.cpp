// Random operation sequences on two data lists, real and virtual, checked after every step.
//
// The host keeps a backing store of keys per list, as a virtual list's host does: OnLoadItem
// fills an entity from the store at its index, and every change the host asks for (insert,
// delete, move, sort, change of owner) is applied to the store too. After each step the counts
// add up, every loaded entity knows its list and its index, its key is the store's key there,
// and exactly the loaded entities are alive. The library's errors for bad arguments are
// answers; a call that raises one changes nothing.
#include "vxFuzzCheck.h"

#include <vxplan/dataentity/vxBeginUpdate.h>
#include <vxplan/dataentity/vxDataEntityPack.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace vxplan;

namespace {

int gLive = 0;  // entities alive, of both lists

class TKeyed : public TvxDataEntity {
public:
    TKeyed() { ++gLive; }
    uint32_t Key = 0;

protected:
    ~TKeyed() override { --gLive; }
};

uint32_t KeyOf(TvxDataEntity* e) { return static_cast<TKeyed*>(e)->Key; }

// Beyond this many entities the store is dropped and only the list's own invariants are checked.
constexpr size_t kModelLimit = 100000;

struct THost {
    TvxListController C;
    TvxDataList* List = nullptr;
    std::vector<uint32_t> Store;
    bool Modelled = true;
    // OnUnloadItem's answer: every entity, none, or those of even key.
    int UnloadPolicy = 0;
    // OnLoadItem then also asks for changes that a load refuses.
    bool MeddleInLoads = false;
    bool InLoad = false;

    void Check(const char* step) const;
    void Drop() { Modelled = false, Store.clear(); }
    void AfterGrowth()
    {
        if (static_cast<size_t>(List->Count()) > kModelLimit) Drop();
    }
};

uint32_t gNextKey = 1;

std::string Where(const THost& h, const char* step)
{
    const TvxDataList* l = h.List;
    return std::string(step) + ": count " + std::to_string(l->Count()) + " before " +
           std::to_string(l->UnloadedBefore()) + " loaded " + std::to_string(l->LoadedCount()) + " after " +
           std::to_string(l->UnloadedAfter()) + " store " + (h.Modelled ? std::to_string(h.Store.size()) : "off");
}

void THost::Check(const char* step) const
{
    TvxDataList* l = List;
    const int before = l->UnloadedBefore();
    VX_FUZZ_REQUIRE(before >= 0 && l->UnloadedAfter() >= 0, Where(*this, step));
    VX_FUZZ_REQUIRE(static_cast<int64_t>(before) + l->LoadedCount() + l->UnloadedAfter() == l->Count(),
                    Where(*this, step));
    if (Modelled) VX_FUZZ_REQUIRE(static_cast<size_t>(l->Count()) == Store.size(), Where(*this, step));
    int visible = 0;
    for (int p = 0; p < l->LoadedCount(); ++p) {
        TvxDataEntity* e = l->GetLoaded(p);
        VX_FUZZ_REQUIRE(e->GetDataList() == l, Where(*this, step) + " loaded " + std::to_string(p));
        VX_FUZZ_REQUIRE(e->ListIndex() == before + p && l->IndexOf(e) == before + p && l->IsLoaded(before + p),
                        Where(*this, step) + " loaded " + std::to_string(p) + " says " + std::to_string(e->ListIndex()));
        if (Modelled)
            VX_FUZZ_REQUIRE(KeyOf(e) == Store[static_cast<size_t>(before + p)],
                            Where(*this, step) + " loaded " + std::to_string(p) + " key " + std::to_string(KeyOf(e)) +
                                " store " + std::to_string(Store[static_cast<size_t>(before + p)]));
        if (e->GetVisible()) ++visible;
    }
    VX_FUZZ_REQUIRE(l->VisibleCount() == visible, Where(*this, step));
    VX_FUZZ_REQUIRE(!l->IsLoaded(before - 1) && !l->IsLoaded(before + l->LoadedCount()), Where(*this, step));
}

void Bind(THost& h)
{
    h.C.OnLoadItem = [&h](TvxDataEntity* e) {
        const int i = e->ListIndex();
        VX_FUZZ_REQUIRE(i >= 0 && i < h.List->Count(), "a loading entity at " + std::to_string(i));
        if (h.Modelled) static_cast<TKeyed*>(e)->Key = h.Store[static_cast<size_t>(i)];
        if (!h.MeddleInLoads) return;
        // A handler filling one entity may not reshape the block under the load.
        bool refused = false;
        try {
            h.List->Insert(0);
        } catch (const EInvalidOperation&) {
            refused = true;
        }
        VX_FUZZ_REQUIRE(refused, "an insert from inside a load went through");
        const int outside = h.List->UnloadedBefore() > 0 ? 0 : h.List->UnloadedBefore() + h.List->LoadedCount();
        if (outside < h.List->Count() && !h.List->IsLoaded(outside)) {
            refused = false;
            try {
                h.List->GetItems(outside);
            } catch (const EInvalidOperation&) {
                refused = true;
            }
            VX_FUZZ_REQUIRE(refused, "a load from inside a load went through");
        }
    };
    h.C.OnUnloadItem = [&h](TvxDataEntity* e, bool& can) {
        can = h.UnloadPolicy == 0 || (h.UnloadPolicy == 2 && KeyOf(e) % 2 == 0);
    };
    h.C.OnSortCompare = [](TvxDataEntity* a, TvxDataEntity* b) {
        return KeyOf(a) < KeyOf(b) ? -1 : KeyOf(a) > KeyOf(b) ? 1 : 0;
    };
    h.List = new TvxDataList;
    h.List->AfterCreate(&h.C, EntityClassOf<TKeyed>());
}

int Clamped(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

// An index: near the ends of the list or of its loaded block most of the time, anything else
// now and then. While the host refuses unloads, a far index would make the block grow all the
// way to it (as designed), so indexes then stay within reach of the block.
int PickIndex(FuzzedDataProvider& in, const THost& h)
{
    const TvxDataList* l = h.List;
    const int64_t before = l->UnloadedBefore();
    const int64_t end = before + l->LoadedCount();
    int64_t i = 0;
    switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0: i = before + in.ConsumeIntegralInRange(-2, 1); break;
    case 1: i = end + in.ConsumeIntegralInRange(-2, 1); break;
    case 2: i = int64_t{l->Count()} + in.ConsumeIntegralInRange(-2, 1); break;
    case 3: i = in.ConsumeIntegral<int>(); break;
    case 4: i = end + in.ConsumeIntegralInRange(-600, 600); break;
    default: i = l->Count() <= 0 ? 0 : in.ConsumeIntegralInRange(0, l->Count() - 1); break;
    }
    constexpr int64_t kReach = 1500;
    i = Clamped(i);
    if (h.UnloadPolicy != 0 && l->LoadedCount() > 0 && i >= 0 && i <= l->Count())
        i = std::clamp(i, before - kReach, end + kReach);
    return static_cast<int>(i);
}

int PickCount(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: return in.ConsumeIntegral<int>();
    case 1: return INT_MAX - in.ConsumeIntegralInRange(0, 2);
    case 2: return in.ConsumeIntegralInRange(0, 5000);
    default: return in.ConsumeIntegralInRange(0, 40);
    }
}

TvxDataEntity* PickLoaded(FuzzedDataProvider& in, const TvxDataList* l)
{
    if (l->LoadedCount() == 0) return nullptr;
    return l->GetLoaded(in.ConsumeIntegralInRange(0, l->LoadedCount() - 1));
}

template <class T>
void StoreInsert(std::vector<T>& v, int at, T value)
{
    v.insert(v.begin() + at, value);
}

// One step on host h (its partner o for changes of owner). Returns the step's name.
const char* Step(FuzzedDataProvider& in, THost& h, THost& o)
{
    TvxDataList* l = h.List;
    switch (in.ConsumeIntegralInRange(0, 17)) {
    case 0: {
        const int n = PickCount(in);
        l->AddUnloaded(n);
        if (h.Modelled && static_cast<size_t>(l->Count()) <= kModelLimit)
            for (int k = 0; k < n; ++k) h.Store.push_back(gNextKey++);
        h.AfterGrowth();
        return "AddUnloaded";
    }
    case 1: {
        const int i = PickIndex(in, h);
        TvxDataEntity* e = l->GetItems(i);
        VX_FUZZ_REQUIRE((e != nullptr) == (i >= 0 && i < l->Count()), "GetItems " + std::to_string(i));
        if (e) VX_FUZZ_REQUIRE(e->ListIndex() == i, "GetItems " + std::to_string(i));
        return "GetItems";
    }
    case 2: {
        const int from = PickIndex(in, h);
        const int to = in.ConsumeBool() ? PickIndex(in, h) : Clamped(int64_t{from} + in.ConsumeIntegralInRange(0, 30));
        // A range the list accepts is loaded whole: the host asks for what it can hold.
        if (int64_t{to} - from > 2000) return "LoadItems skipped";
        l->LoadItems(from, to, in.ConsumeBool());
        return "LoadItems";
    }
    case 3: l->Unload(PickIndex(in, h), in.ConsumeBool()); return "Unload";
    case 4: {
        const int i = PickIndex(in, h);
        TvxDataEntity* e = l->Insert(i);
        const uint32_t key = gNextKey++;
        static_cast<TKeyed*>(e)->Key = key;
        if (h.Modelled) StoreInsert(h.Store, i, key);
        h.AfterGrowth();
        return "Insert";
    }
    case 5: {
        const int i = PickIndex(in, h);
        const bool inside = i >= 0 && i < l->Count();
        l->Delete(i);
        if (h.Modelled && inside) h.Store.erase(h.Store.begin() + i);
        return "Delete";
    }
    case 6: {
        TvxDataEntity* e = PickLoaded(in, l);
        if (!e) return "Remove none";
        const int i = e->ListIndex();
        l->Remove(e);
        if (h.Modelled) h.Store.erase(h.Store.begin() + i);
        return "Remove";
    }
    case 7: {
        TvxDataEntity* e = PickLoaded(in, l);
        if (!e) return "Move none";
        const int from = e->ListIndex();
        const int to = PickIndex(in, h);
        e->Move(to);
        if (h.Modelled) {
            const uint32_t key = h.Store[static_cast<size_t>(from)];
            h.Store.erase(h.Store.begin() + from);
            StoreInsert(h.Store, to, key);
        }
        return "Move";
    }
    case 8:
        l->Clear();
        h.Store.clear();
        h.Modelled = true;
        return "Clear";
    case 9: l->Purge(); return "Purge";
    case 10: l->UnloadAll(); return "UnloadAll";
    case 11: {
        // Sorting loads every entity.
        if (l->Count() > 2000) return "Sort skipped";
        const bool descending = in.ConsumeBool();
        l->Sort(descending);
        if (h.Modelled) {
            std::sort(h.Store.begin(), h.Store.end());
            if (descending) std::reverse(h.Store.begin(), h.Store.end());
        }
        return "Sort";
    }
    case 12: {
        TvxDataEntity* e = PickLoaded(in, l);
        if (!e) return "ChangeOwner none";
        const int from = e->ListIndex();
        const int at = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, o.List->LoadedCount())
                                        : in.ConsumeIntegralInRange(-1, o.List->LoadedCount() + 1);
        const int target = o.List->UnloadedBefore() + at;
        e->ChangeOwner(o.List, at);
        if (h.Modelled) h.Store.erase(h.Store.begin() + from);
        if (o.Modelled) StoreInsert(o.Store, target, KeyOf(e));
        o.AfterGrowth();
        return "ChangeOwner";
    }
    case 13: {
        if (TvxDataEntity* e = PickLoaded(in, l)) e->SetSelected(in.ConsumeBool());
        return "SetSelected";
    }
    case 14: {
        // The common use of the walk: deleting the selected entities as it meets them.
        const int every = in.ConsumeIntegralInRange(1, 3);
        int seen = 0;
        l->IteratorOfSelectedDataEntities([&](TvxDataList* list, TvxDataEntity* e) {
            VX_FUZZ_REQUIRE(list == l && e->GetSelected() && e->GetDataList() == l, "a walk met a stranger");
            if (++seen % every != 0) return;
            const int i = e->ListIndex();
            l->Remove(e);
            if (h.Modelled) h.Store.erase(h.Store.begin() + i);
        });
        return "DeleteSelected";
    }
    case 15: {
        if (TvxDataEntity* e = PickLoaded(in, l)) e->SetVisible(in.ConsumeBool());
        const int v = in.ConsumeIntegralInRange(-1, l->LoadedCount());
        const int i = l->VisibleIndexToListIndex(v);
        if (i >= 0) VX_FUZZ_REQUIRE(l->ListIndexToVisibleIndex(i) == v, "visible index " + std::to_string(v));
        return "Visibility";
    }
    case 16: h.UnloadPolicy = in.ConsumeIntegralInRange(0, 2); return "UnloadPolicy";
    default: h.MeddleInLoads = in.ConsumeBool(); return "Meddle";
    }
}

// A batch of steps under an update guard: begin and end come in one pair when a step marked it,
// not at all otherwise, and also when a step fails inside the batch.
void Batch(FuzzedDataProvider& in, THost* hosts)
{
    int begins = 0, ends = 0;
    bool marked = false;
    const bool beginThrows = in.ConsumeIntegralInRange(0, 7) == 0;
    try {
        TvxBeginUpdate batch([&] {
            ++begins;
            if (beginThrows) throw EInvalidOperation("begin refused");
        },
                             [&] { ++ends; });
        const int steps = in.ConsumeIntegralInRange(0, 4);
        for (int s = 0; s < steps; ++s) {
            if (in.ConsumeBool()) {
                try {
                    batch.Mark();
                } catch (const EInvalidOperation&) {
                    VX_FUZZ_REQUIRE(beginThrows && !batch.Marked(), "a failed begin left the batch marked");
                }
            }
            marked = batch.Marked();
            THost& h = hosts[in.ConsumeIntegralInRange(0, 1)];
            Step(in, h, &h == &hosts[0] ? hosts[1] : hosts[0]);
        }
    } catch (const EListError&) {
    } catch (const EInvalidArgument&) {
    } catch (const EInvalidOperation&) {
    }
    VX_FUZZ_REQUIRE(ends == (marked ? 1 : 0) && begins >= ends && (beginThrows || begins == ends),
                    "batch: begins " + std::to_string(begins) + " ends " + std::to_string(ends));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    THost hosts[2];
    Bind(hosts[0]);
    Bind(hosts[1]);
    for (int step = 0; step < 80 && in.remaining_bytes() > 0; ++step) {
        const int which = in.ConsumeIntegralInRange(0, 1);
        THost& h = hosts[which];
        THost& o = hosts[1 - which];
        const char* name = "Batch";
        // A refused call changes nothing, so the stores stay as they were.
        try {
            if (in.ConsumeIntegralInRange(0, 15) == 0)
                Batch(in, hosts);
            else
                name = Step(in, h, o);
        } catch (const EListError&) {
        } catch (const EInvalidArgument&) {
        } catch (const EInvalidOperation&) {
        }
        if (std::getenv("VXPLAN_FUZZ_TRACE"))
            std::fprintf(stderr, "%s / %s\n", Where(hosts[0], name).c_str(), Where(hosts[1], name).c_str());
        hosts[0].Check(name);
        hosts[1].Check(name);
        VX_FUZZ_REQUIRE(gLive == hosts[0].List->LoadedCount() + hosts[1].List->LoadedCount(),
                        std::string(name) + ": " + std::to_string(gLive) + " entities alive");
    }
    for (THost& h : hosts) h.List->FreeWheneverPossible();
    VX_FUZZ_REQUIRE(gLive == 0, std::to_string(gLive) + " entities outlived their lists");
    return 0;
}
