#include "platform/PlatformLocale.h"

#include <ctime>
#include <locale.h>

namespace platform {

std::string FormatLocalDateTime(const LocalTime& time)
{
    std::tm parts {};
    parts.tm_year = time.year - 1900;
    parts.tm_mon = time.month - 1;
    parts.tm_mday = time.day;
    parts.tm_hour = time.hour;
    parts.tm_min = time.minute;
    parts.tm_sec = time.second;
    parts.tm_isdst = -1;
    std::tm normalised = parts;
    if (std::mktime(&normalised) != static_cast<std::time_t>(-1))
        parts.tm_wday = normalised.tm_wday, parts.tm_yday = normalised.tm_yday;
    // A private locale object: setting the process locale would race with other threads.
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (!locale)
        locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    char text[128] = {};
    const size_t length = locale ? strftime_l(text, sizeof text, "%x %X", &parts, locale) : 0;
    if (locale)
        freelocale(locale);
    return std::string(text, length);
}

} // namespace platform
