#include "cycle/uCycleSetup.h"
#include "cli/CliCommands.h"
#include "cli/CliReach.h"
#include "engine/uEngineConstants.h"
#include "platform/PlatformConsole.h"
#include "platform/PlatformFiles.h"
#include "prefs/uPreferences.h"
#include "support/VelaRoutines.h"

using cli_json::Json;

namespace {

const char* const kNotAsked = "No terminal to answer on: nothing was deleted (--yes answers yes).";
const char* const kNothingChecked = "No object is checked: nothing was deleted.";
const char* const kScanStopped = "The scan was stopped: nothing was deleted.";

// Why a clean ended before it began; the exit status and what the document says.
struct TEnd {
    int status;
    std::string code;
    std::string text;
};

// A warning that must be answered yes before anything is deleted.
bool Warn(TCliTerminal& terminal, const std::string& text, TEnd& end)
{
    switch (terminal.AskYesNo(text)) {
    case TCliTerminal::TAnswer::Yes: return true;
    case TCliTerminal::TAnswer::NotAsked:
        terminal.Message(text);
        terminal.Message(kNotAsked);
        end = {kExitRefused, "refused", kNotAsked};
        return false;
    default:
        end = platform::InterruptRequested() ? TEnd{kExitInterrupted, "stopped", "Stopped at a question: nothing was deleted."}
                                             : TEnd{kExitRefused, "refused", "Refused at a question: nothing was deleted."};
        return false;
    }
}

bool SolidStateCheck(TCliSession& session, TEnd& end)
{
    if (!Preferences().SecureDeleteFiles)
        return true;
    try {
        if (!TCycleSetup::AnyOnSolidStateDrive(session.targets))
            return true;
    } catch (const std::exception& error) {
        session.terminal.Message(error.what());
        end = {kExitFailed, "failed", error.what()};
        return false;
    }
    return Warn(session.terminal, cycle_texts::kSolidStateWarning, end);
}

// "Clean 12 objects (1 Ko), including /tmp and the Trash?": the one question before any deletion,
// naming the places the user did not name as targets, and what the temporary-folders option
// removes besides the objects listed.
std::string CleanQuestion(TCliSession& session)
{
    const int64_t count = session.broadcast->GetSelectedCount();
    std::string text = (session.recycle ? "Move " : "Clean ") + TNumberRoutines::GroupThousands(count) +
                       (count == 1 ? " object (" : " objects (") +
                       TNumberRoutines::FormatCapacity(session.broadcast->GetSelectedCapacity()) + ")";
    if (session.recycle)
        text += platform::PathSeparator() == '\\' ? " to the Recycle Bin" : " to the Trash";
    const std::vector<std::string> places = cli_reach::SystemPlacesOf(*session.objects, true);
    if (!places.empty())
        text += ", including " + TCliTerminal::Printable(cli_reach::JoinNames(places));
    // That pass removes folders no scan listed, so it is named before anything goes.
    if (session.mask.Contains(0))
        text += "; empty folders in the temporary folders are removed too";
    return text + "?";
}

int64_t CheckedUnsafe(ICleanupList& objects)
{
    int64_t count = 0;
    for (int32_t i = 0; i < objects.GetCount(); ++i)
        if (const auto item = objects.GetItem(i))
            count += item->GetChecked() && item->GetSafety() == scUnsafe;
    return count;
}

std::string UnsafeWarning(int64_t count)
{
    return TNumberRoutines::GroupThousands(count) + (count == 1 ? " unsafe item is" : " unsafe items are") +
           " checked in this list.\r\nAre you sure you want to continue?";
}

// What the clean did, object by object, with its report.
Json CleanBody(TCliSession& session, const std::string& code, const std::string& text, bool ran)
{
    Json removed = Json::array(), skipped = Json::array();
    int64_t removedSize = 0, skippedSize = 0, removedKo = 0, skippedKo = 0;
    for (size_t i = 0; ran && i < session.cleanOutcomes.size(); ++i) {
        const auto item = session.objects->GetItem(static_cast<int32_t>(i));
        if (!item || session.cleanOutcomes[i] == 0)
            continue;
        // Removed counts what went, as the report does; skipped keeps what the scan saw.
        if (session.cleanOutcomes[i] == 1) {
            removed.push_back(ObjectEntry(session, *item));
            if (!session.destinations[i].empty())
                cli_json::AddPath(removed.back(), "destination", session.destinations[i]);
            removedSize += session.removedBytes[i];
            removedKo += TNumberRoutines::BytesToKo(session.removedBytes[i]);
        } else {
            Json entry = ObjectEntry(session, *item);
            entry["reason"] = clean_record::ReasonWord(session.recorder.Outcome(static_cast<int32_t>(i)).reason);
            skipped.push_back(std::move(entry));
            skippedSize += TCliSession::ByteSize(*item);
            skippedKo += item->GetSize();
        }
    }
    Json body = {{"status", cli_json::Status(code, text)},
                 {"totals",
                  {{"removedCount", removed.size()},
                   {"removedSize", removedSize},
                   {"removedSizeText", TNumberRoutines::FormatCapacity(removedKo)},
                   {"skippedCount", skipped.size()},
                   {"skippedSize", skippedSize},
                   {"skippedSizeText", TNumberRoutines::FormatCapacity(skippedKo)}}}};
    body["removed"] = std::move(removed);
    body["skipped"] = std::move(skipped);
    std::vector<std::string> lines;
    if (ran)
        for (const std::string& line : session.cleanReport->GetLines())
            for (const std::string& piece : TStringRoutines::SplitString(TCliTerminal::PlainLines(line), '\n'))
                lines.push_back(piece);
    cli_json::AddPaths(body, "reportLines", lines);
    if (ran && !session.recordFile.empty())
        cli_json::AddPath(body, "recordFile", session.recordFile);
    else if (ran)
        body["recordProblem"] = session.recordProblem;
    return body;
}

// A record that cannot be written costs the clean nothing; the user is told.
void WriteRecord(TCliSession& session, bool review)
{
    const TPreferenceValues& prefs = Preferences();
    clean_record::TCleanFacts facts;
    facts.from = "commandLine";
    facts.review = review ? "document" : "scan";
    facts.targets = session.targets;
    facts.options = session.mask;
    facts.secureDelete = prefs.SecureDeleteFiles;
    facts.recycle = session.recycle;
    facts.passes = prefs.SecureDeletePasses;
    facts.randomPattern = prefs.RandomRewritePattern;
    session.recorder.NoteStatus(session.finalStatus);
    session.recordProblem =
        clean_record::WriteRecord(session.recorder, facts, *session.objects, *session.options, &session.recordFile);
    if (!session.recordProblem.empty())
        session.terminal.Message(session.recordProblem);
}

} // namespace

