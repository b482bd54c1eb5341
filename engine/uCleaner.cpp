#include "engine/uCleaner.h"

#include "engine/uCleanupOptionsList.h"
#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "engine/uObjectOrigin.h"
#include "engine/uSecureRewrite.h"
#include "platform/PlatformDirectory.h"
#include "platform/PlatformLocale.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"
#include "support/VelaTimeRoutines.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <thread>

namespace {

constexpr int kFinalWaitMilliseconds = 1000;
constexpr int kWaitStepMilliseconds = 50;

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(&text[0], text.size() + 1, format, args);
    va_end(args);
    return text;
}

std::string Count(int64_t value) { return TNumberRoutines::GroupThousands(value); }
std::string Capacity(int64_t ko) { return TNumberRoutines::FormatCapacity(ko); }

bool IsSeparator(char ch) { return ch == '/' || ch == platform::PathSeparator(); }

std::string WithoutTrailingSeparators(std::string path)
{
    while (!path.empty() && IsSeparator(path.back()))
        path.pop_back();
    return path;
}

// The form paths are compared in: no trailing separator and, on Windows, one separator and no
// letter case. Every character keeps its position, so an index into it is one into the path.
std::string Comparable(const std::string& path)
{
    std::string text = WithoutTrailingSeparators(path);
    if (platform::PathSeparator() == '\\')
        for (char& ch : text)
            ch = ch == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

// The bin as the user's desktop names it.
std::string BinName() { return platform::PathSeparator() == '\\' ? "Recycle Bin" : "Trash"; }

} // namespace

TCleaner::~TCleaner()
{
    Shutdown();
}

void TCleaner::SetDispatch(const std::shared_ptr<ICleanerDispatch>& dispatch)
{
    dispatch_ = dispatch;
    SetWindowDispatch(dispatch);
}

TCleanStatistics TCleaner::GetStatistics()
{
    std::lock_guard<std::mutex> lock(statisticsMutex_);
    return statistics_;
}

std::string TCleaner::ElapsedText(int64_t milliseconds)
{
    if (milliseconds < 0)
        milliseconds = 0;
    const int64_t hours = (milliseconds / 3600000) % 24;
    return Format("%02d:%02d:%02d.%03d", static_cast<int>(hours), static_cast<int>(milliseconds / 60000 % 60),
                  static_cast<int>(milliseconds / 1000 % 60), static_cast<int>(milliseconds % 1000));
}

void TCleaner::Execute()
{
    if (!context_)
        return;
    bool stopped = false;
    try {
        BeginReport();
        sources_.clear();
        catalogue_ = TEngineServices::CreateCleanupOptionsList();
        openFiles_ = platform::FilesHeldOpen();
        confirmations_ = context_->GetConfirmations();
        recycle_ = context_->GetRecycle();
        bins_ = recycle_ ? std::make_unique<platform::RecycleBins>() : nullptr;

        std::shared_ptr<ICleanupList> list = context_->GetCleanupList();
        const int32_t count = list ? list->GetCount() : 0;
        TConfirmAnswer remembered = caNone;
        for (int32_t i = 0; i < count; ++i) {
            if (Terminated()) {
                stopped = true;
                break;
            }
            const uint32_t skippedBefore = skippedCount_;
            objectRemovedBytes_ = 0;
            objectDestination_.clear();
            objectModified_ = -1;
            skipReason_ = srFailed;
            objectStatus_.clear();
            std::shared_ptr<ICleanupListItem> item = list->GetItem(i);
            if (item)
                CleanItem(*item, remembered);
            ShowProgress(i, item != nullptr, skippedCount_ == skippedBefore);
        }
        bins_.reset();
        // No folder stays held past the objects: the temporary folders' pass may remove them.
        heldChain_.Drop();
        if (!stopped) {
            if (context_->GetSelectedOptions().Contains(0))
                RemoveEmptyTemporarySubdirectories();
            // Leaves the last status readable before the outcome replaces it; a stop cuts it short.
            const bool hold = dispatch_ && dispatch_->HoldsLastStatus();
            for (int waited = 0; hold && waited < kFinalWaitMilliseconds && !Terminated(); waited += kWaitStepMilliseconds)
                std::this_thread::sleep_for(std::chrono::milliseconds(kWaitStepMilliseconds));
        }
    } catch (const std::exception& error) {
        heldChain_.Drop();
        // The window (a question, a status) or the clean itself failed: nothing more is deleted,
        // but the window must still hear, once, that the clean is over, and why.
        EndClean(ErrorStatus("Clean", error.what()), true, error.what());
        return;
    } catch (...) {
        heldChain_.Drop();
        EndClean(ErrorStatus("Clean", ""), true, "ERROR");
        return;
    }
    EndClean(stopped ? "Clean stopped." : "Clean complete.", stopped);
}

