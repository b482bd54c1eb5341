#pragma once
// Programs started for the user and never waited for.
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace platform {

// Starts program (looked up on PATH when searchPath) with argv, no shell involved; the child is
// reaped when it ends, so that it never lingers as a zombie. False when it could not start.
inline bool SpawnDetached(const char* program, char* const argv[], bool searchPath)
{
    pid_t pid = 0;
    const int failed = searchPath ? posix_spawnp(&pid, program, nullptr, nullptr, argv, environ)
                                  : posix_spawn(&pid, program, nullptr, nullptr, argv, environ);
    if (failed != 0)
        return false;
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

} // namespace platform
