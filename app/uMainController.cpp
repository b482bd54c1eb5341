#include "app/uMainController.h"

#include "cycle/uCycleSetup.h"
#include "app/uProgramHelp.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"

namespace main_texts {
const char* const kTitle = "Quillsweep";
const char* const kUnsupportedSystem =
    "Quillsweep does not support %s.\r\nWhile it might run on a reduced functionality set, it is strongly "
    "recommended to use this program with a newer operating system.";
const char* const kSystemName = "Microsoft Windows %s";
const char* const kWelcome =
    "Welcome to Quillsweep!\r\nPlease take some time to read the help before cleanning your disks.\r\n"
    "Misuse of this program may delete your entire data hierarchy.";
const char* const kBusyClose =
    "You cannot close this program while a scan or a clean operation is in progress.\r\n"
    "Please stop the current operation and then close this program.";
const char* const kConfirmClose = "Close Quillsweep?";

const char* const kClean = "Clean";
const char* const kRepeat = "Repeat";
const char* const kIdle = "Idle";
const char* const kNotADrive =
    "The \"%s\" target does not designate a solid-state drive (SSD) or a hard disk drive (HDD).\r\n"
    "Please select another target device drive.";
const char* const kStatistics = "Disk space gain\t: %s\r\nObjects cleaned\t: %s\r\nScan cycles\t: %s\r\n"
                                "Clean cycles\t: %s\r\nProgram runs\t: %s times";
const char* const kDownloadAddress = "https://quillsweep.example/download";
const char* const kUpdatesAddress = "%s?vquery=%s";
const char* const kKeyF2Text = "Quillsweep: sweep the clutter, keep the treasures.";
const char* const kKeyF3Text = "Choose the targets, tick the options, review, then clean.";
const char* const kKeyF6Text = "F6 with F8: you found the broom cupboard. Happy sweeping!";
const char* const kYearGreeting = "Quillsweep keeps your disks tidy in %s too.";
} // namespace main_texts

TSystemQueries TSystemQueries::Current()
{
    return {&TDetect::GetWindowsVersion, &TDetect::GetWindowsVersionText,
            [](const std::string& path) { return TDirectoryRoutines::IsDirectory(path); },
            &TCycleSetup::CheckTargets, &TCycleSetup::AnyOnSolidStateDrive, &platform::LocalNow};
}

TMainController::TMainController(IMainView& view, IMainPanesFactory& panes, IMessageBoxService& messageBoxes,
                                 IWindowServices& windowServices, TPreferenceValues& preferences,
                                 std::vector<std::string> arguments, TSystemQueries system)
    : placement_(view), workflow_(view), controls_(view), messageBoxes_(messageBoxes),
      windowServices_(windowServices), prefs_(preferences), system_(std::move(system))
{
    if (!system_.checkTargets)
        system_.checkTargets = &TCycleSetup::CheckTargets;
    if (!system_.anyOnSolidStateDrive)
        system_.anyOnSolidStateDrive = &TCycleSetup::AnyOnSolidStateDrive;
    if (!system_.now)
        system_.now = &platform::LocalNow;
    commandLine_ = TCommandLine::Interpret(arguments, system_.directoryExists);
    saveTargets_ = commandLine_.saveTargets;
    Initialize();

    // The first showing toggles the state back to the stored one.
    maximized_ = !prefs_.WindowMaximized;
    RestorePlacement();
    if (prefs_.MinimizeToSystemTray)
        EnsureTrayIcon();

    CreateEngineObjects();
    CreatePanes(panes);
    ApplyCustomMasks();
    ApplyFeatureVisibility();
    ++prefs_.ProgramRuns;
    ResetToFirstPage();
}

TMainController::~TMainController()
{
    // Stop serves the worker's last calls, which still reach the view and the panes.
    try {
        Stop();
    } catch (...) {
    }
    scanner_.reset();
    cleaner_.reset();
    TUndoClean::Attach(cleanReport_.get(), nullptr);
    controls_.Events() = {};
}

bool TMainController::DefaultSize(int32_t screenWidth, int32_t screenHeight, int32_t& width, int32_t& height)
{
    if (screenWidth <= 1024 && screenHeight <= 768)
        height = 583;
    else if (screenWidth > 1024 && screenWidth <= 1920 && screenHeight > 768 && screenHeight <= 1200)
        height = screenHeight * 76 / 100;
    else if (screenWidth > 1920 && screenHeight > 1200)
        height = 912;
    else
        return false;
    width = height * 146 / 100;
    return true;
}

