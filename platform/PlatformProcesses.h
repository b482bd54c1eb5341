#pragma once
// Which files running programs hold open. Windows refuses to delete such a file by itself; Linux
// lets the delete succeed, so the cleaner asks here to keep Windows' answer.
#include "platform/PlatformFileIdentity.h"

#include <set>
#include <string>

namespace platform {

// Every regular file that some process (this one included) holds open, as far as this user may
// look. Empty on Windows, where the delete itself refuses such files.
std::set<FileIdentity> FilesHeldOpen();

// The regular file at path itself, to look up in FilesHeldOpen; false for links, directories,
// missing entries, and always on Windows.
bool HeldFileAt(const std::string& path, FileIdentity& file);

} // namespace platform
