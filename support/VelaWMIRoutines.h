#pragma once
#include "platform/PlatformWmi.h"

#include <string>
#include <vector>

class TWMIRoutines {
public:
    // WQL query in root\CIMV2; false when no result set could be had. Automation errors raise EOSError.
    static bool ExecQuery(const std::string& query, std::vector<platform::WmiObject>& objects);

    // "SELECT Version FROM Win32_OperatingSystem", split into major.minor.build.
    static bool GetWmiWindowsVersion(int& major, int& minor, int& build);

    // Splits a dotted version text; each part is the number its decimal digits form (0 without digits).
    static bool ParseVersionText(const std::string& text, int& major, int& minor, int& build);
};
