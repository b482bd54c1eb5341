#include "platform/PlatformConsole.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int)
{
    interrupted = 1;
}

int Descriptor(ConsoleStream stream)
{
    switch (stream) {
    case ConsoleStream::Input: return STDIN_FILENO;
    case ConsoleStream::Output: return STDOUT_FILENO;
    default: return STDERR_FILENO;
    }
}

} // namespace

bool IsTerminal(ConsoleStream stream)
{
    return isatty(Descriptor(stream)) == 1;
}

void WriteConsoleText(ConsoleStream stream, const std::string& text)
{
    FILE* file = stream == ConsoleStream::Error ? stderr : stdout;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
}

int TerminalColumns()
{
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

void InstallInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for an answer returns, so the question ends with the key.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool InterruptRequested()
{
    return interrupted != 0;
}

bool ReadInputLine(std::string& line)
{
    line.clear();
    for (;;) {
        // An interrupt that lands just before the read would not end it: the wait looks at the flag.
        pollfd input{STDIN_FILENO, POLLIN, 0};
        while (!interrupted && poll(&input, 1, 100) == 0) {
        }
        if (interrupted)
            return false;
        char c = 0;
        const ssize_t got = read(STDIN_FILENO, &c, 1);
        if (got == 1) {
            if (c == '\n')
                break;
            line += c;
            continue;
        }
        if (got < 0 && errno == EINTR && !interrupted)
            continue;
        return false;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace platform
