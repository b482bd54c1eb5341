#include "platform/PlatformDevices.h"
#include "platform/PlatformError.h"
#include "platform/posix/PosixDevicesSysfs.h"

#include <dirent.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <climits>
#include <cstring>
#include <mutex>

namespace platform {
namespace {

std::mutex rootLock;
std::string deviceRoot = "/";

const char* const kRemoteFileSystems[] = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "9p",
                                          "glusterfs", "lustre", "davfs", "fuse.sshfs", "fuse.davfs2",
                                          "fuse.rclone", "fuse.glusterfs", "fuse.s3fs"};

bool IsOneOf(const std::string& text, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char* name) { return text == name; });
}

[[noreturn]] void RaiseCode(int code, const std::string& context)
{
    throw EOSError(code, context + ": " + SystemErrorMessage(code));
}

sysfs::MountEntry MountOrRaise(const std::string& path)
{
    sysfs::MountEntry mount;
    if (!sysfs::FindMount(path, mount))
        RaiseLastOSError("Cannot find the volume of \"" + path + "\"");
    return mount;
}

// "\\.\PhysicalDrive<n>" names the n-th physical disk.
std::string DiskOfDevice(const std::string& device)
{
    const std::string prefix = "\\\\.\\PhysicalDrive";
    if (device.compare(0, prefix.size(), prefix) == 0 && device.size() > prefix.size() && device.size() < prefix.size() + 4 &&
        std::all_of(device.begin() + prefix.size(), device.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const size_t index = std::stoul(device.substr(prefix.size()));
        const std::vector<std::string> disks = sysfs::PhysicalDisks();
        if (index < disks.size())
            return disks[index];
    }
    RaiseCode(ENOENT, "Cannot open device \"" + device + "\"");
}

// Label symlinks are named with \xNN escapes for unusual characters.
std::string DecodeLabel(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\x") == 0 && i + 3 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 3]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string LabelOf(const std::string& blockName)
{
    const std::string folder = sysfs::UnderRoot("/dev/disk/by-label");
    std::string label;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            char target[PATH_MAX];
            const ssize_t n = readlink((folder + "/" + entry->d_name).c_str(), target, sizeof target - 1);
            if (n <= 0)
                continue;
            target[n] = '\0';
            const char* slash = std::strrchr(target, '/');
            if (blockName == (slash ? slash + 1 : target)) {
                label = DecodeLabel(entry->d_name);
                break;
            }
        }
        closedir(dir);
    }
    return label;
}

} // namespace

void SetDeviceRoot(const std::string& root)
{
    std::lock_guard<std::mutex> guard(rootLock);
    deviceRoot = root.empty() ? "/" : root;
}

std::string DeviceRoot()
{
    std::lock_guard<std::mutex> guard(rootLock);
    return deviceRoot;
}

int QueryDriveType(const std::string& root)
{
    sysfs::MountEntry mount;
    if (!sysfs::FindMount(root, mount))
        return kDriveNoRootDir;
    const std::string& type = mount.fileSystem;
    if (std::find(std::begin(kRemoteFileSystems), std::end(kRemoteFileSystems), type) != std::end(kRemoteFileSystems))
        return kDriveRemote;
    if (IsOneOf(type, {"tmpfs", "ramfs"}))
        return kDriveRam;
    if (IsOneOf(type, {"iso9660", "udf"}))
        return kDriveOptical;
    const std::string block = sysfs::BlockNameOf(mount);
    if (block.empty())
        return kDriveUnknown;
    for (const std::string& disk : sysfs::WholeDisksOf(block)) {
        std::string removable;
        if (sysfs::ReadBlockFile(disk, "removable", removable) && removable == "1")
            return kDriveRemovable;
    }
    return kDriveFixed;
}

bool QueryVolumeInformation(const std::string& root, VolumeInformation& info)
{
    info = VolumeInformation {};
    sysfs::MountEntry mount;
    if (!sysfs::FindMount(root, mount))
        return false;
    info.fileSystem = mount.fileSystem;
    info.label = LabelOf(sysfs::BlockNameOf(mount));
    struct statvfs stats;
    if (DeviceRoot() == "/" && statvfs(root.c_str(), &stats) == 0)
        info.serial = static_cast<uint32_t>(stats.f_fsid);
    return true;
}

