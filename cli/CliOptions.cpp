#include "app/uCycleSetup.h"
#include "cli/CliCommands.h"
#include "cli/CliReach.h"
#include "engine/uEngineConstants.h"
#include "prefs/uPreferences.h"

std::string SystemFoldersNote(int option)
{
    if (!cli_reach::SearchesSystemFolders(option))
        return {};
    const std::vector<std::string> places = cli_reach::SystemPlaces(option);
    return places.empty() ? " (system folders)" : " (system folders: " + cli_reach::JoinNames(places) + ")";
}

int RunOptionsCommand(const TCliRequest& request)
{
    TPreferenceValues defaults(false);
    defaults.SetDefaults();
    const auto options = TCliSession::CreateOptions(defaults);
    TCliTerminal terminal(false);
    auto document = nlohmann::ordered_json::array();
    for (int i = 0; i < CleanupOptionCount; ++i) {
        const auto option = options->GetOption(i);
        if (request.json) {
            nlohmann::ordered_json entry = {{"option", i},
                                            {"title", option->GetName()},
                                            {"safety", TCycleSetup::SafetyWord(option->GetSafety())},
                                            {"default", !option->GetExcludedFromDefault()},
                                            {"available", option->GetAvailable()},
                                            {"systemFolders", cli_reach::SearchesSystemFolders(i)}};
            AddPaths(entry, "places", cli_reach::SystemPlaces(i));
            document.push_back(std::move(entry));
            continue;
        }
        terminal.Out(std::to_string(i) + "\t" + TCycleSetup::SafetyWord(option->GetSafety()) + "\t" +
                     (option->GetExcludedFromDefault() ? "-" : "default") + "\t" +
                     (option->GetAvailable() ? "available" : "unavailable") + "\t" + option->GetName() +
                     TCliTerminal::Printable(SystemFoldersNote(i)));
    }
    if (request.json)
        PrintJson(terminal, document);
    return kExitDone;
}
