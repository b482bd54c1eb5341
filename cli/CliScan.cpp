#include "app/uCycleSetup.h"
#include "cli/CliCommands.h"
#include "cli/CliReach.h"
#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "prefs/uPreferences.h"
#include "support/VelaRoutines.h"

namespace {

const char* const kSaveFailed = "An unexpected error occured while attempting to save the report as \"%s\".\r\n"
                                "Please try saving again using a different file name.";

} // namespace

nlohmann::ordered_json ScanDocument(TCliSession& session)
{
    using json = nlohmann::ordered_json;
    json objects = json::array();
    for (int32_t i = 0; i < session.objects->GetCount(); ++i) {
        const auto item = session.objects->GetItem(i);
        if (!item)
            continue;
        objects.push_back({{"option", item->GetOption()},
                           {"title", item->GetOptionName()},
                           {"safety", TCycleSetup::SafetyWord(item->GetSafety())},
                           {"path", item->GetPath()},
                           {"size", item->GetSize()},
                           {"sizeText", item->GetSizeText()},
                           {"shellFolder", item->GetShellFolder()},
                           {"checked", item->GetChecked()},
                           {"systemFolders", cli_reach::SearchesSystemFolders(item->GetOption())}});
    }
    auto report = TEngineServices::CreateScanReport(session.options, session.objects);
    report->Build();
    const int64_t total = report->GetTotalFoundCapacity();
    json rows = json::array();
    for (int option = 0; option < CleanupOptionCount; ++option) {
        const auto row = report->GetItem(option);
        const int64_t capacity = row->GetFoundCapacity();
        const double quota = total > 0 && capacity > 0 ? static_cast<double>(capacity) / total * 100.0 : 0.0;
        rows.push_back({{"option", option},
                        {"title", row->GetName()},
                        {"foundCount", row->GetFoundCount()},
                        {"foundCountText", row->GetFoundCountText()},
                        {"foundCapacity", capacity},
                        {"foundCapacityText", row->GetFoundCapacityText()},
                        {"quota", quota},
                        {"systemFolders", cli_reach::SearchesSystemFolders(option)},
                        {"places", cli_reach::SystemPlaces(option)}});
    }
    json selected = json::array();
    for (int option = 0; option < CleanupOptionCount; ++option)
        if (session.mask.Contains(option))
            selected.push_back(option);
    return {{"targets", session.targets},
            {"options", selected},
            {"status", session.finalStatus},
            {"header", TCycleSetup::ObjectsHeader(*session.broadcast)},
            {"systemPlaces", cli_reach::SystemPlacesOf(*session.objects, false)},
            {"objects", objects},
            {"report", rows}};
}

void PrintJson(TCliTerminal& terminal, const nlohmann::ordered_json& document)
{
    terminal.Out(document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

bool SaveScanReport(TCliSession& session, const std::string& file)
{
    try {
        auto report = TEngineServices::CreateScanReport(session.options, session.objects);
        report->Build();
        report->SaveToFile(file);
        return true;
    } catch (const std::exception&) {
        session.terminal.Message(TCycleSetup::FormatText(kSaveFailed, file));
        return false;
    }
}

int RunScanCommand(const TCliRequest& request)
{
    TCliTerminal terminal(false);
    TCliSession session(request, terminal);
    const int status = session.Prepare();
    if (status >= 0)
        return status;
    const bool interrupted = session.Scan();
    terminal.Message(session.finalStatus);
    if (session.objects->GetCount() == 0 && !interrupted)
        terminal.Message(cycle_texts::kNoResults);
    const std::vector<std::string> places = cli_reach::SystemPlacesOf(*session.objects, false);
    if (!places.empty() && !request.json)
        terminal.Message("Some objects come from the system's own folders, not the targets: " +
                         TCliTerminal::Printable(cli_reach::JoinNames(places)) + ".");
    if (request.json) {
        PrintJson(terminal, ScanDocument(session));
    } else {
        terminal.Out("");
        terminal.Out(TCycleSetup::ObjectsHeader(*session.broadcast));
    }
    if (!request.reportFile.empty() && !SaveScanReport(session, request.reportFile))
        return interrupted ? kExitInterrupted : kExitFailed;
    return interrupted ? kExitInterrupted : kExitDone;
}
