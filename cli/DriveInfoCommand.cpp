#include "cli/DriveInfoCommand.h"

#include "cli/CliArguments.h"
#include "cli/CliJson.h"

#include "cycle/uDriveInfoDetails.h"
#include "platform/PlatformDirectory.h"
#include "support/VelaDriveInfo.h"

#include <exception>
#include <string>
#include <vector>

int RunDriveInfoCommand(const std::string& path, bool json)
{
    TCliTerminal terminal(false);
    // The drive of a path that is not there would be some other drive's (the root's) details.
    if (platform::GetAttributesAt(path) == platform::kInvalidAttributes) {
        terminal.Message("The path \"" + TCliTerminal::Printable(path) + "\" does not exist.");
        return kExitUsage;
    }
    // All rows are gathered first so that a failing query prints nothing but the notice.
    std::vector<std::string> lines;
    cli_json::Json drive = cli_json::Json::object(), details = cli_json::Json::array();
    try {
        const std::shared_ptr<IDriveInfo> info = TDriveInfoAccess::CreateDriveInfo(path, true);
        if (!info->GetDescriptorValid()) {
            terminal.Message("Drive information is not available for target \"" + TCliTerminal::Printable(path) +
                             "\".");
            return kExitUsage;
        }
        for (const TDriveInfoDetail& row : kDriveInfoDetails) {
            const std::string value = ((*info).*row.value)();
            lines.push_back(std::string(row.parameter) + "\t" + TCliTerminal::Printable(value) + "\t" + row.description);
            drive[row.key] = value;
            details.push_back({{"key", row.key}, {"name", row.parameter}, {"value", value}, {"description", row.description}});
        }
    } catch (const std::exception&) {
        terminal.Message("Target \"" + TCliTerminal::Printable(path) +
                         "\" does not support drive information retrieval.\n"
                         "Please select another target device drive.");
        return kExitUsage;
    }
    if (json) {
        cli_json::Json document = cli_json::Document("drive-info");
        cli_json::AddPath(document, "path", path);
        document["drive"] = std::move(drive);
        document["details"] = std::move(details);
        cli_json::Print(terminal, std::move(document), kExitDone);
        return kExitDone;
    }
    for (const std::string& line : lines)
        terminal.Out(line);
    return kExitDone;
}
