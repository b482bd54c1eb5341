#include "app/uCommandLine.h"

#include "support/VelaRoutines.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsDriveLetterAlone(const std::string& path)
{
    return path.size() == 2 && std::isalpha(static_cast<unsigned char>(path[0])) && TDirectoryRoutines::IsDriveRoot(path);
}

} // namespace

std::string TCommandLine::NormalizeDirectory(const std::string& path)
{
    std::string result = path;
    while (result.size() > 1 && IsSeparator(result.back()))
        result.pop_back();
    // "C:" alone names the current folder of drive C, not its root.
    if (IsDriveLetterAlone(result))
        return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(result[0])))) + ":\\";
    return result;
}

TCommandLine TCommandLine::Interpret(const std::vector<std::string>& arguments,
                                     const TDirectoryExists& directoryExists)
{
    TCommandLine result;
    if (arguments.empty())
        return result;
    result.saveTargets = false;

    const std::string& first = arguments.front();
    if (!first.empty() && first[0] == '-') {
        if (first == "-defaultsize")
            result.action = clDefaultSize;
        return result;
    }

    const TDirectoryExists exists = directoryExists ? directoryExists : [](const std::string& path) {
        return TDirectoryRoutines::IsDirectory(path);
    };
    std::vector<std::string> found;
    for (const std::string& argument : arguments) {
        if (argument.empty())
            continue;
        const std::string directory = NormalizeDirectory(argument);
        if (exists(directory) && std::find(found.begin(), found.end(), directory) == found.end())
            found.push_back(directory);
    }

    if (arguments.size() == 1 && !found.empty()) {
        result.action = clSelectDirectory;
        result.directory = found.front();
    } else {
        result.action = clCleanupTargets;
        result.targets = std::move(found);
    }
    return result;
}
