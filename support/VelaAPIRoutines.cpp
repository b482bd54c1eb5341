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

bool IsLink(uint32_t attributes) { return (attributes & platform::kAttrReparsePoint) != 0; }
bool IsDir(uint32_t attributes) { return (attributes & platform::kAttrDirectory) != 0; }

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

// A Trash folder part that is a real folder (a link there would lead out of the Trash).
bool IsRealDirectory(const std::string& path)
{
    const uint32_t attributes = platform::GetAttributesAt(path);
    return attributes != platform::kInvalidAttributes && IsDir(attributes) && !IsLink(attributes);
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

// A program name as a shell would run it: a path as written, a bare name found on PATH.
std::string LocateProgram(const std::string& program)
{
    if (program.empty() || program.find_first_of("/\\") != std::string::npos)
        return program;
    std::string path;
    if (platform::GetEnvironmentValue("PATH", path)) {
        for (const std::string& dir : TStringRoutines::SplitString(path, platform::PathListSeparator())) {
            const std::string candidate = Join(dir, program);
            if (platform::IsExecutableFile(candidate))
                return candidate;
        }
    }
    return program;
}

} // namespace

bool TAPIRoutines::QueryRecycleBin(int64_t& sizeBytes, int64_t& itemCount)
{
    const std::string trash = platform::UserTrashDirectory();
    if (trash.empty())
        return platform::QueryRecycleBin(sizeBytes, itemCount);
    sizeBytes = 0;
    itemCount = 0;
    const std::string files = Join(trash, "files");
    if (!IsRealDirectory(trash) || !IsRealDirectory(files))
        return true;  // no Trash yet: an empty one
    platform::EnumerateDirectory(files, [&](const platform::DirectoryEntry& entry) {
        ++itemCount;
        if (IsDir(entry.attributes) && !IsLink(entry.attributes))
            sizeBytes += TDirectoryRoutines::GetDirectorySize(Join(files, entry.name), true);
        else
            sizeBytes += entry.size;
        return true;
    });
    return true;
}

bool TAPIRoutines::EmptyRecycleBin(void* ownerWindow)
{
    const std::string trash = platform::UserTrashDirectory();
    if (trash.empty())
        return platform::EmptyRecycleBin(ownerWindow);
    if (!IsRealDirectory(trash))
        return !platform::FileExists(trash);
    bool ok = true;
    for (const char* part : {"files", "info"}) {
        const std::string dir = Join(trash, part);
        if (!IsRealDirectory(dir))
            continue;
        platform::DirectoryHandle held = platform::DirectoryHandle::Open(dir);
        ok = held.IsOpen() && RemoveContents(held, 0) && ok;
        held.RestoreMode();
    }
    // Sizes cached for the removed items would now be wrong.
    const std::string cache = Join(trash, "directorysizes");
    if (platform::FileExists(cache) && !TFileRoutines::IsSymbolicLink(cache))
        platform::DeleteFileAt(cache);
    return ok;
}

std::string TAPIRoutines::ResolveShortcut(const std::string& shortcutPath)
{
#ifndef _WIN32
    // Only Linux runs desktop entries; on Windows one is tried as a shell link and gives nothing.
    if (EndsWithNoCase(shortcutPath, ".desktop"))
        return ResolveDesktopEntry(shortcutPath);
#endif
    std::string target;
    return platform::ReadShellLinkTarget(shortcutPath, target) ? target : std::string();
}

std::string TAPIRoutines::ResolveDesktopEntry(const std::string& desktopFile)
{
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
    if (!read)
        return std::string();
    // Link entries name an address, not a program.
    if (type == "Link")
        return std::string();
    if (!tryExec.empty())
        return LocateProgram(tryExec);
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
    return at < words.size() ? LocateProgram(words[at]) : std::string();
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