int RunCleanCommand(const TCliRequest& request)
{
    TCliTerminal terminal(request.yes);
    TCliSession session(request, terminal);
    const bool review = !request.fromFile.empty();
    const int prepared = review ? session.PrepareReview() : session.Prepare();
    if (prepared >= 0)
        return prepared;

    const bool stoppedScan = review ? false : session.Scan();
    if (!review) {
        terminal.Message(session.finalStatus);
        session.SummarizeObjectLines();
    }
    terminal.Message(TStringRoutines::Trim(TCycleSetup::ObjectsHeader(*session.broadcast)));
    Json scan;
    if (request.json)
        scan = ScanBody(session, stoppedScan);
    const auto finish = [&](int status, const std::string& code, const std::string& text, bool ran) {
        if (request.json) {
            Json document = cli_json::Document("clean");
            document["scan"] = std::move(scan);
            document["clean"] = CleanBody(session, code, text, ran);
            cli_json::Print(terminal, std::move(document), status);
        }
        return status;
    };

    TEnd end{kExitDone, "", ""};
    if (stoppedScan)
        return finish(kExitInterrupted, "stopped", kScanStopped, false);
    if (session.objects->GetCount() == 0) {
        terminal.Message(cycle_texts::kNoResults);
        return finish(kExitDone, "nothingFound", cycle_texts::kNoResults, false);
    }
    if (request.check == "safe")
        TCycleSetup::CheckSafe(*session.objects, *session.broadcast);
    if (session.broadcast->GetSelectedCount() == 0) {
        terminal.Message(kNothingChecked);
        return finish(kExitDone, "nothingChecked", kNothingChecked, false);
    }
    if (request.json && request.check == "safe")
        scan = ScanBody(session, false);
    if (!Warn(terminal, CleanQuestion(session), end) || !SolidStateCheck(session, end))
        return finish(end.status, end.code, end.text, false);
    const int64_t unsafe = CheckedUnsafe(*session.objects);
    if (unsafe > 0 && !Warn(terminal, UnsafeWarning(unsafe), end))
        return finish(end.status, end.code, end.text, false);

    // The worker reads the interrupt itself: the loop that serves it looks only now and then, and
    // an interrupt that lands before the first deletion must delete nothing.
    TInterfacedThread::SetSharedStopRequest(platform::InterruptRequested);
    const bool stoppedClean = session.Clean();
    TInterfacedThread::SetSharedStopRequest(nullptr);
    terminal.Message(session.finalStatus);
    WriteRecord(session, review);
    for (const std::string& line : session.cleanReport->GetLines()) {
        if (ReportToOutput(request))
            terminal.Out(TCliTerminal::PlainLines(line));
        else
            terminal.Message(line);
    }
    int status = stoppedClean ? kExitInterrupted : kExitDone;
    if (!request.reportFile.empty() && !ReportToOutput(request)) {
        try {
            session.cleanReport->SaveToFile(request.reportFile);
        } catch (const std::exception&) {
            terminal.Message(TCycleSetup::FormatText("An unexpected error occured while attempting to save the "
                                                     "report as \"%s\".\r\nPlease try saving again using a "
                                                     "different file name.",
                                                     request.reportFile));
            if (!stoppedClean)
                status = kExitFailed;
        }
    }
    return finish(status, OutcomeCode(session.finalStatus, stoppedClean), session.finalStatus, true);
}
