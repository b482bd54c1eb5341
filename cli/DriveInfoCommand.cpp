#include "cli/DriveInfoCommand.h"

#include "cli/CliArguments.h"
#include "cli/CliJson.h"

#include "platform/PlatformDirectory.h"
#include "support/VelaDriveInfo.h"

#include <exception>
#include <string>
#include <vector>

namespace {

struct Row {
    const char* parameter;
    const char* key; // the document's field
    std::string (IDriveInfo::*value)() const;
    const char* description;
};

const Row kRows[] = {
    {"Root Path", "rootPath", &IDriveInfo::GetRootPath, "Root path and drive letter assigned by the operating system."},
    {"Number", "number", &IDriveInfo::GetPhysicalDrive, "Physical drive number as supplied by the hardware enumerator."},
    {"Vendor Identifier", "vendor", &IDriveInfo::GetVendor, "The vendor identifier code."},
    {"Product Identifier", "product", &IDriveInfo::GetProduct, "The product identifier code."},
    {"Product Revision", "revision", &IDriveInfo::GetRevision, "The product revision code."},
    {"Serial Number", "serialNumber", &IDriveInfo::GetSerialNumber, "The serial number assigned by the manufacturer."},
    {"Drive Type", "driveType", &IDriveInfo::GetDriveKindText, "Drive type based on hardware detection."},
    {"Volume Name", "volumeName", &IDriveInfo::GetVolumeLabel, "Volume name as supplied by the operating system."},
    {"Volume Serial Number", "volumeSerialNumber", &IDriveInfo::GetVolumeSerial,
     "Volume serial number as assigned by the operating system during initial format."},
    {"File System Name", "fileSystem", &IDriveInfo::GetFileSystem,
     "Drive partition type (file system) as formatted by the operating system."},
    {"Capacity", "capacity", &IDriveInfo::GetDiskCapacity, "Entire drive capacity."},
    {"Partition Capacity", "partitionCapacity", &IDriveInfo::GetPartitionCapacity, "Drive partition capacity."},
    {"Partition Free Space", "partitionFree", &IDriveInfo::GetPartitionFree, "Drive partition free space."},
};

} // namespace

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
        for (const Row& row : kRows) {
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