bool QueryDiskSpace(const std::string& root, int64_t& total, int64_t& free)
{
    total = free = -1;
    struct statvfs stats;
    if (statvfs(root.c_str(), &stats) != 0)
        return false;
    total = static_cast<int64_t>(stats.f_blocks) * static_cast<int64_t>(stats.f_frsize);
    free = static_cast<int64_t>(stats.f_bavail) * static_cast<int64_t>(stats.f_frsize);
    return true;
}

bool QueryVolumePathName(const std::string& path, std::string& mountPoint)
{
    mountPoint = MountOrRaise(path).mountPoint;
    return true;
}

bool QueryVolumeName(const std::string& mountPoint, std::string& volumeName)
{
    volumeName = sysfs::BlockNameOf(MountOrRaise(mountPoint));
    if (volumeName.empty())
        RaiseCode(ENODEV, "Cannot name the volume at \"" + mountPoint + "\"");
    return true;
}

std::vector<uint32_t> QueryVolumeDiskExtents(const std::string& volumeName)
{
    if (!sysfs::BlockExists(volumeName))
        RaiseCode(ENOENT, "Cannot open device \"" + volumeName + "\"");
    const std::vector<std::string> physical = sysfs::PhysicalDisks();
    std::vector<uint32_t> numbers;
    for (const std::string& disk : sysfs::WholeDisksOf(volumeName)) {
        const auto at = std::find(physical.begin(), physical.end(), disk);
        if (at != physical.end())
            numbers.push_back(static_cast<uint32_t>(at - physical.begin()));
    }
    return numbers;
}

size_t QueryDeviceDescriptor(const std::string& device, unsigned char* descriptor)
{
    const std::string disk = DiskOfDevice(device);
    std::memset(descriptor, 0, kDeviceDescriptorSize);
    // The same layout the Windows storage query returns: a 36-byte header, then the texts it points at.
    size_t used = 36;
    auto put = [&](size_t field, const std::vector<const char*>& files) {
        std::string text;
        for (const char* file : files)
            if (sysfs::ReadBlockFile(disk, file, text) && !text.empty())
                break;
        if (text.empty() || used + text.size() + 1 > kDeviceDescriptorSize)
            return;
        const uint32_t offset = static_cast<uint32_t>(used);
        std::memcpy(descriptor + field, &offset, sizeof offset);
        std::memcpy(descriptor + used, text.data(), text.size());
        used += text.size() + 1;
    };
    put(kDescriptorVendorOffset, {"device/vendor"});
    put(kDescriptorProductOffset, {"device/model"});
    put(kDescriptorRevisionOffset, {"device/rev", "device/firmware_rev"});
    put(kDescriptorSerialOffset, {"serial", "device/serial"});
    const uint32_t version = 36, size = static_cast<uint32_t>(used);
    std::memcpy(descriptor, &version, sizeof version);
    std::memcpy(descriptor + 4, &size, sizeof size);
    std::string removable;
    descriptor[10] = sysfs::ReadBlockFile(disk, "removable", removable) && removable == "1";
    return used;
}

bool QueryIncursSeekPenalty(const std::string& device)
{
    const std::string disk = DiskOfDevice(device);
    std::string rotational;
    if (!sysfs::ReadBlockFile(disk, "queue/rotational", rotational))
        RaiseLastOSError("Cannot query the seek penalty of \"" + device + "\"");
    return rotational != "0";
}

// Linux keeps the IDENTIFY data to itself; its rotational flag already reflects word 217.
unsigned QueryAtaRotationRate(const std::string& device)
{
    DiskOfDevice(device);
    return 0;
}

bool IsUnansweredQuery(int code)
{
    switch (code) {
    case EACCES:
    case EPERM:
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTSUP:
    case ENOTTY:
    case EINVAL:
        return true;
    default:
        return false;
    }
}

bool QueryDiskLength(const std::string& device, uint64_t& bytes)
{
    bytes = 0;
    std::string sectors;
    if (!sysfs::ReadBlockFile(DiskOfDevice(device), "size", sectors) || sectors.empty() ||
        !std::all_of(sectors.begin(), sectors.end(), [](char c) { return c >= '0' && c <= '9'; }) || sectors.size() > 15)
        return false;
    bytes = std::stoull(sectors) * 512;  // sysfs counts 512-byte sectors whatever the device's own size
    return true;
}

} // namespace platform
