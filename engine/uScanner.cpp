#include "engine/uScanner.h"

#include "engine/uCleanupOptionsList.h"
#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "engine/uObjectOrigin.h"
#include "engine/uScanReport.h"
#include "platform/PlatformFiles.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <cctype>

namespace {

const char kScanning[] = "Scanning...";
const char kScanStopped[] = "Scan stopped.";
const char kScanComplete[] = "Scan complete.";

bool IsSeparator(char ch) { return ch == '/' || ch == platform::PathSeparator(); }
bool IsLink(uint32_t attributes) { return (attributes & platform::kAttrReparsePoint) != 0; }
bool IsDirectory(uint32_t attributes) { return (attributes & platform::kAttrDirectory) != 0; }

bool SameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool MatchesEntry(const std::string& text, const std::string& entry)
{
    if (SameText(text, entry))
        return true;
    try {
        return TStringRoutines::MatchesMask(text, entry);
    } catch (const EMaskError&) {
        return false;
    }
}

// The option's masks in order; one that cannot be read finds nothing rather than ending the scan.
std::vector<std::string> UsableMasks(const std::string& text)
{
    std::vector<std::string> masks;
    for (const std::string& mask : TStringRoutines::SplitString(text, ';'))
        if (TStringRoutines::IsValidMask(mask))
            masks.push_back(mask);
    return masks;
}

} // namespace

std::string TScanPaths::Join(const std::string& directory, const std::string& name)
{
    return TFileRoutines::IncludeTrailingSeparator(directory) + name;
}

std::string TScanPaths::LastName(const std::string& path)
{
    const std::string trimmed = TFileRoutines::ExcludeTrailingSeparator(path);
    size_t at = trimmed.size();
    while (at > 0 && !IsSeparator(trimmed[at - 1]))
        --at;
    return trimmed.substr(at);
}

bool TScanPaths::Excluded(const std::string& path, const std::vector<std::string>& list)
{
    if (list.empty() || path.empty())
        return false;
    const std::string name = LastName(path);
    for (const std::string& entry : list)
        if (MatchesEntry(path, entry) || (!name.empty() && MatchesEntry(name, entry)))
            return true;
    return false;
}

TScanner::~TScanner()
{
    Shutdown();
}

void TScanner::SetContext(const std::shared_ptr<IScannerContext>& context)
{
    if (context != context_)
        context_ = context;
}

void TScanner::SetDispatch(const std::shared_ptr<IScannerDispatch>& dispatch)
{
    dispatch_ = dispatch;
    SetWindowDispatch(dispatch);
}

void TScanner::Execute()
{
    if (!context_)
        return;
    bool stopped = false;
    // A hand-off a former scan left in a queue that was given up is not waited for.
    statusesQueued_ = std::make_shared<std::atomic<int>>(0);
    listings_.clear();
    listedEntries_ = 0;
    unreadable_.clear();
    if (const auto list = context_->GetCleanupList())
        list->SetUnreadableFolders(0);
    // A long check of one object (a contents search) ends with Stop; the validators outlive this scan.
    struct TValidatorStop {
        std::shared_ptr<IScannerValidators> validators;
        ~TValidatorStop()
        {
            if (validators)
                validators->SetStopRequest(nullptr);
        }
    } validatorStop{context_->GetValidators()};
    if (validatorStop.validators)
        validatorStop.validators->SetStopRequest([this] { return Terminated(); });
    try {
        const auto catalogue = context_->GetCleanupOptions();
        for (int index = 0; index < CleanupOptionCount; ++index) {
            if (Terminated()) {
                stopped = true;
                break;
            }
            const auto option = catalogue ? catalogue->GetOption(index) : nullptr;
            scanContext_ = TEngineServices::CreateScanContext(static_cast<TCleanupOption>(index),
                                                              option ? option->GetObjectKind() : okFiles);
            stopped = !ScanOption();
            scanContext_.reset();
            if (stopped)
                break;
        }
        // The window has taken every finding, or its failure with one ends the scan here.
        HandOver(false);
        Synchronize([] {});
    } catch (const std::exception& error) {
        // Whatever went wrong, the window must still hear that the scan is over, and why.
        scanContext_.reset();
        LeaveWalk();
        Finish(ErrorStatus("Scan", error.what()));
        return;
    } catch (...) {
        scanContext_.reset();
        LeaveWalk();
        Finish(ErrorStatus("Scan", ""));
        return;
    }
    // Said beside the usual text, which stays as it is when everything could be read.
    std::string text = stopped ? kScanStopped : kScanComplete;
    if (!unreadable_.empty())
        text += " " + TScanFindings::UnreadableText(static_cast<int64_t>(unreadable_.size()));
    if (const auto list = context_->GetCleanupList())
        list->SetUnreadableFolders(static_cast<int64_t>(unreadable_.size()));
    Finish(text);
}

