#include "platform/win32/Win32Handles.h"

#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32SystemEntry.h"
#include "platform/win32/Win32Text.h"

#include <iterator>
#include <vector>

#ifndef NT_SUCCESS
#define NT_SUCCESS(status) (static_cast<NTSTATUS>(status) >= 0)
#endif

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE, HANDLE, PVOID, PVOID, PIO_STATUS_BLOCK, PVOID, ULONG,
                                               FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING, BOOLEAN);

namespace platform {

namespace {

constexpr auto kNoMoreFiles = static_cast<NTSTATUS>(0x80000006);
constexpr auto kNoSuchFile = static_cast<NTSTATUS>(0xC000000F);

// Sets the thread's last error the way the Win32 forms of these calls would.
bool Succeeded(NTSTATUS status)
{
    if (NT_SUCCESS(status))
        return true;
    SetLastError(RtlNtStatusToDosError(status));
    return false;
}

bool SetInformation(HANDLE handle, void* information, ULONG size, FILE_INFORMATION_CLASS type)
{
    IO_STATUS_BLOCK io{};
    return Succeeded(NtSetInformationFile(handle, &io, information, size, type));
}

bool QueryInformation(HANDLE handle, void* information, ULONG size, FILE_INFORMATION_CLASS type)
{
    IO_STATUS_BLOCK io{};
    return Succeeded(NtQueryInformationFile(handle, &io, information, size, type));
}

bool ObjectName(HANDLE handle, std::wstring& name)
{
    std::vector<uint64_t> buffer(8 + 32768 * sizeof(wchar_t) / 8);  // UNICODE_STRING, then the longest name
    ULONG returned = 0;
    constexpr auto kObjectNameInformation = static_cast<OBJECT_INFORMATION_CLASS>(1);
    if (!Succeeded(NtQueryObject(handle, kObjectNameInformation, buffer.data(),
                                 static_cast<ULONG>(buffer.size() * sizeof buffer[0]), &returned)))
        return false;
    const auto* text = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    if (!text->Buffer)
        return false;
    name.assign(text->Buffer, text->Length / sizeof(wchar_t));
    return true;
}

bool StartsWithFolder(const std::wstring& path, const std::wstring& folder)
{
    return path.size() >= folder.size() && EqualIgnoringCase(path.c_str(), folder.size(), folder.c_str(), folder.size()) &&
           (path.size() == folder.size() || path[folder.size()] == L'\\');
}

std::vector<DosDevice> DosDevices()
{
    std::vector<DosDevice> devices;
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if (!(drives & (1u << letter)))
            continue;
        const std::wstring drive{static_cast<wchar_t>(L'A' + letter), L':'};
        wchar_t target[1024];
        if (QueryDosDeviceW(drive.c_str(), target, static_cast<DWORD>(std::size(target))))
            devices.push_back({drive, target});  // the first of the names given
    }
    return devices;
}

} // namespace

bool UnderWine()
{
    static const bool wine = SystemEntry<FARPROC>(L"ntdll.dll", "wine_get_version") != nullptr;
    return wine;
}

bool IsPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.size() < 32768 &&
           name.find_first_of(std::string("\\/:\0", 4)) == std::string::npos;
}

HANDLE OpenRelative(HANDLE parent, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG options)
{
    NTSTATUS status = 0;
    return CreateRelative(parent, name, access, share, FILE_OPEN, options, status);
}

HANDLE CreateRelative(HANDLE parent, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG disposition,
                      ULONG options, NTSTATUS& status)
{
    UNICODE_STRING unicodeName;
    unicodeName.Buffer = const_cast<PWSTR>(name.c_str());
    unicodeName.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    unicodeName.MaximumLength = unicodeName.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &unicodeName, OBJ_CASE_INSENSITIVE, parent, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE child = INVALID_HANDLE_VALUE;
    status = NtCreateFile(&child, access, &attributes, &io, nullptr, 0, share, disposition, options, nullptr, 0);
    return NT_SUCCESS(status) ? child : INVALID_HANDLE_VALUE;
}

bool FinalPathOf(HANDLE handle, bool ntForm, std::wstring& path)
{
    using GetFinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    static const auto getFinalPath = SystemEntry<GetFinalPathFn>(L"kernel32.dll", "GetFinalPathNameByHandleW");
    if (!getFinalPath)
        return PathFromObjectName(handle, ntForm, path);
    constexpr DWORD kNormalized = 0x0, kDosVolume = 0x0, kNtVolume = 0x2;
    const DWORD flags = kNormalized | (ntForm ? kNtVolume : kDosVolume);
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = getFinalPath(handle, &buffer[0], static_cast<DWORD>(buffer.size()), flags);
    if (length >= buffer.size()) {
        buffer.assign(length + 1, L'\0');
        length = getFinalPath(handle, &buffer[0], static_cast<DWORD>(buffer.size()), flags);
    }
    // Wine fails the call past MAX_PATH on a fixed buffer, and keeps the DOS path as the name.
    if (length == 0 || length >= buffer.size())
        return length == 0 && !ntForm && PathFromObjectName(handle, false, path);
    buffer.resize(length);
    path = ntForm ? buffer : NormalPath(buffer);
    return true;
}

bool PathFromObjectName(HANDLE handle, bool ntForm, std::wstring& path)
{
    std::wstring name;
    if (!ObjectName(handle, name))
        return false;
    if (name.compare(0, 4, L"\\??\\") == 0) {  // Wine's names
        if (ntForm)
            return false;
        path = NormalPath(L"\\\\?\\" + name.substr(4));
        return !IsExtendedPath(path);
    }
    if (!IsNtForm(name))
        return false;
    path = ntForm ? name : DosFormOf(name, DosDevices());
    return true;
}

