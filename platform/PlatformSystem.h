#pragma once
// Operating-system facts: version record, memory, executables, GUIDs, local time.
#include <cstdint>
#include <string>

namespace platform {

struct OsVersionRecord {
    int platformId = 0;  // 1 = 9x, 2 = NT
    int major = 0;
    int minor = 0;
    int build = 0;
    std::string servicePack;
};

// The system version record; false when the query fails or the system has none.
bool QueryOsVersion(OsVersionRecord& record);

// True when the system itself is 64-bit (a 32-bit process under the 64-bit layer, or a 64-bit kernel).
bool IsSystem64Bit();

struct MemoryStatus {
    uint32_t memoryLoad = 0;
    uint64_t totalPhysical = 0;
    uint64_t availablePhysical = 0;
    uint64_t totalPageFile = 0;
    uint64_t availablePageFile = 0;
    uint64_t totalVirtual = 0;
    uint64_t availableVirtual = 0;
};

// The 32-bit memory record widened, and the 64-bit one; false when unavailable.
bool QueryMemoryStatus32(MemoryStatus& status);
bool QueryMemoryStatus64(MemoryStatus& status);

// Full path of the running executable.
std::string ExecutablePath();

// The file's four version numbers from its version record; false when it has none.
bool QueryFileVersion(const std::string& path, uint16_t parts[4]);

// A new GUID in braced upper-case text form: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
std::string NewGuidText();

struct LocalTime {
    int year, month, day, hour, minute, second, millisecond;
};
LocalTime LocalNow();

} // namespace platform

#include <vector>
namespace platform {
// The command-line arguments without the program name, as UTF-8 (Windows reads the wide command line).
std::vector<std::string> CommandLineArguments(int argc, char** argv);
} // namespace platform