bool TScanner::ScanOption()
{
    const int index = scanContext_->GetOption();
    if (!context_->GetSelectedOptions().Contains(index))
        return true;
    const auto option = context_->GetCleanupOptions()->GetOption(index);
    if (!option)
        return true;

    const TCleanupOptionRule& rule = TCleanupOptionRules::Get(index);
    sources_ = TCleanupOptionRules::ResolveSources(index, context_->GetTargets());
    optionExclusions_.clear();
    visited_.clear();
    if (rule.excludesTemporaryDirectories) {
        // Kept as a list: a folder's name may hold any character, ";" too. Compared in the walk's
        // own form (long names, no trailing separator), or they never match.
        TStringList places = TDirectoryRoutines::GetTemporaryDirectories();
        places.push_back(TDirectoryRoutines::GetInternetCacheDir());
        for (const std::string& place : places)
            if (!place.empty())
                optionExclusions_.push_back(TDirectoryRoutines::NormalizeFolderPath(place));
    }
    const auto validators = context_->GetValidators();
    activeValidators_ = (validators ? validators->GetExplicitTypes() : TValidatorSet()) |
                        TValidatorSet{rule.implicitValidator};

    if (rule.source == osRecycleBin) {
        QueryRecycleBin();
        return true;
    }
    if (sources_.empty())
        return true;
    const std::string maskText = option->GetMasks();
    const std::vector<std::string> masks = UsableMasks(maskText);
    for (const std::string& source : sources_) {
        if (Terminated())
            return false;
        SetStatus(kScanning);
        if (maskText.empty() || masks.empty() || !TDirectoryRoutines::IsDirectory(source))
            continue;
        const std::string root = TDirectoryRoutines::NormalizeFolderPath(source);
        walkRoot_ = std::make_shared<const std::string>(root);
        if (!Traverse(root, masks))
            return false;
    }
    return true;
}

bool TScanner::Traverse(const std::string& source, const std::vector<std::string>& masks)
{
    knownSizes_.clear();
    // The source as the user named it, links on the way followed; everything below it is reached
    // through the folder above, so neither depth nor path length stops the walk.
    const auto root = std::make_shared<platform::DirectoryListing>(source);
    if (!root->IsOpen()) {
        Unreadable(source);
        return true;
    }
    walkRootIdentity_ = root->Identity();
    // A source met already, as another source or below one: its objects are listed once.
    if (!visited_.insert(root->Identity()).second)
        return true;
    listings_[source] = root;
    LeaveWalk();
    if (!Enter(root, source, {}, false, masks)) {
        LeaveWalk();
        return false;
    }
    while (!frames_.empty()) {
        TFrame& top = frames_.back();
        if (top.next >= top.subdirectories.size()) {
            frames_.pop_back();
            chain_.Pop();
            continue;
        }
        if (Terminated()) {
            LeaveWalk();
            return false;
        }
        path_.resize(top.pathLength);
        if (!chain_.HoldDeepest()) {
            // Gone or replaced since it was listed: what was still to be entered cannot be.
            Unreadable(path_);
            top.next = top.subdirectories.size();
            continue;
        }
        TSubdirectory subdirectory = top.subdirectories[top.next++];
        const std::string directory = path_;
        const std::string child = TScanPaths::Join(directory, subdirectory.name);
        const auto listing = OpenSubdirectory(child, subdirectory);
        if (!listing)
            continue;
        SetStatus("Scanning \"" + directory + "\"...");
        if (!Enter(listing, child, subdirectory.name, subdirectory.link, masks)) {
            LeaveWalk();
            return false;
        }
    }
    return true;
}

void TScanner::LeaveWalk()
{
    frames_.clear();
    while (!chain_.Empty())
        chain_.Pop();
}

