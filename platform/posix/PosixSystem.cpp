#include "platform/PlatformSystem.h"

#include "uVersion.h"

#include <chrono>
#include <climits>
#include <cstdio>
#include <ctime>
#include <random>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace platform {

// Linux has no Windows version record: the version is "unknown" (0).
bool QueryOsVersion(OsVersionRecord&) { return false; }

bool IsSystem64Bit()
{
    utsname name {};
    if (uname(&name) != 0)
        return sizeof(void*) == 8;
    const std::string machine = name.machine;
    return machine == "x86_64" || machine == "aarch64" || machine == "ppc64le" || machine == "s390x" ||
           machine == "riscv64";
}

static bool QueryMemory(MemoryStatus& status)
{
    struct sysinfo info {};
    if (sysinfo(&info) != 0)
        return false;
    const uint64_t unit = info.mem_unit ? info.mem_unit : 1;
    status.totalPhysical = info.totalram * unit;
    status.availablePhysical = (info.freeram + info.bufferram) * unit;
    // MemAvailable is the kernel's own estimate of what a program can still get.
    if (FILE* f = std::fopen("/proc/meminfo", "r")) {
        char line[256];
        unsigned long long kb = 0;
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
                status.availablePhysical = kb * 1024ULL;
                break;
            }
        std::fclose(f);
    }
    status.totalPageFile = status.totalPhysical + info.totalswap * unit;
    status.availablePageFile = status.availablePhysical + info.freeswap * unit;
    status.totalVirtual = sizeof(void*) == 8 ? (1ULL << 47) : (3ULL << 30);
    status.availableVirtual = status.totalVirtual;
    status.memoryLoad = status.totalPhysical
        ? static_cast<uint32_t>(100 - status.availablePhysical * 100 / status.totalPhysical)
        : 0;
    return true;
}

// Linux has no narrower record: the widened one is the full one.
bool QueryMemoryStatus32(MemoryStatus& status) { return QueryMemory(status); }

bool QueryMemoryStatus64(MemoryStatus& status) { return QueryMemory(status); }

std::string ExecutablePath()
{
    char buffer[PATH_MAX + 1] = {};
    ssize_t n = readlink("/proc/self/exe", buffer, PATH_MAX);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

// Native executables carry no version record; the running program is this project's own.
bool QueryFileVersion(const std::string& path, uint16_t parts[4])
{
    if (path.empty() || path != ExecutablePath())
        return false;
    parts[0] = QS_VERSION_MAJOR;
    parts[1] = QS_VERSION_MINOR;
    parts[2] = QS_VERSION_PATCH;
    parts[3] = QS_VERSION_TWEAK;
    return true;
}

std::string NewGuidText()
{
    std::random_device device;
    std::uniform_int_distribution<unsigned> byteValue(0, 255);
    unsigned char bytes[16];
    for (auto& b : bytes)
        b = static_cast<unsigned char>(byteValue(device));
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    char text[39];
    std::snprintf(text, sizeof text,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", bytes[0],
                  bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8], bytes[9],
                  bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    return text;
}

LocalTime LocalNow()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm parts {};
    localtime_r(&seconds, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
            parts.tm_min,         parts.tm_sec,     static_cast<int>(ms)};
}

} // namespace platform

namespace platform {
std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
}
} // namespace platform
