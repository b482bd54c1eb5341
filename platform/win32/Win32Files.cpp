#include "platform/PlatformFiles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Paths.h"

#include <windows.h>

namespace platform {

static HANDLE H(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

static bool IsDiskFile(HANDLE h)
{
    BY_HANDLE_FILE_INFORMATION info {};
    return GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
           !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

FileHandle::FileHandle(const std::string& path, FileAccess access)
{
    const std::wstring wide = ExtendedPath(path);
    HANDLE h = INVALID_HANDLE_VALUE;
    switch (access) {
    case FileAccess::ReadShared:
        h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        break;
    case FileAccess::CreateTruncate:
        h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        break;
    case FileAccess::WriteExisting:
        // Opens a link itself rather than its target; a link is then refused below, and so is a
        // read-only file, which Windows refuses anyway but Wine lets root open.
        // Read access too: a sparse file's data is found by reading it where the system cannot tell.
        h = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT,
                        nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            BY_HANDLE_FILE_INFORMATION info {};
            if (!GetFileInformationByHandle(h, &info) ||
                (info.dwFileAttributes &
                 (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
                CloseHandle(h);
                SetLastError(ERROR_ACCESS_DENIED);
                h = INVALID_HANDLE_VALUE;
            }
        }
        break;
    }
    // Only a file on a disk is a file here: a path may name a pipe, console or serial port, where
    // a read or write could wait forever.
    if (h != INVALID_HANDLE_VALUE && !IsDiskFile(h)) {
        CloseHandle(h);
        SetLastError(ERROR_ACCESS_DENIED);
        h = INVALID_HANDLE_VALUE;
    }
    if (h == INVALID_HANDLE_VALUE) {
        error_ = static_cast<int>(GetLastError());
        return;
    }
    handle_ = reinterpret_cast<intptr_t>(h);
}

bool FileHandle::IsOpen() const { return handle_ != -1; }

void FileHandle::Close()
{
    if (handle_ != -1)
        CloseHandle(H(handle_));
    handle_ = -1;
}

int64_t FileHandle::Read(void* buffer, int64_t count)
{
    char* out = static_cast<char*>(buffer);
    int64_t done = 0;
    while (done < count) {
        const DWORD chunk = static_cast<DWORD>(count - done > 0x10000000 ? 0x10000000 : count - done);
        DWORD n = 0;
        if (!ReadFile(H(handle_), out + done, chunk, &n, nullptr)) {
            error_ = static_cast<int>(GetLastError());
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
        const DWORD chunk = static_cast<DWORD>(count - done > 0x10000000 ? 0x10000000 : count - done);
        DWORD n = 0;
        if (!WriteFile(H(handle_), in + done, chunk, &n, nullptr)) {
            error_ = static_cast<int>(GetLastError());
            return -1;
        }
        done += n;
    }
    return done;
}

int64_t FileHandle::Size() const
{
    LARGE_INTEGER size {};
    return GetFileSizeEx(H(handle_), &size) ? size.QuadPart : -1;
}

bool FileHandle::Seek(int64_t position)
{
    LARGE_INTEGER to {};
    to.QuadPart = position;
    return SetFilePointerEx(H(handle_), to, nullptr, FILE_BEGIN) != 0;
}

bool FileExists(const std::string& path)
{
    const DWORD a = GetFileAttributesW(ExtendedPath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    const DWORD a = GetFileAttributesW(ExtendedPath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFileAt(const std::string& path) { return DeleteFileW(ExtendedPath(path).c_str()) != 0; }

bool CreateNewEmptyFile(const std::string& path)
{
    HANDLE h = CreateFileW(ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

char PathSeparator() { return '\\'; }

} // namespace platform

namespace platform {
bool MoveFileReplacing(const std::string& from, const std::string& to)
{
    return MoveFileExW(ExtendedPath(from).c_str(), ExtendedPath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
} // namespace platform
