#include "support/VelaUninstallRoutines.h"

#include "platform/PlatformFiles.h"
#include "platform/PlatformPrograms.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <cctype>

using platform::IRegistry;
using platform::RegistryKey;
using platform::RegistryRoot;
using platform::RegistryView;

const char* const TUninstallRoutines::kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

TUninstallInfo::TUninstallInfo(std::string name, std::string iconPath, std::string publisher, std::string sizeText,
                               std::string uninstallCommand, std::string version, std::vector<RegistryKey> keys)
    : name_(std::move(name)), iconPath_(std::move(iconPath)), publisher_(std::move(publisher)),
      sizeText_(std::move(sizeText)), uninstallCommand_(std::move(uninstallCommand)), version_(std::move(version)),
      keys_(std::move(keys))
{
}

namespace {

std::string Folded(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return text;
}

std::string WithoutQuotes(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return text;
}

// Just past the first ".exe" (any case) that ends a word, or npos.
size_t EndOfExe(const std::string& text)
{
    const std::string folded = Folded(text);
    for (size_t at = folded.find(".exe"); at != std::string::npos; at = folded.find(".exe", at + 1)) {
        const size_t end = at + 4;
        if (end == text.size() || text[end] == ' ' || text[end] == '\t' || text[end] == ',' || text[end] == '"')
            return end;
    }
    return std::string::npos;
}

bool HasFolder(const std::string& program)
{
    return program.find_first_of("\\/:") != std::string::npos;
}

// The folder the uninstaller's program sits in, when its size says something about the
// application: not a drive root, not the system's own folders.
std::string ApplicationFolder(const std::string& command)
{
    const std::string program = TUninstallRoutines::SplitCommand(command).program;
    if (!HasFolder(program))
        return {};
    const std::string folder = TFileRoutines::ExtractFileDir(program);
    if (folder.empty() || folder == "/" || TDirectoryRoutines::IsDriveRoot(folder) ||
        !platform::DirectoryExists(folder))
        return {};
    const std::string windows = Folded(TDirectoryRoutines::GetWindowsDir());
    if (!windows.empty() && Folded(TFileRoutines::IncludeTrailingSeparator(folder)).rfind(windows, 0) == 0)
        return {};
    return folder;
}

std::string SizeTextOf(const std::string& command)
{
    const std::string folder = ApplicationFolder(command);
    if (folder.empty())
        return {};
    return TNumberRoutines::FormatCapacity(TDirectoryRoutines::GetDirectorySize(folder, true) / 1024);
}

std::string IconPathOf(const std::string& displayIcon, const std::string& command)
{
    const std::string icon = TUninstallRoutines::IconFileOf(displayIcon);
    if (!icon.empty() && platform::FileExists(icon))
        return icon;
    const std::string program = TUninstallRoutines::ExistingProgram(command);
    return program.empty() ? TUninstallRoutines::SplitCommand(command).program : program;
}

struct TReadEntry {
    std::string subkey;
    std::string name;
    std::string command;
    std::shared_ptr<TUninstallInfo> info;
};

bool SameEntry(const TReadEntry& a, const TReadEntry& b)
{
    return Folded(a.subkey) == Folded(b.subkey) && a.name == b.name && a.command == b.command;
}

void ReadKey(IRegistry& registry, RegistryRoot root, RegistryView view, bool computeSize,
             std::vector<TReadEntry>& entries)
{
    const RegistryKey base{root, view, TUninstallRoutines::kUninstallKey};
    std::vector<std::string> names;
    if (!registry.ListSubkeys(base, names))
        return;
    for (const std::string& subkey : names) {
        const RegistryKey key{root, view, base.path + "\\" + subkey};
        const std::string name = registry.ReadString(key, "DisplayName");
        if (name.empty())
            continue;
        TReadEntry read{subkey, name, registry.ReadString(key, "UninstallString"), nullptr};
        auto same = std::find_if(entries.begin(), entries.end(), [&](const TReadEntry& e) { return SameEntry(e, read); });
        if (same != entries.end()) {
            // One application in two views: one row, and removing it removes both.
            std::vector<RegistryKey> keys = same->info->GetRegistryKeys();
            keys.push_back(key);
            const TUninstallInfo& kept = *same->info;
            same->info = std::make_shared<TUninstallInfo>(kept.GetName(), kept.GetIconPath(), kept.GetPublisher(),
                                                          kept.GetSizeText(), kept.GetUninstallCommand(),
                                                          kept.GetVersion(), std::move(keys));
            continue;
        }
        read.info = std::make_shared<TUninstallInfo>(
            name, IconPathOf(registry.ReadString(key, "DisplayIcon"), read.command),
            registry.ReadString(key, "Publisher"), computeSize ? SizeTextOf(read.command) : std::string(),
            read.command, registry.ReadString(key, "DisplayVersion"), std::vector<RegistryKey>{key});
        entries.push_back(std::move(read));
    }
}

} // namespace

