// Whole scans over a generated tree of 100,000 files in 5,000 folders, with one option and with
// every option that searches the clean targets, beside `find` walking the same tree with the same
// masks (one walk per option, as the scanner makes).
#include "engine/uCleanupOptionsList.h"
#include "engine/uEngineImplementation.h"
#include "engine/uEngineThreads.h"
#include "support/VelaRoutines.h"

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>

namespace fs = std::filesystem;

namespace {

// 50 folders of 100 subfolders of 20 files; every 50th subfolder also holds an empty folder, and
// .Trashes and .Spotlight-V100 sit at the top.
struct Tree {
    fs::path root;
    Tree()
    {
        static const char* const kNames[] = {"a.tmp", "b.TMP", "c.log", "d.bak", "e.cache", "Thumbs.db", "g.txt",
                                             "h.dat", "README", "j.old", "k.doc", "l.jpg", "m.png", "n.c",
                                             "o.h", "p.cpp", "q.py", "r.md", "s.json", "t.xml"};
        std::random_device device;
        root = fs::temp_directory_path() / ("qs-bench-scan-" + std::to_string(device()));
        for (int d = 0; d < 5000; ++d) {
            const fs::path dir = root / ("dir" + std::to_string(d / 100)) / ("sub" + std::to_string(d));
            fs::create_directories(dir);
            for (const char* name : kNames)
                std::ofstream(dir / (std::to_string(d) + name)) << "x";
            if (d % 50 == 0)
                fs::create_directories(dir / "empty");
        }
        for (const char* special : {".Trashes", ".Spotlight-V100"}) {
            fs::create_directories(root / special);
            std::ofstream(root / special / "entry") << "x";
        }
    }
    ~Tree()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Tree& TheTree()
{
    static Tree tree;
    return tree;
}

// Runs the calls on the worker itself (no window) and tells when the scan has ended.
class TWaitingDispatch : public IScannerDispatch {
public:
    explicit TWaitingDispatch(std::shared_ptr<ISynchronizer> synchronizer) : synchronizer_(std::move(synchronizer)) {}
    TWindowHandle GetWindowHandle() override { return 1; }
    void SetStatusText(const std::string& text) override
    {
        if (text == "Scan complete." || text == "Scan stopped.") {
            std::lock_guard<std::mutex> lock(mutex_);
            ended_ = true;
            changed_.notify_all();
        }
    }
    std::shared_ptr<ISynchronizer> GetSynchronizer() override { return synchronizer_; }
    void UpdateCounters() override {}
    void ObjectFound(const std::shared_ptr<ICleanupListItem>&) override {}
    void Wait()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return ended_; });
    }

private:
    std::shared_ptr<ISynchronizer> synchronizer_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool ended_ = false;
};

const std::vector<int> kOneOption = {13};
const std::vector<int> kTargetOptions = {4, 5, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};

int32_t Scan(const std::vector<int>& options, bool handOff)
{
    TCleanupOptionSet selected;
    for (int option : options)
        selected.Include(option);
    auto list = TEngineServices::CreateCleanupList(std::make_shared<TCRC32>());
    auto context = TEngineServices::CreateScannerContext(
        TEngineServices::CreateBroadcastParameters(), TEngineServices::CreateCleanupOptionsList(), list, selected,
        TheTree().root.u8string(), "", "", true, TEngineServices::CreateScannerValidators(false));
    auto synchronizer = handOff ? std::make_shared<TSynchronizer>() : nullptr;
    auto dispatch = std::make_shared<TWaitingDispatch>(synchronizer);
    auto scanner = TEngineServices::CreateScanner();
    scanner->SetDispatch(dispatch);
    scanner->SetContext(context);
    scanner->Start();
    if (synchronizer) {
        // This thread plays the window: it serves every hand-off until the finished notice.
        while (synchronizer->TakeNotices().empty()) {
            synchronizer->WaitForWork(std::chrono::milliseconds(50));
            synchronizer->ProcessPending();
        }
    } else {
        dispatch->Wait();
    }
    scanner->Stop();
    return list->GetCount();
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// One find per option, with the option's masks; the same walks the scanner makes.
void Find(const std::vector<int>& options)
{
    const std::string root = TheTree().root.u8string();
    auto catalogue = TEngineServices::CreateCleanupOptionsList();
    for (int option : options) {
        std::string command;
        if (option == 18 || option == 19)
            command = "find " + Quoted(root + (option == 18 ? "/.Trashes" : "/.Spotlight-V100")) + " -type f";
        else if (option == 20)
            command = "find " + Quoted(root) + " -mindepth 1 -type d -empty";
        else {
            command = "find " + Quoted(root) + " -type f \\(";
            const auto masks = TStringRoutines::SplitString(catalogue->GetOption(option)->GetMasks(), ';');
            if (masks.empty())
                continue;  // the custom options have no masks until the user gives some
            for (size_t i = 0; i < masks.size(); ++i)
                command += (i ? " -o -iname " : " -iname ") + Quoted(masks[i]);
            command += " \\)";
        }
        if (std::system((command + " > /dev/null").c_str()) != 0)
            std::abort();
    }
}

} // namespace

static void BM_ScanOneOption(benchmark::State& state)
{
    TheTree();
    int32_t found = 0;
    for (auto _ : state)
        found = Scan(kOneOption, false);
    state.counters["found"] = found;
}
BENCHMARK(BM_ScanOneOption)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

static void BM_ScanOneOptionWithHandOffs(benchmark::State& state)
{
    TheTree();
    int32_t found = 0;
    for (auto _ : state)
        found = Scan(kOneOption, true);
    state.counters["found"] = found;
}
BENCHMARK(BM_ScanOneOptionWithHandOffs)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

static void BM_FindOneOption(benchmark::State& state)
{
    TheTree();
    for (auto _ : state)
        Find(kOneOption);
}
BENCHMARK(BM_FindOneOption)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

static void BM_ScanTargetOptions(benchmark::State& state)
{
    TheTree();
    int32_t found = 0;
    for (auto _ : state)
        found = Scan(kTargetOptions, false);
    state.counters["found"] = found;
}
BENCHMARK(BM_ScanTargetOptions)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

static void BM_FindTargetOptions(benchmark::State& state)
{
    TheTree();
    for (auto _ : state)
        Find(kTargetOptions);
}
BENCHMARK(BM_FindTargetOptions)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
