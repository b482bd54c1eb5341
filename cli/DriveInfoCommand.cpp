#include "cli/DriveInfoCommand.h"

#include "platform/PlatformDirectory.h"
#include "support/VelaDriveInfo.h"

#include <exception>
#include <string>
#include <vector>

namespace {

struct Row {
    const char* parameter;
    std::string (IDriveInfo::*value)() const;
    const char* description;
};

const Row kRows[] = {
    {"Root Path", &IDriveInfo::GetRootPath, "Root path and drive letter assigned by the operating system."},
    {"Number", &IDriveInfo::GetPhysicalDrive, "Physical drive number as supplied by the hardware enumerator."},
    {"Vendor Identifier", &IDriveInfo::GetVendor, "The vendor identifier code."},
    {"Product Identifier", &IDriveInfo::GetProduct, "The product identifier code."},
    {"Product Revision", &IDriveInfo::GetRevision, "The product revision code."},
    {"Serial Number", &IDriveInfo::GetSerialNumber, "The serial number assigned by the manufacturer."},
    {"Drive Type", &IDriveInfo::GetDriveKindText, "Drive type based on hardware detection."},
    {"Volume Name", &IDriveInfo::GetVolumeLabel, "Volume name as supplied by the operating system."},
    {"Volume Serial Number", &IDriveInfo::GetVolumeSerial,
     "Volume serial number as assigned by the operating system during initial format."},
    {"File System Name", &IDriveInfo::GetFileSystem,
     "Drive partition type (file system) as formatted by the operating system."},
    {"Capacity", &IDriveInfo::GetDiskCapacity, "Entire drive capacity."},
    {"Partition Capacity", &IDriveInfo::GetPartitionCapacity, "Drive partition capacity."},
    {"Partition Free Space", &IDriveInfo::GetPartitionFree, "Drive partition free space."},
};

} // namespace

int RunDriveInfoCommand(const std::string& path, FILE* out, FILE* err)
{
    // The drive of a path that is not there would be some other drive's (the root's) details.
    if (platform::GetAttributesAt(path) == platform::kInvalidAttributes) {
        std::fprintf(err, "The path \"%s\" does not exist.\n", path.c_str());
        return 2;
    }
    // All rows are gathered first so that a failing query prints nothing but the notice.
    std::vector<std::string> lines;
    try {
        const std::shared_ptr<IDriveInfo> info = TDriveInfoAccess::CreateDriveInfo(path, true);
        if (!info->GetDescriptorValid()) {
            std::fprintf(err, "Drive information is not available for target \"%s\".\n", path.c_str());
            return 2;
        }
        for (const Row& row : kRows)
            lines.push_back(std::string(row.parameter) + "\t" + ((*info).*row.value)() + "\t" + row.description);
        lines.push_back("\t\t");
    } catch (const std::exception&) {
        std::fprintf(err,
                     "Target \"%s\" does not support drive information retrieval.\n"
                     "Please select another target device drive.\n",
                     path.c_str());
        return 2;
    }
    for (const std::string& line : lines)
        std::fprintf(out, "%s\n", line.c_str());
    return 0;
}
