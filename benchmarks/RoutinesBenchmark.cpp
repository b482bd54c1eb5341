// File masks on typical names, and directory sizing over a generated tree of 100,000 files
// (compare with `du -sb` on the tree that QS_BENCH_KEEP_TREE leaves behind).
#include "support/VelaRoutines.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

static void BM_MatchesMask(benchmark::State& state)
{
    const char* names[] = {"report.tmp", "~WRL0003.tmp", "Thumbs.db", "setup.log", "document-final-v2.docx",
                           "IMG_20240101_123456.jpg", "cache_entry_000123", "a"};
    const char* masks[] = {"*.tmp", "~*.*", "thumbs.db", "*.log", "*[0-9][0-9]?.*", "*cache*"};
    int64_t matched = 0;
    for (auto _ : state)
        for (const char* mask : masks)
            for (const char* name : names)
                matched += TStringRoutines::MatchesMask(name, mask);
    benchmark::DoNotOptimize(matched);
    state.SetItemsProcessed(state.iterations() * 48);
}
BENCHMARK(BM_MatchesMask);

namespace {

// 100 folders of 1,000 small files, made once per run and removed at exit.
struct Tree {
    fs::path root;
    int64_t bytes = 0;
    Tree()
    {
        std::random_device device;
        root = fs::temp_directory_path() / ("qs-bench-" + std::to_string(device()));
        for (int d = 0; d < 100; ++d) {
            const fs::path dir = root / ("dir" + std::to_string(d / 10)) / ("sub" + std::to_string(d));
            fs::create_directories(dir);
            for (int f = 0; f < 1000; ++f) {
                std::ofstream(dir / ("file" + std::to_string(f) + ".dat")) << std::string(static_cast<size_t>(f % 97), 'x');
                bytes += f % 97;
            }
        }
    }
    ~Tree()
    {
        if (!std::getenv("QS_BENCH_KEEP_TREE")) {
            std::error_code ignored;
            fs::remove_all(root, ignored);
        }
    }
};

Tree& TheTree()
{
    static Tree tree;
    return tree;
}

} // namespace

static void BM_GetDirectorySize100k(benchmark::State& state)
{
    Tree& tree = TheTree();
    const std::string root = tree.root.u8string();
    int64_t size = 0;
    for (auto _ : state)
        size = TDirectoryRoutines::GetDirectorySize(root, true);
    if (size != tree.bytes)
        state.SkipWithError("size differs from the bytes written");
    state.counters["files"] = 100000;
    state.SetLabel(root);
}
BENCHMARK(BM_GetDirectorySize100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);
