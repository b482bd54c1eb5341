#include "platform/PlatformHeldDirectory.h"

#include <utility>

namespace platform {

DirectoryHandle::~DirectoryHandle()
{
    if (handle_ != -1)
        CloseNative(handle_);
}

DirectoryHandle::DirectoryHandle(DirectoryHandle&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), identity_(other.identity_), originalMode_(other.originalMode_),
      modeChanged_(std::exchange(other.modeChanged_, false)), finalPath_(std::move(other.finalPath_))
{
}

DirectoryHandle& DirectoryHandle::operator=(DirectoryHandle&& other) noexcept
{
    if (this != &other) {
        if (handle_ != -1)
            CloseNative(handle_);
        handle_ = std::exchange(other.handle_, -1);
        identity_ = other.identity_;
        originalMode_ = other.originalMode_;
        modeChanged_ = std::exchange(other.modeChanged_, false);
        finalPath_ = std::move(other.finalPath_);
    }
    return *this;
}

} // namespace platform
