// Descriptor texts, names, and what the real system (or Wine) answers.
#include "platform/PlatformDevices.h"
#include "platform/PlatformError.h"
#include "support/VelaDetect.h"
#include "support/VelaDriveInfo.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void PutOffset(unsigned char* descriptor, size_t field, uint32_t offset)
{
    for (int i = 0; i < 4; ++i)
        descriptor[field + i] = static_cast<unsigned char>(offset >> (8 * i));
}

} // namespace

TEST(DriveInfo, DescriptorTextsStayInsideTheReturnedBytes)
{
    unsigned char d[platform::kDeviceDescriptorSize] = {};
    std::memcpy(d + 40, "ACME\0Disk", 10);
    PutOffset(d, platform::kDescriptorVendorOffset, 40);
    PutOffset(d, platform::kDescriptorProductOffset, 45);
    PutOffset(d, platform::kDescriptorRevisionOffset, 0xFFFFFFFF);
    PutOffset(d, platform::kDescriptorSerialOffset, 0);
    std::string text;
    EXPECT_TRUE(TDetect::DescriptorText(d, 60, platform::kDescriptorVendorOffset, text));
    EXPECT_EQ("ACME", text);
    EXPECT_TRUE(TDetect::DescriptorText(d, 60, platform::kDescriptorProductOffset, text));
    EXPECT_EQ("Disk", text);
    EXPECT_FALSE(TDetect::DescriptorText(d, 60, platform::kDescriptorRevisionOffset, text));
    EXPECT_FALSE(TDetect::DescriptorText(d, 60, platform::kDescriptorSerialOffset, text));
    // A text cut off by the end of what the device returned ends there.
    EXPECT_TRUE(TDetect::DescriptorText(d, 47, platform::kDescriptorProductOffset, text));
    EXPECT_EQ("Di", text);
    EXPECT_FALSE(TDetect::DescriptorText(d, 45, platform::kDescriptorProductOffset, text));
    EXPECT_FALSE(TDetect::DescriptorText(d, 14, platform::kDescriptorVendorOffset, text));
    // A full buffer without a terminator ends at its last byte.
    std::memset(d + 40, 'x', platform::kDeviceDescriptorSize - 40);
    EXPECT_TRUE(TDetect::DescriptorText(d, 9999, platform::kDescriptorVendorOffset, text));
    EXPECT_EQ(platform::kDeviceDescriptorSize - 40, text.size());
}

TEST(DriveInfo, Names)
{
    EXPECT_EQ("", TConvert::PhysicalDrivePath({}));
    EXPECT_EQ("\\\\.\\PhysicalDrive3", TConvert::PhysicalDrivePath({3, 1}));
    EXPECT_EQ("\\\\.\\PhysicalDrive255", TConvert::PhysicalDrivePath({255}));
    EXPECT_EQ("Invalid Root Path", TConvert::DriveKindName(1));
    EXPECT_EQ("RAM", TConvert::DriveKindName(6));
    EXPECT_EQ("Unknown", TConvert::DriveKindName(7));
    EXPECT_EQ("Unknown", TConvert::DriveKindName(-1));
}

#ifdef _WIN32
// Wine answers the volume queries but lists no disk extents and refuses storage queries; whatever
// the system says must come back as a value or an EOSError, never a crash.
TEST(DriveInfo, SystemDriveAnswersOrRaises)
{
    const std::string root = "C:\\";
    EXPECT_EQ(dkFixed, TDetect::GetDriveKind(root));
    EXPECT_EQ(dkFixed, TDetect::GetDriveKind("C:\\windows\\system32"));
    EXPECT_FALSE(TDetect::GetVolumeInfo(root, 2).empty());
    EXPECT_GT(TDetect::GetDiskSize("c:\\windows"), 0);
    EXPECT_GE(TDetect::GetDiskFree(root), 0);
    EXPECT_EQ(-1, TDetect::GetDiskSize("\\\\server\\share"));
    EXPECT_EQ(dkInvalidRootPath, TDetect::GetDriveKind("Q:\\nothing"));

    try {
        const TPhysicalDriveNumbers numbers = TDetect::GetPhysicalDriveNumbers("C:\\windows");
        const auto info = TDriveInfoAccess::CreateDriveInfo("C:\\windows");
        EXPECT_EQ("C:\\", info->GetRootPath());
        EXPECT_EQ(numbers.empty() ? "N/A" : std::to_string(numbers[0]), info->GetPhysicalDrive());
        const std::string capacity = info->GetDiskCapacity();  // never raises
        if (numbers.empty()) {
            EXPECT_FALSE(info->GetDescriptorValid());
            EXPECT_EQ("N/A", info->GetVendor());
            EXPECT_TRUE(capacity.empty() || capacity == "N/A" || capacity == "Internal Error") << capacity;
        }
    } catch (const EOSError& error) {
        EXPECT_NE(0, error.Code());
    }
    for (const char* device : {"\\\\.\\PhysicalDrive0", "\\\\.\\PhysicalDrive99"}) {
        SCOPED_TRACE(device);
        try {
            TDetect::HasNoSeekPenalty(device);
        } catch (const EOSError& error) {
            EXPECT_NE(0, error.Code());
        }
        try {
            TDetect::IsNonRotatingAta(device);
        } catch (const EOSError& error) {
            EXPECT_NE(0, error.Code());
        }
        try {
            TDetect::GetDeviceProductId(device);
        } catch (const EOSError& error) {
            EXPECT_NE(0, error.Code());
        }
    }
    EXPECT_THROW(TDetect::GetDeviceProductId("\\\\.\\PhysicalDrive99"), EOSError);
}
#endif
