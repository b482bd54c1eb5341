#include "platform/PlatformError.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

EOSError::EOSError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}

namespace platform {

std::string SystemErrorMessage(int code)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(&buffer), 0,
                                   nullptr);
    std::string text = n ? Narrow(buffer, static_cast<int>(n)) : std::string();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    if (text.empty())
        text = "System error " + std::to_string(code);
    return text;
}

int LastErrorCode() { return static_cast<int>(GetLastError()); }

void RaiseLastOSError(const std::string& context)
{
    const int code = static_cast<int>(GetLastError());
    throw EOSError(code, context + ": " + SystemErrorMessage(code));
}

} // namespace platform
