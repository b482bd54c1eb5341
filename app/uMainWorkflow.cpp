// The main window's scan-review-clean workflow: the engine objects of the cycle, the three panes,
// the checks before scanning and cleaning, the workers and their dispatch, and the commands of
// both pages.
#include "cycle/uCycleSetup.h"
#include "app/uMainController.h"
#include "engine/uEngineImplementation.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"

#include <exception>

// ---- Set-up ----

void TMainController::CreateEngineObjects()
{
    broadcast_ = TEngineServices::CreateBroadcastParameters();
    options_ = TEngineServices::CreateCleanupOptionsList();
    objects_ = TEngineServices::CreateCleanupList(std::make_shared<TCRC32>());
    objects_->SetSorted(true);
    cleanReport_ = TEngineServices::CreateCleanReport();
}

void TMainController::CreatePanes(IMainPanesFactory& panes)
{
    targetsPane_ = panes.CreateTargetsPane();
    optionsPane_ = panes.CreateOptionsPane(options_);
    TObjectsPaneEvents events;
    events.onSelectionCountChanged = [this](uint32_t selectedCount) { SelectionCountChanged(selectedCount); };
    objectsPane_ = panes.CreateObjectsPane(objects_, broadcast_, std::move(events));
}

void TMainController::WireWorkflowCommands()
{
    controls_.OnCommand(TMainControl::mcUninstall, [this] { windowServices_.ShowUninstall(); });
    controls_.OnCommand(TMainControl::mcDriveInfo, [this] { ShowDriveInformation(); });
    controls_.OnCommand(TMainControl::mcSetSafe, [this] { optionsPane_->ApplyPreset(opSafe); });
    controls_.OnCommand(TMainControl::mcSetDefault, [this] { optionsPane_->ApplyPreset(opDefault); });
    controls_.OnCommand(TMainControl::mcSetAll, [this] { optionsPane_->ApplyPreset(opAll); });
    controls_.OnCommand(TMainControl::mcSetNone, [this] { optionsPane_->ApplyPreset(opNone); });
    controls_.OnCommand(TMainControl::mcContinue, [this] { Continue(); });

    controls_.OnCommand(TMainControl::mcBack, [this] { Back(); });
    controls_.OnCommand(TMainControl::mcStop, [this] { Stop(); });
    controls_.OnCommand(TMainControl::mcReport, [this] { ShowReport(); });
    controls_.OnCommand(TMainControl::mcCheckSafe, [this] { objectsPane_->ApplyCheckPreset(ocSafe); });
    controls_.OnCommand(TMainControl::mcCheckAll, [this] { objectsPane_->ApplyCheckPreset(ocAll); });
    controls_.OnCommand(TMainControl::mcCheckNone, [this] { objectsPane_->ApplyCheckPreset(ocNone); });
    controls_.OnCommand(TMainControl::mcClean, [this] { CleanClicked(); });
    controls_.OnCommand(TMainControl::mcUndoClean, [this] { UndoClean(); });
}

void TMainController::LoadWorkflowStrings()
{
    controls_.SetText(TMainControl::mcUninstall, "Uninstall Applications");
    controls_.SetText(TMainControl::mcDriveInfo, "Drive Information");
    controls_.SetText(TMainControl::mcSetSafe, "Set Safe");
    controls_.SetText(TMainControl::mcSetDefault, "Set Default");
    controls_.SetText(TMainControl::mcSetAll, "Set All");
    controls_.SetText(TMainControl::mcSetNone, "Set None");
    controls_.SetText(TMainControl::mcContinue, "Continue >");

    controls_.SetText(TMainControl::mcBack, "< Back");
    controls_.SetText(TMainControl::mcStop, "Stop");
    controls_.SetText(TMainControl::mcReport, "Report");
    controls_.SetText(TMainControl::mcCheckSafe, "Check Safe");
    controls_.SetText(TMainControl::mcCheckAll, "Check All");
    controls_.SetText(TMainControl::mcCheckNone, "Check None");
    controls_.SetText(TMainControl::mcClean, cleanDone_ ? main_texts::kRepeat : main_texts::kClean);
    controls_.SetText(TMainControl::mcUndoClean, undo_texts::kUndoClean);
}

// ---- First page ----