void TMainController::WireEvents()
{
    TMainViewEvents& events = controls_.Events();
    events.onFirstShow = [this] { FirstShow(); };
    events.onCloseQuery = [this] { return CloseQuery(); };
    events.onClose = [this] { Close(); };
    events.onKeyDown = [this](uint32_t key) { return KeyDown(key); };
    events.onTitleMouseDown = [this] { placement_.BeginTitleDrag(); };
    events.onTitleDoubleClick = [this] { ToggleMaximized(); };
    events.onTrayClick = [this](TTrayClick click) { TrayClicked(click); };
    events.onAfterFirstShow = [this] { AfterFirstShow(); };
    events.onScanFinished = [this] { ScanFinished(); };
    events.onCleanFinished = [this] { CleanFinished(); };

    controls_.OnCommand(TMainControl::mcMinimize, [this] { MinimizeClicked(); });
    controls_.OnCommand(TMainControl::mcMaximize, [this] { ToggleMaximized(); });
    controls_.OnCommand(TMainControl::mcClose, [this] { controls_.RequestClose(); });

    controls_.OnCommand(TMainControl::mcOptions, [this] { windowServices_.ShowOptions(*this); });
    controls_.OnCommand(TMainControl::mcStatistics, [this] { ShowStatistics(); });
    controls_.OnCommand(TMainControl::mcLegend, [this] { windowServices_.ShowLegend(); });
    controls_.OnCommand(TMainControl::mcHelp, [this] { ShowHelp(); });
    controls_.OnCommand(TMainControl::mcAbout, [this] { windowServices_.ShowAbout(); });
    controls_.OnCommand(TMainControl::mcUpdates, [this] { CheckForUpdates(); });

    controls_.OnCommand(TMainControl::mcTrayRestore, [this] { ToggleShown(); });
    controls_.OnCommand(TMainControl::mcTrayOptions, [this] { windowServices_.ShowOptions(*this); });
    controls_.OnCommand(TMainControl::mcTrayHelp, [this] { ShowHelp(); });
    controls_.OnCommand(TMainControl::mcTrayAbout, [this] { windowServices_.ShowAbout(); });
    controls_.OnCommand(TMainControl::mcTrayClose, [this] { controls_.RequestClose(); });

    WireWorkflowCommands();
}

// The form loads its own glyphs.
void TMainController::LoadImages() {}

void TMainController::LoadStrings()
{
    controls_.SetText(TMainControl::mcTitle, main_texts::kTitle);
    controls_.SetHint(TMainControl::mcMinimize, "Minimize");
    controls_.SetHint(TMainControl::mcMaximize, "Maximize");
    controls_.SetHint(TMainControl::mcClose, "Close");

    controls_.SetText(TMainControl::mcOptions, "&Options");
    controls_.SetText(TMainControl::mcStatistics, "&Statistics");
    controls_.SetText(TMainControl::mcLegend, "&Legend");
    controls_.SetText(TMainControl::mcHelp, "&Help");
    controls_.SetText(TMainControl::mcAbout, "&About");
    controls_.SetText(TMainControl::mcUpdates, "&Updates");

    controls_.SetText(TMainControl::mcTrayRestore, "Minimize");
    controls_.SetText(TMainControl::mcTrayOptions, "&Options");
    controls_.SetText(TMainControl::mcTrayHelp, "&Help");
    controls_.SetText(TMainControl::mcTrayAbout, "&About");
    controls_.SetText(TMainControl::mcTrayClose, "Close");

    LoadWorkflowStrings();
}

int32_t TMainController::ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult)
{
    return ResizeBand(x, y, width, height, systemResult);
}

// ---- Start-up ----

