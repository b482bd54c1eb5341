#pragma once
// The cleaner: deletes the checked found objects on its own thread and writes the clean report.
#include "engine/uEngineThreads.h"
#include "engine/uObjectOrigin.h"
#include "platform/PlatformHeldDirectory.h"
#include "platform/PlatformProcesses.h"
#include "platform/PlatformRecycle.h"
#include "platform/PlatformSystem.h"

#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class TCleaner : public TInterfacedThread, public ICleaner {
public:
    TCleaner() = default;
    ~TCleaner() override;

    void SetContext(const std::shared_ptr<ICleanerContext>& context) override { context_ = context; }
    void SetDispatch(const std::shared_ptr<ICleanerDispatch>& dispatch) override;
    TCleanStatistics GetStatistics() override;

    // Elapsed milliseconds as "hh:mm:ss.zzz", hours of the day (a day or more wraps).
    static std::string ElapsedText(int64_t milliseconds);

protected:
    void Execute() override;

private:
    enum class TObjectOutcome { Removed, Skipped };

    void BeginReport();
    void CleanItem(ICleanupListItem& item, TConfirmAnswer& remembered);
    // answered: the user has just said yes to this very object.
    void CleanChecked(ICleanupListItem& item, bool answered);
    bool Confirmed(const std::string& path, TConfirmAnswer& remembered);
    void EmptyRecycleBin(ICleanupListItem& item);
    // Removes the object; false (the object is skipped) for any failure, errors included.
    // removedBytes: what its removal freed, as it was when it went.
    bool DeleteChecked(ICleanupListItem& item, int64_t& removedBytes);
    bool DeleteObject(ICleanupListItem& item, int64_t& removedBytes);
    // root is one of the option's source folders: the object was found where the option looks.
    bool IsSourceOf(const std::string& root, TCleanupOption option);
    // The file the scan listed as identity, deleted outright when it is still that file.
    bool DeleteScannedFile(platform::DirectoryHandle& folder, const std::string& name,
                           const platform::FileIdentity& identity, int64_t& removedBytes);
    bool DeleteFileObject(platform::DirectoryHandle& folder, const platform::HeldEntry& file, int64_t& removedBytes);
    bool DeleteDirectoryObject(platform::DirectoryHandle& folder, const platform::HeldEntry& directory,
                               int64_t& removedBytes);
    // A recycling clean: the object checked above goes whole to its volume's bin, or stays.
    bool RecycleObject(platform::DirectoryHandle& folder, const platform::HeldEntry& entry, ICleanupListItem& item,
                       int64_t& removedBytes);
    // A stop that came before this object's first deletion keeps it, unless the user has just
    // said yes to it.
    bool StopBeforeDeleting() const { return !answered_ && Terminated(); }
    bool HeldOpen(const platform::HeldEntry& entry);
    void RemoveEmptyTemporarySubdirectories();
    void Remove(const std::string& text, uint32_t count, int64_t size);
    void Skip(const std::string& path, int64_t size);
    void ShowStatus(const std::string& text);
    // reached: the object was listed and cleaned or skipped (removed says which).
    void ShowProgress(int32_t index, bool reached, bool removed);
    // stopReason: why an error ended the clean early; empty for the user's Stop.
    void EndClean(const std::string& outcome, bool stopped, const std::string& stopReason = "");
    // The report's closing lines.
    void WriteSummary(bool stopped, const std::string& stopReason);

    std::shared_ptr<ICleanerContext> context_;
    std::shared_ptr<ICleanerDispatch> dispatch_;
    std::shared_ptr<ICleanupOptionsList> catalogue_;

    uint32_t removedCount_ = 0;
    uint32_t skippedCount_ = 0;
    int64_t removedSize_ = 0;
    int64_t skippedSize_ = 0;
    std::vector<std::string> skippedList_;
    // A recycling clean: what went to a bin, and what could not, with why (report lines).
    bool recycle_ = false;
    std::unique_ptr<platform::RecycleBins> bins_;
    uint32_t movedCount_ = 0;
    int64_t movedSize_ = 0;
    std::vector<std::string> movedList_;
    std::vector<std::string> notMovedList_;
    std::string objectDestination_;  // where the current object went, when it was moved
    int64_t objectModified_ = -1;    // and, a file, its last write then
    platform::LocalTime startTime_{};
    std::chrono::steady_clock::time_point startClock_;
    std::string statusText_;
    std::string objectStatus_;  // the current object's status, shown with its progress
    int32_t progressIndex_ = -1;
    int64_t objectRemovedBytes_ = 0;  // what the current object's removal freed
    TSkipReason skipReason_ = srFailed;  // why the current object stays, when it does
    std::set<platform::FileIdentity> openFiles_;
    // The folders down to the last object, held for the next ones in them; none between cleans.
    THeldChain heldChain_;
    bool confirmations_ = false;
    bool answered_ = false;
    // Per option, the folders its objects were searched from, resolved once per clean.
    std::map<TCleanupOption, std::vector<std::string>> sources_;
    // Handed over when the clean ends, to whichever thread asks.
    std::mutex statisticsMutex_;
    TCleanStatistics statistics_;
};
