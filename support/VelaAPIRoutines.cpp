#include "platform/PlatformDirectory.h"
#include "platform/PlatformEnvironment.h"
#include "platform/PlatformFiles.h"
#include "platform/PlatformShell.h"
#include "platform/PlatformSystem.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kMaxDepth = 1024;

std::string Join(const std::string& dir, const std::string& name)
{
    return TFileRoutines::IncludeTrailingSeparator(dir) + name;
}

// Removes everything inside the held folder, hidden entries included; each level is reached
// through the one above, so links go as links and nothing swapped in is ever entered.
bool RemoveContents(platform::DirectoryHandle& dir, int depth)
{
    dir.AllowEntryRemoval();
    std::vector<platform::HeldEntry> entries;
    if (!dir.List(entries))
        return false;
    bool ok = true;
    for (const platform::HeldEntry& entry : entries) {
        if (entry.kind == platform::HeldKind::Directory) {
            platform::DirectoryHandle subdirectory = dir.OpenSubdirectory(entry.name, &entry.identity);
            const bool removed = subdirectory.IsOpen() && depth < kMaxDepth && RemoveContents(subdirectory, depth + 1) &&
                                 dir.RemoveSubdirectory(entry.name, entry.identity);
            if (!removed)
                subdirectory.RestoreMode();
            ok = removed && ok;
        } else {
            ok = dir.DeleteEntry(entry.name, entry) && ok;
        }
    }
    return ok;
}

// A part of the Trash held as a real folder, reached from the folder above it and checked on what
// was opened: a link there (or one swapped in meanwhile) would lead out of the Trash. True with
// nothing held when the part is missing; false when something else is there.
bool HoldTrashPart(const platform::DirectoryHandle& dir, const std::string& dirPath, const std::string& name,
                   platform::DirectoryHandle& part)
{
    part = platform::DirectoryHandle();
    platform::HeldEntry entry;
    if (!dir.IsOpen() || !dir.Describe(name, entry))
        return !platform::FileExists(Join(dirPath, name));
    part = dir.OpenSubdirectory(name, &entry.identity);
    return part.IsOpen();
}

// The user's Trash folder held through its parent, the data folder the user chose (followed).
bool HoldTrash(const std::string& trash, platform::DirectoryHandle& held)
{
    const std::string parent = TFileRoutines::ExtractFileDir(trash);
    return HoldTrashPart(platform::DirectoryHandle::Open(parent), parent, TFileRoutines::ExtractFileName(trash), held);
}

// Bytes of the files below a held folder, each level reached through the one above; links count
// as nothing of their target, mount points are never entered.
int64_t HeldSize(const platform::DirectoryHandle& dir, int depth)
{
    std::vector<platform::HeldEntry> entries;
    dir.List(entries);
    int64_t total = 0;
    for (const platform::HeldEntry& entry : entries) {
        if (entry.kind != platform::HeldKind::Directory) {
            total += entry.size;
        } else if (!entry.mountPoint && depth < kMaxDepth) {
            const platform::DirectoryHandle subdirectory = dir.OpenSubdirectory(entry.name, &entry.identity);
            if (subdirectory.IsOpen())
                total += HeldSize(subdirectory, depth + 1);
        }
    }
    return total;
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); });
}

size_t FindNoCase(const std::string& text, const std::string& what)
{
    auto lower = [](std::string s) {
        for (char& ch : s)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        return s;
    };
    return lower(text).find(lower(what));
}

// Desktop entry values escape blanks and backslashes: \s, \\, \t, \n, \r.
std::string UnescapeValue(const std::string& value)
{
    std::string result;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            result += value[i];
            continue;
        }
        const char next = value[++i];
        result += next == 's' ? ' ' : next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return result;
}

// The words of an Exec line, honouring its double-quoted arguments.
std::vector<std::string> ExecWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (quoted) {
            if (ch == '\\' && i + 1 < line.size())
                word += line[++i];
            else if (ch == '"')
                quoted = false;
            else
                word += ch;
        } else if (ch == '"') {
            quoted = inWord = true;
        } else if (ch == ' ' || ch == '\t') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += ch;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

// Where a user's launchers find their programs besides PATH: a cron job or sudo runs with a
// PATH that lacks the user's own folders, and that must not make every launcher look broken.
std::vector<std::string> UsualProgramFolders()
{
    std::vector<std::string> folders = {"/usr/local/sbin", "/usr/local/bin", "/usr/sbin", "/usr/bin",
                                        "/sbin",           "/bin",           "/usr/games", "/usr/local/games",
                                        "/snap/bin",       "/var/lib/flatpak/exports/bin"};
    const std::string home = platform::HomeDirectory();
    if (!home.empty()) {
        folders.insert(folders.begin(), Join(home, ".local/bin"));
        folders.push_back(Join(home, ".local/share/flatpak/exports/bin"));
    }
    constexpr int kLocalAppData = 28;  // the shell's local application data: XDG_DATA_HOME here
    const std::string data = platform::SpecialFolderPath(kLocalAppData);
    if (!data.empty())
        folders.push_back(Join(data, "flatpak/exports/bin"));
    return folders;
}