void TCleaner::BeginReport()
{
    startTime_ = platform::LocalNow();
    startClock_ = std::chrono::steady_clock::now();
    skippedList_.clear();
    movedList_.clear();
    notMovedList_.clear();
    movedCount_ = 0;
    movedSize_ = 0;
    if (std::shared_ptr<ICleanReport> report = context_->GetCleanReport()) {
        std::vector<std::string>& lines = report->GetLines();
        lines.clear();
        lines.push_back("Quillsweep " + TDetect::GetProgramVersion() + " Report\r\n");
        lines.push_back("Process started   : " + platform::FormatLocalDateTime(startTime_));
    }
}

void TCleaner::CleanItem(ICleanupListItem& item, TConfirmAnswer& remembered)
{
    if (!item.GetChecked()) {
        skipReason_ = srUnchecked;
        Skip(item.GetPath(), item.GetSize());
    } else if (confirmations_ && item.GetSafety() != scSafe) {
        if (Confirmed(item.GetPath(), remembered))
            CleanChecked(item, true);
        else {
            skipReason_ = srDeclined;
            Skip(item.GetPath(), item.GetSize());
        }
    } else if (item.GetShellFolder() == ShellFolderRecycleBin)
        EmptyRecycleBin(item);
    else
        CleanChecked(item, false);
}

void TCleaner::CleanChecked(ICleanupListItem& item, bool answered)
{
    answered_ = answered;
    int64_t removedBytes = 0;
    // Removed counts what went, however the object changed since the scan; skipped keeps the scan's figure.
    if (DeleteChecked(item, removedBytes)) {
        objectRemovedBytes_ = removedBytes;
        if (!objectDestination_.empty()) {
            ++movedCount_;
            movedSize_ += TNumberRoutines::BytesToKo(removedBytes);
            movedList_.push_back(TStringRoutines::PrintableText(item.GetPath()));
        }
        Remove(item.GetPath(), 1, TNumberRoutines::BytesToKo(removedBytes));
    } else {
        if (skipReason_ == srFailed && StopBeforeDeleting())
            skipReason_ = srStopped;
        Skip(item.GetPath(), item.GetSize());
    }
}

bool TCleaner::Confirmed(const std::string& path, TConfirmAnswer& remembered)
{
    if (remembered != caYesToAll && remembered != caNoToAll) {
        TConfirmAnswer answer = caNo;
        if (dispatch_)
            Synchronize([&] { answer = dispatch_->ConfirmDelete(path); });
        // An answer the box never gives is a refusal: nothing is deleted on a guess.
        if (answer != caYes && answer != caYesToAll && answer != caNoToAll)
            answer = caNo;
        remembered = answer;
    }
    return remembered == caYes || remembered == caYesToAll;
}

