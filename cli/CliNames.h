#pragma once
// Options as scripts and people name them: stable names beside the indexes, and titles and
// descriptions that fit the platform the tool runs on.
#include <string>
#include <vector>

namespace cli_names {

// "temp-folders", "recycle-bin" ... by index; never renamed, so scripts may keep them.
const std::string& StableName(int option);
// The index of a stable name, or -1.
int IndexOf(const std::string& name);
const std::vector<std::string>& AllNames();

// The engine's title, without the Windows wording where the tool runs elsewhere.
std::string Title(int option, const std::string& engineTitle);
// What the option looks at on this system: its folders or the targets, and its name masks.
std::string LooksAt(int option, const std::string& masks);

} // namespace cli_names