std::shared_ptr<platform::DirectoryListing> TScanner::OpenSubdirectory(const std::string& directory,
                                                                       TSubdirectory& subdirectory)
{
    const bool followLinks = !context_->GetIgnoreSymbolicLinks();
    std::shared_ptr<platform::DirectoryListing> listing = ListingBelow(directory, subdirectory.name, subdirectory.link);
    // A link where the listing showed a folder (swapped since, or one Wine shows as its target):
    // followed only when links are.
    if (listing->Outcome() == platform::ListingOutcome::Link && followLinks && !subdirectory.link) {
        subdirectory.link = true;
        listing = ListingBelow(directory, subdirectory.name, true);
    }
    switch (listing->Outcome()) {
    case platform::ListingOutcome::Listed:
        break;
    case platform::ListingOutcome::Unreadable:
        Unreadable(directory);
        return nullptr;
    default:
        // A link not to be followed, or a mount: never entered, whether links are followed or not.
        return nullptr;
    }
    if (!visited_.insert(listing->Identity()).second) {
        listing->Release();
        return nullptr;
    }
    return listing;
}

std::shared_ptr<platform::DirectoryListing> TScanner::ListingBelow(const std::string& directory,
                                                                   const std::string& name, bool followLink)
{
    // Options that search the same folders read each of them once; the bound keeps a scan of a
    // huge tree from holding it all in memory. A listing read before is held again only when
    // something in it must be looked at or entered, and then only while it is the same folder.
    const auto known = listings_.find(directory);
    if (known != listings_.end() && known->second->IsOpen())
        return known->second;
    auto listing = std::make_shared<platform::DirectoryListing>(chain_.Deepest(), name, followLink);
    if (known != listings_.end()) {
        listedEntries_ -= std::min(listedEntries_, known->second->Entries().size());
        listings_.erase(known);
    }
    if (listing->IsOpen() && directory.size() <= kMaxListedPath &&
        listedEntries_ + listing->Entries().size() <= kMaxListedEntries) {
        listedEntries_ += listing->Entries().size();
        listings_.emplace(directory, listing);
    }
    return listing;
}

void TScanner::Unreadable(const std::string& directory)
{
    unreadable_.insert(directory);
}

bool TScanner::Enter(const std::shared_ptr<platform::DirectoryListing>& held, const std::string& directory,
                     const std::string& name, bool followed, const std::vector<std::string>& masks)
{
    chain_.Push(held, name, followed);
    frames_.push_back({directory.size(), {}, 0});
    path_ = directory;
    if (Terminated())
        return false;
    const bool ignoreLinks = context_->GetIgnoreSymbolicLinks();
    const bool directoryExcluded = DirectoryExcluded(directory);
    const TObjectKind kind = scanContext_->GetObjectKind();
    // Read once and filtered per mask: the order of findings is that of one listing per mask, and
    // only the long name counts (the system's own patterns also match 8.3 aliases). What the
    // listing says of a name and its kind rejects most entries before anything else is read.
    platform::DirectoryListing& listing = *held;
    const std::vector<platform::ListedEntry>& entries = listing.Entries();
    // Facts not read yet are read through the folder itself, held again if a former walk let it go.
    bool holdTried = false, holding = false;
    const auto facts = [&](size_t index) -> const platform::DirectoryEntry* {
        if (!listing.Knows(index) && !holdTried) {
            holdTried = true;
            holding = chain_.HoldDeepest();
            if (!holding)
                Unreadable(directory);
        }
        return listing.Knows(index) ? listing.Facts(index) : nullptr;
    };
    // Entries the option must never list or walk into (others' files in the temporary folders).
    const int option = scanContext_->GetOption();
    std::vector<bool> leftAlone(entries.size(), false);
    if (TCleanupOptionRules::Get(option).source == osTemporaryDirectories)
        for (size_t i = 0; i < entries.size(); ++i)
            leftAlone[i] = TCleanupOptionRules::LeavesAlone(option, TScanPaths::Join(directory, entries[i].name));
    // Whether an entry of this kind may be what the walk looks for, before its facts are read.
    const auto mayBe = [ignoreLinks](platform::ListedKind listed, bool directories) {
        switch (listed) {
        case platform::ListedKind::File:
            return !directories;
        case platform::ListedKind::Directory:
            return directories;
        case platform::ListedKind::Link:
            return !ignoreLinks;
        case platform::ListedKind::Unknown:
            return true;
        default:
            return false;
        }
    };
    if (!directoryExcluded && (kind == okFiles || kind == okDirectories)) {
        for (const std::string& mask : masks) {
            if (Terminated())
                return false;
            for (size_t i = 0; i < entries.size(); ++i) {
                if (Terminated())
                    return false;
                // The clock is read once in a while: findings wait a little longer, the walk does not.
                if ((i & 63) == 63)
                    HandOverIfOld();
                if (leftAlone[i] || !mayBe(entries[i].kind, kind == okDirectories) ||
                    !TStringRoutines::MatchesMask(entries[i].name, mask))
                    continue;
                const platform::DirectoryEntry* entry = facts(i);
                if (!entry || (ignoreLinks && IsLink(entry->attributes)) || entry->mountPoint)
                    continue;
                // The listing's own names: the path is already in its long form.
                const std::string fullPath = TScanPaths::Join(directory, entry->name);
                if (kind == okFiles)
                    FileCandidate(fullPath, *entry, listing, i);
                else
                    DirectoryCandidate(fullPath, *entry, listing, i);
            }
        }
    }
    if (directoryExcluded)
        return true;
    std::vector<TSubdirectory>& subdirectories = frames_.back().subdirectories;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (leftAlone[i] || !mayBe(entries[i].kind, true))
            continue;
        // What the listing calls a folder is one; whether it is a mount shows when it is entered.
        if (entries[i].kind == platform::ListedKind::Directory) {
            subdirectories.push_back({entries[i].name, false});
            continue;
        }
        const platform::DirectoryEntry* entry = facts(i);
        if (!entry || !IsDirectory(entry->attributes))
            continue;
        // With links ignored nothing is ever reached through one; another file system never.
        if ((ignoreLinks && IsLink(entry->attributes)) || entry->mountPoint)
            continue;
        subdirectories.push_back({entry->name, IsLink(entry->attributes)});
    }
    return true;
}

