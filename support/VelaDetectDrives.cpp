// TDetect's drive and device routines.
#include "support/VelaDetect.h"

#include "platform/PlatformDevices.h"
#include "platform/PlatformError.h"
#include "platform/PlatformFiles.h"
#include "support/VelaRoutines.h"

#include <cctype>
#include <cstring>

namespace {

bool UsesDriveLetters() { return platform::PathSeparator() == '\\'; }

bool RunningBeforeXP() { return TDetect::IsBeforeXP(TDetect::GetWindowsVersion()); }

// "C:" of "C:\dir", "\\server\share" of a UNC path, "" otherwise.
std::string DriveOf(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2);
    if (path.compare(0, 2, "\\\\") == 0) {
        const size_t server = path.find('\\', 2);
        if (server == std::string::npos || server == 2)
            return {};
        const size_t share = path.find('\\', server + 1);
        return path.substr(0, share);
    }
    return {};
}

// The volume whose space is asked for: the root of the path's drive letter, or its mount point
// where volumes have no letters.
std::string SpaceRoot(const std::string& path)
{
    if (!UsesDriveLetters())
        return TDetect::GetDriveRoot(path);
    if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0])))
        return {};
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) + ":\\";
}

} // namespace

bool TDetect::IsBeforeXP(int version)
{
    // A Windows the table cannot name is not trusted with the newer drive queries. Elsewhere no
    // version is ever known, and the drive queries are the system's own.
    if (version < wv95 || version > wv10)
        return UsesDriveLetters();
    return version <= wv2000;
}

std::string TDetect::GetDriveRoot(const std::string& path)
{
    if (TDirectoryRoutines::IsDriveRoot(path))
        return path;
    if (UsesDriveLetters())
        return DriveOf(path) + "\\";
    std::string mountPoint;
    try {
        if (platform::QueryVolumePathName(path, mountPoint))
            return mountPoint;
    } catch (const EOSError&) {
    }
    return {};
}

int TDetect::GetDriveKind(const std::string& path)
{
    if (RunningBeforeXP())
        return dkUnknown;
    const std::string root = GetDriveRoot(path);
    if (root.empty())
        return dkInvalidRootPath;
    const int kind = platform::QueryDriveType(root);
    return kind >= dkInvalidRootPath && kind <= dkRAM ? kind : dkUnknown;
}

std::string TDetect::GetVolumeInfo(const std::string& path, int what)
{
    if (RunningBeforeXP())
        return "N/A";
    platform::VolumeInformation info;
    const std::string root = GetDriveRoot(path);
    if (root.empty() || !platform::QueryVolumeInformation(root, info))
        info = platform::VolumeInformation {};
    switch (what) {
    case 0: return info.label;
    case 1: return std::to_string(info.serial);
    case 2: return info.fileSystem;
    default: return {};
    }
}

int64_t TDetect::GetDiskSize(const std::string& path)
{
    int64_t total = -1, free = -1;
    const std::string root = SpaceRoot(path);
    return !root.empty() && platform::QueryDiskSpace(root, total, free) ? total : -1;
}

int64_t TDetect::GetDiskFree(const std::string& path)
{
    int64_t total = -1, free = -1;
    const std::string root = SpaceRoot(path);
    return !root.empty() && platform::QueryDiskSpace(root, total, free) ? free : -1;
}

std::string TDetect::GetDiskSizeText(const std::string& path)
{
    return TNumberRoutines::FormatCapacity(TNumberRoutines::BytesToKo(GetDiskSize(path)));
}

std::string TDetect::GetDiskFreeText(const std::string& path)
{
    return TNumberRoutines::FormatCapacity(TNumberRoutines::BytesToKo(GetDiskFree(path)));
}

TPhysicalDriveNumbers TDetect::GetPhysicalDriveNumbers(const std::string& path)
{
    TPhysicalDriveNumbers numbers;
    if (GetDriveKind(path) != dkFixed)
        return numbers;
    std::string mountPoint, volumeName;
    try {
        if (!platform::QueryVolumePathName(path, mountPoint) || !platform::QueryVolumeName(mountPoint, volumeName))
            return numbers;
        for (uint32_t disk : platform::QueryVolumeDiskExtents(volumeName))
            numbers.push_back(static_cast<uint8_t>(disk));
    } catch (const EOSError& error) {
        // A volume the system will not name or map (Wine's drives, a standard user) has no drive
        // that can be asked; a failing one still says why.
        if (!platform::IsUnansweredQuery(error.Code()))
            throw;
        numbers.clear();
    }
    return numbers;
}

bool TDetect::DescriptorText(const unsigned char* descriptor, size_t length, size_t field, std::string& text)
{
    text.clear();
    if (length > platform::kDeviceDescriptorSize)
        length = platform::kDeviceDescriptorSize;
    if (field + 4 > length)
        return false;
    uint32_t offset = 0;
    for (int i = 3; i >= 0; --i)
        offset = offset << 8 | descriptor[field + i];
    // Drivers mark an absent text with 0 (and some with an offset past the data).
    if (offset == 0 || offset >= length)
        return false;
    const void* end = std::memchr(descriptor + offset, 0, length - offset);
    const size_t size = end ? static_cast<const unsigned char*>(end) - (descriptor + offset) : length - offset;
    text.assign(reinterpret_cast<const char*>(descriptor + offset), size);
    return true;
}

std::string TDetect::GetDeviceProductId(const std::string& device)
{
    unsigned char descriptor[platform::kDeviceDescriptorSize];
    const size_t length = platform::QueryDeviceDescriptor(device, descriptor);
    std::string product;
    DescriptorText(descriptor, length, platform::kDescriptorProductOffset, product);
    return product;
}

bool TDetect::HasNoSeekPenalty(const std::string& device) { return !platform::QueryIncursSeekPenalty(device); }

bool TDetect::IsNonRotatingAta(const std::string& device) { return platform::QueryAtaRotationRate(device) == 1; }

bool TDetect::IsSsdProductId(const std::string& device)
{
    return GetDeviceProductId(device).find("SSD") != std::string::npos;
}

namespace {

// A method whose query cannot be asked here (access denied, not supported, no such device) decides
// nothing and the next one is tried; a device that fails still raises its error.
bool Says(bool (*method)(const std::string&), const std::string& device)
{
    try {
        return method(device);
    } catch (const EOSError& error) {
        if (!platform::IsUnansweredQuery(error.Code()))
            throw;
        return false;
    }
}

} // namespace

bool TDetect::IsSolidStateDrive(const std::string& path)
{
    if (RunningBeforeXP())
        return false;
    for (uint8_t number : GetPhysicalDriveNumbers(path)) {
        const std::string device = TConvert::PhysicalDrivePath({number});
        if (Says(&HasNoSeekPenalty, device) || Says(&IsNonRotatingAta, device) || Says(&IsSsdProductId, device))
            return true;
    }
    return false;
}

std::string TConvert::PhysicalDrivePath(const TPhysicalDriveNumbers& numbers)
{
    if (numbers.empty())
        return {};
    return "\\\\.\\PhysicalDrive" + std::to_string(numbers.front());
}

std::string TConvert::DriveKindName(int kind)
{
    static const char* const names[] = {"Unknown", "Invalid Root Path", "Removable", "Fixed", "Remote", "Optical", "RAM"};
    return kind >= dkUnknown && kind <= dkRAM ? names[kind] : names[dkUnknown];
}
