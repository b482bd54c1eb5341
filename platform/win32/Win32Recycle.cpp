#include "platform/PlatformRecycle.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32SystemEntry.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <set>
#include <vector>

namespace platform {

namespace {

// The shell's recycle takes DOS paths of at most MAX_PATH characters.
constexpr size_t kLongestShellPath = MAX_PATH - 1;

struct Held {
    HANDLE handle = INVALID_HANDLE_VALUE;
    Held() = default;
    explicit Held(HANDLE h) : handle(h) {}
    Held(Held&& other) noexcept : handle(other.handle) { other.handle = INVALID_HANDLE_VALUE; }
    Held& operator=(Held&&) = delete;
    ~Held()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};

// Opened as itself, never through a link, sharing everything but deletion: while it is held no
// one can rename, move or delete it.
HANDLE OpenPinned(const std::wstring& path, bool pinned)
{
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | (pinned ? 0 : FILE_SHARE_DELETE);
    return CreateFileW(ExtendedPath(Narrow(path)).c_str(), FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// The path the shell is handed: full, or past MAX_PATH its folder's short (8.3) form with the
// object's own name, the same object by another spelling; empty when none fits.
std::wstring ShellPath(const std::wstring& full, const std::wstring& name)
{
    if (full.size() <= kLongestShellPath)
        return full;
    const std::wstring folder = ExtendedPath(Narrow(full.substr(0, full.size() - name.size() - 1)));
    std::wstring shortForm(32768, L'\0');
    const DWORD length = GetShortPathNameW(folder.c_str(), &shortForm[0], static_cast<DWORD>(shortForm.size()));
    if (length == 0 || length >= shortForm.size())
        return std::wstring();
    shortForm.resize(length);
    const std::wstring path = NormalPath(shortForm) + L"\\" + name;
    return path.size() <= kLongestShellPath ? path : std::wstring();
}

bool Describe(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info)
{
    return handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info);
}

// "C:\" for "C:\a\b"; empty for any other form (a share, a device path).
std::wstring DriveRoot(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')))
        return path.substr(0, 3);
    return std::wstring();
}

// The decoded "Path=" of a .trashinfo (Wine leaves some characters, ":" among them, unencoded).
std::string RecordedPath(const char* info)
{
    const char* at = std::strstr(info, "\nPath=");
    if (!at)
        return std::string();
    std::string path;
    for (at += 6; *at && *at != '\n' && *at != '\r'; ++at) {
        const auto hex = [](char ch) {
            return ch >= '0' && ch <= '9' ? ch - '0' : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10 : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10 : -1;
        };
        if (*at == '%' && at[1] && at[2] && hex(at[1]) >= 0 && hex(at[2]) >= 0) {
            path += static_cast<char>(hex(at[1]) * 16 + hex(at[2]));
            at += 2;
        } else
            path += *at;
    }
    return path;
}

// Under Wine the bin is the freedesktop Trash: the entry whose record names the object, as
// Windows sees the trash. Empty when it cannot be told.
std::wstring WineTrashEntry(const std::wstring& original, const std::set<std::wstring>& taken)
{
    using UnixNameFn = char*(CDECL*)(LPCWSTR);
    using DosNameFn = LPWSTR(CDECL*)(LPCSTR);
    const auto unixName = SystemEntry<UnixNameFn>(L"kernel32.dll", "wine_get_unix_file_name");
    const auto dosName = SystemEntry<DosNameFn>(L"kernel32.dll", "wine_get_dos_file_name");
    if (!unixName || !dosName)
        return std::wstring();
    std::string unixPath;
    if (char* name = unixName(original.c_str())) {
        unixPath = name;
        HeapFree(GetProcessHeap(), 0, name);
    }
    wchar_t data[MAX_PATH * 4] = {};
    std::string trash;
    if (GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH * 4) > 0 && data[0] == L'/')
        trash = Narrow(data) + "/Trash";
    else if (GetEnvironmentVariableW(L"HOME", data, MAX_PATH * 4) > 0 && data[0] == L'/')
        trash = Narrow(data) + "/.local/share/Trash";
    if (unixPath.empty() || trash.empty())
        return std::wstring();
    LPWSTR dosTrash = dosName(trash.c_str());
    if (!dosTrash)
        return std::wstring();
    const std::wstring trashPath = dosTrash;
    HeapFree(GetProcessHeap(), 0, dosTrash);
    // The newest record that names the object and that no earlier move of this clean claimed.
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((trashPath + L"\\info\\*.trashinfo").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring best;
    FILETIME bestTime{};
    do {
        std::wstring name = found.cFileName;
        name.resize(name.size() - std::wcslen(L".trashinfo"));
        const std::wstring entry = trashPath + L"\\files\\" + name;
        if (taken.count(entry) != 0 || (!best.empty() && CompareFileTime(&found.ftLastWriteTime, &bestTime) < 0))
            continue;
        HANDLE file = CreateFileW((trashPath + L"\\info\\" + found.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        char text[8192];
        DWORD read = 0;
        const bool ok = ReadFile(file, text, sizeof text - 1, &read, nullptr) != 0;
        CloseHandle(file);
        text[ok ? read : 0] = '\0';
        if (RecordedPath(text) == unixPath) {
            best = entry;
            bestTime = found.ftLastWriteTime;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return best;
}

// Vista and later keep each object as "$R..." beside its record "$I..." in the drive's
// $Recycle.Bin\<SID>; the record holds the original path after a small header. Empty when no new
// record names the object (Windows XP keeps another layout).
std::wstring RecycleBinEntry(const std::wstring& root, const std::wstring& original, const std::set<std::wstring>& taken,
                             const std::wstring& given)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return std::wstring();
    std::vector<unsigned char> buffer(256);
    DWORD size = 0;
    bool ok = GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size) != 0;
    if (!ok && size > buffer.size()) {
        buffer.resize(size);
        ok = GetTokenInformation(token, TokenUser, buffer.data(), size, &size) != 0;
    }
    CloseHandle(token);
    using SidTextFn = BOOL(WINAPI*)(PSID, LPWSTR*);
    const auto sidText = SystemEntry<SidTextFn>(L"advapi32.dll", "ConvertSidToStringSidW");
    LPWSTR sid = nullptr;
    if (!ok || !sidText || !sidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid))
        return std::wstring();
    const std::wstring folder = root + L"$Recycle.Bin\\" + sid + L"\\";
    LocalFree(sid);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"$I*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring best;
    FILETIME bestTime{};
    do {
        const std::wstring entry = folder + L"$R" + (found.cFileName + 2);
        if (taken.count(entry) != 0 || (!best.empty() && CompareFileTime(&found.ftLastWriteTime, &bestTime) < 0))
            continue;
        HANDLE file = CreateFileW((folder + found.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        std::vector<unsigned char> record(24 + 4 + 2 * 33000);
        DWORD read = 0;
        const bool readOk = ReadFile(file, record.data(), static_cast<DWORD>(record.size()), &read, nullptr) != 0;
        CloseHandle(file);
        if (!readOk || read < 28)
            continue;
        // Version 1: the path fills a fixed field at 24; version 2 (Windows 10): a length at 24, the path at 28.
        const size_t start = record[0] == 2 ? 28 : 24;
        std::wstring path;
        for (size_t at = start; at + 1 < read; at += 2) {
            const wchar_t ch = static_cast<wchar_t>(record[at] | (record[at + 1] << 8));
            if (ch == 0)
                break;
            path += ch;
        }
        const auto same = [&path](const std::wstring& other) {
            return SamePath(path, other) ||
                   CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(), -1, other.c_str(), -1) == CSTR_EQUAL;
        };
        if (same(original) || same(given)) {
            best = entry;
            bestTime = found.ftLastWriteTime;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return best;
}

} // namespace

struct RecycleBins::Bin {
    std::set<std::wstring> taken;  // bin entries already attributed to objects of this clean
};

RecycleBins::RecycleBins() = default;
RecycleBins::~RecycleBins() = default;

RecycleOutcome RecycleBins::Move(const DirectoryHandle& folder, const std::string& name, const HeldEntry& expected,
                                 const std::string& path)
{
    (void)path;
    RecycleOutcome outcome;
    if (!folder.IsOpen() || !IsPlainName(name)) {
        outcome.result = RecycleResult::Changed;
        return outcome;
    }
    // Where the held folder really is: the path the shell is given must lead to it.
    const std::wstring full = ChildPath(Widen(folder.finalPath_), Widen(name));
    const std::wstring root = DriveRoot(full);
    outcome.result = RecycleResult::NoBin;
    if (root.empty() || (GetDriveTypeW(root.c_str()) != DRIVE_FIXED)) {
        outcome.reason = "no Recycle Bin on this drive";
        return outcome;
    }
    const std::wstring shellPath = ShellPath(full, Widen(name));
    if (shellPath.empty()) {
        outcome.reason = "path too long for the Recycle Bin";
        return outcome;
    }
    {
        using QueryFn = HRESULT(WINAPI*)(LPCWSTR, LPSHQUERYRBINFO);
        TSystemLibrary shell(L"shell32.dll");
        const auto query = shell.Entry<QueryFn>("SHQueryRecycleBinW");
        SHQUERYRBINFO info{};
        info.cbSize = sizeof info;
        if (!query || query(root.c_str(), &info) != S_OK) {
            outcome.reason = "no Recycle Bin on this drive";
            return outcome;
        }
    }

    // Every folder from the drive down to the object's own, pinned as the folders the clean holds:
    // none can be renamed or swapped for a link until the object has gone.
    outcome.result = RecycleResult::Changed;
    std::vector<Held> pinned;
    for (size_t at = root.size(); at < full.size(); ++at) {
        if (full[at] != L'\\')
            continue;
        Held step(OpenPinned(full.substr(0, at), true));
        BY_HANDLE_FILE_INFORMATION info{};
        if (!Describe(step.handle, info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return outcome;
        pinned.push_back(std::move(step));
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (pinned.empty() || !Describe(pinned.back().handle, info) || !(IdentityOf(info) == folder.Identity()))
        return outcome;
    // The object itself, checked through a handle on the path the shell will take.
    {
        Held object(OpenPinned(full, false));
        if (!Describe(object.handle, info) || !(IdentityOf(info) == expected.identity))
            return outcome;
    }

    using OperationFn = int(WINAPI*)(LPSHFILEOPSTRUCTW);
    TSystemLibrary shell(L"shell32.dll");
    const auto operation = shell.Entry<OperationFn>("SHFileOperationW");
    std::wstring from = shellPath;
    from.push_back(L'\0');  // the list ends with two
    SHFILEOPSTRUCTW request{};
    request.wFunc = FO_DELETE;
    request.pFrom = from.c_str();
    // Where the bin cannot take it after all (too large for it, say), the shell asks rather than
    // deleting it for good without a word.
    request.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI | FOF_WANTNUKEWARNING;
    outcome.result = RecycleResult::Failed;
    if (!operation) {
        outcome.reason = "the shell cannot be loaded";
        return outcome;
    }
    const int status = operation(&request);
    HeldEntry now;
    if (status != 0 || request.fAnyOperationsAborted || folder.Describe(name, now)) {
        outcome.reason = "the Recycle Bin refused it";
        return outcome;
    }
    std::shared_ptr<Bin>& bin = bins_[folder.Identity().volume];
    if (!bin)
        bin = std::make_shared<Bin>();
    std::wstring entry = UnderWine() ? WineTrashEntry(shellPath, bin->taken)
                                     : RecycleBinEntry(root, full, bin->taken, shellPath);
    bin->taken.insert(entry);
    // Wine moves by the Linux path, which another process can swap under the pinned folders: what
    // reached the bin is said when it is not the object checked. Its file number is the Linux one
    // and stays; the volume number is the drive letter's, and the bin may sit under another letter.
    if (UnderWine() && !entry.empty()) {
        Held moved(OpenPinned(entry, false));
        if (Describe(moved.handle, info) && IdentityOf(info).file != expected.identity.file) {
            outcome.reason = "its folder was swapped as it moved; the bin received " + Narrow(entry) + " instead";
            return outcome;
        }
    }
    outcome.result = RecycleResult::Moved;
    outcome.destination = Narrow(entry);
    return outcome;
}

} // namespace platform
