#pragma once
#include "prefs/VelaCrypto.h"
#include "prefs/VelaStreams.h"
#include "support/VelaTimeRoutines.h"

#include <cstdint>
#include <memory>
#include <string>

// Loads and saves a signed preferences file beside the executable; subclasses say what is in it.
class TCustomPreferenceValues {
public:
    virtual ~TCustomPreferenceValues() = default;

    // The executable's path with its extension replaced by ".prefs", unless a path was set.
    std::string GetFileName() const;
    // Tests and the command-line tool read another file than the running program's.
    void SetFileName(const std::string& path) { fileName_ = path; }

    void Load();
    // False when the file could not be written; the previous file is then left as it was.
    bool Save();

    static std::string PreferencesFileNameFor(const std::string& executablePath);

protected:
    virtual void SetDefaults() = 0;
    virtual void ReadValues() = 0;
    virtual void WriteValues() = 0;

    // Open only while Load or Save runs.
    TPreferenceStream* Stream() const { return stream_.get(); }

private:
    std::unique_ptr<TPreferenceStream> stream_;
    std::string fileName_;
};

// Every setting, the window placement, the statistics and the last selection; fields are public.
class TPreferenceValues : public TCustomPreferenceValues {
public:
    explicit TPreferenceValues(bool resetRequested) : ResetRequested(resetRequested) {}

    // The running program's version with every non-digit removed: 1.2.3.45 gives 12345.
    static int32_t VersionStamp();
    static int32_t VersionStampOf(const std::string& versionText);
    // The first command-line argument is "-resetprefs" in any letter case.
    static bool IsResetArgument(const std::string& firstArgument);

    void SetDefaults() override;
    void ScrambleStrings(TTranscodeDirection direction);
    bool WindowBoundsEmpty() const;

    const bool ResetRequested;

    bool FirstRun = false;
    bool WindowMaximized = false;
    int32_t WindowLeft = 0;
    int32_t WindowTop = 0;
    int32_t WindowWidth = 0;
    int32_t WindowHeight = 0;
    bool Confirmations = false;
    bool OpenObjectConfirmations = false;
    bool AllowWindowTransparency = false;
    bool UseFileSystemIcons = false;
    bool QuotaReportsLargestCapacity = false;
    bool EnableUninstallApplications = false;
    bool EnableDriveInformation = false;
    bool MinimizeToSystemTray = false;
    bool StartMinimized = false;
    std::string ExcludeFiles;
    std::string ExcludeDirectories;
    std::string CustomFiles;
    std::string CustomDirectories;
    bool IgnoreSymbolicLinks = false;
    bool FileDateValidator = false;
    bool DateCreated = false;
    bool DateModified = false;
    bool DateAccessed = false;
    bool DateOlder = false;
    bool DateNewer = false;
    TDateTime ValidatorDate = 0;
    bool FileAttributesValidator = false;
    bool AttributeArchive = false;
    bool AttributeReadOnly = false;
    bool AttributeHidden = false;
    bool AttributeSystem = false;
    bool FileContentsValidator = false;
    std::string Containing;
    bool CaseSensitive = false;
    bool FileSizeValidator = false;
    int32_t MinimumSize = 0;
    int32_t MaximumSize = 0;
    bool IgnoreOnImplicitValidator = false;
    bool SecureDeleteFiles = false;
    uint8_t SecureDeletePasses = 0;
    bool RandomRewritePattern = false;
    bool ComputeSize = false;
    uint32_t DiskSpaceGain = 0;
    uint32_t ObjectsCleaned = 0;
    uint32_t ScanCycles = 0;
    uint32_t CleanCycles = 0;
    uint32_t ProgramRuns = 0;
    bool RestoreCleanupList = false;
    std::string CleanupSelection;
    uint32_t CleanupOptions = 0; // bit i = clean-up option i ticked

protected:
    void ReadValues() override;
    void WriteValues() override;
};
