// Detection over fixture trees of the mount table and sysfs.
#ifndef _WIN32
#include "DeviceTree.h"
#include "platform/PlatformError.h"
#include "support/VelaDetect.h"
#include "support/VelaDriveInfo.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

// A root file system on sda1, and network, RAM and removable mounts beside it.
void MountSystem(DeviceTree& tree)
{
    tree.Disk("sda", "8:0", "1", "WDC WD10EZEX", "WD-WCC6Y0000001");
    tree.Partition("sda", "sda1", "8:1");
    tree.Mount("/", "8:1", "ext4", "/dev/sda1");
    tree.Mount("/net", "0:50", "nfs4", "server:/export");
    tree.Mount("/ram", "0:51", "tmpfs", "tmpfs");
    tree.Disk("sdc", "8:32", "1", "Flash Disk");
    tree.Write("sys/class/block/sdc/removable", "1\n");
    tree.Partition("sdc", "sdc1", "8:33");
    tree.Mount("/media/My Disk", "8:33", "vfat", "/dev/sdc1");
}

} // namespace

TEST(DriveDetection, PathsWithoutPhysicalDrives)
{
    DeviceTree tree;
    MountSystem(tree);
    // The mount table escapes the blank; "/netx" is not inside "/net".
    tree.Write("proc/self/mountinfo", "");
    tree.Mount("/", "8:1", "ext4", "/dev/sda1");
    tree.Mount("/net", "0:50", "nfs4", "server:/export");
    tree.Mount("/ram", "0:51", "tmpfs", "tmpfs");
    tree.Mount("/media/My\\040Disk", "8:33", "vfat", "/dev/sdc1");

    EXPECT_EQ(dkRemote, TDetect::GetDriveKind("/net/share/docs"));
    EXPECT_EQ(dkRAM, TDetect::GetDriveKind("/ram"));
    EXPECT_EQ(dkRemovable, TDetect::GetDriveKind("/media/My Disk/photos"));
    EXPECT_EQ(dkFixed, TDetect::GetDriveKind("/netx/data"));
    EXPECT_EQ("/media/My Disk", TDetect::GetDriveRoot("/media/My Disk/photos"));
    EXPECT_EQ("vfat", TDetect::GetVolumeInfo("/media/My Disk/photos", 2));

    for (const char* path : {"/net/share/docs", "/ram/cache", "/media/My Disk/photos"}) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(TDetect::GetPhysicalDriveNumbers(path).empty());
        EXPECT_FALSE(TDetect::IsSolidStateDrive(path));
        const auto info = TDriveInfoAccess::CreateDriveInfo(path);
        EXPECT_FALSE(info->GetDescriptorValid());
        EXPECT_EQ("N/A", info->GetPhysicalDrive());
        EXPECT_EQ("N/A", info->GetVendor());
        EXPECT_EQ("N/A", info->GetSerialNumber());
        EXPECT_EQ("N/A", info->GetDiskCapacity());
    }
    EXPECT_EQ("Remote", TDriveInfoAccess::CreateDriveInfo("/net/a")->GetDriveKindText());
    EXPECT_EQ("RAM", TDriveInfoAccess::CreateDriveInfo("/ram")->GetDriveKindText());

    // A file system without a block device is neither fixed nor has drives.
    tree.Mount("/proc", "0:21", "proc", "proc");
    EXPECT_EQ(dkUnknown, TDetect::GetDriveKind("/proc/1"));
    EXPECT_TRUE(TDetect::GetPhysicalDriveNumbers("/proc/1").empty());
}

TEST(DriveDetection, VolumeSpanningTwoDisks)
{
    DeviceTree tree;
    tree.Disk("sda", "8:0", "1");
    tree.Partition("sda", "sda2", "8:2");
    tree.Disk("sdb", "8:16", "0");
    tree.Partition("sdb", "sdb1", "8:17");
    tree.Write("sys/class/block/loop0/dev", "7:0\n");  // no hardware behind it, so no drive number
    tree.Volume("md0", "9:0", {"sda2", "sdb1"});
    tree.Volume("dm-0", "253:0", {"md0"});
    tree.Mount("/", "253:0", "ext4", "/dev/mapper/vg-root");

    EXPECT_EQ((TPhysicalDriveNumbers {0, 1}), TDetect::GetPhysicalDriveNumbers("/home/user"));
    EXPECT_EQ("\\\\.\\PhysicalDrive0", TConvert::PhysicalDrivePath(TDetect::GetPhysicalDriveNumbers("/")));
    EXPECT_TRUE(TDetect::IsSolidStateDrive("/home"));  // sdb, the second disk, is solid-state

    tree.Write("sys/class/block/sda/queue/rotational", "0\n");
    tree.Write("sys/class/block/sdb/queue/rotational", "1\n");
    EXPECT_TRUE(TDetect::IsSolidStateDrive("/home"));
    // Once a disk is solid-state the next one is not asked, so its failure cannot surface.
    std::filesystem::remove(std::filesystem::path(platform::DeviceRoot()) / "sys/class/block/sdb/queue/rotational");
    EXPECT_TRUE(TDetect::IsSolidStateDrive("/home"));
    tree.Write("sys/class/block/sda/queue/rotational", "1\n");
    EXPECT_FALSE(TDetect::IsSolidStateDrive("/home")) << "a disk that cannot be asked decides nothing";
    tree.Write("sys/class/block/sdb/queue/rotational", "1\n");
    EXPECT_FALSE(TDetect::IsSolidStateDrive("/home"));
    EXPECT_EQ("Fixed (magnetic)", TDriveInfoAccess::CreateDriveInfo("/home")->GetDriveKindText());

    // The whole disk's size comes from sysfs (512-byte sectors) where there is no management service.
    EXPECT_EQ("1,024 Mo", TDriveInfoAccess::CreateDriveInfo("/home")->GetDiskCapacity());
}

