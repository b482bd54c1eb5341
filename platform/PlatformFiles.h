#pragma once
// Literal file primitives; all paths are UTF-8.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

enum class FileAccess {
    ReadShared,      // read; others may read but not write
    CreateTruncate,  // create or replace, write
    WriteExisting,   // write in place, no sharing, no truncation; never through a link, never a read-only file
};

// An open file; closed with its last owner. Failures leave it invalid with ErrorCode() set.
// Only regular files open, and opening never waits: a FIFO, device, pipe or console is refused.
class FileHandle {
public:
    FileHandle() = default;
    FileHandle(const std::string& path, FileAccess access);
    ~FileHandle() { Close(); }
    FileHandle(FileHandle&& other) noexcept : handle_(other.handle_), error_(other.error_) { other.handle_ = -1; }
    FileHandle& operator=(FileHandle&& other) noexcept
    {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, -1);
            error_ = other.error_;
        }
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const;
    int ErrorCode() const { return error_; }
    // Bytes actually transferred, or -1 on failure.
    int64_t Read(void* buffer, int64_t count);
    int64_t Write(const void* buffer, int64_t count);
    int64_t Size() const;
    bool Seek(int64_t position);
    void Close();
    // The ranges (offset, length) that hold data, within the file's size; the whole file when the
    // system cannot tell. Writing only these never allocates anything new in a sparse file.
    bool AllocatedRanges(std::vector<std::pair<int64_t, int64_t>>& ranges);

private:
    friend class DirectoryHandle;
    explicit FileHandle(intptr_t handle) : handle_(handle) {}

    intptr_t handle_ = -1;
    int error_ = 0;
};

// Calls visit with each line of the file at path (without its "\n"; a "\r" before it stays) until
// visit returns false. False when the file cannot be opened or read.
bool ReadFileLines(const std::string& path, const std::function<bool(const std::string&)>& visit);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
bool DeleteFileAt(const std::string& path);

// Creates a new file that must not exist yet; true on success (the file stays, empty).
bool CreateNewEmptyFile(const std::string& path);

// The platform's path separator: '\\' on Windows, '/' elsewhere.
char PathSeparator();

} // namespace platform

namespace platform {
// Renames a file over an existing one in the same directory.
bool MoveFileReplacing(const std::string& from, const std::string& to);
// Writes bytes whole as the file at path: first as path + ".partial", then renamed over it, so a
// crash never leaves a half-written file under the name. False (nothing left) when it fails.
bool WriteFileWhole(const std::string& path, const std::string& bytes);
} // namespace platform
