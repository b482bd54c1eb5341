#include "platform/PlatformDirectory.h"
#include "platform/posix/PosixHeldNames.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int64_t kUnixEpochInFileTime = 116444736000000000LL;

int64_t ToFileTime(const struct statx_timestamp& ts)
{
    return kUnixEpochInFileTime + static_cast<int64_t>(ts.tv_sec) * 10000000 + ts.tv_nsec / 100;
}

struct DirCloser {
    DIR* dir;
    ~DirCloser()
    {
        if (dir)
            closedir(dir);
    }
};

// Fills entry from the object at (dirFd, name) itself; false for what this program never treats
// as a file (sockets, FIFOs, devices) and for what cannot be read. Inside a listing, a directory
// on another device than the listed one is a mount point: like a mounted folder on Windows it is
// reported as a reparse point, so no walk or delete ever crosses into the other file system
// (a bind mount shares the device, so the kernel's own mount-root mark is asked too).
bool DescribeAt(int dirFd, const char* path, const std::string& name, DirectoryEntry& entry,
              const struct stat* listed = nullptr)
{
    struct statx sx {};
    if (statx(dirFd, path, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
        return false;
    const mode_t mode = sx.stx_mode;
    uint32_t attributes = 0;
    entry.mountPoint = false;
    entry.identity = IdentityOf(sx);
    if (S_ISLNK(mode)) {
        attributes |= kAttrReparsePoint;
        struct stat target {};
        if (fstatat(dirFd, path, &target, 0) == 0 && S_ISDIR(target.st_mode))
            attributes |= kAttrDirectory;
    } else if (S_ISDIR(mode)) {
        attributes |= kAttrDirectory;
        const bool mountRoot = (sx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
                               (sx.stx_attributes & STATX_ATTR_MOUNT_ROOT);
        entry.mountPoint = listed && (mountRoot || makedev(sx.stx_dev_major, sx.stx_dev_minor) != listed->st_dev);
        if (entry.mountPoint)
            attributes |= kAttrReparsePoint;
    } else if (!S_ISREG(mode)) {
        return false;
    }
    if (!S_ISLNK(mode) && (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        attributes |= kAttrReadOnly;
    if (!name.empty() && name[0] == '.' && name != "." && name != "..")
        attributes |= kAttrHidden;
    entry.name = name;
    entry.attributes = attributes;
    entry.size = S_ISDIR(mode) ? 0 : static_cast<int64_t>(sx.stx_size);
    entry.creationTime = (sx.stx_mask & STATX_BTIME) ? ToFileTime(sx.stx_btime) : kTimeNotRecorded;
    entry.lastWriteTime = ToFileTime(sx.stx_mtime);
    entry.lastAccessTime = ToFileTime(sx.stx_atime);
    return true;
}

std::string LastComponent(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

// O_NONBLOCK: a FIFO swapped in for the folder must not hold the walk.
int OpenFlags(bool followLink)
{
    return O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK | (followLink ? 0 : O_NOFOLLOW);
}

ListedKind KindOf(unsigned char type)
{
    switch (type) {
    case DT_REG:
        return ListedKind::File;
    case DT_DIR:
        return ListedKind::Directory;
    case DT_LNK:
        return ListedKind::Link;
    case DT_UNKNOWN:
        return ListedKind::Unknown;
    default:
        return ListedKind::Other;
    }
}

} // namespace

DirectoryListing::DirectoryListing(const std::string& directory) : directory_(directory)
{
    // One open, one look at the folder itself, the raw listing and one close: what the kernel
    // needs to list a folder, and nothing more.
    const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0)
        Read(fd, nullptr);
}

DirectoryListing::DirectoryListing(const DirectoryListing& parent, const std::string& name, bool followLink)
    : directory_(parent.directory_.empty() || parent.directory_.back() == '/' ? parent.directory_ + name
                                                                                 : parent.directory_ + "/" + name)
{
    if (parent.handle_ == -1 || !IsChildName(name))
        return;
    const int fd = ::openat(static_cast<int>(parent.handle_), name.c_str(), OpenFlags(followLink));
    if (fd < 0) {
        if (!followLink && errno == ELOOP)
            outcome_ = ListingOutcome::Link;
        return;
    }
    Read(fd, followLink ? nullptr : &parent);
}

void DirectoryListing::Read(intptr_t handle, const DirectoryListing* parent)
{
    const int fd = static_cast<int>(handle);
    struct statx self {};
    if (statx(fd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_INO, &self) != 0) {
        ::close(fd);
        return;
    }
    const uint64_t device = makedev(self.stx_dev_major, self.stx_dev_minor);
    const bool mountRoot = RootsMount(self);
    // What was opened is what counts: a mount placed on the folder since its parent listed it.
    if (parent && (mountRoot || device != parent->device_)) {
        ::close(fd);
        outcome_ = ListingOutcome::OtherFileSystem;
        return;
    }
    open_ = true;
    outcome_ = ListingOutcome::Listed;
    handle_ = fd;
    device_ = device;
    mountRoot_ = mountRoot;
    identity_ = {device, static_cast<uint64_t>(self.stx_ino)};
    alignas(8) char buffer[32768];
    for (;;) {
        const ssize_t read = getdents64(fd, buffer, sizeof buffer);
        if (read <= 0)
            break;
        for (ssize_t at = 0; at < read;) {
            const auto* item = reinterpret_cast<const struct dirent64*>(buffer + at);
            at += item->d_reclen;
            const char* name = item->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            entries_.push_back({name, KindOf(item->d_type)});
        }
    }
}

bool DirectoryListing::Rehold(const DirectoryListing& parent, const std::string& name, bool followLink)
{
    if (handle_ != -1)
        return true;
    if (!open_ || parent.handle_ == -1 || !IsChildName(name))
        return false;
    const int fd = ::openat(static_cast<int>(parent.handle_), name.c_str(), OpenFlags(followLink));
    if (fd < 0)
        return false;
    struct statx self {};
    const bool same = statx(fd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_INO, &self) == 0 &&
                      IdentityOf(self) == identity_ &&
                      (followLink || !RootsMount(self));
    if (!same) {
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

DirectoryListing::~DirectoryListing() { Release(); }

void DirectoryListing::Release()
{
    if (handle_ != -1)
        ::close(static_cast<int>(handle_));
    handle_ = -1;
}

const DirectoryEntry* DirectoryListing::Facts(size_t index)
{
    if (index >= entries_.size())
        return nullptr;
    if (slots_.size() != entries_.size())
        slots_.assign(entries_.size(), kNotRead);
    if (slots_[index] == kNotRead) {
        DirectoryEntry entry;
        slots_[index] = kUnreadable;
        if (Describe(index, entry)) {
            slots_[index] = static_cast<int32_t>(facts_.size());
            facts_.push_back(std::move(entry));
        }
    }
    return slots_[index] >= 0 ? &facts_[static_cast<size_t>(slots_[index])] : nullptr;
}

bool DirectoryListing::Knows(size_t index) const
{
    return handle_ != -1 || (index < slots_.size() && slots_[index] != kNotRead);
}

bool DirectoryListing::Describe(size_t index, DirectoryEntry& entry) const
{
    if (!open_ || index >= entries_.size())
        return false;
    struct stat listed {};
    listed.st_dev = static_cast<dev_t>(device_);
    const std::string& name = entries_[index].name;
    if (handle_ != -1)
        return DescribeAt(static_cast<int>(handle_), name.c_str(), name, entry, &listed);
    return DescribeAt(AT_FDCWD, (directory_ + "/" + name).c_str(), name, entry, &listed);
}

bool DirectoryListing::Identify(size_t index, FileIdentity& identity) const
{
    if (!open_ || index >= entries_.size())
        return false;
    // Reading the facts told it already.
    if (index < slots_.size() && slots_[index] >= 0) {
        identity = facts_[static_cast<size_t>(slots_[index])].identity;
        return true;
    }
    struct stat st {};
    const std::string& name = entries_[index].name;
    const int found = handle_ != -1 ? fstatat(static_cast<int>(handle_), name.c_str(), &st, AT_SYMLINK_NOFOLLOW)
                                    : fstatat(AT_FDCWD, (directory_ + "/" + name).c_str(), &st, AT_SYMLINK_NOFOLLOW);
    if (found != 0)
        return false;
    identity = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    return true;
}

bool EnumerateDirectory(const std::string& directory, const std::function<bool(const DirectoryEntry&)>& visit,
                        const std::string& pattern)
{
    DirectoryListing listing(directory);
    if (!listing.IsOpen())
        return false;
    const bool everything = pattern.empty() || pattern == "*" || pattern == "*.*";
    for (size_t i = 0; i < listing.Entries().size(); ++i) {
        if (!everything && fnmatch(pattern.c_str(), listing.Entries()[i].name.c_str(), FNM_CASEFOLD) != 0)
            continue;
        const DirectoryEntry* entry = listing.Facts(i);
        if (entry && !visit(*entry))
            break;
    }
    return true;
}

bool QueryEntry(const std::string& path, DirectoryEntry& entry)
{
    if (path.empty())
        return false;
    return DescribeAt(AT_FDCWD, path.c_str(), LastComponent(path), entry);
}

bool DirectoryHasEntries(const std::string& directory, bool& hasEntries)
{
    hasEntries = false;
    DirCloser handle{opendir(directory.c_str())};
    if (!handle.dir)
        return false;
    while (dirent* item = readdir(handle.dir)) {
        const std::string name = item->d_name;
        if (name != "." && name != "..") {
            hasEntries = true;
            break;
        }
    }
    return true;
}

uint32_t GetAttributesAt(const std::string& path)
{
    DirectoryEntry entry;
    return QueryEntry(path, entry) ? entry.attributes : kInvalidAttributes;
}

bool SetAttributesAt(const std::string& path, uint32_t attributes)
{
    struct stat st {};
    // chmod would reach through a link to its target.
    if (lstat(path.c_str(), &st) != 0 || S_ISLNK(st.st_mode))
        return false;
    mode_t mode = st.st_mode & 07777;
    if (attributes & kAttrReadOnly)
        mode &= ~(S_IWUSR | S_IWGRP | S_IWOTH);
    else if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        mode |= S_IWUSR;
    if (mode == (st.st_mode & 07777))
        return true;
    return chmod(path.c_str(), mode) == 0;
}

bool RemoveDirectoryAt(const std::string& path) { return rmdir(path.c_str()) == 0; }

bool AllowEntryRemoval(const std::string& directory)
{
    struct stat st {};
    if (lstat(directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return (st.st_mode & S_IWUSR) || chmod(directory.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool DeleteLinkAt(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return false;
    return unlink(path.c_str()) == 0;
}

bool LongPathName(const std::string& path, std::string& result)
{
    // No short names here: an existing path is already in its long form.
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return false;
    result = path;
    return true;
}

bool FileTimeToLocalParts(int64_t fileTime, LocalTime& parts)
{
    if (fileTime < 0) {
        errno = EINVAL;
        return false;
    }
    const int64_t units = fileTime - kUnixEpochInFileTime;
    int64_t seconds = units / 10000000;
    int64_t rest = units % 10000000;
    if (rest < 0) {
        rest += 10000000;
        --seconds;
    }
    const time_t when = static_cast<time_t>(seconds);
    struct tm local {};
    if (localtime_r(&when, &local) == nullptr)
        return false;
    parts = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
             static_cast<int>(rest / 10000)};
    return true;
}

} // namespace platform
