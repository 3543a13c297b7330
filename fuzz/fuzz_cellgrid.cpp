// Random operation sequences on the two axes of a root grid cell, with focus moves and
// selections between them, checked after every step.
//
// The host keeps a store of keys per axis and fills each item the grid loads from the store at
// its index (OnVirtualLoad); every change it asks for is applied to the store too, and so is
// every place that vanishes on unload (OnKeepAfterUnloadCheck) or that it deletes among the
// count-only items. After each step the counts add up, every loaded item knows its axis and
// real index, carries the store's key there, the hidden and visible lists hold loaded items
// only, the matrix has one column per loaded column whose cells name their own items, and the
// focused cell and the anchor are live cells of the matrix.
#include "vxFuzzCheck.h"

#include <vxplan/cellgrid/vxBabGridContent.h>
#include <vxplan/platform/core/vxExceptions.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

using namespace vxplan;

namespace {

struct TKey : TObject {
    explicit TKey(uint32_t k) : Key(k) {}
    uint32_t Key;
};

constexpr size_t kModelLimit = 100000;
// Each loaded row holds a cell per loaded column, and a row loaded in front moves every row
// behind it in every column: few columns, and blocks of a few hundred rows beyond the usual.
constexpr int kMaxColumns = 16;
constexpr int64_t kReach = 600;

struct TAxisHost {
    TAxisContentList* Axis = nullptr;
    std::vector<uint32_t> Store;
    bool Modelled = true;
    bool Rows = false;
    // What the host answers: 0 every unload, 1 none, 2 those of even key.
    int UnloadPolicy = 0;
    // Whether an unloaded place stays as a count (else it vanishes), and how far around an item
    // the host wants its neighbours to go with it.
    bool KeepPlaces = true;
    int IntervalBefore = 0;
    int IntervalAfter = 0;
    // The range the host last heard of for deletion, as it left it.
    int DeletedStart = 0;
    int DeletedStop = -1;

    // Whether items may stay when asked to go: the host refuses, or its intervals reach items
    // that cannot go (fixed ones, or beyond the axis).
    bool MayRefuse() const { return UnloadPolicy != 0 || IntervalBefore != 0 || IntervalAfter != 0; }

    void Drop()
    {
        Modelled = false;
        Store.clear();
    }
    void AfterGrowth()
    {
        if (static_cast<size_t>(Axis->Count()) > kModelLimit) Drop();
    }
    void Erase(int i)
    {
        if (!Modelled) return;
        VX_FUZZ_REQUIRE(i >= 0 && static_cast<size_t>(i) < Store.size(), "erase at " + std::to_string(i));
        Store.erase(Store.begin() + i);
    }
};

struct THost {
    std::unique_ptr<TBabGridCellForViewer> Root;
    TAxisHost Axes[2];  // columns, rows
    std::deque<TKey> Keys;
    uint32_t NextKey = 1;

