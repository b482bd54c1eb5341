// cleans: the recorded cleans, newest first, so that one can be named to restore.
#include "cli/CliCommands.h"
#include "cycle/uCleanRecord.h"
#include "cycle/uRestore.h"

using cli_json::Json;

namespace {

int64_t Total(const Json& record, const char* key)
{
    const auto totals = record.find("totals");
    return totals != record.end() && totals->is_object() ? totals->value(key, int64_t{0}) : 0;
}

} // namespace

int RunCleansCommand(const TCliRequest& request)
{
    TCliTerminal terminal(false);
    const auto records = clean_record::ReadRecords(clean_record::RecordsFolder());
    Json list = Json::array();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        const Json& record = it->record;
        const size_t moved = restore::MovedCount(record);
        const size_t restored = moved - restore::PendingObjects(record).size();
        const std::string id = clean_record::RecordId(it->file);
        const std::string started = record.value("started", "");
        const std::string mode = record.value("mode", "");
        const int64_t bytes = Total(record, "removedSize") + Total(record, "movedSize");
        if (request.json) {
            Json entry = {{"id", id}};
            cli_json::AddPath(entry, "recordFile", it->file);
            entry["started"] = started;
            entry["finished"] = record.value("finished", "");
            entry["mode"] = mode;
            entry["from"] = record.value("from", "");
            entry["status"] = record.contains("status") && record["status"].is_object()
                                  ? record["status"].value("code", "complete")
                                  : "complete";
            entry["totals"] = {{"removedCount", Total(record, "removedCount")},
                               {"removedSize", Total(record, "removedSize")},
                               {"movedCount", Total(record, "movedCount")},
                               {"movedSize", Total(record, "movedSize")},
                               {"skippedCount", Total(record, "skippedCount")},
                               {"restoredCount", restored}};
            list.push_back(std::move(entry));
        } else {
            terminal.Out(id + "\t" + started + "\t" + mode + "\t" + std::to_string(Total(record, "removedCount")) +
                         " removed\t" + std::to_string(Total(record, "movedCount")) + " moved\t" +
                         std::to_string(Total(record, "skippedCount")) + " skipped\t" + std::to_string(restored) +
                         " restored\t" + std::to_string(bytes));
        }
    }
    if (records.empty())
        terminal.Message("No clean has been recorded yet.");
    if (request.json) {
        Json document = cli_json::Document("cleans");
        document["cleans"] = std::move(list);
        cli_json::Print(terminal, std::move(document), kExitDone);
    }
    return kExitDone;
}
