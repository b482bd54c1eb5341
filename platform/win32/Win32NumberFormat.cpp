#include "platform/PlatformNumberFormat.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

namespace platform {

std::string DecimalSeparator()
{
    wchar_t buffer[8] = {};
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8);
    if (length <= 1)
        return ".";
    return Narrow(buffer, length - 1);
}

} // namespace platform
