#pragma once
#include <cstdio>
#include <string>

// Prints the drive-information rows for path (parameter, value, description, tab-separated);
// returns the process status: 0 with rows, 2 when the drive cannot describe itself.
int RunDriveInfoCommand(const std::string& path, FILE* out, FILE* err);