void TMainController::RestorePlacement()
{
    TWindowBounds bounds = placement_.GetBounds();
    bool defaultSized = false;
    // A damaged file may hold negative sizes; they count as none stored.
    if (prefs_.WindowWidth <= 0 || prefs_.WindowHeight <= 0) {
        int32_t screenWidth = 0, screenHeight = 0;
        placement_.ScreenSize(screenWidth, screenHeight);
        defaultSized = DefaultSize(screenWidth, screenHeight, bounds.width, bounds.height);
    } else {
        bounds.width = prefs_.WindowWidth;
        bounds.height = prefs_.WindowHeight;
    }
    if (prefs_.WindowBoundsEmpty()) {
        if (defaultSized)
            placement_.SetSize(bounds.width, bounds.height);
        placement_.CentreOnScreen();
        return;
    }
    bounds.left = prefs_.WindowLeft;
    bounds.top = prefs_.WindowTop;
    placement_.SetBounds(bounds);
}

void TMainController::FirstShow()
{
    if (firstShown_)
        return;
    firstShown_ = true;

    placement_.ApplyTransparencyToAll(prefs_.AllowWindowTransparency, kTransparencyAlpha);
    ShowStartupNotices();
    ToggleMaximized();
    targetsPane_->RestoreTargets();
    ApplyCommandLine();
    CheckDate();
    workflow_.PostAfterFirstShow();
}

void TMainController::ShowStartupNotices()
{
    // Unknown versions count as older than all the table names.
    if (system_.windowsVersion() < wv2000) {
        std::string version = system_.windowsVersionText();
        if (version.empty())
            version = "Unknown";
        const std::string name = TCycleSetup::FormatText(main_texts::kSystemName, version);
        Notify(TMsgBoxKind::mkWarning, TCycleSetup::FormatText(main_texts::kUnsupportedSystem, name),
               msgbox_buttons::kClose);
    }
    if (prefs_.FirstRun) {
        Notify(TMsgBoxKind::mkWarning, main_texts::kWelcome, msgbox_buttons::kClose);
        prefs_.FirstRun = false;
    }
}

// The window's size here; the targets are the targets pane's.
void TMainController::ApplyCommandLine()
{
    if (commandLine_.action == clDefaultSize)
        placement_.SetDesignSize(TCommandLine::kDefaultWidth, TCommandLine::kDefaultHeight);
    targetsPane_->ApplyCommandLine(commandLine_);
}

void TMainController::CheckDate()
{
    const platform::LocalTime now = system_.now();
    if (now.month == 6 && now.day == 24)
        workflow_.SetTitleColor(kMidsummerTitleColor);
    if (now.year >= 2020)
        SetStatusText(TCycleSetup::FormatText(main_texts::kYearGreeting, std::to_string(now.year)));
}

void TMainController::AfterFirstShow()
{
    if (prefs_.MinimizeToSystemTray && prefs_.StartMinimized)
        HideToTray();
}

// ---- Closing ----

bool TMainController::CloseQuery()
{
    const bool escape = escapeClose_;
    escapeClose_ = false;
    if (!idle_) {
        Notify(TMsgBoxKind::mkInformation, main_texts::kBusyClose, msgbox_buttons::kClose);
        return false;
    }
    if (prefs_.Confirmations || escape)
        return Notify(TMsgBoxKind::mkConfirm, main_texts::kConfirmClose, msgbox_buttons::kYesNo) ==
               TMsgBoxResult::mrAccept;
    return true;
}

void TMainController::Close()
{
    prefs_.WindowMaximized = maximized_;
    if (!maximized_) {
        const TWindowBounds bounds = placement_.GetBounds();
        prefs_.WindowLeft = bounds.left;
        prefs_.WindowTop = bounds.top;
        prefs_.WindowWidth = bounds.width;
        prefs_.WindowHeight = bounds.height;
    }
    // Targets given on the command line are for this run only.
    if (saveTargets_)
        targetsPane_->SaveTargets();
    optionsMask_ = optionsPane_->StoreChecks();
    // An icon left behind stays in the notification area until the mouse passes over it.
    if (placement_.HasTrayIcon())
        placement_.RemoveTrayIcon();
}

// ---- Keys ----

bool TMainController::KeyDown(uint32_t key)
{
    switch (key) {
    case keys::kEscape:
        escapeClose_ = true;
        controls_.RequestClose();
        return true;
    case keys::kF1:
        ShowHelp();
        return true;
    case keys::kF2:
        SetStatusText(main_texts::kKeyF2Text);
        return true;
    case keys::kF3:
        SetStatusText(main_texts::kKeyF3Text);
        return true;
    case keys::kF6:
        if (!workflow_.IsKeyDown(keys::kF8))
            return false;
        SetStatusText(main_texts::kKeyF6Text);
        return true;
    default:
        return false;
    }
}

