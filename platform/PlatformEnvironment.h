#pragma once
// Environment variables and the system's fixed folders; UTF-8 text.
#include <string>

namespace platform {

// False when the variable is not set.
bool GetEnvironmentValue(const std::string& name, std::string& value);
bool SetEnvironmentValue(const std::string& name, const std::string& value);
bool UnsetEnvironmentValue(const std::string& name);

// %NAME% references replaced by their values (on POSIX also $NAME and ${NAME}); unknown ones stay.
bool ExpandEnvironmentText(const std::string& text, std::string& result);

// The Windows directory without a trailing separator; empty where there is none.
std::string WindowsDirectory();

// The user's home folder ($HOME, or the password database; %USERPROFILE% on Windows).
std::string HomeDirectory();

// Separator of PATH-like lists: ';' on Windows, ':' elsewhere.
char PathListSeparator();

// True for an existing regular file that this user may run.
bool IsExecutableFile(const std::string& path);

} // namespace platform
