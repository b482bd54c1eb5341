#include "platform/PlatformRecycle.h"

#include <cstring>

namespace platform {

std::string TrashInfoPath(const std::string& path)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string text;
    for (const char ch : path) {
        const auto byte = static_cast<unsigned char>(ch);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
            std::strchr("-_.~/", byte) != nullptr)
            text += ch;
        else {
            text += '%';
            text += kHex[byte >> 4];
            text += kHex[byte & 15];
        }
    }
    return text;
}

} // namespace platform
