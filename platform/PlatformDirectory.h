#pragma once
// Directory entries and their attributes, read without following links; all paths are UTF-8.
#include "platform/PlatformFileIdentity.h"
#include "platform/PlatformSystem.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Attribute bits with their Windows values. The POSIX layer derives them from the mode and the
// name: read-only = no write permission bit, hidden = leading dot, directory, and reparse point
// for a symbolic link (plus the directory bit when the link points to a directory).
enum : uint32_t {
    kAttrReadOnly = 0x1,
    kAttrHidden = 0x2,
    kAttrSystem = 0x4,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrReparsePoint = 0x400,
};

// Value of GetAttributesAt for a path that cannot be read.
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFFu;

// Times are Windows file times: 100-nanosecond steps since 1601-01-01 UTC.
// 0 means the file system did not record that time (creation time on many Linux file systems).
constexpr int64_t kTimeNotRecorded = 0;

struct DirectoryEntry {
    std::string name;  // the entry's own name, without its directory
    uint32_t attributes = 0;
    int64_t size = 0;  // a link counts as itself, never as its target
    int64_t creationTime = kTimeNotRecorded;
    int64_t lastWriteTime = kTimeNotRecorded;
    int64_t lastAccessTime = kTimeNotRecorded;
    // A folder that roots another file system (reported as a reparse point too): never entered,
    // whether links are followed or not.
    bool mountPoint = false;
    // The entry itself, where reading its facts told it (POSIX); unset otherwise.
    FileIdentity identity;
};

// What a directory listing says of an entry without asking the file system again.
enum class ListedKind : uint8_t { File, Directory, Link, Other, Unknown };

struct ListedEntry {
    std::string name;
    ListedKind kind = ListedKind::Unknown;
};

// How a folder opened below a held one turned out.
enum class ListingOutcome : uint8_t {
    Listed,
    Unreadable,       // gone, not a folder any more, or not to be read
    Link,             // a link (on Windows also what is reached elsewhere than its name says)
    OtherFileSystem,  // a mount point or another volume
};

// A directory read once. Names and kinds come straight from the listing, so entries can be
// rejected by name for nothing; the rest of an entry's facts are read only when Describe asks
// (on Windows the listing already holds them all, and Describe costs nothing).
class DirectoryListing {
public:
    // The directory at path; links on the way, the last one included, are followed.
    explicit DirectoryListing(const std::string& directory);
    // The child folder name of parent, which must be held, opened relative to it: no path is
    // resolved again, so neither depth nor path length limits a walk. Unless followLink, a link
    // or a mount point is refused (Outcome tells which).
    DirectoryListing(const DirectoryListing& parent, const std::string& name, bool followLink);
    ~DirectoryListing();
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;

    // False when the directory could not be opened (then there are no entries).
    bool IsOpen() const { return open_; }
    ListingOutcome Outcome() const { return outcome_; }
    // The directory itself, as opened.
    const FileIdentity& Identity() const { return identity_; }
    // Whether the listing still holds the directory open.
    bool IsHeld() const { return handle_ != -1; }
    // Holds a released listing again through parent (held) by the same name and way, only when
    // that still leads to the same directory; false otherwise.
    bool Rehold(const DirectoryListing& parent, const std::string& name, bool followLink);
    const std::vector<ListedEntry>& Entries() const { return entries_; }
    // The entry's facts as EnumerateDirectory reports them (a mount point below this directory
    // marked), read once and kept; null for what is gone and for sockets, FIFOs and devices.
    const DirectoryEntry* Facts(size_t index);
    // Whether Facts and Identify can answer for the entry without the directory held.
    bool Knows(size_t index) const;
    // The entry's own identity (a link as itself); false when it cannot be read.
    bool Identify(size_t index, FileIdentity& identity) const;
    // Lets the directory go: a listing kept for long holds no handle, and later questions are
    // asked by path until it is held again.
    void Release();
    // The file system the directory is on, and whether the directory itself roots a mount: a walk
    // that enters a folder listed on one file system and finds another has crossed a mount point.
    uint64_t Device() const { return device_; }
    bool IsMountRoot() const { return mountRoot_; }

private:
    bool Describe(size_t index, DirectoryEntry& entry) const;
    // Reads the directory held by handle (owned from then on); parent, when not followed through a
    // link, is where it must lie on the same file system (on Windows its identity is then known).
    void Read(intptr_t handle, const DirectoryListing* parent);

    std::string directory_;
    std::vector<ListedEntry> entries_;
    bool open_ = false;
    ListingOutcome outcome_ = ListingOutcome::Unreadable;
    FileIdentity identity_;
    // Windows: where the directory really is, to tell a child reached through a link.
    std::string finalPath_;
    intptr_t handle_ = -1;
    uint64_t device_ = 0;
    bool mountRoot_ = false;
    // Facts read so far (a deque keeps them in place as it grows), and per entry where its facts
    // are: kNotRead, kUnreadable or a position in facts_. Most entries are never described.
    std::deque<DirectoryEntry> facts_;
    std::vector<int32_t> slots_;
    // Windows: whether the listing's file ids proved to be the entries' own (-1: not asked yet).
    // The file system numbers every folder alike, so the folders opened below this one on the same
    // volume share the answer, and one object asked spares a walk asking one in every folder.
    std::shared_ptr<int8_t> listedIds_ = std::make_shared<int8_t>(-1);
    static constexpr int32_t kNotRead = -2;
    static constexpr int32_t kUnreadable = -1;
};

// Calls visit for every entry of directory except "." and "..", in the system's order, until visit
// returns false. Sockets, FIFOs and devices are not reported. With a pattern other than "*" the
// system's own wildcard filter applies (on Windows it also matches 8.3 names). False when the
// directory cannot be opened.
bool EnumerateDirectory(const std::string& directory, const std::function<bool(const DirectoryEntry&)>& visit,
                        const std::string& pattern = "*");

// The entry at path itself (a link is described, not followed); false when it cannot be read.
bool QueryEntry(const std::string& path, DirectoryEntry& entry);

// Whether the directory holds any entry besides "." and ".." (of any kind); false when it cannot be listed.
bool DirectoryHasEntries(const std::string& directory, bool& hasEntries);

// Attributes of the path itself, kInvalidAttributes when unreadable.
uint32_t GetAttributesAt(const std::string& path);
// Sets read-only, hidden, system and archive where the system keeps them; links are left alone.
bool SetAttributesAt(const std::string& path, uint32_t attributes);

bool RemoveDirectoryAt(const std::string& path);
// Lets the entries of a directory be removed. A folder's read-only bit never protects its entries
// on Windows (nothing to do there); on POSIX a directory without write permission does, so the
// owner's write permission is added.
bool AllowEntryRemoval(const std::string& directory);
// Removes a symbolic link, junction or other reparse point itself, never anything it points to.
bool DeleteLinkAt(const std::string& path);

// The long-name form of an existing path; false when the system cannot give it.
bool LongPathName(const std::string& path, std::string& result);

// A file time in the system's local time zone; false when a conversion fails.
bool FileTimeToLocalParts(int64_t fileTime, LocalTime& parts);

} // namespace platform