void TCleaner::EmptyRecycleBin(ICleanupListItem& item)
{
    const int64_t items = TStringRoutines::DigitsToIntDef(item.GetPath());
    // Shown while the bins are emptied, which may take a while.
    ShowStatus("Deleting: \"" + item.GetOptionName() + "\"");
    bool emptied = false;
    try {
        void* owner = dispatch_ ? reinterpret_cast<void*>(dispatch_->GetWindowHandle()) : nullptr;
        emptied = TAPIRoutines::EmptyRecycleBin(owner);
    } catch (...) {
        emptied = false;
    }
    // Counted only once the bins are really empty: a failure must not read as space gained.
    if (emptied) {
        removedCount_ += static_cast<uint32_t>(items > 0 ? items : 0);
        removedSize_ += item.GetSize();
        objectRemovedBytes_ = item.GetByteSize();
    } else
        Skip(item.GetPath(), item.GetSize());
}

bool TCleaner::DeleteChecked(ICleanupListItem& item, int64_t& removedBytes)
{
    try {
        return DeleteObject(item, removedBytes);
    } catch (...) {
        return false;
    }
}

bool TCleaner::DeleteObject(ICleanupListItem& item, int64_t& removedBytes)
{
    const std::string path = item.GetPath();
    const TObjectOrigin& origin = item.GetOrigin();
    skipReason_ = srChanged;  // until it is found as the scan saw it
    if (!origin.Known() || !IsSourceOf(*origin.root, item.GetOption()))
        return false;
    std::string name;
    platform::DirectoryHandle* held = heldChain_.OpenContainingFolder(origin, path, name);
    if (!held)
        return false;
    platform::DirectoryHandle& folder = *held;
    const std::shared_ptr<ICleanupOptionsListItem> option = catalogue_->GetOption(item.GetOption());
    const bool directories = option && option->GetObjectKind() == okDirectories;
    // Most objects are files deleted outright: the deletion's own look at the object is then the
    // check that it is still the one the scan listed.
    if (!origin.link && !directories && !recycle_ && !context_->GetSecureDelete())
        return DeleteScannedFile(folder, name, origin.identity, removedBytes);
    platform::HeldEntry entry;
    // Only the very object the scan listed: one swapped in under its name since then is not it.
    if (!folder.Describe(name, entry) || !(entry.identity == origin.identity))
        return false;
    // A link goes as a link, whatever it points to.
    if (origin.link || entry.kind == platform::HeldKind::Link) {
        if (!origin.link || entry.kind != platform::HeldKind::Link)
            return false;
        skipReason_ = srFailed;
        if (recycle_)
            return RecycleObject(folder, entry, item, removedBytes);
        return !StopBeforeDeleting() && folder.DeleteEntry(name, entry);
    }
    // A file that became a folder, or the other way round, is no longer what the user checked.
    // A recycling clean moves or keeps: it never falls back to deleting.
    if (recycle_) {
        if (!(entry.kind == platform::HeldKind::Directory && directories && !entry.mountPoint) &&
            !(entry.kind == platform::HeldKind::File && !directories))
            return false;
        skipReason_ = HeldOpen(entry) ? srInUse : srFailed;
        return skipReason_ != srInUse && RecycleObject(folder, entry, item, removedBytes);
    }
    if (entry.kind == platform::HeldKind::Directory && directories)
        return DeleteDirectoryObject(folder, entry, removedBytes);
    if (entry.kind == platform::HeldKind::File && !directories)
        return DeleteFileObject(folder, entry, removedBytes);
    return false;
}

bool TCleaner::IsSourceOf(const std::string& root, TCleanupOption option)
{
    auto found = sources_.find(option);
    if (found == sources_.end()) {
        // Both the folder as given and as the scan walked it (long names), in comparable form.
        std::vector<std::string> roots;
        for (const std::string& source : TCleanupOptionRules::ResolveSources(option, context_->GetTargets())) {
            if (source.empty())
                continue;
            for (const std::string& form : {source, TDirectoryRoutines::NormalizeFolderPath(source)}) {
                const std::string comparable = Comparable(form);
                if (std::find(roots.begin(), roots.end(), comparable) == roots.end())
                    roots.push_back(comparable);
            }
        }
        found = sources_.emplace(option, std::move(roots)).first;
    }
    return std::find(found->second.begin(), found->second.end(), Comparable(root)) != found->second.end();
}

