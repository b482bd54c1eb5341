#include "platform/PlatformDirectory.h"
#include "platform/PlatformFiles.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

using platform::DirectoryEntry;

// Deeper trees are refused rather than walked: no real folder nests this far, and it bounds any
// traversal whatever mount tricks the tree holds.
constexpr int kMaxDepth = 1024;

// A held walk keeps the deepest kChainHeld folders open, and every kChainWaypoint-th above them.
constexpr size_t kChainHeld = 32;
constexpr size_t kChainWaypoint = 128;
constexpr size_t kKeptSizePath = 4096;

bool IsLink(uint32_t attributes) { return (attributes & platform::kAttrReparsePoint) != 0; }
bool IsDir(uint32_t attributes) { return (attributes & platform::kAttrDirectory) != 0; }

// Walks the folder root lists (held) through held folders only, so depth and path length limit
// nothing, and adds up what its files hold.
int64_t SizeOf(const std::shared_ptr<platform::DirectoryListing>& root, const std::string& rootPath, bool recurse,
               const std::function<bool()>& stopRequested,
               std::unordered_map<std::string, int64_t>* subdirectorySizes)
{
    struct TFolder {
        size_t pathLength;  // of its path, a prefix of path while the folder is walked
        std::vector<std::string> subdirectories;
        size_t next = 0;
        int64_t bytes = 0;
    };
    THeldFolderChain chain;
    std::vector<TFolder> folders;
    // One text for the whole walk: a deep tree's paths add up.
    std::string path = rootPath;
    const auto enter = [&](const std::shared_ptr<platform::DirectoryListing>& listing, const std::string& name) {
        chain.Push(listing, name);
        folders.push_back({path.size(), {}, 0, 0});
        TFolder& folder = folders.back();
        for (size_t i = 0; i < listing->Entries().size(); ++i) {
            const platform::ListedEntry& listed = listing->Entries()[i];
            if (listed.kind == platform::ListedKind::Directory) {
                if (recurse)
                    folder.subdirectories.push_back(listed.name);
                continue;
            }
            const DirectoryEntry* entry = listing->Facts(i);
            if (!entry)
                continue;
            if (!IsDir(entry->attributes) || IsLink(entry->attributes))
                folder.bytes += entry->size;
            else if (recurse && !entry->mountPoint)
                folder.subdirectories.push_back(entry->name);
        }
    };
    enter(root, {});
    int64_t total = 0;
    while (!folders.empty()) {
        TFolder& folder = folders.back();
        path.resize(folder.pathLength);
        const bool stopped = stopRequested && folder.next < folder.subdirectories.size() && stopRequested();
        if (stopped || folder.next >= folder.subdirectories.size() || !chain.HoldDeepest()) {
            const int64_t bytes = folder.bytes;
            // Kept for folders of a modest path only, for the same reason.
            if (subdirectorySizes && folders.size() > 1 && path.size() <= kKeptSizePath)
                (*subdirectorySizes)[path] = bytes;
            folders.pop_back();
            chain.Pop();
            if (folders.empty())
                total = bytes;
            else
                folders.back().bytes += bytes;
            if (stopped) {
                // What is left is not counted: every folder above ends as it is.
                for (TFolder& above : folders)
                    above.next = above.subdirectories.size();
            }
            continue;
        }
        const std::string name = folder.subdirectories[folder.next++];
        auto child = std::make_shared<platform::DirectoryListing>(chain.Deepest(), name, false);
        if (!child->IsOpen())
            continue;
        if (!path.empty() && path.back() != '/' && path.back() != platform::PathSeparator())
            path += platform::PathSeparator();
        path += name;
        enter(child, name);
    }
    return total;
}

