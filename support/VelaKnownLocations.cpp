#include "platform/PlatformEnvironment.h"
#include "platform/PlatformFiles.h"
#include "platform/PlatformShell.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"

// Where each clean-up source lives. Windows asks the shell; Linux follows the XDG and
// application conventions listed in VelaRoutines.h.
namespace {

#ifdef _WIN32
constexpr bool kWindowsFolders = true;
const char* const kTempVariables[] = {"TMP", "TEMP"};
#else
constexpr bool kWindowsFolders = false;
const char* const kTempVariables[] = {"TMPDIR", "TMP", "TEMP"};
#endif

// Shell folder identifiers.
constexpr int kCsidlDesktop = 0, kCsidlRecent = 8, kCsidlStartMenu = 11, kCsidlCommonStartMenu = 22,
              kCsidlCommonDesktop = 25, kCsidlAppData = 26, kCsidlLocalAppData = 28, kCsidlInternetCache = 32,
              kCsidlCookies = 33;

bool Is2000OrLater() { return TDetect::GetWindowsVersion() > wvNT + 1; }

std::string Existing(const std::string& dir) { return !dir.empty() && platform::DirectoryExists(dir) ? dir : std::string(); }

// An existing folder that is itself no link: sources found by walking must not lead elsewhere.
std::string ExistingReal(const std::string& dir)
{
    return !Existing(dir).empty() && !TFileRoutines::IsSymbolicLink(dir) ? dir : std::string();
}

std::string ShellFolder(int csidl) { return Existing(TAPIRoutines::GetSpecialFolderPath(csidl)); }

std::string InWindowsDir(const std::string& name)
{
    const std::string windows = TDirectoryRoutines::GetWindowsDir();
    return windows.empty() ? std::string() : Existing(windows + name);
}

// 2000 and later ask the shell; older systems kept the folder under the Windows directory.
std::string ShellOrWindowsFolder(int csidl, const char* legacyName)
{
    if (!kWindowsFolders)
        return std::string();
    if (Is2000OrLater())
        return ShellFolder(csidl);
    return legacyName ? InWindowsDir(legacyName) : std::string();
}

std::string HomeFolder(const std::string& relative)
{
    const std::string home = platform::HomeDirectory();
    return home.empty() ? std::string() : TFileRoutines::IncludeTrailingSeparator(home) + relative;
}

// The folders found, in order. Kept as a list: a folder's name may hold any character, ";" too,
// so a joined text could never be split back into the same folders.
TStringList ListOf(std::initializer_list<std::string> dirs)
{
    TStringList list;
    for (const std::string& dir : dirs)
        if (!dir.empty())
            list.push_back(dir);
    return list;
}

} // namespace

std::string TDirectoryRoutines::GetWindowsDir()
{
    return TFileRoutines::IncludeTrailingSeparator(Existing(platform::WindowsDirectory()));
}

std::string TDirectoryRoutines::GetWindowsParentDir()
{
    const std::string windows = GetWindowsDir();
    return windows.empty() ? std::string() : TFileRoutines::ExtractFileDir(TFileRoutines::ExcludeTrailingSeparator(windows));
}

std::string TDirectoryRoutines::GetTempDir()
{
    std::string chosen;
    for (const char* name : kTempVariables) {
        std::string value;
        if (platform::GetEnvironmentValue(name, value) && !Existing(value).empty()) {
            chosen = value;
            break;
        }
    }
    if (chosen.empty() && !kWindowsFolders)
        chosen = Existing("/tmp");
    if (chosen.empty())
        chosen = GetWindowsTempDir();
    if (chosen.empty())
        return std::string();
    return TFileRoutines::IncludeTrailingSeparator(ExpandLongPath(chosen));
}

std::string TDirectoryRoutines::GetWindowsTempDir()
{
    if (!kWindowsFolders)
        return TFileRoutines::IncludeTrailingSeparator(Existing("/var/tmp"));
    return TFileRoutines::IncludeTrailingSeparator(InWindowsDir("TEMP"));
}

TStringList TDirectoryRoutines::GetTemporaryDirectories() { return ListOf({GetTempDir(), GetWindowsTempDir()}); }

std::string TDirectoryRoutines::GetPrefetchDir()
{
    if (!kWindowsFolders || TDetect::GetWindowsVersion() <= wv2000)
        return std::string();
    return InWindowsDir("Prefetch");
}

std::string TDirectoryRoutines::GetRecentDir() { return ShellOrWindowsFolder(kCsidlRecent, "Recent"); }