bool TCleaner::DeleteFileObject(platform::DirectoryHandle& folder, const platform::HeldEntry& file,
                                int64_t& removedBytes)
{
    skipReason_ = HeldOpen(file) ? srInUse : srFailed;
    if (skipReason_ == srInUse)
        return false;
    if (context_->GetSecureDelete()) {
        // Through the object checked above; a hard-linked or read-only file is never opened.
        platform::FileHandle handle = folder.OpenForRewrite(file.name, file.identity);
        TSecureRewriteFile rewrite(context_->GetRandomPattern());
        rewrite.SetStopRequest([this] { return Terminated(); });
        if (!handle.IsOpen() || !rewrite.Rewrite(handle, context_->GetSecureDeletePasses()))
            return false;
    }
    // Looked at again after a rewrite, which may take long: still the object checked, and what
    // it holds now is what its removal frees. Without one, the look just taken stands.
    platform::HeldEntry now = file;
    if (context_->GetSecureDelete() &&
        (!folder.Describe(file.name, now) || now.kind != file.kind || !(now.identity == file.identity)))
        return false;
    if (StopBeforeDeleting() || !folder.DeleteEntry(file.name, file))
        return false;
    removedBytes = now.size;
    return true;
}

bool TCleaner::DeleteScannedFile(platform::DirectoryHandle& folder, const std::string& name,
                                 const platform::FileIdentity& identity, int64_t& removedBytes)
{
    platform::HeldEntry expected;
    expected.name = name;
    expected.kind = platform::HeldKind::File;
    expected.identity = identity;
    skipReason_ = HeldOpen(expected) ? srInUse : srFailed;
    if (skipReason_ == srInUse || StopBeforeDeleting())
        return false;
    platform::HeldEntry removed;
    if (folder.DeleteEntry(name, expected, &removed)) {
        removedBytes = removed.size;
        return true;
    }
    // Refused: still the file scanned (then the system would not let it go), or another object now.
    platform::HeldEntry now;
    if (!folder.Describe(name, now) || now.kind != expected.kind || !(now.identity == identity))
        skipReason_ = srChanged;
    return false;
}

bool TCleaner::DeleteDirectoryObject(platform::DirectoryHandle& folder, const platform::HeldEntry& directory,
                                     int64_t& removedBytes)
{
    skipReason_ = srFailed;
    platform::DirectoryHandle held = folder.OpenSubdirectory(directory.name, &directory.identity);
    if (!held.IsOpen())
        return false;
    std::vector<platform::HeldEntry> entries;
    if (held.List(entries) && entries.empty())
        return !StopBeforeDeleting() && folder.RemoveSubdirectory(directory.name, directory.identity);
    // The folder stays and is emptied; files held open inside it stay too, as Windows would keep them.
    TTreeDeletion rules;
    rules.mayDelete = [this](const platform::HeldEntry& entry) { return !HeldOpen(entry); };
    rules.stopRequested = [this] { return Terminated(); };
    rules.removed = [&removedBytes](const platform::HeldEntry& entry) { removedBytes += entry.size; };
    return TDirectoryRoutines::DeleteTreeContents(held, true, true, rules);
}

