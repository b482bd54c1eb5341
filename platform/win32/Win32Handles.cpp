#include "platform/win32/Win32Handles.h"

#include "platform/win32/Win32Paths.h"

#include <winternl.h>

#include <vector>

#ifndef NT_SUCCESS
#define NT_SUCCESS(status) (static_cast<NTSTATUS>(status) >= 0)
#endif

namespace platform {

namespace {

// The DOS path from the object's name, where the system keeps that name as one: Wine does
// ("\??\C:\..."), and fails the final-path call past MAX_PATH on a fixed buffer. Windows keeps
// "\Device\..." names, and its call has no such limit.
bool DosPathFromObjectName(HANDLE handle, std::wstring& path)
{
    std::vector<uint64_t> buffer(8 + 32768 * sizeof(wchar_t) / 8);  // UNICODE_STRING, then the longest name
    ULONG returned = 0;
    constexpr auto kObjectNameInformation = static_cast<OBJECT_INFORMATION_CLASS>(1);
    if (!NT_SUCCESS(NtQueryObject(handle, kObjectNameInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size() * sizeof buffer[0]), &returned)))
        return false;
    const auto* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    if (!name->Buffer)
        return false;
    const std::wstring text(name->Buffer, name->Length / sizeof(wchar_t));
    if (text.compare(0, 4, L"\\??\\") != 0)
        return false;
    path = NormalPath(L"\\\\?\\" + text.substr(4));
    return !IsExtendedPath(path);
}

} // namespace

bool UnderWine()
{
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

bool IsPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.size() < 32768 &&
           name.find_first_of(std::string("\\/:\0", 4)) == std::string::npos;
}

HANDLE OpenRelative(HANDLE parent, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG options)
{
    UNICODE_STRING unicodeName;
    unicodeName.Buffer = const_cast<PWSTR>(name.c_str());
    unicodeName.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    unicodeName.MaximumLength = unicodeName.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &unicodeName, OBJ_CASE_INSENSITIVE, parent, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE child = INVALID_HANDLE_VALUE;
    const NTSTATUS status = NtCreateFile(&child, access, &attributes, &io, nullptr, 0, share, FILE_OPEN, options, nullptr, 0);
    return NT_SUCCESS(status) ? child : INVALID_HANDLE_VALUE;
}

bool FinalPathOf(HANDLE handle, bool ntForm, std::wstring& path)
{
    const DWORD flags = FILE_NAME_NORMALIZED | (ntForm ? VOLUME_NAME_NT : VOLUME_NAME_DOS);
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, &buffer[0], static_cast<DWORD>(buffer.size()), flags);
    if (length >= buffer.size()) {
        buffer.assign(length + 1, L'\0');
        length = GetFinalPathNameByHandleW(handle, &buffer[0], static_cast<DWORD>(buffer.size()), flags);
    }
    if (length == 0 || length >= buffer.size())
        return length == 0 && !ntForm && DosPathFromObjectName(handle, path);
    buffer.resize(length);
    path = ntForm ? buffer : NormalPath(buffer);
    return true;
}

bool IsNtForm(const std::wstring& path) { return path.size() > 1 && path[0] == L'\\' && path[1] != L'\\'; }

std::wstring ChildPath(const std::wstring& folder, const std::wstring& name)
{
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    if (UnderWine())
        return a == b;
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info)
{
    return {info.dwVolumeSerialNumber, (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

} // namespace platform
