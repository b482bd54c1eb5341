#include "platform/PlatformDirectory.h"
#include "platform/PlatformHeldDirectory.h"
#include "platform/posix/PosixHeldNames.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform {

namespace {

// O_NONBLOCK: a FIFO swapped in for a file must not hold the worker.
constexpr int kOpenDirectory = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

bool StatAt(int dirFd, const char* name, int flags, struct statx& sx)
{
    return statx(dirFd, name, flags | AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS, &sx) == 0;
}

// A folder below a held one is a mount point when it roots a mount (a bind mount shares the
// device, so the kernel's mark is asked too) or lies on another device.
bool FillEntry(const struct statx& sx, const FileIdentity& parent, const std::string& name, HeldEntry& entry)
{
    const mode_t mode = sx.stx_mode;
    entry.name = name;
    entry.identity = IdentityOf(sx);
    entry.linkCount = sx.stx_nlink;
    entry.size = S_ISREG(mode) ? static_cast<int64_t>(sx.stx_size) : 0;
    entry.modified = ModifiedOf(sx);
    entry.mountPoint = false;
    entry.ownedByCurrentUser = sx.stx_uid == geteuid();
    entry.attributes = 0;
    if (S_ISLNK(mode)) {
        entry.kind = HeldKind::Link;
        entry.attributes = kAttrReparsePoint;
    } else if (S_ISDIR(mode)) {
        entry.kind = HeldKind::Directory;
        entry.attributes = kAttrDirectory;
        entry.mountPoint = RootsMount(sx) || entry.identity.volume != parent.volume;
        if (entry.mountPoint)
            entry.attributes |= kAttrReparsePoint;
    } else {
        entry.kind = S_ISREG(mode) ? HeldKind::File : HeldKind::Other;
    }
    if (!S_ISLNK(mode) && (mode & 0222) == 0)
        entry.attributes |= kAttrReadOnly;
    if (!name.empty() && name[0] == '.')
        entry.attributes |= kAttrHidden;
    return true;
}

bool SameKindAndIdentity(const HeldEntry& now, const HeldEntry& expected)
{
    return now.kind == expected.kind && now.identity == expected.identity;
}

// A hidden name no one else would choose: this process, a counter, and a per-run stamp.
std::string AsideName()
{
    static std::atomic<uint64_t> counter{0};
    static const uint64_t stamp = static_cast<uint64_t>(time(nullptr)) ^ (reinterpret_cast<uintptr_t>(&counter) << 8);
    char text[64];
    std::snprintf(text, sizeof text, ".qs-aside-%d-%llx-%llx", static_cast<int>(getpid()),
                  static_cast<unsigned long long>(stamp), static_cast<unsigned long long>(++counter));
    return text;
}

// Renames from to to within dirFd, never over an existing entry. Where the file system cannot
// promise that, the target's absence is checked first: its name is one no one else uses.
bool RenameNoReplace(int dirFd, const std::string& from, const std::string& to)
{
    if (renameat2(dirFd, from.c_str(), dirFd, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    struct statx sx {};
    if (StatAt(dirFd, to.c_str(), 0, sx)) {
        errno = EEXIST;
        return false;
    }
    if (errno != ENOENT)
        return false;
    return renameat(dirFd, from.c_str(), dirFd, to.c_str()) == 0;
}

// No call removes an entry by what it is rather than by its name, and a name can be exchanged
// for another between any look and the removal. So the object goes to a name of its own first,
// is looked at there, and only that name is removed; anything else found there goes back.
bool RemoveAside(const DirectoryHandle& folder, int fd, const std::string& name, const HeldEntry& expected,
                 HeldEntry* removed = nullptr)
{
    std::string aside;
    for (int attempt = 0; attempt < 4 && aside.empty(); ++attempt) {
        const std::string candidate = AsideName();
        if (RenameNoReplace(fd, name, candidate))
            aside = candidate;
        else if (errno != EEXIST)
            return false;
    }
    if (aside.empty())
        return false;
    HeldEntry moved;
    const bool directory = expected.kind == HeldKind::Directory;
    if (folder.Describe(aside, moved) && SameKindAndIdentity(moved, expected) && !moved.mountPoint &&
        ::unlinkat(fd, aside.c_str(), directory ? AT_REMOVEDIR : 0) == 0) {
        if (removed) {
            *removed = moved;
            removed->name = name;
        }
        return true;
    }
    // Never over whatever took the name meanwhile: then it stays under the name it has now.
    RenameNoReplace(fd, aside, name);
    return false;
}

// Whether the folder open as fd holds anything, read without describing a single entry.
bool HasEntries(int fd)
{
    const int listing = ::openat(fd, ".", kOpenDirectory);
    DIR* dir = listing >= 0 ? fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return true;
    }
    bool any = false;
    while (const dirent* item = readdir(dir))
        if (std::string(item->d_name) != "." && std::string(item->d_name) != "..") {
            any = true;
            break;
        }
    closedir(dir);
    return any;
}

} // namespace

void DirectoryHandle::CloseNative(intptr_t handle)
{
    ::close(static_cast<int>(handle));
}

DirectoryHandle DirectoryHandle::Open(const std::string& path)
{
    DirectoryHandle result;
    if (path.empty())
        return result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return result;
    struct statx sx {};
    if (!StatAt(fd, "", AT_EMPTY_PATH, sx)) {
        ::close(fd);
        return result;
    }
    result.handle_ = fd;
    result.identity_ = IdentityOf(sx);
    return result;
}

bool DirectoryHandle::IsOpen() const { return handle_ >= 0; }

bool DirectoryHandle::Describe(const std::string& name, HeldEntry& entry) const
{
    struct statx sx {};
    if (!IsOpen() || !IsChildName(name) || !StatAt(static_cast<int>(handle_), name.c_str(), 0, sx))
        return false;
    return FillEntry(sx, identity_, name, entry);
}

bool DirectoryHandle::List(std::vector<HeldEntry>& entries) const
{
    entries.clear();
    if (!IsOpen())
        return false;
    // The listing gets its own descriptor: readdir moves it, and this handle stays reusable.
    const int fd = ::openat(static_cast<int>(handle_), ".", kOpenDirectory);
    if (fd < 0)
        return false;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    HeldEntry entry;
    while (dirent* item = readdir(dir)) {
        const std::string name = item->d_name;
        if (name == "." || name == "..")
            continue;
        if (Describe(name, entry))
            entries.push_back(entry);
    }
    closedir(dir);
    return true;
}

DirectoryHandle DirectoryHandle::OpenSubdirectory(const std::string& name, const FileIdentity* expected) const
{
    DirectoryHandle result;
    HeldEntry before;
    if (!Describe(name, before) || before.kind != HeldKind::Directory || before.mountPoint)
        return result;
    const int fd = ::openat(static_cast<int>(handle_), name.c_str(), kOpenDirectory);
    if (fd < 0)
        return result;
    // What was opened is what counts: a mount placed or a folder swapped since the look above.
    struct statx sx {};
    const bool sound = StatAt(fd, "", AT_EMPTY_PATH, sx) && S_ISDIR(sx.stx_mode) && !RootsMount(sx) &&
                       IdentityOf(sx) == before.identity && IdentityOf(sx).volume == identity_.volume &&
                       (!expected || IdentityOf(sx) == *expected);
    if (!sound) {
        ::close(fd);
        return result;
    }
    result.handle_ = fd;
    result.identity_ = IdentityOf(sx);
    return result;
}

bool DirectoryHandle::StillHolds(const std::string& name, const DirectoryHandle& child) const
{
    HeldEntry entry;
    return child.IsOpen() && Describe(name, entry) && entry.kind == HeldKind::Directory && !entry.mountPoint &&
           entry.identity == child.identity_;
}

bool DirectoryHandle::StillAt(const std::string& path) const
{
    FileIdentity now;
    return IsOpen() && QueryFileIdentity(path, now) && now == identity_;
}

bool DirectoryHandle::DeleteEntry(const std::string& name, const HeldEntry& expected, HeldEntry* removed) const
{
    HeldEntry now;
    if (!Describe(name, now) || !SameKindAndIdentity(now, expected))
        return false;
    if (now.kind != HeldKind::File && now.kind != HeldKind::Link)
        return false;
    // Removing a name never needs the file's own mode changed.
    return RemoveAside(*this, static_cast<int>(handle_), name, now, removed);
}

bool DirectoryHandle::RemoveSubdirectory(const std::string& name, const FileIdentity& expected) const
{
    HeldEntry now;
    if (!Describe(name, now) || now.kind != HeldKind::Directory || now.mountPoint || !(now.identity == expected))
        return false;
    // A folder that still holds entries stays where it is: moving it aside and back would take it
    // from under its name for a moment, and programs may be using it. One that cannot be read
    // is tried all the same; its removal fails when it is not empty.
    const DirectoryHandle held = OpenSubdirectory(name, &expected);
    if (held.IsOpen() && HasEntries(static_cast<int>(held.handle_)))
        return false;
    return RemoveAside(*this, static_cast<int>(handle_), name, now);
}

FileHandle DirectoryHandle::OpenForRewrite(const std::string& name, const FileIdentity& expected) const
{
    if (!IsOpen() || !IsChildName(name))
        return FileHandle();
    const int fd = ::openat(static_cast<int>(handle_), name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FileHandle();
    struct statx sx {};
    // Checked on the open file: a regular file that is the one scanned, writable (Windows refuses
    // a read-only file even to an administrator), and whose data no other name shares.
    const bool sound = StatAt(fd, "", AT_EMPTY_PATH, sx) && S_ISREG(sx.stx_mode) && IdentityOf(sx) == expected &&
                       (sx.stx_mode & 0222) != 0 && sx.stx_nlink == 1;
    if (!sound) {
        ::close(fd);
        return FileHandle();
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return FileHandle(fd);
}

bool DirectoryHandle::AllowEntryRemoval()
{
    struct stat st {};
    if (!IsOpen() || fstat(static_cast<int>(handle_), &st) != 0)
        return false;
    if (st.st_mode & S_IWUSR)
        return true;
    if (fchmod(static_cast<int>(handle_), (st.st_mode & 07777) | S_IWUSR) != 0)
        return false;
    if (!modeChanged_) {
        originalMode_ = st.st_mode & 07777;
        modeChanged_ = true;
    }
    return true;
}

void DirectoryHandle::RestoreMode()
{
    if (modeChanged_ && IsOpen())
        fchmod(static_cast<int>(handle_), originalMode_);
    modeChanged_ = false;
}

bool QueryOwnIdentity(const std::string& path, FileIdentity& identity)
{
    struct statx sx {};
    if (path.empty() || !StatAt(AT_FDCWD, path.c_str(), 0, sx))
        return false;
    identity = IdentityOf(sx);
    return true;
}

bool FileHandle::AllocatedRanges(std::vector<std::pair<int64_t, int64_t>>& ranges)
{
    ranges.clear();
    const int64_t size = Size();
    if (size < 0)
        return false;
    const int fd = static_cast<int>(handle_);
    int64_t at = 0;
    while (at < size) {
        const off_t data = lseek(fd, at, SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO)
                break;  // only a hole remains
            ranges.assign(1, {0, size});  // the file system cannot tell: all of it
            return true;
        }
        off_t hole = lseek(fd, data, SEEK_HOLE);
        if (hole < 0 || hole > size)
            hole = size;
        if (hole <= data)
            break;
        ranges.emplace_back(data, hole - data);
        at = hole;
    }
    return true;
}

} // namespace platform
