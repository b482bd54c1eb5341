#pragma once
// The Linux device facts: the mount table and sysfs, read below the device root.
#include <string>
#include <vector>

namespace platform {
namespace sysfs {

struct MountEntry {
    std::string majorMinor;  // "8:1"
    std::string mountPoint;
    std::string fileSystem;
    std::string source;
};

// The device root joined with an absolute path inside it.
std::string UnderRoot(const std::string& path);

// The first line of a file without its line break; false when it cannot be read (errno set).
bool ReadLine(const std::string& path, std::string& line);

// The mount entries in table order; false with errno set when the table cannot be read.
bool ReadMountTable(std::vector<MountEntry>& entries);

// The mount holding path: the longest mount point that contains it (a later mount over the same point wins).
bool FindMount(const std::string& path, MountEntry& mount);

// The sysfs block-device name of a mount ("sda1", "dm-0"), empty when it has none.
std::string BlockNameOf(const MountEntry& mount);

// True when sys/class/block holds the name.
bool BlockExists(const std::string& name);

// The whole disks beneath a block device: itself, the disk of a partition, every slave of a mapped or RAID volume.
std::vector<std::string> WholeDisksOf(const std::string& name);

// Whole disks backed by hardware, in name order; a disk's index here is its drive number.
std::vector<std::string> PhysicalDisks();

// Text of a file of a block device's directory ("queue/rotational"), with the call's success.
bool ReadBlockFile(const std::string& name, const std::string& file, std::string& text);

} // namespace sysfs
} // namespace platform
