#include "cycle/uCycleSetup.h"
#include "cli/CliCommands.h"
#include "cli/CliNames.h"
#include "cli/CliReach.h"
#include "engine/uEngineConstants.h"
#include "prefs/uPreferences.h"

std::string SystemFoldersNote(int option)
{
    return cli_reach::SearchesSystemFolders(option) ? " (system folders)" : "";
}

int RunOptionsCommand(const TCliRequest& request)
{
    TPreferenceValues defaults(false);
    defaults.SetDefaults();
    const auto options = TCliSession::CreateOptions(defaults);
    TCliTerminal terminal(false);
    auto list = cli_json::Json::array();
    for (int i = 0; i < CleanupOptionCount; ++i) {
        const auto option = options->GetOption(i);
        const std::string title = cli_names::Title(i, option->GetName());
        const std::string looksAt = cli_names::LooksAt(i, option->GetMasks());
        if (request.json) {
            cli_json::Json entry = {{"option", i},
                                    {"name", cli_names::StableName(i)},
                                    {"title", title},
                                    {"safety", TCycleSetup::SafetyWord(option->GetSafety())},
                                    {"default", !option->GetExcludedFromDefault()},
                                    {"available", option->GetAvailable()},
                                    {"systemFolders", cli_reach::SearchesSystemFolders(i)}};
            cli_json::AddPath(entry, "looksAt", looksAt);
            cli_json::AddPaths(entry, "places", cli_reach::SystemPlaces(i));
            list.push_back(std::move(entry));
            continue;
        }
        terminal.Out(std::to_string(i) + "\t" + cli_names::StableName(i) + "\t" +
                     TCycleSetup::SafetyWord(option->GetSafety()) + "\t" +
                     (option->GetExcludedFromDefault() ? "-" : "default") + "\t" +
                     (option->GetAvailable() ? "available" : "unavailable") + "\t" + title + SystemFoldersNote(i) +
                     "\t" + TCliTerminal::Printable(looksAt));
    }
    if (request.json) {
        cli_json::Json document = cli_json::Document("options");
        document["options"] = std::move(list);
        cli_json::Print(terminal, std::move(document), kExitDone);
    }
    return kExitDone;
}
