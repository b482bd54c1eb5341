// The main window's scan-review-clean workflow: the real scanner and cleaner run on a small
// scratch tree, their calls served by the test thread through the view's synchronizer.
// Only target-based clean-up options are used (13 Temporary Files, 21 Custom Files), so no
// system folder is ever searched or cleaned.
#include "MainTestSupport.h"
#include "TestSupport.h"
#include "support/RoutinesTestHelpers.h"

#include "cycle/uCleanRecord.h"
#include "prefs/uSettings.h"

#include <algorithm>
#include <filesystem>

namespace {

using namespace main_testing;
using testing_support::TempDir;
using testing_support::WriteBytes;
using Texts = std::vector<std::string>;

constexpr int kTemporaryFiles = 13;
constexpr int kCustomFiles = 21;

class MainWorkflow : public MainFixture {
protected:
    // Two files the temporary-files option finds, one it leaves.
    void MakeTree()
    {
        WriteBytes(dir.File("a.tmp"), "aaaa");
        WriteBytes(dir.File("b.tmp"), std::string(3000, 'b'));
        WriteBytes(dir.File("keep.txt"), "k");
    }
    bool Exists(const std::string& name) { return std::filesystem::exists(dir.Path() / name); }

    // A controller whose targets are the scratch folder and whose only ticked option is option.
    std::unique_ptr<TMainController> CreateFor(int option)
    {
        auto controller = Create();
        panes.targets->selection = dir.Str();
        panes.optionsPane->checked = TCleanupOptionSet(1u << option);
        return controller;
    }

    void Press(TMainControl control) { view.commands.at(control)(); }

    // "Continue >" and the whole scan.
    void Scan(TMainController& controller)
    {
        Press(TMainControl::mcContinue);
        ASSERT_EQ(TWorkflowState::wsScanning, controller.State());
        EXPECT_EQ(WM_SCANFINISHED, FinishWorker());
        EXPECT_EQ(TWorkflowState::wsReviewing, controller.State());
    }

    // The commands of the second page that are enabled, with the menu bar and the objects list.
    Texts Enabled()
    {
        const std::pair<TMainControl, const char*> controls[] = {
            {TMainControl::mcBack, "< Back"},         {TMainControl::mcStop, "Stop"},
            {TMainControl::mcReport, "Report"},       {TMainControl::mcCheckSafe, "Check Safe"},
            {TMainControl::mcCheckAll, "Check All"},  {TMainControl::mcCheckNone, "Check None"},
            {TMainControl::mcClean, "Clean"},         {TMainControl::mcMenuBar, "menu bar"}};
        Texts names;
        for (const auto& [control, name] : controls)
            if (view.Enabled(control))
                names.push_back(name);
        if (panes.objects->enabled)
            names.push_back("list");
        return names;
    }