TEST(DriveDetection, DescriptorTextsAndProductId)
{
    DeviceTree tree;
    tree.Disk("sda", "8:0", "1", "Samsung SSD 860 EVO", "4457314320202020");
    tree.Write("sys/class/block/sda/device/rev", "RVT04B6Q\n");
    tree.Partition("sda", "sda1", "8:1");
    tree.Mount("/", "8:1", "ext4", "/dev/sda1");

    auto info = TDriveInfoAccess::CreateDriveInfo("/srv/data");
    ASSERT_TRUE(info->GetDescriptorValid());
    EXPECT_EQ("0", info->GetPhysicalDrive());
    EXPECT_EQ("ATA     ", info->GetVendor());
    EXPECT_EQ("Samsung SSD 860 EVO", info->GetProduct());
    EXPECT_EQ("RVT04B6Q", info->GetRevision());
    EXPECT_EQ("WDC1", info->GetSerialNumber());  // hexadecimal, swapped in pairs, trimmed
    EXPECT_EQ("WDC1    ", TDriveInfoAccess::CreateDriveInfo("/srv/data", false)->GetSerialNumber());
    // The product id wins although the disk rotates.
    EXPECT_TRUE(TDetect::IsSsdProductId("\\\\.\\PhysicalDrive0"));
    EXPECT_EQ("Fixed (solid-state)", info->GetDriveKindText());

    tree.Write("sys/class/block/sda/device/serial", "445731432\n");
    EXPECT_EQ("", TDriveInfoAccess::CreateDriveInfo("/")->GetSerialNumber());  // odd length
    tree.Write("sys/class/block/sda/device/serial", "  44573143  \n");
    EXPECT_EQ("WDC1", TDriveInfoAccess::CreateDriveInfo("/")->GetSerialNumber());  // padding is no digit
    tree.Write("sys/class/block/sda/device/serial", "  WD-WCC6Y0000001 \n");
    EXPECT_EQ("WD-WCC6Y0000001", TDriveInfoAccess::CreateDriveInfo("/")->GetSerialNumber());

    tree.Write("sys/class/block/sda/device/model", "Fast ssd 2000\n");  // the test is case-sensitive
    EXPECT_FALSE(TDetect::IsSolidStateDrive("/"));
    std::filesystem::remove(std::filesystem::path(platform::DeviceRoot()) / "sys/class/block/sda/device/model");
    info = TDriveInfoAccess::CreateDriveInfo("/");
    EXPECT_EQ("N/A", info->GetProduct());
    EXPECT_EQ("", TDetect::GetDeviceProductId("\\\\.\\PhysicalDrive0"));
}

TEST(DriveDetection, DeviceErrorsReachTheCaller)
{
    DeviceTree tree;
    tree.Disk("sda", "8:0", "");  // no seek-penalty answer: the question cannot be asked
    tree.Partition("sda", "sda1", "8:1");
    tree.Mount("/", "8:1", "ext4", "/dev/sda1");
    EXPECT_FALSE(TDetect::IsSolidStateDrive("/var"));
    EXPECT_EQ("Fixed (magnetic)", TDriveInfoAccess::CreateDriveInfo("/var")->GetDriveKindText());

    // A device that fails, rather than one that cannot be asked, still says why.
    const std::filesystem::path rotational =
        std::filesystem::path(platform::DeviceRoot()) / "sys/class/block/sda/queue/rotational";
    std::filesystem::create_directories(rotational.parent_path());
    std::filesystem::create_symlink(rotational, rotational);
    try {
        TDetect::IsSolidStateDrive("/var");
        FAIL() << "no error raised";
    } catch (const EOSError& error) {
        EXPECT_EQ(ELOOP, error.Code());
        EXPECT_NE(std::string::npos, std::string(error.what()).find("PhysicalDrive0"));
    }
    const auto info = TDriveInfoAccess::CreateDriveInfo("/var");
    EXPECT_THROW(info->GetDriveKindText(), EOSError);
    EXPECT_THROW(TDetect::GetDeviceProductId("\\\\.\\PhysicalDrive7"), EOSError);
    EXPECT_THROW(TDetect::HasNoSeekPenalty("\\\\.\\PhysicalDrive"), EOSError);
    EXPECT_THROW(TDetect::HasNoSeekPenalty("/dev/sda"), EOSError);

    // A partition whose disk sysfs does not list has no drive number.
    tree.Mount("/data", "8:5", "ext4", "/dev/sda5");
    tree.Write("sys/class/block/sda5/dev", "8:5\n");
    tree.Write("sys/class/block/sda5/partition", "5\n");
    EXPECT_TRUE(TDetect::GetPhysicalDriveNumbers("/data").empty());  // a partition of no disk
}
#endif
