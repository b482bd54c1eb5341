// One synchronized call from a worker to a thread that pumps as the command-line tool does:
// queue, wake the pumping thread, run there, wake the worker again.
#include "engine/uEngineThreads.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

static void BM_SynchronizeRoundTrip(benchmark::State& state)
{
    auto synchronizer = std::make_shared<TSynchronizer>();
    std::atomic<bool> done{false};
    std::atomic<long> calls{0};
    std::thread worker([&] {
        const long total = state.range(0);
        long ran = 0;
        for (long i = 0; i < total; ++i)
            synchronizer->Synchronize([&ran] { ++ran; });
        calls = ran;
        done = true;
        synchronizer->Wake();
    });
    for (auto _ : state) {
        while (!done) {
            synchronizer->WaitForWork(std::chrono::milliseconds(50));
            synchronizer->ProcessPending();
        }
    }
    worker.join();
    state.SetItemsProcessed(calls);
    state.counters["us_per_call"] = benchmark::Counter(
        static_cast<double>(calls), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SynchronizeRoundTrip)->Arg(20000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
