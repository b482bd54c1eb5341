#include "platform/PlatformRecycle.h"
#include "platform/PlatformShell.h"
#include "platform/posix/PosixHeldNames.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
// Longer names are cut so that "<name>.<n>.trashinfo" still fits a file system's name limit.
constexpr size_t kLongestName = 200;
constexpr int kMostCandidates = 100000;

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { Reset(); }
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Fd& operator=(Fd&& other) noexcept
    {
        if (this != &other) {
            Reset();
            fd_ = other.fd_;
            other.fd_ = -1;
        }
        return *this;
    }
    int Get() const { return fd_; }
    bool Ok() const { return fd_ >= 0; }
    void Reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

bool StatFd(int fd, struct statx& sx)
{
    return statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS, &sx) == 0;
}

bool StatPath(const std::string& path, struct statx& sx)
{
    return statx(AT_FDCWD, path.c_str(), AT_NO_AUTOMOUNT, STATX_BASIC_STATS, &sx) == 0;
}

// The named folder of parent, made (0700) when missing; never a link, and on volume only.
Fd FolderIn(int parent, const char* name, uint64_t volume, bool make, bool mustBeOwn)
{
    if (make && ::mkdirat(parent, name, 0700) != 0 && errno != EEXIST)
        return Fd();
    Fd fd(::openat(parent, name, kOpenFolder));
    struct statx sx {};
    if (!fd.Ok() || !StatFd(fd.Get(), sx) || IdentityOf(sx).volume != volume ||
        (mustBeOwn && sx.stx_uid != geteuid()))
        return Fd();
    return fd;
}

