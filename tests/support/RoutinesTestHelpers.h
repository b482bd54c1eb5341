#pragma once
// Helpers for the routines' tests: environment variables restored on scope exit, links made the
// Linux way (they show as links under Wine too).
#include "platform/PlatformEnvironment.h"

#include <filesystem>
#include <string>

namespace routines_testing {

class ScopedEnvironment {
public:
    // Sets name to value, or unsets it when unset is true.
    ScopedEnvironment(std::string name, const std::string& value, bool unset = false) : name_(std::move(name))
    {
        had_ = platform::GetEnvironmentValue(name_, old_);
        if (unset)
            platform::UnsetEnvironmentValue(name_);
        else
            platform::SetEnvironmentValue(name_, value);
    }
    static ScopedEnvironment Unset(const std::string& name) { return ScopedEnvironment(name, "", true); }
    ~ScopedEnvironment()
    {
        if (had_)
            platform::SetEnvironmentValue(name_, old_);
        else
            platform::UnsetEnvironmentValue(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_, old_;
    bool had_ = false;
};

inline std::string Sep() { return std::string(1, std::filesystem::path::preferred_separator == L'\\' ? '\\' : '/'); }

} // namespace routines_testing