// A launcher's program judged: a path as written (only an absolute one says where it is), a bare
// name looked up on PATH and in the usual folders. A name built from a variable or a field code
// is filled in only when the launcher runs, so nothing can be said of it here.
TAPIRoutines::TShortcutTarget LocateProgram(const std::string& program, std::string& found)
{
    found.clear();
    if (program.empty() || program.find_first_of("$%`") != std::string::npos)
        return TAPIRoutines::stUnjudged;
    if (program.find_first_of("/\\") != std::string::npos) {
        if (program[0] != '/')
            return TAPIRoutines::stUnjudged;
        found = program;
        return TAPIRoutines::stTarget;
    }
    std::vector<std::string> folders;
    std::string path;
    if (platform::GetEnvironmentValue("PATH", path))
        folders = TStringRoutines::SplitString(path, platform::PathListSeparator());
    for (const std::string& folder : UsualProgramFolders())
        folders.push_back(folder);
    for (const std::string& folder : folders) {
        // An entry of PATH that is not absolute names a folder relative to wherever this runs.
        if (folder.empty() || folder[0] != '/')
            continue;
        const std::string candidate = Join(folder, program);
        if (platform::IsExecutableFile(candidate)) {
            found = candidate;
            return TAPIRoutines::stTarget;
        }
    }
    found = program;
    return TAPIRoutines::stMissingProgram;
}

} // namespace

bool TAPIRoutines::QueryRecycleBin(int64_t& sizeBytes, int64_t& itemCount)
{
    const std::string trash = platform::UserTrashDirectory();
    if (trash.empty())
        return platform::QueryRecycleBin(sizeBytes, itemCount);
    sizeBytes = 0;
    itemCount = 0;
    platform::DirectoryHandle held, files;
    if (!HoldTrash(trash, held) || !HoldTrashPart(held, trash, "files", files) || !files.IsOpen())
        return true;  // no Trash yet: an empty one
    std::vector<platform::HeldEntry> entries;
    files.List(entries);
    for (const platform::HeldEntry& entry : entries) {
        // Sockets, FIFOs and devices were never counted as items.
        if (entry.kind == platform::HeldKind::Other)
            continue;
        ++itemCount;
        sizeBytes += entry.size;
        if (entry.kind == platform::HeldKind::Directory && !entry.mountPoint) {
            const platform::DirectoryHandle folder = files.OpenSubdirectory(entry.name, &entry.identity);
            if (folder.IsOpen())
                sizeBytes += HeldSize(folder, 1);
        }
    }
    return true;
}

bool TAPIRoutines::EmptyRecycleBin(void* ownerWindow)
{
    const std::string trash = platform::UserTrashDirectory();
    if (trash.empty())
        return platform::EmptyRecycleBin(ownerWindow);
    platform::DirectoryHandle held;
    if (!HoldTrash(trash, held))
        return false;
    if (!held.IsOpen())
        return true;  // no Trash: nothing to empty
    bool ok = true;
    for (const char* part : {"files", "info"}) {
        platform::DirectoryHandle contents;
        if (!HoldTrashPart(held, trash, part, contents)) {
            ok = false;
            continue;
        }
        if (!contents.IsOpen())
            continue;
        ok = RemoveContents(contents, 0) && ok;
        contents.RestoreMode();
    }
    // Sizes cached for the removed items would now be wrong.
    platform::HeldEntry cache;
    if (held.Describe("directorysizes", cache) && cache.kind == platform::HeldKind::File)
        held.DeleteEntry(cache.name, cache);
    return ok;
}

std::string TAPIRoutines::ResolveShortcut(const std::string& shortcutPath)
{
    std::string target;
    return JudgeShortcut(shortcutPath, target) == stUnjudged ? std::string() : target;
}

TAPIRoutines::TShortcutTarget TAPIRoutines::JudgeShortcut(const std::string& shortcutPath, std::string& target)
{
    target.clear();
#ifndef _WIN32
    // Only Linux runs desktop entries; on Windows one is tried as a shell link and gives nothing.
    if (EndsWithNoCase(shortcutPath, ".desktop"))
        return JudgeDesktopEntry(shortcutPath, target);
#endif
    if (!platform::ReadShellLinkTarget(shortcutPath, target) || target.empty()) {
        target.clear();
        return stUnjudged;
    }
    return stTarget;
}

