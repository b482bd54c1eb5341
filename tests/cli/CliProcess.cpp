#include "CliProcess.h"

#include "platform/PlatformSystem.h"

#ifdef _WIN32
#include "platform/win32/Win32Text.h"

#include <thread>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace cli_testing {

namespace {

// Windows' console programs end their lines with "\r\n"; the tests compare plain lines.
void PlainLineEnds(TToolRun& run)
{
    for (std::string* text : {&run.out, &run.err}) {
        std::string plain;
        for (size_t i = 0; i < text->size(); ++i)
            if (!((*text)[i] == '\r' && i + 1 < text->size() && (*text)[i + 1] == '\n'))
                plain += (*text)[i];
        *text = plain;
    }
}

} // namespace

std::string ToolPath()
{
    const std::string self = platform::ExecutablePath();
    return self.substr(0, self.find_last_of("/\\") + 1) + "../cli/" QS_CLI_EXE;
}

#ifdef _WIN32

namespace {

std::wstring Quote(const std::string& argument)
{
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : platform::Widen(argument)) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

void Drain(HANDLE pipe, std::string& text)
{
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
}

} // namespace

TToolRun RunTool(const std::vector<std::string>& arguments, const std::string& tool)
{
    TToolRun run;
    std::wstring commandLine = Quote(tool);
    for (const std::string& argument : arguments)
        commandLine += L" " + Quote(argument);
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                               nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    CloseHandle(input);
    if (started) {
        std::thread errReader([&] { Drain(errRead, run.err); });
        Drain(outRead, run.out);
        errReader.join();
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        run.status = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    PlainLineEnds(run);
    return run;
}

#else

namespace {

struct TChild {
    pid_t pid = -1;
    int out = -1;
    int err = -1;
};

TChild Spawn(const std::vector<std::string>& arguments, const std::string& tool)
{
    TChild child;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        return child;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    std::vector<std::string> all{tool};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawn(&child.pid, tool.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    child.out = outPipe[0];
    child.err = errPipe[0];
    return child;
}

// Reads both pipes until both end, or (with stopAtLine) until out holds a whole line.
void Collect(TChild& child, TToolRun& run, bool stopAtLine)
{
    pollfd fds[2] = {{child.out, POLLIN, 0}, {child.err, POLLIN, 0}};
    std::string* texts[2] = {&run.out, &run.err};
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        if (stopAtLine && run.out.find('\n') != std::string::npos)
            return;
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                texts[i]->append(buffer, static_cast<size_t>(got));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
            }
        }
    }
}

void Finish(TChild& child, TToolRun& run)
{
    Collect(child, run, false);
    int status = 0;
    if (child.pid > 0 && waitpid(child.pid, &status, 0) == child.pid)
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

TToolRun RunTool(const std::vector<std::string>& arguments, const std::string& tool)
{
    TToolRun run;
    TChild child = Spawn(arguments, tool);
    Finish(child, run);
    PlainLineEnds(run);
    return run;
}

TToolRun RunToolInterruptedAfterFirstLine(const std::vector<std::string>& arguments)
{
    TToolRun run;
    TChild child = Spawn(arguments, ToolPath());
    Collect(child, run, true);
    if (child.pid > 0)
        kill(child.pid, SIGINT);
    Finish(child, run);
    PlainLineEnds(run);
    return run;
}

namespace {

TToolRun OnTerminal(const std::vector<std::string>& arguments, const std::string& typed, const std::string& prompt)
{
    TToolRun run;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return run;
    const std::string slaveName = ptsname(master);
    std::vector<std::string> all{ToolPath()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        setsid();
        const int slave = open(slaveName.c_str(), O_RDWR);
        dup2(slave, 0);
        dup2(slave, 1);
        dup2(slave, 2);
        close(master);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (write(master, typed.data(), typed.size()) < 0)
        return run;
    bool interrupted = prompt.empty();
    char buffer[4096];
    for (ssize_t got; (got = read(master, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR);) {
        if (got > 0)
            run.out.append(buffer, static_cast<size_t>(got));
        // The terminal turns the key into SIGINT for the tool, as a user's Ctrl-C.
        if (!interrupted && run.out.find(prompt) != std::string::npos)
            interrupted = write(master, "\x03", 1) == 1;
    }
    close(master);
    int status = 0;
    if (waitpid(pid, &status, 0) == pid)
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    PlainLineEnds(run);
    return run;
}

} // namespace

TToolRun RunToolOnTerminal(const std::vector<std::string>& arguments, const std::string& typed)
{
    return OnTerminal(arguments, typed, "");
}

TToolRun RunToolOnTerminalInterruptedAt(const std::vector<std::string>& arguments, const std::string& prompt)
{
    return OnTerminal(arguments, "", prompt);
}

#endif

} // namespace cli_testing