bool DeleteHeldTree(platform::DirectoryHandle& dir, bool deleteFiles, bool recurse, int depth,
                    const TTreeDeletion& rules)
{
    using platform::HeldKind;
    dir.AllowEntryRemoval();
    std::vector<platform::HeldEntry> entries;
    dir.List(entries);
    bool result = false;
    // Read first, then delete: removing entries while the system still enumerates may skip some.
    for (const platform::HeldEntry& entry : entries) {
        if (rules.stopRequested && rules.stopRequested())
            break;
        if (entry.attributes & (platform::kAttrHidden | platform::kAttrSystem))
            continue;
        if (entry.kind == HeldKind::Other)
            continue;  // never a file of this program's: a FIFO, socket or device
        if (rules.mayDelete && !rules.mayDelete(entry)) {
            result = false;
            continue;
        }
        if (entry.kind == HeldKind::Link) {
            // Only the link's own name goes, where a file would have gone.
            result = deleteFiles && dir.DeleteEntry(entry.name, entry);
            if (result && rules.removed)
                rules.removed(entry);
        } else if (entry.kind == HeldKind::Directory) {
            result = false;
            if (!recurse || entry.mountPoint || depth >= kMaxDepth)
                continue;
            platform::DirectoryHandle subdirectory = dir.OpenSubdirectory(entry.name, &entry.identity);
            if (!subdirectory.IsOpen())
                continue;
            DeleteHeldTree(subdirectory, deleteFiles, recurse, depth + 1, rules);
            result = dir.RemoveSubdirectory(entry.name, entry.identity);
            if (!result)
                subdirectory.RestoreMode();
        } else {
            result = deleteFiles && dir.DeleteEntry(entry.name, entry);
            if (result && rules.removed)
                rules.removed(entry);
        }
    }
    return result;
}

std::string ParentOf(const std::string& path, std::string& name)
{
    std::string trimmed = TFileRoutines::ExcludeTrailingSeparator(path);
    size_t at = trimmed.size();
    while (at > 0 && trimmed[at - 1] != '/' && trimmed[at - 1] != platform::PathSeparator())
        --at;
    name = trimmed.substr(at);
    return at == 0 ? std::string(".") : trimmed.substr(0, at);
}

bool IsPathSeparator(char ch) { return ch == '/' || ch == '\\'; }

std::string JoinName(const std::string& folder, const std::string& name)
{
    return folder.back() == '\\' ? folder + name : folder + '\\' + name;
}

// Folders as their parents list them, by the text they were asked under. The scanner asks for
// every object it finds, so each folder is looked up once; the bound keeps a long walk small.
class TFolderSpellings {
public:
    bool Find(const std::string& given, std::string& listed)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = spellings_.find(given);
        if (found == spellings_.end())
            return false;
        listed = found->second;
        return true;
    }
    void Store(const std::string& given, const std::string& listed)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (spellings_.size() >= kLimit)
            spellings_.clear();
        spellings_[given] = listed;
    }

private:
    static constexpr size_t kLimit = 4096;
    std::mutex mutex_;
    std::unordered_map<std::string, std::string> spellings_;
};

TFolderSpellings& FolderSpellings()
{
    static TFolderSpellings spellings;
    return spellings;
}

// The entry of parent named name, as the parent lists it. The system's own lookup compares
// without letter case and also matches an 8.3 alias, whose entry then gives the long name.
bool ListedName(const std::string& parent, const std::string& name, std::string& listed)
{
    // Those characters would make the name a pattern that matches other entries.
    if (name.find_first_of("*?<>\"") != std::string::npos)
        return false;
    bool found = false;
    platform::EnumerateDirectory(parent, [&](const DirectoryEntry& entry) {
        listed = entry.name;
        found = true;
        return false;
    }, name);
    return found;
}

// "C:\" (its letter in capitals) or "\\server\share\" and where the names after it begin;
// false for any other form.
bool SplitRoot(const std::string& path, std::string& root, size_t& rest)
{
    if (path.size() >= 3 && path[1] == ':' && IsPathSeparator(path[2]) &&
        std::isalpha(static_cast<unsigned char>(path[0]))) {
        root = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) + ":\\";
        rest = 3;
        return true;
    }
    if (path.size() < 5 || !IsPathSeparator(path[0]) || !IsPathSeparator(path[1]) || path[2] == '?' ||
        path[2] == '.')
        return false;
    const size_t server = path.find_first_of("\\/", 2);
    if (server == std::string::npos || server == 2)
        return false;
    size_t share = path.find_first_of("\\/", server + 1);
    if (share == server + 1)
        return false;
    if (share == std::string::npos)
        share = path.size();
    root = path.substr(0, share) + '\\';
    std::replace(root.begin(), root.end(), '/', '\\');
    rest = share;
    return true;
}