void TMainController::ResetToFirstPage()
{
    targetsPane_->RefreshSelectionStatus();
    workflow_.ShowPage(TMainPage::mpSelection);
    optionsPane_->RestoreChecks();
    EmptyObjects();
    objectsPane_->SetChecksFrozen(false);
    controls_.SetEnabled(TMainControl::mcClean, true);
    controls_.SetText(TMainControl::mcClean, main_texts::kClean);
    cleanDone_ = false;
    state_ = TWorkflowState::wsSelecting;
    OfferUndo(nullptr);
}

void TMainController::EmptyObjects()
{
    objectsPane_->Clear();
    objects_->Clear();
    broadcast_->Reset();
    objectsPane_->RefreshHeader();
}

void TMainController::Continue()
{
    if (state_ != TWorkflowState::wsSelecting)
        return;
    const std::string selection = targetsPane_->SelectionText();
    const std::vector<std::string> targets = TStringRoutines::SplitString(selection, ';');
    const std::string unusable = system_.checkTargets(targets);
    if (!unusable.empty()) {
        Notify(TMsgBoxKind::mkError, unusable, msgbox_buttons::kClose);
        return;
    }
    if (!ConfirmSolidState(targets))
        return;
    optionsMask_ = optionsPane_->StoreChecks();
    if (optionsMask_.Empty()) {
        Notify(TMsgBoxKind::mkInformation, cycle_texts::kNoOptionsSelected, msgbox_buttons::kClose);
        return;
    }
    selectionText_ = selection;
    StartScan();
}

bool TMainController::ConfirmSolidState(const std::vector<std::string>& targets)
{
    if (!prefs_.SecureDeleteFiles)
        return true;
    try {
        if (!system_.anyOnSolidStateDrive(targets))
            return true;
    } catch (const std::exception& error) {
        // The device cannot be asked: the command ends with the system's reason.
        Notify(TMsgBoxKind::mkError, error.what(), msgbox_buttons::kClose);
        return false;
    }
    return Ask(TMsgBoxKind::mkWarning, cycle_texts::kSolidStateWarning, TMsgBoxFocus::mfRefuse,
               msgbox_buttons::kYesNo) == TMsgBoxResult::mrAccept;
}

void TMainController::ShowDriveInformation()
{
    const std::string target = targetsPane_->DriveInformationTarget();
    if (TDetect::HasDrivePrefix(target))
        windowServices_.ShowDriveInfo(target);
    else
        Notify(TMsgBoxKind::mkInformation, TCycleSetup::FormatText(main_texts::kNotADrive, target),
               msgbox_buttons::kClose);
}

// ---- The scan ----

void TMainController::StartScan()
{
    EnterBusy();
    workflow_.ShowPage(TMainPage::mpObjects);
    SetCycleButtons(false, true, false, false, false);
    state_ = TWorkflowState::wsScanning;
    try {
        windowHandle_ = workflow_.WindowHandle();
        scanner_ = TEngineServices::CreateScanner();
        // The controller outlives its workers (its destructor stops them): the pointer does not own.
        scanner_->SetDispatch(std::shared_ptr<IScannerDispatch>(std::shared_ptr<IScannerDispatch>(), this));
        scanner_->SetContext(
            TCycleSetup::CreateScannerContext(prefs_, broadcast_, options_, objects_, selectionText_, optionsMask_));
        scanner_->Start();
    } catch (const std::exception& error) {
        scanner_.reset();
        AbandonStart(TWorkflowState::wsSelecting);
        Notify(TMsgBoxKind::mkError, error.what(), msgbox_buttons::kClose);
    }
}

void TMainController::ScanFinished()
{
    scanner_.reset();
    LeaveBusy();
    SetStatusText(objectsPane_->RowCount() > 0 ? main_texts::kIdle : cycle_texts::kNoResults);
    ++prefs_.ScanCycles;
    EnterReviewing();
}

// ---- The clean ----

void TMainController::CleanClicked()
{
    if (cleanDone_) {
        ResetToFirstPage();
        return;
    }
    if (state_ != TWorkflowState::wsReviewing)
        return;
    // Asked whatever the Confirmations preference says.
    if (objects_->AnyCheckedOfSafety(scUnsafe) &&
        Ask(TMsgBoxKind::mkWarning, cycle_texts::kUnsafeItemsWarning, TMsgBoxFocus::mfRefuse,
            msgbox_buttons::kYesNo) != TMsgBoxResult::mrAccept)
        return;
    if (!ConfirmSolidState(TStringRoutines::SplitString(selectionText_, ';')))
        return;
    SetCycleButtons(false, true, false, false, false);
    StartClean();
}

