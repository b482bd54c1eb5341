#include "platform/PlatformSystem.h"
#include "platform/win32/Win32SystemEntry.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>
#include <objbase.h>

#include <vector>

namespace platform {

bool QueryOsVersion(OsVersionRecord& record)
{
    OSVERSIONINFOA info {};
    info.dwOSVersionInfoSize = sizeof info; // the 148-byte record
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info))
        return false;
#pragma GCC diagnostic pop
    record.platformId = static_cast<int>(info.dwPlatformId);
    record.major = static_cast<int>(info.dwMajorVersion);
    record.minor = static_cast<int>(info.dwMinorVersion);
    record.build = static_cast<int>(info.dwBuildNumber);
    record.servicePack = info.szCSDVersion;
    return true;
}

bool IsSystem64Bit()
{
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64Process = SystemEntry<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

bool QueryMemoryStatus32(MemoryStatus& status)
{
    MEMORYSTATUS info {};
    info.dwLength = sizeof info;
    GlobalMemoryStatus(&info);
    status.memoryLoad = info.dwMemoryLoad;
    status.totalPhysical = info.dwTotalPhys;
    status.availablePhysical = info.dwAvailPhys;
    status.totalPageFile = info.dwTotalPageFile;
    status.availablePageFile = info.dwAvailPageFile;
    status.totalVirtual = info.dwTotalVirtual;
    status.availableVirtual = info.dwAvailVirtual;
    return true;
}

bool QueryMemoryStatus64(MemoryStatus& status)
{
    using GlobalMemoryStatusExFn = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
    const auto globalMemoryStatusEx = SystemEntry<GlobalMemoryStatusExFn>(L"kernel32.dll", "GlobalMemoryStatusEx");
    MEMORYSTATUSEX info {};
    info.dwLength = sizeof info;
    if (!globalMemoryStatusEx || !globalMemoryStatusEx(&info))
        return false;
    status.memoryLoad = info.dwMemoryLoad;
    status.totalPhysical = info.ullTotalPhys;
    status.availablePhysical = info.ullAvailPhys;
    status.totalPageFile = info.ullTotalPageFile;
    status.availablePageFile = info.ullAvailPageFile;
    status.totalVirtual = info.ullTotalVirtual;
    status.availableVirtual = info.ullAvailVirtual;
    return true;
}

std::string ExecutablePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return Narrow(buffer.data(), static_cast<int>(n));
        buffer.resize(buffer.size() * 2);
    }
}

bool QueryFileVersion(const std::string& path, uint16_t parts[4])
{
    const std::wstring wide = Widen(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(wide.c_str(), 0, size, data.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    parts[0] = HIWORD(fixed->dwFileVersionMS);
    parts[1] = LOWORD(fixed->dwFileVersionMS);
    parts[2] = HIWORD(fixed->dwFileVersionLS);
    parts[3] = LOWORD(fixed->dwFileVersionLS);
    return true;
}

std::string NewGuidText()
{
    GUID guid {};
    wchar_t text[40] = {};
    if (FAILED(CoCreateGuid(&guid)) || StringFromGUID2(guid, text, 40) == 0)
        return {};
    return Narrow(text);
}

LocalTime LocalNow()
{
    SYSTEMTIME t {};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

} // namespace platform

#include <shellapi.h>
namespace platform {
std::vector<std::string> CommandLineArguments(int, char**)
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; wide && i < count; ++i)
        result.push_back(Narrow(wide[i]));
    LocalFree(wide);
    return result;
}
} // namespace platform
