// The entity tree at scale: 1,000 and 100,000 root entities with 10 children each. Building the
// entities, the first display update (nodes for the roots and their placeholders), expanding
// every level, and one paint of a 1080-pixel-high view, which must cost the same at both sizes.
#include <vxplan/tree/vxTree.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace vxplan;

std::unique_ptr<TvxTree> MakeTree()
{
    auto tree = std::make_unique<TvxTree>();
    tree->SetBounds(0, 0, 400, 1080);
    return tree;
}

void Build(TvxTree& tree, int roots)
{
    for (int i = 0; i < roots; ++i) {
        TvxDataEntity_Tree* r = tree.AddDataEntity(nullptr);
        r->SetText("Entity " + std::to_string(i));
        for (int j = 0; j < 10; ++j)
            tree.AddDataEntity(r)->SetText("Child " + std::to_string(j) + " of " + std::to_string(i));
    }
}

// Freeing a tree is not what is measured.
void Discard(benchmark::State& state, std::unique_ptr<TvxTree>& tree)
{
    state.PauseTiming();
    tree.reset();
    state.ResumeTiming();
}

void BM_EntityTreeBuild(benchmark::State& state)
{
    const int roots = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto tree = MakeTree();
        Build(*tree, roots);
        benchmark::DoNotOptimize(tree->GetRootDataList()->Count());
        Discard(state, tree);
    }
    state.SetItemsProcessed(state.iterations() * roots * 11);
}
BENCHMARK(BM_EntityTreeBuild)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_EntityTreeFirstUpdate(benchmark::State& state)
{
    const int roots = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = MakeTree();
        Build(*tree, roots);
        state.ResumeTiming();
        tree->EnsureDisplayUpToDate();
        benchmark::DoNotOptimize(tree->Items().GetCount());
        Discard(state, tree);
    }
}
BENCHMARK(BM_EntityTreeFirstUpdate)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_EntityTreeExpandAll(benchmark::State& state)
{
    const int roots = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = MakeTree();
        Build(*tree, roots);
        tree->EnsureDisplayUpToDate();
        state.ResumeTiming();
        tree->ExpandLevels(2);
        benchmark::DoNotOptimize(tree->ShownCount());
        Discard(state, tree);
    }
}
BENCHMARK(BM_EntityTreeExpandAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_EntityTreePaint1080(benchmark::State& state)
{
    const int roots = static_cast<int>(state.range(0));
    auto tree = MakeTree();
    Build(*tree, roots);
    tree->ExpandLevels(2);
    // Somewhere in the middle, a few selected entities in view.
    TvxDataEntity_Tree* middle = tree->GetRootDataList()->Item(roots / 2);
    tree->SetTopItem(middle);
    for (int j = 2; j < 5; ++j) middle->GetChildren()->Item(j)->SetSelected(true);
    tree->GrabImage();
    for (auto _ : state) {
        tree->Invalidate();
        benchmark::DoNotOptimize(tree->GrabImage().constBits());
    }
    state.counters["rows"] = tree->VisibleCount();
}
BENCHMARK(BM_EntityTreePaint1080)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_EntityTreeClear(benchmark::State& state)
{
    const int roots = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = MakeTree();
        Build(*tree, roots);
        tree->ExpandLevels(2);
        state.ResumeTiming();
        tree->Clear();
        tree->EnsureDisplayUpToDate();
        benchmark::DoNotOptimize(tree->Items().GetCount());
        Discard(state, tree);
    }
}
BENCHMARK(BM_EntityTreeClear)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
