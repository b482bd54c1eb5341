#include "platform/PlatformRestore.h"
#include "platform/posix/PosixHeldNames.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <utility>

namespace platform {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK;

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }

private:
    int fd_;
};

bool StatAt(int dirFd, const std::string& name, struct statx& sx)
{
    return statx(dirFd, name.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS, &sx) == 0;
}

bool IsExpected(const struct statx& sx, const RestoreExpectation& expected)
{
    if (!(IdentityOf(sx) == expected.identity))
        return false;
    switch (expected.kind) {
    case RestoreKind::Folder: return S_ISDIR(sx.stx_mode);
    case RestoreKind::Link: return S_ISLNK(sx.stx_mode);
    default:
        if (!S_ISREG(sx.stx_mode) || (expected.modified >= 0 && expected.modified != ModifiedOf(sx)))
            return false;
        if (expected.fileSizes.empty())
            return true;
        for (const int64_t size : expected.fileSizes)
            if (size == static_cast<int64_t>(sx.stx_size))
                return true;
        return false;
    }
}

// The named child folder of parent, never through a link; made first when create is set.
Fd OpenFolderBelow(int parent, const std::string& name, bool create, std::string& detail)
{
    if (!IsChildName(name)) {
        detail = "\"" + name + "\" is no folder name";
        return Fd();
    }
    Fd fd(::openat(parent, name.c_str(), kFolderFlags | O_NOFOLLOW));
    if (!fd.ok() && errno == ENOENT && create) {
        // Another process may make it meanwhile: whatever is there then is opened and checked.
        if (::mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST) {
            detail = "\"" + name + "\" cannot be made: " + std::strerror(errno);
            return Fd();
        }
        fd = Fd(::openat(parent, name.c_str(), kFolderFlags | O_NOFOLLOW));
    }
    if (!fd.ok())
        detail = errno == ELOOP || errno == ENOTDIR ? "\"" + name + "\" on its way is a link or no folder"
                 : errno == ENOENT                   ? "\"" + name + "\" on its way is missing"
                                                     : "\"" + name + "\": " + std::strerror(errno);
    return fd;
}

// The folder place.name goes into, held.
Fd OpenPlace(const RestorePlace& place, bool create, std::string& detail)
{
    Fd fd(::open(place.anchor.c_str(), kFolderFlags));
    if (!fd.ok()) {
        detail = "\"" + place.anchor + "\": " + std::strerror(errno);
        return fd;
    }
    for (const std::string& folder : place.folders) {
        fd = OpenFolderBelow(fd.get(), folder, create, detail);
        if (!fd.ok())
            return fd;
    }
    return fd;
}

// A hidden name no one else would choose: this process and a counter.
std::string AsideName()
{
    static std::atomic<uint64_t> counter{0};
    return ".qs-restore-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

// Never over an existing entry. Where the file system cannot promise that, a file gets its new
// name as a second link (which never replaces) and loses the old one; anything else is renamed
// after its place is seen free, the one step that another process could still slip into.
bool MoveNoReplace(int fromFd, const std::string& from, int toFd, const std::string& to, bool file)
{
    if (renameat2(fromFd, from.c_str(), toFd, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (file) {
        if (::linkat(fromFd, from.c_str(), toFd, to.c_str(), 0) != 0)
            return false;
        ::unlinkat(fromFd, from.c_str(), 0);
        return true;
    }
    struct statx sx {};
    if (StatAt(toFd, to, sx)) {
        errno = EEXIST;
        return false;
    }
    return errno == ENOENT && renameat(fromFd, from.c_str(), toFd, to.c_str()) == 0;
}

} // namespace

RestoreOutcome RestoreFromBin(const BinEntry& bin, const RestorePlace& place, const RestoreExpectation& expected,
                              std::string& detail)
{
    detail.clear();
    Fd base(::open(bin.base.c_str(), kFolderFlags));
    Fd folder;
    if (base.ok())
        folder = bin.entryFolder.empty() ? Fd(::openat(base.get(), ".", kFolderFlags))
                                         : Fd(::openat(base.get(), bin.entryFolder.c_str(), kFolderFlags | O_NOFOLLOW));
    struct statx sx {};
    const bool inBin = folder.ok() && IsChildName(bin.name) && StatAt(folder.get(), bin.name, sx) && IsExpected(sx, expected);
    if (!inBin) {
        // Gone from the bin: back at its place already, or somewhere no restore reaches.
        std::string ignored;
        const Fd parent = OpenPlace(place, false, ignored);
        const bool there = parent.ok() && IsChildName(place.name) && StatAt(parent.get(), place.name, sx) &&
                           IsExpected(sx, {expected.kind, expected.identity, {}});
        return there ? RestoreOutcome::AlreadyRestored : RestoreOutcome::NotInBin;
    }
    // No call moves an entry by what it is rather than by its name, and a name in the bin can be
    // exchanged for another between the look above and the move. So the object first takes a name
    // of its own in the bin, no one else's, is looked at there, and only that name leaves the bin;
    // anything else found under it gets its name back (or, should that be taken meanwhile, stays
    // in the bin under the name it has).
    const bool file = expected.kind == RestoreKind::File;
    std::string aside;
    for (int attempt = 0; attempt < 4 && aside.empty(); ++attempt) {
        const std::string candidate = AsideName();
        if (MoveNoReplace(folder.get(), bin.name, folder.get(), candidate, file))
            aside = candidate;
        else if (errno != EEXIST)
            break;
    }
    if (aside.empty()) {
        if (errno == ENOENT)
            return RestoreOutcome::NotInBin;
        detail = std::strerror(errno);
        return RestoreOutcome::Refused;
    }
    const auto putBack = [&] { MoveNoReplace(folder.get(), aside, folder.get(), bin.name, file); };
    if (!StatAt(folder.get(), aside, sx) || !IsExpected(sx, expected)) {
        putBack();
        return RestoreOutcome::NotInBin;
    }
    const Fd parent = IsChildName(place.name) ? OpenPlace(place, true, detail) : Fd();
    if (!parent.ok()) {
        if (detail.empty())
            detail = "\"" + place.name + "\" is no name";
        putBack();
        return RestoreOutcome::Refused;
    }
    if (!MoveNoReplace(folder.get(), aside, parent.get(), place.name, file)) {
        const int error = errno;
        putBack();
        if (error == EEXIST || error == ENOTEMPTY)
            return RestoreOutcome::PlaceTaken;
        detail = std::strerror(error);
        return RestoreOutcome::Refused;
    }
    if (!bin.recordName.empty() && IsChildName(bin.recordName)) {
        const Fd records = bin.recordFolder.empty()
                               ? Fd(::openat(folder.get(), ".", kFolderFlags))
                               : Fd(::openat(base.get(), bin.recordFolder.c_str(), kFolderFlags | O_NOFOLLOW));
        if (records.ok() && StatAt(records.get(), bin.recordName, sx) && S_ISREG(sx.stx_mode))
            ::unlinkat(records.get(), bin.recordName.c_str(), 0);
    }
    return RestoreOutcome::Restored;
}

} // namespace platform
