#include "platform/PlatformShell.h"
#include "platform/PlatformEnvironment.h"
#include "platform/PlatformFiles.h"
#include "platform/posix/PosixSpawn.h"

#include <cstdlib>
#include <sys/stat.h>

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

// Whether folder is the home folder or one above it, by identity (a trailing slash, a link or
// another spelling changes nothing). xdg-user-dirs turns the desktop off with "$HOME/", and a
// desktop there would make every file of the user's a desktop file.
bool HoldsHome(const std::string& folder)
{
    struct stat desktop {};
    const std::string home = HomeDirectory();
    if (home.empty() || stat(folder.c_str(), &desktop) != 0)
        return false;
    char* real = realpath(home.c_str(), nullptr);
    std::string at = real ? real : home;
    free(real);
    while (at.size() > 1 && at.back() == '/')
        at.pop_back();
    for (;;) {
        struct stat step {};
        if (stat(at.c_str(), &step) == 0 && step.st_dev == desktop.st_dev && step.st_ino == desktop.st_ino)
            return true;
        const size_t slash = at.rfind('/');
        if (at == "/" || slash == std::string::npos)
            return false;
        at = slash == 0 ? "/" : at.substr(0, slash);
    }
}

std::string DesktopFolder()
{
    std::string desktop;
    if (GetEnvironmentValue("XDG_DESKTOP_DIR", desktop) && !desktop.empty() && desktop[0] == '/')
        return desktop;
    desktop = UserDirsDesktop();
    if (!desktop.empty())
        return desktop;
    const std::string home = HomeDirectory();
    return home.empty() ? std::string() : home + "/Desktop";
}

bool Spawn(const char* program, const std::string& argument)
{
    std::string name = program;
    std::string arg = argument;
    char* argv[] = {&name[0], &arg[0], nullptr};
    return SpawnDetached(program, argv, true);
}

} // namespace

std::string SpecialFolderPath(int csidl)
{
    switch (csidl) {
    case 0: {
        const std::string desktop = DesktopFolder();
        return HoldsHome(desktop) ? std::string() : desktop;
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
