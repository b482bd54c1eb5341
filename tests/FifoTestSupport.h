#pragma once
// FIFOs for the tests of readers that must never wait on one, and a watchdog that frees a reader
// that does, so such a regression fails its test instead of hanging the suite.
#ifndef _WIN32
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support {

inline bool MakeFifo(const std::string& path) { return mkfifo(path.c_str(), 0600) == 0; }

// Runs body on a thread of its own; false when it was still running at the deadline. It is then
// released by opening the FIFO's other end and closing it again (its reader sees the end), and
// waited for.
inline bool FinishesWithoutWaitingOn(const std::string& fifo, const std::function<void()>& body,
                                     std::chrono::seconds deadline = std::chrono::seconds(30))
{
    auto running = std::async(std::launch::async, body);
    if (running.wait_for(deadline) == std::future_status::ready) {
        running.get();
        return true;
    }
    while (running.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
    }
    running.get();
    return false;
}

} // namespace testing_support
#endif
