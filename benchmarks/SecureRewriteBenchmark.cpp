// Overwriting a 256 MiB file in place with 1 and 3 passes, against `dd` writing the same amount
// over the same file (conv=notrunc, no flush either way), measured in the same run.
#include "engine/uSecureRewrite.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int64_t kFileBytes = 256LL * 1024 * 1024;

// Made once per run, removed at exit.
struct BigFile {
    fs::path folder;
    fs::path file;
    BigFile()
    {
        std::random_device device;
        folder = fs::temp_directory_path() / ("qs-bench-rewrite-" + std::to_string(device()));
        fs::create_directories(folder);
        file = folder / "big.bin";
        std::ofstream out(file, std::ios::binary);
        const std::vector<char> block(1 << 20, 'q');
        for (int64_t written = 0; written < kFileBytes; written += static_cast<int64_t>(block.size()))
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    ~BigFile()
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

BigFile& File()
{
    static BigFile file;
    return file;
}

void Rewrite(benchmark::State& state, bool randomPattern)
{
    const std::string path = File().file.string();
    const auto passes = static_cast<uint8_t>(state.range(0));
    for (auto _ : state)
        if (!TSecureRewriteFile(randomPattern).Rewrite(path, passes))
            state.SkipWithError("rewrite failed");
    state.SetBytesProcessed(state.iterations() * kFileBytes * passes);
}

} // namespace

static void BM_SecureRewrite(benchmark::State& state) { Rewrite(state, false); }
BENCHMARK(BM_SecureRewrite)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_SecureRewriteRandom(benchmark::State& state) { Rewrite(state, true); }
BENCHMARK(BM_SecureRewriteRandom)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: dd with the largest rewrite buffer (256 KiB) over the same file, once per pass.
static void BM_DdReference(benchmark::State& state)
{
    const std::string command = "dd if=/dev/zero of='" + File().file.string() +
                                "' bs=262144 count=1024 conv=notrunc status=none";
    const int64_t passes = state.range(0);
    for (auto _ : state)
        for (int64_t pass = 0; pass < passes; ++pass)
            if (std::system(command.c_str()) != 0)
                state.SkipWithError("dd failed");
    state.SetBytesProcessed(state.iterations() * kFileBytes * passes);
}
BENCHMARK(BM_DdReference)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();
