#pragma once
// Which files running programs hold open. Windows refuses to delete such a file by itself; Linux
// lets the delete succeed, so the cleaner asks here to keep Windows' answer.
#include <cstdint>
#include <set>
#include <string>

namespace platform {

// A regular file by device and file number, whatever name it is reached by.
struct HeldFile {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator<(const HeldFile& other) const
    {
        return device != other.device ? device < other.device : inode < other.inode;
    }
};

// Every regular file that some process (this one included) holds open, as far as this user may
// look. Empty on Windows, where the delete itself refuses such files.
std::set<HeldFile> FilesHeldOpen();

// The regular file at path itself, to look up in FilesHeldOpen; false for links, directories,
// missing entries, and always on Windows.
bool HeldFileAt(const std::string& path, HeldFile& file);

} // namespace platform