    TKey* NewKey(uint32_t k) { return &Keys.emplace_back(k); }
    TAxisHost& Of(bool rows) { return Axes[rows ? 1 : 0]; }
};

uint32_t KeyOf(const TAxisContentItem* item)
{
    const auto* k = dynamic_cast<const TKey*>(item->GetValue());
    return k ? k->Key : 0;
}

std::string Where(const TAxisHost& a, const char* step)
{
    const TAxisContentList* l = a.Axis;
    return std::string(step) + (a.Rows ? " rows" : " columns") + ": count " + std::to_string(l->Count()) +
           " fixed " + std::to_string(l->GetFixed()) + " before " + std::to_string(l->GetUnloadedBefore()) +
           " loaded " + std::to_string(l->LoadedCount()) + " after " + std::to_string(l->GetUnloadedAfter()) +
           " store " + (a.Modelled ? std::to_string(a.Store.size()) : "off");
}

void CheckAxis(TAxisHost& a, const char* step)
{
    TAxisContentList& l = *a.Axis;
    VX_FUZZ_REQUIRE(l.GetFixed() >= 0 && l.GetFixed() <= l.LoadedCount(), Where(a, step));
    VX_FUZZ_REQUIRE(l.GetUnloadedBefore() >= 0 && l.GetUnloadedAfter() >= 0, Where(a, step));
    VX_FUZZ_REQUIRE(int64_t{l.LoadedCount()} + l.GetUnloadedBefore() + l.GetUnloadedAfter() == l.Count(),
                    Where(a, step));
    if (a.Modelled) VX_FUZZ_REQUIRE(static_cast<size_t>(l.Count()) == a.Store.size(), Where(a, step));
    int hidden = 0;
    for (int j = 0; j < l.LoadedCount(); ++j) {
        TAxisContentItem* item = l.getLoadedAxisContentItem(j);
        const int real = l.IndexConvert_LoadedToReal(j);
        VX_FUZZ_REQUIRE(item->GetList() == &l && item->ListIndex() == real && item->LoadedListIndex() == j &&
                            l.IsLoaded(real),
                        Where(a, step) + " loaded " + std::to_string(j) + " says " + std::to_string(item->ListIndex()));
        if (a.Modelled)
            VX_FUZZ_REQUIRE(KeyOf(item) == a.Store[static_cast<size_t>(real)],
                            Where(a, step) + " loaded " + std::to_string(j) + " key " + std::to_string(KeyOf(item)) +
                                " store " + std::to_string(a.Store[static_cast<size_t>(real)]));
        if (item->GetHide()) ++hidden;
    }
    VX_FUZZ_REQUIRE(hidden == l.GetHiddenRowCount(), Where(a, step) + " hidden " + std::to_string(hidden));
    for (TAxisContentItem* item : l.HiddenItems()) {
        const int j = item->LoadedListIndex();
        VX_FUZZ_REQUIRE(j >= 0 && j < l.LoadedCount() && l.getLoadedAxisContentItem(j) == item && item->GetHide(),
                        Where(a, step) + " a hidden item is not loaded");
    }
    for (int k = 0; k < l.VisibleCount(); ++k) {
        TAxisContentItem* item = l.getVisibleAxisContentItem(k);
        const int j = item->LoadedListIndex();
        VX_FUZZ_REQUIRE(j >= 0 && j < l.LoadedCount() && l.getLoadedAxisContentItem(j) == item && item->InVisibleList(),
                        Where(a, step) + " a visible item is not loaded");
    }
}

void CheckMatrix(THost& h, const char* step)
{
    TBabGridCell& g = *h.Root;
    TCellMatris& m = g.Matris();
    TAxisContentList& cols = g.Columns();
    TAxisContentList& rows = g.Rows();
    VX_FUZZ_REQUIRE(m.LoadedCountX() == cols.LoadedCount() && m.LoadedCountY() == rows.LoadedCount(),
                    std::string(step) + ": matrix " + std::to_string(m.LoadedCountX()) + " x " +
                        std::to_string(m.LoadedCountY()));
    // Every cell on a big matrix costs too much per step: the first and the last rows then.
    const int n = rows.LoadedCount();
    for (int x = 0; x < m.LoadedCountX(); ++x)
        for (int y = 0; y < n; ++y) {
            if (n > 40 && y == 20) y = n - 20;
            TBabCell* cell = m.PeekLoadedCell(x, y);
            if (!cell) continue;
            VX_FUZZ_REQUIRE(cell->GetAxisContentItemX() == cols.getLoadedAxisContentItem(x) &&
                                cell->GetAxisContentItemY() == rows.getLoadedAxisContentItem(y) &&
                                cell->getGridCell() == &g,
                            std::string(step) + ": cell " + std::to_string(x) + "," + std::to_string(y));
        }
}

// The focused cell and the selection anchor are live cells of the matrix at their own indexes,
// and the focused one is not fixed.
void CheckFocus(THost& h, const char* step)
{
    TBabGridCell& g = *h.Root;
    for (TBabCell* cell : {g.GetFocusedCell(), g.GetSelectionAnchor()}) {
        if (!cell) continue;
        const int x = cell->ColumnIndex(), y = cell->RowIndex();
        const int lx = g.Columns().IndexConvert_RealToLoaded(x), ly = g.Rows().IndexConvert_RealToLoaded(y);
        VX_FUZZ_REQUIRE(g.Matris().PeekLoadedCell(lx, ly) == cell,
                        std::string(step) + ": focus or anchor at " + std::to_string(x) + "," + std::to_string(y) +
                            " is not the matrix's cell");
    }
    if (TBabCell* focused = g.GetFocusedCell())
        VX_FUZZ_REQUIRE(!focused->GetIsFixed(), std::string(step) + ": a fixed cell has the focus");
}

void Bind(THost& h)
{
    h.Root = std::make_unique<TBabGridCellForViewer>(nullptr, &CreateBabCellDataOf<TBabSimpleCellData>,
                                                      &CreateBabCellDataOf<TBabGridCellData>);
    h.Axes[0].Axis = &h.Root->Columns();
    h.Axes[1].Axis = &h.Root->Rows();
    h.Axes[1].Rows = true;
    TBabGridCellForViewer& r = *h.Root;
    r.OnVirtualLoad = [&h](TBabGridCell*, TAxisContentItem* item, bool row) {
        TAxisHost& a = h.Of(row);
        const int i = item->ListIndex();
        VX_FUZZ_REQUIRE(i >= 0 && i < a.Axis->Count() && a.Axis->IsLoaded(i), "a loading item at " + std::to_string(i));
        if (a.Modelled) item->SetValue(h.NewKey(a.Store[static_cast<size_t>(i)]));
    };
    r.OnVirtualUnLoad = [&h](TBabGridCell*, TAxisContentItem* item, bool row, bool perform, bool& can) {
        if (perform) return;
        const TAxisHost& a = h.Of(row);
        can = a.UnloadPolicy == 0 || (a.UnloadPolicy == 2 && KeyOf(item) % 2 == 0);
    };
    r.OnKeepAfterUnloadCheck = [&h](TBabGridCell*, TAxisContentItem* item, bool row, bool& keep) {
        TAxisHost& a = h.Of(row);
        keep = a.KeepPlaces;
        // The place goes with the item: the store loses it now, as the axis does.
        if (!keep) a.Erase(item->ListIndex());
    };
    r.OnUnloadIntervall = [&h](TBabGridCell*, TAxisContentItem*, bool row, int& start, int& stop) {
        const TAxisHost& a = h.Of(row);
        start = static_cast<int>(std::max<int64_t>(INT_MIN, int64_t{start} - a.IntervalBefore));
        stop = static_cast<int>(std::min<int64_t>(INT_MAX, int64_t{stop} + a.IntervalAfter));
    };
    r.OnDeleteOfUnloaded = [&h](TBabGridCell*, bool row, int& start, int& stop) {
        TAxisHost& a = h.Of(row);
        a.DeletedStart = start;
        a.DeletedStop = stop;
    };
}

int Clamped(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

// Near the ends of the axis, of its fixed items or of its loaded block most of the time. While
// the host refuses unloads, a far index would make the block grow all the way to it (as
// designed), so indexes then stay within reach of the block.
int PickIndex(FuzzedDataProvider& in, const TAxisHost& a)
{
    const TAxisContentList& l = *a.Axis;
    const int64_t front = int64_t{l.GetFixed()} + l.GetUnloadedBefore();
    const int64_t back = int64_t{l.LoadedCount()} + l.GetUnloadedBefore();
    int64_t i = 0;
    switch (in.ConsumeIntegralInRange(0, 8)) {
    case 0: i = front + in.ConsumeIntegralInRange(-2, 1); break;
    case 1: i = back + in.ConsumeIntegralInRange(-2, 1); break;
    case 2: i = int64_t{l.Count()} + in.ConsumeIntegralInRange(-2, 1); break;
    case 3: i = l.GetFixed() + in.ConsumeIntegralInRange(-1, 1); break;
    case 4: i = in.ConsumeIntegral<int>(); break;
    case 5: i = back + in.ConsumeIntegralInRange(-600, 600); break;
    default: i = l.Count() <= 0 ? 0 : in.ConsumeIntegralInRange(0, l.Count() - 1); break;
    }
    i = Clamped(i);
    if (a.MayRefuse() && l.LoadedCount() > l.GetFixed() && i >= 0 && i <= l.Count())
        i = std::clamp(i, front - kReach, back + kReach);
    return static_cast<int>(i);
}

// Columns stay few: each loaded row holds a cell per loaded column.
int PickCount(FuzzedDataProvider& in, bool rows)
{
    if (!rows) return in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 12) : in.ConsumeIntegral<int>();
    switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: return in.ConsumeIntegral<int>();
    case 1: return INT_MAX - in.ConsumeIntegralInRange(0, 2);
    case 2: return in.ConsumeIntegralInRange(0, 5000);
    default: return in.ConsumeIntegralInRange(0, 40);
    }
}