bool TScanner::DirectoryExcluded(const std::string& directory)
{
    return TScanPaths::Excluded(directory, context_->GetExcludeDirectories()) ||
           TScanPaths::Excluded(directory, optionExclusions_);
}

bool TScanner::Accepted(const std::string& fullPath)
{
    const auto validators = context_->GetValidators();
    if (!validators)
        return true;
    try {
        return validators->Validate(activeValidators_, fullPath);
    } catch (const std::exception&) {
        return false;  // an object that cannot be tested is left alone
    }
}

void TScanner::FileCandidate(const std::string& fullPath, const platform::DirectoryEntry& entry,
                             const platform::DirectoryListing& listing, size_t index)
{
    if (IsDirectory(entry.attributes))
        return;
    if (TScanPaths::Excluded(fullPath, context_->GetExcludeFiles()))
        return;
    if (!Accepted(fullPath))
        return;
    Add(fullPath, ShellFolderNone, entry.size, OriginOf(fullPath, entry, listing, index));
}

void TScanner::DirectoryCandidate(const std::string& fullPath, const platform::DirectoryEntry& entry,
                                  const platform::DirectoryListing& listing, size_t index)
{
    if (!IsDirectory(entry.attributes) || entry.name == "." || entry.name == "..")
        return;
    if (!Accepted(fullPath))
        return;
    int64_t bytes = 0;
    try {
        // A link found as an object is sized as itself, never through its target.
        bytes = IsLink(entry.attributes) ? 0 : DirectorySize(listing, entry.name, fullPath);
    } catch (const std::exception&) {
        return;
    }
    if (Terminated())
        return;  // a size cut short by Stop is no size to show
    Add(fullPath, ShellFolderNone, bytes, OriginOf(fullPath, entry, listing, index));
}

int64_t TScanner::DirectorySize(const platform::DirectoryListing& listing, const std::string& name,
                                const std::string& directory)
{
    // Every folder below is sized on the way and kept, so the walk, reaching them later as
    // candidates of their own, never sizes the same tree twice.
    const auto known = knownSizes_.find(directory);
    if (known != knownSizes_.end()) {
        const int64_t bytes = known->second;
        knownSizes_.erase(known);
        return bytes;
    }
    // Sized through the listed folder, which a former walk may have let go.
    if (!chain_.HoldDeepest())
        return 0;
    return TDirectoryRoutines::GetDirectorySize(listing, name, directory, [this] { return Terminated(); },
                                                &knownSizes_);
}

TObjectOrigin TScanner::OriginOf(const std::string& fullPath, const platform::DirectoryEntry& entry,
                                 const platform::DirectoryListing& listing, size_t index)
{
    platform::FileIdentity identity;
    if (!listing.Identify(index, identity))
        return {};
    return TObjectOrigins::Capture(walkRoot_, walkRootIdentity_, fullPath, identity, IsLink(entry.attributes));
}

