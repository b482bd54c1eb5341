#pragma once
// Stateless routines: formatting and masks, file and directory helpers, known locations,
// recycle bin, shortcuts and file-system redirection. Paths are UTF-8; "not found" is an empty
// text, an empty list or a false result. Trailing separators are the platform's own.
//
// What the known locations give on Linux (the nearest convention; empty where there is none):
//   GetWindowsDir, GetWindowsParentDir  empty (no Windows directory)
//   GetTempDir               TMPDIR, then TMP, then TEMP, then /tmp (the first existing directory)
//   GetWindowsTempDir        /var/tmp
//   GetPrefetchDir           empty
//   GetRecentDir             empty (recent documents live in one file, not a folder)
//   GetStartMenuDir          $XDG_DATA_HOME/applications (default ~/.local/share/applications)
//   GetCommonStartMenuDir    empty (system menu entries belong to the package manager)
//   GetDesktopDir            XDG desktop folder ($XDG_DESKTOP_DIR, user-dirs.dirs, ~/Desktop)
//                            none when that is the home folder or a folder above it
//                            ("$HOME/" is how xdg-user-dirs turns the desktop off)
//   GetCommonDesktopDir      empty
//   GetInternetCacheDir, GetCookiesDir  empty (no Internet Explorer)
//   GetFirefoxProfilesDir    $XDG_CACHE_HOME/mozilla/firefox/ (~/.cache/...): the profiles' caches
//   GetSkypeDirs             the same rule over ~/.Skype/ (Skype for Linux keeps its accounts there)
//   QueryRecycleBin, EmptyRecycleBin  the user's freedesktop Trash ($XDG_DATA_HOME/Trash):
//                            count = entries of files/, size = their total (links as themselves);
//                            emptying removes the contents of files/ and info/
//   ResolveShortcut          a desktop entry (.desktop): its TryExec, else the program of its Exec
//                            line looked up on PATH (Windows resolves every file as a shell link,
//                            so a .desktop file there gives no target)
//                            JudgeShortcut also looks in the usual program folders and tells
//                            a launcher it cannot judge from one naming a missing program
//   MapProgramFilesVariable  the text unchanged; Wow64 switches report "not available"
#include "platform/PlatformDirectory.h"
#include "platform/PlatformHeldDirectory.h"
#include "support/VelaTimeRoutines.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

using TStringList = std::vector<std::string>;

// A text that should hold a number does not.
class EConvertError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// A file mask that cannot be read (unclosed set, range without start, too many "*" parts).
class EMaskError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

class TNumberRoutines {
public:
    // Whole Ko; anything below 1,024 bytes (0 and negatives included) counts as 1 Ko.
    static int64_t BytesToKo(int64_t bytes);
    // "1,024 Ko" up to 1,024 Ko, "1 Mo" above.
    static std::string FormatCapacity(int64_t ko);
    // Reads FormatCapacity's text back in Ko; 0 for an unknown unit; EConvertError for a bad number.
    static int64_t ParseCapacity(const std::string& text);
    // "1234567" -> "1,234,567" (a leading "-" is kept out of the groups).
    static std::string GroupThousands(const std::string& digits);
    static std::string GroupThousands(int64_t value);
    static std::string StripThousands(const std::string& text);
    // 0 when equal, -1 when a > b, +1 when a < b.
    static int CompareInt64(int64_t a, int64_t b);
};

class TStringRoutines {
public:
    // The one order of texts without regard to case, for every sorted list and its searches:
    // only the letters a to z fold (to upper case), every other byte compares by its value, so
    // "aab" comes before "a_b" whatever the locale.
    static int CompareIgnoringCase(const std::string& a, const std::string& b);
    // Keeps "0".."9", and "-" only before anything was kept; "" -> "0"; no digits -> "".
    static std::string ExtractDigits(const std::string& text);
    // Number of ExtractDigits; EConvertError when no number remains.
    static int64_t DigitsToInt(const std::string& text);
    // Number of ExtractDigits, 0 when no number remains.
    static int64_t DigitsToIntDef(const std::string& text);
    // An empty item changes nothing; an empty text becomes the item.
    static std::string AppendDelimited(const std::string& text, const std::string& item, char delimiter = ';');
    // The non-empty entries between delimiters, in order.
    static TStringList SplitString(const std::string& text, char delimiter = ';');
    static std::string JoinStrings(const TStringList& list, char delimiter = ';');
    // The text without leading and trailing blanks and control characters.
    static std::string Trim(const std::string& text);
    // Control characters (below 0x20, and 0x7F) shown as "?": a name then cannot start a line or
    // rewrite one in a report or on a terminal.
    static std::string PrintableText(const std::string& text);
    // 1-based position of the first ch, 0 when absent.
    static int PosChar(char ch, const std::string& text);
    // Every character a hexadecimal digit (or a blank when allowed); false for "".
    static bool IsHexText(const std::string& text, bool allowBlanks = false);
    // Hex pairs to characters, then characters 1<->2, 3<->4, ... swapped; "" for odd length or non-hex.
    static std::string DecodeSwappedHex(const std::string& text);
    // Whole-name wildcard match, letter case ignored: "*" any run, "?" one character, "[a-c]" one
    // of a set, "[!a-c]" one outside it. Raises EMaskError for a mask that cannot be read.
    static bool MatchesMask(const std::string& name, const std::string& mask);
    // EMaskError when the mask cannot be read; lets a list of masks be checked once up front.
    static void ValidateMask(const std::string& mask);
    static bool IsValidMask(const std::string& mask);
};

