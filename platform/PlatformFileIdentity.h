#pragma once
// Which file system object a path leads to, so a walk can tell a directory it has already seen.
#include <cstdint>
#include <string>

namespace platform {

// Device and file number on POSIX; volume serial and file index on Windows.
struct FileIdentity {
    uint64_t volume = 0;
    uint64_t file = 0;

    bool operator==(const FileIdentity& other) const { return volume == other.volume && file == other.file; }
    bool operator<(const FileIdentity& other) const
    {
        return volume != other.volume ? volume < other.volume : file < other.file;
    }
};

// The identity of the object path leads to (a link is followed); false when it cannot be read.
bool QueryFileIdentity(const std::string& path, FileIdentity& identity);

// Whether the object at path belongs to the user this program runs as: the entry itself and, for a
// link, what it leads to when that can be read. False when the entry cannot be read. Always true
// on Windows, where the system's access control alone decides what a user may delete.
bool OwnedByCurrentUser(const std::string& path);

} // namespace platform
