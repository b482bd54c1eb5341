// restore: the objects a clean moved to the Recycle Bin or the Trash, back to their places, with
// the question, the answers and the exit statuses of clean.
#include "cli/CliCommands.h"
#include "cycle/uCleanRecord.h"
#include "cycle/uRestore.h"
#include "platform/PlatformConsole.h"
#include "support/VelaRoutines.h"

using cli_json::Json;

namespace {

const char* const kNotAsked = "No terminal to answer on: nothing was restored (--yes answers yes).";

std::string Objects(int64_t count)
{
    return TNumberRoutines::GroupThousands(count) + (count == 1 ? " object" : " objects");
}

std::string Capacity(int64_t bytes)
{
    return TNumberRoutines::FormatCapacity(TNumberRoutines::BytesToKo(bytes));
}

} // namespace

int RunRestoreCommand(const TCliRequest& request)
{
    TCliTerminal terminal(request.yes);
    std::vector<clean_record::TStoredRecord> records = clean_record::ReadRecords(clean_record::RecordsFolder());
    clean_record::TStoredRecord* chosen = nullptr;
    for (auto it = records.rbegin(); it != records.rend() && !chosen; ++it)
        if (request.recordId.empty() ? restore::MovedCount(it->record) > 0
                                     : clean_record::RecordId(it->file) == request.recordId)
            chosen = &*it;

    Json body = Json::object();
    Json objects = Json::array();
    const auto finish = [&](int status, const std::string& code, const std::string& text) {
        if (request.json) {
            Json document = cli_json::Document("restore");
            body["status"] = cli_json::Status(code, text);
            body["objects"] = std::move(objects);
            document["restore"] = std::move(body);
            cli_json::Print(terminal, std::move(document), status);
        }
        return status;
    };
    if (!chosen && !request.recordId.empty()) {
        // A usage error: no document, as for any other refused input.
        terminal.Message("quillsweep-cli: no clean \"" + TCliTerminal::Printable(request.recordId) +
                         "\" is recorded; \"quillsweep-cli cleans\" lists them.");
        return kExitUsage;
    }
    if (!chosen) {
        const std::string text = "No recorded clean moved objects to the bin: there is nothing to restore.";
        terminal.Message(text);
        return finish(kExitDone, "nothingToRestore", text);
    }
    Json& record = chosen->record;
    body["id"] = clean_record::RecordId(chosen->file);
    cli_json::AddPath(body, "recordFile", chosen->file);
    const size_t moved = restore::MovedCount(record);
    const std::vector<size_t> pending = restore::PendingObjects(record);
    int64_t pendingSize = 0;
    for (const size_t index : pending)
        pendingSize += record["objects"][index].value("movedSize", record["objects"][index].value("size", int64_t{0}));
    body["totals"] = {{"restoredCount", 0}, {"restoredSize", 0}, {"alreadyRestoredCount", moved - pending.size()},
                      {"notRestoredCount", 0}};
    if (moved == 0) {
        const std::string text = "This clean moved nothing to the bin: there is nothing to restore.";
        terminal.Message(text);
        return finish(kExitDone, "nothingToRestore", text);
    }
    if (pending.empty()) {
        const std::string text = moved == 1 ? "The object this clean moved to the bin is already restored."
                                            : "All " + Objects(static_cast<int64_t>(moved)) +
                                                  " this clean moved to the bin are already restored.";
        terminal.Message(text);
        return finish(kExitDone, "alreadyRestored", text);
    }

    const std::string question = "Restore " + Objects(static_cast<int64_t>(pending.size())) + " (" +
                                 Capacity(pendingSize) + ") from the bin to their places?";
    switch (terminal.AskYesNo(question)) {
    case TCliTerminal::TAnswer::Yes: break;
    case TCliTerminal::TAnswer::NotAsked:
        terminal.Message(question);
        terminal.Message(kNotAsked);
        return finish(kExitRefused, "refused", kNotAsked);
    default:
        if (platform::InterruptRequested())
            return finish(kExitInterrupted, "stopped", "Stopped at a question: nothing was restored.");
        return finish(kExitRefused, "refused", "Refused at a question: nothing was restored.");
    }

    const std::vector<restore::TObjectResult> results = restore::RestoreRecord(record, platform::InterruptRequested);
    int64_t restored = 0, restoredSize = 0, already = static_cast<int64_t>(moved - pending.size()), left = 0;
    for (const restore::TObjectResult& result : results) {
        const Json& object = record["objects"][result.index];
        Json entry = {{"kind", object.value("kind", "file")}};
        cli_json::AddPath(entry, "path", result.path);
        cli_json::AddPath(entry, "destination", restore::ExactPath(object, "destination"));
        entry["size"] = result.size;
        entry["outcome"] = restore::OutcomeWord(result.outcome);
        if (!result.detail.empty())
            entry["detail"] = result.detail;
        objects.push_back(std::move(entry));
        switch (result.outcome) {
        case restore::TOutcome::Restored:
            ++restored;
            restoredSize += result.size;
            break;
        case restore::TOutcome::AlreadyRestored: ++already; break;
        default: ++left; break;
        }
        if (result.outcome != restore::TOutcome::Restored)
            terminal.Message(restore::OutcomeText(result.outcome) + ": " + TCliTerminal::Printable(result.path) +
                             (result.detail.empty() ? "" : " (" + TCliTerminal::Printable(result.detail) + ")"));
    }
    std::string error;
    if (!results.empty() && !clean_record::UpdateRecord(chosen->file, record, error))
        terminal.Message("The record of this clean could not be updated: " + error + ".");
    body["totals"] = {{"restoredCount", restored},
                      {"restoredSize", restoredSize},
                      {"alreadyRestoredCount", already},
                      {"notRestoredCount", left}};
    const bool stopped = results.size() < pending.size();
    std::string text = std::string(stopped ? "Restore stopped. " : "Restore complete. ") + Objects(restored) +
                       " restored (" + Capacity(restoredSize) + ")";
    if (already > 0)
        text += ", " + TNumberRoutines::GroupThousands(already) + " already restored";
    if (left > 0)
        text += ", " + TNumberRoutines::GroupThousands(left) + " could not be restored";
    if (stopped)
        text += ", " + TNumberRoutines::GroupThousands(static_cast<int64_t>(pending.size() - results.size())) +
                " not reached";
    text += ".";
    terminal.Message(text);
    return finish(stopped ? kExitInterrupted : kExitDone, stopped ? "stopped" : "complete", text);
}