TCommandParts TUninstallRoutines::SplitCommand(const std::string& command)
{
    const std::string text = TStringRoutines::Trim(command);
    if (!text.empty() && text[0] == '"') {
        const size_t close = text.find('"', 1);
        if (close == std::string::npos)
            return {text.substr(1), {}};
        return {text.substr(1, close - 1), TStringRoutines::Trim(text.substr(close + 1))};
    }
    const size_t end = EndOfExe(text);
    if (end == std::string::npos)
        return {WithoutQuotes(text), {}};
    return {WithoutQuotes(text.substr(0, end)), TStringRoutines::Trim(text.substr(end))};
}

std::string TUninstallRoutines::IconFileOf(const std::string& iconReference)
{
    std::string file = TStringRoutines::Trim(WithoutQuotes(iconReference));
    const size_t end = EndOfExe(file);
    if (end != std::string::npos)
        return file.substr(0, end);
    const size_t comma = file.rfind(',');
    if (comma != std::string::npos) {
        const std::string index = TStringRoutines::Trim(file.substr(comma + 1));
        const size_t digits = !index.empty() && index[0] == '-' ? 1 : 0;
        if (index.size() > digits &&
            std::all_of(index.begin() + static_cast<std::ptrdiff_t>(digits), index.end(),
                        [](unsigned char ch) { return std::isdigit(ch) != 0; }))
            file = TStringRoutines::Trim(file.substr(0, comma));
    }
    return file;
}

std::string TUninstallRoutines::ExistingProgram(const std::string& command)
{
    const std::string program = SplitCommand(command).program;
    if (program.empty())
        return {};
    if (!HasFolder(program))
        return platform::FindProgramOnSearchPath(program);
    return platform::FileExists(program) && !platform::DirectoryExists(program) ? program : std::string();
}

void TUninstallRoutines::GetUninstallInfo(bool computeSize, TUninstallInfoArray& entries)
{
    GetUninstallInfo(platform::SystemRegistry(), computeSize, entries);
}

void TUninstallRoutines::GetUninstallInfo(IRegistry& registry, bool computeSize, TUninstallInfoArray& entries)
{
    entries.clear();
    std::vector<TReadEntry> read;
    for (RegistryView view : registry.MachineViews())
        ReadKey(registry, RegistryRoot::rrLocalMachine, view, computeSize, read);
    ReadKey(registry, RegistryRoot::rrCurrentUser, RegistryView::rvDefault, computeSize, read);
    for (TReadEntry& entry : read)
        entries.push_back(std::move(entry.info));
}

bool TUninstallRoutines::DeleteEntry(IRegistry& registry, const IUninstallInfo& entry)
{
    const std::string prefix = std::string(kUninstallKey) + "\\";
    const std::vector<RegistryKey> keys = entry.GetRegistryKeys();
    bool deleted = !keys.empty();
    for (const RegistryKey& key : keys) {
        const std::string subkey = key.path.substr(std::min(prefix.size(), key.path.size()));
        // Exactly one level below an uninstall key: never the key itself, nothing elsewhere.
        const bool inPlace = key.path.compare(0, prefix.size(), prefix) == 0 && !subkey.empty() &&
                             subkey.find('\\') == std::string::npos && subkey != "." && subkey != "..";
        deleted = inPlace && TRegistryRoutines::DeleteKeyTree(registry, key) && deleted;
    }
    return deleted;
}

namespace {

// The registry keeps keys at most 512 levels deep; a deeper walk is not a real tree.
constexpr int kMaxDepth = 512;

// The tree's keys, each after its subkeys; false when a key is a link or cannot be listed.
bool CollectTree(IRegistry& registry, const RegistryKey& key, int depth, std::vector<RegistryKey>& order)
{
    std::vector<std::string> names;
    if (depth > kMaxDepth || registry.IsLink(key) || !registry.ListSubkeys(key, names))
        return false;
    for (const std::string& name : names)
        if (name.empty() || !CollectTree(registry, {key.root, key.view, key.path + "\\" + name}, depth + 1, order))
            return false;
    order.push_back(key);
    return true;
}

} // namespace

bool TRegistryRoutines::DeleteKeyTree(IRegistry& registry, const RegistryKey& key)
{
    std::vector<RegistryKey> order;
    if (key.path.empty() || !CollectTree(registry, key, 0, order))
        return false;
    for (const RegistryKey& each : order)
        if (!registry.DeleteKey(each))
            return false;
    return true;
}

bool TRegistryRoutines::DeleteKeyTree(const RegistryKey& key)
{
    return DeleteKeyTree(platform::SystemRegistry(), key);
}
