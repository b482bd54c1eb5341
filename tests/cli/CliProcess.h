#pragma once
// Runs the built command-line tool as a process and collects what it writes.
#include "TestSupport.h"

#include <filesystem>
#include <string>
#include <vector>

namespace cli_testing {

// A scratch folder for the tool to work in; paths are spelled as the platform spells them.
class TScratchFolder {
public:
    std::string File(const std::string& relative) const
    {
        return testing_support::Utf8((dir.Path() / std::filesystem::u8path(relative)).make_preferred());
    }
    bool Exists(const std::string& relative) const
    {
        return std::filesystem::exists(dir.Path() / std::filesystem::u8path(relative));
    }
    std::string Str() const { return dir.Str(); }

    testing_support::TempDir dir;
};

struct TToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The tool beside the tests' build folder (../cli/), or another copy of it.
std::string ToolPath();

// Standard input is empty and not a terminal.
TToolRun RunTool(const std::vector<std::string>& arguments, const std::string& tool = ToolPath());

#ifndef _WIN32
// Starts the tool, waits for its first line of standard output, then sends it SIGINT.
TToolRun RunToolInterruptedAfterFirstLine(const std::vector<std::string>& arguments);
// Runs the tool on a pseudo-terminal with typed already waiting as its input; out holds all it
// showed there (standard output and error together, with the echo of the typed lines).
TToolRun RunToolOnTerminal(const std::vector<std::string>& arguments, const std::string& typed);
// The same, and the interrupt key is typed once the terminal shows prompt.
TToolRun RunToolOnTerminalInterruptedAt(const std::vector<std::string>& arguments, const std::string& prompt);
#endif

} // namespace cli_testing
