#include "platform/PlatformPrograms.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <vector>

namespace platform {

namespace {

std::wstring FolderOf(UINT(WINAPI* get)(LPWSTR, UINT))
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = get(buffer, MAX_PATH + 1);
    return length && length <= MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

} // namespace

std::string FindProgramOnSearchPath(const std::string& name)
{
    if (name.empty())
        return {};
    // The system's folders, then PATH; never the current folder, where anyone may have left a
    // program of that name.
    std::wstring folders = FolderOf(&GetSystemDirectoryW) + L";" + FolderOf(&GetWindowsDirectoryW);
    const DWORD pathLength = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (pathLength) {
        std::wstring path(pathLength, L'\0');
        path.resize(GetEnvironmentVariableW(L"PATH", &path[0], pathLength));
        folders += L";" + path;
    }
    const std::wstring wide = Widen(name);
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length = SearchPathW(folders.c_str(), wide.c_str(), L".exe", static_cast<DWORD>(buffer.size()),
                                         buffer.data(), nullptr);
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            const DWORD attributes = GetFileAttributesW(buffer.data());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
                return {};
            return Narrow(buffer.data(), static_cast<int>(length));
        }
        buffer.resize(length + 1);
    }
    return {};
}

bool StartProgram(const std::string& program, const std::string& arguments)
{
    if (program.empty())
        return false;
    // The program is named twice: as the file to run, so no other file of a similar name can be
    // started, and quoted at the head of the command line, where the program reads it.
    std::wstring commandLine = L"\"" + Widen(program) + L"\"";
    if (!arguments.empty())
        commandLine += L" " + Widen(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(Widen(program).c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace platform
