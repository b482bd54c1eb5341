#pragma once
// The scan worker: walks the sources of every ticked clean-up option and lists what it finds.
#include "engine/uEngineThreads.h"
#include "platform/PlatformDirectory.h"
#include "platform/PlatformFileIdentity.h"
#include "support/VelaRoutines.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <unordered_map>
#include <string>
#include <vector>

class TScanner : public TInterfacedThread, public IScanner {
public:
    TScanner() = default;
    ~TScanner() override;

    void SetContext(const std::shared_ptr<IScannerContext>& context) override;
    void SetDispatch(const std::shared_ptr<IScannerDispatch>& dispatch) override;

protected:
    void Execute() override;

private:
    struct TSubdirectory {
        std::string name;
        bool link;
    };
    // One directory of the walk whose subdirectories are still to be entered.
    struct TFrame {
        size_t pathLength;  // of the directory's path, a prefix of path_ while the frame is up
        std::vector<TSubdirectory> subdirectories;
        size_t next = 0;
    };
    // Each returns false when it saw a stop request.
    bool ScanOption();
    bool Traverse(const std::string& source, const std::vector<std::string>& masks);
    bool Enter(const std::shared_ptr<platform::DirectoryListing>& listing, const std::string& directory,
               const std::string& name, bool followed, const std::vector<std::string>& masks);
    // The subdirectory of the deepest folder (held), opened through it; none when it is not to be
    // walked or cannot be read (then counted).
    std::shared_ptr<platform::DirectoryListing> OpenSubdirectory(const std::string& directory,
                                                                 TSubdirectory& subdirectory);
    std::shared_ptr<platform::DirectoryListing> ListingBelow(const std::string& directory, const std::string& name,
                                                             bool followLink);
    void Unreadable(const std::string& directory);
    // Lets go of every folder the walk holds.
    void LeaveWalk();

    void FileCandidate(const std::string& fullPath, const platform::DirectoryEntry& entry,
                       const platform::DirectoryListing& listing, size_t index);
    void DirectoryCandidate(const std::string& fullPath, const platform::DirectoryEntry& entry,
                            const platform::DirectoryListing& listing, size_t index);
    // Bytes of the files below the listed folder, links counted as themselves and never entered.
    int64_t DirectorySize(const platform::DirectoryListing& listing, const std::string& name,
                          const std::string& directory);
    TObjectOrigin OriginOf(const std::string& fullPath, const platform::DirectoryEntry& entry,
                           const platform::DirectoryListing& listing, size_t index);
    bool Accepted(const std::string& fullPath);
    void QueryRecycleBin();
    void Add(const std::string& path, int32_t shellFolder, int64_t bytes, const TObjectOrigin& origin = {});
    bool DirectoryExcluded(const std::string& directory);

    void SetStatus(const std::string& text);
    // Gives the window what waits for it; status when the last is a status text to be shown.
    void HandOver(bool status);
    // The same once the oldest waits for long enough to be seen late.
    void HandOverIfOld();
    void Finish(const std::string& text);

    std::shared_ptr<IScannerContext> context_;
    std::shared_ptr<IScanContext> scanContext_;
    std::shared_ptr<IScannerDispatch> dispatch_;
    std::vector<std::string> sources_;
    std::vector<std::string> optionExclusions_;
    TValidatorSet activeValidators_;
    std::string statusText_;
    // Findings (with their status texts) and status texts not handed to the window yet.
    struct TNotice {
        std::string text;
        std::shared_ptr<ICleanupListItem> found;
    };
    static constexpr size_t kNoticesPerHandOver = 128;
    static constexpr std::chrono::milliseconds kNoticeDelay{50};
    std::vector<TNotice> notices_;
    static void Deliver(IScannerDispatch& dispatch, const std::vector<TNotice>& notices);
    // What waits for the window, taken out as one call that delivers it.
    std::function<void()> TakeNotices();
    std::chrono::steady_clock::time_point noticesSince_;
    // Hand-offs ending with a status text that the window has not taken yet.
    std::shared_ptr<std::atomic<int>> statusesQueued_ = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<ICleanupListItem> lastFound_;
    // The folder the current walk started from, recorded on every object found below it.
    std::shared_ptr<const std::string> walkRoot_;
    platform::FileIdentity walkRootIdentity_;

    // The folders of the current walk, from its source down.
    THeldFolderChain chain_;
    std::vector<TFrame> frames_;
    // The deepest folder's path: one text for the whole walk, as a deep tree's paths add up.
    std::string path_;
    // Folders that could not be read in this scan, whatever the options that met them.
    std::set<std::string> unreadable_;
    // Listings read in this scan, by directory, and how many entries they hold in all.
    static constexpr size_t kMaxListedEntries = 1000000;
    static constexpr size_t kMaxListedPath = 4096;
    std::unordered_map<std::string, std::shared_ptr<platform::DirectoryListing>> listings_;
    size_t listedEntries_ = 0;
    // Sizes of the folders below a folder already sized in the current walk, by path.
    std::unordered_map<std::string, int64_t> knownSizes_;
    // Folders the current option has walked, from any of its sources: one reached again through
    // a link, a bind mount or another source is not walked twice.
    std::set<platform::FileIdentity> visited_;
};

// Paths and exclusion lists as the scanner compares them.
class TScanPaths {
public:
    static std::string Join(const std::string& directory, const std::string& name);
    static std::string LastName(const std::string& path);
    // The whole path or its last name equals or matches (as a mask) one of the entries; letter case
    // is ignored and an entry that is no valid mask is compared as plain text only.
    static bool Excluded(const std::string& path, const std::vector<std::string>& list);
};
