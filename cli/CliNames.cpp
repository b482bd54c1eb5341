#include "cli/CliNames.h"

#include "cli/CliReach.h"
#include "engine/uEngineConstants.h"
#include "platform/PlatformFiles.h"

namespace cli_names {

namespace {

const std::vector<std::string> kNames = {
    "temp-folders",     "recycle-bin",      "logs",           "prefetch",        "chkdsk-fragments",
    "thumbnails",       "recent-documents", "start-menu-shortcuts", "desktop-shortcuts", "ie-cache",
    "ie-cookies",       "firefox-cache",    "skype-cache",    "temp-files",      "cache-files",
    "backup-files",     "legacy-files",     "ds-store",       "apple-trash",     "spotlight-index",
    "empty-folders",    "custom-files",     "custom-directories",
};

// Titles of the options that say "Windows" where the tool runs on another system.
const char* const kElsewhere[] = {
    "System Temporary Directories", "Trash",        "System and Application Logs",
    "Prefetch Files",               "CHKDSK File Fragments", "Thumbnail Files",
    "Recent Documents",             "Start Menu Invalid Shortcuts", "Desktop Invalid Shortcuts",
};

bool OnWindows()
{
    return platform::PathSeparator() == '\\';
}

} // namespace

const std::string& StableName(int option)
{
    static const std::string none;
    return option >= 0 && option < static_cast<int>(kNames.size()) ? kNames[static_cast<size_t>(option)] : none;
}

int IndexOf(const std::string& name)
{
    for (size_t i = 0; i < kNames.size(); ++i)
        if (kNames[i] == name)
            return static_cast<int>(i);
    return -1;
}

const std::vector<std::string>& AllNames()
{
    return kNames;
}

std::string Title(int option, const std::string& engineTitle)
{
    if (OnWindows() || option < 0 || option >= static_cast<int>(std::size(kElsewhere)))
        return engineTitle;
    return kElsewhere[option];
}

std::string LooksAt(int option, const std::string& masks)
{
    std::string where;
    if (cli_reach::SearchesSystemFolders(option)) {
        const std::vector<std::string> places = cli_reach::SystemPlaces(option);
        where = places.empty() ? "no folder on this system" : cli_reach::JoinNames(places);
    } else {
        where = "the targets";
    }
    if (option == 20)
        return where + ": empty folders";
    if (masks.empty())
        return where + ": nothing until masks are set (--custom-files, --custom-directories)";
    return where + ": " + masks;
}

} // namespace cli_names
