#include "app/uCycleSetup.h"
#include "cli/CliCommands.h"
#include "engine/uEngineConstants.h"
#include "prefs/uPreferences.h"

int RunOptionsCommand(const TCliRequest& request)
{
    TPreferenceValues defaults(false);
    defaults.SetDefaults();
    const auto options = TCliSession::CreateOptions(defaults);
    TCliTerminal terminal(false);
    for (int i = 0; i < CleanupOptionCount; ++i) {
        const auto option = options->GetOption(i);
        terminal.Out(std::to_string(i) + "\t" + TCycleSetup::SafetyWord(option->GetSafety()) + "\t" +
                     (option->GetExcludedFromDefault() ? "-" : "default") + "\t" +
                     (option->GetAvailable() ? "available" : "unavailable") + "\t" + option->GetName());
    }
    return kExitDone;
}
