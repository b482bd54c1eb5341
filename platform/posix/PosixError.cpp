#include "platform/PlatformError.h"

#include <cerrno>
#include <cstring>

EOSError::EOSError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}

namespace platform {

std::string SystemErrorMessage(int code)
{
    char buffer[256] = {};
    // GNU strerror_r may return a static string instead of filling the buffer.
    auto result = strerror_r(code, buffer, sizeof buffer);
    if constexpr (std::is_same_v<decltype(result), char*>)
        return result ? result : buffer;
    else
        return buffer;
}

int LastErrorCode() { return errno; }

void RaiseLastOSError(const std::string& context)
{
    const int code = errno;
    throw EOSError(code, context + ": " + SystemErrorMessage(code));
}

} // namespace platform
