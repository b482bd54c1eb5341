#include "cli/CliSession.h"

#include "cycle/uCycleSetup.h"
#include "cli/CliNames.h"
#include "cli/CliReach.h"
#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "platform/PlatformConsole.h"
#include "platform/PlatformFiles.h"
#include "platform/PlatformShell.h"
#include "platform/PlatformSystem.h"
#include "prefs/uPreferences.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

// The windows' message queue stands in here: notices only mark the worker's end.
constexpr TWindowHandle kConsoleWindow = 1;

// Found objects and status go straight to the terminal: the calls arrive on the main thread.
class TCliDispatchBase {
public:
    TCliDispatchBase(TCliSession& session, std::shared_ptr<TSynchronizer> synchronizer)
        : session_(session), synchronizer_(std::move(synchronizer))
    {
    }

protected:
    TCliSession& session_;
    std::shared_ptr<TSynchronizer> synchronizer_;
};

// An absolute path without "." and ".." parts or a trailing separator (a root keeps its own).
// Links are not resolved: the target stays the folder the user named.
std::string TidyTarget(const std::string& given)
{
    if (given.empty())
        return given; // refused by the checks as a folder that does not exist
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(std::filesystem::u8path(given), error);
    if (error)
        return given;
    path = path.lexically_normal();
    if (!path.has_filename() && path.has_relative_path())
        path = path.parent_path();
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool SameTarget(const std::string& a, const std::string& b)
{
    if (platform::PathSeparator() == '/')
        return a == b;
    // Windows file names ignore letter case.
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

class TCliScanDispatch : public IScannerDispatch, private TCliDispatchBase {
public:
    using TCliDispatchBase::TCliDispatchBase;
    TWindowHandle GetWindowHandle() override { return kConsoleWindow; }
    void SetStatusText(const std::string& text) override
    {
        session_.finalStatus = text;
        if (session_.terminal.ShowsProgress())
            session_.terminal.Progress(text, session_.Counters());
    }
    std::shared_ptr<ISynchronizer> GetSynchronizer() override { return synchronizer_; }
    void UpdateCounters() override
    {
        if (session_.terminal.ShowsProgress())
            session_.terminal.Progress(session_.finalStatus, session_.Counters());
    }
    void ObjectFound(const std::shared_ptr<ICleanupListItem>& item) override
    {
        if (item)
            session_.ShowObject(*item);
    }
};

class TCliCleanDispatch : public ICleanerDispatch, private TCliDispatchBase {
public:
    using TCliDispatchBase::TCliDispatchBase;
    TWindowHandle GetWindowHandle() override { return kConsoleWindow; }
    void SetStatusText(const std::string& text) override
    {
        session_.finalStatus = text;
        session_.terminal.Progress(text, session_.Counters() + " " + progress_);
    }
    std::shared_ptr<ISynchronizer> GetSynchronizer() override { return synchronizer_; }
    void SetProgress(int32_t position) override
    {
        progress_ = "[" + std::to_string(position + 1) + " / " + std::to_string(session_.objects->GetCount()) + "]";
        session_.terminal.Progress(session_.finalStatus, session_.Counters() + " " + progress_);
    }
    void ObjectSkipped(int32_t index, TSkipReason reason) override { session_.recorder.ObjectSkipped(index, reason); }
    void ObjectMoved(int32_t index, const TMovedObject& moved) override
    {
        session_.recorder.ObjectMoved(index, moved);
        if (index >= 0 && static_cast<size_t>(index) < session_.destinations.size())
            session_.destinations[static_cast<size_t>(index)] = moved.destination;
    }
    void ObjectCleaned(int32_t index, bool removed, int64_t removedBytes) override
    {
        session_.recorder.ObjectCleaned(index, removed, removedBytes);
        if (index >= 0 && static_cast<size_t>(index) < session_.cleanOutcomes.size()) {
            session_.cleanOutcomes[static_cast<size_t>(index)] = removed ? 1 : 2;
            session_.removedBytes[static_cast<size_t>(index)] = removedBytes;
        }
    }
    TConfirmAnswer ConfirmDelete(const std::string& path) override
    {
        return session_.terminal.AskConfirm("Delete the file: \"" + TCliTerminal::Printable(path) + "\"?");
    }
    bool HoldsLastStatus() override { return false; }

private:
    std::string progress_;
};

TCliSession::TCliSession(const TCliRequest& request, TCliTerminal& terminal) : request(request), terminal(terminal) {}

std::string TCliSession::ObjectPath(ICleanupListItem& item)
{
    if (item.GetShellFolder() != ShellFolderRecycleBin)
        return item.GetPath();
    const std::string trash = platform::UserTrashDirectory();
    return trash.empty() ? "shell:RecycleBinFolder" : trash;
}

int64_t TCliSession::ByteSize(ICleanupListItem& item)
{
    const int64_t bytes = item.GetByteSize();
    return bytes >= 0 ? bytes : item.GetSize() * 1024;
}

void TCliSession::ShowObject(ICleanupListItem& item)
{
    if (request.json || ReportToOutput(request))
        return;
    const bool bin = item.GetShellFolder() == ShellFolderRecycleBin;
    if (request.nullSeparated) {
        // Emptied as a whole, the bin has no path a program could be handed.
        if (bin)
            ++unlistedBins_;
        else
            terminal.OutRaw(item.GetPath() + '\0');
        return;
    }
    const std::string path = ObjectPath(item);
    const std::string shown = TCliTerminal::Printable(path);
    if (shown != path)
        ++alteredPaths_;
    const std::string reach = cli_reach::SearchesSystemFolders(item.GetOption()) ? " (system folders)" : "";
    terminal.Out(TCycleSetup::SafetyWord(item.GetSafety()) + "\t" +
                 TCliTerminal::Printable(cli_names::Title(item.GetOption(), item.GetOptionName())) + reach + "\t" +
                 shown + "\t" + item.GetSizeText() + "\t" + std::to_string(ByteSize(item)));
}

void TCliSession::SummarizeObjectLines()
{
    if (alteredPaths_ > 0)
        terminal.Message(std::to_string(alteredPaths_) + (alteredPaths_ == 1 ? " path holds" : " paths hold") +
                         " control characters, shown as \"?\" in the lines above; --null and --json give "
                         "them exactly.");
    if (unlistedBins_ > 0)
        terminal.Message("The Recycle Bin is not listed by --null: it is emptied as a whole.");
}

std::string TCliSession::DefaultPreferencesFile()
{
    const std::string self = platform::ExecutablePath();
    const size_t slash = self.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "quillswp32.prefs";
}

std::shared_ptr<ICleanupOptionsList> TCliSession::CreateOptions(const TPreferenceValues& prefs)
{
    auto catalogue = TEngineServices::CreateCleanupOptionsList();
    TCycleSetup::ApplyCustomMasks(*catalogue, prefs);
    return catalogue;
}

int TCliSession::LoadPreferences()
{
    // Never saved here, and a clean's statistics are not added to them: the tool cannot overwrite
    // what a running window keeps.
    auto values = std::make_unique<TPreferenceValues>(false);
    if (request.noPrefs) {
        values->SetDefaults();
    } else {
        const std::string file = request.prefsFile.empty() ? DefaultPreferencesFile() : request.prefsFile;
        if (!request.prefsFile.empty() && platform::DirectoryExists(file)) {
            terminal.Message("The preferences file \"" + file + "\" is a folder.");
            return kExitUsage;
        }
        if (!request.prefsFile.empty() && !platform::FileExists(file)) {
            terminal.Message("The preferences file \"" + file + "\" does not exist.");
            return kExitUsage;
        }
        values->SetFileName(file);
        values->Load();
    }
    InstallPreferences(std::move(values));
    TPreferenceValues& prefs = Preferences();
    if (request.command == TCliCommand::Clean)
        recycle = request.recycle || (!request.secure && !request.noPrefs && TCycleSetup::RecycleChosen(prefs));
    if (recycle)
        prefs.SecureDeleteFiles = false;
    if (request.secure)
        prefs.SecureDeleteFiles = true;
    if (request.passes > 0)
        prefs.SecureDeletePasses = static_cast<uint8_t>(request.passes);
    if (request.random)
        prefs.RandomRewritePattern = true;
    if (request.customFiles)
        prefs.CustomFiles = *request.customFiles;
    if (request.customDirectories)
        prefs.CustomDirectories = *request.customDirectories;
    return -1;
}

int TCliSession::ResolveTargets()
{
    for (const std::string& given : request.targets) {
        // The targets travel joined by ";": a name holding one would become two other targets.
        if (given.find(';') != std::string::npos) {
            terminal.Message("The target \"" + given + "\" cannot be cleaned: its name holds a \";\".");
            return kExitUsage;
        }
        // The same folder given twice, spelled two ways, would have its objects listed twice.
        const std::string target = TidyTarget(given);
        const bool repeated = std::any_of(targets.begin(), targets.end(),
                                          [&](const std::string& known) { return SameTarget(known, target); });
        if (!repeated)
            targets.push_back(target);
    }
    const std::string problem = TCycleSetup::CheckTargets(targets);
    if (!problem.empty()) {
        terminal.Message(problem);
        return kExitUsage;
    }
    selectionText = TStringRoutines::JoinStrings(targets);
    return -1;
}

int TCliSession::ResolveSelection()
{
    TPreferenceValues& prefs = Preferences();
    if (request.hasOptionList) {
        unsigned bits = 0;
        std::string error;
        if (!ParseOptionList(request.optionList, bits, error)) {
            terminal.Message(error);
            return kExitUsage;
        }
        mask = TCleanupOptionSet(bits);
        const int unavailable = TCycleSetup::FirstUnavailable(*options, mask);
        if (unavailable >= 0) {
            terminal.Message(TCycleSetup::FormatText(cycle_texts::kOptionNotAvailable,
                                                     options->GetOption(unavailable)->GetName()));
            return kExitUsage;
        }
    } else if (request.presetSafe || request.presetDefault || request.presetAll) {
        mask = TCycleSetup::PresetMask(*options, request.presetSafe      ? opSafe
                                                 : request.presetDefault ? opDefault
                                                                         : opAll);
    } else if (request.presetStored) {
        mask = TCycleSetup::RestoreMask(*options, prefs);
    } else {
        terminal.Message("No clean-up options were chosen.");
        return kExitUsage;
    }
    if (mask.Empty()) {
        terminal.Message(cycle_texts::kNoOptionsSelected);
        return kExitUsage;
    }
    return -1;
}

int TCliSession::CheckReportFile()
{
    // Found out before a clean, not when its report is to be saved.
    if (!request.reportFile.empty() && platform::DirectoryExists(request.reportFile)) {
        terminal.Message("The report file \"" + request.reportFile + "\" is a folder.");
        return kExitUsage;
    }
    return -1;
}

int TCliSession::LoadSettings()
{
    int status = CheckReportFile();
    if (status >= 0)
        return status;
    status = LoadPreferences();
    if (status >= 0)
        return status;
    options = CreateOptions(Preferences());
    return -1;
}

int TCliSession::Prepare()
{
    int status = LoadSettings();
    if (status >= 0)
        return status;
    status = ResolveTargets();
    if (status >= 0)
        return status;
    status = ResolveSelection();
    if (status >= 0)
        return status;
    broadcast = TEngineServices::CreateBroadcastParameters();
    objects = TEngineServices::CreateCleanupList(std::make_shared<TCRC32>());
    objects->SetSorted(true);
    cleanReport = TEngineServices::CreateCleanReport();
    return -1;
}

std::string TCliSession::Counters()
{
    return "[Found: " + TNumberRoutines::GroupThousands(static_cast<int64_t>(broadcast->GetFoundCount())) + ", " +
           TNumberRoutines::FormatCapacity(broadcast->GetFoundCapacity()) + "]";
}

bool TCliSession::RunWorker(IInterfacedThread& worker, const std::shared_ptr<TSynchronizer>& synchronizer)
{
    bool interrupted = false;
    worker.Start();
    for (;;) {
        synchronizer->WaitForWork(std::chrono::milliseconds(50));
        synchronizer->ProcessPending();
        if (!synchronizer->TakeNotices().empty())
            break;
        if (platform::InterruptRequested() && !interrupted) {
            interrupted = true;
            terminal.Message("Stopping; press Ctrl-C again to force the exit (the report and document are then lost).");
            // As the Stop button: waits for the worker while still serving its calls.
            worker.Stop();
        }
    }
    worker.Stop();
    terminal.ClearProgress();
    return interrupted || platform::InterruptRequested();
}

bool TCliSession::Scan()
{
    auto synchronizer = std::make_shared<TSynchronizer>();
    auto dispatch = std::make_shared<TCliScanDispatch>(*this, synchronizer);
    auto scanner = TEngineServices::CreateScanner();
    scanner->SetDispatch(dispatch);
    scanner->SetContext(
        TCycleSetup::CreateScannerContext(Preferences(), broadcast, options, objects, selectionText, mask));
    return RunWorker(*scanner, synchronizer);
}

bool TCliSession::Clean()
{
    auto synchronizer = std::make_shared<TSynchronizer>();
    auto dispatch = std::make_shared<TCliCleanDispatch>(*this, synchronizer);
    cleanOutcomes.assign(static_cast<size_t>(std::max(0, objects->GetCount())), 0);
    removedBytes.assign(cleanOutcomes.size(), 0);
    destinations.assign(cleanOutcomes.size(), std::string());
    recorder.Begin(objects->GetCount());
    for (const int32_t index : changedSinceReview)
        recorder.Leave(index, clean_record::TReason::ChangedSinceReview);
    auto cleaner = TEngineServices::CreateCleaner();
    cleaner->SetDispatch(dispatch);
    cleaner->SetContext(TCycleSetup::CreateCleanerContext(Preferences(), broadcast, objects, cleanReport,
                                                          selectionText, mask,
                                                          recycle ? TRecycleChoice::On : TRecycleChoice::Off));
    return RunWorker(*cleaner, synchronizer);
}
