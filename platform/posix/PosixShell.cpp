#include "platform/PlatformShell.h"
#include "platform/PlatformEnvironment.h"
#include "platform/PlatformFiles.h"

#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace platform {

namespace {

std::string XdgHome(const char* variable, const char* fallback)
{
    std::string value;
    // The basedir rules ignore relative values.
    if (GetEnvironmentValue(variable, value) && !value.empty() && value[0] == '/')
        return value;
    const std::string home = HomeDirectory();
    return home.empty() ? std::string() : home + "/" + fallback;
}

// XDG_DESKTOP_DIR from user-dirs.dirs: a line like XDG_DESKTOP_DIR="$HOME/Desktop".
std::string UserDirsDesktop()
{
    const std::string key = "XDG_DESKTOP_DIR=\"";
    std::string result;
    ReadFileLines(XdgHome("XDG_CONFIG_HOME", ".config") + "/user-dirs.dirs", [&](const std::string& line) {
        if (line.compare(0, key.size(), key) != 0)
            return true;
        const size_t close = line.find('"', key.size());
        std::string value = close == std::string::npos ? std::string() : line.substr(key.size(), close - key.size());
        if (value.compare(0, 5, "$HOME") == 0)
            value = HomeDirectory() + value.substr(5);
        if (!value.empty() && value[0] == '/')
            result = value;
        return false;
    });
    return result;
}

bool Spawn(const char* program, const std::string& argument)
{
    std::string name = program;
    std::string arg = argument;
    char* argv[] = {&name[0], &arg[0], nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0)
        return false;
    // Reap the child when it ends so that it never lingers as a zombie.
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

} // namespace

std::string SpecialFolderPath(int csidl)
{
    switch (csidl) {
    case 0: {
        std::string desktop;
        if (GetEnvironmentValue("XDG_DESKTOP_DIR", desktop) && !desktop.empty() && desktop[0] == '/')
            return desktop;
        desktop = UserDirsDesktop();
        if (!desktop.empty())
            return desktop;
        const std::string home = HomeDirectory();
        return home.empty() ? std::string() : home + "/Desktop";
    }
    case 11:
        return XdgHome("XDG_DATA_HOME", ".local/share") + "/applications";
    case 26:
        return XdgHome("XDG_CONFIG_HOME", ".config");
    case 28:
        return XdgHome("XDG_DATA_HOME", ".local/share");
    default:
        return std::string();
    }
}

std::string UserTrashDirectory()
{
    const std::string data = XdgHome("XDG_DATA_HOME", ".local/share");
    return data.empty() ? std::string() : data + "/Trash";
}

bool QueryRecycleBin(int64_t&, int64_t&) { return false; }
bool EmptyRecycleBin(void*) { return false; }

bool ReadShellLinkTarget(const std::string&, std::string&) { return false; }

SelectResult OpenFolderAndSelect(const std::string&) { return SelectResult::srFailed; }

bool StartFileManagerSelecting(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    return Spawn("xdg-open", folder);
}

bool ShellOpen(const std::string& program, const std::string& parameters, bool)
{
    return Spawn(program.c_str(), parameters);
}

bool DisableFsRedirection(void*&) { return false; }
bool EnableFsRedirection(void*) { return false; }

} // namespace platform
