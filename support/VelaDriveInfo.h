#pragma once
// The identity of the physical drive behind a path and the figures of its volume, as texts.
#include "platform/PlatformDevices.h"

#include <array>
#include <memory>
#include <string>

class IDriveInfo {
public:
    virtual ~IDriveInfo() = default;
    virtual bool GetDescriptorValid() const = 0;
    virtual std::string GetRootPath() const = 0;
    virtual std::string GetPhysicalDrive() const = 0;
    virtual std::string GetVendor() const = 0;
    virtual std::string GetProduct() const = 0;
    virtual std::string GetRevision() const = 0;
    virtual std::string GetSerialNumber() const = 0;
    // May raise EOSError from the solid-state test of a fixed drive.
    virtual std::string GetDriveKindText() const = 0;
    virtual std::string GetVolumeLabel() const = 0;
    virtual std::string GetVolumeSerial() const = 0;
    virtual std::string GetFileSystem() const = 0;
    // Never raises: "Internal Error" stands for any failure.
    virtual std::string GetDiskCapacity() const = 0;
    virtual std::string GetPartitionCapacity() const = 0;
    virtual std::string GetPartitionFree() const = 0;
};

class TDriveInfo : public IDriveInfo {
public:
    // Reads the device descriptor once; an operating-system error escapes.
    TDriveInfo(const std::string& path, bool trimSerial);

    bool GetDescriptorValid() const override { return descriptorValid_; }
    std::string GetRootPath() const override;
    std::string GetPhysicalDrive() const override;
    std::string GetVendor() const override;
    std::string GetProduct() const override;
    std::string GetRevision() const override;
    std::string GetSerialNumber() const override;
    std::string GetDriveKindText() const override;
    std::string GetVolumeLabel() const override;
    std::string GetVolumeSerial() const override;
    std::string GetFileSystem() const override;
    std::string GetDiskCapacity() const override;
    std::string GetPartitionCapacity() const override;
    std::string GetPartitionFree() const override;

private:
    std::string DescriptorTextOr(size_t field) const;

    bool trimSerial_;
    std::string path_;
    bool descriptorValid_ = false;
    size_t descriptorLength_ = 0;
    std::array<unsigned char, platform::kDeviceDescriptorSize> descriptor_ {};
};

class TDriveInfoAccess {
public:
    static std::shared_ptr<IDriveInfo> CreateDriveInfo(const std::string& path, bool trimSerial = true);
};