std::string ParentOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string LocalDateTime()
{
    const time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// "name", "name.2", "name.3" ... with the number before an extension ("notes.2.txt").
std::string Candidate(const std::string& name, int number)
{
    std::string base = name;
    if (base.size() > kLongestName) {
        size_t cut = kLongestName;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80)
            --cut;
        base.resize(cut);
    }
    if (number == 1)
        return base;
    const size_t dot = base.find_last_of('.');
    const std::string tag = "." + std::to_string(number);
    if (dot == std::string::npos || dot == 0)
        return base + tag;
    return base.substr(0, dot) + tag + base.substr(dot);
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

// Renames without ever replacing an entry of the bin; where the file system cannot promise that,
// the name is first seen to be free (the bin is the user's own, 0700).
int RenameIntoBin(int fromFd, const std::string& from, int toFd, const std::string& to)
{
    if (renameat2(fromFd, from.c_str(), toFd, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    struct statx sx {};
    if (statx(toFd, to.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE, &sx) == 0)
        return EEXIST;
    return ::renameat(fromFd, from.c_str(), toFd, to.c_str()) == 0 ? 0 : errno;
}

std::string ErrorText(int error)
{
    switch (error) {
    case EROFS: return "read-only medium";
    case EXDEV: return "the bin is on another file system";
    case EACCES:
    case EPERM: return "access denied";
    default: return std::strerror(error);
    }
}

} // namespace

struct RecycleBins::Bin {
    std::string path;    // the trash folder
    std::string topdir;  // a volume's own trash: the folder its "Path=" values are relative to
    Fd files;
    Fd info;
    std::string problem;  // why there is none
    // By name, the number its next copy is tried under: many objects of one clean share a name
    // (one per folder), and each must not try every taken one again.
    std::map<std::string, int> nextNumber;
};

RecycleBins::RecycleBins() = default;
RecycleBins::~RecycleBins() = default;

namespace {

// Whether the object's file system is the one of $XDG_DATA_HOME, whose trash alone takes its
// objects then (trash is left closed when it cannot be had).
bool HomeTrashFor(uint64_t volume, std::string& path, Fd& trash)
{
    const std::string home = UserTrashDirectory();
    if (home.empty())
        return false;
    const std::string data = ParentOf(home);
    if (::mkdir(data.c_str(), 0700) != 0 && errno == ENOENT)
        ::mkdir(ParentOf(data).c_str(), 0700);  // ~/.local for ~/.local/share
    ::mkdir(data.c_str(), 0700);
    struct statx sx {};
    if (!StatPath(data, sx) || IdentityOf(sx).volume != volume)
        return false;
    path = home;
    Fd dataFd(::open(data.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dataFd.Ok())
        trash = FolderIn(dataFd.Get(), "Trash", volume, true, true);
    return true;
}

// The highest folder above path's folder on the same mount: the volume's top folder.
std::string TopFolder(const std::string& folder, uint64_t volume)
{
    std::string top = folder;
    for (;;) {
        struct statx sx {};
        if (StatPath(top, sx) && RootsMount(sx))
            return top;
        if (top == "/")
            return top;
        const std::string up = ParentOf(top);
        if (!StatPath(up, sx) || IdentityOf(sx).volume != volume)
            return top;
        top = up;
    }
}

} // namespace

RecycleOutcome RecycleBins::Move(const DirectoryHandle& folder, const std::string& name, const HeldEntry& expected,
                                 const std::string& path)
{
    RecycleOutcome outcome;
    const int from = static_cast<int>(folder.handle_);
    if (!folder.IsOpen() || !IsChildName(name) || path.empty() || path[0] != '/') {
        outcome.result = RecycleResult::Changed;
        return outcome;
    }
    const uint64_t volume = folder.Identity().volume;
    std::shared_ptr<Bin>& bin = bins_[volume];
    if (!bin) {
        bin = std::make_shared<Bin>();
        Fd trash;
        if (HomeTrashFor(volume, bin->path, trash)) {
            if (!trash.Ok())
                bin->problem = errno == EROFS ? "read-only medium" : "the home trash cannot be made";
        } else {
            bin->topdir = TopFolder(ParentOf(path), volume);
            Fd top(::open(bin->topdir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            struct statx sx {};
            const std::string uid = std::to_string(geteuid());
            if (top.Ok() && StatFd(top.Get(), sx) && IdentityOf(sx).volume == volume) {
                // $topdir/.Trash/$uid only under a real sticky .Trash, as the rules allow.
                Fd shared(::openat(top.Get(), ".Trash", kOpenFolder));
                struct statx sticky {};
                if (shared.Ok() && StatFd(shared.Get(), sticky) && (sticky.stx_mode & S_ISVTX) &&
                    IdentityOf(sticky).volume == volume) {
                    trash = FolderIn(shared.Get(), uid.c_str(), volume, true, true);
                    bin->path = (bin->topdir == "/" ? "" : bin->topdir) + "/.Trash/" + uid;
                }
                if (!trash.Ok()) {
                    trash = FolderIn(top.Get(), (".Trash-" + uid).c_str(), volume, true, true);
                    bin->path = (bin->topdir == "/" ? "" : bin->topdir) + "/.Trash-" + uid;
                }
                if (!trash.Ok())
                    bin->problem = errno == EROFS ? "read-only medium" : "no trash can be made on this file system";
            } else
                bin->problem = "no trash on this file system";
        }
        if (trash.Ok()) {
            bin->files = FolderIn(trash.Get(), "files", volume, true, false);
            bin->info = FolderIn(trash.Get(), "info", volume, true, false);
            if (!bin->files.Ok() || !bin->info.Ok())
                bin->problem = "the trash's folders cannot be made";
        }
    }
    if (!bin->files.Ok() || !bin->info.Ok()) {
        outcome.result = RecycleResult::NoBin;
        outcome.reason = bin->problem.empty() ? "no trash on this file system" : bin->problem;
        return outcome;
    }

    struct statx now {};
    if (statx(from, name.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS, &now) != 0 ||
        !(IdentityOf(now) == expected.identity)) {
        outcome.result = RecycleResult::Changed;
        return outcome;
    }
    std::string recorded = path;
    if (!bin->topdir.empty()) {
        // A volume's own trash names its objects from its top folder, so it moves with the medium.
        const std::string top = bin->topdir == "/" ? std::string("/") : bin->topdir + "/";
        if (path.compare(0, top.size(), top) == 0)
            recorded = path.substr(top.size());
    }
    const std::string info =
        "[Trash Info]\nPath=" + TrashInfoPath(recorded) + "\nDeletionDate=" + LocalDateTime() + "\n";
    int& next = bin->nextNumber[name];
    for (int number = std::max(next, 1); number <= kMostCandidates; ++number) {
        const std::string candidate = Candidate(name, number);
        const std::string infoName = candidate + ".trashinfo";
        // The bin's record first, under a name no one else holds: a crash leaves a record without
        // an object (which desktops ignore), never an object that no record can bring back.
        Fd infoFd(::openat(bin->info.Get(), infoName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                           0600));
        if (!infoFd.Ok()) {
            if (errno == EEXIST)
                continue;
            outcome.result = errno == EROFS ? RecycleResult::NoBin : RecycleResult::Failed;
            outcome.reason = ErrorText(errno);
            return outcome;
        }
        const bool written = WriteAll(infoFd.Get(), info);
        infoFd.Reset();
        int error = written ? RenameIntoBin(from, name, bin->files.Get(), candidate) : EIO;
        // A folder is moved only with its owner's write permission (its ".." changes): given for the
        // move through the folder itself, then taken back.
        if (error == EACCES && S_ISDIR(now.stx_mode) && !(now.stx_mode & S_IWUSR)) {
            Fd held(::openat(from, name.c_str(), kOpenFolder));
            struct statx sx {};
            if (held.Ok() && StatFd(held.Get(), sx) && IdentityOf(sx) == expected.identity &&
                ::fchmod(held.Get(), (sx.stx_mode & 07777) | S_IWUSR) == 0) {
                error = RenameIntoBin(from, name, bin->files.Get(), candidate);
                ::fchmod(held.Get(), sx.stx_mode & 07777);
            }
        }
        if (error == 0) {
            next = number + 1;
            outcome.result = RecycleResult::Moved;
            outcome.destination = bin->path + "/files/" + candidate;
            return outcome;
        }
        ::unlinkat(bin->info.Get(), infoName.c_str(), 0);
        if (error == EEXIST || error == ENOTEMPTY)
            continue;  // an object of the bin without its record holds that name
        outcome.result = error == EXDEV || error == EROFS ? RecycleResult::NoBin : RecycleResult::Failed;
        outcome.reason = ErrorText(error);
        return outcome;
    }
    outcome.reason = "no free name in the trash";
    return outcome;
}

} // namespace platform