// ---- Chrome and tray ----

void TMainController::ToggleMaximized()
{
    maximized_ = !maximized_;
    placement_.SetMaximized(maximized_);
}

void TMainController::MinimizeClicked()
{
    if (prefs_.MinimizeToSystemTray)
        ToggleShown();
    else
        placement_.MinimizeApplication();
}

void TMainController::ToggleShown()
{
    if (placement_.IsShown()) {
        HideToTray();
        return;
    }
    placement_.SetShown(true);
    windowServices_.BringWindowsToFront();
}

void TMainController::HideToTray()
{
    // Without the icon a hidden window could not be brought back.
    EnsureTrayIcon();
    placement_.SetShown(false);
}

void TMainController::EnsureTrayIcon()
{
    if (!placement_.HasTrayIcon())
        placement_.AddTrayIcon();
    placement_.SetTrayTip(main_texts::kTitle);
}

void TMainController::TrayClicked(TTrayClick click)
{
    if (click == TTrayClick::tcLeft) {
        ToggleShown();
    } else {
        controls_.SetText(TMainControl::mcTrayRestore, placement_.IsShown() ? "Minimize" : "Restore");
        placement_.OpenTrayMenu();
    }
}

void TMainController::UpdateTrayTip()
{
    placement_.SetTrayTip(main_texts::kTitle);
}

// The stored preference changes only when the options are saved.
void TMainController::PreviewMinimizeToTray(bool enabled)
{
    if (enabled) {
        EnsureTrayIcon();
        return;
    }
    if (!placement_.IsShown())
        placement_.SetShown(true);
    if (placement_.HasTrayIcon())
        placement_.RemoveTrayIcon();
}

// ---- What the options window changes or previews ----

void TMainController::SetFileSystemIcons(bool enabled)
{
    objectsPane_->SetFileSystemIcons(enabled);
}

void TMainController::PreviewQuotaMode(bool largestCapacity)
{
    objectsPane_->PreviewQuotaMode(largestCapacity);
}

void TMainController::ApplyFeatureVisibility()
{
    controls_.SetVisible(TMainControl::mcUninstall, prefs_.EnableUninstallApplications);
    controls_.SetVisible(TMainControl::mcDriveInfo, prefs_.EnableDriveInformation);
    targetsPane_->ShowDriveInformation(prefs_.EnableDriveInformation);
}

void TMainController::ApplyCustomMasks()
{
    TCycleSetup::ApplyCustomMasks(*options_, prefs_);
    optionsPane_->ApplyCustomMasks();
}

void TMainController::RepaintOptions()
{
    optionsPane_->Repaint();
}

// ---- Menu bar ----

void TMainController::ShowStatistics()
{
    const auto count = [](uint32_t value) { return TNumberRoutines::GroupThousands(static_cast<int64_t>(value)); };
    const std::string text = TCycleSetup::FormatText(
        main_texts::kStatistics,
        {TNumberRoutines::FormatCapacity(static_cast<int64_t>(prefs_.DiskSpaceGain)), count(prefs_.ObjectsCleaned),
         count(prefs_.ScanCycles), count(prefs_.CleanCycles), count(prefs_.ProgramRuns)});
    Notify(TMsgBoxKind::mkInformation, text, msgbox_buttons::kClose);
}

void TMainController::ShowHelp() { ShowHelpContents(); }

void TMainController::CheckForUpdates()
{
    workflow_.OpenAddress(TCycleSetup::FormatText(main_texts::kUpdatesAddress,
                                              {main_texts::kDownloadAddress, system_.windowsVersionText()}));
}

TMsgBoxResult TMainController::Notify(TMsgBoxKind kind, const std::string& text, uint32_t buttons)
{
    return Ask(kind, text, TMsgBoxFocus::mfAccept, buttons);
}

TMsgBoxResult TMainController::Ask(TMsgBoxKind kind, const std::string& text, TMsgBoxFocus focus, uint32_t buttons)
{
    return messageBoxes_.Execute(kind, text, placement_.MonitorNumber(), focus, buttons);
}
