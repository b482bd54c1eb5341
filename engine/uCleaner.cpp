#include "engine/uCleaner.h"

#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "engine/uSecureRewrite.h"
#include "platform/PlatformDirectory.h"
#include "platform/PlatformLocale.h"
#include "prefs/uPreferences.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"
#include "support/VelaTimeRoutines.h"

#include <cstdarg>
#include <cstdio>
#include <thread>

namespace {

constexpr int kFinalWaitMilliseconds = 1000;
constexpr int kWaitStepMilliseconds = 50;

bool IsLink(uint32_t attributes) { return (attributes & platform::kAttrReparsePoint) != 0; }
bool IsDirectory(uint32_t attributes) { return (attributes & platform::kAttrDirectory) != 0; }

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

// A path whose folders pass through a link was found by walking into that link; deleting it
// would reach outside what was scanned. Drive and file-system roots are never such a link,
// though Wine reports its Z: root, a link to /, as one.
bool ReachedThroughLink(const std::string& path)
{
    std::string current = path;
    for (;;) {
        const std::string parent = TFileRoutines::ExtractFileDir(current);
        if (parent.empty() || parent == current || TFileRoutines::ExtractFileDir(parent) == parent)
            return false;
        const uint32_t attributes = platform::GetAttributesAt(parent);
        if (attributes != platform::kInvalidAttributes && IsLink(attributes))
            return true;
        current = parent;
    }
}

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

std::string TCleaner::DeleteQuestion(const std::string& path)
{
    return "Delete the file: \"" + path + "\"?";
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
    BeginReport();
    catalogue_ = TEngineServices::CreateCleanupOptionsList();
    openFiles_ = platform::FilesHeldOpen();
    const bool confirmations = Preferences().Confirmations;

    std::shared_ptr<ICleanupList> list = context_->GetCleanupList();
    const int32_t count = list ? list->GetCount() : 0;
    TConfirmAnswer remembered = caNone;
    bool stopped = false;
    for (int32_t i = 0; i < count; ++i) {
        if (Terminated()) {
            stopped = true;
            break;
        }
        if (std::shared_ptr<ICleanupListItem> item = list->GetItem(i)) {
            if (!item->GetChecked())
                Skip(item->GetPath(), item->GetSize());
            else if (confirmations && item->GetSafety() != scSafe) {
                if (Confirmed(item->GetPath(), remembered))
                    DeleteObject(*item) ? Remove(item->GetPath(), 1, item->GetSize()) : Skip(item->GetPath(), item->GetSize());
                else
                    Skip(item->GetPath(), item->GetSize());
            } else if (item->GetShellFolder() == ShellFolderRecycleBin)
                EmptyRecycleBin(*item);
            else
                DeleteObject(*item) ? Remove(item->GetPath(), 1, item->GetSize()) : Skip(item->GetPath(), item->GetSize());
        }
        ShowProgress(i);
    }
    if (!stopped) {
        if (context_->GetSelectedOptions().Contains(0))
            RemoveEmptyTemporarySubdirectories();
        // Leaves the last status readable before the outcome replaces it; a stop cuts it short.
        for (int waited = 0; waited < kFinalWaitMilliseconds && !Terminated(); waited += kWaitStepMilliseconds)
            std::this_thread::sleep_for(std::chrono::milliseconds(kWaitStepMilliseconds));
    }
    EndClean(stopped ? "Clean stopped." : "Clean complete.", stopped);
}

void TCleaner::BeginReport()
{
    startTime_ = platform::LocalNow();
    startClock_ = std::chrono::steady_clock::now();
    skippedList_.clear();
    std::vector<std::string>& lines = context_->GetCleanReport()->GetLines();
    lines.clear();
    lines.push_back("Quillsweep " + TDetect::GetProgramVersion() + " Report\r\n");
    lines.push_back("Process started   : " + platform::FormatLocalDateTime(startTime_));
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
    const std::string name = item.GetOptionName();
    ShowStatus("Deleting: \"" + name + "\"");
    void* owner = dispatch_ ? reinterpret_cast<void*>(dispatch_->GetWindowHandle()) : nullptr;
    // Counted only once the bins are really empty: a failure must not read as space gained.
    if (TAPIRoutines::EmptyRecycleBin(owner)) {
        removedCount_ += static_cast<uint32_t>(items > 0 ? items : 0);
        removedSize_ += item.GetSize();
    } else {
        Skip(name, item.GetSize());
    }
}

bool TCleaner::DeleteObject(ICleanupListItem& item)
{
    const std::string path = item.GetPath();
    platform::DirectoryEntry entry;
    if (path.empty() || !platform::QueryEntry(path, entry) || ReachedThroughLink(path))
        return false;
    // A link goes as a link, whatever it points to.
    if (IsLink(entry.attributes))
        return platform::DeleteLinkAt(path);
    const bool isDirectory = IsDirectory(entry.attributes);
    // A file that became a folder, or the other way round, is no longer what the user checked.
    if (std::shared_ptr<ICleanupOptionsListItem> option = catalogue_->GetOption(item.GetOption()))
        if ((option->GetObjectKind() == okDirectories) != isDirectory)
            return false;
    return isDirectory ? DeleteDirectoryObject(path) : DeleteFileObject(path);
}

bool TCleaner::DeleteFileObject(const std::string& path)
{
    if (HeldOpen(path))
        return false;
    if (context_->GetSecureDelete()) {
        std::shared_ptr<ISecureRewriteFile> rewrite = std::make_shared<TSecureRewriteFile>(context_->GetRandomPattern());
        if (!rewrite->Rewrite(path, context_->GetSecureDeletePasses()))
            return false;
    }
    return TFileRoutines::ForceDeleteFile(path);
}

bool TCleaner::DeleteDirectoryObject(const std::string& path)
{
    if (TDirectoryRoutines::IsEmptyDirectory(path))
        return TDirectoryRoutines::ForceRemoveDirectory(path);
    // Files held open inside the folder stay too, as Windows would keep them.
    return TDirectoryRoutines::DeleteTree(path, TFileRoutines::IncludeTrailingSeparator(path), true, true,
                                          [this](const std::string& file) { return !HeldOpen(file); });
}

bool TCleaner::HeldOpen(const std::string& path)
{
    platform::FileIdentity file;
    return !openFiles_.empty() && platform::HeldFileAt(path, file) && openFiles_.count(file) != 0;
}

void TCleaner::RemoveEmptyTemporarySubdirectories()
{
    for (const std::string& dir : context_->GetTempDirectories())
        if (!dir.empty())
            TDirectoryRoutines::DeleteTree(dir, TFileRoutines::IncludeTrailingSeparator(dir), false, true);
}

void TCleaner::Remove(const std::string& text, uint32_t count, int64_t size)
{
    ShowStatus("Deleting: \"" + text + "\"");
    removedCount_ += count;
    removedSize_ += size;
}

void TCleaner::Skip(const std::string& path, int64_t size)
{
    ShowStatus("Skipping \"" + path + "\"");
    skippedSize_ += size;
    ++skippedCount_;
    skippedList_.push_back(path);
}

void TCleaner::ShowStatus(const std::string& text)
{
    statusText_ = text;
    if (dispatch_)
        Synchronize([this] { dispatch_->SetStatusText(statusText_); });
}

void TCleaner::ShowProgress(int32_t index)
{
    progressIndex_ = index;
    if (dispatch_)
        Synchronize([this] { dispatch_->SetProgress(progressIndex_); });
}

void TCleaner::EndClean(const std::string& outcome, bool stopped)
{
    TPreferenceValues& preferences = Preferences();
    preferences.DiskSpaceGain += static_cast<uint32_t>(removedSize_);
    preferences.ObjectsCleaned += removedCount_;

    std::shared_ptr<IBroadcastParameters> figures = context_->GetBroadcastParameters();
    const int64_t foundCount = figures ? figures->GetFoundCount() : 0;
    const int64_t foundCapacity = figures ? figures->GetFoundCapacity() : 0;
    const int64_t selectedCount = figures ? figures->GetSelectedCount() : 0;
    const int64_t selectedCapacity = figures ? figures->GetSelectedCapacity() : 0;

    std::vector<std::string>& lines = context_->GetCleanReport()->GetLines();
    lines.push_back(Format("Total objects     : %8s    Total size: %9s", Count(foundCount).c_str(), Capacity(foundCapacity).c_str()));
    lines.push_back(Format("Selected objects  : %8s    Total size: %9s", Count(selectedCount).c_str(),
                           Capacity(selectedCapacity).c_str()));
    lines.push_back(Format("Removed objects   : %8s    Total size: %9s", Count(removedCount_).c_str(),
                           Capacity(removedSize_).c_str()));
    lines.push_back(Format("Skipped objects   : %8s    Total size: %9s", Count(skippedCount_).c_str(),
                           Capacity(skippedSize_).c_str()));
    lines.push_back(Format("Disk space gain   : %11s Total size: %9s", Capacity(removedSize_).c_str(),
                           Capacity(foundCapacity).c_str()));
    lines.push_back(Format("Total space gain  : %11s Total runs: %6s times", Capacity(preferences.DiskSpaceGain).c_str(),
                           Count(preferences.ProgramRuns).c_str()));
    const std::string now = platform::FormatLocalDateTime(platform::LocalNow());
    if (stopped) {
        lines.push_back("Process stopped   : " + now + " [ MANUAL ]");
    } else {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - startClock_);
        lines.push_back("Process completed : " + now + " Duration: " +
                        TTimeRoutines::CompactDuration(ElapsedText(elapsed.count())));
    }
    lines.push_back("\r\nSkipped objects list:\r\n");
    lines.insert(lines.end(), skippedList_.begin(), skippedList_.end());

    ShowStatus(outcome);
    PostFinished(WM_CLEANFINISHED);
}

std::shared_ptr<ICleaner> TEngineServices::CreateCleaner()
{
    return std::make_shared<TCleaner>();
}
