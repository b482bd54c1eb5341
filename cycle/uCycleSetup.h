#pragma once
// What the main window and the command-line tool share around one scan-and-clean cycle:
// the checks on the targets with their texts, the option presets, and the worker contexts
// built from the preference values.
#include "engine/uEngineInterfaces.h"
#include "prefs/VelaPreferences.h"

#include <memory>
#include <string>
#include <vector>

// Message texts of the cycle, as the message boxes show them.
namespace cycle_texts {
extern const char* const kNoPhysicalMedia;  // %s = target
extern const char* const kReadOnlyLocation; // %s = target
extern const char* const kUnreadableLocation; // %s = target
extern const char* const kSolidStateWarning;
extern const char* const kNoOptionsSelected;
extern const char* const kUnsafeItemsWarning;
extern const char* const kOptionNotAvailable; // %s = option title
extern const char* const kNoResults;
extern const char* const kObjectsHeader; // four %s
} // namespace cycle_texts

enum TOptionPreset { opSafe, opDefault, opAll, opNone };

// Whether a clean moves its objects to the Recycle Bin (Trash): as the settings file beside the
// preferences says, or as the caller chose for this clean.
enum class TRecycleChoice { Stored, On, Off };

class TCycleSetup {
public:
    // The safety class as a word: "Safe", "Potentially Unsafe", "Unsafe".
    static std::string SafetyWord(TSafetyClass safety);
    static std::string FormatText(const char* format, const std::string& argument);
    // The "%s" fields of format filled in order.
    static std::string FormatText(const char* format, const std::vector<std::string>& arguments);

    // The first target that is missing, unreadable or read-only, with its message; empty when all are usable.
    static std::string CheckTargets(const std::vector<std::string>& targets);
    // Raises the device query's error when a drive cannot be asked.
    static bool AnyOnSolidStateDrive(const std::vector<std::string>& targets);

    // Option sets; unavailable options are never members.
    static TCleanupOptionSet PresetMask(ICleanupOptionsList& options, TOptionPreset preset);
    // The ticks stored in the preferences; the safe preset on a first run with nothing stored.
    static TCleanupOptionSet RestoreMask(ICleanupOptionsList& options, const TPreferenceValues& prefs);
    // The index of the first unavailable option in mask, or -1.
    static int FirstUnavailable(ICleanupOptionsList& options, TCleanupOptionSet mask);

    // Custom files and directories get their masks from the preferences.
    static void ApplyCustomMasks(ICleanupOptionsList& options, const TPreferenceValues& prefs);
    static std::shared_ptr<IScannerValidators> BuildValidators(const TPreferenceValues& prefs);
    static std::shared_ptr<IScannerContext> CreateScannerContext(
        const TPreferenceValues& prefs, const std::shared_ptr<IBroadcastParameters>& broadcast,
        const std::shared_ptr<ICleanupOptionsList>& options, const std::shared_ptr<ICleanupList>& objects,
        const std::string& selectionText, TCleanupOptionSet mask);
    // The settings file beside the preferences file, or beside the program when prefs has none.
    static std::string SettingsFile(const TPreferenceValues& prefs);
    static bool RecycleChosen(const TPreferenceValues& prefs, TRecycleChoice choice = TRecycleChoice::Stored);
    // selectionText: the ";"-joined targets the scan was given. A recycling clean never overwrites.
    static std::shared_ptr<ICleanerContext> CreateCleanerContext(
        const TPreferenceValues& prefs, const std::shared_ptr<IBroadcastParameters>& broadcast,
        const std::shared_ptr<ICleanupList>& objects, const std::shared_ptr<ICleanReport>& cleanReport,
        const std::string& selectionText, TCleanupOptionSet mask, TRecycleChoice recycle = TRecycleChoice::Stored);

    // "Check Safe" and "Check All" over the found objects, keeping the counters in step.
    static void CheckSafe(ICleanupList& objects, IBroadcastParameters& broadcast);
    static void CheckAll(ICleanupList& objects, IBroadcastParameters& broadcast, bool checked);

    static std::string ObjectsHeader(IBroadcastParameters& broadcast);
};
