#include "cycle/uCycleSetup.h"

#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "platform/PlatformDirectory.h"
#include "prefs/uSettings.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"

namespace cycle_texts {
const char* const kNoPhysicalMedia =
    "\"%s\" does not have physical media present or is an invalid disk or directory.\r\n"
    "Please insert the physical media or select a valid disk or directory.";
const char* const kReadOnlyLocation =
    "\"%s\" is a read-only location on the disk.\r\nYou cannot perform clean operations on it.\r\n"
    "Please select another location or remove this one from the clean-up list.";
const char* const kUnreadableLocation =
    "\"%s\" cannot be read.\r\nYou cannot perform clean operations on it.\r\n"
    "Please select another location or remove this one from the clean-up list.";
const char* const kSolidStateWarning =
    "It appears that your system contains a solid-state drive (SSD) device that is not compatible with the "
    "Secure Delete algorithm which causes massive SSD memory cells wear.\r\nAre you sure you want to continue?";
const char* const kNoOptionsSelected =
    "No clean-up options were selected.\r\nPlease select at least one clean-up option before continuing.";
const char* const kUnsafeItemsWarning =
    "It appears that there is at least one unsafe item checked in this list.\r\nAre you sure you want to continue?";
const char* const kOptionNotAvailable =
    "\"%s\" is not available because the program that generates these objects is not installed on your "
    "computer.\r\nPlease chose another clean-up option instead.";
const char* const kNoResults = "The search criteria returned no results. Please review the scanner settings.";
const char* const kObjectsHeader = " Objects [Selected: %s / %s, Capacity: %s / %s]";
} // namespace cycle_texts

namespace {

// Replaces the "%s" fields of format in order.
std::string Fill(const char* format, const std::vector<std::string>& arguments)
{
    std::string text;
    size_t next = 0;
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            if (next < arguments.size())
                text += arguments[next++];
            ++p;
        } else {
            text += *p;
        }
    }
    return text;
}

} // namespace

std::string TCycleSetup::SafetyWord(TSafetyClass safety)
{
    switch (safety) {
    case scSafe: return "Safe";
    case scPotentiallyUnsafe: return "Potentially Unsafe";
    default: return "Unsafe";
    }
}

std::string TCycleSetup::FormatText(const char* format, const std::string& argument)
{
    return Fill(format, {argument});
}

std::string TCycleSetup::FormatText(const char* format, const std::vector<std::string>& arguments)
{
    return Fill(format, arguments);
}

std::string TCycleSetup::CheckTargets(const std::vector<std::string>& targets)
{
    for (const std::string& target : targets) {
        if (!TDirectoryRoutines::IsDirectory(target))
            return FormatText(cycle_texts::kNoPhysicalMedia, target);
        // A folder that cannot be listed cannot be scanned: that is no question of writing.
        bool hasEntries = false;
        if (!platform::DirectoryHasEntries(target, hasEntries))
            return FormatText(cycle_texts::kUnreadableLocation, target);
        if (TDetect::IsDirectoryReadOnly(target))
            return FormatText(cycle_texts::kReadOnlyLocation, target);
    }
    return {};
}

bool TCycleSetup::AnyOnSolidStateDrive(const std::vector<std::string>& targets)
{
    for (const std::string& target : targets)
        if (TDetect::IsSolidStateDrive(target))
            return true;
    return false;
}

TCleanupOptionSet TCycleSetup::PresetMask(ICleanupOptionsList& options, TOptionPreset preset)
{
    TCleanupOptionSet mask;
    for (int i = 0; i < CleanupOptionCount; ++i) {
        const auto option = options.GetOption(i);
        if (!option || !option->GetAvailable())
            continue;
        const bool member = preset == opAll || (preset == opSafe && option->GetSafety() == scSafe) ||
                            (preset == opDefault && !option->GetExcludedFromDefault());
        if (member)
            mask.Include(i);
    }
    return mask;
}

TCleanupOptionSet TCycleSetup::RestoreMask(ICleanupOptionsList& options, const TPreferenceValues& prefs)
{
    const TCleanupOptionSet stored(prefs.CleanupOptions);
    if (prefs.FirstRun && stored.Empty())
        return PresetMask(options, opSafe);
    TCleanupOptionSet mask;
    for (int i = 0; i < CleanupOptionCount; ++i) {
        const auto option = options.GetOption(i);
        if (stored.Contains(i) && option && option->GetAvailable())
            mask.Include(i);
    }
    return mask;
}

int TCycleSetup::FirstUnavailable(ICleanupOptionsList& options, TCleanupOptionSet mask)
{
    for (int i = 0; i < CleanupOptionCount; ++i) {
        if (!mask.Contains(i))
            continue;
        const auto option = options.GetOption(i);
        if (!option || !option->GetAvailable())
            return i;
    }
    return -1;
}

