#pragma once
// An operating-system failure that a routine must raise: the system's error code and its text.
#include <stdexcept>
#include <string>

class EOSError : public std::runtime_error {
public:
    EOSError(int code, const std::string& message);
    int Code() const { return code_; }

private:
    int code_;
};

namespace platform {

// The system's own text for an error code (GetLastError / errno values).
std::string SystemErrorMessage(int code);

// The calling thread's last system error code.
int LastErrorCode();

// Raises EOSError for the last system error, prefixed with what was being done.
[[noreturn]] void RaiseLastOSError(const std::string& context);

} // namespace platform