std::wstring DosFormOf(const std::wstring& ntPath, const std::vector<DosDevice>& devices)
{
    // Shares: the multiple-provider router, or XP's redirector with its "\;Z:000...\" session part.
    for (const std::wstring network : {L"\\Device\\Mup", L"\\Device\\LanmanRedirector"}) {
        if (!StartsWithFolder(ntPath, network) || ntPath.size() == network.size())
            continue;
        size_t share = network.size() + 1;
        if (ntPath[share] == L';')
            share = ntPath.find(L'\\', share);
        if (share != std::wstring::npos)
            return L"\\\\" + ntPath.substr(share + (ntPath[share] == L'\\' ? 1 : 0));
    }
    for (const DosDevice& device : devices)
        if (!device.device.empty() && StartsWithFolder(ntPath, device.device)) {
            const std::wstring rest = ntPath.substr(device.device.size());
            return device.drive + (rest.empty() ? L"\\" : rest);
        }
    return ntPath;
}

bool IsNtForm(const std::wstring& path) { return path.size() > 1 && path[0] == L'\\' && path[1] != L'\\'; }

std::wstring ChildPath(const std::wstring& folder, const std::wstring& name)
{
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return UnderWine() ? a == b : EqualIgnoringCase(a, b);
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info)
{
    return {info.dwVolumeSerialNumber, (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool AttributesAndIndexOf(HANDLE handle, DWORD& attributes, uint64_t& index)
{
    FILE_BASIC_INFORMATION basic{};
    FILE_INTERNAL_INFORMATION internal{};
    if (!QueryInformation(handle, &basic, sizeof basic, FileBasicInformation) ||
        !QueryInformation(handle, &internal, sizeof internal, FileInternalInformation))
        return false;
    attributes = basic.FileAttributes;
    index = static_cast<uint64_t>(internal.IndexNumber.QuadPart);
    return true;
}

int64_t ModifiedOf(const BY_HANDLE_FILE_INFORMATION& info)
{
    return static_cast<int64_t>((static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                info.ftLastWriteTime.dwLowDateTime);
}

ListingEnd ReadListing(HANDLE listing, const std::wstring& mask,
                       const std::function<bool(const FILE_ID_BOTH_DIR_INFORMATION&)>& visit)
{
    if (mask.size() > 32767)
        return ListingEnd::Failed;
    UNICODE_STRING maskString;
    maskString.Buffer = const_cast<PWSTR>(mask.c_str());
    maskString.Length = static_cast<USHORT>(mask.size() * sizeof(wchar_t));
    maskString.MaximumLength = maskString.Length;
    // 64 KiB, aligned for the records: network servers may refuse a larger read of a folder.
    std::vector<uint64_t> buffer(8192);
    for (BOOLEAN restart = TRUE;; restart = FALSE) {
        IO_STATUS_BLOCK io{};
        const NTSTATUS status = NtQueryDirectoryFile(listing, nullptr, nullptr, nullptr, &io, buffer.data(),
                                                     static_cast<ULONG>(buffer.size() * 8), FileIdBothDirectoryInformation,
                                                     FALSE, mask.empty() ? nullptr : &maskString, restart);
        if (status == kNoMoreFiles || (restart && status == kNoSuchFile))
            return ListingEnd::Ended;
        if (!Succeeded(status))
            return ListingEnd::Failed;
        const auto* bytes = reinterpret_cast<const uint8_t*>(buffer.data());
        for (;;) {
            const auto* record = reinterpret_cast<const FILE_ID_BOTH_DIR_INFORMATION*>(bytes);
            if (visit(*record))
                return ListingEnd::Stopped;
            if (record->NextEntryOffset == 0)
                break;
            bytes += record->NextEntryOffset;
        }
    }
}

bool ReparseTagOf(HANDLE handle, DWORD& tag)
{
    FILE_ATTRIBUTE_TAG_INFORMATION information{};
    if (!QueryInformation(handle, &information, sizeof information, FileAttributeTagInformation))
        return false;
    tag = information.ReparseTag;
    return true;
}

bool AllocationSizeOf(HANDLE handle, int64_t& size)
{
    FILE_STANDARD_INFORMATION information{};
    if (!QueryInformation(handle, &information, sizeof information, FileStandardInformation))
        return false;
    size = information.AllocationSize.QuadPart;
    return true;
}

bool MarkForDeletion(HANDLE handle)
{
    FILE_DISPOSITION_INFORMATION disposition{};
    disposition.DoDeleteFile = TRUE;
    return SetInformation(handle, &disposition, sizeof disposition, FileDispositionInformation);
}

bool MarkForDeletionEx(HANDLE handle, DWORD flags)
{
    constexpr auto kFileDispositionInformationEx = static_cast<FILE_INFORMATION_CLASS>(64);
    ULONG information = flags;  // FILE_DISPOSITION_INFORMATION_EX is a single ULONG
    return SetInformation(handle, &information, sizeof information, kFileDispositionInformationEx);
}

bool SetAttributesOf(HANDLE handle, DWORD attributes)
{
    FILE_BASIC_INFORMATION basic{};  // zero times are left as they are
    basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    return SetInformation(handle, &basic, sizeof basic, FileBasicInformation);
}

} // namespace platform
