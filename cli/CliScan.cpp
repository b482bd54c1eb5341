#include "cycle/uCleanRecord.h"
#include "cycle/uCycleSetup.h"
#include "cli/CliCommands.h"
#include "cli/CliNames.h"
#include "cli/CliReach.h"
#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "engine/uScanReport.h"
#include "platform/PlatformConsole.h"
#include "platform/PlatformDirectory.h"
#include "platform/PlatformHeldDirectory.h"
#include "prefs/uPreferences.h"
#include "support/VelaRoutines.h"

#include <algorithm>

using cli_json::Json;

namespace {

const char* const kSaveFailed = "An unexpected error occured while attempting to save the report as \"%s\".\r\n"
                                "Please try saving again using a different file name.";

Json Totals(TCliSession& session)
{
    int64_t found = 0, selected = 0;
    for (int32_t i = 0; i < session.objects->GetCount(); ++i)
        if (const auto item = session.objects->GetItem(i)) {
            found += TCliSession::ByteSize(*item);
            selected += item->GetChecked() ? TCliSession::ByteSize(*item) : 0;
        }
    IBroadcastParameters& figures = *session.broadcast;
    return {{"foundCount", figures.GetFoundCount()},
            {"foundSize", found},
            {"foundSizeText", TNumberRoutines::FormatCapacity(figures.GetFoundCapacity())},
            {"selectedCount", figures.GetSelectedCount()},
            {"selectedSize", selected},
            {"selectedSizeText", TNumberRoutines::FormatCapacity(figures.GetSelectedCapacity())}};
}

} // namespace

std::string OutcomeCode(const std::string& finalStatus, bool interrupted)
{
    if (finalStatus.find("stopped by an error") != std::string::npos)
        return "failed";
    return interrupted ? "stopped" : "complete";
}

Json ObjectEntry(TCliSession& session, ICleanupListItem& item)
{
    const int option = item.GetOption();
    const bool bin = item.GetShellFolder() == ShellFolderRecycleBin;
    const auto catalogued = session.options->GetOption(option);
    const bool folder = catalogued && catalogued->GetObjectKind() == okDirectories;
    Json entry = {{"option", option},
                  {"name", cli_names::StableName(option)},
                  {"title", cli_names::Title(option, item.GetOptionName())},
                  {"safety", TCycleSetup::SafetyWord(item.GetSafety())},
                  {"kind", bin ? "recycleBin" : folder ? "folder" : "file"}};
    cli_json::AddPath(entry, "path", TCliSession::ObjectPath(item));
    if (bin)
        entry["itemCount"] = TStringRoutines::DigitsToIntDef(item.GetPath());
    entry["size"] = TCliSession::ByteSize(item);
    entry["sizeText"] = item.GetSizeText();
    entry["checked"] = item.GetChecked();
    entry["systemFolders"] = cli_reach::SearchesSystemFolders(option);
    AddReviewFields(entry, item);
    return entry;
}

void AddReviewFields(Json& entry, ICleanupListItem& item)
{
    const TObjectOrigin& origin = item.GetOrigin();
    if (!origin.Known())
        return;
    // Identities as decimal text: a 64-bit file number is more than a double, and jq, holds exactly.
    const auto identity = [](const platform::FileIdentity& id) {
        return Json{{"volume", std::to_string(id.volume)}, {"file", std::to_string(id.file)}};
    };
    entry["identity"] = identity(origin.identity);
    entry["link"] = origin.link;
    // Read now, and only from the object the scan saw: a time of another would vouch for it.
    platform::DirectoryEntry facts;
    platform::FileIdentity now;
    if (platform::QueryEntry(item.GetPath(), facts) && platform::QueryOwnIdentity(item.GetPath(), now) &&
        now == origin.identity)
        entry["modified"] = clean_record::FileTimeText(facts.lastWriteTime);
    cli_json::AddPath(entry, "root", *origin.root);
    entry["rootIdentity"] = identity(origin.rootIdentity);
}