    Texts RowNames()
    {
        Texts names;
        for (const auto& row : panes.objects->rows)
            names.push_back(std::filesystem::u8path(row->GetPath()).filename().u8string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
};

const Texts kReviewing = {"< Back", "Report", "Check Safe", "Check All", "Check None", "Clean", "menu bar", "list"};

} // namespace

TEST_F(MainWorkflow, StatesEnableTheirCommands)
{
    MakeTree();
    auto controller = CreateFor(kTemporaryFiles);
    EXPECT_EQ(TWorkflowState::wsSelecting, controller->State());
    EXPECT_EQ(TMainPage::mpSelection, view.page);
    EXPECT_EQ("Clean", view.texts[TMainControl::mcClean]);

    Press(TMainControl::mcContinue);
    EXPECT_EQ(TWorkflowState::wsScanning, controller->State());
    EXPECT_EQ(TMainPage::mpObjects, view.page);
    EXPECT_EQ((Texts{"Stop"}), Enabled());
    EXPECT_TRUE(view.busy);
    EXPECT_FALSE(view.events.onCloseQuery()) << "no closing while a worker runs";
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(main_texts::kBusyClose, boxes.shown[0].text);

    EXPECT_EQ(WM_SCANFINISHED, FinishWorker());
    EXPECT_EQ(TWorkflowState::wsReviewing, controller->State());
    EXPECT_EQ(kReviewing, Enabled());
    EXPECT_FALSE(view.busy);
    Press(TMainControl::mcCheckNone);
    EXPECT_FALSE(view.Enabled(TMainControl::mcClean)) << "Clean needs a checked object";
    Press(TMainControl::mcCheckSafe);
    EXPECT_FALSE(view.Enabled(TMainControl::mcClean)) << "temporary files are not Safe";
    Press(TMainControl::mcCheckAll);
    EXPECT_TRUE(view.Enabled(TMainControl::mcClean));

    Press(TMainControl::mcClean);
    EXPECT_EQ(TWorkflowState::wsCleaning, controller->State());
    EXPECT_EQ((Texts{"Stop"}), Enabled());
    EXPECT_EQ(1, view.progressMaximum) << "two rows";
    EXPECT_FALSE(view.events.onCloseQuery());

    EXPECT_EQ(WM_CLEANFINISHED, FinishWorker());
    EXPECT_EQ(TWorkflowState::wsCleaned, controller->State());
    EXPECT_EQ((Texts{"Report", "Clean", "menu bar", "list"}), Enabled());
    EXPECT_EQ("Repeat", view.texts[TMainControl::mcClean]);
    EXPECT_TRUE(controller->CleanDone());
    EXPECT_TRUE(panes.objects->frozen);
    EXPECT_TRUE(view.events.onCloseQuery());

    Press(TMainControl::mcClean);
    EXPECT_EQ(TWorkflowState::wsSelecting, controller->State());
    EXPECT_EQ(TMainPage::mpSelection, view.page);
    EXPECT_EQ("Clean", view.texts[TMainControl::mcClean]);
    EXPECT_TRUE(view.Enabled(TMainControl::mcClean));
    EXPECT_FALSE(panes.objects->frozen);
}

TEST_F(MainWorkflow, ChecksBeforeScanningStopInTheirOrder)
{
    auto controller = CreateFor(kTemporaryFiles);
    const std::string missing = dir.File("gone");
    const auto expectNothingStarted = [&](const char* what) {
        EXPECT_EQ(TWorkflowState::wsSelecting, controller->State()) << what;
        EXPECT_EQ(TMainPage::mpSelection, view.page) << what;
    };
    const auto last = [&] { return boxes.shown.back(); };

    panes.targets->selection = missing + ";" + dir.Str();
    readOnly = {dir.Str()};
    prefs.SecureDeleteFiles = true;
    solidState = true;
    Press(TMainControl::mcContinue);
    EXPECT_EQ((Texts{TCycleSetup::FormatText(cycle_texts::kNoPhysicalMedia, missing)}), boxes.Texts());
    EXPECT_EQ(TMsgBoxKind::mkError, last().kind);
    EXPECT_EQ(msgbox_buttons::kClose, last().buttons);
    EXPECT_TRUE(solidStateAsked.empty());
    expectNothingStarted("missing medium");

    panes.targets->selection = dir.Str() + ";" + missing;
    Press(TMainControl::mcContinue);
    EXPECT_EQ(TCycleSetup::FormatText(cycle_texts::kReadOnlyLocation, dir.Str()), last().text);
    EXPECT_EQ(TMsgBoxKind::mkError, last().kind);
    EXPECT_TRUE(solidStateAsked.empty());
    expectNothingStarted("read-only");

    readOnly.clear();
    panes.targets->selection = dir.Str();
    boxes.answers = {TMsgBoxResult::mrRefuse};
    Press(TMainControl::mcContinue);
    EXPECT_EQ(cycle_texts::kSolidStateWarning, last().text);
    EXPECT_EQ(TMsgBoxKind::mkWarning, last().kind);
    EXPECT_EQ(msgbox_buttons::kYesNo, last().buttons);
    EXPECT_EQ(TMsgBoxFocus::mfRefuse, last().focus);
    EXPECT_EQ((Texts{dir.Str()}), solidStateAsked);
    expectNothingStarted("solid-state drive refused");

    solidStateError = "The device is not ready.";
    Press(TMainControl::mcContinue);
    EXPECT_EQ("The device is not ready.", last().text) << "the device query's error ends the command";
    EXPECT_EQ(TMsgBoxKind::mkError, last().kind);
    EXPECT_EQ(4u, boxes.shown.size());
    EXPECT_TRUE(std::find(panes.optionsPane->log.begin(), panes.optionsPane->log.end(), "store") ==
                panes.optionsPane->log.end())
        << "no check before stored the options";
    expectNothingStarted("device error");

    solidStateError.clear();
    panes.optionsPane->checked = TCleanupOptionSet();
    Press(TMainControl::mcContinue);
    ASSERT_EQ(6u, boxes.shown.size()) << "the accepted warning, then the missing options";
    EXPECT_EQ(cycle_texts::kSolidStateWarning, boxes.shown[4].text);
    EXPECT_EQ(cycle_texts::kNoOptionsSelected, last().text);
    EXPECT_EQ(TMsgBoxKind::mkInformation, last().kind);
    EXPECT_EQ(msgbox_buttons::kClose, last().buttons);
    EXPECT_EQ("store", panes.optionsPane->log.back());
    expectNothingStarted("no options");

    prefs.SecureDeleteFiles = false;
    solidStateAsked.clear();
    Press(TMainControl::mcContinue);
    EXPECT_TRUE(solidStateAsked.empty()) << "drives are asked about only for secure deletion";
    EXPECT_EQ(7u, boxes.shown.size());
}

TEST_F(MainWorkflow, ChecksBeforeCleaningAskAboutUnsafeItemsThenSolidStateDrives)
{
    MakeTree();
    prefs.CustomFiles = "*.tmp"; // option 21: Unsafe
    auto controller = CreateFor(kCustomFiles);
    Scan(*controller);
    ASSERT_EQ((Texts{"a.tmp", "b.tmp"}), RowNames());

    boxes.answers = {TMsgBoxResult::mrRefuse};
    Press(TMainControl::mcClean);
    ASSERT_EQ(1u, boxes.shown.size()) << "asked without the Confirmations preference";
    EXPECT_EQ(cycle_texts::kUnsafeItemsWarning, boxes.shown[0].text);
    EXPECT_EQ(TMsgBoxKind::mkWarning, boxes.shown[0].kind);
    EXPECT_EQ(msgbox_buttons::kYesNo, boxes.shown[0].buttons);
    EXPECT_EQ(TMsgBoxFocus::mfRefuse, boxes.shown[0].focus);
    EXPECT_EQ(TWorkflowState::wsReviewing, controller->State());
    EXPECT_EQ(kReviewing, Enabled());

    prefs.SecureDeleteFiles = true;
    solidState = true;
    boxes.answers = {TMsgBoxResult::mrAccept, TMsgBoxResult::mrRefuse};
    Press(TMainControl::mcClean);
    EXPECT_EQ((Texts{cycle_texts::kUnsafeItemsWarning, cycle_texts::kUnsafeItemsWarning,
                     cycle_texts::kSolidStateWarning}),
              boxes.Texts());
    EXPECT_EQ((Texts{dir.Str()}), solidStateAsked) << "the scan's targets";
    EXPECT_EQ(TWorkflowState::wsReviewing, controller->State());

    solidStateError = "Access is denied.";
    Press(TMainControl::mcClean);
    EXPECT_EQ("Access is denied.", boxes.shown.back().text);
    EXPECT_EQ(TMsgBoxKind::mkError, boxes.shown.back().kind);
    EXPECT_EQ(TWorkflowState::wsReviewing, controller->State());
    EXPECT_EQ(kReviewing, Enabled());
    EXPECT_TRUE(Exists("a.tmp") && Exists("b.tmp"));
}

TEST_F(MainWorkflow, ACycleFindsCleansAndReports)
{
    MakeTree();
    prefs.DiskSpaceGain = 100;
    prefs.ObjectsCleaned = 10;
    auto controller = CreateFor(kTemporaryFiles);
    Scan(*controller);
    EXPECT_EQ("Idle", view.Status());
    EXPECT_EQ((Texts{"a.tmp", "b.tmp"}), RowNames());
    EXPECT_EQ(0u, panes.objects->header.find(" Objects [Selected: 2 / 2, Capacity: ")) << panes.objects->header;
    EXPECT_TRUE(std::find(view.statusTexts.begin(), view.statusTexts.end(),
                          "Found: \"" + dir.File("a.tmp") + "\"") != view.statusTexts.end());
    EXPECT_EQ(1u, prefs.ScanCycles);

    Press(TMainControl::mcReport);
    ASSERT_EQ(1u, services.reports.size());
    ASSERT_EQ(rkScan, services.reports[0].kind);
    ASSERT_TRUE(services.reports[0].scanReport);
    EXPECT_FALSE(services.reports[0].cleanReport);
    EXPECT_EQ(2, services.reports[0].scanReport->GetTotalFoundCount()) << "over the objects just found";

    Press(TMainControl::mcClean);
    EXPECT_EQ(WM_CLEANFINISHED, FinishWorker());
    EXPECT_FALSE(Exists("a.tmp"));
    EXPECT_FALSE(Exists("b.tmp"));
    EXPECT_TRUE(Exists("keep.txt"));
    EXPECT_EQ("Clean complete.", view.Status());
    EXPECT_EQ((std::vector<int32_t>{0, 1, 0}), view.progressPositions);
    EXPECT_EQ((Texts{"computing 0,1,1", "computing shown", "computing closed"}), view.computingLog);
    EXPECT_TRUE(panes.objects->rows.empty());
    EXPECT_EQ(0u, panes.objects->header.find(" Objects [Selected: 0 / 0, Capacity: 0 Ko / 0 Ko]"));
    EXPECT_EQ(1u, prefs.CleanCycles);
    EXPECT_EQ(103u, prefs.DiskSpaceGain) << "1 Ko and 2 Ko";
    EXPECT_EQ(12u, prefs.ObjectsCleaned);

    Press(TMainControl::mcReport);
    ASSERT_EQ(2u, services.reports.size());
    ASSERT_EQ(rkClean, services.reports[1].kind);
    ASSERT_TRUE(services.reports[1].cleanReport);
    EXPECT_FALSE(services.reports[1].scanReport);
    const auto& lines = services.reports[1].cleanReport->GetLines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line == "Total space gain  :      103 Ko Total runs:      1 times";
    })) << "the totals the clean started from, and its own gain";

    panes.optionsPane->log.clear();
    Press(TMainControl::mcClean);
    EXPECT_EQ(TMainPage::mpSelection, view.page) << "Repeat";
    EXPECT_EQ((Texts{"restore"}), panes.optionsPane->log);
}

