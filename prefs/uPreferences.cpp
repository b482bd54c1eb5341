#include "prefs/uPreferences.h"

#include <memory>
#include <stdexcept>

namespace {
std::unique_ptr<TPreferenceValues> processPreferences;
}

TPreferenceValues& Preferences()
{
    if (!processPreferences)
        throw std::logic_error("preferences used before start-up");
    return *processPreferences;
}

void StartPreferences(const std::vector<std::string>& arguments)
{
    const bool reset = !arguments.empty() && TPreferenceValues::IsResetArgument(arguments.front());
    processPreferences = std::make_unique<TPreferenceValues>(reset);
    processPreferences->Load();
}

void InstallPreferences(std::unique_ptr<TPreferenceValues> values) { processPreferences = std::move(values); }

void StopPreferences()
{
    if (!processPreferences)
        return;
    processPreferences->Save();
    processPreferences.reset();
}