void TMainController::StartClean()
{
    EnterBusy();
    state_ = TWorkflowState::wsCleaning;
    workflow_.SetProgressMaximum(objectsPane_->RowCount() - 1);
    try {
        windowHandle_ = workflow_.WindowHandle();
        cleaner_ = TEngineServices::CreateCleaner();
        recorder_.Begin(objects_->GetCount());
        cleaner_->SetDispatch(std::shared_ptr<ICleanerDispatch>(std::shared_ptr<ICleanerDispatch>(), this));
        cleaner_->SetContext(TCycleSetup::CreateCleanerContext(prefs_, broadcast_, objects_, cleanReport_,
                                                               selectionText_, optionsMask_));
        cleaner_->Start();
    } catch (const std::exception& error) {
        cleaner_.reset();
        AbandonStart(TWorkflowState::wsReviewing);
        Notify(TMsgBoxKind::mkError, error.what(), msgbox_buttons::kClose);
    }
}

void TMainController::CleanFinished()
{
    const std::shared_ptr<IComputingWindow> computing = workflow_.CreateComputingWindow(false, true, true);
    if (computing)
        computing->Show();
    // Added here, on the thread that shows and saves the statistics, never from the cleaner's.
    if (cleaner_) {
        const TCleanStatistics figures = cleaner_->GetStatistics();
        prefs_.DiskSpaceGain += figures.diskSpaceGain;
        prefs_.ObjectsCleaned += figures.objectsCleaned;
    }
    cleaner_.reset();
    workflow_.SetProgressPosition(0);
    LeaveBusy();
    const std::string recordFile = WriteCleanRecord();
    EmptyObjects();
    ++prefs_.CleanCycles;
    // "< Back" stays disabled: "Repeat" is the way back to the first page.
    SetCycleButtons(false, false, true, false, true);
    controls_.SetText(TMainControl::mcClean, main_texts::kRepeat);
    objectsPane_->SetChecksFrozen(true);
    cleanDone_ = true;
    state_ = TWorkflowState::wsCleaned;
    // Only a clean that moved objects can be undone: after a deletion the page stays as it was.
    if (TCycleSetup::RecycleChosen(prefs_))
        OfferUndo(TUndoClean::ForRecord(recordFile));
    if (computing)
        computing->Close();
}

// While the objects are still listed. A record that cannot be written costs the clean nothing;
// the clean report says so, where the user looks for what the clean did.
std::string TMainController::WriteCleanRecord()
{
    clean_record::TCleanFacts facts;
    facts.from = "window";
    facts.review = "scan";
    facts.targets = TStringRoutines::SplitString(selectionText_, ';');
    facts.options = optionsMask_;
    // As the clean ran: the setting is read as its context was built.
    facts.recycle = TCycleSetup::RecycleChosen(prefs_);
    facts.secureDelete = prefs_.SecureDeleteFiles && !facts.recycle;
    facts.passes = prefs_.SecureDeletePasses;
    facts.randomPattern = prefs_.RandomRewritePattern;
    std::string file;
    const std::string problem = clean_record::WriteRecord(recorder_, facts, *objects_, *options_, &file);
    if (!problem.empty())
        cleanReport_->GetLines().push_back("\r\n" + problem);
    return file;
}

void TMainController::OfferUndo(std::shared_ptr<TUndoClean> undo)
{
    undo_ = std::move(undo);
    controls_.SetVisible(TMainControl::mcUndoClean, undo_ != nullptr);
    TUndoClean::Attach(cleanReport_.get(), undo_);
}

void TMainController::UndoClean()
{
    if (!undo_ || state_ != TWorkflowState::wsCleaned)
        return;
    undo_->Run(messageBoxes_, placement_.MonitorNumber(), workflow_.CreateComputingWindow(true, false, true));
    // Kept while something stays in the bin: the user may free its place and try again.
    if (!undo_->Pending())
        OfferUndo(nullptr);
}

// ---- Second page ----

void TMainController::Back()
{
    if (state_ != TWorkflowState::wsReviewing)
        return;
    // Left first: the emptied list's count must not change the Clean button, which keeps its state.
    state_ = TWorkflowState::wsSelecting;
    targetsPane_->RefreshSelectionStatus();
    workflow_.ShowPage(TMainPage::mpSelection);
    EmptyObjects();
}