TEST_F(MainWorkflow, EachCleanIsRecordedOrTheReportSaysWhyNot)
{
    TempDir state;
    routines_testing::ScopedEnvironment xdg("XDG_STATE_HOME", state.Str()), local("LOCALAPPDATA", state.Str());
    MakeTree();
    auto controller = CreateFor(kTemporaryFiles);
    Scan(*controller);
    Press(TMainControl::mcClean);
    EXPECT_EQ(WM_CLEANFINISHED, FinishWorker());
    const auto records = clean_record::ReadRecords(clean_record::RecordsFolder());
    ASSERT_EQ(1u, records.size());
    const clean_record::Json& record = records[0].record;
    EXPECT_EQ("window", record["from"]);
    EXPECT_EQ("delete", record["mode"]);
    EXPECT_FALSE(view.visible[TMainControl::mcUndoClean]) << "a deletion cannot be undone: no button";
    EXPECT_EQ("complete", record["status"]["code"]);
    ASSERT_EQ(2u, record["objects"].size());
    for (const auto& object : record["objects"]) {
        EXPECT_EQ("removed", object["outcome"]);
        EXPECT_EQ(kTemporaryFiles, object["option"]);
        EXPECT_TRUE(object["identity"].is_object());
    }
    EXPECT_EQ(3004, record["totals"]["removedSize"]);

    // No folder for the records: the clean still runs, and its report says so.
    WriteBytes(state.File("blocked"), "a file where the folder would go");
    routines_testing::ScopedEnvironment blockedXdg("XDG_STATE_HOME", state.File("blocked")),
        blockedLocal("LOCALAPPDATA", state.File("blocked"));
    Press(TMainControl::mcClean);  // Repeat
    MakeTree();
    Scan(*controller);
    Press(TMainControl::mcClean);
    EXPECT_EQ(WM_CLEANFINISHED, FinishWorker());
    EXPECT_FALSE(Exists("a.tmp"));
    EXPECT_EQ("Clean complete.", view.Status());
    Press(TMainControl::mcReport);
    ASSERT_TRUE(services.reports.back().cleanReport);
    EXPECT_NE(std::string::npos,
              services.reports.back().cleanReport->GetLines().back().find("The record of this clean could not be written"));
}

