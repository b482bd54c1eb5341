#pragma once
// How far the options reach: most look only inside the targets, some search the system's own
// folders (temporary folders, the Trash, logs, caches ...) whatever the targets are.
#include "engine/uEngineInterfaces.h"

#include <string>
#include <vector>

namespace cli_reach {

bool SearchesSystemFolders(int option);
// Where a system-folder option looks on this machine now ("/tmp", "the Trash"); empty for an
// option that stays inside the targets and where the system has no such folder.
std::vector<std::string> SystemPlaces(int option);
// The system places that hold the objects (only the checked ones with checkedOnly), in option order.
std::vector<std::string> SystemPlacesOf(ICleanupList& objects, bool checkedOnly);
// "a", "a and b", "a, b and c".
std::string JoinNames(const std::vector<std::string>& names);

} // namespace cli_reach
