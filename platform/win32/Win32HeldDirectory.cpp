#include "platform/PlatformDirectory.h"
#include "platform/PlatformHeldDirectory.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Paths.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {

namespace {

// Windows 10 names; the build targets older headers, and older systems refuse them at run time.
constexpr DWORD kDispositionDelete = 0x1;
constexpr DWORD kDispositionPosixSemantics = 0x2;
constexpr DWORD kDispositionIgnoreReadOnly = 0x10;

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Every child is opened as itself, never through what it points to.
constexpr ULONG kChildOptions = FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT;

HANDLE H(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

struct Closer {
    HANDLE handle = INVALID_HANDLE_VALUE;
    ~Closer()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    HANDLE Release()
    {
        HANDLE h = handle;
        handle = INVALID_HANDLE_VALUE;
        return h;
    }
};



// Wine names a handle without its name's trailing dots and spaces: "f." shows as "f", "..." and
// ".. " as the folder itself. Such a name is told from its look-alikes by the folder's listing only.
bool IsLossyName(const std::string& name)
{
    return UnderWine() && !name.empty() && (name.back() == '.' || name.back() == ' ');
}

std::wstring ShownName(const std::string& name)
{
    std::wstring shown = Widen(name);
    if (UnderWine())
        while (!shown.empty() && (shown.back() == L'.' || shown.back() == L' '))
            shown.pop_back();
    return shown;
}

// The held folder's entries matching mask (all of them when it is empty), read through the
// folder's handle, until visit returns true; false when none did or the folder cannot be read.
template <typename Visit>
bool FindListed(HANDLE folder, const std::wstring& mask, Visit visit)
{
    Closer listing{OpenRelative(folder, std::wstring(), FILE_LIST_DIRECTORY | SYNCHRONIZE, kShareAll,
                                FILE_DIRECTORY_FILE | kChildOptions)};
    return listing.handle != INVALID_HANDLE_VALUE &&
           ReadListing(listing.handle, mask, [&](const FILE_ID_BOTH_DIR_INFORMATION& record) {
               const std::wstring name(record.FileName, record.FileNameLength / sizeof(wchar_t));
               return visit(name, static_cast<uint64_t>(record.FileId.QuadPart), record.FileAttributes);
           }) == ListingEnd::Stopped;
}

// A mount-point reparse tag serves junctions too; only one naming a volume roots another one.
bool IsVolumeMountPoint(HANDLE handle)
{
    DWORD tag = 0;
    if (!ReparseTagOf(handle, tag) || tag != IO_REPARSE_TAG_MOUNT_POINT)
        return false;
    std::vector<uint8_t> data(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD returned = 0;
    if (!DeviceIoControl(handle, FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(), static_cast<DWORD>(data.size()),
                         &returned, nullptr))
        return true;  // unreadable: assume the worst
    // ReparseTag, ReparseDataLength, Reserved, then the substitute name's offset and length.
    constexpr size_t kHeader = 8, kPathBuffer = kHeader + 8;
    if (returned < kPathBuffer)
        return true;
    WORD offset = 0, length = 0;
    memcpy(&offset, data.data() + kHeader, sizeof offset);
    memcpy(&length, data.data() + kHeader + 2, sizeof length);
    if (kPathBuffer + offset + length > returned)
        return true;
    std::wstring target(length / sizeof(wchar_t), L'\0');
    memcpy(&target[0], data.data() + kPathBuffer + offset, target.size() * sizeof(wchar_t));
    return target.compare(0, 11, L"\\??\\Volume{") == 0;
}

// What GetFileInformationByHandle tells of an opened child, without asking for its volume unless
// it is a folder. Wine answers for a volume through its mount manager, a round trip to another
// process each time; a file or link opened as itself lies on its folder's volume, while a folder
// may root another drive, which only its volume tells under Wine.
// askFolderVolume false takes a folder's volume as its parent's too, for one already entered.
bool InformationOf(HANDLE child, const FileIdentity& folder, bool askFolderVolume, BY_HANDLE_FILE_INFORMATION& info)
{
    FILE_BASIC_INFORMATION basic{};
    FILE_STANDARD_INFORMATION standard{};
    FILE_INTERNAL_INFORMATION internal{};
    IO_STATUS_BLOCK io{};
    if (NtQueryInformationFile(child, &io, &basic, sizeof basic, FileBasicInformation) < 0)
        return false;
    if ((basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) && askFolderVolume)
        return GetFileInformationByHandle(child, &info) != 0;
    if (NtQueryInformationFile(child, &io, &standard, sizeof standard, FileStandardInformation) < 0 ||
        NtQueryInformationFile(child, &io, &internal, sizeof internal, FileInternalInformation) < 0)
        return false;
    const auto time = [](const LARGE_INTEGER& value) {
        FILETIME result;
        result.dwLowDateTime = value.LowPart;
        result.dwHighDateTime = static_cast<DWORD>(value.HighPart);
        return result;
    };
    info = BY_HANDLE_FILE_INFORMATION{};
    info.dwFileAttributes = basic.FileAttributes;
    info.ftCreationTime = time(basic.CreationTime);
    info.ftLastAccessTime = time(basic.LastAccessTime);
    info.ftLastWriteTime = time(basic.LastWriteTime);
    info.dwVolumeSerialNumber = static_cast<DWORD>(folder.volume);
    info.nFileSizeHigh = static_cast<DWORD>(standard.EndOfFile.HighPart);
    info.nFileSizeLow = standard.EndOfFile.LowPart;
    info.nNumberOfLinks = standard.NumberOfLinks;
    info.nFileIndexHigh = static_cast<DWORD>(static_cast<uint64_t>(internal.IndexNumber.QuadPart) >> 32);
    info.nFileIndexLow = static_cast<DWORD>(internal.IndexNumber.QuadPart);
    return true;
}

// What an opened child is, read on its handle.
struct Examined {
    HeldEntry entry;
    BY_HANDLE_FILE_INFORMATION info{};
    bool samePlace = false;  // reached where the held folder says its name is
    std::wstring finalPath;
};

// Whether the opened child is the held folder's own entry of that name. Wine opens a folder link's
// target even with FILE_OPEN_REPARSE_POINT and names a handle by the path as it resolved at the
// open, so a folder swapped with a link for a moment can give the link's target under the right
// name; the listing, read through the held folder, then shows a link's attributes or another file.
// A file link is listed as its target, and one named "f." to its sibling "f" has the same name as
// "f" under Wine: a name that loses its trailing dots is refused when another name lists its file.
bool IsOwnEntry(HANDLE folder, const std::string& name, const BY_HANDLE_FILE_INFORMATION& info)
{
    const std::wstring wide = Widen(name);
    const uint64_t id = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    bool own = false;
    // The mask matches without letter case: only the exact name counts.
    FindListed(folder, wide, [&](const std::wstring& listed, uint64_t fileId, DWORD attributes) {
        if (listed != wide)
            return false;
        own = fileId == id &&
              ((attributes ^ info.dwFileAttributes) & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0;
        return true;
    });
    return own && !(IsLossyName(name) &&
                    FindListed(folder, std::wstring(), [&](const std::wstring& listed, uint64_t fileId, DWORD) {
                        return fileId == id && listed != wide;
                    }));
}

enum class Check { Name, Listing, Held };

// Check::Listing asks the folder's listing as well, under Wine, for a folder to be entered: what is
// then reached through it is its own. Windows opens a link as itself and names a handle by where it is.
// Check::Held does the same for a folder entered before and held since, whose volume was checked
// then: under Wine it is not asked again (another process answers for volumes there), the file
// number, the place and the listing tell that it is still the same folder.
bool Examine(HANDLE parent, HANDLE child, const std::wstring& folderPath, const FileIdentity& folder,
             const std::string& name, Check check, Examined& result)
{
    BY_HANDLE_FILE_INFORMATION& info = result.info;
    HeldEntry& entry = result.entry;
    if (!InformationOf(child, folder, check != Check::Held || !UnderWine(), info)) {
        const DWORD type = GetFileType(child);
        if (type == FILE_TYPE_DISK || type == FILE_TYPE_UNKNOWN)
            return false;
        // Wine tells nothing more of a FIFO or device; such a child is only ever left alone.
        entry = HeldEntry();
        entry.name = name;
        entry.kind = HeldKind::Other;
        return true;
    }
    result.samePlace = FinalPathOf(child, IsNtForm(folderPath), result.finalPath) &&
                       SamePath(result.finalPath, ChildPath(folderPath, ShownName(name))) &&
                       (((check == Check::Name || !UnderWine()) && !IsLossyName(name)) ||
                        IsOwnEntry(parent, name, info));

    const DWORD attributes = info.dwFileAttributes;
    const bool reparse = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.name = name;
    entry.identity = IdentityOf(info);
    entry.attributes = attributes;
    entry.linkCount = info.nNumberOfLinks;
    entry.size = 0;
    entry.modified = ModifiedOf(info);
    entry.mountPoint = directory && (entry.identity.volume != folder.volume || (reparse && IsVolumeMountPoint(child)));
    if (!result.samePlace || reparse || entry.mountPoint) {
        entry.kind = HeldKind::Link;
        entry.attributes |= kAttrReparsePoint;
    } else if (directory) {
        entry.kind = HeldKind::Directory;
    } else if ((attributes & FILE_ATTRIBUTE_DEVICE) || GetFileType(child) != FILE_TYPE_DISK) {
        entry.kind = HeldKind::Other;
    } else {
        entry.kind = HeldKind::File;
        entry.size = static_cast<int64_t>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    }
    return true;
}

// Attribute bits the basic information accepts back.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                      FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY;

// The read-only bit is one for all names of a file: cleared only when this name is the file's last.
bool DeleteReadOnly(HANDLE handle, const BY_HANDLE_FILE_INFORMATION& info, bool canWriteAttributes)
{
    if (MarkForDeletionEx(handle, kDispositionDelete | kDispositionPosixSemantics | kDispositionIgnoreReadOnly) ||
        MarkForDeletionEx(handle, kDispositionDelete | kDispositionIgnoreReadOnly))
        return true;
    if (info.nNumberOfLinks != 1 || !canWriteAttributes)
        return false;
    const DWORD kept = info.dwFileAttributes & kSettableAttributes;
    if (!SetAttributesOf(handle, kept & ~FILE_ATTRIBUTE_READONLY))
        return false;
    if (MarkForDeletion(handle))
        return true;
    SetAttributesOf(handle, kept);
    return false;
}

// Whether the deleted name is really gone. Wine removes a name marked for deletion only when it
// closes the last handle, and then by the path it resolved at the open, after checking that this
// path still reaches the file: a folder swapped with a link meanwhile leaves the file where it was.
// Windows removes the name by the handle, or keeps it pending while another program holds it.
bool Gone(HANDLE folder, const std::string& name, const FileIdentity& identity)
{
    if (!UnderWine())
        return true;
    const std::wstring wide = Widen(name);
    return !FindListed(folder, wide, [&](const std::wstring& listed, uint64_t fileId, DWORD) {
        return listed == wide && fileId == identity.file;
    });
}

} // namespace

void DirectoryHandle::CloseNative(intptr_t handle)
{
    CloseHandle(H(handle));
}

DirectoryHandle DirectoryHandle::Open(const std::string& path)
{
    DirectoryHandle result;
    if (path.empty())
        return result;
    // Deleting children needs nothing from the folder's handle; sharing lets them (and it) go.
    Closer folder{CreateFileW(ExtendedPath(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                              kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    if (folder.handle == INVALID_HANDLE_VALUE)
        return result;
    BY_HANDLE_FILE_INFORMATION info{};
    std::wstring finalPath;
    if (!GetFileInformationByHandle(folder.handle, &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !(FinalPathOf(folder.handle, false, finalPath) || FinalPathOf(folder.handle, true, finalPath)))
        return result;
    result.handle_ = reinterpret_cast<intptr_t>(folder.Release());
    result.identity_ = IdentityOf(info);
    result.finalPath_ = Narrow(finalPath);
    return result;
}

bool DirectoryHandle::IsOpen() const { return handle_ != -1; }

bool DirectoryHandle::Describe(const std::string& name, HeldEntry& entry) const
{
    if (!IsOpen() || !IsPlainName(name))
        return false;
    Closer child{OpenRelative(H(handle_), Widen(name), FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll, kChildOptions)};
    Examined examined;
    if (child.handle == INVALID_HANDLE_VALUE ||
        !Examine(H(handle_), child.handle, Widen(finalPath_), identity_, name, Check::Name, examined))
        return false;
    entry = examined.entry;
    return true;
}

bool DirectoryHandle::List(std::vector<HeldEntry>& entries) const
{
    entries.clear();
    if (!IsOpen())
        return false;
    // The listing gets its own handle (an empty name reopens the folder itself): enumeration moves
    // a handle's position, and this one stays usable from any thread.
    Closer listing{OpenRelative(H(handle_), std::wstring(), FILE_LIST_DIRECTORY | SYNCHRONIZE, kShareAll,
                                FILE_DIRECTORY_FILE | kChildOptions)};
    if (listing.handle == INVALID_HANDLE_VALUE)
        return false;
    HeldEntry entry;
    return ReadListing(listing.handle, std::wstring(), [&](const FILE_ID_BOTH_DIR_INFORMATION& record) {
               const std::string name = Narrow(record.FileName, static_cast<int>(record.FileNameLength / sizeof(wchar_t)));
               // Each child is described by opening it: the record alone cannot tell Wine's links.
               if (name != "." && name != ".." && Describe(name, entry)) {
                   // Wine marks dot files hidden in listings only.
                   entry.attributes |= record.FileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
                   entries.push_back(entry);
               }
               return false;
           }) == ListingEnd::Ended;
}

DirectoryHandle DirectoryHandle::OpenSubdirectory(const std::string& name, const FileIdentity* expected) const
{
    DirectoryHandle result;
    // Below such a name Wine's names of handles drop or climb ("t\...\g" shows as "t\..\g"), so no
    // child there could be told from a link to elsewhere.
    if (!IsOpen() || !IsPlainName(name) || IsLossyName(name))
        return result;
    Closer child{OpenRelative(H(handle_), Widen(name), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                              kShareAll, FILE_DIRECTORY_FILE | kChildOptions)};
    Examined examined;
    if (child.handle == INVALID_HANDLE_VALUE ||
        !Examine(H(handle_), child.handle, Widen(finalPath_), identity_, name, Check::Listing, examined))
        return result;
    const HeldEntry& entry = examined.entry;
    if (entry.kind != HeldKind::Directory || entry.mountPoint || (expected && !(entry.identity == *expected)))
        return result;
    result.handle_ = reinterpret_cast<intptr_t>(child.Release());
    result.identity_ = entry.identity;
    // The child's own final path: it equals this folder's and the name, in the letter case on disk.
    result.finalPath_ = Narrow(examined.finalPath);
    return result;
}

bool DirectoryHandle::StillHolds(const std::string& name, const DirectoryHandle& child) const
{
    if (!IsOpen() || !child.IsOpen() || !IsPlainName(name) || IsLossyName(name))
        return false;
    Closer opened{OpenRelative(H(handle_), Widen(name), FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll,
                               FILE_DIRECTORY_FILE | kChildOptions)};
    Examined examined;
    if (opened.handle == INVALID_HANDLE_VALUE ||
        !Examine(H(handle_), opened.handle, Widen(finalPath_), identity_, name, Check::Held, examined))
        return false;
    const HeldEntry& entry = examined.entry;
    return entry.kind == HeldKind::Directory && !entry.mountPoint && entry.identity == child.identity_ &&
           SamePath(examined.finalPath, Widen(child.finalPath_));
}

bool DirectoryHandle::StillAt(const std::string& path) const
{
    if (!IsOpen() || path.empty())
        return false;
    Closer folder{CreateFileW(ExtendedPath(path).c_str(), FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    BY_HANDLE_FILE_INFORMATION info{};
    if (folder.handle == INVALID_HANDLE_VALUE || !InformationOf(folder.handle, identity_, !UnderWine(), info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !(IdentityOf(info) == identity_))
        return false;
    // Under Wine the volume was not asked: the place where the path leads now, its drive letter
    // included, must be where the held folder was opened.
    std::wstring finalPath;
    return !UnderWine() || ((FinalPathOf(folder.handle, false, finalPath) || FinalPathOf(folder.handle, true, finalPath)) &&
                            SamePath(finalPath, Widen(finalPath_)));
}

bool DirectoryHandle::DeleteEntry(const std::string& name, const HeldEntry& expected, HeldEntry* removed) const
{
    if (!IsOpen() || !IsPlainName(name) || (expected.kind != HeldKind::File && expected.kind != HeldKind::Link))
        return false;
    const std::wstring wide = Widen(name);
    // Write access to the attributes is wanted only to clear a read-only bit; the file's security
    // may deny it where deleting is still allowed.
    bool canWriteAttributes = true;
    Closer child{OpenRelative(H(handle_), wide, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                              kShareAll, kChildOptions)};
    if (child.handle == INVALID_HANDLE_VALUE) {
        canWriteAttributes = false;
        child.handle = OpenRelative(H(handle_), wide, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll, kChildOptions);
    }
    Examined examined;
    if (child.handle == INVALID_HANDLE_VALUE ||
        !Examine(H(handle_), child.handle, Widen(finalPath_), identity_, name, Check::Name, examined))
        return false;
    const HeldEntry& now = examined.entry;
    // Reached elsewhere (Wine shows a Unix link as its target): deleting through this handle would
    // delete the target. A reparse point reached at its own place is the link itself.
    if (!examined.samePlace || now.mountPoint || now.kind != expected.kind || !(now.identity == expected.identity))
        return false;
    const bool marked = (examined.info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                            ? DeleteReadOnly(child.handle, examined.info, canWriteAttributes)
                            : MarkForDeletion(child.handle);
    // The name goes as the handle closes.
    CloseHandle(child.Release());
    if (!marked || !Gone(H(handle_), name, now.identity))
        return false;
    if (removed)
        *removed = now;
    return true;
}

bool DirectoryHandle::RemoveSubdirectory(const std::string& name, const FileIdentity& expected) const
{
    if (!IsOpen() || !IsPlainName(name))
        return false;
    Closer child{OpenRelative(H(handle_), Widen(name), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll,
                              FILE_DIRECTORY_FILE | kChildOptions)};
    Examined examined;
    if (child.handle == INVALID_HANDLE_VALUE ||
        !Examine(H(handle_), child.handle, Widen(finalPath_), identity_, name, Check::Name, examined))
        return false;
    const HeldEntry& now = examined.entry;
    if (now.kind != HeldKind::Directory || now.mountPoint || !(now.identity == expected))
        return false;
    // Windows and Wine both refuse the mark on a folder that is not empty. The caller may still hold
    // the folder open, and then it goes only as that handle closes.
    return MarkForDeletion(child.handle);
}

FileHandle DirectoryHandle::OpenForRewrite(const std::string& name, const FileIdentity& expected) const
{
    if (!IsOpen() || !IsPlainName(name))
        return FileHandle();
    // Read access as well: asking for the allocated ranges of a file needs it. No sharing while rewritten.
    Closer child{OpenRelative(H(handle_), Widen(name), FILE_READ_DATA | FILE_WRITE_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                              0, FILE_NON_DIRECTORY_FILE | kChildOptions)};
    Examined examined;
    if (child.handle == INVALID_HANDLE_VALUE ||
        !Examine(H(handle_), child.handle, Widen(finalPath_), identity_, name, Check::Name, examined))
        return FileHandle();
    // A read-only file is refused as Windows refuses it; Wine lets root open one for writing.
    const HeldEntry& now = examined.entry;
    if (now.kind != HeldKind::File || !(now.identity == expected) || now.linkCount != 1 ||
        (examined.info.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        return FileHandle();
    return FileHandle(reinterpret_cast<intptr_t>(child.Release()));
}

bool DirectoryHandle::AllowEntryRemoval() { return IsOpen(); }

void DirectoryHandle::RestoreMode() { modeChanged_ = false; }

bool QueryOwnIdentity(const std::string& path, FileIdentity& identity)
{
    if (path.empty())
        return false;
    Closer handle{CreateFileW(ExtendedPath(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle.handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle.handle, &info))
        return false;
    identity = IdentityOf(info);
    return true;
}

namespace {

// The blocks that read back other than zeros, for a file whose system tells no allocated ranges
// but keeps fewer bytes on disk than its size (Wine: neither the query nor the sparse attribute).
// A hole reads as zeros, and rewriting zeros would protect nothing but fill the disk.
bool DataBlocksByReading(HANDLE handle, int64_t size, std::vector<std::pair<int64_t, int64_t>>& ranges)
{
    constexpr int64_t kBlock = 4096;
    constexpr DWORD kChunk = 1 << 20;
    std::vector<uint64_t> buffer(kChunk / 8);
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(handle, start, nullptr, FILE_BEGIN))
        return false;
    for (int64_t at = 0; at < size;) {
        DWORD read = 0;
        if (!ReadFile(handle, buffer.data(), kChunk, &read, nullptr))
            return false;
        if (read == 0)
            break;
        const auto* bytes = reinterpret_cast<const uint8_t*>(buffer.data());
        for (DWORD offset = 0; offset < read; offset += kBlock) {
            const DWORD length = static_cast<DWORD>(std::min<int64_t>(kBlock, read - offset));
            const auto* words = reinterpret_cast<const uint64_t*>(bytes + offset);
            bool data = false;
            for (DWORD w = 0; w < length / 8 && !data; ++w)
                data = words[w] != 0;
            for (DWORD b = length / 8 * 8; b < length && !data; ++b)
                data = bytes[offset + b] != 0;
            if (!data)
                continue;
            const int64_t blockStart = at + offset;
            if (!ranges.empty() && ranges.back().first + ranges.back().second == blockStart)
                ranges.back().second += length;
            else
                ranges.emplace_back(blockStart, length);
        }
        at += read;
    }
    return SetFilePointerEx(handle, start, nullptr, FILE_BEGIN) != 0;
}

} // namespace

bool FileHandle::AllocatedRanges(std::vector<std::pair<int64_t, int64_t>>& ranges)
{
    ranges.clear();
    const int64_t size = Size();
    if (size <= 0)
        return size == 0;
    // FILE_ALLOCATED_RANGE_BUFFER's layout, in plain integers. The query answers for any file,
    // sparse or not, where the file system knows it.
    struct Range {
        int64_t offset;
        int64_t length;
    };
    static_assert(sizeof(Range) == sizeof(FILE_ALLOCATED_RANGE_BUFFER), "one range record");
    Range query{0, size};
    std::vector<Range> found(256);
    for (;;) {
        DWORD returned = 0;
        const BOOL ok = DeviceIoControl(H(handle_), FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof query, found.data(),
                                        static_cast<DWORD>(found.size() * sizeof found[0]), &returned, nullptr);
        const bool more = !ok && GetLastError() == ERROR_MORE_DATA;
        if (!ok && !more) {
            ranges.clear();
            int64_t allocated = 0;
            if (AllocationSizeOf(H(handle_), allocated) && allocated < size) {
                ranges.clear();
                if (DataBlocksByReading(H(handle_), size, ranges))
                    return true;
                ranges.clear();
                return false;  // never all of it: that would allocate what the file never had
            }
            ranges.assign(1, {0, size});
            return true;
        }
        const size_t count = returned / sizeof found[0];
        for (size_t i = 0; i < count; ++i) {
            const int64_t start = found[i].offset;
            const int64_t end = start + found[i].length > size ? size : start + found[i].length;
            if (start < end)
                ranges.emplace_back(start, end - start);
        }
        if (!more || count == 0)
            break;
        const int64_t next = found[count - 1].offset + found[count - 1].length;
        if (next >= size)
            break;
        query = {next, size - next};
    }
    return true;
}

} // namespace platform