// The path rebuilt from the root down with each name as its folder lists it, so that spellings
// differing in letter case (or naming 8.3 aliases) give one text; "" when a name is missing or
// the path has another form.
std::string ListedSpelling(const std::string& path)
{
    std::string root;
    size_t at = 0;
    if (!SplitRoot(path, root, at))
        return {};
    std::vector<std::string> names;
    while (at < path.size()) {
        size_t end = at;
        while (end < path.size() && !IsPathSeparator(path[end]))
            ++end;
        if (end > at)
            names.push_back(path.substr(at, end - at));
        at = end + 1;
    }
    if (names.empty())
        return {};
    for (const std::string& name : names)
        if (name == "." || name == "..")
            return {};
    // given[i]: the folder of the first i names as asked.
    std::vector<std::string> given(names.size(), root);
    for (size_t i = 1; i < names.size(); ++i)
        given[i] = JoinName(given[i - 1], names[i - 1]);
    size_t known = 0;
    std::string listed = root;
    for (size_t i = names.size() - 1; i > 0; --i)
        if (FolderSpellings().Find(given[i], listed)) {
            known = i;
            break;
        }
    for (size_t i = known; i < names.size(); ++i) {
        std::string name;
        if (!ListedName(listed, names[i], name))
            return {};
        listed = JoinName(listed, name);
        if (i + 1 < names.size())
            FolderSpellings().Store(given[i + 1], listed);
    }
    if (IsPathSeparator(path.back()))
        listed += '\\';
    return listed;
}

} // namespace

bool TDirectoryRoutines::IsDirectory(const std::string& path)
{
    const uint32_t attributes = platform::GetAttributesAt(path);
    return attributes != platform::kInvalidAttributes && IsDir(attributes);
}

bool TDirectoryRoutines::IsDriveRoot(const std::string& text)
{
    return (text.size() == 2 && text[1] == ':') || (text.size() == 3 && text[2] == '\\');
}

bool TDirectoryRoutines::AllDirectoriesExist(const TStringList& list)
{
    if (list.empty())
        return false;
    for (const std::string& dir : list)
        if (!platform::DirectoryExists(dir))
            return false;
    return true;
}

TStringList TDirectoryRoutines::ListSubdirectories(const std::string& dir)
{
    TStringList result;
    if (dir.empty())
        return result;
    const std::string base = TFileRoutines::IncludeTrailingSeparator(dir);
    platform::EnumerateDirectory(dir, [&](const DirectoryEntry& entry) {
        if (IsDir(entry.attributes))
            result.push_back(base + entry.name);
        return true;
    });
    return result;
}

int64_t TDirectoryRoutines::GetDirectorySize(const std::string& dir, bool recurse,
                                             const std::function<bool()>& stopRequested,
                                             std::unordered_map<std::string, int64_t>* subdirectorySizes)
{
    const uint32_t attributes = platform::GetAttributesAt(dir);
    if (attributes == platform::kInvalidAttributes || !IsDir(attributes) || IsLink(attributes))
        return 0;
    const auto root = std::make_shared<platform::DirectoryListing>(dir);
    if (!root->IsOpen())
        return 0;
    return SizeOf(root, TFileRoutines::ExcludeTrailingSeparator(dir), recurse, stopRequested, subdirectorySizes);
}

int64_t TDirectoryRoutines::GetDirectorySize(const platform::DirectoryListing& parent, const std::string& name,
                                             const std::string& path, const std::function<bool()>& stopRequested,
                                             std::unordered_map<std::string, int64_t>* subdirectorySizes)
{
    const auto root = std::make_shared<platform::DirectoryListing>(parent, name, false);
    if (!root->IsOpen())
        return 0;
    return SizeOf(root, path, true, stopRequested, subdirectorySizes);
}

void THeldFolderChain::Push(std::shared_ptr<platform::DirectoryListing> listing, std::string name, bool followed)
{
    steps_.push_back({std::move(listing), std::move(name), followed});
    // The one that just left the deepest few goes, unless it is the start or a waypoint.
    if (steps_.size() > kChainHeld && !Keeps(steps_.size() - 1 - kChainHeld))
        steps_[steps_.size() - 1 - kChainHeld].listing->Release();
}

void THeldFolderChain::Pop()
{
    steps_.back().listing->Release();
    steps_.pop_back();
}

bool THeldFolderChain::Keeps(size_t index) const
{
    return index == 0 || index % kChainWaypoint == 0 || index + kChainHeld >= steps_.size();
}

bool THeldFolderChain::HoldDeepest()
{
    if (steps_.empty())
        return false;
    size_t held = steps_.size() - 1;
    while (held > 0 && !steps_[held].listing->IsHeld())
        --held;
    if (!steps_[held].listing->IsHeld())
        return false;
    for (size_t i = held + 1; i < steps_.size(); ++i) {
        if (!steps_[i].listing->Rehold(*steps_[i - 1].listing, steps_[i].name, steps_[i].followed))
            return false;
        if (!Keeps(i - 1))
            steps_[i - 1].listing->Release();
    }
    return true;
}

