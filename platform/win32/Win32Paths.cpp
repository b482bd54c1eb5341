#include "platform/win32/Win32Paths.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

namespace platform {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool IsDriveAbsolute(const std::wstring& path)
{
    return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]);
}

// "\\server\share" but not "\\?\" or "\\.\", which are device paths the system never normalises.
bool IsUnc(const std::wstring& path)
{
    return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]) &&
           !((path[2] == L'?' || path[2] == L'.') && (path.size() == 3 || IsSeparator(path[3])));
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, wcslen(prefix), prefix) == 0;
}

} // namespace

bool IsExtendedPath(const std::wstring& path) { return StartsWith(path, L"\\\\?\\"); }

std::wstring ExtendedPath(const std::string& path)
{
    const std::wstring wide = Widen(path);
    if (!IsDriveAbsolute(wide) && !IsUnc(wide))
        return wide;
    // The system's own normalisation, so that the prefixed path names what the plain one named:
    // separators, "." and "..", trailing dots and spaces. An absolute path needs no current folder.
    DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return wide;
    std::wstring full(length, L'\0');
    length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length == 0 || length >= full.size())
        return wide;
    full.resize(length);
    if (IsDriveAbsolute(full))
        return L"\\\\?\\" + full;
    if (IsUnc(full))
        return L"\\\\?\\UNC\\" + full.substr(2);
    // A reserved device name ("C:\x\NUL") became a device path; it stays what the plain path meant.
    return full;
}

std::wstring NormalPath(const std::wstring& systemPath)
{
    if (StartsWith(systemPath, L"\\\\?\\UNC\\"))
        return L"\\\\" + systemPath.substr(8);
    if (IsExtendedPath(systemPath) && IsDriveAbsolute(systemPath.substr(4)))
        return systemPath.substr(4);
    return systemPath;
}

} // namespace platform
