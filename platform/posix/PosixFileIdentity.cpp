#include "platform/PlatformFileIdentity.h"

#include <sys/stat.h>
#include <unistd.h>

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

bool OwnedByCurrentUser(const std::string& path)
{
    struct stat st {};
    if (path.empty() || lstat(path.c_str(), &st) != 0 || st.st_uid != geteuid())
        return false;
    // Our own link into another user's folder would otherwise lead into it.
    if (S_ISLNK(st.st_mode) && stat(path.c_str(), &st) == 0 && st.st_uid != geteuid())
        return false;
    return true;
}

} // namespace platform
