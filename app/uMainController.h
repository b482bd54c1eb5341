#pragma once
// The main window's controller: the window itself (placement, start-up notices, the tray icon,
// closing, the menu bar; uMainController.cpp) and the scan-review-clean workflow over its three
// panes with the engine's workers (uMainWorkflow.cpp).
#include "cycle/uCleanRecord.h"
#include "app/uCommandLine.h"
#include "app/uControllerInterfaces.h"
#include "app/uMainPanes.h"
#include "app/uMainView.h"
#include "app/uUndoClean.h"
#include "app/uWindowController.h"
#include "engine/uEngineInterfaces.h"
#include "platform/PlatformSystem.h"
#include "prefs/VelaPreferences.h"
#include "prefs/uPreferences.h"

#include <functional>
#include <string>
#include <vector>

namespace main_texts {
extern const char* const kTitle;
extern const char* const kUnsupportedSystem; // %s = system name
extern const char* const kSystemName;        // %s = version text
extern const char* const kWelcome;
extern const char* const kBusyClose;
extern const char* const kConfirmClose;

extern const char* const kClean;
extern const char* const kRepeat;
extern const char* const kIdle;
// %s = the target; the tree's root is selected, not a drive.
extern const char* const kNotADrive;
// Five %s: disk space gain, objects cleaned, scan cycles, clean cycles, program runs.
extern const char* const kStatistics;
// The download page, the one place its address is written.
extern const char* const kDownloadAddress;
// %s = the download page, %s = the operating system's version text.
extern const char* const kUpdatesAddress;
// The status texts of F2, F3 and F6 while F8 is held.
extern const char* const kKeyF2Text;
extern const char* const kKeyF3Text;
extern const char* const kKeyF6Text;
// From 2020 on, at the first showing; %s = the year.
extern const char* const kYearGreeting;
} // namespace main_texts

// The title text's colour on 24 June (0x00BBGGRR).
constexpr uint32_t kMidsummerTitleColor = 0x0500C4;

// What the controller asks of the system; tests replace the answers.
struct TSystemQueries {
    std::function<int()> windowsVersion; // TDetect's numbering, 0 when unknown
    std::function<std::string()> windowsVersionText;
    TCommandLine::TDirectoryExists directoryExists;
    // Left empty, the three below are the real ones.
    // The first unusable target's message (TCycleSetup::CheckTargets); "" when all are usable.
    std::function<std::string(const std::vector<std::string>&)> checkTargets;
    // Whether a target lies on a solid-state drive; raises the device query's error.
    std::function<bool(const std::vector<std::string>&)> anyOnSolidStateDrive;
    std::function<platform::LocalTime()> now;

    static TSystemQueries Current();
};

// Where the scan-and-clean cycle stands.
enum class TWorkflowState : uint8_t {
    wsSelecting, // first page
    wsScanning,  // second page, the scanner runs
    wsReviewing, // second page, the scan's findings
    wsCleaning,  // second page, the cleaner runs
    wsCleaned    // second page, emptied; "Repeat" starts a new cycle
};

// The workers call the dispatch operations on the user-interface thread (through the view's
// synchronizer), except GetWindowHandle, which they ask from their own thread.
class TMainController : public TWindowController,
                        public IMainController,
                        public IScannerDispatch,
                        public ICleanerDispatch {
public:
    static constexpr uint8_t kTransparencyAlpha = 245;

    // arguments: the command line without the program name. panes makes the three panes while
    // the controller initialises.
    TMainController(IMainView& view, IMainPanesFactory& panes, IMessageBoxService& messageBoxes,
                    IWindowServices& windowServices, TPreferenceValues& preferences = Preferences(),
                    std::vector<std::string> arguments = {}, TSystemQueries system = TSystemQueries::Current());
    // Stops a running worker (serving its calls) before anything it uses goes.
    ~TMainController() override;
    TMainController(const TMainController&) = delete;
    TMainController& operator=(const TMainController&) = delete;

    // The window's size on a screen; false when the screen fits none of the sizes and the
    // designed size stays.
    static bool DefaultSize(int32_t screenWidth, int32_t screenHeight, int32_t& width, int32_t& height);

    bool Maximized() const { return maximized_; }
    bool SaveTargets() const { return saveTargets_; }
    // False while a scan or a clean runs.
    bool Idle() const { return idle_; }
    TWorkflowState State() const { return state_; }
    // A clean has finished and the Clean button reads "Repeat".
    bool CleanDone() const { return cleanDone_; }

    void LoadStrings() override;
    int32_t ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult) override;

    void UpdateTrayTip() override;
    void SetFileSystemIcons(bool enabled) override;
    void PreviewQuotaMode(bool largestCapacity) override;
    void ApplyFeatureVisibility() override;
    void PreviewMinimizeToTray(bool enabled) override;
    void ApplyCustomMasks() override;
    void RepaintOptions() override;

    // IWindowDispatch, for both workers.
    TWindowHandle GetWindowHandle() override;
    void SetStatusText(const std::string& text) override;
    std::shared_ptr<ISynchronizer> GetSynchronizer() override;
    // IScannerDispatch
    void UpdateCounters() override;
    void ObjectFound(const std::shared_ptr<ICleanupListItem>& item) override;
    // ICleanerDispatch
    void SetProgress(int32_t position) override;
    TConfirmAnswer ConfirmDelete(const std::string& path) override;
    void ObjectSkipped(int32_t index, TSkipReason reason) override;
    void ObjectCleaned(int32_t index, bool removed, int64_t removedBytes) override;
    void ObjectMoved(int32_t index, const TMovedObject& moved) override;

