#include "support/VelaDetect.h"

#include "platform/PlatformError.h"
#include "platform/PlatformFiles.h"
#include "support/VelaWMIRoutines.h"
#include "uRevision.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {
const int kPlatform9x = 1;
const int kPlatformNT = 2;
std::atomic<int> cachedWindowsVersion {-1};
} // namespace

int TDetect::ClassifyWindowsVersion(const platform::OsVersionRecord& r)
{
    const char spLetter = r.servicePack.size() > 1 ? r.servicePack[1] : '\0';
    if (r.platformId == kPlatform9x && r.major == 4) {
        if (r.minor == 0)
            return spLetter == 'B' ? wv95OSR2 : wv95;
        if (r.minor == 10)
            return spLetter == 'A' ? wv98SE : wv98;
        if (r.minor == 90)
            return wvMe;
    }
    if (r.platformId == kPlatformNT) {
        if (r.major <= 4)
            return wvNT;
        if (r.major == 5 && r.minor == 0)
            return wv2000;
        if (r.major == 5 && r.minor == 1)
            return wvXP;
        if (r.major == 5 && r.minor == 2)
            return wvServer2003;
        if (r.major == 6 && r.minor == 0)
            return wvVista;
        if (r.major == 6 && r.minor == 1)
            return wv7;
        if (r.major == 6 && r.minor == 2)
            return wv8;
    }
    return wvUnknown;
}

int TDetect::RefineWindowsVersion(int value, int wmiMajor, int wmiMinor)
{
    if (value < wv8)
        return value;
    if (wmiMajor == 6 && wmiMinor == 3)
        return wv81;
    if (wmiMajor == 10 && wmiMinor == 0)
        return wv10;
    return value;
}

int TDetect::GetWindowsVersion()
{
    const int cached = cachedWindowsVersion.load();
    if (cached >= 0)
        return cached;
    platform::OsVersionRecord record;
    if (!platform::QueryOsVersion(record))
        return wvUnknown;
    int value = ClassifyWindowsVersion(record);
    if (value >= wv8) {
        int major = 0, minor = 0, build = 0;
        try {
            // A broken management service must not stop the program: the value stays uncached.
            if (!TWMIRoutines::GetWmiWindowsVersion(major, minor, build))
                return value;
        } catch (const EOSError&) {
            return value;
        }
        value = RefineWindowsVersion(value, major, minor);
    }
    cachedWindowsVersion.store(value);
    return value;
}

std::string TDetect::GetWindowsVersionText()
{
    char text[256];
    if (GetWindowsVersion() >= wv8) {
        int major = 0, minor = 0, build = 0;
        try {
            if (!TWMIRoutines::GetWmiWindowsVersion(major, minor, build))
                return {};
        } catch (const EOSError&) {
            return {};
        }
        std::snprintf(text, sizeof text, "%d.%d.%d", major, minor, build);
        return text;
    }
    platform::OsVersionRecord r;
    if (!platform::QueryOsVersion(r))
        return {};
    if (r.platformId == kPlatform9x || r.platformId == kPlatformNT) {
        const int build = r.platformId == kPlatform9x ? (r.build & 0xFFFF) : r.build;
        std::snprintf(text, sizeof text, "%d.%d.%d", r.major, r.minor, build);
        std::string result = text;
        if (!r.servicePack.empty())
            result += " " + r.servicePack;
        return result;
    }
    std::snprintf(text, sizeof text, "%d.%d", r.major, r.minor);
    return text;
}

int TDetect::GetArchitecture() { return platform::IsSystem64Bit() ? ar64 : ar32; }

int TDetect::GetProgramArchitecture() { return GetFileArchitecture(platform::ExecutablePath()); }

int TDetect::GetFileArchitecture(const std::string& path)
{
    platform::FileHandle file(path, platform::FileAccess::ReadShared);
    if (!file.IsOpen())
        throw EOSError(file.ErrorCode(), "Cannot open file \"" + path + "\": " + platform::SystemErrorMessage(file.ErrorCode()));
    unsigned char dos[64];
    const int64_t got = file.Read(dos, sizeof dos);
    if (got < 0)
        throw EOSError(file.ErrorCode(), "Cannot read file \"" + path + "\": " + platform::SystemErrorMessage(file.ErrorCode()));
    // Too short to be an executable is simply not one.
    if (got < static_cast<int64_t>(sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
        return arUnknown;
    const uint32_t offset = dos[60] | dos[61] << 8 | dos[62] << 16 | static_cast<uint32_t>(dos[63]) << 24;
    if (offset == 0 || !file.Seek(offset))
        return arUnknown;
    unsigned char nt[248];
    if (file.Read(nt, sizeof nt) != static_cast<int64_t>(sizeof nt) || nt[0] != 'P' || nt[1] != 'E')
        return arUnknown;
    const unsigned machine = nt[4] | nt[5] << 8;
    if (machine == 0x14C)
        return ar32;
    if (machine == 0x8664)
        return ar64;
    return arUnknown;
}

platform::MemoryStatus TDetect::GetMemoryStatus()
{
    platform::MemoryStatus status;
    const int version = GetWindowsVersion();
    const bool only32BitRecord = version == wvUnknown || version == wv95 || (version >= wv98 && version <= wvMe);
    const bool ok = only32BitRecord ? platform::QueryMemoryStatus32(status) : platform::QueryMemoryStatus64(status);
    return ok ? status : platform::MemoryStatus {};
}

int64_t TDetect::GetTotalMemoryKo() { return static_cast<int64_t>(GetMemoryStatus().totalPhysical / 1024); }

int64_t TDetect::GetAvailableMemoryKo() { return static_cast<int64_t>(GetMemoryStatus().availablePhysical / 1024); }

std::string TDetect::GetProgramVersion() { return GetFileVersion(platform::ExecutablePath()); }

std::string TDetect::GetSourceRevision() { return QS_SOURCE_REVISION; }

std::string TDetect::GetFileVersion(const std::string& path)
{
    uint16_t parts[4] = {};
    if (!platform::QueryFileVersion(path, parts))
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", parts[0], parts[1], parts[2], parts[3]);
    return text;
}

bool TDetect::HasDrivePrefix(const std::string& path) { return path.find(":\\") != std::string::npos; }

bool TDetect::IsDirectoryReadOnly(const std::string& directory)
{
    const std::string guid = platform::NewGuidText();
    if (guid.empty())
        return true;
    std::string probe = directory;
    if (probe.empty() || probe.back() != platform::PathSeparator())
        probe += platform::PathSeparator();
    probe += guid;
    if (!platform::CreateNewEmptyFile(probe))
        return true;
    platform::DeleteFileAt(probe);
    return false;
}

std::string TConvert::WindowsName(int version)
{
    static const char* const names[] = {"Unknown", "95", "95 OSR2", "98", "98 SE", "NT", "Me", "2000",
                                        "XP", "Vista", "Server 2003", "7", "8", "8.1", "10"};
    const int index = version >= 0 && version <= wv10 ? version : wvUnknown;
    return std::string("Microsoft Windows ") + names[index];
}

std::string TConvert::ArchitectureName(int architecture)
{
    switch (architecture) {
    case ar32: return "32-bit (x86)";
    case ar64: return "64-bit (x64)";
    default: return "Unknown";
    }
}
