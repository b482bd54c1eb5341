#include "platform/PlatformEnvironment.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Paths.h"

#include <windows.h>

namespace platform {

bool GetEnvironmentValue(const std::string& name, std::string& value)
{
    const std::wstring wideName = Widen(name);
    // A set variable, even an empty one, needs room for its terminator.
    DWORD length = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (length == 0)
        return false;
    std::wstring buffer(length, L'\0');
    length = GetEnvironmentVariableW(wideName.c_str(), &buffer[0], length);
    if (length >= buffer.size())
        return false;
    buffer.resize(length);
    value = Narrow(buffer);
    return true;
}

bool SetEnvironmentValue(const std::string& name, const std::string& value)
{
    return SetEnvironmentVariableW(Widen(name).c_str(), Widen(value).c_str()) != 0;
}

bool UnsetEnvironmentValue(const std::string& name) { return SetEnvironmentVariableW(Widen(name).c_str(), nullptr) != 0; }

bool ExpandEnvironmentText(const std::string& text, std::string& result)
{
    const std::wstring wide = Widen(text);
    DWORD length = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (length == 0)
        return false;
    std::wstring buffer(length, L'\0');
    length = ExpandEnvironmentStringsW(wide.c_str(), &buffer[0], length);
    if (length == 0 || length > buffer.size())
        return false;
    buffer.resize(length - 1);
    result = Narrow(buffer);
    return true;
}

std::string WindowsDirectory()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return std::string();
    std::string dir = Narrow(buffer, static_cast<int>(length));
    while (dir.size() > 3 && dir.back() == '\\')
        dir.pop_back();
    return dir;
}

std::string HomeDirectory()
{
    std::string home;
    return GetEnvironmentValue("USERPROFILE", home) ? home : std::string();
}

char PathListSeparator() { return ';'; }

bool IsExecutableFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace platform
