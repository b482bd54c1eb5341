#pragma once
// One run of the tool: its settings, targets, option selection, the engine objects of the cycle,
// and the loop that serves a worker while it runs.
#include "cycle/uCleanRecord.h"
#include "cli/CliArguments.h"
#include "cli/CliTerminal.h"
#include "engine/uEngineThreads.h"
#include "prefs/VelaPreferences.h"

#include <memory>
#include <string>
#include <vector>

class TCliSession {
public:
    TCliSession(const TCliRequest& request, TCliTerminal& terminal);

    // Settings, targets and selection; -1 to go on, else the exit status (the reason printed).
    int Prepare();
    // The same from a saved review (request.fromFile) instead of a scan: its targets and options,
    // and its objects, checked only when still as it describes them (cli/CliReview.cpp).
    int PrepareReview();
    // Runs the scan; returns whether Ctrl-C stopped it.
    bool Scan();
    // Runs the clean of the checked objects; returns whether Ctrl-C stopped it.
    bool Clean();

    const TCliRequest& request;
    TCliTerminal& terminal;
    std::vector<std::string> targets;
    std::string selectionText;
    TCleanupOptionSet mask;
    std::shared_ptr<IBroadcastParameters> broadcast;
    std::shared_ptr<ICleanupOptionsList> options;
    std::shared_ptr<ICleanupList> objects;
    std::shared_ptr<ICleanReport> cleanReport;
    // The worker's closing status text ("Scan complete.", "Clean stopped." ...).
    std::string finalStatus;
    // Per listed object, what the clean did: 0 not reached, 1 removed, 2 skipped.
    std::vector<signed char> cleanOutcomes;
    std::vector<int64_t> removedBytes;  // by object: what its removal freed
    // The clean moves objects to the Recycle Bin (Trash): --recycle, or the stored setting
    // unless --secure or --no-prefs; by object, where each went.
    bool recycle = false;
    std::vector<std::string> destinations;
    // What became of each object, for the clean's record.
    clean_record::TCleanRecorder recorder;
    // Objects checked in the review that are no longer as it describes them, by list position.
    std::vector<int32_t> changedSinceReview;
    // Where the clean's record went, or why it could not be written.
    std::string recordFile;
    std::string recordProblem;

    // Writes a found object to standard output as the request asks: a line, a NUL-ended path or nothing.
    void ShowObject(ICleanupListItem& item);
    // Tells on standard error what the object lines could not show exactly.
    void SummarizeObjectLines();
    // The object's path; the Recycle Bin, which has none, as the shell names it.
    static std::string ObjectPath(ICleanupListItem& item);
    static int64_t ByteSize(ICleanupListItem& item);

    // The program's preferences file beside the tool.
    static std::string DefaultPreferencesFile();
    // Catalogue with the stored custom masks, as the window prepares it.
    static std::shared_ptr<ICleanupOptionsList> CreateOptions(const TPreferenceValues& prefs);

private:
    int LoadPreferences();
    int CheckReportFile();
    // What every clean and scan starts from: a usable report file, the preferences, the catalogue.
    int LoadSettings();
    int ReadReview(const nlohmann::ordered_json& document, const std::string& shown);
    int ResolveTargets();
    int ResolveSelection();
    // Serves the worker's calls until its finished notice; Ctrl-C stops it as the Stop button does.
    bool RunWorker(IInterfacedThread& worker, const std::shared_ptr<TSynchronizer>& synchronizer);
    std::string Counters();

    size_t alteredPaths_ = 0;
    size_t unlistedBins_ = 0;

    friend class TCliScanDispatch;
    friend class TCliCleanDispatch;
};
