#pragma once
// Helpers for the routines' tests: environment variables restored on scope exit, links made the
// Linux way (they show as links under Wine too).
#include "platform/PlatformEnvironment.h"

#include <filesystem>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#endif

namespace routines_testing {

class ScopedEnvironment {
public:
    // Sets name to value, or unsets it when unset is true.
    ScopedEnvironment(std::string name, const std::string& value, bool unset = false) : name_(std::move(name))
    {
        had_ = platform::GetEnvironmentValue(name_, old_);
        if (unset)
            platform::UnsetEnvironmentValue(name_);
        else
            platform::SetEnvironmentValue(name_, value);
    }
    static ScopedEnvironment Unset(const std::string& name) { return ScopedEnvironment(name, "", true); }
    ~ScopedEnvironment()
    {
        if (had_)
            platform::SetEnvironmentValue(name_, old_);
        else
            platform::UnsetEnvironmentValue(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_, old_;
    bool had_ = false;
};

inline std::string Sep() { return std::string(1, std::filesystem::path::preferred_separator == L'\\' ? '\\' : '/'); }

#ifdef _WIN32
// Wine cannot make links itself; its Unix side can, and they then show as links here.
inline std::string UnixPathOf(const std::filesystem::path& path)
{
    using ToUnixFn = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnixFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix)
        return std::string();
    char* unix = toUnix(path.wstring().c_str());
    if (!unix)
        return std::string();
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

// Runs a program of Wine's Unix side (from /bin) with its arguments quoted; true when it started.
inline bool RunUnixProgram(const std::wstring& program, const std::vector<std::wstring>& arguments)
{
    std::wstring command = program;
    for (const auto& argument : arguments) {
        if (argument.empty())
            return false;
        command += L" \"" + argument + L"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW((L"Z:\\bin\\" + program).c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    // Wine gives no process handle for a Unix program, and a stray thread value: closing that
    // would close whichever handle it aliases (the test's standard output, say).
    if (process.hProcess) {
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return true;
}

inline bool MakeDirectoryLink(const std::filesystem::path& target, const std::filesystem::path& link)
{
    const std::string from = UnixPathOf(target), to = UnixPathOf(link);
    if (from.empty() || to.empty() ||
        !RunUnixProgram(L"ln", {L"-s", std::filesystem::u8path(from).wstring(), std::filesystem::u8path(to).wstring()}))
        return false;
    // The Unix process may not have run yet when it is started.
    for (int i = 0; i < 500; ++i) {
        if (GetFileAttributesW(link.wstring().c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(10);
    }
    return false;
}
#else
inline bool MakeDirectoryLink(const std::filesystem::path& target, const std::filesystem::path& link)
{
    std::error_code error;
    std::filesystem::create_directory_symlink(target, link, error);
    return !error;
}
#endif

// A symbolic link to a file; under Wine it looks like the file itself to every Windows call.
inline bool MakeFileLink(const std::filesystem::path& target, const std::filesystem::path& link)
{
    return MakeDirectoryLink(target, link);
}

} // namespace routines_testing