// With the recycle setting on, the objects page offers the clean's undo: asked once, it takes back
// what it can, says what stays in the bin and why, and goes when nothing is left or the page goes.
TEST_F(MainWorkflow, UndoCleanTakesBackWhatTheCleanMovedToTheBin)
{
#ifdef _WIN32
    // Wine's bin is where the process's XDG_DATA_HOME said when it started, which a test cannot
    // move; the window test (ProgramWindows.UndoCleanBringsBack...) runs this cycle under Wine against its own bin.
    GTEST_SKIP() << "the scratch bin is the native build's";
#endif
    TempDir state;
    std::filesystem::create_directories(state.Path() / "data");
    routines_testing::ScopedEnvironment xdg("XDG_STATE_HOME", state.Str()), local("LOCALAPPDATA", state.Str()),
        data("XDG_DATA_HOME", state.File("data"));
    prefs.SetFileName(state.File("quillswp32.prefs"));
    WriteBytes(TSettings::FileBeside(prefs.GetFileName()), "recycle=1\n");
    MakeTree();
    auto controller = CreateFor(kTemporaryFiles);
    Scan(*controller);
    EXPECT_FALSE(view.visible[TMainControl::mcUndoClean]);
    Press(TMainControl::mcClean);
    EXPECT_EQ(WM_CLEANFINISHED, FinishWorker());
    ASSERT_FALSE(Exists("a.tmp"));
    ASSERT_FALSE(Exists("b.tmp"));
    EXPECT_TRUE(view.visible[TMainControl::mcUndoClean]);
    EXPECT_EQ("Undo Clean", view.texts[TMainControl::mcUndoClean]);
    Press(TMainControl::mcReport);
    EXPECT_TRUE(TUndoClean::Of(services.reports.back().cleanReport.get())) << "the clean's report offers it too";

    boxes.shown.clear();
    boxes.answers = {TMsgBoxResult::mrRefuse};
    Press(TMainControl::mcUndoClean);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkConfirm, boxes.shown[0].kind);
    EXPECT_EQ(msgbox_buttons::kYesNo, boxes.shown[0].buttons);
    EXPECT_EQ("Restore the 2 objects this clean moved to the Recycle Bin to their places?", boxes.shown[0].text);
    EXPECT_FALSE(Exists("a.tmp") || Exists("b.tmp")) << "No restores nothing";

    // a.tmp's place is taken again: it stays in the bin, b.tmp comes back.
    WriteBytes(dir.File("a.tmp"), "new");
    boxes.shown.clear();
    view.computingLog.clear();
    Press(TMainControl::mcUndoClean);
    ASSERT_EQ(2u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkWarning, boxes.shown[1].kind) << "something stays in the bin";
    EXPECT_EQ("1 object restored. 1 could not be:\r\n\r\n" + dir.File("a.tmp") +
                  ": Original place taken, left in the bin.",
              boxes.shown[1].text);
    EXPECT_EQ((Texts{"computing 1,0,1", "computing shown", "computing closed"}), view.computingLog);
    EXPECT_EQ(std::string(3000, 'b'), testing_support::ReadBytes(dir.File("b.tmp")));
    EXPECT_EQ("new", testing_support::ReadBytes(dir.File("a.tmp")));
    EXPECT_TRUE(view.visible[TMainControl::mcUndoClean]) << "a.tmp is still in the bin";

    // The user put a.tmp back by hand: it is back already, not a failure.
    std::filesystem::remove(dir.Path() / "a.tmp");
    std::filesystem::rename(state.Path() / "data" / "Trash" / "files" / "a.tmp", dir.Path() / "a.tmp");
    boxes.shown.clear();
    Press(TMainControl::mcUndoClean);
    ASSERT_EQ(2u, boxes.shown.size());
    EXPECT_EQ("Restore the object of this clean still in the Recycle Bin to its place?", boxes.shown[0].text);
    EXPECT_EQ(TMsgBoxKind::mkInformation, boxes.shown[1].kind);
    EXPECT_EQ("0 objects restored, 1 already back at its place.", boxes.shown[1].text);
    EXPECT_EQ("aaaa", testing_support::ReadBytes(dir.File("a.tmp")));
    EXPECT_FALSE(view.visible[TMainControl::mcUndoClean]) << "nothing left to undo";
    EXPECT_FALSE(TUndoClean::Of(services.reports.back().cleanReport.get()));
    const auto records = clean_record::ReadRecords(clean_record::RecordsFolder());
    ASSERT_EQ(1u, records.size());
    for (const auto& object : records[0].record["objects"])
        EXPECT_TRUE(object.contains("restoredAt")) << "saved back, as the tool does";

    // The next cycle starts without it.
    std::filesystem::remove(dir.Path() / "a.tmp");
    Press(TMainControl::mcClean);  // Repeat
    Scan(*controller);
    Press(TMainControl::mcClean);
    EXPECT_EQ(WM_CLEANFINISHED, FinishWorker());
    EXPECT_TRUE(view.visible[TMainControl::mcUndoClean]);
    Press(TMainControl::mcClean);  // Repeat
    EXPECT_FALSE(view.visible[TMainControl::mcUndoClean]);
}