class TGeneralRoutines {
public:
    static int64_t DigitsToInt(const std::string& text);
    // n as an opaque list-item data value; none (null) for a negative n.
    static void* IntToData(int64_t n);
};

class TFileRoutines {
public:
    // Bytes from the entry itself (a link counts as itself); -1 when it does not exist.
    static int64_t GetFileSizeBytes(const std::string& path);
    // Windows file time -> local date-time; EOSError when a conversion fails.
    static TDateTime FileTimeToLocalDateTime(int64_t fileTime);
    // A symbolic link, junction or other reparse point (never followed by these routines).
    static bool IsSymbolicLink(const std::string& path);
    // Read-only, hidden, system and archive cleared; the outcome is not checked.
    static void ClearAttributes(const std::string& path);
    static bool ForceDeleteFile(const std::string& path);
    // path with one trailing separator.
    static std::string IncludeTrailingSeparator(const std::string& path);
    static std::string ExcludeTrailingSeparator(const std::string& path);
    // The directory part of path (without a trailing separator), "" when it has none.
    static std::string ExtractFileDir(const std::string& path);
    // The part after the last separator of either kind; a text without one stays whole.
    static std::string ExtractFileName(const std::string& path);
};

// What a tree deletion may not touch, and when it must stop early.
struct TTreeDeletion {
    // An entry (file, link or subfolder) for which this says false is kept, with what is below it.
    std::function<bool(const platform::HeldEntry&)> mayDelete;
    // Asked before every entry: a stop ends the walk at once.
    std::function<bool()> stopRequested;
    // Told of each file or link removed, as it was listed just before.
    std::function<void(const platform::HeldEntry&)> removed;
};

// A walk's folders from where it started down to where it is, each opened through the one above
// it. Only the deepest few (and a sparse few above them) stay held, so no depth runs out of
// handles; a folder let go is held again from its nearest held ancestor, by the same names, and
// only while each step still leads to the folder that was listed.
class THeldFolderChain {
public:
    // The first must be held; every later one was opened below the one pushed before it, as name
    // (through a link when followed).
    void Push(std::shared_ptr<platform::DirectoryListing> listing, std::string name = {}, bool followed = false);
    void Pop();
    bool Empty() const { return steps_.empty(); }
    size_t Size() const { return steps_.size(); }
    platform::DirectoryListing& Deepest() { return *steps_.back().listing; }
    // Holds the deepest folder; false when a step no longer leads where it did.
    bool HoldDeepest();

private:
    struct TStep {
        std::shared_ptr<platform::DirectoryListing> listing;
        std::string name;
        bool followed = false;
    };
    bool Keeps(size_t index) const;
    std::vector<TStep> steps_;
};

class TDirectoryRoutines {
public:
    using TPathRoutine = std::function<std::string(const std::string&)>;

    // Known locations: existing directories with a trailing separator, or "".
    static std::string GetWindowsDir();
    static std::string GetWindowsParentDir();
    static std::string GetTempDir();
    static std::string GetWindowsTempDir();
    static TStringList GetTemporaryDirectories();
    static std::string GetPrefetchDir();
    static std::string GetRecentDir();
    static std::string GetStartMenuDir();
    static std::string GetCommonStartMenuDir();
    static TStringList GetStartMenuDirs();
    static std::string GetDesktopDir();
    static std::string GetCommonDesktopDir();
    static TStringList GetDesktopDirs();
    static std::string GetInternetCacheDir();
    static std::string GetCookiesDir();
    static std::string GetFirefoxProfilesDir();
    static TStringList GetSkypeDirs();
    // The Skype rule over an explicit base folder (GetSkypeDirs passes the real one).
    static TStringList GetSkypeDirsIn(const std::string& base);
    static std::string GetTrashDir(const std::string& target);
    static std::string GetSpotlightDir(const std::string& target);
    static TStringList MapPaths(const TStringList& list, const TPathRoutine& routine);