bool TCleaner::RecycleObject(platform::DirectoryHandle& folder, const platform::HeldEntry& entry,
                             ICleanupListItem& item, int64_t& removedBytes)
{
    if (StopBeforeDeleting())
        return false;
    const platform::RecycleOutcome outcome = bins_->Move(folder, entry.name, entry, item.GetPath());
    switch (outcome.result) {
    case platform::RecycleResult::Moved: break;
    case platform::RecycleResult::Changed: skipReason_ = srChanged; return false;
    case platform::RecycleResult::NoBin:
    case platform::RecycleResult::Failed:
        skipReason_ = outcome.result == platform::RecycleResult::NoBin ? srNoBin : srFailed;
        notMovedList_.push_back(TStringRoutines::PrintableText(item.GetPath()) + "  [" + outcome.reason + "]");
        return false;
    }
    // A folder moves whole: what it holds stays used in the bin, as the scan measured it.
    const int64_t scanned = item.GetByteSize() >= 0 ? item.GetByteSize() : item.GetSize() * 1024;
    removedBytes = entry.kind == platform::HeldKind::Directory ? scanned : entry.size;
    objectDestination_ = outcome.destination;
    objectModified_ = entry.kind == platform::HeldKind::File ? entry.modified : -1;
    return true;
}

bool TCleaner::HeldOpen(const platform::HeldEntry& entry)
{
    return entry.kind == platform::HeldKind::File && openFiles_.count(entry.identity) != 0;
}

void TCleaner::RemoveEmptyTemporarySubdirectories()
{
    TTreeDeletion rules;
    rules.stopRequested = [this] { return Terminated(); };
    // What the scan never lists there, this pass never removes either.
    rules.mayDelete = [](const platform::HeldEntry& entry) {
        return !TCleanupOptionRules::LeavesAlone(0, entry.name, entry.ownedByCurrentUser);
    };
    for (const std::string& dir : context_->GetTempDirectories()) {
        if (dir.empty())
            continue;
        try {
            TDirectoryRoutines::DeleteTree(dir, TFileRoutines::IncludeTrailingSeparator(dir), false, true, rules);
        } catch (...) {
            // One temporary folder that cannot be read leaves the others to be tidied.
        }
    }
}

// Both count before the status is shown: a window that fails must not lose what was done.
void TCleaner::Remove(const std::string& text, uint32_t count, int64_t size)
{
    removedCount_ += count;
    removedSize_ += size;
    objectStatus_ = (objectDestination_.empty() ? "Deleting: \"" : "Moving to the " + BinName() + ": \"") + text + "\"";
}

void TCleaner::Skip(const std::string& path, int64_t size)
{
    skippedSize_ += size;
    ++skippedCount_;
    // A name cannot add lines to the report.
    skippedList_.push_back(TStringRoutines::PrintableText(path));
    objectStatus_ = "Skipping \"" + path + "\"";
}

void TCleaner::ShowStatus(const std::string& text)
{
    statusText_ = text;
    if (dispatch_)
        Synchronize([this] { dispatch_->SetStatusText(statusText_); });
}

void TCleaner::ShowProgress(int32_t index, bool reached, bool removed)
{
    progressIndex_ = index;
    // One call to the user-interface thread per object, its status included, however much it is told.
    if (dispatch_)
        Synchronize([this, reached, removed] {
            if (!objectStatus_.empty()) {
                statusText_.swap(objectStatus_);
                objectStatus_.clear();
                dispatch_->SetStatusText(statusText_);
            }
            if (reached && !removed)
                dispatch_->ObjectSkipped(progressIndex_, skipReason_);
            if (reached && removed && !objectDestination_.empty())
                dispatch_->ObjectMoved(progressIndex_, {objectDestination_, objectRemovedBytes_, objectModified_});
            if (reached)
                dispatch_->ObjectCleaned(progressIndex_, removed, objectRemovedBytes_);
            dispatch_->SetProgress(progressIndex_);
        });
}

