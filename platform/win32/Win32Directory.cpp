#include "platform/PlatformDirectory.h"
#include "platform/PlatformHeldDirectory.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Paths.h"

#include <windows.h>

#include <vector>

namespace platform {

namespace {

int64_t Join64(DWORD high, DWORD low) { return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low); }
int64_t FromFileTime(const FILETIME& ft) { return Join64(ft.dwHighDateTime, ft.dwLowDateTime); }

struct FindCloser {
    HANDLE handle;
    ~FindCloser()
    {
        if (handle != INVALID_HANDLE_VALUE)
            FindClose(handle);
    }
};

// The pattern is joined after the folder's conversion: normalising would trim a pattern like "*.".
std::wstring InDirectory(const std::string& directory, const std::string& name)
{
    std::wstring path = ExtendedPath(directory);
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    return path + Widen(name);
}

bool IsDotEntry(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

} // namespace

namespace {

// The basic information level skips the 8.3 alias, and large fetches read a big directory in
// fewer calls; systems before Windows 7 know neither, and get the plain call.
HANDLE FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data)
{
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        find = FindFirstFileW(pattern.c_str(), &data);
    return find;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kFolderAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

std::string ChildText(const std::string& folder, const std::string& name)
{
    return !folder.empty() && (folder.back() == '\\' || folder.back() == '/') ? folder + name : folder + '\\' + name;
}

HANDLE OpenRelativeWith(HANDLE parent, const std::wstring& name, ACCESS_MASK access, ULONG options)
{
    return OpenRelative(parent, name, access, kShareAll, options);
}

// The named child folder of parent; a reparse point is opened as itself unless followed.
HANDLE OpenFolderRelative(HANDLE parent, const std::wstring& name, bool followLink)
{
    return OpenRelativeWith(parent, name, kFolderAccess,
                            FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT |
                                (followLink ? 0 : FILE_OPEN_REPARSE_POINT));
}

// The named child of parent opened as itself, to read its facts.
HANDLE OpenRelativeEntry(HANDLE parent, const std::wstring& name)
{
    return OpenRelativeWith(parent, name, FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                            FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT);
}

// Every entry of the held folder with all its facts, its identity too where the file system gives
// ids (volume is the folder's); false when it cannot be listed. The listing starts over, so the
// folder's own handle serves.
bool ReadHeld(HANDLE folder, uint32_t volume, std::vector<DirectoryEntry>& entries)
{
    DirectoryEntry entry;
    return ReadListing(folder, std::wstring(), [&](const FILE_ID_BOTH_DIR_INFORMATION& record) {
        const std::wstring name(record.FileName, record.FileNameLength / sizeof(wchar_t));
        if (!IsDotEntry(name.c_str()) && !(record.FileAttributes & FILE_ATTRIBUTE_DEVICE)) {
            entry.name = Narrow(name);
            entry.attributes = record.FileAttributes;
            entry.size = (record.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : record.EndOfFile.QuadPart;
            entry.creationTime = record.CreationTime.QuadPart;
            entry.lastWriteTime = record.LastWriteTime.QuadPart;
            entry.lastAccessTime = record.LastAccessTime.QuadPart;
            entry.identity = {volume, static_cast<uint64_t>(record.FileId.QuadPart)};
            entries.push_back(entry);
        }
        return false;
    }) == ListingEnd::Ended;
}

ListedKind KindOf(DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return ListedKind::Link;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? ListedKind::Directory : ListedKind::File;
}

// Reads every entry of directory matching pattern; false when it cannot be opened.
bool ReadDirectory(const std::string& directory, const std::string& pattern, std::vector<DirectoryEntry>& entries)
{
    WIN32_FIND_DATAW data;
    FindCloser find{FindFirst(InDirectory(directory, pattern.empty() ? "*" : pattern), data)};
    if (find.handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_NO_MORE_FILES;
    DirectoryEntry entry;
    do {
        if (IsDotEntry(data.cFileName) || (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE))
            continue;
        entry.name = Narrow(data.cFileName);
        entry.attributes = data.dwFileAttributes;
        entry.size = Join64(data.nFileSizeHigh, data.nFileSizeLow);
        entry.creationTime = FromFileTime(data.ftCreationTime);
        entry.lastWriteTime = FromFileTime(data.ftLastWriteTime);
        entry.lastAccessTime = FromFileTime(data.ftLastAccessTime);
        entries.push_back(entry);
    } while (FindNextFileW(find.handle, &data));
    return true;
}

} // namespace

DirectoryListing::DirectoryListing(const std::string& directory) : directory_(directory)
{
    // Deleting or renaming entries needs nothing from this handle; sharing lets them go.
    HANDLE folder = CreateFileW(ExtendedPath(directory).c_str(), kFolderAccess, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder != INVALID_HANDLE_VALUE)
        Read(reinterpret_cast<intptr_t>(folder), nullptr);
}

DirectoryListing::DirectoryListing(const DirectoryListing& parent, const std::string& name, bool followLink)
    : directory_(ChildText(parent.directory_, name))
{
    if (parent.handle_ == -1 || !IsPlainName(name))
        return;
    HANDLE folder = OpenFolderRelative(reinterpret_cast<HANDLE>(parent.handle_), Widen(name), followLink);
    if (folder == INVALID_HANDLE_VALUE)
        return;
    if (followLink) {
        // Where a link leads is asked in full, its volume too.
        Read(reinterpret_cast<intptr_t>(folder), nullptr);
        return;
    }
    DWORD attributes = 0;
    uint64_t index = 0;
    std::wstring finalPath;
    if (!AttributesAndIndexOf(folder, attributes, index) || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(folder);
        return;
    }
    // Wine opens a Unix link as its target even when told not to: a folder reached elsewhere than
    // its name says was reached through a link. So is another volume's root there: it is named by
    // its own drive. On Windows a volume is mounted on a reparse point. What is left is on the
    // parent's volume, whose serial it takes without asking.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !FinalPathOf(folder, IsNtForm(Widen(parent.finalPath_)), finalPath) ||
        !SamePath(finalPath, ChildPath(Widen(parent.finalPath_), Widen(name)))) {
        CloseHandle(folder);
        outcome_ = ListingOutcome::Link;
        return;
    }
    finalPath_ = Narrow(finalPath);
    identity_ = {parent.identity_.volume, index};
    device_ = parent.device_;
    listedIds_ = parent.listedIds_;
    Read(reinterpret_cast<intptr_t>(folder), &parent);
}

void DirectoryListing::Read(intptr_t handle, const DirectoryListing* parent)
{
    HANDLE folder = reinterpret_cast<HANDLE>(handle);
    if (!parent) {
        BY_HANDLE_FILE_INFORMATION info{};
        std::wstring finalPath;
        if (!GetFileInformationByHandle(folder, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !(FinalPathOf(folder, false, finalPath) || FinalPathOf(folder, true, finalPath))) {
            CloseHandle(folder);
            return;
        }
        finalPath_ = Narrow(finalPath);
        identity_ = IdentityOf(info);
        device_ = info.dwVolumeSerialNumber;
    }
    std::vector<DirectoryEntry> facts;
    if (!ReadHeld(folder, static_cast<uint32_t>(identity_.volume), facts)) {
        CloseHandle(folder);
        return;
    }
    handle_ = handle;
    open_ = true;
    outcome_ = ListingOutcome::Listed;
    entries_.reserve(facts.size());
    for (DirectoryEntry& entry : facts) {
        entries_.push_back({entry.name, KindOf(entry.attributes)});
        facts_.push_back(std::move(entry));
    }
}

bool DirectoryListing::Rehold(const DirectoryListing& parent, const std::string& name, bool followLink)
{
    if (handle_ != -1)
        return true;
    if (!open_ || parent.handle_ == -1 || !IsPlainName(name))
        return false;
    HANDLE folder = OpenFolderRelative(reinterpret_cast<HANDLE>(parent.handle_), Widen(name), followLink);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    // Told the way it was first: a folder not reached through a link is on its parent's volume.
    bool same = false;
    if (followLink) {
        BY_HANDLE_FILE_INFORMATION info{};
        same = GetFileInformationByHandle(folder, &info) && IdentityOf(info) == identity_;
    } else {
        DWORD attributes = 0;
        uint64_t index = 0;
        std::wstring finalPath;
        same = AttributesAndIndexOf(folder, attributes, index) &&
               FileIdentity{parent.identity_.volume, index} == identity_ &&
               !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
               FinalPathOf(folder, IsNtForm(Widen(finalPath_)), finalPath) && SamePath(finalPath, Widen(finalPath_));
    }
    if (!same) {
        CloseHandle(folder);
        return false;
    }
    handle_ = reinterpret_cast<intptr_t>(folder);
    return true;
}

DirectoryListing::~DirectoryListing() { Release(); }

// The facts stay: only the handle goes.
void DirectoryListing::Release()
{
    if (handle_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
}

const DirectoryEntry* DirectoryListing::Facts(size_t index)
{
    return index < facts_.size() ? &facts_[index] : nullptr;
}

// The facts came with the listing, and so did the identities once one of them proved to be what
// the entry opened as itself reports, as the clean will ask it (a file system may number its
// listing otherwise, or not at all: then each entry is asked through the folder).
bool DirectoryListing::Knows(size_t index) const
{
    return handle_ != -1 || (*listedIds_ == 1 && index < facts_.size() && facts_[index].identity.file != 0);
}

bool DirectoryListing::Identify(size_t index, FileIdentity& identity) const
{
    if (index >= entries_.size())
        return false;
    const FileIdentity& listed = facts_[index].identity;
    if (*listedIds_ == 1 && listed.file != 0) {
        identity = listed;
        return true;
    }
    bool known = false;
    if (handle_ != -1) {
        HANDLE child = OpenRelativeEntry(reinterpret_cast<HANDLE>(handle_), Widen(entries_[index].name));
        BY_HANDLE_FILE_INFORMATION info{};
        known = child != INVALID_HANDLE_VALUE && GetFileInformationByHandle(child, &info);
        if (child != INVALID_HANDLE_VALUE)
            CloseHandle(child);
        if (known)
            identity = IdentityOf(info);
    } else {
        known = QueryOwnIdentity(ChildText(directory_, entries_[index].name), identity);
    }
    if (known && *listedIds_ == -1 && listed.file != 0)
        *listedIds_ = identity == listed ? 1 : 0;
    return known;
}

bool EnumerateDirectory(const std::string& directory, const std::function<bool(const DirectoryEntry&)>& visit,
                        const std::string& pattern)
{
    std::vector<DirectoryEntry> entries;
    if (!ReadDirectory(directory, pattern, entries))
        return false;
    for (const DirectoryEntry& entry : entries)
        if (!visit(entry))
            break;
    return true;
}

bool QueryEntry(const std::string& path, DirectoryEntry& entry)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExW(ExtendedPath(path).c_str(), GetFileExInfoStandard, &data))
        return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE)
        return false;
    std::string trimmed = path;
    while (trimmed.size() > 1 && (trimmed.back() == '\\' || trimmed.back() == '/'))
        trimmed.pop_back();
    const size_t slash = trimmed.find_last_of("\\/");
    entry.name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    entry.attributes = data.dwFileAttributes;
    entry.size = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : Join64(data.nFileSizeHigh, data.nFileSizeLow);
    entry.creationTime = FromFileTime(data.ftCreationTime);
    entry.lastWriteTime = FromFileTime(data.ftLastWriteTime);
    entry.lastAccessTime = FromFileTime(data.ftLastAccessTime);
    return true;
}

bool DirectoryHasEntries(const std::string& directory, bool& hasEntries)
{
    hasEntries = false;
    WIN32_FIND_DATAW data;
    FindCloser find{FindFirstFileW(InDirectory(directory, "*").c_str(), &data)};
    if (find.handle == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (!IsDotEntry(data.cFileName)) {
            hasEntries = true;
            break;
        }
    } while (FindNextFileW(find.handle, &data));
    return true;
}

uint32_t GetAttributesAt(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? kInvalidAttributes : attributes;
}

bool SetAttributesAt(const std::string& path, uint32_t attributes)
{
    const std::wstring wide = ExtendedPath(path);
    const DWORD current = GetFileAttributesW(wide.c_str());
    if (current == INVALID_FILE_ATTRIBUTES || (current & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    DWORD wanted = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_ARCHIVE);
    return SetFileAttributesW(wide.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL) != 0;
}

bool RemoveDirectoryAt(const std::string& path) { return RemoveDirectoryW(ExtendedPath(path).c_str()) != 0; }

bool DeleteLinkAt(const std::string& path)
{
    const std::wstring wide = ExtendedPath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    // Removing a directory link or junction removes the link only; its target is never opened.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && RemoveDirectoryW(wide.c_str()))
        return true;
    if (DeleteFileW(wide.c_str()))
        return true;
    // Some systems refuse both calls for a directory link; deleting through a handle opened on the
    // link itself (not its target) still works there.
    HANDLE handle = CreateFileW(wide.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool deleted = MarkForDeletion(handle);
    CloseHandle(handle);
    return deleted && GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool LongPathName(const std::string& path, std::string& result)
{
    const std::wstring wide = ExtendedPath(path);
    DWORD length = GetLongPathNameW(wide.c_str(), nullptr, 0);
    if (length == 0)
        return false;
    std::wstring buffer(length, L'\0');
    length = GetLongPathNameW(wide.c_str(), &buffer[0], length);
    if (length == 0 || length >= buffer.size())
        return false;
    buffer.resize(length);
    result = Narrow(IsExtendedPath(wide) && !IsExtendedPath(Widen(path)) ? NormalPath(buffer) : buffer);
    return true;
}

bool FileTimeToLocalParts(int64_t fileTime, LocalTime& parts)
{
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(fileTime) & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(fileTime) >> 32);
    SYSTEMTIME utc, local;
    if (fileTime < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if ( !FileTimeToSystemTime(&ft, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return false;
    parts = {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond, local.wMilliseconds};
    return true;
}

bool AllowEntryRemoval(const std::string&) { return true; }

} // namespace platform
