#pragma once
// Shell services: special folders, recycle bin, shortcuts, showing a file in its folder, and the
// 32-bit file-system redirection switch. UTF-8 paths.
#include <cstdint>
#include <string>

namespace platform {

// A special folder by its Windows identifier (CSIDL); empty when unknown or missing. On POSIX the
// XDG counterparts: 0 desktop, 11 user menu entries, 26 config home, 28 data home.
std::string SpecialFolderPath(int csidl);

// The user's freedesktop Trash folder ($XDG_DATA_HOME/Trash); empty where the system keeps its own
// recycle bin (Windows), which the two calls below reach instead.
std::string UserTrashDirectory();

// All drives' recycle bin; false when the service is missing or fails.
bool QueryRecycleBin(int64_t& sizeBytes, int64_t& itemCount);
bool EmptyRecycleBin(void* ownerWindow);

// The raw target path stored in a shell link file; false when the link object cannot be used.
bool ReadShellLinkTarget(const std::string& linkPath, std::string& target);

enum class SelectResult { srShown, srFailed, srNotAvailable };
// Opens the folder holding path with path selected (Windows XP and later shell call).
SelectResult OpenFolderAndSelect(const std::string& path);
// Starts the file manager on path's folder, selecting path where the file manager can; true when started.
bool StartFileManagerSelecting(const std::string& path);

// Starts program through the shell's "open" verb with the parameter text, maximised or in a normal
// window, without waiting for it; true when it was started. POSIX runs the program with the text as
// its one argument (there is no show state).
bool ShellOpen(const std::string& program, const std::string& parameters, bool maximized);

bool DisableFsRedirection(void*& oldValue);
bool EnableFsRedirection(void* oldValue);

} // namespace platform
