#pragma once
// A fixture tree of mount table and sysfs entries that the Linux device layer reads instead of the real ones.
#include "TestSupport.h"
#include "platform/PlatformDevices.h"

#include <filesystem>
#include <string>

class DeviceTree {
public:
    DeviceTree() { platform::SetDeviceRoot(dir_.Str()); }
    ~DeviceTree() { platform::SetDeviceRoot("/"); }

    void Write(const std::string& relative, const std::string& text)
    {
        const std::filesystem::path path = dir_.Path() / relative;
        std::filesystem::create_directories(path.parent_path());
        testing_support::WriteBytes(testing_support::Utf8(path), text);
    }
    void MakeDir(const std::string& relative) { std::filesystem::create_directories(dir_.Path() / relative); }

    void Mount(const std::string& mountPoint, const std::string& majorMinor, const std::string& type,
               const std::string& source)
    {
        mounts_ += std::to_string(++mountId_) + " 1 " + majorMinor + " / " + mountPoint + " rw,relatime shared:1 - " +
                   type + " " + source + " rw\n";
        Write("proc/self/mountinfo", mounts_);
    }

    // A whole disk; rotational "" leaves the seek-penalty answer out.
    void Disk(const std::string& name, const std::string& majorMinor, const std::string& rotational,
              const std::string& model = "", const std::string& serial = "")
    {
        const std::string base = "sys/class/block/" + name + "/";
        Write(base + "dev", majorMinor + "\n");
        Write(base + "removable", "0\n");
        Write(base + "size", "2097152\n");
        Write(base + "device/vendor", "ATA     \n");
        if (!rotational.empty())
            Write(base + "queue/rotational", rotational + "\n");
        if (!model.empty())
            Write(base + "device/model", model + "\n");
        if (!serial.empty())
            Write(base + "device/serial", serial + "\n");
    }

    void Partition(const std::string& disk, const std::string& name, const std::string& majorMinor)
    {
        Write("sys/class/block/" + name + "/dev", majorMinor + "\n");
        Write("sys/class/block/" + name + "/partition", "1\n");
        MakeDir("sys/class/block/" + disk + "/" + name);
    }

    // A mapped or RAID volume over the given block devices.
    void Volume(const std::string& name, const std::string& majorMinor, std::initializer_list<const char*> slaves)
    {
        Write("sys/class/block/" + name + "/dev", majorMinor + "\n");
        for (const char* slave : slaves)
            MakeDir("sys/class/block/" + name + "/slaves/" + slave);
    }

private:
    testing_support::TempDir dir_;
    std::string mounts_;
    int mountId_ = 20;
};