TAxisContentItem* PickLoaded(FuzzedDataProvider& in, const TAxisContentList& l)
{
    if (l.LoadedCount() == 0) return nullptr;
    return l.getLoadedAxisContentItem(in.ConsumeIntegralInRange(0, l.LoadedCount() - 1));
}

const char* Step(FuzzedDataProvider& in, THost& h, TAxisHost& a)
{
    TAxisContentList& l = *a.Axis;
    TBabGridCellForViewer& root = *h.Root;
    switch (in.ConsumeIntegralInRange(0, 22)) {
    case 0: {
        const int n = PickCount(in, a.Rows);
        // A column holds a cell per loaded row: the column axis stays small.
        if (!a.Rows && n > 0 && int64_t{l.Count()} + n > kMaxColumns) return "AddUnloaded skipped";
        l.AddUnloaded(n);
        if (a.Modelled && static_cast<size_t>(l.Count()) <= kModelLimit)
            for (int k = 0; k < n; ++k) a.Store.push_back(h.NextKey++);
        a.AfterGrowth();
        return "AddUnloaded";
    }
    case 1: {
        if (!a.Rows && l.Count() >= kMaxColumns) return "AddNew skipped";
        // Appending loads the tail, and all the way to it while the host refuses unloads.
        if (a.MayRefuse() && l.Count() - (l.GetUnloadedBefore() + l.LoadedCount()) > kReach) return "AddNew skipped";
        const uint32_t key = h.NextKey++;
        l.AddNew(h.NewKey(key));
        if (a.Modelled) a.Store.push_back(key);
        a.AfterGrowth();
        return "AddNew";
    }
    case 2: {
        if (!a.Rows && l.Count() >= kMaxColumns) return "InsertNew skipped";
        const int i = PickIndex(in, a);
        const uint32_t key = h.NextKey++;
        TAxisContentItem* item = l.InsertNew(i, h.NewKey(key));
        VX_FUZZ_REQUIRE(item->ListIndex() == i, Where(a, "InsertNew") + " at " + std::to_string(i) + " landed at " +
                                                    std::to_string(item->ListIndex()));
        if (a.Modelled) a.Store.insert(a.Store.begin() + i, key);
        a.AfterGrowth();
        return "InsertNew";
    }
    case 3: {
        const int from = PickIndex(in, a);
        int to = PickIndex(in, a);
        // Both ends are loaded in turn: with an empty block, only the first is within reach.
        if (a.MayRefuse()) to = Clamped(std::clamp<int64_t>(to, int64_t{from} - kReach, int64_t{from} + kReach));
        l.Move(from, to);
        if (a.Modelled && from != to) {
            const uint32_t key = a.Store[static_cast<size_t>(from)];
            a.Store.erase(a.Store.begin() + from);
            a.Store.insert(a.Store.begin() + to, key);
        }
        return "Move";
    }
    case 4: {
        const int i = PickIndex(in, a);
        l.Drop(i);
        a.Erase(i);
        return "Drop";
    }
    case 5: {
        const bool keepFixed = in.ConsumeBool();
        const int keep = keepFixed ? l.GetFixed() : 0;
        if (keepFixed)
            l.ClearKeepFixedItems();
        else
            l.Clear();
        if (a.Modelled) a.Store.resize(static_cast<size_t>(keep));
        else if (keep == 0) a.Modelled = true;
        return "Clear";
    }
    case 6: l.SetFixed(in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 4) : in.ConsumeIntegral<int>()); return "SetFixed";
    case 7: {
        const int i = PickIndex(in, a);
        TAxisContentItem* item = l.getAxisContentItem(i);
        VX_FUZZ_REQUIRE(item->ListIndex() == i, "item " + std::to_string(i) + " says " + std::to_string(item->ListIndex()));
        return "getAxisContentItem";
    }
    case 8: {
        const int first = PickIndex(in, a);
        const int last = in.ConsumeBool() ? PickIndex(in, a) : Clamped(int64_t{first} + in.ConsumeIntegralInRange(0, 30));
        if (int64_t{last} - first > (a.Rows ? 600 : kMaxColumns)) return "LoadItems skipped";
        l.LoadItems(first, last, in.ConsumeBool());
        return "LoadItems";
    }
    case 9: l.Unload(PickIndex(in, a), in.ConsumeBool()); return "Unload";
    case 10: l.Purge(); return "Purge";
    case 11: l.UnloadAll(); return "UnloadAll";
    case 12: {
        const int start = PickIndex(in, a);
        const int stop = in.ConsumeBool() ? PickIndex(in, a) : Clamped(int64_t{start} + in.ConsumeIntegralInRange(0, 50));
        const int count = l.Count();
        a.DeletedStart = start;
        a.DeletedStop = stop;
        l.DeleteOfUnloaded(start, stop);
        const int gone = count - l.Count();
        VX_FUZZ_REQUIRE(gone >= 0 && (gone == 0 || int64_t{a.DeletedStart} + gone - 1 <= a.DeletedStop),
                        "DeleteOfUnloaded took " + std::to_string(gone) + " of " + std::to_string(a.DeletedStart) +
                            ".." + std::to_string(a.DeletedStop));
        if (a.Modelled && gone > 0)
            a.Store.erase(a.Store.begin() + a.DeletedStart, a.Store.begin() + a.DeletedStart + gone);
        return "DeleteOfUnloaded";
    }
    case 13: {
        if (TAxisContentItem* item = PickLoaded(in, l)) item->SetHide(in.ConsumeBool());
        return "SetHide";
    }
    case 14: {
        if (TAxisContentItem* item = PickLoaded(in, l)) {
            item->SetUserSize(in.ConsumeIntegral<int>());
            item->SetUserSizeActive(in.ConsumeBool());
        }
        return "SetUserSize";
    }
    case 15: {
        // What a layout pass does: the items it shows are kept loaded.
        if (in.ConsumeBool()) l.ClearVisibles();
        if (TAxisContentItem* item = PickLoaded(in, l); item && !item->InVisibleList()) l.AddToVisible(item);
        return "Visible";
    }
    case 16: {
        const int x = PickIndex(in, h.Axes[0]);
        const int y = PickIndex(in, h.Axes[1]);
        TBabCell* cell = root.getCell(x, y);
        const bool inside = x >= 0 && y >= 0 && x < root.Columns().Count() && y < root.Rows().Count();
        VX_FUZZ_REQUIRE(inside || !cell, "a cell outside the grid");
        if (cell) {
            VX_FUZZ_REQUIRE(cell->ColumnIndex() == x && cell->RowIndex() == y,
                            "cell " + std::to_string(x) + "," + std::to_string(y) + " says " +
                                std::to_string(cell->ColumnIndex()) + "," + std::to_string(cell->RowIndex()));
            cell->SetSelected(in.ConsumeBool());
        }
        return "getCell";
    }
    case 17: a.UnloadPolicy = in.ConsumeIntegralInRange(0, 2); return "UnloadPolicy";
    case 18: a.KeepPlaces = in.ConsumeIntegralInRange(0, 3) != 0; return "KeepPlaces";
    case 19:
        // Every item of the interval is asked for, loaded if need be: a wide one only beyond any axis.
        a.IntervalBefore = in.ConsumeIntegralInRange(0, 7) == 0 ? INT_MAX : in.ConsumeIntegralInRange(0, 4);
        a.IntervalAfter = in.ConsumeIntegralInRange(0, 7) == 0 ? INT_MAX : in.ConsumeIntegralInRange(0, 4);
        return "Interval";
    case 20: {
        root.SetFocusedCell(root.getCell(PickIndex(in, h.Axes[0]), PickIndex(in, h.Axes[1])));
        return "Focus";
    }
    case 21: {
        // A key's move: it may load far away, and unload the cell it started from.
        const auto direction = static_cast<TBabDirection>(in.ConsumeIntegralInRange(0, 11));
        TShiftState shift;
        if (in.ConsumeBool()) shift = shift.Include(ssShift);
        if (in.ConsumeBool()) shift = shift.Include(ssCtrl);
        if (TBabCell* target = root.FindNeighbourCell(root.GetFocusedCell(), direction, true)) {
            root.SetFocusedCell(target);
            if (root.GetFocusedCell() == target) root.UpdateMultiSelect(target, shift);
        }
        return "KeyMove";
    }
    default:
        if (in.ConsumeBool())
            root.SetTop(PickIndex(in, h.Axes[1]));
        else
            root.SetLeft(PickIndex(in, h.Axes[0]));
        return "TopLeft";
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    THost h;
    Bind(h);
    for (int step = 0; step < 80 && in.remaining_bytes() > 0; ++step) {
        TAxisHost& a = h.Axes[in.ConsumeIntegralInRange(0, 3) == 0 ? 0 : 1];
        const char* name = "?";
        // A refused call changes nothing the host did not hear of.
        try {
            name = Step(in, h, a);
        } catch (const EListError&) {
        } catch (const EInvalidArgument&) {
        } catch (const EInvalidOperation&) {
        }
        CheckAxis(h.Axes[0], name);
        CheckAxis(h.Axes[1], name);
        CheckMatrix(h, name);
        CheckFocus(h, name);
        const TBabGridCell& g = *h.Root;
        VX_FUZZ_REQUIRE(g.GetTop() >= 0 && g.GetLeft() >= 0, std::string(name) + ": top " + std::to_string(g.GetTop()) +
                                                                 " left " + std::to_string(g.GetLeft()));
    }
    return 0;
}
