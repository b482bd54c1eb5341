#pragma once
// Runs a whole clean from a test thread that plays the user-interface thread, with scripted
// answers to the per-object question.
#include "EngineTestSupport.h"

#include "engine/uEngineImplementation.h"
#include "engine/uObjectOrigin.h"
#include "engine/uScanner.h"
#include "engine/uCleanupOptionsList.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace cleaner_testing {

using engine_testing::kTestWindow;

class TCleanerTestDispatch : public ICleanerDispatch {
public:
    explicit TCleanerTestDispatch(std::shared_ptr<ISynchronizer> synchronizer) : synchronizer_(std::move(synchronizer)) {}

    TWindowHandle GetWindowHandle() override { return kTestWindow; }
    void SetStatusText(const std::string& text) override
    {
        Record();
        if (onStatus)
            onStatus(text);
        statusTexts.push_back(text);
    }
    std::shared_ptr<ISynchronizer> GetSynchronizer() override { return synchronizer_; }
    void SetProgress(int32_t position) override { Record(), progress.push_back(position); }
    TConfirmAnswer ConfirmDelete(const std::string& path) override
    {
        Record();
        questions.push_back(path);
        if (onQuestion)
            onQuestion();
        if (answers.empty())
            return caNo;
        const TConfirmAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void ObjectMoved(int32_t index, const TMovedObject& object) override { moved[index] = object.destination; }
    void ObjectSkipped(int32_t index, TSkipReason reason) override { skipReasons[index] = reason; }

    // Set before the clean; read and written on the pumping thread only.
    std::deque<TConfirmAnswer> answers;
    std::function<void()> onQuestion;
    std::function<void(const std::string&)> onStatus;
    std::vector<std::string> statusTexts;
    std::vector<int32_t> progress;
    std::vector<std::string> questions;
    std::map<int32_t, std::string> moved;  // a recycling clean: where each object went
    std::map<int32_t, TSkipReason> skipReasons;
    bool offThread = false;

private:
    void Record() { offThread = offThread || std::this_thread::get_id() != owner_; }

    std::shared_ptr<ISynchronizer> synchronizer_;
    std::thread::id owner_ = std::this_thread::get_id();
};

// One clean's inputs and what came out of it.
struct TCleanRun {
    TCleanRun() { list->SetSorted(false); }

    // Adds a found object with its size in Ko as the scanner would, checked unless told otherwise.
    std::shared_ptr<ICleanupListItem> Add(const std::string& path, int64_t sizeKo = 1, TSafetyClass safety = scSafe,
                                          TCleanupOption option = 13, bool checked = true,
                                          int32_t shellFolder = ShellFolderNone)
    {
        std::shared_ptr<ICleanupListItem> entry;
        list->Add(checked, safety, option, "Option " + std::to_string(option), path, sizeKo, shellFolder, entry);
        if (entry)
            entry->SetOrigin(OriginOf(path, option));
        figures->IncFoundCount();
        figures->AddFoundCapacity(sizeKo);
        if (checked) {
            figures->IncSelectedCount();
            figures->AddSelectedCapacity(sizeKo);
        }
        return entry;
    }

    // Where the scan would have found path: below the option's source that holds it, else below its
    // own folder (an object outside the option's sources, which the clean must refuse).
    TObjectOrigin OriginOf(const std::string& path, TCleanupOption option)
    {
        std::string root;
        for (const std::string& source : TCleanupOptionRules::ResolveSources(option, targets)) {
            const std::string normalized = TDirectoryRoutines::NormalizeFolderPath(source);
            if (!TObjectOrigins::NamesBelow(normalized, path).empty() && normalized.size() > root.size())
                root = normalized;
        }
        if (root.empty())
            root = TFileRoutines::ExtractFileDir(path);
        platform::FileIdentity rootIdentity;
        platform::QueryFileIdentity(root, rootIdentity);
        platform::FileIdentity identity;
        if (!platform::QueryOwnIdentity(path, identity))
            return {};
        const uint32_t attributes = platform::GetAttributesAt(path);
        const bool link = attributes != platform::kInvalidAttributes && (attributes & platform::kAttrReparsePoint) != 0;
        return TObjectOrigins::Capture(std::make_shared<const std::string>(root), rootIdentity, path, identity, link);
    }

    // Runs the clean to its finished notice; a stop is requested when stopAfterQuestion questions were asked.
    void Clean(int stopAfterQuestions = -1)
    {
        auto context = TEngineServices::CreateCleanerContext(figures, list, options, tempDirectories, secureDelete,
                                                             passes, randomPattern, report, targets, confirmations,
                                                             diskSpaceGain, programRuns, recycle);
        cleaner = TEngineServices::CreateCleaner();
        cleaner->SetDispatch(dispatch);
        cleaner->SetContext(context);
        if (stopAfterQuestions >= 0)
            dispatch->onQuestion = [this, stopAfterQuestions] {
                if (static_cast<int>(dispatch->questions.size()) == stopAfterQuestions) {
                    stopRequested = true;
                    gate->Hold();
                }
            };
        cleaner->Start();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (notices.empty() && std::chrono::steady_clock::now() < deadline) {
            synchronizer->WaitForWork(std::chrono::milliseconds(20));
            synchronizer->ProcessPending();
            if (stopRequested) {
                // As the Stop command does: ask, then serve the worker until it ends.
                stopRequested = false;
                cleaner->Stop();
            }
            for (const auto& notice : synchronizer->TakeNotices())
                notices.push_back(notice);
        }
        cleaner->Stop();
    }

    const std::vector<std::string>& Lines() { return report->GetLines(); }
    // The skipped-objects list: the lines after the list title.
    std::vector<std::string> SkippedPaths()
    {
        const auto& lines = Lines();
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i] == "\r\nSkipped objects list:\r\n") {
                // Up to a recycling clean's own lists.
                auto end = std::find_if(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, lines.end(),
                                        [](const std::string& line) { return line.compare(0, 2, "\r\n") == 0; });
                return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, end);
            }
        return {};
    }
    std::string Line(const std::string& prefix)
    {
        for (const auto& line : Lines())
            if (line.compare(0, prefix.size(), prefix) == 0)
                return line;
        return {};
    }

    std::shared_ptr<TSynchronizer> synchronizer = std::make_shared<TSynchronizer>();
    std::shared_ptr<engine_testing::TStopGate> gate = std::make_shared<engine_testing::TStopGate>(synchronizer);
    std::shared_ptr<TCleanerTestDispatch> dispatch = std::make_shared<TCleanerTestDispatch>(gate);
    std::shared_ptr<ICleanupList> list = TEngineServices::CreateCleanupList(TCRC32Services::CreateCRC32());
    std::shared_ptr<IBroadcastParameters> figures = TEngineServices::CreateBroadcastParameters();
    std::shared_ptr<ICleanReport> report = TEngineServices::CreateCleanReport();
    std::shared_ptr<ICleaner> cleaner;
    TCleanupOptionSet options;
    // The folders the scan was given: objects of target options outside them are never deleted.
    std::vector<std::string> targets;
    std::vector<std::string> tempDirectories;
    bool secureDelete = false;
    uint8_t passes = 1;
    bool randomPattern = false;
    bool recycle = false;
    bool confirmations = false;
    // The statistics before the clean, for the report's totals.
    uint32_t diskSpaceGain = 0;
    uint32_t programRuns = 0;
    std::vector<TSynchronizer::TNotice> notices;
    bool stopRequested = false;
};

} // namespace cleaner_testing
