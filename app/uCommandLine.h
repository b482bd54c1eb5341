#pragma once
// What the main window makes of its command-line arguments; pure, so the rules are tested
// without a disk.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum TCommandLineAction : uint8_t {
    clNone,            // no argument, or an option the program does not know
    clDefaultSize,     // "-defaultsize": the window at its designed size
    // Both below empty the clean-up list first.
    clSelectDirectory, // one existing directory: the directory tree's selection
    clCleanupTargets   // the existing directories among several, added checked
};

struct TCommandLine {
    static constexpr int32_t kDefaultWidth = 960;
    static constexpr int32_t kDefaultHeight = 661;

    TCommandLineAction action = clNone;
    // Targets given on the command line are one-off: the stored selection stays as it was.
    bool saveTargets = true;
    std::string directory;            // clSelectDirectory
    std::vector<std::string> targets; // clCleanupTargets, in argument order, without repeats

    using TDirectoryExists = std::function<bool(const std::string&)>;

    // arguments: without the program name. directoryExists defaults to the disk's answer.
    static TCommandLine Interpret(const std::vector<std::string>& arguments,
                                  const TDirectoryExists& directoryExists = nullptr);

    // A drive root in any spelling ("c:", "c:\", "C:/") as "C:\"; any other path without its
    // trailing separators, a lone root kept.
    static std::string NormalizeDirectory(const std::string& path);
};
