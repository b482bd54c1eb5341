#pragma once
// The details shown for a drive, in the order shown: each parameter's name, the getter of its
// value and its fixed description. The window and the command-line tool show the same.
#include "support/VelaDriveInfo.h"

#include <string>

struct TDriveInfoDetail {
    const char* parameter;
    const char* key; // a stable identifier for machine-readable output
    std::string (IDriveInfo::*value)() const;
    const char* description;
};

inline constexpr TDriveInfoDetail kDriveInfoDetails[] = {
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
