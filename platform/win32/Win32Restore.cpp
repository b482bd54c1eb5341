#include "platform/PlatformError.h"
#include "platform/PlatformRestore.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>
#include <winternl.h>

#include <cstring>
#include <vector>

namespace platform {

namespace {

constexpr auto kNameCollision = static_cast<NTSTATUS>(0xC0000035);
constexpr auto kNameNotFound = static_cast<NTSTATUS>(0xC0000034);
constexpr auto kAccessDenied = static_cast<NTSTATUS>(0xC0000022);
constexpr auto kSharingViolation = static_cast<NTSTATUS>(0xC0000043);
constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr ULONG kChildOptions = FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT | FILE_SYNCHRONOUS_IO_NONALERT;
constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY |
                                      FILE_READ_ATTRIBUTES | SYNCHRONIZE;

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~Handle() { Reset(INVALID_HANDLE_VALUE); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    void Reset(HANDLE handle)
    {
        if (handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr)
            CloseHandle(handle_);
        handle_ = handle;
    }
    HANDLE Release()
    {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
    HANDLE get() const { return handle_; }
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

private:
    HANDLE handle_;
};

// A folder held with where it really is, to tell a child reached through a link.
struct HeldFolder {
    Handle handle;
    std::wstring finalPath;
};

bool OpenNamed(const std::string& path, HeldFolder& folder)
{
    folder.handle.Reset(CreateFileW(ExtendedPath(path).c_str(), kFolderAccess, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder.handle.ok())
        folder.handle.Reset(CreateFileW(ExtendedPath(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                        kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return folder.handle.ok() &&
           (FinalPathOf(folder.handle.get(), false, folder.finalPath) || FinalPathOf(folder.handle.get(), true, folder.finalPath));
}

// Whether the held parent's listing shows name as this very object, and no link: Wine opens a
// link's target under the link's name, and only the listing read through the parent tells them.
bool ListedAsItself(HANDLE parent, const std::wstring& name, const BY_HANDLE_FILE_INFORMATION& info)
{
    Handle listing(OpenRelative(parent, std::wstring(), FILE_LIST_DIRECTORY | SYNCHRONIZE, kShareAll,
                                FILE_DIRECTORY_FILE | kChildOptions));
    const uint64_t id = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    bool own = false;
    return listing.ok() &&
           ReadListing(listing.get(), name, [&](const FILE_ID_BOTH_DIR_INFORMATION& record) {
               if (std::wstring(record.FileName, record.FileNameLength / sizeof(wchar_t)) != name)
                   return false;
               own = static_cast<uint64_t>(record.FileId.QuadPart) == id &&
                     !(record.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
               return true;
           }) == ListingEnd::Stopped &&
           own;
}

// The named child folder of parent, never through a link or onto another volume's root; made
// first when create is set. Held without letting others rename or delete it while it is used.
bool OpenFolderBelow(const HeldFolder& parent, const std::string& name, bool create, HeldFolder& child,
                     std::string& detail)
{
    if (!IsPlainName(name)) {
        detail = "\"" + name + "\" is no folder name";
        return false;
    }
    const std::wstring wide = Widen(name);
    NTSTATUS status = 0;
    for (const ULONG share : {static_cast<ULONG>(FILE_SHARE_READ | FILE_SHARE_WRITE), kShareAll}) {
        child.handle.Reset(CreateRelative(parent.handle.get(), wide, kFolderAccess, share,
                                          create ? FILE_OPEN_IF : FILE_OPEN, FILE_DIRECTORY_FILE | kChildOptions, status));
        if (child.handle.ok() || (status != kSharingViolation && status != kAccessDenied))
            break;
    }
    if (!child.handle.ok()) {
        detail = "\"" + name + "\" on its way " +
                 (status == kNameNotFound ? std::string("is missing")
                                          : "cannot be opened: " + SystemErrorMessage(static_cast<int>(RtlNtStatusToDosError(status))));
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool sound = GetFileInformationByHandle(child.handle.get(), &info) &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                       !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                       FinalPathOf(child.handle.get(), IsNtForm(parent.finalPath), child.finalPath) &&
                       SamePath(child.finalPath, ChildPath(parent.finalPath, wide)) &&
                       (!UnderWine() || ListedAsItself(parent.handle.get(), wide, info));
    if (!sound) {
        child.handle.Reset(INVALID_HANDLE_VALUE);
        detail = "\"" + name + "\" on its way is a link or no folder";
    }
    return sound;
}

bool OpenPlace(const RestorePlace& place, bool create, HeldFolder& folder, std::string& detail)
{
    if (!OpenNamed(place.anchor, folder)) {
        detail = "\"" + place.anchor + "\": " + SystemErrorMessage(LastErrorCode());
        return false;
    }
    for (const std::string& name : place.folders) {
        HeldFolder next;
        if (!OpenFolderBelow(folder, name, create, next, detail))
            return false;
        folder.handle.Reset(next.handle.Release());
        folder.finalPath = std::move(next.finalPath);
    }
    return true;
}

// inBin: Wine gives each drive letter its own volume serial, so the object the scan saw on C: shows
// another one in Wine's bin (Z:\...\Trash) though it never left its Unix file system; there the
// file number, which is the Unix one, pins it (a move across file systems is refused anyway).
bool IsExpected(const BY_HANDLE_FILE_INFORMATION& info, const RestoreExpectation& expected, bool inBin)
{
    const FileIdentity identity = IdentityOf(info);
    if (identity.file != expected.identity.file || (identity.volume != expected.identity.volume && !(inBin && UnderWine())))
        return false;
    const DWORD attributes = info.dwFileAttributes;
    if (expected.kind == RestoreKind::Link)
        return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return false;
    if (expected.kind == RestoreKind::Folder)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    if (!inBin)
        return true;
    if (expected.modified >= 0 && expected.modified != ModifiedOf(info))
        return false;
    if (expected.fileSizes.empty())
        return true;
    const auto size = static_cast<int64_t>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    for (const int64_t expectedSize : expected.fileSizes)
        if (expectedSize == size)
            return true;
    return false;
}

// Renames the held object into the held folder; never over an existing entry.
NTSTATUS RenameInto(HANDLE object, HANDLE folder, const std::wstring& name)
{
    // FILE_RENAME_INFORMATION: ReplaceIfExists, RootDirectory, FileNameLength, FileName.
    struct Header {
        BOOLEAN replaceIfExists;
        HANDLE rootDirectory;
        ULONG fileNameLength;
    };
    const size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<uint8_t> buffer(sizeof(Header) + nameBytes + sizeof(wchar_t), 0);
    Header header{FALSE, folder, static_cast<ULONG>(nameBytes)};
    std::memcpy(buffer.data(), &header, sizeof header);
    std::memcpy(buffer.data() + sizeof header, name.data(), nameBytes);
    IO_STATUS_BLOCK io{};
    return NtSetInformationFile(object, &io, buffer.data(), static_cast<ULONG>(buffer.size()), FileRenameInformation);
}

} // namespace

RestoreOutcome RestoreFromBin(const BinEntry& bin, const RestorePlace& place, const RestoreExpectation& expected,
                              std::string& detail)
{
    detail.clear();
    HeldFolder base, entryFolder;
    HeldFolder* folder = &base;
    bool held = OpenNamed(bin.base, base);
    if (held && !bin.entryFolder.empty()) {
        std::string ignored;
        held = OpenFolderBelow(base, bin.entryFolder, false, entryFolder, ignored);
        folder = &entryFolder;
    }
    Handle object;
    BY_HANDLE_FILE_INFORMATION info{};
    if (held && IsPlainName(bin.name))
        object.Reset(OpenRelative(folder->handle.get(), Widen(bin.name), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                  kShareAll, kChildOptions));
    const bool inBin = object.ok() && GetFileInformationByHandle(object.get(), &info) && IsExpected(info, expected, true);
    if (!inBin) {
        std::string ignored;
        HeldFolder parent;
        if (!IsPlainName(place.name) || !OpenPlace(place, false, parent, ignored))
            return RestoreOutcome::NotInBin;
        Handle there(OpenRelative(parent.handle.get(), Widen(place.name), FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll,
                                  kChildOptions));
        BY_HANDLE_FILE_INFORMATION now{};
        return there.ok() && GetFileInformationByHandle(there.get(), &now) && IsExpected(now, expected, false)
                   ? RestoreOutcome::AlreadyRestored
                   : RestoreOutcome::NotInBin;
    }
    if (!IsPlainName(place.name)) {
        detail = "\"" + place.name + "\" is no name";
        return RestoreOutcome::Refused;
    }
    HeldFolder parent;
    if (!OpenPlace(place, true, parent, detail))
        return RestoreOutcome::Refused;
    // The object is moved by its handle, checked above: nothing that took its name in the bin since.
    const NTSTATUS status = RenameInto(object.get(), parent.handle.get(), Widen(place.name));
    if (status == kNameCollision || status == kAccessDenied) {
        // Windows answers a taken name with a folder there as access denied.
        Handle there(OpenRelative(parent.handle.get(), Widen(place.name), FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll,
                                  kChildOptions));
        if (status == kNameCollision || there.ok())
            return RestoreOutcome::PlaceTaken;
    }
    if (status < 0) {
        detail = SystemErrorMessage(static_cast<int>(RtlNtStatusToDosError(status)));
        return RestoreOutcome::Refused;
    }
    if (!bin.recordName.empty() && IsPlainName(bin.recordName)) {
        HeldFolder records;
        std::string ignored;
        const HeldFolder* recordsFolder = folder;
        if (!bin.recordFolder.empty())
            recordsFolder = OpenFolderBelow(base, bin.recordFolder, false, records, ignored) ? &records : nullptr;
        if (recordsFolder) {
            Handle record(OpenRelative(recordsFolder->handle.get(), Widen(bin.recordName),
                                       DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, kShareAll,
                                       FILE_NON_DIRECTORY_FILE | kChildOptions));
            BY_HANDLE_FILE_INFORMATION recordInfo{};
            if (record.ok() && GetFileInformationByHandle(record.get(), &recordInfo) &&
                !(recordInfo.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                MarkForDeletion(record.get());
        }
    }
    return RestoreOutcome::Restored;
}

} // namespace platform
