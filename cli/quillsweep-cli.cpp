// The command-line front end: the same engine and texts as the windows, for terminals and scripts.
#include "cli/DriveInfoCommand.h"
#include "platform/PlatformSystem.h"
#include "support/VelaDetect.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

int PrintUsage(FILE* out)
{
    std::fputs("Usage: quillsweep-cli --version\n"
               "       quillsweep-cli --help\n"
               "       quillsweep-cli drive-info PATH\n",
               out);
    return out == stdout ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments = platform::CommandLineArguments(argc, argv);
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::printf("Quillsweep %s\n", TDetect::GetProgramVersion().c_str());
        return 0;
    }
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h"))
        return PrintUsage(stdout);
    if (arguments.size() == 2 && arguments[0] == "drive-info")
        return RunDriveInfoCommand(arguments[1], stdout, stderr);
    if (!arguments.empty())
        std::fprintf(stderr, "quillsweep-cli: unknown command \"%s\"\n", arguments[0].c_str());
    return PrintUsage(stderr);
}