void TCleaner::EndClean(const std::string& outcome, bool stopped, const std::string& stopReason)
{
    {
        std::lock_guard<std::mutex> lock(statisticsMutex_);
        // What went to a bin still holds its space.
        statistics_.diskSpaceGain = static_cast<uint32_t>(removedSize_ - movedSize_);
        statistics_.objectsCleaned = removedCount_;
    }
    // Each step is kept from the next one's failure: the finished notice must always go.
    try {
        WriteSummary(stopped, stopReason);
    } catch (...) {
    }
    try {
        ShowStatus(outcome);
    } catch (...) {
    }
    try {
        PostFinished(WM_CLEANFINISHED);
    } catch (...) {
    }
}

void TCleaner::WriteSummary(bool stopped, const std::string& stopReason)
{
    std::shared_ptr<IBroadcastParameters> figures = context_->GetBroadcastParameters();
    const int64_t foundCount = figures ? figures->GetFoundCount() : 0;
    const int64_t foundCapacity = figures ? figures->GetFoundCapacity() : 0;
    const int64_t selectedCount = figures ? figures->GetSelectedCount() : 0;
    const int64_t selectedCapacity = figures ? figures->GetSelectedCapacity() : 0;

    std::shared_ptr<ICleanReport> report = context_->GetCleanReport();
    if (!report)
        return;
    std::vector<std::string>& lines = report->GetLines();
    lines.push_back(Format("Total objects     : %8s    Total size: %9s", Count(foundCount).c_str(), Capacity(foundCapacity).c_str()));
    lines.push_back(Format("Selected objects  : %8s    Total size: %9s", Count(selectedCount).c_str(),
                           Capacity(selectedCapacity).c_str()));
    lines.push_back(Format("Removed objects   : %8s    Total size: %9s", Count(removedCount_).c_str(),
                           Capacity(removedSize_).c_str()));
    lines.push_back(Format("Skipped objects   : %8s    Total size: %9s", Count(skippedCount_).c_str(),
                           Capacity(skippedSize_).c_str()));
    if (recycle_)
        lines.push_back(Format("Moved to the bin  : %8s    Total size: %9s", Count(movedCount_).c_str(),
                               Capacity(movedSize_).c_str()));
    lines.push_back(Format("Disk space gain   : %11s Total size: %9s", Capacity(removedSize_ - movedSize_).c_str(),
                           Capacity(foundCapacity).c_str()));
    if (recycle_)
        lines.push_back("Space still used  : " + TStringRoutines::Trim(Capacity(movedSize_)) + " until the " +
                        BinName() + " is emptied");
    // The running total, as the statistics will hold it once the caller has added this clean.
    const uint32_t totalGain = context_->GetDiskSpaceGain() + static_cast<uint32_t>(removedSize_ - movedSize_);
    lines.push_back(Format("Total space gain  : %11s Total runs: %6s times", Capacity(totalGain).c_str(),
                           Count(context_->GetProgramRuns()).c_str()));
    const std::string now = platform::FormatLocalDateTime(platform::LocalNow());
    if (stopped) {
        lines.push_back("Process stopped   : " + now + " [ " + (stopReason.empty() ? "MANUAL" : stopReason) + " ]");
    } else {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - startClock_);
        lines.push_back("Process completed : " + now + " Duration: " +
                        TTimeRoutines::CompactDuration(ElapsedText(elapsed.count())));
    }
    lines.push_back("\r\nSkipped objects list:\r\n");
    lines.insert(lines.end(), skippedList_.begin(), skippedList_.end());
    if (!recycle_)
        return;
    lines.push_back("\r\nMoved to the " + BinName() + ":\r\n");
    lines.insert(lines.end(), movedList_.begin(), movedList_.end());
    if (!notMovedList_.empty()) {
        lines.push_back("\r\nNot moved to the " + BinName() + " (left in place):\r\n");
        lines.insert(lines.end(), notMovedList_.begin(), notMovedList_.end());
    }
}

std::shared_ptr<ICleaner> TEngineServices::CreateCleaner()
{
    return std::make_shared<TCleaner>();
}

std::string TEngineServices::DeleteQuestion(const std::string& path)
{
    return "Delete the file: \"" + path + "\"?";
}
