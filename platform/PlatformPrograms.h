#pragma once
// Finding and starting other programs; UTF-8 texts.
#include <string>

namespace platform {

// The file a bare program name ("msiexec.exe", ".exe" may be left out on Windows) stands for:
// on Windows in the system folders, then on PATH; elsewhere on PATH. Never the current folder.
// "" when there is none.
std::string FindProgramOnSearchPath(const std::string& name);

// Starts program with the argument text (as a command line would give it after the program) in
// a normal window, detached: nothing waits for it. False when it could not be started.
bool StartProgram(const std::string& program, const std::string& arguments);

} // namespace platform
