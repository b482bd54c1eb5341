#pragma once
// What the listings and the held folders both ask of a name and of an opened object.
#include "platform/PlatformFileIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <string>

namespace platform {

// One entry of a folder: never a step up, across or down.
inline bool IsChildName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// Whether the object roots a mount (a bind mount shares its device, so the kernel's mark is asked).
inline bool RootsMount(const struct statx& sx)
{
    return (sx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) && (sx.stx_attributes & STATX_ATTR_MOUNT_ROOT);
}

inline FileIdentity IdentityOf(const struct statx& sx)
{
    return {static_cast<uint64_t>(makedev(sx.stx_dev_major, sx.stx_dev_minor)), static_cast<uint64_t>(sx.stx_ino)};
}

// The last write in nanoseconds since 1970, as HeldEntry keeps it.
inline int64_t ModifiedOf(const struct statx& sx)
{
    return static_cast<int64_t>(sx.stx_mtime.tv_sec) * 1000000000 + sx.stx_mtime.tv_nsec;
}

} // namespace platform