    static bool IsDirectory(const std::string& path);
    // The one drive-root rule, "C:" or "C:\" alike: two characters ending in ':', or three ending
    // in a backslash; callers that need a letter first check it themselves.
    static bool IsDriveRoot(const std::string& text);
    static bool AllDirectoriesExist(const TStringList& list);
    // Immediate subdirectories (links to directories included, as entries), full paths.
    static TStringList ListSubdirectories(const std::string& dir);
    // Bytes of the files in dir (and below with recurse); links count as themselves, never entered.
    // A stop request ends the walk early with what was counted so far. subdirectorySizes, when
    // given, receives the size of every folder below dir, by path, as the walk meets them.
    static int64_t GetDirectorySize(const std::string& dir, bool recurse,
                                    const std::function<bool()>& stopRequested = nullptr,
                                    std::unordered_map<std::string, int64_t>* subdirectorySizes = nullptr);
    // GetDirectorySize of the folder name in parent (held), reached through held folders only: a
    // link or mount is never entered and a path's length never matters. subdirectorySizes is keyed
    // by path below path, the folder's own path.
    static int64_t GetDirectorySize(const platform::DirectoryListing& parent, const std::string& name,
                                    const std::string& path, const std::function<bool()>& stopRequested = nullptr,
                                    std::unordered_map<std::string, int64_t>* subdirectorySizes = nullptr);
    // Last-write time as a local DOS date-time (0..0xFFFFFFFF); -1 when not a directory or unconvertible.
    static int64_t GetDirectoryDate(const std::string& path);
    // An existing path spelled as the folders list their entries (long names; on Windows the
    // entries' own letter case); the path as given when it cannot be found.
    static std::string ExpandLongPath(const std::string& path);
    // A folder in the one spelling scans walk it and cleans compare it in (found objects are told
    // apart by their text): long names, the platform's separator, none trailing except at a root.
    static std::string NormalizeFolderPath(const std::string& path);
    static bool ForceRemoveDirectory(const std::string& path);
    // No entries at all, and a file can be created in it.
    static bool IsEmptyDirectory(const std::string& dir);
    // Deletes files (deleteFiles) and subdirectories (recurse) under dir, skipping hidden and system
    // entries; removes dir itself unless it equals root. Links are removed as links, never entered.
    // The result is that of the last entry handled (see the cleaner), false for a missing dir.
    // A file for which mayDeleteFile says false is kept.
    static bool DeleteTree(const std::string& dir, const std::string& root, bool deleteFiles, bool recurse,
                           const TTreeDeletion& rules = {});
    // DeleteTree's walk below a folder already held: every level is reached through the one above
    // it, so a link or mount swapped in meanwhile is never entered. The folder itself stays.
    static bool DeleteTreeContents(platform::DirectoryHandle& dir, bool deleteFiles, bool recurse,
                                   const TTreeDeletion& rules = {});
    static bool OpenContainingFolder(const std::string& path);
    static bool ExplorerSelect(const std::string& path);
};

class TAPIRoutines {
public:
    static bool QueryRecycleBin(int64_t& sizeBytes, int64_t& itemCount);
    static bool EmptyRecycleBin(void* ownerWindow = nullptr);
    // Raw, unexpanded target of a shortcut; "" when it cannot be read.
    static std::string ResolveShortcut(const std::string& shortcutPath);
    // The target of a freedesktop desktop entry: TryExec, else Exec's program found on PATH.
    static std::string ResolveDesktopEntry(const std::string& desktopFile);
    // What a shortcut gives the invalid-shortcut option to judge. stTarget: target is the raw
    // target, or a desktop entry's program as an absolute path (found, or named so and maybe
    // missing). stMissingProgram: a desktop entry's bare program name found neither on PATH nor in
    // the usual program folders (~/.local/bin, /usr/bin, /snap/bin, flatpak's exports ...); target
    // is the name. stUnjudged: nothing can be said (unreadable, not a shortcut, no program, a link
    // entry, a program named through a variable or a field code, or by a relative path).
    enum TShortcutTarget { stUnjudged, stTarget, stMissingProgram };
    static TShortcutTarget JudgeShortcut(const std::string& shortcutPath, std::string& target);
    static TShortcutTarget JudgeDesktopEntry(const std::string& desktopFile, std::string& program);
    static std::string ExpandEnvironment(const std::string& text);
    static std::string MapProgramFilesVariable(const std::string& text);
    // The fix-up itself, for any Windows version (MapProgramFilesVariable applies it on 7 or later).
    static std::string ApplyProgramFilesFixup(const std::string& text);
    static bool DisableWow64Redirection(void*& oldValue);
    static bool EnableWow64Redirection(void* oldValue);
    static std::string GetSpecialFolderPath(int csidl);
};

// File-system redirection of a 32-bit program on a 64-bit system, off for one scope: the
// program then sees the real system files, not their 32-bit stand-ins.
class TWow64RedirectionOff {
public:
    TWow64RedirectionOff();
    ~TWow64RedirectionOff();
    TWow64RedirectionOff(const TWow64RedirectionOff&) = delete;
    TWow64RedirectionOff& operator=(const TWow64RedirectionOff&) = delete;
    bool Off() const { return off_; }

private:
    void* old_ = nullptr;
    bool off_ = false;
};
