#include "platform/PlatformNumberFormat.h"

#include <langinfo.h>
#include <locale.h>

namespace platform {

std::string DecimalSeparator()
{
    // The user's locale from the environment, through a private locale object: changing the
    // process locale would race with other threads.
    locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (!locale)
        return ".";
    const char* radix = nl_langinfo_l(RADIXCHAR, locale);
    std::string separator = radix && *radix ? radix : ".";
    freelocale(locale);
    return separator;
}

} // namespace platform
