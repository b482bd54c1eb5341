#pragma once
#include <string>

// Prints the drive-information rows for path (parameter, value, description, tab-separated) or one
// JSON document; returns the process status: 0 with rows, 2 when the drive cannot describe itself.
int RunDriveInfoCommand(const std::string& path, bool json);
