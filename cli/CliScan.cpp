#include "app/uCycleSetup.h"
#include "cli/CliCommands.h"
#include "cli/CliReach.h"
#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "prefs/uPreferences.h"
#include "support/VelaRoutines.h"

#include <algorithm>

namespace {

const char* const kSaveFailed = "An unexpected error occured while attempting to save the report as \"%s\".\r\n"
                                "Please try saving again using a different file name.";

// Well-formed UTF-8 as the JSON writer reads it: no stray, cut or overlong sequence, no surrogate,
// nothing past U+10FFFF. Anything else it writes as U+FFFD, losing the bytes.
bool IsUtf8(const std::string& text)
{
    static const uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        // 0: no character starts with this byte.
        const size_t length = lead < 0x80 ? 1 : lead < 0xC0 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 0;
        if (length == 0)
            return false;
        uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        if (length > text.size() - i)
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        if (length > 1 && (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
            return false;
        i += length;
    }
    return true;
}

// Every byte kept in a form a URL decoder reads back: printable ASCII but "%" as it is, the rest %XX.
std::string EscapedBytes(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string result;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '%') {
            result += c;
        } else {
            result += '%';
            result += kHex[byte >> 4];
            result += kHex[byte & 0xF];
        }
    }
    return result;
}

} // namespace

void AddPath(nlohmann::ordered_json& object, const std::string& key, const std::string& path)
{
    object[key] = path;
    if (!IsUtf8(path))
        object[key + "Bytes"] = EscapedBytes(path);
}

void AddPaths(nlohmann::ordered_json& object, const std::string& key, const std::vector<std::string>& paths)
{
    object[key] = paths;
    if (std::all_of(paths.begin(), paths.end(), IsUtf8))
        return;
    auto bytes = nlohmann::ordered_json::array();
    for (const std::string& path : paths)
        bytes.push_back(IsUtf8(path) ? nlohmann::ordered_json() : nlohmann::ordered_json(EscapedBytes(path)));
    object[key + "Bytes"] = bytes;
}

nlohmann::ordered_json ScanDocument(TCliSession& session)
{
    using json = nlohmann::ordered_json;
    json objects = json::array();
    for (int32_t i = 0; i < session.objects->GetCount(); ++i) {
        const auto item = session.objects->GetItem(i);
        if (!item)
            continue;
        json object = {{"option", item->GetOption()},
                       {"title", item->GetOptionName()},
                       {"safety", TCycleSetup::SafetyWord(item->GetSafety())}};
        AddPath(object, "path", item->GetPath());
        object["size"] = item->GetSize();
        object["sizeText"] = item->GetSizeText();
        object["shellFolder"] = item->GetShellFolder();
        object["checked"] = item->GetChecked();
        object["systemFolders"] = cli_reach::SearchesSystemFolders(item->GetOption());
        objects.push_back(std::move(object));
    }
    auto report = TEngineServices::CreateScanReport(session.options, session.objects);
    report->Build();
    const int64_t total = report->GetTotalFoundCapacity();
    json rows = json::array();
    for (int option = 0; option < CleanupOptionCount; ++option) {
        const auto row = report->GetItem(option);
        const int64_t capacity = row->GetFoundCapacity();
        const double quota = total > 0 && capacity > 0 ? static_cast<double>(capacity) / total * 100.0 : 0.0;
        json entry = {{"option", option},
                      {"title", row->GetName()},
                      {"foundCount", row->GetFoundCount()},
                      {"foundCountText", row->GetFoundCountText()},
                      {"foundCapacity", capacity},
                      {"foundCapacityText", row->GetFoundCapacityText()},
                      {"quota", quota},
                      {"systemFolders", cli_reach::SearchesSystemFolders(option)}};
        AddPaths(entry, "places", cli_reach::SystemPlaces(option));
        rows.push_back(std::move(entry));
    }
    json selected = json::array();
    for (int option = 0; option < CleanupOptionCount; ++option)
        if (session.mask.Contains(option))
            selected.push_back(option);
    json document = json::object();
    AddPaths(document, "targets", session.targets);
    document["options"] = selected;
    document["status"] = session.finalStatus;
    document["header"] = TCycleSetup::ObjectsHeader(*session.broadcast);
    AddPaths(document, "systemPlaces", cli_reach::SystemPlacesOf(*session.objects, false));
    document["objects"] = std::move(objects);
    document["report"] = std::move(rows);
    return document;
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
