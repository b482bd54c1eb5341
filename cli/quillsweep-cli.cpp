// The command-line front end: the same engine and texts as the windows, for terminals and scripts.
#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/DriveInfoCommand.h"
#include "platform/PlatformConsole.h"
#include "platform/PlatformSystem.h"

#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments = platform::CommandLineArguments(argc, argv);
    TCliRequest request;
    const int parsed = ParseCliArguments(arguments, request);
    if (parsed >= 0)
        return parsed;
    platform::InstallInterruptHandler();
    try {
        switch (request.command) {
        case TCliCommand::Options: return RunOptionsCommand(request);
        case TCliCommand::Scan: return RunScanCommand(request);
        case TCliCommand::Clean: return RunCleanCommand(request);
        case TCliCommand::Cleans: return RunCleansCommand(request);
        case TCliCommand::Restore: return RunRestoreCommand(request);
        case TCliCommand::DriveInfo: return RunDriveInfoCommand(request.drivePath, request.json);
        default: return kExitUsage;
        }
    } catch (const std::exception& error) {
        platform::WriteConsoleText(platform::ConsoleStream::Error,
                                   "quillsweep-cli: " + std::string(error.what()) + "\n");
        return kExitFailed;
    }
}
