#pragma once
// The engine's factory: the only way to create engine objects.
#include "engine/uEngineInterfaces.h"

#include <memory>
#include <string>
#include <vector>

class TEngineServices {
public:
    // The chain with the three implicit validators (none, empty directory, invalid shortcut).
    static std::shared_ptr<IScannerValidators> CreateScannerValidators(bool ignoreOnImplicit);
    static std::shared_ptr<ICleanupOptionsList> CreateCleanupOptionsList();
    static std::shared_ptr<ICleanupList> CreateCleanupList(const std::shared_ptr<ICRC32>& hasher);
    static std::shared_ptr<IBroadcastParameters> CreateBroadcastParameters();
    // The three texts hold ";"-separated entries.
    static std::shared_ptr<IScannerContext> CreateScannerContext(
        const std::shared_ptr<IBroadcastParameters>& broadcastParameters,
        const std::shared_ptr<ICleanupOptionsList>& cleanupOptions, const std::shared_ptr<ICleanupList>& cleanupList,
        TCleanupOptionSet selectedOptions, const std::string& targets, const std::string& excludeFiles,
        const std::string& excludeDirectories, bool ignoreSymbolicLinks,
        const std::shared_ptr<IScannerValidators>& validators);
    static std::shared_ptr<IScanContext> CreateScanContext(TCleanupOption option, TObjectKind kind);
    // Suspended until Start.
    static std::shared_ptr<IScanner> CreateScanner();
    static std::shared_ptr<IScanReport> CreateScanReport(const std::shared_ptr<ICleanupOptionsList>& cleanupOptions,
                                                         const std::shared_ptr<ICleanupList>& cleanupList);
    static std::shared_ptr<ICleanerContext> CreateCleanerContext(
        const std::shared_ptr<IBroadcastParameters>& broadcastParameters,
        const std::shared_ptr<ICleanupList>& cleanupList, TCleanupOptionSet selectedOptions,
        const std::vector<std::string>& tempDirectories, bool secureDelete, uint8_t secureDeletePasses,
        bool randomPattern, const std::shared_ptr<ICleanReport>& cleanReport, const std::vector<std::string>& targets,
        bool confirmations, uint32_t diskSpaceGain, uint32_t programRuns, bool recycle = false);
    // Suspended until Start.
    static std::shared_ptr<ICleaner> CreateCleaner();
    // The per-object question a cleaner's dispatch puts to the user.
    static std::string DeleteQuestion(const std::string& path);
    static std::shared_ptr<ICleanReport> CreateCleanReport();
};

// The date parameter of the file-date validator. A fixed "yyyy-mm-dd" form, so a text written
// under one locale reads back the same under any other.
class TValidatorDateText {
public:
    static std::string Format(double dateTime);
    // False when the text is not such a date; date then holds 0.
    static bool Parse(const std::string& text, double& date);
};
