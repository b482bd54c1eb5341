#include "support/VelaDriveInfo.h"

#include "platform/PlatformError.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"
#include "support/VelaWMIRoutines.h"

#include <vector>

namespace {

const char* const kNotAvailable = "N/A";

// A WQL string literal: backslashes doubled, single quotes around, inner quotes doubled.
std::string QuoteWql(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\\')
            quoted += "\\\\";
        else if (c == '\'')
            quoted += "''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string CapacityText(uint64_t bytes)
{
    return TNumberRoutines::FormatCapacity(TNumberRoutines::BytesToKo(static_cast<int64_t>(bytes)));
}

} // namespace

TDriveInfo::TDriveInfo(const std::string& path, bool trimSerial) : trimSerial_(trimSerial), path_(path)
{
    const TPhysicalDriveNumbers numbers = TDetect::GetPhysicalDriveNumbers(path);
    if (numbers.empty())
        return;
    descriptorLength_ = platform::QueryDeviceDescriptor(TConvert::PhysicalDrivePath(numbers), descriptor_.data());
    descriptorValid_ = descriptorLength_ != 0;
}

std::string TDriveInfo::DescriptorTextOr(size_t field) const
{
    std::string text;
    if (!descriptorValid_ || !TDetect::DescriptorText(descriptor_.data(), descriptorLength_, field, text))
        return kNotAvailable;
    return text;
}

std::string TDriveInfo::GetRootPath() const
{
    if (path_.empty() || !TDirectoryRoutines::IsDirectory(path_))
        return kNotAvailable;
    const std::string root = TDetect::GetDriveRoot(path_);
    return root.empty() ? kNotAvailable : root;
}

std::string TDriveInfo::GetPhysicalDrive() const
{
    const TPhysicalDriveNumbers numbers = TDetect::GetPhysicalDriveNumbers(path_);
    return numbers.empty() ? kNotAvailable : std::to_string(numbers.front());
}

std::string TDriveInfo::GetVendor() const { return DescriptorTextOr(platform::kDescriptorVendorOffset); }

std::string TDriveInfo::GetProduct() const { return DescriptorTextOr(platform::kDescriptorProductOffset); }

std::string TDriveInfo::GetRevision() const { return DescriptorTextOr(platform::kDescriptorRevisionOffset); }

std::string TDriveInfo::GetSerialNumber() const
{
    std::string serial;
    if (!descriptorValid_ ||
        !TDetect::DescriptorText(descriptor_.data(), descriptorLength_, platform::kDescriptorSerialOffset, serial))
        return kNotAvailable;
    // Some drivers hand the ATA serial over as hexadecimal with its characters swapped in pairs,
    // padded with blanks that are no part of the digits.
    if (TStringRoutines::IsHexText(serial, true))
        serial = TStringRoutines::DecodeSwappedHex(TStringRoutines::Trim(serial));
    return trimSerial_ ? TStringRoutines::Trim(serial) : serial;
}

std::string TDriveInfo::GetDriveKindText() const
{
    const int kind = TDetect::GetDriveKind(path_);
    const std::string name = TConvert::DriveKindName(kind);
    if (kind != dkFixed)
        return name;
    return name + " (" + (TDetect::IsSolidStateDrive(path_) ? "solid-state" : "magnetic") + ")";
}

std::string TDriveInfo::GetVolumeLabel() const { return TDetect::GetVolumeInfo(path_, 0); }

std::string TDriveInfo::GetVolumeSerial() const { return TDetect::GetVolumeInfo(path_, 1); }

std::string TDriveInfo::GetFileSystem() const { return TDetect::GetVolumeInfo(path_, 2); }

std::string TDriveInfo::GetDiskCapacity() const
{
    try {
        const std::string device = TConvert::PhysicalDrivePath(TDetect::GetPhysicalDriveNumbers(path_));
        std::vector<platform::WmiObject> objects;
        if (!TWMIRoutines::ExecQuery("SELECT Size FROM Win32_DiskDrive WHERE DeviceID = " + QuoteWql(device), objects)) {
            // Without the management service the device layer may know the size itself.
            uint64_t bytes = 0;
            if (!device.empty() && platform::QueryDiskLength(device, bytes))
                return CapacityText(bytes);
            return kNotAvailable;
        }
        if (objects.empty())
            return {};
        const auto size = objects.front().find("Size");
        if (size == objects.front().end())
            return "Internal Error";
        const std::string& digits = size->second;
        if (digits.empty() || digits.size() > 19 || digits.find_first_not_of("0123456789") != std::string::npos)
            return "Internal Error";
        return CapacityText(std::stoull(digits));
    } catch (...) {
        return "Internal Error";
    }
}

std::string TDriveInfo::GetPartitionCapacity() const { return TDetect::GetDiskSizeText(path_); }

std::string TDriveInfo::GetPartitionFree() const { return TDetect::GetDiskFreeText(path_); }

std::shared_ptr<IDriveInfo> TDriveInfoAccess::CreateDriveInfo(const std::string& path, bool trimSerial)
{
    return std::make_shared<TDriveInfo>(path, trimSerial);
}
