#include "platform/PlatformLocale.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

namespace platform {

std::string FormatLocalDateTime(const LocalTime& time)
{
    SYSTEMTIME st {};
    st.wYear = static_cast<WORD>(time.year);
    st.wMonth = static_cast<WORD>(time.month);
    st.wDay = static_cast<WORD>(time.day);
    st.wHour = static_cast<WORD>(time.hour);
    st.wMinute = static_cast<WORD>(time.minute);
    st.wSecond = static_cast<WORD>(time.second);
    st.wMilliseconds = static_cast<WORD>(time.millisecond);
    wchar_t date[128] = {};
    wchar_t clock[128] = {};
    const int dateLength = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128);
    const int timeLength = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, clock, 128);
    std::string text = dateLength > 0 ? Narrow(date) : std::string();
    if (timeLength > 0)
        text += (text.empty() ? "" : " ") + Narrow(clock);
    return text;
}

} // namespace platform