int64_t TDirectoryRoutines::GetDirectoryDate(const std::string& path)
{
    DirectoryEntry entry;
    if (!platform::QueryEntry(path, entry) || !IsDir(entry.attributes))
        return -1;
    platform::LocalTime local{};
    if (!platform::FileTimeToLocalParts(entry.lastWriteTime, local))
        return -1;
    // The DOS form holds the years 1980 to 2107 only.
    if (local.year < 1980 || local.year > 2107)
        return -1;
    const uint32_t date = static_cast<uint32_t>(((local.year - 1980) << 9) | (local.month << 5) | local.day);
    const uint32_t time = static_cast<uint32_t>((local.hour << 11) | (local.minute << 5) | (local.second / 2));
    return static_cast<int64_t>((date << 16) | time);
}

std::string TDirectoryRoutines::ExpandLongPath(const std::string& path)
{
    if (IsDriveRoot(path))
        return path.substr(0, 2);
    if (path.empty())
        return path;
    // Windows names ignore letter case: one object must have one text, whatever spelling led to it.
    if (platform::PathSeparator() == '\\') {
        const std::string listed = ListedSpelling(path);
        if (!listed.empty())
            return listed;
    }
    std::string result;
    if (platform::LongPathName(path, result))
        return result;
    return path;
}

std::string TDirectoryRoutines::NormalizeFolderPath(const std::string& path)
{
    std::string text = path;
    if (platform::PathSeparator() == '\\')
        std::replace(text.begin(), text.end(), '/', '\\');
    text = TFileRoutines::ExcludeTrailingSeparator(text);
    if (IsDriveRoot(text))
        return text.substr(0, 2) + "\\";
    if (text.size() == 1 && (text[0] == '/' || text[0] == platform::PathSeparator()))
        return text;
    return TFileRoutines::ExcludeTrailingSeparator(ExpandLongPath(text));
}

bool TDirectoryRoutines::ForceRemoveDirectory(const std::string& path)
{
    TFileRoutines::ClearAttributes(path);
    return platform::RemoveDirectoryAt(path);
}

bool TDirectoryRoutines::IsEmptyDirectory(const std::string& dir)
{
    const uint32_t attributes = platform::GetAttributesAt(dir);
    // A link to an empty folder is not an empty folder of this tree.
    if (attributes == platform::kInvalidAttributes || !IsDir(attributes) || IsLink(attributes))
        return false;
    bool hasEntries = true;
    return platform::DirectoryHasEntries(dir, hasEntries) && !hasEntries && !TDetect::IsDirectoryReadOnly(dir);
}

bool TDirectoryRoutines::DeleteTree(const std::string& dir, const std::string& root, bool deleteFiles, bool recurse,
                                    const TTreeDeletion& rules)
{
    const uint32_t attributes = platform::GetAttributesAt(dir);
    if (attributes == platform::kInvalidAttributes || !IsDir(attributes) || IsLink(attributes))
        return false;
    if (TFileRoutines::IncludeTrailingSeparator(dir) == root) {
        // Opening by path follows a link at the last step too: the folder opened must be the very
        // one found at the path itself, never what a link swapped in since leads to.
        platform::FileIdentity found;
        if (!platform::QueryOwnIdentity(dir, found))
            return false;
        platform::DirectoryHandle held = platform::DirectoryHandle::Open(dir);
        if (!held.IsOpen() || !(held.Identity() == found))
            return false;
        const bool result = DeleteHeldTree(held, deleteFiles, recurse, 0, rules);
        held.RestoreMode();
        return result;
    }
    // The folder goes too: it is held through its parent, so the one emptied is the one removed.
    std::string name;
    platform::DirectoryHandle parent = platform::DirectoryHandle::Open(ParentOf(dir, name));
    platform::DirectoryHandle held = parent.OpenSubdirectory(name);
    if (!held.IsOpen())
        return false;
    DeleteHeldTree(held, deleteFiles, recurse, 0, rules);
    const bool result = parent.RemoveSubdirectory(name, held.Identity());
    if (!result)
        held.RestoreMode();
    return result;
}

bool TDirectoryRoutines::DeleteTreeContents(platform::DirectoryHandle& dir, bool deleteFiles, bool recurse,
                                            const TTreeDeletion& rules)
{
    const bool result = DeleteHeldTree(dir, deleteFiles, recurse, 0, rules);
    dir.RestoreMode();
    return result;
}
