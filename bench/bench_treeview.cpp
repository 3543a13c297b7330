// The tree view at scale: building 1,000 and 100,000 root nodes with 10 children each, expanding
// them all (with the rebuild of the shown rows), and one paint of a 1080-pixel-high view, which
// must cost the same at both sizes (only the rows in view are visited).
#include <vxplan/platform/treeview/vxTreeView.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace vxplan;

std::unique_ptr<TTreeView> MakeTree()
{
    auto tree = std::make_unique<TTreeView>();
    tree->SetBounds(0, 0, 400, 1080);
    return tree;
}

void Build(TTreeView& tree, int roots)
{
    TTreeNodes& items = tree.Items();
    items.BeginUpdate();
    for (int i = 0; i < roots; ++i) {
        TTreeNode* r = items.AddChild(nullptr, "Entity " + std::to_string(i));
        for (int j = 0; j < 10; ++j) items.AddChild(r, "Child " + std::to_string(j) + " of " + std::to_string(i));
    }
    items.EndUpdate();
}

void BM_TreeBuild(benchmark::State& state)
{
    const int roots = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto tree = MakeTree();
        Build(*tree, roots);
        benchmark::DoNotOptimize(tree->Items().GetCount());
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * roots * 11);
}
BENCHMARK(BM_TreeBuild)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TreeExpandAll(benchmark::State& state)
{
    const int roots = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = MakeTree();
        Build(*tree, roots);
        state.ResumeTiming();
        tree->FullExpand();
        benchmark::DoNotOptimize(tree->ShownCount());
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * roots * 11);
}
BENCHMARK(BM_TreeExpandAll)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TreePaint1080(benchmark::State& state)
{
    const int roots = static_cast<int>(state.range(0));
    auto tree = MakeTree();
    Build(*tree, roots);
    tree->FullExpand();
    // Somewhere in the middle, a selected node in view.
    TTreeNode* middle = tree->Items().GetRoot(roots / 2);
    tree->SetTopItem(middle);
    middle->GetItem(3)->SetSelected(true);
    tree->GrabImage();
    for (auto _ : state) {
        tree->Invalidate();
        benchmark::DoNotOptimize(tree->GrabImage().constBits());
    }
    state.counters["rows"] = tree->VisibleCount();
}
BENCHMARK(BM_TreePaint1080)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
