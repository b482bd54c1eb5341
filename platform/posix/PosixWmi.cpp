#include "platform/PlatformWmi.h"

namespace platform {

// There is no management-instrumentation service on Linux.
bool WmiQuery(const std::string&, std::vector<WmiObject>& objects)
{
    objects.clear();
    return false;
}

} // namespace platform
