// The solid-state detection on Windows, each way through it, with the devices stood in for: under
// Wine no disk answers, and a standard user may not open the physical drive.
#ifdef _WIN32
#include "TestSupport.h"
#include "platform/PlatformDevices.h"
#include "platform/PlatformError.h"
#include "platform/win32/Win32DeviceStandIn.h"
#include "support/VelaDetect.h"

#include <gtest/gtest.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstddef>
#include <cstring>
#include <map>

using platform::device_testing::kNameVolume;
using platform::device_testing::kOpenDevice;

namespace {

// How the stood-in disk answers each step: an error code, or what it reports.
struct TDisk {
    std::map<DWORD, DWORD> errors;     // by control code (kOpenDevice for the open)
    bool seekPenalty = true;
    unsigned rotationRate = 0;         // IDENTIFY word 217
    std::string product = "WDC WD10EZEX";
};

class StandIn {
public:
    explicit StandIn(const TDisk& disk) : disk_(disk)
    {
        platform::device_testing::SetStandIn([this](const std::string&, DWORD code, void* out, DWORD outSize,
                                                    DWORD& returned, DWORD& error) {
            return Answer(code, static_cast<unsigned char*>(out), outSize, returned, error);
        });
    }
    ~StandIn() { platform::device_testing::SetStandIn(nullptr); }
    std::vector<DWORD> asked;

private:
    bool Answer(DWORD code, unsigned char* out, DWORD outSize, DWORD& returned, DWORD& error)
    {
        asked.push_back(code);
        if (const auto failed = disk_.errors.find(code); failed != disk_.errors.end()) {
            error = failed->second;
            return true;
        }
        switch (code) {
        case kOpenDevice:
            return true;
        case kNameVolume: {
            const wchar_t name[] = L"\\\\?\\Volume{00000000-0000-0000-0000-000000000001}\\";
            std::memcpy(out, name, std::min<size_t>(sizeof name, outSize));
            return true;
        }
        case IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS: {
            VOLUME_DISK_EXTENTS extents{};
            extents.NumberOfDiskExtents = 1;
            extents.Extents[0].DiskNumber = 0;
            std::memcpy(out, &extents, returned = sizeof extents);
            return true;
        }
        case IOCTL_STORAGE_QUERY_PROPERTY:
            if (outSize == sizeof(DEVICE_SEEK_PENALTY_DESCRIPTOR)) {
                DEVICE_SEEK_PENALTY_DESCRIPTOR penalty{};
                penalty.IncursSeekPenalty = disk_.seekPenalty;
                std::memcpy(out, &penalty, returned = sizeof penalty);
            } else {
                std::memset(out, 0, outSize);
                const uint32_t at = 40;
                std::memcpy(out + platform::kDescriptorProductOffset, &at, sizeof at);
                std::memcpy(out + at, disk_.product.c_str(), disk_.product.size() + 1);
                returned = static_cast<DWORD>(at + disk_.product.size() + 1);
            }
            return true;
        case IOCTL_ATA_PASS_THROUGH: {
            const size_t word = sizeof(ATA_PASS_THROUGH_EX) + 217 * 2;
            out[word] = static_cast<unsigned char>(disk_.rotationRate);
            out[word + 1] = 0;
            returned = outSize;
            return true;
        }
        default:
            error = ERROR_INVALID_FUNCTION;
            return true;
        }
    }
    TDisk disk_;
};

} // namespace

TEST(SolidStateDetection, EachMethodThatCannotBeAskedGivesWayToTheNext)
{
    testing_support::TempDir dir;
    const std::string path = dir.Str();
    // Wine itself: a drive that maps a Unix folder has no volume to name; that decides nothing.
    EXPECT_NO_THROW(EXPECT_FALSE(TDetect::IsSolidStateDrive(path)));
    if (TDetect::GetDriveKind(path) != dkFixed)
        GTEST_SKIP() << "the test folder is not on a fixed drive";

    struct TCase {
        const char* what;
        TDisk disk;
        bool solidState;
    };
    TDisk standardUser;  // rotating by its seek penalty; the physical drive refuses IDENTIFY
    standardUser.errors[IOCTL_ATA_PASS_THROUGH] = ERROR_ACCESS_DENIED;
    TDisk behindUsb = standardUser;
    behindUsb.errors[IOCTL_STORAGE_QUERY_PROPERTY] = ERROR_NOT_SUPPORTED;
    behindUsb.product = "Samsung SSD 860 EVO";
    TDisk ssdByName = standardUser;
    ssdByName.product = "Samsung SSD 860 EVO";
    TDisk noPenalty;
    noPenalty.seekPenalty = false;
    noPenalty.errors[IOCTL_ATA_PASS_THROUGH] = ERROR_ACCESS_DENIED;
    TDisk nonRotating;
    nonRotating.rotationRate = 1;
    TDisk unopenable;
    unopenable.errors[kOpenDevice] = ERROR_ACCESS_DENIED;
    TDisk unnamed;
    unnamed.errors[kNameVolume] = ERROR_NOT_A_REPARSE_POINT;
    const TCase cases[] = {
        {"rotating, IDENTIFY refused, a disk's product name", standardUser, false},
        {"rotating, IDENTIFY refused, SSD in the product name", ssdByName, true},
        {"no property query behind a USB enclosure", behindUsb, false},
        {"no seek penalty", noPenalty, true},
        {"IDENTIFY says non-rotating", nonRotating, true},
        {"the physical drive cannot be opened", unopenable, false},
        {"the volume cannot be named", unnamed, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        StandIn standIn(c.disk);
        EXPECT_NO_THROW(EXPECT_EQ(c.solidState, TDetect::IsSolidStateDrive(path)));
        EXPECT_FALSE(standIn.asked.empty()) << "the stand-in was asked";
    }

    // A device that fails, rather than one that cannot be asked, ends with the system's own text.
    TDisk failing;
    failing.errors[IOCTL_STORAGE_QUERY_PROPERTY] = ERROR_IO_DEVICE;
    StandIn standIn(failing);
    try {
        TDetect::IsSolidStateDrive(path);
        FAIL() << "no error raised";
    } catch (const EOSError& error) {
        EXPECT_EQ(static_cast<int>(ERROR_IO_DEVICE), error.Code());
        EXPECT_EQ(std::string::npos, std::string(error.what()).find("System error")) << error.what();
    }
}
#endif