TEST_F(MainWorkflow, TheCleanersQuestionsGoToTheMessageBox)
{
    prefs.Confirmations = true; // temporary files are Potentially Unsafe: each is asked about
    MakeTree();
    WriteBytes(dir.File("c.tmp"), "cc");
    auto controller = CreateFor(kTemporaryFiles);
    Scan(*controller);
    boxes.answers = {TMsgBoxResult::mrRefuse, TMsgBoxResult::mrAcceptAll};
    Press(TMainControl::mcClean);
    FinishWorker();
    ASSERT_EQ(2u, boxes.shown.size()) << "No asks again, Yes with Apply to all does not";
    for (const ShownBox& box : boxes.shown) {
        EXPECT_EQ(TMsgBoxKind::mkConfirm, box.kind);
        EXPECT_EQ(37u, box.buttons);
        EXPECT_EQ(TMsgBoxFocus::mfAccept, box.focus);
        EXPECT_EQ(0u, box.text.find("Delete the file: \"" + dir.Str()));
    }
    const std::string refused = boxes.shown[0].text;
    int kept = 0;
    for (const char* name : {"a.tmp", "b.tmp", "c.tmp"}) {
        const bool asked = refused == "Delete the file: \"" + dir.File(name) + "\"?";
        EXPECT_EQ(asked, Exists(name)) << name;
        kept += Exists(name) ? 1 : 0;
    }
    EXPECT_EQ(1, kept);
}

