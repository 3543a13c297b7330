// Deferred calls queued from several worker threads and run on the user-interface thread
// from its message loop.
#include <vxplan/dataentity/vxDoLater.h>

#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/app/vxMessages.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace vxplan;

namespace {

struct TTag : TObject {};

// range(0) calls in all, queued by range(1) threads with distinct data (so none coalesce), while
// the user-interface thread delivers messages; the time ends when the last call has run.
void BM_DoLaterFromThreads(benchmark::State& state)
{
    const int total = static_cast<int>(state.range(0));
    const int threads = static_cast<int>(state.range(1));
    std::vector<TTag> tags(static_cast<size_t>(total));
    int ran = 0;
    const TDoLaterCall call([&](TObject*) { ++ran; });
    for (auto _ : state) {
        ran = 0;
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t)
            workers.emplace_back([&, t] {
                for (int i = t; i < total; i += threads) TDoLater::DoLater(call, &tags[static_cast<size_t>(i)]);
            });
        while (ran < total) DeliverPostedMessages();
        for (auto& w : workers) w.join();
    }
    state.SetItemsProcessed(state.iterations() * total);
}
BENCHMARK(BM_DoLaterFromThreads)->Args({1'000'000, 4})->Args({100'000, 4})->Args({1'000'000, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

// The same number of calls queued on the user-interface thread itself, then run in one go.
void BM_DoLaterThenDoAllNow(benchmark::State& state)
{
    const int total = static_cast<int>(state.range(0));
    std::vector<TTag> tags(static_cast<size_t>(total));
    int ran = 0;
    const TDoLaterCall call([&](TObject*) { ++ran; });
    for (auto _ : state) {
        for (int i = 0; i < total; ++i) TDoLater::DoLater(call, &tags[static_cast<size_t>(i)]);
        TDoLater::DoAllNow();
        DeliverPostedMessages();
    }
    benchmark::DoNotOptimize(ran);
    state.SetItemsProcessed(state.iterations() * total);
}
BENCHMARK(BM_DoLaterThenDoAllNow)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
