#pragma once
// Number formatting facts of the user's locale; UTF-8 text.
#include <string>

namespace platform {

// The user's decimal separator ("." when the system gives none).
std::string DecimalSeparator();

} // namespace platform
