#include "platform/PlatformPrograms.h"
#include "platform/PlatformEnvironment.h"
#include "platform/posix/PosixSpawn.h"

#include <sstream>
#include <vector>

namespace platform {

std::string FindProgramOnSearchPath(const std::string& name)
{
    if (name.empty() || name.find('/') != std::string::npos)
        return {};
    std::string path;
    if (!GetEnvironmentValue("PATH", path))
        return {};
    std::istringstream dirs(path);
    std::string dir;
    while (std::getline(dirs, dir, PathListSeparator())) {
        if (dir.empty())
            continue;
        const std::string candidate = dir + (dir.back() == '/' ? "" : "/") + name;
        if (IsExecutableFile(candidate))
            return candidate;
    }
    return {};
}

bool StartProgram(const std::string& program, const std::string& arguments)
{
    if (program.empty())
        return false;
    // No shell: the arguments are the text's blank-separated words, never interpreted.
    std::vector<std::string> words{program};
    std::istringstream text(arguments);
    for (std::string word; text >> word;)
        words.push_back(word);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);
    return SpawnDetached(program.c_str(), argv.data(), false);
}

} // namespace platform