void TScanner::QueryRecycleBin()
{
    int64_t sizeBytes = 0, itemCount = 0;
    bool ok = false;
    try {
        ok = TAPIRoutines::QueryRecycleBin(sizeBytes, itemCount);
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok || itemCount <= 0)
        return;
    Add(TNumberRoutines::GroupThousands(itemCount) + " object(s)", ShellFolderRecycleBin, sizeBytes);
}

void TScanner::Add(const std::string& path, int32_t shellFolder, int64_t bytes, const TObjectOrigin& origin)
{
    const int64_t size = TNumberRoutines::BytesToKo(bytes);
    const TCleanupOption index = scanContext_->GetOption();
    const auto option = context_->GetCleanupOptions()->GetOption(index);
    const auto list = context_->GetCleanupList();
    if (!option || !list)
        return;
    std::shared_ptr<ICleanupListItem> entry;
    const bool added =
        list->Add(true, option->GetSafety(), index, option->GetName(), path, size, shellFolder, entry);
    lastFound_ = entry;
    if (added) {
        entry->SetOrigin(origin);
        entry->SetByteSize(bytes);
    }
    if (!added) {
        SetStatus("Duplicate: \"" + path + "\"");
        return;
    }
    if (const auto counters = context_->GetBroadcastParameters()) {
        if (counters->GetLargestCapacity() < size)
            counters->SetLargestCapacity(size);
        counters->IncFoundCount();
        counters->IncSelectedCount();
        counters->AddFoundCapacity(size);
        counters->AddSelectedCapacity(size);
    }
    statusText_ = "Found: \"" + path + "\"";
    if (!dispatch_)
        return;
    // The three calls the window gets for a finding, in their order, handed over with the next
    // ones in one call that the scan does not wait for: a round trip per object would leave the
    // window far behind, and a hand-off per object costs the two threads more than the finding.
    if (notices_.empty())
        noticesSince_ = std::chrono::steady_clock::now();
    notices_.push_back({statusText_, lastFound_});
    if (notices_.size() >= kNoticesPerHandOver)
        HandOver(false);
    else
        HandOverIfOld();
}

void TScanner::Deliver(IScannerDispatch& dispatch, const std::vector<TNotice>& notices)
{
    for (const TNotice& notice : notices) {
        dispatch.SetStatusText(notice.text);
        if (notice.found) {
            dispatch.UpdateCounters();
            dispatch.ObjectFound(notice.found);
        }
    }
}

std::function<void()> TScanner::TakeNotices()
{
    auto notices = std::make_shared<std::vector<TNotice>>();
    notices->swap(notices_);
    return [dispatch = dispatch_, notices] { Deliver(*dispatch, *notices); };
}

void TScanner::HandOverIfOld()
{
    if (!notices_.empty() && std::chrono::steady_clock::now() - noticesSince_ >= kNoticeDelay)
        HandOver(false);
}

void TScanner::HandOver(bool status)
{
    if (notices_.empty() || !dispatch_)
        return;
    const auto deliver = TakeNotices();
    // A walk never more than one folder ahead of what the window shows: a Stop pressed on a text
    // comes before the next but one.
    if (status && statusesQueued_->load() > 0) {
        Synchronize(deliver);
        return;
    }
    if (!status) {
        Queue(deliver);
        return;
    }
    ++*statusesQueued_;
    Queue([deliver, queued = statusesQueued_] {
        const struct TTaken {
            std::atomic<int>& count;
            ~TTaken() { --count; }
        } taken{*queued};
        deliver();
    });
}

void TScanner::SetStatus(const std::string& text)
{
    statusText_ = text;
    if (!dispatch_)
        return;
    // After the findings before it, and not waited for either: a round trip per folder would
    // cost the walk more than reading the folder does.
    if (notices_.empty())
        noticesSince_ = std::chrono::steady_clock::now();
    notices_.push_back({text, nullptr});
    HandOver(true);
}

void TScanner::Finish(const std::string& text)
{
    try {
        // Shown before the finished notice is: that one does not wait in the queue.
        statusText_ = text;
        if (dispatch_) {
            notices_.push_back({text, nullptr});
            Synchronize(TakeNotices());
        }
    } catch (...) {
        // The finished notice below is what lets the window leave the scanning state.
    }
    PostFinished(WM_SCANFINISHED);
}

std::shared_ptr<IScanner> TEngineServices::CreateScanner()
{
    return std::make_shared<TScanner>();
}
