#include "app/uCycleSetup.h"
#include "cli/CliCommands.h"
#include "cli/CliReach.h"
#include "platform/PlatformConsole.h"
#include "prefs/uPreferences.h"
#include "support/VelaRoutines.h"

namespace {

const char* const kNotAsked = "No terminal to answer on: nothing was deleted (--yes answers yes).";
const char* const kNothingChecked = "No object is checked: nothing was deleted.";

// A warning that must be answered yes before anything is deleted; the exit status otherwise.
int Warn(TCliTerminal& terminal, const std::string& text)
{
    switch (terminal.AskYesNo(text)) {
    case TCliTerminal::TAnswer::Yes: return -1;
    case TCliTerminal::TAnswer::NotAsked:
        terminal.Message(text);
        terminal.Message(kNotAsked);
        return kExitRefused;
    default: return platform::InterruptRequested() ? kExitInterrupted : kExitRefused;
    }
}

int SolidStateCheck(TCliSession& session)
{
    if (!Preferences().SecureDeleteFiles)
        return -1;
    try {
        if (!TCycleSetup::AnyOnSolidStateDrive(session.targets))
            return -1;
    } catch (const std::exception& error) {
        session.terminal.Message(error.what());
        return kExitFailed;
    }
    return Warn(session.terminal, cycle_texts::kSolidStateWarning);
}

// "Clean 12 objects (1 Ko), including /tmp and the Trash?": the one question before any deletion,
// naming the places the user did not name as targets.
std::string CleanQuestion(TCliSession& session)
{
    const int64_t count = session.broadcast->GetSelectedCount();
    std::string text = "Clean " + TNumberRoutines::GroupThousands(count) + (count == 1 ? " object (" : " objects (") +
                       TNumberRoutines::FormatCapacity(session.broadcast->GetSelectedCapacity()) + ")";
    const std::vector<std::string> places = cli_reach::SystemPlacesOf(*session.objects, true);
    if (!places.empty())
        text += ", including " + TCliTerminal::Printable(cli_reach::JoinNames(places));
    return text + "?";
}

} // namespace

int RunCleanCommand(const TCliRequest& request)
{
    TCliTerminal terminal(request.yes);
    TCliSession session(request, terminal);
    int status = session.Prepare();
    if (status >= 0)
        return status;

    const bool stoppedScan = session.Scan();
    terminal.Message(session.finalStatus);
    if (!request.json) {
        terminal.Out("");
        terminal.Out(TCycleSetup::ObjectsHeader(*session.broadcast));
    }
    if (stoppedScan)
        return kExitInterrupted;
    if (session.objects->GetCount() == 0) {
        terminal.Message(cycle_texts::kNoResults);
        if (request.json)
            PrintJson(terminal, {{"scan", ScanDocument(session)}, {"clean", nullptr}});
        return kExitDone;
    }
    if (request.check == "safe")
        TCycleSetup::CheckSafe(*session.objects, *session.broadcast);
    if (session.broadcast->GetSelectedCount() == 0) {
        terminal.Message(kNothingChecked);
        if (request.json)
            PrintJson(terminal, {{"scan", ScanDocument(session)}, {"clean", nullptr}});
        return kExitDone;
    }
    status = Warn(terminal, CleanQuestion(session));
    if (status >= 0)
        return status;
    status = SolidStateCheck(session);
    if (status >= 0)
        return status;
    if (session.objects->AnyCheckedOfSafety(scUnsafe)) {
        status = Warn(terminal, cycle_texts::kUnsafeItemsWarning);
        if (status >= 0)
            return status;
    }

    nlohmann::ordered_json document;
    if (request.json)
        document["scan"] = ScanDocument(session);
    const bool stoppedClean = session.Clean();
    terminal.Message(session.finalStatus);
    const std::vector<std::string>& lines = session.cleanReport->GetLines();
    if (request.json) {
        document["clean"] = {{"status", session.finalStatus}};
        // The skipped objects are listed by path.
        AddPaths(document["clean"], "lines", lines);
        PrintJson(terminal, document);
    } else {
        for (const std::string& line : lines)
            terminal.Out(TCliTerminal::PlainLines(line));
    }
    if (!request.reportFile.empty()) {
        try {
            session.cleanReport->SaveToFile(request.reportFile);
        } catch (const std::exception&) {
            terminal.Message(TCycleSetup::FormatText("An unexpected error occured while attempting to save the "
                                                     "report as \"%s\".\r\nPlease try saving again using a "
                                                     "different file name.",
                                                     request.reportFile));
            return stoppedClean ? kExitInterrupted : kExitFailed;
        }
    }
    return stoppedClean ? kExitInterrupted : kExitDone;
}
