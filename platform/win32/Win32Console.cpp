#include "platform/PlatformConsole.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace platform {

namespace {

std::atomic<int> interrupts{0};

BOOL WINAPI OnConsoleControl(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    // The second key press falls through to the default handler, which ends the process.
    return interrupts.fetch_add(1) == 0 ? TRUE : FALSE;
}

HANDLE Handle(ConsoleStream stream)
{
    switch (stream) {
    case ConsoleStream::Input: return GetStdHandle(STD_INPUT_HANDLE);
    case ConsoleStream::Output: return GetStdHandle(STD_OUTPUT_HANDLE);
    default: return GetStdHandle(STD_ERROR_HANDLE);
    }
}

} // namespace

bool IsTerminal(ConsoleStream stream)
{
    const HANDLE handle = Handle(stream);
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_CHAR &&
           GetConsoleMode(handle, &mode);
}

void WriteConsoleText(ConsoleStream stream, const std::string& text)
{
    FILE* file = stream == ConsoleStream::Error ? stderr : stdout;
    if (IsTerminal(stream)) {
        std::fflush(file);
        const std::wstring wide = Widen(text);
        DWORD written = 0;
        WriteConsoleW(Handle(stream), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
}

int TerminalColumns()
{
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
    return 80;
}

void InstallInterruptHandler()
{
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool InterruptRequested()
{
    return interrupts.load() > 0;
}

bool ReadInputLine(std::string& line)
{
    line.clear();
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (IsTerminal(ConsoleStream::Input)) {
        wchar_t buffer[256];
        std::wstring wide;
        for (;;) {
            DWORD got = 0;
            if (!ReadConsoleW(input, buffer, 256, &got, nullptr) || got == 0 || InterruptRequested())
                return false;
            wide.append(buffer, got);
            if (wide.find(L'\n') != std::wstring::npos)
                break;
        }
        wide = wide.substr(0, wide.find(L'\n'));
        line = Narrow(wide);
    } else {
        for (;;) {
            char c = 0;
            DWORD got = 0;
            if (!ReadFile(input, &c, 1, &got, nullptr) || got == 0)
                return false;
            if (c == '\n')
                break;
            line += c;
        }
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace platform
