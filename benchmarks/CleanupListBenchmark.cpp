// Filling a sorted found-objects list with a large scan's worth of distinct paths, then
// looking every one of them up again.
#include "engine/uEngineImplementation.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> MakePaths(int count)
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        paths.push_back("C:\\Users\\someone\\AppData\\Local\\Temp\\dir" + std::to_string(i % 997) + "\\file" +
                        std::to_string(i) + ".tmp");
    return paths;
}

// Heap bytes in use (glibc).
int64_t HeapBytes()
{
    return static_cast<int64_t>(mallinfo2().uordblks);
}

void BM_AddThenLookUp(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const auto paths = MakePaths(count);
    const auto hasher = TCRC32Services::CreateCRC32();
    std::vector<uint32_t> hashes;
    for (const auto& path : paths)
        hashes.push_back(hasher->Calculate(path));
    int64_t perEntry = 0;
    for (auto _ : state) {
        const int64_t before = HeapBytes();
        auto list = TEngineServices::CreateCleanupList(hasher);
        list->SetSorted(true);
        std::shared_ptr<ICleanupListItem> entry;
        int added = 0;
        for (const auto& path : paths)
            added += list->Add(true, scSafe, 0, "Windows Temporary Directories", path, 1, -1, entry) ? 1 : 0;
        int found = 0;
        for (uint32_t hash : hashes)
            found += list->IndexOfHash(hash) >= 0 ? 1 : 0;
        benchmark::DoNotOptimize(found);
        perEntry = added > 0 ? (HeapBytes() - before) / added : 0;
        entry.reset();
        state.counters["added"] = added;
    }
    state.counters["bytes_per_entry"] = static_cast<double>(perEntry);
    state.SetItemsProcessed(state.iterations() * count);
}

} // namespace

BENCHMARK(BM_AddThenLookUp)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