void TCycleSetup::ApplyCustomMasks(ICleanupOptionsList& options, const TPreferenceValues& prefs)
{
    options.GetOption(21)->SetMasks(prefs.CustomFiles);
    options.GetOption(22)->SetMasks(prefs.CustomDirectories);
}

std::shared_ptr<IScannerValidators> TCycleSetup::BuildValidators(const TPreferenceValues& prefs)
{
    auto validators = TEngineServices::CreateScannerValidators(prefs.IgnoreOnImplicitValidator);
    if (prefs.FileDateValidator) {
        const bool buttons[] = {prefs.DateCreated, prefs.DateModified, prefs.DateAccessed, prefs.DateOlder,
                                prefs.DateNewer};
        int mode = 0;
        for (int i = 0; i < 5; ++i)
            if (buttons[i]) {
                mode = i;
                break;
            }
        validators->Add(svFileDate, {mode, TValidatorDateText::Format(prefs.ValidatorDate)});
    }
    if (prefs.FileAttributesValidator)
        validators->Add(svFileAttributes, {prefs.AttributeArchive, prefs.AttributeReadOnly, prefs.AttributeHidden,
                                           prefs.AttributeSystem});
    if (prefs.FileContentsValidator)
        validators->Add(svFileContents, {prefs.Containing, prefs.CaseSensitive});
    if (prefs.FileSizeValidator)
        validators->Add(svFileSize, {prefs.MinimumSize, prefs.MaximumSize});
    return validators;
}

std::shared_ptr<IScannerContext> TCycleSetup::CreateScannerContext(
    const TPreferenceValues& prefs, const std::shared_ptr<IBroadcastParameters>& broadcast,
    const std::shared_ptr<ICleanupOptionsList>& options, const std::shared_ptr<ICleanupList>& objects,
    const std::string& selectionText, TCleanupOptionSet mask)
{
    return TEngineServices::CreateScannerContext(broadcast, options, objects, mask, selectionText, prefs.ExcludeFiles,
                                                 prefs.ExcludeDirectories, prefs.IgnoreSymbolicLinks,
                                                 BuildValidators(prefs));
}

std::string TCycleSetup::SettingsFile(const TPreferenceValues& prefs)
{
    return TSettings::FileBeside(prefs.GetFileName());
}

bool TCycleSetup::RecycleChosen(const TPreferenceValues& prefs, TRecycleChoice choice)
{
    if (choice != TRecycleChoice::Stored)
        return choice == TRecycleChoice::On;
    TSettings settings;
    settings.Load(SettingsFile(prefs));
    return settings.Recycle();
}

std::shared_ptr<ICleanerContext> TCycleSetup::CreateCleanerContext(
    const TPreferenceValues& prefs, const std::shared_ptr<IBroadcastParameters>& broadcast,
    const std::shared_ptr<ICleanupList>& objects, const std::shared_ptr<ICleanReport>& cleanReport,
    const std::string& selectionText, TCleanupOptionSet mask, TRecycleChoice recycle)
{
    const bool toBin = RecycleChosen(prefs, recycle);
    return TEngineServices::CreateCleanerContext(broadcast, objects, mask, TDirectoryRoutines::GetTemporaryDirectories(),
                                                 prefs.SecureDeleteFiles && !toBin, prefs.SecureDeletePasses,
                                                 prefs.RandomRewritePattern, cleanReport,
                                                 TStringRoutines::SplitString(selectionText, ';'), prefs.Confirmations,
                                                 prefs.DiskSpaceGain, prefs.ProgramRuns, toBin);
}

void TCycleSetup::CheckSafe(ICleanupList& objects, IBroadcastParameters& broadcast)
{
    objects.CheckSafety(scSafe);
    broadcast.SetSelectedCount(objects.GetCheckedCount());
    broadcast.SetSelectedCapacity(objects.GetCheckedSize());
}

void TCycleSetup::CheckAll(ICleanupList& objects, IBroadcastParameters& broadcast, bool checked)
{
    objects.CheckAll(checked);
    broadcast.SetSelectedCount(checked ? objects.GetCount() : 0);
    broadcast.SetSelectedCapacity(checked ? broadcast.GetFoundCapacity() : 0);
}

std::string TCycleSetup::ObjectsHeader(IBroadcastParameters& broadcast)
{
    return Fill(cycle_texts::kObjectsHeader,
                {TNumberRoutines::GroupThousands(static_cast<int64_t>(broadcast.GetSelectedCount())),
                 TNumberRoutines::GroupThousands(static_cast<int64_t>(broadcast.GetFoundCount())),
                 TNumberRoutines::FormatCapacity(broadcast.GetSelectedCapacity()),
                 TNumberRoutines::FormatCapacity(broadcast.GetFoundCapacity())});
}
