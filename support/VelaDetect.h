#pragma once
#include "platform/PlatformSystem.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Windows versions as the program numbers them; not in release order.
enum TWindowsVersion : int {
    wvUnknown = 0, wv95 = 1, wv95OSR2 = 2, wv98 = 3, wv98SE = 4, wvNT = 5, wvMe = 6, wv2000 = 7, wvXP = 8,
    wvVista = 9, wvServer2003 = 10, wv7 = 11, wv8 = 12, wv81 = 13, wv10 = 14
};

enum TArchitecture : int { arUnknown = 0, ar32 = 1, ar64 = 2 };

// The platform's drive types.
enum TDriveKind : int {
    dkUnknown = 0, dkInvalidRootPath = 1, dkRemovable = 2, dkFixed = 3, dkRemote = 4, dkOptical = 5, dkRAM = 6
};

// Disk numbers of a volume's extents, each cut to 8 bits.
using TPhysicalDriveNumbers = std::vector<uint8_t>;

class TDetect {
public:
    // Cached once known; 0 on Linux and whenever the version query fails.
    static int GetWindowsVersion();
    // The version-record rules alone, before the WMI refinement.
    static int ClassifyWindowsVersion(const platform::OsVersionRecord& record);
    // 6.2 may hide 8.1 or 10 from programs without a newer compatibility declaration.
    static int RefineWindowsVersion(int value, int wmiMajor, int wmiMinor);
    static std::string GetWindowsVersionText();

    static int GetArchitecture();
    static int GetProgramArchitecture();
    // Machine type of a PE file: 1 for i386, 2 for x64, 0 otherwise. Raises EOSError when unreadable.
    static int GetFileArchitecture(const std::string& path);

    static platform::MemoryStatus GetMemoryStatus();
    static int64_t GetTotalMemoryKo();
    static int64_t GetAvailableMemoryKo();

    static std::string GetProgramVersion();
    // The commit the program was built from ("-dirty" when built with uncommitted changes), or
    // "unknown".
    static std::string GetSourceRevision();
    // "%d.%d.%d.%d" from the file's version record, empty without one.
    static std::string GetFileVersion(const std::string& path);

    static bool HasDrivePrefix(const std::string& path);
    // Write probe: true when a new file cannot be created in the directory.
    static bool IsDirectoryReadOnly(const std::string& directory);

    // Drives. "Before XP" means Windows 95 to 2000, and on Windows also a version the table does
    // not name (counted older than all it names); the drive routines then give no answers.
    static bool IsBeforeXP(int version);
    // The root of a path's volume: the drive root on Windows, the mount point elsewhere; "" when unknown.
    static std::string GetDriveRoot(const std::string& path);
    static int GetDriveKind(const std::string& path);
    // what: 0 label, 1 serial number (unsigned decimal), 2 file system.
    static std::string GetVolumeInfo(const std::string& path, int what);
    // Bytes of the path's drive; -1 when the drive is invalid.
    static int64_t GetDiskSize(const std::string& path);
    static int64_t GetDiskFree(const std::string& path);
    static std::string GetDiskSizeText(const std::string& path);
    static std::string GetDiskFreeText(const std::string& path);
    // Empty unless the path lies on a fixed drive. The device queries below raise EOSError.
    static TPhysicalDriveNumbers GetPhysicalDriveNumbers(const std::string& path);
    static std::string GetDeviceProductId(const std::string& device);
    static bool HasNoSeekPenalty(const std::string& device);
    static bool IsNonRotatingAta(const std::string& device);
    static bool IsSsdProductId(const std::string& device);
    static bool IsSolidStateDrive(const std::string& path);
    // The zero-terminated text a storage descriptor names at the offset stored in field; false when
    // it names none or points outside the length the device returned.
    static bool DescriptorText(const unsigned char* descriptor, size_t length, size_t field, std::string& text);
};

class TConvert {
public:
    static std::string WindowsName(int version);
    static std::string ArchitectureName(int architecture);
    // \\.\PhysicalDrive<n> of the first number, "" for none.
    static std::string PhysicalDrivePath(const TPhysicalDriveNumbers& numbers);
    static std::string DriveKindName(int kind);
};