std::string TDirectoryRoutines::GetStartMenuDir()
{
    if (!kWindowsFolders)
        return ShellFolder(kCsidlStartMenu);
    return ShellOrWindowsFolder(kCsidlStartMenu, "Start Menu");
}

std::string TDirectoryRoutines::GetCommonStartMenuDir() { return ShellOrWindowsFolder(kCsidlCommonStartMenu, nullptr); }

TStringList TDirectoryRoutines::GetStartMenuDirs() { return ListOf({GetStartMenuDir(), GetCommonStartMenuDir()}); }

std::string TDirectoryRoutines::GetDesktopDir()
{
    if (!kWindowsFolders)
        return ShellFolder(kCsidlDesktop);
    return ShellOrWindowsFolder(kCsidlDesktop, "Desktop");
}

std::string TDirectoryRoutines::GetCommonDesktopDir() { return ShellOrWindowsFolder(kCsidlCommonDesktop, nullptr); }

TStringList TDirectoryRoutines::GetDesktopDirs() { return ListOf({GetDesktopDir(), GetCommonDesktopDir()}); }

std::string TDirectoryRoutines::GetInternetCacheDir()
{
    return ShellOrWindowsFolder(kCsidlInternetCache, "Temporary Internet Files");
}

std::string TDirectoryRoutines::GetCookiesDir() { return ShellOrWindowsFolder(kCsidlCookies, "Cookies"); }

std::string TDirectoryRoutines::GetFirefoxProfilesDir()
{
    if (!kWindowsFolders) {
        // Like the local folder on Windows, the XDG cache holds each profile's disk cache;
        // ~/.mozilla/firefox is the profile itself (bookmarks, passwords) and is never a source.
        std::string cache;
        if (!platform::GetEnvironmentValue("XDG_CACHE_HOME", cache) || cache.empty() || cache[0] != '/')
            cache = HomeFolder(".cache");
        return cache.empty() ? std::string()
                             : TFileRoutines::IncludeTrailingSeparator(Existing(cache + "/mozilla/firefox"));
    }
    if (!Is2000OrLater())
        return std::string();
    const std::string local = ShellFolder(kCsidlLocalAppData);
    if (local.empty())
        return std::string();
    return TFileRoutines::IncludeTrailingSeparator(
        Existing(TFileRoutines::IncludeTrailingSeparator(local) + "Mozilla\\Firefox\\Profiles"));
}

TStringList TDirectoryRoutines::GetSkypeDirs()
{
    if (!kWindowsFolders)
        return GetSkypeDirsIn(HomeFolder(".Skype"));
    if (!Is2000OrLater())
        return TStringList();
    const std::string appData = ShellFolder(kCsidlAppData);
    if (appData.empty())
        return TStringList();
    return GetSkypeDirsIn(TFileRoutines::IncludeTrailingSeparator(appData) + "Skype");
}

TStringList TDirectoryRoutines::GetSkypeDirsIn(const std::string& base)
{
    if (ExistingReal(base).empty())
        return TStringList();
    const std::string sep(1, platform::PathSeparator());
    const std::string root = TFileRoutines::IncludeTrailingSeparator(base);
    TStringList dirs = ListOf({ExistingReal(root + "My Skype Received Files")});
    for (const std::string& account : ListSubdirectories(base)) {
        if (TFileRoutines::IsSymbolicLink(account))
            continue;
        for (const std::string& dir : ListOf({ExistingReal(account + sep + "Pictures"),
                                              ExistingReal(account + sep + "media_messaging" + sep + "media_cache_v3")}))
            dirs.push_back(dir);
    }
    return dirs;
}

std::string TDirectoryRoutines::GetTrashDir(const std::string& target)
{
    return target.empty() ? std::string() : ExistingReal(TFileRoutines::IncludeTrailingSeparator(target) + ".Trashes");
}

std::string TDirectoryRoutines::GetSpotlightDir(const std::string& target)
{
    return target.empty() ? std::string()
                          : ExistingReal(TFileRoutines::IncludeTrailingSeparator(target) + ".Spotlight-V100");
}

TStringList TDirectoryRoutines::MapPaths(const TStringList& list, const TPathRoutine& routine)
{
    TStringList result;
    if (!routine)
        return result;
    for (const std::string& entry : list) {
        std::string mapped = routine(entry);
        if (!mapped.empty())
            result.push_back(std::move(mapped));
    }
    return result;
}
