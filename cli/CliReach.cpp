#include "cli/CliReach.h"

#include "engine/uCleanupOptionsList.h"
#include "engine/uEngineConstants.h"
#include "platform/PlatformFiles.h"
#include "platform/PlatformShell.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace cli_reach {

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == platform::PathSeparator();
}

// The folder as the walk spells its objects' paths: long names, no trailing separator but at a root.
std::string Shown(const std::string& source)
{
    std::string dir = TDirectoryRoutines::ExpandLongPath(source);
    while (dir.size() > 1 && IsSeparator(dir.back()) && !(dir.size() == 3 && dir[1] == ':'))
        dir.pop_back();
    return dir;
}

bool Inside(const std::string& path, const std::string& dir)
{
    if (path.size() < dir.size())
        return false;
    const auto same = [](char a, char b) {
        // Windows file names ignore letter case.
        if (platform::PathSeparator() == '\\')
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        return a == b;
    };
    if (!std::equal(dir.begin(), dir.end(), path.begin(), same))
        return false;
    return path.size() == dir.size() || IsSeparator(dir.back()) || IsSeparator(path[dir.size()]);
}

std::string RecycleBinName()
{
    return platform::UserTrashDirectory().empty() ? "the Recycle Bin" : "the Trash";
}

std::vector<std::string> Folders(int option)
{
    std::vector<std::string> folders;
    for (const std::string& source : TCleanupOptionRules::ResolveSources(option, {}))
        folders.push_back(Shown(source));
    return folders;
}

} // namespace

bool SearchesSystemFolders(int option)
{
    return !TCleanupOptionRules::UsesTargets(option);
}

std::vector<std::string> SystemPlaces(int option)
{
    if (!SearchesSystemFolders(option))
        return {};
    if (TCleanupOptionRules::Get(option).source == osRecycleBin)
        return {RecycleBinName()};
    return Folders(option);
}

std::vector<std::string> SystemPlacesOf(ICleanupList& objects, bool checkedOnly)
{
    std::map<int, std::vector<std::string>> folders;
    // Per option, the places in the order its sources are searched.
    std::map<int, std::set<size_t>> used;
    std::map<int, std::vector<std::string>> unplaced;
    for (int32_t i = 0; i < objects.GetCount(); ++i) {
        const auto item = objects.GetItem(i);
        if (!item || (checkedOnly && !item->GetChecked()))
            continue;
        const int option = item->GetOption();
        if (!SearchesSystemFolders(option))
            continue;
        if (item->GetShellFolder() == ShellFolderRecycleBin ||
            TCleanupOptionRules::Get(option).source == osRecycleBin) {
            unplaced[option] = {RecycleBinName()};
            continue;
        }
        auto known = folders.find(option);
        if (known == folders.end())
            known = folders.emplace(option, Folders(option)).first;
        const auto& list = known->second;
        const auto at = std::find_if(list.begin(), list.end(),
                                     [&](const std::string& dir) { return Inside(item->GetPath(), dir); });
        if (at != list.end())
            used[option].insert(static_cast<size_t>(at - list.begin()));
        else
            // A folder that moved since the scan: named by its option rather than left out.
            unplaced[option] = {item->GetOptionName()};
    }
    std::vector<std::string> places;
    const auto add = [&](const std::string& place) {
        if (std::find(places.begin(), places.end(), place) == places.end())
            places.push_back(place);
    };
    for (int option = 0; option < CleanupOptionCount; ++option) {
        for (size_t index : used[option])
            add(folders[option][index]);
        for (const std::string& place : unplaced[option])
            add(place);
    }
    return places;
}

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

} // namespace cli_reach
