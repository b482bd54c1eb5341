#include "platform/PlatformFileIdentity.h"

#include <sys/stat.h>

namespace platform {

bool QueryFileIdentity(const std::string& path, FileIdentity& identity)
{
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0)
        return false;
    identity.volume = static_cast<uint64_t>(st.st_dev);
    identity.file = static_cast<uint64_t>(st.st_ino);
    return true;
}

} // namespace platform
