#include "platform/PlatformFiles.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

FileHandle::FileHandle(const std::string& path, FileAccess access)
{
    const int flags = access == FileAccess::ReadShared      ? O_RDONLY
                      : access == FileAccess::CreateTruncate ? O_WRONLY | O_CREAT | O_TRUNC
                                                             : O_WRONLY | O_NOFOLLOW;
    // Opening a FIFO waits for its other end, a terminal may wait for a carrier: not waiting here
    // lets the check below refuse them instead of hanging.
    int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) {
        error_ = errno;
        return;
    }
    struct stat st {};
    // Only regular files are files here: a FIFO or device would block or never end.
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error_ = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return;
    }
    // A regular file's reads should wait as they normally do, wherever the flag would matter.
    const int status = fcntl(fd, F_GETFL);
    if (status < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        error_ = errno;
        ::close(fd);
        return;
    }
    // Windows refuses to write a read-only file even to an administrator; root here would not.
    if (access == FileAccess::WriteExisting && (st.st_mode & 0222) == 0) {
        error_ = EACCES;
        ::close(fd);
        return;
    }
    handle_ = fd;
}

bool FileHandle::IsOpen() const { return handle_ >= 0; }

void FileHandle::Close()
{
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
    handle_ = -1;
}

int64_t FileHandle::Read(void* buffer, int64_t count)
{
    char* out = static_cast<char*>(buffer);
    int64_t done = 0;
    while (done < count) {
        ssize_t n = ::read(static_cast<int>(handle_), out + done, static_cast<size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error_ = errno;
            return -1;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

int64_t FileHandle::Write(const void* buffer, int64_t count)
{
    const char* in = static_cast<const char*>(buffer);
    int64_t done = 0;
    while (done < count) {
        ssize_t n = ::write(static_cast<int>(handle_), in + done, static_cast<size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error_ = errno;
            return -1;
        }
        done += n;
    }
    return done;
}

int64_t FileHandle::Size() const
{
    struct stat st {};
    if (fstat(static_cast<int>(handle_), &st) != 0)
        return -1;
    return st.st_size;
}

bool FileHandle::Seek(int64_t position)
{
    return lseek(static_cast<int>(handle_), position, SEEK_SET) == position;
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFileAt(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool CreateNewEmptyFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

char PathSeparator() { return '/'; }

} // namespace platform

namespace platform {
bool MoveFileReplacing(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}
} // namespace platform