Json ScanBody(TCliSession& session, bool interrupted)
{
    Json objects = Json::array();
    std::vector<int64_t> sizes(CleanupOptionCount, 0);
    for (int32_t i = 0; i < session.objects->GetCount(); ++i) {
        const auto item = session.objects->GetItem(i);
        if (!item)
            continue;
        objects.push_back(ObjectEntry(session, *item));
        if (item->GetOption() < CleanupOptionCount)
            sizes[static_cast<size_t>(item->GetOption())] += TCliSession::ByteSize(*item);
    }
    auto report = TEngineServices::CreateScanReport(session.options, session.objects);
    report->Build();
    const int64_t total = report->GetTotalFoundCapacity();
    Json rows = Json::array();
    for (int option = 0; option < CleanupOptionCount; ++option) {
        const auto row = report->GetItem(option);
        const int64_t capacity = row->GetFoundCapacity();
        const double quota = total > 0 && capacity > 0 ? static_cast<double>(capacity) / total * 100.0 : 0.0;
        Json entry = {{"option", option},
                      {"name", cli_names::StableName(option)},
                      {"title", cli_names::Title(option, row->GetName())},
                      {"foundCount", row->GetFoundCount()},
                      {"foundSize", sizes[static_cast<size_t>(option)]},
                      {"foundSizeText", row->GetFoundCapacityText()},
                      {"quota", quota},
                      {"systemFolders", cli_reach::SearchesSystemFolders(option)}};
        cli_json::AddPaths(entry, "places", cli_reach::SystemPlaces(option));
        rows.push_back(std::move(entry));
    }
    Json selected = Json::array(), names = Json::array();
    for (int option = 0; option < CleanupOptionCount; ++option)
        if (session.mask.Contains(option)) {
            selected.push_back(option);
            names.push_back(cli_names::StableName(option));
        }
    Json body = Json::object();
    cli_json::AddPaths(body, "targets", session.targets);
    body["options"] = selected;
    body["optionNames"] = names;
    body["status"] = cli_json::Status(OutcomeCode(session.finalStatus, interrupted), session.finalStatus);
    body["totals"] = Totals(session);
    // Folders the scan could not read: what lies in them is in no figure here.
    body["unreadableCount"] = session.objects->GetUnreadableFolders();
    cli_json::AddPaths(body, "systemPlaces", cli_reach::SystemPlacesOf(*session.objects, false));
    body["objects"] = std::move(objects);
    body["report"] = std::move(rows);
    return body;
}

bool SaveScanReport(TCliSession& session, const std::string& file)
{
    try {
        auto report = TEngineServices::CreateScanReport(session.options, session.objects);
        report->Build();
        if (file == "-") {
            for (const std::string& line : report->GetLines())
                session.terminal.Out(TCliTerminal::PlainLines(line));
            return true;
        }
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
    const int prepared = session.Prepare();
    if (prepared >= 0)
        return prepared;
    const bool interrupted = session.Scan();
    terminal.Message(session.finalStatus);
    if (session.objects->GetCount() == 0 && !interrupted)
        terminal.Message(cycle_texts::kNoResults);
    const std::vector<std::string> places = cli_reach::SystemPlacesOf(*session.objects, false);
    if (!places.empty())
        terminal.Message("Some objects come from the system's own folders, not the targets: " +
                         TCliTerminal::Printable(cli_reach::JoinNames(places)) + ".");
    session.SummarizeObjectLines();
    terminal.Message(TStringRoutines::Trim(TCycleSetup::ObjectsHeader(*session.broadcast)));
    int status = interrupted ? kExitInterrupted : kExitDone;
    if (!request.reportFile.empty() && !SaveScanReport(session, request.reportFile) && !interrupted)
        status = kExitFailed;
    if (request.json) {
        Json document = cli_json::Document("scan");
        document["scan"] = ScanBody(session, interrupted);
        cli_json::Print(terminal, std::move(document), status);
    }
    return status;
}
