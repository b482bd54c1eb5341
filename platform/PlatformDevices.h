#pragma once
// Drive, volume and storage-device queries; all paths are UTF-8.
// The device queries raise EOSError (code and system text) when the system refuses them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Drive types as the system's drive-type query numbers them.
enum : int {
    kDriveUnknown = 0, kDriveNoRootDir = 1, kDriveRemovable = 2, kDriveFixed = 3,
    kDriveRemote = 4, kDriveOptical = 5, kDriveRam = 6
};

// Size of the device descriptor buffer the descriptor query fills.
const size_t kDeviceDescriptorSize = 548;

// Byte offsets inside the descriptor of the four text offsets (little-endian 32-bit values).
const size_t kDescriptorVendorOffset = 12;
const size_t kDescriptorProductOffset = 16;
const size_t kDescriptorRevisionOffset = 20;
const size_t kDescriptorSerialOffset = 24;

// Where the Linux layer reads the mount table and sysfs ("/" normally; a fixture tree in tests).
// The Windows layer has no use for it.
void SetDeviceRoot(const std::string& root);
std::string DeviceRoot();

// The drive type of a volume root (Windows: "C:\"; Linux: any path, the mount holding it counts).
int QueryDriveType(const std::string& root);

struct VolumeInformation {
    std::string label;
    uint32_t serial = 0;
    std::string fileSystem;
};
// False when the system cannot say.
bool QueryVolumeInformation(const std::string& root, VolumeInformation& info);

// Size and free bytes of the volume holding root; false when it cannot be queried.
bool QueryDiskSpace(const std::string& root, int64_t& total, int64_t& free);

// The mount point of the volume holding path ("C:\", "/home"). False when the system lacks the
// routine; raises EOSError when the query fails.
bool QueryVolumePathName(const std::string& path, std::string& mountPoint);

// The volume's own name for a mount point, without a trailing separator. False when the system
// lacks the routine; raises EOSError when the query fails.
bool QueryVolumeName(const std::string& mountPoint, std::string& volumeName);

// The disk number of every extent of the volume, in order. Raises EOSError.
std::vector<uint32_t> QueryVolumeDiskExtents(const std::string& volumeName);

// Fills the device's storage descriptor (kDeviceDescriptorSize bytes) and returns the number of
// bytes the device reported. Raises EOSError.
size_t QueryDeviceDescriptor(const std::string& device, unsigned char* descriptor);

// True when the device says it incurs a seek penalty. Raises EOSError.
bool QueryIncursSeekPenalty(const std::string& device);

// Word 217 of the device's IDENTIFY data (1 = non-rotating medium, 0 = not reported). Raises EOSError.
unsigned QueryAtaRotationRate(const std::string& device);

// Whether a device query failed with code because it cannot be asked here (access denied, not
// supported, no such device) rather than because the device failed: such a query decides nothing.
bool IsUnansweredQuery(int code);

// The whole disk's size in bytes where the system reports it outside the management service;
// false where that service is the source.
bool QueryDiskLength(const std::string& device, uint64_t& bytes);

} // namespace platform
