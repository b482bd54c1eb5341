#pragma once
// Texts in the user's own regional formats.
#include "platform/PlatformSystem.h"

#include <string>

namespace platform {

// Date and time in the user's short-date and long-time formats, one blank between them.
std::string FormatLocalDateTime(const LocalTime& time);

} // namespace platform
