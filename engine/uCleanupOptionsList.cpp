#include "engine/uCleanupOptionsList.h"

#include "engine/uEngineConstants.h"
#include "platform/PlatformFileIdentity.h"
#include "platform/PlatformFiles.h"
#include "support/VelaRoutines.h"

namespace {

struct TOptionDefinition {
    const char* name;
    const char* description;
    TSafetyClass safety;
    bool inDefault;
    TObjectKind kind;
    const char* masks;
};

const char kCacheDescription[] = "Cached Internet resources tend to consume drive space.";
const char kShortcutDescription[] = "Shortcuts pointing to invalid files.";

// Firefox's cache2 entries are named by 40 upper-case hexadecimal digits; matching that shape
// (rather than "*") leaves the cache's index and anything else in the folder alone.
#define QS_HEX "[0-9A-F]"
#define QS_HEX8 QS_HEX QS_HEX QS_HEX QS_HEX QS_HEX QS_HEX QS_HEX QS_HEX
#define QS_FIREFOX_ENTRY QS_HEX8 QS_HEX8 QS_HEX8 QS_HEX8 QS_HEX8

// Desktop entries are shortcuts only where menus and desktops read them; on Windows a .desktop
// file is a document like any other.
#ifdef _WIN32
#define QS_SHORTCUTS "*.lnk"
#else
#define QS_SHORTCUTS "*.lnk;*.desktop"
#endif

const TOptionDefinition kOptions[CleanupOptionCount] = {
    // Everything inside the temporary directories.
    {"Windows Temporary Directories", "Operating system temporary directories.", scSafe, true, okFiles, "*"},
    // Never walked: the whole bin is one object.
    {"Windows Recycle Bin", "All objects stored in the Recycle Bin regardless of their physical disk location.", scSafe,
     true, okFiles, "*"},
    // Plain and rotated logs, and setup's compressed logs.
    {"Windows and Application Logs", "Log files are created by the operating system and various applications.",
     scPotentiallyUnsafe, true, okFiles, "*.log;*.lo_;*.log.[0-9];*.log.[0-9].gz"},
    // Only the trace files; Layout.ini beside them is the boot optimiser's and stays.
    {"Windows Prefetch Files", "If allowed, Windows creates prefetch files for each executed application.", scSafe,
     true, okFiles, "*.pf"},
    // CHKDSK saves recovered chains as FILE0000.CHK in FOUND.nnn folders.
    {"Windows CHKDSK File Fragments", "When scanning drives, CHKDSK might recover and save certain file fragments.",
     scSafe, true, okFiles, "FILE????.CHK"},
    // Explorer's per-folder thumbnail caches (also left on shared drives seen from Linux).
    {"Windows Thumbnail Files", "These files tend to consume drive space.", scSafe, true, okFiles,
     "Thumbs.db;ehthumbs.db;ehthumbs_vista.db"},
    // The Recent folder holds one shortcut per opened document.
    {"Windows Start Menu Recent Documents", "Shortcuts pointing to recently accessed documents.", scSafe, true,
     okFiles, "*.lnk"},
    // Shell links, and on Linux the desktop entries menus and desktops run.
    {"Windows Start Menu Invalid Shortcuts", kShortcutDescription, scSafe, true, okFiles, QS_SHORTCUTS},
    // Same as the Start Menu, on the desktops.
    {"Windows Desktop Invalid Shortcuts", kShortcutDescription, scSafe, true, okFiles, QS_SHORTCUTS},
    // The whole Temporary Internet Files tree is cache.
    {"Internet Explorer Temporary Cache", kCacheDescription, scSafe, true, okFiles, "*"},
    // Each cookie is a user@site[n].txt file.
    {"Internet Explorer Cookies", "Cookies can be cleaned to gain a small amount of drive space.", scSafe, true, okFiles,
     "*.txt"},
    // cache2 entries and the old _CACHE_00n_ block files.
    {"Mozilla Firefox Temporary Cache", kCacheDescription, scSafe, true, okFiles,
     QS_FIREFOX_ENTRY ";_CACHE_???_"},
    // The sources are cache and received-files folders only.
    {"Skype Cache and Received Content", "Cached and received Skype content tend to consume drive space.",
     scPotentiallyUnsafe, true, okFiles, "*"},
    // Temporary files by extension, and Office's ~$ owner files.
    {"Temporary Files", "Created by the operating system and various applications.", scPotentiallyUnsafe, true,
     okFiles, "*.tmp;*.temp;*.~tmp;~$*.*"},
    // Application caches, fontconfig's *.cache-n on Linux included.
    {"General Cache Files", "Created by all sort of applications during normal execution.", scSafe, true, okFiles,
     "*.cache;*.cch;*.cache-?"},
    // Backup copies of editors and tools; "*~" is the Linux editors' convention.
    {"Old Backup Files", "Backup files might be intentional or not. Further attention is necessary.",
     scPotentiallyUnsafe, false, okFiles, "*.bak;*.bkp;*.old;*.wbk;*.~*;*~;*.orig"},
    // Help indexes, sysedit copies and installer leftovers of older systems.
    {"Legacy Files", "These files may be left legacy from ancient operating systems and applications.",
     scPotentiallyUnsafe, false, okFiles, "*.gid;*.ftg;*.fts;*.fnd;*.syd;*.prv;*.$$$;*.---;mscreate.dir"},
    // Finder's folder settings.
    {"Apple .DS_Store Files", "Mac OS X creates these files everywhere.", scSafe, true, okFiles, ".DS_Store"},
    // Everything inside .Trashes.
    {"Apple Trash", "Mac OS X creates a Trash related directory on Windows shared drives.", scSafe, true, okFiles, "*"},
    // Everything inside .Spotlight-V100.
    {"Apple Spotlight Index", "Mac OS X creates a Spotlight indexing related directory on Windows shared drives.",
     scSafe, true, okFiles, "*"},
    // Any directory; the empty-directory validator decides.
    {"Empty Subdirectories", "Empty subdirectories scattered around the directory hierarchy of your clean targets.",
     scUnsafe, false, okDirectories, "*"},
    {"Custom Files", "Files that match your search criteria defined within the Options window.", scUnsafe, false,
     okFiles, ""},
    {"Custom Directories", "Directories that match your search criteria defined within the Options window.", scUnsafe,
     false, okDirectories, ""},
};

#undef QS_SHORTCUTS
#undef QS_FIREFOX_ENTRY
#undef QS_HEX8
#undef QS_HEX

const TCleanupOptionRule kRules[CleanupOptionCount] = {
    {osTemporaryDirectories, svNone, false},
    {osRecycleBin, svNone, false},
    {osWindowsParentDir, svNone, false},
    {osPrefetchDir, svNone, false},
    {osTargets, svNone, false},
    {osTargets, svNone, false},
    {osRecentDir, svNone, false},
    {osStartMenuDirs, svInvalidShortcut, false},
    {osDesktopDirs, svInvalidShortcut, false},
    {osInternetCacheDir, svNone, false},
    {osCookiesDir, svNone, false},
    {osFirefoxProfilesDir, svNone, false},
    {osSkypeDirs, svNone, false},
    {osTargets, svNone, true},
    {osTargets, svNone, true},
    {osTargets, svNone, true},
    {osTargets, svNone, true},
    {osTargets, svNone, false},
    {osTrashDirs, svNone, false},
    {osSpotlightDirs, svNone, false},
    {osTargets, svEmptyDirectory, false},
    {osTargets, svNone, false},
    {osTargets, svNone, false},
};

const TCleanupOptionRule kNoRule = {osNone, svNone, false};

bool OptionAvailable(int index)
{
    if (index == 11) {
        const std::string dir = TDirectoryRoutines::GetFirefoxProfilesDir();
        return !dir.empty() && platform::DirectoryExists(dir);
    }
    if (index == 12)
        return TDirectoryRoutines::AllDirectoriesExist(TDirectoryRoutines::GetSkypeDirs());
    return true;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Shared temporary folders hold what running sessions depend on: the X server's lock files and
// the X, ICE, input-method and font-server socket folders, and the private folders systemd gives
// services. Deleting them breaks logins and services still running.
bool SessionEntry(const std::string& name)
{
    static const char* const kSocketFolders[] = {".X11-unix", ".ICE-unix", ".XIM-unix", ".font-unix"};
    for (const char* folder : kSocketFolders)
        if (name == folder)
            return true;
    return (StartsWith(name, ".X") && EndsWith(name, "-lock")) || StartsWith(name, "systemd-private-");
}

std::vector<std::string> Existing(const std::vector<std::string>& candidates)
{
    std::vector<std::string> result;
    for (const auto& dir : candidates)
        if (!dir.empty() && TDirectoryRoutines::IsDirectory(dir))
            result.push_back(dir);
    return result;
}

} // namespace

TCleanupOptionsListItem::TCleanupOptionsListItem(bool excludedFromDefault, TSafetyClass safety, std::string name,
                                                 std::string description, const std::string& plainMasks,
                                                 TObjectKind kind, bool available)
    : excludedFromDefault_(excludedFromDefault), safety_(safety), name_(std::move(name)),
      description_(std::move(description)), masks_(Scramble(plainMasks)), kind_(kind), available_(available)
{
}

std::string TCleanupOptionsListItem::Scramble(const std::string& text)
{
    // Rotating 33..126 by half its width (47) maps the range onto itself and undoes itself.
    std::string result = text;
    for (char& ch : result) {
        const auto code = static_cast<unsigned char>(ch);
        if (code >= 33 && code <= 126)
            ch = static_cast<char>(33 + (code - 33 + 47) % 94);
    }
    return result;
}

std::string TCleanupOptionsListItem::GetMasks()
{
    return Scramble(masks_);
}

void TCleanupOptionsListItem::SetMasks(const std::string& masks)
{
    if (masks != GetMasks())
        masks_ = Scramble(masks);
}

TCleanupOptionsList::TCleanupOptionsList()
{
    for (int i = 0; i < CleanupOptionCount; ++i) {
        const auto& option = kOptions[i];
        items_[static_cast<size_t>(i)] = std::make_shared<TCleanupOptionsListItem>(
            !option.inDefault, option.safety, option.name, option.description, option.masks, option.kind,
            OptionAvailable(i));
    }
}

std::shared_ptr<ICleanupOptionsListItem> TCleanupOptionsList::GetOption(int32_t index)
{
    return GetItem(index & 0x7F);
}

std::shared_ptr<ICleanupOptionsListItem> TCleanupOptionsList::GetItem(int32_t index)
{
    if (index < 0 || index >= CleanupOptionCount)
        return nullptr;
    return items_[static_cast<size_t>(index)];
}

const TCleanupOptionRule& TCleanupOptionRules::Get(int option)
{
    if (option < 0 || option >= CleanupOptionCount)
        return kNoRule;
    return kRules[option];
}

bool TCleanupOptionRules::UsesTargets(int option)
{
    switch (Get(option).source) {
    case osTargets:
    case osTrashDirs:
    case osSpotlightDirs:
        return true;
    default:
        return false;
    }
}

std::vector<std::string> TCleanupOptionRules::ResolveSources(int option, const std::vector<std::string>& targets)
{
    using D = TDirectoryRoutines;
    switch (Get(option).source) {
    case osTemporaryDirectories:
        return Existing(D::GetTemporaryDirectories());
    case osWindowsParentDir:
        return Existing({D::GetWindowsParentDir()});
    case osPrefetchDir:
        return Existing({D::GetPrefetchDir()});
    case osTargets:
        // Missing targets stay: the scanner still announces them before skipping.
        return targets;
    case osRecentDir:
        return Existing({D::GetRecentDir()});
    case osStartMenuDirs:
        return Existing(D::GetStartMenuDirs());
    case osDesktopDirs:
        return Existing(D::GetDesktopDirs());
    case osInternetCacheDir:
        return Existing({D::GetInternetCacheDir()});
    case osCookiesDir:
        return Existing({D::GetCookiesDir()});
    case osFirefoxProfilesDir:
        return Existing({D::GetFirefoxProfilesDir()});
    case osSkypeDirs:
        return Existing(D::GetSkypeDirs());
    case osTrashDirs:
        return D::MapPaths(targets, [](const std::string& target) { return D::GetTrashDir(target); });
    case osSpotlightDirs:
        return D::MapPaths(targets, [](const std::string& target) { return D::GetSpotlightDir(target); });
    case osRecycleBin:
    case osNone:
        break;
    }
    return {};
}

bool TCleanupOptionRules::LeavesAlone(int option, const std::string& path)
{
    if (Get(option).source != osTemporaryDirectories)
        return false;
    size_t at = path.size();
    while (at > 0 && path[at - 1] != '/' && path[at - 1] != platform::PathSeparator())
        --at;
    return SessionEntry(path.substr(at)) || !platform::OwnedByCurrentUser(path);
}

bool TCleanupOptionRules::LeavesAlone(int option, const std::string& name, bool ownedByCurrentUser)
{
    return Get(option).source == osTemporaryDirectories && (SessionEntry(name) || !ownedByCurrentUser);
}
