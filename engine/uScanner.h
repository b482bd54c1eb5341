#pragma once
// The scan worker: walks the sources of every ticked clean-up option and lists what it finds.
#include "engine/uEngineThreads.h"
#include "platform/PlatformDirectory.h"
#include "platform/PlatformFileIdentity.h"

#include <memory>
#include <optional>
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

    // Deeper trees are not entered; it bounds a walk whatever mount tricks the tree holds.
    static constexpr size_t kMaxDepth = 1024;

protected:
    void Execute() override;

private:
    struct TSubdirectory {
        std::string name;
        bool link;
    };
    // One directory of the walk whose subdirectories are still to be entered.
    struct TFrame {
        std::string directory;
        std::vector<TSubdirectory> subdirectories;
        size_t next = 0;
        uint64_t device = 0;
    };
    // Each returns false when it saw a stop request.
    bool ScanOption();
    bool Traverse(const std::string& source, const std::vector<std::string>& masks);
    // parentDevice: the file system of the folder it was listed in; none for a walk's source and
    // for a link's target.
    bool Enter(const std::string& directory, const std::vector<std::string>& masks, std::vector<TFrame>& stack,
               std::optional<uint64_t> parentDevice);
    bool FirstVisit(const std::string& directory, bool link);

    void FileCandidate(const std::string& fullPath, const platform::DirectoryEntry& entry,
                       const platform::DirectoryListing& listing, size_t index);
    void DirectoryCandidate(const std::string& fullPath, const platform::DirectoryEntry& entry,
                            const platform::DirectoryListing& listing, size_t index);
    // The directory's listing, read once per scan while the bound allows.
    std::shared_ptr<platform::DirectoryListing> ListingOf(const std::string& directory);
    // Bytes of the files below directory, links counted as themselves and never entered.
    int64_t DirectorySize(const std::string& directory);
    TObjectOrigin OriginOf(const std::string& fullPath, const platform::DirectoryEntry& entry,
                           const platform::DirectoryListing& listing, size_t index);
    bool Accepted(const std::string& fullPath);
    void QueryRecycleBin();
    void Add(const std::string& path, int32_t shellFolder, int64_t bytes, const TObjectOrigin& origin = {});
    bool DirectoryExcluded(const std::string& directory);

    void SetStatus(const std::string& text);
    void Finish(const std::string& text);

    std::shared_ptr<IScannerContext> context_;
    std::shared_ptr<IScanContext> scanContext_;
    std::shared_ptr<IScannerDispatch> dispatch_;
    std::vector<std::string> sources_;
    std::vector<std::string> optionExclusions_;
    TValidatorSet activeValidators_;
    std::string optionExclusionsText_;
    std::string statusText_;
    std::shared_ptr<ICleanupListItem> lastFound_;
    // The folder the current walk started from, recorded on every object found below it.
    std::shared_ptr<const std::string> walkRoot_;
    platform::FileIdentity walkRootIdentity_;

    // Listings read in this scan, by directory, and how many entries they hold in all.
    static constexpr size_t kMaxListedEntries = 1000000;
    std::unordered_map<std::string, std::shared_ptr<platform::DirectoryListing>> listings_;
    size_t listedEntries_ = 0;
    // Sizes of the folders below a folder already sized in the current walk, by path.
    std::unordered_map<std::string, int64_t> knownSizes_;
    // Directories entered from the current source, when links are followed.
    std::set<platform::FileIdentity> visited_;
};

// Paths and exclusion lists as the scanner compares them.
class TScanPaths {
public:
    // source in the form the walk uses: long names, no trailing separator except at a root.
    static std::string Normalize(const std::string& source);
    static std::string Join(const std::string& directory, const std::string& name);
    static std::string LastName(const std::string& path);
    // The whole path or its last name equals or matches (as a mask) one of the entries; letter case
    // is ignored and an entry that is no valid mask is compared as plain text only.
    static bool Excluded(const std::string& path, const std::vector<std::string>& list);
};
