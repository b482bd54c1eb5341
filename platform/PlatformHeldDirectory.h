#pragma once
// Deleting and rewriting through opened folders. Every child is reached relative to a folder the
// program already holds and checked on the object it then holds, never by resolving a path again:
// a link or mount swapped in while a clean runs is seen and refused rather than followed.
#include "platform/PlatformFileIdentity.h"
#include "platform/PlatformFiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class HeldKind : uint8_t {
    File,
    Directory,
    Link,   // a symbolic link, junction or other reparse point; on Windows also anything whose
            // final path is not the folder's own followed by its name (Wine shows a link as its target)
    Other,  // FIFOs, sockets, devices: never read, rewritten or deleted
};

// What a child is, read without following it.
struct HeldEntry {
    std::string name;
    HeldKind kind = HeldKind::Other;
    FileIdentity identity;
    uint32_t attributes = 0;  // kAttr* bits of PlatformDirectory.h
    uint32_t linkCount = 1;   // names sharing a file's data
    int64_t size = 0;
    // Last write: nanoseconds since 1970 on POSIX, FILETIME ticks on Windows.
    int64_t modified = 0;
    // A folder that roots another file system or volume: never entered, emptied or deleted through.
    bool mountPoint = false;
    // Whether the user running the program owns it (always so where files have no such owner).
    bool ownedByCurrentUser = true;
};

class DirectoryHandle {
public:
    DirectoryHandle() = default;
    ~DirectoryHandle();
    DirectoryHandle(DirectoryHandle&& other) noexcept;
    DirectoryHandle& operator=(DirectoryHandle&& other) noexcept;
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;

    // The folder at path. Links on the way, the last one included, are followed: the user chose the
    // folder by that path. Invalid when it is not a folder.
    static DirectoryHandle Open(const std::string& path);

    bool IsOpen() const;
    const FileIdentity& Identity() const { return identity_; }

    // The named child, not followed; false when it is gone or cannot be read.
    bool Describe(const std::string& name, HeldEntry& entry) const;
    // Every child but "." and "..", described, in the system's order; false when unreadable.
    bool List(std::vector<HeldEntry>& entries) const;

    // The named child folder, only when it is a real folder of the same file system (not a link,
    // not a mount point) and, when expected is given, still that folder. Invalid otherwise.
    DirectoryHandle OpenSubdirectory(const std::string& name, const FileIdentity* expected = nullptr) const;

    // Whether the named child is still child, held open since it was reached through this folder:
    // the same real folder of the same file system, at its place. What a held folder is checked by
    // before it is used again, since a held folder follows its folder wherever that is moved.
    bool StillHolds(const std::string& name, const DirectoryHandle& child) const;
    // Whether path, links followed as Open follows them, still leads to this very folder.
    bool StillAt(const std::string& path) const;

    // Removes the named file or link itself when it is still the expected object of the expected
    // kind; never its target, never a folder. A read-only file goes without its mode being changed
    // where the system allows; elsewhere its attribute is cleared only when no other name shares it.
    // removed, when given, receives the object as it was looked at right before it went.
    bool DeleteEntry(const std::string& name, const HeldEntry& expected, HeldEntry* removed = nullptr) const;
    // Removes the named empty child folder when it is still the expected one.
    bool RemoveSubdirectory(const std::string& name, const FileIdentity& expected) const;

    // The named regular file opened to be rewritten in place: refused for anything but the expected
    // writable regular file with no other hard link.
    FileHandle OpenForRewrite(const std::string& name, const FileIdentity& expected) const;

    // Lets this folder's entries be removed (on POSIX the owner's write permission; nothing on
    // Windows, where a folder's read-only bit never protects its entries). RestoreMode undoes it.
    bool AllowEntryRemoval();
    void RestoreMode();

private:
    friend class RecycleBins;  // moves a child from this very folder into a bin
    static void CloseNative(intptr_t handle);

    intptr_t handle_ = -1;
    FileIdentity identity_;
    uint32_t originalMode_ = 0;
    bool modeChanged_ = false;
    // Windows: where this folder really is, to tell a child reached through a link.
    std::string finalPath_;
};

// The identity of the object at path itself (a link as itself where the system can tell).
bool QueryOwnIdentity(const std::string& path, FileIdentity& identity);

} // namespace platform
