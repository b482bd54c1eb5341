#pragma once
// The catalogue of the 23 clean-up options, and where each option looks.
#include "engine/uEngineInterfaces.h"

#include <array>

class TCleanupOptionsListItem : public ICleanupOptionsListItem {
public:
    TCleanupOptionsListItem(bool excludedFromDefault, TSafetyClass safety, std::string name, std::string description,
                            const std::string& plainMasks, TObjectKind kind, bool available);

    bool GetExcludedFromDefault() override { return excludedFromDefault_; }
    TSafetyClass GetSafety() override { return safety_; }
    int32_t GetSafetyIndex() override { return static_cast<int32_t>(safety_); }
    std::string GetName() override { return name_; }
    std::string GetDescription() override { return description_; }
    std::string GetMasks() override;
    void SetMasks(const std::string& masks) override;
    TObjectKind GetObjectKind() override { return kind_; }
    bool GetAvailable() override { return available_; }

    // The masks as stored (scrambled).
    const std::string& StoredMasks() const { return masks_; }
    // Self-inverse substitution of the printable characters 33..126; everything else passes.
    static std::string Scramble(const std::string& text);

private:
    bool excludedFromDefault_;
    TSafetyClass safety_;
    std::string name_;
    std::string description_;
    std::string masks_;
    TObjectKind kind_;
    bool available_;
};

class TCleanupOptionsList : public ICleanupOptionsList {
public:
    TCleanupOptionsList();

    std::shared_ptr<ICleanupOptionsListItem> GetOption(int32_t index) override;
    std::shared_ptr<ICleanupOptionsListItem> GetItem(int32_t index) override;

private:
    std::array<std::shared_ptr<ICleanupOptionsListItem>, 23> items_;
};

// Where an option's objects are searched.
enum TOptionSource : uint8_t {
    osNone,
    osTemporaryDirectories,
    osRecycleBin,
    osWindowsParentDir,
    osPrefetchDir,
    osTargets,
    osRecentDir,
    osStartMenuDirs,
    osDesktopDirs,
    osInternetCacheDir,
    osCookiesDir,
    osFirefoxProfilesDir,
    osSkypeDirs,
    osTrashDirs,     // ".Trashes" directly inside each target
    osSpotlightDirs, // ".Spotlight-V100" directly inside each target
};

struct TCleanupOptionRule {
    TOptionSource source;
    TValidatorType implicitValidator;
    // The temporary and Internet cache directories are left to their own options.
    bool excludesTemporaryDirectories;
};

class TCleanupOptionRules {
public:
    // The rule of an option index 0..22; an index outside gives a rule that searches nothing.
    static const TCleanupOptionRule& Get(int option);
    // Whether the option searches only the targets and folders inside them, never the system's
    // own folders; a tool that must reach no further than what the user named asks this.
    static bool UsesTargets(int option);
    // The existing source directories of the option now (the recycle bin has none).
    static std::vector<std::string> ResolveSources(int option, const std::vector<std::string>& targets);
    // Whether the entry at path, found inside the option's sources, is never listed nor entered:
    // in the temporary folders, another user's entries and those a running session needs.
    static bool LeavesAlone(int option, const std::string& path);
    // The same for an entry already held, known by its name and whether the user owns it.
    static bool LeavesAlone(int option, const std::string& name, bool ownedByCurrentUser);
};