// The worker ends with its closing status and posts its finished notice, handled as usual.
void TMainController::Stop()
{
    if (scanner_)
        scanner_->Stop();
    if (cleaner_)
        cleaner_->Stop();
}

void TMainController::ShowReport()
{
    // The Clean button reads "Repeat" exactly when cleanDone_ holds: the found objects are gone
    // then, and the clean report is what the user asks for.
    if (cleanDone_) {
        windowServices_.ShowReport(nullptr, cleanReport_, rkClean);
        // The report may have undone the clean.
        if (undo_ && !undo_->Pending())
            OfferUndo(nullptr);
    } else
        windowServices_.ShowReport(TEngineServices::CreateScanReport(options_, objects_), nullptr, rkScan);
}

void TMainController::SelectionCountChanged(uint32_t selectedCount)
{
    if (state_ == TWorkflowState::wsReviewing)
        controls_.SetEnabled(TMainControl::mcClean, selectedCount > 0);
}

// ---- States ----

void TMainController::EnterBusy()
{
    workflow_.SetBusyCursor(true);
    idle_ = false;
    controls_.SetEnabled(TMainControl::mcMenuBar, false);
    objectsPane_->SetEnabled(false);
}

void TMainController::LeaveBusy()
{
    controls_.SetEnabled(TMainControl::mcMenuBar, true);
    objectsPane_->SetEnabled(true);
    idle_ = true;
    workflow_.SetBusyCursor(false);
}

void TMainController::EnterReviewing()
{
    const bool found = objectsPane_->RowCount() > 0;
    SetCycleButtons(true, false, true, found, found);
    state_ = TWorkflowState::wsReviewing;
}

void TMainController::SetCycleButtons(bool back, bool stop, bool report, bool checks, bool clean)
{
    controls_.SetEnabled(TMainControl::mcBack, back);
    controls_.SetEnabled(TMainControl::mcStop, stop);
    controls_.SetEnabled(TMainControl::mcReport, report);
    controls_.SetEnabled(TMainControl::mcCheckSafe, checks);
    controls_.SetEnabled(TMainControl::mcCheckAll, checks);
    controls_.SetEnabled(TMainControl::mcCheckNone, checks);
    controls_.SetEnabled(TMainControl::mcClean, clean);
}

void TMainController::AbandonStart(TWorkflowState previous)
{
    LeaveBusy();
    if (previous == TWorkflowState::wsSelecting) {
        workflow_.ShowPage(TMainPage::mpSelection);
        state_ = previous;
    } else {
        EnterReviewing();
    }
}

// ---- Dispatch: on the user-interface thread, but GetWindowHandle ----

TWindowHandle TMainController::GetWindowHandle()
{
    return windowHandle_;
}

void TMainController::SetStatusText(const std::string& text)
{
    if (state_ == TWorkflowState::wsCleaning)
        recorder_.NoteStatus(text);
    controls_.SetText(TMainControl::mcStatus, text);
}

std::shared_ptr<ISynchronizer> TMainController::GetSynchronizer()
{
    return workflow_.GetSynchronizer();
}

void TMainController::UpdateCounters()
{
    objectsPane_->RefreshHeader();
}

void TMainController::ObjectFound(const std::shared_ptr<ICleanupListItem>& item)
{
    if (item)
        objectsPane_->Add(item);
}

void TMainController::SetProgress(int32_t position)
{
    workflow_.SetProgressPosition(position);
}

void TMainController::ObjectSkipped(int32_t index, TSkipReason reason)
{
    recorder_.ObjectSkipped(index, reason);
}

void TMainController::ObjectCleaned(int32_t index, bool removed, int64_t removedBytes)
{
    recorder_.ObjectCleaned(index, removed, removedBytes);
}

void TMainController::ObjectMoved(int32_t index, const TMovedObject& moved)
{
    recorder_.ObjectMoved(index, moved);
}

TConfirmAnswer TMainController::ConfirmDelete(const std::string& path)
{
    // The box's results 1 to 4 are the answers yes, yes to all, no, no to all.
    return static_cast<TConfirmAnswer>(Ask(TMsgBoxKind::mkConfirm, TEngineServices::DeleteQuestion(path),
                                           TMsgBoxFocus::mfAccept, msgbox_buttons::kYesNoApplyToAll));
}
