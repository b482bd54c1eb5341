#pragma once
#include "platform/PlatformSystem.h"

#include <cstdint>
#include <string>

// Windows versions as the program numbers them; not in release order.
enum TWindowsVersion : int {
    wvUnknown = 0, wv95 = 1, wv95OSR2 = 2, wv98 = 3, wv98SE = 4, wvNT = 5, wvMe = 6, wv2000 = 7, wvXP = 8,
    wvVista = 9, wvServer2003 = 10, wv7 = 11, wv8 = 12, wv81 = 13, wv10 = 14
};

enum TArchitecture : int { arUnknown = 0, ar32 = 1, ar64 = 2 };

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
    // "%d.%d.%d.%d" from the file's version record, empty without one.
    static std::string GetFileVersion(const std::string& path);

    static bool HasDrivePrefix(const std::string& path);
    // Write probe: true when a new file cannot be created in the directory.
    static bool IsDirectoryReadOnly(const std::string& directory);
};

class TConvert {
public:
    static std::string WindowsName(int version);
    static std::string ArchitectureName(int architecture);
};