TEST_F(MainWorkflow, AScanThatFindsNothingLeavesNothingToClean)
{
    WriteBytes(dir.File("keep.txt"), "k");
    auto controller = CreateFor(kTemporaryFiles);
    Scan(*controller);
    EXPECT_EQ("The search criteria returned no results. Please review the scanner settings.", view.Status());
    EXPECT_EQ((Texts{"< Back", "Report", "menu bar", "list"}), Enabled());

    Press(TMainControl::mcBack);
    EXPECT_EQ(TWorkflowState::wsSelecting, controller->State());
    EXPECT_EQ(TMainPage::mpSelection, view.page);
    EXPECT_FALSE(view.Enabled(TMainControl::mcClean)) << "Back leaves the Clean button as it was";
}

TEST_F(MainWorkflow, StopEndsTheScanThroughItsFinishedMessage)
{
    MakeTree();
    auto controller = CreateFor(kTemporaryFiles);
    Press(TMainControl::mcContinue);
    Press(TMainControl::mcStop);
    EXPECT_EQ(TWorkflowState::wsScanning, controller->State()) << "until the finished message";
    EXPECT_EQ(WM_SCANFINISHED, FinishWorker());
    EXPECT_EQ(TWorkflowState::wsReviewing, controller->State());
    EXPECT_TRUE(controller->Idle());
}

TEST_F(MainWorkflow, StatisticsShowTheCounters)
{
    prefs.DiskSpaceGain = 1000;
    prefs.ObjectsCleaned = 1234567;
    prefs.ScanCycles = 12;
    prefs.CleanCycles = 3;
    prefs.ProgramRuns = 999;
    auto controller = Create();
    Press(TMainControl::mcStatistics);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkInformation, boxes.shown[0].kind);
    EXPECT_EQ(msgbox_buttons::kClose, boxes.shown[0].buttons);
    EXPECT_EQ("Disk space gain\t: 1,000 Ko\r\nObjects cleaned\t: 1,234,567\r\nScan cycles\t: 12\r\n"
              "Clean cycles\t: 3\r\nProgram runs\t: 1,000 times",
              boxes.shown[0].text);

    prefs.DiskSpaceGain = 4096;
    Press(TMainControl::mcStatistics);
    EXPECT_EQ(0u, boxes.shown[1].text.find("Disk space gain\t: 4 Mo\r\n"));
}