std::string TAPIRoutines::ResolveDesktopEntry(const std::string& desktopFile)
{
    std::string program;
    return JudgeDesktopEntry(desktopFile, program) == stUnjudged ? std::string() : program;
}

TAPIRoutines::TShortcutTarget TAPIRoutines::JudgeDesktopEntry(const std::string& desktopFile, std::string& program)
{
    program.clear();
    std::string tryExec, exec, type;
    bool inMainGroup = false;
    const bool read = platform::ReadFileLines(desktopFile, [&](std::string line) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inMainGroup = line == "[Desktop Entry]";
            return true;
        }
        const size_t equals = line.find('=');
        if (!inMainGroup || equals == std::string::npos || line[0] == '#')
            return true;
        const std::string key = TStringRoutines::Trim(line.substr(0, equals));
        const std::string value = TStringRoutines::Trim(line.substr(equals + 1));
        if (key == "TryExec")
            tryExec = UnescapeValue(value);
        else if (key == "Exec")
            exec = UnescapeValue(value);
        else if (key == "Type")
            type = value;
        return true;
    });
    // Link entries name an address, not a program.
    if (!read || type == "Link")
        return stUnjudged;
    if (!tryExec.empty())
        return LocateProgram(tryExec, program);
    std::vector<std::string> words = ExecWords(exec);
    size_t at = 0;
    // "env NAME=value program ..." runs program.
    if (at < words.size() && (words[at] == "env" || EndsWithNoCase(words[at], "/env"))) {
        ++at;
        while (at < words.size() && (words[at].find('=') != std::string::npos || words[at].compare(0, 1, "-") == 0)) {
            // These options take the next word as their value, which is no program.
            const bool takesValue = words[at] == "-u" || words[at] == "--unset" || words[at] == "-C" || words[at] == "--chdir";
            at += takesValue ? 2 : 1;
        }
    }
    return at < words.size() ? LocateProgram(words[at], program) : stUnjudged;
}

std::string TAPIRoutines::ExpandEnvironment(const std::string& text)
{
    std::string expanded;
    if (text.empty() || !platform::ExpandEnvironmentText(text, expanded))
        return std::string();
    return TStringRoutines::Trim(expanded);
}

std::string TAPIRoutines::MapProgramFilesVariable(const std::string& text)
{
    if (TDetect::GetWindowsVersion() < wv7 || !platform::IsSystem64Bit())
        return text;
    return ApplyProgramFilesFixup(text);
}

std::string TAPIRoutines::ApplyProgramFilesFixup(const std::string& text)
{
    // A 32-bit process sees %ProgramFiles% as the (x86) folder, so a shortcut written by a 64-bit
    // installer would look broken. Only the plain references are redirected; the (x86) ones already
    // name the folder they mean, and the 64-bit names exist only where the system defines them.
    struct Fixup {
        const char* from;
        const char* to;
        const char* variable;
    };
    static const Fixup fixups[] = {{"%ProgramFiles%", "%ProgramW6432%", "ProgramW6432"},
                                   {"%CommonProgramFiles%", "%CommonProgramW6432%", "CommonProgramW6432"}};
    for (const Fixup& fixup : fixups) {
        const size_t at = FindNoCase(text, fixup.from);
        if (at == std::string::npos)
            continue;
        std::string value;
        if (!platform::GetEnvironmentValue(fixup.variable, value))
            return text;
        return text.substr(0, at) + fixup.to + text.substr(at + std::char_traits<char>::length(fixup.from));
    }
    return text;
}

bool TAPIRoutines::DisableWow64Redirection(void*& oldValue) { return platform::DisableFsRedirection(oldValue); }

bool TAPIRoutines::EnableWow64Redirection(void* oldValue) { return platform::EnableFsRedirection(oldValue); }

std::string TAPIRoutines::GetSpecialFolderPath(int csidl) { return platform::SpecialFolderPath(csidl); }

bool TDirectoryRoutines::OpenContainingFolder(const std::string& path)
{
    if (TDetect::GetWindowsVersion() < wvXP)
        return ExplorerSelect(path);
    switch (platform::OpenFolderAndSelect(path)) {
    case platform::SelectResult::srShown:
        return true;
    case platform::SelectResult::srNotAvailable:
        return false;
    default:
        return ExplorerSelect(path);
    }
}

bool TDirectoryRoutines::ExplorerSelect(const std::string& path) { return platform::StartFileManagerSelecting(path); }

TWow64RedirectionOff::TWow64RedirectionOff()
{
    if (TDetect::GetArchitecture() == ar64 && TDetect::GetProgramArchitecture() == ar32)
        off_ = TAPIRoutines::DisableWow64Redirection(old_);
}

TWow64RedirectionOff::~TWow64RedirectionOff()
{
    if (off_)
        TAPIRoutines::EnableWow64Redirection(old_);
}
