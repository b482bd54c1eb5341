#pragma once
// Finding and starting other programs; UTF-8 texts.
#include <string>

namespace platform {

// The file a bare program name ("msiexec.exe") runs, as the system looks for it (on Windows
// SearchPath: the program's folder, the system folders, then PATH; elsewhere PATH); "" when none.
std::string FindProgramOnSearchPath(const std::string& name);

// Starts program with the argument text (as a command line would give it after the program) in
// a normal window, detached: nothing waits for it. False when it could not be started.
bool StartProgram(const std::string& program, const std::string& arguments);

} // namespace platform
