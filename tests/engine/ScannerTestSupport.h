#pragma once
// Runs a whole scan from a test thread that plays the user-interface thread, and keeps what the
// window would have seen.
#include "EngineTestSupport.h"
#include "TestSupport.h"

#include "engine/uEngineImplementation.h"
#include "support/RoutinesTestHelpers.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace scanner_testing {

class TRecordingDispatch : public IScannerDispatch {
public:
    explicit TRecordingDispatch(std::shared_ptr<ISynchronizer> synchronizer) : synchronizer_(std::move(synchronizer)) {}

    TWindowHandle GetWindowHandle() override { return engine_testing::kTestWindow; }
    void SetStatusText(const std::string& text) override
    {
        statusTexts.push_back(text);
        if (onStatus)
            onStatus(text);
    }
    std::shared_ptr<ISynchronizer> GetSynchronizer() override { return synchronizer_; }
    void UpdateCounters() override { ++counterUpdates; }
    void ObjectFound(const std::shared_ptr<ICleanupListItem>& item) override { found.push_back(item); }

    std::vector<std::string> statusTexts;
    std::vector<std::shared_ptr<ICleanupListItem>> found;
    int counterUpdates = 0;
    std::function<void(const std::string&)> onStatus;

private:
    std::shared_ptr<ISynchronizer> synchronizer_;
};

struct TScanSetup {
    std::vector<int> options;
    std::string targets;
    std::string excludeFiles;
    std::string excludeDirectories;
    bool ignoreSymbolicLinks = true;
    std::string customFileMasks;       // option 21
    std::string customDirectoryMasks;  // option 22
    std::shared_ptr<IScannerValidators> validators;
    // Asked after every status text; true makes the test thread press Stop.
    std::function<bool(const std::string&)> stopWhen;
};

struct TScanResult {
    std::vector<std::string> statusTexts;
    std::vector<TSynchronizer::TNotice> notices;
    std::vector<std::shared_ptr<ICleanupListItem>> found;  // in the order ObjectFound saw them
    // How many status texts had arrived when stopWhen asked for a stop (all of them without one).
    size_t statusTextsBeforeStop = 0;
    int counterUpdates = 0;
    std::shared_ptr<ICleanupList> list;
    std::shared_ptr<IBroadcastParameters> counters;

    int Count(const std::string& status) const
    {
        return static_cast<int>(std::count(statusTexts.begin(), statusTexts.end(), status));
    }
    bool AnyStatusStartingWith(const std::string& prefix) const
    {
        return std::any_of(statusTexts.begin(), statusTexts.end(),
                           [&](const std::string& text) { return text.compare(0, prefix.size(), prefix) == 0; });
    }
};

inline TScanResult RunScan(const TScanSetup& setup)
{
    auto synchronizer = std::make_shared<TSynchronizer>();
    auto gate = std::make_shared<engine_testing::TStopGate>(synchronizer);
    auto dispatch = std::make_shared<TRecordingDispatch>(gate);
    bool stopWanted = false;
    TScanResult result;
    result.statusTextsBeforeStop = std::string::npos;
    if (setup.stopWhen)
        dispatch->onStatus = [&](const std::string& text) {
            if (stopWanted || !setup.stopWhen(text))
                return;
            stopWanted = true;
            result.statusTextsBeforeStop = dispatch->statusTexts.size();
            gate->Hold();
        };

    result.counters = TEngineServices::CreateBroadcastParameters();
    auto catalogue = TEngineServices::CreateCleanupOptionsList();
    catalogue->GetOption(21)->SetMasks(setup.customFileMasks);
    catalogue->GetOption(22)->SetMasks(setup.customDirectoryMasks);
    result.list = TEngineServices::CreateCleanupList(std::make_shared<TCRC32>());
    TCleanupOptionSet selected;
    for (int option : setup.options)
        selected.Include(option);
    auto validators = setup.validators ? setup.validators : TEngineServices::CreateScannerValidators(false);

    auto scanner = TEngineServices::CreateScanner();
    scanner->SetDispatch(dispatch);
    scanner->SetContext(TEngineServices::CreateScannerContext(result.counters, catalogue, result.list, selected,
                                                              setup.targets, setup.excludeFiles,
                                                              setup.excludeDirectories, setup.ignoreSymbolicLinks,
                                                              validators));
    scanner->Start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    bool stopped = false;
    while (result.notices.empty() && std::chrono::steady_clock::now() < deadline) {
        synchronizer->WaitForWork(std::chrono::milliseconds(20));
        synchronizer->ProcessPending();
        if (stopWanted && !stopped) {
            stopped = true;
            scanner->Stop();
        }
        for (const auto& notice : synchronizer->TakeNotices())
            result.notices.push_back(notice);
    }
    scanner->Stop();
    synchronizer->ProcessPending();
    for (const auto& notice : synchronizer->TakeNotices())
        result.notices.push_back(notice);
    result.statusTexts = dispatch->statusTexts;
    result.statusTextsBeforeStop = std::min(result.statusTextsBeforeStop, result.statusTexts.size());
    result.found = dispatch->found;
    result.counterUpdates = dispatch->counterUpdates;
    return result;
}

// Paths found, relative to root with "/" between names, in the order they were found.
inline std::vector<std::string> FoundUnder(const TScanResult& result, const std::string& root,
                                           const std::vector<int>& options = {})
{
    std::string base = root;
    std::replace(base.begin(), base.end(), '\\', '/');
    if (base.empty() || base.back() != '/')
        base += '/';
    std::vector<std::string> paths;
    for (const auto& item : result.found) {
        if (!options.empty() && std::find(options.begin(), options.end(), item->GetOption()) == options.end())
            continue;
        std::string path = item->GetPath();
        std::replace(path.begin(), path.end(), '\\', '/');
        if (path.size() > base.size() && std::equal(base.begin(), base.end(), path.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            }))
            paths.push_back(path.substr(base.size()));
    }
    return paths;
}

// Removes a link made by MakeDirectoryLink, never what it leads to. Wine refuses to remove a Unix
// link to a folder, so its Unix side does it there.
inline void RemoveDirectoryLink(const std::filesystem::path& link)
{
#ifdef _WIN32
    const std::string unixPath = routines_testing::UnixPathOf(link);
    if (unixPath.empty() || !routines_testing::RunUnixProgram(L"rm", {L"-f", std::filesystem::u8path(unixPath).wstring()}))
        return;
    for (int i = 0; i < 500 && GetFileAttributesW(link.wstring().c_str()) != INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(10);
#else
    std::error_code ignored;
    std::filesystem::remove(link, ignored);
#endif
}

} // namespace scanner_testing