protected:
    void WireEvents() override;
    void LoadImages() override;

private:
    // Start-up
    void RestorePlacement();
    void FirstShow();
    void ShowStartupNotices();
    void ApplyCommandLine();
    void CheckDate();
    void AfterFirstShow();

    // Closing
    bool CloseQuery();
    void Close();

    bool KeyDown(uint32_t key);

    // Chrome and tray
    void ToggleMaximized();
    void MinimizeClicked();
    void ToggleShown();
    void HideToTray();
    void EnsureTrayIcon();
    void TrayClicked(TTrayClick click);

    // Menu bar
    void ShowStatistics();
    // The one way to the help document (menu bar, tray menu, F1); the help document is not
    // built into the program yet, so it shows nothing.
    void ShowHelp();
    void CheckForUpdates();

    // ---- The workflow (uMainWorkflow.cpp) ----
    void CreateEngineObjects();
    void CreatePanes(IMainPanesFactory& panes);
    void WireWorkflowCommands();
    void LoadWorkflowStrings();

    void ResetToFirstPage();
    // Empties the objects list and the engine's list, resets the counters and the header.
    void EmptyObjects();
    // "Continue >": the checks before scanning, then the scan.
    void Continue();
    // False when the user or a failed device query stops the command.
    bool ConfirmSolidState(const std::vector<std::string>& targets);
    void StartScan();
    void ScanFinished();
    // "Clean" / "Repeat".
    void CleanClicked();
    void StartClean();
    void CleanFinished();
    // The record's file when it could be written, else empty.
    std::string WriteCleanRecord();
    // Offers undo on the objects page and in the clean's report, or withdraws it (null).
    void OfferUndo(std::shared_ptr<TUndoClean> undo);
    void UndoClean();
    void Back();
    void Stop();
    void ShowReport();
    void ShowDriveInformation();
    void SelectionCountChanged(uint32_t selectedCount);

    // Scanning and Cleaning: hourglass, no menu bar, no objects list; and back.
    void EnterBusy();
    void LeaveBusy();
    void EnterReviewing();
    // The second page's buttons.
    void SetCycleButtons(bool back, bool stop, bool report, bool checks, bool clean);
    // A start that failed: nothing runs, the window is as before the command.
    void AbandonStart(TWorkflowState previous);

    TMsgBoxResult Notify(TMsgBoxKind kind, const std::string& text, uint32_t buttons);
    TMsgBoxResult Ask(TMsgBoxKind kind, const std::string& text, TMsgBoxFocus focus, uint32_t buttons);

    // The window's three parts, each reached apart so a function shows which it touches.
    IMainPlacementView& placement_;
    IMainWorkflowView& workflow_;
    IMainControlsView& controls_;
    IMessageBoxService& messageBoxes_;
    IWindowServices& windowServices_;
    TPreferenceValues& prefs_;
    TSystemQueries system_;
    TCommandLine commandLine_;

    bool maximized_ = false;
    bool saveTargets_ = true;
    bool idle_ = true;
    bool firstShown_ = false;
    // The close was asked for with Escape, which always asks back.
    bool escapeClose_ = false;

    // The engine objects of the cycle.
    std::shared_ptr<IBroadcastParameters> broadcast_;
    std::shared_ptr<ICleanupOptionsList> options_;
    std::shared_ptr<ICleanupList> objects_;
    std::shared_ptr<ICleanReport> cleanReport_;

    std::shared_ptr<ITargetsPane> targetsPane_;
    std::shared_ptr<IOptionsPane> optionsPane_;
    std::shared_ptr<IObjectsPane> objectsPane_;

    TWorkflowState state_ = TWorkflowState::wsSelecting;
    bool cleanDone_ = false;
    // The targets and options the scan was given; the clean uses the same.
    std::string selectionText_;
    TCleanupOptionSet optionsMask_;
    // Read by the workers from their thread; set before they start.
    TWindowHandle windowHandle_ = 0;
    // At most one runs; held from its start until its finished message.
    std::shared_ptr<IScanner> scanner_;
    std::shared_ptr<ICleaner> cleaner_;
    // What became of each object of the running clean, recorded when it finishes.
    clean_record::TCleanRecorder recorder_;
    // The last clean's undo while its page shows and objects of it are still in the bin.
    std::shared_ptr<TUndoClean> undo_;
};
